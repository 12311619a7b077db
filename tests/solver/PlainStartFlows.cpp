#include "PlainStartFlows.h"

#include <vector>

#include "solver/VM4_FlowGuessRules.h"

namespace {

using FlowGuessRules::BoreArea_m2;
using FlowGuessRules::IsFixedPressureNode;
using FlowGuessRules::SetFlowGuess;

constexpr std::int32_t kNoNode = FlowGuessRules::NoNode;

class TPlainStartFlows {
public:
    TPlainStartFlows(TNetwork& network, double velocity_ms) : network_(network), velocity_ms_(velocity_ms) {
        // The procedure reads the links but never changes them.
        links_.push_back(TNodeLink{});  // entry 0 unused, as in the network's table
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links_.push_back(network.GetNodeLink(k));
    }

    void Run() {
        for (std::int32_t pipeId = 1; pipeId <= TPipeSet::kCapacity; ++pipeId) {
            TPipe& pipe = network_.GetPipe(pipeId);
            pipe.FlowGuessSet = false;
            pipe.FlowGuessUncompressed_m3s = 0.0;
        }
        setSupplyChains();
        setDischargeFlowGuesses();
        fillBackwardFromKnownOutFlows();
    }

    void carryThroughSingleInAndOutFlowNodes(std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s) {
        while (chainCounter < FlowGuessRules::MaxChainPipes) {
            const TNode& node = network_.GetNode(nodeId);
            const std::int32_t inFlows = (node.JointSupply_m3s > 0.0 ? 1 : 0) + network_.GetNumberOfInFlowPipes(nodeId);
            const std::int32_t outFlows =
                (node.JointDischarge_m3s > 0.0 ? 1 : 0) + network_.GetNumberOfOutFlowPipes(nodeId);
            const std::int32_t outLink = lastOutFlowLink(nodeId);
            if (inFlows != 1 || outFlows != 1 || outLink < 1) return;
            SetFlowGuess(pipeOf(outLink), flow_m3s);
            ++chainCounter;
            nodeId = link(outLink).ToNodeId;
        }
    }

private:
    std::int32_t linkCount() const { return static_cast<std::int32_t>(links_.size()) - 1; }
    const TNodeLink& link(std::int32_t k) const { return links_[static_cast<std::size_t>(k)]; }
    TPipe& pipeOf(std::int32_t k) { return network_.GetPipe(link(k).PipeId); }

    void setSupplyChains() {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            const TNode& node = network_.GetNode(nodeId);
            const double netSupply_m3s = node.JointSupply_m3s - node.JointDischarge_m3s;
            if (network_.GetNumberOfInFlowPipes(nodeId) != 0 || network_.GetNumberOfOutFlowPipes(nodeId) != 1 ||
                netSupply_m3s <= 0.0) {
                continue;
            }
            const TNodeLink outLink = link(lastOutFlowLink(nodeId));
            TPipe& outPipe = network_.GetPipe(outLink.PipeId);
            if (outPipe.FlowGuessSet) continue;
            SetFlowGuess(outPipe, netSupply_m3s);
            std::int32_t chainCounter = 1;
            carryThroughSingleInAndOutFlowNodes(outLink.ToNodeId, chainCounter, netSupply_m3s);
        }
    }

    void setDischargeFlowGuesses() {
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            TPipe& pipe = pipeOf(k);
            if (!IsFixedPressureNode(network_.GetNode(link(k).ToNodeId).NodeType) || pipe.FlowGuessSet) continue;
            SetFlowGuess(pipe, BoreArea_m2(pipe) * velocity_ms_);
        }
    }

    void fillBackwardFromKnownOutFlows() {
        std::int32_t nodeId = nodeWhereAllOutFlowsSetAndSomeInFlowsNotSet();
        if (nodeId < 1) nodeId = nodeWithOutFlowsNotSet();
        std::int32_t rounds = 0;
        while (nodeId > 0 && rounds < FlowGuessRules::MaxBackwardFillRounds) {
            while (nodeId > 0) {
                setInFlowGuessesFromOutFlows(nodeId);
                nodeId = nodeWhereAllOutFlowsSetAndSomeInFlowsNotSet();
            }
            nodeId = nodeWithOutFlowsNotSet();
            ++rounds;
            if (nodeId > 0) setOutFlowGuessesNotSet(nodeId);
        }
    }

    std::int32_t nodeWhereAllOutFlowsSetAndSomeInFlowsNotSet() const {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            const TNode& node = network_.GetNode(nodeId);
            if (node.NodeType != TNodeType::JoinPoint) continue;
            if (outFlowPipesNotSet(nodeId) != 0 || inFlowPipesNotSet(nodeId) == 0) continue;
            const bool hasOutFlowPipes = network_.GetNumberOfOutFlowPipes(nodeId) > 0;
            if (hasOutFlowPipes || node.JointDischarge_m3s - node.JointSupply_m3s > 0.0) return nodeId;
        }
        return kNoNode;
    }

    // Tanks excluded.
    std::int32_t nodeWithOutFlowsNotSet() const {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            if (network_.GetNode(nodeId).NodeType == TNodeType::Tank) continue;
            if (outFlowPipesNotSet(nodeId) > 0) return nodeId;
        }
        return kNoNode;
    }

    void setInFlowGuessesFromOutFlows(std::int32_t nodeId) {
        const TNode& node = network_.GetNode(nodeId);
        double requiredInFlow_m3s = node.JointDischarge_m3s - node.JointSupply_m3s;
        double unsetInFlowArea_m2 = 0.0;
        std::int32_t unsetInFlowPipes = 0;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            TPipe& pipe = pipeOf(k);
            if (link(k).FromNodeId == nodeId) {
                if (!pipe.FlowGuessSet && outFlowPipesNotSet(link(k).ToNodeId) > 0) {
                    SetFlowGuess(pipe, FlowGuessRules::UnknownOutFlowGuess_m3s);
                }
                requiredInFlow_m3s += pipe.FlowGuessUncompressed_m3s;
            }
            if (link(k).ToNodeId == nodeId) {
                if (pipe.FlowGuessSet) {
                    requiredInFlow_m3s -= pipe.FlowGuessUncompressed_m3s;
                } else {
                    unsetInFlowArea_m2 += BoreArea_m2(pipe);
                    ++unsetInFlowPipes;
                }
            }
        }
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            TPipe& pipe = pipeOf(k);
            if (link(k).ToNodeId != nodeId || pipe.FlowGuessSet) continue;
            const double share = unsetInFlowArea_m2 > 0.0 ? BoreArea_m2(pipe) / unsetInFlowArea_m2
                                                          : 1.0 / static_cast<double>(unsetInFlowPipes);
            SetFlowGuess(pipe, share * requiredInFlow_m3s);
        }
    }

    void setOutFlowGuessesNotSet(std::int32_t nodeId) {
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            TPipe& pipe = pipeOf(k);
            if (link(k).ToNodeId != nodeId || pipe.FlowGuessSet) continue;
            const double flow_m3s = BoreArea_m2(pipe) * velocity_ms_;
            SetFlowGuess(pipe, flow_m3s);
            std::int32_t chainCounter = 1;
            carryThroughSingleInAndOutFlowNodes(nodeId, chainCounter, flow_m3s);
        }
    }

    std::int32_t outFlowPipesNotSet(std::int32_t nodeId) const {
        std::int32_t count = 0;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            if (link(k).FromNodeId == nodeId && !network_.GetPipe(link(k).PipeId).FlowGuessSet) ++count;
        }
        return count;
    }

    std::int32_t inFlowPipesNotSet(std::int32_t nodeId) const {
        std::int32_t count = 0;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            if (link(k).ToNodeId == nodeId && !network_.GetPipe(link(k).PipeId).FlowGuessSet) ++count;
        }
        return count;
    }

    // The node's last out-flow link in table order; 0 when it has none.
    std::int32_t lastOutFlowLink(std::int32_t nodeId) const {
        std::int32_t last = 0;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            if (link(k).FromNodeId == nodeId) last = k;
        }
        return last;
    }

    TNetwork& network_;
    const double velocity_ms_;
    std::vector<TNodeLink> links_;
};

}  // namespace

void SetPlainStartFlows(TNetwork& network, double dischargeVelocity_ms) {
    network.CurrentDischargeVelocity = dischargeVelocity_ms;
    TPlainStartFlows(network, dischargeVelocity_ms).Run();
}

void CarryPlainChain(TNetwork& network, std::int32_t nodeId, std::int32_t& chainCounter, double flow_m3s) {
    TPlainStartFlows(network, network.CurrentDischargeVelocity).carryThroughSingleInAndOutFlowNodes(nodeId, chainCounter, flow_m3s);
}
