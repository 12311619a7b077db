// The hint-bar texts of results mode and the results key, for the hand-set
// network of TableTestSupport.h, in metric and in imperial units. The
// arithmetic of each value is beside it: F = 0.0978703670 bar per metre of the
// test water, 1 psi = 1 / 14.5037743897 bar, 1 ft = 0.3048 m, atmosphere
// 1.01325 bar, water vapour pressure 0.024 bar a.
#include <gtest/gtest.h>

#include <string>

#include "TableTestSupport.h"
#include "foundations/VM4_Units.h"
#include "results/VM4_ResultsHoverTexts.h"

namespace {

class ResultsHoverTextsTest : public ::testing::Test {
protected:
    ResultsHoverTextsTest() {
        // 3.048 m of fluid: 0.2983 bar, 4.3266 psi, exactly 10 ft.
        t.Network.GetPipe(t.PumpLine).ComponentLoss_mHd_Fluid = 3.048;
        // A node of no known type.
        t.Network.GetNode(t.Outlet).NodeType = TNodeType::NotSet;
    }

    TTableNetwork t;
    TNetwork& network = t.Network;
};

using TTextOf = std::string (*)(const TNetwork&, int);

struct TTextCase {
    const char* Name;
    TTextOf Text;
    std::int32_t TTableNetwork::*Item;
    const char* Metric;
    const char* Imperial;
};

void PrintTo(const TTextCase& testCase, std::ostream* out) { *out << testCase.Name; }

class HoverTexts : public ResultsHoverTextsTest, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(HoverTexts, MetricAndImperial) {
    const TTextCase& c = GetParam();
    EXPECT_EQ(c.Text(network, t.*c.Item), c.Metric);
    network.SetImperialUnits();
    EXPECT_EQ(c.Text(network, t.*c.Item), c.Imperial);
}

INSTANTIATE_TEST_SUITE_P(
    Items, HoverTexts,
    ::testing::Values(
        // d = 2.0 - 11.5 = -9.5 m: -0.92977 bar, -13.48515 psi, -31.168 ft;
        // flow 0.014 m³/s = 0.49441 ft³/s; velocity 1.78254 m/s = 5.84821 ft/s.
        TTextCase{"OpenPipe", StatusBarPipeText, &TTableNetwork::Suction,
                  " Pipe 1, Suction, pressure drop -0.9298 bar (-9.500 m.hd Fluid) at flow 0.0140 m\xC2\xB3/sec, "
                  "Velocity 1.783 m/sec",
                  " Pipe 1, Suction, pressure drop -13.4852 psi (-31.17 ft.hd Fluid) at flow 0.4944 ft\xC2\xB3/sec, "
                  "Velocity 5.848 ft/sec"},
        TTextCase{"ClosedPipe", StatusBarPipeText, &TTableNetwork::OldMain, " Pipe 4 is closed.",
                  " Pipe 4 is closed."},
        // 2 m: 0.19574 bar, 2.83898 psi; elevation 10 m = 32.808 ft; HGL 12 m = 39.370 ft.
        TTextCase{"Tank", StatusBarNodeText, &TTableNetwork::Tank,
                  " Node 1, N1, Tank, 0.1957 bar.g at 10.000m elevation, HGL is 12.000 m.hd Fluid",
                  " Node 1, N1, Tank, 2.8390 psi.g at 32.808ft elevation, HGL is 39.37 ft.hd Fluid"},
        // 11.5 m: 1.12551 bar, 16.32413 psi; HGL 11.5 m = 37.730 ft.
        TTextCase{"JoinPoint", StatusBarNodeText, &TTableNetwork::Joint,
                  " Node 2, N2, Join Point, 1.1255 bar.g at 0.000m elevation, HGL is 11.500 m.hd Fluid",
                  " Node 2, N2, Join Point, 16.3241 psi.g at 0.000ft elevation, HGL is 37.73 ft.hd Fluid"},
        // 0.5 bar held = 5.10880 m; HGL 10.10880 m = 33.165 ft; 5 m = 16.404 ft.
        TTextCase{"DemandPressure", StatusBarNodeText, &TTableNetwork::EndPressure,
                  " Node 3, N3, Demand Pressure, 0.5000 bar.g at 5.000m elevation, HGL is 10.109 m.hd Fluid",
                  " Node 3, N3, Demand Pressure, 7.2519 psi.g at 16.404ft elevation, HGL is 33.17 ft.hd Fluid"},
        TTextCase{"NodeOfUnknownType", StatusBarNodeText, &TTableNetwork::Outlet,
                  " Node 4, N4, 0.0000 bar.g at 2.000m elevation, HGL is 2.000 m.hd Fluid",
                  " Node 4, N4, 0.0000 psi.g at 6.562ft elevation, HGL is 6.56 ft.hd Fluid"},
        // Suction = 11.5 m at N2 + (0 m - 1 m pump elevation), nothing before the pump:
        // 10.5 m = 1.02764 bar = 14.90464 psi. NPSHa = 10.5 + (1.01325 - 0.024) / F
        // = 20.60776 m = 67.611 ft. Head 45.3211 m = 148.691 ft; flow 0.010 m³/s = 0.35315 ft³/s.
        TTextCase{"Pump", StatusBarPumpText, &TTableNetwork::PumpLine,
                  " Duty, Suction Pressure 1.0276 bar.g, Total Head 45.321 m.hd at 0.0100 m\xC2\xB3/sec, "
                  "NPSHa 20.608 m.hd",
                  " Duty, Suction Pressure 14.9046 psi.g, Total Head 148.69 ft.hd at 0.3531 ft\xC2\xB3/sec, "
                  "NPSHa 67.61 ft.hd"},
        // K = 3 x 0.43 + 0.15 + 0.5 = 1.94; 3.5822 m = 0.35059 bar = 5.08490 psi = 11.753 ft.
        TTextCase{"Fittings", StatusBarFittingText, &TTableNetwork::PumpLine,
                  " Fittings on Pipe 2, Total K=1.94, dP 0.3506 bar (3.582 m.hd) at 0.0100 m\xC2\xB3/sec",
                  " Fittings on Pipe 2, Total K=1.94, dP 5.0849 psi (11.75 ft.hd) at 0.3531 ft\xC2\xB3/sec"},
        TTextCase{"Component", StatusBarComponentText, &TTableNetwork::PumpLine,
                  " Component on Pipe 2, Strainer, dP 0.2983 bar (3.048 m.hd) at 0.0100 m\xC2\xB3/sec",
                  " Component on Pipe 2, Strainer, dP 4.3266 psi (10.00 ft.hd) at 0.3531 ft\xC2\xB3/sec"},
        // 2.5 m = 0.24468 bar = 3.54872 psi = 8.202 ft; flow 0.002 m³/s = 0.07063 ft³/s.
        TTextCase{"FlowControl", StatusBarFlowControlText, &TTableNetwork::Bypass,
                  " Flow Control on Pipe 3, FCV-3, dP 0.2447 bar (2.500 m.hd) at 0.0020 m\xC2\xB3/sec",
                  " Flow Control on Pipe 3, FCV-3, dP 3.5487 psi (8.20 ft.hd) at 0.0706 ft\xC2\xB3/sec"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Ids of nothing, and items asked of a pipe that does not carry them, show nothing.
TEST_F(ResultsHoverTextsTest, NothingToShow) {
    for (const int id : {0, -1}) {
        EXPECT_EQ(StatusBarPipeText(network, id), "");
        EXPECT_EQ(StatusBarNodeText(network, id), "");
        EXPECT_EQ(StatusBarPumpText(network, id), "");
        EXPECT_EQ(StatusBarFittingText(network, id), "");
        EXPECT_EQ(StatusBarComponentText(network, id), "");
        EXPECT_EQ(StatusBarFlowControlText(network, id), "");
    }
    EXPECT_EQ(StatusBarNodeText(network, 99), "");  // a free node slot
    EXPECT_EQ(StatusBarPipeText(network, 99), "");  // a free pipe slot
    EXPECT_EQ(StatusBarPumpText(network, t.Suction), "");
    EXPECT_EQ(StatusBarFittingText(network, t.Bypass), "");
    EXPECT_EQ(StatusBarComponentText(network, t.Bypass), "");
    EXPECT_EQ(StatusBarFlowControlText(network, t.PumpLine), "");
    // Items of a closed pipe have no results.
    network.GetPipe(t.OldMain).HasFlowControl = true;
    EXPECT_EQ(StatusBarFlowControlText(network, t.OldMain), "");
}

// A unit of the wrong kind (from a damaged file) shows "?" instead of ending the hover.
TEST_F(ResultsHoverTextsTest, UnitOfTheWrongKindShowsQuestionMark) {
    network.Settings.FluidPressureUnit = UNIT_M;
    network.Settings.FlowRateUnit = UNIT_BAR_G;
    EXPECT_EQ(StatusBarNodeText(network, t.Joint),
              " Node 2, N2, Join Point, ? m at 0.000m elevation, HGL is 11.500 m.hd Fluid");
    EXPECT_EQ(StatusBarFlowControlText(network, t.Bypass),
              " Flow Control on Pipe 3, FCV-3, dP 0.2447 bar (2.500 m.hd) at ? bar.g");
}

TEST_F(ResultsHoverTextsTest, ResultsKeyNamesTheUnits) {
    TResultsKeyTexts key = ResultsKeyTexts(network);
    EXPECT_EQ(key.Flow, "f = flow in m\xC2\xB3/sec");
    EXPECT_EQ(key.Velocity, "v = velocity in m/sec");
    EXPECT_EQ(key.PressureDrop, "dP = pressure drop in m.hd Fluid");
    network.SetImperialUnits();
    key = ResultsKeyTexts(network);
    EXPECT_EQ(key.Flow, "f = flow in ft\xC2\xB3/sec");
    EXPECT_EQ(key.Velocity, "v = velocity in ft/sec");
    EXPECT_EQ(key.PressureDrop, "dP = pressure drop in ft.hd Fluid");
    // A unit outside the fixed choices keeps its full name, trailing blank included.
    network.Settings.FlowRateUnit = UNIT_UK_GPM;
    EXPECT_EQ(ResultsKeyTexts(network).Flow, "f = flow in UK gpm ");
}

}  // namespace
