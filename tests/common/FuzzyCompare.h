#pragma once

#include <gtest/gtest.h>

// Passes when |actual - expected| <= relTol * |expected| (or <= relTol when expected is 0).
::testing::AssertionResult RelativelyNear(double actual, double expected, double relTol);

#define EXPECT_REL_NEAR(actual, expected, relTol) \
    EXPECT_TRUE(RelativelyNear((actual), (expected), (relTol)))
