#pragma once

#include <cstdint>

#include "model/VM4_Network_Class.h"

// Random networks for comparing the solver's fast algorithms with the plain ones.
// The same seed always builds the same network.
struct TRandomNetworkSpec {
    std::uint32_t Seed = 1;
    std::int32_t Nodes = 20;              // nodes left after the removals
    std::int32_t Links = 25;
    double FixedPressureShare = 0.2;      // tanks and end pressure nodes among the nodes
    bool Connected = true;                // a spanning tree first, then the further links
    double ParallelShare = 0.1;           // further links that repeat an earlier link's ends
    double SelfLinkShare = 0.0;           // further links from a node to itself
    std::int32_t RemovedNodes = 3;        // drawn and deleted before any pipe: gaps in the ids
    std::int32_t ClosedPipes = 2;
    // The nodes and links are shared out among this many separate parts.
    std::int32_t Parts = 1;
};

// Every node and link slot in use: 1000 nodes and 1000 links in ten separate parts,
// with tanks, end nodes, parallel pipes and links from a node to itself.
TRandomNetworkSpec FullCapacityPlan();

// Builds into an empty document; pipes point either way at random.
void BuildRandomNetwork(TNetwork& network, const TRandomNetworkSpec& plan);
