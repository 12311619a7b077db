// Starting flows for the Newton solver, made from one discharge velocity. Pipes that
// end at a tank or end pressure node carry what that velocity gives in their bore,
// supply join points push their net supply down single-pipe chains, and the rest is
// filled by walking back from nodes whose outflows are known, sharing the inflow a
// node still needs among its incoming pipes in proportion to their bore areas.
//
// Only open links whose flow is not held count; a pipe's positive flow runs from the
// from-node to the to-node of its link. The estimate is only a starting point, but the
// solve driver tries up to 100 velocities in turn, and which one converges depends on
// these exact numbers: keep the scan orders as they are.

#include "model/VM4_Network_Class.h"

namespace {

const char* const kLinkTableInvalid =
    "TNetwork.SetAllInitialFlowGuesses Failed: Link table holds an invalid node id or pipe id";

}  // namespace

// The procedure itself is TInitialFlowEstimates. Its table checks guard what it
// indexes by; a table that fails them is corrupt (load and the edits never make
// one), and every estimate is then left at 0.
void TNetwork::SetAllInitialFlowGuesses(double dischargeVelocity_ms) {
    TPhaseTimer timer(SolveTimings, TSolvePhase::StartEstimates);
    CurrentDischargeVelocity = dischargeVelocity_ms;
    SetAllInitialFlowGuessesToZero();
    if (!InitialFlowEstimates.Prepare(*this)) throw ENetworkClass(kLinkTableInvalid);
    InitialFlowEstimates.SetAllInitialFlowGuesses(*this);
}

void TNetwork::SetAllInitialFlowGuessesToZero() {
    for (std::int32_t pipeId = 1; pipeId <= TPipeSet::kCapacity; ++pipeId) {
        TPipe& pipe = GetPipe(pipeId);
        pipe.FlowGuessSet = false;
        pipe.FlowGuessUncompressed_m3s = 0.0;
    }
}
