// Which item hovering over a point of the drawing selects, and what the hint
// bar then shows, on the network of TableTestSupport.h:
//
//   N1 tank (0,0) --P1--> N2 (100,0) --P2--> N3 (200,0);  N2 --P3--> N4 (200,100)
//   P4 (closed) N1 --> N3, lying under P1 and P2.
//
// P2's pump symbol sits beside N2 at (105,0), its fittings at (140,0) and its
// component at (155,45), which overlaps P3's flow control at (150,50).
#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "results/VM4_CanvasHitTests.h"
#include "results/VM4_ResultsHoverTexts.h"

namespace {

class ResultsHoverTest : public ::testing::Test {
protected:
    ResultsHoverTest() {
        TPipe& pumpLine = network.GetPipe(t.PumpLine);
        pumpLine.Pump.X = 105;
        pumpLine.Pump.Y = 0;
        pumpLine.FittingsX = 140;
        pumpLine.FittingsY = 0;
        pumpLine.ComponentX = 155;
        pumpLine.ComponentY = 45;
        TPipe& bypass = network.GetPipe(t.Bypass);
        bypass.FlowControlX = 150;
        bypass.FlowControlY = 50;
        // The switched-off pump of the bypass is kept away from everything else.
        bypass.Pump.X = 1000;
        bypass.Pump.Y = 1000;
    }

    void ExpectHover(const TResultsHover& hover, int pipeId, int nodeId, const std::string& hint) const {
        EXPECT_TRUE(hover.Hit);
        EXPECT_EQ(hover.SelectedPipeId, pipeId);
        EXPECT_EQ(hover.SelectedNodeId, nodeId);
        EXPECT_EQ(hover.HintText, hint);
    }

    TTableNetwork t;
    TNetwork& network = t.Network;
};

TEST_F(ResultsHoverTest, NodeUnderPumpShowsThePumpButSelectsTheNode) {
    ASSERT_GT(CheckPipeClick(network, 102, 0), 0);  // a pipe is under the point as well
    ExpectHover(ResultsHoverAt(network, 102, 0), 0, t.Joint, StatusBarPumpText(network, t.PumpLine));
}

TEST_F(ResultsHoverTest, ClosedPipeIsSelectedWithItsClosedText) {
    // Beside N2, where the open pipes end, only the closed pipe lies.
    ExpectHover(ResultsHoverAt(network, 100, 12), t.OldMain, 0, " Pipe 4 is closed.");
}

TEST_F(ResultsHoverTest, EmptyDrawingClearsTheSelection) {
    const TResultsHover hover = ResultsHoverAt(network, 500, 500);
    EXPECT_FALSE(hover.Hit);
    EXPECT_EQ(hover.SelectedPipeId, 0);
    EXPECT_EQ(hover.SelectedNodeId, 0);
    EXPECT_EQ(hover.HintText, " RESULTS MODE - Hover over an item to show the related results in this status bar.");
}

TEST_F(ResultsHoverTest, OpenPipeShowsItsResults) {
    ExpectHover(ResultsHoverAt(network, 60, 5), t.Suction, 0, StatusBarPipeText(network, t.Suction));
}

TEST_F(ResultsHoverTest, ItemOnAPipeOverwritesThePipeText) {
    ExpectHover(ResultsHoverAt(network, 140, 3), t.PumpLine, 0, StatusBarFittingText(network, t.PumpLine));
}

// The component of P2 and the flow control of P3 overlap: the flow control,
// tested last, gives the text and its pipe the selection.
TEST_F(ResultsHoverTest, LaterItemTestWins) {
    ASSERT_GT(CheckPipeComponentPressureClick(network, 152, 48), 0);
    ExpectHover(ResultsHoverAt(network, 152, 48), t.Bypass, 0, StatusBarFlowControlText(network, t.Bypass));
}

// The tank's pipes pass the point too; the node takes the text and the selection.
TEST_F(ResultsHoverTest, NodeOnItsPipesShowsTheNode) {
    ASSERT_EQ(CheckPipeClick(network, 3, -4), t.Suction);
    ExpectHover(ResultsHoverAt(network, 3, -4), 0, t.Tank, StatusBarNodeText(network, t.Tank));
}

}  // namespace
