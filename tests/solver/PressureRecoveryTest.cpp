#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DriverFixture.h"
#include "common/FuzzyCompare.h"

// Pressure recovery after a solve: the flows go back into the pipes and the
// node pressures (metres of fluid, gauge) are carried outwards from the tanks
// and end pressure nodes. The pipes here have no length and a component with a
// fixed loss, so that each pipe's total loss is known exactly.

namespace {

class PressureRecovery : public TDriverFixture {
protected:
    // A pipe without friction whose whole loss is a fixed component loss, metres of fluid.
    std::int32_t AddLossPipe(std::int32_t from, std::int32_t to, double loss_m) {
        const std::int32_t pipeId = build.AddPipe(from, to, "P", 0.0, 0.1);
        TPipe& pipe = network->GetPipe(pipeId);
        pipe.HasComponentPressure = true;
        pipe.ComponentPressure.UseCurve = 0;
        pipe.ComponentPressure.FixedLoss_bar = loss_m / kMetresPerBar;
        return pipeId;
    }

    // Every unknown gets the same positive flow, as a solve might leave it.
    void SolvedWithFlow(double flow_m3s) {
        TMatrixEquations& engine = network->MatrixEquations;
        engine.ClearResults(network->GetNodeLinkCount(), network->GetNodeLinkCount());
        for (std::int32_t k = 1; k <= network->GetNodeLinkCount(); ++k) engine.QVariables[k] = flow_m3s;
    }

    double PressureOf(std::int32_t nodeId) const { return network->GetNode(nodeId).Pressure_FluidHead_m; }
};

// Downstream: p_B = z_A - z_B + p_A - h. Tank 20 m up with 5 m of liquid, pipe
// losing 3 m: the tank holds 5 m (elevation not included), the join point
// 20 - 0 + 5 - 3 = 22 m.
TEST_F(PressureRecovery, JoinPointBelowATankGetsTheTankHeadLessTheLoss) {
    const std::int32_t tank = build.AddTank(0, 0, 20.0, 0.0, 5.0);
    const std::int32_t joint = build.AddJoint(10, 0, 0.0);
    const std::int32_t pipeId = AddLossPipe(tank, joint, 3.0);
    SolvedWithFlow(0.01);
    bool solved = true;

    network->ReCalcNetworkFromMatrixQVariables(solved, log);

    EXPECT_TRUE(solved);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(network->GetPipe(pipeId).FlowUncompressed_m3s, 0.01);
    EXPECT_REL_NEAR(network->GetPipe(pipeId).TotalPressureLoss_mHd_Fluid, 3.0, 1e-12);
    EXPECT_REL_NEAR(PressureOf(tank), 5.0, 1e-12);
    EXPECT_REL_NEAR(PressureOf(joint), 22.0, 1e-12);
}

// Upstream: p_A = h + p_B - (z_A - z_B). An end node 10 m up held at 0.5 bar,
// fed through a pipe losing 2 m: the join point needs 2 + 0.5 bar + 10 m.
TEST_F(PressureRecovery, JoinPointAboveItsEndNodeIsWorkedOutUpstream) {
    const std::int32_t joint = build.AddJoint(0, 0, 0.0);
    const std::int32_t end = build.AddDemandPressure(10, 0, 0.5, 10.0);
    AddLossPipe(joint, end, 2.0);
    SolvedWithFlow(0.02);
    bool solved = true;

    network->ReCalcNetworkFromMatrixQVariables(solved, log);

    EXPECT_TRUE(solved);
    EXPECT_REL_NEAR(PressureOf(end), 0.5 * kMetresPerBar, 1e-12);
    EXPECT_REL_NEAR(PressureOf(joint), 2.0 + 0.5 * kMetresPerBar + 10.0, 1e-12);
}

// Links listed against the direction of the walk: each sweep reaches one more
// join point, and every one is reached. Tank with 10 m of liquid, 1 m lost per pipe.
TEST_F(PressureRecovery, SweepsRepeatUntilEveryJoinPointIsReached) {
    const std::int32_t tank = build.AddTank(0, 0, 0.0, 0.0, 10.0);
    std::vector<std::int32_t> joints;
    for (std::int32_t i = 1; i <= 4; ++i) joints.push_back(build.AddJoint(10 * i, 0));
    for (std::size_t i = joints.size() - 1; i >= 1; --i) AddLossPipe(joints[i - 1], joints[i], 1.0);
    AddLossPipe(tank, joints[0], 1.0);
    SolvedWithFlow(0.01);
    bool solved = true;

    network->ReCalcNetworkFromMatrixQVariables(solved, log);

    EXPECT_TRUE(solved);
    for (std::size_t i = 0; i < joints.size(); ++i) {
        EXPECT_REL_NEAR(PressureOf(joints[i]), 10.0 - static_cast<double>(i + 1), 1e-12) << "join point " << i;
    }
}

TEST_F(PressureRecovery, IsolatedNodeIsReportedAndSetToZero) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    const std::int32_t isolated = build.AddJoint(20, 20);
    network->GetNode(isolated).Pressure_FluidHead_m = 7.0;
    AddLossPipe(tank, end, 10.0);
    SolvedWithFlow(0.01);
    bool solved = true;

    network->ReCalcNetworkFromMatrixQVariables(solved, log);

    EXPECT_TRUE(solved);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Pressure was not calculated at 1 'Joint' nodes:",
                       "Node Id 3, N3, Isolated - set pressure at node to zero - ignore and continue.",
                   }));
    EXPECT_EQ(PressureOf(isolated), 0.0);
}

// Two join points joined to each other but to no fixed-pressure node.
TEST_F(PressureRecovery, ConnectedNodeWithoutPressureMakesTheSolveFail) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    const std::int32_t a = build.AddJoint(20, 20);
    const std::int32_t b = build.AddJoint(30, 20);
    AddLossPipe(tank, end, 10.0);
    AddLossPipe(a, b, 1.0);
    SolvedWithFlow(0.01);
    bool solved = true;

    network->ReCalcNetworkFromMatrixQVariables(solved, log);

    EXPECT_FALSE(solved);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Pressure was not calculated at 2 'Joint' nodes:",
                       "Node Id 3, N3",
                       "Node Id 4, N4",
                   }));
}

}  // namespace
