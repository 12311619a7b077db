#include "results/VM4_ResultsGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>
#include <cstddef>

#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_ResultsGridModel.h"

const QColor TResultsGrid::kSelectedCellColour(255, 255, 0);
const QColor TResultsGrid::kDataCellColour(255, 255, 255);
const char* const TResultsGrid::kReadOnlyMessage =
    "This is a results screen and the values cannot be amended.\r\rPlease close this window and return to Design "
    "Mode to update the data values.";

namespace {

std::size_t toIndex(int value) { return static_cast<std::size_t>(value); }

// Paints every cell in the colour the grid gives it, with its text 2 pixels in
// from the left and top and cut at the cell's edge, as a table is read; the
// style's own selection and focus marks would only hide the yellow cell.
class TResultsCellPainter : public QStyledItemDelegate {
public:
    TResultsCellPainter(const TResultsGrid& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        painter->fillRect(option.rect, grid_.CellColour(index.column(), index.row()));
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        painter->setPen(grid_.palette().color(QPalette::Text));
        const QRect textArea = option.rect.adjusted(TResultsGrid::kTextInset_px, TResultsGrid::kTextInset_px, 0, 0);
        painter->drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
        painter->restore();
    }

    // Editors exist only in an editable grid (its flags allow no other).
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const int column = index.column();
        const int row = index.row();
        TResultsGrid* grid = const_cast<TResultsGrid*>(&grid_);
        QObject::connect(editor, &QLineEdit::textEdited, grid,
                         [grid, column, row](const QString& text) { grid->ReportCellText(column, row, text); });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(index.data().toString());
    }

    // The cell already holds every keystroke (ReportCellText).
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    const TResultsGrid& grid_;
};

// The heading rows laid over the top of the grid. It only shows: the grid
// scrolls it sideways with itself, and wheel turns over it scroll the grid.
class THeadingRowsView : public QTableView {
public:
    using QTableView::QTableView;

    void scrollTo(const QModelIndex&, ScrollHint) override {}

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

// A key that would change the cell's text in an editable grid. Navigation and
// shortcuts (arrows, pages, Tab, Ctrl+C) keep working.
bool WouldType(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete) return true;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

TResultsGrid::TResultsGrid(IMessageBoxes& boxes, QWidget* parent)
    : QTableView(parent), boxes_(boxes), model_(new TResultsGridModel(this)) {
    model_->Resize(kInitialColCount, kInitialRowCount);
    columnWidths_.assign(toIndex(kInitialColCount), kDefaultColumnWidth_px);
    setModel(model_);
    configureView(*this);
    setVerticalScrollMode(ScrollPerPixel);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    createHeadingRowsView();
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &TResultsGrid::columnResized);
    // Taken up once the header has finished its drag.
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &TResultsGrid::adoptDraggedColumnOrder,
            Qt::QueuedConnection);
    applyColumnWidths();
}

TResultsGrid::~TResultsGrid() = default;

void TResultsGrid::configureView(QTableView& view) const {
    view.setItemDelegate(new TResultsCellPainter(*this, &view));
    view.setEditTriggers(NoEditTriggers);
    view.setSelectionMode(SingleSelection);
    view.setSelectionBehavior(SelectItems);
    view.setHorizontalScrollMode(ScrollPerPixel);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.verticalHeader()->setMinimumSectionSize(kRowHeight_px);
    view.verticalHeader()->setDefaultSectionSize(kRowHeight_px);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth_px);
}

void TResultsGrid::createHeadingRowsView() {
    headingRows_ = new THeadingRowsView(this);
    headingRows_->setObjectName(QStringLiteral("HeadingRowsView"));
    headingRows_->setModel(model_);
    headingRows_->setSelectionModel(selectionModel());
    configureView(*headingRows_);
    headingRows_->horizontalHeader()->hide();
    headingRows_->setFrameShape(NoFrame);
    headingRows_->setFocusPolicy(Qt::NoFocus);
    headingRows_->setAutoScroll(false);
    headingRows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    headingRows_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->stackUnder(headingRows_);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, headingRows_->horizontalScrollBar(),
            &QScrollBar::setValue);
    // A click on a heading leaves the keyboard with the grid, where typing is refused.
    connect(headingRows_, &QAbstractItemView::pressed, this, [this] { setFocus(); });
    headingRows_->hide();
}

// ---- Cells and counts ---------------------------------------------------------------------------

void TResultsGrid::SetCell(int column, int row, const std::string& text) {
    if (column < 0 || row < 0) return;
    const bool grows = column >= ColCount() || row >= RowCount();
    if (grows && !inUpdate()) {
        TResultsGridUpdate update(*this);
        model_->StoreCell(column, row, text);
        return;
    }
    model_->StoreCell(column, row, text);
    if (!inUpdate()) model_->CellChanged(column, row);
}

std::string TResultsGrid::GetCell(int column, int row) const { return model_->Cell(column, row); }

int TResultsGrid::RowCount() const { return model_->Rows(); }

void TResultsGrid::SetRowCount(int rows) {
    TResultsGridUpdate update(*this);
    model_->Resize(ColCount(), std::max(rows, 0));
}

int TResultsGrid::ColCount() const { return model_->Columns(); }

void TResultsGrid::SetColCount(int columns) {
    TResultsGridUpdate update(*this);
    model_->Resize(std::max(columns, 0), RowCount());
}

void TResultsGrid::SetFixedRows(int rows) {
    fixedRows_ = std::max(rows, 0);
    placeHeadingRowsView();
    viewport()->update();
}

int TResultsGrid::ColumnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(columnWidths_.size())) return kDefaultColumnWidth_px;
    return columnWidths_[toIndex(column)];
}

void TResultsGrid::SetColumnWidth(int column, int width_px) {
    if (column < 0) return;
    if (column >= ColCount()) SetColCount(column + 1);
    if (column >= static_cast<int>(columnWidths_.size())) columnWidths_.resize(toIndex(column + 1), kDefaultColumnWidth_px);
    columnWidths_[toIndex(column)] = std::max(width_px, 0);
    if (!inUpdate()) applyColumnWidths();
}

void TResultsGrid::ClearCells() {
    TResultsGridUpdate update(*this);
    model_->EmptyCells();
}

// ---- Batched changes ----------------------------------------------------------------------------

// The views are reset around a batch rather than told of each cell: filling a
// table then costs one repaint of the visible cells.
void TResultsGrid::BeginUpdate() {
    if (updateDepth_++ == 0) model_->BeginReset();
}

void TResultsGrid::EndUpdate() {
    if (--updateDepth_ > 0) return;
    columnWidths_.resize(toIndex(ColCount()), kDefaultColumnWidth_px);
    model_->EndReset();
    applyColumnWidths();
    restoreSelectedCell();
    placeHeadingRowsView();
}

void TResultsGrid::applyColumnWidths() {
    if (headingRows_ == nullptr) return;
    for (int column = 0; column < ColCount(); ++column) {
        setColumnWidth(column, columnWidths_[toIndex(column)]);
        headingRows_->setColumnWidth(column, columnWidths_[toIndex(column)]);
    }
}

void TResultsGrid::columnResized(int column, int /*oldWidth*/, int newWidth) {
    if (column < 0 || column >= static_cast<int>(columnWidths_.size())) return;
    columnWidths_[toIndex(column)] = newWidth;
    if (headingRows_ != nullptr) headingRows_->setColumnWidth(column, newWidth);
}

// The header has moved a column on screen only. The cells follow it, and the
// header goes back to showing columns in their own order, so that column c is
// the c-th column seen. A drag that would move the id column, or put another
// in its place, is undone.
void TResultsGrid::adoptDraggedColumnOrder() {
    QHeaderView* header = horizontalHeader();
    std::vector<int> order(toIndex(ColCount()));
    bool moved = false;
    for (int position = 0; position < ColCount(); ++position) {
        order[toIndex(position)] = header->logicalIndex(position);
        moved = moved || order[toIndex(position)] != position;
    }
    if (!moved) return;
    {
        const QSignalBlocker quiet(header);
        for (int column = 0; column < ColCount(); ++column) header->moveSection(header->visualIndex(column), column);
    }
    if (order.empty() || order[0] != 0) {
        viewport()->update();
        return;
    }
    TResultsGridUpdate update(*this);
    model_->ReorderColumns(order);
    std::vector<int> widths(order.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        widths[position] = columnWidths_[toIndex(order[position])];
    columnWidths_ = widths;
    const auto selected = std::find(order.begin(), order.end(), selectedColumn_);
    if (selected != order.end()) selectedColumn_ = static_cast<int>(selected - order.begin());
}

// ---- Selection ----------------------------------------------------------------------------------

void TResultsGrid::SelectCell(int column, int row) {
    selectedColumn_ = column;
    selectedRow_ = row;
    if (inUpdate()) return;  // taken up when the update ends
    restoreSelectedCell();
    viewport()->update();
    headingRows_->viewport()->update();
}

void TResultsGrid::restoreSelectedCell() {
    const QModelIndex cell = model_->index(selectedRow_, selectedColumn_);
    if (!cell.isValid()) return;
    selectingByProgram_ = true;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    selectingByProgram_ = false;
}

void TResultsGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (selectingByProgram_ || !current.isValid()) return;
    selectedColumn_ = current.column();
    selectedRow_ = current.row();
    Q_EMIT CellSelected(selectedColumn_, selectedRow_);
}

QColor TResultsGrid::CellColour(int column, int row) const {
    const QColor buttonFace = palette().color(QPalette::Button);
    if (row < fixedRows_) return buttonFace;
    if (column == selectedColumn_ && row == selectedRow_) return kSelectedCellColour;
    if (column == 0) return buttonFace;
    return kDataCellColour;
}

// ---- Keys ---------------------------------------------------------------------------------------

void TResultsGrid::SetEditable(bool editable) {
    editable_ = editable;
    model_->SetEditable(editable);
    setEditTriggers(editable ? AnyKeyPressed | DoubleClicked | EditKeyPressed : NoEditTriggers);
}

void TResultsGrid::ReportCellText(int column, int row, const QString& text) {
    SetCell(column, row, text.toStdString());
    Q_EMIT CellTextEdited(column, row, text);
}

bool TResultsGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool editing = QTableView::edit(index, trigger, event);
    if (editing) editedCell_ = index;
    return editing;
}

void TResultsGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const QPersistentModelIndex ended = editedCell_;
    editedCell_ = QPersistentModelIndex();
    QTableView::closeEditor(editor, hint);
    if (ended.isValid()) Q_EMIT CellEditEnded(ended.column(), ended.row());
}

void TResultsGrid::keyPressEvent(QKeyEvent* event) {
    if (!editable_ && WouldType(*event)) {
        event->accept();
        boxes_.ShowInformation(kReadOnlyMessage);
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---- The heading rows' view ---------------------------------------------------------------------

int TResultsGrid::headingRowsHeight() const { return std::min(fixedRows_, RowCount()) * kRowHeight_px; }

void TResultsGrid::placeHeadingRowsView() {
    if (headingRows_ == nullptr) return;  // still being built
    const int height = std::min(headingRowsHeight(), viewport()->height());
    if (height <= 0) {
        headingRows_->hide();
        return;
    }
    const QRect area = viewport()->geometry();
    headingRows_->setGeometry(area.x(), area.y(), area.width(), height);
    headingRows_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    headingRows_->show();
}

void TResultsGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeHeadingRowsView();
}

void TResultsGrid::updateGeometries() {
    QTableView::updateGeometries();
    verticalScrollBar()->setSingleStep(kRowHeight_px);
    placeHeadingRowsView();
}

// A row below the headings is scrolled into view below them, not under them;
// a heading row is always in view, so only the columns scroll for it.
void TResultsGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    const int rowsOffset = verticalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.row() < fixedRows_) {
        verticalScrollBar()->setValue(rowsOffset);
        return;
    }
    const int hiddenBelowHeadings = headingRowsHeight() - visualRect(index).top();
    if (hiddenBelowHeadings > 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - hiddenBelowHeadings);
}
