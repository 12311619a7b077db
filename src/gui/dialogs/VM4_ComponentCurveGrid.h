#pragma once

#include <string>

#include "dialogs/VM4_CurveGridText.h"

#include "dialogs/VM4_PumpCurveGrid.h"

class TComponentPressure;

// The units a component curve is shown and typed in.
struct TComponentCurveUnits {
    int Flow = 0;
    int Loss = 0;
    double Density_kgm3 = 1000.0;
};

// The text of the component dialog's curve grid (2 columns: flow, loss; rows
// 1..8 hold points 1..8, row 0 the headings) and the rules that turn it into a
// component curve, apart from the widget so that the checks run on plain text.
class TComponentCurveGrid {
public:
    static constexpr int Columns = 2;
    static constexpr int FirstPointRow = 1;
    static constexpr int RowCount = 9;

    const std::string& Cell(int column, int row) const { return text_.Cell(column, row); }
    void SetCell(int column, int row, const std::string& text) { text_.SetCell(column, row, text); }

    TCurveGridCheck Validate() const;
    // Validate, then the points into the component's curve in SI units.
    TCurveGridCheck ReadInto(TComponentPressure& component, const TComponentCurveUnits& units) const;
    // Nothing typed but the fixed "0" of the first flow.
    bool IsEmpty() const;
    void ShowComponent(const TComponentPressure& component, const TComponentCurveUnits& units);
    void Clear();

private:
    std::string compareWithRowAbove(int row) const;

    TCurveGridText<Columns, RowCount> text_;
};
