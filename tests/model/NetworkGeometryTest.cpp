// Hit tests, nodes on pipes, rectangle selection and pump symbol placement.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "common/FuzzyCompare.h"
#include "common/FullNetwork.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct TPointLineCase {
    const char* Name;
    std::int32_t Px, Py, X1, Y1, X2, Y2;
    bool OnLine;
};

void PrintTo(const TPointLineCase& testCase, std::ostream* out) { *out << testCase.Name; }

class PointOnLine : public ::testing::TestWithParam<TPointLineCase> {};

TEST_P(PointOnLine, FollowsTheCaptureBand) {
    const TPointLineCase& c = GetParam();
    EXPECT_EQ(TNetwork::IsPointOnLine(c.Px, c.Py, c.X1, c.Y1, c.X2, c.Y2), c.OnLine);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, PointOnLine,
    ::testing::Values(
        // Horizontal (100,100)-(200,100): band of 15 above and below, ends excluded.
        TPointLineCase{"HorizontalEndNode", 100, 100, 100, 100, 200, 100, false},
        TPointLineCase{"HorizontalOtherEnd", 200, 100, 100, 100, 200, 100, false},
        TPointLineCase{"Horizontal14Above", 150, 86, 100, 100, 200, 100, true},
        TPointLineCase{"Horizontal15Above", 150, 85, 100, 100, 200, 100, false},
        TPointLineCase{"Horizontal14Below", 150, 114, 100, 100, 200, 100, true},
        TPointLineCase{"Horizontal15Below", 150, 115, 100, 100, 200, 100, false},
        TPointLineCase{"HorizontalEndsGivenRightToLeft", 150, 86, 200, 100, 100, 100, true},
        TPointLineCase{"HorizontalPastTheEnd", 201, 100, 100, 100, 200, 100, false},
        // Vertical (100,100)-(100,200): band of 10 either side, y strictly between.
        TPointLineCase{"Vertical9Beside", 109, 150, 100, 100, 100, 200, true},
        TPointLineCase{"Vertical10Beside", 110, 150, 100, 100, 100, 200, false},
        TPointLineCase{"Vertical9OtherSide", 91, 150, 100, 100, 100, 200, true},
        TPointLineCase{"Vertical10OtherSide", 90, 150, 100, 100, 100, 200, false},
        TPointLineCase{"VerticalEndNode", 100, 200, 100, 100, 100, 200, false},
        TPointLineCase{"VerticalDrawnUpwards", 100, 150, 100, 200, 100, 100, true},
        TPointLineCase{"VerticalBeyondTheEnd", 100, 201, 100, 100, 100, 200, false},
        // (0,0)-(100,50): m = 0.5, t = 0; at x = 40 the line is at y = 20.
        TPointLineCase{"GentleSlopeOnTheLine", 40, 20, 0, 0, 100, 50, true},
        TPointLineCase{"GentleSlope14Below", 40, 34, 0, 0, 100, 50, true},
        TPointLineCase{"GentleSlope15Below", 40, 35, 0, 0, 100, 50, false},
        // (0,0)-(10,100): m = 10 widens the band by t = 10; at x = 5 the line is at y = 50.
        TPointLineCase{"SteepSlope24Below", 5, 74, 0, 0, 10, 100, true},
        TPointLineCase{"SteepSlope25Below", 5, 75, 0, 0, 10, 100, false},
        TPointLineCase{"SteepSlope24Above", 5, 26, 0, 0, 10, 100, true},
        TPointLineCase{"SteepSlope25Above", 5, 25, 0, 0, 10, 100, false},
        // (0,0)-(4,2) at x = 1: y = 0.5 rounds to 0 (ties to even), so y = 15 is out of band;
        // rounding half up (to 1) would put it in.
        TPointLineCase{"HalfRoundsToEven", 1, 15, 0, 0, 4, 2, false},
        // (0,0)-(4,2) at x = 3: y = 1.5 rounds to 2, so y = 16 is in the band.
        TPointLineCase{"OneAndAHalfRoundsToTwo", 3, 16, 0, 0, 4, 2, true},
        // (0,0)-(4,-2) at x = 1: y = -0.5 rounds to 0, so y = -15 is out of band.
        TPointLineCase{"MinusHalfRoundsToEven", 1, -15, 0, 0, 4, -2, false},
        // Coordinates at the ends of the int32 range must not overflow.
        TPointLineCase{"WidestHorizontal", 0, 10, kMin, 0, kMax, 0, true},
        TPointLineCase{"SteepestSlope", 0, 0, kMin, kMin, kMax, kMax, true}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TSnapCase {
    const char* Name;
    std::int32_t Px, Py, X1, Y1, X2, Y2;
    std::int32_t SnappedX, SnappedY;
};

void PrintTo(const TSnapCase& testCase, std::ostream* out) { *out << testCase.Name; }

class SnapToLine : public ::testing::TestWithParam<TSnapCase> {};

TEST_P(SnapToLine, MovesThePointOntoTheSegmentOrReportsAMiss) {
    const TSnapCase& c = GetParam();
    std::int32_t px = c.Px;
    std::int32_t py = c.Py;
    TNetwork::SnapPointToLine(px, py, c.X1, c.Y1, c.X2, c.Y2);
    EXPECT_EQ(px, c.SnappedX);
    EXPECT_EQ(py, c.SnappedY);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, SnapToLine,
    ::testing::Values(
        // (0,0)-(100,50) at x = 41: y = 20.5 rounds to 20.
        TSnapCase{"SlopedHitTakesTheLinesY", 41, 30, 0, 0, 100, 50, 41, 20},
        TSnapCase{"SlopedMissGivesOrigin", 41, 40, 0, 0, 100, 50, 0, 0},
        TSnapCase{"VerticalHitTakesTheLinesX", 107, 150, 100, 100, 100, 200, 100, 150},
        TSnapCase{"VerticalMissLeavesThePoint", 120, 150, 100, 100, 100, 200, 120, 150}),
    [](const auto& info) { return std::string(info.param.Name); });

// A small drawing: a horizontal pipe A-B, a vertical pipe C-D crossing it at
// (200, 100), and a pipe A-E going down from A.
//
//            C (200,0)
//            |
//   A (100,100) ---------+--------- B (300,100)
//   |        |
//   E (100,300)  D (200,200)
class DrawingGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        a = AddNodeAt(*network, 1, 100, 100);
        b = AddNodeAt(*network, 0, 300, 100);
        c = AddNodeAt(*network, 0, 200, 0);
        d = AddNodeAt(*network, 2, 200, 200);
        e = AddNodeAt(*network, 0, 100, 300);
        ab = network->AddPipeLink(a, b, TPipe());
        cd = network->AddPipeLink(c, d, TPipe());
        ae = network->AddPipeLink(a, e, TPipe());
    }

    std::unique_ptr<TNetwork> network = std::make_unique<TNetwork>();
    std::int32_t a = 0, b = 0, c = 0, d = 0, e = 0;
    std::int32_t ab = 0, cd = 0, ae = 0;
};

TEST_F(DrawingGeometry, PointOnAnyPipeNamesThePipeOrReportsACrossing) {
    EXPECT_EQ(network->IsPointOnAnyNetworkLine(250, 105), ab);
    EXPECT_EQ(network->IsPointOnAnyNetworkLine(205, 50), cd);
    EXPECT_EQ(network->IsPointOnAnyNetworkLine(200, 100), -1);  // the crossing
    EXPECT_EQ(network->IsPointOnAnyNetworkLine(250, 250), 0);
}

TEST_F(DrawingGeometry, ClosedPipesAreNotHit) {
    network->RemoveNodeLinkAddClosedPipeLink(cd);
    EXPECT_EQ(network->IsPointOnAnyNetworkLine(200, 100), ab);
}

TEST_F(DrawingGeometry, PointOnPipesFromOrNotFromANode) {
    EXPECT_EQ(network->IsPointOnAnyLineFromThisNode(a, 200, 100), ab);
    EXPECT_EQ(network->IsPointOnAnyLineFromThisNode(a, 105, 200), ae);
    EXPECT_EQ(network->IsPointOnAnyLineFromThisNode(c, 150, 100), 0);
    EXPECT_EQ(network->IsPointOnAnyLineNotFromThisNode(a, 200, 100), cd);  // AB touches A; CD is the one left
    EXPECT_EQ(network->IsPointOnAnyLineNotFromThisNode(c, 200, 100), ab);
    EXPECT_EQ(network->IsPointOnAnyLineNotFromThisNode(a, 105, 200), 0);
}

TEST_F(DrawingGeometry, NodesOnSegments) {
    EXPECT_FALSE(network->ExistsNodesOnPipeLinkLine(a, b));  // its own ends do not count
    EXPECT_FALSE(network->ExistsNodesOnAnyLineFromThisNode(a));
    EXPECT_FALSE(network->ExistsNodesOnPipeLine(150, 0, 150, 200));
    EXPECT_TRUE(network->ExistsNodesOnPipeLine(50, 100, 350, 100));  // passes over A and B
    EXPECT_FALSE(network->ExistsNodesOnPipeLinkLine(c, e));
    const std::int32_t onPipe = AddNodeAt(*network, 0, 250, 108);
    EXPECT_TRUE(network->ExistsNodesOnPipeLinkLine(a, b));
    EXPECT_TRUE(network->ExistsNodesOnAnyLineFromThisNode(b));
    EXPECT_FALSE(network->ExistsNodesOnAnyLineFromThisNode(e));
    EXPECT_FALSE(network->ExistsNodesOnAnyLineFromThisNode(onPipe));  // it has no pipe of its own
}

TEST_F(DrawingGeometry, DrawingIssues) {
    EXPECT_FALSE(network->ExistsAnyNodeOrPipeDrawingIssue());
    const std::int32_t onPipe = AddNodeAt(*network, 0, 100, 200);  // on A-E
    EXPECT_TRUE(network->ExistsAnyNodeOrPipeDrawingIssue());
    network->RemoveNode(onPipe);
    AddNodeAt(*network, 0, 300, 100);  // on top of B
    EXPECT_TRUE(network->ExistsAnyNodeOrPipeDrawingIssue());
}

TEST_F(DrawingGeometry, RectangleSelectsWhatLiesStrictlyInside) {
    network->AddFreeText({"inside"}, 250, 150, 0, 7, 0);
    network->AddFreeText({"outside"}, 400, 400, 0, 7, 0);
    // Right edge through B (x = 300) and top edge through C (y = 0): neither is selected.
    network->SetSelectedNodes(150, 0, 300, 250);
    EXPECT_EQ(network->GetNumberOfNodesSelected(), 1);
    EXPECT_EQ(network->GetSelectedNodeId(), d);
    EXPECT_TRUE(network->GetFreeText(1).Selected);
    EXPECT_FALSE(network->GetFreeText(2).Selected);

    network->SetSelectedNodes(0, 50, 350, 350);  // A, B, D and E; C is above
    EXPECT_EQ(network->GetNumberOfNodesSelected(), 4);
    EXPECT_EQ(network->GetSelectedNodeId(), a);

    network->SetSelectedNodes(1000, 1000, 2000, 2000);
    EXPECT_EQ(network->GetNumberOfNodesSelected(), 0);
    EXPECT_EQ(network->GetSelectedNodeId(), 0);
}

TEST_F(DrawingGeometry, MovingASelectionIsAlwaysFromWhereItWasSelected) {
    network->AddFreeText({"label"}, 250, 150, 0, 7, 0);
    network->SetSelectedNodes(150, 50, 350, 250);  // B, D and the label
    network->MoveSelectedNodes(10, 0);
    network->MoveSelectedNodes(10, 0);
    EXPECT_EQ(network->GetNode(b).X, 310);
    EXPECT_EQ(network->GetNode(d).X, 210);
    EXPECT_EQ(network->GetNode(d).Y, 200);
    EXPECT_EQ(network->GetFreeText(1).X, 260);
    EXPECT_EQ(network->GetNode(a).X, 100);  // not selected, not moved
    network->MoveSelectedNodes(-5, 7);
    EXPECT_EQ(network->GetNode(b).X, 295);
    EXPECT_EQ(network->GetNode(b).Y, 107);
}

TEST_F(DrawingGeometry, MovingNeverWrapsAroundTheCoordinateRange) {
    network->GetNode(b).X = kMax - 5;
    network->SetSelectedNodes(kMax - 10, 50, kMax, 150);
    ASSERT_EQ(network->GetSelectedNodeId(), b);
    network->MoveSelectedNodes(100, 0);
    EXPECT_EQ(network->GetNode(b).X, kMax);
}

TEST_F(DrawingGeometry, DeletingTheSelectionTakesNodesAndTheirOpenAndClosedPipes) {
    network->RemoveNodeLinkAddClosedPipeLink(ae);
    network->AddFreeText({"label"}, 120, 120, 0, 7, 0);
    network->SetSelectedNodes(50, 50, 150, 150);  // A and the label
    network->DeleteSelectedNodesAndPipes();
    EXPECT_EQ(network->GetNodeCount(), 4);
    EXPECT_EQ(network->GetPipeCount(), 1);  // only C-D is left
    EXPECT_EQ(network->GetNodeLinkCount(), 1);
    EXPECT_EQ(network->GetNodeLink(1).PipeId, cd);
    EXPECT_EQ(network->GetClosedPipeLinkCount(), 0);
    EXPECT_EQ(network->GetFreeTextCount(), 1);
}

struct TPumpDragCase {
    const char* Name;
    std::int32_t ToX, ToY;  // the pipe runs from (0, 0)
    double Length_m;
    std::int32_t PumpX, PumpY;
    double Percent;
    double Distance_m;
    std::int32_t SymbolX, SymbolY;
};

void PrintTo(const TPumpDragCase& testCase, std::ostream* out) { *out << testCase.Name; }

class PumpDrag : public ::testing::TestWithParam<TPumpDragCase> {};

TEST_P(PumpDrag, SetsThePercentageAndPutsTheSymbolBackOnThePipe) {
    const TPumpDragCase& c = GetParam();
    auto network = std::make_unique<TNetwork>();
    const std::int32_t from = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t to = AddNodeAt(*network, 0, c.ToX, c.ToY);
    TPipe pipe;
    pipe.Length_m = c.Length_m;
    const std::int32_t pipeId = network->AddPipeLink(from, to, pipe);
    network->GetPipe(pipeId).Pump.X = c.PumpX;
    network->GetPipe(pipeId).Pump.Y = c.PumpY;

    network->SetPumpPercentagePositionFromXY(pipeId);

    const TPipe& placed = network->GetPipe(pipeId);
    EXPECT_REL_NEAR(placed.PumpPositionPercent, c.Percent, 1e-12);
    EXPECT_EQ(placed.PumpDistanceFromStart_m, c.Distance_m);
    EXPECT_EQ(placed.Pump.X, c.SymbolX);
    EXPECT_EQ(placed.Pump.Y, c.SymbolY);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, PumpDrag,
    ::testing::Values(
        // |(60,80)| / |(200,0)| = 100 / 200 = 50 %; 0.5 * 51 m = 25.5 -> 26 (even);
        // symbol at 0.5 * 200 = 100.
        TPumpDragCase{"OffThePipeProjectsByDistance", 200, 0, 51.0, 60, 80, 50.0, 26.0, 100, 0},
        // 50 % of 5 m = 2.5 -> 2 (ties to even).
        TPumpDragCase{"DistanceTiesToEven", 200, 0, 5.0, 100, 0, 50.0, 2.0, 100, 0},
        // |(300,0)| / 200 = 150 % is stored; the symbol stops at 95 %: 190.
        TPumpDragCase{"BeyondTheToNode", 200, 0, 10.0, 300, 0, 150.0, 15.0, 190, 0},
        // 1 % of 100 is 1: stepped by whole percents until 6 units out.
        TPumpDragCase{"TooCloseToTheStart", 100, 0, 10.0, 1, 0, 1.0, 0.0, 6, 0},
        // A 4-unit pipe: 50 % -> 2, and ten steps to 60 % still give round(2.4) = 2.
        TPumpDragCase{"ShortPipeStopsAfterTenSteps", 4, 0, 10.0, 2, 0, 50.0, 5.0, 2, 0},
        // (0,0)-(300,-400), length 500: |(150,-200)| = 250 -> 50 %; symbol (150, -200).
        TPumpDragCase{"SlopedPipe", 300, -400, 20.0, 150, -200, 50.0, 10.0, 150, -200},
        // Both ends on one spot: no direction, the pump goes to the start.
        TPumpDragCase{"ZeroLengthPipe", 0, 0, 10.0, 30, 40, 0.0, 0.0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PumpSymbol, FollowsItsPipeWhenTheNodesMove) {
    auto network = std::make_unique<TNetwork>();
    const std::int32_t from = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t to = AddNodeAt(*network, 0, 200, 0);
    const std::int32_t pipeId = network->AddPipeLink(from, to, TPipe());
    network->GetPipe(pipeId).PumpPositionPercent = 25.0;
    network->GetNode(from).X = 100;
    network->GetNode(to).X = 500;
    network->GetNode(to).Y = -200;
    network->SetPumpXYFromPercentagePosition(pipeId);
    // 25 % of (400, -200) from (100, 0).
    EXPECT_EQ(network->GetPipe(pipeId).Pump.X, 200);
    EXPECT_EQ(network->GetPipe(pipeId).Pump.Y, -50);
    EXPECT_EQ(network->GetPipe(pipeId).PumpPositionPercent, 25.0);
}

TEST(PumpSymbol, IsPlacedOnAClosedPipeToo) {
    auto network = std::make_unique<TNetwork>();
    const std::int32_t from = AddNodeAt(*network, 1, 0, 0);
    const std::int32_t to = AddNodeAt(*network, 0, 0, 400);
    const std::int32_t pipeId = network->AddPipeLink(from, to, TPipe());
    network->RemoveNodeLinkAddClosedPipeLink(pipeId);
    network->GetPipe(pipeId).PumpPositionPercent = 50.0;
    network->SetPumpXYFromPercentagePosition(pipeId);
    EXPECT_EQ(network->GetPipe(pipeId).Pump.X, 0);
    EXPECT_EQ(network->GetPipe(pipeId).Pump.Y, 200);
}

}  // namespace
