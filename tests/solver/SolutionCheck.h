#pragma once

#include <cstdint>
#include <string>

#include "model/VM4_Network_Class.h"

// Checks a solved network without the solver: continuity at every join point,
// and for every open pipe the head difference between its end nodes against the
// pipe's loss recomputed from the exact Colebrook-White friction factor (not the
// one the solver stored), its fittings, component and pump.
struct TSolutionCheck {
    double WorstContinuity_m3s = 0.0;  // |Σ in − Σ out − (discharge − supply)| at a join point
    double WorstHeadMismatch_m = 0.0;  // |ΔH − loss| beyond the allowance below, 0 when within it
    std::string WorstContinuityAt;
    std::string WorstHeadMismatchAt;
};

// The allowance for a pipe's head balance: the solver's head tolerance covers a
// loop, and its Colebrook iteration stops at a relative error of up to 3e-5 in
// the friction factor.
inline constexpr double kHeadBalanceAbsolute_m = 0.005;
inline constexpr double kHeadBalanceRelative = 1e-4;

TSolutionCheck CheckSolution(const TNetwork& network);
