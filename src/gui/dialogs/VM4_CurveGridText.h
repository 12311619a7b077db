#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "foundations/VM4_Input_Validation.h"

// The text of a curve grid as the user typed it, cell (column, row) 0-based.
// A cell outside the grid reads as blank, so that a scan may run one row past
// the last as the checks do.
template <int Columns, int Rows>
class TCurveGridText {
public:
    const std::string& Cell(int column, int row) const {
        static const std::string blank;
        if (!inside(column, row)) return blank;
        return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    void SetCell(int column, int row, const std::string& text) {
        if (inside(column, row)) cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
    }
    bool RowIsBlank(int row) const {
        for (int column = 0; column < Columns; ++column)
            if (!Cell(column, row).empty()) return false;
        return true;
    }
    // The cell as a number, either decimal mark; unreadable text is not Valid.
    TParsedNumber<double> NumberIn(int column, int row) const { return ParseDecimalText(Cell(column, row), true, true); }
    // Whether a column's value may not rise (`falling`) or fall from the row
    // above; cells that are not numbers are left to the reading, which names them.
    bool Keeps(int column, int row, bool falling) const {
        const auto above = NumberIn(column, row - 1);
        const auto here = NumberIn(column, row);
        if (!above.Valid || !here.Valid) return true;
        return falling ? here.Value <= above.Value : here.Value >= above.Value;
    }
    bool Rises(int column, int row) const {
        const auto above = NumberIn(column, row - 1);
        const auto here = NumberIn(column, row);
        return !above.Valid || !here.Valid || here.Value > above.Value;
    }

private:
    static bool inside(int column, int row) { return row >= 0 && row < Rows && column >= 0 && column < Columns; }

    std::array<std::array<std::string, Columns>, Rows> cells_{};
};
