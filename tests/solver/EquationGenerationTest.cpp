#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "DriverFixture.h"
#include "common/FuzzyCompare.h"
#include "model/VM4_Fitting_Class.h"

// Equation generation: the coded system built from the open links, the stored
// loops and paths, the pipes and the fluid. Loops are stored by hand here, so
// that the expected codes follow from the walking rules alone.

namespace {

using TCode = TMatrixEquations;

const std::string kFailureBox =
    "The Network could not be solved.\r\rCheck the following:\r   is there at least one supply point?\r"
    "   is there at least one discharge point?\r   are all nodes connected?\r\rSpecific Information: ";

class EquationGeneration : public TDriverFixture {
protected:
    void StoreLoop(const std::vector<std::int32_t>& pipeIds) {
        const std::int32_t loopId = network->PipeLoopCreate();
        for (std::int32_t pipeId : pipeIds) network->PipeLoopAddPipe(loopId, pipeId);
    }

    std::vector<std::uint8_t> CodesOfRow(std::int32_t row) const {
        std::vector<std::uint8_t> codes;
        for (std::int32_t j = 1; j <= network->MatrixEquations.NumberOfQVariables; ++j) {
            codes.push_back(network->MatrixEquations.QMatrix[row][j]);
        }
        return codes;
    }

    TComponentPressure FixedLoss(double loss_bar) {
        TComponentPressure component;
        component.SetName("Filter");
        component.UseCurve = 0;
        component.FixedLoss_bar = loss_bar;
        return component;
    }
};

// Tank 1 (10 m up, 0.1 bar, 2 m of liquid) feeds join points 2, 3 and 4 with
// the loop 2-3-4-2; join point 4 drains to the end pressure node 5 (0.2 bar).
// Join point 2 has a supply of 0.005 m³/s, join point 3 a discharge of 0.01.
TEST_F(EquationGeneration, CodesAndConstantsFollowTheWalkingRules) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0, 0.1, 2.0);
    const std::int32_t j2 = build.AddJoint(10, 0);
    const std::int32_t j3 = build.AddJoint(20, 0);
    const std::int32_t j4 = build.AddJoint(20, 10);
    const std::int32_t end = build.AddDemandPressure(30, 10, 0.2);
    network->GetNode(j2).JointSupply_m3s = 0.005;
    network->GetNode(j3).JointDischarge_m3s = 0.01;
    build.AddPipe(tank, j2, "P1");
    build.AddPipe(j2, j3, "P2");
    build.AddPipe(j3, j4, "P3");
    build.AddPipe(j2, j4, "P4");
    build.AddPipe(j4, end, "P5");
    StoreLoop({5, 3, 2, 1});  // a path, walked from the end pressure node
    StoreLoop({4, 3, 2});     // a closed loop, walked from pipe 4's from-node

    network->MatrixEquationsGenerate();

    const TMatrixEquations& engine = network->MatrixEquations;
    ASSERT_EQ(engine.NumberOfQVariables, 5);
    ASSERT_EQ(engine.NumberOfEquations, 5);
    const std::vector<std::vector<std::uint8_t>> expectedCodes = {
        {1, 2, 0, 2, 0},  // join point 2: P1 in, P2 and P4 out
        {0, 1, 2, 0, 0},  // join point 3
        {0, 0, 1, 1, 2},  // join point 4
        {4, 4, 4, 0, 4},  // path 5 -> 4 -> 3 -> 2 -> 1, every pipe against its direction
        {0, 4, 4, 3, 0},  // loop 2 -> 4 -> 3 -> 2
    };
    for (std::int32_t row = 1; row <= 5; ++row) {
        EXPECT_EQ(CodesOfRow(row), expectedCodes[static_cast<std::size_t>(row - 1)]) << "equation " << row;
    }
    // H(tank) = 0.1 bar + 10 m + 2 m; H(end) = 0.2 bar + 0 m
    const double tankHead_m = 0.1 * kMetresPerBar + 12.0;
    const double endHead_m = 0.2 * kMetresPerBar;
    EXPECT_REL_NEAR(engine.QKnowns[1], -0.005, 1e-12);  // discharge 0 - supply 0.005
    EXPECT_REL_NEAR(engine.QKnowns[2], 0.01, 1e-12);
    EXPECT_EQ(engine.QKnowns[3], 0.0);
    EXPECT_REL_NEAR(engine.QKnowns[4], endHead_m - tankHead_m, 1e-12);
    EXPECT_EQ(engine.QKnowns[5], 0.0);
}

TEST_F(EquationGeneration, TolerancesLimitsAndFluidComeFromTheNetwork) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    build.AddPipe(tank, end, "P1");
    StoreLoop({1});
    TNetworkSettings& settings = network->Settings;
    settings.FlowBalancingTolerance = 2e-6;
    settings.PressureBalancingToleranceApprox = 0.3;
    settings.PressureBalancingToleranceFinal = 0.0002;
    settings.MaxIterationsApproxSolution = 150;
    settings.MaxIterationsFinalSolution = 4000;
    settings.DeltaQReductionFactor = 0.25;
    network->Fluid.DynamicViscosity_cP = 1.5;

    network->MatrixEquationsGenerate();

    const TMatrixEquations& engine = network->MatrixEquations;
    EXPECT_EQ(engine.FlowTolerance, 2e-6);
    EXPECT_REL_NEAR(engine.HeadToleranceApprox, 0.3 * kMetresPerBar, 1e-12);   // 3.0591 m
    EXPECT_REL_NEAR(engine.HeadToleranceFinal, 0.0002 * kMetresPerBar, 1e-12);  // 2.0394 mm
    EXPECT_EQ(engine.MaxIterationsApprox, 150);
    EXPECT_EQ(engine.MaxIterationsFinal, 4000);
    EXPECT_EQ(engine.DeltaQReductionFactor, 0.25);
    EXPECT_EQ(engine.FluidViscosity, 1.5);
    EXPECT_EQ(engine.FluidDensity, 1000.0);
}

// Every unknown carries its pipe's flow, geometry and switched-on items; items
// that are switched off do not reach the engine.
TEST_F(EquationGeneration, UnknownsCarryTheirPipesAndSwitchedOnItems) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t joint = build.AddJoint(10, 0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    const std::int32_t withItems = build.AddPipe(tank, joint, "P1", 120.0, 0.08);
    const std::int32_t itemsOff = build.AddPipe(joint, end, "P2", 80.0, 0.1);
    StoreLoop({2, 1});

    TFitting elbow;
    elbow.SetFittingData(100, 1, "Elbow", "100", "4\"", "90 degree", 0.75);
    TPump pump;
    pump.SetName("Booster");
    pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 1.0);
    pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 1.0);
    for (std::int32_t pipeId : {withItems, itemsOff}) {
        TPipe& pipe = network->GetPipe(pipeId);
        pipe.Fittings.AddFitting(elbow, 2);
        pipe.HasComponentPressure = true;
        pipe.ComponentPressure.CopyComponentPressure(FixedLoss(0.3));
        pipe.HasPump = true;
        pipe.Pump.CopyPump(pump);
    }
    TPipe& off = network->GetPipe(itemsOff);
    off.CalcFittings = false;
    off.CalcComponentPressure = false;
    off.CalcPump = false;
    network->GetPipe(withItems).FlowUncompressed_m3s = 0.012;
    off.FlowUncompressed_m3s = 0.034;

    network->MatrixEquationsGenerate();

    const TMatrixEquations& engine = network->MatrixEquations;
    EXPECT_EQ(engine.QVariables[1], static_cast<long double>(0.012));
    EXPECT_EQ(engine.QVariables[2], static_cast<long double>(0.034));
    EXPECT_EQ(engine.QDiameter[1], 0.08);
    EXPECT_EQ(engine.QLength[1], 120.0);
    EXPECT_EQ(engine.QRoughness[1], network->DefaultPipe.InnerRoughness_m);
    // G = ΣK / (2g·A²) = 2 · 0.75 / (19.62 · (π · 0.08² / 4)²)
    const double area_m2 = std::numbers::pi * 0.08 * 0.08 / 4.0;
    EXPECT_REL_NEAR(engine.QFittingLossCoefficents[1], 1.5 / (19.62 * area_m2 * area_m2), 1e-9);
    EXPECT_EQ(engine.QComponent[1].FixedLoss_bar, 0.3);
    EXPECT_EQ(engine.QPump[1].Name(), "Booster");
    EXPECT_EQ(engine.QPump[1].PointCount(), 3);
    EXPECT_EQ(engine.QFittingLossCoefficents[2], 0.0);
    EXPECT_EQ(engine.QComponent[2].FixedLoss_bar, 0.0);
    EXPECT_EQ(engine.QPump[2].PointCount(), 0);
}

// A join point whose only pipe is closed writes no equation; neither does an
// isolated one.
TEST_F(EquationGeneration, JoinPointsWithoutOpenLinksWriteNoEquation) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t closedEnd = build.AddJoint(10, 10);
    build.AddJoint(20, 20);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    build.AddPipe(tank, end, "P1");
    const std::int32_t closed = build.AddPipe(tank, closedEnd, "P2");
    network->RemoveNodeLinkAddClosedPipeLink(closed);
    StoreLoop({1});

    network->MatrixEquationsGenerate();

    const TMatrixEquations& engine = network->MatrixEquations;
    EXPECT_EQ(engine.NumberOfQVariables, 1);
    EXPECT_EQ(engine.NumberOfEquations, 1);
    EXPECT_EQ(CodesOfRow(1), std::vector<std::uint8_t>{TCode::CodeWalkedBackward});  // walked from the end node
    EXPECT_REL_NEAR(engine.QKnowns[1], -10.0, 1e-12);                                  // H(end) - H(tank)
}

// More equations than unknowns is accepted: two join points and one pipe.
TEST_F(EquationGeneration, ExtraContinuityEquationsAreKept) {
    const std::int32_t a = build.AddJoint(0, 0);
    const std::int32_t b = build.AddJoint(10, 0);
    build.AddPipe(a, b, "P1");

    network->MatrixEquationsGenerate();

    EXPECT_EQ(network->MatrixEquations.NumberOfQVariables, 1);
    EXPECT_EQ(network->MatrixEquations.NumberOfEquations, 2);
    EXPECT_EQ(CodesOfRow(1), std::vector<std::uint8_t>{TCode::CodeFlowLeaves});
    EXPECT_EQ(CodesOfRow(2), std::vector<std::uint8_t>{TCode::CodeFlowEnters});
    EXPECT_TRUE(user.Informations.empty());
}

// The failures of the generation: the user is told in which phase, and the
// error reaches the caller.
class EquationGenerationFailure : public EquationGeneration {
protected:
    // Tank 1 -> join 2 -> join 3 -> end 4 through pipes 1, 2, 3.
    void BuildChain() {
        const std::int32_t tank = build.AddTank(0, 0, 10.0);
        const std::int32_t j2 = build.AddJoint(10, 0);
        const std::int32_t j3 = build.AddJoint(20, 0);
        const std::int32_t end = build.AddDemandPressure(30, 0);
        build.AddPipe(tank, j2, "P1");
        build.AddPipe(j2, j3, "P2");
        build.AddPipe(j3, end, "P3");
    }

    void ExpectFailure(const std::string& message, const std::string& specificInformation) {
        try {
            network->MatrixEquationsGenerate();
            ADD_FAILURE() << "no error raised";
        } catch (const ENetworkClass& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        ASSERT_EQ(user.Informations.size(), 1u);
        EXPECT_EQ(user.Informations[0], kFailureBox + specificInformation);
    }
};

TEST_F(EquationGenerationFailure, LoopWhosePipesDoNotJoinNamesLoopAndPipe) {
    BuildChain();
    StoreLoop({3, 2, 1});
    StoreLoop({1, 3});  // from the tank along pipe 1 to join 2; pipe 3 runs 3 -> 4
    ExpectFailure("TNetwork.MatrixEquationsGenerate Failed: Loop:  FromNodeId=3 ToNodeId=4 LastNodeId=2 - the "
                  "ordering of the loop may be wrong?",
                  "Could not generate equations for all loops and end to end paths.\r\rProblem occured generating "
                  "loop  2, pipe id 3\r\rPlease check the validity of the system you have drawn.");
}

TEST_F(EquationGenerationFailure, TooFewEquationsNameTheLastPipe) {
    BuildChain();  // three unknowns, two join points, no loop stored
    ExpectFailure("TNetwork.MatrixEquationsGenerate Failed: Number of equations generated (2) does not match "
                  "number of unknown flows (3)",
                  "Could not generate initial flows.\r\rProblem occured at pipe 3\r\rPlease check the validity of "
                  "the system you have drawn.");
}

// Fittings on a pipe without bore give no finite coefficient.
TEST_F(EquationGenerationFailure, PipeWithoutBoreIsNamedInTheUnknownsPhase) {
    BuildChain();
    StoreLoop({3, 2, 1});
    TFitting valve;
    valve.SetFittingData(100, 20, "Valve", "100", "4\"", "gate", 0.2);
    TPipe& pipe = network->GetPipe(2);
    pipe.InnerDiameter_m = 0.0;
    pipe.Fittings.AddFitting(valve, 1);
    try {
        network->MatrixEquationsGenerate();
        ADD_FAILURE() << "no error raised";
    } catch (const EVelmoraError&) {
    }
    ASSERT_EQ(user.Informations.size(), 1u);
    EXPECT_EQ(user.Informations[0], kFailureBox +
                                        "Could not generate initial flows.\r\rProblem occured at pipe 2\r\rPlease "
                                        "check the validity of the system you have drawn.");
}

TEST_F(EquationGenerationFailure, WithoutAUserTheErrorStillReachesTheCaller) {
    BuildChain();
    network->UserMessages = nullptr;
    EXPECT_THROW(network->MatrixEquationsGenerate(), ENetworkClass);
}

TEST_F(EquationGeneration, UnknownIndexIsThePositionOfTheOpenLink) {
    const std::int32_t tank = build.AddTank(0, 0);
    const std::int32_t j2 = build.AddJoint(10, 0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    build.AddPipe(tank, j2, "P1");
    const std::int32_t closed = build.AddPipe(tank, end, "P2");
    const std::int32_t last = build.AddPipe(j2, end, "P3");
    network->RemoveNodeLinkAddClosedPipeLink(closed);

    EXPECT_EQ(network->getQIndexOfPipeId(1), 1);
    EXPECT_EQ(network->getQIndexOfPipeId(last), 2);
    EXPECT_EQ(network->getQIndexOfPipeId(closed), -1);
    EXPECT_EQ(network->getQIndexOfPipeId(99), -1);
}

}  // namespace
