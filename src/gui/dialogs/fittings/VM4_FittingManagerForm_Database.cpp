// The fitting manager's database part: the list of every fitting type, its
// sorting and scrolling, and removing types from the database files.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "libraries/VM4_FittingSizes.h"
#include "libraries/VM4_Fitting_Database.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

const char* const kRemoveStandard = "This is a standard fitting it ";
const char* const kRemoveUser = "The selected fitting ";
const char* const kRemoveQuestion =
    "will be permanently removed.\rThis action cannot be reversed.\r\rContinue with removal?";
const char* const kNotWritable =
    "The fitting database could not be read completely, so it is not changed:\rits files would lose the "
    "fittings that were not read.\r\rRepair or remove the file named in the earlier message and open this "
    "window again.";
// Size, symbol number, description: the order of "Move to fitting size".
constexpr int kSizeOrderColumn = 1;
constexpr int kDatabaseTop = 190;
constexpr int kDatabaseHeight = 300;

}  // namespace

void TFittingManagerForm::createDatabasePart() {
    databaseGrid_ = Placed(new QTableWidget(this), "GridDatabase", 10, kDatabaseTop, 560, kDatabaseHeight);
    setUpDatabaseGrid(*databaseGrid_, 1, "K ");
    auto* addToPipe = Placed(new QPushButton(QStringLiteral("Add selection to pipe"), this), "ButtonAddSelection",
                             580, kDatabaseTop, 130, 26);
    auto* remove = Placed(new QPushButton(QStringLiteral("Remove entry"), this), "ButtonRemoveEntry", 580,
                          kDatabaseTop + 32, 130, 26);
    top_ = Placed(new QPushButton(QStringLiteral("Top"), this), "ButtonTop", 580, kDatabaseTop + 64, 62, 26);
    end_ = Placed(new QPushButton(QStringLiteral("End"), this), "ButtonEnd", 648, kDatabaseTop + 64, 62, 26);
    Placed(new QLabel(QStringLiteral("Move to fitting size"), this), "LabelMoveToSize", 580, kDatabaseTop + 98, 130, 20);
    jumpMetric_ = Placed(new QComboBox(this), "ComboJumpMetric", 580, kDatabaseTop + 120, 64, 24);
    jumpImperial_ = Placed(new QComboBox(this), "ComboJumpImperial", 648, kDatabaseTop + 120, 62, 24);
    for (int index = 0; index < FittingSizes::Count; ++index) {
        jumpMetric_->addItem(qs(FittingSizes::MetricText(index, "-")));
        jumpImperial_->addItem(qs(FittingSizes::ImperialText(index, "-")));
    }
    jumpMetric_->setCurrentIndex(FittingSizes::DefaultIndex);
    jumpImperial_->setCurrentIndex(FittingSizes::DefaultIndex);
    connect(jumpMetric_, &QComboBox::activated, this, [this](int index) { MoveToSize(index); });
    connect(jumpImperial_, &QComboBox::activated, this, [this](int index) { MoveToSize(index); });
    connect(addToPipe, &QPushButton::clicked, this, [this] { AddDatabaseRowToPipe(databaseGrid_->currentRow() + 1); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveDatabaseRow(databaseGrid_->currentRow() + 1); });
    connect(top_, &QPushButton::clicked, this, [this] { scrollDatabaseTo(1); });
    connect(end_, &QPushButton::clicked, this, [this] { scrollDatabaseTo(databaseGrid_->rowCount()); });
    connect(databaseGrid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { AddDatabaseRowToPipe(row + 1); });
    connect(databaseGrid_, &QTableWidget::currentCellChanged, this, [this](int row) { copyRowToNewFittingPanel(row + 1); });
    connect(databaseGrid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) { SortDatabase(column); });
}

// A failed read is told with its file and leaves the database closed to
// changes; the next showing tries again.
bool TFittingManagerForm::loadDatabase() {
    try {
        databaseComplete_ = database_->LoadFittingDatabase();
    } catch (const std::exception& error) {
        databaseComplete_ = false;
        reportFileError(error);
    }
    databaseLoaded_ = databaseComplete_;
    database_->Fittings().SortFittingSet(kSizeOrderColumn, true);
    fillDatabaseGrid();
    MoveToSize(FittingSizes::DefaultIndex);
    copyRowToNewFittingPanel(1);
    return databaseComplete_;
}

void TFittingManagerForm::reportFileError(const std::exception& error) {
    boxes_.ShowInformation(std::string(error.what()) + "\r\r" + database_->UserFilePath().parent_path().string());
}

bool TFittingManagerForm::databaseWritable() {
    if (!databaseComplete_) boxes_.ShowInformation(kNotWritable);
    return databaseComplete_;
}

int TFittingManagerForm::SlotOfRow(int row) const {
    if (row < 1 || row > static_cast<int>(rowSlots_.size())) return 0;
    return rowSlots_[static_cast<std::size_t>(row - 1)];
}

// Fittings with a negative symbol stay in the files but are never listed.
void TFittingManagerForm::fillDatabaseGrid() {
    const TFittingSet& fittings = database_->Fittings();
    rowSlots_.clear();
    for (int slot = 1; slot <= fittings.Count(); ++slot)
        if (!fittings.GetFitting(slot).IsCleared()) rowSlots_.push_back(slot);
    const bool empty = rowSlots_.empty();
    databaseGrid_->clearContents();
    databaseGrid_->setRowCount(empty ? 1 : static_cast<int>(rowSlots_.size()));
    databaseGrid_->setRowHidden(0, empty);
    top_->setVisible(!empty);
    end_->setVisible(!empty);
    for (std::size_t row = 0; row < rowSlots_.size(); ++row) {
        const int slot = rowSlots_[row];
        fillFittingRow(*databaseGrid_, static_cast<int>(row), fittings.GetFitting(slot));
        if (fittings.GetFittingFileType(slot) == TFittingSet::kUserFile) markUserFitting(static_cast<int>(row));
    }
}

// The user's own fittings carry a small marker at the right of their picture.
void TFittingManagerForm::markUserFitting(int row) {
    QTableWidgetItem* cell = databaseGrid_->item(row, 0);
    QPixmap picture = cell->icon().pixmap(databaseGrid_->iconSize());
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 90, 220));
    painter.drawEllipse(QRectF(picture.width() - 7, 1, 5, 5));
    painter.end();
    cell->setIcon(QIcon(picture));
    cell->setToolTip(QStringLiteral("User fitting"));
}

void TFittingManagerForm::scrollDatabaseTo(int row) {
    if (rowSlots_.empty()) return;
    const int index = std::clamp(row, 1, static_cast<int>(rowSlots_.size())) - 1;
    databaseGrid_->setCurrentCell(index, 3);
    databaseGrid_->scrollToItem(databaseGrid_->item(index, 3), QAbstractItemView::PositionAtTop);
}

void TFittingManagerForm::SortDatabase(int column) {
    if (column < 0 || column >= static_cast<int>(sortAscending_.size())) return;
    // Every column starts ascending and turns round on each click.
    const bool ascending = !sortAscending_[static_cast<std::size_t>(column)];
    sortAscending_[static_cast<std::size_t>(column)] = ascending;
    database_->Fittings().SortFittingSet(column, ascending);
    fillDatabaseGrid();
    scrollDatabaseTo(1);
}

void TFittingManagerForm::MoveToSize(int sizeIndex) {
    jumpMetric_->setCurrentIndex(sizeIndex);
    jumpImperial_->setCurrentIndex(sizeIndex);
    database_->Fittings().SortFittingSet(kSizeOrderColumn, true);
    fillDatabaseGrid();
    const std::int32_t size_mm = FittingSizes::SizeOfIndex(sizeIndex);
    int target = 1;
    for (std::size_t row = 0; row < rowSlots_.size(); ++row)
        if (database_->Fittings().GetFitting(rowSlots_[row]).SizeIndex == size_mm) {
            target = static_cast<int>(row) + 1;
            break;
        }
    scrollDatabaseTo(target);
}

void TFittingManagerForm::AddDatabaseRowToPipe(int row) {
    const int slot = SlotOfRow(row);
    if (slot == 0) return;
    addToWorkingSet(database_->Fittings().GetFitting(slot));
}

void TFittingManagerForm::RemoveDatabaseRow(int row) {
    const int slot = SlotOfRow(row);
    if (slot == 0 || !databaseWritable()) return;
    const bool user = database_->Fittings().GetFittingFileType(slot) == TFittingSet::kUserFile;
    if (!boxes_.Confirm(std::string(user ? kRemoveUser : kRemoveStandard) + kRemoveQuestion)) return;
    try {
        database_->RemoveDatabaseFitting(slot);
    } catch (const std::exception& error) {
        reportFileError(error);
        return;
    }
    fillDatabaseGrid();
    scrollDatabaseTo(row);
}

void TFittingManagerForm::showFileData() {
    const TFileHeader& header = database_->Header();
    boxes_.ShowInformation("File data\r\r" + header.VersionReference() + "\r" + header.FileName() + "\r" +
                           header.FileDate());
}
