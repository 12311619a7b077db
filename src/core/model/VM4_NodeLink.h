#pragma once

#include <cstdint>

// One pipe's connection. Positive flow runs from FromNodeId to ToNodeId, so
// reversing a pipe is swapping the two ids. An all-zero link is an unused entry.
struct TNodeLink {
    std::int32_t FromNodeId = 0;
    std::int32_t ToNodeId = 0;
    std::int32_t PipeId = 0;

    bool Touches(std::int32_t nodeId) const { return FromNodeId == nodeId || ToNodeId == nodeId; }
    bool operator==(const TNodeLink&) const = default;
};
