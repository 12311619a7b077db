#include "solver/VM4_LinkLookup.h"

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TLinkLookup::TLinkLookup(std::int32_t maxNodeId, std::int32_t maxPipeId, std::int32_t maxLinks)
    : maxPipeId_(maxPipeId), adjacency_(maxNodeId, maxLinks), linkOfPipe_(slot(maxPipeId) + 1, 0) {
    usedPipeIds_.reserve(slot(maxLinks));
}

bool TLinkLookup::Build(const std::vector<TNodeLink>& links, std::int32_t linkCount) {
    for (const std::int32_t pipeId : usedPipeIds_) linkOfPipe_[slot(pipeId)] = 0;
    usedPipeIds_.clear();
    if (!adjacency_.Build(links, linkCount)) return false;
    for (std::int32_t k = 1; k <= linkCount; ++k) {
        const std::int32_t pipeId = links[slot(k)].PipeId;
        if (pipeId < 1 || pipeId > maxPipeId_ || linkOfPipe_[slot(pipeId)] != 0) return false;
        linkOfPipe_[slot(pipeId)] = k;
        usedPipeIds_.push_back(pipeId);
    }
    return true;
}

std::int32_t TLinkLookup::LinkOfPipe(std::int32_t pipeId) const {
    if (pipeId < 1 || pipeId > maxPipeId_) return 0;
    return linkOfPipe_[slot(pipeId)];
}
