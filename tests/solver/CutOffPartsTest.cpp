#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DriverFixture.h"
#include "common/FuzzyCompare.h"
#include "solver/VM4_CutOffParts.h"

// After a solve, what the solve could not reach shows no result: closed pipes
// carry no flow, nodes cut off from every tank and end pressure node have no
// pressure, and a demand nobody can deliver is named and left out of the totals.

namespace {

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == text) return i;
    }
    return lines.size();
}

// Tank N1 at 20 m --P1--> join point N2 (demand 0.004 m³/s) --P2--> end pressure N3;
// N2 --P3 (closed)--> join point N4 (demand 0.003 m³/s); join point N5 with no pipe.
class CutOffParts : public TDriverFixture {
protected:
    CutOffParts() {
        tank = build.AddTank(0, 0, 20.0);
        joint = build.AddJoint(100, 0);
        end = build.AddDemandPressure(200, 0);
        cutOff = build.AddJoint(100, 100);
        lone = build.AddJoint(300, 300);
        network->GetNode(joint).JointDischarge_m3s = 0.004;
        network->GetNode(cutOff).JointDischarge_m3s = 0.003;
        p1 = build.AddPipe(tank, joint, "P1");
        p2 = build.AddPipe(joint, end, "P2");
        closed = build.AddPipe(joint, cutOff, "P3");
        network->RemoveNodeLinkAddClosedPipeLink(closed);
    }

    void Solve() {
        ASSERT_TRUE(network->SolveNetwork(log));
        network->CheckResults(log, solved, network->WarningCount);
    }

    std::int32_t tank = 0, joint = 0, end = 0, cutOff = 0, lone = 0;
    std::int32_t p1 = 0, p2 = 0, closed = 0;
    bool solved = true;
};

TEST_F(CutOffParts, NodesReachAFixedPressureOnlyThroughOpenPipes) {
    const std::vector<bool> reaches = NodesReachingFixedPressure(*network);
    EXPECT_TRUE(reaches[static_cast<std::size_t>(tank)]);
    EXPECT_TRUE(reaches[static_cast<std::size_t>(joint)]);
    EXPECT_TRUE(reaches[static_cast<std::size_t>(end)]);
    EXPECT_FALSE(reaches[static_cast<std::size_t>(cutOff)]);
    EXPECT_FALSE(reaches[static_cast<std::size_t>(lone)]);
    network->RestoreNodeLinkForClosedPipe(closed);
    EXPECT_TRUE(NodesReachingFixedPressure(*network)[static_cast<std::size_t>(cutOff)]);
}

// Results a closed pipe kept from a solve before it was closed (or from its file).
TEST_F(CutOffParts, AClosedPipeReportsNoFlowVelocityOrLossAfterASolve) {
    TPipe& pipe = network->GetPipe(closed);
    pipe.FlowUncompressed_m3s = 0.0311;
    pipe.Velocity_ms = 2.53;
    pipe.ReynoldsNumber = 250000.0;
    pipe.FrictionFactor = 0.02;
    pipe.PipeFrictionLoss_mHd_Fluid = 3.1;
    pipe.FittingsLoss_mHd_Fluid = 0.4;
    pipe.PumpHead_mHd_Fluid = 12.0;
    pipe.TotalPressureLoss_mHd_Fluid = -8.5;
    Solve();
    for (double result : {pipe.FlowUncompressed_m3s, pipe.Velocity_ms, pipe.ReynoldsNumber, pipe.FrictionFactor,
                          pipe.PipeFrictionLoss_mHd_Fluid, pipe.FittingsLoss_mHd_Fluid, pipe.PumpHead_mHd_Fluid,
                          pipe.TotalPressureLoss_mHd_Fluid}) {
        EXPECT_EQ(result, 0.0);
    }
    // The open pipes keep their solved flows: the tank feeds the demand and the end node.
    EXPECT_GT(network->GetPipe(p1).FlowUncompressed_m3s, 0.004);
    EXPECT_REL_NEAR(network->GetPipe(p1).FlowUncompressed_m3s - network->GetPipe(p2).FlowUncompressed_m3s,
                           0.004, 1e-6);
}

TEST_F(CutOffParts, ACutOffDemandIsNamedWithTheFlowNotDelivered) {
    Solve();
    const std::size_t warning = IndexOf(log, "Node 4, N4 is not connected to any other node in the network.");
    ASSERT_LT(warning + 1, log.size());
    EXPECT_EQ(log[warning - 1], ">>> WARNING:");
    EXPECT_EQ(log[warning + 1], "Its demand flow out of 0.0030 m³/sec is not delivered and is left out of the totals.");
    // The lone node has no demand: only the verdict.
    const std::size_t lonely = IndexOf(log, "Node 5, N5 is not connected to any other node in the network.");
    ASSERT_LT(lonely, log.size());
    EXPECT_TRUE(lonely + 1 == log.size() || log[lonely + 1].rfind("Its demand", 0) != 0) << log[lonely + 1];
}

TEST_F(CutOffParts, TheSummaryLeavesCutOffDemandsOut) {
    network->GetNode(cutOff).JointSupply_m3s = 0.002;
    const TSystemSummary summary = network->GetSystemSummaryData();
    EXPECT_REL_NEAR(summary.FlowDemandsOut_m3s, 0.004, 1e-12);
    EXPECT_EQ(summary.FlowDemandsIn_m3s, 0.0);
    EXPECT_EQ(summary.JoinPoints, 3);
}

// A group of join points joined to each other but to no tank or end pressure node.
TEST_F(CutOffParts, AnIslandWithADemandIsWarnedAbout) {
    const std::int32_t islandA = build.AddJoint(400, 0);
    const std::int32_t islandB = build.AddJoint(500, 0);
    build.AddPipe(islandA, islandB, "Island");
    network->GetNode(islandB).JointSupply_m3s = 0.001;
    std::int32_t warnings = 0;
    bool anyway = false;
    network->CheckResults(log, anyway, warnings);
    const std::size_t warning =
        IndexOf(log, "Node " + std::to_string(islandB) + ", N" + std::to_string(islandB) +
                         " is not connected to any tank or end pressure node.");
    ASSERT_LT(warning + 1, log.size());
    EXPECT_EQ(log[warning + 1],
              "Its demand flow in of 0.0010 m³/sec does not enter the network and is left out of the totals.");
}

TEST_F(CutOffParts, CutOffNodesHaveNoPressureAfterASolve) {
    network->GetNode(lone).Pressure_FluidHead_m = -500.0;  // left from some earlier solve
    network->GetNode(lone).IsPressureSet = true;
    Solve();
    EXPECT_FALSE(network->GetNode(lone).IsPressureSet);
    EXPECT_EQ(network->GetNode(lone).Pressure_FluidHead_m, 0.0);
    EXPECT_TRUE(network->GetNode(joint).IsPressureSet);
}

// Whatever a cut-off node holds, it is not a pressure of the network.
TEST_F(CutOffParts, TheLowestAndHighestPressuresLeaveCutOffNodesOut) {
    network->GetNode(joint).Pressure_FluidHead_m = 5.0 * kMetresPerBar;
    network->GetNode(cutOff).Pressure_FluidHead_m = -50.0 * kMetresPerBar;
    network->GetNode(lone).Pressure_FluidHead_m = 90.0 * kMetresPerBar;
    double min_bar_g = 0.0;
    double max_bar_g = 0.0;
    network->GetMinAndMaxPressureAtAnyNode_bar_g(min_bar_g, max_bar_g);
    EXPECT_NEAR(min_bar_g, 0.0, 1e-12);
    EXPECT_REL_NEAR(max_bar_g, 5.0, 1e-9);
}

}  // namespace
