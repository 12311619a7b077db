// Loop and path generation on small networks worked by hand.
//
// Notation in the comments: T tank, E end pressure node, J join point, with the node
// id; Lk is link-table position k, pk pipe k; "D3=2 via p2" means the search gave node
// 3 distance 2, reached by pipe 2. A search from join point S across link c bars c
// while S relaxes its own links, so the loop c closes must come back the long way.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "PlainLoopSearch.h"
#include "SolverTestNetworks.h"
#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"

namespace {

using TLoopTable = std::vector<std::vector<std::int32_t>>;

struct TLoopCase {
    const char* Name;
    TNetworkSpec Network;
    TLoopTable ExpectedLoops;
    // Every connected part has a tank or end pressure node, so the loops complete the
    // equation count: join points + loops = open links.
    bool EveryPartHasFixedPressure;
};

const TLoopCase kLoopCases[] = {
    // T1 -p1- T2. From T1 the search reaches T2: path {1}, walked from T2 back to T1.
    // From T2 the same pipe is found again and the duplicate test drops it.
    {"SinglePipeBetweenTwoTanks", {{Tank(), Tank()}, {{1, 2}}}, {{1}}, true},

    // T1 -p1- J2 -p2- J3 -p3- T4. From T1: D2=1, D3=2, D4=3; path walked back from T4:
    // p3, p2, p1. From T4 the reverse path {1,2,3} is a duplicate. Join points close
    // nothing: their only other way out leads to a tank.
    {"ChainBetweenTwoTanksIsStoredFromTheHigherTank",
     {{Tank(), Joint(), Joint(), Tank()}, {{1, 2}, {2, 3}, {3, 4}}},
     {{3, 2, 1}},
     true},

    // T1->J2 (L1), J2->J3 (L2), J3->J4 (L3), J2->J4 (L4).
    // From J2 across L2 (bars L2): D1=1 via p1, D4=1 via p4; select 1, then 4: D3=2 via p3.
    // L2's to-node J3 was reached: loop = p2, then back from 3: p3 (to 4), p4 (to 2).
    // From J2 across L4 the loop {4,3,2} and from J3 across L3 the loop {3,4,2} hold the
    // same pipes and are dropped; J4 is the from-node of no link.
    {"TriangleFedByTankGivesOneLoop",
     {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}}},
     {{2, 3, 4}},
     true},

    // T1->J2 (p1), J2->J3 twice (p2, p3). From J2 across L2: D3=1 via p3 (L2 barred).
    // From J3 the search never steps back to J2, its previous node. Loop: p2, then p3.
    {"TwoParallelPipesFormATwoPipeLoop",
     {{Tank(), Joint(), Joint()}, {{1, 2}, {2, 3}, {2, 3}}},
     {{2, 3}},
     true},

    // T1->J2 (p1), J2->J3 (p2), J3->J5 (p3), J2->J4 (p4), J4->J5 (p5), J3->J4 (p6, the
    // shared pipe), J5->E6 (p7).
    // From T1: D2=1; D3=2 via p2, D4=2 via p4; D5=3 via p3 (J3 first, lower id); D6=4
    // via p7: path walked back from E6: p7, p3, p2, p1.
    // From J2 across L2: D1=1, D4=1 via p4; from J4: D5=2 via p5, D3=2 via p6. Loop p2,
    // then back from 3: p6, p4 -> {2,6,4}; p6 is new, kept. Across L4 {4,6,2} duplicates it.
    // From J3 across L3: D2=1 via p2, D4=1 via p6; from J4: D5=2 via p5. Loop p3, p5, p6;
    // p5 is new, kept. Across L6 {6,4,2} and from J4 across L5 {5,3,6} are duplicates;
    // from E6 the reverse path {1,2,3,7} is a duplicate. 4 join points + 3 loops = 7 links.
    {"TwoLoopsSharingAPipeAndAPath",
     {{Tank(), Joint(), Joint(), Joint(), Joint(), EndPressure()},
      {{1, 2}, {2, 3}, {3, 5}, {2, 4}, {4, 5}, {3, 4}, {5, 6}}},
     {{7, 3, 2, 1}, {2, 6, 4}, {3, 5, 6}},
     true},

    // The same network with the shared pipe 6 closed: its link leaves the table and the
    // later links move up (p7 is now L6). The path is found as before; from J2 across
    // L2: D1=1, D4=1 via p4, D5=2 via p5, D3=3 via p3: the square {2,3,5,4}.
    {"ClosedPipeTakesNoPartInLoops",
     {{Tank(), Joint(), Joint(), Joint(), Joint(), EndPressure()},
      {{1, 2}, {2, 3}, {3, 5}, {2, 4}, {4, 5}, {3, 4, 0.1, true}, {5, 6}}},
     {{7, 3, 2, 1}, {2, 3, 5, 4}},
     true},

    // Three reservoirs: T1->J4 (p1), J4->T2 (p2), J4->T3 (p3).
    // From T1: D4=1; D2=2 via p2, D3=2 via p3; paths {2,1} then {3,1} (p3 new).
    // From T2: {1,2} duplicates path 1; {3,2} is new as a set but p3 and p2 are both
    // stored already: dropped. From T3 both paths bring nothing new.
    {"ThreeReservoirsGiveTwoPaths",
     {{Tank(), Tank(), Tank(), Joint()}, {{1, 4}, {4, 2}, {4, 3}}},
     {{2, 1}, {3, 1}},
     true},

    // T1 -p1- J2 -p2- T3 -p3- J4 -p4- T5. The search crosses T3 like any node: from T1
    // it records {2,1} on reaching T3 and then {4,3,2,1} on reaching T5 (p3, p4 new).
    // From T3 the paths {1,2} and {4,3}, and from T5 {3,4} and {1,2,3,4}, add nothing.
    {"PathMayRunThroughAnotherTank",
     {{Tank(), Joint(), Tank(), Joint(), Tank()}, {{1, 2}, {2, 3}, {3, 4}, {4, 5}}},
     {{2, 1}, {4, 3, 2, 1}},
     true},

    // T1->J2, J2->J3, J2->J4: a tree with one tank. Only J2 is the from-node of links to
    // join points, and with that link barred neither J3 nor J4 is reached.
    {"TreeWithOneTankStoresNothing",
     {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {2, 4}}},
     {},
     true},

    // Part A: T1->J2 (p1), J2->T3 (p2). Part B: T4->J5 (p3), J5->J6 (p4), J6->J7 (p5),
    // J5->J7 (p6). J8 has no pipe. Nodes of the other part are never reached, so they
    // are never selected. A gives the path {2,1} from T1; B the loop from J5 across L4:
    // D4=1 via p3, D7=1 via p6, D6=2 via p5 -> {4,5,6}. J8 adds a join point and no link.
    {"DisconnectedPartsAndAnIsolatedNode",
     {{Tank(), Joint(), Tank(), Tank(), Joint(), Joint(), Joint(), Joint()},
      {{1, 2}, {2, 3}, {4, 5}, {5, 6}, {6, 7}, {5, 7}}},
     {{2, 1}, {4, 5, 6}},
     false},

    // One tank, one end pressure node, one closed loop: T1->J2 (p1), J2->J3 (p2),
    // J3->J4 (p3), J2->J4 (p4), J4->E5 (p5).
    // From T1: D4=2 via p4 (J2 relaxes L4 before J3 can offer 3), D5=3: path {5,4,1}.
    // From J2 across L2: D4=1 via p4, D3=2 via p3: loop {2,3,4}.
    {"TankEndPressureAndOneLoop",
     {{Tank(), Joint(), Joint(), Joint(), EndPressure()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}, {4, 5}}},
     {{5, 4, 1}, {2, 3, 4}},
     true},

    // The same with a second tank T6 feeding J3 (p6). From T1 the search now also reaches
    // T6 (D6=3 via p6, from J3): path {6,2,1} is recorded right after {5,4,1}, before the
    // loop found from J2. From E5 the path {6,3,5} to T6 holds only stored pipes; dropped.
    {"SecondTankAddsOnePath",
     {{Tank(), Joint(), Joint(), Joint(), EndPressure(), Tank()},
      {{1, 2}, {2, 3}, {3, 4}, {2, 4}, {4, 5}, {6, 3}}},
     {{5, 4, 1}, {6, 2, 1}, {2, 3, 4}},
     true},
};

// Test logs name the case instead of dumping its bytes.
void PrintTo(const TLoopCase& testCase, std::ostream* out) { *out << testCase.Name; }

class LoopGenerationTest : public ::testing::TestWithParam<TLoopCase> {
protected:
    TNetwork network_;
};

TEST_P(LoopGenerationTest, StoresTheExpectedLoopsInOrder) {
    const TLoopCase& loopCase = GetParam();
    BuildNetwork(network_, loopCase.Network);
    network_.PipeLoopsRemoveAllLoops();
    network_.PipeLoopsGenerateAllLoops();
    EXPECT_EQ(LoopTableOf(network_), loopCase.ExpectedLoops);
    if (loopCase.EveryPartHasFixedPressure) {
        EXPECT_EQ(JoinPointCount(loopCase.Network) + network_.GetPipeLoopCount(), OpenLinkCount(loopCase.Network));
    }
}

TEST_P(LoopGenerationTest, RegenerationGivesTheIdenticalTable) {
    BuildNetwork(network_, GetParam().Network);
    network_.PipeLoopsGenerateAllLoops();
    const TLoopTable first = LoopTableOf(network_);
    // Generating over a full table again finds only candidates already held.
    network_.PipeLoopsGenerateAllLoops();
    EXPECT_EQ(LoopTableOf(network_), first);
    network_.PipeLoopsRemoveAllLoops();
    network_.PipeLoopsGenerateAllLoops();
    EXPECT_EQ(LoopTableOf(network_), first);
}

INSTANTIATE_TEST_SUITE_P(Networks, LoopGenerationTest, ::testing::ValuesIn(kLoopCases),
                         [](const ::testing::TestParamInfo<TLoopCase>& info) { return std::string(info.param.Name); });

// The plain search the product is compared with, from one node alone: the
// triangle's loop is found from J2 and only there.
TEST(LoopGenerationFromNodeTest, ClosedLoopIsFoundAtTheFromNodeOfItsClosingLink) {
    TNetwork network;
    BuildNetwork(network, {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}}});
    GeneratePlainLoopsFromNode(network, 4);  // J4 is only a to-node: closes nothing
    EXPECT_EQ(network.GetPipeLoopCount(), 0);
    GeneratePlainLoopsFromNode(network, 1);  // a tank with no other fixed-pressure node
    EXPECT_EQ(network.GetPipeLoopCount(), 0);
    GeneratePlainLoopsFromNode(network, 2);
    EXPECT_EQ(LoopTableOf(network), (TLoopTable{{2, 3, 4}}));
}

// Records the status text each time the network lets the user interface run.
class TStatusRecorder : public IUserMessages {
public:
    explicit TStatusRecorder(const TNetwork& network) : network_(network) {}
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override { Statuses.push_back(network_.SolveStatusText); }

    std::vector<std::string> Statuses;

private:
    const TNetwork& network_;
};

TEST(LoopGenerationStatusTest, YieldsBeforeEachStartNodeInAscendingIdOrder) {
    TNetwork network;
    BuildNetwork(network, {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}}});
    // Without node 3 (and its pipes) the ids run 1, 2, 4.
    network.RemoveAllPipeLinksFromToNode(3);
    network.RemoveNode(3);
    TStatusRecorder recorder(network);
    network.UserMessages = &recorder;
    network.PipeLoopsGenerateAllLoops();
    EXPECT_EQ(recorder.Statuses, (std::vector<std::string>{"Generating loops from Node: 1", "Generating loops from Node: 2",
                                                           "Generating loops from Node: 4"}));
}

TEST(LoopGenerationLimitTest, CandidatesBeyondAFullTableAreIgnored) {
    TNetwork network;
    BuildNetwork(network, {{Tank(), Joint(), Joint(), Joint()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}}});
    // 1000 one-pipe loops, each with a pipe no other holds, so every one of them stays.
    for (std::int32_t loopId = 1; loopId <= TNetwork::MaxLoops; ++loopId) {
        ASSERT_EQ(network.PipeLoopCreate(), loopId);
        network.PipeLoopAddPipe(loopId, loopId);
    }
    EXPECT_NO_THROW(network.PipeLoopsGenerateAllLoops());
    ASSERT_EQ(network.GetPipeLoopCount(), TNetwork::MaxLoops);
    for (std::int32_t loopId = 1; loopId <= TNetwork::MaxLoops; ++loopId) {
        ASSERT_EQ(network.GetPipeLoopPipeCount(loopId), 1) << "loop " << loopId;
        ASSERT_EQ(network.GetPipeLoopPipe(loopId, 1), loopId) << "loop " << loopId;
    }
}

}  // namespace
