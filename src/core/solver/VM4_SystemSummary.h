#pragma once

#include <cstdint>

// The figures of the final solution summary in the results log. Counts of
// items are over the pipes of open links whose item is switched on; node
// counts are over every node of the document. Flows m³/s, volume m³.
struct TSystemSummary {
    std::int32_t Pipes = 0;  // open links
    std::int32_t Tanks = 0;
    std::int32_t JoinPoints = 0;
    std::int32_t DemandPressures = 0;  // end pressure nodes
    std::int32_t Pumps = 0;
    std::int32_t Components = 0;
    std::int32_t FlowControls = 0;
    double FlowDemandsIn_m3s = 0.0;   // sum of the join points' supplies
    double FlowDemandsOut_m3s = 0.0;  // sum of the join points' discharges
    double FlowControlsFlow_m3s = 0.0;
    double SystemVolume_m3 = 0.0;     // bore volume of the open pipes
};
