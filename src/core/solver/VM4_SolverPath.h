#pragma once

#include <cstdint>

// Which implementation of the solver's inner algorithms runs. Both give the same
// loop table, the same equations in the same order, the same pivots and the same
// flows bit for bit; Reference is the plain transcription of the algorithms, kept
// so that the fast one can be checked against it and timed beside it.
enum class TSolverPath : std::uint8_t {
    Reference,
    Fast,
};
