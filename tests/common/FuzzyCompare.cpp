#include "common/FuzzyCompare.h"

#include <cmath>

::testing::AssertionResult RelativelyNear(double actual, double expected, double relTol) {
    const double scale = expected == 0.0 ? 1.0 : std::fabs(expected);
    const double error = std::fabs(actual - expected);
    if (error <= relTol * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "actual " << actual << " differs from expected " << expected
                                         << " by " << error / scale << " (relative), allowed " << relTol;
}
