#include "dialogs/fittings/VM4_ChooseSymbolForm.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/VM4_DialogHelpers.h"
#include "editor/VM4_FittingSymbols.h"

namespace {

constexpr int kColumns = 7;
constexpr int kCell = 40;

}  // namespace

TChooseSymbolForm::TChooseSymbolForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Choose symbol"));
    grid_ = Placed(new QTableWidget(kColumns, kColumns, this), "GridSymbols", 10, 10, kColumns * kCell + 4,
                   kColumns * kCell + 4);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setIconSize(QSize(kCell - 4, kCell - 4));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < kColumns; ++i) {
        grid_->setColumnWidth(i, kCell);
        grid_->setRowHeight(i, kCell);
    }
    for (int symbol = 0; symbol < FittingSymbols::Count; ++symbol) {
        auto* cell = new QTableWidgetItem(QIcon(FittingPixmap(symbol, kCell - 4, kCell - 4)), QString());
        cell->setToolTip(QString::number(symbol));
        grid_->setItem(symbol / kColumns, symbol % kColumns, cell);
    }
    const int buttonsY = kColumns * kCell + 24;
    auto* ok = Placed(new QPushButton(QStringLiteral("OK"), this), "ButtonOK", 60, buttonsY, 80, 26);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel", 160, buttonsY, 80, 26);
    connect(ok, &QPushButton::clicked, this, &TChooseSymbolForm::Choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { Choose(); });
    setFixedSize(kColumns * kCell + 24, buttonsY + 40);
}

int TChooseSymbolForm::ChooseSymbol(int currentSymbol) {
    SelectSymbol(currentSymbol);
    result_ = -1;
    exec();
    return result_;
}

void TChooseSymbolForm::SelectSymbol(int symbol) {
    if (symbol < 0 || symbol >= FittingSymbols::Count) symbol = 0;
    grid_->setCurrentCell(symbol / kColumns, symbol % kColumns);
}

void TChooseSymbolForm::Choose() {
    result_ = grid_->currentRow() * kColumns + grid_->currentColumn();
    accept();
}
