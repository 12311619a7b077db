#include "model/VM4_Node_Set_Class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundations/VM4_BinaryStream.h"

namespace {

const char* const kRemoveFailed =
    "TNodeSet.RemoveNode Failed: Specified NodeId may not be valid (or is not a used Node)";

TNode nodeAt(std::int32_t x, std::int32_t y) {
    TNode node;
    node.SetType(TNodeType::JoinPoint);
    node.X = x;
    node.Y = y;
    return node;
}

std::vector<std::int32_t> usedIds(const TNodeSet& set) {
    std::vector<std::int32_t> ids;
    for (std::int32_t id = set.getNextNodeId(0); id != -1; id = set.getNextNodeId(id)) ids.push_back(id);
    return ids;
}

std::vector<std::int32_t> addNodes(TNodeSet& set, int count) {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < count; ++i) ids.push_back(set.AddNode(nodeAt(i, i)));
    return ids;
}

// A set with exactly the given ids used: fill up to the highest, then remove the rest.
void useExactly(TNodeSet& set, const std::vector<std::int32_t>& ids) {
    const std::int32_t highest = ids.empty() ? 0 : ids.back();
    for (std::int32_t id = 1; id <= highest; ++id) {
        set.GetNode(set.AddNode(nodeAt(10 * id, 20 * id))).SetName("N" + std::to_string(id));
    }
    for (std::int32_t id = 1; id <= highest; ++id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) set.RemoveNode(id);
    }
}

std::string bytesOf(const TNodeSet& set) {
    TByteWriter writer;
    set.WriteRecord(writer);
    return writer.Bytes();
}

void expectFormatError(const std::string& bytes, const std::string& message) {
    TNodeSet set;
    TByteReader reader(bytes);
    try {
        set.ReadRecord(reader);
        FAIL() << "expected: " << message;
    } catch (const EStreamFormatError& error) {
        EXPECT_EQ(error.what(), message);
    }
}

}  // namespace

TEST(NodeSet, IdsAreHandedOutAscendingThenLastFreedFirst) {
    TNodeSet set;
    EXPECT_EQ(addNodes(set, 3), (std::vector<std::int32_t>{1, 2, 3}));
    set.RemoveNode(2);
    EXPECT_EQ(set.AddNode(nodeAt(0, 0)), 2);
    set.RemoveNode(1);
    set.RemoveNode(3);
    EXPECT_EQ(addNodes(set, 3), (std::vector<std::int32_t>{3, 1, 4}));
    EXPECT_EQ(set.GetNodeCount(), 4);
}

TEST(NodeSet, AddCopiesTheDataButTheSlotKeepsItsName) {
    TNodeSet set;
    const std::int32_t id = set.AddNode(nodeAt(5, 6));
    set.GetNode(id).SetName("N1");
    set.RemoveNode(id);

    TNode incoming = nodeAt(70, 80);
    incoming.Name = "Incoming";
    incoming.Elevation_m = 12.5;
    ASSERT_EQ(set.AddNode(incoming), id);
    EXPECT_EQ(set.GetNode(id).Name, "N1");
    EXPECT_EQ(set.GetNode(id).X, 70);
    EXPECT_EQ(set.GetNode(id).Elevation_m, 12.5);
    EXPECT_EQ(set.GetNode(id).NodeType, TNodeType::JoinPoint);
}

TEST(NodeSet, RemoveClearsTheNode) {
    TNodeSet set;
    const std::int32_t id = set.AddNode(nodeAt(5, 6));
    set.RemoveNode(id);
    EXPECT_EQ(set.GetNode(id).NodeType, TNodeType::NotSet);
    EXPECT_EQ(set.GetNode(id).X, 0);
    EXPECT_FALSE(set.IsNodeUsed(id));
}

TEST(NodeSet, FullPoolRefusesTheNextNodeAndStaysIntact) {
    TNodeSet set;
    const std::vector<std::int32_t> ids = addNodes(set, TNodeSet::MaxNodes);
    EXPECT_EQ(ids.back(), 1000);
    try {
        set.AddNode(nodeAt(1, 1));
        FAIL() << "the 1001st node must be refused";
    } catch (const ENodeClass& error) {
        EXPECT_STREQ(error.what(), "TNodeSet.AddNode Failed: May have reached Max number of nodes allowed");
    }
    EXPECT_EQ(set.GetNodeCount(), 1000);
    set.RemoveNode(437);
    EXPECT_EQ(set.AddNode(nodeAt(1, 1)), 437);
}

TEST(NodeSet, RemovingAnInvalidOrFreeIdRaisesAndChangesNothing) {
    for (const std::int32_t badId : {0, -1, 1001, 4, 2}) {
        TNodeSet set;
        addNodes(set, 3);
        set.RemoveNode(2);
        try {
            set.RemoveNode(badId);
            ADD_FAILURE() << "id " << badId << " must be refused";
        } catch (const ENodeClass& error) {
            EXPECT_STREQ(error.what(), kRemoveFailed) << "id " << badId;
        }
        EXPECT_EQ(set.GetNodeCount(), 2) << "id " << badId;
        EXPECT_EQ(set.AddNode(nodeAt(0, 0)), 2) << "free chain changed by id " << badId;
        EXPECT_EQ(set.AddNode(nodeAt(0, 0)), 4) << "free chain changed by id " << badId;
    }
}

TEST(NodeSet, GetNodeOutsideThePoolRaises) {
    TNodeSet set;
    EXPECT_NO_THROW(set.GetNode(1000));  // a free slot is still a node
    for (const std::int32_t badId : {0, 1001, -5}) {
        try {
            set.GetNode(badId);
            ADD_FAILURE() << "id " << badId;
        } catch (const ENodeClass& error) {
            EXPECT_STREQ(error.what(), "TNodeSet.GetNode Failed: Specified NodeId may not be valid");
        }
    }
}

struct IterationCase {
    std::vector<std::int32_t> used;
    std::int32_t from;
    std::int32_t next;
    std::int32_t previous;
    std::int32_t highest;
};

class NodeIteration : public ::testing::TestWithParam<IterationCase> {};

TEST_P(NodeIteration, FindsTheNeighbouringUsedIds) {
    const IterationCase& c = GetParam();
    TNodeSet set;
    useExactly(set, c.used);
    EXPECT_EQ(set.getNextNodeId(c.from), c.next);
    EXPECT_EQ(set.getPreviousNodeId(c.from), c.previous);
    EXPECT_EQ(set.getHighestNodeId(), c.highest);
}

INSTANTIATE_TEST_SUITE_P(NodeSet, NodeIteration,
                         ::testing::Values(IterationCase{{}, 0, -1, -1, -1},
                                           IterationCase{{1000}, 999, 1000, -1, 1000},
                                           IterationCase{{1000}, 1000, -1, -1, 1000},
                                           IterationCase{{1, 1000}, 1000, -1, 1, 1000},
                                           IterationCase{{1, 1000}, 1, 1000, -1, 1000},
                                           IterationCase{{3, 7, 9}, 0, 3, -1, 9},
                                           IterationCase{{3, 7, 9}, 7, 9, 3, 9},
                                           IterationCase{{3, 7, 9}, 5, 7, 3, 9},
                                           IterationCase{{3, 7, 9}, 9, -1, 7, 9}));

TEST(NodeSet, SamePositionReturnsTheHighestMatchingId) {
    TNodeSet set;
    set.AddNode(nodeAt(40, 50));  // 1
    set.AddNode(nodeAt(40, 60));  // 2
    set.AddNode(nodeAt(40, 50));  // 3
    set.AddNode(nodeAt(99, 99));  // 4
    EXPECT_EQ(set.ExistsNodeWithSamePosition(40, 50), 3);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(40, 60), 2);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(50, 40), 0);
    set.RemoveNode(3);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(40, 50), 1);
    // A cleared free slot sits at (0, 0) but is not a node of the network.
    EXPECT_EQ(set.ExistsNodeWithSamePosition(0, 0), 0);
}

TEST(NodeSet, ClearEmptiesThePoolAndRestartsIdsAtOne) {
    TNodeSet set;
    addNodes(set, 5);
    set.RemoveNode(2);
    set.Clear();
    EXPECT_EQ(set.GetNodeCount(), 0);
    EXPECT_EQ(set.getHighestNodeId(), -1);
    EXPECT_EQ(addNodes(set, 3), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(NodeSetRecord, WritesCountThenIdRecordAndLinkWordPerUsedNode) {
    TNodeSet set;
    useExactly(set, {5, 9});
    const std::string bytes = bytesOf(set);
    // 4 + 2 * (4 + 316 + 4)
    ASSERT_EQ(bytes.size(), 652u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x02\0\0\0\x05\0\0\0", 8));
    EXPECT_EQ(bytes.substr(324, 8), std::string("\0\0\0\0\x09\0\0\0", 8));  // link word 0, then id 9
    EXPECT_EQ(bytes.substr(648, 4), std::string("\0\0\0\0", 4));
}

TEST(NodeSetRecord, LoadKeepsTheSavedIdsAndChainsTheRestAscending) {
    TNodeSet saved;
    useExactly(saved, {5, 9});
    saved.GetNode(9).Elevation_m = 7.25;

    TNodeSet loaded;
    addNodes(loaded, 12);  // whatever was there before is replaced
    const std::string bytes = bytesOf(saved);
    TByteReader reader(bytes);
    loaded.ReadRecord(reader);

    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(usedIds(loaded), (std::vector<std::int32_t>{5, 9}));
    EXPECT_EQ(loaded.GetNodeCount(), 2);
    EXPECT_EQ(loaded.GetNode(5).Name, "N5");
    EXPECT_EQ(loaded.GetNode(9).X, 90);
    EXPECT_EQ(loaded.GetNode(9).Elevation_m, 7.25);
    EXPECT_EQ(addNodes(loaded, 9), (std::vector<std::int32_t>{1, 2, 3, 4, 6, 7, 8, 10, 11}));
}

TEST(NodeSetRecord, SavingTwiceGivesTheSameBytes) {
    TNodeSet set;
    useExactly(set, {2, 3, 8});
    TNodeSet reloaded;
    const std::string bytes = bytesOf(set);
    TByteReader reader(bytes);
    reloaded.ReadRecord(reader);
    EXPECT_EQ(bytesOf(reloaded), bytesOf(set));
}

TEST(NodeSetRecord, EmptySetIsJustItsCount) {
    EXPECT_EQ(bytesOf(TNodeSet()), std::string(4, '\0'));
}

namespace {

std::string int32Bytes(std::int32_t value) {
    TByteWriter writer;
    writer.WriteInt32(value);
    return writer.Bytes();
}

std::string nodeEntry(std::int32_t id) {
    TByteWriter writer;
    writer.WriteInt32(id);
    TNode().WriteRecord(writer);
    writer.WriteInt32(0);
    return writer.Bytes();
}

}  // namespace

TEST(NodeSetRecord, RejectsCountsAndIdsThatDoNotFitThePool) {
    expectFormatError(int32Bytes(1001), "node count 1001 is not 0..1000 at byte 0");
    expectFormatError(int32Bytes(-1), "node count -1 is not 0..1000 at byte 0");
    expectFormatError(int32Bytes(1) + nodeEntry(0), "node id 0 is not 1..1000 at byte 4");
    expectFormatError(int32Bytes(1) + nodeEntry(1001), "node id 1001 is not 1..1000 at byte 4");
    // Second entry starts at 4 + 324 = 328.
    expectFormatError(int32Bytes(2) + nodeEntry(6) + nodeEntry(6), "node id 6 is given twice at byte 328");
}

TEST(NodeSetRecord, TruncatedStreamFails) {
    const std::string bytes = int32Bytes(2) + nodeEntry(1);
    expectFormatError(bytes, "unexpected end of data (4 bytes needed, 0 left) at byte 328");
}
