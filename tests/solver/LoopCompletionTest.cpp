// The loop table on whole networks: as many independent loops and paths as the
// open links need, each one walkable; and, wherever the searches' old rule (a
// new pipe in every kept loop) already found them all, exactly the old table.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "IrregularNetworks.h"
#include "LegacyLoopSearch.h"
#include "RandomNetworks.h"
#include "SolverTestNetworks.h"
#include "common/GridNetwork.h"

namespace {

const char* const kExamples[] = {"Example_01_Three_Reservoirs",         "Example_02_Pumped_Transfer",
                                 "Example_03_Looped_Distribution",      "Example_04_Flow_Control_and_Fixed_Loss",
                                 "Example_05_Plant_Line_Fittings",      "Example_06_Compressed_Air"};

struct TLoopOutcome {
    bool OldRuleSufficed = false;
};

// Generates the table on the network's open links as a solve does, and checks it.
TLoopOutcome expectCompleteTable(TNetwork& network, const std::string& name) {
    const TLoopTable oldRule = LoopsByNewPipeRule(network);
    const std::int32_t needed = IndependentLoopsNeeded(network);
    network.PipeLoopsRemoveAllLoops();
    network.PipeLoopsGenerateAllLoops();
    const TLoopTable table = LoopTableOf(network);
    EXPECT_EQ(static_cast<std::int32_t>(table.size()), std::min(needed, TNetwork::MaxLoops)) << name;
    const bool oldRuleSufficed = static_cast<std::int32_t>(oldRule.size()) == needed;
    if (oldRuleSufficed) EXPECT_EQ(table, oldRule) << name;
    EXPECT_NO_THROW(network.MatrixEquationsGenerate()) << name;
    EXPECT_GE(network.MatrixEquations.NumberOfEquations, network.MatrixEquations.NumberOfQVariables) << name;
    return {oldRuleSufficed};
}

TEST(LoopCompletion, ExampleSystemsKeepTheirTables) {
    for (const char* example : kExamples) {
        TNetwork network;
        network.LoadFromFile(std::filesystem::path(VELMORA_EXAMPLES_DIR) / (std::string(example) + ".vme"));
        EXPECT_TRUE(expectCompleteTable(network, example).OldRuleSufficed) << example;
    }
}

TEST(LoopCompletion, RegularGridsKeepTheirTables) {
    for (const std::int32_t pipes : {12, 50, 100, 200}) {
        TNetwork network;
        BuildGridNetwork(network, GridSpecForPipes(pipes));
        EXPECT_TRUE(expectCompleteTable(network, "grid of " + std::to_string(pipes)).OldRuleSufficed);
    }
}

// Random topologies with parallel pipes, links from a node to itself, separate
// parts and rings of fixed-pressure nodes. Most of them the old rule already
// handled; the rest it left short of equations.
TEST(LoopCompletion, RandomNetworksGetEveryEquation) {
    std::int32_t sufficed = 0;
    std::int32_t completed = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        TRandomNetworkSpec plan;
        plan.Seed = seed;
        plan.Nodes = 10 + static_cast<std::int32_t>(seed % 7) * 8;
        plan.Links = plan.Nodes + 5 + static_cast<std::int32_t>(seed % 5) * 6;
        plan.SelfLinkShare = seed % 4 == 0 ? 0.05 : 0.0;
        plan.Parts = seed % 6 == 0 ? 2 : 1;
        TNetwork network;
        BuildRandomNetwork(network, plan);
        (expectCompleteTable(network, "seed " + std::to_string(seed)).OldRuleSufficed ? sufficed : completed)++;
    }
    EXPECT_GT(sufficed, 0);
    EXPECT_GT(completed, 0);
}

// The networks of the solve corpus: irregular town grids, where the searches
// alone often fall short.
TEST(LoopCompletion, IrregularNetworksGetEveryEquation) {
    std::int32_t completed = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        TNetwork network;
        BuildIrregularNetwork(network, {seed, 40 + 30 * static_cast<std::int32_t>(seed)});
        if (!expectCompleteTable(network, "seed " + std::to_string(seed)).OldRuleSufficed) ++completed;
    }
    EXPECT_GT(completed, 0);
}

// A path between two tanks that the searches find only through a third tank is
// still a path: its pipes walk from one fixed-pressure node to another.
TEST(LoopCompletion, CompletedPathsWalkBetweenFixedPressureNodes) {
    TNetwork network;
    BuildNetwork(network, {{Tank(), EndPressure(), Tank(), Joint(), EndPressure(), Tank()},
                           {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}, {4, 1}}});
    expectCompleteTable(network, "ring of fixed-pressure nodes");
}

}  // namespace
