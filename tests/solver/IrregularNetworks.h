#pragma once

#include <cstdint>

#include "model/VM4_Network_Class.h"

// Irregular looped networks of the kind engineers draw: a town grid of join
// points with streets missing, fed by 1 to 4 tanks at different heads (some
// through pumps), drained by 1 to 5 end pressure nodes and by demands at most
// join points, with a few supplies, a few pipes with fittings and a few closed
// pipes. Every join point stays connected to a tank, and the heads leave every
// node well above a vacuum, so each network has one physical solution.
// The same seed always builds the same network.
struct TIrregularNetworkPlan {
    std::uint32_t Seed = 1;
    std::int32_t Pipes = 100;  // about this many open pipes, 20..1000
};

void BuildIrregularNetwork(TNetwork& network, const TIrregularNetworkPlan& plan);

// Turns every pipe whose flow in one Newton solve of the network runs against
// its drawn direction, so that the pipes point the way the water goes, as an
// engineer draws them. Only the engine is used, not the solve driver.
void DrawPipesAlongFlow(TNetwork& network);
