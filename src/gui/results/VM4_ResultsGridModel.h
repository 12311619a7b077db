#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

// The cells of the results grid: rows of texts, read-only to the views. The
// grid writes through the plain operations below and tells the views itself,
// either cell by cell or once after a whole table (see TResultsGrid), because
// a table of 2000 rows notified cell by cell would take far longer to fill
// than to compute.
class TResultsGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TResultsGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The spreadsheet's column letters, so that a column can be found again in
    // an exported sheet.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Cells the views may open an editor on (the data grid's, not the results').
    void SetEditable(bool editable) { editable_ = editable; }

    // ---- Storage, without telling the views ----
    int Rows() const { return static_cast<int>(rows_.size()); }
    int Columns() const { return columns_; }
    // Empty for a cell outside the grid.
    const std::string& Cell(int column, int row) const;
    // Grows the grid to hold the cell; true when it had to grow.
    bool StoreCell(int column, int row, const std::string& text);
    void Resize(int columns, int rows);
    void EmptyCells();
    // Puts the columns in a new order: column i takes the cells of column
    // order[i]. `order` must name every column once.
    void ReorderColumns(const std::vector<int>& order);

    // ---- Telling the views ----
    void CellChanged(int column, int row);
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

private:
    std::vector<std::vector<std::string>> rows_;
    int columns_ = 0;
    bool editable_ = false;
};
