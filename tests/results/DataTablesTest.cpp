// The input data tables of the grid view, on the network of TableTestSupport.h.

#include <gtest/gtest.h>

#include "TableTestSupport.h"
#include "foundations/VM4_Units.h"

namespace {

class DataTablesTest : public ::testing::Test {
protected:
    TTableNetwork t;
    TMemoryGrid grid = PrefilledGrid();
    const TNetwork& network = t.Network;
};

TEST_F(DataTablesTest, PipeData) {
    EXPECT_EQ(network.PopulateStringGridPipeData(grid, 0), 4);
    ExpectRow(grid, 0,
              {"Pipe Id", "Pipe Name", "Nom. size", "Material", "Sch / Class", "Diameter", "Roughness", "Length",
               "Pipe Notes"});
    ExpectRow(grid, 1, {kUntouched, kUntouched, kUntouched, kUntouched, kUntouched, "mm", "mm", "m", kUntouched});
    // Roughness 0.000046 m = 0.046 mm, shown with 6 places.
    ExpectRow(grid, 2,
              {"1", "Suction", "4\"", "Steel", "Sch. 40", "100.000", "0.046000", "50.000", "Tank outlet see P&ID 12"});
    ExpectRow(grid, 3, {"2", "Pump Line", "4\"", "Steel", "Sch. 40", "46.000", "0.046000", "30.000", "Duty pump"});
    ExpectRow(grid, 4, {"3", "Bypass", "4\"", "Steel", "Sch. 40", "50.000", "0.046000", "20.000", ""});
    // Only the open pipes: the closed one is not in the table.
    EXPECT_EQ(grid.GetCell(0, 5), kUntouched);
    // Last row + 2, without the results' minimum of 28.
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.ColumnWidth(1), 80);
}

TEST_F(DataTablesTest, TankData) {
    EXPECT_EQ(network.PopulateStringGridTankData(grid, 0), 2);
    ExpectRow(grid, 0, {"Id", "Node Type", "Node", "Elevation", "Liquid Level", "Surface Press.", "Node Notes"});
    ExpectRow(grid, 1, {kUntouched, kUntouched, kUntouched, "m", "m", "bar.g", kUntouched});
    ExpectRow(grid, 2, {"1", "Tank", "N1", "10.000", "2.000", "0.0000", "Supply tank north yard"});
    EXPECT_EQ(grid.GetCell(0, 3), kUntouched);
    // The node data tables leave the row count to the grid view.
    EXPECT_EQ(grid.RowCount(), 2000);
    EXPECT_EQ(grid.ColumnWidth(0), 40);
    EXPECT_EQ(grid.ColumnWidth(1), 86);
}

TEST_F(DataTablesTest, EndPressureData) {
    EXPECT_EQ(network.PopulateStringGridEndPressureData(grid, 0), 3);
    ExpectRow(grid, 0, {"Node Id", "Node Type", "Node", "Elevation", "End Pressure", "Node Notes"});
    ExpectRow(grid, 1, {kUntouched, kUntouched, kUntouched, "m", "bar.g", kUntouched});
    ExpectRow(grid, 2, {"3", "Demand Pressure", "N3", "5.000", "0.5000", ""});
    ExpectRow(grid, 3, {"4", "Demand Pressure", "N4", "2.000", "0.0000", ""});
    EXPECT_EQ(grid.GetCell(0, 4), kUntouched);
    EXPECT_EQ(grid.RowCount(), 2000);
}

TEST_F(DataTablesTest, EndPressureDataUseTheSurfacePressureUnitTheyAreTypedIn) {
    t.Network.Settings.SurfacePressureUnit = UNIT_KPA_G;
    t.Network.Settings.FluidPressureUnit = UNIT_PSI_G;
    network.PopulateStringGridEndPressureData(grid, 0);
    EXPECT_EQ(grid.GetCell(4, 1), "kPa.g");
    // 0.5 bar = 50 kPa.
    EXPECT_EQ(grid.GetCell(4, 2), "50.000");
}

TEST_F(DataTablesTest, JointData) {
    EXPECT_EQ(network.PopulateStringGridJointData(grid, 5), 7);
    ExpectRow(grid, 5,
              {"Node Id", "Node Type", "Node", "Elevation", "In Flow Demand", "Out Flow Demand", "Node Notes"});
    ExpectRow(grid, 6, {kUntouched, kUntouched, kUntouched, "m", "m\xC2\xB3/sec", "m\xC2\xB3/sec", kUntouched});
    ExpectRow(grid, 7, {"2", "Join Point", "N2", "0.000", "0.0010", "0.0030", ""});
    EXPECT_EQ(grid.GetCell(0, 8), kUntouched);
}

TEST_F(DataTablesTest, ImperialJointDemands) {
    t.Network.SetImperialUnits();
    network.PopulateStringGridJointData(grid, 0);
    // 0.001 / 0.3048³ = 0.035315 ft³/sec; 0.003 m³/sec = 0.105944 ft³/sec
    ExpectRow(grid, 2, {"2", "Join Point", "N2", "0.000", "0.0353", "0.1059", ""});
}

}  // namespace
