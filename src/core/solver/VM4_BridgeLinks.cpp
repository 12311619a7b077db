#include "solver/VM4_BridgeLinks.h"

#include <algorithm>

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

std::int32_t otherEnd(const TNodeLink& link, std::int32_t nodeId) {
    return link.FromNodeId == nodeId ? link.ToNodeId : link.FromNodeId;
}

}  // namespace

TBridgeLinks::TBridgeLinks(std::int32_t maxNodeId, std::int32_t maxLinks)
    : isBridge_(slot(maxLinks) + 1, false), discovered_(slot(maxNodeId) + 1, 0), lowest_(slot(maxNodeId) + 1, 0) {
    stack_.reserve(slot(maxNodeId) + 1);
}

void TBridgeLinks::Find(const std::vector<TNodeLink>& links, std::int32_t linkCount,
                        const TLinkAdjacency& adjacency) {
    std::fill(isBridge_.begin(), isBridge_.end(), false);
    std::fill(discovered_.begin(), discovered_.end(), 0);
    std::fill(lowest_.begin(), lowest_.end(), 0);
    visitCounter_ = 0;
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const std::int32_t nodeId = links[slot(k)].FromNodeId;
        if (discovered_[slot(nodeId)] == 0) walkFrom(nodeId, links, adjacency);
    }
}

void TBridgeLinks::enter(std::int32_t nodeId, std::int32_t enteredBy) {
    ++visitCounter_;
    discovered_[slot(nodeId)] = visitCounter_;
    lowest_[slot(nodeId)] = visitCounter_;
    stack_.push_back({nodeId, enteredBy, 0});
}

// The link that entered a node is a bridge when nothing below the node reaches
// back above it: lowest(child) > discovered(parent).
void TBridgeLinks::leaveTopFrame() {
    const TFrame child = stack_.back();
    stack_.pop_back();
    if (stack_.empty()) return;
    const std::int32_t parentId = stack_.back().NodeId;
    lowest_[slot(parentId)] = std::min(lowest_[slot(parentId)], lowest_[slot(child.NodeId)]);
    if (lowest_[slot(child.NodeId)] > discovered_[slot(parentId)]) isBridge_[slot(child.EnteredBy)] = true;
}

void TBridgeLinks::walkFrom(std::int32_t rootNodeId, const std::vector<TNodeLink>& links,
                            const TLinkAdjacency& adjacency) {
    enter(rootNodeId, 0);
    while (!stack_.empty()) {
        TFrame& frame = stack_.back();
        const auto nodeLinks = adjacency.LinksOf(frame.NodeId);
        if (frame.NextLink == nodeLinks.size()) {
            leaveTopFrame();
            continue;
        }
        const std::int32_t k = nodeLinks[frame.NextLink++];
        // Only the entering link itself leads back to the parent; a parallel link
        // is a second way and keeps the pair out of the bridges.
        if (k == frame.EnteredBy) continue;
        const std::int32_t nodeId = frame.NodeId;
        const std::int32_t neighbourId = otherEnd(links[slot(k)], nodeId);
        if (discovered_[slot(neighbourId)] == 0) {
            enter(neighbourId, k);  // invalidates frame
        } else {
            lowest_[slot(nodeId)] = std::min(lowest_[slot(nodeId)], discovered_[slot(neighbourId)]);
        }
    }
}
