#include "solver/VM4_LinkAdjacency.h"

#include <algorithm>

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TLinkAdjacency::TLinkAdjacency(std::int32_t maxNodeId, std::int32_t maxLinks)
    : maxNodeId_(maxNodeId),
      first_(slot(maxNodeId) + 2, 0),
      entries_(2 * slot(maxLinks), 0),
      fillPosition_(slot(maxNodeId) + 2, 0) {}

void TLinkAdjacency::clear() { std::fill(first_.begin(), first_.end(), 0); }

bool TLinkAdjacency::Build(const std::vector<TNodeLink>& links, std::int32_t linkCount) {
    clear();
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const TNodeLink& link = links[slot(k)];
        const bool endsInRange = link.FromNodeId >= 1 && link.FromNodeId <= maxNodeId_ && link.ToNodeId >= 1 &&
                                 link.ToNodeId <= maxNodeId_;
        if (!endsInRange) return false;
    }
    countLinkEnds(links, linkCount);
    placeLinkEnds(links, linkCount);
    return true;
}

// first_[n + 1] counts node n's link ends; the running sum then gives where each
// node's list starts.
void TLinkAdjacency::countLinkEnds(const std::vector<TNodeLink>& links, std::int32_t linkCount) {
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const TNodeLink& link = links[slot(k)];
        ++first_[slot(link.FromNodeId) + 1];
        if (link.ToNodeId != link.FromNodeId) ++first_[slot(link.ToNodeId) + 1];
    }
    for (std::int32_t nodeId = 1; nodeId <= maxNodeId_ + 1; ++nodeId) first_[slot(nodeId)] += first_[slot(nodeId) - 1];
}

// Links are placed in ascending index order, so every list comes out sorted.
void TLinkAdjacency::placeLinkEnds(const std::vector<TNodeLink>& links, std::int32_t linkCount) {
    std::copy(first_.begin(), first_.end(), fillPosition_.begin());
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const TNodeLink& link = links[slot(k)];
        entries_[slot(fillPosition_[slot(link.FromNodeId)]++)] = k;
        if (link.ToNodeId != link.FromNodeId) entries_[slot(fillPosition_[slot(link.ToNodeId)]++)] = k;
    }
}

std::span<const std::int32_t> TLinkAdjacency::LinksOf(std::int32_t nodeId) const {
    if (nodeId < 1 || nodeId > maxNodeId_) return {};
    const std::int32_t begin = first_[slot(nodeId)];
    const std::int32_t end = first_[slot(nodeId) + 1];
    return {entries_.data() + begin, slot(end - begin)};
}
