#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <numbers>
#include <string>
#include <vector>

#include "DriverFixture.h"
#include "common/FuzzyCompare.h"

// Attempt verdicts, the review of a network and its results, and the summary
// figures. The results under review are written straight into the document,
// as a solve would leave them, so that every case is set exactly.

namespace {

using TLines = std::vector<std::string>;

const std::string kRule71(71, '-');

TLines Warning(std::initializer_list<std::string> lines) {
    TLines all{" ", ">>> WARNING:"};
    all.insert(all.end(), lines);
    return all;
}

TLines Join(std::initializer_list<TLines> parts) {
    TLines all;
    for (const TLines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const TLines kNoIssues{"No issues to report.", kRule71, " "};
const TLines kReviewSystem{kRule71, "Please check the warnings and review your system.", " "};
const TLines kDidNotConverge{
    " ",
    "*** Flow and pressure calculations did not converge to a balanced condition:",
    " ",
    "Suggestion:",
    "1) Try increasing the available pressure at supply tanks.",
    "   e.g. increase tank elevation, liquid level, and surface pressure as appropriate.",
    "   It is often useful to set a high supply tank elevation and",
    "   then try to Re-Calculate the system to see if it can be solved.",
    "2) Try increasing any very small pipe diameters to allow easier flow.",
    " ",
    " ",
};

// ---- Attempt verdicts ------------------------------------------------------------------------

struct TVerdictCase {
    const char* name;
    bool solved;
    bool secondPass;
    bool finalPhase;
    bool negative;
    TLines expected;
    bool refinementFailed;
};

class SolvedMessageVerdict : public TDriverFixture, public ::testing::WithParamInterface<TVerdictCase> {};

TEST_P(SolvedMessageVerdict, LogsTheLinesOfItsCase) {
    const TVerdictCase& c = GetParam();
    network->MatrixEquations.IterationCount = 17;

    network->SolvedMessage(c.solved, c.finalPhase, log, c.secondPass, c.negative);

    EXPECT_EQ(log, c.expected);
    EXPECT_EQ(network->RefinementFailed, c.refinementFailed);
}

const char* const kAccept = "Accept solution with some negative flows since cannot find a solution with all positive flows.";

INSTANTIATE_TEST_SUITE_P(
    AllCombinations, SolvedMessageVerdict,
    ::testing::Values(
        TVerdictCase{"AccurateNegativeFirstPass", true, false, true, true,
                     {"Found Accurate Solution BUT with some negative flows (17 calculations)"}, false},
        TVerdictCase{"Accurate", true, false, true, false, {"Found Accurate Solution (17 calculations)"}, false},
        TVerdictCase{"ApproximateNegativeFirstPass", true, false, false, true,
                     {"Found Approximate Solution with some negative flows (17 calculations)",
                      "Continue search for positive flow solution."},
                     false},
        TVerdictCase{"Approximate", true, false, false, false, {"Found Approximate Solution (17 calculations)"}, false},
        TVerdictCase{"AccurateNegativeSecondPass", true, true, true, true,
                     {"Found Accurate Solution with some negative flows (17 calculations)"}, false},
        TVerdictCase{"ApproximateNegativeSecondPass", true, true, false, true,
                     {"Found Approximate Solution with some negative flows (17 calculations)", kAccept}, false},
        TVerdictCase{"AccuratePositiveSecondPass", true, true, true, false, {}, false},
        TVerdictCase{"ApproximatePositiveSecondPass", true, true, false, false, {}, false},
        TVerdictCase{"RefinementFailed", false, false, true, false,
                     {"Did Not Converge to an Accurate Solution (17 calculations)", "Continue to next iteration"}, true},
        TVerdictCase{"RefinementFailedSecondPassNegative", false, true, true, true,
                     {"Did Not Converge to an Accurate Solution (17 calculations)", "Continue to next iteration"}, true},
        TVerdictCase{"ApproximationFailed", false, false, false, false,
                     {"Failed to find Approximate Solution (17 calculations)"}, false},
        TVerdictCase{"ApproximationFailedSecondPassNegative", false, true, false, true,
                     {"Failed to find Approximate Solution (17 calculations)"}, false}),
    [](const ::testing::TestParamInfo<TVerdictCase>& info) { return std::string(info.param.name); });

// ---- Network review ---------------------------------------------------------------------------

class ResultReview : public TDriverFixture {
protected:
    ResultReview() { network->Fluid.VapourPressure_bar_a = 0.0; }

    TLines Check(bool& solved) {
        network->CheckResults(log, solved, warnings);
        return log;
    }

    std::int32_t warnings = -1;
};

// Tank 1, 10 m up, feeding end node 2 through a 100 mm pipe at 1 m/s.
class ReviewedTankToEnd : public ResultReview {
protected:
    ReviewedTankToEnd() {
        tank = build.AddTank(0, 0, 10.0);
        end = build.AddDemandPressure(10, 0);
        pipeId = build.AddPipe(tank, end, "P1");
        SetVelocity(1.0);
    }

    void SetVelocity(double velocity_ms) {
        TPipe& pipe = network->GetPipe(pipeId);
        pipe.Velocity_ms = velocity_ms;
        pipe.FlowUncompressed_m3s = velocity_ms * std::numbers::pi * 0.1 * 0.1 / 4.0;
    }

    std::int32_t tank = 0;
    std::int32_t end = 0;
    std::int32_t pipeId = 0;
};

TEST_F(ReviewedTankToEnd, SolvedNetworkWithoutWarningsHasNoIssues) {
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, kNoIssues}));
    EXPECT_TRUE(solved);
    EXPECT_EQ(warnings, 0);
}

TEST_F(ReviewedTankToEnd, SolvedNetworkWithFailedAttemptsReportsNothingMore) {
    network->CalculationFailedCount = 2;
    bool solved = true;
    EXPECT_EQ(Check(solved), TLines{"Checking Results..."});
}

TEST_F(ReviewedTankToEnd, UnsolvedNetworkWithFailedAttemptsGetsTheSuggestions) {
    network->CalculationFailedCount = 2;
    bool solved = false;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, kDidNotConverge}));
}

// A drawn node without pipes: warned about; results of a solved network are
// still reviewed, and only an unsolved one is asked to be rechecked.
TEST_F(ReviewedTankToEnd, IsolatedNodeIsWarnedAbout) {
    build.AddJoint(50, 50);
    const TLines isolated = Warning({"Node 3, N3 is not connected to any other node in the network."});
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, isolated}));
    EXPECT_EQ(warnings, 1);

    log.clear();
    solved = false;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, isolated, kReviewSystem}));
}

// Only results of a solved network are reviewed.
TEST_F(ReviewedTankToEnd, EndNodeBelowTheAtmosphereIsWarnedAboutWhenSolved) {
    network->GetNode(end).Pressure_FluidHead_m = -0.5;
    const TLines warning = Warning({"Node 2, N2, Pressure at node is less than the specified atmospheric pressure "
                                    "for this system (1.013250 bar.a)"});
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, warning}));

    log.clear();
    solved = false;
    EXPECT_EQ(Check(solved), TLines{"Checking Results..."});
}

struct TVelocityCase {
    const char* name;
    bool gas;
    double velocity_ms;
    TLines expected;  // after "Checking Results..."
};

class VelocityReview : public ReviewedTankToEnd, public ::testing::WithParamInterface<TVelocityCase> {};

TEST_P(VelocityReview, WarnsOnlyAboveTheLimitOfTheFluid) {
    const TVelocityCase& c = GetParam();
    network->Fluid.IsGas = c.gas;
    SetVelocity(c.velocity_ms);
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, c.expected}));
}

// Defaults: 5 m/s for a liquid, 20 m/s for a gas.
INSTANTIATE_TEST_SUITE_P(
    LiquidAndGas, VelocityReview,
    ::testing::Values(TVelocityCase{"LiquidAtTheLimit", false, 5.0, kNoIssues},
                      TVelocityCase{"LiquidAboveTheLimit", false, 5.5,
                                    Warning({"P1, Liquid Flow Velocity is high (5.500m/sec)"})},
                      TVelocityCase{"LiquidReversedFast", false, -6.0, kNoIssues},
                      TVelocityCase{"GasBelowItsLimit", true, 15.0, kNoIssues},
                      TVelocityCase{"GasAboveItsLimit", true, 25.0,
                                    Warning({"P1, Gas Flow Velocity is high (25.000m/sec)"})}),
    [](const ::testing::TestParamInfo<TVelocityCase>& info) { return std::string(info.param.name); });

// End node 1 drains into tank 2 (a discharge point); tank 3 only feeds join
// point 4, which has no discharge.
TEST_F(ResultReview, NodesWithFlowsOnOneSideOnlyAreWarnedAbout) {
    const std::int32_t end = build.AddDemandPressure(0, 0);
    const std::int32_t lowTank = build.AddTank(10, 0);
    const std::int32_t supplyTank = build.AddTank(20, 0);
    const std::int32_t deadEnd = build.AddJoint(30, 0);
    build.AddPipe(end, lowTank, "P1");
    build.AddPipe(supplyTank, deadEnd, "P2");
    bool solved = false;
    EXPECT_EQ(Check(solved),
              Join({{"Checking Results..."},
                    Warning({"Node 1, N1 has out flows but no in flow and is not of type tank or a joint with a "
                             "demand flow in."}),
                    Warning({"Node 4, N4 has in flows but no out flow and is not a tank, end pressure or a joint "
                             "with a demand out flow."}),
                    kReviewSystem}));
    EXPECT_EQ(warnings, 2);
}

// Join points with demands are supply and discharge points in their own right.
TEST_F(ResultReview, JoinPointsWithDemandsNeedNoFixedPressureNodeWarningOnly) {
    const std::int32_t in = build.AddJoint(0, 0);
    const std::int32_t out = build.AddJoint(10, 0);
    network->GetNode(in).JointSupply_m3s = 0.01;
    network->GetNode(out).JointDischarge_m3s = 0.01;
    build.AddPipe(in, out, "P1");
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."},
                                   Warning({"The network has neither a Tank or an End Pressure node.",
                                            "There may not be enough information to solve the network flows and "
                                            "pressures."})}));
}

TEST_F(ResultReview, RecirculatingLoopGetsEveryNetworkWarningEvenWhenSolved) {
    const std::int32_t a = build.AddJoint(0, 0);
    const std::int32_t b = build.AddJoint(10, 0);
    build.AddPipe(a, b, "P1");
    build.AddPipe(b, a, "P2");
    bool solved = true;
    EXPECT_EQ(
        Check(solved),
        Join({{"Checking Results..."},
              Warning({"The network has neither a Tank or an End Pressure node.",
                       "There may not be enough information to solve the network flows and pressures."}),
              Warning({"The network has no supply points where fluid flows in.",
                       "The network must have at least one supply tank or joint with a demand in flow that is greater "
                       "than zero."}),
              Warning({"The network has no discharge points where fluid exits the system.",
                       "The network does not have a discharge tank or joint with a demand out flow, or an end pressure "
                       "demand.",
                       "This suggests the network is a re-circulating system.", "If so, then please ignore this warning.",
                       "If not, then please recheck your system and add a discharge point."})}));
    EXPECT_TRUE(solved);
    EXPECT_EQ(warnings, 3);
}

// ---- Pumps and components -------------------------------------------------------------------------

// Join point 1 (supply 0.015 m³/s, 0 m) feeds end node 2 (2 m up) through a
// pipe without length carrying the pump "Booster" on the curve
// (0, 50), (0.01, 48), (0.02, 40) m³/s and m with efficiencies 0, 60, 70 %:
// best efficiency at 0.02, preferred region 50..110 % = 0.01..0.022 m³/s.
// The join point's pressure of 20 m gives an NPSH available of
// 20 + 1.01325 bar = 20 + 10.332 m; NPSH required is 4 m.
class PumpReview : public ResultReview {
protected:
    PumpReview() {
        inlet = build.AddJoint(0, 0, 0.0);
        const std::int32_t end = build.AddDemandPressure(10, 0, 0.0, 2.0);
        network->GetNode(inlet).JointSupply_m3s = 0.015;
        network->GetNode(inlet).Pressure_FluidHead_m = 20.0;
        pipeId = build.AddPipe(inlet, end, "P1", 0.0, 0.1);
        TPipe& pipe = Pipe();
        pipe.HasPump = true;
        pipe.Pump.SetName("Booster");
        pipe.Pump.PreferredOpRegionFromPercent = 50;
        pipe.Pump.PreferredOpRegionToPercent = 110;
        pipe.PumpNPSHr_mHd_Fluid = 4.0;
        pipe.FlowUncompressed_m3s = 0.015;
    }

    TPipe& Pipe() { return network->GetPipe(pipeId); }

    // Points of the curve above by their index 0, 1, 2.
    void AddCurve(std::initializer_list<std::size_t> points) {
        const double flows[] = {0.0, 0.01, 0.02};
        const double heads[] = {50.0, 48.0, 40.0};
        const double efficiencies[] = {0.0, 60.0, 70.0};
        for (std::size_t n : points) Pipe().Pump.AddPumpCurvePoint(flows[n], heads[n], efficiencies[n], 3.0);
    }

    std::int32_t inlet = 0;
    std::int32_t pipeId = 0;
};

TEST_F(PumpReview, PumpWithinItsCurveAndRegionHasNoIssues) {
    AddCurve({0, 1, 2});
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, kNoIssues}));
}

struct TPumpCase {
    const char* name;
    std::function<void(TNetwork&, TPipe&)> arrange;
    TLines expected;  // after "Checking Results..."
};

class PumpReviewCase : public PumpReview, public ::testing::WithParamInterface<TPumpCase> {};

TEST_P(PumpReviewCase, WarnsAsItsCaseRequires) {
    AddCurve({0, 1, 2});
    GetParam().arrange(*network, Pipe());
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, GetParam().expected}));
    EXPECT_TRUE(solved);
}

const char* const kOutsideRegion = "P1,Booster => Flow rate is Outside Preferred Operating Region for this pump.";
const char* const kOutsideCurve = "P1,Booster => Flow is outside of the specified Pump curve points.";

INSTANTIATE_TEST_SUITE_P(
    Warnings, PumpReviewCase,
    ::testing::Values(
        TPumpCase{"BelowPreferredRegion", [](TNetwork&, TPipe& pipe) { pipe.FlowUncompressed_m3s = 0.005; },
                  Warning({kOutsideRegion})},
        // NPSHa = -8 + 10.332 = 2.332 m < 4 m
        TPumpCase{"NotEnoughSuction", [](TNetwork& n, TPipe&) { n.GetNode(1).Pressure_FluidHead_m = -8.0; },
                  Warning({"P1,Booster => NPSHa is not sufficient",
                           "NPSHr=4.000, NPSHa=2.332 (Too Low - Cavitation may occur at the pump)"})},
        // Beyond the last point the curve goes on along the line through the last
        // two: head(0.025) = 40 - 800·0.005 = 36 m, as the solve left it.
        TPumpCase{"BeyondTheCurve",
                  [](TNetwork&, TPipe& pipe) {
                      pipe.FlowUncompressed_m3s = 0.025;
                      pipe.PumpHead_mHd_Fluid = 36.0;
                  },
                  Join({Warning({kOutsideRegion}),
                        Warning({kOutsideCurve,
                                 "The pump head extrapolated to 36.000 m.hd Fluid for this flow 0.0250 m³/sec. This "
                                 "extrapolation may not be correct.",
                                 "Additional points should be added to pump curve and the network re-solved."})})},
        // head(0.08) = 40 - 800·0.06 < 0: the pump gives nothing
        TPumpCase{"FarBeyondTheCurve", [](TNetwork&, TPipe& pipe) { pipe.FlowUncompressed_m3s = 0.08; },
                  Join({Warning({kOutsideRegion}),
                        Warning({kOutsideCurve, "The pump head extrapolated to zero, i.e. the pump is not "
                                                "contributing to the flow in the system"})})},
        TPumpCase{"AboveThePipe", [](TNetwork&, TPipe& pipe) { pipe.PumpElevation_m = 5.0; },
                  Warning({"P1,Booster => The pump elevation 5.000m is not between the start and end elevation of "
                           "the pipe (0.000m to 2.000m)"})},
        // At a set flow rate only the suction and the elevation are reviewed.
        TPumpCase{"SetFlowPumpAnywhereOnItsCurve",
                  [](TNetwork&, TPipe& pipe) {
                      pipe.Pump.RunsAtSetFlowRate = 1;
                      pipe.FlowUncompressed_m3s = 0.05;
                      pipe.PumpNPSHr_mHd_Fluid = 40.0;
                  },
                  kNoIssues},
        TPumpCase{"SwitchedOff",
                  [](TNetwork&, TPipe& pipe) {
                      pipe.CalcPump = false;
                      pipe.FlowUncompressed_m3s = 0.05;
                  },
                  kNoIssues}),
    [](const ::testing::TestParamInfo<TPumpCase>& info) { return std::string(info.param.name); });

TEST_F(PumpReview, IncompleteCurveIsWarnedAbout) {
    AddCurve({0, 2});
    bool solved = true;
    EXPECT_EQ(Check(solved), Join({{"Checking Results..."},
                                   Warning({"P1,Booster => Pump curve is not fully specified.",
                                            "A pump head of zero has been assumed when solving the network."})}));
}

// NPSHa = -20 + 10.332 = -9.668 m: a problem that unsolves the network, while
// the pipe after it is still reviewed.
TEST_F(PumpReview, NegativeSuctionHeadUnsolvesButTheReviewGoesOn) {
    AddCurve({0, 1, 2});
    Pipe().Pump.RunsAtSetFlowRate = 1;
    network->GetNode(inlet).Pressure_FluidHead_m = -20.0;
    const std::int32_t tank = build.AddTank(20, 20, 30.0);
    const std::int32_t fast = build.AddPipe(tank, inlet, "P2");
    network->GetPipe(fast).Velocity_ms = 6.0;
    bool solved = true;

    EXPECT_EQ(Check(solved), Join({{"Checking Results..."},
                                   {" ", ">>> PROBLEM:", "P1,Booster => NPSHa = -9.668 - NPSHa cannot be negative"},
                                   Warning({"P2, Liquid Flow Velocity is high (6.000m/sec)"}),
                                   kReviewSystem}));
    EXPECT_FALSE(solved);
    EXPECT_EQ(warnings, 2);
}

// A component curve from 0.01 to 0.03 m³/s.
TEST_F(ReviewedTankToEnd, FlowOutsideTheComponentCurveIsWarnedAbout) {
    TPipe& pipe = network->GetPipe(pipeId);
    pipe.HasComponentPressure = true;
    pipe.ComponentPressure.SetName("Meter");
    pipe.ComponentPressure.UseCurve = 1;
    pipe.ComponentPressure.AddCurvePoint(0.01, 1.0);
    pipe.ComponentPressure.AddCurvePoint(0.03, 4.0);
    const TLines outside = Warning({"P1,Meter => Flow is outside of the specified Component Pressure Loss curve points.",
                                    "The Component Pressure Loss extrapolation for this flow may not be correct.",
                                    "Additional points should be added to the Component Pressure Loss curve and the "
                                    "network re-solved."});
    struct TFlowCase {
        double flow_m3s;
        TLines expected;
    };
    for (const TFlowCase& c : {TFlowCase{0.005, outside}, TFlowCase{0.02, kNoIssues}, TFlowCase{0.035, outside}}) {
        log.clear();
        pipe.FlowUncompressed_m3s = c.flow_m3s;
        bool solved = true;
        EXPECT_EQ(Check(solved), Join({{"Checking Results..."}, c.expected})) << "flow " << c.flow_m3s;
    }
}

// ---- Summary figures ---------------------------------------------------------------------------------

// Open pipes: P1 (pump on), P2 (pump off), P3 (component and flow control on),
// P4 (flow control off); P5 is closed and counts for nothing.
TEST_F(ResultReview, SummaryCountsSwitchedOnItemsOfOpenPipes) {
    const std::int32_t tank = build.AddTank(0, 0);
    const std::int32_t a = build.AddJoint(10, 0);
    const std::int32_t b = build.AddJoint(20, 0);
    const std::int32_t end = build.AddDemandPressure(30, 0);
    network->GetNode(a).JointSupply_m3s = 0.004;
    network->GetNode(a).JointDischarge_m3s = 0.001;
    network->GetNode(b).JointDischarge_m3s = 0.002;
    const std::int32_t p1 = build.AddPipe(tank, a, "P1", 100.0, 0.1);
    const std::int32_t p2 = build.AddPipe(a, b, "P2", 50.0, 0.2);
    const std::int32_t p3 = build.AddPipe(b, end, "P3", 10.0, 0.1);
    const std::int32_t p4 = build.AddPipe(a, end, "P4", 20.0, 0.05);
    const std::int32_t p5 = build.AddPipe(tank, end, "P5", 1000.0, 0.3);
    network->GetPipe(p1).HasPump = true;
    network->GetPipe(p2).HasPump = true;
    network->GetPipe(p2).CalcPump = false;
    network->GetPipe(p3).HasComponentPressure = true;
    network->GetPipe(p3).HasFlowControl = true;
    network->GetPipe(p3).FlowControlSetFlow_m3s = 0.003;
    network->GetPipe(p4).HasFlowControl = true;
    network->GetPipe(p4).CalcFlowControl = false;
    network->GetPipe(p4).FlowControlSetFlow_m3s = 0.5;
    network->GetPipe(p5).HasFlowControl = true;
    network->GetPipe(p5).FlowControlSetFlow_m3s = 0.7;
    network->RemoveNodeLinkAddClosedPipeLink(p5);

    const TSystemSummary summary = network->GetSystemSummaryData();

    EXPECT_EQ(summary.Pipes, 4);
    EXPECT_EQ(summary.Tanks, 1);
    EXPECT_EQ(summary.JoinPoints, 2);
    EXPECT_EQ(summary.DemandPressures, 1);
    EXPECT_EQ(summary.Pumps, 1);
    EXPECT_EQ(summary.Components, 1);
    EXPECT_EQ(summary.FlowControls, 1);
    EXPECT_REL_NEAR(summary.FlowDemandsIn_m3s, 0.004, 1e-12);
    EXPECT_REL_NEAR(summary.FlowDemandsOut_m3s, 0.003, 1e-12);
    EXPECT_REL_NEAR(summary.FlowControlsFlow_m3s, 0.003, 1e-12);
    // π/4 · (0.1²·100 + 0.2²·50 + 0.1²·10 + 0.05²·20) = π/4 · 3.15
    EXPECT_REL_NEAR(summary.SystemVolume_m3, std::numbers::pi / 4.0 * 3.15, 1e-12);
}

struct TPressureRangeCase {
    const char* name;
    std::vector<double> pressures_m;
    double min_bar_g;
    double max_bar_g;
};

class PressureRange : public ResultReview, public ::testing::WithParamInterface<TPressureRangeCase> {};

TEST_P(PressureRange, IsTheLowestAndHighestNodePressureInBar) {
    for (double pressure_m : GetParam().pressures_m) {
        network->GetNode(build.AddJoint(0, 0)).Pressure_FluidHead_m = pressure_m;
    }
    double min_bar_g = 0.0;
    double max_bar_g = 0.0;
    network->GetMinAndMaxPressureAtAnyNode_bar_g(min_bar_g, max_bar_g);
    EXPECT_REL_NEAR(min_bar_g, GetParam().min_bar_g, 1e-12);
    EXPECT_REL_NEAR(max_bar_g, GetParam().max_bar_g, 1e-12);
}

// 1 m of the fixture's fluid is 1000 · 9.80665 / 100000 = 0.0980665 bar.
INSTANTIATE_TEST_SUITE_P(
    Cases, PressureRange,
    ::testing::Values(TPressureRangeCase{"Mixed", {5.0, -3.0, 12.0}, -0.2941995, 1.176798},
                      TPressureRangeCase{"AllBelowZero", {-1.0, -2.0}, -0.196133, 0.0},
                      TPressureRangeCase{"NoNodes", {}, 999999999.0, 0.0}),
    [](const ::testing::TestParamInfo<TPressureRangeCase>& info) { return std::string(info.param.name); });

// The default pipe: bore 102.26 mm, wall 6.02 mm, outside 114.3 mm.
TEST_F(ResultReview, DiameterDataMatchWithinATenthOfAMillimetre) {
    const std::int32_t tank = build.AddTank(0, 0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    const std::int32_t pipeId = build.AddPipe(tank, end, "P1", 10.0, network->DefaultPipe.InnerDiameter_m);
    struct TCase {
        double boreOffset_m;
        bool match;
    };
    for (const TCase& c : {TCase{0.0, true}, TCase{0.00009, true}, TCase{-0.00009, true}, TCase{0.00011, false},
                           TCase{-0.00011, false}}) {
        network->GetPipe(pipeId).InnerDiameter_m = 0.10226 + c.boreOffset_m;
        EXPECT_EQ(network->CheckDiameterDataMatchOk(), c.match) << "bore offset " << c.boreOffset_m;
    }
}

}  // namespace
