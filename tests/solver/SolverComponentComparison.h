#pragma once

#include <cstdint>
#include <functional>

class TNetwork;

// The product's loop table, equations and start flows against the plain
// transcriptions kept in the tests (PlainLoopSearch, PlainEquations,
// PlainStartFlows), bit for bit, on the networks a solve meets: the drawn one,
// and the one a solve leaves after turning pipes round.

// Draws the network into an empty document.
using TNetworkDrawing = std::function<void(TNetwork&)>;

struct TSolveSetup {
    bool ReverseAnswer = false;           // the user's answer to every reversal question
    std::int32_t StopAfterAttempts = 0;   // the user presses Stop during this attempt; 0 never
    // A solved network must balance. Networks drawn badly on purpose are left out:
    // the solve ignores isolated nodes (demands and all), which the check would count.
    bool ExpectBalanced = true;
};

// Empties the loop table, generates it with the product and with the plain search
// and adds a failure when the tables differ in any loop, order or pipe.
void ExpectSameLoopTable(TNetwork& network);

// The product's equations from the network's links and stored loops against the
// plain generation's: the same codes in the same rows and columns, the same
// constants bit for bit; or both refusing the network.
void ExpectSameEquations(TNetwork& network);

// For every velocity of the solve's start-velocity ladder (the network's
// DischargeVelocityEstimates), every pipe's estimate and set flag from the product
// and from the plain procedure, compared with ==.
void ExpectSameStartFlows(TNetwork& network);

// What the solve does before its first attempt: the ladder filled, the links of
// held flows taken out (their flows added to the nodes), the loop table emptied.
void PrepareAsTheSolveDoes(TNetwork& network);

struct TComparedSolve {
    bool Solved = false;                   // the product's answer for the drawn network
    bool ReversedNetworkCompared = false;  // the solve turned pipes round, and that network was compared too
};

// The three comparisons on the drawn network as the solve sees it; then the
// product's solve with the scripted user, whose solved network must balance within
// the solver's tolerances (unless the setup says otherwise); then, when it turned
// pipes round, the comparisons again on the network it leaves.
TComparedSolve ExpectSameComponents(const TNetworkDrawing& draw, const TSolveSetup& setup = {});
