#include "dialogs/VM4_LibraryGrid.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTableWidget>

#include "foundations/VM4_Errors.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

constexpr int kRowHeight = 18;
constexpr int kHeadingHeight = 32;
constexpr int kTwoLineHeadingHeight = 38;

}  // namespace

QTableWidget* NewLibraryGrid(QWidget* parent, const QStringList& headings, const std::vector<int>& widths) {
    auto* grid = new QTableWidget(0, static_cast<int>(widths.size()), parent);
    grid->setHorizontalHeaderLabels(headings);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) grid->setColumnWidth(c, widths[c]);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setFixedHeight(kHeadingHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

void SetHeadingsWithUnits(QTableWidget* grid, const QStringList& headings, const QStringList& units) {
    grid->horizontalHeader()->setFixedHeight(kTwoLineHeadingHeight);
    for (int c = 0; c < headings.size() && c < grid->columnCount(); ++c) {
        const QString unit = c < units.size() ? units[c] : QString();
        grid->setHorizontalHeaderItem(c, new QTableWidgetItem(headings[c].trimmed() + QLatin1Char('\n') + unit));
    }
}

void SetGridRow(QTableWidget* grid, int row, const std::vector<std::string>& cells) {
    for (int c = 0; c < static_cast<int>(cells.size()) && c < grid->columnCount(); ++c)
        grid->setItem(row, c, new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(c)])));
}

bool RunReportingErrors(IMessageBoxes& boxes, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const EVelmoraError& error) {
        boxes.ShowInformation(error.what());
        return false;
    }
}
