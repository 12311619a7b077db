#include "SolverTestNetworks.h"

#include <gtest/gtest.h>

#include "common/NetworkBuilder.h"

void BuildNetwork(TNetwork& network, const TNetworkSpec& plan) {
    TNetworkBuilder builder(network);
    std::int32_t expectedNodeId = 0;
    for (const TNodeSpec& nodeSpec : plan.Nodes) {
        std::int32_t nodeId = 0;
        switch (nodeSpec.Type) {
            case TNodeType::Tank: nodeId = builder.AddTank(0, 0); break;
            case TNodeType::DemandPressure: nodeId = builder.AddDemandPressure(0, 0); break;
            default: nodeId = builder.AddJoint(0, 0); break;
        }
        ASSERT_EQ(nodeId, ++expectedNodeId);
        network.GetNode(nodeId).JointSupply_m3s = nodeSpec.Supply_m3s;
        network.GetNode(nodeId).JointDischarge_m3s = nodeSpec.Discharge_m3s;
    }
    std::int32_t expectedPipeId = 0;
    for (const TLinkSpec& link : plan.Links) {
        const std::int32_t pipeId = builder.AddPipe(link.FromNodeId, link.ToNodeId, "", 100.0, link.InnerDiameter_m);
        ASSERT_EQ(pipeId, ++expectedPipeId);
    }
    for (std::size_t k = 0; k < plan.Links.size(); ++k) {
        if (plan.Links[k].Closed) network.RemoveNodeLinkAddClosedPipeLink(static_cast<std::int32_t>(k + 1));
    }
}

std::vector<std::vector<std::int32_t>> LoopTableOf(const TNetwork& network) {
    std::vector<std::vector<std::int32_t>> table;
    for (std::int32_t loopId = 1; loopId <= network.GetPipeLoopCount(); ++loopId) {
        std::vector<std::int32_t> pipes;
        for (std::int32_t position = 1; position <= network.GetPipeLoopPipeCount(loopId); ++position) {
            pipes.push_back(network.GetPipeLoopPipe(loopId, position));
        }
        table.push_back(pipes);
    }
    return table;
}

std::int32_t JoinPointCount(const TNetworkSpec& plan) {
    std::int32_t count = 0;
    for (const TNodeSpec& node : plan.Nodes) {
        if (node.Type == TNodeType::JoinPoint) ++count;
    }
    return count;
}

std::int32_t OpenLinkCount(const TNetworkSpec& plan) {
    std::int32_t count = 0;
    for (const TLinkSpec& link : plan.Links) {
        if (!link.Closed) ++count;
    }
    return count;
}
