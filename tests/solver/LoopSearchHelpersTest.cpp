// The building blocks of the loop generation: the per-node link lists, the
// bridge finder and the search frontier.

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "solver/VM4_BridgeLinks.h"
#include "solver/VM4_LinkAdjacency.h"
#include "solver/VM4_SearchFrontier.h"

namespace {

constexpr std::int32_t kMaxNodeId = 1000;
constexpr std::int32_t kMaxLinks = 1000;

// A link table with entry 0 unused, as the network keeps it.
std::vector<TNodeLink> linkTable(const std::vector<TNodeLink>& links) {
    std::vector<TNodeLink> table(static_cast<std::size_t>(kMaxLinks) + 1);
    for (std::size_t k = 0; k < links.size(); ++k) table[k + 1] = links[k];
    return table;
}

std::vector<std::int32_t> listOf(const TLinkAdjacency& adjacency, std::int32_t nodeId) {
    const auto links = adjacency.LinksOf(nodeId);
    return {links.begin(), links.end()};
}

TEST(LinkAdjacencyTest, ListsEachNodesLinksInTableOrder) {
    // 1->2, 3->1, 2->2 (to itself), 1->3, 4->1
    const auto table = linkTable({{1, 2, 11}, {3, 1, 12}, {2, 2, 13}, {1, 3, 14}, {4, 1, 15}});
    TLinkAdjacency adjacency(kMaxNodeId, kMaxLinks);
    ASSERT_TRUE(adjacency.Build(table, 5));
    EXPECT_EQ(listOf(adjacency, 1), (std::vector<std::int32_t>{1, 2, 4, 5}));
    EXPECT_EQ(listOf(adjacency, 2), (std::vector<std::int32_t>{1, 3}));  // the link to itself once
    EXPECT_EQ(listOf(adjacency, 3), (std::vector<std::int32_t>{2, 4}));
    EXPECT_EQ(listOf(adjacency, 4), (std::vector<std::int32_t>{5}));
    EXPECT_TRUE(listOf(adjacency, 5).empty());
    EXPECT_TRUE(listOf(adjacency, 0).empty());
    EXPECT_TRUE(listOf(adjacency, kMaxNodeId + 1).empty());

    // Rebuilt from fewer links, nothing of the first table is left.
    ASSERT_TRUE(adjacency.Build(table, 2));
    EXPECT_EQ(listOf(adjacency, 1), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(listOf(adjacency, 4).empty());
}

TEST(LinkAdjacencyTest, RefusesNodeIdsOutsideTheRange) {
    for (const TNodeLink& bad : {TNodeLink{0, 1, 1}, TNodeLink{1, kMaxNodeId + 1, 1}, TNodeLink{-3, 2, 1}}) {
        TLinkAdjacency adjacency(kMaxNodeId, kMaxLinks);
        EXPECT_FALSE(adjacency.Build(linkTable({{1, 2, 5}, bad}), 2))
            << bad.FromNodeId << "->" << bad.ToNodeId;
        EXPECT_TRUE(listOf(adjacency, 1).empty());
    }
}

// ---- Bridges ------------------------------------------------------------------------------

// Whether the link's two ends are still connected without it: a plain search.
bool endsConnectedWithout(const std::vector<TNodeLink>& links, std::size_t without) {
    const TNodeLink& removed = links[without];
    std::vector<bool> reached(static_cast<std::size_t>(kMaxNodeId) + 1, false);
    std::deque<std::int32_t> queue{removed.FromNodeId};
    reached[static_cast<std::size_t>(removed.FromNodeId)] = true;
    while (!queue.empty()) {
        const std::int32_t nodeId = queue.front();
        queue.pop_front();
        for (std::size_t k = 0; k < links.size(); ++k) {
            if (k == without || !links[k].Touches(nodeId)) continue;
            const std::int32_t other = links[k].FromNodeId == nodeId ? links[k].ToNodeId : links[k].FromNodeId;
            if (!reached[static_cast<std::size_t>(other)]) {
                reached[static_cast<std::size_t>(other)] = true;
                queue.push_back(other);
            }
        }
    }
    return reached[static_cast<std::size_t>(removed.ToNodeId)];
}

std::vector<bool> bridgesOf(const std::vector<TNodeLink>& links) {
    const auto table = linkTable(links);
    const auto count = static_cast<std::int32_t>(links.size());
    TLinkAdjacency adjacency(kMaxNodeId, kMaxLinks);
    EXPECT_TRUE(adjacency.Build(table, count));
    TBridgeLinks bridges(kMaxNodeId, kMaxLinks);
    bridges.Find(table, count, adjacency);
    std::vector<bool> result;
    for (std::int32_t k = 1; k <= count; ++k) result.push_back(bridges.IsBridge(k));
    return result;
}

struct TBridgeCase {
    const char* Name;
    std::vector<TNodeLink> Links;
    std::vector<bool> Bridges;
};

void PrintTo(const TBridgeCase& bridgeCase, std::ostream* out) { *out << bridgeCase.Name; }

const TBridgeCase kBridgeCases[] = {
    {"ChainIsAllBridges", {{1, 2, 1}, {2, 3, 2}, {4, 3, 3}}, {true, true, true}},
    {"TriangleHasNone", {{1, 2, 1}, {2, 3, 2}, {3, 1, 3}}, {false, false, false}},
    {"ParallelPairIsNoBridge", {{1, 2, 1}, {2, 1, 2}, {2, 3, 3}}, {false, false, true}},
    {"LinkToItselfIsNoBridge", {{1, 1, 1}, {1, 2, 2}}, {false, true}},
    // Two triangles joined by link 4.
    {"DumbbellHandle", {{1, 2, 1}, {2, 3, 2}, {3, 1, 3}, {3, 4, 4}, {4, 5, 5}, {5, 6, 6}, {6, 4, 7}},
     {false, false, false, true, false, false, false}},
};

class BridgeLinksTest : public ::testing::TestWithParam<TBridgeCase> {};

TEST_P(BridgeLinksTest, FindsTheBridges) { EXPECT_EQ(bridgesOf(GetParam().Links), GetParam().Bridges); }

INSTANTIATE_TEST_SUITE_P(Shapes, BridgeLinksTest, ::testing::ValuesIn(kBridgeCases),
                         [](const ::testing::TestParamInfo<TBridgeCase>& info) { return std::string(info.param.Name); });

// Random multigraphs, sparse enough to have both kinds, against removing each link in turn.
TEST(BridgeLinksRandomTest, AgreesWithRemovingEachLink) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 40; ++trial) {
        const std::int32_t nodes = std::uniform_int_distribution<std::int32_t>(2, 30)(random);
        const std::int32_t linkCount = std::uniform_int_distribution<std::int32_t>(1, nodes + 5)(random);
        std::uniform_int_distribution<std::int32_t> anyNode(1, nodes);
        std::vector<TNodeLink> links;
        for (std::int32_t k = 1; k <= linkCount; ++k) links.push_back({anyNode(random), anyNode(random), k});
        std::vector<bool> expected;
        for (std::size_t k = 0; k < links.size(); ++k) expected.push_back(!endsConnectedWithout(links, k));
        EXPECT_EQ(bridgesOf(links), expected) << "trial " << trial;
    }
}

// A chain of 1000 links would overflow a recursive walk in some builds; the walk
// here keeps its own stack.
TEST(BridgeLinksRandomTest, LongestChainIsAllBridges) {
    std::vector<TNodeLink> links;
    for (std::int32_t k = 1; k < kMaxNodeId; ++k) links.push_back({k, k + 1, k});
    EXPECT_EQ(bridgesOf(links), std::vector<bool>(links.size(), true));
}

// ---- Frontier -------------------------------------------------------------------------------

TEST(SearchFrontierTest, HandsOutNearestFirstAndLowestIdOnEqualDistances) {
    TSearchFrontier frontier(16);
    const std::pair<std::int32_t, std::int32_t> pushed[] = {{2, 7}, {1, 900}, {2, 3}, {1, 12}, {3, 1}, {2, 1000}};
    for (const auto& [distance, nodeId] : pushed) frontier.Push(distance, nodeId);
    std::vector<std::pair<std::int32_t, std::int32_t>> popped;
    std::int32_t distance = 0;
    std::int32_t nodeId = 0;
    while (frontier.PopNearest(distance, nodeId)) popped.emplace_back(distance, nodeId);
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected{{1, 12}, {1, 900}, {2, 3},
                                                                       {2, 7},  {2, 1000}, {3, 1}};
    EXPECT_EQ(popped, expected);
}

}  // namespace
