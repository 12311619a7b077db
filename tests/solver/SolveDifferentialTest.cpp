// The loop table, the equations and the start flows of every velocity of the
// solve's ladder against the plain procedures, bit for bit, on the networks a solve meets (as
// drawn, and with the pipes it turned round), and the solve's result balanced
// within its tolerances: on networks drawn by hand, random networks with every
// kind of item on them, and grids of join points. The grids at the program's
// capacity are in SolveCapacityDifferentialTest.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "DressedRandomNetwork.h"
#include "SolverComponentComparison.h"
#include "common/GridNetwork.h"
#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"

namespace {

// ---- Networks drawn by hand ------------------------------------------------------------------------

void addPumpCurve(TPipe& pipe) {
    pipe.HasPump = true;
    pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 1.0);
    pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 1.0);
}

// Tank 40 m up feeding a loop of three join points with demands, one pipe with
// fittings, one with a fixed-loss component.
void loopWithDemandsAndItems(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t tank = build.AddTank(0, 0, 40.0);
    const std::int32_t j1 = build.AddJoint(10, 0);
    const std::int32_t j2 = build.AddJoint(20, 0);
    const std::int32_t j3 = build.AddJoint(20, 20);
    network.GetNode(j2).JointDischarge_m3s = 0.03;
    network.GetNode(j3).JointDischarge_m3s = 0.02;
    build.AddPipe(tank, j1, "Feed", 100.0, 0.2);
    const std::int32_t withFittings = build.AddPipe(j1, j2, "P2", 200.0, 0.15);
    const std::int32_t withComponent = build.AddPipe(j1, j3, "P3", 300.0, 0.1);
    build.AddPipe(j2, j3, "P4", 150.0, 0.1);
    TFitting elbow;
    elbow.SetFittingData(150, 2, "PRad", "150 mm", "6\"", "Bend", 0.9);
    network.GetPipe(withFittings).Fittings.AddFitting(elbow, 3);
    network.GetPipe(withComponent).HasComponentPressure = true;
    network.GetPipe(withComponent).ComponentPressure.FixedLoss_bar = 0.1;
}

// A pump lifting from a low tank into a high one, beside a plain pipe back.
void pumpBetweenTanks(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t low = build.AddTank(0, 0, 0.0, 0.0, 2.0);
    const std::int32_t high = build.AddTank(10, 0, 30.0);
    const std::int32_t joint = build.AddJoint(5, 5, 0.0);
    addPumpCurve(network.GetPipe(build.AddPipe(low, joint, "P1", 500.0, 0.1)));
    build.AddPipe(joint, high, "P2", 100.0, 0.1);
}

// A flow control and a pump at a fixed flow hold their pipes' flows.
void heldFlows(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t tank = build.AddTank(0, 0, 30.0);
    const std::int32_t j1 = build.AddJoint(10, 0);
    const std::int32_t j2 = build.AddJoint(20, 0);
    const std::int32_t end = build.AddDemandPressure(30, 0);
    const std::int32_t target = build.AddTank(30, 10, 35.0);
    build.AddPipe(tank, j1, "P1");
    TPipe& controlled = network.GetPipe(build.AddPipe(j1, j2, "P2"));
    controlled.HasFlowControl = true;
    controlled.FlowControlSetFlow_m3s = 0.01;
    build.AddPipe(j2, end, "P3");
    TPipe& pumped = network.GetPipe(build.AddPipe(j1, target, "P4"));
    pumped.HasPump = true;
    pumped.Pump.RunsAtSetFlowRate = 1;
    pumped.Pump.SetFlowRate_m3s = 0.005;
}

// Reservoirs at 50, 30 and 10 m; the pipe to the middle one is drawn against
// the flow, so the second pass asks to turn it round.
void drawnAgainstTheFlow(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t high = build.AddTank(0, 0, 50.0);
    const std::int32_t middle = build.AddTank(20, 0, 30.0);
    const std::int32_t low = build.AddTank(20, 20, 10.0);
    const std::int32_t junction = build.AddJoint(10, 10, 0.0);
    build.AddPipe(high, junction, "P1", 300.0, 0.15);
    build.AddPipe(middle, junction, "P2", 200.0, 0.1);
    build.AddPipe(junction, low, "P3", 250.0, 0.1);
}

// Parallel pipes, a pipe from a node to itself, a closed pipe and a supply.
void oddTopology(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t tank = build.AddTank(0, 0, 20.0);
    const std::int32_t j1 = build.AddJoint(10, 0);
    const std::int32_t j2 = build.AddJoint(20, 0);
    const std::int32_t end = build.AddDemandPressure(30, 0);
    network.GetNode(j1).JointSupply_m3s = 0.004;
    build.AddPipe(tank, j1, "P1");
    build.AddPipe(j1, j2, "P2", 100.0, 0.08);
    build.AddPipe(j1, j2, "P3", 120.0, 0.05);
    build.AddPipe(j2, j2, "P4");
    const std::int32_t closed = build.AddPipe(j1, end, "P5");
    build.AddPipe(j2, end, "P6");
    network.RemoveNodeLinkAddClosedPipeLink(closed);
}

struct THandDrawn {
    const char* Name;
    void (*Draw)(TNetwork&);
    bool ReverseAnswer;
};

void PrintTo(const THandDrawn& drawn, std::ostream* out) { *out << drawn.Name; }

class HandDrawnSolveDifferential : public ::testing::TestWithParam<THandDrawn> {};

TEST_P(HandDrawnSolveDifferential, SameLoopsEquationsAndStartFlowsAsThePlainProcedures) {
    ExpectSameComponents(GetParam().Draw, {GetParam().ReverseAnswer, 0});
}

INSTANTIATE_TEST_SUITE_P(Networks, HandDrawnSolveDifferential,
                         ::testing::Values(THandDrawn{"LoopWithDemandsAndItems", loopWithDemandsAndItems, false},
                                           THandDrawn{"PumpBetweenTanks", pumpBetweenTanks, false},
                                           THandDrawn{"HeldFlows", heldFlows, false},
                                           THandDrawn{"ReversalRefused", drawnAgainstTheFlow, false},
                                           THandDrawn{"ReversalAccepted", drawnAgainstTheFlow, true},
                                           THandDrawn{"OddTopology", oddTopology, false}));

// The cases above are the kinds they are meant to be: solved and unsolved
// networks, and one whose turned pipes give a second network to compare.
TEST(HandDrawnSolveDifferentialCoverage, SolvedUnsolvedAndReversedNetworksAreAmongTheCases) {
    EXPECT_TRUE(ExpectSameComponents(loopWithDemandsAndItems).Solved);
    const TComparedSolve reversed = ExpectSameComponents(drawnAgainstTheFlow, {true, 0});
    EXPECT_TRUE(reversed.Solved);
    EXPECT_TRUE(reversed.ReversedNetworkCompared);
    EXPECT_FALSE(ExpectSameComponents(drawnAgainstTheFlow, {false, 0}).Solved);
}

// ---- Random networks --------------------------------------------------------------------------------

// Small networks with pumps, components, flow controls, closed pipes and
// badly drawn parts (isolated nodes, whose demands the solve ignores, so no
// balance check); the user agrees to reversals for half of them.
class DressedRandomSolveDifferential : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(DressedRandomSolveDifferential, SameLoopsEquationsAndStartFlowsAsThePlainProcedures) {
    const std::uint32_t seed = GetParam();
    const bool reverse = seed % 2 == 0;
    ExpectSameComponents([seed](TNetwork& network) { TDressedRandomNetwork(seed).Draw(network); },
                         {reverse, 0, false});
}

INSTANTIATE_TEST_SUITE_P(Seeds, DressedRandomSolveDifferential, ::testing::Range<std::uint32_t>(1, 61));

// Grids of random shape with pipes of assorted bores, random demands, a few
// pipes closed; short phases keep the failing attempts quick.
void drawRandomGrid(TNetwork& network, std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto between = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    const auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    TGridSpec plan;
    plan.Columns = between(2, 6);
    plan.Rows = between(2, 6);
    plan.Tanks = between(1, 3);
    plan.EndPressureNodes = between(1, 3);
    plan.TankPressure_bar_g = uniform(0.5, 5.0);
    BuildGridNetwork(network, plan);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        TNode& node = network.GetNode(id);
        if (node.NodeType == TNodeType::JoinPoint) node.JointDischarge_m3s = uniform(0.0, 0.003);
    }
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        network.GetPipe(network.GetNodeLink(k).PipeId).InnerDiameter_m = uniform(0.05, 0.3);
    }
    // Grid pipes only: the feeds come first and the drains last.
    const std::int32_t closed = between(0, 2);
    for (std::int32_t i = 0; i < closed; ++i) {
        const std::int32_t k = between(plan.Tanks + 1, network.GetNodeLinkCount() - plan.EndPressureNodes);
        network.RemoveNodeLinkAddClosedPipeLink(network.GetNodeLink(k).PipeId);
    }
    network.Settings.MaxIterationsApproxSolution = 12;
    network.Settings.MaxIterationsFinalSolution = 300;
}

class RandomGridSolveDifferential : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RandomGridSolveDifferential, SameLoopsEquationsAndStartFlowsAsThePlainProcedures) {
    const std::uint32_t seed = GetParam();
    ExpectSameComponents([seed](TNetwork& network) { drawRandomGrid(network, seed); }, {seed % 3 == 0, 0});
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomGridSolveDifferential, ::testing::Range<std::uint32_t>(1, 13));

// ---- Grids ---------------------------------------------------------------------------------------------

// Grids of two tanks and two end pressure nodes, whose flows all run along their
// pipes, are solved at every size.
TEST(GridSolveDifferential, GridOf44PipesIsSolvedTheSameWay) {
    const bool solved =
        ExpectSameComponents([](TNetwork& network) { BuildGridNetwork(network, GridSpecForPipes(50)); }).Solved;
    EXPECT_TRUE(solved);
}

TEST(GridSolveDifferential, GridOf88PipesIsSolvedTheSameWay) {
    const bool solved =
        ExpectSameComponents([](TNetwork& network) { BuildGridNetwork(network, GridSpecForPipes(100)); }).Solved;
    EXPECT_TRUE(solved);
}

}  // namespace
