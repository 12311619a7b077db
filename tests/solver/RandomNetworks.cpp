#include "RandomNetworks.h"

#include <random>
#include <stdexcept>
#include <vector>

namespace {

using TRandom = std::mt19937;

std::int32_t pick(TRandom& random, std::int32_t lowest, std::int32_t highest) {
    return std::uniform_int_distribution<std::int32_t>(lowest, highest)(random);
}

bool chance(TRandom& random, double share) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < share; }

TNodeType randomNodeType(TRandom& random, double fixedPressureShare) {
    if (!chance(random, fixedPressureShare)) return TNodeType::JoinPoint;
    return chance(random, 0.5) ? TNodeType::Tank : TNodeType::DemandPressure;
}

std::vector<std::int32_t> addNodes(TNetwork& network, const TRandomNetworkSpec& plan, TRandom& random) {
    std::vector<std::int32_t> nodeIds;
    for (std::int32_t i = 0; i < plan.Nodes + plan.RemovedNodes; ++i) {
        TNode node;
        node.SetType(randomNodeType(random, plan.FixedPressureShare));
        nodeIds.push_back(network.AddNode(node));
    }
    for (std::int32_t i = 0; i < plan.RemovedNodes; ++i) {
        const auto position = static_cast<std::size_t>(pick(random, 0, static_cast<std::int32_t>(nodeIds.size()) - 1));
        network.RemoveNode(nodeIds[position]);
        nodeIds.erase(nodeIds.begin() + static_cast<std::ptrdiff_t>(position));
    }
    return nodeIds;
}

void addLink(TNetwork& network, std::int32_t nodeA, std::int32_t nodeB, TRandom& random) {
    TPipe pipe;
    pipe.Copy(network.DefaultPipe);
    const bool forward = chance(random, 0.5);
    if (network.AddPipeLink(forward ? nodeA : nodeB, forward ? nodeB : nodeA, pipe) < 1) {
        throw std::runtime_error("random network: pipe refused");
    }
}

// Node ids of one part: every Parts-th node, starting at the part's number.
std::vector<std::int32_t> nodesOfPart(const std::vector<std::int32_t>& nodeIds, std::int32_t part, std::int32_t parts) {
    std::vector<std::int32_t> partNodeIds;
    for (std::size_t i = static_cast<std::size_t>(part); i < nodeIds.size(); i += static_cast<std::size_t>(parts)) {
        partNodeIds.push_back(nodeIds[i]);
    }
    return partNodeIds;
}

void addFurtherLink(TNetwork& network, const TRandomNetworkSpec& plan, const std::vector<std::int32_t>& nodeIds,
                    TRandom& random) {
    const std::int32_t lastNode = static_cast<std::int32_t>(nodeIds.size()) - 1;
    const std::int32_t nodeA = nodeIds[static_cast<std::size_t>(pick(random, 0, lastNode))];
    if (chance(random, plan.SelfLinkShare)) {
        addLink(network, nodeA, nodeA, random);
    } else if (network.GetNodeLinkCount() > 0 && chance(random, plan.ParallelShare)) {
        const TNodeLink earlier = network.GetNodeLink(pick(random, 1, network.GetNodeLinkCount()));
        addLink(network, earlier.FromNodeId, earlier.ToNodeId, random);
    } else {
        addLink(network, nodeA, nodeIds[static_cast<std::size_t>(pick(random, 0, lastNode))], random);
    }
}

// A spanning tree when connected (each node joins one drawn before it), then
// further links up to the part's share.
void addLinksOfPart(TNetwork& network, const TRandomNetworkSpec& plan, const std::vector<std::int32_t>& nodeIds,
                    std::int32_t linkCount, TRandom& random) {
    std::int32_t links = 0;
    if (plan.Connected) {
        for (std::size_t i = 1; i < nodeIds.size() && links < linkCount; ++i, ++links) {
            const auto earlier = static_cast<std::size_t>(pick(random, 0, static_cast<std::int32_t>(i) - 1));
            addLink(network, nodeIds[i], nodeIds[earlier], random);
        }
    }
    for (; links < linkCount; ++links) addFurtherLink(network, plan, nodeIds, random);
}

}  // namespace

void BuildRandomNetwork(TNetwork& network, const TRandomNetworkSpec& plan) {
    TRandom random(plan.Seed);
    const std::vector<std::int32_t> nodeIds = addNodes(network, plan, random);
    for (std::int32_t part = 0; part < plan.Parts; ++part) {
        // The first parts take the links that do not share out evenly.
        const std::int32_t linkCount = plan.Links / plan.Parts + (part < plan.Links % plan.Parts ? 1 : 0);
        addLinksOfPart(network, plan, nodesOfPart(nodeIds, part, plan.Parts), linkCount, random);
    }
    for (std::int32_t i = 0; i < plan.ClosedPipes && network.GetNodeLinkCount() > 0; ++i) {
        network.RemoveNodeLinkAddClosedPipeLink(network.GetNodeLink(pick(random, 1, network.GetNodeLinkCount())).PipeId);
    }
}

TRandomNetworkSpec FullCapacityPlan() {
    TRandomNetworkSpec plan;
    plan.Seed = 7;
    plan.Nodes = TNodeSet::MaxNodes;
    plan.Links = TNetwork::MaxLinks;
    plan.FixedPressureShare = 0.05;
    plan.ParallelShare = 0.05;
    plan.SelfLinkShare = 0.01;
    plan.RemovedNodes = 0;
    plan.ClosedPipes = 0;
    plan.Parts = 10;
    return plan;
}
