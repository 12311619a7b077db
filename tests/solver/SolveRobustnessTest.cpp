#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "DriverFixture.h"

// Small random networks, drawn well or badly: no supply, isolated nodes, pipes
// from a node to itself, loops of pumps, pipes without length or bore, closed
// pipes cutting the network in two, flow controls that cannot be met. Whatever
// the outcome, the solve must return without raising, put the link table back
// in pipe id order (reversals by the user aside), leave the demands as they were
// entered, and a network it calls solved must hold finite results.

namespace {

struct TDrawnNetwork {
    std::vector<TNodeLink> OpenLinks;    // before the solve
    std::vector<TNodeLink> ClosedLinks;
    std::vector<std::pair<double, double>> Demands;  // supply, discharge per node id
};

class RandomNetwork {
public:
    explicit RandomNetwork(std::uint32_t seed) : random_(seed) {}

    void Draw(TNetwork& network) {
        TNetworkBuilder build(network);
        const int nodeCount = Between(2, 6);
        for (int i = 0; i < nodeCount; ++i) AddNode(network, build);
        const int pipeCount = Between(1, 8);
        for (int i = 0; i < pipeCount; ++i) {
            const std::int32_t from = Between(1, nodeCount);
            // Now and then a pipe from a node to itself.
            const std::int32_t to = Chance(0.1) ? from : Between(1, nodeCount);
            const std::int32_t pipeId = build.AddPipe(from, to, "P" + std::to_string(i + 1), Length(), Bore());
            DressPipe(network.GetPipe(pipeId));
        }
        for (std::int32_t pipeId = 1; pipeId <= pipeCount; ++pipeId) {
            if (Chance(0.15)) network.RemoveNodeLinkAddClosedPipeLink(pipeId);
        }
        TNetworkSettings& settings = network.Settings;
        // Short phases keep a hundred failing attempts quick; the driver is the same.
        settings.MaxIterationsApproxSolution = 30;
        settings.MaxIterationsFinalSolution = 300;
    }

    bool Chance(double probability) { return std::bernoulli_distribution(probability)(random_); }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

    double Length() { return Chance(0.1) ? 0.0 : Uniform(1.0, 500.0); }
    double Bore() { return Chance(0.1) ? 0.0 : Uniform(0.02, 0.3); }

    void AddNode(TNetwork& network, TNetworkBuilder& build) {
        const double elevation_m = Uniform(0.0, 50.0);
        switch (Between(0, 2)) {
            case 0: build.AddTank(0, 0, elevation_m, Uniform(-0.5, 2.0), Uniform(0.0, 10.0)); break;
            case 1: build.AddDemandPressure(0, 0, Uniform(-0.5, 2.0), elevation_m); break;
            default: {
                TNode& joint = network.GetNode(build.AddJoint(0, 0, elevation_m));
                if (Chance(0.4)) joint.JointSupply_m3s = Uniform(0.0, 0.05);
                if (Chance(0.4)) joint.JointDischarge_m3s = Uniform(0.0, 0.05);
            }
        }
    }

    void DressPipe(TPipe& pipe) {
        if (Chance(0.2)) {
            pipe.HasFlowControl = true;
            pipe.FlowControlSetFlow_m3s = Uniform(0.0, 0.1);
        }
        if (Chance(0.2)) {
            pipe.HasPump = true;
            pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
            pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
            pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 3.0);
            pipe.Pump.RunsAtSetFlowRate = Chance(0.3) ? 1 : 0;
            pipe.Pump.SetFlowRate_m3s = Uniform(0.0, 0.05);
        }
        if (Chance(0.2)) {
            pipe.HasComponentPressure = true;
            pipe.ComponentPressure.FixedLoss_bar = Uniform(0.0, 1.0);
        }
    }

    std::mt19937 random_;
};

class SolveRobustness : public TDriverFixture, public ::testing::WithParamInterface<std::uint32_t> {
protected:
    TDrawnNetwork Remember() const {
        TDrawnNetwork drawn;
        drawn.OpenLinks = OpenLinks();
        for (std::int32_t k = 1; k <= network->GetClosedPipeLinkCount(); ++k) {
            drawn.ClosedLinks.push_back(network->GetNodeLinkClosedPipe(k));
        }
        for (std::int32_t id = network->GetNextNodeId(0); id > 0; id = network->GetNextNodeId(id)) {
            drawn.Demands.emplace_back(network->GetNode(id).JointSupply_m3s, network->GetNode(id).JointDischarge_m3s);
        }
        return drawn;
    }

    // The same links, in pipe id order; a link may be turned round only when the
    // user agreed to reversals.
    void ExpectLinksPutBack(const TDrawnNetwork& drawn, bool reversalsAllowed) const {
        std::vector<TNodeLink> expected = drawn.OpenLinks;
        std::sort(expected.begin(), expected.end(),
                  [](const TNodeLink& a, const TNodeLink& b) { return a.PipeId < b.PipeId; });
        const std::vector<TNodeLink> actual = OpenLinks();
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t k = 0; k < actual.size(); ++k) {
            const TNodeLink reversed{expected[k].ToNodeId, expected[k].FromNodeId, expected[k].PipeId};
            EXPECT_TRUE(actual[k] == expected[k] || (reversalsAllowed && actual[k] == reversed))
                << "link " << k + 1 << " holds pipe " << actual[k].PipeId << " from " << actual[k].FromNodeId
                << " to " << actual[k].ToNodeId;
        }
    }

    void ExpectFiniteResults() const {
        for (const TNodeLink& link : OpenLinks()) {
            EXPECT_TRUE(std::isfinite(network->GetPipe(link.PipeId).FlowUncompressed_m3s)) << "pipe " << link.PipeId;
        }
        for (std::int32_t id = network->GetNextNodeId(0); id > 0; id = network->GetNextNodeId(id)) {
            EXPECT_TRUE(std::isfinite(network->GetNode(id).Pressure_FluidHead_m)) << "node " << id;
        }
    }
};

TEST_P(SolveRobustness, SolveReturnsAndPutsTheDocumentBack) {
    RandomNetwork random(GetParam());
    random.Draw(*network);
    user.DefaultAnswer = random.Chance(0.5);
    const TDrawnNetwork drawn = Remember();

    bool solved = false;
    ASSERT_NO_THROW(solved = network->SolveNetwork(log));
    ASSERT_NO_THROW(network->CheckResults(log, solved, network->WarningCount));

    EXPECT_FALSE(log.empty());
    ExpectLinksPutBack(drawn, user.DefaultAnswer);
    EXPECT_EQ(Remember().ClosedLinks, drawn.ClosedLinks);
    EXPECT_EQ(Remember().Demands, drawn.Demands);
    EXPECT_EQ(network->GetFlowControlLinkCount(), 0);
    EXPECT_EQ(network->GetSetFlowPumpLinkCount(), 0);
    if (solved) ExpectFiniteResults();
}

INSTANTIATE_TEST_SUITE_P(Seeds, SolveRobustness, ::testing::Range<std::uint32_t>(1, 41));

}  // namespace
