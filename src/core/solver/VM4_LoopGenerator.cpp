#include "solver/VM4_LoopGenerator.h"

#include <algorithm>

#include "model/VM4_Network_Class.h"

namespace {

constexpr std::int32_t kMaxNodeId = TNodeSet::MaxNodes;
constexpr std::int32_t kMaxPipeId = TPipeSet::kCapacity;
constexpr std::int32_t kNoLoop = -1;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TLoopGenerator::TLoopGenerator()
    : nodes_(slot(kMaxNodeId) + 1),
      nodeTypes_(slot(kMaxNodeId) + 1, TNodeType::NotSet),
      adjacency_(kMaxNodeId, TNetwork::MaxLinks),
      bridges_(kMaxNodeId, TNetwork::MaxLinks),
      membership_(kMaxPipeId),
      frontier_(kMaxNodeId + 1),
      pipeMarks_(slot(kMaxPipeId) + 1, 0) {
    touchedNodes_.reserve(2 * slot(kMaxNodeId) + 2);
    reachedFixedPressureNodes_.reserve(slot(kMaxNodeId));
}

// ---- Preparation -----------------------------------------------------------------------

bool TLoopGenerator::Prepare(const TNetwork& network) {
    if (!adjacency_.Build(network.NodeLinks, network.NodeLinkCount)) return false;
    if (!checkLinkPipes(network) || !indexStoredLoops(network)) return false;
    bridges_.Find(network.NodeLinks, network.NodeLinkCount, adjacency_);
    // Unused slots read as the cleared node they hold, as GetNode gives them to the plain search.
    for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
        nodeTypes_[slot(nodeId)] = network.GetNode(nodeId).NodeType;
    }
    std::fill(nodes_.begin(), nodes_.end(), TNodeState{});
    touchedNodes_.clear();
    return true;
}

// The loops a search builds hold each pipe once only if no two links carry the same pipe.
bool TLoopGenerator::checkLinkPipes(const TNetwork& network) {
    const std::uint32_t stamp = nextMarkStamp();
    for (std::int32_t k = 1; k <= network.NodeLinkCount; ++k) {
        const std::int32_t pipeId = network.NodeLinks[slot(k)].PipeId;
        if (pipeId < 1 || pipeId > kMaxPipeId || pipeMarks_[slot(pipeId)] == stamp) return false;
        pipeMarks_[slot(pipeId)] = stamp;
    }
    return true;
}

bool TLoopGenerator::indexStoredLoops(const TNetwork& network) {
    membership_.Clear();
    for (std::int32_t loopId = 1; loopId <= network.PipeLoopCount; ++loopId) {
        const std::int32_t pipeCount = network.PipeLoopPipeCount[slot(loopId)];
        if (pipeCount < 1 || pipeCount > TNetwork::MaxPipesPerLoop) return false;
        const std::uint32_t stamp = nextMarkStamp();
        for (std::int32_t position = 1; position <= pipeCount; ++position) {
            const std::int32_t pipeId = network.PipeLoopPipes[slot(loopId)][slot(position)];
            if (pipeId < 1 || pipeId > kMaxPipeId || pipeMarks_[slot(pipeId)] == stamp) return false;
            pipeMarks_[slot(pipeId)] = stamp;
            membership_.AddPipe(loopId, pipeId);
        }
    }
    return true;
}

std::uint32_t TLoopGenerator::nextMarkStamp() {
    ++markStamp_;
    if (markStamp_ == 0) {  // wrapped: old marks could read as current
        std::fill(pipeMarks_.begin(), pipeMarks_.end(), 0);
        markStamp_ = 1;
    }
    return markStamp_;
}

// ---- Searches from one start node ---------------------------------------------------------

bool TLoopGenerator::isFixedPressure(std::int32_t nodeId) const {
    const TNodeType nodeType = nodeTypes_[slot(nodeId)];
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

void TLoopGenerator::GenerateFromNode(TNetwork& network, std::int32_t startNodeId) {
    if (isFixedPressure(startNodeId)) {
        generateFromFixedPressureNode(network, startNodeId);
    } else if (nodeTypes_[slot(startNodeId)] == TNodeType::JoinPoint) {
        generateFromJoinPoint(network, startNodeId);
    }
    // A node of no type records nothing from its searches.
}

// Nothing is barred from a tank or end pressure node, so the search across each of
// its links is the same search: it runs once, and its paths are recorded once per
// link, with the table tests after each, as the repeated searches would record them.
void TLoopGenerator::generateFromFixedPressureNode(TNetwork& network, std::int32_t startNodeId) {
    const auto startLinks = adjacency_.LinksOf(startNodeId);
    if (startLinks.empty()) return;
    search(network, startNodeId, kNoLink, kNoNode);
    for (std::size_t repeat = 0; repeat < startLinks.size(); ++repeat) {
        for (const std::int32_t reachedNodeId : reachedFixedPressureNodes_) {
            recordPath(network, reachedNodeId, startNodeId);
        }
    }
    resetSearch();
}

// Only a link leaving the join point towards another join point closes a loop
// here, and only when its far end can be reached the other way round.
void TLoopGenerator::generateFromJoinPoint(TNetwork& network, std::int32_t startNodeId) {
    for (const std::int32_t closingLink : adjacency_.LinksOf(startNodeId)) {
        if (!closingLinkCanCloseLoop(network, startNodeId, closingLink)) continue;
        const std::int32_t endNodeId = network.NodeLinks[slot(closingLink)].ToNodeId;
        search(network, startNodeId, closingLink, endNodeId);
        if (nodes_[slot(endNodeId)].Distance != kNoDistance) recordClosedLoop(network, startNodeId, closingLink);
        resetSearch();
    }
}

// A link from the join point to itself is no bridge, so its search always runs.
bool TLoopGenerator::closingLinkCanCloseLoop(const TNetwork& network, std::int32_t startNodeId,
                                                 std::int32_t closingLink) const {
    const TNodeLink& link = network.NodeLinks[slot(closingLink)];
    if (link.FromNodeId != startNodeId) return false;
    if (nodeTypes_[slot(link.ToNodeId)] != TNodeType::JoinPoint) return false;
    return !bridges_.IsBridge(closingLink);
}

// Breadth-first in number of pipes, visiting nodes by (distance, node id). With a
// target it stops as soon as the target has a distance: every later relaxation
// offers it a distance at least as large, so neither its distance nor the chain of
// previous nodes back to the start changes any more. Without a target it visits
// every node it can reach and lists the tanks and end pressure nodes among them.
//
// Each step visits a node not visited before, so the step limit of the plain
// search (a guard against a corrupted table) can never be reached here.
void TLoopGenerator::search(const TNetwork& network, std::int32_t startNodeId, std::int32_t barredLink,
                                std::int32_t targetNodeId) {
    reachedFixedPressureNodes_.clear();
    frontier_.Clear();
    nodes_[slot(startNodeId)].Visited = true;
    touchedNodes_.push_back(startNodeId);
    std::int32_t currentNodeId = startNodeId;
    std::int32_t currentDistance = 0;
    while (!relaxLinksOf(network, currentNodeId, currentDistance, startNodeId, barredLink, targetNodeId)) {
        if (!frontier_.PopNearest(currentDistance, currentNodeId)) return;
        nodes_[slot(currentNodeId)].Visited = true;
        if (currentNodeId != startNodeId && isFixedPressure(currentNodeId)) {
            reachedFixedPressureNodes_.push_back(currentNodeId);
        }
    }
}

// The neighbour across link k, never stepping straight back to the node we came from;
// kNoNode when the link does not lead on. The previous node is read afresh for every
// link: a link from the start node to itself can give the start node one.
std::int32_t TLoopGenerator::neighbourAcross(const TNetwork& network, std::int32_t k,
                                                 std::int32_t nodeId) const {
    const TNodeLink& link = network.NodeLinks[slot(k)];
    const std::int32_t cameFrom = nodes_[slot(nodeId)].PreviousNodeId;
    if (link.FromNodeId == nodeId && link.ToNodeId != cameFrom) return link.ToNodeId;
    if (link.ToNodeId == nodeId && link.FromNodeId != cameFrom) return link.FromNodeId;
    return kNoNode;
}

// True as soon as the target gets its distance.
bool TLoopGenerator::relaxLinksOf(const TNetwork& network, std::int32_t nodeId, std::int32_t distance,
                                      std::int32_t startNodeId, std::int32_t barredLink,
                                      std::int32_t targetNodeId) {
    const bool barClosingLink = nodeId == startNodeId && barredLink != kNoLink;
    for (const std::int32_t k : adjacency_.LinksOf(nodeId)) {
        const std::int32_t neighbourId = neighbourAcross(network, k, nodeId);
        if (neighbourId == kNoNode) continue;
        const std::int32_t cost = (barClosingLink && k == barredLink) ? kNoDistance : distance + 1;
        TNodeState& neighbour = nodes_[slot(neighbourId)];
        if (cost >= neighbour.Distance) continue;
        neighbour.Distance = cost;
        neighbour.PreviousNodeId = nodeId;
        neighbour.PreviousPipeId = network.NodeLinks[slot(k)].PipeId;
        touchedNodes_.push_back(neighbourId);
        if (!neighbour.Visited) frontier_.Push(cost, neighbourId);
        if (neighbourId == targetNodeId) return true;
    }
    return false;
}

void TLoopGenerator::resetSearch() {
    for (const std::int32_t nodeId : touchedNodes_) nodes_[slot(nodeId)] = TNodeState{};
    touchedNodes_.clear();
}

// ---- Recording loops and paths --------------------------------------------------------------

void TLoopGenerator::addPipesBackToStart(TNetwork& network, std::int32_t loopId, std::int32_t nodeId,
                                             std::int32_t startNodeId) {
    while (nodeId != startNodeId) {
        const TNodeState& state = nodes_[slot(nodeId)];
        addPipe(network, loopId, state.PreviousPipeId);
        nodeId = state.PreviousNodeId;
    }
}

void TLoopGenerator::recordPath(TNetwork& network, std::int32_t reachedNodeId, std::int32_t startNodeId) {
    const std::int32_t loopId = network.PipeLoopCreate();
    if (loopId != kNoLoop) addPipesBackToStart(network, loopId, reachedNodeId, startNodeId);
    RemoveLastLoopIfDuplicateOrDependent(network);
}

void TLoopGenerator::recordClosedLoop(TNetwork& network, std::int32_t startNodeId, std::int32_t closingLink) {
    const TNodeLink& link = network.NodeLinks[slot(closingLink)];
    const std::int32_t loopId = network.PipeLoopCreate();
    if (loopId != kNoLoop) {
        addPipe(network, loopId, link.PipeId);
        addPipesBackToStart(network, loopId, link.ToNodeId, startNodeId);
    }
    RemoveLastLoopIfDuplicateOrDependent(network);
}

// ---- The loop table and its tests --------------------------------------------------------------

void TLoopGenerator::addPipe(TNetwork& network, std::int32_t loopId, std::int32_t pipeId) {
    network.PipeLoopAddPipe(loopId, pipeId);
    membership_.AddPipe(loopId, pipeId);
}

void TLoopGenerator::removeLastLoop(TNetwork& network) {
    const std::int32_t last = network.PipeLoopCount;
    membership_.RemoveLastLoop(last, &network.PipeLoopPipes[slot(last)][1], network.PipeLoopPipeCount[slot(last)]);
    network.PipeLoopRemove(last);
}

void TLoopGenerator::RemoveLastLoopIfDuplicateOrDependent(TNetwork& network) {
    if (isLastLoopDuplicate(network)) removeLastLoop(network);
    if (lastLoopHasNewPipe(network)) return;
    if (!network.isLastLoopIndependentOfEarlier() || !network.isLastLoopWalkable()) removeLastLoop(network);
}

// Every loop holds each pipe once, so "as many equal pairs as pipes" between two
// loops of equal length means the same set of pipes. Such an earlier loop holds the
// last loop's first pipe: only the loops holding it need a look.
bool TLoopGenerator::isLastLoopDuplicate(const TNetwork& network) {
    const std::int32_t last = network.PipeLoopCount;
    if (last < 2) return false;
    const std::int32_t pipeCount = network.PipeLoopPipeCount[slot(last)];
    const auto& lastPipes = network.PipeLoopPipes[slot(last)];
    const std::uint32_t stamp = nextMarkStamp();
    for (std::int32_t position = 1; position <= pipeCount; ++position) pipeMarks_[slot(lastPipes[slot(position)])] = stamp;
    for (const std::int32_t earlier : membership_.LoopsHolding(lastPipes[1])) {
        if (earlier >= last) break;
        if (network.PipeLoopPipeCount[slot(earlier)] != pipeCount) continue;
        const auto& earlierPipes = network.PipeLoopPipes[slot(earlier)];
        std::int32_t shared = 0;
        for (std::int32_t position = 1; position <= pipeCount; ++position) {
            if (pipeMarks_[slot(earlierPipes[slot(position)])] == stamp) ++shared;
        }
        if (shared == pipeCount) return true;
    }
    return false;
}

// A single loop is always kept. Otherwise a pipe held by the last loop alone is new,
// which makes it independent without the rank test.
bool TLoopGenerator::lastLoopHasNewPipe(const TNetwork& network) const {
    const std::int32_t last = network.PipeLoopCount;
    if (last < 2) return true;
    const auto& lastPipes = network.PipeLoopPipes[slot(last)];
    for (std::int32_t position = 1; position <= network.PipeLoopPipeCount[slot(last)]; ++position) {
        if (membership_.LoopCountHolding(lastPipes[slot(position)]) == 1) return true;
    }
    return false;
}
