// Flags, notes, display units and row counts of the result tables, each on
// the small network of TableTestSupport.h with one thing changed.

#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "common/NetworkBuilder.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"

namespace {

class TableEdgeCasesTest : public ::testing::Test {
protected:
    TPipe& pumpLine() { return t.Network.GetPipe(t.PumpLine); }
    TPipe& suction() { return t.Network.GetPipe(t.Suction); }
    TPipe& bypass() { return t.Network.GetPipe(t.Bypass); }

    // Row of pipe 1, 2 and 3 in the pipe results filled from row 0.
    static constexpr int kSuctionRow = 2;
    static constexpr int kPumpLineRow = 3;
    static constexpr int kBypassRow = 4;

    TTableNetwork t;
    TMemoryGrid grid = PrefilledGrid();
};

// ---- Velocity ---------------------------------------------------------------------------

struct TVelocityCase {
    const char* Name;
    bool IsGas;
    double Velocity_ms;
    const char* Cell;
};

void PrintTo(const TVelocityCase& c, std::ostream* out) { *out << c.Name; }

class HighVelocityTest : public ::testing::TestWithParam<TVelocityCase> {};

// Limits: liquid 5 m/s, gas 20 m/s (the defaults). The velocity keeps its sign.
TEST_P(HighVelocityTest, FlagsVelocitiesAboveTheLimitOfTheFluidsState) {
    TTableNetwork t;
    t.Network.Fluid.IsGas = GetParam().IsGas;
    t.Network.GetPipe(t.Suction).Velocity_ms = GetParam().Velocity_ms;
    TMemoryGrid grid = PrefilledGrid();
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(9, 2), GetParam().Cell);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, HighVelocityTest,
    ::testing::Values(TVelocityCase{"liquid above", false, 6.0, "*6.000 (Flow Velocity is high)"},
                      TVelocityCase{"liquid at the limit", false, 5.0, "5.000"},
                      TVelocityCase{"liquid just above", false, 5.0004, "*5.000 (Flow Velocity is high)"},
                      TVelocityCase{"liquid reversed", false, -6.0, "-6.000"},
                      TVelocityCase{"gas under its limit", true, 6.0, "6.000"},
                      TVelocityCase{"gas above", true, 25.0, "*25.000 (Flow Velocity is high)"}));

// ---- Pump cells -----------------------------------------------------------------------------

TEST_F(TableEdgeCasesTest, PumpHeadFlagsAccumulateEachWithItsOwnStar) {
    // Above both pipe ends (0 m and 5 m), beyond the last curve point (0.02 m³/sec), no head.
    pumpLine().PumpElevation_m = 20.0;
    pumpLine().FlowUncompressed_m3s = 0.03;
    pumpLine().PumpHead_mHd_Fluid = 0.0;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(22, kPumpLineRow),
              "***0.000 [Elevation 20.000m not between start and end elevation of pipe ]"
              " (Head calculated is outside of points on the Pump Curve)"
              " [Head added is zero. Pump is not used.]");
}

TEST_F(TableEdgeCasesTest, PumpElevationOnAPipeEndIsBetweenTheEnds) {
    pumpLine().PumpElevation_m = 5.0;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(22, kPumpLineRow), "45.321");
}

TEST_F(TableEdgeCasesTest, AReversedFlowLiesBelowTheCurve) {
    pumpLine().FlowUncompressed_m3s = -0.005;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(22, kPumpLineRow), "*45.321 (Head calculated is outside of points on the Pump Curve)");
}

TEST_F(TableEdgeCasesTest, APumpAtASetFlowRateShowsItsHeadOnly) {
    pumpLine().Pump.RunsAtSetFlowRate = 1;
    pumpLine().Pump.SetFlowRate_m3s = 0.03;
    pumpLine().FlowUncompressed_m3s = 0.03;
    pumpLine().PumpHead_mHd_Fluid = 0.0;
    pumpLine().PumpElevation_m = -1.0;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    // Neither the curve nor a zero head is questioned at a set flow; the elevation is.
    EXPECT_EQ(grid.GetCell(22, kPumpLineRow),
              "*0.000 [Elevation -1.000m not between start and end elevation of pipe ]");
    EXPECT_EQ(grid.GetCell(23, kPumpLineRow), "");
    EXPECT_EQ(grid.GetCell(24, kPumpLineRow), "");
    EXPECT_EQ(grid.GetCell(25, kPumpLineRow), "");
}

TEST_F(TableEdgeCasesTest, CavitationIsFlaggedInThePipeAndPumpResults) {
    // NPSHa = 10.5 + 10.10776 = 20.608 m is now below the NPSHr.
    pumpLine().PumpNPSHr_mHd_Fluid = 21.0;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(24, kPumpLineRow), "*20.608 (Too Low - Cavitation may occur at the pump)");
    t.Network.PopulateStringGridPumpResults(grid, 0);
    EXPECT_EQ(grid.GetCell(10, 2), "20.608 (Too Low - Cavitation may occur at the pump)");
}

TEST_F(TableEdgeCasesTest, NegativeNPSHaIsNamedInThePumpResults) {
    // Suction head -25 m: 25 m below the joint's 0 m, pump at 0 m.
    // NPSHa = -25 + 10.10776 = -14.892 m, below the NPSHr of 2.004 as well.
    t.Network.GetNode(t.Joint).Pressure_FluidHead_m = -24.0;
    t.Network.PopulateStringGridPumpResults(grid, 0);
    EXPECT_EQ(grid.GetCell(10, 2),
              "-14.892 (Too Low - Cavitation may occur at the pump) (NPSHa cannot be negative)");
}

TEST_F(TableEdgeCasesTest, FlowsOutsideThePreferredRegionAreNamed) {
    // Region 0.008 to 0.024 m³/sec.
    const struct {
        double Flow_m3s;
        const char* Cell;
    } cases[] = {{0.007, "0.0070 Outside Pref. Op. Region"},
                 {0.008, "0.0080"},
                 {0.024, "0.0240"},
                 {0.025, "0.0250 Outside Pref. Op. Region"}};
    for (const auto& c : cases) {
        pumpLine().FlowUncompressed_m3s = c.Flow_m3s;
        t.Network.PopulateStringGridPumpResults(grid, 0);
        EXPECT_EQ(grid.GetCell(6, 2), c.Cell);
    }
}

TEST_F(TableEdgeCasesTest, ItemsSwitchedOffShowNone) {
    pumpLine().CalcComponentPressure = false;
    bypass().CalcFlowControl = false;
    t.Network.GetPipe(t.PumpLine).CalcPump = false;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(20, kPumpLineRow), "none");
    EXPECT_EQ(grid.GetCell(21, kBypassRow), "none");
    for (int column = 22; column <= 25; ++column)
        EXPECT_EQ(grid.GetCell(column, kPumpLineRow), "Not Included") << "column " << column;
}

// ---- Display units ----------------------------------------------------------------------------

TEST_F(TableEdgeCasesTest, ImperialUnitsNameAndConvertEveryColumn) {
    t.Network.SetImperialUnits();
    t.Network.PopulateStringGridPipeResults(grid, 0);
    ExpectRow(grid, 1,
              {kUntouched, "", "", "inch", "inch", "ft", "", "lb/sec", "ft\xC2\xB3/sec", "ft/sec", "ft", "ft",
               "psi.g", "psi.g", "psi.g", "", "", "", "ft.hd", "ft.hd", "ft.hd", "ft.hd", "ft.hd", "ft.hd",
               "ft.hd (absolute)", "Percentage"});
    ExpectRow(grid, kSuctionRow,
              {"1", "Suction", "4\" Steel Sch. 40",
               "3.937",    // 0.1 / 0.0254
               "0.002",    // 0.000046 / 0.0254 = 0.00181
               "164.042",  // 50 / 0.3048
               "0.00",
               "30.8030",  // 0.014 * 998 kg/sec * 2.20462262185
               "0.4944",   // 0.014 / 0.3048³
               "5.848",    // 1.78254 / 0.3048
               "32.808", "0.000",
               "2.8390",   // 0.195741 bar * 14.5037743897
               "16.3241",  // 1.125509 bar * 14.5037743897
               "-13.4852", "177913", "Turbulent", "0.019",
               "5.10"});   // 1.5543 m / 0.3048, ft.hd has 2 places
}

TEST_F(TableEdgeCasesTest, AbsolutePressureUnitsShiftLevelsButNotDifferencesOrLosses) {
    t.Network.Settings.FluidPressureUnit = UNIT_BAR_A;
    t.Network.Settings.SurfacePressureUnit = UNIT_BAR_A;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    // Levels gain the atmosphere: 0.195741 + 1.01325 and 1.125509 + 1.01325.
    EXPECT_EQ(grid.GetCell(12, kSuctionRow), "1.208991");
    EXPECT_EQ(grid.GetCell(13, kSuctionRow), "2.138759");
    // The difference and the losses do not: 0.195741 - 1.125509; 0.5 bar; 2.5 m * F.
    EXPECT_EQ(grid.GetCell(14, kSuctionRow), "-0.929768");
    EXPECT_EQ(grid.GetCell(20, kPumpLineRow), "5.109 (0.500000 bar.a)");
    EXPECT_EQ(grid.GetCell(21, kBypassRow), "2.500 (0.244676 bar.a)");
}

TEST_F(TableEdgeCasesTest, EndPressuresAreShownInTheUnitTheirUnitsRowNames) {
    // Surface pressures in psi.g while other pressures stay in bar.g.
    t.Network.Settings.SurfacePressureUnit = UNIT_PSI_G;
    t.Network.PopulateStringGridNodeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(5, 1), "psi.g");
    EXPECT_EQ(grid.GetCell(6, 1), "bar.g");
    // N3: 0.5 bar.g * 14.5037743897 = 7.2519 psi.g; the pressure at the node stays 0.5000 bar.g.
    EXPECT_EQ(grid.GetCell(5, 4), "7.2519");
    EXPECT_EQ(grid.GetCell(6, 4), "0.5000");
}

TEST_F(TableEdgeCasesTest, ValuesBeyondFifteenDigitsAreShownInExponentForm) {
    suction().FlowUncompressed_m3s = 1.5e20;
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(8, kSuctionRow), "1.5E+20");
    // 1.5e20 * 998 = 1.497e23
    EXPECT_EQ(grid.GetCell(7, kSuctionRow), "1.497E+23");
}

TEST_F(TableEdgeCasesTest, ADecimalCommaIsUsedWhenTheSystemHasOne) {
    TScopedDecimalMark comma(',');
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(8, kSuctionRow), "0,0140");
    EXPECT_EQ(grid.GetCell(20, kPumpLineRow), "5,109 (0,5000 bar.g)");
}

// ---- Notes ------------------------------------------------------------------------------------

TEST_F(TableEdgeCasesTest, NotesAreShownOnOneLine) {
    suction().Notes = {"first\r", "second\nline", "", "last"};
    t.Network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(26, kSuctionRow), "first  secondline  last");
}

// ---- Row counts -------------------------------------------------------------------------------

TEST(TableRowCountTest, ThreePipesGiveTheMinimumAndMoreGrowTheGrid) {
    for (const int pipeCount : {3, 26, 30}) {
        TNetwork network;
        TNetworkBuilder builder(network);
        const std::int32_t from = builder.AddTank(0, 0);
        const std::int32_t to = builder.AddDemandPressure(100, 0);
        for (int i = 0; i < pipeCount; ++i) builder.AddPipe(from, to, "P" + std::to_string(i + 1));
        TMemoryGrid grid(26, 2000);
        // Data rows 2 .. pipeCount + 1; row count = last row + 2, at least 28.
        EXPECT_EQ(network.PopulateStringGridPipeResults(grid, 0), pipeCount + 1);
        EXPECT_EQ(grid.RowCount(), std::max(pipeCount + 3, 28)) << pipeCount << " pipes";
        EXPECT_EQ(grid.GetCell(1, pipeCount + 1), "P" + std::to_string(pipeCount));
    }
}

TEST(TableRowCountTest, AnEmptyNetworkGivesHeadingsOnly) {
    TNetwork network;
    TMemoryGrid grid(26, 2000);
    EXPECT_EQ(network.PopulateStringGridPipeResults(grid, 0), 1);
    EXPECT_EQ(network.PopulateStringGridNodeResults(grid, 0), 1);
    EXPECT_EQ(network.PopulateStringGridFittingResults(grid, 0), 0);
    EXPECT_EQ(grid.RowCount(), 28);
}

}  // namespace
