#include "dialogs/VM4_PumpCurveTable.h"

#include <QComboBox>
#include <QHeaderView>

#include "dialogs/VM4_CurveUnitLists.h"
#include "dialogs/VM4_PumpCurveGrid.h"

namespace {

const QColor kSilver(192, 192, 192);
const QColor kLightGrey(224, 224, 224);

QComboBox* unitBox(QWidget* parent, const std::vector<std::string>& captions) {
    auto* box = new QComboBox(parent);
    for (const auto& caption : captions) box->addItem(QString::fromStdString(caption));
    return box;
}

}  // namespace

TPumpCurveTable::TPumpCurveTable(QWidget* parent) : QTableWidget(TPumpCurveGrid::RowCount, TPumpCurveGrid::Columns, parent) {
    setObjectName(QStringLiteral("StringGridPumpPoints"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    const char* const headings[] = {"Flow", "Head", "Efficiency", "NPSHr"};
    for (int column = 0; column < TPumpCurveGrid::Columns; ++column) {
        setColumnWidth(column, column == 0 ? 84 : 70);
        auto* heading = new QTableWidgetItem(QString::fromLatin1(headings[column]));
        heading->setFlags(Qt::ItemIsEnabled);
        setItem(0, column, heading);
        auto* unit = new QTableWidgetItem;
        unit->setFlags(Qt::ItemIsEnabled);
        setItem(1, column, unit);
    }
    for (int row = 0; row < TPumpCurveGrid::RowCount; ++row) setRowHeight(row, 20);
    item(1, 2)->setText(QStringLiteral("%"));
    flowUnits_ = unitBox(this, PumpFlowUnitCaptions());
    flowUnits_->setObjectName(QStringLiteral("ComboBoxPumpFlowUnits"));
    headUnits_ = unitBox(this, PumpHeadUnitCaptions());
    headUnits_->setObjectName(QStringLiteral("ComboBoxPumpHeadUnits"));
    setCellWidget(1, 0, flowUnits_);
    setCellWidget(1, 1, headUnits_);
    for (int row = TPumpCurveGrid::FirstPointRow; row < TPumpCurveGrid::RowCount; ++row)
        for (int column = 0; column < TPumpCurveGrid::Columns; ++column) {
            auto* cell = new QTableWidgetItem;
            if (isShutOffCell(column, row)) cell->setFlags(Qt::ItemIsEnabled);
            setItem(row, column, cell);
        }
    paintCells();
}

bool TPumpCurveTable::isShutOffCell(int column, int row) {
    return row == TPumpCurveGrid::FirstPointRow && (column == 0 || column == 2);
}

void TPumpCurveTable::SetNPSHrUnitName(const std::string& name) { item(1, 3)->setText(QString::fromStdString(name)); }

void TPumpCurveTable::CopyTo(TPumpCurveGrid& grid) const {
    for (int row = TPumpCurveGrid::FirstPointRow; row < TPumpCurveGrid::RowCount; ++row)
        for (int column = 0; column < TPumpCurveGrid::Columns; ++column)
            grid.SetCell(column, row, item(row, column)->text().trimmed().toStdString());
}

void TPumpCurveTable::CopyFrom(const TPumpCurveGrid& grid) {
    for (int row = TPumpCurveGrid::FirstPointRow; row < TPumpCurveGrid::RowCount; ++row)
        for (int column = 0; column < TPumpCurveGrid::Columns; ++column)
            item(row, column)->setText(QString::fromStdString(grid.Cell(column, row)));
    item(TPumpCurveGrid::FirstPointRow, 0)->setText(QStringLiteral("0"));
    item(TPumpCurveGrid::FirstPointRow, 2)->setText(QStringLiteral("0"));
}

void TPumpCurveTable::SetGreyed(bool greyed) {
    greyed_ = greyed;
    paintCells();
}

void TPumpCurveTable::paintCells() {
    for (int row = TPumpCurveGrid::FirstPointRow; row < TPumpCurveGrid::RowCount; ++row)
        for (int column = 0; column < TPumpCurveGrid::Columns; ++column) {
            QTableWidgetItem* cell = item(row, column);
            const bool shutOff = isShutOffCell(column, row);
            cell->setBackground(shutOff ? kSilver : greyed_ ? kLightGrey : QColor(Qt::white));
            cell->setForeground(greyed_ ? kSilver : QColor(Qt::black));
        }
}
