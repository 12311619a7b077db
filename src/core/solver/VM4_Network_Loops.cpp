// Loop and path generation: the pipe loops from which the energy equations of a
// solve are written. Closed loops run through join points; paths run from one
// fixed-pressure node (tank or end pressure node) to another. Both are found by a
// breadth-first shortest-path search (in number of pipes) over the open links,
// repeated from every node and, for each node, once per link that touches it.
// A candidate is kept only when it is independent of the loops stored before it
// (always so when it brings a pipe no earlier loop holds); where the candidates
// fall short, the fundamental loops of a spanning tree complete the set.
//
// The scan orders (node ids ascending, links in table order, lowest id on equal
// distances) decide which of several equivalent loops is stored and in what pipe
// order. The equations, and so the iteration counts in the results log, depend on
// it: keep the orders exactly as they are.

#include <limits>
#include <string>

#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kPipeLoopClearFailed = "TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid";
const char* const kPipeLoopRemoveFailed = "TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid";
const char* const kPipeLoopAddPipeFailed = "TNetwork.PipeLoopAddPipe Failed: Either LoopId invalid or PipeId invalid";
const char* const kShortestPathSearchFailed =
    "TNetworkClass.RemovePipeLoopsGenerate Failed: Failed to complete shortestsPath search";
const char* const kGeneratingLoopsStatus = "Generating loops from Node: ";

constexpr std::int32_t kNoDistance = std::numeric_limits<std::int32_t>::max();
// Every step visits a new node, so a sound search ends after at most 1000 steps;
// the limit only catches a corrupted table.
constexpr std::int32_t kMaxSearchSteps = 1000000;
constexpr std::int32_t kNoLoop = -1;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

bool isFixedPressureNode(TNodeType nodeType) {
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

}  // namespace

// ---- The loop table ------------------------------------------------------------------

std::int32_t TNetwork::PipeLoopCreate() {
    if (PipeLoopCount >= MaxLoops) return kNoLoop;
    ++PipeLoopCount;
    PipeLoopPipes[slot(PipeLoopCount)].fill(0);
    PipeLoopPipeCount[slot(PipeLoopCount)] = 0;
    return PipeLoopCount;
}

void TNetwork::PipeLoopClear(std::int32_t loopId) {
    // Loop ids below 1 would address the unused entry 0 or memory before the table.
    if (loopId < 1 || loopId > MaxLoops) throw ENetworkClass(kPipeLoopClearFailed);
    PipeLoopPipes[slot(loopId)].fill(0);
    PipeLoopPipeCount[slot(loopId)] = 0;
}

void TNetwork::PipeLoopRemove(std::int32_t loopId) {
    if (loopId < 1 || loopId > PipeLoopCount) throw ENetworkClass(kPipeLoopRemoveFailed);
    for (std::int32_t later = loopId + 1; later <= PipeLoopCount; ++later) {
        PipeLoopPipes[slot(later - 1)] = PipeLoopPipes[slot(later)];
        PipeLoopPipeCount[slot(later - 1)] = PipeLoopPipeCount[slot(later)];
    }
    PipeLoopClear(PipeLoopCount);
    --PipeLoopCount;
}

std::int32_t TNetwork::PipeLoopAddPipe(std::int32_t loopId, std::int32_t pipeId) {
    // A pipe id of 0 would read as an empty slot, so it is refused like a bad loop id.
    const bool loopIdValid = loopId >= 1 && loopId <= PipeLoopCount;
    const bool pipeIdValid = pipeId >= 1 && pipeId <= TPipeSet::kCapacity;
    if (!loopIdValid || !pipeIdValid || PipeLoopPipeCount[slot(loopId)] >= MaxPipesPerLoop) {
        throw ENetworkClass(kPipeLoopAddPipeFailed);
    }
    std::int32_t& pipeCount = PipeLoopPipeCount[slot(loopId)];
    ++pipeCount;
    PipeLoopPipes[slot(loopId)][slot(pipeCount)] = pipeId;
    return pipeCount;
}

void TNetwork::PipeLoopsRemoveAllLoops() {
    for (std::int32_t loopId = PipeLoopCount; loopId >= 1; --loopId) PipeLoopRemove(loopId);
    PipeLoopCount = 0;
}

// ---- Duplicate and independence tests --------------------------------------------------

// Number of equal (pipe of loop a, pipe of loop b) pairs over all positions of the two.
std::int32_t TNetwork::countEqualLoopPipePairs(std::int32_t loopIdA, std::int32_t loopIdB) const {
    std::int32_t pairs = 0;
    for (std::int32_t a = 1; a <= PipeLoopPipeCount[slot(loopIdA)]; ++a) {
        for (std::int32_t b = 1; b <= PipeLoopPipeCount[slot(loopIdB)]; ++b) {
            if (PipeLoopPipes[slot(loopIdA)][slot(a)] == PipeLoopPipes[slot(loopIdB)][slot(b)]) ++pairs;
        }
    }
    return pairs;
}

bool TNetwork::isPipeInLoop(std::int32_t pipeId, std::int32_t loopId) const {
    for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(loopId)]; ++position) {
        if (PipeLoopPipes[slot(loopId)][slot(position)] == pipeId) return true;
    }
    return false;
}

bool TNetwork::isPipeInAnyLoopBefore(std::int32_t pipeId, std::int32_t loopId) const {
    for (std::int32_t earlier = 1; earlier < loopId; ++earlier) {
        if (isPipeInLoop(pipeId, earlier)) return true;
    }
    return false;
}

void TNetwork::PipeLoopsRemoveLastIfDuplicate() {
    const std::int32_t last = PipeLoopCount;
    const std::int32_t lastPipeCount = PipeLoopPipeCount[slot(last)];
    for (std::int32_t earlier = 1; earlier < last; ++earlier) {
        if (PipeLoopPipeCount[slot(earlier)] != lastPipeCount) continue;
        if (countEqualLoopPipePairs(earlier, last) == lastPipeCount) {
            PipeLoopRemove(last);
            return;
        }
    }
}

bool TNetwork::lastLoopHasNewPipe() const {
    const std::int32_t last = PipeLoopCount;
    for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(last)]; ++position) {
        if (!isPipeInAnyLoopBefore(PipeLoopPipes[slot(last)][slot(position)], last)) return true;
    }
    return false;
}

// A pipe no earlier loop holds settles it at once; otherwise the rank test decides.
void TNetwork::PipeLoopsRemoveLastUnlessIndependent() {
    if (PipeLoopCount < 2 || lastLoopHasNewPipe()) return;
    if (!isLastLoopIndependentOfEarlier()) PipeLoopRemove(PipeLoopCount);
}

// During the generation a candidate kept only by the rank test must also be one
// the equations can walk: a path that runs on through a second tank or end
// pressure node may start its walk at the wrong one. (A candidate with a new
// pipe is kept as it always was.)
void TNetwork::removeLastLoopIfDuplicateOrDependent() {
    PipeLoopsRemoveLastIfDuplicate();
    if (PipeLoopCount < 2 || lastLoopHasNewPipe()) return;
    if (!isLastLoopIndependentOfEarlier() || !isLastLoopWalkable()) PipeLoopRemove(PipeLoopCount);
}

// The pipe's open link for the walk test, looked up in the index built when the
// generation starts.
void TNetwork::indexLinksOfPipes() {
    LinkOfPipeScratch.assign(slot(TPipeSet::kCapacity) + 1, 0);
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const std::int32_t pipeId = NodeLinks[slot(k)].PipeId;
        if (pipeId >= 1 && pipeId <= TPipeSet::kCapacity) LinkOfPipeScratch[slot(pipeId)] = k;
    }
}

// Walks the last loop as the equation generation will, each pipe going on from
// where the one before it ended.
bool TNetwork::isLastLoopWalkable() const {
    const std::int32_t last = PipeLoopCount;
    const auto linkOf = [this](std::int32_t pipeId) -> const TNodeLink* {
        if (pipeId < 1 || pipeId > TPipeSet::kCapacity || slot(pipeId) >= LinkOfPipeScratch.size()) return nullptr;
        const std::int32_t k = LinkOfPipeScratch[slot(pipeId)];
        return k >= 1 ? &NodeLinks[slot(k)] : nullptr;
    };
    const TNodeLink* first = linkOf(PipeLoopPipes[slot(last)][1]);
    if (first == nullptr) return false;
    const TNodeLink* second = PipeLoopPipeCount[slot(last)] >= 2 ? linkOf(PipeLoopPipes[slot(last)][2]) : nullptr;
    std::int32_t current = walkStartNodeId(*first, second);
    for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(last)]; ++position) {
        const TNodeLink* link = linkOf(PipeLoopPipes[slot(last)][slot(position)]);
        if (link == nullptr) return false;
        if (current == link->FromNodeId) {
            current = link->ToNodeId;
        } else if (current == link->ToNodeId) {
            current = link->FromNodeId;
        } else {
            return false;
        }
    }
    return true;
}

// The held rows follow the table, which the generation changes only at its end;
// anything else (a loop removed further up, a table refilled) starts them afresh.
void TNetwork::holdLoopsForIndependence(std::int32_t loopCount) {
    std::int32_t held = LoopIndependence.HeldLoopCount();
    const bool lastHeldUnchanged =
        held == 0 || (held <= loopCount && LoopIndependence.HoldsSameLoop(held - 1, &PipeLoopPipes[slot(held)][1],
                                                                           PipeLoopPipeCount[slot(held)]));
    if (!lastHeldUnchanged) {
        LoopIndependence.Clear();
        held = 0;
    }
    for (std::int32_t loopId = held + 1; loopId <= loopCount; ++loopId) {
        LoopIndependence.Add(&PipeLoopPipes[slot(loopId)][1], PipeLoopPipeCount[slot(loopId)]);
    }
}

bool TNetwork::isLastLoopIndependentOfEarlier() {
    const std::int32_t last = PipeLoopCount;
    holdLoopsForIndependence(last - 1);
    return LoopIndependence.IsIndependent(&PipeLoopPipes[slot(last)][1], PipeLoopPipeCount[slot(last)]);
}

// ---- The search ------------------------------------------------------------------------

void TNetwork::PipeLoopsShortestPathClear() {
    for (std::int32_t nodeId = 1; nodeId <= MaxShortestPathNodes; ++nodeId) {
        TShortestPathEntry& entry = ShortestPath[slot(nodeId)];
        entry.Distance = kNoDistance;
        entry.PreviousNodeId = 0;
        entry.Visited = false;
    }
}

// The fast generator gives the identical table; it declines networks whose tables it
// does not handle exactly, which then take the plain search.
void TNetwork::PipeLoopsGenerateAllLoops() {
    TPhaseTimer timer(SolveTimings, TSolvePhase::LoopGeneration);
    indexLinksOfPipes();
    const bool fast = SolverPath == TSolverPath::Fast && FastLoops.Prepare(*this);
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        SolveStatusText = kGeneratingLoopsStatus + std::to_string(nodeId);
        processPendingMessages();
        if (fast) {
            FastLoops.GenerateFromNode(*this, nodeId);
            FastLoops.RemoveLastLoopIfDuplicateOrDependent(*this);
        } else {
            PipeLoopsGenerateFromNode(nodeId);
            removeLastLoopIfDuplicateOrDependent();
        }
    }
    PipeLoopsCompleteFromSpanningTree();
}

void TNetwork::PipeLoopsGenerateFromNode(std::int32_t nodeId) {
    for (std::int32_t closingLink = GetNextUndirectedNodeLinkId(nodeId, 0); closingLink > 0;
         closingLink = GetNextUndirectedNodeLinkId(nodeId, closingLink)) {
        searchFromNodeAcrossLink(nodeId, closingLink);
    }
}

// One search from the start node; the closing link is the one barred at the start
// (for a join point), so that the loop it closes comes back by another way.
void TNetwork::searchFromNodeAcrossLink(std::int32_t startNodeId, std::int32_t closingLink) {
    const bool startIsFixedPressure = isFixedPressureNode(GetNode(startNodeId).NodeType);
    PipeLoopsShortestPathClear();
    ShortestPath[slot(startNodeId)].Visited = true;
    std::int32_t currentNodeId = startNodeId;
    std::int32_t currentDistance = 0;
    std::int32_t steps = 0;
    bool complete = false;
    do {
        relaxLinksOfNode(currentNodeId, currentDistance, startNodeId, closingLink);
        const std::int32_t nearestNodeId = nearestUnvisitedNode(currentDistance);
        ++steps;
        if (nearestNodeId < 1) {
            complete = true;
        } else {
            ShortestPath[slot(nearestNodeId)].Visited = true;
            currentNodeId = nearestNodeId;
            currentDistance = ShortestPath[slot(nearestNodeId)].Distance;
            const bool reachedOtherFixedPressure =
                currentNodeId != startNodeId && isFixedPressureNode(GetNode(currentNodeId).NodeType);
            if (startIsFixedPressure && reachedOtherFixedPressure) recordPath(currentNodeId, startNodeId);
        }
    } while (!complete && steps < kMaxSearchSteps);
    if (!complete) throw ENetworkClass(kShortestPathSearchFailed);
    if (GetNode(startNodeId).NodeType == TNodeType::JoinPoint) recordClosedLoop(startNodeId, closingLink);
}

// The neighbour across a link, never stepping straight back to the node we came from;
// 0 when the link does not lead on from this node.
std::int32_t TNetwork::neighbourAcrossLink(const TNodeLink& link, std::int32_t nodeId) const {
    const std::int32_t cameFrom = ShortestPath[slot(nodeId)].PreviousNodeId;
    if (link.FromNodeId == nodeId && link.ToNodeId != cameFrom) return link.ToNodeId;
    if (link.ToNodeId == nodeId && link.FromNodeId != cameFrom) return link.FromNodeId;
    return 0;
}

void TNetwork::relaxLinksOfNode(std::int32_t nodeId, std::int32_t distance, std::int32_t startNodeId,
                                std::int32_t closingLink) {
    const bool barClosingLink = nodeId == startNodeId && GetNode(startNodeId).NodeType == TNodeType::JoinPoint;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        const std::int32_t neighbourId = neighbourAcrossLink(link, nodeId);
        if (neighbourId == 0) continue;
        // A barred link costs "infinity" and so never wins: the loop must close the long way.
        const std::int32_t cost = (barClosingLink && k == closingLink) ? kNoDistance : distance + 1;
        TShortestPathEntry& neighbour = ShortestPath[slot(neighbourId)];
        if (cost < neighbour.Distance) {
            neighbour.Distance = cost;
            neighbour.PreviousNodeId = nodeId;
            neighbour.PreviousPipeId = link.PipeId;
        }
    }
}

// The unvisited node with the smallest distance not below the current one; on equal
// distances the lowest id. Nodes the search has not reached are no candidates. -1 when none.
std::int32_t TNetwork::nearestUnvisitedNode(std::int32_t currentDistance) const {
    std::int32_t nearestNodeId = -1;
    std::int32_t nearestDistance = kNoDistance;
    for (std::int32_t nodeId = 1; nodeId <= MaxShortestPathNodes; ++nodeId) {
        const TShortestPathEntry& entry = ShortestPath[slot(nodeId)];
        if (!entry.Visited && entry.Distance >= currentDistance && entry.Distance < nearestDistance) {
            nearestNodeId = nodeId;
            nearestDistance = entry.Distance;
        }
    }
    return nearestNodeId;
}

// Adds the pipes by which the search reached the node, walking back to the start node.
void TNetwork::addPipesBackToStart(std::int32_t loopId, std::int32_t nodeId, std::int32_t startNodeId) {
    while (nodeId != startNodeId) {
        const TShortestPathEntry& entry = ShortestPath[slot(nodeId)];
        PipeLoopAddPipe(loopId, entry.PreviousPipeId);
        nodeId = entry.PreviousNodeId;
    }
}

// A path from the fixed-pressure node just reached back to the start node.
void TNetwork::recordPath(std::int32_t reachedNodeId, std::int32_t startNodeId) {
    const std::int32_t loopId = PipeLoopCreate();
    if (loopId != kNoLoop) addPipesBackToStart(loopId, reachedNodeId, startNodeId);
    removeLastLoopIfDuplicateOrDependent();
}

// A closed loop is found at the join point that is the from-node of its closing link:
// the closing pipe first, then the way back from its to-node. Links to tanks or end
// pressure nodes close no loop.
void TNetwork::recordClosedLoop(std::int32_t startNodeId, std::int32_t closingLink) {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if (link.FromNodeId != startNodeId || k != closingLink) continue;
        const std::int32_t endNodeId = link.ToNodeId;
        const bool endIsJoinPoint = GetNode(endNodeId).NodeType == TNodeType::JoinPoint;
        if (!endIsJoinPoint || ShortestPath[slot(endNodeId)].Distance == kNoDistance) continue;
        const std::int32_t loopId = PipeLoopCreate();
        if (loopId != kNoLoop) {
            PipeLoopAddPipe(loopId, link.PipeId);
            addPipesBackToStart(loopId, endNodeId, startNodeId);
        }
        removeLastLoopIfDuplicateOrDependent();
    }
}

void TNetwork::processPendingMessages() {
    if (UserMessages != nullptr) UserMessages->ProcessMessages();
}
