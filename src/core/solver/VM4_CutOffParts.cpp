#include "solver/VM4_CutOffParts.h"

#include <cstddef>
#include <numeric>
#include <utility>

#include "model/VM4_Network_Class.h"

namespace {

std::size_t slot(std::int32_t id) { return static_cast<std::size_t>(id); }

// Groups of nodes joined by open pipes, as a union-find over the node pool.
class TNodeGroups {
public:
    TNodeGroups() : parent_(slot(TNodeSet::MaxNodes) + 1) { std::iota(parent_.begin(), parent_.end(), 0); }

    std::int32_t GroupOf(std::int32_t nodeId) {
        std::int32_t root = nodeId;
        while (parent_[slot(root)] != root) root = parent_[slot(root)];
        while (parent_[slot(nodeId)] != root) nodeId = std::exchange(parent_[slot(nodeId)], root);
        return root;
    }

    void Join(std::int32_t a, std::int32_t b) { parent_[slot(GroupOf(a))] = GroupOf(b); }

private:
    std::vector<std::int32_t> parent_;
};

bool isFixedPressureNode(TNodeType type) { return type == TNodeType::Tank || type == TNodeType::DemandPressure; }

bool isValidNodeId(std::int32_t nodeId) { return nodeId >= 1 && nodeId <= TNodeSet::MaxNodes; }

}  // namespace

std::vector<bool> NodesReachingFixedPressure(const TNetwork& network) {
    TNodeGroups groups;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        if (isValidNodeId(link.FromNodeId) && isValidNodeId(link.ToNodeId)) groups.Join(link.FromNodeId, link.ToNodeId);
    }
    std::vector<bool> groupHasFixedPressure(slot(TNodeSet::MaxNodes) + 1, false);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        if (isFixedPressureNode(network.GetNode(id).NodeType)) groupHasFixedPressure[slot(groups.GroupOf(id))] = true;
    }
    std::vector<bool> reaches(slot(TNodeSet::MaxNodes) + 1, false);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        reaches[slot(id)] = groupHasFixedPressure[slot(groups.GroupOf(id))];
    }
    return reaches;
}

void ClearResultsOfInactivePipes(TNetwork& network) {
    std::vector<bool> open(slot(TPipeSet::kCapacity) + 1, false);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const std::int32_t pipeId = network.GetNodeLink(k).PipeId;
        if (pipeId >= 1 && pipeId <= TPipeSet::kCapacity) open[slot(pipeId)] = true;
    }
    for (int id = network.Pipes.getNextPipeId(0); id != -1; id = network.Pipes.getNextPipeId(id)) {
        if (open[slot(id)]) continue;
        TPipe& pipe = network.GetPipe(id);
        pipe.FlowUncompressed_m3s = 0.0;
        pipe.Velocity_ms = 0.0;
        pipe.ReynoldsNumber = 0.0;
        pipe.FrictionFactor = 0.0;
        pipe.FlowType = TPipe::kFlowTypeNone;
        pipe.PipeFrictionLoss_mHd_Fluid = 0.0;
        pipe.FittingsLoss_mHd_Fluid = 0.0;
        pipe.ComponentLoss_mHd_Fluid = 0.0;
        pipe.FlowControlLoss_bar = 0.0;
        pipe.FlowControlLoss_mHd_Fluid = 0.0;
        pipe.PumpHead_mHd_Fluid = 0.0;
        pipe.PumpNPSHr_mHd_Fluid = 0.0;
        pipe.TotalPressureLoss_mHd_Fluid = 0.0;
    }
}

std::vector<TCutOffDemand> FindCutOffDemands(const TNetwork& network) {
    const std::vector<bool> reaches = NodesReachingFixedPressure(network);
    std::vector<TCutOffDemand> cutOff;
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        if (node.NodeType != TNodeType::JoinPoint || reaches[slot(id)]) continue;
        if (node.JointSupply_m3s == 0.0 && node.JointDischarge_m3s == 0.0) continue;
        cutOff.push_back({id, node.JointSupply_m3s, node.JointDischarge_m3s});
    }
    return cutOff;
}
