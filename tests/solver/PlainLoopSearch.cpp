#include "PlainLoopSearch.h"

#include <limits>
#include <stdexcept>
#include <vector>

#include "solver/VM4_LoopIndependence.h"

namespace {

constexpr std::int32_t kNoDistance = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMaxNodeId = TNodeSet::MaxNodes;
// Every step visits a new node, so a sound search ends after at most 1000 steps.
constexpr std::int32_t kMaxSearchSteps = 1000000;
constexpr std::int32_t kNoLoop = -1;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

bool isFixedPressureNode(TNodeType nodeType) {
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

class TPlainLoopSearch {
public:
    explicit TPlainLoopSearch(TNetwork& network) : network_(network), entries_(slot(kMaxNodeId) + 1) {
        // The generation changes the loop table only, never the links.
        links_.push_back(TNodeLink{});  // entry 0 unused, as in the network's table
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links_.push_back(network.GetNodeLink(k));
    }

    void Run() {
        for (std::int32_t nodeId = network_.GetNextNodeId(0); nodeId > 0; nodeId = network_.GetNextNodeId(nodeId)) {
            GenerateFromNode(nodeId);
            removeLastLoopIfDuplicateOrDependent();
        }
        network_.PipeLoopsCompleteFromSpanningTree();
    }

    // One search per open link touching the node, in table order.
    void GenerateFromNode(std::int32_t nodeId) {
        for (std::int32_t closingLink = nextLinkTouching(nodeId, 0); closingLink > 0;
             closingLink = nextLinkTouching(nodeId, closingLink)) {
            searchFromNodeAcrossLink(nodeId, closingLink);
        }
    }

    // Removes the last loop when an earlier loop of as many pipes has as many equal
    // pipe pairs with it as it has pipes.
    void RemoveLastIfDuplicate() {
        const std::int32_t last = network_.GetPipeLoopCount();
        if (last < 1) return;
        const std::int32_t lastPipeCount = network_.GetPipeLoopPipeCount(last);
        for (std::int32_t earlier = 1; earlier < last; ++earlier) {
            if (network_.GetPipeLoopPipeCount(earlier) != lastPipeCount) continue;
            if (countEqualPipePairs(earlier, last) == lastPipeCount) {
                network_.PipeLoopRemove(last);
                return;
            }
        }
    }

    // A pipe no earlier loop holds settles it at once; otherwise the rank test decides.
    void RemoveLastUnlessIndependent() {
        if (network_.GetPipeLoopCount() < 2 || lastLoopHasNewPipe()) return;
        if (!isLastLoopIndependentOfEarlier()) network_.PipeLoopRemove(network_.GetPipeLoopCount());
    }

private:
    struct TEntry {
        std::int32_t Distance = 0;
        std::int32_t PreviousNodeId = 0;
        std::int32_t PreviousPipeId = 0;  // not reset between searches: only reached nodes are walked back
        bool Visited = false;
    };

    std::int32_t linkCount() const { return static_cast<std::int32_t>(links_.size()) - 1; }
    const TNodeLink& link(std::int32_t k) const { return links_[slot(k)]; }
    TNodeType typeOf(std::int32_t nodeId) const { return network_.GetNode(nodeId).NodeType; }

    std::int32_t nextLinkTouching(std::int32_t nodeId, std::int32_t k) const {
        for (std::int32_t next = k + 1; next <= linkCount(); ++next) {
            if (link(next).Touches(nodeId)) return next;
        }
        return -1;
    }

    // A join point bars its closing link at the start, so that the loop it closes
    // comes back by another way.
    void searchFromNodeAcrossLink(std::int32_t startNodeId, std::int32_t closingLink) {
        const bool startIsFixedPressure = isFixedPressureNode(typeOf(startNodeId));
        for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
            TEntry& entry = entries_[slot(nodeId)];
            entry.Distance = kNoDistance;
            entry.PreviousNodeId = 0;
            entry.Visited = false;
        }
        entries_[slot(startNodeId)].Visited = true;
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
                entries_[slot(nearestNodeId)].Visited = true;
                currentNodeId = nearestNodeId;
                currentDistance = entries_[slot(nearestNodeId)].Distance;
                const bool reachedOtherFixedPressure =
                    currentNodeId != startNodeId && isFixedPressureNode(typeOf(currentNodeId));
                if (startIsFixedPressure && reachedOtherFixedPressure) recordPath(currentNodeId, startNodeId);
            }
        } while (!complete && steps < kMaxSearchSteps);
        if (!complete) throw std::runtime_error("the plain search did not complete");
        if (typeOf(startNodeId) == TNodeType::JoinPoint) recordClosedLoop(startNodeId, closingLink);
    }

    // Never straight back to the node we came from; 0 when the link does not lead on.
    std::int32_t neighbourAcrossLink(const TNodeLink& across, std::int32_t nodeId) const {
        const std::int32_t cameFrom = entries_[slot(nodeId)].PreviousNodeId;
        if (across.FromNodeId == nodeId && across.ToNodeId != cameFrom) return across.ToNodeId;
        if (across.ToNodeId == nodeId && across.FromNodeId != cameFrom) return across.FromNodeId;
        return 0;
    }

    void relaxLinksOfNode(std::int32_t nodeId, std::int32_t distance, std::int32_t startNodeId,
                          std::int32_t closingLink) {
        const bool barClosingLink = nodeId == startNodeId && typeOf(startNodeId) == TNodeType::JoinPoint;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            const std::int32_t neighbourId = neighbourAcrossLink(link(k), nodeId);
            if (neighbourId == 0) continue;
            const std::int32_t cost = (barClosingLink && k == closingLink) ? kNoDistance : distance + 1;
            TEntry& neighbour = entries_[slot(neighbourId)];
            if (cost < neighbour.Distance) {
                neighbour.Distance = cost;
                neighbour.PreviousNodeId = nodeId;
                neighbour.PreviousPipeId = link(k).PipeId;
            }
        }
    }

    // The smallest distance not below the current one; the lowest id on equal distances.
    std::int32_t nearestUnvisitedNode(std::int32_t currentDistance) const {
        std::int32_t nearestNodeId = -1;
        std::int32_t nearestDistance = kNoDistance;
        for (std::int32_t nodeId = 1; nodeId <= kMaxNodeId; ++nodeId) {
            const TEntry& entry = entries_[slot(nodeId)];
            if (!entry.Visited && entry.Distance >= currentDistance && entry.Distance < nearestDistance) {
                nearestNodeId = nodeId;
                nearestDistance = entry.Distance;
            }
        }
        return nearestNodeId;
    }

    void addPipesBackToStart(std::int32_t loopId, std::int32_t nodeId, std::int32_t startNodeId) {
        while (nodeId != startNodeId) {
            const TEntry& entry = entries_[slot(nodeId)];
            network_.PipeLoopAddPipe(loopId, entry.PreviousPipeId);
            nodeId = entry.PreviousNodeId;
        }
    }

    void recordPath(std::int32_t reachedNodeId, std::int32_t startNodeId) {
        const std::int32_t loopId = network_.PipeLoopCreate();
        if (loopId != kNoLoop) addPipesBackToStart(loopId, reachedNodeId, startNodeId);
        removeLastLoopIfDuplicateOrDependent();
    }

    // At the join point that is the from-node of the closing link: the closing pipe
    // first, then the way back from its to-node.
    void recordClosedLoop(std::int32_t startNodeId, std::int32_t closingLink) {
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            const TNodeLink& closing = link(k);
            if (closing.FromNodeId != startNodeId || k != closingLink) continue;
            const std::int32_t endNodeId = closing.ToNodeId;
            const bool endIsJoinPoint = typeOf(endNodeId) == TNodeType::JoinPoint;
            if (!endIsJoinPoint || entries_[slot(endNodeId)].Distance == kNoDistance) continue;
            const std::int32_t loopId = network_.PipeLoopCreate();
            if (loopId != kNoLoop) {
                network_.PipeLoopAddPipe(loopId, closing.PipeId);
                addPipesBackToStart(loopId, endNodeId, startNodeId);
            }
            removeLastLoopIfDuplicateOrDependent();
        }
    }

    // The duplicate test, then, for a candidate without a pipe of its own, the
    // rank test and the walk test.
    void removeLastLoopIfDuplicateOrDependent() {
        RemoveLastIfDuplicate();
        if (network_.GetPipeLoopCount() < 2 || lastLoopHasNewPipe()) return;
        if (!isLastLoopIndependentOfEarlier() || !isLastLoopWalkable()) {
            network_.PipeLoopRemove(network_.GetPipeLoopCount());
        }
    }

    std::int32_t countEqualPipePairs(std::int32_t loopIdA, std::int32_t loopIdB) const {
        std::int32_t pairs = 0;
        for (std::int32_t a = 1; a <= network_.GetPipeLoopPipeCount(loopIdA); ++a) {
            for (std::int32_t b = 1; b <= network_.GetPipeLoopPipeCount(loopIdB); ++b) {
                if (network_.GetPipeLoopPipe(loopIdA, a) == network_.GetPipeLoopPipe(loopIdB, b)) ++pairs;
            }
        }
        return pairs;
    }

    std::vector<std::int32_t> pipesOf(std::int32_t loopId) const {
        std::vector<std::int32_t> pipes;
        for (std::int32_t position = 1; position <= network_.GetPipeLoopPipeCount(loopId); ++position) {
            pipes.push_back(network_.GetPipeLoopPipe(loopId, position));
        }
        return pipes;
    }

    // The rank rows follow the table, which the generation changes only at its end;
    // anything else starts them afresh.
    void holdLoopsForIndependence(std::int32_t loopCount) {
        std::int32_t held = independence_.HeldLoopCount();
        bool lastHeldUnchanged = held == 0;
        if (!lastHeldUnchanged && held <= loopCount) {
            const std::vector<std::int32_t> pipes = pipesOf(held);
            lastHeldUnchanged =
                independence_.HoldsSameLoop(held - 1, pipes.data(), static_cast<std::int32_t>(pipes.size()));
        }
        if (!lastHeldUnchanged) {
            independence_.Clear();
            held = 0;
        }
        for (std::int32_t loopId = held + 1; loopId <= loopCount; ++loopId) {
            const std::vector<std::int32_t> pipes = pipesOf(loopId);
            independence_.Add(pipes.data(), static_cast<std::int32_t>(pipes.size()));
        }
    }

    bool isLastLoopIndependentOfEarlier() {
        const std::int32_t last = network_.GetPipeLoopCount();
        holdLoopsForIndependence(last - 1);
        const std::vector<std::int32_t> pipes = pipesOf(last);
        return independence_.IsIndependent(pipes.data(), static_cast<std::int32_t>(pipes.size()));
    }

    bool isPipeInLoop(std::int32_t pipeId, std::int32_t loopId) const {
        for (std::int32_t position = 1; position <= network_.GetPipeLoopPipeCount(loopId); ++position) {
            if (network_.GetPipeLoopPipe(loopId, position) == pipeId) return true;
        }
        return false;
    }

    bool lastLoopHasNewPipe() const {
        const std::int32_t last = network_.GetPipeLoopCount();
        for (std::int32_t position = 1; position <= network_.GetPipeLoopPipeCount(last); ++position) {
            const std::int32_t pipeId = network_.GetPipeLoopPipe(last, position);
            bool held = false;
            for (std::int32_t earlier = 1; earlier < last && !held; ++earlier) held = isPipeInLoop(pipeId, earlier);
            if (!held) return true;
        }
        return false;
    }

    // The last open link of the pipe; null when it has none.
    const TNodeLink* linkOfPipe(std::int32_t pipeId) const {
        const TNodeLink* found = nullptr;
        for (std::int32_t k = 1; k <= linkCount(); ++k) {
            if (link(k).PipeId == pipeId) found = &link(k);
        }
        return found;
    }

    // A path that runs on through a second tank or end pressure node may have one
    // at both ends of its first pipe: the walk leaves it where the second pipe joins.
    std::int32_t walkStartNodeId(const TNodeLink& first, const TNodeLink* second) const {
        const bool toNodeFixed = isFixedPressureNode(typeOf(first.ToNodeId));
        const std::int32_t start = toNodeFixed ? first.ToNodeId : first.FromNodeId;
        const std::int32_t other = toNodeFixed ? first.FromNodeId : first.ToNodeId;
        if (second != nullptr && !second->Touches(other) && second->Touches(start)) return other;
        return start;
    }

    // The last loop walked as the equations walk it, each pipe going on from where
    // the one before it ended.
    bool isLastLoopWalkable() const {
        const std::int32_t last = network_.GetPipeLoopCount();
        const std::int32_t pipeCount = network_.GetPipeLoopPipeCount(last);
        const TNodeLink* first = linkOfPipe(network_.GetPipeLoopPipe(last, 1));
        if (first == nullptr) return false;
        const TNodeLink* second = pipeCount >= 2 ? linkOfPipe(network_.GetPipeLoopPipe(last, 2)) : nullptr;
        std::int32_t current = walkStartNodeId(*first, second);
        for (std::int32_t position = 1; position <= pipeCount; ++position) {
            const TNodeLink* walked = linkOfPipe(network_.GetPipeLoopPipe(last, position));
            if (walked == nullptr) return false;
            if (current == walked->FromNodeId) {
                current = walked->ToNodeId;
            } else if (current == walked->ToNodeId) {
                current = walked->FromNodeId;
            } else {
                return false;
            }
        }
        return true;
    }

    TNetwork& network_;
    std::vector<TNodeLink> links_;
    std::vector<TEntry> entries_;
    TLoopIndependence independence_{TPipeSet::kCapacity};
};

}  // namespace

void GeneratePlainLoopTable(TNetwork& network) { TPlainLoopSearch(network).Run(); }

void GeneratePlainLoopsFromNode(TNetwork& network, std::int32_t nodeId) { TPlainLoopSearch(network).GenerateFromNode(nodeId); }

void RemovePlainLastLoopIfDuplicate(TNetwork& network) { TPlainLoopSearch(network).RemoveLastIfDuplicate(); }

void RemovePlainLastLoopUnlessIndependent(TNetwork& network) { TPlainLoopSearch(network).RemoveLastUnlessIndependent(); }
