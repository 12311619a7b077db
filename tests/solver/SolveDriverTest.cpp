#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "DriverFixture.h"
#include "NetworkReference.h"
#include "common/FuzzyCompare.h"

// The solve driver as the user meets it: whole results logs compared line by
// line, the ladder of start velocities, Stop, the reversal question, generation
// failures and the link table put back afterwards.

namespace {

using TLines = std::vector<std::string>;

const std::string kRule63(63, '-');
const std::string kRule71(71, '-');

// Expected lines may hold "{n}" where the log shows an iteration count: the
// rest of the line must match exactly and {n} must be a whole number.
bool LineMatches(const std::string& actual, const std::string& expected) {
    const std::size_t placeholder = expected.find("{n}");
    if (placeholder == std::string::npos) return actual == expected;
    const std::string prefix = expected.substr(0, placeholder);
    const std::string suffix = expected.substr(placeholder + 3);
    if (actual.size() <= prefix.size() + suffix.size()) return false;
    if (actual.compare(0, prefix.size(), prefix) != 0) return false;
    if (actual.compare(actual.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    const std::string number = actual.substr(prefix.size(), actual.size() - prefix.size() - suffix.size());
    return std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

::testing::AssertionResult LogMatches(const TLines& actual, const TLines& expected) {
    const std::size_t lines = std::max(actual.size(), expected.size());
    for (std::size_t i = 0; i < lines; ++i) {
        const std::string got = i < actual.size() ? actual[i] : "<missing>";
        const std::string want = i < expected.size() ? expected[i] : "<none>";
        if (i >= actual.size() || i >= expected.size() || !LineMatches(got, want)) {
            return ::testing::AssertionFailure() << "line " << i << ": got \"" << got << "\", expected \"" << want
                                                 << "\" (" << actual.size() << " lines, " << expected.size()
                                                 << " expected)";
        }
    }
    return ::testing::AssertionSuccess();
}

TLines Attempt(std::int32_t number, const std::string& velocity) {
    return {" ", "Iteration " + std::to_string(number),
            "Start flow estimates using initial discharge velocity of " + velocity + "m/sec"};
}

TLines Join(std::initializer_list<TLines> parts) {
    TLines all;
    for (const TLines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::size_t CountLinesStartingWith(const TLines& log, const std::string& start) {
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
}

class SolveDriver : public TDriverFixture {};

// ---- Whole logs ------------------------------------------------------------------------------------

// Tank 5 m up with 5 m of liquid draining through 100 m of 100 mm pipe into an
// end node at 0 bar. The tank holds 5 m = 0.4903325 bar, the end node 0, so the
// final tolerance 0.00001 bar is 0.00001 / 0.4903325 = 0.002039 % of the range;
// the pipe holds π/4 · 0.1² · 100 = 0.785 m³.
TEST_F(SolveDriver, SinglePipeLogShowsOneAttemptAndTheFinalDetails) {
    const std::int32_t tank = build.AddTank(0, 0, 5.0, 0.0, 5.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    build.AddPipe(tank, end, "P1", 100.0, 0.1);

    bool solved = network->SolveNetwork(log);
    ASSERT_TRUE(solved);
    network->CheckResults(log, solved, network->WarningCount);

    EXPECT_TRUE(LogMatches(
        log, Join({Attempt(1, "0.100"),
                   {"Found Approximate Solution ({n} calculations)", "Found Accurate Solution ({n} calculations)", " ",
                    " ", "Final Solution Details:", kRule63,
                    "Darcy-Weisbach Calculation method with ColeBrook-White Friction Loss equations.", " ",
                    "Pressure balances accurate to:0.000010 bar",
                    "Pressure balance accuracy is < 0.002039% of system's max pressure difference.", " ",
                    "Configuration:", "Pipes: 1", "Tanks: 1", "Join Points: 0", "Demand Pressures: 1", "Pumps: 0",
                    "Components: 0", "Flow Controls: 0", "Overall Volumes:", "Flow Demands In: 0.0000 m³/sec",
                    "Flow Demands Out: 0.0000 m³/sec", "Flow Controls: 0.0000 m³/sec",
                    "System Volume: 0.785 m³ (does not include any closed pipes)", "Checking Results...",
                    "No issues to report.", kRule71, " "}})));
    // The accurate verdict names the refining phase's own count.
    EXPECT_EQ(log[4], "Found Accurate Solution (" + std::to_string(network->getIterationCount()) + " calculations)");
    EXPECT_EQ(network->getIterationCountTotal(), 1);
    EXPECT_TRUE(user.Informations.empty());
    EXPECT_TRUE(user.Questions.empty());
}

// Its only pipe is held by a flow control: nothing is left to solve (the
// equations hold at once, in 1 calculation), and the tank 1 m up cannot push
// 0.2 m³/s through 100 m of 100 mm pipe.
TEST_F(SolveDriver, FlowControlOnTheOnlyPipeFromATankLogsTheTankReason) {
    const std::int32_t tank = build.AddTank(0, 0, 1.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    const std::int32_t pipeId = build.AddPipe(tank, end, "P1", 100.0, 0.1);
    network->GetPipe(pipeId).HasFlowControl = true;
    network->GetPipe(pipeId).FlowControlSetFlow_m3s = 0.2;

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_TRUE(LogMatches(
        log, Join({Attempt(1, "0.100"),
                   {"Found Approximate Solution (1 calculations)", "Found Accurate Solution (1 calculations)", " ",
                    ">>> PROBLEM:",
                    "Pipe 1, P1, Pressure in pipe is not enough to deliver the set flow control at 0.2000m³/sec.",
                    "Reason: The liquid level in the tank feeding the pipe is not suffcient.", " ",
                    ">>> System not solved. Flow control settings not met.",
                    "Either remove the flow controls where the flow cannot be met or reduce the specified flow in the "
                    "control.",
                    " "}})));
    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{tank, end, pipeId}}));
}

// Two join points and a pipe, no demand: the zero start flows already balance
// (1 calculation), but no pressure can be derived, which ends the solve.
TEST_F(SolveDriver, NodesWithoutPressureEndTheSolveAfterOneAttempt) {
    const std::int32_t a = build.AddJoint(0, 0);
    const std::int32_t b = build.AddJoint(10, 0);
    build.AddPipe(a, b, "P1");

    bool solved = network->SolveNetwork(log);
    EXPECT_FALSE(solved);
    network->CheckResults(log, solved, network->WarningCount);

    EXPECT_TRUE(LogMatches(
        log,
        Join({Attempt(1, "0.100"),
              {"Found Approximate Solution (1 calculations)", "Found Accurate Solution (1 calculations)",
               "Pressure was not calculated at 2 'Joint' nodes:", "Node Id 1, N1", "Node Id 2, N2",
               "Checking Results...", " ", ">>> WARNING:",
               "Node 1, N1 has out flows but no in flow and is not of type tank or a joint with a demand flow in.", " ",
               ">>> WARNING:",
               "Node 2, N2 has in flows but no out flow and is not a tank, end pressure or a joint with a demand out "
               "flow.",
               " ", ">>> WARNING:", "The network has neither a Tank or an End Pressure node.",
               "There may not be enough information to solve the network flows and pressures.", " ", ">>> WARNING:",
               "The network has no supply points where fluid flows in.",
               "The network must have at least one supply tank or joint with a demand in flow that is greater than "
               "zero.",
               " ", ">>> WARNING:", "The network has no discharge points where fluid exits the system.",
               "The network does not have a discharge tank or joint with a demand out flow, or an end pressure "
               "demand.",
               "This suggests the network is a re-circulating system.", "If so, then please ignore this warning.",
               "If not, then please recheck your system and add a discharge point.", kRule71,
               "Please check the warnings and review your system.", " "}})));
    EXPECT_EQ(network->WarningCount, 5);
}

// Tank 10 m up -> join point 30 m up -> end node at 0 m: the join point would
// need about -20 m of water, some -2 bar.
TEST_F(SolveDriver, NodeBelowVacuumUnsolvesTheNetwork) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t high = build.AddJoint(10, 0, 30.0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    build.AddPipe(tank, high, "P1");
    build.AddPipe(high, end, "P2");

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_TRUE(LogMatches(
        log, Join({Attempt(1, "0.100"),
                   {"Found Approximate Solution ({n} calculations)", "Found Accurate Solution ({n} calculations)", " ",
                    ">>> PROBLEM:",
                    "Pressure at some nodes would need to be less than 0 bar a, which is not physically possible."}})));
    EXPECT_LT(network->GetNode(high).Pressure_FluidHead_m, -1.0 * kMetresPerBar);
}

// A tank with a pipe to itself: no search finds a loop that holds the pipe, but
// the spanning tree gives it one (a path from the tank back to itself), so the
// equations are complete and the pipe carries no flow.
TEST_F(SolveDriver, PipeFromATankToItselfIsSolvedWithoutFlow) {
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    const std::int32_t pipe = build.AddPipe(tank, tank, "P1");

    EXPECT_TRUE(network->SolveNetwork(log));

    EXPECT_TRUE(user.Informations.empty());
    EXPECT_NEAR(network->GetPipe(pipe).FlowUncompressed_m3s, 0.0, 1e-4);
    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{tank, tank, 1}}));
}

// ---- The ladder and Stop ------------------------------------------------------------------------------

// A pipe so long that its friction loss overflows cannot be evaluated: every
// attempt fails at its first evaluation, leaving an empty message line. The
// ladder stops at 10 m/s, below the flows at which the loss formulas give up.
class FailingEveryAttempt : public SolveDriver {
protected:
    FailingEveryAttempt() {
        const std::int32_t tank = build.AddTank(0, 0, 10.0);
        const std::int32_t end = build.AddDemandPressure(10, 0);
        build.AddPipe(tank, end, "P1", 1e308, 0.1);
        network->Settings.MaxVelocityDischarge = 10.1;
    }

    static TLines FailedAttempt(std::int32_t number, const std::string& velocity) {
        return Join({Attempt(number, velocity), {"Failed to find Approximate Solution (1 calculations)", ""}});
    }
};

// Both passes walk the 100 start velocities 0.1 + (i - 1) · 0.1 m/s.
TEST_F(FailingEveryAttempt, BothPassesWalkTheWholeLadder) {
    EXPECT_FALSE(network->SolveNetwork(log));

    ASSERT_EQ(log.size(), 200u * 5u);
    const struct {
        std::int32_t attempt;
        const char* velocity;
    } samples[] = {{1, "0.100"}, {2, "0.200"}, {3, "0.300"}, {100, "10.000"}, {101, "0.100"}, {200, "10.000"}};
    for (const auto& sample : samples) {
        const auto first = log.begin() + (sample.attempt - 1) * 5;
        EXPECT_TRUE(LogMatches(TLines(first, first + 5), FailedAttempt(sample.attempt, sample.velocity)))
            << "attempt " << sample.attempt;
    }
    EXPECT_EQ(network->getIterationCountTotal(), 200);
    EXPECT_EQ(network->CalculationFailedCount, 0);  // the evaluation failed, not a step
}

TEST_F(FailingEveryAttempt, StopEndsTheSolveAfterTheAttemptInProgress) {
    user.OnProcessMessages = [this] {
        if (network->getIterationCountTotal() == 2) network->StopCalculating = true;
    };

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_TRUE(LogMatches(log, Join({FailedAttempt(1, "0.100"), FailedAttempt(2, "0.200"),
                                      {" ", "*** Calculation Stopped. System was not solved."}})));
    EXPECT_EQ(OpenLinks().size(), 1u);
}

// Stop pressed while the attempt that succeeds runs: the result stands, and the
// stop line follows the final details.
TEST_F(SolveDriver, StopDuringASuccessfulAttemptKeepsTheSolution) {
    const std::int32_t tank = build.AddTank(0, 0, 5.0, 0.0, 5.0);
    const std::int32_t end = build.AddDemandPressure(10, 0);
    build.AddPipe(tank, end, "P1", 100.0, 0.1);
    user.OnProcessMessages = [this] {
        if (network->getIterationCountTotal() == 1) network->StopCalculating = true;
    };

    EXPECT_TRUE(network->SolveNetwork(log));

    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(CountLinesStartingWith(log, "Iteration "), 1u);
    EXPECT_EQ(CountLinesStartingWith(log, "Final Solution Details:"), 1u);
    EXPECT_EQ(TLines(log.end() - 3, log.end()),
              (TLines{"System Volume: 0.785 m³ (does not include any closed pipes)", " ",
                      "*** Calculation Stopped. System was not solved."}));
}

// ---- Reversal -------------------------------------------------------------------------------------------

// Reservoirs at 50, 30 and 10 m meet at a junction; the pipe to the middle one
// is drawn from the reservoir to the junction, against its flow. Every start
// velocity of the first pass finds the negative flow and gives up; the second
// pass asks.
class DrawnAgainstTheFlow : public SolveDriver {
protected:
    DrawnAgainstTheFlow() {
        high = build.AddTank(0, 0, 50.0);
        middle = build.AddTank(20, 0, 30.0);
        low = build.AddTank(20, 20, 10.0);
        junction = build.AddJoint(10, 10, 0.0);
        build.AddPipe(high, junction, "P1", reservoirs.FromHigh.Length_m, reservoirs.FromHigh.Diameter_m);
        build.AddPipe(middle, junction, "P2", reservoirs.ToMiddle.Length_m, reservoirs.ToMiddle.Diameter_m);
        build.AddPipe(junction, low, "P3", reservoirs.ToLow.Length_m, reservoirs.ToLow.Diameter_m);
    }

    void ExpectQuestionAfterTheFirstPass() {
        ASSERT_EQ(user.Questions.size(), 1u);
        const std::string& question = user.Questions[0];
        const std::string start = "Flow in P2 is negative (-";
        const std::string end = "m³/sec).\r\rThe direction of this pipe must be reversed.\r\rReverse the pipe "
                                "direction now and continue solving the network?";
        ASSERT_EQ(question.rfind(start, 0), 0u) << question;
        ASSERT_GT(question.size(), start.size() + end.size());
        EXPECT_EQ(question.substr(question.size() - end.size()), end);
        // The approximate flow, to the 2 m of the approximate phase.
        const double shown = std::stod(question.substr(start.size() - 1));
        const double reference = -static_cast<double>(FlowForLoss(reservoirs.ToMiddle, junctionHead_m - 30.0L));
        EXPECT_NEAR(shown, reference, 0.1 * -reference);
        const auto firstPassEnd = std::find(log.begin(), log.end(), "Iteration 101");
        ASSERT_NE(firstPassEnd, log.end());
        EXPECT_EQ(std::count(log.begin(), firstPassEnd, "Continue search for positive flow solution."), 100);
    }

    const TThreeReservoirs reservoirs{SteelPipe(300.0, 0.15), SteelPipe(200.0, 0.1), SteelPipe(250.0, 0.1),
                                      50.0, 30.0, 10.0};
    const long double junctionHead_m = reservoirs.JunctionHead_m();
    std::int32_t high = 0;
    std::int32_t middle = 0;
    std::int32_t low = 0;
    std::int32_t junction = 0;
};

TEST_F(DrawnAgainstTheFlow, RefusingTheReversalEndsTheSolveUnsolved) {
    user.DefaultAnswer = false;

    EXPECT_FALSE(network->SolveNetwork(log));

    ExpectQuestionAfterTheFirstPass();
    EXPECT_EQ(log.back(),
              "Accept solution with some negative flows since cannot find a solution with all positive flows.");
    EXPECT_EQ(CountLinesStartingWith(log, "Iteration "), 101u);
    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{high, junction, 1}, {middle, junction, 2}, {junction, low, 3}}));
}

TEST_F(DrawnAgainstTheFlow, AcceptedReversalTurnsThePipeForGoodAndSolves) {
    user.DefaultAnswer = true;

    EXPECT_TRUE(network->SolveNetwork(log));

    ExpectQuestionAfterTheFirstPass();
    EXPECT_EQ(CountLinesStartingWith(log, "Direction of pipe 2, named P2 was reversed."), 1u);
    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{high, junction, 1}, {junction, middle, 2}, {junction, low, 3}}));
    EXPECT_REL_NEAR(network->GetPipe(1).FlowUncompressed_m3s,
                    FlowForLoss(reservoirs.FromHigh, 50.0L - junctionHead_m), 1e-4);
    EXPECT_REL_NEAR(network->GetPipe(2).FlowUncompressed_m3s, FlowForLoss(reservoirs.ToMiddle, junctionHead_m - 30.0L),
                    1e-4);
    EXPECT_REL_NEAR(network->GetPipe(3).FlowUncompressed_m3s, FlowForLoss(reservoirs.ToLow, junctionHead_m - 10.0L),
                    1e-4);
    EXPECT_NEAR(network->GetNode(junction).Pressure_FluidHead_m, static_cast<double>(junctionHead_m), 0.001);
}

// Nobody to ask: the pipe is not turned round.
TEST_F(DrawnAgainstTheFlow, WithoutAUserNoPipeIsReversed) {
    network->UserMessages = nullptr;

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_EQ(CountLinesStartingWith(log, "Direction of pipe"), 0u);
    EXPECT_EQ(OpenLinks()[1], (TNodeLink{middle, junction, 2}));
}

// ---- The link table and the node demands after a solve ----------------------------------------------------

// Pipe ids 2, 3, 1 in table order (pipe 1 was redrawn last), a flow control on
// pipe 3 and a fixed-flow pump on pipe 2: afterwards the table is whole again,
// in pipe id order, and the demands are exactly as entered although the held
// flows were added to and taken off them (0.1 + 0.2 - 0.2 is not 0.1 in binary).
TEST_F(SolveDriver, LinkTableAndDemandsComeBackWhateverTheOutcome) {
    const std::int32_t tank = build.AddTank(0, 0, 30.0);
    const std::int32_t a = build.AddJoint(10, 0);
    const std::int32_t b = build.AddJoint(20, 0);
    const std::int32_t end = build.AddDemandPressure(30, 0);
    build.AddPipe(tank, a, "Old");
    build.AddPipe(a, b, "P2");
    build.AddPipe(b, end, "P3");
    network->RemovePipeLink(1);
    ASSERT_EQ(build.AddPipe(tank, a, "P1"), 1);
    network->GetNode(a).JointDischarge_m3s = 0.1;
    network->GetNode(b).JointSupply_m3s = 0.1;
    TPipe& pumped = network->GetPipe(2);
    pumped.HasPump = true;
    pumped.Pump.RunsAtSetFlowRate = 1;
    pumped.Pump.SetFlowRate_m3s = 0.2;
    TPipe& controlled = network->GetPipe(3);
    controlled.HasFlowControl = true;
    controlled.FlowControlSetFlow_m3s = 0.2;
    ASSERT_NE(0.1 + 0.2 - 0.2, 0.1);

    network->SolveNetwork(log);

    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{tank, a, 1}, {a, b, 2}, {b, end, 3}}));
    EXPECT_EQ(network->GetFlowControlLinkCount(), 0);
    EXPECT_EQ(network->GetSetFlowPumpLinkCount(), 0);
    EXPECT_EQ(network->GetNode(a).JointDischarge_m3s, 0.1);
    EXPECT_EQ(network->GetNode(a).JointSupply_m3s, 0.0);
    EXPECT_EQ(network->GetNode(b).JointSupply_m3s, 0.1);
    EXPECT_EQ(network->GetNode(b).JointDischarge_m3s, 0.0);
}

// While held, a flow is a discharge at the from-node and a supply at the to-node.
TEST_F(SolveDriver, HeldFlowsBecomeDemandsWhileTheirLinksAreOut) {
    const std::int32_t tank = build.AddTank(0, 0, 30.0);
    const std::int32_t a = build.AddJoint(10, 0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    build.AddPipe(tank, a, "P1");
    build.AddPipe(a, end, "P2");
    TPipe& controlled = network->GetPipe(2);
    controlled.HasFlowControl = true;
    controlled.FlowControlSetFlow_m3s = 0.03;
    const TPipe& open = network->GetPipe(1);
    ASSERT_FALSE(open.HasFlowControl);

    network->RemoveAllNodeLinksForPipesWithFlowControl();

    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{tank, a, 1}}));
    EXPECT_EQ(network->GetFlowControlLinkCount(), 1);
    EXPECT_EQ(network->GetNode(a).JointDischarge_m3s, 0.03);
    EXPECT_EQ(network->GetNode(end).JointSupply_m3s, 0.03);

    network->RestoreAllNodeLinksForPipesWithFlowControl();

    EXPECT_EQ(OpenLinks(), (std::vector<TNodeLink>{{tank, a, 1}, {a, end, 2}}));
    EXPECT_EQ(network->GetFlowControlLinkCount(), 0);
    EXPECT_EQ(network->GetNode(a).JointDischarge_m3s, 0.0);
    EXPECT_EQ(network->GetNode(end).JointSupply_m3s, 0.0);
    EXPECT_EQ(network->GetPipe(2).FlowUncompressed_m3s, 0.03);
    EXPECT_EQ(network->GetPipe(2).FlowGuessUncompressed_m3s, 0.03);
}

// A switched-off flow control, or a pump on its curve, holds nothing.
TEST_F(SolveDriver, OnlySwitchedOnItemsHoldTheirFlows) {
    const std::int32_t tank = build.AddTank(0, 0, 30.0);
    const std::int32_t end = build.AddDemandPressure(20, 0);
    build.AddPipe(tank, end, "P1");
    build.AddPipe(tank, end, "P2");
    build.AddPipe(tank, end, "P3");
    network->GetPipe(1).HasFlowControl = true;
    network->GetPipe(1).CalcFlowControl = false;
    network->GetPipe(2).HasPump = true;
    network->GetPipe(2).Pump.RunsAtSetFlowRate = 0;
    network->GetPipe(3).HasPump = true;
    network->GetPipe(3).CalcPump = false;
    network->GetPipe(3).Pump.RunsAtSetFlowRate = 1;

    network->RemoveAllNodeLinksForPipesWithFlowControl();
    network->RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();

    EXPECT_EQ(OpenLinks().size(), 3u);
}

}  // namespace
