#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "DressedRandomNetwork.h"
#include "DriverFixture.h"

// Small random networks, drawn well or badly (DressedRandomNetwork.h). Whatever
// the outcome, the solve must return without raising, put the link table back
// in pipe id order (reversals by the user aside), leave the demands as they were
// entered, and a network it calls solved must hold finite results.

namespace {

struct TDrawnNetwork {
    std::vector<TNodeLink> OpenLinks;    // before the solve
    std::vector<TNodeLink> ClosedLinks;
    std::vector<std::pair<double, double>> Demands;  // supply, discharge per node id
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
    TDressedRandomNetwork random(GetParam());
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
