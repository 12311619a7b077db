#pragma once

#include <string>

#include "dialogs/VM4_CurveGridText.h"

class TPump;

// The units a pump curve is shown and typed in, with the density that turns
// fluid heads into metres of water.
struct TPumpCurveUnits {
    int Flow = 0;
    int Head = 0;
    int NPSHr = 0;
    double Density_kgm3 = 1000.0;
};

// Outcome of checking or reading a curve grid; Message is empty when valid.
struct TCurveGridCheck {
    bool Valid = true;
    int FirstBlankRow = 0;
    std::string Message;
};

// The text of the pump dialog's curve grid (4 columns: flow, head, efficiency,
// NPSHr; rows 2..11 hold points 1..10) and the rules that turn it into a pump.
// Kept apart from the widget so that every check runs on plain text; the
// dialog copies the cells in before a check and out after a fill.
class TPumpCurveGrid {
public:
    static constexpr int Columns = 4;
    static constexpr int FirstPointRow = 2;
    static constexpr int RowCount = 12;

    // Rows outside the grid (row 12 in particular) read as blank.
    const std::string& Cell(int column, int row) const { return text_.Cell(column, row); }
    void SetCell(int column, int row, const std::string& text) { text_.SetCell(column, row, text); }

    // Efficiency or NPSHr columns left blank (or all zero) become zeros.
    void FillOptionalColumns();
    // The curve rules with the exact messages the dialog shows.
    TCurveGridCheck Validate();
    // Validate, then the points into the pump's curve in SI units. On failure
    // the message says which point could not be read; the pump's curve may
    // then hold the points read so far, as the dialog keeps it as a working copy.
    TCurveGridCheck ReadInto(TPump& pump, const TPumpCurveUnits& units);
    // Every point cell blank or exactly "0".
    bool IsEmpty() const;
    // Points of the pump in the display units; shut-off flow and efficiency forced to 0.
    void ShowPump(TPump& pump, const TPumpCurveUnits& units);

private:
    int lastCurveRow() const;
    void zeroColumnIfUnused(int column, int lastRow);
    TCurveGridCheck checkCharacters();
    std::string compareWithRowAbove(int row) const;

    TCurveGridText<Columns, RowCount> text_;
};
