// The matrix engine's fast path against its plain dense path: the same systems,
// the same Newton loop, and afterwards the same outcome (solved, error code,
// message, iteration count, log lines) and the same tables bit for bit (flows,
// steps, residuals, equation order, reduced Jacobian).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "EngineComparison.h"
#include "EngineSetup.h"
#include "RandomNetworks.h"
#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"

namespace {

using TRandom = std::mt19937;
using TCode = TMatrixEquations;

double uniform(TRandom& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

std::int32_t pick(TRandom& random, std::int32_t low, std::int32_t high) {
    return std::uniform_int_distribution<std::int32_t>(low, high)(random);
}

bool chance(TRandom& random, double share) { return uniform(random, 0.0, 1.0) < share; }

// ---- Random coded systems ------------------------------------------------------------------------

struct TSystemShape {
    const char* Name;
    std::int32_t MinUnknowns;
    std::int32_t MaxUnknowns;
    std::int32_t ExtraEquations;  // M − N; negative for fewer equations than unknowns
    std::int32_t EntriesPerEquation;
    double ZeroFlowShare;
    double LinearComponentShare;  // pipes without length whose loss is slope·Q
    double SlopeDecades;          // linear slopes spread over 10^±decades
    bool FinalPhase;              // reduced steps; reversed steps not counted
    std::uint32_t Seeds;
};

void PrintTo(const TSystemShape& shape, std::ostream* out) { *out << shape.Name; }

void fillUnknown(TMatrixEquations& engine, std::int32_t j, const TSystemShape& shape, TRandom& random) {
    if (chance(random, shape.LinearComponentShare)) {
        SetPipe(engine, j, kNoFrictionPipe);
        const double slope = std::pow(10.0, uniform(random, -shape.SlopeDecades, shape.SlopeDecades));
        engine.QComponent[j].CopyComponentPressure(LinearCurveComponent(slope));
    } else {
        const double diameter_m = uniform(random, 0.05, 0.3);
        const double fittingG = chance(random, 0.3) ? uniform(random, 10.0, 5000.0) : 0.0;
        SetPipe(engine, j, {diameter_m, 4.5e-5, uniform(random, 10.0, 500.0), fittingG});
        if (chance(random, 0.1)) engine.QPump[j].CopyPump(ThreePointPump());
    }
    const double flow_m3s = uniform(random, 0.001, 0.1) * (chance(random, 0.2) ? -1.0 : 1.0);
    engine.QVariables[j] = chance(random, shape.ZeroFlowShare) ? 0.0L : static_cast<long double>(flow_m3s);
}

void fillEquation(TMatrixEquations& engine, std::int32_t i, const TSystemShape& shape, TRandom& random) {
    const std::int32_t N = engine.NumberOfQVariables;
    const bool head = chance(random, 0.5);
    for (std::int32_t entry = 0; entry < shape.EntriesPerEquation; ++entry) {
        const std::uint8_t code = head ? (chance(random, 0.5) ? TCode::CodeWalkedForward : TCode::CodeWalkedBackward)
                                       : (chance(random, 0.5) ? TCode::CodeFlowEnters : TCode::CodeFlowLeaves);
        engine.QMatrix[i][pick(random, 1, N)] = code;
    }
    engine.QKnowns[i] = head ? uniform(random, -20.0, 20.0) : uniform(random, -0.01, 0.01);
}

// The same random system in any engine for the same seed.
void fillRandomSystem(TMatrixEquations& engine, const TSystemShape& shape, std::uint32_t seed) {
    TRandom random(seed);
    const std::int32_t N = pick(random, shape.MinUnknowns, shape.MaxUnknowns);
    const std::int32_t M = std::max(1, N + shape.ExtraEquations);
    engine.ClearResults(N, M);
    SetFluid(engine, kWater);
    for (std::int32_t j = 1; j <= N; ++j) fillUnknown(engine, j, shape, random);
    for (std::int32_t i = 1; i <= M; ++i) fillEquation(engine, i, shape, random);
    engine.MaxIterationsCurrent = 40;
    if (shape.FinalPhase) {
        engine.MaxIterationsFinal = engine.MaxIterationsCurrent;
        engine.DeltaQFactorCurrent = 0.1;
        engine.HeadToleranceCurrent = 0.001;
    }
}

const TSystemShape kSystemShapes[] = {
    {"SquareSparse", 1, 30, 0, 3, 0.05, 0.3, 3.0, false, 40},
    {"SquareDenser", 1, 20, 0, 6, 0.0, 0.3, 3.0, false, 30},
    {"MoreEquationsThanUnknowns", 1, 25, 5, 3, 0.05, 0.3, 3.0, false, 30},
    {"FewerEquationsThanUnknowns", 2, 15, -2, 3, 0.0, 0.3, 3.0, false, 20},
    {"ManyZeroFlows", 1, 20, 0, 3, 0.5, 0.0, 0.0, false, 30},
    {"FinalPhaseSteps", 1, 30, 0, 3, 0.0, 0.3, 3.0, true, 30},
    // Slopes from 1e-150 to 1e150: pivots and factors far from 1.
    {"ExtremeSlopes", 1, 25, 0, 4, 0.0, 1.0, 150.0, false, 40},
    {"OneUnknown", 1, 1, 0, 1, 0.3, 0.5, 3.0, false, 20},
};

class EngineRandomDifferentialTest : public ::testing::TestWithParam<TSystemShape> {
protected:
    // Two engines reused for every seed: ClearResults empties them as the generator does.
    std::unique_ptr<TMatrixEquations> reference_ = MakeEngine(1, 1);
    std::unique_ptr<TMatrixEquations> fast_ = MakeEngine(1, 1);

    void SetUp() override {
        reference_->SolverPath = TSolverPath::Reference;
        fast_->SolverPath = TSolverPath::Fast;
    }
};

// Two calls: the equations stay in the order the first one's pivoting left them.
TEST_P(EngineRandomDifferentialTest, NewtonLoopGivesIdenticalResults) {
    for (std::uint32_t seed = 1; seed <= GetParam().Seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        fillRandomSystem(*reference_, GetParam(), seed);
        fillRandomSystem(*fast_, GetParam(), seed);
        for (int call = 1; call <= 2; ++call) {
            SCOPED_TRACE("call " + std::to_string(call));
            const TNewtonOutcome referenceOutcome = RunNewton(*reference_);
            const TNewtonOutcome fastOutcome = RunNewton(*fast_);
            ExpectIdenticalOutcomes(referenceOutcome, fastOutcome);
            ExpectIdenticalEngines(*reference_, *fast_);
            if (HasFailure()) return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, EngineRandomDifferentialTest, ::testing::ValuesIn(kSystemShapes),
                         [](const ::testing::TestParamInfo<TSystemShape>& info) { return std::string(info.param.Name); });

// The fast path leaves its reduced entries outside the Jacobian's record of
// written columns and clears them itself: after a large system and a smaller one
// (whose block does not cover the first one's entries), emptying the tables must
// still leave every entry at full capacity exactly +0.
TEST(EngineFastPathClearing, ClearResultsLeavesNoEntryOfEarlierEliminations) {
    const std::unique_ptr<TMatrixEquations> engine = MakeEngine(1, 1);
    engine->SolverPath = TSolverPath::Fast;
    const TSystemShape large{"Large", 300, 300, 20, 4, 0.0, 0.3, 3.0, false, 1};
    const TSystemShape small{"Small", 20, 20, 0, 3, 0.0, 0.3, 3.0, false, 1};
    fillRandomSystem(*engine, large, 11);
    RunNewton(*engine);
    fillRandomSystem(*engine, small, 12);
    RunNewton(*engine);

    engine->ClearResults(1, 1);

    std::int64_t nonZero = 0;
    for (std::int32_t i = 1; i <= TMatrixEquations::MaxEquations; ++i) {
        for (std::int32_t j = 1; j <= TMatrixEquations::MaxQVariables; ++j) {
            if (!IdenticalExtended(engine->DMatrix[i][j], 0.0L)) ++nonZero;
        }
    }
    EXPECT_EQ(nonZero, 0);
}

// ---- Single operations where the plain path stops part way ---------------------------------------------

struct TOperationCase {
    const char* Name;
    void (*Spoil)(TMatrixEquations&);
    void (*Run)(TMatrixEquations&, std::vector<std::string>& log, bool& ok);
};

void PrintTo(const TOperationCase& operationCase, std::ostream* out) { *out << operationCase.Name; }

const TSystemShape kSmallSystem{"Small", 12, 12, 0, 3, 0.0, 0.3, 3.0, false, 1};

void runCalculateF(TMatrixEquations& engine, std::vector<std::string>&, bool& ok) { engine.CalculateF(ok); }

void runElimination(TMatrixEquations& engine, std::vector<std::string>&, bool& ok) {
    engine.CalculateDMatrixAndGaussElim(ok);
}

// The fluid changes between the residuals and the Jacobian: no friction factor of
// the residual evaluation may be taken over.
void runEliminationForDenserFluid(TMatrixEquations& engine, std::vector<std::string>&, bool& ok) {
    engine.FluidDensity = 2.0 * kWater.Density_kgm3;
    engine.CalculateDMatrixAndGaussElim(ok);
}

void runEliminationForThickerFluid(TMatrixEquations& engine, std::vector<std::string>&, bool& ok) {
    engine.FluidViscosity = kOil.Viscosity_cP;
    engine.CalculateDMatrixAndGaussElim(ok);
}

void runStep(TMatrixEquations& engine, std::vector<std::string>& log, bool& ok) {
    std::int32_t errorCode = 0;
    std::string message;
    engine.SolveQDeltas(ok, errorCode, log, message);
    log.push_back(std::to_string(errorCode) + " " + message);
}

void runNewton(TMatrixEquations& engine, std::vector<std::string>& log, bool& ok) {
    const TNewtonOutcome outcome = RunNewton(engine);
    ok = outcome.Solved;
    log = outcome.Log;
    log.push_back(std::to_string(outcome.ErrorCode) + " " + std::to_string(outcome.IterationCount));
}

// The last unknown of equation 6 carries a flow beyond the double range: its head
// loss and slope have no value, and the plain path stops at the first equation
// walking it, leaving the later residuals or Jacobian rows as they were.
void flowBeyondDoubleRange(TMatrixEquations& engine) {
    engine.QMatrix[6][engine.NumberOfQVariables] = TCode::CodeWalkedForward;
    engine.QVariables[engine.NumberOfQVariables] = 1e400L;
}

// A code the engine does not know: the plain path raises on reaching it.
void unknownCode(TMatrixEquations& engine) { engine.QMatrix[4][12] = 7; }

// All flows 0 on pipes with friction only: every head slope is 0, the pivots vanish.
void zeroJacobian(TMatrixEquations& engine) {
    for (std::int32_t j = 1; j <= engine.NumberOfQVariables; ++j) {
        engine.QVariables[j] = 0.0L;
        engine.QComponent[j].Clear();
        SetPipe(engine, j, {0.1, 4.5e-5, 100.0, 0.0});
    }
}

// Head slopes of 1e300 on every unknown. Equation 1 takes in unknowns 1 and 20;
// equation k + 1 (k < 20) walks unknown k and takes in unknown k + 1. At step k the
// head entry 1e300 wins the pivot over equation 1's 1, which moves down one place
// (the equations are exchanged at every step), and is reduced by the factor 1e300:
// its entry in column 20 grows 1e300-fold every step, past the extended range
// (about 1e4932) at step 17. Flows of 1e-300 keep the residuals near 1, so that
// the Newton loop takes a step.
void overflowingElimination(TMatrixEquations& engine) {
    constexpr std::int32_t n = 20;
    engine.ClearResults(n, n);
    SetFluid(engine, kWater);
    for (std::int32_t j = 1; j <= n; ++j) {
        SetPipe(engine, j, kNoFrictionPipe);
        engine.QComponent[j].CopyComponentPressure(LinearCurveComponent(1e300));
        engine.QVariables[j] = 1e-300L;
    }
    engine.QMatrix[1][1] = TCode::CodeFlowEnters;
    engine.QMatrix[1][n] = TCode::CodeFlowEnters;
    for (std::int32_t k = 1; k < n; ++k) {
        engine.QMatrix[k + 1][k] = TCode::CodeWalkedForward;
        engine.QMatrix[k + 1][k + 1] = TCode::CodeFlowEnters;
    }
}

// Two continuity entries near the top of the extended range: the first residual
// overflows, the evaluation stops there.
void residualBeyondRange(TMatrixEquations& engine) {
    engine.ClearResults(2, 2);
    engine.QMatrix[1][1] = engine.QMatrix[1][2] = TCode::CodeFlowEnters;
    engine.QMatrix[2][1] = TCode::CodeFlowEnters;
    engine.QMatrix[2][2] = TCode::CodeFlowLeaves;
    engine.QVariables[1] = engine.QVariables[2] = 0.75L * std::numeric_limits<long double>::max();
}

const TOperationCase kOperationCases[] = {
    {"ResidualBeyondRange", residualBeyondRange, runCalculateF},
    {"ResidualsWithAFlowBeyondRange", flowBeyondDoubleRange, runCalculateF},
    {"EliminationWithAFlowBeyondRange", flowBeyondDoubleRange, runElimination},
    {"ResidualsWithAnUnknownCode", unknownCode, runCalculateF},
    {"EliminationWithAnUnknownCode", unknownCode, runElimination},
    {"EliminationForADenserFluid", [](TMatrixEquations&) {}, runEliminationForDenserFluid},
    {"EliminationForAThickerFluid", [](TMatrixEquations&) {}, runEliminationForThickerFluid},
    {"StepWithAZeroJacobian", zeroJacobian, runStep},
    {"NewtonWithAZeroJacobian", zeroJacobian, runNewton},
    {"EliminationThatOverflows", overflowingElimination, runElimination},
    {"NewtonThatOverflows", overflowingElimination, runNewton},
};

class EngineOperationDifferentialTest : public ::testing::TestWithParam<TOperationCase> {};

TEST_P(EngineOperationDifferentialTest, OperationLeavesIdenticalTables) {
    std::unique_ptr<TMatrixEquations> engines[2] = {MakeEngine(1, 1), MakeEngine(1, 1)};
    engines[0]->SolverPath = TSolverPath::Reference;
    engines[1]->SolverPath = TSolverPath::Fast;
    std::vector<std::string> logs[2];
    bool ok[2] = {false, false};
    for (int path = 0; path < 2; ++path) {
        TMatrixEquations& engine = *engines[path];
        fillRandomSystem(engine, kSmallSystem, 5);
        GetParam().Spoil(engine);
        // Results of an earlier evaluation, which a stopped evaluation leaves partly in place.
        bool evaluated = false;
        engine.CalculateF(evaluated);
        GetParam().Run(engine, logs[path], ok[path]);
    }
    EXPECT_EQ(ok[1], ok[0]);
    EXPECT_EQ(logs[1], logs[0]);
    ExpectIdenticalEngines(*engines[0], *engines[1]);
}

INSTANTIATE_TEST_SUITE_P(Operations, EngineOperationDifferentialTest, ::testing::ValuesIn(kOperationCases),
                         [](const ::testing::TestParamInfo<TOperationCase>& info) {
                             return std::string(info.param.Name);
                         });

// ---- Systems generated from networks -------------------------------------------------------------------

// One network per path, built alike, its equations generated from the estimates of
// one start velocity; then the approximate phase and, from its flows, the final one.
void expectIdenticalNetworkNewton(void (*build)(TNetwork&), double velocity_ms) {
    std::unique_ptr<TNetwork> networks[2] = {std::make_unique<TNetwork>(), std::make_unique<TNetwork>()};
    TNewtonOutcome outcomes[2][2];
    for (int path = 0; path < 2; ++path) {
        TNetwork& network = *networks[path];
        build(network);
        network.MatrixEquations.SolverPath = path == 0 ? TSolverPath::Reference : TSolverPath::Fast;
        network.PipeLoopsRemoveAllLoops();
        network.PipeLoopsGenerateAllLoops();
        network.SetAllInitialFlowGuesses(velocity_ms);
        for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
            TPipe& pipe = network.GetPipe(network.GetNodeLink(k).PipeId);
            pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
        }
        network.MatrixEquationsGenerate();
        TMatrixEquations& engine = network.MatrixEquations;
        outcomes[path][0] = RunNewton(engine);
        engine.MaxIterationsCurrent = engine.MaxIterationsFinal = 150;
        engine.DeltaQFactorCurrent = engine.DeltaQReductionFactor;
        engine.HeadToleranceCurrent = engine.HeadToleranceFinal;
        outcomes[path][1] = RunNewton(engine);
    }
    ExpectIdenticalOutcomes(outcomes[0][0], outcomes[1][0]);
    ExpectIdenticalOutcomes(outcomes[0][1], outcomes[1][1]);
    ExpectIdenticalEngines(networks[0]->MatrixEquations, networks[1]->MatrixEquations);
}

struct TNetworkSystemCase {
    const char* Name;
    void (*Build)(TNetwork&);
    double Velocity_ms;
};

void PrintTo(const TNetworkSystemCase& networkCase, std::ostream* out) { *out << networkCase.Name; }

void grid50(TNetwork& network) { BuildGridNetwork(network, GridSpecForPipes(50)); }

// Two tanks and one end node: converges on this grid.
void grid100(TNetwork& network) {
    TGridSpec plan = GridSpecForPipes(100);
    plan.EndPressureNodes = 1;
    plan.TankPressure_bar_g = 10.0;
    plan.JointDemand_m3s = 0.0001;
    BuildGridNetwork(network, plan);
}

void randomNetwork(TNetwork& network) {
    TRandomNetworkSpec plan;
    plan.Seed = 3;
    plan.Nodes = 40;
    plan.Links = 55;
    plan.FixedPressureShare = 0.1;
    plan.ClosedPipes = 0;
    plan.RemovedNodes = 0;
    BuildRandomNetwork(network, plan);
    for (std::int32_t nodeId = network.GetNextNodeId(0); nodeId > 0; nodeId = network.GetNextNodeId(nodeId)) {
        TNode& node = network.GetNode(nodeId);
        if (node.NodeType == TNodeType::Tank) node.SurfacePressure_bar_g = 5.0;
    }
}

const TNetworkSystemCase kNetworkSystemCases[] = {
    {"Grid50Slow", grid50, 0.1},
    {"Grid50", grid50, 1.098},
    {"Grid100", grid100, 1.0},
    {"RandomNetwork", randomNetwork, 1.0},
};

class EngineNetworkDifferentialTest : public ::testing::TestWithParam<TNetworkSystemCase> {};

TEST_P(EngineNetworkDifferentialTest, ApproximateAndFinalPhasesGiveIdenticalResults) {
    expectIdenticalNetworkNewton(GetParam().Build, GetParam().Velocity_ms);
}

INSTANTIATE_TEST_SUITE_P(Networks, EngineNetworkDifferentialTest, ::testing::ValuesIn(kNetworkSystemCases),
                         [](const ::testing::TestParamInfo<TNetworkSystemCase>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
