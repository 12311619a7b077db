#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/VM4_NodeLink.h"

// The open links touching each node, in link-table order: what a search reaches
// by scanning the whole link table, without scanning it. A link appears once in
// each of its two nodes' lists, once only when both ends are the same node.
//
// Sized once for node ids 1..MaxNodeId and MaxLinks links; Build refills it.
class TLinkAdjacency {
public:
    TLinkAdjacency(std::int32_t maxNodeId, std::int32_t maxLinks);

    // Links 1..linkCount of the table (entry 0 unused). False, leaving the lists
    // empty, when a link names a node id outside 1..MaxNodeId.
    bool Build(const std::vector<TNodeLink>& links, std::int32_t linkCount);

    // Link indices touching the node, ascending. Empty for an id outside the range.
    std::span<const std::int32_t> LinksOf(std::int32_t nodeId) const;
    std::int32_t MaxNodeId() const { return maxNodeId_; }

private:
    void clear();
    void countLinkEnds(const std::vector<TNodeLink>& links, std::int32_t linkCount);
    void placeLinkEnds(const std::vector<TNodeLink>& links, std::int32_t linkCount);

    std::int32_t maxNodeId_;
    // Node n's links are entries_[first_[n] .. first_[n + 1] - 1] (compressed rows).
    std::vector<std::int32_t> first_;
    std::vector<std::int32_t> entries_;
    std::vector<std::int32_t> fillPosition_;
};
