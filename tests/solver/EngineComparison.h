#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "solver/VM4_Matrix_Equations.h"

// Comparing the matrix engines of two networks after the same operations (the
// networks' plain and fast loop generation and start flows feed the same engine):
// everything they hold must be the same bit for bit.

// Same value, sign and every significant bit of the 80-bit extended format.
bool IdenticalExtended(long double a, long double b);

// What one SolveQVariables call reported.
struct TNewtonOutcome {
    bool Solved = false;
    std::int32_t ErrorCode = 0;
    std::string ErrorMessage;
    std::int32_t IterationCount = 0;
    std::vector<std::string> Log;
};

TNewtonOutcome RunNewton(TMatrixEquations& engine);

// Adds a failure naming the first table and entry where the engines differ: the
// flows, steps, residuals, head flags, right-hand sides, code table (equation
// order) and the Jacobian over the sizes in use.
void ExpectIdenticalEngines(const TMatrixEquations& reference, const TMatrixEquations& fast);
void ExpectIdenticalOutcomes(const TNewtonOutcome& reference, const TNewtonOutcome& fast);
