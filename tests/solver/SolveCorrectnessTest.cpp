#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DriverFixture.h"
#include "NetworkReference.h"
#include "common/FuzzyCompare.h"

// Whole solves checked against answers worked out independently in the test:
// Darcy-Weisbach with Colebrook-White solved exactly (NetworkReference), and
// each network's balance found by bisection on its flows or heads. Flows must
// agree to 1e-4 relative and pressures to 1 mm of fluid.

namespace {

constexpr double kFlowAgreement = 1e-4;
constexpr double kPressureAgreement_m = 0.001;

class SolveCorrectness : public TDriverFixture {
protected:
    std::int32_t AddPipe(std::int32_t from, std::int32_t to, const TReferencePipe& pipe, const std::string& name) {
        return build.AddPipe(from, to, name, pipe.Length_m, pipe.Diameter_m);
    }

    void SolveAccurately() {
        ASSERT_TRUE(network->SolveNetwork(log));
        ASSERT_FALSE(log.empty());
    }

    double FlowOf(std::int32_t pipeId) const { return network->GetPipe(pipeId).FlowUncompressed_m3s; }
    double PressureOf(std::int32_t nodeId) const { return network->GetNode(nodeId).Pressure_FluidHead_m; }
};

// Tank 20 m up with 5 m of liquid, end node at 0 m and 0 bar: 25 m to lose.
TEST_F(SolveCorrectness, SinglePipeBetweenTankAndEndNode) {
    const TReferencePipe pipe = SteelPipe(100.0, 0.1);
    const std::int32_t tank = build.AddTank(0, 0, 20.0, 0.0, 5.0);
    const std::int32_t end = build.AddDemandPressure(10, 0, 0.0, 0.0);
    const std::int32_t pipeId = AddPipe(tank, end, pipe, "P1");

    SolveAccurately();

    EXPECT_REL_NEAR(FlowOf(pipeId), FlowForLoss(pipe, 25.0L), kFlowAgreement);
    EXPECT_NEAR(PressureOf(tank), 5.0, kPressureAgreement_m);  // liquid level, without elevation
    EXPECT_NEAR(PressureOf(end), 0.0, kPressureAgreement_m);
}

// Tank 30 m up, join point 5 m up, end node held at 0.5 bar: the one flow loses
// 30 - 0.5 bar in both pipes; the join point keeps 30 - h1 - 5.
TEST_F(SolveCorrectness, PipesInSeries) {
    const TReferencePipe first = SteelPipe(200.0, 0.1);
    const TReferencePipe second = SteelPipe(150.0, 0.08);
    const std::int32_t tank = build.AddTank(0, 0, 30.0);
    const std::int32_t joint = build.AddJoint(10, 0, 5.0);
    const std::int32_t end = build.AddDemandPressure(20, 0, 0.5, 0.0);
    const std::int32_t p1 = AddPipe(tank, joint, first, "P1");
    const std::int32_t p2 = AddPipe(joint, end, second, "P2");

    SolveAccurately();

    const long double available_m = 30.0L - 0.5L * kMetresPerBar;
    const long double flow =
        FindRootByBisection([&](long double q) { return Loss(first, q) + Loss(second, q) - available_m; }, 0.0L, 1.0L);
    EXPECT_REL_NEAR(FlowOf(p1), flow, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p2), flow, kFlowAgreement);
    EXPECT_NEAR(PressureOf(joint), static_cast<double>(30.0L - Loss(first, flow) - 5.0L), kPressureAgreement_m);
    EXPECT_NEAR(PressureOf(end), 0.5 * kMetresPerBar, kPressureAgreement_m);
}

// Tank 25 m up -> J1 -> two pipes in parallel -> J2 -> end node at 0 m. For a
// head h across the parallel pair each pipe carries its own flow; h is found
// so that the whole path loses 25 m.
TEST_F(SolveCorrectness, PipesInParallel) {
    const TReferencePipe feed = SteelPipe(50.0, 0.15);
    const TReferencePipe upper = SteelPipe(100.0, 0.1);
    const TReferencePipe lower = SteelPipe(120.0, 0.08);
    const TReferencePipe drain = SteelPipe(50.0, 0.15);
    const std::int32_t tank = build.AddTank(0, 0, 25.0);
    const std::int32_t j1 = build.AddJoint(10, 0);
    const std::int32_t j2 = build.AddJoint(20, 0);
    const std::int32_t end = build.AddDemandPressure(30, 0);
    const std::int32_t pFeed = AddPipe(tank, j1, feed, "Feed");
    const std::int32_t pUpper = AddPipe(j1, j2, upper, "Upper");
    const std::int32_t pLower = AddPipe(j1, j2, lower, "Lower");
    const std::int32_t pDrain = AddPipe(j2, end, drain, "Drain");

    SolveAccurately();

    auto totalFlow = [&](long double h) { return FlowForLoss(upper, h) + FlowForLoss(lower, h); };
    const long double parallelHead_m = FindRootByBisection(
        [&](long double h) {
            const long double q = totalFlow(h);
            return Loss(feed, q) + h + Loss(drain, q) - 25.0L;
        },
        0.0L, 25.0L);
    const long double total = totalFlow(parallelHead_m);
    EXPECT_REL_NEAR(FlowOf(pFeed), total, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(pUpper), FlowForLoss(upper, parallelHead_m), kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(pLower), FlowForLoss(lower, parallelHead_m), kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(pDrain), total, kFlowAgreement);
    EXPECT_NEAR(PressureOf(j1), static_cast<double>(25.0L - Loss(feed, total)), kPressureAgreement_m);
    EXPECT_NEAR(PressureOf(j2), static_cast<double>(Loss(drain, total)), kPressureAgreement_m);
}

// Reservoirs at 50, 30 and 10 m meet at a join point at 0 m. Its head H is the
// one at which the flow from the highest equals the flows to the other two.
TEST_F(SolveCorrectness, ThreeReservoirs) {
    const TReferencePipe fromHigh = SteelPipe(300.0, 0.15);
    const TReferencePipe toMiddle = SteelPipe(200.0, 0.1);
    const TReferencePipe toLow = SteelPipe(250.0, 0.1);
    const std::int32_t high = build.AddTank(0, 0, 50.0);
    const std::int32_t middle = build.AddTank(20, 0, 30.0);
    const std::int32_t low = build.AddTank(20, 20, 10.0);
    const std::int32_t joint = build.AddJoint(10, 10, 0.0);
    const std::int32_t p1 = AddPipe(high, joint, fromHigh, "P1");
    const std::int32_t p2 = AddPipe(joint, middle, toMiddle, "P2");
    const std::int32_t p3 = AddPipe(joint, low, toLow, "P3");

    SolveAccurately();

    const long double head_m = TThreeReservoirs{fromHigh, toMiddle, toLow, 50.0, 30.0, 10.0}.JunctionHead_m();
    ASSERT_GT(head_m, 30.0L) << "the middle reservoir must be filled for the pipes to be drawn this way";
    EXPECT_REL_NEAR(FlowOf(p1), FlowForLoss(fromHigh, 50.0L - head_m), kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p2), FlowForLoss(toMiddle, head_m - 30.0L), kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p3), FlowForLoss(toLow, head_m - 10.0L), kFlowAgreement);
    EXPECT_NEAR(PressureOf(joint), static_cast<double>(head_m), kPressureAgreement_m);
}

// Tank 40 m up feeds J1; the loop J1 -> J2 -> J3 and J1 -> J3 serves 0.03 m³/s
// at J2 and 0.02 at J3. With x in J1 -> J2, the loop balance
//   h2(x) + h4(x - 0.03) - h3(0.05 - x) = 0
// is increasing in x.
TEST_F(SolveCorrectness, LoopedNetworkWithDemands) {
    const TReferencePipe feed = SteelPipe(100.0, 0.2);
    const TReferencePipe p12 = SteelPipe(200.0, 0.15);
    const TReferencePipe p13 = SteelPipe(300.0, 0.1);
    const TReferencePipe p23 = SteelPipe(150.0, 0.1);
    const std::int32_t tank = build.AddTank(0, 0, 40.0);
    const std::int32_t j1 = build.AddJoint(10, 0);
    const std::int32_t j2 = build.AddJoint(20, 0);
    const std::int32_t j3 = build.AddJoint(20, 20);
    network->GetNode(j2).JointDischarge_m3s = 0.03;
    network->GetNode(j3).JointDischarge_m3s = 0.02;
    const std::int32_t pFeed = AddPipe(tank, j1, feed, "Feed");
    const std::int32_t p2 = AddPipe(j1, j2, p12, "P2");
    const std::int32_t p3 = AddPipe(j1, j3, p13, "P3");
    const std::int32_t p4 = AddPipe(j2, j3, p23, "P4");

    SolveAccurately();

    const long double x = FindRootByBisection(
        [&](long double q) { return Loss(p12, q) + Loss(p23, q - 0.03L) - Loss(p13, 0.05L - q); }, 0.0L, 0.05L);
    ASSERT_GT(x, 0.03L) << "every flow must run in its pipe's direction";
    EXPECT_REL_NEAR(FlowOf(pFeed), 0.05, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p2), x, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p3), 0.05L - x, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(p4), x - 0.03L, kFlowAgreement);
    const long double pressure1_m = 40.0L - Loss(feed, 0.05L);
    const long double pressure2_m = pressure1_m - Loss(p12, x);
    EXPECT_NEAR(PressureOf(j1), static_cast<double>(pressure1_m), kPressureAgreement_m);
    EXPECT_NEAR(PressureOf(j2), static_cast<double>(pressure2_m), kPressureAgreement_m);
    EXPECT_NEAR(PressureOf(j3), static_cast<double>(pressure2_m - Loss(p23, x - 0.03L)), kPressureAgreement_m);
}

// A pump lifts from a tank with 2 m of liquid into a tank 30 m up, through
// 500 m of 100 mm pipe. Its curve through (0, 50), (0.01, 48), (0.02, 40) is
// head = -30000·q² + 100·q + 50 (metres of water = metres of this fluid), and
//   head(q) - h(q) = 30 - 2.
TEST_F(SolveCorrectness, PumpLiftingBetweenTwoTanks) {
    const TReferencePipe pipe = SteelPipe(500.0, 0.1);
    const std::int32_t lowTank = build.AddTank(0, 0, 0.0, 0.0, 2.0);
    const std::int32_t highTank = build.AddTank(10, 0, 30.0);
    const std::int32_t pipeId = AddPipe(lowTank, highTank, pipe, "P1");
    TPipe& pumped = network->GetPipe(pipeId);
    pumped.HasPump = true;
    pumped.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pumped.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 1.0);
    pumped.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 1.0);

    SolveAccurately();

    auto pumpHead = [](long double q) { return -30000.0L * q * q + 100.0L * q + 50.0L; };
    const long double flow =
        FindRootByBisection([&](long double q) { return Loss(pipe, q) - pumpHead(q) + 28.0L; }, 0.0L, 0.02L);
    EXPECT_REL_NEAR(FlowOf(pipeId), flow, kFlowAgreement);
    EXPECT_NEAR(network->GetPipe(pipeId).PumpHead_mHd_Fluid, static_cast<double>(pumpHead(flow)), kPressureAgreement_m);
}

// A component losing a fixed 0.5 bar sits on the pipe from a tank 20 m up.
TEST_F(SolveCorrectness, ComponentWithFixedLoss) {
    const TReferencePipe pipe = SteelPipe(100.0, 0.1);
    const std::int32_t tank = build.AddTank(0, 0, 20.0);
    const std::int32_t joint = build.AddJoint(10, 0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    const std::int32_t withComponent = AddPipe(tank, joint, pipe, "P1");
    const std::int32_t after = AddPipe(joint, end, pipe, "P2");
    TPipe& pipeWithComponent = network->GetPipe(withComponent);
    pipeWithComponent.HasComponentPressure = true;
    pipeWithComponent.ComponentPressure.FixedLoss_bar = 0.5;

    SolveAccurately();

    const long double component_m = 0.5L * kMetresPerBar;
    const long double flow = FindRootByBisection(
        [&](long double q) { return 2.0L * Loss(pipe, q) + component_m - 20.0L; }, 0.0L, 1.0L);
    EXPECT_REL_NEAR(FlowOf(withComponent), flow, kFlowAgreement);
    EXPECT_REL_NEAR(FlowOf(after), flow, kFlowAgreement);
    EXPECT_NEAR(PressureOf(joint), static_cast<double>(Loss(pipe, flow)), kPressureAgreement_m);
}

// ---- Held flows ---------------------------------------------------------------------------------------

// Tank 20 m up -> J -> end node; a flow control holds 0.02 m³/s in J -> end.
// The control takes up what the pipes leave of the 20 m:
//   Δh = p_J - h2(0.02), with p_J = 20 - h1(0.02).
class FlowControlled : public SolveCorrectness {
protected:
    void Build(double setFlow_m3s) {
        tank = build.AddTank(0, 0, 20.0);
        joint = build.AddJoint(10, 0);
        const std::int32_t end = build.AddDemandPressure(20, 0);
        p1 = AddPipe(tank, joint, pipe, "P1");
        p2 = AddPipe(joint, end, pipe, "P2");
        TPipe& controlled = network->GetPipe(p2);
        controlled.HasFlowControl = true;
        controlled.FlowControlSetFlow_m3s = setFlow_m3s;
    }

    const TReferencePipe pipe = SteelPipe(100.0, 0.1);
    std::int32_t tank = 0;
    std::int32_t joint = 0;
    std::int32_t p1 = 0;
    std::int32_t p2 = 0;
};

TEST_F(FlowControlled, ControlThatCanBeMetTakesUpTheRemainingHead) {
    Build(0.02);

    SolveAccurately();

    const long double jointPressure_m = 20.0L - Loss(pipe, 0.02L);
    const long double drop_m = jointPressure_m - Loss(pipe, 0.02L);
    EXPECT_REL_NEAR(FlowOf(p1), 0.02, kFlowAgreement);
    EXPECT_EQ(FlowOf(p2), 0.02);
    EXPECT_NEAR(PressureOf(joint), static_cast<double>(jointPressure_m), kPressureAgreement_m);
    const TPipe& controlled = network->GetPipe(p2);
    EXPECT_NEAR(controlled.FlowControlLoss_mHd_Fluid, static_cast<double>(drop_m), kPressureAgreement_m);
    EXPECT_REL_NEAR(controlled.FlowControlLoss_bar, controlled.FlowControlLoss_mHd_Fluid / kMetresPerBar, 1e-9);
}

// 0.2 m³/s would need far more than 20 m through 200 m of 100 mm pipe.
TEST_F(FlowControlled, ControlThatCannotBeMetLeavesItsPipeStillAndTheNetworkUnsolved) {
    Build(0.2);

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_EQ(FlowOf(p2), 0.0);
    EXPECT_EQ(network->GetPipe(p2).Velocity_ms, 0.0);
    EXPECT_LT(network->GetPipe(p2).FlowControlLoss_mHd_Fluid, 0.0);
    const std::vector<std::string> tail(log.end() - 7, log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        " ",
                        ">>> PROBLEM:",
                        "Pipe 2, P2, Pressure in pipe is not enough to deliver the set flow control at 0.2000m³/sec.",
                        " ",
                        ">>> System not solved. Flow control settings not met.",
                        "Either remove the flow controls where the flow cannot be met or reduce the specified flow "
                        "in the control.",
                        " ",
                    }));
}

// Tank A (0 m) -> J -> pump at a fixed 0.02 m³/s -> tank B 20 m up. The pump
// must give what the pressures do not:
//   H = h2 + p_B - p_J + (z_B - z_J) = h2 + 0 + h1 + 20.
TEST_F(SolveCorrectness, FixedFlowPumpGivesTheHeadThePipeNeeds) {
    const TReferencePipe first = SteelPipe(100.0, 0.1);
    const TReferencePipe second = SteelPipe(50.0, 0.1);
    const std::int32_t source = build.AddTank(0, 0, 0.0);
    const std::int32_t joint = build.AddJoint(10, 0, 0.0);
    const std::int32_t target = build.AddTank(20, 0, 20.0);
    AddPipe(source, joint, first, "P1");
    const std::int32_t pumpPipe = AddPipe(joint, target, second, "P2");
    TPipe& pumped = network->GetPipe(pumpPipe);
    pumped.HasPump = true;
    pumped.Pump.RunsAtSetFlowRate = 1;
    pumped.Pump.SetFlowRate_m3s = 0.02;

    SolveAccurately();

    const long double head_m = Loss(second, 0.02L) + Loss(first, 0.02L) + 20.0L;
    const TPipe& result = network->GetPipe(pumpPipe);
    EXPECT_EQ(result.FlowUncompressed_m3s, 0.02);
    EXPECT_NEAR(result.PumpHead_mHd_Fluid, static_cast<double>(head_m), kPressureAgreement_m);
    // The pipe's total loss takes the pump head into account, so that the head
    // falls along it from the join point to the tank: p_J + z_J - h_total = p_B + z_B.
    EXPECT_NEAR(PressureOf(joint) + 0.0 - result.TotalPressureLoss_mHd_Fluid, 0.0 + 20.0, kPressureAgreement_m);
}

// Tank A 30 m up -> J -> a pump fixed at 0.001 m³/s -> tank B at 0 m: the fluid
// would run faster without the pump.
TEST_F(SolveCorrectness, FixedFlowPumpThatWouldHaveToBrakeIsAProblem) {
    const std::int32_t source = build.AddTank(0, 0, 30.0);
    const std::int32_t joint = build.AddJoint(10, 0, 0.0);
    const std::int32_t target = build.AddTank(20, 0, 0.0);
    build.AddPipe(source, joint, "P1");
    const std::int32_t pumpPipe = build.AddPipe(joint, target, "P2");
    TPipe& pumped = network->GetPipe(pumpPipe);
    pumped.HasPump = true;
    pumped.Pump.RunsAtSetFlowRate = 1;
    pumped.Pump.SetFlowRate_m3s = 0.001;

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_LT(network->GetPipe(pumpPipe).PumpHead_mHd_Fluid, 0.0);
    EXPECT_EQ(FlowOf(pumpPipe), 0.0);
    const std::vector<std::string> tail(log.end() - 8, log.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{
                  " ",
                  ">>> PROBLEM:",
                  "Pipe 2, P2, The pump may not be needed (the pump head is negative). The pressure in the pipe will "
                  "already deliver more flow than the pump's fixed flow rate of 0.0010m³/sec. Remove the pump and use "
                  "a flow control valve to limit the flow rate if required, or increase the pump's fixed flow rate so "
                  "that the pump head required is positive.",
                  " ",
                  ">>> System not solved. Problem with some pumps.",
                  "Pumps (x1) exist where the pump head produced would have to be negative. In these cases, the "
                  "Pump's Fixed Flow Rate is set lower than the flow that would occur in the pipe if the pump was not "
                  "present. See log details above for information on each problem pump.",
                  "Solution: Either remove the problem pump or increase the pump's fixed flow rate.",
                  " ",
              }));
}

}  // namespace
