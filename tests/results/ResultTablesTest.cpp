// The result tables of a small solved network, compared cell by cell. The
// network and its hand-set results are described in TableTestSupport.h; the
// arithmetic of each expected value is beside it (F = 0.0978703670 bar per
// metre of the test water, atmosphere 1.01325 bar).

#include <gtest/gtest.h>

#include "TableTestSupport.h"

namespace {

class ResultTablesTest : public ::testing::Test {
protected:
    TTableNetwork t;
    TMemoryGrid grid = PrefilledGrid();
    const TNetwork& network = t.Network;
};

TEST_F(ResultTablesTest, PipeResultsHeadingAndUnits) {
    EXPECT_EQ(network.PopulateStringGridPipeResults(grid, 0), 5);
    ExpectRow(grid, 0,
              {"Pipe Id", "Pipe Name", "Material", "Inner Diameter", "Roughness", "Length", "Total K", "Mass Flow",
               "Flow", "Velocity", "Entry Elevation", "Exit Elevation", "Entry Pressure", "Exit Pressure",
               "Entry/Exit Diff", "Reynolds Number", "Flow Type", "Friction Factor", "Friction Loss", "Fittings Loss",
               "Component Loss", "Flow Control Loss", "Pump Head (+)", "Pump NPSHr", "Pump NPSHa", "Pump Efficiency",
               "Pipe Notes"});
    // The mass flow unit goes with kgs and m³/sec; losses use the short name.
    ExpectRow(grid, 1,
              {kUntouched, "", "", "mm", "mm", "m", "", "kg/sec", "m\xC2\xB3/sec", "m/sec", "m", "m", "bar.g",
               "bar.g", "bar.g", "", "", "", "m.hd", "m.hd", "m.hd", "m.hd", "m.hd", "m.hd", "m.hd (absolute)",
               "Percentage", ""});
}

TEST_F(ResultTablesTest, PipeResultsOfAPipeWithoutItems) {
    network.PopulateStringGridPipeResults(grid, 0);
    ExpectRow(grid, 2,
              {"1", "Suction", "4\" Steel Sch. 40",
               "100.000",  // 0.1 m in mm
               "0.046",    // 0.000046 m in mm
               "50.000", "0.00",
               "13.9720",  // 0.014 m³/sec * 998 kg/m³, 4 dp
               "0.0140",
               "1.783",    // 0.014 / (pi 0.1² / 4) = 1.78254 m/sec
               "10.000", "0.000",
               "0.1957",   // 2.0 m * F = 0.195741 bar.g
               "1.1255",   // 11.5 m * F = 1.125509 bar.g
               "-0.9298",  // 0.195741 - 1.125509
               "177913", "Turbulent", "0.019", "1.554", "none", "none", "none", "none", "none", "none", "none",
               "Tank outlet see P&ID 12"});
}

TEST_F(ResultTablesTest, PipeResultsOfAPipeWithPumpFittingsAndComponent) {
    network.PopulateStringGridPipeResults(grid, 0);
    ExpectRow(grid, 3,
              {"2", "Pump Line", "4\" Steel Sch. 40", "46.000", "0.046", "30.000",
               "1.94",     // 3 * 0.43 + 0.15 + 0.5
               "9.9800",   // 0.010 * 998
               "0.0100",
               "*6.017 (Flow Velocity is high)",  // 0.010 / (pi 0.046² / 4) = 6.0172 m/sec > 5
               "0.000", "5.000", "1.1255",
               "0.5000",   // (0.5 / F) m * F
               "0.6255",   // 1.125509 - 0.5
               "276210", "Turbulent", "0.020", "24.567", "3.582",
               "5.109 (0.5000 bar.g)",  // 0.5 bar fixed loss = 0.5 / F = 5.10880 m
               "none",
               "45.321",   // pump head, 3 dp
               "2.004",    // NPSHr, 3 dp
               // NPSHa: suction 11.5 + (0 - 1.0) = 10.5 m, plus (1.01325 - 0.024) / F = 10.10776 m
               "20.608",
               "60.00",    // efficiency on the point at 0.01 m³/sec
               "Duty pump"});
}

TEST_F(ResultTablesTest, PipeResultsOfAFlowControlledPipeWithItsPumpSwitchedOff) {
    network.PopulateStringGridPipeResults(grid, 0);
    ExpectRow(grid, 4,
              {"3", "Bypass", "4\" Steel Sch. 40", "50.000", "0.046", "20.000", "0.00",
               "1.9960",   // 0.002 * 998
               "0.0020", "1.019", "0.000", "2.000", "1.1255", "0.0000", "1.1255", "50823", "Turbulent", "0.023",
               "0.831", "none", "none",
               "2.500 (0.2447 bar.g)",  // 2.5 m * F = 0.244676 bar
               "Not Included", "Not Included", "Not Included", "Not Included", ""});
}

TEST_F(ResultTablesTest, PipeResultsListClosedPipesLastWithTheirSizeOnly) {
    EXPECT_EQ(network.PopulateStringGridPipeResults(grid, 0), 5);
    ExpectRow(grid, 5,
              {"4", "Old Main", "Closed.  4\" Steel Sch. 40", "100.000", "0.046", "80.000", kUntouched, kUntouched,
               kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched,
               kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, kUntouched,
               kUntouched, kUntouched, ""});
    EXPECT_EQ(grid.GetCell(0, 6), kUntouched);
}

TEST_F(ResultTablesTest, PipeResultsSetWidthsAndTheMinimumRowCount) {
    network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.ColumnWidth(0), 40);
    EXPECT_EQ(grid.ColumnWidth(1), 80);
    // Last row 5 + 2 = 7 rows would do; a result grid keeps at least 28.
    EXPECT_EQ(grid.RowCount(), 28);
    // The notes column is the 27th: the grid grows to hold it.
    EXPECT_EQ(grid.ColCount(), 27);
}

// A join point without any open pipe has no pressure: its pressure and grade
// line cells stay empty, whatever the node holds from an earlier solve.
TEST_F(ResultTablesTest, ANodeCutOffFromEveryTankShowsNoPressure) {
    TNode lone;
    lone.SetType(TNodeType::JoinPoint);
    lone.X = 900;
    lone.Y = 900;
    lone.Elevation_m = 3.0;
    lone.Pressure_FluidHead_m = 42.0;
    const std::int32_t id = t.Network.AddNode(lone);
    t.Network.GetNode(id).SetName("Lone");
    EXPECT_EQ(network.PopulateStringGridNodeResults(grid, 0), 6);
    ExpectRow(grid, 6,
              {std::to_string(id), "Join Point", "Lone", "3.000", "N/A", "N/A", "", "", "0.0000", "0.0000", "0.0000",
               "0.0000", ""});
    // The connected join point keeps its pressure.
    EXPECT_EQ(grid.GetCell(6, 3), "1.1255");
}

TEST_F(ResultTablesTest, NodeResults) {
    EXPECT_EQ(network.PopulateStringGridNodeResults(grid, 0), 5);
    ExpectRow(grid, 0,
              {"Node Id", "Node Type", "Node", "Elevation", "Liquid Level", "Surface Press.", "Press. at Node",
               "HGL at Node", "Demand In", "Demand Out", "Total Flow In", "Total Flow Out", "Notes"});
    ExpectRow(grid, 1,
              {kUntouched, "", "", "m", "m", "bar.g", "bar.g", "m.hd Fluid", "m\xC2\xB3/sec", "m\xC2\xB3/sec",
               "m\xC2\xB3/sec", "m\xC2\xB3/sec", kUntouched});
    // Tank: HGL = 2.0 + 10.0; nothing arrives (the closed pipe does not count), P1 leaves.
    ExpectRow(grid, 2,
              {"1", "Tank", "N1", "10.000", "2.000", "0.0000", "0.1957", "12.000", "N/A", kUntouched, "0.0000",
               "0.0140", "Supply tank north yard"});
    // Join point: in = 0.001 + 0.014, out = 0.003 + 0.010 + 0.002.
    ExpectRow(grid, 3,
              {"2", "Join Point", "N2", "0.000", "N/A", "N/A", "1.1255", "11.500", "0.0010", "0.0030", "0.0150",
               "0.0150", ""});
    // End pressure node: HGL = 0.5 / F + 5 = 10.1088 m.
    ExpectRow(grid, 4,
              {"3", "Demand Pressure", "N3", "5.000", "N/A", "0.5000", "0.5000", "10.109", "N/A", kUntouched,
               "0.0100", "0.0000", ""});
    ExpectRow(grid, 5,
              {"4", "Demand Pressure", "N4", "2.000", "N/A", "0.0000", "0.0000", "2.000", "N/A", kUntouched,
               "0.0020", "0.0000", ""});
    EXPECT_EQ(grid.ColumnWidth(0), 40);
    EXPECT_EQ(grid.ColumnWidth(1), 86);
    EXPECT_EQ(grid.RowCount(), 28);
}

TEST_F(ResultTablesTest, PumpResults) {
    EXPECT_EQ(network.PopulateStringGridPumpResults(grid, 0), 3);
    ExpectRow(grid, 0,
              {"Pipe Id", "Pipe Name", "Pump Name", "Speed", "Pref. Op From", "Pref. Op To", "Flow In/Out",
               "Velocity", "Pump Head (+)", "Pump NPSHr", "Pump NPSHa", "Pump Efficiency", "Pump Notes"});
    ExpectRow(grid, 1,
              {kUntouched, "", "", "rpm", "m\xC2\xB3/sec", "m\xC2\xB3/sec", "m\xC2\xB3/sec", "m/sec", "m.hd Fluid",
               "m.hd", "m.hd (absolute)", "Percentage", kUntouched});
    // Best efficiency at 0.02 m³/sec: preferred region 40 % = 0.008 to 120 % = 0.024.
    ExpectRow(grid, 2,
              {"2", "Pump Line", "Duty", "2900", "0.0080", "0.0240", "0.0100", "6.017", "45.321", "2.004", "20.608",
               "60.00", "Spare impeller in store"});
    // A switched-off pump is listed too. At a set flow rate it has no NPSHr or
    // efficiency; without curve points its preferred region is 0 to 0, so any
    // flow lies outside. NPSHa = 11.5 + (1.01325 - 0.024) / F = 21.6078 m.
    ExpectRow(grid, 3,
              {"3", "Bypass", "Booster", "1450", "0.0000", "0.0000", "0.0020 Outside Pref. Op. Region", "1.019",
               "0.000", "Not Set", "21.608", "Not Set", ""});
    EXPECT_EQ(grid.GetCell(0, 4), kUntouched);
    EXPECT_EQ(grid.RowCount(), 28);
}

TEST_F(ResultTablesTest, FittingResultsTakeOneRowPerFittingWithoutUnitsRow) {
    EXPECT_EQ(network.PopulateStringGridFittingResults(grid, 0), 5);
    ExpectRow(grid, 0,
              {"Pipe Id", "Pipe", "Total K", "Description", "K Value", "Imperial Size", "Metric Size",
               "Database Ref"});
    ExpectRow(grid, 1, {"1", "Suction", "0.00", "No Fittings", kUntouched});
    ExpectRow(grid, 2, {"2", "Pump Line", "1.94", "Elbow 90 long radius", "0.43", "4\"", "100 mm", "PRad"});
    ExpectRow(grid, 3, {kUntouched, kUntouched, kUntouched, "Gate valve, open", "0.15", "4\"", "100 mm", "GateV"});
    ExpectRow(grid, 4, {kUntouched, kUntouched, kUntouched, "Pipe entrance, sharp", "0.50", "", "", "EntSh"});
    // The next pipe starts on the row after the last fitting.
    ExpectRow(grid, 5, {"3", "Bypass", "0.00", "No Fittings", kUntouched});
    EXPECT_EQ(grid.GetCell(0, 6), kUntouched);
}

TEST_F(ResultTablesTest, FittingsSwitchedOffAreStillListedButLoseNothing) {
    t.Network.GetPipe(t.PumpLine).CalcFittings = false;
    network.PopulateStringGridFittingResults(grid, 0);
    EXPECT_EQ(grid.GetCell(3, 4), "Pipe entrance, sharp");
    network.PopulateStringGridPipeResults(grid, 0);
    EXPECT_EQ(grid.GetCell(19, 3), "none");
}

TEST_F(ResultTablesTest, PipeMaterialResults) {
    EXPECT_EQ(network.PopulateStringGridPipeMaterialResults(grid, 0), 4);
    ExpectRow(grid, 0,
              {"Pipe Id", "Pipe Name", "Material", "Schedule", "Roughness", "Inner Diameter", "Wall Thickness",
               "Outer Diameter", "Length", "Weight", "Internal Volume", "Surface Area", "Pipe Notes"});
    ExpectRow(grid, 1,
              {kUntouched, "", "", "Class", "mm", "mm", "mm", "mm", "m", "kgs (full length)", "m\xC2\xB3",
               "m\xC2\xB2", kUntouched});
    // Weight 16.0751 kg/m * 50 m; volume pi 0.1² / 4 * 50 = 0.39270 m³; area pi 0.1143 * 50 = 17.9542 m².
    ExpectRow(grid, 2,
              {"1", "Suction", "Steel", "Sch. 40", "0.046", "100.000", "6.020", "114.300", "50.000", "803.755",
               "0.393", "17.954", "Tank outlet see P&ID 12"});
    // 16.0751 * 30 = 482.253; pi 0.046² / 4 * 30 = 0.04986 m³; pi 0.1143 * 30 = 10.7725 m².
    ExpectRow(grid, 3,
              {"2", "Pump Line", "Steel", "Sch. 40", "0.046", "46.000", "6.020", "114.300", "30.000", "482.253",
               "0.050", "10.773", "Duty pump"});
    // No weight per metre and no outer diameter: those totals stay empty. pi 0.05² / 4 * 20 = 0.03927 m³.
    ExpectRow(grid, 4,
              {"3", "Bypass", "Steel", "Sch. 40", "0.046", "50.000", "6.020", "0.000", "20.000", "", "0.039", "",
               ""});
    // Closed pipes are not part of the material table.
    EXPECT_EQ(grid.GetCell(0, 5), kUntouched);
}

TEST_F(ResultTablesTest, FluidResults) {
    EXPECT_EQ(network.PopulateStringGridFluidResults(grid, 3), 5);
    ExpectRow(grid, 3,
              {kUntouched, "Fluid Name", "Chemical Formula", "Temperature", "Centistokes", "Centipoise", "Density",
               "Vapour Pressure", "State"});
    ExpectRow(grid, 4, {kUntouched, "", "", "\xC2\xB0" "C", "", "", "kg/m\xC2\xB3", "bar.a", ""});
    // 293.15 K = 20 °C; vapour pressure 0.024 bar a shown in bar.a with its 6 places.
    ExpectRow(grid, 5, {kUntouched, "Water", "H2O", "20.000", "1.000", "1.002", "998.000", "0.024000", "Liquid"});
    EXPECT_EQ(grid.ColumnWidth(1), 86);
    EXPECT_EQ(grid.RowCount(), 28);
}

TEST_F(ResultTablesTest, AllResultsPutEachSectionTwoRowsBelowThePrevious) {
    network.PopulateStringGridAllResults(grid);
    // Fluid at rows 1 to 3.
    EXPECT_EQ(grid.GetCell(1, 1), "Fluid Name");
    EXPECT_EQ(grid.GetCell(1, 3), "Water");
    EXPECT_EQ(grid.GetCell(1, 4), kUntouched);
    // Pipe results: title at 3 + 2 = 5, heading 6, units 7, open pipes 8 to 10, the closed pipe 11.
    EXPECT_EQ(grid.GetCell(1, 5), "Pipe Results");
    EXPECT_EQ(grid.GetCell(0, 5), kUntouched);
    EXPECT_EQ(grid.GetCell(0, 6), "Pipe Id");
    EXPECT_EQ(grid.GetCell(3, 7), "mm");
    EXPECT_EQ(grid.GetCell(1, 8), "Suction");
    EXPECT_EQ(grid.GetCell(2, 11), "Closed.  4\" Steel Sch. 40");
    // Fitting results: title at 11 + 2 = 13, heading 14, rows 15 to 19.
    EXPECT_EQ(grid.GetCell(1, 13), "Fitting Results");
    EXPECT_EQ(grid.GetCell(3, 14), "Description");
    EXPECT_EQ(grid.GetCell(3, 15), "No Fittings");
    EXPECT_EQ(grid.GetCell(1, 19), "Bypass");
    // Pump results: title 21, heading 22, units 23, rows 24 and 25.
    EXPECT_EQ(grid.GetCell(1, 21), "Pump Results");
    EXPECT_EQ(grid.GetCell(2, 22), "Pump Name");
    EXPECT_EQ(grid.GetCell(2, 25), "Booster");
    // Node results: title 27, heading 28, units 29, nodes 30 to 33.
    EXPECT_EQ(grid.GetCell(1, 27), "Node Results");
    EXPECT_EQ(grid.GetCell(1, 28), "Node Type");
    EXPECT_EQ(grid.GetCell(1, 33), "Demand Pressure");
    // The last table sets the row count (33 + 2) and the second column's width.
    EXPECT_EQ(grid.RowCount(), 35);
    EXPECT_EQ(grid.ColumnWidth(1), 86);
}

}  // namespace
