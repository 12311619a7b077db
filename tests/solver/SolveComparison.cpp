#include "SolveComparison.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "EngineComparison.h"
#include "ScriptedUserMessages.h"
#include "SolverTestNetworks.h"
#include "model/VM4_Network_Class.h"

namespace {

// One solve of one path, with what it leaves in the document.
struct TSolveRun {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    TScriptedUserMessages User;
    bool Solved = false;
    std::vector<std::string> Log;
};

void usePath(TNetwork& network, TSolverPath path) {
    network.SolverPath = path;
}

std::unique_ptr<TSolveRun> solveWith(const TNetworkDrawing& draw, const TSolveSetup& setup, TSolverPath path) {
    auto run = std::make_unique<TSolveRun>();
    TNetwork& network = *run->Network;
    draw(network);
    usePath(network, path);
    run->User.DefaultAnswer = setup.ReverseAnswer;
    if (setup.StopAfterAttempts > 0) {
        run->User.OnProcessMessages = [&network, stopAfter = setup.StopAfterAttempts] {
            if (network.getIterationCountTotal() >= stopAfter) network.StopCalculating = true;
        };
    }
    network.UserMessages = &run->User;
    run->Solved = network.SolveNetwork(run->Log);
    network.UserMessages = nullptr;
    return run;
}

// A named list of values, compared by their bits: +0 and -0, or two NaNs with
// different payloads, are different results.
struct TBits {
    std::vector<std::string> Names;
    std::vector<std::uint64_t> Values;

    void Add(const std::string& name, double value) {
        Names.push_back(name);
        Values.push_back(std::bit_cast<std::uint64_t>(value));
    }
};

void expectSameBits(const TBits& reference, const TBits& fast) {
    ASSERT_EQ(fast.Names, reference.Names);
    for (std::size_t i = 0; i < reference.Values.size(); ++i) {
        if (fast.Values[i] != reference.Values[i]) {
            ADD_FAILURE() << reference.Names[i] << " differs: reference "
                          << std::bit_cast<double>(reference.Values[i]) << ", fast "
                          << std::bit_cast<double>(fast.Values[i]);
            return;
        }
    }
}

TBits resultsOf(const TNetwork& network) {
    TBits bits;
    for (int id = network.Pipes.getNextPipeId(0); id != -1; id = network.Pipes.getNextPipeId(id)) {
        const TPipe& pipe = network.GetPipe(id);
        const std::string name = "pipe " + std::to_string(id) + " ";
        bits.Add(name + "start estimate", pipe.FlowGuessUncompressed_m3s);
        bits.Add(name + "flow", pipe.FlowUncompressed_m3s);
        bits.Add(name + "velocity", pipe.Velocity_ms);
        bits.Add(name + "friction factor", pipe.FrictionFactor);
        bits.Add(name + "total loss", pipe.TotalPressureLoss_mHd_Fluid);
        bits.Add(name + "pump head", pipe.PumpHead_mHd_Fluid);
        bits.Add(name + "flow control loss", pipe.FlowControlLoss_mHd_Fluid);
    }
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        bits.Add("node " + std::to_string(id) + " pressure", network.GetNode(id).Pressure_FluidHead_m);
    }
    return bits;
}

std::vector<TNodeLink> openLinksOf(const TNetwork& network) {
    std::vector<TNodeLink> links;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) links.push_back(network.GetNodeLink(k));
    return links;
}

std::vector<TNodeLink> closedLinksOf(const TNetwork& network) {
    std::vector<TNodeLink> links;
    for (std::int32_t k = 1; k <= network.GetClosedPipeLinkCount(); ++k) {
        links.push_back(network.GetNodeLinkClosedPipe(k));
    }
    return links;
}

void expectSameCounters(const TNetwork& reference, const TNetwork& fast) {
    EXPECT_EQ(fast.getIterationCountTotal(), reference.getIterationCountTotal());
    EXPECT_EQ(fast.getIterationCount(), reference.getIterationCount());
    EXPECT_EQ(fast.MatrixEquations.LastSmallValuesReport, reference.MatrixEquations.LastSmallValuesReport);
    EXPECT_EQ(fast.CalculationFailedCount, reference.CalculationFailedCount);
    EXPECT_EQ(fast.RefinementFailed, reference.RefinementFailed);
    EXPECT_EQ(fast.StopCalculating, reference.StopCalculating);
    EXPECT_EQ(fast.SolveStatusText, reference.SolveStatusText);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.CurrentDischargeVelocity),
              std::bit_cast<std::uint64_t>(reference.CurrentDischargeVelocity));
}

}  // namespace

bool ExpectIdenticalSolves(const TNetworkDrawing& draw, const TSolveSetup& setup) {
    const auto reference = solveWith(draw, setup, TSolverPath::Reference);
    const auto fast = solveWith(draw, setup, TSolverPath::Fast);
    const TNetwork& referenceNetwork = *reference->Network;
    const TNetwork& fastNetwork = *fast->Network;
    EXPECT_EQ(fast->Solved, reference->Solved);
    EXPECT_EQ(fast->Log, reference->Log);
    EXPECT_EQ(LoopTableOf(fastNetwork), LoopTableOf(referenceNetwork));
    EXPECT_EQ(openLinksOf(fastNetwork), openLinksOf(referenceNetwork));
    EXPECT_EQ(closedLinksOf(fastNetwork), closedLinksOf(referenceNetwork));
    expectSameBits(resultsOf(referenceNetwork), resultsOf(fastNetwork));
    expectSameCounters(referenceNetwork, fastNetwork);
    EXPECT_EQ(fast->User.Questions, reference->User.Questions);
    EXPECT_EQ(fast->User.Informations, reference->User.Informations);
    ExpectIdenticalEngines(referenceNetwork.MatrixEquations, fastNetwork.MatrixEquations);
    return reference->Solved;
}
