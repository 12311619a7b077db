#include "libraries/VM4_KValueCalculations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Reference values: Crane Technical Paper No. 410, appendix A (K factor table,
// ), as transcribed in /work/shared/reference-data/fittings_k.csv
// (see its README). Crane refers contraction and enlargement K to the velocity
// in the smaller pipe (K1); a K on the larger pipe's velocity is K1 / beta^4,
// since the velocities stand in the ratio of the areas.

namespace {

// The tables hold K to two decimals.
constexpr double kTableTolerance = 0.006;
// Formula results against three-decimal reference values.
constexpr double kFormulaTolerance = 0.0015;

double beta4(double small, double large) { return std::pow(small / large, 4); }

// 90 degree bends: K = fT x (L/D of the bend at r/d), fT the fully turbulent
// friction factor of the size.
struct TBendCase {
    double Diameter_mm;
    double FrictionFactor;
    double RadiusRatio;
    double Multiplier;
};

TEST(KValueCalculations, LongBendsFollowTheCraneBendTable) {
    const TBendCase cases[] = {
        {25, 0.023, 1, 20}, {25, 0.023, 2, 12}, {25, 0.023, 6, 17}, {50, 0.019, 3, 12},
        {50, 0.019, 4, 14}, {50, 0.019, 8, 24}, {50, 0.019, 12, 34}, {100, 0.017, 10, 30},
        {100, 0.017, 16, 42}, {150, 0.015, 14, 38}, {150, 0.015, 20, 50},
    };
    for (const TBendCase& c : cases) {
        const TKValueResult bend = LongPipeBendK(c.RadiusRatio * c.Diameter_mm, c.Diameter_mm, false);
        ASSERT_TRUE(bend.Valid) << c.Diameter_mm << " mm, r/d " << c.RadiusRatio;
        EXPECT_NEAR(bend.KValue, c.FrictionFactor * c.Multiplier, kTableTolerance)
            << c.Diameter_mm << " mm, r/d " << c.RadiusRatio;
        EXPECT_NEAR(bend.Ratio, c.RadiusRatio, 1e-12);
    }
}

TEST(KValueCalculations, LongBendRowsColumnsAndExtrapolation) {
    // r/d 3.33 rounds up into column 4 of the 50 mm row.
    TKValueResult bend = LongPipeBendK(200, 60, false);
    EXPECT_NEAR(bend.Ratio, 200.0 / 60.0, 1e-12);
    EXPECT_NEAR(bend.KValue, 0.27, 1e-12);
    // Beyond r/d 20 the loss grows on as from 10 to 20: 0.63 + 15 x (1.05 - 0.63) / 10.
    bend = LongPipeBendK(1000, 40, false);
    EXPECT_NEAR(bend.KValue, 1.26, 1e-9);
    // A 2 inch pipe is the 51 mm size: the 50 mm row.
    bend = LongPipeBendK(8, 2, true);
    EXPECT_NEAR(bend.KValue, 0.27, 1e-12);
    // Below the smallest size the largest row applies.
    bend = LongPipeBendK(10, 5, false);
    EXPECT_NEAR(bend.KValue, 0.14, 1e-12);
}

TEST(KValueCalculations, SuddenContractionIsReferredToTheLargerPipe) {
    const double smallPipeK[] = {0.480, 0.455, 0.420, 0.375, 0.320, 0.255, 0.180};
    for (int i = 0; i < 7; ++i) {
        const double beta = 0.2 + 0.1 * i;
        const TKValueResult contraction = SuddenContractionK(beta * 100.0, 100.0);
        ASSERT_TRUE(contraction.Valid) << beta;
        EXPECT_NEAR(contraction.KValue * beta4(beta, 1.0), smallPipeK[i], kFormulaTolerance) << beta;
    }
    // d/D = 0.5: 0.375 on the small pipe is 16 x 0.375 on the large one.
    EXPECT_NEAR(SuddenContractionK(50, 100).KValue, 6.0, 1e-9);
    // Equal bores lose nothing.
    EXPECT_NEAR(SuddenContractionK(80, 80).KValue, 0.0, 1e-12);
}

TEST(KValueCalculations, EnlargementsMatchBordaCarnotAndCrane) {
    const double sudden[] = {0.922, 0.828, 0.706, 0.562, 0.410, 0.260, 0.130};
    for (int i = 0; i < 7; ++i) {
        const double beta = 0.2 + 0.1 * i;
        EXPECT_NEAR(SuddenEnlargementK(beta, 1.0).KValue, sudden[i], kFormulaTolerance) << beta;
    }
    // 50 to 100 mm: (1 - 0.25)^2.
    EXPECT_NEAR(SuddenEnlargementK(50, 100).KValue, 0.5625, 1e-12);
    EXPECT_NEAR(SuddenEnlargementK(1, 4).KValue, 0.87890625, 1e-12);
}

struct TConeCase {
    double Angle_deg;
    double Beta;
    double SmallPipeK;
};

TEST(KValueCalculations, GradualContractionsMatchCrane) {
    const TConeCase cases[] = {{30, 0.5, 0.155}, {30, 0.6, 0.133}, {30, 0.7, 0.106}, {30, 0.8, 0.075},
                               {60, 0.5, 0.265}, {60, 0.6, 0.226}, {60, 0.7, 0.180}, {60, 0.8, 0.127}};
    for (const TConeCase& c : cases) {
        const double length = ConeLengthForAngle(1.0, c.Beta, c.Angle_deg);
        const TKValueResult cone = GradualContractionK(1.0, length, c.Beta);
        ASSERT_TRUE(cone.Valid);
        EXPECT_NEAR(cone.Angle_deg, c.Angle_deg, 1e-9);
        EXPECT_NEAR(cone.KValue * beta4(c.Beta, 1.0), c.SmallPipeK, kFormulaTolerance)
            << c.Angle_deg << " deg, beta " << c.Beta;
    }
    // The default cone: D 2, d 1, L 1.866 is 30 degrees.
    EXPECT_NEAR(GradualContractionK(2, 1.866, 1).Angle_deg, 30.0, 0.01);
}

TEST(KValueCalculations, GradualEnlargementsMatchCrane) {
    const TConeCase cases[] = {{15, 0.5, 0.191}, {15, 0.6, 0.139}, {15, 0.7, 0.088}, {15, 0.8, 0.044},
                               {30, 0.5, 0.379}, {30, 0.6, 0.276}, {30, 0.7, 0.175}, {30, 0.8, 0.087}};
    for (const TConeCase& c : cases) {
        const TKValueResult cone = GradualEnlargementK(c.Beta, ConeLengthForAngle(1.0, c.Beta, c.Angle_deg), 1.0);
        ASSERT_TRUE(cone.Valid);
        EXPECT_NEAR(cone.Angle_deg, c.Angle_deg, 1e-9);
        EXPECT_NEAR(cone.KValue, c.SmallPipeK, kFormulaTolerance) << c.Angle_deg << " deg, beta " << c.Beta;
    }
    // From 45 degrees on, a cone loses as much as a sudden enlargement.
    EXPECT_NEAR(GradualEnlargementK(1, ConeLengthForAngle(2, 1, 60), 2).KValue, 0.5625, 1e-9);
}

TEST(KValueCalculations, RoundedEntrancesStepDownWithTheRadius) {
    // r/d and K from Crane A-29; below r/d 0.01 the entrance counts as sharp-edged (0.5).
    const double cases[][2] = {{0.0025, 0.50}, {0.02, 0.28}, {0.04, 0.24}, {0.06, 0.15},
                               {0.10, 0.09}, {0.15, 0.04}, {0.2, 0.04}, {5.0, 0.04}};
    for (const auto& c : cases) {
        const TKValueResult entrance = PipeEntranceK(c[0] * 4.0, 4.0);
        ASSERT_TRUE(entrance.Valid);
        EXPECT_NEAR(entrance.Ratio, c[0], 1e-12);
        EXPECT_NEAR(entrance.KValue, c[1], 1e-12) << "r/d " << c[0];
    }
    // The default entrance: r 0.24 on d 4 is the 0.06 step.
    EXPECT_NEAR(PipeEntranceK(0.24, 4).KValue, 0.15, 1e-12);
}

TEST(KValueCalculations, ImpossibleGeometriesAreRefusedWithTheirMessages) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* Name;
        TKValueResult Result;
        const char* Message;
    } cases[] = {
        {"bend radius below the pipe radius", LongPipeBendK(20, 60, false), KValueMessages::RadiusTooSmall},
        {"bend r/d 0.9", LongPipeBendK(54, 60, false), KValueMessages::RadiusTooSmall},
        {"bend without radius", LongPipeBendK(0, 60, false), KValueMessages::InputNotPositive},
        {"contraction to a larger outlet", SuddenContractionK(5, 4), KValueMessages::LargeLessThanSmall},
        {"contraction with a negative bore", SuddenContractionK(-1, 4), KValueMessages::InputNotPositive},
        {"enlargement from a larger inlet", SuddenEnlargementK(5, 4), KValueMessages::SmallGreaterThanLarge},
        {"gradual contraction reversed", GradualContractionK(1, 2, 2), KValueMessages::LargeLessThanSmall},
        {"gradual contraction of no length", GradualContractionK(2, 0, 1), KValueMessages::InputNotPositive},
        {"gradual enlargement reversed", GradualEnlargementK(3, 2, 2), KValueMessages::SmallGreaterThanLarge},
        {"gradual enlargement not a number", GradualEnlargementK(1, nan, 2), KValueMessages::InputNotPositive},
        {"entrance of no bore", PipeEntranceK(0.2, 0), KValueMessages::InputNotPositive},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.Result.Valid) << c.Name;
        EXPECT_EQ(c.Result.Refusal, c.Message) << c.Name;
    }
}

TEST(KValueCalculations, TheAngleSpinnerStepsWholeDegreesWithinItsRange) {
    EXPECT_EQ(SteppedConeAngle(30.0, true), 31.0);
    EXPECT_EQ(SteppedConeAngle(30.4, false), 29.0);
    EXPECT_EQ(SteppedConeAngle(1.2, false), 1.0);
    EXPECT_EQ(SteppedConeAngle(179.0, true), 179.0);
    // The stepped angle gives back a cone of that angle.
    const double length = ConeLengthForAngle(2, 1, SteppedConeAngle(30.0, true));
    EXPECT_NEAR(GradualEnlargementK(1, length, 2).Angle_deg, 31.0, 1e-9);
    EXPECT_NEAR(ConeLengthForAngle(2, 1, 30), 1.866, 0.001);
}

}  // namespace
