// Starting flow estimates from one discharge velocity, on small networks worked by hand.
//
// Bore areas: D = 0.1 m gives A = pi * 0.1^2 / 4 = pi/400 = 0.00785398163397448 m²;
// D = 0.05 m gives pi/1600, a quarter of that. Notation as in the loop tests: T tank,
// E end pressure node, J join point; pk is pipe k, also link-table position k.

#include <gtest/gtest.h>

#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "PlainStartFlows.h"
#include "SolverComponentComparison.h"
#include "SolverTestNetworks.h"
#include "common/FuzzyCompare.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kArea100mm_m2 = kPi / 400.0;
constexpr double kStaleGuess_m3s = 9.9;

struct TFlowCase {
    const char* Name;
    TNetworkSpec Network;
    double Velocity_ms;
    std::vector<double> ExpectedGuesses_m3s;  // pipe 1 first
    std::vector<bool> ExpectedSet;
};

const TFlowCase kFlowCases[] = {
    // The only pipe ends at an end pressure node: Q = A V = pi/400 * 2.
    {"TankToEndPressure", {{Tank(), EndPressure()}, {{1, 2}}}, 2.0, {2.0 * kArea100mm_m2}, {true}},

    // J1 supplies 0.05 into its one pipe; J2 and J3 only pass it on, so the chain sets
    // all three before the discharge pipe to T4 could get A V = 0.00785.
    {"SupplyChainToTank",
     {{Joint(0.05), Joint(), Joint(), Tank()}, {{1, 2}, {2, 3}, {3, 4}}},
     1.0,
     {0.05, 0.05, 0.05},
     {true, true, true}},

    // p3 to E4 gets A V = pi/400 * 40/pi = 0.1. J3 then needs R = 0.02 demand + 0.1 out,
    // shared by bore area between p1 (100 mm) and p2 (50 mm), 4 : 1: 0.096 and 0.024.
    {"InflowSharedByBoreArea",
     {{Tank(), Tank(), Joint(0.0, 0.02), EndPressure()}, {{1, 3, 0.1}, {2, 3, 0.05}, {3, 4, 0.1}}},
     40.0 / kPi,
     {0.096, 0.024, 0.1},
     {true, true, true}},

    // A dead end with a demand draws exactly its demand.
    {"DeadEndWithDemand", {{Tank(), Joint(0.0, 0.03)}, {{1, 2}}}, 1.0, {0.03}, {true}},

    // A dead end without demand is never chosen (and tanks never are): no estimate.
    {"DeadEndWithoutDemand", {{Tank(), Joint()}, {{1, 2}}}, 1.0, {0.0}, {false}},

    // J2 has a demand besides its out-pipe: two outflows, so the supply chain stops at p1.
    // p3 to T4 gets A V = pi/400; J3 then passes that back into p2.
    {"DemandStopsTheSupplyChain",
     {{Joint(0.05), Joint(0.0, 0.03), Joint(), Tank()}, {{1, 2}, {2, 3}, {3, 4}}},
     1.0,
     {0.05, kArea100mm_m2, kArea100mm_m2},
     {true, true, true}},

    // J2's one outflow is its own demand: there is no out-pipe to carry the chain on.
    {"SupplyIntoADemandOnly", {{Joint(0.05), Joint(0.0, 0.05)}, {{1, 2}}}, 1.0, {0.05}, {true}},

    // p2 carries J2's supply 0.05 into J3; p3 to E4 takes A V = pi/400 out. J3 still
    // needs R = pi/400 - 0.05 = -0.0421460: p1 runs against its direction.
    {"KnownInflowExceedsOutflow",
     {{Tank(), Joint(0.05), Joint(), EndPressure()}, {{1, 3}, {2, 3}, {3, 4}}},
     1.0,
     {kArea100mm_m2 - 0.05, 0.05, kArea100mm_m2},
     {true, true, true}},

    // T1->J2, J2->J3, J3->J4, J2->J4: no demand, no discharge pipe. No join point has all
    // outflows known, so J2 (lowest id with an open outflow) starts: p2 leads to J3,
    // which still has an open outflow, so p2 = 0.1; p4 leads to J4, which has none, so it
    // stays open. R = 0.1 goes to the one open in-pipe p1. From then on J2 is chosen
    // again and again (its p4 stays open) with nothing left to change, until the round
    // counter ends the fill: p3 and p4 keep 0.
    {"ClosedLoopWithoutOutflow",
     {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}}},
     1.0,
     {0.1, 0.1, 0.0, 0.0},
     {true, true, false, false}},

    // T1->J2 (100 mm), J2->J3, J3->J4, J4->J2 (50 mm): a directed ring fed by a tank.
    // J2 starts: p2 = 0.1 (J3 has an open outflow); R = 0.1 over the open in-pipes p1, p4
    // at 4 : 1 -> 0.08, 0.02. J4 now has its outflow p4 known: p3 = 0.02.
    {"DirectedRingFedByTank",
     {{Tank(), Joint(), Joint(), Joint()}, {{1, 2, 0.1}, {2, 3, 0.1}, {3, 4, 0.1}, {4, 2, 0.05}}},
     1.0,
     {0.08, 0.1, 0.02, 0.02},
     {true, true, true, true}},

    // T1->J2, J2->J3, J3->J4, J4->J3. J2 starts: p2 = 0.1, p1 = 0.1. Then J3, the lowest
    // id with an open outflow, gets its open in-pipe p4 = A V = 3 pi/400 (two in-pipes:
    // no chain). J4's outflow is known now, so p3 = 3 pi/400 as well.
    {"OpenInPipeGetsAreaTimesVelocity",
     {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {4, 3}}},
     3.0,
     {0.1, 0.1, 3.0 * kArea100mm_m2, 3.0 * kArea100mm_m2},
     {true, true, true, true}},

    // Two rings of join points with nothing fed in. Ring J1->J2->J3->J1 starts at J1:
    // p1 = 0.1 (J2 has an open outflow), so p3 = 0.1, and then J3 passes that into p2.
    // Ring J4->J5->J6->J4 is next: J4's open in-pipe p6 = A V = 2 pi/400, and the chain
    // carries it round the ring (single in, single out) until its counter stops it.
    {"TwoRingsWithoutSupply",
     {{Joint(), Joint(), Joint(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}}},
     2.0,
     {0.1, 0.1, 0.1, 2.0 * kArea100mm_m2, 2.0 * kArea100mm_m2, 2.0 * kArea100mm_m2},
     {true, true, true, true, true, true}},

    // T1->J2, J2->J3, J3->J2: no node has its outflows known. A tank is never where the
    // fill starts, so J2 is: p2 = 0.1 (J3 has an open outflow), shared by area between
    // its open in-pipes p1 and p3: 0.05 each.
    {"TankIsNeverWhereTheFillStarts",
     {{Tank(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 2}}},
     1.0,
     {0.05, 0.1, 0.05},
     {true, true, true}},

    // The same with an end pressure node for the tank: it may start, and its p1 gets
    // 0.1 (J2 has an open outflow). J2 is next: its open in-pipe p3 = A V; then J3,
    // whose outflow is known now, passes that back into p2.
    {"EndPressureNodeMayStartTheFill",
     {{EndPressure(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 2}}},
     1.0,
     {0.1, kArea100mm_m2, kArea100mm_m2},
     {true, true, true}},

    // J1 supplies 0.1 into p1 (J3 has two in-pipes: the chain stops); p2 to E4 gets
    // A V. J3 needs R = 0.03 demand - 0.1 known in + A V out, in link order, all of it
    // from p3, against its direction.
    {"KnownInflowBeforeKnownOutflow",
     {{Joint(0.1), Tank(), Joint(0.0, 0.03), EndPressure()}, {{1, 3}, {3, 4}, {2, 3}}},
     1.0,
     {0.1, kArea100mm_m2, 0.03 - 0.1 + kArea100mm_m2},
     {true, true, true}},

    // T1->J2, J2->E3 twice, the second pipe closed. Only p2 discharges: A V; J2 passes
    // it back into p1. Counting the closed pipe would have doubled p1.
    {"ClosedPipeGetsNoEstimate",
     {{Tank(), Joint(), EndPressure()}, {{1, 2}, {2, 3}, {2, 3, 0.1, true}}},
     1.0,
     {kArea100mm_m2, kArea100mm_m2, 0.0},
     {true, true, false}},
};

// Test logs name the case instead of dumping its bytes.
void PrintTo(const TFlowCase& testCase, std::ostream* out) { *out << testCase.Name; }

std::vector<double> GuessesOf(TNetwork& network, std::size_t pipeCount) {
    std::vector<double> guesses;
    for (std::size_t k = 1; k <= pipeCount; ++k) {
        guesses.push_back(network.GetPipe(static_cast<std::int32_t>(k)).FlowGuessUncompressed_m3s);
    }
    return guesses;
}

class InitialFlowGuessesTest : public ::testing::TestWithParam<TFlowCase> {
protected:
    void SetUp() override { BuildNetwork(network_, GetParam().Network); }

    // Leftovers of an earlier attempt, which every call must wipe first.
    void SetStaleGuesses() {
        for (std::size_t k = 1; k <= GetParam().Network.Links.size(); ++k) {
            TPipe& pipe = network_.GetPipe(static_cast<std::int32_t>(k));
            pipe.FlowGuessUncompressed_m3s = kStaleGuess_m3s;
            pipe.FlowGuessSet = true;
        }
    }

    void ExpectHandWorkedEstimates() {
        const TFlowCase& flowCase = GetParam();
        EXPECT_EQ(network_.CurrentDischargeVelocity, flowCase.Velocity_ms);
        for (std::size_t k = 0; k < flowCase.ExpectedGuesses_m3s.size(); ++k) {
            const TPipe& pipe = network_.GetPipe(static_cast<std::int32_t>(k + 1));
            SCOPED_TRACE("pipe " + std::to_string(k + 1));
            EXPECT_REL_NEAR(pipe.FlowGuessUncompressed_m3s, flowCase.ExpectedGuesses_m3s[k], 1e-12);
            EXPECT_EQ(pipe.FlowGuessSet, flowCase.ExpectedSet[k]);
        }
    }

    TNetwork network_;
};

TEST_P(InitialFlowGuessesTest, GivesTheHandWorkedEstimates) {
    SetStaleGuesses();
    network_.SetAllInitialFlowGuesses(GetParam().Velocity_ms);
    ExpectHandWorkedEstimates();
}

// The plain procedure the product is compared with gives them too.
TEST_P(InitialFlowGuessesTest, PlainProcedureGivesTheHandWorkedEstimates) {
    SetStaleGuesses();
    SetPlainStartFlows(network_, GetParam().Velocity_ms);
    ExpectHandWorkedEstimates();
}

TEST_P(InitialFlowGuessesTest, EstimatesDoNotLeakFromOneVelocityToTheNext) {
    const TFlowCase& flowCase = GetParam();
    const std::size_t pipeCount = flowCase.Network.Links.size();
    network_.SetAllInitialFlowGuesses(flowCase.Velocity_ms);
    const std::vector<double> first = GuessesOf(network_, pipeCount);
    network_.SetAllInitialFlowGuesses(3.0 * flowCase.Velocity_ms + 0.7);
    network_.SetAllInitialFlowGuesses(flowCase.Velocity_ms);
    EXPECT_EQ(GuessesOf(network_, pipeCount), first);
}

// Bit for bit at every velocity of the solve's ladder: the sums are taken in the
// same order as the plain procedure takes them.
TEST_P(InitialFlowGuessesTest, SameAsThePlainProcedureAtEveryLadderVelocity) {
    network_.FillDischargeVelocityEstimates();
    ExpectSameStartFlows(network_);
}

INSTANTIATE_TEST_SUITE_P(Networks, InitialFlowGuessesTest, ::testing::ValuesIn(kFlowCases),
                         [](const ::testing::TestParamInfo<TFlowCase>& info) { return std::string(info.param.Name); });

TEST(InitialFlowGuessStepsTest, ZeroingResetsEveryPipeSlot) {
    TNetwork network;
    // Slots that hold no pipe of the drawing are reset too.
    for (const std::int32_t pipeId : {1, 500, 1000}) {
        network.GetPipe(pipeId).FlowGuessUncompressed_m3s = kStaleGuess_m3s;
        network.GetPipe(pipeId).FlowGuessSet = true;
    }
    network.SetAllInitialFlowGuessesToZero();
    for (const std::int32_t pipeId : {1, 500, 1000}) {
        EXPECT_EQ(network.GetPipe(pipeId).FlowGuessUncompressed_m3s, 0.0) << "pipe " << pipeId;
        EXPECT_FALSE(network.GetPipe(pipeId).FlowGuessSet) << "pipe " << pipeId;
    }
}

// The chain step of the plain procedure the product is compared with.
TEST(InitialFlowGuessStepsTest, ChainRoundARingStopsAtItsCounterLimit) {
    TNetwork network;
    BuildNetwork(network, {{Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 1}}});
    network.SetAllInitialFlowGuessesToZero();
    std::int32_t chainCounter = 1;
    CarryPlainChain(network, 1, chainCounter, 0.25);
    // One pipe per step from 1 up to 1000, round and round the ring.
    EXPECT_EQ(chainCounter, 1000);
    EXPECT_EQ(GuessesOf(network, 3), (std::vector<double>{0.25, 0.25, 0.25}));

    // A counter already at the limit leaves everything as it is.
    CarryPlainChain(network, 1, chainCounter, 0.5);
    EXPECT_EQ(chainCounter, 1000);
    EXPECT_EQ(GuessesOf(network, 3), (std::vector<double>{0.25, 0.25, 0.25}));
}

TEST(InitialFlowGuessStepsTest, ChainOverwritesEstimatesAlreadySet) {
    TNetwork network;
    // J1->J2->J3->T4; p2 and p3 hold older estimates.
    BuildNetwork(network, {{Joint(), Joint(), Joint(), Tank()}, {{1, 2}, {2, 3}, {3, 4}}});
    network.SetAllInitialFlowGuessesToZero();
    network.GetPipe(2).FlowGuessUncompressed_m3s = 0.7;
    network.GetPipe(2).FlowGuessSet = true;
    network.GetPipe(3).FlowGuessUncompressed_m3s = 0.8;
    std::int32_t chainCounter = 1;
    CarryPlainChain(network, 2, chainCounter, 0.04);
    EXPECT_EQ(chainCounter, 3);  // p2 and p3; T4 has no out-pipe
    EXPECT_EQ(GuessesOf(network, 3), (std::vector<double>{0.0, 0.04, 0.04}));
    EXPECT_TRUE(network.GetPipe(3).FlowGuessSet);
    EXPECT_FALSE(network.GetPipe(1).FlowGuessSet);
}

TEST(InitialFlowGuessStepsTest, InPipesOfNoBoreShareTheInflowEqually) {
    TNetwork network;
    // T1->J3 and T2->J3 without a bore, J3->E4 of 100 mm; J3 also has a demand of 0.01.
    BuildNetwork(network, {{Tank(), Tank(), Joint(0.0, 0.01), EndPressure()}, {{1, 3, 0.0}, {2, 3, 0.0}, {3, 4}}});
    network.SetAllInitialFlowGuesses(1.0);
    // R = 0.01 + pi/400 = 0.0178539816, half each.
    const double half_m3s = (0.01 + kArea100mm_m2) / 2.0;
    EXPECT_REL_NEAR(network.GetPipe(1).FlowGuessUncompressed_m3s, half_m3s, 1e-12);
    EXPECT_REL_NEAR(network.GetPipe(2).FlowGuessUncompressed_m3s, half_m3s, 1e-12);
}

}  // namespace
