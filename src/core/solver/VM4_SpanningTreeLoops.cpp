#include "solver/VM4_SpanningTreeLoops.h"

#include <algorithm>

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TSpanningTreeLoops::TSpanningTreeLoops(std::int32_t maxNodeId, std::int32_t maxLinks)
    : maxNodeId_(maxNodeId),
      unionParent_(slot(maxNodeId) + 1),
      treeParent_(slot(maxNodeId) + 1),
      treeParentLink_(slot(maxNodeId) + 1),
      depth_(slot(maxNodeId) + 1),
      touched_(slot(maxNodeId) + 1),
      treeFirst_(slot(maxNodeId) + 2),
      treeEntries_(2 * slot(maxLinks) + 2) {
    chords_.reserve(slot(maxLinks));
    queue_.reserve(slot(maxNodeId) + 1);
}

std::int32_t TSpanningTreeLoops::vertexOf(std::int32_t nodeId) const {
    return (*isFixedPressure_)[slot(nodeId)] ? kGround : nodeId;
}

std::int32_t TSpanningTreeLoops::rootOf(std::int32_t vertex) {
    while (unionParent_[slot(vertex)] != vertex) {
        unionParent_[slot(vertex)] = unionParent_[slot(unionParent_[slot(vertex)])];
        vertex = unionParent_[slot(vertex)];
    }
    return vertex;
}

bool TSpanningTreeLoops::Build(const std::vector<TNodeLink>& links, std::int32_t linkCount,
                               const std::vector<bool>& isFixedPressure) {
    chords_.clear();
    cycleCount_ = 0;
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const TNodeLink& link = links[slot(k)];
        const bool inRange = link.FromNodeId >= 1 && link.FromNodeId <= maxNodeId_ && link.ToNodeId >= 1 &&
                             link.ToNodeId <= maxNodeId_;
        if (!inRange) return false;
    }
    links_ = &links;
    isFixedPressure_ = &isFixedPressure;
    chooseTreeLinks(linkCount);
    std::fill(depth_.begin(), depth_.end(), kNone);
    for (std::int32_t vertex = 0; vertex <= maxNodeId_; ++vertex) {
        if (touched_[slot(vertex)] && depth_[slot(vertex)] == kNone) hangTreeFrom(vertex);
    }
    return true;
}

// Kruskal's choice without weights: a link joining two parts is a tree link,
// any other closes a loop. links − vertices + parts = number of chords.
void TSpanningTreeLoops::chooseTreeLinks(std::int32_t linkCount) {
    for (std::int32_t vertex = 0; vertex <= maxNodeId_; ++vertex) unionParent_[slot(vertex)] = vertex;
    std::fill(touched_.begin(), touched_.end(), false);
    std::fill(treeFirst_.begin(), treeFirst_.end(), 0);
    std::vector<std::int32_t>& treeLinks = queue_;  // borrowed until the tree is hung
    treeLinks.clear();
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const TNodeLink& link = (*links_)[slot(k)];
        const std::int32_t a = vertexOf(link.FromNodeId);
        const std::int32_t b = vertexOf(link.ToNodeId);
        touched_[slot(a)] = true;
        touched_[slot(b)] = true;
        const std::int32_t rootA = rootOf(a);
        const std::int32_t rootB = rootOf(b);
        if (rootA == rootB) {
            chords_.push_back(k);
            continue;
        }
        unionParent_[slot(rootA)] = rootB;
        treeLinks.push_back(k);
        ++treeFirst_[slot(a) + 1];
        ++treeFirst_[slot(b) + 1];
    }
    for (std::size_t vertex = 1; vertex < treeFirst_.size(); ++vertex) treeFirst_[vertex] += treeFirst_[vertex - 1];
    std::vector<std::int32_t> fill(treeFirst_.begin(), treeFirst_.end() - 1);
    for (const std::int32_t k : treeLinks) {
        const TNodeLink& link = (*links_)[slot(k)];
        treeEntries_[slot(fill[slot(vertexOf(link.FromNodeId))]++)] = k;
        treeEntries_[slot(fill[slot(vertexOf(link.ToNodeId))]++)] = k;
    }
    cycleCount_ = static_cast<std::int32_t>(chords_.size());
}

// Breadth-first from the root: parents, the links to them and depths.
void TSpanningTreeLoops::hangTreeFrom(std::int32_t root) {
    queue_.clear();
    queue_.push_back(root);
    depth_[slot(root)] = 0;
    treeParent_[slot(root)] = kNone;
    treeParentLink_[slot(root)] = kNone;
    for (std::size_t next = 0; next < queue_.size(); ++next) {
        const std::int32_t vertex = queue_[next];
        for (std::int32_t entry = treeFirst_[slot(vertex)]; entry < treeFirst_[slot(vertex) + 1]; ++entry) {
            const std::int32_t k = treeEntries_[slot(entry)];
            const TNodeLink& link = (*links_)[slot(k)];
            const std::int32_t a = vertexOf(link.FromNodeId);
            const std::int32_t other = a == vertex ? vertexOf(link.ToNodeId) : a;
            if (depth_[slot(other)] != kNone) continue;
            depth_[slot(other)] = depth_[slot(vertex)] + 1;
            treeParent_[slot(other)] = vertex;
            treeParentLink_[slot(other)] = k;
            queue_.push_back(other);
        }
    }
}

std::int32_t TSpanningTreeLoops::commonAncestor(std::int32_t a, std::int32_t b) const {
    while (depth_[slot(a)] > depth_[slot(b)]) a = treeParent_[slot(a)];
    while (depth_[slot(b)] > depth_[slot(a)]) b = treeParent_[slot(b)];
    while (a != b) {
        a = treeParent_[slot(a)];
        b = treeParent_[slot(b)];
    }
    return a;
}

void TSpanningTreeLoops::climb(std::int32_t vertex, std::int32_t ancestor, std::vector<std::int32_t>& links) const {
    links.clear();
    for (; vertex != ancestor; vertex = treeParent_[slot(vertex)]) links.push_back(treeParentLink_[slot(vertex)]);
}

// The cycle runs across the chord from a to b, up the tree from b to the common
// ancestor and down to a. When the ground is on it, it is turned to start and end
// there: the path leaves the ground by its first link and comes back by its last.
void TSpanningTreeLoops::LoopOfChord(std::int32_t chord, std::vector<std::int32_t>& pipes) const {
    const TNodeLink& chordLink = (*links_)[slot(chord)];
    const std::int32_t a = vertexOf(chordLink.FromNodeId);
    const std::int32_t b = vertexOf(chordLink.ToNodeId);
    const std::int32_t ancestor = commonAncestor(a, b);
    climb(b, ancestor, upFromB_);
    climb(a, ancestor, upFromA_);
    std::vector<std::int32_t>& cycleLinks = cycleLinks_;
    std::vector<std::int32_t>& vertices = cycleStarts_;
    cycleLinks.clear();
    vertices.clear();
    cycleLinks.push_back(chord);
    vertices.push_back(a);
    std::int32_t vertex = b;
    for (const std::int32_t k : upFromB_) {
        cycleLinks.push_back(k);
        vertices.push_back(vertex);
        vertex = treeParent_[slot(vertex)];
    }
    for (auto k = upFromA_.rbegin(); k != upFromA_.rend(); ++k) {
        cycleLinks.push_back(*k);
        vertices.push_back(vertex);
        const TNodeLink& link = (*links_)[slot(*k)];
        const std::int32_t from = vertexOf(link.FromNodeId);
        vertex = from == vertex ? vertexOf(link.ToNodeId) : from;
    }
    const auto ground = std::find(vertices.begin(), vertices.end(), kGround);
    if (ground != vertices.end()) std::rotate(cycleLinks.begin(), cycleLinks.begin() + (ground - vertices.begin()), cycleLinks.end());
    pipes.clear();
    for (const std::int32_t k : cycleLinks) pipes.push_back((*links_)[slot(k)].PipeId);
}
