#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Network_Class.h"

// The loop search as it stood before the rank test: the same breadth-first
// searches in the same order, a candidate kept only when it holds a pipe that no
// earlier loop holds. Written out plainly against the network's public tables, so
// that the product's table can be compared with it wherever this rule already
// found every equation.

using TLoopTable = std::vector<std::vector<std::int32_t>>;

TLoopTable LoopsByNewPipeRule(const TNetwork& network);

// Independent loops and paths the open links need: links − nodes + parts of the
// graph in which every tank and end pressure node is one ground node.
std::int32_t IndependentLoopsNeeded(const TNetwork& network);
