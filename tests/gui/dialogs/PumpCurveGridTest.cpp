#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/VM4_ComponentCurveGrid.h"
#include "dialogs/VM4_PumpCurveGrid.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_ComponentPressure_Class.h"
#include "model/VM4_Pump_Class.h"

namespace {

using TRows = std::vector<std::vector<std::string>>;

TPumpCurveGrid PumpGrid(const TRows& rows) {
    TPumpCurveGrid grid;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetCell(static_cast<int>(c), TPumpCurveGrid::FirstPointRow + static_cast<int>(r), rows[r][c]);
    return grid;
}

TComponentCurveGrid ComponentGrid(const TRows& rows) {
    TComponentCurveGrid grid;
    grid.Clear();
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetCell(static_cast<int>(c), TComponentCurveGrid::FirstPointRow + static_cast<int>(r), rows[r][c]);
    return grid;
}

const TPumpCurveUnits kMetric{UNIT_M3_HOUR, UNIT_M_H2O, UNIT_M_H2O, 998.0};

TEST(PumpCurveRules, EachFaultyCurveGetsItsOwnMessage) {
    const std::string checkEntries = "\r\rCheck your entries and adjust the values to valid numbers.";
    const struct {
        TRows rows;
        std::string message;
    } cases[] = {
        {{{"0", "32", "0", "1"}, {"10", "3x", "55", "1.5"}, {"20", "26", "70", "2"}},
         "Pump data for row 3 column 2 is not valid." + checkEntries},
        {{{"0", "32", "0", "1"}, {"10", "30", "55", "1.5"}, {}, {"30", "20", "65", "3"}},
         "Pump data points cannot contain a blank row between two completed rows.\r\rCheck your entry and adjust the "
         "values."},
        {{{"0", "32", "0", "1"}, {"10", "30", "55", "1.5"}},
         "At least 3 points on the pump curve must be specified\rbefore a graph can be drawn.\r\rPlease enter the "
         "values in grid on the left hand side."},
        {{{"0", "32", "0", "1"}, {"10", "30", "55", "1.5"}, {"10", "26", "70", "2"}},
         "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid for "
         "point 3."},
        {{{"0", "32", "0", "1"}, {"10", "30", "55", "1.5"}, {"20", "31", "70", "2"}},
         "The head points entered must always be decreasing in value.\r\rPlease re-enter the head value in grid for "
         "point 3."},
        {{{"0", "32", "0", "1"}, {"10", "30", "55", "1.5"}, {"20", "26", "70", "1.4"}},
         "The NPSHr points entered must always be increasing in value.\r\rPlease re-enter the NPSHr value in grid for "
         "point 3."},
    };
    for (const auto& c : cases) {
        TPumpCurveGrid grid = PumpGrid(c.rows);
        const TCurveGridCheck check = grid.Validate();
        EXPECT_FALSE(check.Valid);
        EXPECT_EQ(check.Message, c.message);
    }
}

TEST(PumpCurveRules, EqualHeadsAndNPSHrPassAndBlankOptionalColumnsBecomeZeros) {
    TPumpCurveGrid grid = PumpGrid({{"0", "30", "", ""}, {"10", "30", "", ""}, {"20", "25", "", ""}});
    TPump pump;
    const TCurveGridCheck check = grid.ReadInto(pump, kMetric);
    ASSERT_TRUE(check.Valid) << check.Message;
    EXPECT_EQ(pump.PointCount(), 3);
    EXPECT_EQ(grid.Cell(2, 3), "0");
    EXPECT_EQ(grid.Cell(3, 4), "0");
    EXPECT_NEAR(pump.Point(2).Flow_m3s, 10.0 / 3600.0, 1e-15);
}

TEST(PumpCurveRules, OneBlankEfficiencyAmongFilledOnesNamesThePoint) {
    TPumpCurveGrid grid = PumpGrid({{"0", "32", "0", "1"}, {"10", "30", "", "1.5"}, {"20", "26", "70", "2"}});
    TPump pump;
    const TCurveGridCheck check = grid.ReadInto(pump, kMetric);
    EXPECT_FALSE(check.Valid);
    EXPECT_EQ(check.Message, "Pump data for row 2 is not valid.\r\rCheck your entries and adjust the values to valid "
                             "numbers.");
}

TEST(PumpCurveRules, AllBlankOrZeroIsEmpty) {
    EXPECT_TRUE(PumpGrid({{"0", "", "0", ""}}).IsEmpty());
    EXPECT_FALSE(PumpGrid({{"0", "5", "0", ""}}).IsEmpty());
}

TEST(ComponentCurveRules, EachFaultyCurveGetsItsOwnMessage) {
    const struct {
        TRows rows;
        std::string message;
    } cases[] = {
        {{{"0", "1"}, {"0.01", "a"}, {"0.02", "2"}},
         "Component pressure data for row 2 column 2 is not valid.\r\rCheck your entries and adjust the values to "
         "valid numbers."},
        {{{"0", "1"}, {"0.01", "1.5"}},
         "At least 3 points on the component pressure curve must be specified.\r\rPlease enter additional values in "
         "grid."},
        {{{"0", "1"}, {"0.01", "1.5"}, {"", ""}, {"0.03", "3"}},
         "Component pressure points cannot contain a blank row between two completed rows.\r\rCheck your entry and "
         "adjust the values."},
        {{{"0", "1"}, {"0.01", "1.5"}, {"0.01", "2.5"}},
         "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid for "
         "point 3."},
        {{{"0", "1"}, {"0.01", "1.5"}, {"0.02", "1.4"}},
         "The component loss points entered must always be increasing with increased flow.\r\rPlease re-enter the "
         "loss value in grid for point 3."},
    };
    for (const auto& c : cases) {
        const TCurveGridCheck check = ComponentGrid(c.rows).Validate();
        EXPECT_FALSE(check.Valid);
        EXPECT_EQ(check.Message, c.message);
    }
}

TEST(ComponentCurveRules, AValidCurveIsReadInSIAndANegativeLossIsRefused) {
    const TComponentCurveUnits units{UNIT_M3_SEC, UNIT_BAR_G, 1000.0};
    TComponentPressure component;
    const TCurveGridCheck check =
        ComponentGrid({{"0", "0.1"}, {"0.01", "0.1"}, {"0.02", "0.25"}}).ReadInto(component, units);
    ASSERT_TRUE(check.Valid) << check.Message;
    ASSERT_EQ(component.PointCount(), 3);
    EXPECT_NEAR(component.Point(3).Loss_mH2O, 0.25 * 100000.0 / (1000.0 * 9.80665), 1e-9);

    const TCurveGridCheck negative =
        ComponentGrid({{"0", "-1"}, {"0.01", "0.1"}, {"0.02", "0.25"}}).ReadInto(component, units);
    EXPECT_EQ(negative.Message,
              "Component Pressure data for row 1 is not valid.\r\rCheck your entries and adjust the values to valid "
              "numbers.");
}

}  // namespace
