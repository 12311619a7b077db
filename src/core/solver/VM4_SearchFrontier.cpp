#include "solver/VM4_SearchFrontier.h"

#include <algorithm>
#include <functional>

namespace {

// Distance in the high half, node id in the low half: ordering the keys orders by
// distance, then by id. Both are non-negative.
std::uint64_t keyOf(std::int32_t distance, std::int32_t nodeId) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(distance)) << 32) |
           static_cast<std::uint32_t>(nodeId);
}

}  // namespace

TSearchFrontier::TSearchFrontier(std::int32_t capacity) { keys_.reserve(static_cast<std::size_t>(capacity)); }

void TSearchFrontier::Push(std::int32_t distance, std::int32_t nodeId) {
    keys_.push_back(keyOf(distance, nodeId));
    std::push_heap(keys_.begin(), keys_.end(), std::greater<>());
}

bool TSearchFrontier::PopNearest(std::int32_t& distance, std::int32_t& nodeId) {
    if (keys_.empty()) return false;
    std::pop_heap(keys_.begin(), keys_.end(), std::greater<>());
    const std::uint64_t key = keys_.back();
    keys_.pop_back();
    distance = static_cast<std::int32_t>(key >> 32);
    nodeId = static_cast<std::int32_t>(key & 0xffffffffU);
    return true;
}
