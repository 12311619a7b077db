#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "common/NetworkBuilder.h"
#include "editor/VM4_Canvas_Drawings.h"
#include "editor/VM4_DrawingTexts.h"
#include "editor/VM4_MetaFileDrawing_Class.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Network_Class.h"

namespace {

const QColor kYellow(255, 255, 0);
const QColor kGrid(224, 224, 224);
const QColor kJoinPoint(29, 250, 0);
const QColor kClosedPipe(128, 128, 128);

// A small metric network:
//   tank 1 (200,200) -- pipe 1 (40 long) --> joint 2 (240,200)
//   joint 2 -- pipe 2, down, with a pump, fittings, a component and a flow control --> end 3 (240,300)
//   joint 2 -- pipe 3, right, 200 long --> joint 4 (440,200)
//   joint 4 -- pipe 4, closed --> joint 5 (540,200)
class MetaFileDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        TNetworkBuilder builder(network_);
        tank_ = builder.AddTank(200, 200, 0.0, 0.0, 2.0);
        joint_ = builder.AddJoint(240, 200);
        end_ = builder.AddDemandPressure(240, 300, 1.0);
        farJoint_ = builder.AddJoint(440, 200);
        lastJoint_ = builder.AddJoint(540, 200);
        shortPipe_ = builder.AddPipe(tank_, joint_, "Suction");
        itemPipe_ = builder.AddPipe(joint_, end_, "ABCDEFGHIJKLMNOPQRST");
        longPipe_ = builder.AddPipe(joint_, farJoint_, "Header");
        closedPipe_ = builder.AddPipe(farJoint_, lastJoint_, "Bypass");
        network_.RemoveNodeLinkAddClosedPipeLink(closedPipe_);

        TPipe& items = network_.GetPipe(itemPipe_);
        TFitting elbow;
        elbow.SetFittingData(50, 1, "Elbow", "", "", "Elbow", 0.43);
        items.Fittings.AddFitting(elbow, 2);
        items.FittingsPositionPercent = 30.0;
        items.HasComponentPressure = true;
        items.ComponentPositionPercent = 75.0;
        items.HasFlowControl = true;
        items.FlowControlPositionPercent = 12.5;
        items.HasPump = true;
        items.PumpPositionPercent = 50.0;
        TPipe& closed = network_.GetPipe(closedPipe_);
        closed.HasComponentPressure = true;
        closed.ComponentX = -1;  // must stay: closed pipes carry no items on the drawing
        closed.ComponentY = -1;
    }

    void Draw(const TDrawingState& state = TDrawingState(), bool resultsMode = false, bool flashOn = false,
              int flashParity = 0) {
        drawing_.DrawMetaFileFromNetwork(network_, flashParity, flashOn, true, resultsMode, state);
    }

    // The picture at 100%, top-left corner of the sheet at the image's corner.
    QImage Render() const {
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawing_.PaintOnto(painter, 0, 0, drawing_.Width(), drawing_.Height());
        return image;
    }

    TScopedDecimalMark point_{'.'};
    TNetwork network_;
    TMetaFileDrawing drawing_{4300, 3000};
    std::int32_t tank_ = 0, joint_ = 0, end_ = 0, farJoint_ = 0, lastJoint_ = 0;
    std::int32_t shortPipe_ = 0, itemPipe_ = 0, longPipe_ = 0, closedPipe_ = 0;
};

TEST_F(MetaFileDrawing, StoresPipeLabelPositions) {
    Draw();
    struct TCase {
        const char* name;
        std::int32_t pipe;
        int x, y;
    };
    const int headerWidth = TextWidth(QString::fromStdString(network_.GetPipeLabel(longPipe_, false)), kLabelTextSize);
    const int bypassWidth = TextWidth(QStringLiteral("Bypass - Closed"), kLabelTextSize);
    ASSERT_LT(bypassWidth, 100);  // so that it fits its pipe
    const TCase cases[] = {
        // 40 units long, the label does not fit: at 1%, X = 200 + Round(0.4), 19 above.
        {"short pipe", shortPipe_, 200, 181},
        // Downwards, 100 long, the label (a 20-letter name) does not fit: X = 240 + 20, Y = 200 + Round(1.0).
        {"downward pipe", itemPipe_, 260, 201},
        // 200 long: t = (200 - w + 16) * 0.5 / 200, X = 240 + Round(200 t).
        {"long pipe", longPipe_, 240 + RoundHalfEven((216.0 - headerWidth) / 2.0), 181},
        // The closed pipe's silver label is placed and stored alike: 100 long from (440,200).
        {"closed pipe", closedPipe_, 440 + RoundHalfEven((116.0 - bypassWidth) / 2.0), 181},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(network_.GetPipe(c.pipe).LabelX, c.x) << c.name;
        EXPECT_EQ(network_.GetPipe(c.pipe).LabelY, c.y) << c.name;
    }
}

TEST_F(MetaFileDrawing, StoresThePointsOfTheItemsOnOpenPipesOnly) {
    Draw();
    const TPipe& items = network_.GetPipe(itemPipe_);
    // Down the 100-unit pipe from (240,200): 30% fittings, 75% component, 12.5% flow control (212.5 -> 212).
    EXPECT_EQ(items.FittingsX, 240);
    EXPECT_EQ(items.FittingsY, 230);
    EXPECT_EQ(items.ComponentX, 240);
    EXPECT_EQ(items.ComponentY, 275);
    EXPECT_EQ(items.FlowControlX, 240);
    EXPECT_EQ(items.FlowControlY, 212);
    // The pump symbol at 50%.
    EXPECT_EQ(items.Pump.X, 240);
    EXPECT_EQ(items.Pump.Y, 250);
    const TPipe& closed = network_.GetPipe(closedPipe_);
    EXPECT_EQ(closed.ComponentX, -1);
    EXPECT_EQ(closed.ComponentY, -1);
}

TEST_F(MetaFileDrawing, FittingsPointIsOnlyStoredWhileFittingsAreShown) {
    network_.Settings.ShowFittingsValves = false;
    network_.Settings.ShowFittingsBends = false;
    network_.GetPipe(itemPipe_).FittingsX = -5;
    Draw();
    EXPECT_EQ(network_.GetPipe(itemPipe_).FittingsX, -5);
}

TEST_F(MetaFileDrawing, GivesNodeLabelsDefaultOffsetsOnceAndKeepsSetOnes) {
    network_.GetNode(farJoint_).NameLabelOffsetX = 30;
    network_.GetNode(farJoint_).NameLabelOffsetY = -12;
    Draw();
    // Tanks and end nodes: left of the symbol by the name's width + 8, 16 below.
    EXPECT_EQ(network_.GetNode(tank_).NameLabelOffsetX, -TextWidth(QStringLiteral("N1"), kLabelTextSize) - 8);
    EXPECT_EQ(network_.GetNode(tank_).NameLabelOffsetY, 16);
    EXPECT_EQ(network_.GetNode(end_).NameLabelOffsetX, -TextWidth(QStringLiteral("N3"), kLabelTextSize) - 8);
    EXPECT_EQ(network_.GetNode(end_).NameLabelOffsetY, 16);
    // Join points: left by the whole first line ("N2,0.0m" in design mode) + 4, 4 below.
    EXPECT_EQ(network_.GetNode(joint_).NameLabelOffsetX, -TextWidth(QStringLiteral("N2,0.0m"), kLabelTextSize) - 4);
    EXPECT_EQ(network_.GetNode(joint_).NameLabelOffsetY, 4);
    EXPECT_EQ(network_.GetNode(farJoint_).NameLabelOffsetX, 30);
    EXPECT_EQ(network_.GetNode(farJoint_).NameLabelOffsetY, -12);

    // Once set they are the node's own: a longer name later does not move the label.
    const int tankOffset = network_.GetNode(tank_).NameLabelOffsetX;
    network_.GetNode(tank_).SetName("A much longer name");
    Draw();
    EXPECT_EQ(network_.GetNode(tank_).NameLabelOffsetX, tankOffset);
}

TEST_F(MetaFileDrawing, GridOnlyInDesignMode) {
    Draw();
    EXPECT_EQ(Render().pixelColor(40, 380), kGrid);
    Draw(TDrawingState(), true);
    EXPECT_EQ(Render().pixelColor(40, 380), QColor(Qt::white));
}

TEST_F(MetaFileDrawing, JoinPointsAreGreenDiscsOverTheirPipes) {
    Draw();
    EXPECT_EQ(Render().pixelColor(440, 200), kJoinPoint);
}

TEST_F(MetaFileDrawing, ClosedPipeIsGreyWithCrosses) {
    Draw();
    // The crosses at 10% and 90% of (440,200)-(540,200).
    EXPECT_EQ(Render().pixelColor(450, 200), kClosedPipe);
    EXPECT_EQ(Render().pixelColor(530, 200), kClosedPipe);
    EXPECT_EQ(Render().pixelColor(453, 203), kClosedPipe);  // the stroke from (-3,-3) to (4,4)
}

TEST_F(MetaFileDrawing, HighlightsTheSelectionFlashingNodesAndEveryNodeWhileDragging) {
    // Points 15 units beside tank 1 (odd id) and far joint 4 (even id), clear of symbols and labels.
    const QPoint aboveTank(185, 200);
    const QPoint aboveJoint(440, 215);
    struct TCase {
        const char* name;
        std::int32_t selected;
        std::uint8_t tool;
        bool flashOn;
        int parity;
        bool tankLit, jointLit;
    };
    const TCase cases[] = {
        {"nothing", 0, TDrawingState::ToolAddPipes, false, 0, false, false},
        {"selected joint", farJoint_, TDrawingState::ToolAddPipes, false, 0, false, true},
        {"flash odd ids", 0, TDrawingState::ToolAddPipes, true, 1, true, false},
        {"flash even ids", 0, TDrawingState::ToolAddPipes, true, 0, false, true},
        {"last flash step lights nothing", 0, TDrawingState::ToolAddPipes, true, 2, false, false},
        {"drag tool", 0, TDrawingState::ToolDrag, false, 0, true, true},
    };
    for (const TCase& c : cases) {
        TDrawingState state;
        state.SelectedNodeId = c.selected;
        state.CurrentTool = c.tool;
        Draw(state, false, c.flashOn, c.parity);
        const QImage image = Render();
        EXPECT_EQ(image.pixelColor(aboveTank) == kYellow, c.tankLit) << c.name;
        EXPECT_EQ(image.pixelColor(aboveJoint) == kYellow, c.jointLit) << c.name;
    }
}

TEST_F(MetaFileDrawing, SelectedPipeGetsAWideYellowLine) {
    TDrawingState state;
    state.SelectedPipeId = longPipe_;
    Draw(state);
    EXPECT_EQ(Render().pixelColor(340, 203), kYellow);  // 3 units below the line: inside the 7-wide band
    Draw();
    EXPECT_NE(Render().pixelColor(340, 203), kYellow);
}

TEST_F(MetaFileDrawing, APictureLeftOpenByAFailureIsClosed) {
    // A link naming a node that is not there makes GetNode raise half-way.
    network_.AddLink(tank_, 1001, network_.AddPipe(network_.DefaultPipe));  // no such node id
    EXPECT_ANY_THROW(Draw());
    // No canvas is left open on the picture: it can be shown (and printed) as it is.
    EXPECT_FALSE(drawing_.Picture().paintingActive());
    network_.RemovePipeLink(network_.GetNodeLink(network_.GetNodeLinkCount()).PipeId);
    EXPECT_NO_THROW(Draw());
    EXPECT_EQ(Render().pixelColor(440, 200), kJoinPoint);
}

}  // namespace
