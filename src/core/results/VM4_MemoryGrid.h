#pragma once

#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "results/VM4_TableGrid.h"

VELMORA_DECLARE_ERROR(EMemoryGrid);

// A table grid held in memory, for the command-line tool and the tests: the
// same cells, counts and widths the screen grid would show, without a screen.
class TMemoryGrid : public ITableGrid {
public:
    static constexpr int kDefaultColumnWidth_px = 64;

    TMemoryGrid() = default;
    TMemoryGrid(int columns, int rows);

    // Raises EMemoryGrid for a negative column or row.
    void SetCell(int column, int row, const std::string& text) override;
    std::string GetCell(int column, int row) const override;

    int RowCount() const override { return rowCount_; }
    // Raises EMemoryGrid for a negative count.
    void SetRowCount(int rows) override;
    int ColCount() const override { return static_cast<int>(columns_.size()); }
    void SetColCount(int columns) override;

    int FixedRows() const override { return fixedRows_; }
    void SetFixedRows(int rows) override;

    int ColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width_px) override;

    // Every cell emptied; counts, heading rows and widths stay.
    void ClearCells();

private:
    struct TColumn {
        int Width_px = kDefaultColumnWidth_px;
        std::vector<std::string> Cells;
    };

    static void checkNotNegative(int value, const char* method);

    std::vector<TColumn> columns_;
    int rowCount_ = 0;
    int fixedRows_ = 0;
};
