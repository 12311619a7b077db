#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "EngineSetup.h"
#include "common/FuzzyCompare.h"

namespace {

using TCode = TMatrixEquations;

// Small systems whose head terms are linear: each unknown's pipe has no length
// and carries a component whose loss is slope·Q (water, so one metre of water is
// one metre of fluid), and its Jacobian entry is the slope. A slope of 0 leaves
// the unknown to continuity equations only.
struct TLinearSystemCase {
    const char* name;
    std::vector<double> slopes;
    std::vector<long double> flows;
    std::vector<std::vector<std::uint8_t>> codes;
    std::vector<double> knowns;
    // After elimination, rows 1..M:
    std::vector<std::vector<std::uint8_t>> codesAfter;
    std::vector<double> knownsAfter;
    std::vector<double> residualsAfter;
    std::vector<std::vector<double>> jacobianAfter;
    std::vector<double> reducedKnownsAfter;
    std::vector<double> expectedDeltas;
};

void PrintTo(const TLinearSystemCase& c, std::ostream* os) { *os << c.name; }

std::unique_ptr<TMatrixEquations> LinearSystem(const TLinearSystemCase& c) {
    const auto n = static_cast<std::int32_t>(c.slopes.size());
    const auto m = static_cast<std::int32_t>(c.codes.size());
    auto engine = MakeEngine(n, m);
    SetFluid(*engine, kWater);
    for (std::int32_t j = 1; j <= n; ++j) {
        SetPipe(*engine, j, kNoFrictionPipe);
        const double slope = c.slopes[static_cast<std::size_t>(j - 1)];
        if (slope != 0.0) engine->QComponent[j].CopyComponentPressure(LinearCurveComponent(slope));
        engine->QVariables[j] = c.flows[static_cast<std::size_t>(j - 1)];
    }
    for (std::int32_t i = 1; i <= m; ++i) {
        for (std::int32_t j = 1; j <= n; ++j)
            engine->QMatrix[i][j] = c.codes[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
        engine->QKnowns[i] = c.knowns[static_cast<std::size_t>(i - 1)];
    }
    return engine;
}

std::size_t at(std::int32_t oneBased) { return static_cast<std::size_t>(oneBased - 1); }

const std::vector<TLinearSystemCase> kLinearSystems = {
    // Unknowns with slopes 4 and 2 at Q = (1, 0.5); three equations for two unknowns:
    //   r1  Q1 − Q2 = 0.25   → F = 0.25    D = ( 1, −1)
    //   r2  h1 + h2 = 3      → F = 2       D = ( 4,  2)
    //   r3 −h1 + h2 = −1     → F = −2      D = (−4,  2)
    // Column 1: |4| beats |1|; |−4| only equals it, so the first (r2) wins: r1 ↔ r2.
    // Row 2 (r1): factor 4/1 = 4 → (0, 2 − 4·(−1)) = (0, 6), K = 2 − 4·0.25 = 1.
    // Row 3 (r3): factor 4/(−4) = −1 → (0, 2 + 2) = (0, 4), K = 2 + (−2) = 0.
    // Column 2: |6| beats |4|, no exchange. ΔQ2 = 1/6, ΔQ1 = (2 − 2/6)/4 = 5/12.
    // The third row is not used by the step.
    {"LargestPivotWinsAndTheFirstOfEqualsStays",
     {4.0, 2.0},
     {1.0L, 0.5L},
     {{TCode::CodeFlowEnters, TCode::CodeFlowLeaves},
      {TCode::CodeWalkedForward, TCode::CodeWalkedForward},
      {TCode::CodeWalkedBackward, TCode::CodeWalkedForward}},
     {0.25, 3.0, -1.0},
     {{TCode::CodeWalkedForward, TCode::CodeWalkedForward},
      {TCode::CodeFlowEnters, TCode::CodeFlowLeaves},
      {TCode::CodeWalkedBackward, TCode::CodeWalkedForward}},
     {3.0, 0.25, -1.0},
     {2.0, 0.25, -2.0},
     {{4.0, 2.0}, {0.0, 6.0}, {0.0, 4.0}},
     {2.0, 1.0, 0.0},
     {5.0 / 12.0, 1.0 / 6.0}},
    // Unknown 1 in continuity only, slopes 3 and 5 for unknowns 2 and 3, Q = (1, 1, 1):
    //   r1  h2 + h3 = 6      → F = 2       D = (0, 3,  5)
    //   r2  h2 − h3 = −1     → F = −1      D = (0, 3, −5)
    //   r3  Q1 − Q2 = 0.5    → F = −0.5    D = (1, −1, 0)
    // Column 1: only r3 is non-zero: r1 ↔ r3. The rows with 0 in column 1 are not touched.
    // Column 2: 3 and 3, the first (r2) stays. Row 3 (r1): factor 3/3 = 1 →
    //   (0, 0, −5 − 5) = (0, 0, −10), K = −1 − 2 = −3.
    // ΔQ3 = −3/−10 = 0.3; ΔQ2 = (−1 + 5·0.3)/3 = 1/6; ΔQ1 = −0.5 + 1/6 = −1/3.
    {"RowsWithZeroInThePivotColumnAreLeftAsTheyAre",
     {0.0, 3.0, 5.0},
     {1.0L, 1.0L, 1.0L},
     {{TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedForward},
      {TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedBackward},
      {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeNotInEquation}},
     {6.0, -1.0, 0.5},
     {{TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeNotInEquation},
      {TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedBackward},
      {TCode::CodeNotInEquation, TCode::CodeWalkedForward, TCode::CodeWalkedForward}},
     {0.5, -1.0, 6.0},
     {-0.5, -1.0, 2.0},
     {{1.0, -1.0, 0.0}, {0.0, 3.0, -5.0}, {0.0, 0.0, -10.0}},
     {-0.5, -1.0, -3.0},
     {-1.0 / 3.0, 1.0 / 6.0, 0.3}},
};

class MatrixEquationsElimination : public ::testing::TestWithParam<TLinearSystemCase> {};

}  // namespace

TEST_P(MatrixEquationsElimination, ExchangesAndReducesRowsAsHandComputed) {
    const TLinearSystemCase& c = GetParam();
    const auto engine = LinearSystem(c);
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    engine->CalculateDMatrixAndGaussElim(ok);
    ASSERT_TRUE(ok);

    const auto n = static_cast<std::int32_t>(c.slopes.size());
    for (std::int32_t i = 1; i <= static_cast<std::int32_t>(c.codes.size()); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        for (std::int32_t j = 1; j <= n; ++j) {
            EXPECT_EQ(engine->QMatrix[i][j], c.codesAfter[at(i)][at(j)]);
            EXPECT_REL_NEAR(static_cast<double>(engine->DMatrix[i][j]), c.jacobianAfter[at(i)][at(j)], 1e-12);
        }
        EXPECT_EQ(engine->QKnowns[i], c.knownsAfter[at(i)]);
        EXPECT_REL_NEAR(static_cast<double>(engine->FResults[i]), c.residualsAfter[at(i)], 1e-12);
        EXPECT_REL_NEAR(static_cast<double>(engine->DKnowns[i]), c.reducedKnownsAfter[at(i)], 1e-12);
    }
}

TEST_P(MatrixEquationsElimination, StepSolvesThePivotRows) {
    const TLinearSystemCase& c = GetParam();
    const auto engine = LinearSystem(c);
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    std::int32_t errorCode = 99;
    std::vector<std::string> log;
    std::string message = "stale";
    engine->SolveQDeltas(ok, errorCode, log, message);
    EXPECT_TRUE(ok);
    EXPECT_EQ(errorCode, 0);
    EXPECT_TRUE(log.empty());
    for (std::int32_t j = 1; j <= static_cast<std::int32_t>(c.slopes.size()); ++j)
        EXPECT_REL_NEAR(static_cast<double>(engine->QDeltas[j]), c.expectedDeltas[at(j)], 1e-12) << "unknown " << j;
}

INSTANTIATE_TEST_SUITE_P(LinearSystems, MatrixEquationsElimination, ::testing::ValuesIn(kLinearSystems),
                         [](const auto& info) { return std::string(info.param.name); });

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
        TZeroPivotCase{"PlainPipeAtZeroFlow", 1, 1,
                       [](TMatrixEquations& e) {
                           SetPipe(e, 1, kLaminarPipe);
                           e.QMatrix[1][1] = TCode::CodeWalkedForward;
                           e.QKnowns[1] = 5.0;
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
                           e.DMatrix[2][2] = 5.0L;
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
    EXPECT_EQ(engine->QDeltas[1], 0.0L);
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
