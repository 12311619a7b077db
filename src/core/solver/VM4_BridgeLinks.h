#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_NodeLink.h"
#include "solver/VM4_LinkAdjacency.h"

// The bridges of the open link table: links whose removal leaves their two
// nodes with no other connection. A search barred from a bridge can never come
// back to the bridge's other end, so the closed-loop search across it need not
// run. Parallel links are distinct links (neither is a bridge), a link from a
// node to itself never is one.
//
// Found by one depth-first walk (Tarjan's low-link rule), iterative so that a
// long chain of pipes cannot exhaust the stack. Sized once.
class TBridgeLinks {
public:
    TBridgeLinks(std::int32_t maxNodeId, std::int32_t maxLinks);

    // Links 1..linkCount of the table, whose lists the adjacency already holds.
    void Find(const std::vector<TNodeLink>& links, std::int32_t linkCount, const TLinkAdjacency& adjacency);
    bool IsBridge(std::int32_t k) const { return isBridge_[static_cast<std::size_t>(k)]; }

private:
    // One node on the walk's stack: the link it was entered by and the next of its
    // links to follow.
    struct TFrame {
        std::int32_t NodeId;
        std::int32_t EnteredBy;
        std::size_t NextLink;
    };

    void walkFrom(std::int32_t rootNodeId, const std::vector<TNodeLink>& links, const TLinkAdjacency& adjacency);
    void enter(std::int32_t nodeId, std::int32_t enteredBy);
    void leaveTopFrame();

    std::vector<bool> isBridge_;
    std::vector<std::int32_t> discovered_;  // visit number, 0 when not yet visited
    std::vector<std::int32_t> lowest_;      // lowest visit number reachable without the entering link
    std::vector<TFrame> stack_;
    std::int32_t visitCounter_ = 0;
};
