#include "solver/VM4_SparseWorkspace.h"

#include <algorithm>

namespace {

std::size_t slots(std::int32_t capacity) { return static_cast<std::size_t>(capacity) + 1; }

}  // namespace

TSparseWorkspace::TSparseWorkspace(std::int32_t maxUnknowns, std::int32_t maxEquations)
    : Codes(slots(maxEquations)),
      HeadLoss_mHd(slots(maxUnknowns), 0.0L),
      HeadLossSlope(slots(maxUnknowns), 0.0L),
      Friction(slots(maxUnknowns)),
      IsHeadUnknown(slots(maxUnknowns), 0),
      SlotAt(slots(maxEquations), 0),
      PositionOf(slots(maxEquations), 0),
      Pattern(slots(maxEquations)),
      EntryOp(slots(maxEquations) * slots(maxUnknowns), std::int16_t{-1}),
      EntryOpStride(maxUnknowns + 1),
      Operations(slots(maxEquations)),
      Tail(slots(maxEquations)),
      SlotsInColumn(slots(maxUnknowns)),
      ColumnMarks(slots(maxUnknowns), 0),
      ColumnBits(slots(maxUnknowns) / 64 + 1, 0) {
    HeadUnknowns.reserve(slots(maxUnknowns));
    Candidates.reserve(slots(maxEquations));
    Chains.reserve(slots(maxEquations));
    ChainColumns.reserve(slots(maxEquations));
    Exchanges.reserve(slots(maxUnknowns));
}

std::uint32_t TSparseWorkspace::NextMarkStamp() {
    ++MarkStamp;
    if (MarkStamp == 0) {  // wrapped: old marks could read as current
        std::fill(ColumnMarks.begin(), ColumnMarks.end(), 0U);
        MarkStamp = 1;
    }
    return MarkStamp;
}
