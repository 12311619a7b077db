#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kRemoveLinkFailed = "TNetwork.RemoveLink Failed: Specified PipeId may not be valid";
const char* const kRemoveLinkClosedPipeFailed =
    "TNetwork.RemoveLinkClosedPipe Failed: Specified PipeId may not be valid";

// Four join points in a square, 1-2-3-4, with pipes 1..4 around it and pipe 5
// across from 1 to 3:
//
//   1 --p1--> 2
//   ^ \       |
//   p4  p5    p2
//   |     \   v
//   4 <--p3-- 3
class NetworkLinks : public ::testing::Test {
protected:
    NetworkLinks() : network(std::make_unique<TNetwork>()), build(*network) {
        for (const auto& [x, y] : {std::pair{0, 0}, {100, 0}, {100, 100}, {0, 100}}) build.AddJoint(x, y);
        build.AddPipe(1, 2, "p1");
        build.AddPipe(2, 3, "p2");
        build.AddPipe(3, 4, "p3");
        build.AddPipe(4, 1, "p4");
        build.AddPipe(1, 3, "p5");
    }

    std::vector<std::int32_t> openPipes() const {
        std::vector<std::int32_t> ids;
        for (std::int32_t k = 1; k <= network->GetNodeLinkCount(); ++k) ids.push_back(network->GetNodeLink(k).PipeId);
        return ids;
    }

    std::vector<std::int32_t> closedPipes() const {
        std::vector<std::int32_t> ids;
        for (std::int32_t k = 1; k <= network->GetClosedPipeLinkCount(); ++k) {
            ids.push_back(network->GetNodeLinkClosedPipe(k).PipeId);
        }
        return ids;
    }

    std::vector<std::int32_t> pipesWalkedForward() const {
        std::vector<std::int32_t> ids;
        for (std::int32_t id = network->GetNextPipeId(0); id != 0; id = network->GetNextPipeId(id)) ids.push_back(id);
        return ids;
    }

    std::vector<std::int32_t> pipesWalkedBackward() const {
        std::vector<std::int32_t> ids;
        for (std::int32_t id = network->GetPreviousPipeId(0); id != 0; id = network->GetPreviousPipeId(id)) {
            ids.push_back(id);
        }
        return ids;
    }

    template <typename Action>
    void expectNetworkError(Action action, const char* message) {
        try {
            action();
            ADD_FAILURE() << "expected: " << message;
        } catch (const ENetworkClass& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }

    std::unique_ptr<TNetwork> network;
    TNetworkBuilder build;
};

}  // namespace

TEST_F(NetworkLinks, LinksRecordDirectionInTheOrderPipesWereAdded) {
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(network->GetNodeLink(5), (TNodeLink{1, 3, 5}));
    std::int32_t from = 0;
    std::int32_t to = 0;
    network->GetFromAndToNodeIds(4, from, to);
    EXPECT_EQ(from, 4);
    EXPECT_EQ(to, 1);
    EXPECT_EQ(network->GetPipeCount(), 5);
    EXPECT_TRUE(network->IsNetworkOkToCalculate());
}

TEST_F(NetworkLinks, PipeIterationFollowsTheLinkTableNotTheIds) {
    network->RemovePipeLink(2);
    build.AddPipe(2, 3, "p2 again");  // reuses id 2, linked last
    EXPECT_EQ(pipesWalkedForward(), (std::vector<std::int32_t>{1, 3, 4, 5, 2}));
    EXPECT_EQ(pipesWalkedBackward(), (std::vector<std::int32_t>{2, 5, 4, 3, 1}));
    EXPECT_EQ(network->GetHighestPipeId(), 2);
    EXPECT_EQ(network->GetNextPipeId(77), 0);  // not linked
    EXPECT_EQ(network->GetPreviousPipeId(77), 0);
}

TEST_F(NetworkLinks, SortingOrdersTheLinksByPipeId) {
    network->RemovePipeLink(2);
    network->RemovePipeLink(4);
    build.AddPipe(4, 1, "p4 again");  // id 4, the last freed
    build.AddPipe(2, 3, "p2 again");  // id 2
    ASSERT_EQ(openPipes(), (std::vector<std::int32_t>{1, 3, 5, 4, 2}));
    network->SortNodeLinksByPipeId();
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(network->GetHighestPipeId(), 5);
    EXPECT_EQ(network->GetNodeLink(2), (TNodeLink{2, 3, 2}));
}

TEST_F(NetworkLinks, RemovingTheMiddleLinkKeepsTheOthersInOrder) {
    network->RemoveLink(3);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 4, 5}));
    EXPECT_EQ(network->GetNodeLinkCount(), 4);
    // The pipe itself is still in the pool until it is removed too.
    EXPECT_EQ(network->GetPipeCount(), 5);
}

TEST_F(NetworkLinks, RemovingAPipeWithoutLinkRaisesAndChangesNothing) {
    network->RemoveLink(3);
    expectNetworkError([&] { network->RemoveLink(3); }, kRemoveLinkFailed);
    expectNetworkError([&] { network->RemoveLink(999); }, kRemoveLinkFailed);
    expectNetworkError([&] { network->RemovePipeLink(3); }, kRemoveLinkFailed);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 4, 5}));
    EXPECT_EQ(network->GetPipeCount(), 5);
}

TEST_F(NetworkLinks, RemovePipeLinkFreesTheIdForTheNextPipe) {
    network->RemovePipeLink(4);
    EXPECT_EQ(network->GetPipeCount(), 4);
    EXPECT_EQ(build.AddPipe(3, 1, "new"), 4);
    EXPECT_EQ(build.AddPipe(4, 2, "newer"), 6);
}

TEST_F(NetworkLinks, RemoveBetweenNodesNeedsTheExactDirectionAndTakesTheLastMatch) {
    build.AddPipe(1, 2, "p6 parallel to p1");
    network->RemovePipeLinkBetweenNodes(1, 2);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(network->GetPipeCount(), 5);
    expectNetworkError([&] { network->RemovePipeLinkBetweenNodes(2, 1); }, kRemoveLinkFailed);
    network->RemovePipeLinkBetweenNodes(1, 2);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{2, 3, 4, 5}));
}

TEST_F(NetworkLinks, RemovingAllPipesOfANodeTakesOpenAndClosedOnes) {
    network->RemoveNodeLinkAddClosedPipeLink(4);  // 4 -> 1, closed
    network->RemoveAllPipeLinksFromToNode(1);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{2, 3}));
    EXPECT_TRUE(closedPipes().empty());
    EXPECT_EQ(network->GetPipeCount(), 2);
    EXPECT_FALSE(network->Pipes.IsPipeUsed(1));
    EXPECT_FALSE(network->Pipes.IsPipeUsed(4));
    EXPECT_FALSE(network->Pipes.IsPipeUsed(5));
}

TEST_F(NetworkLinks, ReversingSwapsTheEndsOfTheOpenLinkOnly) {
    network->ReversePipeLink(5);
    EXPECT_EQ(network->GetNodeLink(5), (TNodeLink{3, 1, 5}));
    network->RemoveNodeLinkAddClosedPipeLink(2);
    network->ReversePipeLink(2);
    EXPECT_EQ(network->GetNodeLinkClosedPipe(1), (TNodeLink{2, 3, 2}));
}

TEST_F(NetworkLinks, PipeNodesOfAnUnlinkedPipe) {
    network->RemoveLink(3);
    std::int32_t from = 8;
    std::int32_t to = 9;
    EXPECT_FALSE(network->GetPipeNodes(3, from, to));
    EXPECT_EQ(from, 8);
    EXPECT_EQ(to, 9);
    network->GetFromAndToNodeIds(3, from, to);
    EXPECT_EQ(from, -1);
    EXPECT_EQ(to, -1);
    EXPECT_TRUE(network->GetPipeNodes(2, from, to));
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 3);
}

TEST_F(NetworkLinks, PipeLinkExistsInEitherDirectionWhileOpen) {
    EXPECT_TRUE(network->ExistsPipeLink(1, 2));
    EXPECT_TRUE(network->ExistsPipeLink(2, 1));
    EXPECT_FALSE(network->ExistsPipeLink(2, 4));
    network->RemoveNodeLinkAddClosedPipeLink(1);
    EXPECT_FALSE(network->ExistsPipeLink(1, 2));
}

TEST_F(NetworkLinks, UndirectedLinkWalkVisitsEveryLinkOfANode) {
    // Node 3 is on p2 (link 2, as to-node), p3 (link 3, from) and p5 (link 5, to).
    std::vector<std::int32_t> visited;
    for (std::int32_t k = network->GetNextUndirectedNodeLinkId(3, 0); k != -1;
         k = network->GetNextUndirectedNodeLinkId(3, k)) {
        visited.push_back(k);
    }
    EXPECT_EQ(visited, (std::vector<std::int32_t>{2, 3, 5}));
}

struct FlowCountCase {
    std::int32_t nodeId;
    std::int32_t out;
    std::int32_t in;
};

TEST_F(NetworkLinks, CountsPipesLeavingAndEnteringANode) {
    const FlowCountCase cases[] = {{1, 2, 1}, {2, 1, 1}, {3, 1, 2}, {4, 1, 1}, {99, 0, 0}};
    for (const FlowCountCase& c : cases) {
        EXPECT_EQ(network->GetNumberOfOutFlowPipes(c.nodeId), c.out) << "node " << c.nodeId;
        EXPECT_EQ(network->GetNumberOfInFlowPipes(c.nodeId), c.in) << "node " << c.nodeId;
    }
}

TEST_F(NetworkLinks, OutFlowPipesNotSetSkipsPipesWithAnEstimate) {
    EXPECT_EQ(network->GetNumberOfOutFlowPipesNotSet(1), 2);
    network->GetPipe(5).FlowGuessSet = true;
    EXPECT_EQ(network->GetNumberOfOutFlowPipesNotSet(1), 1);
    network->GetPipe(1).FlowGuessSet = true;
    EXPECT_EQ(network->GetNumberOfOutFlowPipesNotSet(1), 0);
    EXPECT_EQ(network->GetNumberOfOutFlowPipes(1), 2);
}

TEST_F(NetworkLinks, LinkEntriesOutsideTheTableRaise) {
    expectNetworkError([&] { network->GetNodeLink(0); },
                       "TNetwork.GetNodeLink Failed: Specified link index may not be valid");
    expectNetworkError([&] { network->GetNodeLink(6); },
                       "TNetwork.GetNodeLink Failed: Specified link index may not be valid");
    expectNetworkError([&] { network->GetNodeLinkClosedPipe(1); },
                       "TNetwork.GetNodeLinkClosedPipe Failed: Specified link index may not be valid");
}

TEST_F(NetworkLinks, ClosingMovesTheLinkAndZeroesTheFlow) {
    TPipe& pipe = network->GetPipe(2);
    pipe.FlowGuessUncompressed_m3s = 0.02;
    pipe.FlowUncompressed_m3s = 0.03;
    pipe.CalcPipeInfo(network->Fluid);
    ASSERT_NE(pipe.Velocity_ms, 0.0);

    network->RemoveNodeLinkAddClosedPipeLink(2);

    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 3, 4, 5}));
    EXPECT_EQ(closedPipes(), (std::vector<std::int32_t>{2}));
    EXPECT_TRUE(network->IsPipeClosed(2));
    EXPECT_FALSE(network->IsPipeClosed(3));
    EXPECT_EQ(pipe.FlowGuessUncompressed_m3s, 0.0);
    EXPECT_EQ(pipe.FlowUncompressed_m3s, 0.0);
    EXPECT_EQ(pipe.Velocity_ms, 0.0);  // recomputed at zero flow
    EXPECT_EQ(network->GetPipeCount(), 5);
}

TEST_F(NetworkLinks, ClosingAClosedPipeAgainKeepsItsLink) {
    network->RemoveNodeLinkAddClosedPipeLink(2);
    network->RemoveNodeLinkAddClosedPipeLink(2);
    EXPECT_EQ(closedPipes(), (std::vector<std::int32_t>{2}));
    EXPECT_EQ(network->GetNodeLinkClosedPipe(1), (TNodeLink{2, 3, 2}));
}

TEST_F(NetworkLinks, OpeningPutsTheLinkBackAtTheEndWithItsDirection) {
    network->RemoveNodeLinkAddClosedPipeLink(1);
    network->RemoveNodeLinkAddClosedPipeLink(3);
    network->RestoreNodeLinkForClosedPipe(1);
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{2, 4, 5, 1}));
    EXPECT_EQ(network->GetNodeLink(4), (TNodeLink{1, 2, 1}));
    EXPECT_EQ(closedPipes(), (std::vector<std::int32_t>{3}));
    expectNetworkError([&] { network->RestoreNodeLinkForClosedPipe(1); }, kRemoveLinkClosedPipeFailed);
    EXPECT_EQ(network->GetNodeLinkCount(), 4);
}

TEST_F(NetworkLinks, RemoveLinkTakesAClosedPipesLinkFromTheClosedTable) {
    network->RemoveNodeLinkAddClosedPipeLink(3);
    network->RemoveNodeLinkAddClosedPipeLink(4);
    network->RemoveLink(3);
    EXPECT_EQ(closedPipes(), (std::vector<std::int32_t>{4}));
    EXPECT_EQ(openPipes(), (std::vector<std::int32_t>{1, 2, 5}));
    expectNetworkError([&] { network->RemoveLinkClosedPipe(3); }, kRemoveLinkClosedPipeFailed);
    expectNetworkError([&] { network->RemoveLinkClosedPipe(1); }, kRemoveLinkClosedPipeFailed);
}

TEST(NetworkLinkCapacity, FullLinkTableRefusesLinksAndLeavesNoOrphanPipe) {
    auto network = std::make_unique<TNetwork>();
    TNetworkBuilder build(*network);
    const std::int32_t a = build.AddJoint(0, 0);
    const std::int32_t b = build.AddJoint(50, 0);
    // Links to pipe ids that are not in the pool: only the table's capacity matters here.
    for (std::int32_t k = 1; k <= TNetwork::MaxLinks; ++k) ASSERT_TRUE(network->AddLink(a, b, k));
    EXPECT_FALSE(network->AddLink(a, b, 1001));
    EXPECT_EQ(network->GetNodeLinkCount(), 1000);

    EXPECT_EQ(network->AddPipeLink(a, b, network->DefaultPipe), -1);
    EXPECT_EQ(network->GetPipeCount(), 0);
    EXPECT_EQ(network->AddPipe(network->DefaultPipe), 1);  // the free chain is as before
}

TEST(NetworkLinkCapacity, FullPipePoolRaisesFromAddPipeLink) {
    auto network = std::make_unique<TNetwork>();
    TNetworkBuilder build(*network);
    const std::int32_t a = build.AddJoint(0, 0);
    const std::int32_t b = build.AddJoint(50, 0);
    for (int i = 0; i < 1000; ++i) network->AddPipe(network->DefaultPipe);
    try {
        network->AddPipeLink(a, b, network->DefaultPipe);
        FAIL() << "the 1001st pipe must be refused";
    } catch (const EPipeClass& error) {
        EXPECT_STREQ(error.what(), "TPipeSet.AddPipe Failed: May have reached Max number of pipes allowed");
    }
    EXPECT_EQ(network->GetNodeLinkCount(), 0);
}
