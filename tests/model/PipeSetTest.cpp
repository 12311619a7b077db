#include "model/VM4_Pipe_Set_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundations/VM4_BinaryStream.h"

namespace {

constexpr std::size_t kEntrySize = 4 + 1727 + 4;

const char* const kRemoveFailed =
    "TPipeSet.RemovePipe Failed: Specified PipeId may not be valid (or is not a used Pipe)";

TPipe namedPipe(const std::string& name) {
    TPipe pipe;
    pipe.Name = name;
    return pipe;
}

std::vector<int> usedIds(const TPipeSet& set) {
    std::vector<int> ids;
    for (int id = set.getNextPipeId(0); id != -1; id = set.getNextPipeId(id)) ids.push_back(id);
    return ids;
}

// The pool is large: one per fixture, created once per test.
class PipeSetTest : public ::testing::Test {
protected:
    TPipeSet set;
};

TEST_F(PipeSetTest, IdsAreHandedOutLastFreedFirst) {
    EXPECT_EQ(set.AddPipe(namedPipe("a")), 1);
    EXPECT_EQ(set.AddPipe(namedPipe("b")), 2);
    EXPECT_EQ(set.AddPipe(namedPipe("c")), 3);
    set.RemovePipe(2);
    EXPECT_EQ(set.AddPipe(namedPipe("d")), 2);
    set.RemovePipe(1);
    set.RemovePipe(3);
    EXPECT_EQ(set.AddPipe(namedPipe("e")), 3);
    EXPECT_EQ(set.AddPipe(namedPipe("f")), 1);
    EXPECT_EQ(set.AddPipe(namedPipe("g")), 4);
    EXPECT_EQ(set.GetPipeCount(), 4);
    EXPECT_EQ(set.GetPipe(2).Name, "d");
    EXPECT_EQ(usedIds(set), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(PipeSetTest, AddPipeCopiesIntoTheSlotWhichKeepsItsDrawingFields) {
    TPipe pipe = namedPipe("Main");
    pipe.Length_m = 12.0;
    pipe.LabelX = 40;
    const int id = set.AddPipe(pipe);
    EXPECT_EQ(set.GetPipe(id).Name, "Main");
    EXPECT_EQ(set.GetPipe(id).Length_m, 12.0);
    EXPECT_EQ(set.GetPipe(id).LabelX, 0);
    pipe.Name = "changed";
    EXPECT_EQ(set.GetPipe(id).Name, "Main");
}

TEST_F(PipeSetTest, RemovedSlotIsCleared) {
    const int id = set.AddPipe(namedPipe("gone"));
    set.RemovePipe(id);
    EXPECT_EQ(set.GetPipe(id).Name, "");
    EXPECT_FALSE(set.IsPipeUsed(id));
    EXPECT_EQ(set.GetPipeCount(), 0);
}

TEST_F(PipeSetTest, FullPoolRefusesTheNextPipe) {
    for (int i = 1; i <= TPipeSet::kCapacity; ++i) ASSERT_EQ(set.AddPipe(namedPipe("p")), i);
    try {
        set.AddPipe(namedPipe("one too many"));
        FAIL() << "the 1001st pipe must be refused";
    } catch (const EPipeClass& error) {
        EXPECT_STREQ(error.what(), "TPipeSet.AddPipe Failed: May have reached Max number of pipes allowed");
    }
    EXPECT_EQ(set.GetPipeCount(), 1000);
    set.RemovePipe(500);
    EXPECT_EQ(set.AddPipe(namedPipe("p")), 500);
}

TEST_F(PipeSetTest, RemovingAnInvalidOrFreeIdIsRefused) {
    set.AddPipe(namedPipe("a"));
    set.AddPipe(namedPipe("b"));
    set.RemovePipe(2);
    for (const int id : {0, -1, 1001, 2, 3}) {
        try {
            set.RemovePipe(id);
            FAIL() << "id " << id << " must be refused";
        } catch (const EPipeClass& error) {
            EXPECT_STREQ(error.what(), kRemoveFailed);
        }
    }
    EXPECT_EQ(set.GetPipeCount(), 1);
    EXPECT_EQ(set.AddPipe(namedPipe("c")), 2);
}

TEST_F(PipeSetTest, GetPipeRefusesIdsOutsideThePool) {
    EXPECT_THROW(set.GetPipe(0), EPipeClass);
    EXPECT_THROW(set.GetPipe(1001), EPipeClass);
    EXPECT_NO_THROW(set.GetPipe(1000));
}

TEST_F(PipeSetTest, NextIdIteratesUsedSlotsInAscendingOrder) {
    EXPECT_EQ(set.getNextPipeId(0), -1);
    for (int i = 0; i < 5; ++i) set.AddPipe(namedPipe("p"));
    set.RemovePipe(1);
    set.RemovePipe(4);
    EXPECT_EQ(usedIds(set), (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(set.getNextPipeId(1000), -1);
}

TEST_F(PipeSetTest, RecordHoldsUsedPipesWithTheirIds) {
    for (int i = 0; i < 9; ++i) set.AddPipe(namedPipe("p" + std::to_string(i + 1)));
    for (const int id : {1, 2, 3, 4, 6, 7, 8}) set.RemovePipe(id);
    TByteWriter writer;
    set.WriteRecord(writer);
    ASSERT_EQ(writer.Size(), 4 + 2 * kEntrySize);
    // count 2, then id 5 ... link word 0, then id 9
    EXPECT_EQ(writer.Bytes().substr(0, 8), std::string("\x02\0\0\0\x05\0\0\0", 8));
    EXPECT_EQ(writer.Bytes().substr(4 + 4 + 1727, 8), std::string("\0\0\0\0\x09\0\0\0", 8));
}

TEST_F(PipeSetTest, LoadedIdsAreUsedAndTheRestStayChainedInAscendingOrder) {
    for (int i = 0; i < 9; ++i) set.AddPipe(namedPipe("p" + std::to_string(i + 1)));
    for (const int id : {1, 2, 3, 4, 6, 7, 8}) set.RemovePipe(id);
    TByteWriter writer;
    set.WriteRecord(writer);

    TPipeSet loaded;
    loaded.AddPipe(namedPipe("stale"));
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(usedIds(loaded), (std::vector<int>{5, 9}));
    EXPECT_EQ(loaded.GetPipeCount(), 2);
    EXPECT_EQ(loaded.GetPipe(5).Name, "p5");
    EXPECT_EQ(loaded.GetPipe(9).Name, "p9");
    EXPECT_EQ(loaded.GetPipe(1).Name, "");
    for (const int expected : {1, 2, 3, 4, 6, 7, 8, 10}) EXPECT_EQ(loaded.AddPipe(namedPipe("new")), expected);
}

TEST_F(PipeSetTest, LoadingTheIdAtTheHeadOfTheFreeChainMovesTheHead) {
    const std::string bytes = [] {
        TPipeSet saved;
        for (int i = 0; i < 3; ++i) saved.AddPipe(namedPipe("p"));
        saved.RemovePipe(2);
        TByteWriter writer;
        saved.WriteRecord(writer);
        return writer.Bytes();
    }();
    TByteReader reader(bytes);
    set.ReadRecord(reader);
    EXPECT_EQ(usedIds(set), (std::vector<int>{1, 3}));
    EXPECT_EQ(set.AddPipe(namedPipe("new")), 2);
    EXPECT_EQ(set.AddPipe(namedPipe("new")), 4);
}

TEST_F(PipeSetTest, SavingTwiceGivesTheSameBytes) {
    set.AddPipe(namedPipe("a"));
    set.AddPipe(namedPipe("b"));
    set.RemovePipe(1);
    TByteWriter first;
    set.WriteRecord(first);
    TPipeSet loaded;
    TByteReader reader(first.Bytes());
    loaded.ReadRecord(reader);
    TByteWriter second;
    loaded.WriteRecord(second);
    EXPECT_EQ(second.Bytes(), first.Bytes());
}

struct BadEntryCase {
    std::int32_t count;
    std::vector<std::int32_t> ids;
    const char* message;
};

// A record of `count` with default pipes under the given ids.
std::string pipeSetRecord(std::int32_t count, const std::vector<std::int32_t>& ids) {
    TByteWriter writer;
    writer.WriteInt32(count);
    for (const std::int32_t id : ids) {
        writer.WriteInt32(id);
        TPipe().WriteRecord(writer);
        writer.WriteInt32(0);
    }
    return writer.Bytes();
}

class PipeSetBadRecordTest : public ::testing::TestWithParam<BadEntryCase> {};

TEST_P(PipeSetBadRecordTest, RejectedWithTheOffsetAndTheSetLeftEmpty) {
    const BadEntryCase& c = GetParam();
    const std::string bytes = pipeSetRecord(c.count, c.ids);
    TPipeSet set;
    set.AddPipe(namedPipe("before"));
    TByteReader reader(bytes);
    try {
        set.ReadRecord(reader);
        FAIL() << "the record must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(set.GetPipeCount(), 0);
    EXPECT_TRUE(usedIds(set).empty());
    EXPECT_EQ(set.AddPipe(namedPipe("after")), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Records, PipeSetBadRecordTest,
    ::testing::Values(BadEntryCase{1001, {}, "pipe count 1001 outside 0..1000 at byte 0"},
                      BadEntryCase{-1, {}, "pipe count -1 outside 0..1000 at byte 0"},
                      BadEntryCase{1, {0}, "pipe id 0 outside 1..1000 at byte 4"},
                      BadEntryCase{1, {1001}, "pipe id 1001 outside 1..1000 at byte 4"},
                      // 4 + 1735 = 1739: the second id
                      BadEntryCase{2, {7, 7}, "pipe id 7 appears twice at byte 1739"},
                      // the second entry is missing
                      BadEntryCase{2, {7}, "unexpected end of data (4 bytes needed, 0 left) at byte 1739"}));

}  // namespace
