#include "SolverComponentComparison.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "PlainEquations.h"
#include "PlainLoopSearch.h"
#include "PlainStartFlows.h"
#include "ScriptedUserMessages.h"
#include "SolutionCheck.h"
#include "SolverTestNetworks.h"
#include "model/VM4_Network_Class.h"

namespace {

// Every pipe slot's estimate, by its bits (+0 and -0 differ), and its set flag.
struct TStartFlows {
    std::vector<std::uint64_t> Bits;
    std::vector<bool> Set;
};

TStartFlows startFlowsOf(const TNetwork& network) {
    TStartFlows flows;
    for (std::int32_t pipeId = 1; pipeId <= TPipeSet::kCapacity; ++pipeId) {
        const TPipe& pipe = network.GetPipe(pipeId);
        flows.Bits.push_back(std::bit_cast<std::uint64_t>(pipe.FlowGuessUncompressed_m3s));
        flows.Set.push_back(pipe.FlowGuessSet);
    }
    return flows;
}

// The first difference only: one is enough to show the fault.
void expectSameStartFlows(const TStartFlows& product, const TStartFlows& plain, double velocity_ms) {
    for (std::size_t i = 0; i < plain.Bits.size(); ++i) {
        if (product.Bits[i] == plain.Bits[i] && product.Set[i] == plain.Set[i]) continue;
        ADD_FAILURE() << "pipe " << i + 1 << " at " << velocity_ms << " m/s: product "
                      << std::bit_cast<double>(product.Bits[i]) << (product.Set[i] ? " (set)" : " (not set)")
                      << ", plain " << std::bit_cast<double>(plain.Bits[i]) << (plain.Set[i] ? " (set)" : " (not set)");
        return;
    }
}

// The end of the results log, to show what the solve did.
std::string lastLines(const std::vector<std::string>& log, std::size_t count) {
    std::string text;
    for (std::size_t i = log.size() > count ? log.size() - count : 0; i < log.size(); ++i) text += log[i] + "\n";
    return text;
}

// Links, flows and join point demands, to show where a balance fails.
std::string networkText(const TNetwork& network) {
    std::string text;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TPipe& pipe = network.GetPipe(link.PipeId);
        text += "pipe " + std::to_string(link.PipeId) + " " + std::to_string(link.FromNodeId) + "->" +
                std::to_string(link.ToNodeId) + " flow " + std::to_string(pipe.FlowUncompressed_m3s) +
                (pipe.HasFlowControl ? " control" : "") + (pipe.HasPump ? " pump" : "") + "\n";
    }
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        text += "node " + std::to_string(id) + " type " + std::to_string(static_cast<int>(node.NodeType)) +
                " supply " + std::to_string(node.JointSupply_m3s) + " discharge " +
                std::to_string(node.JointDischarge_m3s) + "\n";
    }
    return text;
}

void expectBalanced(const TNetwork& network, const std::vector<std::string>& log) {
    const TSolutionCheck check = CheckSolution(network);
    EXPECT_LE(check.WorstContinuity_m3s, 1.5 * network.Settings.FlowBalancingTolerance)
        << check.WorstContinuityAt << "\n" << networkText(network) << lastLines(log, 40);
    EXPECT_EQ(check.WorstHeadMismatch_m, 0.0) << check.WorstHeadMismatchAt << "\n" << lastLines(log, 40);
}

std::vector<std::uint64_t> bitsOf(const std::vector<double>& values) {
    std::vector<std::uint64_t> bits;
    for (const double value : values) bits.push_back(std::bit_cast<std::uint64_t>(value));
    return bits;
}

void compareComponents(TNetwork& network) {
    PrepareAsTheSolveDoes(network);
    ExpectSameLoopTable(network);
    ExpectSameEquations(network);
    ExpectSameStartFlows(network);
}

}  // namespace

void ExpectSameLoopTable(TNetwork& network) {
    network.PipeLoopsRemoveAllLoops();
    network.PipeLoopsGenerateAllLoops();
    const auto product = LoopTableOf(network);
    network.PipeLoopsRemoveAllLoops();
    GeneratePlainLoopTable(network);
    EXPECT_EQ(product, LoopTableOf(network));
}

void ExpectSameEquations(TNetwork& network) {
    const TEquationTable plain = PlainEquationTable(network);
    try {
        network.MatrixEquationsGenerate();
    } catch (const ENetworkClass& error) {
        // Too few equations for the unknowns, or a walk that does not go on.
        EXPECT_TRUE(plain.WalkFailed || plain.Codes.size() < static_cast<std::size_t>(network.GetNodeLinkCount()))
            << "only the product refused: " << error.what();
        return;
    }
    ASSERT_FALSE(plain.WalkFailed) << "only the plain generation refused";
    const TEquationTable product = EquationTableOf(network);
    EXPECT_EQ(product.Codes, plain.Codes);
    EXPECT_EQ(bitsOf(product.Knowns), bitsOf(plain.Knowns));
}

void ExpectSameStartFlows(TNetwork& network) {
    for (std::int32_t i = 1; i <= TNetwork::DischargeVelocityCount; ++i) {
        const double velocity_ms = network.DischargeVelocityEstimates[static_cast<std::size_t>(i)];
        network.SetAllInitialFlowGuesses(velocity_ms);
        const TStartFlows product = startFlowsOf(network);
        SetPlainStartFlows(network, velocity_ms);
        expectSameStartFlows(product, startFlowsOf(network), velocity_ms);
    }
}

void PrepareAsTheSolveDoes(TNetwork& network) {
    network.FillDischargeVelocityEstimates();
    network.RemoveAllNodeLinksForPipesWithFlowControl();
    network.RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    network.PipeLoopsRemoveAllLoops();
}

TComparedSolve ExpectSameComponents(const TNetworkDrawing& draw, const TSolveSetup& setup) {
    TComparedSolve compared;
    {
        SCOPED_TRACE("the network as drawn");
        TNetwork drawn;
        draw(drawn);
        compareComponents(drawn);
    }
    TNetwork network;
    draw(network);
    TScriptedUserMessages user;
    user.DefaultAnswer = setup.ReverseAnswer;
    if (setup.StopAfterAttempts > 0) {
        user.OnProcessMessages = [&network, stopAfter = setup.StopAfterAttempts] {
            if (network.getIterationCountTotal() >= stopAfter) network.StopCalculating = true;
        };
    }
    network.UserMessages = &user;
    std::vector<std::string> log;
    compared.Solved = network.SolveNetwork(log);
    network.UserMessages = nullptr;
    if (compared.Solved && setup.ExpectBalanced) expectBalanced(network, log);
    // Each question the user agreed to turned a pipe round for good.
    if (setup.ReverseAnswer && !user.Questions.empty()) {
        SCOPED_TRACE("the network with its pipes turned round");
        compareComponents(network);
        compared.ReversedNetworkCompared = true;
    }
    return compared;
}
