// Link and loop tables the solver's table checks refuse. Load and the edits never
// make them; a table changed by hand through the public calls can. Each is refused
// with a clear error before anything is written from it, and a solve of such a
// network reports failure without changing the network.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "ScriptedUserMessages.h"
#include "SolverTestNetworks.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr const char* kLoopGenerationRefused =
    "TNetwork.PipeLoopsGenerateAllLoops Failed: Link or loop table holds an invalid node id, pipe id or loop";
constexpr const char* kStartFlowsRefused =
    "TNetwork.SetAllInitialFlowGuesses Failed: Link table holds an invalid node id or pipe id";
constexpr const char* kEquationsRefused =
    "TNetwork.MatrixEquationsGenerate Failed: Link table holds an invalid node id or pipe id";

// T1 -> J2 -> J3 -> J4 -> E5 with J2 -> J4: one loop and one path.
const TNetworkSpec kNetwork{{Tank(), Joint(), Joint(), Joint(), EndPressure()},
                            {{1, 2}, {2, 3}, {3, 4}, {2, 4}, {4, 5}}};

// The tank 20 m above the end node, so that the sound network has a flow to solve.
void buildNetwork(TNetwork& network) {
    BuildNetwork(network, kNetwork);
    network.GetNode(1).Elevation_m = 20.0;
}

struct TCorruptLinkCase {
    const char* Name;
    std::int32_t FromNodeId;
    std::int32_t ToNodeId;
    std::int32_t PipeId;
};

void PrintTo(const TCorruptLinkCase& linkCase, std::ostream* out) { *out << linkCase.Name; }

// One link added by hand to the sound network; pipe 6 is a free slot of the pool.
const TCorruptLinkCase kCorruptLinkCases[] = {
    {"PipeOnTwoLinks", 3, 1, 2},
    {"PipeIdZero", 3, 1, 0},
    {"PipeIdBeyondThePool", 3, 1, TPipeSet::kCapacity + 1},
    {"NodeIdZero", 0, 3, 6},
    {"NegativeNodeId", -1, 3, 6},
    {"NodeIdBeyondTheTable", 3, TNodeSet::MaxNodes + 1, 6},
};

std::vector<TNodeLink> sortedOpenLinks(const TNetwork& network) {
    std::vector<TNodeLink> links;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links.push_back(network.GetNodeLink(k));
    std::sort(links.begin(), links.end(), [](const TNodeLink& a, const TNodeLink& b) {
        return std::tie(a.PipeId, a.FromNodeId, a.ToNodeId) < std::tie(b.PipeId, b.FromNodeId, b.ToNodeId);
    });
    return links;
}

class CorruptLinkTableTest : public ::testing::TestWithParam<TCorruptLinkCase> {
protected:
    void SetUp() override {
        buildNetwork(network_);
        network_.FillDischargeVelocityEstimates();
        ASSERT_TRUE(network_.AddLink(GetParam().FromNodeId, GetParam().ToNodeId, GetParam().PipeId));
    }

    template <typename Call>
    void ExpectRefusal(Call call, const char* message) {
        try {
            call();
            ADD_FAILURE() << "the table was not refused";
        } catch (const ENetworkClass& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }

    TNetwork network_;
};

TEST_P(CorruptLinkTableTest, LoopGenerationRefusesItAndLeavesTheLoopTable) {
    const std::int32_t stored = network_.PipeLoopCreate();
    network_.PipeLoopAddPipe(stored, 1);
    ExpectRefusal([this] { network_.PipeLoopsGenerateAllLoops(); }, kLoopGenerationRefused);
    EXPECT_EQ(LoopTableOf(network_), (std::vector<std::vector<std::int32_t>>{{1}}));
}

TEST_P(CorruptLinkTableTest, StartFlowsRefuseItAndLeaveNoEstimate) {
    network_.GetPipe(1).FlowGuessUncompressed_m3s = 9.9;
    network_.GetPipe(1).FlowGuessSet = true;
    ExpectRefusal([this] { network_.SetAllInitialFlowGuesses(1.0); }, kStartFlowsRefused);
    for (std::int32_t pipeId = 1; pipeId <= TPipeSet::kCapacity; ++pipeId) {
        EXPECT_EQ(network_.GetPipe(pipeId).FlowGuessUncompressed_m3s, 0.0) << "pipe " << pipeId;
        EXPECT_FALSE(network_.GetPipe(pipeId).FlowGuessSet) << "pipe " << pipeId;
    }
}

TEST_P(CorruptLinkTableTest, EquationGenerationRefusesItAndTellsTheUser) {
    TScriptedUserMessages user;
    network_.UserMessages = &user;
    ExpectRefusal([this] { network_.MatrixEquationsGenerate(); }, kEquationsRefused);
    network_.UserMessages = nullptr;
    ASSERT_EQ(user.Informations.size(), 1u);
    EXPECT_NE(user.Informations[0].find("Could not generate flow continuity equations."), std::string::npos);
}

// The solve never raises; the links come back (sorted by pipe id, as after any
// failed solve) and the demands as they were.
TEST_P(CorruptLinkTableTest, SolveReportsFailureAndKeepsTheNetwork) {
    const std::vector<TNodeLink> links = sortedOpenLinks(network_);
    TScriptedUserMessages user;
    network_.UserMessages = &user;
    std::vector<std::string> log;
    bool solved = true;
    EXPECT_NO_THROW(solved = network_.SolveNetwork(log));
    EXPECT_FALSE(solved);
    EXPECT_EQ(sortedOpenLinks(network_), links);
    EXPECT_EQ(network_.GetClosedPipeLinkCount(), 0);
    for (std::int32_t nodeId = 1; nodeId <= static_cast<std::int32_t>(kNetwork.Nodes.size()); ++nodeId) {
        EXPECT_EQ(network_.GetNode(nodeId).JointSupply_m3s, 0.0);
        EXPECT_EQ(network_.GetNode(nodeId).JointDischarge_m3s, 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, CorruptLinkTableTest, ::testing::ValuesIn(kCorruptLinkCases),
                         [](const ::testing::TestParamInfo<TCorruptLinkCase>& info) {
                             return std::string(info.param.Name);
                         });

// ---- Stored loops ---------------------------------------------------------------------------------

struct TCorruptLoopCase {
    const char* Name;
    std::vector<std::int32_t> Pipes;
    const char* GenerationError;  // null when the generation takes the table
    const char* EquationError;    // null when the equations take it
};

void PrintTo(const TCorruptLoopCase& loopCase, std::ostream* out) { *out << loopCase.Name; }

const TCorruptLoopCase kCorruptLoopCases[] = {
    {"EmptyLoop", {}, kLoopGenerationRefused, "TNetwork.MatrixEquationsGenerate Failed: No pipes in loop 1"},
    // J2 -> J3 -> J2 again: the walk cannot go on from where the second pipe ends.
    {"PipeTwiceInALoop", {2, 3, 2}, kLoopGenerationRefused,
     "TNetwork.MatrixEquationsGenerate Failed: Loop:  FromNodeId=2 ToNodeId=3 LastNodeId=4 - the ordering of the "
     "loop may be wrong?"},
    // Pipe 6 is a slot of the pool that no link holds.
    {"PipeWithoutAnOpenLink", {2, 6}, nullptr, "TNetwork.MatrixEquationsGenerate Failed: No open link for loop pipe 6"},
};

class CorruptLoopTableTest : public ::testing::TestWithParam<TCorruptLoopCase> {
protected:
    void SetUp() override {
        buildNetwork(network_);
        const std::int32_t loopId = network_.PipeLoopCreate();
        for (const std::int32_t pipeId : GetParam().Pipes) network_.PipeLoopAddPipe(loopId, pipeId);
    }

    // The error's text, or empty when the call went through.
    template <typename Call>
    static std::string errorOf(Call call) {
        try {
            call();
        } catch (const ENetworkClass& error) {
            return error.what();
        }
        return {};
    }

    TNetwork network_;
};

TEST_P(CorruptLoopTableTest, GenerationAndEquationsRefuseWhatTheyCannotUse) {
    const auto stored = LoopTableOf(network_);
    const std::string generationError = errorOf([this] { network_.PipeLoopsGenerateAllLoops(); });
    if (GetParam().GenerationError != nullptr) {
        EXPECT_EQ(generationError, GetParam().GenerationError);
        EXPECT_EQ(LoopTableOf(network_), stored);
    } else {
        EXPECT_EQ(generationError, "");
    }
    network_.PipeLoopsRemoveAllLoops();
    const std::int32_t loopId = network_.PipeLoopCreate();
    for (const std::int32_t pipeId : GetParam().Pipes) network_.PipeLoopAddPipe(loopId, pipeId);
    const std::string equationError = errorOf([this] { network_.MatrixEquationsGenerate(); });
    EXPECT_EQ(equationError, GetParam().EquationError != nullptr ? GetParam().EquationError : "");
}

// The solve empties the loop table before it generates one, so no stored loop reaches it.
TEST_P(CorruptLoopTableTest, SolveIgnoresTheStoredLoops) {
    std::vector<std::string> log;
    EXPECT_TRUE(network_.SolveNetwork(log));
}

INSTANTIATE_TEST_SUITE_P(Loops, CorruptLoopTableTest, ::testing::ValuesIn(kCorruptLoopCases),
                         [](const ::testing::TestParamInfo<TCorruptLoopCase>& info) {
                             return std::string(info.param.Name);
                         });

// A file keeps the loops' pipes but not their counts: a loaded document holds
// loops that read as empty. The solve regenerates them and solves; a generation
// straight over them refuses them.
TEST(LoadedLoopTableTest, SolveRegeneratesLoopsThatAFileLeavesEmpty) {
    TNetwork saved;
    buildNetwork(saved);
    std::vector<std::string> log;
    ASSERT_TRUE(saved.SolveNetwork(log));
    ASSERT_GT(saved.GetPipeLoopCount(), 0);
    const auto solvedLoops = LoopTableOf(saved);

    TNetwork loaded;
    loaded.LoadFromBytes(saved.SaveToBytes());
    ASSERT_EQ(loaded.GetPipeLoopCount(), saved.GetPipeLoopCount());
    EXPECT_EQ(loaded.GetPipeLoopPipeCount(1), 0);
    EXPECT_THROW(loaded.PipeLoopsGenerateAllLoops(), ENetworkClass);
    log.clear();
    EXPECT_TRUE(loaded.SolveNetwork(log));
    EXPECT_EQ(LoopTableOf(loaded), solvedLoops);
}

}  // namespace
