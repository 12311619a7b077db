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
      SlotsInColumn(slots(maxUnknowns)),
      ColumnMarks(slots(maxUnknowns), 0) {
    HeadUnknowns.reserve(slots(maxUnknowns));
    Candidates.reserve(slots(maxEquations));
    Merged.reserve(2 * slots(maxUnknowns));
    NewColumns.reserve(slots(maxUnknowns));
}

std::uint32_t TSparseWorkspace::NextMarkStamp() {
    ++MarkStamp;
    if (MarkStamp == 0) {  // wrapped: old marks could read as current
        std::fill(ColumnMarks.begin(), ColumnMarks.end(), 0U);
        MarkStamp = 1;
    }
    return MarkStamp;
}
