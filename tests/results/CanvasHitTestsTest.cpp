// What lies under a point of the drawing: anchors within a ±9 box, pipes within
// their capture band, and which of several overlapping items answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_CanvasHitTests.h"

namespace {

constexpr int kMin = std::numeric_limits<std::int32_t>::min();
constexpr int kMax = std::numeric_limits<std::int32_t>::max();

struct TXYCase {
    const char* Name;
    int X, Y, Px, Py;
    bool Matches;
};

void PrintTo(const TXYCase& testCase, std::ostream* out) { *out << testCase.Name; }

class XYMatch : public ::testing::TestWithParam<TXYCase> {};

TEST_P(XYMatch, StrictlyInsideTheBox) {
    const TXYCase& c = GetParam();
    EXPECT_EQ(CheckXYMatch(c.X, c.Y, c.Px, c.Py), c.Matches);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, XYMatch,
    ::testing::Values(TXYCase{"Centre", 100, 100, 100, 100, true},
                      TXYCase{"NineRight", 100, 100, 109, 100, true},
                      TXYCase{"TenRight", 100, 100, 110, 100, false},
                      TXYCase{"NineLeft", 100, 100, 91, 100, true},
                      TXYCase{"TenLeft", 100, 100, 90, 100, false},
                      TXYCase{"NineBelow", 100, 100, 100, 109, true},
                      TXYCase{"TenBelow", 100, 100, 100, 110, false},
                      TXYCase{"TenAbove", 100, 100, 100, 90, false},
                      TXYCase{"NineDiagonal", 100, 100, 91, 109, true},
                      TXYCase{"XInsideYOutside", 100, 100, 105, 111, false},
                      // The box edges must not overflow at the ends of the int32 range.
                      TXYCase{"AtLargestCoordinate", kMax, kMax, kMax, kMax, true},
                      TXYCase{"AtSmallestCoordinate", kMin, kMin, kMin, kMin, true},
                      TXYCase{"OppositeEnds", kMin, 0, kMax, 0, false}),
    [](const auto& info) { return std::string(info.param.Name); });

// A small drawing whose items sit at known points (drawing units):
//
//   N1 (100,100) --P1 "Across"--> N2 (300,100)         horizontal; pump (150,100),
//        |                         |                   fittings (120,100), component
//        | P4 "West"               | P2 "Down"         (250,100), flow control (230,130),
//        v                         v                   label (200,80)
//   N5 (100,300)                 N3 (300,300) tank
//                                  | P3 "Steep" (slope 10)
//                                  v
//                                N4 (310,400)
//   N6 (200,50) --P5 "Cross"--> N7 (200,150): vertical, crossing P1 at (200,100);
//        flow control (230,130) like P1's, label (205,85)
//   N8 (205,55): a node overlapping N6's box
//   Closed: P6 "ShutA" N1 -> N3 (diagonal, pump at (50,50), label (40,40)),
//           P7 "ShutB" N5 -> N2 (crossing P6 at (200,200)).
//   P4 carries positions for every item but none of the items.
//   N1 supplies 0.001 m³/s (arrow end (112,72)) and has its name at (80,130);
//   N5 discharges 0.002 m³/s (arrow end (112,328)).
//   Free texts 1 at (400,400) and 2 at (405,405).
//
// P1 is closed and opened again, so that the link order (P2, P3, P4, P5, P1)
// differs from the id order.
struct THitNetwork {
    THitNetwork() {
        TNetworkBuilder builder(Network);
        N1 = builder.AddJoint(100, 100);
        N2 = builder.AddJoint(300, 100);
        N3 = builder.AddTank(300, 300);
        N4 = builder.AddJoint(310, 400);
        N5 = builder.AddJoint(100, 300);
        N6 = builder.AddJoint(200, 50);
        N7 = builder.AddJoint(200, 150);
        N8 = builder.AddJoint(205, 55);
        P1 = builder.AddPipe(N1, N2, "Across");
        P2 = builder.AddPipe(N2, N3, "Down");
        P3 = builder.AddPipe(N3, N4, "Steep");
        P4 = builder.AddPipe(N1, N5, "West");
        P5 = builder.AddPipe(N6, N7, "Cross");
        P6 = builder.AddPipe(N1, N3, "ShutA");
        P7 = builder.AddPipe(N5, N2, "ShutB");
        placeNodeItems();
        placePipeItems();
        Network.RemoveNodeLinkAddClosedPipeLink(P1);
        Network.RestoreNodeLinkForClosedPipe(P1);
        Network.RemoveNodeLinkAddClosedPipeLink(P6);
        Network.RemoveNodeLinkAddClosedPipeLink(P7);
        Network.AddFreeText({"first"}, 400, 400, 0, 7, 0);
        Network.AddFreeText({"second"}, 405, 405, 0, 7, 0);
    }

    void placeNodeItems() {
        TNode& n1 = Network.GetNode(N1);
        n1.JointSupply_m3s = 0.001;
        n1.NameLabelOffsetX = -20;
        n1.NameLabelOffsetY = 30;
        Network.GetNode(N5).JointDischarge_m3s = 0.002;
    }

    void placePipeItems() {
        TPipe& across = Network.GetPipe(P1);
        across.HasPump = true;
        across.Pump.X = 150;
        across.Pump.Y = 100;
        TFitting elbow;
        elbow.SetFittingData(100, 1, "PRad", "100 mm", "4\"", "Elbow", 0.43);
        across.Fittings.AddFitting(elbow, 1);
        across.FittingsX = 120;
        across.FittingsY = 100;
        across.HasComponentPressure = true;
        across.ComponentX = 250;
        across.ComponentY = 100;
        across.HasFlowControl = true;
        across.FlowControlX = 230;
        across.FlowControlY = 130;
        across.LabelX = 200;
        across.LabelY = 80;

        TPipe& cross = Network.GetPipe(P5);
        cross.HasFlowControl = true;
        cross.FlowControlX = 230;
        cross.FlowControlY = 130;
        cross.LabelX = 205;
        cross.LabelY = 85;

        // Positions without items: nothing is there to hit.
        TPipe& west = Network.GetPipe(P4);
        west.Pump.X = 100;
        west.Pump.Y = 200;
        west.FittingsX = 100;
        west.FittingsY = 250;
        west.ComponentX = 100;
        west.ComponentY = 260;
        west.FlowControlX = 100;
        west.FlowControlY = 270;

        TPipe& shut = Network.GetPipe(P6);
        shut.HasPump = true;
        shut.Pump.X = 50;
        shut.Pump.Y = 50;
        shut.LabelX = 40;
        shut.LabelY = 40;
    }

    TNetwork Network;
    std::int32_t N1 = 0, N2 = 0, N3 = 0, N4 = 0, N5 = 0, N6 = 0, N7 = 0, N8 = 0;
    std::int32_t P1 = 0, P2 = 0, P3 = 0, P4 = 0, P5 = 0, P6 = 0, P7 = 0;
    std::int32_t FreeText1 = 1, FreeText2 = 2;
    std::int32_t Nothing = 0;
    std::int32_t NoPipe = -1;
};

const THitNetwork& hitNetwork() {
    static const THitNetwork network;
    return network;
}

using THitTest = int (*)(const TNetwork&, int, int);

struct THitCase {
    const char* Name;
    THitTest Test;
    int Px, Py;
    std::int32_t THitNetwork::*Expected;
};

void PrintTo(const THitCase& testCase, std::ostream* out) { *out << testCase.Name; }

class HitTests : public ::testing::TestWithParam<THitCase> {};

TEST(HitNetwork, LinkOrderDiffersFromIdOrder) {
    const THitNetwork& h = hitNetwork();
    ASSERT_EQ(h.Network.GetNodeLinkCount(), 5);
    EXPECT_EQ(h.Network.GetNodeLink(4).PipeId, h.P5);
    EXPECT_EQ(h.Network.GetNodeLink(5).PipeId, h.P1);
}

TEST_P(HitTests, FindTheItemUnderThePoint) {
    const THitCase& c = GetParam();
    const THitNetwork& h = hitNetwork();
    EXPECT_EQ(c.Test(h.Network, c.Px, c.Py), h.*c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pipes, HitTests,
    ::testing::Values(
        // Where open pipes cross, the last in link order answers (P1 after P5).
        THitCase{"CrossingOpenPipesLastLinkWins", CheckPipeClick, 200, 100, &THitNetwork::P1},
        THitCase{"HorizontalFourteenBelow", CheckPipeClick, 150, 114, &THitNetwork::P1},
        THitCase{"HorizontalFifteenAbove", CheckPipeClick, 250, 85, &THitNetwork::NoPipe},
        THitCase{"VerticalNineBeside", CheckPipeClick, 309, 200, &THitNetwork::P2},
        THitCase{"VerticalNineOtherSide", CheckPipeClick, 291, 200, &THitNetwork::P2},
        THitCase{"VerticalTenBeside", CheckPipeClick, 310, 200, &THitNetwork::NoPipe},
        THitCase{"VerticalTenOtherSide", CheckPipeClick, 290, 200, &THitNetwork::NoPipe},
        // Slope 10 widens the band to 15 + 10 either side of y = 350 at x = 305.
        THitCase{"SteepTwentyFourBelow", CheckPipeClick, 305, 374, &THitNetwork::P3},
        THitCase{"SteepTwentyFiveBelow", CheckPipeClick, 305, 375, &THitNetwork::NoPipe},
        THitCase{"SteepTwentyFourAbove", CheckPipeClick, 305, 326, &THitNetwork::P3},
        THitCase{"SteepTwentyFiveAbove", CheckPipeClick, 305, 325, &THitNetwork::NoPipe},
        THitCase{"NodeIsNoPartOfItsPipes", CheckPipeClick, 300, 100, &THitNetwork::NoPipe},
        // On open P4 and closed P6 at once: the open pipe answers.
        THitCase{"OpenPipeBeforeClosed", CheckPipeClick, 109, 115, &THitNetwork::P4},
        THitCase{"ClosedPipeUnderOpenOne", CheckClosedPipeClick, 109, 115, &THitNetwork::P6},
        THitCase{"OnlyAClosedPipe", CheckPipeClick, 150, 150, &THitNetwork::P6},
        THitCase{"ClosedPipeDirectly", CheckClosedPipeClick, 150, 150, &THitNetwork::P6},
        // Closed pipes crossing: the last closed answers.
        THitCase{"CrossingClosedPipesLastWins", CheckPipeClick, 200, 200, &THitNetwork::P7},
        THitCase{"CrossingClosedPipesDirectly", CheckClosedPipeClick, 200, 200, &THitNetwork::P7},
        THitCase{"ClosedTestIgnoresOpenPipes", CheckClosedPipeClick, 200, 100, &THitNetwork::NoPipe},
        THitCase{"EmptyDrawing", CheckPipeClick, 600, 600, &THitNetwork::NoPipe}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    PipeItems, HitTests,
    ::testing::Values(
        THitCase{"PumpNineRight", CheckPumpClick, 159, 100, &THitNetwork::P1},
        THitCase{"PumpTenRight", CheckPumpClick, 160, 100, &THitNetwork::Nothing},
        THitCase{"PumpNineAbove", CheckPumpClick, 150, 91, &THitNetwork::P1},
        THitCase{"PumpTenAbove", CheckPumpClick, 150, 90, &THitNetwork::Nothing},
        THitCase{"PumpOfClosedPipe", CheckPumpClick, 50, 50, &THitNetwork::Nothing},
        THitCase{"Fittings", CheckPipeFittingClick, 120, 100, &THitNetwork::P1},
        THitCase{"FittingsNotAtPump", CheckPipeFittingClick, 150, 100, &THitNetwork::Nothing},
        THitCase{"Component", CheckPipeComponentPressureClick, 250, 100, &THitNetwork::P1},
        // P1 and P5 share the point: the first in link order answers.
        THitCase{"FlowControlsFirstLinkWins", CheckPipeFlowControlClick, 230, 130, &THitNetwork::P5},
        THitCase{"NoPumpOnPipe", CheckPumpClick, 100, 200, &THitNetwork::Nothing},
        THitCase{"NoFittingsOnPipe", CheckPipeFittingClick, 100, 250, &THitNetwork::Nothing},
        THitCase{"NoComponentOnPipe", CheckPipeComponentPressureClick, 100, 260, &THitNetwork::Nothing},
        THitCase{"NoFlowControlOnPipe", CheckPipeFlowControlClick, 100, 270, &THitNetwork::Nothing},
        THitCase{"LabelsFirstLinkWins", CheckPipeTextClick, 203, 83, &THitNetwork::P5},
        THitCase{"LabelOfOnePipe", CheckPipeTextClick, 191, 80, &THitNetwork::P1},
        THitCase{"LabelOfClosedPipe", CheckPipeTextClick, 40, 40, &THitNetwork::Nothing}),
    [](const auto& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    NodesAndTexts, HitTests,
    ::testing::Values(
        THitCase{"NodeNineAway", CheckNodeClick, 109, 109, &THitNetwork::N1},
        THitCase{"NodeTenAway", CheckNodeClick, 110, 100, &THitNetwork::Nothing},
        // N6 and N8 overlap: the lower id answers.
        THitCase{"OverlappingNodesFirstIdWins", CheckNodeClick, 203, 53, &THitNetwork::N6},
        THitCase{"OnlyTheSecondNode", CheckNodeClick, 214, 55, &THitNetwork::N8},
        THitCase{"SupplyArrowEnd", CheckNodeDemandInClick, 112, 72, &THitNetwork::N1},
        THitCase{"SupplyArrowNineAway", CheckNodeDemandInClick, 121, 63, &THitNetwork::N1},
        THitCase{"SupplyArrowTenAway", CheckNodeDemandInClick, 122, 72, &THitNetwork::Nothing},
        THitCase{"NoSupplyNoArrow", CheckNodeDemandInClick, 112, 272, &THitNetwork::Nothing},
        THitCase{"DemandArrowEnd", CheckNodeDemandOutClick, 112, 328, &THitNetwork::N5},
        THitCase{"NoDemandNoArrow", CheckNodeDemandOutClick, 112, 128, &THitNetwork::Nothing},
        THitCase{"NameLabelAtOffset", CheckNodeTextClick, 80, 130, &THitNetwork::N1},
        THitCase{"NameLabelNotAtNode", CheckNodeTextClick, 100, 100, &THitNetwork::Nothing},
        THitCase{"NameLabelWithoutOffset", CheckNodeTextClick, 300, 100, &THitNetwork::N2},
        // Free texts 1 and 2 overlap: the last answers.
        THitCase{"OverlappingFreeTextsLastWins", CheckFreeTextClick, 403, 403, &THitNetwork::FreeText2},
        THitCase{"OnlyTheFirstFreeText", CheckFreeTextClick, 395, 400, &THitNetwork::FreeText1},
        THitCase{"NoFreeText", CheckFreeTextClick, 600, 600, &THitNetwork::Nothing}),
    [](const auto& info) { return std::string(info.param.Name); });

// Items far out on the drawing (positions from a file) are found without the
// box or the offsets wrapping round.
TEST(HitTestsAtRangeEnds, OffsetsAndAnchorsDoNotOverflow) {
    TNetwork network;
    TNetworkBuilder builder(network);
    const std::int32_t node = builder.AddJoint(kMax - 5, kMin + 5);
    TNode& far = network.GetNode(node);
    far.NameLabelOffsetX = 20;  // kMax + 15: beyond every int32 point
    far.NameLabelOffsetY = 0;
    far.JointSupply_m3s = 0.001;
    far.DemandInLabelOffsetX = -10;
    far.DemandInLabelOffsetY = -10;  // kMin - 5
    EXPECT_EQ(CheckNodeClick(network, kMax, kMin), node);
    EXPECT_EQ(CheckNodeTextClick(network, kMax, kMin + 5), 0);
    EXPECT_EQ(CheckNodeTextClick(network, kMin + 15, kMin + 5), 0);
    EXPECT_EQ(CheckNodeDemandInClick(network, kMax - 15, kMin), node);
    EXPECT_EQ(CheckNodeDemandInClick(network, kMax - 15, kMax - 5), 0);
}

}  // namespace
