#pragma once

#include <QColor>
#include <QPersistentModelIndex>
#include <QTableView>
#include <string>
#include <vector>

#include "results/VM4_TableGrid.h"

class IMessageBoxes;
class TResultsGridModel;

// The grid of the results window: the core's result tables shown read-only,
// their heading rows kept in sight while the rows below scroll under them.
//
// The heading rows are the grid's own first rows (the core writes them like any
// other row); a second view of the same cells, laid over the top of this one,
// keeps showing them whatever the scroll position. Columns can be widened and
// dragged to a new place; a dragged column takes its cells with it, so that
// what the grid holds (and exports) is what the user sees. The id column stays
// first, as the row's key.
//
// Cells are painted as the tables are read: heading rows and the id column in
// the button face colour, other cells white, the selected cell yellow once it
// is below the headings; texts 2 pixels in from the cell's left and top.
class TResultsGrid : public QTableView, public ITableGrid {
    Q_OBJECT

public:
    static constexpr int kDefaultColumnWidth_px = 90;
    static constexpr int kRowHeight_px = 18;
    static constexpr int kInitialRowCount = 2000;
    static constexpr int kInitialColCount = 26;
    static constexpr int kTextInset_px = 2;
    static const QColor kSelectedCellColour;
    static const QColor kDataCellColour;
    static const char* const kReadOnlyMessage;

    // Typing into the grid is refused through `boxes`.
    explicit TResultsGrid(IMessageBoxes& boxes, QWidget* parent = nullptr);
    ~TResultsGrid() override;

    // ---- ITableGrid ----
    // Negative positions are ignored: no table writes them.
    void SetCell(int column, int row, const std::string& text) override;
    std::string GetCell(int column, int row) const override;
    int RowCount() const override;
    void SetRowCount(int rows) override;
    int ColCount() const override;
    void SetColCount(int columns) override;
    int FixedRows() const override { return fixedRows_; }
    void SetFixedRows(int rows) override;
    int ColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width_px) override;

    // Every cell emptied; counts, heading rows and widths stay.
    void ClearCells();

    // Between BeginUpdate and EndUpdate (nested pairs allowed) cell and count
    // changes are only stored; the views are told once, at the outer EndUpdate.
    // Use TResultsGridUpdate rather than calling these directly.
    void BeginUpdate();
    void EndUpdate();

    // The cell the user selected last, or the one SelectCell chose.
    int SelectedColumn() const { return selectedColumn_; }
    int SelectedRow() const { return selectedRow_; }
    // Selects a cell without raising CellSelected: the program's choice, not the user's.
    void SelectCell(int column, int row);

    // An editable grid lets the user type into its cells (the data grid); each
    // keystroke is reported by CellTextEdited. The results grid refuses typing.
    void SetEditable(bool editable);
    bool IsEditable() const { return editable_; }
    // From the cell editor: the text it holds now.
    void ReportCellText(int column, int row, const QString& text);
    using QTableView::edit;

    // The colour the cell is painted with.
    QColor CellColour(int column, int row) const;

    // The view that keeps the heading rows in sight.
    QTableView& HeadingRowsView() { return *headingRows_; }

    // A row below the headings is scrolled into view below them, not under them.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

Q_SIGNALS:
    // The user selected a cell, by mouse or keyboard.
    void CellSelected(int column, int row);
    // The text of a cell being typed changed: after every keystroke.
    void CellTextEdited(int column, int row, const QString& text);
    // The editor of a cell closed (Enter, Tab, another cell chosen).
    void CellEditEnded(int column, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void configureView(QTableView& view) const;
    void createHeadingRowsView();
    void placeHeadingRowsView();
    int headingRowsHeight() const;
    void columnResized(int column, int oldWidth, int newWidth);
    void adoptDraggedColumnOrder();
    void applyColumnWidths();
    void restoreSelectedCell();
    bool inUpdate() const { return updateDepth_ > 0; }

    IMessageBoxes& boxes_;
    TResultsGridModel* model_;
    QTableView* headingRows_ = nullptr;
    std::vector<int> columnWidths_;
    int fixedRows_ = 0;
    int selectedColumn_ = 0;
    int selectedRow_ = 0;
    int updateDepth_ = 0;
    bool selectingByProgram_ = false;
    bool editable_ = false;
    QPersistentModelIndex editedCell_;
};

// Groups the changes of its lifetime into one refresh of the grid, also when
// the filling code raises an error half way.
class TResultsGridUpdate {
public:
    explicit TResultsGridUpdate(TResultsGrid& grid) : grid_(grid) { grid_.BeginUpdate(); }
    ~TResultsGridUpdate() { grid_.EndUpdate(); }
    TResultsGridUpdate(const TResultsGridUpdate&) = delete;
    TResultsGridUpdate& operator=(const TResultsGridUpdate&) = delete;

private:
    TResultsGrid& grid_;
};
