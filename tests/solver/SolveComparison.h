#pragma once

#include <cstdint>
#include <functional>

class TNetwork;

// The whole solve on the plain reference algorithms and on the fast ones, each on
// its own copy of the same network, and everything it leaves compared: the
// answer, the results log line by line, the loop table, the link tables, every
// pipe's start estimate, flow and results and every node's pressure bit for bit,
// the counters, the user's boxes and questions, and the matrix engine's tables.

// Draws the network into an empty document; called once for each path.
using TNetworkDrawing = std::function<void(TNetwork&)>;

struct TSolveSetup {
    bool ReverseAnswer = false;           // the user's answer to every reversal question
    std::int32_t StopAfterAttempts = 0;   // the user presses Stop during this attempt; 0 never
};

// Adds a failure for each difference. Returns the reference path's answer, so
// that a caller can check the network was the kind it meant to draw.
bool ExpectIdenticalSolves(const TNetworkDrawing& draw, const TSolveSetup& setup = {});
