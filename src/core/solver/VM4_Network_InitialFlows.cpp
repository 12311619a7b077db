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
#include "solver/VM4_FlowGuessRules.h"

namespace {

using FlowGuessRules::BoreArea_m2;
using FlowGuessRules::IsFixedPressureNode;
using FlowGuessRules::SetFlowGuess;
constexpr double kUnknownOutFlowGuess_m3s = FlowGuessRules::UnknownOutFlowGuess_m3s;
constexpr std::int32_t kMaxChainPipes = FlowGuessRules::MaxChainPipes;
constexpr std::int32_t kMaxBackwardFillRounds = FlowGuessRules::MaxBackwardFillRounds;
constexpr std::int32_t kNoNode = FlowGuessRules::NoNode;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

// The fast procedure (VM4_FastInitialFlows) gives the identical estimates; it
// declines link tables it does not handle exactly, which then take the plain one.
void TNetwork::SetAllInitialFlowGuesses(double dischargeVelocity_ms) {
    TPhaseTimer timer(SolveTimings, TSolvePhase::StartEstimates);
    CurrentDischargeVelocity = dischargeVelocity_ms;
    SetAllInitialFlowGuessesToZero();
    if (SolverPath == TSolverPath::Fast && FastInitialFlows.Prepare(*this)) {
        FastInitialFlows.SetAllInitialFlowGuesses(*this);
        return;
    }
    SetAllSingleJointSupplySingleOutFlowGuesses();
    SetAllDischargeFlowGuesses();
    fillFlowGuessesBackwardFromKnownOutFlows();
}

void TNetwork::SetAllInitialFlowGuessesToZero() {
    for (std::int32_t pipeId = 1; pipeId <= TPipeSet::kCapacity; ++pipeId) {
        TPipe& pipe = GetPipe(pipeId);
        pipe.FlowGuessSet = false;
        pipe.FlowGuessUncompressed_m3s = 0.0;
    }
}

// A join point that only feeds one pipe sends its net supply down it, and on through
// every node that merely connects one pipe to the next.
void TNetwork::SetAllSingleJointSupplySingleOutFlowGuesses() {
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode& node = GetNode(nodeId);
        const double netSupply_m3s = node.JointSupply_m3s - node.JointDischarge_m3s;
        if (GetNumberOfInFlowPipes(nodeId) != 0 || GetNumberOfOutFlowPipes(nodeId) != 1 || netSupply_m3s <= 0.0) {
            continue;
        }
        const TNodeLink outLink = NodeLinks[slot(lastOutFlowLink(nodeId))];
        TPipe& outPipe = GetPipe(outLink.PipeId);
        if (outPipe.FlowGuessSet) continue;
        SetFlowGuess(outPipe, netSupply_m3s);
        std::int32_t chainCounter = 1;
        SetSingleInAndOutFlowNode(outLink.ToNodeId, chainCounter, netSupply_m3s);
    }
}

// Q = A * V for every pipe that ends at a tank or end pressure node.
void TNetwork::SetAllDischargeFlowGuesses() {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        if (!IsFixedPressureNode(GetNode(link.ToNodeId).NodeType) || pipe.FlowGuessSet) continue;
        SetFlowGuess(pipe, BoreArea_m2(pipe) * CurrentDischargeVelocity);
    }
}

// Works back from nodes whose outflows are known. When none is left, a node with an
// unknown outflow is given inflows from the discharge velocity to start from. The
// round counter ends the fill when that can change nothing more; pipes still without
// an estimate then keep 0.
void TNetwork::fillFlowGuessesBackwardFromKnownOutFlows() {
    std::int32_t nodeId = GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet();
    if (nodeId < 1) nodeId = GetNodeIdWithLeastOutFlowsNotSet(TNodeType::Tank);
    std::int32_t rounds = 0;
    while (nodeId > 0 && rounds < kMaxBackwardFillRounds) {
        while (nodeId > 0) {
            SetInFlowGuessesFromOutFlows(nodeId);
            nodeId = GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet();
        }
        nodeId = GetNodeIdWithLeastOutFlowsNotSet(TNodeType::Tank);
        ++rounds;
        if (nodeId > 0) SetOutFlowGuessesNotSet(nodeId);
    }
}

std::int32_t TNetwork::GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet() const {
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode& node = GetNode(nodeId);
        if (node.NodeType != TNodeType::JoinPoint) continue;
        if (GetNumberOfOutFlowPipesNotSet(nodeId) != 0 || numberOfInFlowPipesNotSet(nodeId) == 0) continue;
        // A dead end needs an inflow only when it has a net demand.
        const bool hasOutFlowPipes = GetNumberOfOutFlowPipes(nodeId) > 0;
        if (hasOutFlowPipes || node.JointDischarge_m3s - node.JointSupply_m3s > 0.0) return nodeId;
    }
    return kNoNode;
}

// R = discharge - supply + known outflows - known inflows, shared among the in-pipes
// without an estimate as Q_i = (A_i / sum A) * R. R may be negative: the known inflows
// already exceed the outflows, and the estimate runs against the pipe direction.
void TNetwork::SetInFlowGuessesFromOutFlows(std::int32_t nodeId) {
    const TNode& node = GetNode(nodeId);
    double requiredInFlow_m3s = node.JointDischarge_m3s - node.JointSupply_m3s;
    double unsetInFlowArea_m2 = 0.0;
    std::int32_t unsetInFlowPipes = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        if (link.FromNodeId == nodeId) {
            if (!pipe.FlowGuessSet && GetNumberOfOutFlowPipesNotSet(link.ToNodeId) > 0) {
                SetFlowGuess(pipe, kUnknownOutFlowGuess_m3s);
            }
            requiredInFlow_m3s += pipe.FlowGuessUncompressed_m3s;
        }
        if (link.ToNodeId == nodeId) {
            if (pipe.FlowGuessSet) {
                requiredInFlow_m3s -= pipe.FlowGuessUncompressed_m3s;
            } else {
                unsetInFlowArea_m2 += BoreArea_m2(pipe);
                ++unsetInFlowPipes;
            }
        }
    }
    shareInFlowAmongUnsetInPipes(nodeId, requiredInFlow_m3s, unsetInFlowArea_m2, unsetInFlowPipes);
}

// In proportion to bore area. In-pipes of no bore at all would make that 0/0, so
// they share the inflow equally instead.
void TNetwork::shareInFlowAmongUnsetInPipes(std::int32_t nodeId, double requiredInFlow_m3s,
                                            double unsetInFlowArea_m2, std::int32_t unsetInFlowPipes) {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        if (link.ToNodeId != nodeId || pipe.FlowGuessSet) continue;
        const double share = unsetInFlowArea_m2 > 0.0 ? BoreArea_m2(pipe) / unsetInFlowArea_m2
                                                      : 1.0 / static_cast<double>(unsetInFlowPipes);
        SetFlowGuess(pipe, share * requiredInFlow_m3s);
    }
}

std::int32_t TNetwork::GetNodeIdWithLeastOutFlowsNotSet(TNodeType excludedNodeType) const {
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (GetNode(nodeId).NodeType == excludedNodeType) continue;
        if (GetNumberOfOutFlowPipesNotSet(nodeId) > 0) return nodeId;
    }
    return kNoNode;
}

// Q = A * V for each in-pipe of the node without an estimate, carried on from the node
// when it merely passes the flow to one out-pipe.
void TNetwork::SetOutFlowGuessesNotSet(std::int32_t nodeId) {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        if (link.ToNodeId != nodeId || pipe.FlowGuessSet) continue;
        const double flow_m3s = BoreArea_m2(pipe) * CurrentDischargeVelocity;
        SetFlowGuess(pipe, flow_m3s);
        std::int32_t chainCounter = 1;
        SetSingleInAndOutFlowNode(nodeId, chainCounter, flow_m3s);
    }
}

// Carries the flow unchanged through nodes with exactly one inflow (supply or in-pipe)
// and one outflow (demand or out-pipe), overwriting what the out-pipes held. A node
// whose one outflow is its own demand ends the chain: there is no pipe to carry on.
void TNetwork::SetSingleInAndOutFlowNode(std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s) {
    while (chainCounter < kMaxChainPipes) {
        const TNode& node = GetNode(nodeId);
        const std::int32_t inFlows = (node.JointSupply_m3s > 0.0 ? 1 : 0) + GetNumberOfInFlowPipes(nodeId);
        const std::int32_t outFlows = (node.JointDischarge_m3s > 0.0 ? 1 : 0) + GetNumberOfOutFlowPipes(nodeId);
        const std::int32_t outLinkIndex = lastOutFlowLink(nodeId);
        if (inFlows != 1 || outFlows != 1 || outLinkIndex < 1) return;
        const TNodeLink outLink = NodeLinks[slot(outLinkIndex)];
        SetFlowGuess(GetPipe(outLink.PipeId), flow_m3s);
        ++chainCounter;
        nodeId = outLink.ToNodeId;
    }
}

// ---- Link counts by estimate ------------------------------------------------------------

std::int32_t TNetwork::numberOfInFlowPipesNotSet(std::int32_t nodeId) const {
    std::int32_t count = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if (link.ToNodeId == nodeId && !GetPipe(link.PipeId).FlowGuessSet) ++count;
    }
    return count;
}

// Index of the node's last out-flow link in table order; 0 when it has none.
std::int32_t TNetwork::lastOutFlowLink(std::int32_t nodeId) const {
    std::int32_t last = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        if (NodeLinks[slot(k)].FromNodeId == nodeId) last = k;
    }
    return last;
}
