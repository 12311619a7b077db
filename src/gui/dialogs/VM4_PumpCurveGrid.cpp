#include "dialogs/VM4_PumpCurveGrid.h"

#include <cstddef>
#include <cstdio>
#include <vector>

#include "foundations/VM4_EntryValidation.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Pump_Class.h"

namespace {

const std::string kCheckEntries = "Check your entries and adjust the values to valid numbers.";

std::string invalidCellMessage(int row, int column) {
    return "Pump data for row " + std::to_string(row) + " column " + std::to_string(column) + " is not valid." +
           "\r\r" + kCheckEntries;
}

TCurveGridCheck invalid(int firstBlankRow, const std::string& message) { return {false, firstBlankRow, message}; }

// Cells hold what the user typed; comparisons use the number it reads as.
TParsedNumber<double> numberIn(const std::string& text) { return ParseDecimalText(text, true, true); }

bool isZeroOrBlank(const std::string& text) {
    if (text.empty()) return true;
    const TParsedNumber<double> n = numberIn(text);
    return n.Valid && n.Value == 0.0;
}

// Efficiencies are shown as typed: shortest form, no trailing zeros.
std::string formatGeneral(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", x);
    return ToSystemDecimalMark(text);
}

// The shut-off point has no flow and no efficiency whatever a file says; the
// pieces are refitted only when that changed anything.
void forceShutOffPoint(TPump& pump) {
    if (pump.PointCount() == 0) return;
    const TPumpCurvePoint first = pump.Point(1);
    if (first.Flow_m3s == 0.0 && first.Efficiency == 0.0) return;
    std::vector<TPumpCurvePoint> points;
    for (int i = 1; i <= pump.PointCount(); ++i) points.push_back(pump.Point(i));
    points[0].Flow_m3s = 0.0;
    points[0].Efficiency = 0.0;
    pump.ClearPumpCurves();
    for (const auto& p : points) pump.AddPumpCurvePoint(p.Flow_m3s, p.Head_mH2O, p.Efficiency, p.NPSHr_mH2O);
}

}  // namespace

int TPumpCurveGrid::lastCurveRow() const {
    for (int row = FirstPointRow; row < RowCount; ++row)
        if (text_.RowIsBlank(row)) return row - 1;
    return RowCount;
}

void TPumpCurveGrid::zeroColumnIfUnused(int column, int lastRow) {
    for (int row = FirstPointRow; row <= lastRow; ++row)
        if (!isZeroOrBlank(Cell(column, row))) return;
    for (int row = FirstPointRow; row <= lastRow; ++row) SetCell(column, row, "0");
}

void TPumpCurveGrid::FillOptionalColumns() {
    const int lastRow = lastCurveRow();
    zeroColumnIfUnused(2, lastRow);
    zeroColumnIfUnused(3, lastRow);
}

// Characters first, then the shape of the table: no gap between points.
TCurveGridCheck TPumpCurveGrid::checkCharacters() {
    int firstBlank = 0;
    for (int row = FirstPointRow; row <= RowCount; ++row) {
        for (int column = 0; column < Columns; ++column)
            if (!IsDecimalText(Cell(column, row))) return invalid(firstBlank, invalidCellMessage(row, column + 1));
        if (text_.RowIsBlank(row)) {
            if (firstBlank == 0) firstBlank = row;
        } else if (firstBlank != 0) {
            return invalid(firstBlank,
                           "Pump data points cannot contain a blank row between two completed rows.\r\r"
                           "Check your entry and adjust the values.");
        }
    }
    return {true, firstBlank, ""};
}

// Empty when the row keeps the curve's shape. A cell that is not a number is
// left to the reading, which names the point.
std::string TPumpCurveGrid::compareWithRowAbove(int row) const {
    const std::string point = std::to_string(row - 1) + ".";
    if (!text_.Rises(0, row))
        return "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid "
               "for point " + point;
    if (!text_.Keeps(1, row, true))
        return "The head points entered must always be decreasing in value.\r\rPlease re-enter the head value in grid "
               "for point " + point;
    if (!text_.Keeps(3, row, false))
        return "The NPSHr points entered must always be increasing in value.\r\rPlease re-enter the NPSHr value in "
               "grid for point " + point;
    return "";
}

TCurveGridCheck TPumpCurveGrid::Validate() {
    FillOptionalColumns();
    TCurveGridCheck check = checkCharacters();
    if (!check.Valid) return check;
    if (check.FirstBlankRow < 5)
        return invalid(check.FirstBlankRow,
                       "At least 3 points on the pump curve must be specified\rbefore a graph can be drawn.\r\r"
                       "Please enter the values in grid on the left hand side.");
    for (int row = FirstPointRow + 1; row < check.FirstBlankRow; ++row) {
        const std::string message = compareWithRowAbove(row);
        if (!message.empty()) return invalid(check.FirstBlankRow, message);
    }
    return check;
}

TCurveGridCheck TPumpCurveGrid::ReadInto(TPump& pump, const TPumpCurveUnits& units) {
    TCurveGridCheck check = Validate();
    if (!check.Valid) return check;
    pump.ClearPumpCurves();
    for (int row = FirstPointRow; row < check.FirstBlankRow && row < RowCount; ++row) {
        TParsedNumber<double> value[Columns];
        for (int column = 0; column < Columns; ++column) value[column] = ParseDecimalText(Cell(column, row), true, false);
        for (const auto& v : value)
            if (!v.Valid)
                return invalid(check.FirstBlankRow, "Pump data for row " + std::to_string(row - 1) + " is not valid." +
                                                        "\r\r" + kCheckEntries);
        pump.AddPumpCurvePoint(convertUnits(units.Flow, UNIT_M3_SEC, value[0].Value),
                               convertPressureWithDensity(units.Head, UNIT_M_H2O, value[1].Value, units.Density_kgm3),
                               value[2].Value,
                               convertPressureWithDensity(units.NPSHr, UNIT_M_H2O, value[3].Value, units.Density_kgm3));
    }
    if (IsEmpty()) pump.ClearPumpCurves();
    return check;
}

bool TPumpCurveGrid::IsEmpty() const {
    for (int row = FirstPointRow; row < RowCount; ++row)
        for (int column = 0; column < Columns; ++column)
            if (!Cell(column, row).empty() && Cell(column, row) != "0") return false;
    return true;
}

void TPumpCurveGrid::ShowPump(TPump& pump, const TPumpCurveUnits& units) {
    for (int row = FirstPointRow; row < RowCount; ++row) {
        const int pointNo = row - 1;
        if (pointNo > pump.PointCount()) {
            for (int column = 0; column < Columns; ++column) SetCell(column, row, "");
            continue;
        }
        const TPumpCurvePoint& p = pump.Point(pointNo);
        SetCell(0, row, convertUnitsToDisplayText(UNIT_M3_SEC, units.Flow, p.Flow_m3s));
        SetCell(1, row, convertPressureWithDensityToText(UNIT_M_H2O, units.Head, 3, p.Head_mH2O, units.Density_kgm3));
        SetCell(2, row, formatGeneral(p.Efficiency));
        SetCell(3, row, convertPressureWithDensityToText(UNIT_M_H2O, units.NPSHr, 3, p.NPSHr_mH2O, units.Density_kgm3));
    }
    forceShutOffPoint(pump);
    SetCell(0, FirstPointRow, "0");
    SetCell(2, FirstPointRow, "0");
}
