#pragma once

#include <cstdint>
#include <numbers>

#include "model/VM4_Node_Class.h"
#include "model/VM4_Pipe_Class.h"

// The constants and formulas of the start-flow estimates, shared by the product's
// procedure and the plain one the solver tests compare it with, so that both
// compute every value the same way.
namespace FlowGuessRules {

// What an out-pipe gets when its share cannot be known yet (its to-node still has
// outflows without estimates), m³/s.
constexpr double UnknownOutFlowGuess_m3s = 0.1;
// One chain of single-in, single-out nodes is followed for at most this many pipes,
// which also ends the walk round a ring of such nodes.
constexpr std::int32_t MaxChainPipes = 1000;
// The backward fill gives up after this many rounds without a node to start from.
constexpr std::int32_t MaxBackwardFillRounds = 1001;
constexpr std::int32_t NoNode = -1;

inline bool IsFixedPressureNode(TNodeType nodeType) {
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

// A = pi D^2 / 4
inline double BoreArea_m2(const TPipe& pipe) {
    return std::numbers::pi * pipe.InnerDiameter_m * pipe.InnerDiameter_m / 4.0;
}

inline void SetFlowGuess(TPipe& pipe, double flow_m3s) {
    pipe.FlowGuessUncompressed_m3s = flow_m3s;
    pipe.FlowGuessSet = true;
}

}  // namespace FlowGuessRules
