#include "results/VM4_ResultsGridModel.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "results/VM4_Spreadsheet_Functions.h"

namespace {

const std::string kNoText;

std::size_t toIndex(int value) { return static_cast<std::size_t>(value); }

// "A" for the first column, "Z" for the 26th, "AA" after it.
QString columnLetters(int column) {
    const std::string cellName = SpreadsheetCellName(1, column + 1);
    return QString::fromStdString(cellName.substr(0, cellName.size() - 1));
}

}  // namespace

TResultsGridModel::TResultsGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int TResultsGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows(); }

int TResultsGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant TResultsGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return QString::fromStdString(Cell(index.column(), index.row()));
}

QVariant TResultsGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0) return {};
    return columnLetters(section);
}

Qt::ItemFlags TResultsGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return editable_ ? flags | Qt::ItemIsEditable : flags;
}

const std::string& TResultsGridModel::Cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= Rows()) return kNoText;
    return rows_[toIndex(row)][toIndex(column)];
}

bool TResultsGridModel::StoreCell(int column, int row, const std::string& text) {
    const bool grows = column >= columns_ || row >= Rows();
    if (grows) Resize(std::max(columns_, column + 1), std::max(Rows(), row + 1));
    rows_[toIndex(row)][toIndex(column)] = text;
    return grows;
}

void TResultsGridModel::Resize(int columns, int rows) {
    columns_ = columns;
    rows_.resize(toIndex(rows));
    for (std::vector<std::string>& row : rows_) row.resize(toIndex(columns));
}

void TResultsGridModel::EmptyCells() {
    for (std::vector<std::string>& row : rows_)
        for (std::string& cell : row) cell.clear();
}

void TResultsGridModel::ReorderColumns(const std::vector<int>& order) {
    for (std::vector<std::string>& row : rows_) {
        std::vector<std::string> reordered(row.size());
        for (std::size_t i = 0; i < order.size() && i < row.size(); ++i)
            reordered[i] = std::move(row[toIndex(order[i])]);
        row = std::move(reordered);
    }
}

void TResultsGridModel::CellChanged(int column, int row) {
    const QModelIndex cell = index(row, column);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}
