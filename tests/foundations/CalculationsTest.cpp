#include "foundations/VM4_Calculations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"

namespace {

constexpr double Tight = 1e-12;
constexpr double Pi = 3.14159265358979323846;

// Colebrook-White in √f, as the friction factor must satisfy it:
// F(x) = 2·log10(ε/D + 9.35/(Re·x)) + 1/x − 1.14.
double ColebrookResidual(double frictionFactor, double reynolds, double relativeRoughness) {
    const double x = std::sqrt(frictionFactor);
    return 2.0 * std::log10(relativeRoughness + 9.35 / (reynolds * x)) + 1.0 / x - 1.14;
}

}  // namespace

// ---------------------------------------------------------------------------
// Velocity and flow

TEST(Calculations, VelocityFromFlow) {
    struct Case {
        double flow_m3s, diameter_m, factor, expected_ms;
    };
    const Case cases[] = {
        {0.01, 0.1, 1.0, 1.2732395447351627},    // A = π·0.1²/4 = 0.0078540; 0.01/A = 4/π
        {0.01, 0.1, 2.0, 2.5464790894703254},    // F multiplies the flow: 8/π
        {-0.01, 0.1, 1.0, -1.2732395447351627},  // direction kept
        {0.0, 0.1, 1.0, 0.0},
        {0.01, 0.0, 1.0, 0.0},   // no pipe bore: 0, not a division by zero
        {0.01, -0.1, 1.0, 0.0},  // a negative diameter counts as none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Q=" << c.flow_m3s << " D=" << c.diameter_m << " F=" << c.factor);
        EXPECT_REL_NEAR(CalcVelocity(c.flow_m3s, c.diameter_m, c.factor), c.expected_ms, Tight);
    }
}

TEST(Calculations, FlowFromVelocity) {
    struct Case {
        double velocity_ms, diameter_m, factor, expected_m3s;
    };
    const Case cases[] = {
        {2.0, 0.2, 1.0, 0.06283185307179587},    // A = π·0.04/4 = π/100; Q = 2π/100
        {2.0, 0.2, 2.0, 0.031415926535897934},   // Q = A·V/F = π/100
        {-2.0, 0.2, 1.0, -0.06283185307179587},
        {2.0, 0.0, 1.0, 0.0},
        {2.0, -0.2, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "V=" << c.velocity_ms << " D=" << c.diameter_m << " F=" << c.factor);
        EXPECT_REL_NEAR(CalcFlowFromVelocity(c.velocity_ms, c.diameter_m, c.factor), c.expected_m3s, Tight);
    }
}

TEST(Calculations, VelocityAndFlowAreInverse) {
    for (double factor : {1.0, 0.5, 3.0}) {
        const double velocity_ms = CalcVelocity(0.0123, 0.0779, factor);
        EXPECT_REL_NEAR(CalcFlowFromVelocity(velocity_ms, 0.0779, factor), 0.0123, Tight);
    }
}

TEST(Calculations, FlowFromVelocityWithoutCorrectionFactorIsAFloatingPointError) {
    EXPECT_THROW(CalcFlowFromVelocity(2.0, 0.2, 0.0), EFloatingPointError);
}

// ---------------------------------------------------------------------------
// Reynolds number and flow type

TEST(Calculations, ReynoldsNumber) {
    struct Case {
        double velocity_ms, diameter_m, density_kgm3, viscosity_cP, factor, expected;
    };
    const Case cases[] = {
        {2.0, 0.1, 1000.0, 1.0, 1.0, 200000.0},   // 2·0.1·1000 / 0.001
        {-2.0, 0.1, 1000.0, 1.0, 1.0, 200000.0},  // direction does not matter
        {1.5, 0.05, 850.0, 2.5, 1.0, 25500.0},    // 63.75 / 0.0025
        {2.0, 0.1, 1000.0, 1.0, 2.0, 100000.0},   // divided by F
        {0.0, 0.1, 1000.0, 1.0, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "V=" << c.velocity_ms << " mu=" << c.viscosity_cP << " F=" << c.factor);
        EXPECT_REL_NEAR(CalcReynoldsNumber(c.velocity_ms, c.diameter_m, c.density_kgm3, c.viscosity_cP, c.factor),
                        c.expected, Tight);
    }
}

TEST(Calculations, ReynoldsNumberOfAFluidWithoutViscosityIsAFloatingPointError) {
    try {
        CalcReynoldsNumber(2.0, 0.1, 1000.0, 0.0, 1.0);
        FAIL() << "no error raised";
    } catch (const EFloatingPointError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "VM4_Calculations.CalcReynoldsNumber Failed: Floating point division by zero");
    }
}

TEST(Calculations, FlowTypeBoundaries) {
    struct Case {
        double reynolds;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, "Laminar"},      {1500.0, "Laminar"},     {2300.0, "Laminar"},     // 2300 itself is laminar
        {2300.5, "Critical"},  {3499.99, "Critical"},   {3500.0, "Turbulent"},  // 3500 itself is turbulent
        {1e6, "Turbulent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Re=" << c.reynolds);
        EXPECT_EQ(CalcFlowType(c.reynolds), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Friction factor

TEST(Calculations, FrictionFactorBelowTheTurbulentRange) {
    struct Case {
        double reynolds, expected;
    };
    const Case cases[] = {
        {0.0, 0.0},
        {-50.0, 0.0},
        {1000.0, 0.064},                   // 64/1000
        {2300.0, 0.027826086956521738},    // 64/2300, still laminar
        {2300.5, 0.026683333333333334},    // (2300.5 − 1500)/30000, transition line
        {3000.0, 0.05},                    // 1500/30000
        {3499.0, 0.06663333333333334},     // 1999/30000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Re=" << c.reynolds);
        // The roughness plays no part here, and both forms agree below Re 3500.
        EXPECT_REL_NEAR(CalcFrictionFactor(c.reynolds, 0.1, 4.5e-5), c.expected, Tight);
        EXPECT_REL_NEAR(CalcFrictionFactorExplicit(c.reynolds, 0.1, 4.5e-5), c.expected, Tight);
    }
}

TEST(Calculations, ReynoldsOf3500TakesTheTransitionValueButTheExplicitFormulaDoesNot) {
    // (3500 − 1500)/30000 = 0.0666…
    EXPECT_REL_NEAR(CalcFrictionFactor(3500.0, 0.1, 0.0), 2000.0 / 30000.0, Tight);
    // Haaland, smooth floor: s = 6.9/3500 + (1e-7)^1.11 = 0.00197144555; f = 1/(−1.8·log10 s)²
    EXPECT_REL_NEAR(CalcFrictionFactorExplicit(3500.0, 0.1, 0.0), 0.042174636473559296, 1e-12);
}

TEST(Calculations, ExplicitFrictionFactorInTurbulentFlow) {
    struct Case {
        double reynolds, diameter_m, roughness_m, expected;
    };
    const Case cases[] = {
        // r = 1e-4/3.7 = 2.7027e-5; s = 6.9e-5 + r^1.11; f = 1/(−1.8·log10 s)²
        {1e5, 0.1, 1e-5, 0.018265053014793862},
        // smooth pipe: r is floored to 1e-7, s = 6.9e-5 + 1.698e-8
        {1e5, 0.1, 0.0, 0.017825854879439194},
        // r = 1e-3/3.7 = 2.7027e-4; s = 0.00197142857 + r^1.11
        {3500.0, 0.1, 1e-4, 0.042915949255699184},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Re=" << c.reynolds << " eps=" << c.roughness_m);
        EXPECT_REL_NEAR(CalcFrictionFactorExplicit(c.reynolds, c.diameter_m, c.roughness_m), c.expected, 1e-12);
    }
}

TEST(Calculations, ColebrookFrictionFactorSatisfiesItsEquation) {
    struct Case {
        double reynolds, diameter_m, roughness_m, rootOfColebrook;
    };
    // rootOfColebrook: the exact root of the equation, found to 30 digits by an
    // independent solver. Stopping at a residual of 0.0001 leaves f within a few
    // 1e-5 of it (|dF/dx| > 20 near the root, f = x²).
    const Case cases[] = {
        {1e5, 0.1, 1e-5, 0.018520844420554149},     // ε/D = 1e-4, f ≈ 0.0185
        {1e5, 0.1, 0.0, 0.017999613459100843},      // smooth pipe: ε/D = 0, not the floor
        {3500.01, 0.05, 0.0, 0.041561027272764733}, // just above 3500: Colebrook, not 0.0667
        {1e6, 0.2, 2e-4, 0.019925404366759011},     // ε/D = 1e-3
        {4000.0, 0.02, 1e-3, 0.076873327205608011}, // very rough, ε/D = 0.05
        {1e8, 0.5, 5e-6, 0.0081830773183306282},    // ε/D = 1e-5
        {1e8, 0.5, 0.0, 0.0059424200309583258},     // smooth, far from the start value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Re=" << c.reynolds << " eps/D=" << c.roughness_m / c.diameter_m);
        const double f = CalcFrictionFactor(c.reynolds, c.diameter_m, c.roughness_m);
        EXPECT_LE(std::fabs(ColebrookResidual(f, c.reynolds, c.roughness_m / c.diameter_m)), 1e-4);
        EXPECT_REL_NEAR(f, c.rootOfColebrook, 1e-4);
    }
}

// Many pipes' factors are found side by side, four at a time; each must be the
// factor of its own pipe, whatever its neighbours and whichever group it falls in.
TEST(Calculations, FrictionFactorsFoundTogetherAreEachTheFactorFoundAlone) {
    struct Case {
        double reynolds, diameter_m, roughness_m;
    };
    // Turbulent pipes from smooth to very rough, with the ranges below the
    // turbulent one in between, so that the groups of four form across them.
    const Case cases[] = {
        {1e5, 0.1, 1e-5},   {1000.0, 0.1, 1e-5}, {1e5, 0.1, 0.0},     {3500.01, 0.05, 0.0}, {1e6, 0.2, 2e-4},
        {3500.0, 0.1, 0.0}, {4000.0, 0.02, 1e-3}, {1e8, 0.5, 5e-6},   {0.0, 0.1, 1e-5},     {1e8, 0.5, 0.0},
        {3000.0, 0.1, 0.0}, {2e4, 0.3, 4.5e-5},  {7e5, 0.05, 1.5e-6},
    };
    std::vector<TPipeFrictionTerms> pipes;
    for (const Case& c : cases) pipes.push_back(CalcPipeFrictionTerms(c.diameter_m, c.roughness_m));
    auto queriesInOrder = [&](bool reversed) {
        std::vector<TFrictionFactorQuery> queries;
        for (std::size_t k = 0; k < pipes.size(); ++k) {
            const std::size_t i = reversed ? pipes.size() - 1 - k : k;
            queries.push_back(TFrictionFactorQuery{cases[i].reynolds, &pipes[i], -1.0});
        }
        return queries;
    };
    for (const bool reversed : {false, true}) {
        std::vector<TFrictionFactorQuery> queries = queriesInOrder(reversed);
        CalcFrictionFactors(queries);
        for (const TFrictionFactorQuery& query : queries) {
            SCOPED_TRACE(testing::Message() << "Re=" << query.Reynolds << " eps/D=" << query.Pipe->RelativeRoughness
                                            << (reversed ? " reversed" : ""));
            EXPECT_EQ(query.Factor, CalcFrictionFactor(query.Reynolds, *query.Pipe));
            EXPECT_EQ(query.Factor, CalcFrictionFactor(query.Reynolds, query.Pipe->Diameter_m, query.Pipe->Roughness_m));
        }
    }
}

TEST(Calculations, FrictionFactorsFoundTogetherFailWhenOneOfThemHasNoValue) {
    const TPipeFrictionTerms pipe = CalcPipeFrictionTerms(0.1, 1e-5);
    std::vector<TFrictionFactorQuery> queries(6, TFrictionFactorQuery{1e5, &pipe, 0.0});
    queries[4].Reynolds = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(CalcFrictionFactors(queries), EFloatingPointError);
}

TEST(Calculations, FrictionFactorWithoutABoreIsAFloatingPointError) {
    // ε/D = 0/0 has no value; in turbulent flow it cannot be skipped.
    EXPECT_THROW(CalcFrictionFactor(1e5, 0.0, 0.0), EFloatingPointError);
    EXPECT_THROW(CalcFrictionFactorExplicit(1e5, 0.0, 0.0), EFloatingPointError);
    // A Reynolds number that is not a number cannot fall through as one.
    EXPECT_THROW(CalcFrictionFactor(std::numeric_limits<double>::quiet_NaN(), 0.1, 1e-5), EFloatingPointError);
}

// ---------------------------------------------------------------------------
// Head losses

TEST(Calculations, FrictionLossCarriesTheSignOfTheVelocity) {
    struct Case {
        double velocity_ms, diameter_m, length_m, frictionFactor, expected_m;
    };
    const Case cases[] = {
        {2.0, 0.1, 100.0, 0.02, 4.0774719673802243},    // 0.02·(100/0.1)·4/19.62 = 80/19.62
        {-2.0, 0.1, 100.0, 0.02, -4.0774719673802243},  // same size, against the flow
        {0.5, 0.05, 10.0, 0.03, 0.07645259938837921},   // 0.03·200·0.25/19.62 = 1.5/19.62
        {0.0, 0.1, 100.0, 0.02, 0.0},
        // L/D = 1e309 is beyond the double range; the loss is not, and at rest it is 0.
        {0.1, 0.1, 1e308, 0.02, 1.0193679918450561e304},  // 0.02·0.01/19.62·1e309
        {0.0, 0.1, 1e308, 0.02, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "V=" << c.velocity_ms << " D=" << c.diameter_m);
        EXPECT_REL_NEAR(CalcFrictionLoss_mHd(c.velocity_ms, c.diameter_m, c.length_m, c.frictionFactor), c.expected_m,
                        Tight);
    }
}

TEST(Calculations, FrictionLossThatHasNoFiniteValueIsAFloatingPointError) {
    EXPECT_THROW(CalcFrictionLoss_mHd(2.0, 0.0, 100.0, 0.02), EFloatingPointError);  // no bore
    EXPECT_THROW(CalcFrictionLoss_mHd(20.0, 0.1, 1e308, 0.02), EFloatingPointError);  // 4.1e308
}

TEST(Calculations, FittingLossCarriesTheSignOfTheVelocity) {
    struct Case {
        double velocity_ms, totalK, expected_m;
    };
    const Case cases[] = {
        {3.0, 2.0, 0.91743119266055046},    // 2·9/2/9.81 = 9/9.81
        {-3.0, 2.0, -0.91743119266055046},
        {1.0, 0.5, 0.025484199796126401},   // 0.5/2/9.81
        {0.0, 2.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "V=" << c.velocity_ms << " K=" << c.totalK);
        EXPECT_REL_NEAR(CalcFittingLoss_mHd(c.velocity_ms, c.totalK), c.expected_m, Tight);
    }
}

TEST(Calculations, FittingLossCoefficientGivesTheFittingLossFromTheFlow) {
    // A = π·0.01/4 = 0.0078539816; G = 2/(19.62·A²) = 2/0.00121026 = 1652.537
    EXPECT_REL_NEAR(CalcFittingLossCoefficient(0.1, 2.0), 1652.537144013664, Tight);
    // G·Q·|Q| is the fitting loss at the velocity of that flow, in both directions.
    for (double flow_m3s : {0.02, -0.02, 0.0035}) {
        SCOPED_TRACE(testing::Message() << "Q=" << flow_m3s);
        const double coefficient = CalcFittingLossCoefficient(0.0779, 3.7);
        const double velocity_ms = CalcVelocity(flow_m3s, 0.0779, 1.0);
        EXPECT_REL_NEAR(coefficient * flow_m3s * std::fabs(flow_m3s), CalcFittingLoss_mHd(velocity_ms, 3.7), 1e-12);
    }
    EXPECT_THROW(CalcFittingLossCoefficient(0.0, 2.0), EFloatingPointError);
}

TEST(Calculations, FrictionLossDifferential) {
    // 16·0.02·100·0.01 / (1e-5·π²·9.81) = 0.32 / 9.68208e-4
    EXPECT_REL_NEAR(CalcFrictionLossDifferential(0.01, 0.1, 100.0, 0.02), 330.50742880273279, Tight);
    EXPECT_REL_NEAR(CalcFrictionLossDifferential(-0.01, 0.1, 100.0, 0.02), 330.50742880273279, Tight);
    EXPECT_EQ(CalcFrictionLossDifferential(0.0, 0.1, 100.0, 0.02), 0.0);
    EXPECT_THROW(CalcFrictionLossDifferential(0.01, 0.0, 100.0, 0.02), EFloatingPointError);
}

TEST(Calculations, FrictionLossDifferentialIsTheSlopeOfTheFrictionLoss) {
    // With f held constant, dh/dQ equals the central difference of h(Q).
    const double diameter_m = 0.15, length_m = 250.0, frictionFactor = 0.021;
    auto loss_m = [&](double flow_m3s) {
        return CalcFrictionLoss_mHd(CalcVelocity(flow_m3s, diameter_m, 1.0), diameter_m, length_m, frictionFactor);
    };
    for (double flow_m3s : {0.03, -0.03, 0.001}) {
        SCOPED_TRACE(testing::Message() << "Q=" << flow_m3s);
        const double step = std::fabs(flow_m3s) * 1e-4;
        const double slope = (loss_m(flow_m3s + step) - loss_m(flow_m3s - step)) / (2.0 * step);
        EXPECT_REL_NEAR(CalcFrictionLossDifferential(flow_m3s, diameter_m, length_m, frictionFactor), slope, 1e-7);
    }
}

// ---------------------------------------------------------------------------
// Power

TEST(Calculations, HydraulicPower) {
    struct Case {
        double density_kgm3, flow_m3s, head_m, expected_kW;
    };
    const Case cases[] = {
        {1000.0, 0.05, 20.0, 9.81},    // 1000·9.81·0.05·20/1000
        {1000.0, -0.05, 20.0, 9.81},   // never negative
        {850.0, 0.01, -40.0, 3.3354},  // 850·9.81·0.01·40/1000
        {1000.0, 0.0, 20.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rho=" << c.density_kgm3 << " Q=" << c.flow_m3s << " H=" << c.head_m);
        EXPECT_REL_NEAR(CalcPowerKW(c.density_kgm3, c.flow_m3s, c.head_m), c.expected_kW, Tight);
        // 1 HP = 0.746 kW
        EXPECT_REL_NEAR(CalcPowerHP(c.density_kgm3, c.flow_m3s, c.head_m), c.expected_kW / 0.746, Tight);
    }
}

// ---------------------------------------------------------------------------
// Quadratic through three points

TEST(Calculations, QuadraticCoefficientsThroughThreePoints) {
    struct Case {
        double x1, y1, x2, y2, x3, y3;
        double A, B, C;
    };
    const Case cases[] = {
        {0.0, 10.0, 1.0, 9.0, 2.0, 6.0, -1.0, 0.0, 10.0},
        // A+B+C = 5, 9A+3B+C = 2, 4A−2B+C = 7  =>  A = −1/6, B = −5/6, C = 6
        {1.0, 5.0, 3.0, 2.0, -2.0, 7.0, -1.0 / 6.0, -5.0 / 6.0, 6.0},
        // pump curve in m³/s and m: 1e-4·A + 0.01·B = −2, 4e-4·A + 0.02·B = −8  =>  A = −20000, B = 0
        {0.0, 50.0, 0.01, 48.0, 0.02, 42.0, -20000.0, 0.0, 50.0},
        // points on a straight line: y = 2x + 1
        {0.0, 1.0, 1.0, 3.0, 2.0, 5.0, 0.0, 2.0, 1.0},
        // order of the points does not matter
        {2.0, 6.0, 0.0, 10.0, 1.0, 9.0, -1.0, 0.0, 10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x1 << "," << c.y1 << ") (" << c.x2 << "," << c.y2 << ") (" << c.x3
                                        << "," << c.y3 << ")");
        double A = 99.0, B = 99.0, C = 99.0;
        calcQuadraticPumpCoefficents(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, A, B, C);
        EXPECT_NEAR(A, c.A, 1e-9 * std::max(1.0, std::fabs(c.A)));
        EXPECT_NEAR(B, c.B, 1e-9 * std::max(1.0, std::fabs(c.B)));
        EXPECT_NEAR(C, c.C, 1e-9 * std::max(1.0, std::fabs(c.C)));
    }
}

TEST(Calculations, QuadraticCoefficientsOfDegeneratePointsAreZeroInsteadOfAnError) {
    struct Case {
        const char* name;
        double x1, y1, x2, y2, x3, y3;
        double A, B, C;
    };
    const Case cases[] = {
        // rows (4,2,1,y): eliminated rows become (0,0,0,−4) and (0,0,0,−8); C = B = 0, A = 1/4
        {"equal x", 2.0, 1.0, 2.0, 5.0, 2.0, 9.0, 0.25, 0.0, 0.0},
        // rows after the first column: (0,−2,−3,−6) twice; the second clears to 0, so C = 0,
        // B = −6/−2 = 3, A = (6 − 2·3)/4 = 0: the line y = 3x through both distinct points
        {"two coincident", 1.0, 3.0, 1.0, 3.0, 2.0, 6.0, 0.0, 3.0, 0.0},
        // every x is 0: no row is eliminated, C = a34/a33 = 6/1 from the last row, A = B = 0
        {"all at x = 0", 0.0, 4.0, 0.0, 5.0, 0.0, 6.0, 0.0, 0.0, 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double A = 99.0, B = 99.0, C = 99.0;
        EXPECT_NO_THROW(calcQuadraticPumpCoefficents(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, A, B, C));
        EXPECT_DOUBLE_EQ(A, c.A);
        EXPECT_DOUBLE_EQ(B, c.B);
        EXPECT_DOUBLE_EQ(C, c.C);
    }
}

TEST(Calculations, QuadraticCoefficientsWithoutAFiniteCurveRaiseTheUnitError) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double x1, y1, x2, y2, x3, y3;
    };
    const Case cases[] = {
        {"not a number", 0.0, 10.0, nan, 9.0, 2.0, 6.0},
        {"infinite head", 0.0, inf, 1.0, 9.0, 2.0, 6.0},
        // A = −1e400: finite while eliminating, beyond the range of a stored double
        {"overflow", 0.0, 0.0, 1e-200, 1.0, 2e-200, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double A = 7.0, B = 8.0, C = 9.0;
        try {
            calcQuadraticPumpCoefficents(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, A, B, C);
            ADD_FAILURE() << "no error raised";
        } catch (const ECalculations& error) {
            EXPECT_EQ(std::string(error.what()),
                      "VM4_Calculations.calcQuadraticPumpCoefficents Failed: Pump Points are not valid.");
        }
        // A failed fit does not leave a half-written curve behind.
        EXPECT_EQ(A, 7.0);
        EXPECT_EQ(B, 8.0);
        EXPECT_EQ(C, 9.0);
    }
}
