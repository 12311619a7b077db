#include "dialogs/VM4_ComponentCurveGrid.h"

#include <cstddef>

#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_ComponentPressure_Class.h"

namespace {

const std::string kCheckEntries = "Check your entries and adjust the values to valid numbers.";

TCurveGridCheck invalid(int firstBlankRow, const std::string& message) { return {false, firstBlankRow, message}; }

}  // namespace

std::string TComponentCurveGrid::compareWithRowAbove(int row) const {
    const std::string point = std::to_string(row) + ".";
    if (!text_.Rises(0, row))
        return "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid "
               "for point " + point;
    if (!text_.Keeps(1, row, false))
        return "The component loss points entered must always be increasing with increased flow.\r\rPlease re-enter "
               "the loss value in grid for point " + point;
    return "";
}

TCurveGridCheck TComponentCurveGrid::Validate() const {
    int firstBlank = RowCount;
    for (int row = FirstPointRow; row < RowCount; ++row) {
        for (int column = 0; column < Columns; ++column)
            if (!IsDecimalText(Cell(column, row)))
                return invalid(firstBlank, "Component pressure data for row " + std::to_string(row) + " column " +
                                               std::to_string(column + 1) + " is not valid." + "\r\r" + kCheckEntries);
        if (text_.RowIsBlank(row)) {
            if (firstBlank == RowCount) firstBlank = row;
        } else if (firstBlank != RowCount) {
            return invalid(firstBlank,
                           "Component pressure points cannot contain a blank row between two completed rows.\r\r"
                           "Check your entry and adjust the values.");
        }
    }
    if (firstBlank < 4)
        return invalid(firstBlank,
                       "At least 3 points on the component pressure curve must be specified.\r\rPlease enter "
                       "additional values in grid.");
    for (int row = FirstPointRow + 1; row < firstBlank; ++row) {
        const std::string message = compareWithRowAbove(row);
        if (!message.empty()) return invalid(firstBlank, message);
    }
    return {true, firstBlank, ""};
}

TCurveGridCheck TComponentCurveGrid::ReadInto(TComponentPressure& component, const TComponentCurveUnits& units) const {
    TCurveGridCheck check = Validate();
    if (!check.Valid) return check;
    component.ClearComponentPressureCurve();
    for (int row = FirstPointRow; row < check.FirstBlankRow; ++row) {
        const TParsedNumber<double> flow = ParseDecimalText(Cell(0, row), true, false);
        const TParsedNumber<double> loss = ParseDecimalText(Cell(1, row), true, false);
        if (!flow.Valid || !loss.Valid)
            return invalid(check.FirstBlankRow, "Component Pressure data for row " + std::to_string(row) +
                                                    " is not valid." + "\r\r" + kCheckEntries);
        component.AddCurvePoint(convertUnits(units.Flow, UNIT_M3_SEC, flow.Value),
                                convertPressureWithDensity(units.Loss, UNIT_M_H2O, loss.Value, units.Density_kgm3));
    }
    if (IsEmpty()) component.ClearComponentPressureCurve();
    return check;
}

bool TComponentCurveGrid::IsEmpty() const {
    int empty = 0;
    for (int row = FirstPointRow; row < RowCount; ++row)
        for (int column = 0; column < Columns; ++column)
            if (Cell(column, row).empty()) ++empty;
    return empty == (RowCount - FirstPointRow) * Columns - 1;
}

void TComponentCurveGrid::Clear() {
    for (int row = FirstPointRow; row < RowCount; ++row)
        for (int column = 0; column < Columns; ++column) SetCell(column, row, "");
    SetCell(0, FirstPointRow, "0");
}

void TComponentCurveGrid::ShowComponent(const TComponentPressure& component, const TComponentCurveUnits& units) {
    Clear();
    for (int pointNo = 1; pointNo <= component.PointCount(); ++pointNo) {
        const TComponentCurvePoint& p = component.Point(pointNo);
        SetCell(0, pointNo, convertUnitsToDisplayText(UNIT_M3_SEC, units.Flow, p.Flow_m3s));
        SetCell(1, pointNo,
                convertPressureWithDensityToText(UNIT_M_H2O, units.Loss, 3, p.Loss_mH2O, units.Density_kgm3));
    }
    SetCell(0, FirstPointRow, "0");
}
