#include "solver/VM4_SparseWorkspace.h"

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
      PatternBits(slots(maxEquations) * (slots(maxUnknowns) / 64 + 1), 0),
      ColumnWords(slots(maxUnknowns) / 64 + 1),
      EntryOp(slots(maxEquations) * slots(maxUnknowns), std::int16_t{-1}),
      EntryOpStride(maxUnknowns + 1),
      Operations(slots(maxEquations)),
      Tail(slots(maxEquations)),
      TailBits(slots(maxUnknowns) / 64 + 1, 0),
      SlotsInColumn(slots(maxUnknowns)) {
    HeadUnknowns.reserve(slots(maxUnknowns));
    Candidates.reserve(slots(maxEquations));
    Chains.reserve(slots(maxEquations));
    ChainColumns.reserve(slots(maxEquations));
    Exchanges.reserve(slots(maxUnknowns));
}
