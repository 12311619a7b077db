#pragma once

#include <cstdint>
#include <vector>

class TNetwork;

// The parts of a network that a solve cannot reach: closed pipes, pipes without
// a link, and nodes with no path of open pipes to a tank or an end pressure node.
// Such parts have no flow and no pressure, whatever an earlier solve or the file
// left in them, and their demands are not delivered.

// Indexed by node id (slot 0 unused, sized for the whole node pool): the node is
// a tank or an end pressure node, or is joined to one through open pipes.
std::vector<bool> NodesReachingFixedPressure(const TNetwork& network);

// Every pipe that is not in the open link table: flow, velocity, Reynolds number,
// friction factor, every loss and the pump head and NPSHr become 0.
void ClearResultsOfInactivePipes(TNetwork& network);

// A join point cut off from every fixed-pressure node, with the demand flows it
// asks for that the network cannot deliver.
struct TCutOffDemand {
    std::int32_t NodeId = 0;
    double Supply_m3s = 0.0;
    double Discharge_m3s = 0.0;
};

// In node id order; join points without a demand flow are left out.
std::vector<TCutOffDemand> FindCutOffDemands(const TNetwork& network);
