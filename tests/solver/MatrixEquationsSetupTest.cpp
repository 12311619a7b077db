#include <gtest/gtest.h>

#include <memory>

#include "EngineSetup.h"
#include "solver/VM4_Matrix_Equations.h"

TEST(MatrixEquationsSetup, StartsWithTheDocumentedDefaultsAndTheApproximatePhase) {
    const auto engine = std::make_unique<TMatrixEquations>(1000, 2000);
    EXPECT_EQ(engine->NumberOfQVariables, 1000);
    EXPECT_EQ(engine->NumberOfEquations, 2000);
    EXPECT_DOUBLE_EQ(engine->FlowTolerance, 1e-6);
    EXPECT_DOUBLE_EQ(engine->HeadToleranceApprox, 2.0);
    EXPECT_DOUBLE_EQ(engine->HeadToleranceFinal, 0.001);
    EXPECT_EQ(engine->MaxIterationsApprox, 200);
    EXPECT_EQ(engine->MaxIterationsFinal, 5000);
    EXPECT_DOUBLE_EQ(engine->DeltaQReductionFactor, 0.1);
    EXPECT_EQ(engine->MaxIterationsCurrent, 200);
    EXPECT_DOUBLE_EQ(engine->DeltaQFactorCurrent, 1.0);
    EXPECT_DOUBLE_EQ(engine->HeadToleranceCurrent, 2.0);
    EXPECT_EQ(engine->IterationCount, 0);
    EXPECT_EQ(engine->IterationCountTotal, 0);
    EXPECT_EQ(engine->LastSmallValuesReport, 0);
    // The far corners of the tables exist and start empty.
    EXPECT_EQ(engine->QMatrix[2000][1000], 0);
    EXPECT_EQ(engine->QVariables[1000], 0.0L);
    EXPECT_EQ(engine->QPump[1000].PointCount(), 0);
}

// The settings of the approximate phase come from the configured values, and
// everything a previous attempt left behind is gone, at full capacity.
TEST(MatrixEquationsSetup, ClearResultsEmptiesEveryTableAndStartsTheApproximatePhase) {
    const auto engine = std::make_unique<TMatrixEquations>(1000, 2000);
    engine->MaxIterationsApprox = 37;
    engine->HeadToleranceApprox = 0.75;
    engine->MaxIterationsCurrent = 5000;
    engine->DeltaQFactorCurrent = 0.1;
    engine->HeadToleranceCurrent = 0.001;
    engine->FluidDensity = 998.0;
    engine->FluidViscosity = 1.1;
    engine->IterationCountTotal = 12;
    engine->LastSmallValuesReport = 11;
    engine->QMatrix[2000][1000] = TMatrixEquations::CodeWalkedBackward;
    engine->QKnowns[2000] = 4.0;
    engine->FResults[2000] = 5.0L;
    engine->QVariables[1000] = 7.0L;
    engine->QDiameter[1000] = 0.1;
    engine->QRoughness[1000] = 1e-4;
    engine->QLength[1000] = 10.0;
    engine->QFittingLossCoefficents[1000] = 8.0;
    engine->QDeltas[1000] = 9.0L;
    engine->QPump[1000].CopyPump(ThreePointPump());
    engine->QComponent[1000].CopyComponentPressure(FixedLossComponent(0.5));

    engine->ClearResults(3, 4);

    EXPECT_EQ(engine->NumberOfQVariables, 3);
    EXPECT_EQ(engine->NumberOfEquations, 4);
    EXPECT_EQ(engine->MaxIterationsCurrent, 37);
    EXPECT_DOUBLE_EQ(engine->DeltaQFactorCurrent, 1.0);
    EXPECT_DOUBLE_EQ(engine->HeadToleranceCurrent, 0.75);
    EXPECT_EQ(engine->FluidDensity, 0.0);
    EXPECT_EQ(engine->FluidViscosity, 0.0);
    EXPECT_EQ(engine->QMatrix[2000][1000], 0);
    EXPECT_EQ(engine->QKnowns[2000], 0.0);
    EXPECT_EQ(engine->FResults[2000], 0.0L);
    EXPECT_EQ(engine->QVariables[1000], 0.0L);
    EXPECT_EQ(engine->QDiameter[1000], 0.0);
    EXPECT_EQ(engine->QRoughness[1000], 0.0);
    EXPECT_EQ(engine->QLength[1000], 0.0);
    EXPECT_EQ(engine->QFittingLossCoefficents[1000], 0.0);
    EXPECT_EQ(engine->QDeltas[1000], 0.0L);
    EXPECT_EQ(engine->QPump[1000].PointCount(), 0);
    EXPECT_EQ(engine->QComponent[1000].FixedLoss_bar, 0.0);
    // The attempt counters belong to the solve driver.
    EXPECT_EQ(engine->IterationCountTotal, 12);
    EXPECT_EQ(engine->LastSmallValuesReport, 11);
}

struct TSizeCase {
    const char* name;
    std::int32_t unknowns;
    std::int32_t equations;
};

void PrintTo(const TSizeCase& c, std::ostream* os) { *os << c.name; }

class MatrixEquationsSizes : public ::testing::TestWithParam<TSizeCase> {};

// Sizes beyond the tables would write past them; they are refused before
// anything changes.
TEST_P(MatrixEquationsSizes, SizesOutsideTheCapacityAreRefused) {
    const TSizeCase& c = GetParam();
    const std::string sizes = "Number of unknown flows (" + std::to_string(c.unknowns) + ") or equations (" +
                              std::to_string(c.equations) +
                              ") is outside the capacity of 1000 unknown flows and 2000 equations";
    try {
        TMatrixEquations engine(c.unknowns, c.equations);
        FAIL() << "construction accepted the sizes";
    } catch (const EMatrixEquations& error) {
        EXPECT_EQ(std::string(error.what()), "TMatrixEquations.Create Failed: " + sizes);
    }

    const auto engine = MakeEngine(2, 3);
    try {
        engine->ClearResults(c.unknowns, c.equations);
        FAIL() << "ClearResults accepted the sizes";
    } catch (const EMatrixEquations& error) {
        EXPECT_EQ(std::string(error.what()), "TMatrixEquations.ClearResults Failed: " + sizes);
    }
    EXPECT_EQ(engine->NumberOfQVariables, 2);
    EXPECT_EQ(engine->NumberOfEquations, 3);
}

INSTANTIATE_TEST_SUITE_P(Capacities, MatrixEquationsSizes,
                         ::testing::Values(TSizeCase{"TooManyUnknowns", 1001, 2000},
                                           TSizeCase{"TooManyEquations", 1000, 2001},
                                           TSizeCase{"NegativeUnknowns", -1, 10},
                                           TSizeCase{"NegativeEquations", 10, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatrixEquationsSetup, FieldsSetDirectlyBeyondTheCapacityAreRefusedBeforeAnySolve) {
    const auto engine = MakeEngine(1, 1);
    engine->NumberOfEquations = 2001;
    bool solved = true;
    std::int32_t errorCode = 0;
    std::vector<std::string> log;
    std::string message;
    EXPECT_THROW(engine->SolveQVariables(solved, errorCode, log, message), EMatrixEquations);
    bool ok = true;
    EXPECT_THROW(engine->CalculateF(ok), EMatrixEquations);
}
