#include "common/GridNetwork.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "model/VM4_Network_Class.h"

namespace {

constexpr std::int32_t kGridSpacing = 100;  // drawing units between join points

std::int32_t addNode(TNetwork& network, TNodeType nodeType, std::int32_t x, std::int32_t y) {
    TNode node;
    node.SetType(nodeType);
    node.X = x;
    node.Y = y;
    const std::int32_t id = network.AddNode(node);
    network.GetNode(id).SetName("N" + std::to_string(id));
    return id;
}

void addPipe(TNetwork& network, std::int32_t fromNodeId, std::int32_t toNodeId) {
    TPipe pipe;
    pipe.Copy(network.DefaultPipe);
    pipe.Length_m = 100.0;
    pipe.InnerDiameter_m = 0.1;
    if (network.AddPipeLink(fromNodeId, toNodeId, pipe) < 1) throw std::runtime_error("grid: pipe refused");
}

std::int32_t jointId(const TGridSpec& spec, std::int32_t x, std::int32_t y) { return 1 + y * spec.Columns + x; }

// The join points a tank feeds or an end node drains, by the two opposite corners.
std::int32_t feedJointId(const TGridSpec& spec, std::int32_t i) {
    static const std::int32_t dx[] = {0, 1, 0};
    static const std::int32_t dy[] = {0, 0, 1};
    return jointId(spec, dx[i], dy[i]);
}

std::int32_t drainJointId(const TGridSpec& spec, std::int32_t i) {
    static const std::int32_t dx[] = {0, 1, 0};
    static const std::int32_t dy[] = {0, 0, 1};
    return jointId(spec, spec.Columns - 1 - dx[i], spec.Rows - 1 - dy[i]);
}

void addJoints(TNetwork& network, const TGridSpec& spec) {
    for (std::int32_t y = 0; y < spec.Rows; ++y) {
        for (std::int32_t x = 0; x < spec.Columns; ++x) {
            const std::int32_t id = addNode(network, TNodeType::JoinPoint, x * kGridSpacing, y * kGridSpacing);
            if (id != jointId(spec, x, y)) throw std::runtime_error("grid: unexpected node id");
            if (id % 3 == 0) network.GetNode(id).JointDischarge_m3s = spec.JointDemand_m3s;
        }
    }
}

void addGridPipes(TNetwork& network, const TGridSpec& spec) {
    for (std::int32_t y = 0; y < spec.Rows; ++y) {
        for (std::int32_t x = 0; x < spec.Columns; ++x) {
            if (x + 1 < spec.Columns) addPipe(network, jointId(spec, x, y), jointId(spec, x + 1, y));
            if (y + 1 < spec.Rows) addPipe(network, jointId(spec, x, y), jointId(spec, x, y + 1));
        }
    }
}

}  // namespace

std::int32_t GridPipeCount(const TGridSpec& spec) {
    return spec.Rows * (spec.Columns - 1) + spec.Columns * (spec.Rows - 1) + spec.Tanks + spec.EndPressureNodes;
}

void BuildGridNetwork(TNetwork& network, const TGridSpec& spec) {
    if (spec.Columns < 2 || spec.Rows < 2 || spec.Tanks < 1 || spec.Tanks > 3 || spec.EndPressureNodes < 1 ||
        spec.EndPressureNodes > 3) {
        throw std::runtime_error("grid: unsupported shape");
    }
    addJoints(network, spec);
    for (std::int32_t i = 0; i < spec.Tanks; ++i) {
        const std::int32_t tankId = addNode(network, TNodeType::Tank, -kGridSpacing, -kGridSpacing * (i + 1));
        network.GetNode(tankId).SurfacePressure_bar_g = spec.TankPressure_bar_g;
        addPipe(network, tankId, feedJointId(spec, i));
    }
    addGridPipes(network, spec);
    for (std::int32_t i = 0; i < spec.EndPressureNodes; ++i) {
        const std::int32_t endId = addNode(network, TNodeType::DemandPressure, spec.Columns * kGridSpacing,
                                           spec.Rows * kGridSpacing + kGridSpacing * i);
        addPipe(network, drainJointId(spec, i), endId);
    }
}

// n columns and rows give 2·n·(n − 1) grid pipes plus 4 feeds and drains.
TGridSpec GridSpecForPipes(std::int32_t pipeCount) {
    std::int32_t side = 2;
    while (2 * (side + 1) * side + 4 <= pipeCount) ++side;
    TGridSpec spec;
    spec.Columns = side;
    spec.Rows = side;
    return spec;
}
