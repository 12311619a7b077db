#pragma once

#include <cstdint>
#include <string>

#include "model/VM4_Network_Class.h"

// Builds small networks in memory for tests, the way the editor does: nodes
// named "N" + id, pipes copied from the document's default pipe with the given
// length and bore. Each Add returns the new id and fails the test when the
// document refuses it.
class TNetworkBuilder {
public:
    explicit TNetworkBuilder(TNetwork& network) : network_(network) {}

    std::int32_t AddTank(std::int32_t x, std::int32_t y, double elevation_m = 0.0, double surfacePressure_bar_g = 0.0,
                         double liquidLevel_m = 0.0);
    std::int32_t AddJoint(std::int32_t x, std::int32_t y, double elevation_m = 0.0);
    std::int32_t AddDemandPressure(std::int32_t x, std::int32_t y, double pressure_bar_g = 0.0,
                                   double elevation_m = 0.0);
    std::int32_t AddPipe(std::int32_t fromNodeId, std::int32_t toNodeId, const std::string& name = "",
                         double length_m = 100.0, double innerDiameter_m = 0.1);

private:
    std::int32_t addNode(TNode node);

    TNetwork& network_;
};
