#pragma once

#include <cstdint>
#include <vector>

// The nodes a loop search has reached but not yet visited, handed out nearest
// first and, on equal distances, lowest node id first: the order in which a scan
// of every node id for the smallest distance would select them.
//
// A binary heap on the key (distance, node id). Storage is reserved once.
class TSearchFrontier {
public:
    explicit TSearchFrontier(std::int32_t capacity);

    void Clear() { keys_.clear(); }
    void Push(std::int32_t distance, std::int32_t nodeId);
    // False when empty.
    bool PopNearest(std::int32_t& distance, std::int32_t& nodeId);

private:
    std::vector<std::uint64_t> keys_;
};
