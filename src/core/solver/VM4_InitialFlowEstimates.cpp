#include "solver/VM4_InitialFlowEstimates.h"

#include "model/VM4_Network_Class.h"
#include "solver/VM4_FlowGuessRules.h"

namespace {

using FlowGuessRules::BoreArea_m2;
using FlowGuessRules::IsFixedPressureNode;
constexpr std::int32_t kMaxNodeId = TNodeSet::MaxNodes;
constexpr std::int32_t kMaxPipeId = TPipeSet::kCapacity;
constexpr std::int32_t kNoNode = FlowGuessRules::NoNode;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TInitialFlowEstimates::TInitialFlowEstimates()
    : nodes_(slot(kMaxNodeId) + 1),
      links_(slot(TNetwork::MaxLinks) + 1),
      lookup_(kMaxNodeId, kMaxPipeId, TNetwork::MaxLinks) {}

// ---- Preparation ----------------------------------------------------------------------

bool TInitialFlowEstimates::Prepare(TNetwork& network) {
    if (!lookup_.Build(network.NodeLinks, network.NodeLinkCount)) return false;
    takeInLinks(network);
    takeInNodes(network);
    return true;
}

// The lookup has checked that each pipe is on one link only, so that a pipe's
// estimate belongs to one link.
void TInitialFlowEstimates::takeInLinks(TNetwork& network) {
    linkCount_ = network.NodeLinkCount;
    for (std::int32_t k = 1; k <= linkCount_; ++k) {
        const TNodeLink& link = network.NodeLinks[slot(k)];
        links_[slot(k)] = {link.FromNodeId, link.ToNodeId, &network.GetPipe(link.PipeId)};
    }
}

// Every estimate starts as not set, so each node's pipes without an estimate are all its pipes.
void TInitialFlowEstimates::takeInNodes(const TNetwork& network) {
    for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
        const TNode& node = network.GetNode(nodeId);
        TNodeFlows& flows = nodes_[slot(nodeId)];
        flows = TNodeFlows{};
        flows.Type = node.NodeType;
        flows.Used = network.Nodes.IsNodeUsed(nodeId);
        flows.Supply_m3s = node.JointSupply_m3s;
        flows.Discharge_m3s = node.JointDischarge_m3s;
    }
    for (std::int32_t k = 1; k <= linkCount_; ++k) {
        TNodeFlows& from = nodes_[slot(links_[slot(k)].FromNodeId)];
        ++from.OutPipes;
        from.LastOutLink = k;
        ++nodes_[slot(links_[slot(k)].ToNodeId)].InPipes;
    }
    outFlowsKnown_.Clear();
    outFlowsUnknown_.Clear();
    for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
        TNodeFlows& flows = nodes_[slot(nodeId)];
        flows.OutPipesNotSet = flows.OutPipes;
        flows.InPipesNotSet = flows.InPipes;
        refreshQuestions(nodeId);
    }
}

// Whether the node answers each of the backward fill's two questions now.
void TInitialFlowEstimates::refreshQuestions(std::int32_t nodeId) {
    const TNodeFlows& node = nodes_[slot(nodeId)];
    // A dead end needs an inflow only when it has a net demand.
    const bool needsInFlow = node.OutPipes > 0 || node.Discharge_m3s - node.Supply_m3s > 0.0;
    outFlowsKnown_.Set(nodeId, node.Used && node.Type == TNodeType::JoinPoint && node.OutPipesNotSet == 0 &&
                                   node.InPipesNotSet > 0 && needsInFlow);
    outFlowsUnknown_.Set(nodeId, node.Used && node.Type != TNodeType::Tank && node.OutPipesNotSet > 0);
}

// ---- Estimates ----------------------------------------------------------------------------

bool TInitialFlowEstimates::isSet(std::int32_t k) const { return links_[slot(k)].Pipe->FlowGuessSet; }

void TInitialFlowEstimates::setFlowGuess(std::int32_t k, double flow_m3s) {
    const TLinkEnds& link = links_[slot(k)];
    const bool wasSet = link.Pipe->FlowGuessSet;
    FlowGuessRules::SetFlowGuess(*link.Pipe, flow_m3s);
    if (wasSet) return;
    --nodes_[slot(link.FromNodeId)].OutPipesNotSet;
    --nodes_[slot(link.ToNodeId)].InPipesNotSet;
    refreshQuestions(link.FromNodeId);
    refreshQuestions(link.ToNodeId);
}

void TInitialFlowEstimates::SetAllInitialFlowGuesses(TNetwork& network) {
    const double velocity_ms = network.CurrentDischargeVelocity;
    setSupplyChains();
    setDischargeFlowGuesses(velocity_ms);
    fillBackwardFromKnownOutFlows(velocity_ms);
}

// A join point that only feeds one pipe sends its net supply down it, and on through
// every node that merely connects one pipe to the next.
void TInitialFlowEstimates::setSupplyChains() {
    for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
        const TNodeFlows& node = nodes_[slot(nodeId)];
        if (!node.Used) continue;
        const double netSupply_m3s = node.Supply_m3s - node.Discharge_m3s;
        if (node.InPipes != 0 || node.OutPipes != 1 || netSupply_m3s <= 0.0) continue;
        if (isSet(node.LastOutLink)) continue;
        setFlowGuess(node.LastOutLink, netSupply_m3s);
        std::int32_t chainCounter = 1;
        carryThroughSingleInAndOutFlowNodes(links_[slot(node.LastOutLink)].ToNodeId, chainCounter, netSupply_m3s);
    }
}

// Q = A * V for every pipe that ends at a tank or end pressure node.
void TInitialFlowEstimates::setDischargeFlowGuesses(double velocity_ms) {
    for (std::int32_t k = 1; k <= linkCount_; ++k) {
        const TLinkEnds& link = links_[slot(k)];
        if (!IsFixedPressureNode(nodes_[slot(link.ToNodeId)].Type) || isSet(k)) continue;
        setFlowGuess(k, BoreArea_m2(*link.Pipe) * velocity_ms);
    }
}

// Works back from nodes whose outflows are known. When none is left, a node with an
// unknown outflow is given inflows from the discharge velocity to start from. The
// round counter ends the fill when that can change nothing more; pipes still without
// an estimate then keep 0. The two questions ("the first join point whose out-pipes
// all have estimates and that has an in-pipe without one", a dead end only with a
// net demand; "the first node, not a tank, with an out-pipe without an estimate")
// are answered by the kept sets.
void TInitialFlowEstimates::fillBackwardFromKnownOutFlows(double velocity_ms) {
    std::int32_t nodeId = outFlowsKnown_.Lowest(kNoNode);
    if (nodeId < 1) nodeId = outFlowsUnknown_.Lowest(kNoNode);
    std::int32_t rounds = 0;
    while (nodeId > 0 && rounds < FlowGuessRules::MaxBackwardFillRounds) {
        while (nodeId > 0) {
            setInFlowGuessesFromOutFlows(nodeId);
            nodeId = outFlowsKnown_.Lowest(kNoNode);
        }
        nodeId = outFlowsUnknown_.Lowest(kNoNode);
        ++rounds;
        if (nodeId > 0) setOutFlowGuessesNotSet(nodeId, velocity_ms);
    }
}

// R = discharge - supply + known outflows - known inflows, shared among the in-pipes
// without an estimate as Q_i = (A_i / sum A) * R. R may be negative: the known inflows
// already exceed the outflows, and the estimate runs against the pipe direction.
// The node's links in table order, each taken first as an out-pipe, then as an
// in-pipe, with the sums in that order.
void TInitialFlowEstimates::setInFlowGuessesFromOutFlows(std::int32_t nodeId) {
    const TNodeFlows& node = nodes_[slot(nodeId)];
    double requiredInFlow_m3s = node.Discharge_m3s - node.Supply_m3s;
    double unsetInFlowArea_m2 = 0.0;
    std::int32_t unsetInFlowPipes = 0;
    for (const std::int32_t k : lookup_.LinksOf(nodeId)) {
        const TLinkEnds& link = links_[slot(k)];
        if (link.FromNodeId == nodeId) {
            if (!isSet(k) && nodes_[slot(link.ToNodeId)].OutPipesNotSet > 0) {
                setFlowGuess(k, FlowGuessRules::UnknownOutFlowGuess_m3s);
            }
            requiredInFlow_m3s += link.Pipe->FlowGuessUncompressed_m3s;
        }
        if (link.ToNodeId == nodeId) {
            if (isSet(k)) {
                requiredInFlow_m3s -= link.Pipe->FlowGuessUncompressed_m3s;
            } else {
                unsetInFlowArea_m2 += BoreArea_m2(*link.Pipe);
                ++unsetInFlowPipes;
            }
        }
    }
    // In proportion to bore area; equally among in-pipes of no bore at all.
    for (const std::int32_t k : lookup_.LinksOf(nodeId)) {
        const TLinkEnds& link = links_[slot(k)];
        if (link.ToNodeId != nodeId || isSet(k)) continue;
        const double share = unsetInFlowArea_m2 > 0.0 ? BoreArea_m2(*link.Pipe) / unsetInFlowArea_m2
                                                      : 1.0 / static_cast<double>(unsetInFlowPipes);
        setFlowGuess(k, share * requiredInFlow_m3s);
    }
}

// Q = A * V for each in-pipe of the node without an estimate, carried on from the node
// when it merely passes the flow to one out-pipe.
void TInitialFlowEstimates::setOutFlowGuessesNotSet(std::int32_t nodeId, double velocity_ms) {
    for (const std::int32_t k : lookup_.LinksOf(nodeId)) {
        const TLinkEnds& link = links_[slot(k)];
        if (link.ToNodeId != nodeId || isSet(k)) continue;
        const double flow_m3s = BoreArea_m2(*link.Pipe) * velocity_ms;
        setFlowGuess(k, flow_m3s);
        std::int32_t chainCounter = 1;
        carryThroughSingleInAndOutFlowNodes(nodeId, chainCounter, flow_m3s);
    }
}

// Carries the flow unchanged through nodes with exactly one inflow (supply or in-pipe)
// and one outflow (demand or out-pipe), overwriting what the out-pipes held. A node
// whose one outflow is its own demand ends the chain: there is no pipe to carry on.
void TInitialFlowEstimates::carryThroughSingleInAndOutFlowNodes(std::int32_t nodeId, std::int32_t& chainCounter,
                                                             double flow_m3s) {
    while (chainCounter < FlowGuessRules::MaxChainPipes) {
        const TNodeFlows& node = nodes_[slot(nodeId)];
        const std::int32_t inFlows = (node.Supply_m3s > 0.0 ? 1 : 0) + node.InPipes;
        const std::int32_t outFlows = (node.Discharge_m3s > 0.0 ? 1 : 0) + node.OutPipes;
        if (inFlows != 1 || outFlows != 1 || node.LastOutLink < 1) return;
        const std::int32_t outLink = node.LastOutLink;
        setFlowGuess(outLink, flow_m3s);
        ++chainCounter;
        nodeId = links_[slot(outLink)].ToNodeId;
    }
}
