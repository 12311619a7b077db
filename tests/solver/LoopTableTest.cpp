// The loop table operations: creating, filling, clearing and removing loops, and the
// duplicate and independence tests applied to the last loop.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "PlainLoopSearch.h"
#include "SolverTestNetworks.h"
#include "model/VM4_Network_Class.h"

namespace {

using TLoopTable = std::vector<std::vector<std::int32_t>>;

const char* const kAddPipeFailed = "TNetwork.PipeLoopAddPipe Failed: Either LoopId invalid or PipeId invalid";
const char* const kClearFailed = "TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid";
const char* const kRemoveFailed = "TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid";

void StoreLoops(TNetwork& network, const TLoopTable& loops) {
    for (const auto& pipes : loops) {
        const std::int32_t loopId = network.PipeLoopCreate();
        ASSERT_GT(loopId, 0);
        for (const std::int32_t pipeId : pipes) network.PipeLoopAddPipe(loopId, pipeId);
    }
}

template <typename TAction>
void ExpectNetworkError(TAction action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error raised, expected: " << message;
    } catch (const ENetworkClass& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

class LoopTableTest : public ::testing::Test {
protected:
    TNetwork network_;
};

TEST_F(LoopTableTest, CreateHandsOutConsecutiveIdsUpToTheLimit) {
    for (std::int32_t loopId = 1; loopId <= TNetwork::MaxLoops; ++loopId) {
        ASSERT_EQ(network_.PipeLoopCreate(), loopId);
    }
    EXPECT_EQ(network_.PipeLoopCreate(), -1);
    EXPECT_EQ(network_.GetPipeLoopCount(), TNetwork::MaxLoops);
}

TEST_F(LoopTableTest, AddPipeAppendsAndReturnsTheNewPipeCount) {
    const std::int32_t loopId = network_.PipeLoopCreate();
    EXPECT_EQ(network_.PipeLoopAddPipe(loopId, 7), 1);
    EXPECT_EQ(network_.PipeLoopAddPipe(loopId, 3), 2);
    EXPECT_EQ(network_.PipeLoopAddPipe(loopId, 9), 3);
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{7, 3, 9}}));
    EXPECT_EQ(network_.GetPipeLoopPipe(loopId, 4), 0);  // slots past the count stay empty
}

TEST_F(LoopTableTest, AddPipeRefusesInvalidLoopsAndPipes) {
    StoreLoops(network_, {{1, 2}});
    struct TBadCall {
        std::int32_t LoopId;
        std::int32_t PipeId;
    };
    const TBadCall badCalls[] = {
        {2, 5},     // loop beyond the count
        {0, 5},     // no loop 0
        {-1, 5},    // what a full table's PipeLoopCreate hands out
        {1, 0},     // 0 marks an empty slot, never a pipe
        {1, 1001},  // beyond the pipe pool
    };
    for (const TBadCall& call : badCalls) {
        SCOPED_TRACE("loop " + std::to_string(call.LoopId) + ", pipe " + std::to_string(call.PipeId));
        ExpectNetworkError([&] { network_.PipeLoopAddPipe(call.LoopId, call.PipeId); }, kAddPipeFailed);
    }
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{1, 2}}));
}

TEST_F(LoopTableTest, AddPipeRefusesAThousandAndFirstPipe) {
    const std::int32_t loopId = network_.PipeLoopCreate();
    for (std::int32_t pipeId = 1; pipeId <= TNetwork::MaxPipesPerLoop; ++pipeId) {
        ASSERT_EQ(network_.PipeLoopAddPipe(loopId, pipeId), pipeId);
    }
    ExpectNetworkError([&] { network_.PipeLoopAddPipe(loopId, 1); }, kAddPipeFailed);
    EXPECT_EQ(network_.GetPipeLoopPipeCount(loopId), TNetwork::MaxPipesPerLoop);
}

TEST_F(LoopTableTest, ClearEmptiesOneLoopButKeepsTheCount) {
    StoreLoops(network_, {{1, 2}, {3, 4, 5}});
    network_.PipeLoopClear(2);
    EXPECT_EQ(network_.GetPipeLoopCount(), 2);
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{1, 2}, {}}));
    EXPECT_EQ(network_.GetPipeLoopPipe(2, 1), 0);
    ExpectNetworkError([&] { network_.PipeLoopClear(1001); }, kClearFailed);
    ExpectNetworkError([&] { network_.PipeLoopClear(0); }, kClearFailed);
}

TEST_F(LoopTableTest, RemovingALoopMovesTheLaterOnesDown) {
    StoreLoops(network_, {{1}, {2, 3}, {4, 5, 6}});
    network_.PipeLoopRemove(2);
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{1}, {4, 5, 6}}));
    // The old last slot is left empty.
    EXPECT_EQ(network_.GetPipeLoopPipeCount(3), 0);
    EXPECT_EQ(network_.GetPipeLoopPipe(3, 1), 0);
    // The moved loop is whole: its slot past the old, shorter loop was overwritten too.
    EXPECT_EQ(network_.GetPipeLoopPipe(2, 3), 6);

    network_.PipeLoopRemove(2);
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{1}}));
    EXPECT_EQ(network_.GetPipeLoopPipe(2, 1), 0);
}

TEST_F(LoopTableTest, RemovingAMissingLoopRaisesAndChangesNothing) {
    StoreLoops(network_, {{1}, {2, 3}});
    ExpectNetworkError([&] { network_.PipeLoopRemove(3); }, kRemoveFailed);
    ExpectNetworkError([&] { network_.PipeLoopRemove(0); }, kRemoveFailed);
    EXPECT_EQ(LoopTableOf(network_), (TLoopTable{{1}, {2, 3}}));
}

TEST_F(LoopTableTest, RemoveAllLoopsEmptiesEverySlot) {
    StoreLoops(network_, {{1, 2}, {3}, {4, 5, 6}});
    network_.PipeLoopsRemoveAllLoops();
    EXPECT_EQ(network_.GetPipeLoopCount(), 0);
    for (std::int32_t loopId = 1; loopId <= 3; ++loopId) {
        EXPECT_EQ(network_.GetPipeLoopPipeCount(loopId), 0);
        EXPECT_EQ(network_.GetPipeLoopPipe(loopId, 1), 0);
    }
    // A fresh loop starts empty again.
    const std::int32_t loopId = network_.PipeLoopCreate();
    EXPECT_EQ(loopId, 1);
    EXPECT_EQ(network_.PipeLoopAddPipe(loopId, 8), 1);
}

// ---- Tests on the last loop --------------------------------------------------------------
// Those of the plain search the product's generation is compared with.

struct TLastLoopCase {
    const char* Name;
    void (*Check)(TNetwork&);
    TLoopTable Before;
    TLoopTable After;
};

const TLastLoopCase kLastLoopCases[] = {
    // Same pipes in another order: 3 equal pairs = 3 pipes.
    {"DuplicateInOtherOrderIsRemoved", RemovePlainLastLoopIfDuplicate,
     {{1, 2, 3}, {9}, {3, 1, 2}}, {{1, 2, 3}, {9}}},
    // Same pipe count, one pipe differs: 2 equal pairs of 3.
    {"SameCountOtherPipesIsKept", RemovePlainLastLoopIfDuplicate,
     {{1, 2, 3}, {1, 2, 4}}, {{1, 2, 3}, {1, 2, 4}}},
    // A shorter loop inside a longer one is no duplicate: the counts differ.
    {"SubsetOfALongerLoopIsNoDuplicate", RemovePlainLastLoopIfDuplicate,
     {{1, 2, 3}, {1, 2}}, {{1, 2, 3}, {1, 2}}},
    // Two earlier copies: the last loop goes once, the earlier ones stay.
    {"OnlyTheLastOfSeveralCopiesIsRemoved", RemovePlainLastLoopIfDuplicate,
     {{5, 6}, {6, 5}, {5, 6}}, {{5, 6}, {6, 5}}},
    {"SingleLoopIsNoDuplicate", RemovePlainLastLoopIfDuplicate, {{1, 2}}, {{1, 2}}},
    {"EmptyTableStaysEmpty", RemovePlainLastLoopIfDuplicate, {}, {}},

    // The last loop is the sum of two earlier ones: {1,2} + {2,3} leaves {1,3}.
    {"SumOfEarlierLoopsIsRemoved", RemovePlainLastLoopUnlessIndependent,
     {{1, 2}, {2, 3}, {3, 1}}, {{1, 2}, {2, 3}}},
    {"SumOfThreeEarlierLoopsIsRemoved", RemovePlainLastLoopUnlessIndependent,
     {{1, 2, 5}, {2, 3, 6}, {3, 4}, {1, 4, 5, 6}}, {{1, 2, 5}, {2, 3, 6}, {3, 4}}},
    // Every pipe of the last loop is held by some earlier loop, though by no single
    // one, and no combination of them gives it: a new equation all the same.
    {"NoNewPipeButIndependentIsKept", RemovePlainLastLoopUnlessIndependent,
     {{1, 2}, {3, 4}, {2, 3}}, {{1, 2}, {3, 4}, {2, 3}}},
    {"OneNewPipeIsKept", RemovePlainLastLoopUnlessIndependent,
     {{1, 2}, {3, 4}, {2, 3, 7}}, {{1, 2}, {3, 4}, {2, 3, 7}}},
    {"NewPipeFirstIsKept", RemovePlainLastLoopUnlessIndependent,
     {{1, 2}, {8, 1, 2}}, {{1, 2}, {8, 1, 2}}},
    {"ExactCopyHasNoNewPipe", RemovePlainLastLoopUnlessIndependent,
     {{1, 2}, {2, 1}}, {{1, 2}}},
    // The first loop has nothing to be compared with and is always kept.
    {"SingleLoopIsAlwaysKept", RemovePlainLastLoopUnlessIndependent, {{1, 2}}, {{1, 2}}},
};

// Test logs name the case instead of dumping its bytes.
void PrintTo(const TLastLoopCase& testCase, std::ostream* out) { *out << testCase.Name; }

class LastLoopCheckTest : public ::testing::TestWithParam<TLastLoopCase> {
protected:
    TNetwork network_;
};

TEST_P(LastLoopCheckTest, LeavesTheExpectedTable) {
    const TLastLoopCase& check = GetParam();
    StoreLoops(network_, check.Before);
    check.Check(network_);
    EXPECT_EQ(LoopTableOf(network_), check.After);
}

INSTANTIATE_TEST_SUITE_P(Cases, LastLoopCheckTest, ::testing::ValuesIn(kLastLoopCases),
                         [](const ::testing::TestParamInfo<TLastLoopCase>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
