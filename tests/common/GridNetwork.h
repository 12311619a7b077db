#pragma once

#include <cstdint>

class TNetwork;

// A square-ish grid of join points fed by a few tanks and drained by a few end
// pressure nodes and by small demands at the join points: the shape of a plant
// ring main at the size of the program's capacity. Built through the document's
// own operations and without GoogleTest, so that the benchmarks can build it too.
//
// Join point (x, y), 0-based, gets node id 1 + y·Columns + x; the tanks and then
// the end pressure nodes follow. Pipes are drawn row by row: the horizontal pipe
// (x, y) -> (x + 1, y), then the vertical pipe (x, y) -> (x, y + 1); the tanks' feed
// pipes come first, the drains last. The tanks sit by the corner (0, 0) and the
// end pressure nodes by the opposite corner, every pipe pointing away from the
// feed, so that each flow runs in its pipe's direction.
struct TGridSpec {
    std::int32_t Columns = 10;
    std::int32_t Rows = 10;
    std::int32_t Tanks = 2;             // 1..3
    std::int32_t EndPressureNodes = 2;  // 1..3
    double TankPressure_bar_g = 3.0;
    double JointDemand_m3s = 0.0005;    // at every third join point
};

// Number of pipes the grid will have.
std::int32_t GridPipeCount(const TGridSpec& plan);

// Builds the grid into an empty document; throws std::runtime_error when the
// document refuses a node or pipe.
void BuildGridNetwork(TNetwork& network, const TGridSpec& plan);

// A grid of about the given number of pipes (square, 2 tanks, 2 end nodes).
TGridSpec GridSpecForPipes(std::int32_t pipeCount);

// A grid of about the given number of pipes, square, 3 tanks at 10 bar, one end
// pressure node, demands of 0.1 l/s.
TGridSpec SolvedGridSpecForPipes(std::int32_t pipeCount);
