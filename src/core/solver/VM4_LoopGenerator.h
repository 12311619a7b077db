#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "model/VM4_Node_Class.h"
#include "solver/VM4_BridgeLinks.h"
#include "solver/VM4_LinkAdjacency.h"
#include "solver/VM4_LoopMembership.h"
#include "solver/VM4_SearchFrontier.h"

class TNetwork;

// The loop and path searches of TNetwork::PipeLoopsGenerateAllLoops. Its result
// is defined by the plain search (kept in the solver tests, which compare the two
// tables bit for bit): the same loops and paths, with the same pipes in the same
// order, in the same table positions, after the same sequence of table operations.
//
// What the plain search spends its time on, and what replaces it:
// - every search step scans the whole link table for the current node's links:
//   here each node's links are listed once, in link-table order;
// - every step scans every node id for the nearest unvisited node: here a heap
//   on (distance, node id) hands them out in the same order;
// - a closed-loop search from a join point runs on after the closing link's far
//   end is reached, and runs at all across a bridge, where it cannot succeed:
//   here it stops as soon as the far end has its distance (a distance, once
//   given, never changes in a search that advances one pipe at a time), and the
//   bridges are found once, beforehand;
// - the searches from a tank or end pressure node across each of its links are
//   identical (only a join point bars its closing link): here the search runs
//   once and its paths are recorded once per link, as before;
// - the independence and duplicate tests compare the last loop with every
//   earlier one: here a per-pipe list of the loops holding it answers both, or
//   shows a new pipe before the rank test is needed.
//
// The network is read, not changed, while the generation runs, except through
// the loop table operations; it must not be edited in between.
class TLoopGenerator {
public:
    TLoopGenerator();

    // Takes in the network's open links and its stored loops. False when the
    // tables hold something the search does not handle exactly (a node id
    // outside 1..1000, a pipe id outside 1..1000 or on two links, a stored loop
    // that is empty or holds a pipe twice): the caller then refuses the tables.
    bool Prepare(const TNetwork& network);
    // The searches from the start node, one per open link touching it, storing the
    // independent loops and paths they find.
    void GenerateFromNode(TNetwork& network, std::int32_t startNodeId);
    // Removes the last loop when an earlier loop holds exactly its pipes; then, unless
    // it holds a pipe no earlier loop holds, when it is not independent of the
    // earlier ones (as pipe sets: it adds no equation they do not imply) or cannot be
    // walked as the equations walk it. A single loop is always kept.
    void RemoveLastLoopIfDuplicateOrDependent(TNetwork& network);

private:
    static constexpr std::int32_t kNoDistance = std::numeric_limits<std::int32_t>::max();
    static constexpr std::int32_t kNoNode = 0;
    static constexpr std::int32_t kNoLink = 0;

    struct TNodeState {
        std::int32_t Distance = kNoDistance;
        std::int32_t PreviousNodeId = 0;
        std::int32_t PreviousPipeId = 0;
        bool Visited = false;
    };

    bool checkLinkPipes(const TNetwork& network);
    bool indexStoredLoops(const TNetwork& network);
    std::uint32_t nextMarkStamp();

    void generateFromFixedPressureNode(TNetwork& network, std::int32_t startNodeId);
    void generateFromJoinPoint(TNetwork& network, std::int32_t startNodeId);
    bool closingLinkCanCloseLoop(const TNetwork& network, std::int32_t startNodeId, std::int32_t closingLink) const;

    void search(const TNetwork& network, std::int32_t startNodeId, std::int32_t barredLink,
                std::int32_t targetNodeId);
    bool relaxLinksOf(const TNetwork& network, std::int32_t nodeId, std::int32_t distance,
                      std::int32_t startNodeId, std::int32_t barredLink, std::int32_t targetNodeId);
    std::int32_t neighbourAcross(const TNetwork& network, std::int32_t k, std::int32_t nodeId) const;
    void resetSearch();
    bool isFixedPressure(std::int32_t nodeId) const;

    void recordPath(TNetwork& network, std::int32_t reachedNodeId, std::int32_t startNodeId);
    void recordClosedLoop(TNetwork& network, std::int32_t startNodeId, std::int32_t closingLink);
    void addPipesBackToStart(TNetwork& network, std::int32_t loopId, std::int32_t nodeId,
                             std::int32_t startNodeId);

    void addPipe(TNetwork& network, std::int32_t loopId, std::int32_t pipeId);
    void removeLastLoop(TNetwork& network);
    bool isLastLoopDuplicate(const TNetwork& network);
    bool lastLoopHasNewPipe(const TNetwork& network) const;

    std::vector<TNodeState> nodes_;   // indexed by node id
    std::vector<TNodeType> nodeTypes_;
    std::vector<std::int32_t> touchedNodes_;
    std::vector<std::int32_t> reachedFixedPressureNodes_;  // in the order the search visited them
    TLinkAdjacency adjacency_;
    TBridgeLinks bridges_;
    TLoopMembership membership_;
    TSearchFrontier frontier_;
    std::vector<std::uint32_t> pipeMarks_;  // indexed by pipe id; equal to the stamp when marked
    std::uint32_t markStamp_ = 0;
};
