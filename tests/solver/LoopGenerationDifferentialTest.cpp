// The product's loop generation against the plain search kept in the tests: both
// must leave the identical loop table (the same loops, in the same order, each
// with its pipes in the same order) on every network.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "PlainLoopSearch.h"
#include "RandomNetworks.h"
#include "SolverComponentComparison.h"
#include "SolverTestNetworks.h"
#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"

namespace {

using TLoopTable = std::vector<std::vector<std::int32_t>>;

// ---- Shapes where the product's search takes a short cut ------------------------------------------

struct TShapeCase {
    const char* Name;
    TNetworkSpec Network;
};

void PrintTo(const TShapeCase& shapeCase, std::ostream* out) { *out << shapeCase.Name; }

const TShapeCase kShapeCases[] = {
    // J2 -> J2 (p2) is a link from a join point to itself; a second one (p3) gives the
    // start node a distance of its own in the search across the first.
    {"LinksFromAJoinPointToItself", {{Tank(), Joint(), Joint()}, {{1, 2}, {2, 2}, {2, 2}, {2, 3}, {3, 2}}}},
    {"LinkFromATankToItself", {{Tank(), Joint(), EndPressure()}, {{1, 1}, {1, 2}, {2, 3}}}},
    // The tank has three links: its one search is recorded three times.
    {"TankWithParallelFeeds", {{Tank(), Joint(), Joint(), EndPressure()}, {{1, 2}, {1, 2}, {1, 3}, {2, 3}, {3, 4}}}},
    // Two triangles joined by a bridge (p4): the search across the bridge cannot close.
    {"TwoLoopsJoinedByABridge",
     {{Tank(), Joint(), Joint(), Joint(), Joint(), Joint(), Joint()},
      {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {2, 4}, {5, 6}, {6, 7}, {5, 7}}}},
    // Every link points into the join points, so they close nothing from themselves.
    {"LinksPointingIntoTheJoinPoints",
     {{Tank(), Joint(), Joint(), Joint(), Tank()}, {{1, 2}, {3, 2}, {4, 3}, {2, 4}, {5, 4}}}},
    // A ring of tanks and end pressure nodes: paths through fixed-pressure nodes.
    {"RingOfFixedPressureNodes",
     {{Tank(), EndPressure(), Tank(), Joint(), EndPressure(), Tank()},
      {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}, {4, 1}}}},
    // From T2 the path {3,2} is new as a set but each of its pipes is stored already.
    {"ThreeReservoirs", {{Tank(), Tank(), Tank(), Joint()}, {{1, 4}, {4, 2}, {4, 3}}}},
    {"ClosedPipesAndParallelPipes",
     {{Tank(), Joint(), Joint(), Joint(), EndPressure()},
      {{1, 2}, {2, 3}, {2, 3}, {3, 4}, {2, 4, 0.1, true}, {4, 2}, {4, 5}, {3, 5, 0.1, true}}}},
};

class LoopShapeDifferentialTest : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(LoopShapeDifferentialTest, ProductAndPlainGenerationAgree) {
    TNetwork network;
    BuildNetwork(network, GetParam().Network);
    ExpectSameLoopTable(network);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LoopShapeDifferentialTest, ::testing::ValuesIn(kShapeCases),
                         [](const ::testing::TestParamInfo<TShapeCase>& info) { return std::string(info.param.Name); });

// A node deleted without its pipes leaves links to a slot of no type; both searches
// cross it like any node and record nothing from it.
TEST(LoopDanglingLinkDifferentialTest, LinksToADeletedNodeAreCrossedAlike) {
    TNetwork network;
    BuildNetwork(network, {{Tank(), Joint(), Joint(), Joint(), EndPressure()},
                           {{1, 2}, {2, 3}, {3, 4}, {4, 2}, {3, 5}, {4, 5}}});
    network.RemoveNode(3);
    ExpectSameLoopTable(network);
}

// ---- Random networks -----------------------------------------------------------------------------------

struct TRandomCase {
    const char* Name;
    TRandomNetworkSpec Shape;  // the seed is replaced for each run
    std::uint32_t Seeds;
};

void PrintTo(const TRandomCase& randomCase, std::ostream* out) { *out << randomCase.Name; }

TRandomNetworkSpec shape(std::int32_t nodes, std::int32_t links, double fixedShare, bool connected, double parallelShare,
                         double selfShare, std::int32_t removed, std::int32_t closed) {
    return {1, nodes, links, fixedShare, connected, parallelShare, selfShare, removed, closed};
}

const TRandomCase kRandomCases[] = {
    {"SmallAndDense", shape(8, 16, 0.25, true, 0.2, 0.05, 2, 1), 60},
    {"TreeLikeWithFewLoops", shape(40, 44, 0.1, true, 0.05, 0.0, 5, 2), 30},
    {"ManyFixedPressureNodes", shape(30, 45, 0.6, true, 0.1, 0.0, 3, 3), 30},
    {"DisconnectedParts", shape(40, 40, 0.2, false, 0.1, 0.02, 4, 2), 30},
    {"OnlyJoinPoints", shape(25, 40, 0.0, true, 0.1, 0.05, 2, 2), 20},
    {"Larger", shape(120, 160, 0.1, true, 0.05, 0.01, 10, 5), 6},
};

class LoopRandomDifferentialTest : public ::testing::TestWithParam<TRandomCase> {};

TEST_P(LoopRandomDifferentialTest, ProductAndPlainGenerationAgree) {
    TNetwork network;
    for (std::uint32_t seed = 1; seed <= GetParam().Seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TRandomNetworkSpec plan = GetParam().Shape;
        plan.Seed = seed;
        network.Clear();
        BuildRandomNetwork(network, plan);
        ExpectSameLoopTable(network);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Random, LoopRandomDifferentialTest, ::testing::ValuesIn(kRandomCases),
                         [](const ::testing::TestParamInfo<TRandomCase>& info) { return std::string(info.param.Name); });

// ---- Grids --------------------------------------------------------------------------------------------

class LoopGridDifferentialTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(LoopGridDifferentialTest, ProductAndPlainGenerationAgree) {
    TNetwork network;
    BuildGridNetwork(network, GridSpecForPipes(GetParam()));
    ExpectSameLoopTable(network);
    // Every cell of the grid is a loop and each tank has a path to an end node: the
    // equations are complete (join points + loops = pipes).
    const TGridSpec plan = GridSpecForPipes(GetParam());
    EXPECT_EQ(plan.Columns * plan.Rows + network.GetPipeLoopCount(), network.GetNodeLinkCount());
}

INSTANTIATE_TEST_SUITE_P(Grids, LoopGridDifferentialTest, ::testing::Values(50, 200));

// ---- Tables that already hold loops ---------------------------------------------------------------------

// A second generation over the full table finds only candidates already held.
TEST(LoopStoredTableDifferentialTest, GeneratingOverAStoredTableAgrees) {
    TNetwork network;
    BuildRandomNetwork(network, shape(30, 45, 0.2, true, 0.1, 0.0, 2, 1));
    GeneratePlainLoopTable(network);
    GeneratePlainLoopTable(network);
    const TLoopTable plain = LoopTableOf(network);

    network.PipeLoopsRemoveAllLoops();
    network.PipeLoopsGenerateAllLoops();
    network.PipeLoopsGenerateAllLoops();
    EXPECT_EQ(LoopTableOf(network), plain);
}

// Loops stored before the generation take part in the tests
// alike.
struct TStoredTableCase {
    const char* Name;
    TNetworkSpec Network;
    TLoopTable StoredLoops;
};

void PrintTo(const TStoredTableCase& storedCase, std::ostream* out) { *out << storedCase.Name; }

const TStoredTableCase kStoredTableCases[] = {
    {"IndependentStoredLoops",
     {{Tank(), Joint(), Joint(), Joint(), EndPressure()}, {{1, 2}, {2, 3}, {3, 4}, {2, 4}, {4, 5}}},
     {{4}, {3}}},
    // The stored {1} holds no pipe of its own. From T1 the first path {2,1} duplicates the
    // stored {1,2}: once it is removed, the independence test takes {1} away too, before
    // the second path {3,1} is stored after it.
    {"DependentStoredLoopBehindADuplicate",
     {{Tank(), Joint(), EndPressure(), EndPressure()}, {{1, 2}, {2, 3}, {2, 4}}},
     {{1, 2}, {1}}},
};

class LoopStoredTableCaseTest : public ::testing::TestWithParam<TStoredTableCase> {};

TEST_P(LoopStoredTableCaseTest, StoredLoopsTakePartAlike) {
    TLoopTable tables[2];
    for (const bool plain : {true, false}) {
        TNetwork network;
        BuildNetwork(network, GetParam().Network);
        for (const auto& storedLoop : GetParam().StoredLoops) {
            const std::int32_t loopId = network.PipeLoopCreate();
            for (const std::int32_t pipeId : storedLoop) network.PipeLoopAddPipe(loopId, pipeId);
        }
        if (plain) {
            GeneratePlainLoopTable(network);
        } else {
            network.PipeLoopsGenerateAllLoops();
        }
        tables[plain ? 0 : 1] = LoopTableOf(network);
    }
    EXPECT_EQ(tables[1], tables[0]);
}

INSTANTIATE_TEST_SUITE_P(StoredLoops, LoopStoredTableCaseTest, ::testing::ValuesIn(kStoredTableCases),
                         [](const ::testing::TestParamInfo<TStoredTableCase>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
