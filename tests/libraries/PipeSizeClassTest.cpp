#include "libraries/VM4_PipeSizeClass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct TSizeClassCase {
    double OutsideDiameter_m;
    std::int32_t ExpectedClass;
};

void PrintTo(const TSizeClassCase& c, std::ostream* os) { *os << c.OutsideDiameter_m << " m"; }

class PipeSizeClassTest : public ::testing::TestWithParam<TSizeClassCase> {};

TEST_P(PipeSizeClassTest, FollowsTheBandTable) {
    EXPECT_EQ(PipeSizeClassFromOutsideDiameter(GetParam().OutsideDiameter_m), GetParam().ExpectedClass)
        << "outside diameter " << GetParam().OutsideDiameter_m << " m";
}

// a = trunc(D x 100000 + 0.5), D in hundredths of a millimetre rounded half up.
INSTANTIATE_TEST_SUITE_P(
    Bands, PipeSizeClassTest,
    ::testing::Values(
        TSizeClassCase{0.0, 1500},             // a = 0: outside the bands
        TSizeClassCase{-0.05, 1500},           // negative
        TSizeClassCase{0.000004, 1500},        // 0.4 + 0.5 -> a = 0
        TSizeClassCase{0.000006, 1},           // 0.6 + 0.5 -> a = 1
        TSizeClassCase{0.00002, 10},           // a = 2, first of 2..1000
        TSizeClassCase{0.0100049, 10},         // 1000.49 + 0.5 -> 1000, last of the 10 band
        TSizeClassCase{0.0100051, 12},         // 1000.51 + 0.5 -> 1001
        TSizeClassCase{0.0213, 25},            // 1/2" steel, a = 2130
        TSizeClassCase{0.0603, 65},            // 2" steel, a = 6030 in 5001..6500
        TSizeClassCase{0.065, 65},             // a = 6500, end of the band
        TSizeClassCase{0.06501, 80},           // a = 6501
        TSizeClassCase{0.1143, 125},           // 4" steel, a = 11430
        TSizeClassCase{0.25, 250},             // a = 25000
        TSizeClassCase{0.61, 800},             // 24" steel, a = 61000 in 60001..80000
        TSizeClassCase{1.4, 1400},             // a = 140000, last band
        TSizeClassCase{1.40001, 1500},         // a = 140001
        TSizeClassCase{1.668018, 1500}));      // 64" ductile iron

TEST(PipeSizeClass, NotANumberIsOutsideTheBands) {
    EXPECT_EQ(PipeSizeClassFromOutsideDiameter(std::numeric_limits<double>::quiet_NaN()), 1500);
    EXPECT_EQ(PipeSizeClassFromOutsideDiameter(std::numeric_limits<double>::infinity()), 1500);
}

}  // namespace
