#include "common/NetworkBuilder.h"

#include <gtest/gtest.h>

std::int32_t TNetworkBuilder::addNode(TNode node) {
    const std::int32_t id = network_.AddNode(node);
    network_.GetNode(id).SetName("N" + std::to_string(id));
    return id;
}

std::int32_t TNetworkBuilder::AddTank(std::int32_t x, std::int32_t y, double elevation_m, double surfacePressure_bar_g,
                                      double liquidLevel_m) {
    TNode node;
    node.SetType(TNodeType::Tank);
    node.X = x;
    node.Y = y;
    node.Elevation_m = elevation_m;
    node.SurfacePressure_bar_g = surfacePressure_bar_g;
    node.LiquidLevel_m = liquidLevel_m;
    return addNode(node);
}

std::int32_t TNetworkBuilder::AddJoint(std::int32_t x, std::int32_t y, double elevation_m) {
    TNode node;
    node.SetType(TNodeType::JoinPoint);
    node.X = x;
    node.Y = y;
    node.Elevation_m = elevation_m;
    return addNode(node);
}

std::int32_t TNetworkBuilder::AddDemandPressure(std::int32_t x, std::int32_t y, double pressure_bar_g,
                                                double elevation_m) {
    TNode node;
    node.SetType(TNodeType::DemandPressure);
    node.X = x;
    node.Y = y;
    node.SurfacePressure_bar_g = pressure_bar_g;
    node.Elevation_m = elevation_m;
    return addNode(node);
}

std::int32_t TNetworkBuilder::AddPipe(std::int32_t fromNodeId, std::int32_t toNodeId, const std::string& name,
                                      double length_m, double innerDiameter_m) {
    TPipe pipe;
    pipe.Copy(network_.DefaultPipe);
    pipe.Name = name;
    pipe.Length_m = length_m;
    pipe.InnerDiameter_m = innerDiameter_m;
    const std::int32_t id = network_.AddPipeLink(fromNodeId, toNodeId, pipe);
    EXPECT_GT(id, 0) << "the link table refused pipe " << name;
    return id;
}
