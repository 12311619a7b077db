#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <cmath>
#include <vector>

#include "EngineSetup.h"
#include "common/FuzzyCompare.h"

// Small networks solved by the engine and, independently, by bisection on the
// reference physics (Darcy-Weisbach with Colebrook-White solved to full
// precision). The flows agree within what the friction factor's stopping rule
// allows (see HydraulicReference.h); with the formulas' own friction factor the
// reference head balances close to the engine's head tolerance.

namespace {

using TCode = TMatrixEquations;

constexpr double kTightHeadTolerance_m = 1e-9;
constexpr double kFlowAgreement = kColebrookStoppingRuleFlowError;
constexpr double kHeadBalance_m = 1e-8;

// G of a pipe's fittings: K / (19.62·A²), A = π·D²/4.
double FittingG(double diameter_m, double totalK) {
    const double area = std::numbers::pi * diameter_m * diameter_m / 4.0;
    return totalK / (19.62 * area * area);
}

struct TSolveResult {
    bool solved = false;
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message;
};

TSolveResult SolveTightly(TMatrixEquations& engine) {
    engine.HeadToleranceCurrent = kTightHeadTolerance_m;
    engine.FlowTolerance = 1e-12;
    TSolveResult result;
    engine.SolveQVariables(result.solved, result.errorCode, result.log, result.message);
    return result;
}

long double HeadLoss(const TReferencePipe& pipe, const TReferenceFluid& fluid, long double flow) {
    return ReferencePipeHeadLoss_mHd(pipe, fluid, flow);
}

// The reference head loss at one of the engine's flows, with the friction
// factor of the formulas the engine uses.
long double HeadLossAt(const TReferencePipe& pipe, const TReferenceFluid& fluid, const TMatrixEquations& engine,
                       std::int32_t j) {
    return ReferencePipeHeadLoss_mHd(pipe, fluid, engine.QVariables[j], TFrictionFactorSource::Formulas);
}

struct TSinglePipeCase {
    const char* name;
    TReferencePipe pipe;
    double headDifference_m;  // H(start) − H(end)
};

void PrintTo(const TSinglePipeCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsSinglePipe : public ::testing::TestWithParam<TSinglePipeCase> {};

}  // namespace

// A pipe between two fixed heads: one head equation h(Q) = ΔH.
TEST_P(MatrixEquationsSinglePipe, FlowMatchesTheReferenceSolution) {
    const TSinglePipeCase& c = GetParam();
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kWater);
    SetPipe(*engine, 1, c.pipe);
    SetEquation(*engine, 1, {TCode::CodeWalkedForward}, c.headDifference_m);
    engine->QVariables[1] = 0.01L;

    const TSolveResult result = SolveTightly(*engine);
    ASSERT_TRUE(result.solved);
    EXPECT_EQ(result.errorCode, 0);

    const long double expected = FindRootByBisection(
        [&](long double q) { return HeadLoss(c.pipe, kWater, q) - c.headDifference_m; }, -1.0L, 1.0L);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), static_cast<double>(expected), kFlowAgreement);
    EXPECT_NEAR(static_cast<double>(HeadLossAt(c.pipe, kWater, *engine, 1)), c.headDifference_m, kHeadBalance_m);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, MatrixEquationsSinglePipe,
    ::testing::Values(
        // About 2.3 m/s, Re ≈ 2.3e5.
        TSinglePipeCase{"TurbulentSteelPipe", {0.1, 4.5e-5, 200.0, 0.0}, 10.0},
        TSinglePipeCase{"SmallHeadDifference", {0.1, 4.5e-5, 200.0, 0.0}, 0.05},
        TSinglePipeCase{"WithFittings", {0.1, 4.5e-5, 200.0, FittingG(0.1, 3.0)}, 10.0},
        // The far end is higher: the flow runs against the pipe's direction.
        TSinglePipeCase{"ReversedFlow", {0.08, 1.5e-4, 120.0, FittingG(0.08, 1.5)}, -4.0}),
    [](const auto& info) { return std::string(info.param.name); });

// Tank A → pipe 1 → J1; J1 → pipes 2 and 3 in parallel → J2; J2 → pipe 4 → end
// node E, with 0.005 m³/s drawn off at J1 and H(A) − H(E) = 30 m.
//   J1:    Q1 − Q2 − Q3 = 0.005
//   J2:    Q2 + Q3 − Q4 = 0
//   loop:  h2 − h3      = 0
//   path:  h1 + h2 + h4 = 30
TEST(MatrixEquationsNetwork, ParallelPipesShareTheFlowAsTheReferenceDoes) {
    const TReferencePipe pipes[] = {
        {0.15, 4.5e-5, 300.0, 0.0},
        {0.1, 4.5e-5, 150.0, 0.0},
        {0.08, 4.5e-5, 120.0, FittingG(0.08, 5.0)},
        {0.125, 4.5e-5, 200.0, 0.0},
    };
    const double demand_m3s = 0.005;
    const double headDifference_m = 30.0;

    const auto engine = MakeEngine(4, 4);
    SetFluid(*engine, kWater);
    for (std::int32_t j = 1; j <= 4; ++j) {
        SetPipe(*engine, j, pipes[j - 1]);
        engine->QVariables[j] = 0.02L;
    }
    SetEquation(*engine, 1, {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeFlowLeaves, 0}, demand_m3s);
    SetEquation(*engine, 2, {0, TCode::CodeFlowEnters, TCode::CodeFlowEnters, TCode::CodeFlowLeaves}, 0.0);
    SetEquation(*engine, 3, {0, TCode::CodeWalkedForward, TCode::CodeWalkedBackward, 0}, 0.0);
    SetEquation(*engine, 4, {TCode::CodeWalkedForward, TCode::CodeWalkedForward, 0, TCode::CodeWalkedForward},
                headDifference_m);

    const TSolveResult result = SolveTightly(*engine);
    ASSERT_TRUE(result.solved);

    // Reference: for a flow Q4 through the parallel pair, split it so that
    // h2 = h3, then find the Q4 for which the path loses 30 m.
    auto parallelShareOfPipe2 = [&](long double q4) {
        return FindRootByBisection(
            [&](long double q2) { return HeadLoss(pipes[1], kWater, q2) - HeadLoss(pipes[2], kWater, q4 - q2); },
            0.0L, q4);
    };
    const long double q4 = FindRootByBisection(
        [&](long double q) {
            return HeadLoss(pipes[0], kWater, q + demand_m3s) + HeadLoss(pipes[1], kWater, parallelShareOfPipe2(q)) +
                   HeadLoss(pipes[3], kWater, q) - headDifference_m;
        },
        0.0L, 1.0L);
    const long double q2 = parallelShareOfPipe2(q4);
    const long double expected[] = {q4 + demand_m3s, q2, q4 - q2, q4};
    for (std::int32_t j = 1; j <= 4; ++j)
        EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[j]), static_cast<double>(expected[j - 1]),
                        kFlowAgreement)
            << "pipe " << j;

    const auto& q = engine->QVariables;
    EXPECT_NEAR(static_cast<double>(q[1] - q[2] - q[3]), demand_m3s, 1e-15);
    EXPECT_NEAR(static_cast<double>(q[2] + q[3] - q[4]), 0.0, 1e-15);
    const long double h[] = {HeadLossAt(pipes[0], kWater, *engine, 1), HeadLossAt(pipes[1], kWater, *engine, 2),
                             HeadLossAt(pipes[2], kWater, *engine, 3), HeadLossAt(pipes[3], kWater, *engine, 4)};
    EXPECT_NEAR(static_cast<double>(h[1] - h[2]), 0.0, kHeadBalance_m);
    EXPECT_NEAR(static_cast<double>(h[0] + h[1] + h[3]), headDifference_m, kHeadBalance_m);
}

// A pump lifts water from tank A to tank B, 40 m higher: friction − pump head = −40.
TEST(MatrixEquationsNetwork, PumpAgainstAStaticHeadRunsWhereItsCurveMeetsTheSystem) {
    const TReferencePipe pipe{0.1, 4.5e-5, 100.0, 0.0};
    const TReferenceFluid water998{998.0, 1.0};
    const double lift_m = 40.0;

    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, water998);
    SetPipe(*engine, 1, pipe);
    engine->QPump[1].CopyPump(ThreePointPump());
    SetEquation(*engine, 1, {TCode::CodeWalkedForward}, -lift_m);
    engine->QVariables[1] = 0.01L;

    const TSolveResult result = SolveTightly(*engine);
    ASSERT_TRUE(result.solved);

    // The one piece of the curve, −30000·q² + 100·q + 50 m of water, never above
    // the shut-off head of 50 m, in metres of a fluid of 998 kg/m³.
    auto pumpHead = [](long double q) {
        return std::min(-30000.0L * q * q + 100.0L * q + 50.0L, 50.0L) * 1000.0L / 998.0L;
    };
    const long double expected = FindRootByBisection(
        [&](long double q) { return HeadLoss(pipe, water998, q) - pumpHead(q) + lift_m; }, 0.001L, 0.02L);
    EXPECT_GT(expected, 0.015L);  // on the curve, well inside its last point
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), static_cast<double>(expected), kFlowAgreement);
    EXPECT_NEAR(static_cast<double>(HeadLossAt(pipe, water998, *engine, 1) - pumpHead(engine->QVariables[1])), -lift_m,
                kHeadBalance_m);
}

namespace {

struct TComponentFlowCase {
    const char* name;
    double headDifference_m;
};

void PrintTo(const TComponentFlowCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsComponentDirection : public ::testing::TestWithParam<TComponentFlowCase> {};

}  // namespace

// A laminar oil pipe (h = c·Q) with a fixed 0.5 bar component between two heads.
// The component always takes 5.665 m from the driving head, in either direction:
//   c·Q + 5.665 = ΔH  (Q > 0)     c·Q − 5.665 = ΔH  (Q < 0)
// so ±20 m give flows of equal size and opposite sign. Were the loss unsigned,
// the reversed flow would gain head across the component: (−20 − 5.665)/c.
TEST_P(MatrixEquationsComponentDirection, ComponentLossOpposesTheFlowInBothDirections) {
    const TComponentFlowCase& c = GetParam();
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, kLaminarPipe);
    engine->QComponent[1].CopyComponentPressure(FixedLossComponent(0.5));
    SetEquation(*engine, 1, {TCode::CodeWalkedForward}, c.headDifference_m);
    engine->QVariables[1] = 0.001L;

    const TSolveResult result = SolveTightly(*engine);
    ASSERT_TRUE(result.solved);

    const double componentLoss_m = 0.5 * 100000.0 / (9.80665 * 900.0);
    const double laminarC = static_cast<double>(LaminarHeadPerFlow(kLaminarPipe, kOil));
    const double drivingHead_m = std::copysign(std::fabs(c.headDifference_m) - componentLoss_m, c.headDifference_m);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), drivingHead_m / laminarC, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Directions, MatrixEquationsComponentDirection,
                         ::testing::Values(TComponentFlowCase{"Forward", 20.0}, TComponentFlowCase{"Reversed", -20.0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Two join points joined by one pipe: one unknown, two continuity equations
// (0.01 m³/s supplied at J1, drawn off at J2). The first of the two equal pivots
// is used; the equations are linear, so one step lands on the answer.
TEST(MatrixEquationsNetwork, MoreEquationsThanUnknownsUsesThePivotRows) {
    const auto engine = MakeEngine(1, 2);
    SetFluid(*engine, kWater);
    SetPipe(*engine, 1, {0.1, 4.5e-5, 50.0, 0.0});
    SetEquation(*engine, 1, {TCode::CodeFlowLeaves}, 0.0 - 0.01);  // discharge − supply at J1
    SetEquation(*engine, 2, {TCode::CodeFlowEnters}, 0.01 - 0.0);  // at J2
    engine->QVariables[1] = 0.03L;

    TSolveResult result;
    engine->SolveQVariables(result.solved, result.errorCode, result.log, result.message);
    EXPECT_TRUE(result.solved);
    EXPECT_EQ(engine->IterationCount, 2);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), 0.01, 1e-12);
    EXPECT_EQ(engine->QMatrix[1][1], TCode::CodeFlowLeaves);
}

// Every table used to its last row and column: 1000 unknowns, each fixed by a
// continuity equation Qj = 0.001·j, and the same equations again negated in
// rows 1001..2000. The first of each pair of equal pivots stays, its twin
// reduces to zeros, and one step solves the linear system.
TEST(MatrixEquationsNetwork, SystemAtFullCapacityIsSolved) {
    const std::int32_t n = TMatrixEquations::MaxQVariables;
    const auto engine = MakeEngine(n, TMatrixEquations::MaxEquations);
    SetFluid(*engine, kWater);
    for (std::int32_t j = 1; j <= n; ++j) {
        engine->QMatrix[j][j] = TCode::CodeFlowEnters;
        engine->QKnowns[j] = 0.001 * j;
        engine->QMatrix[n + j][j] = TCode::CodeFlowLeaves;
        engine->QKnowns[n + j] = -0.001 * j;
    }
    TSolveResult result;
    engine->SolveQVariables(result.solved, result.errorCode, result.log, result.message);
    ASSERT_TRUE(result.solved);
    EXPECT_EQ(engine->IterationCount, 2);
    for (std::int32_t j = 1; j <= n; ++j) {
        EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[j]), 0.001 * j, 1e-15) << "unknown " << j;
    }
    EXPECT_EQ(engine->QMatrix[n][n], TCode::CodeFlowEnters);
    EXPECT_EQ(engine->QMatrix[2 * n][n], TCode::CodeFlowLeaves);
}
