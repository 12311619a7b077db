#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Network_Class.h"

// Small networks written as tables: node i of the list gets node id i, link j gets
// pipe id j and link-table position j (before any pipe is closed).
struct TNodeSpec {
    TNodeType Type = TNodeType::JoinPoint;
    double Supply_m3s = 0.0;
    double Discharge_m3s = 0.0;
};

struct TLinkSpec {
    std::int32_t FromNodeId = 0;
    std::int32_t ToNodeId = 0;
    double InnerDiameter_m = 0.1;
    bool Closed = false;  // closed after every pipe is drawn, as the editor would
};

struct TNetworkSpec {
    std::vector<TNodeSpec> Nodes;
    std::vector<TLinkSpec> Links;
};

inline TNodeSpec Tank() { return {TNodeType::Tank, 0.0, 0.0}; }
inline TNodeSpec EndPressure() { return {TNodeType::DemandPressure, 0.0, 0.0}; }
inline TNodeSpec Joint(double supply_m3s = 0.0, double discharge_m3s = 0.0) {
    return {TNodeType::JoinPoint, supply_m3s, discharge_m3s};
}

// Builds the network into an empty document; fails the test when an id is not the
// one the table implies.
void BuildNetwork(TNetwork& network, const TNetworkSpec& plan);

// The loop table as lists of pipe ids, loop 1 first.
std::vector<std::vector<std::int32_t>> LoopTableOf(const TNetwork& network);

// The number of join points, for the equation count check: join points plus stored
// loops must equal the open links.
std::int32_t JoinPointCount(const TNetworkSpec& plan);
std::int32_t OpenLinkCount(const TNetworkSpec& plan);
