#pragma once

#include <string>

#include "foundations/VM4_StringGrid.h"

// The text grid the result and data tables are filled into: cells by column and
// row (both 0-based), a row and a column count, heading rows that stay in view
// and a width per column. The core fills it once; the desktop's grid widget, the
// in-memory grid of the command-line tool and the tests each implement it.
//
// Writing a cell outside the grid grows the grid to hold it, so that a table
// never loses a cell because its caller sized the grid too small. Setting a
// smaller count afterwards drops the rows or columns beyond it.
class ITableGrid : public IStringGrid {
public:
    // The cell's text; empty for a cell never written or outside the grid.
    virtual std::string GetCell(int column, int row) const = 0;

    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual int ColCount() const = 0;
    virtual void SetColCount(int columns) = 0;

    // Rows at the top that are headings, not data.
    virtual int FixedRows() const = 0;
    virtual void SetFixedRows(int rows) = 0;

    // Widths in pixels of the screen grid.
    virtual int ColumnWidth(int column) const = 0;
    virtual void SetColumnWidth(int column, int width_px) = 0;
};
