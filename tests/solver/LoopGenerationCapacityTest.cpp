// The product's loop generation against the plain search at the program's capacity.
// The plain search takes seconds here (it scans every link and node id at every step),
// so these cases live in a suite of their own, labelled long.

#include <gtest/gtest.h>

#include "RandomNetworks.h"
#include "SolverComponentComparison.h"
#include "SolverTestNetworks.h"
#include "common/GridNetwork.h"
#include "model/VM4_Network_Class.h"

namespace {

// 22 x 22 join points, 928 pipes, 444 loops and paths.
TEST(LoopCapacityDifferentialTest, GridOfAbout950Pipes) {
    TNetwork network;
    BuildGridNetwork(network, GridSpecForPipes(950));
    ExpectSameLoopTable(network);
    EXPECT_EQ(network.GetPipeLoopCount(), 444);
}

// Every node and link slot in use: 1000 nodes (ids up to 1000, after a few gaps were
// filled again) and 1000 links, in ten separate parts with tanks, end nodes, parallel
// pipes and links from a node to itself.
TEST(LoopCapacityDifferentialTest, ThousandNodesAndThousandLinks) {
    TNetwork network;
    BuildRandomNetwork(network, FullCapacityPlan());
    ASSERT_EQ(network.GetNodeCount(), TNodeSet::MaxNodes);
    ASSERT_EQ(network.GetNodeLinkCount(), TNetwork::MaxLinks);
    ExpectSameLoopTable(network);
    EXPECT_GT(network.GetPipeLoopCount(), 0);
}

}  // namespace
