#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_NodeLink.h"

// A complete set of independent loops and paths, read off a spanning tree of the
// open links: each link outside the tree (a chord) closes exactly one loop with
// the tree, and these loops are independent of each other and together imply
// every other one.
//
// Tanks and end pressure nodes are all joined to one ground node, so that a path
// from one fixed-pressure node to another is a cycle through the ground node. The
// number of loops and paths a network needs besides its continuity equations is
// then the number of independent cycles of that graph: links − nodes + parts.
//
// The tree takes the links in table order, each one that joins two parts not yet
// joined. Sized once for node ids 1..MaxNodeId and MaxLinks links.
class TSpanningTreeLoops {
public:
    TSpanningTreeLoops(std::int32_t maxNodeId, std::int32_t maxLinks);

    // Links 1..linkCount of the table (entry 0 unused); isFixedPressure is indexed by
    // node id. False, with nothing built, when a link names a node id out of range.
    bool Build(const std::vector<TNodeLink>& links, std::int32_t linkCount, const std::vector<bool>& isFixedPressure);

    // Independent loops and paths the links hold.
    std::int32_t CycleCount() const { return cycleCount_; }
    // The links outside the tree, ascending.
    const std::vector<std::int32_t>& Chords() const { return chords_; }
    // The pipes of the loop or path that the chord closes, in walking order: a path
    // from the fixed-pressure node where it leaves the ground to the one where it
    // comes back; a closed loop from the chord's from-node across the chord first.
    void LoopOfChord(std::int32_t chord, std::vector<std::int32_t>& pipes) const;

private:
    static constexpr std::int32_t kGround = 0;
    static constexpr std::int32_t kNone = -1;

    std::int32_t vertexOf(std::int32_t nodeId) const;
    std::int32_t rootOf(std::int32_t vertex);
    void chooseTreeLinks(std::int32_t linkCount);
    void hangTreeFrom(std::int32_t root);
    // The links from the vertex up to (not beyond) the ancestor, in that order.
    void climb(std::int32_t vertex, std::int32_t ancestor, std::vector<std::int32_t>& links) const;
    std::int32_t commonAncestor(std::int32_t a, std::int32_t b) const;

    std::int32_t maxNodeId_;
    const std::vector<TNodeLink>* links_ = nullptr;
    const std::vector<bool>* isFixedPressure_ = nullptr;
    std::int32_t cycleCount_ = 0;
    std::vector<std::int32_t> chords_;
    // Per vertex (0 ground, otherwise the node id of a join point).
    std::vector<std::int32_t> unionParent_;
    std::vector<std::int32_t> treeParent_;      // kNone at a root
    std::vector<std::int32_t> treeParentLink_;  // the tree link to the parent
    std::vector<std::int32_t> depth_;           // kNone when not in the tree
    std::vector<bool> touched_;
    // Tree links of each vertex, compressed rows.
    std::vector<std::int32_t> treeFirst_;
    std::vector<std::int32_t> treeEntries_;
    std::vector<std::int32_t> queue_;
    mutable std::vector<std::int32_t> upFromB_;
    mutable std::vector<std::int32_t> upFromA_;
    mutable std::vector<std::int32_t> cycleLinks_;
    mutable std::vector<std::int32_t> cycleStarts_;  // the vertex each cycle link is walked from
};
