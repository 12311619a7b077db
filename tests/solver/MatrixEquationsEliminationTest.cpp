#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "EngineSetup.h"
#include "StepResidual.h"
#include "common/FuzzyCompare.h"

namespace {

using TCode = TMatrixEquations;

// Small systems whose head terms are linear: each unknown's pipe has no length
// and carries a component whose loss is slope·Q (water, so one metre of water is
// one metre of fluid), and its Jacobian entry is the slope. A slope of 0 leaves
// the unknown to continuity equations only. A negative slope is a pump on the
// rising part of its curve H = a·(Q − 1)² + 40 m (a flow between 1 and 2 m³/s,
// a chosen so that dH/dQ = −slope there): the head loss −H falls as Q grows.
struct TLinearSystemCase {
    const char* name;
    std::vector<double> slopes;
    std::vector<long double> flows;
    std::vector<std::vector<std::uint8_t>> codes;
    std::vector<double> knowns;
    // The Newton step, worked out by hand; the system has exactly one.
    std::vector<double> expectedDeltas;
    // Equations (0-based, as given) of which exactly one is left over after the
    // pivots: they repeat each other.
    std::vector<std::size_t> dependentPair;
};

void PrintTo(const TLinearSystemCase& c, std::ostream* os) { *os << c.name; }

TPump PumpRisingAt(long double flow_m3s, double headGainSlope) {
    const double a = headGainSlope / (2.0 * (static_cast<double>(flow_m3s) - 1.0));
    TPump pump;
    for (const double flow : {0.0, 1.0, 2.0}) pump.AddPumpCurvePoint(flow, a * (flow - 1.0) * (flow - 1.0) + 40.0, 50.0, 1.0);
    return pump;
}

std::unique_ptr<TMatrixEquations> LinearSystem(const TLinearSystemCase& c) {
    const auto n = static_cast<std::int32_t>(c.slopes.size());
    const auto m = static_cast<std::int32_t>(c.codes.size());
    auto engine = MakeEngine(n, m);
    SetFluid(*engine, kWater);
    for (std::int32_t j = 1; j <= n; ++j) {
        SetPipe(*engine, j, kNoFrictionPipe);
        const double slope = c.slopes[static_cast<std::size_t>(j - 1)];
        if (slope > 0.0) engine->QComponent[j].CopyComponentPressure(LinearCurveComponent(slope));
        engine->QVariables[j] = c.flows[static_cast<std::size_t>(j - 1)];
        if (slope < 0.0) engine->QPump[j].CopyPump(PumpRisingAt(engine->QVariables[j], -slope));
    }
    for (std::int32_t i = 1; i <= m; ++i) {
        for (std::int32_t j = 1; j <= n; ++j)
            engine->QMatrix[i][j] = c.codes[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
        engine->QKnowns[i] = c.knowns[static_cast<std::size_t>(i - 1)];
    }
    return engine;
}

std::size_t at(std::int32_t oneBased) { return static_cast<std::size_t>(oneBased - 1); }

// An equation as the engine holds it: its codes and its known.
using TEquation = std::pair<std::vector<std::uint8_t>, double>;

TEquation EquationAt(const TMatrixEquations& engine, std::int32_t i) {
    TEquation equation{{}, engine.QKnowns[i]};
    for (std::int32_t j = 1; j <= engine.NumberOfQVariables; ++j) equation.first.push_back(engine.QMatrix[i][j]);
    return equation;
}

// Where each given equation stands now (0-based positions); fails when the
// engine's equations are not the given ones in some order.
std::vector<std::size_t> PositionsOfGivenEquations(const TMatrixEquations& engine, const TLinearSystemCase& c) {
    std::vector<std::size_t> positions(c.codes.size(), c.codes.size());
    std::vector<bool> taken(c.codes.size(), false);
    for (std::size_t given = 0; given < c.codes.size(); ++given) {
        const TEquation wanted{c.codes[given], c.knowns[given]};
        for (std::int32_t i = 1; i <= engine.NumberOfEquations; ++i) {
            if (!taken[at(i)] && EquationAt(engine, i) == wanted) {
                taken[at(i)] = true;
                positions[given] = at(i);
                break;
            }
        }
        EXPECT_LT(positions[given], c.codes.size()) << "equation " << given + 1 << " is gone";
    }
    return positions;
}

// Four unknowns in a ring of two loops sharing unknown 2: two continuity rows,
// then the head rows of the loops (1, 2) and (−2, 3, 4).
const std::vector<std::vector<std::uint8_t>> kTwoLoopRing = {
    {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeFlowLeaves, TCode::CodeNotInEquation},
    {TCode::CodeNotInEquation, TCode::CodeNotInEquation, TCode::CodeFlowEnters, TCode::CodeFlowLeaves},
    {TCode::CodeWalkedForward, TCode::CodeWalkedForward, TCode::CodeNotInEquation, TCode::CodeNotInEquation},
    {TCode::CodeNotInEquation, TCode::CodeWalkedBackward, TCode::CodeWalkedForward, TCode::CodeWalkedForward}};

// Unknowns with slopes 4 and 2 at Q = (1, 0.5), so h = (4, 1):
//   Q1 − Q2 = 0.25  → F = 0.25,  row ( 1, −1)
//   h1 + h2 = 3     → F = 2,     row ( 4,  2)
// 4a + 2b = 2 and a − b = 0.25: a = 5/12, b = 1/6.
const std::vector<TLinearSystemCase> kLinearSystems = {
    {"ContinuityAndHead",
     {4.0, 2.0},
     {1.0L, 0.5L},
     {{TCode::CodeFlowEnters, TCode::CodeFlowLeaves}, {TCode::CodeWalkedForward, TCode::CodeWalkedForward}},
     {0.25, 3.0},
     {5.0 / 12.0, 1.0 / 6.0},
     {}},
    // Unknown 1 in continuity only, slopes 3 and 5 for unknowns 2 and 3, Q = (1, 1, 1):
    //   h2 + h3 = 6     → F = 2      row (0, 3,  5)
    //   h2 − h3 = −1    → F = −1     row (0, 3, −5)
    //   Q1 − Q2 = 0.5   → F = −0.5   row (1, −1, 0)
    // 6b = 1, 10c = 3, a = −0.5 + b: (−1/3, 1/6, 0.3).
    {"UnknownInContinuityOnly",
     {0.0, 3.0, 5.0},
     {1.0L, 1.0L, 1.0L},
     {{TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedForward},
      {TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedBackward},
      {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeNotInEquation}},
     {6.0, -1.0, 0.5},
     {-1.0 / 3.0, 1.0 / 6.0, 0.3},
     {}},
    // The first case with its continuity equation written a second time, from
    // the other node's side, between the two: one of the twins is left over.
    {"RepeatedContinuityIsLeftOver",
     {4.0, 2.0},
     {1.0L, 0.5L},
     {{TCode::CodeFlowEnters, TCode::CodeFlowLeaves},
      {TCode::CodeFlowLeaves, TCode::CodeFlowEnters},
      {TCode::CodeWalkedForward, TCode::CodeWalkedForward}},
     {0.25, -0.25, 3.0},
     {5.0 / 12.0, 1.0 / 6.0},
     {0, 1}},
    // Four unknowns in a ring of two loops sharing unknown 2, slopes 1, 10, 100, 1000,
    // flows (1, 1, 1, 1), so F = (h-sums − knowns) as written:
    //   Q1 − Q2 − Q3 = −1            → F = 0       row (1, −1, −1,  0)
    //   Q3 − Q4 = 0                  → F = 0       row (0,  0,  1, −1)
    //   h1 + h2 = 10                 → F = 1       row (1, 10,  0,  0)
    //   −h2 + h3 + h4 = 1000         → F = 90      row (0, −10, 100, 1000)
    // The solution of the rows above, worked out by hand: c = d, a = b + c,
    // (b + c) + 10b = 1 → c = 1 − 11b; −10b + 1100c = 90 → −10b + 1100 − 12100b = 90
    // → b = 1010/12110, c = 1 − 11b, a = b + c.
    {"TwoLoopsOfUnequalSlopes",
     {1.0, 10.0, 100.0, 1000.0},
     {1.0L, 1.0L, 1.0L, 1.0L},
     kTwoLoopRing,
     {-1.0, 0.0, 10.0, 1000.0},
     {1010.0 / 12110.0 + (1.0 - 11.0 * 1010.0 / 12110.0), 1010.0 / 12110.0, 1.0 - 11.0 * 1010.0 / 12110.0,
      1.0 - 11.0 * 1010.0 / 12110.0},
     {}},
    // The same ring with a pump running up its curve on unknown 2 (at 1.5 m³/s
    // its head 42.5 m rises by 10 per m³/s): the first loop's own slope is
    // 1 − 10 = −9, so the system of the loops is not definite and must be pivoted.
    //   Q1 − Q2 − Q3 = −1.5   → F = 0     h1 + h2 = −42.5        → F = 1
    //   Q3 − Q4 = 0           → F = 0     −h2 + h3 + h4 = 1052.5 → F = 90
    // Eliminated by hand: b = −101/991, c = d = 82/991, a = b + c = −19/991.
    {"LoopWithAPumpRunningUpItsCurve",
     {1.0, -10.0, 100.0, 1000.0},
     {1.0L, 1.5L, 1.0L, 1.0L},
     kTwoLoopRing,
     {-1.5, 0.0, -42.5, 1052.5},
     {-19.0 / 991.0, -101.0 / 991.0, 82.0 / 991.0, 82.0 / 991.0},
     {}},
};

class MatrixEquationsElimination : public ::testing::TestWithParam<TLinearSystemCase> {
protected:
    // Residuals, then one Newton step; the step must succeed.
    static void Step(TMatrixEquations& engine) {
        bool ok = false;
        engine.CalculateF(ok);
        ASSERT_TRUE(ok);
        std::int32_t errorCode = 99;
        std::vector<std::string> log;
        std::string message = "stale";
        engine.SolveQDeltas(ok, errorCode, log, message);
        EXPECT_TRUE(ok);
        EXPECT_EQ(errorCode, 0);
        EXPECT_TRUE(log.empty());
    }
};

}  // namespace

TEST_P(MatrixEquationsElimination, StepIsTheSolutionOfTheLinearSystem) {
    const TLinearSystemCase& c = GetParam();
    const auto engine = LinearSystem(c);
    Step(*engine);
    for (std::int32_t j = 1; j <= static_cast<std::int32_t>(c.slopes.size()); ++j)
        EXPECT_REL_NEAR(static_cast<double>(engine->QDeltas[j]), c.expectedDeltas[at(j)], 1e-12) << "unknown " << j;
    EXPECT_LT(RelativeStepResidual(*engine), 1e-15L);
}

// The equations are only put in another order: each keeps its codes, its known
// and its residual, and a repeated equation goes after the pivot equations.
TEST_P(MatrixEquationsElimination, EquationsAreReorderedWithTheirKnownsAndResiduals) {
    const TLinearSystemCase& c = GetParam();
    const auto engine = LinearSystem(c);
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    std::map<TEquation, long double> residualOf;
    for (std::int32_t i = 1; i <= engine->NumberOfEquations; ++i) residualOf[EquationAt(*engine, i)] = engine->FResults[i];

    Step(*engine);
    const std::vector<std::size_t> positions = PositionsOfGivenEquations(*engine, c);
    for (std::int32_t i = 1; i <= engine->NumberOfEquations; ++i)
        EXPECT_EQ(engine->FResults[i], residualOf[EquationAt(*engine, i)]) << "equation now at " << i;
    if (!c.dependentPair.empty()) {
        const std::size_t last = c.codes.size() - 1;
        const bool firstLeftOver = positions[c.dependentPair[0]] == last;
        const bool secondLeftOver = positions[c.dependentPair[1]] == last;
        EXPECT_TRUE(firstLeftOver != secondLeftOver) << "one of the repeated equations comes last";
    }
}

// The order found by the first step holds for the steps after it, and the
// residuals are evaluated in it.
TEST_P(MatrixEquationsElimination, ExchangesArePermanent) {
    const TLinearSystemCase& c = GetParam();
    const auto engine = LinearSystem(c);
    Step(*engine);
    std::vector<TEquation> orderAfterFirstStep;
    for (std::int32_t i = 1; i <= engine->NumberOfEquations; ++i) orderAfterFirstStep.push_back(EquationAt(*engine, i));

    engine->SubtractQDeltasFromQVariables(0.5L);
    Step(*engine);
    for (std::int32_t i = 1; i <= engine->NumberOfEquations; ++i)
        EXPECT_EQ(EquationAt(*engine, i), orderAfterFirstStep[at(i)]) << "equation " << i;
    EXPECT_LT(RelativeStepResidual(*engine), 1e-15L);
}

INSTANTIATE_TEST_SUITE_P(LinearSystems, MatrixEquationsElimination, ::testing::ValuesIn(kLinearSystems),
                         [](const auto& info) { return std::string(info.param.name); });

// The two-loop ring of above with a nearly closed valve on the shared unknown 2
// (slope 1e5) and wide pipes elsewhere (slope 0.01): the loop system is
// [[1e5 + 0.01, −1e5], [−1e5, 1e5 + 0.02]], whose condition number is near 1e7.
// A step solved in double precision alone misses the system by about 2e-10 of
// the residuals here; in extended precision by a few 1e-14 (the rounding of
// sums of terms near 3e6), well within the bound.
TEST(MatrixEquationsStep, IllConditionedLoopSystemIsSolvedToExtendedPrecision) {
    const TLinearSystemCase c{
        "NearlyClosedValveBetweenTwoLoops",
        {0.01, 1e5, 0.01, 0.01},
        {1.0L, 1.0L, 1.0L, 1.0L},
        kTwoLoopRing,
        {-1.0, 0.0, 1e5 - 0.99, -1e5 + 0.02},
        {},
        {}};
    const auto engine = LinearSystem(c);
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    std::int32_t errorCode = 99;
    std::vector<std::string> log;
    std::string message;
    engine->SolveQDeltas(ok, errorCode, log, message);
    ASSERT_TRUE(ok);
    EXPECT_EQ(errorCode, 0);
    EXPECT_LT(RelativeStepResidual(*engine), 1e-12L);
}

namespace {

struct TZeroPivotCase {
    const char* name;
    std::int32_t unknowns;
    std::int32_t equations;
    std::function<void(TMatrixEquations&)> build;
};

void PrintTo(const TZeroPivotCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsZeroPivot : public ::testing::TestWithParam<TZeroPivotCase> {};

constexpr const char* kTooSmall = "Calculated equation values are too small. Reset and continue.";

}  // namespace

// A vanishing pivot keeps the previous step, reports -1 and tells the log once
// per attempt.
TEST_P(MatrixEquationsZeroPivot, KeepsThePreviousStepAndLogsOncePerAttempt) {
    const TZeroPivotCase& c = GetParam();
    auto engine = MakeEngine(c.unknowns, c.equations);
    SetFluid(*engine, kOil);
    c.build(*engine);
    for (std::int32_t j = 1; j <= c.unknowns; ++j) engine->QDeltas[j] = 0.125L * j;
    engine->IterationCountTotal = 3;
    engine->LastSmallValuesReport = 2;

    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message = "stale";
    engine->SolveQDeltas(ok, errorCode, log, message);
    EXPECT_FALSE(ok);
    EXPECT_EQ(errorCode, -1);
    EXPECT_EQ(message, "");
    EXPECT_EQ(log, std::vector<std::string>{kTooSmall});
    EXPECT_EQ(engine->LastSmallValuesReport, 3);
    for (std::int32_t j = 1; j <= c.unknowns; ++j) EXPECT_EQ(engine->QDeltas[j], 0.125L * j);

    engine->SolveQDeltas(ok, errorCode, log, message);
    EXPECT_EQ(errorCode, -1);
    EXPECT_EQ(log.size(), 1u) << "a second failure in the same attempt is not logged again";

    engine->IterationCountTotal = 4;
    engine->SolveQDeltas(ok, errorCode, log, message);
    EXPECT_EQ(log, (std::vector<std::string>{kTooSmall, kTooSmall}));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, MatrixEquationsZeroPivot,
    ::testing::Values(
        // The friction derivative 16·f·L·|Q|/(D⁵·π²·g) is 0 at zero flow.
        TZeroPivotCase{"PipeWithoutFrictionOrFittings", 1, 1,
                       [](TMatrixEquations& e) {
                           SetPipe(e, 1, kNoFrictionPipe);
                           e.QMatrix[1][1] = TCode::CodeWalkedForward;
                           e.QKnowns[1] = 5.0;
                       }},
        // Two pipes without friction in parallel from J1 to J2: the loop's head
        // equation h1 − h2 = 0 has a zero row.
        TZeroPivotCase{"ClosedLoopOfPipesWithoutFriction", 2, 2,
                       [](TMatrixEquations& e) {
                           SetPipe(e, 1, kNoFrictionPipe);
                           SetPipe(e, 2, kNoFrictionPipe);
                           SetEquation(e, 1, {TCode::CodeFlowLeaves, TCode::CodeFlowLeaves}, 0.0);
                           SetEquation(e, 2, {TCode::CodeWalkedForward, TCode::CodeWalkedBackward}, 0.0);
                       }},
        // A network's only loop runs through pipes without friction: a tank feeds
        // join point A (pipe 1), and pipes 2 (A to B) and 3 (B to A) close the loop.
        // Continuity alone cannot split the flow between 2 and 3, and the loop's
        // own system is the 1 x 1 zero.
        TZeroPivotCase{"NetworkLoopWithoutSlope", 3, 3,
                       [](TMatrixEquations& e) {
                           SetPipe(e, 1, kLaminarPipe);
                           SetPipe(e, 2, kNoFrictionPipe);
                           SetPipe(e, 3, kNoFrictionPipe);
                           SetEquation(e, 1, {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeFlowEnters},
                                       0.01);
                           SetEquation(e, 2, {TCode::CodeNotInEquation, TCode::CodeFlowEnters, TCode::CodeFlowLeaves},
                                       0.0);
                           SetEquation(e, 3,
                                       {TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedForward},
                                       0.0);
                       }},
        // Q1 = 1 twice, Q2 in no equation: the second row reduces to zeros.
        TZeroPivotCase{"UnknownInNoEquation", 2, 2,
                       [](TMatrixEquations& e) {
                           SetEquation(e, 1, {TCode::CodeFlowEnters, TCode::CodeNotInEquation}, 1.0);
                           SetEquation(e, 2, {TCode::CodeFlowEnters, TCode::CodeNotInEquation}, 1.0);
                       }},
        // Two unknowns, one equation: whatever an unused row holds, there is no second pivot.
        TZeroPivotCase{"FewerEquationsThanUnknowns", 2, 1,
                       [](TMatrixEquations& e) {
                           SetEquation(e, 1, {TCode::CodeFlowEnters, TCode::CodeFlowLeaves}, 1.0);
                           e.QMatrix[2][2] = TCode::CodeFlowEnters;
                           e.QKnowns[2] = 1.0;
                       }}),
    [](const auto& info) { return std::string(info.param.name); });

// A step too large for extended precision is an arithmetic failure, -3.
TEST(MatrixEquationsStep, StepWithoutAFiniteValueReportsTheArithmeticFailure) {
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kWater);
    // Jacobian entry 2·G·Q = 2·1e-300·1e-300 = 2e-600, residual 1e4500:
    // the step 5e5099 is beyond the range of extended precision.
    SetPipe(*engine, 1, {0.1, 4.5e-5, 0.0, 1e-300});
    engine->QVariables[1] = 1e-300L;
    engine->QMatrix[1][1] = TCode::CodeWalkedForward;
    engine->FResults[1] = 1e4500L;

    bool ok = true;
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message;
    engine->SolveQDeltas(ok, errorCode, log, message);
    EXPECT_FALSE(ok);
    EXPECT_EQ(errorCode, -3);
    EXPECT_EQ(message, "Calculation of flow adjustments did not converge.");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(engine->QDeltas[1], 0.0L) << "the previous step is kept";
}

TEST(MatrixEquationsStep, SubtractingAStepBeyondTheRangeRaises) {
    const auto engine = MakeEngine(2, 2);
    engine->QVariables[1] = 1.0L;
    engine->QDeltas[1] = 0.5L;
    engine->QVariables[2] = -1e4932L;  // the largest extended value is about 1.19e4932
    engine->QDeltas[2] = 1e4932L;
    EXPECT_THROW(engine->SubtractQDeltasFromQVariables(2.0L), EMatrixEquations);
    // 1 − 2·0.5: the flows before the failing one are already moved.
    EXPECT_EQ(engine->QVariables[1], 0.0L);
}

TEST(MatrixEquationsStep, SubtractsTheScaledStepFromEveryUnknownInUse) {
    const auto engine = MakeEngine(2, 2);
    engine->QVariables[1] = 1.0L;
    engine->QVariables[2] = -2.0L;
    engine->QVariables[3] = 7.0L;
    engine->QDeltas[1] = 0.5L;
    engine->QDeltas[2] = -4.0L;
    engine->QDeltas[3] = 1.0L;
    engine->SubtractQDeltasFromQVariables(-1.5L);
    EXPECT_EQ(engine->QVariables[1], 1.75L);   // 1 + 1.5·0.5
    EXPECT_EQ(engine->QVariables[2], -8.0L);   // −2 + 1.5·(−4)
    EXPECT_EQ(engine->QVariables[3], 7.0L);    // beyond N
}
