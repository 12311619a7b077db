#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/VM4_NodeLink.h"
#include "solver/VM4_LinkAdjacency.h"

// The open link table looked up by node and by pipe without scanning it: the
// links touching each node in table order, and the link of each pipe. Built
// only for a table whose node ids are within 1..MaxNodeId and whose pipes are
// within 1..MaxPipeId, each on one link, where the first and the last link of a
// pipe are the same.
class TLinkLookup {
public:
    TLinkLookup(std::int32_t maxNodeId, std::int32_t maxPipeId, std::int32_t maxLinks);

    // Links 1..linkCount of the table (entry 0 unused). False when the table is
    // not one the lookup answers for.
    bool Build(const std::vector<TNodeLink>& links, std::int32_t linkCount);

    // Link indices touching the node, ascending.
    std::span<const std::int32_t> LinksOf(std::int32_t nodeId) const { return adjacency_.LinksOf(nodeId); }
    // The pipe's link index; 0 when the pipe has no open link or its id is out of range.
    std::int32_t LinkOfPipe(std::int32_t pipeId) const;

private:
    std::int32_t maxPipeId_;
    TLinkAdjacency adjacency_;
    std::vector<std::int32_t> linkOfPipe_;  // indexed by pipe id
    std::vector<std::int32_t> usedPipeIds_;
};
