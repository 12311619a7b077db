#pragma once

#include <cstdint>

class TNetwork;

// Networks built through the document's own operations, without GoogleTest, so
// that the benchmark can build them too.

// Appends a node of the given type at (x, y) and returns its id.
std::int32_t AddNodeAt(TNetwork& network, std::uint8_t nodeType, std::int32_t x, std::int32_t y);

// Every table at its capacity: 1000 nodes on a grid, 1000 pipes in a ring (pipe i
// from node i to node i + 1, the last back to node 1), each with 5 fitting types,
// a pump curve and a component curve, 1000 loops of 20 pipes, 100 free texts.
void BuildFullNetwork(TNetwork& network);
