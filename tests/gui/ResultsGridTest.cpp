#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiEvents.h"
#include "ScriptedMessageBoxes.h"
#include "results/VM4_ResultsGrid.h"

// The results grid as the user meets it: the cells the tables wrote, painted
// in their colours, headings that stay in view, columns that can be widened and
// moved, and no way of typing into a cell.

namespace {

const std::string kReadOnly =
    "This is a results screen and the values cannot be amended.\r\rPlease close this window and return to Design "
    "Mode to update the data values.";

class ResultsGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(700, 400);
        grid.show();
        QApplication::processEvents();
    }

    // Two heading rows and a numbered id column, as a table fills it.
    void FillTable(int dataRows) {
        TResultsGridUpdate update(grid);
        grid.SetFixedRows(2);
        for (int column = 0; column < 5; ++column) {
            grid.SetCell(column, 0, "Title " + std::to_string(column));
            grid.SetCell(column, 1, "unit " + std::to_string(column));
        }
        for (int row = 2; row < dataRows + 2; ++row) {
            grid.SetCell(0, row, std::to_string(row - 1));
            for (int column = 1; column < 5; ++column)
                grid.SetCell(column, row, "r" + std::to_string(row) + "c" + std::to_string(column));
        }
        grid.SetRowCount(dataRows + 2);
    }

    // The grid as shown on screen, headings view included.
    QImage Screen() { return grid.grab().toImage(); }

    // A point inside the cell, clear of its text and grid lines, in grid coordinates.
    QPoint InsideCell(int column, int row) {
        const QRect cell = grid.visualRect(grid.model()->index(row, column));
        return grid.viewport()->mapTo(&grid, cell.bottomRight() - QPoint(3, 3));
    }

    QColor ButtonFace() const { return grid.palette().color(QPalette::Button); }

    TScriptedMessageBoxes boxes;
    TResultsGrid grid{boxes};
};

TEST_F(ResultsGrid, StartsWith2000RowsOf26ColumnsAt90By18Pixels) {
    EXPECT_EQ(grid.RowCount(), 2000);
    EXPECT_EQ(grid.ColCount(), 26);
    EXPECT_EQ(grid.model()->rowCount(), 2000);
    EXPECT_EQ(grid.model()->columnCount(), 26);
    for (int column : {0, 12, 25}) {
        EXPECT_EQ(grid.ColumnWidth(column), 90);
        EXPECT_EQ(grid.columnWidth(column), 90);
    }
    EXPECT_EQ(grid.rowHeight(0), 18);
    EXPECT_EQ(grid.rowHeight(1999), 18);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ResultsGrid, CellsWrittenInOneUpdateReachTheViewWhenItEnds) {
    {
        TResultsGridUpdate update(grid);
        grid.SetCell(3, 2, "0.0140");
        grid.SetCell(27, 2105, "past the end");  // the grid grows to hold it
        EXPECT_EQ(grid.GetCell(3, 2), "0.0140");
    }
    EXPECT_EQ(grid.RowCount(), 2106);
    EXPECT_EQ(grid.ColCount(), 28);
    EXPECT_EQ(grid.model()->rowCount(), 2106);
    EXPECT_EQ(grid.model()->index(2, 3).data().toString().toStdString(), "0.0140");
    EXPECT_EQ(grid.model()->index(2105, 27).data().toString().toStdString(), "past the end");
    EXPECT_EQ(grid.ColumnWidth(27), 90);

    grid.SetCell(1, 5, "outside an update");
    EXPECT_EQ(grid.model()->index(5, 1).data().toString().toStdString(), "outside an update");

    grid.SetRowCount(28);
    grid.SetColCount(26);
    EXPECT_EQ(grid.model()->rowCount(), 28);
    EXPECT_EQ(grid.GetCell(3, 2), "0.0140");
    EXPECT_EQ(grid.GetCell(27, 2105), "");
    grid.SetRowCount(40);
    EXPECT_EQ(grid.GetCell(1, 30), "") << "rows dropped come back empty";

    grid.ClearCells();
    EXPECT_EQ(grid.GetCell(3, 2), "");
    EXPECT_EQ(grid.RowCount(), 40);
}

TEST_F(ResultsGrid, ColumnWidthsSetByATableSurviveTheUpdateAndReachTheHeadings) {
    FillTable(10);
    {
        TResultsGridUpdate update(grid);
        grid.SetColumnWidth(0, 40);
        grid.SetColumnWidth(1, 86);
    }
    EXPECT_EQ(grid.columnWidth(0), 40);
    EXPECT_EQ(grid.columnWidth(1), 86);
    EXPECT_EQ(grid.HeadingRowsView().columnWidth(1), 86);
    FillTable(10);  // another table's update keeps them
    EXPECT_EQ(grid.columnWidth(1), 86);
}

TEST_F(ResultsGrid, PaintsHeadingsAndIdColumnButtonFaceDataWhiteAndTheSelectedCellYellow) {
    FillTable(20);
    grid.SelectCell(2, 4);
    QApplication::processEvents();
    const QImage screen = Screen();
    EXPECT_EQ(screen.pixelColor(InsideCell(1, 0)), ButtonFace()) << "title row";
    EXPECT_EQ(screen.pixelColor(InsideCell(3, 1)), ButtonFace()) << "units row";
    EXPECT_EQ(screen.pixelColor(InsideCell(0, 5)), ButtonFace()) << "id column";
    EXPECT_EQ(screen.pixelColor(InsideCell(1, 4)), QColor(255, 255, 255)) << "data cell";
    EXPECT_EQ(screen.pixelColor(InsideCell(2, 4)), QColor(255, 255, 0)) << "selected cell";

    // Selected in the id column below the headings: yellow; in the headings: not.
    grid.SelectCell(0, 6);
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixelColor(InsideCell(0, 6)), QColor(255, 255, 0));
    EXPECT_EQ(Screen().pixelColor(InsideCell(2, 4)), QColor(255, 255, 255)) << "no longer selected";
    grid.SelectCell(2, 1);
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixelColor(InsideCell(2, 1)), ButtonFace());

    // One heading row: row 1 is data again.
    grid.SetFixedRows(1);
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixelColor(InsideCell(2, 1)), QColor(255, 255, 0));
    EXPECT_EQ(Screen().pixelColor(InsideCell(3, 1)), QColor(255, 255, 255));
    EXPECT_EQ(Screen().pixelColor(InsideCell(3, 0)), ButtonFace());
}

TEST_F(ResultsGrid, CellTextStartsTwoPixelsInFromTheCellsLeftAndTopEdges) {
    FillTable(5);
    const QString block = QString(8, QChar(0x2588));  // full blocks: ink from the glyph's very edge
    grid.SetCell(2, 3, block.toStdString());
    grid.SelectCell(0, 0);
    QApplication::processEvents();
    const QImage screen = Screen();
    const QRect cell = grid.visualRect(grid.model()->index(3, 2)).translated(grid.viewport()->mapTo(&grid, QPoint()));
    int firstInkX = -1;
    int firstInkY = -1;
    for (int y = cell.top(); y < cell.bottom() && firstInkY < 0; ++y)
        for (int x = cell.left(); x < cell.right(); ++x)
            if (screen.pixelColor(x, y).lightness() < 128) {
                firstInkY = y;
                break;
            }
    for (int x = cell.left(); x < cell.right() && firstInkX < 0; ++x)
        for (int y = cell.top(); y < cell.bottom(); ++y)
            if (screen.pixelColor(x, y).lightness() < 128) {
                firstInkX = x;
                break;
            }
    EXPECT_EQ(firstInkX - cell.left(), 2);
    EXPECT_EQ(firstInkY - cell.top(), 2);
}

TEST_F(ResultsGrid, HeadingRowsStayInViewWhenTheRowsScroll) {
    FillTable(500);
    grid.verticalScrollBar()->setValue(300 * TResultsGrid::kRowHeight_px);
    QApplication::processEvents();
    ASSERT_GT(grid.rowAt(0), 250) << "the grid did not scroll";
    const QImage screen = Screen();
    const QPoint headingArea = grid.viewport()->mapTo(&grid, QPoint(120, 2 * TResultsGrid::kRowHeight_px - 4));
    EXPECT_EQ(screen.pixelColor(headingArea), ButtonFace());
    EXPECT_EQ(grid.HeadingRowsView().rowAt(5), 0);
    EXPECT_EQ(grid.HeadingRowsView().rowAt(2 * TResultsGrid::kRowHeight_px - 2), 1);
    EXPECT_EQ(grid.HeadingRowsView().height(), 2 * TResultsGrid::kRowHeight_px);
    const int rowBelowHeadings = grid.rowAt(2 * TResultsGrid::kRowHeight_px + 2);
    EXPECT_EQ(screen.pixelColor(InsideCell(1, rowBelowHeadings)), QColor(255, 255, 255));

    // Scrolled sideways, the headings follow the columns.
    grid.horizontalScrollBar()->setValue(150);
    QApplication::processEvents();
    EXPECT_EQ(grid.HeadingRowsView().horizontalScrollBar()->value(), 150);
    EXPECT_EQ(grid.HeadingRowsView().columnAt(10), grid.columnAt(10));
}

TEST_F(ResultsGrid, TheSelectedRowIsScrolledIntoViewBelowTheHeadingsNotUnderThem) {
    FillTable(500);
    grid.setFocus();
    grid.verticalScrollBar()->setValue(100 * TResultsGrid::kRowHeight_px);
    QApplication::processEvents();
    const int topRow = grid.rowAt(0);
    const int firstRowInView = grid.rowAt(2 * TResultsGrid::kRowHeight_px + 1);
    ASSERT_GT(firstRowInView, topRow);
    ClickAt(*grid.viewport(), grid.visualRect(grid.model()->index(firstRowInView, 2)).center());
    ASSERT_EQ(grid.SelectedRow(), firstRowInView);

    PressKey(grid, Qt::Key_Up);
    EXPECT_EQ(grid.SelectedRow(), firstRowInView - 1);
    EXPECT_GE(grid.visualRect(grid.model()->index(firstRowInView - 1, 2)).top(), 2 * TResultsGrid::kRowHeight_px);

    // A heading chosen: it is in view already, the rows stay where they are.
    const int offset = grid.verticalScrollBar()->value();
    ClickAt(*grid.HeadingRowsView().viewport(), grid.HeadingRowsView().visualRect(grid.model()->index(1, 3)).center());
    EXPECT_EQ(grid.SelectedRow(), 1);
    EXPECT_EQ(grid.verticalScrollBar()->value(), offset);
}

TEST_F(ResultsGrid, ReportsCellsTheUserSelectsButNotThoseTheProgramSelects) {
    FillTable(20);
    std::vector<std::pair<int, int>> selected;
    QObject::connect(&grid, &TResultsGrid::CellSelected,
                     [&selected](int column, int row) { selected.emplace_back(column, row); });
    grid.SelectCell(3, 7);
    EXPECT_TRUE(selected.empty());

    ClickAt(*grid.viewport(), grid.visualRect(grid.model()->index(5, 2)).center());
    // A heading is clicked on the view that keeps the headings in sight.
    ClickAt(*grid.HeadingRowsView().viewport(), grid.HeadingRowsView().visualRect(grid.model()->index(0, 1)).center());
    grid.setFocus();
    PressKey(grid, Qt::Key_Down);
    const std::vector<std::pair<int, int>> expected = {{2, 5}, {1, 0}, {1, 1}};
    EXPECT_EQ(selected, expected);
    EXPECT_EQ(grid.SelectedColumn(), 1);
    EXPECT_EQ(grid.SelectedRow(), 1);
}

TEST_F(ResultsGrid, KeysThatWouldTypeAreRefusedWithTheMessageAndTheCellKeepsItsText) {
    FillTable(20);
    grid.setFocus();
    grid.SelectCell(2, 5);
    const std::string before = grid.GetCell(2, 5);
    const std::vector<std::pair<Qt::Key, QString>> typing = {
        {Qt::Key_A, QStringLiteral("a")},        {Qt::Key_5, QStringLiteral("5")},
        {Qt::Key_Space, QStringLiteral(" ")},    {Qt::Key_Backspace, QStringLiteral("\b")},
        {Qt::Key_Delete, QStringLiteral("\x7f")}, {Qt::Key_Period, QStringLiteral(".")},
    };
    for (const auto& [key, text] : typing) {
        boxes.Forget();
        PressKey(grid, key, Qt::NoModifier, text);
        ASSERT_EQ(boxes.Texts(), std::vector<std::string>{kReadOnly}) << text.toStdString();
        EXPECT_EQ(boxes.Shown()[0].Kind, TScriptedMessageBoxes::TKind::Information);
        EXPECT_EQ(grid.GetCell(2, 5), before);
        EXPECT_EQ(grid.SelectedRow(), 5) << "typing must not move either (no type-ahead search)";
        EXPECT_EQ(grid.SelectedColumn(), 2);
    }
}

TEST_F(ResultsGrid, NavigationAndCopyKeysStillWork) {
    FillTable(100);
    grid.setFocus();
    grid.SelectCell(2, 5);
    PressKey(grid, Qt::Key_Down);
    EXPECT_EQ(grid.SelectedRow(), 6);
    PressKey(grid, Qt::Key_Right);
    EXPECT_EQ(grid.SelectedColumn(), 3);
    PressKey(grid, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(grid.SelectedColumn(), 4);
    PressKey(grid, Qt::Key_PageDown);
    EXPECT_GT(grid.SelectedRow(), 10);
    PressKey(grid, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ResultsGrid, AColumnDraggedToANewPlaceTakesItsCellsAndWidthWithIt) {
    FillTable(10);
    grid.SetColumnWidth(3, 130);
    grid.horizontalHeader()->moveSection(3, 1);  // as a drag of the header would
    QApplication::processEvents();
    EXPECT_EQ(grid.GetCell(1, 0), "Title 3");
    EXPECT_EQ(grid.GetCell(2, 0), "Title 1");
    EXPECT_EQ(grid.GetCell(3, 0), "Title 2");
    EXPECT_EQ(grid.GetCell(1, 4), "r4c3");
    EXPECT_EQ(grid.GetCell(4, 4), "r4c4");
    EXPECT_EQ(grid.ColumnWidth(1), 130);
    EXPECT_EQ(grid.ColumnWidth(3), 90);
    EXPECT_EQ(grid.HeadingRowsView().columnWidth(1), 130);
    for (int column = 0; column < grid.ColCount(); ++column)
        EXPECT_EQ(grid.horizontalHeader()->visualIndex(column), column) << "shown in the grid's own order";
}

TEST_F(ResultsGrid, TheIdColumnStaysFirst) {
    FillTable(10);
    for (const auto& [from, to] : {std::pair{0, 3}, std::pair{2, 0}}) {
        grid.horizontalHeader()->moveSection(from, to);
        QApplication::processEvents();
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(grid.GetCell(column, 0), "Title " + std::to_string(column)) << from << " to " << to;
        EXPECT_EQ(grid.horizontalHeader()->logicalIndex(0), 0);
    }
}

TEST_F(ResultsGrid, AColumnWidenedByTheUserIsItsWidthAndTheHeadingsFollow) {
    FillTable(10);
    grid.horizontalHeader()->resizeSection(2, 150);
    EXPECT_EQ(grid.ColumnWidth(2), 150);
    EXPECT_EQ(grid.HeadingRowsView().columnWidth(2), 150);
}

}  // namespace
