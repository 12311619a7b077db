#include "results/VM4_MemoryGrid.h"

#include <cstddef>

namespace {

const std::string kNegativeIndex = " Failed: a row or column number cannot be negative";

std::size_t toIndex(int value) { return static_cast<std::size_t>(value); }

}  // namespace

TMemoryGrid::TMemoryGrid(int columns, int rows) {
    SetColCount(columns);
    SetRowCount(rows);
}

void TMemoryGrid::checkNotNegative(int value, const char* method) {
    if (value < 0) throw EMemoryGrid(std::string("TMemoryGrid.") + method + kNegativeIndex);
}

void TMemoryGrid::SetCell(int column, int row, const std::string& text) {
    checkNotNegative(column, "SetCell");
    checkNotNegative(row, "SetCell");
    if (column >= ColCount()) SetColCount(column + 1);
    if (row >= rowCount_) SetRowCount(row + 1);
    columns_[toIndex(column)].Cells[toIndex(row)] = text;
}

std::string TMemoryGrid::GetCell(int column, int row) const {
    if (column < 0 || row < 0 || column >= ColCount() || row >= rowCount_) return {};
    return columns_[toIndex(column)].Cells[toIndex(row)];
}

void TMemoryGrid::SetRowCount(int rows) {
    checkNotNegative(rows, "SetRowCount");
    rowCount_ = rows;
    for (TColumn& column : columns_) column.Cells.resize(toIndex(rows));
}

void TMemoryGrid::SetColCount(int columns) {
    checkNotNegative(columns, "SetColCount");
    columns_.resize(toIndex(columns));
    for (TColumn& column : columns_) column.Cells.resize(toIndex(rowCount_));
}

void TMemoryGrid::SetFixedRows(int rows) {
    checkNotNegative(rows, "SetFixedRows");
    fixedRows_ = rows;
}

int TMemoryGrid::ColumnWidth(int column) const {
    if (column < 0 || column >= ColCount()) return kDefaultColumnWidth_px;
    return columns_[toIndex(column)].Width_px;
}

void TMemoryGrid::SetColumnWidth(int column, int width_px) {
    checkNotNegative(column, "SetColumnWidth");
    checkNotNegative(width_px, "SetColumnWidth");
    if (column >= ColCount()) SetColCount(column + 1);
    columns_[toIndex(column)].Width_px = width_px;
}

void TMemoryGrid::ClearCells() {
    for (TColumn& column : columns_)
        for (std::string& cell : column.Cells) cell.clear();
}
