// The drawing tools driven as a user drives them: mouse presses, moves and
// releases on the canvas and keys while it has the focus; the network is
// checked afterwards, then undone and redone.
#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "WhenShown.h"
#include "common/NetworkBuilder.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "editor/tools/VM4_UnavailableDialogs.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_ResultsLog_Form.h"

namespace {

namespace Msg = EditorMessages;

constexpr int kGrid = 40;

struct TPoint {
    int X;
    int Y;
};

class DrawingTools : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    TNetworkForm& Form() {
        if (!form_) {
            TNetworkFormServices services = TestFormServices(boxes_, dialogs_, folder_.path());
            services.ItemDialogs = &unavailable_;
            form_ = std::make_unique<TNetworkForm>(services);
            form_->resize(1000, 700);
            // The tools' tests reach across the whole drawing, which the node and
            // pipe panel would narrow on the offscreen screen.
            form_->InfoPanel().hide();
            form_->show();
            QApplication::processEvents();
        }
        return *form_;
    }

    TNetwork& Network() { return Form().Network(); }
    TNetworkCanvas& Canvas() { return Form().Canvas(); }

    // Grid point (column, row) counted from the first grid point inside the view.
    TPoint G(int column, int row) {
        const TNetworkView& view = Form().View();
        return {(view.ViewOriginX / kGrid + 2 + column) * kGrid, (view.ViewOriginY / kGrid + 2 + row) * kGrid};
    }

    QPointF Pixel(TPoint p) {
        const TNetworkView& view = Form().View();
        const QPointF pixel((p.X - view.ViewOriginX) * view.ViewScale, (p.Y - view.ViewOriginY) * view.ViewScale);
        EXPECT_TRUE(Canvas().rect().contains(pixel.toPoint())) << p.X << "," << p.Y;
        return pixel;
    }

    void Mouse(QEvent::Type type, TPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF pixel = Pixel(p);
        QMouseEvent event(type, pixel, Canvas().mapToGlobal(pixel), button, held, Qt::NoModifier);
        QApplication::sendEvent(&Canvas(), &event);
    }

    void Click(TPoint p, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, p, button, button);
        Mouse(QEvent::MouseButtonRelease, p, button, Qt::NoButton);
    }

    void RightClick(TPoint p) { Click(p, Qt::RightButton); }

    void Drag(TPoint from, TPoint to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, {(from.X + to.X) / 2, (from.Y + to.Y) / 2}, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    void Key(int key) {
        Canvas().setFocus();
        const QString text = key < 128 ? QString(QChar(key)).toLower() : QString();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&Canvas(), &press);
    }

    void Trigger(const char* name) {
        QAction* action = Form().findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    // Calculates, answering the verdict with No (solved) or OK (not solved).
    void Calculate() {
        TResultsLogForm& log = Form().ResultsLog();
        TWhenShown verdict(log, [&log] {
            QPushButton* ok = log.findChild<QPushButton*>("ButtonOk");
            (ok->isHidden() ? log.findChild<QPushButton*>("ButtonNo") : ok)->click();
        });
        Form().findChild<QPushButton*>("BitBtnCalculate")->click();
    }

    // The pipe of the open link between two nodes; 0 when none.
    std::int32_t PipeBetween(std::int32_t from, std::int32_t to) {
        for (std::int32_t k = 1; k <= PipeCount(); ++k) {
            const TNodeLink link = Network().GetNodeLink(k);
            if (link.FromNodeId == from && link.ToNodeId == to) return link.PipeId;
        }
        return 0;
    }

    // The first pipe asks whether to change the default values first.
    void DeclineFirstPipeReminder() { boxes_.AnswerConfirm(false); }

    std::int32_t NodeAt(TPoint p) { return Network().ExistsNodeWithSamePosition(p.X, p.Y); }

    std::int32_t PipeCount() { return Network().GetNodeLinkCount(); }

    void ExpectCounts(std::int32_t nodes, std::int32_t pipes, const char* when) {
        EXPECT_EQ(Network().GetNodeCount(), nodes) << when;
        EXPECT_EQ(PipeCount(), pipes) << when;
    }

    TScopedDecimalMark point_{'.'};
    QTemporaryDir folder_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    // The tools are checked on their own; the dialogs have tests of their own.
    TUnavailableDialogs unavailable_{boxes_};
    std::unique_ptr<TNetworkForm> form_;  // after the scripts: it is destroyed first
};

// ---- Pipes ------------------------------------------------------------------------------------------

TEST_F(DrawingTools, AChainDrawnFromEmptyPointsIsUndoneAndRedonePipeByPipe) {
    Form();
    Key('P');
    Click(G(0, 0));
    ExpectCounts(1, 0, "start point");
    DeclineFirstPipeReminder();
    Click(G(4, 0));
    Click(G(4, 3));
    ExpectCounts(3, 2, "two pipes drawn");
    EXPECT_TRUE(Form().IsModified());
    const TNodeLink first = Network().GetNodeLink(1);
    EXPECT_EQ(first.FromNodeId, NodeAt(G(0, 0)));
    EXPECT_EQ(first.ToNodeId, NodeAt(G(4, 0)));
    EXPECT_EQ(Network().GetPipe(first.PipeId).Name, "P" + std::to_string(first.PipeId));
    EXPECT_EQ(Network().GetNode(NodeAt(G(4, 3))).Name, "N" + std::to_string(NodeAt(G(4, 3))));

    const struct {
        const char* command;
        std::int32_t nodes, pipes;
    } steps[] = {{"Undo1", 2, 1}, {"Undo1", 1, 0}, {"ToolButtonUndo", 0, 0}, {"Undo1", 0, 0},
                 {"Redo1", 1, 0}, {"Redo1", 2, 1},  {"ToolButtonRedo", 3, 2}, {"Redo1", 3, 2}};
    for (const auto& step : steps) {
        Trigger(step.command);
        ExpectCounts(step.nodes, step.pipes, step.command);
    }
    EXPECT_EQ(NodeAt(G(4, 3)), 3);
    EXPECT_EQ(boxes_.Shown().size(), 1u);  // the first-pipe reminder only
}

TEST_F(DrawingTools, RightClickAndEscapeEndTheChainAndTheStartNodeClickedAgainToo) {
    Form();
    for (const auto& stop : {std::function<void()>([this] { RightClick(G(8, 8)); }),
                             std::function<void()>([this] { Key(Qt::Key_Escape); }),
                             std::function<void()>([this] { Click(G(4, 0)); })}) {
        Form().findChild<QAction*>("ToolButtonPipes")->trigger();
        if (Network().GetNodeCount() == 0) {
            Click(G(0, 0));
            DeclineFirstPipeReminder();
            Click(G(4, 0));
        } else {
            Click(G(4, 0));
        }
        stop();
        EXPECT_EQ(Form().DrawingState().RubberBandOn, 0);
        EXPECT_EQ(Form().DrawingState().PipeFromNodeId, 0);
    }
    ExpectCounts(2, 1, "after the stops");
}

TEST_F(DrawingTools, TheRubberBandFollowsTheMouseFromTheStartNode) {
    Form();
    Click(G(0, 0));
    Mouse(QEvent::MouseMove, {G(3, 2).X + 7, G(3, 2).Y + 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Form().DrawingState().RubberBandOn, 1);
    EXPECT_EQ(Form().DrawingState().RubberBandX, G(3, 2).X + 7);
    EXPECT_EQ(Form().DrawingState().RubberBandY, G(3, 2).Y + 5);
}

// Each refusal of the pipe tool: its exact text, and the network unchanged.
TEST_F(DrawingTools, PipeToolRefusalsSayWhyAndChangeNothing) {
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> clicks;  // grid points clicked in order
        const char* message;
    } cases[] = {
        {"through a node", {{0, 0}, {6, 0}}, Msg::PipeThroughNodes},
        {"back along its pipe", {{0, 2}, {2, 2}}, Msg::PipeBackAlongPipe},
        {"nodes already joined", {{0, 2}, {4, 2}}, Msg::NodesAlreadyConnected},
        {"from an end-pressure node", {{0, 5}}, Msg::NoOutFlowFromEndPressure},
        {"to an end-pressure node", {{4, 0}, {0, 5}}, Msg::EndPressureSecondPipe},
    };
    for (const auto& c : cases) {
        form_.reset();
        TNetworkBuilder builder(Form().Network());
        builder.AddJoint(G(0, 0).X, G(0, 0).Y);
        builder.AddJoint(G(3, 0).X, G(3, 0).Y);
        builder.AddJoint(G(4, 0).X, G(4, 0).Y);
        const std::int32_t a = builder.AddJoint(G(0, 2).X, G(0, 2).Y);
        const std::int32_t b = builder.AddJoint(G(4, 2).X, G(4, 2).Y);
        builder.AddPipe(a, b, "AB");
        builder.AddDemandPressure(G(0, 5).X, G(0, 5).Y);
        boxes_.Forget();
        for (const auto& [column, row] : c.clicks) Click(G(column, row));
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{c.message}) << c.name;
        ExpectCounts(6, 1, c.name);
    }
}

TEST_F(DrawingTools, AJoinPointOnAPipeSplitsItInTwoHalvesAndUndoJoinsItAgain) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(0, 0).X, G(0, 0).Y, 12.0);
    const std::int32_t b = builder.AddJoint(G(6, 0).X, G(6, 0).Y);
    const std::int32_t pipe = builder.AddPipe(a, b, "Main", 300.0);
    Network().GetPipe(pipe).HasComponentPressure = true;
    Key('J');
    boxes_.AnswerConfirm(true);
    Click({G(3, 0).X, G(3, 0).Y + 6});
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::SplitPipeQuestion});
    ExpectCounts(3, 2, "split");
    const std::int32_t middle = NodeAt(G(3, 0));
    ASSERT_GT(middle, 0);
    EXPECT_DOUBLE_EQ(Network().GetNode(middle).Elevation_m, 12.0);
    const TNodeLink first = Network().GetNodeLink(1);
    const TNodeLink second = Network().GetNodeLink(2);
    EXPECT_EQ(first.FromNodeId, a);
    EXPECT_EQ(first.ToNodeId, middle);
    EXPECT_EQ(second.FromNodeId, middle);
    EXPECT_EQ(second.ToNodeId, b);
    EXPECT_EQ(Network().GetPipe(first.PipeId).Name, "Main");
    EXPECT_NEAR(Network().GetPipe(first.PipeId).Length_m, 150.0, 1e-9);
    EXPECT_NEAR(Network().GetPipe(second.PipeId).Length_m, 150.0, 1e-9);
    EXPECT_TRUE(Network().GetPipe(first.PipeId).HasComponentPressure);
    EXPECT_FALSE(Network().GetPipe(second.PipeId).HasComponentPressure);
    EXPECT_EQ(Network().GetPipe(second.PipeId).Name, "P" + std::to_string(second.PipeId));

    Trigger("Undo1");
    ExpectCounts(2, 1, "undone");
    const TPipe& restored = Network().GetPipe(Network().GetNodeLink(1).PipeId);
    EXPECT_EQ(restored.Name, "Main");
    EXPECT_NEAR(restored.Length_m, 300.0, 1e-9);
    EXPECT_TRUE(restored.HasComponentPressure);
}

// ---- Nodes --------------------------------------------------------------------------------------------

TEST_F(DrawingTools, ATankIsRefusedOnAPipeAndTurnsAJoinPointIntoATankOnYes) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(0, 0).X, G(0, 0).Y);
    const std::int32_t b = builder.AddJoint(G(4, 0).X, G(4, 0).Y);
    builder.AddPipe(a, b, "AB");
    Key('T');
    EXPECT_EQ(Form().HintText().toStdString(),
              " Add Tank: Left click on the drawing to add a Tank at the cursor position.");
    Click(G(2, 0));
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::TankOnPipe});
    ExpectCounts(2, 1, "refused");
    boxes_.Forget();
    boxes_.AnswerConfirm(true);
    Click({G(0, 0).X + 5, G(0, 0).Y - 5});
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::ChangeToTank});
    EXPECT_EQ(Network().GetNode(a).NodeType, TNodeType::Tank);
    EXPECT_EQ(Form().DrawingState().SelectedNodeId, a);
    ExpectCounts(2, 1, "retyped");
}

TEST_F(DrawingTools, EachNodeToolAddsItsKindOnTheNearestGridPointAsOneUndoStep) {
    const struct {
        int key;
        TNodeType type;
        std::int32_t symbol;
    } cases[] = {{'J', TNodeType::JoinPoint, 0}, {'T', TNodeType::Tank, 0}, {'E', TNodeType::DemandPressure, 5}};
    Form();
    int column = 0;
    for (const auto& c : cases) {
        Key(c.key);
        Click({G(column, 1).X + 13, G(column, 1).Y - 17});
        const std::int32_t id = NodeAt(G(column, 1));
        ASSERT_GT(id, 0) << c.key;
        EXPECT_EQ(Network().GetNode(id).NodeType, c.type);
        EXPECT_EQ(Network().GetNode(id).Symbol, c.symbol);
        column += 3;
    }
    Trigger("Undo1");
    EXPECT_EQ(Network().GetNodeCount(), 2);
    EXPECT_TRUE(boxes_.Shown().empty());
}

// ---- Items on pipes -------------------------------------------------------------------------------------

TEST_F(DrawingTools, APumpClickedOntoAPipeTakesTheClickedPositionAndTheStartElevation) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(0, 0).X, G(0, 0).Y, 5.0);
    const std::int32_t b = builder.AddJoint(G(8, 0).X, G(8, 0).Y);
    const std::int32_t pipe = builder.AddPipe(a, b, "AB", 100.0);
    Network().SetMetricUnits();
    Key('U');
    boxes_.AnswerConfirm(false);
    Click({G(2, 0).X, G(2, 0).Y + 4});  // a quarter of the way along
    const TPipe& p = Network().GetPipe(pipe);
    ASSERT_TRUE(p.HasPump);
    EXPECT_EQ(p.Pump.Name(), "Pump");
    EXPECT_NEAR(p.PumpPositionPercent, 25.0, 1e-9);
    EXPECT_NEAR(p.PumpDistanceFromStart_m, 25.0, 1e-9);
    EXPECT_NEAR(p.PumpElevation_m, 5.0, 1e-9);
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_NE(boxes_.Texts()[0].find("The pump elevation was set to 5"), std::string::npos);
    EXPECT_NE(boxes_.Texts()[0].find("The pump positon along the pipe was set to 25"), std::string::npos);
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, pipe);
}

TEST_F(DrawingTools, ItemToolsWhoseDialogsAreMissingSayTheDialogIsNotAvailable) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(0, 0).X, G(0, 0).Y);
    const std::int32_t b = builder.AddJoint(G(6, 0).X, G(6, 0).Y);
    const std::int32_t pipe = builder.AddPipe(a, b, "AB");
    const struct {
        int key;
        TPoint at;
        const char* text;
    } cases[] = {
        {'F', G(3, 0), "The pipe fittings dialog is not available yet."},
        {'C', G(3, 0), "The fixed pressure loss dialog is not available yet."},
        {'L', G(3, 0), "The flow control dialog is not available yet."},
        {'D', G(0, 0), "The flow demands dialog is not available yet."},
        {'X', G(2, 4), "The free text dialog is not available yet."},
    };
    for (const auto& c : cases) {
        boxes_.Forget();
        Key(c.key);
        Click(c.at);
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{c.text}) << c.key;
    }
    EXPECT_EQ(Network().GetFreeTextCount(), 0);  // the text nobody accepted is gone
    EXPECT_NEAR(Network().GetPipe(pipe).FittingsPositionPercent, 50.0, 1e-9);
}

// ---- Selection --------------------------------------------------------------------------------------------

TEST_F(DrawingTools, AGroupMoveDroppedOnANodeIsRefusedAndPutBackExactly) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(1, 1).X, G(1, 1).Y);
    const std::int32_t b = builder.AddJoint(G(2, 1).X, G(2, 1).Y);
    builder.AddPipe(a, b, "AB");
    const std::int32_t other = builder.AddJoint(G(6, 1).X, G(6, 1).Y);
    Key('S');
    Drag({G(0, 0).X + 5, G(0, 0).Y + 5}, {G(3, 2).X - 5, G(3, 2).Y - 5});
    EXPECT_EQ(Form().DrawingState().SelectionStage, TDrawingState::SelectionDrawn);
    EXPECT_EQ(Network().GetNumberOfNodesSelected(), 2);

    Drag({G(1, 1).X + 10, G(1, 1).Y + 10}, {G(6, 1).X + 10, G(6, 1).Y + 10});  // a onto the other node
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::SelectionCannotMove});
    EXPECT_EQ(Network().GetNode(a).X, G(1, 1).X);
    EXPECT_EQ(Network().GetNode(a).Y, G(1, 1).Y);
    EXPECT_EQ(Network().GetNode(b).X, G(2, 1).X);
    EXPECT_EQ(Network().GetNode(other).X, G(6, 1).X);
    EXPECT_EQ(Form().DrawingState().SelectionStage, TDrawingState::SelectionDrawn);
    EXPECT_EQ(Form().DrawingState().SelectionX1, G(0, 0).X + 5);

    boxes_.Forget();
    Drag({G(1, 1).X + 10, G(1, 1).Y + 10}, {G(2, 4).X + 22, G(2, 4).Y + 3});  // three rows down, snapped back
    EXPECT_TRUE(boxes_.Texts().empty());
    EXPECT_EQ(Network().GetNode(a).X, G(2, 4).X);
    EXPECT_EQ(Network().GetNode(a).Y, G(1, 4).Y);
    EXPECT_EQ(Network().GetNode(b).X, G(3, 4).X);

    // A second move onto the other node goes back to where the first one left it.
    Drag({G(2, 4).X + 10, G(2, 4).Y + 10}, {G(6, 1).X + 10, G(6, 1).Y + 10});
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::SelectionCannotMove});
    EXPECT_EQ(Network().GetNode(a).X, G(2, 4).X);
    EXPECT_EQ(Network().GetNode(a).Y, G(2, 4).Y);
    EXPECT_EQ(Network().GetNode(b).X, G(3, 4).X);
    RightClick(G(10, 10));
    EXPECT_EQ(Network().GetNumberOfNodesSelected(), 0);
    EXPECT_EQ(Form().DrawingState().SelectionStage, TDrawingState::SelectionNone);
}

TEST_F(DrawingTools, ANodeDraggedOntoAnotherIsPutBackWhereItWas) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(1, 1).X, G(1, 1).Y);
    builder.AddJoint(G(4, 1).X, G(4, 1).Y);
    Key('M');
    Drag({G(1, 1).X + 6, G(1, 1).Y - 4}, {G(4, 1).X + 3, G(4, 1).Y + 3});
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::NodeOnNode});
    EXPECT_EQ(Network().GetNode(a).X, G(1, 1).X);
    EXPECT_EQ(Network().GetNode(a).Y, G(1, 1).Y);
    Drag({G(1, 1).X, G(1, 1).Y}, {G(2, 3).X - 12, G(2, 3).Y + 9});
    EXPECT_EQ(Network().GetNode(a).X, G(2, 3).X);
    EXPECT_EQ(Network().GetNode(a).Y, G(2, 3).Y);
}

TEST_F(DrawingTools, DraggedLabelsAndItemsStopAtTheirLimits) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(6, 4).X, G(6, 4).Y);
    const std::int32_t b = builder.AddJoint(G(14, 4).X, G(14, 4).Y);
    const std::int32_t pipe = builder.AddPipe(a, b, "AB");
    TNode& node = Network().GetNode(a);
    node.NameLabelOffsetX = -30;
    node.NameLabelOffsetY = 10;
    // The far node's label kept clear of the component's path.
    Network().GetNode(b).NameLabelOffsetX = 10;
    Network().GetNode(b).NameLabelOffsetY = 16;
    TPipe& p = Network().GetPipe(pipe);
    p.HasComponentPressure = true;
    p.ComponentPositionPercent = 50.0;
    Key('M');  // the drawing places the component on the pipe
    ASSERT_EQ(p.ComponentX, G(10, 4).X);

    Drag({G(6, 4).X - 30, G(6, 4).Y + 10}, {G(6, 4).X - 200, G(6, 4).Y - 100});
    EXPECT_EQ(node.NameLabelOffsetX, -80);
    EXPECT_EQ(node.NameLabelOffsetY, -38);
    Drag({G(6, 4).X - 80, G(6, 4).Y - 38}, {G(6, 4).X + 100, G(6, 4).Y + 100});
    EXPECT_EQ(node.NameLabelOffsetX, 20);
    EXPECT_EQ(node.NameLabelOffsetY, 20);

    Drag({p.ComponentX, p.ComponentY}, {G(18, 4).X, G(18, 4).Y});
    EXPECT_NEAR(p.ComponentPositionPercent, 90.0, 1e-9);
    Drag({p.ComponentX, p.ComponentY}, {G(6, 4).X, G(6, 4).Y});
    EXPECT_NEAR(p.ComponentPositionPercent, 3.0, 1e-9);
    EXPECT_EQ(Network().GetNode(a).X, G(6, 4).X);  // the node under the drop did not move
}

// ---- Delete, clipboard ------------------------------------------------------------------------------------

TEST_F(DrawingTools, AHighlightedPipeDeletedComesBackWithUndo) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t a = builder.AddJoint(G(0, 0).X, G(0, 0).Y);
    const std::int32_t b = builder.AddJoint(G(4, 0).X, G(4, 0).Y);
    builder.AddPipe(a, b, "AB");
    Key('I');
    Click({G(2, 0).X, G(2, 0).Y + 5});
    ASSERT_GT(Form().DrawingState().SelectedPipeId, 0);
    boxes_.AnswerConfirm(true);
    Trigger("Delete1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::DeletePipeQuestion});
    ExpectCounts(2, 0, "deleted");
    Trigger("Undo1");
    ExpectCounts(2, 1, "undone");
    EXPECT_EQ(Network().GetPipe(Network().GetNodeLink(1).PipeId).Name, "AB");
}

TEST_F(DrawingTools, EditCommandsWithNothingChosenSayWhatIsNeeded) {
    const struct {
        const char* command;
        const char* message;
    } cases[] = {{"Delete1", Msg::NothingSelected},
                 {"Cut1", Msg::NothingToCut},
                 {"Copy1", Msg::NothingToCopy},
                 {"Paste1", Msg::NothingToPaste}};
    Form();
    for (const auto& c : cases) {
        boxes_.Forget();
        Trigger(c.command);
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{c.message}) << c.command;
    }
}

TEST_F(DrawingTools, ADeletedNodeTakesItsPipesAndCannotBeUndone) {
    Form();
    Click(G(0, 0));
    DeclineFirstPipeReminder();
    Click(G(4, 0));
    RightClick(G(4, 0));
    Key('I');
    Click(G(4, 0));
    ASSERT_EQ(Form().DrawingState().SelectedNodeId, NodeAt(G(4, 0)));
    // Show Info keeps the pipe drawn last highlighted too: Delete offers it first.
    boxes_.Forget();
    boxes_.AnswerConfirm(false);
    boxes_.AnswerConfirm(true);
    Trigger("Delete1");
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{Msg::DeletePipeQuestion, Msg::DeleteNodeQuestion}));
    ExpectCounts(1, 0, "deleted");
    Trigger("Undo1");
    ExpectCounts(1, 0, "after undo");
}

TEST_F(DrawingTools, ANodeCutIsPastedAtTheFirstFreeGridPointOfTheViewOrRefusedInACrowdedOne) {
    TNetworkBuilder builder(Form().Network());
    const TNetworkView& view = Form().View();
    const int x0 = ((view.ViewOriginX + 80) / kGrid + ((view.ViewOriginX + 80) % kGrid >= 20 ? 1 : 0)) * kGrid;
    const int y0 = ((view.ViewOriginY + 80) / kGrid + ((view.ViewOriginY + 80) % kGrid >= 20 ? 1 : 0)) * kGrid;
    // Every point the search visits is taken: eleven to a row, eleven rows.
    for (int row = 0; row <= 10; ++row)
        for (int column = 0; column <= 10; ++column) builder.AddJoint(x0 + kGrid * column, y0 + kGrid * row);
    builder.AddJoint(G(14, 5).X, G(14, 5).Y, 7.5);
    Key('S');
    Drag({G(13, 4).X + 5, G(13, 4).Y + 5}, {G(15, 6).X - 5, G(15, 6).Y - 5});
    boxes_.AnswerConfirm(true);
    Trigger("Cut1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::CutQuestion});
    EXPECT_EQ(NodeAt(G(14, 5)), 0);

    boxes_.Forget();
    Trigger("Paste1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{Msg::NoRoomToPaste});
    EXPECT_EQ(Network().GetNodeCount(), 121);

    // Scrolled so that the view's top-left area is empty.
    boxes_.Forget();
    Form().PanBy(1000, 0);
    Trigger("Paste1");
    EXPECT_TRUE(boxes_.Texts().empty());
    ASSERT_EQ(Network().GetNodeCount(), 122);
    const std::int32_t pasted = Form().DrawingState().SelectedNodeId;
    EXPECT_EQ(Network().GetNode(pasted).X, x0 + 1000);
    EXPECT_EQ(Network().GetNode(pasted).Y, y0);
    EXPECT_DOUBLE_EQ(Network().GetNode(pasted).Elevation_m, 7.5);
    EXPECT_EQ(Network().GetNode(pasted).Name, "N" + std::to_string(pasted));
    EXPECT_EQ(Form().DrawingState().SelectionStage, TDrawingState::SelectionDrawn);
}

// ---- Keys and modes ---------------------------------------------------------------------------------------

TEST_F(DrawingTools, SingleKeysChooseToolsAndTheirTooltipsNameTheKey) {
    const struct {
        int key;
        const char* button;
        std::uint8_t tool;
    } cases[] = {
        {'I', "ToolButtonShowInfo", TDrawingState::ToolShowInfo},
        {'H', "ToolButtonPan", TDrawingState::ToolPan},
        {'M', "ToolButtonDrag", TDrawingState::ToolDrag},
        {'S', "ToolButtonSelection", TDrawingState::ToolSelection},
        {'J', "ToolButtonJoinPoint", TDrawingState::ToolAddJoint},
        {'P', "ToolButtonPipes", TDrawingState::ToolAddPipes},
        {'F', "ToolButtonFittings", TDrawingState::ToolAddFittings},
        {'C', "ToolButtonComponentPressure", TDrawingState::ToolAddFixedPressureLoss},
        {'L', "ToolButtonFlowControl", TDrawingState::ToolAddFlowControl},
        {'U', "ToolButtonPump", TDrawingState::ToolAddPump},
        {'T', "ToolButtonTank", TDrawingState::ToolAddTank},
        {'E', "ToolButtonDemandPressure", TDrawingState::ToolAddDemandPressure},
        {'D', "ToolButtonDemandFlow", TDrawingState::ToolAddDemandFlow},
        {'K', "ToolButtonCopyDefaultPipe", TDrawingState::ToolCopyDefaultPipe},
        {'X', "ToolButtonFreeText", TDrawingState::ToolAddFreeText},
    };
    for (const auto& c : cases) {
        Key(c.key);
        QAction* button = Form().findChild<QAction*>(c.button);
        EXPECT_EQ(Form().DrawingState().CurrentTool, c.tool) << c.button;
        EXPECT_TRUE(button->isChecked()) << c.button;
        EXPECT_TRUE(button->toolTip().endsWith(QStringLiteral(" (%1)").arg(QChar(c.key)))) << c.button;
    }
}

TEST_F(DrawingTools, EachToolShowsItsOwnCursorOverTheDrawing) {
    Form();
    const struct {
        int key;
        Qt::CursorShape shape;
    } cases[] = {{'P', Qt::BitmapCursor}, {'T', Qt::BitmapCursor}, {'I', Qt::BitmapCursor},
                 {'H', Qt::OpenHandCursor}, {'S', Qt::CrossCursor}, {'M', Qt::BitmapCursor}};
    std::vector<QImage> pictures;
    for (const auto& c : cases) {
        Key(c.key);
        EXPECT_EQ(Canvas().cursor().shape(), c.shape) << char(c.key);
        if (c.shape == Qt::BitmapCursor) pictures.push_back(Canvas().cursor().pixmap().toImage());
    }
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j) EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
}

TEST_F(DrawingTools, StandardKeysReachTheEditAndFileCommands) {
    Form();
    const struct {
        const char* name;
        QKeySequence key;
    } cases[] = {{"Undo1", QKeySequence::Undo},   {"Redo1", QKeySequence::Redo},   {"Cut1", QKeySequence::Cut},
                 {"Copy1", QKeySequence::Copy},   {"Paste1", QKeySequence::Paste}, {"Delete1", QKeySequence::Delete},
                 {"SaveAs1", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}};
    for (const auto& c : cases)
        EXPECT_EQ(Form().findChild<QAction*>(c.name)->shortcut(), c.key) << c.name;
    EXPECT_EQ(Form().findChild<QPushButton*>("BitBtnCalculate")->shortcut(), QKeySequence(Qt::Key_F9));
}

// ---- A whole network from the mouse --------------------------------------------------------------------

TEST_F(DrawingTools, ANetworkDrawnWithTheMouseIsSavedReopenedAndSolved) {
    Form();
    const std::string path = (folder_.path() + QStringLiteral("/drawn.vme")).toStdString();
    // A tank feeding a loop of three join points, which drains to an end-pressure node.
    Key('T');
    Click(G(0, 2));
    Key('P');
    Click(G(0, 2));
    DeclineFirstPipeReminder();
    Click(G(4, 2));
    Click(G(8, 0));
    Click(G(8, 4));
    RightClick(G(8, 4));
    Click(G(4, 2));
    Click(G(8, 4));  // the loop's direct branch
    Click(G(12, 4));
    RightClick(G(12, 4));
    Key('E');
    boxes_.AnswerConfirm(true);  // the last join point becomes the end-pressure node
    Click(G(12, 4));
    ExpectCounts(5, 5, "drawn");
    EXPECT_EQ(Network().GetNode(NodeAt(G(12, 4))).NodeType, TNodeType::DemandPressure);
    // Opening the file moves the view: the nodes are known by id from here on.
    const std::int32_t tank = NodeAt(G(0, 2));
    const std::int32_t loopStart = NodeAt(G(4, 2));
    const std::int32_t loopTop = NodeAt(G(8, 0));
    const std::int32_t loopEnd = NodeAt(G(8, 4));
    const std::int32_t end = NodeAt(G(12, 4));
    // The node data dialog is not built yet: the tank's level is set on the document.
    Network().GetNode(tank).LiquidLevel_m = 10.0;

    dialogs_.Choose(path);
    Trigger("SaveAs1");
    EXPECT_FALSE(Form().IsModified());
    boxes_.AnswerConfirm(true);
    dialogs_.Choose(path);
    Trigger("Open1");
    ExpectCounts(5, 5, "reopened");

    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    // Ten metres of head drive the flow; all of it leaves through the end node.
    const double in_m3s = Network().GetPipe(PipeBetween(tank, loopStart)).FlowUncompressed_m3s;
    const double out_m3s = Network().GetPipe(PipeBetween(loopEnd, end)).FlowUncompressed_m3s;
    EXPECT_GT(in_m3s, 1e-3);
    EXPECT_NEAR(out_m3s, in_m3s, 1e-9 + 1e-6 * in_m3s);
    // The loop's two branches share the flow.
    const double direct_m3s = Network().GetPipe(PipeBetween(loopStart, loopEnd)).FlowUncompressed_m3s;
    const double viaTop_m3s = Network().GetPipe(PipeBetween(loopStart, loopTop)).FlowUncompressed_m3s;
    EXPECT_GT(direct_m3s, viaTop_m3s);
    EXPECT_GT(viaTop_m3s, 0.0);
    EXPECT_NEAR(viaTop_m3s + direct_m3s, in_m3s, 1e-9 + 1e-6 * in_m3s);
}

// In results mode every command that changes the network is off, the Edit
// menu's too, so that the results shown always describe the drawing.
TEST_F(DrawingTools, ResultsModeTurnsOffEveryCommandThatChangesTheNetwork) {
    TNetworkBuilder builder(Form().Network());
    const std::int32_t tank = builder.AddTank(G(0, 0).X, G(0, 0).Y, 10.0);
    const std::int32_t end = builder.AddDemandPressure(G(4, 0).X, G(4, 0).Y);
    builder.AddPipe(tank, end, "P1");
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    for (const char* name : {"Undo1", "Redo1", "Cut1", "Copy1", "Paste1", "Delete1", "ToolButtonPipes",
                             "ToolButtonTank", "ToolButtonSelection", "ToolButtonUndo", "ToolButtonDelete"})
        EXPECT_FALSE(Form().findChild<QAction*>(name)->isEnabled()) << name;
    for (const char* name : {"ToolButtonShowInfo", "ToolButtonDrag", "ToolButtonPan"})
        EXPECT_TRUE(Form().findChild<QAction*>(name)->isEnabled()) << name;
    Key('P');  // a disabled tool's key does nothing
    EXPECT_EQ(Form().DrawingState().CurrentTool, TDrawingState::ToolShowInfo);
}

}  // namespace
