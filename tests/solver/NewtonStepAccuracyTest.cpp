#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "StepResidual.h"
#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"

// The Newton step of real networks, step after step from the first start flows:
// each must solve its own linear system to the precision the engine works in,
// whatever the pivot order the factorization chose.

namespace {

struct TNetworkCase {
    const char* name;
    TGridSpec grid;
};

void PrintTo(const TNetworkCase& c, std::ostream* os) { *os << c.name; }

// Loops, start flows from the ladder's first velocity, equations and residuals.
void PrepareFirstAttempt(TNetwork& network) {
    network.PipeLoopsRemoveAllLoops();
    network.PipeLoopsGenerateAllLoops();
    network.FillDischargeVelocityEstimates();
    network.SetAllInitialFlowGuesses(network.DischargeVelocityEstimates[1]);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        TPipe& pipe = network.GetPipe(network.GetNodeLink(k).PipeId);
        pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
    }
    network.MatrixEquationsGenerate();
}

TGridSpec GridOf(std::int32_t columns, std::int32_t rows, std::int32_t tanks, std::int32_t endNodes) {
    TGridSpec grid;
    grid.Columns = columns;
    grid.Rows = rows;
    grid.Tanks = tanks;
    grid.EndPressureNodes = endNodes;
    return grid;
}

class NewtonStepAccuracy : public ::testing::TestWithParam<TNetworkCase> {};

constexpr int kSteps = 6;

}  // namespace

TEST_P(NewtonStepAccuracy, EveryStepSolvesItsLinearSystem) {
    TNetwork network;
    BuildGridNetwork(network, GetParam().grid);
    ASSERT_NO_THROW(PrepareFirstAttempt(network));
    TMatrixEquations& engine = network.MatrixEquations;
    ASSERT_GE(engine.NumberOfEquations, engine.NumberOfQVariables);
    std::vector<std::string> log;
    std::string message;
    for (int step = 1; step <= kSteps; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        bool ok = false;
        engine.CalculateF(ok);
        ASSERT_TRUE(ok);
        std::int32_t errorCode = 99;
        engine.SolveQDeltas(ok, errorCode, log, message);
        ASSERT_TRUE(ok);
        ASSERT_EQ(errorCode, 0);
        EXPECT_LT(RelativeStepResidual(engine), 1e-12L);
        engine.SubtractQDeltasFromQVariables(1.0L);
    }
    EXPECT_TRUE(log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Grids, NewtonStepAccuracy,
    ::testing::Values(TNetworkCase{"SixtyPipesTwoTanksTwoEndNodes", GridOf(6, 6, 2, 2)},
                      TNetworkCase{"FourHundredPipesThreeTanksOneEndNode", GridOf(14, 14, 3, 1)},
                      TNetworkCase{"NineHundredPipesTwoTanksThreeEndNodes", GridOf(21, 21, 2, 3)}),
    [](const auto& info) { return std::string(info.param.name); });
