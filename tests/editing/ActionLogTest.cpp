// The undo record: its ring of ids, and undo and redo of whole click groups
// against a real network.
#include <gtest/gtest.h>

#include <cstdint>

#include "common/NetworkBuilder.h"
#include "editing/VM4_Action_Log_Class.h"
#include "model/VM4_Network_Class.h"

namespace {

TEST(ActionLogIds, RingStepsWrapAt300) {
    const struct {
        std::int32_t id, next, previous;
    } cases[] = {{0, 1, 300}, {1, 2, 300}, {2, 3, 1}, {299, 300, 298}, {300, 1, 299}};
    for (const auto& c : cases) {
        EXPECT_EQ(TActionLog::GetNextId(c.id), c.next) << c.id;
        EXPECT_EQ(TActionLog::GetPreviousId(c.id), c.previous) << c.id;
    }
}

TEST(ActionLogIds, ANewLogHasNothingToUndoOrRedoAndKeepsItsIds) {
    TActionLog log;
    EXPECT_EQ(log.GetNextUndoActionId(), 0);
    EXPECT_EQ(log.GetNextRedoActionId(), 0);
    EXPECT_EQ(log.CurrentId(), 0);
    EXPECT_EQ(log.LowestUndoId(), 0);
    EXPECT_EQ(log.HighestRedoId(), 0);
}

TEST(ActionLogIds, ActionsTakeConsecutiveSlotsAndSetTheRedoTop) {
    TActionLog log;
    log.AddSeparator();
    log.AddJoint(7, TNode());
    EXPECT_EQ(log.CurrentId(), 2);
    EXPECT_EQ(log.HighestRedoId(), 2);
    EXPECT_EQ(log.GetAction(1).Kind, TActionKind::Separator);
    EXPECT_EQ(log.GetAction(2).Kind, TActionKind::AddJoint);
    EXPECT_EQ(log.GetAction(2).NodeId, 7);
    // The first slot is the bottom: it is never handed out for undo.
    EXPECT_EQ(log.GetNextUndoActionId(), 2);
    EXPECT_EQ(log.GetNextUndoActionId(), 0);
    EXPECT_EQ(log.CurrentId(), 1);
}

TEST(ActionLogIds, TheRingOverwritesItsOldestSlotsAndRaisesTheBottom) {
    TActionLog log;
    for (int i = 0; i < 300; ++i) log.AddSeparator();
    EXPECT_EQ(log.CurrentId(), 300);
    EXPECT_EQ(log.LowestUndoId(), 0);
    log.AddSeparator();  // slot 1 again
    EXPECT_EQ(log.CurrentId(), 1);
    EXPECT_EQ(log.LowestUndoId(), 2);
    log.AddSeparator();
    EXPECT_EQ(log.CurrentId(), 2);
    EXPECT_EQ(log.LowestUndoId(), 3);
}

TEST(ActionLogIds, GetActionRefusesIdsOutsideTheRing) {
    TActionLog log;
    EXPECT_THROW(log.GetAction(0), EVelmoraError);
    EXPECT_THROW(log.GetAction(301), EVelmoraError);
    EXPECT_NO_THROW(log.GetAction(300));
}

TEST(ActionLogIds, RemoveSeparatorEmptiesItsSlot) {
    TActionLog log;
    log.AddSeparator();
    log.AddJoint(1, TNode());
    log.AddSeparator();
    log.RemoveSeparator();
    EXPECT_EQ(log.GetAction(3).Kind, TActionKind::None);
    EXPECT_EQ(log.CurrentId(), 3);
    TActionLog fresh;
    fresh.AddSeparator();
    fresh.RemoveSeparator();
    EXPECT_EQ(fresh.CurrentId(), 0);
}

TEST(ActionLogIds, ClearEmptiesTheSlotsButKeepsTheIds) {
    TActionLog log;
    log.AddSeparator();
    log.AddSupply(3, TNode());
    log.Clear();
    EXPECT_EQ(log.GetAction(2).Kind, TActionKind::None);
    EXPECT_EQ(log.CurrentId(), 2);
    EXPECT_EQ(log.HighestRedoId(), 2);
}

// Records clicks the way the drawing tools do, on a real network.
class ActionLogReplay : public ::testing::Test {
protected:
    std::int32_t ClickJoint(std::int32_t x, std::int32_t y) {
        log_.AddSeparator();
        return addJoint(x, y);
    }

    // A pipe drawn from `from` to a new join point at (x, y): one click.
    std::int32_t ClickPipeToEmptyPoint(std::int32_t from, std::int32_t x, std::int32_t y) {
        log_.AddSeparator();
        const std::int32_t to = addJoint(x, y);
        addPipe(from, to);
        return to;
    }

    std::int32_t addJoint(std::int32_t x, std::int32_t y) {
        const std::int32_t id = builder_.AddJoint(x, y);
        log_.AddJoint(id, network_.GetNode(id));
        return id;
    }

    std::int32_t addPipe(std::int32_t from, std::int32_t to) {
        const std::int32_t id = builder_.AddPipe(from, to, "");
        network_.GetPipe(id).Name = "P" + std::to_string(id);
        log_.AddPipeLink(from, to, network_.GetPipe(id), id);
        return id;
    }

    TNetwork network_;
    TNetworkBuilder builder_{network_};
    TActionLog log_;
};

TEST_F(ActionLogReplay, AChainIsUndoneOnePipeWithItsEndNodePerStepAndRedoneTheSame) {
    const std::int32_t a = ClickJoint(80, 80);
    const std::int32_t b = ClickPipeToEmptyPoint(a, 200, 80);
    ClickPipeToEmptyPoint(b, 200, 200);
    const struct {
        std::int32_t nodes, pipes;
    } afterUndo[] = {{2, 1}, {1, 0}, {0, 0}};
    for (const auto& expected : afterUndo) {
        EXPECT_TRUE(log_.Undo(network_));
        EXPECT_EQ(network_.GetNodeCount(), expected.nodes);
        EXPECT_EQ(network_.GetNodeLinkCount(), expected.pipes);
    }
    EXPECT_FALSE(log_.Undo(network_));
    const struct {
        std::int32_t nodes, pipes;
    } afterRedo[] = {{1, 0}, {2, 1}, {3, 2}};
    for (const auto& expected : afterRedo) {
        EXPECT_TRUE(log_.Redo(network_));
        EXPECT_EQ(network_.GetNodeCount(), expected.nodes);
        EXPECT_EQ(network_.GetNodeLinkCount(), expected.pipes);
    }
    EXPECT_FALSE(log_.Redo(network_));
}

TEST_F(ActionLogReplay, RedoneItemsComeBackWithTheirIdsNamesAndPositions) {
    const std::int32_t a = ClickJoint(80, 80);
    network_.GetNode(a).SetName("N1");
    const std::int32_t b = ClickPipeToEmptyPoint(a, 200, 80);
    log_.Undo(network_);
    log_.Redo(network_);
    ASSERT_EQ(network_.GetNodeCount(), 2);
    EXPECT_EQ(network_.GetNode(b).X, 200);
    EXPECT_EQ(network_.GetNode(a).Name, "N1");
    const TNodeLink link = network_.GetNodeLink(1);
    EXPECT_EQ(link.FromNodeId, a);
    EXPECT_EQ(link.ToNodeId, b);
    EXPECT_EQ(network_.GetPipe(link.PipeId).Name, "P" + std::to_string(link.PipeId));
}

// Undo twice, Redo once, Undo: the last Undo takes back the group just redone.
TEST_F(ActionLogReplay, UndoRightAfterARedoUndoesTheRedoneGroup) {
    const std::int32_t a = ClickJoint(80, 80);
    ClickPipeToEmptyPoint(a, 200, 80);
    log_.Undo(network_);
    log_.Undo(network_);
    log_.Redo(network_);
    ASSERT_EQ(network_.GetNodeCount(), 1);
    EXPECT_TRUE(log_.Undo(network_));
    EXPECT_EQ(network_.GetNodeCount(), 0);
}

TEST_F(ActionLogReplay, ANewActionAfterUndoLeavesNothingToRedo) {
    const std::int32_t a = ClickJoint(80, 80);
    ClickPipeToEmptyPoint(a, 200, 80);
    log_.Undo(network_);
    ClickJoint(400, 400);
    EXPECT_FALSE(log_.Redo(network_));
    EXPECT_EQ(network_.GetNodeCount(), 2);
    EXPECT_EQ(network_.GetNodeLinkCount(), 0);
}

TEST_F(ActionLogReplay, ARemovedPipeComesBackOnUndoAndGoesAgainOnRedo) {
    const std::int32_t a = builder_.AddJoint(80, 80);
    const std::int32_t b = builder_.AddJoint(200, 80);
    const std::int32_t pipe = builder_.AddPipe(a, b, "Main");
    log_.AddSeparator();
    log_.RemovePipeLink(a, b, network_.GetPipe(pipe));
    network_.RemovePipeLink(pipe);
    EXPECT_TRUE(log_.Undo(network_));
    ASSERT_EQ(network_.GetNodeLinkCount(), 1);
    EXPECT_EQ(network_.GetPipe(network_.GetNodeLink(1).PipeId).Name, "Main");
    EXPECT_TRUE(log_.Redo(network_));
    EXPECT_EQ(network_.GetNodeLinkCount(), 0);
}

TEST_F(ActionLogReplay, UndoOfAPipeThatNoLongerJoinsItsNodesRaises) {
    const std::int32_t a = ClickJoint(80, 80);
    ClickPipeToEmptyPoint(a, 200, 80);
    network_.RemovePipeLink(network_.GetNodeLink(1).PipeId);
    EXPECT_THROW(log_.Undo(network_), EVelmoraError);
}

TEST_F(ActionLogReplay, AfterThreeHundredActionsTheOldestCanNoLongerBeUndone) {
    // 150 clicks of two actions each fill the ring; the 151st overwrites the first.
    for (int i = 0; i < 151; ++i) ClickJoint(40 + 40 * (i % 100), 40 + 40 * (i / 100));
    int undone = 0;
    while (log_.Undo(network_)) ++undone;
    // The first two clicks' slots were overwritten or are the bottom of the ring.
    EXPECT_EQ(undone, 149);
    EXPECT_EQ(network_.GetNodeCount(), 2);
}

}  // namespace
