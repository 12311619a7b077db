#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "EngineSetup.h"
#include "HydraulicReference.h"
#include "common/FuzzyCompare.h"

namespace {

// What sits on an unknown's pipe in these tests. Every kind but the laminar one
// has no length, so its friction is 0 and only the item on it counts.
enum class TPipeKind { Laminar, Fittings, Pump, TwoPointPump, FixedComponent, CurveComponent };

constexpr double kFittingG = 50.0;           // fitting loss 50·Q·|Q|
constexpr double kComponentLoss_bar = 0.5;   // fixed component loss
constexpr double kComponentSlope = 200.0;    // m.H2O per m³/s

// Oil of 900 kg/m³: one metre of water is 1000/900 metres of oil, and
// 0.5 bar is 0.5·100000 / (9.80665·900) = 5.66504… m of oil.
const double kWaterToOil = 1000.0 / 900.0;
const double kComponentLoss_mHd = kComponentLoss_bar * 100000.0 / (9.80665 * 900.0);
// Head per flow of the laminar oil pipe, h = c·Q.
const double kLaminarC = static_cast<double>(LaminarHeadPerFlow(kLaminarPipe, kOil));

void Equip(TMatrixEquations& engine, std::int32_t j, TPipeKind kind) {
    switch (kind) {
        case TPipeKind::Laminar: SetPipe(engine, j, kLaminarPipe); return;
        case TPipeKind::Fittings: SetPipe(engine, j, {0.1, 4.5e-5, 0.0, kFittingG}); return;
        case TPipeKind::Pump: engine.QPump[j].CopyPump(ThreePointPump()); break;
        case TPipeKind::TwoPointPump: engine.QPump[j].CopyPump(TwoPointPump()); break;
        case TPipeKind::FixedComponent:
            engine.QComponent[j].CopyComponentPressure(FixedLossComponent(kComponentLoss_bar));
            break;
        case TPipeKind::CurveComponent:
            engine.QComponent[j].CopyComponentPressure(LinearCurveComponent(kComponentSlope));
            break;
    }
    SetPipe(engine, j, kNoFrictionPipe);
}

struct TUnknown {
    TPipeKind kind;
    long double flow_m3s;
};

struct TEquationCase {
    const char* name;
    std::vector<TUnknown> unknowns;
    std::vector<std::uint8_t> codes;
    double known;
    bool isHeadEquation;
    std::function<double()> expectedResidual;  // hand-computed
    std::function<double()> expectedJacobianOfFirstUnknown;
};

void PrintTo(const TEquationCase& c, std::ostream* os) { *os << c.name; }

std::unique_ptr<TMatrixEquations> EngineWithOneEquation(const TEquationCase& c) {
    const auto n = static_cast<std::int32_t>(c.unknowns.size());
    auto engine = MakeEngine(n, 1);
    SetFluid(*engine, kOil);
    for (std::int32_t j = 1; j <= n; ++j) {
        Equip(*engine, j, c.unknowns[static_cast<std::size_t>(j - 1)].kind);
        engine->QVariables[j] = c.unknowns[static_cast<std::size_t>(j - 1)].flow_m3s;
    }
    for (std::int32_t j = 1; j <= n; ++j) engine->QMatrix[1][j] = c.codes[static_cast<std::size_t>(j - 1)];
    engine->QKnowns[1] = c.known;
    return engine;
}

using TCode = TMatrixEquations;

const std::vector<TEquationCase> kEquationCases = {
    // 0.03 − 0.01 − 0.005; the third unknown is not in the equation.
    {"ContinuityAddsInflowAndSubtractsOutflow",
     {{TPipeKind::Laminar, 0.03L}, {TPipeKind::Laminar, 0.01L}, {TPipeKind::Laminar, 1e6L}},
     {TCode::CodeFlowEnters, TCode::CodeFlowLeaves, TCode::CodeNotInEquation},
     0.005, false, [] { return 0.015; }, [] { return 1.0; }},
    {"PipeWalkedForwardAddsItsLoss", {{TPipeKind::Laminar, 0.002L}}, {TCode::CodeWalkedForward}, 10.0, true,
     [] { return kLaminarC * 0.002 - 10.0; }, [] { return 2.0 * kLaminarC; }},
    {"PipeWalkedBackwardSubtractsItsLoss", {{TPipeKind::Laminar, 0.002L}}, {TCode::CodeWalkedBackward}, -3.0, true,
     [] { return -kLaminarC * 0.002 + 3.0; }, [] { return -2.0 * kLaminarC; }},
    // 50·(−0.01)·0.01 = −0.005; the loss rises with the flow on both sides of zero,
    // so the Jacobian entry is 2·G·|Q| = +1.
    {"FittingLossHasTheSignOfTheFlow", {{TPipeKind::Fittings, -0.01L}}, {TCode::CodeWalkedForward}, 0.0, true,
     [] { return -0.005; }, [] { return 1.0; }},
    // Head 48 m.H2O at 0.01 m³/s, slope 2·(−30000)·0.01 + 100 = −500 m.H2O per m³/s;
    // at 0.015 the slope is 2·(−30000)·0.015 + 100 = −800.
    {"PumpHeadIsSubtracted", {{TPipeKind::Pump, 0.01L}}, {TCode::CodeWalkedForward}, -50.0, true,
     [] { return -48.0 * kWaterToOil + 50.0; }, [] { return 500.0 * kWaterToOil; }},
    {"PumpSlopeIsSubtracted", {{TPipeKind::Pump, 0.015L}}, {TCode::CodeWalkedForward}, 0.0, true,
     [] { return -(-30000.0 * 0.015 * 0.015 + 100.0 * 0.015 + 50.0) * kWaterToOil; },
     [] { return 800.0 * kWaterToOil; }},
    // The pump's own rule for reversed flow; the engine subtracts whatever slope it gives.
    {"PumpHeadIsSignedLikeTheFlow", {{TPipeKind::Pump, -0.01L}}, {TCode::CodeWalkedForward}, 0.0, true,
     [] { return 48.0 * kWaterToOil; },
     [] { return -ThreePointPump().calcPumpHead_mHd_Fluid_Differential(-0.01, kOil.Density_kgm3); }},
    {"PumpWithoutACurveAddsNothing", {{TPipeKind::TwoPointPump, 0.01L}}, {TCode::CodeWalkedForward}, 1.0, true,
     [] { return -1.0; }, [] { return 0.0; }},
    {"FixedComponentLossOnForwardFlow", {{TPipeKind::FixedComponent, 0.01L}}, {TCode::CodeWalkedForward}, 0.0, true,
     [] { return kComponentLoss_mHd; }, [] { return 0.0; }},
    // A reversed flow loses head across the component too: the loss takes the
    // flow's sign (taken unsigned it would push the fluid on like a pump).
    {"FixedComponentLossOpposesReversedFlow", {{TPipeKind::FixedComponent, -0.01L}}, {TCode::CodeWalkedForward},
     0.0, true, [] { return -kComponentLoss_mHd; }, [] { return 0.0; }},
    // 200·0.02 = 4 m.H2O against the flow; the slope stays positive.
    {"CurveComponentLossOpposesReversedFlow", {{TPipeKind::CurveComponent, -0.02L}}, {TCode::CodeWalkedForward},
     0.0, true, [] { return -4.0 * kWaterToOil; }, [] { return kComponentSlope * kWaterToOil; }},
    {"ComponentWalkedBackwardOnReversedFlow", {{TPipeKind::CurveComponent, -0.02L}}, {TCode::CodeWalkedBackward},
     1.0, true, [] { return 4.0 * kWaterToOil - 1.0; }, [] { return -kComponentSlope * kWaterToOil; }},
    // c·0.002 − 50·0.02·0.02 − 5
    {"LoopOfTwoPipes",
     {{TPipeKind::Laminar, 0.002L}, {TPipeKind::Fittings, 0.02L}},
     {TCode::CodeWalkedForward, TCode::CodeWalkedBackward},
     5.0, true, [] { return kLaminarC * 0.002 - 0.02 - 5.0; }, [] { return 2.0 * kLaminarC; }},
};

class MatrixEquationsTerms : public ::testing::TestWithParam<TEquationCase> {};

}  // namespace

TEST_P(MatrixEquationsTerms, ResidualIsTheSumOfTheCodedTermsMinusTheKnown) {
    const TEquationCase& c = GetParam();
    const auto engine = EngineWithOneEquation(c);
    engine->FIsHeadEquation[1] = !c.isHeadEquation;
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    EXPECT_REL_NEAR(static_cast<double>(engine->FResults[1]), c.expectedResidual(), 1e-12);
    EXPECT_EQ(engine->FIsHeadEquation[1], c.isHeadEquation);
}

TEST_P(MatrixEquationsTerms, JacobianEntryFollowsTheCode) {
    const TEquationCase& c = GetParam();
    const auto engine = EngineWithOneEquation(c);
    engine->CalculateDMatrix();
    EXPECT_REL_NEAR(static_cast<double>(engine->JacobianEntry(1, 1)), c.expectedJacobianOfFirstUnknown(), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Codes, MatrixEquationsTerms, ::testing::ValuesIn(kEquationCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Without a pump a pipe's loss is odd in the flow: reversing every flow
// reverses every residual of an equation with no constant.
TEST(MatrixEquationsResidual, ReversedFlowsReverseTheLossOfAPipeWithEveryKindOfLoss) {
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, {0.05, 4.5e-5, 100.0, kFittingG});
    engine->QComponent[1].CopyComponentPressure(FixedLossComponent(kComponentLoss_bar));
    engine->QMatrix[1][1] = TMatrixEquations::CodeWalkedForward;

    bool ok = false;
    engine->QVariables[1] = 0.003L;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    const long double forward = engine->FResults[1];
    engine->QVariables[1] = -0.003L;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    // c·0.003 + 50·0.003² + 5.665…
    EXPECT_REL_NEAR(static_cast<double>(forward), kLaminarC * 0.003 + kFittingG * 0.003 * 0.003 + kComponentLoss_mHd,
                    1e-12);
    EXPECT_EQ(engine->FResults[1], -forward);
}

// The engine keeps what a pipe's friction factor takes from its bore and
// roughness between evaluations; a pipe changed in between must be evaluated as
// it is now. Water in turbulent flow, against the independent reference with
// the formulas' own friction factor.
TEST(MatrixEquationsResidual, APipeChangedBetweenEvaluationsIsEvaluatedAsItIsNow) {
    const TReferencePipe pipes[] = {{0.1, 4.5e-5, 100.0, 0.0}, {0.08, 1.5e-4, 100.0, 0.0}, {0.08, 0.0, 100.0, 0.0}};
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kWater);
    engine->QMatrix[1][1] = TMatrixEquations::CodeWalkedForward;
    engine->QVariables[1] = 0.02L;
    for (const TReferencePipe& pipe : pipes) {
        SCOPED_TRACE(testing::Message() << "D=" << pipe.Diameter_m << " eps=" << pipe.Roughness_m);
        SetPipe(*engine, 1, pipe);
        bool ok = false;
        engine->CalculateF(ok);
        ASSERT_TRUE(ok);
        EXPECT_REL_NEAR(static_cast<double>(engine->FResults[1]),
                        static_cast<double>(ReferencePipeHeadLoss_mHd(pipe, kWater, 0.02L, TFrictionFactorSource::Formulas)),
                        1e-12);
    }
}

TEST(MatrixEquationsResidual, EveryEquationUpToMIsEvaluated) {
    const auto engine = MakeEngine(2, 3);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, kLaminarPipe);
    SetPipe(*engine, 2, kLaminarPipe);
    engine->QVariables[1] = 0.004L;
    engine->QVariables[2] = 0.001L;
    SetEquation(*engine, 1, {TCode::CodeFlowEnters, TCode::CodeFlowLeaves}, 0.0);
    SetEquation(*engine, 2, {TCode::CodeWalkedForward, TCode::CodeWalkedBackward}, 0.0);
    SetEquation(*engine, 3, {TCode::CodeNotInEquation, TCode::CodeFlowEnters}, 0.002);
    bool ok = false;
    engine->CalculateF(ok);
    ASSERT_TRUE(ok);
    EXPECT_REL_NEAR(static_cast<double>(engine->FResults[1]), 0.003, 1e-15);
    EXPECT_REL_NEAR(static_cast<double>(engine->FResults[2]), kLaminarC * 0.003, 1e-12);  // c·0.004 − c·0.001
    EXPECT_REL_NEAR(static_cast<double>(engine->FResults[3]), -0.001, 1e-15);
    EXPECT_FALSE(engine->FIsHeadEquation[1]);
    EXPECT_TRUE(engine->FIsHeadEquation[2]);
    EXPECT_FALSE(engine->FIsHeadEquation[3]);
}

struct TFailureCase {
    const char* name;
    std::function<void(TMatrixEquations&)> spoil;
};

void PrintTo(const TFailureCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsEvaluationFailures : public ::testing::TestWithParam<TFailureCase> {};

// A failed evaluation is reported, never thrown and never a silent infinity.
TEST_P(MatrixEquationsEvaluationFailures, AreReportedAsNotOk) {
    const auto engine = MakeEngine(1, 1);
    SetFluid(*engine, kOil);
    SetPipe(*engine, 1, kLaminarPipe);
    engine->QVariables[1] = 0.002L;
    engine->QMatrix[1][1] = TMatrixEquations::CodeWalkedForward;
    GetParam().spoil(*engine);
    bool ok = true;
    engine->CalculateF(ok);
    EXPECT_FALSE(ok);

    bool accurate = false;
    long double size = 42.0L;
    engine->CalculateAndCheckFAccurate(ok, accurate, size);
    EXPECT_FALSE(ok);
    EXPECT_EQ(size, 42.0L);  // untouched when the evaluation failed
}

INSTANTIATE_TEST_SUITE_P(
    Causes, MatrixEquationsEvaluationFailures,
    ::testing::Values(
        TFailureCase{"FlowBeyondTheRangeOfTheFormulas", [](TMatrixEquations& e) { e.QVariables[1] = 1e400L; }},
        TFailureCase{"NotANumberFlow",
                     [](TMatrixEquations& e) { e.QVariables[1] = std::numeric_limits<long double>::quiet_NaN(); }},
        // A fluid without density turns the component's loss into 0/0.
        TFailureCase{"FluidWithoutDensity",
                     [](TMatrixEquations& e) {
                         e.FluidDensity = 0.0;
                         e.QComponent[1].CopyComponentPressure(FixedLossComponent(0.5));
                     }},
        TFailureCase{"UnknownCoefficientCode", [](TMatrixEquations& e) { e.QMatrix[1][1] = 7; }}),
    [](const auto& info) { return std::string(info.param.name); });

struct TAccuracyCase {
    const char* name;
    std::vector<long double> residuals;  // equations 1..3; equation 3 lies beyond N = 2
    std::vector<bool> headEquations;
    bool expectedAccurate;
};

void PrintTo(const TAccuracyCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsAccuracy : public ::testing::TestWithParam<TAccuracyCase> {};

// Flow tolerance 1e-6 m³/s, head tolerance 0.01 m; N = 2, M = 3.
TEST_P(MatrixEquationsAccuracy, EachOfTheFirstNEquationsMeetsItsOwnTolerance) {
    const TAccuracyCase& c = GetParam();
    const auto engine = MakeEngine(2, 3);
    engine->FlowTolerance = 1e-6;
    engine->HeadToleranceCurrent = 0.01;
    for (std::int32_t i = 1; i <= 3; ++i) {
        engine->FResults[i] = c.residuals[static_cast<std::size_t>(i - 1)];
        engine->FIsHeadEquation[i] = c.headEquations[static_cast<std::size_t>(i - 1)];
    }
    EXPECT_EQ(engine->CheckFAccurate(), c.expectedAccurate);

    // Size = ½·(F1² + F2²); equation 3 is not part of it either.
    long double size = 0.0L;
    bool ok = false;
    engine->CalculateFResultsSize(size, ok);
    EXPECT_TRUE(ok);
    const double f1 = static_cast<double>(c.residuals[0]);
    const double f2 = static_cast<double>(c.residuals[1]);
    EXPECT_REL_NEAR(static_cast<double>(size), 0.5 * (f1 * f1 + f2 * f2), 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Tolerances, MatrixEquationsAccuracy,
    ::testing::Values(
        TAccuracyCase{"BothWithin", {5e-7L, -0.005L, 100.0L}, {false, true, true}, true},
        // The tolerances are doubles; a residual equal to them passes.
        TAccuracyCase{"ExactlyAtTheTolerancesPasses",
                      {static_cast<long double>(1e-6), static_cast<long double>(-0.01), 0.0L},
                      {false, true, false},
                      true},
        // 0.005 m³/s would pass a head equation but fails a continuity equation.
        TAccuracyCase{"FlowEquationJudgedByTheFlowTolerance", {0.005L, 0.0L, 0.0L}, {false, true, false}, false},
        TAccuracyCase{"HeadEquationOverItsTolerance", {0.0L, 0.0101L, 0.0L}, {false, true, false}, false},
        TAccuracyCase{"NegativeResidualsCountByMagnitude", {-2e-6L, 0.0L, 0.0L}, {false, true, false}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatrixEquationsResidual, ResidualSizeWithoutAFiniteValueIsReportedAsFailed) {
    const auto engine = MakeEngine(2, 2);
    engine->FResults[1] = 1e3000L;  // its square overflows even extended precision
    engine->FResults[2] = 1.0L;
    long double size = 0.0L;
    bool ok = true;
    engine->CalculateFResultsSize(size, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(size, 9999999999999.0L);
}

struct TNegativeCase {
    const char* name;
    std::vector<long double> flows;  // unknowns 1..3
    std::int32_t unknownsInUse;
    bool expectedNegative;
};

void PrintTo(const TNegativeCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsNegativeFlows : public ::testing::TestWithParam<TNegativeCase> {};

TEST_P(MatrixEquationsNegativeFlows, OnlyUnknownsInUseCount) {
    const TNegativeCase& c = GetParam();
    const auto engine = MakeEngine(c.unknownsInUse, c.unknownsInUse);
    for (std::int32_t j = 1; j <= 3; ++j) engine->QVariables[j] = c.flows[static_cast<std::size_t>(j - 1)];
    EXPECT_EQ(engine->IsAnyQVariableNegative(), c.expectedNegative);
}

INSTANTIATE_TEST_SUITE_P(Flows, MatrixEquationsNegativeFlows,
                         ::testing::Values(TNegativeCase{"AllPositive", {0.1L, 0.2L, 0.3L}, 3, false},
                                           TNegativeCase{"ZeroIsNotNegative", {0.0L, -0.0L, 0.3L}, 3, false},
                                           // Within the flow tolerance (1e-6) of zero a flow is zero.
                                           TNegativeCase{"TinyNegativeIsZero", {0.1L, 0.2L, -1e-30L}, 3, false},
                                           TNegativeCase{"NegativeBeyondTheTolerance", {0.1L, 0.2L, -2e-6L}, 3, true},
                                           TNegativeCase{"NegativeBeyondN", {0.1L, 0.2L, -1.0L}, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });
