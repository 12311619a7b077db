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

std::int32_t jointId(const TGridSpec& plan, std::int32_t x, std::int32_t y) { return 1 + y * plan.Columns + x; }

// The join points a tank feeds or an end node drains, by the two opposite corners.
std::int32_t feedJointId(const TGridSpec& plan, std::int32_t i) {
    static const std::int32_t dx[] = {0, 1, 0};
    static const std::int32_t dy[] = {0, 0, 1};
    return jointId(plan, dx[i], dy[i]);
}

std::int32_t drainJointId(const TGridSpec& plan, std::int32_t i) {
    static const std::int32_t dx[] = {0, 1, 0};
    static const std::int32_t dy[] = {0, 0, 1};
    return jointId(plan, plan.Columns - 1 - dx[i], plan.Rows - 1 - dy[i]);
}

void addJoints(TNetwork& network, const TGridSpec& plan) {
    for (std::int32_t y = 0; y < plan.Rows; ++y) {
        for (std::int32_t x = 0; x < plan.Columns; ++x) {
            const std::int32_t id = addNode(network, TNodeType::JoinPoint, x * kGridSpacing, y * kGridSpacing);
            if (id != jointId(plan, x, y)) throw std::runtime_error("grid: unexpected node id");
            if (id % 3 == 0) network.GetNode(id).JointDischarge_m3s = plan.JointDemand_m3s;
        }
    }
}

void addGridPipes(TNetwork& network, const TGridSpec& plan) {
    for (std::int32_t y = 0; y < plan.Rows; ++y) {
        for (std::int32_t x = 0; x < plan.Columns; ++x) {
            if (x + 1 < plan.Columns) addPipe(network, jointId(plan, x, y), jointId(plan, x + 1, y));
            if (y + 1 < plan.Rows) addPipe(network, jointId(plan, x, y), jointId(plan, x, y + 1));
        }
    }
}

}  // namespace

std::int32_t GridPipeCount(const TGridSpec& plan) {
    return plan.Rows * (plan.Columns - 1) + plan.Columns * (plan.Rows - 1) + plan.Tanks + plan.EndPressureNodes;
}

void BuildGridNetwork(TNetwork& network, const TGridSpec& plan) {
    if (plan.Columns < 2 || plan.Rows < 2 || plan.Tanks < 1 || plan.Tanks > 3 || plan.EndPressureNodes < 1 ||
        plan.EndPressureNodes > 3) {
        throw std::runtime_error("grid: unsupported shape");
    }
    addJoints(network, plan);
    for (std::int32_t i = 0; i < plan.Tanks; ++i) {
        const std::int32_t tankId = addNode(network, TNodeType::Tank, -kGridSpacing, -kGridSpacing * (i + 1));
        network.GetNode(tankId).SurfacePressure_bar_g = plan.TankPressure_bar_g;
        addPipe(network, tankId, feedJointId(plan, i));
    }
    addGridPipes(network, plan);
    for (std::int32_t i = 0; i < plan.EndPressureNodes; ++i) {
        const std::int32_t endId = addNode(network, TNodeType::DemandPressure, plan.Columns * kGridSpacing,
                                           plan.Rows * kGridSpacing + kGridSpacing * i);
        addPipe(network, drainJointId(plan, i), endId);
    }
}

// n columns and rows give 2·n·(n − 1) grid pipes plus 4 feeds and drains.
TGridSpec GridSpecForPipes(std::int32_t pipeCount) {
    std::int32_t side = 2;
    while (2 * (side + 1) * side + 4 <= pipeCount) ++side;
    TGridSpec plan;
    plan.Columns = side;
    plan.Rows = side;
    return plan;
}

TGridSpec SolvedGridSpecForPipes(std::int32_t pipeCount) {
    TGridSpec plan = GridSpecForPipes(pipeCount);
    plan.Tanks = 3;
    plan.EndPressureNodes = 1;
    plan.TankPressure_bar_g = 10.0;
    plan.JointDemand_m3s = 0.0001;
    return plan;
}
