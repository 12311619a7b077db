#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "EngineSetup.h"
#include "common/FuzzyCompare.h"

namespace {

using TCode = TMatrixEquations;

// Oil in a laminar pipe: h = c·Q exactly, while the Jacobian entry, the friction
// derivative with f held constant, is 2c. Every Newton step therefore halves the
// distance to the solution Q* = ΔH / c, so iteration counts and flows can be
// worked out by hand.
const long double kC = LaminarHeadPerFlow(kLaminarPipe, kOil);

struct TSolveResult {
    bool solved = false;
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message;
};

std::unique_ptr<TMatrixEquations> LaminarPipeEngine(long double target_m3s, long double start_m3s) {
    auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, kLaminarPipe);
    SetEquation(*engine, 1, {TCode::CodeWalkedForward}, static_cast<double>(kC * target_m3s));
    engine->QVariables[1] = start_m3s;
    return engine;
}

TSolveResult Solve(TMatrixEquations& engine) {
    TSolveResult result;
    result.errorCode = 12345;
    result.message = "stale";
    engine.SolveQVariables(result.solved, result.errorCode, result.log, result.message);
    return result;
}

struct THalvingCase {
    const char* name;
    long double target_m3s;
    long double start_m3s;
    double headTolerance_m;
};

void PrintTo(const THalvingCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsNewtonHalving : public ::testing::TestWithParam<THalvingCase> {};

}  // namespace

TEST_P(MatrixEquationsNewtonHalving, ConvergesAndCountsTheFirstEvaluationAsOne) {
    const THalvingCase& c = GetParam();
    const auto engine = LaminarPipeEngine(c.target_m3s, c.start_m3s);
    engine->HeadToleranceCurrent = c.headTolerance_m;

    // Halve the error until the head residual c·e is within the tolerance.
    long double error = c.start_m3s - c.target_m3s;
    std::int32_t steps = 0;
    while (std::fabs(kC * error) > c.headTolerance_m) {
        error /= 2.0L;
        ++steps;
    }

    const TSolveResult result = Solve(*engine);
    EXPECT_TRUE(result.solved);
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_EQ(result.message, "");
    EXPECT_TRUE(result.log.empty());
    EXPECT_EQ(engine->IterationCount, 1 + steps);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), static_cast<double>(c.target_m3s + error), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, MatrixEquationsNewtonHalving,
    ::testing::Values(
        // c·0.002 = 14.8 m: 7.4, 3.7, 1.8 m → 3 steps, IterationCount 4.
        THalvingCase{"CoarseToleranceFromAbove", 0.002L, 0.004L, 2.0},
        // c·0.0025 = 18.5 m down to 0.001 m needs 15 halvings.
        THalvingCase{"FineToleranceFromBelow", 0.003L, 0.0005L, 0.001},
        THalvingCase{"StartAtTheSolution", 0.001L, 0.001L, 1e-9}),
    [](const auto& info) { return std::string(info.param.name); });

// With an iteration limit of 1 no step is taken: the start decides.
TEST(MatrixEquationsNewton, IterationLimitOfOneOnlyJudgesTheStart) {
    struct {
        long double start_m3s;
        bool solved;
    } const cases[] = {{0.002L, true}, {0.0021L, false}};
    for (const auto& c : cases) {
        const auto engine = LaminarPipeEngine(0.002L, c.start_m3s);
        engine->MaxIterationsCurrent = 1;
        engine->HeadToleranceCurrent = 0.5;  // c·0.0001 = 0.74 m is outside it
        const TSolveResult result = Solve(*engine);
        EXPECT_EQ(result.solved, c.solved) << "start " << static_cast<double>(c.start_m3s);
        EXPECT_EQ(engine->IterationCount, 1);
        EXPECT_EQ(engine->QVariables[1], c.start_m3s);
    }
}

// Five times the Newton step overshoots: from Q* + e the step of e/2 lands on
// Q* − 1.5e, a larger residual, so it is taken back to the old point plus half
// the step: Q* + e − 0.5·5·e/2 = Q* − 0.25e.
TEST(MatrixEquationsNewton, StepThatIncreasesTheResidualIsReversedToHalfAStepBack) {
    const long double target = 0.001L;
    const long double start = 0.0011L;
    const auto engine = LaminarPipeEngine(target, start);
    engine->DeltaQFactorCurrent = 5.0;
    engine->MaxIterationsCurrent = 2;
    engine->HeadToleranceCurrent = 1e-12;
    const TSolveResult result = Solve(*engine);
    EXPECT_FALSE(result.solved);
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_EQ(engine->IterationCount, 2);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1] - target), static_cast<double>(-0.25L * (start - target)),
                    1e-9);
}

namespace {

struct TReversalCountCase {
    const char* name;
    bool viaClearResults;  // limits set as the generator does, then ClearResults
    std::int32_t maxIterationsCurrent;
    std::int32_t maxIterationsApprox;
    std::int32_t maxIterationsFinal;
    int expectedReversals;
    std::int32_t expectedIterationCount;
};

void PrintTo(const TReversalCountCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsReversalCounting : public ::testing::TestWithParam<TReversalCountCase> {};

}  // namespace

// Every step overshoots (see above) and is taken back by half, so after r
// reversals the flow is Q* + (−0.25)^r·e. Counted reversals end at the iteration limit; in the
// final phase they are not counted, and the loop ends after as many reversals
// as the limit allows iterations instead of running for ever.
TEST_P(MatrixEquationsReversalCounting, ReversedStepsCountOnlyOutsideTheFinalPhase) {
    const TReversalCountCase& c = GetParam();
    const long double target = 0.001L;
    const long double start = target + 1e-7L;  // ten reversals leave 1e-13, still outside the tolerance
    const auto engine = LaminarPipeEngine(target, start);
    engine->MaxIterationsApprox = c.maxIterationsApprox;
    engine->MaxIterationsFinal = c.maxIterationsFinal;
    if (c.viaClearResults) {
        const long double known = engine->QKnowns[1];
        engine->ClearResults(1, 1);
        SetFluid(*engine, kOil);
        SetPipe(*engine, 1, kLaminarPipe);
        SetEquation(*engine, 1, {TCode::CodeWalkedForward}, static_cast<double>(known));
        engine->QVariables[1] = start;
    } else {
        engine->MaxIterationsCurrent = c.maxIterationsCurrent;
    }
    engine->DeltaQFactorCurrent = 5.0;
    engine->HeadToleranceCurrent = 1e-12;

    const TSolveResult result = Solve(*engine);
    EXPECT_FALSE(result.solved);
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(engine->IterationCount, c.expectedIterationCount);
    const long double expectedError = std::pow(-0.25L, c.expectedReversals) * (start - target);
    // The losses are evaluated at the flow rounded to a double, in double
    // arithmetic: the iterate is known to a few units in the last place of a
    // double near Q* (2e-19 m³/s each). Sixteen of them are 4e-5 of the smallest
    // error expected, where one reversal more or less changes it fourfold.
    const double lastPlaces = 16.0 * std::numeric_limits<double>::epsilon() * static_cast<double>(target);
    EXPECT_NEAR(static_cast<double>(engine->QVariables[1] - target), static_cast<double>(expectedError), lastPlaces);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, MatrixEquationsReversalCounting,
    ::testing::Values(
        // Nine counted steps take IterationCount from 1 to the limit 10.
        TReversalCountCase{"ApproximatePhaseCountsThem", false, 10, 200, 5000, 9, 10},
        // Each reversed step is taken back from the count; ten of them end the loop.
        TReversalCountCase{"FinalPhaseBoundsThem", false, 10, 200, 10, 10, 1},
        TReversalCountCase{"ApproximateLimitEqualToTheFinalOne", true, 0, 10, 10, 10, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A pipe without friction or fittings has a zero Jacobian: the step stays 0, the
// residual cannot change, and the loop ends unsolved after one try. (A plain pipe
// at zero flow takes its slope at 1 m/s and is no such case.)
TEST(MatrixEquationsNewton, ZeroJacobianEndsTheLoopUnsolvedWithOneLogLine) {
    auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kWater);
    SetPipe(*engine, 1, kNoFrictionPipe);
    SetEquation(*engine, 1, {TCode::CodeWalkedForward}, 5.0);
    engine->QVariables[1] = 0.0L;
    engine->IterationCountTotal = 1;
    const TSolveResult result = Solve(*engine);
    EXPECT_FALSE(result.solved);
    EXPECT_EQ(result.errorCode, -1);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(result.log, std::vector<std::string>{"Calculated equation values are too small. Reset and continue."});
    EXPECT_EQ(engine->QVariables[1], 0.0L);
    EXPECT_EQ(engine->IterationCount, 2);
}

// A step factor without a finite value (a damaged setting) cannot move the
// flows: the loop stops with the arithmetic failure code.
TEST(MatrixEquationsNewton, NonFiniteStepFactorEndsTheLoopWithTheArithmeticCode) {
    for (double factor : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        const auto engine = LaminarPipeEngine(0.002L, 0.003L);
        engine->DeltaQFactorCurrent = factor;
        const TSolveResult result = Solve(*engine);
        EXPECT_FALSE(result.solved) << factor;
        EXPECT_EQ(result.errorCode, -3) << factor;
        EXPECT_TRUE(std::isfinite(engine->QVariables[1])) << factor;
    }
}

TEST(MatrixEquationsNewton, FailedFirstEvaluationEndsTheLoopWithoutAStep) {
    const auto engine = LaminarPipeEngine(0.002L, 1e400L);
    const TSolveResult result = Solve(*engine);
    EXPECT_FALSE(result.solved);
    EXPECT_EQ(result.errorCode, 0);
    EXPECT_EQ(result.message, "");
    EXPECT_EQ(engine->IterationCount, 1);
    EXPECT_EQ(engine->QVariables[1], 1e400L);
}

// One unknown, two equations that disagree: continuity wants Q = 0.1, the head
// equation Q = 0.002. The pivot picks the head row (2c beats 1) and moves it to
// row 1 for good, so it alone is judged from then on, in this call and the next.
TEST(MatrixEquationsNewton, ExchangedRowsStayExchangedForTheNextSolve) {
    auto engine = MakeEngine(1, 2);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, kLaminarPipe);
    const double headKnown = static_cast<double>(kC * 0.002L);
    SetEquation(*engine, 1, {TCode::CodeFlowEnters}, 0.1);
    SetEquation(*engine, 2, {TCode::CodeWalkedForward}, headKnown);
    engine->QVariables[1] = 0.00201L;
    engine->HeadToleranceCurrent = 1e-6;

    TSolveResult first = Solve(*engine);
    ASSERT_TRUE(first.solved);
    EXPECT_GT(engine->IterationCount, 1);
    // Within the head tolerance: |Q − 0.002| ≤ 1e-6 m / c = 1.4e-10 m³/s.
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[1]), 0.002, 1e-7);
    EXPECT_EQ(engine->QMatrix[1][1], TCode::CodeWalkedForward);
    EXPECT_EQ(engine->QKnowns[1], headKnown);
    EXPECT_EQ(engine->QMatrix[2][1], TCode::CodeFlowEnters);
    EXPECT_EQ(engine->QKnowns[2], 0.1);

    // In the original order row 1 (continuity, residual −0.098) would fail the test.
    TSolveResult second = Solve(*engine);
    EXPECT_TRUE(second.solved);
    EXPECT_EQ(engine->IterationCount, 1);
    EXPECT_EQ(engine->QMatrix[1][1], TCode::CodeWalkedForward);
}

// The evaluation after a reversed step can fail while the step before it had
// met the tolerances. The flows held are then those of the reversed point, which
// nobody has checked, so the loop must not report them as solved.
//   row 1  Q1 = 0.5                        (residual 0.001: outside the flow tolerance)
//   row 2  h2 = 1·Q2·|Q2| + component = −0.9   at Q2 = −1: residual −0.1, Jacobian 2·G·|Q| = 2
// The step (0.001, −0.05) meets both tolerances (row 2: −0.9025 − 0.5 + 0.9 ≈ −0.5 m, the
// component losing 0.5 m at 0.95 m³/s) but raises the size from ½(1e-6 + 0.01) to about
// ½·0.25, so it is taken back by half to Q2 = −0.975, where the component's curve has a
// segment without a finite slope.
TEST(MatrixEquationsNewton, AccuracyFoundBeforeAFailedEvaluationIsNotASolution) {
    auto engine = MakeEngine(2, 2);
    SetFluid(*engine, kWater);
    SetPipe(*engine, 1, kNoFrictionPipe);
    SetPipe(*engine, 2, {0.1, 4.5e-5, 0.0, 1.0});
    TComponentPressure component;
    component.UseCurve = 1;
    for (const auto& [flow, loss] :
         {std::pair{0.0, 0.0}, {0.95, 0.5}, {0.97, 0.0}, {0.98, 1e308}, {0.99, 0.0}, {2.0, 0.0}})
        component.AddCurvePoint(flow, loss);
    engine->QComponent[2].CopyComponentPressure(component);
    SetEquation(*engine, 1, {TCode::CodeFlowEnters, TCode::CodeNotInEquation}, 0.5);
    SetEquation(*engine, 2, {TCode::CodeNotInEquation, TCode::CodeWalkedForward}, -0.9);
    engine->QVariables[1] = 0.501L;
    engine->QVariables[2] = -1.0L;

    const TSolveResult result = Solve(*engine);
    EXPECT_FALSE(result.solved);
    EXPECT_REL_NEAR(static_cast<double>(engine->QVariables[2]), -0.975, 1e-12);
    EXPECT_EQ(engine->IterationCount, 2);
}
