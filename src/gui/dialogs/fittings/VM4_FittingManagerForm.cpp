// The fitting manager's window and its upper part, the fittings of the pipe.
// The database part is in VM4_FittingManagerForm_Database.cpp, the new-fitting
// panel and the calculators in VM4_FittingManagerForm_NewFitting.cpp.

#include "dialogs/fittings/VM4_FittingManagerForm.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTableWidget>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/fittings/VM4_ChooseSymbolForm.h"
#include "dialogs/fittings/VM4_KValueCalculatorForm.h"
#include "editor/VM4_FittingSymbols.h"
#include "foundations/VM4_Units.h"
#include "libraries/VM4_Fitting_Database.h"
#include "libraries/VM4_LibraryFiles.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_QtUserMessages.h"

namespace {

const char* const kRecordFull =
    "The pipe fitting record is full.\rReturn to the design screen and \rsplit the pipe to add more fittings.";
constexpr int kRowHeight = 19;
constexpr int kQuantityColumn = 8;
constexpr int kMaxQuantity = 20;
constexpr int kSymbolColumnWidth = 60;
// Wide enough at the desktop font for type codes such as "ELBOW_90_STD" and the
// "K value" heading; the sizes ("DN150", "1-1/2\"") need less.
constexpr std::array<int, 9> kColumnWidths = {kSymbolColumnWidth, 0, 0, 124, 56, 64, 130, 52, 40};
constexpr std::array<const char*, 9> kPipeHeaders = {"Symbol", "", "", "Type", "Metric", "Imperial",
                                                     "Description", "K value", "Qty"};

}  // namespace

TFittingManagerForm::TFittingManagerForm(IMessageBoxes& boxes, const TProgramFolders& folders, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      messages_(std::make_unique<TQtUserMessages>(boxes)),
      database_(std::make_unique<TFittingDatabase>(folders.Data / kFittingTablesFolderName,
                                                   folders.User / kFittingTablesFolderName, *messages_)),
      symbolChooser_(std::make_unique<TChooseSymbolForm>(this)) {
    setWindowTitle(QStringLiteral("Pipe fitting friction coefficients"));
    setFixedSize(720, 680);
    createPipePart();
    createDatabasePart();
    createNewFittingPanel();
    createCalculatorButtons();
    createClosingButtons();
    auto* fileData = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12), this);
    connect(fileData, &QShortcut::activated, this, [this] { showFileData(); });
}

TFittingManagerForm::~TFittingManagerForm() = default;

void TFittingManagerForm::setUpDatabaseGrid(QTableWidget& grid, int rows, const char* lastHeader) {
    grid.setRowCount(rows);
    grid.setColumnCount(8);
    QStringList headers;
    for (int column = 0; column < 8; ++column) {
        headers << QString::fromLatin1(column == 7 ? lastHeader : kPipeHeaders[static_cast<std::size_t>(column)]);
        grid.setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    }
    grid.setHorizontalHeaderLabels(headers);
    grid.setColumnHidden(1, true);
    grid.setColumnHidden(2, true);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setIconSize(QSize(44, kRowHeight - 1));
}

void TFittingManagerForm::createPipePart() {
    pipeId_ = Placed(new QLabel(this), "LabelPipeId", 10, 6, 130, 22);
    pipeName_ = Placed(new QLabel(this), "LabelPipeName", 140, 6, 400, 22);
    pipeGrid_ = Placed(new QTableWidget(this), "GridPipeFittings", 10, 30, 560, 20 + 5 * kRowHeight + 4);
    setUpDatabaseGrid(*pipeGrid_, TFittingSet::kPipeCapacity, "K value");
    pipeGrid_->setColumnCount(9);
    pipeGrid_->setHorizontalHeaderItem(kQuantityColumn, new QTableWidgetItem(QStringLiteral("Qty")));
    pipeGrid_->setColumnWidth(kQuantityColumn, kColumnWidths[kQuantityColumn]);
    pipeGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    total_ = Placed(new QLabel(this), "LabelTotalK", 400, 152, 160, 22);
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* clear = Placed(new QPushButton(QStringLiteral("  Clear"), this), "ButtonClear", 590, 30, 110, 26);
    quantity_ = Placed(new QComboBox(pipeGrid_->viewport()), "ComboQuantity", 0, 0, 44, kRowHeight);
    for (int q = 1; q <= kMaxQuantity; ++q) quantity_->addItem(QString::number(q));
    removeFromPipe_ = Placed(new QPushButton(QStringLiteral("Remove"), this), "ButtonRemoveFromPipe", 590, 62, 110, 26);
    hideQuantitySelector();
    connect(clear, &QPushButton::clicked, this, [this] {
        working_.Clear();
        fillPipeGrid();
    });
    connect(pipeGrid_, &QTableWidget::cellClicked, this, [this](int row, int) { showQuantitySelector(row); });
    connect(quantity_, &QComboBox::activated, this, [this](int index) { SetQuantity(quantityRow_, index + 1); });
    connect(removeFromPipe_, &QPushButton::clicked, this, [this] { RemovePipeRow(quantityRow_); });
}

void TFittingManagerForm::createClosingButtons() {
    auto* save = Placed(new QPushButton(QStringLiteral("  Save"), this), "ButtonSave", 490, 640, 100, 28);
    auto* cancel = Placed(new QPushButton(QStringLiteral("  Cancel"), this), "ButtonCancel", 600, 640, 100, 28);
    connect(save, &QPushButton::clicked, this, [this] { closeWith(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeWith(false); });
}

void TFittingManagerForm::closeWith(bool save) {
    save_ = save;
    if (save) accept(); else reject();
}

void TFittingManagerForm::EditPipeFittings(TFittingSet& fittings, std::int32_t pipeId, bool resultsMode,
                                           const std::string& pipeName) {
    working_.CopyFittingSet(fittings);
    pipeId_->setText(qs("( Pipe Id: " + std::to_string(pipeId) + " )"));
    pipeName_->setText(qs(pipeName));
    if (!databaseLoaded_) loadDatabase();
    setNewFittingPanelOpen(false);
    fillPipeGrid();
    setResultsMode(resultsMode);
    save_ = false;
    exec();
    if (save_ && !resultsMode) fittings.CopyFittingSet(working_);
}

// A row can be scrolled to the top only once the grid has its size.
void TFittingManagerForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (databaseGrid_->currentRow() >= 0)
        databaseGrid_->scrollToItem(databaseGrid_->item(databaseGrid_->currentRow(), 3), QAbstractItemView::PositionAtTop);
}

// In results mode the dialog only shows; the close box is the way out.
void TFittingManagerForm::setResultsMode(bool resultsMode) {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(!resultsMode);
}

void TFittingManagerForm::fillFittingRow(QTableWidget& grid, int row, const TFitting& fitting) const {
    auto* symbol = new QTableWidgetItem(QIcon(FittingPixmap(fitting.ImageIndex, 44, kRowHeight - 1)), QString());
    grid.setItem(row, 0, symbol);
    const std::array<std::string, 7> texts = {std::to_string(fitting.SizeIndex), std::to_string(fitting.ImageIndex),
                                              fitting.Type,         fitting.MetricSize,
                                              fitting.ImperialSize, fitting.Description,
                                              formatFixed(2, fitting.KValue)};
    for (std::size_t i = 0; i < texts.size(); ++i) grid.setItem(row, static_cast<int>(i) + 1, new QTableWidgetItem(qs(texts[i])));
    grid.item(row, 7)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TFittingManagerForm::fillPipeGrid() {
    pipeGrid_->clearContents();
    for (int i = 1; i <= working_.Count(); ++i) {
        fillFittingRow(*pipeGrid_, i - 1, working_.GetFitting(i));
        auto* quantity = new QTableWidgetItem(QString::number(working_.GetQuantity(i)));
        quantity->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pipeGrid_->setItem(i - 1, kQuantityColumn, quantity);
    }
    hideQuantitySelector();
    refreshTotal();
}

void TFittingManagerForm::refreshTotal() {
    total_->setText(qs("Total K = " + formatFixed(2, working_.CalculateTotal_KValue())));
}

// The selector sits over the quantity cell of the row, the remove button beside the grid.
void TFittingManagerForm::showQuantitySelector(int pipeRow) {
    if (pipeRow < 0 || pipeRow >= working_.Count()) {
        hideQuantitySelector();
        return;
    }
    quantityRow_ = pipeRow;
    pipeGrid_->selectRow(pipeRow);
    const QRect cell = pipeGrid_->visualItemRect(pipeGrid_->item(pipeRow, kQuantityColumn));
    quantity_->setGeometry(cell.x(), cell.y(), cell.width() + 4, kRowHeight);
    quantity_->setCurrentIndex(working_.GetQuantity(pipeRow + 1) - 1);
    quantity_->show();
    removeFromPipe_->show();
    quantity_->setFocus();
}

void TFittingManagerForm::hideQuantitySelector() {
    quantityRow_ = -1;
    quantity_->hide();
    removeFromPipe_->hide();
}

void TFittingManagerForm::SetQuantity(int pipeRow, int quantity) {
    if (pipeRow < 0 || pipeRow >= working_.Count() || quantity < 1 || quantity > kMaxQuantity) return;
    working_.UpdateFittingQuantity(pipeRow + 1, quantity);
    pipeGrid_->item(pipeRow, kQuantityColumn)->setText(QString::number(quantity));
    refreshTotal();
}

void TFittingManagerForm::RemovePipeRow(int pipeRow) {
    if (pipeRow < 0 || pipeRow >= working_.Count()) return;
    working_.RemoveFitting(pipeRow + 1);
    fillPipeGrid();
    if (working_.Count() > 0) showQuantitySelector(working_.Count() - 1);
}

bool TFittingManagerForm::addToWorkingSet(const TFitting& fitting) {
    if (working_.Count() >= working_.Capacity()) {
        boxes_.ShowInformation(kRecordFull);
        return false;
    }
    const int index = working_.AddFitting(fitting, 1);
    fillPipeGrid();
    showQuantitySelector(index - 1);
    return true;
}
