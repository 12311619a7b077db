#include "results/VM4_MemoryGrid.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryGridTest, WritingOutsideTheGridGrowsItToHoldTheCell) {
    TMemoryGrid grid(26, 2);
    grid.SetCell(26, 40, "Pipe Notes");
    EXPECT_EQ(grid.ColCount(), 27);
    EXPECT_EQ(grid.RowCount(), 41);
    EXPECT_EQ(grid.GetCell(26, 40), "Pipe Notes");
    // Growing keeps what was there and leaves the new cells empty.
    grid.SetCell(0, 0, "Pipe Id");
    grid.SetCell(30, 1, "x");
    EXPECT_EQ(grid.GetCell(0, 0), "Pipe Id");
    EXPECT_EQ(grid.GetCell(26, 40), "Pipe Notes");
    EXPECT_EQ(grid.GetCell(29, 1), "");
}

TEST(MemoryGridTest, CellsOutsideTheGridReadEmpty) {
    TMemoryGrid grid(3, 3);
    grid.SetCell(2, 2, "last");
    EXPECT_EQ(grid.GetCell(3, 2), "");
    EXPECT_EQ(grid.GetCell(2, 3), "");
    EXPECT_EQ(grid.GetCell(-1, 0), "");
    EXPECT_EQ(grid.GetCell(0, -1), "");
}

TEST(MemoryGridTest, ShrinkingDropsTheCellsBeyondTheNewCounts) {
    TMemoryGrid grid(5, 10);
    grid.SetCell(1, 8, "row 8");
    grid.SetCell(4, 1, "column 4");
    grid.SetRowCount(5);
    grid.SetColCount(3);
    grid.SetRowCount(10);
    grid.SetColCount(5);
    EXPECT_EQ(grid.GetCell(1, 8), "");
    EXPECT_EQ(grid.GetCell(4, 1), "");
}

TEST(MemoryGridTest, ColumnWidthsDefaultAndFollowTheColumns) {
    TMemoryGrid grid(2, 1);
    EXPECT_EQ(grid.ColumnWidth(1), TMemoryGrid::kDefaultColumnWidth_px);
    grid.SetColumnWidth(0, 40);
    grid.SetColumnWidth(5, 86);
    EXPECT_EQ(grid.ColumnWidth(0), 40);
    EXPECT_EQ(grid.ColumnWidth(5), 86);
    EXPECT_EQ(grid.ColCount(), 6);
}

TEST(MemoryGridTest, ClearCellsEmptiesEveryCellAndKeepsTheShape) {
    TMemoryGrid grid(4, 6);
    grid.SetFixedRows(2);
    grid.SetColumnWidth(1, 80);
    grid.SetCell(0, 0, "a");
    grid.SetCell(3, 5, "b");
    grid.ClearCells();
    EXPECT_EQ(grid.GetCell(0, 0), "");
    EXPECT_EQ(grid.GetCell(3, 5), "");
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.FixedRows(), 2);
    EXPECT_EQ(grid.ColumnWidth(1), 80);
}

TEST(MemoryGridTest, NegativeNumbersAreRefusedWithTheMethodNamed) {
    TMemoryGrid grid(2, 2);
    const struct {
        const char* Method;
        void (*Call)(TMemoryGrid&);
    } cases[] = {
        {"SetCell", [](TMemoryGrid& g) { g.SetCell(-1, 0, "x"); }},
        {"SetCell", [](TMemoryGrid& g) { g.SetCell(0, -1, "x"); }},
        {"SetRowCount", [](TMemoryGrid& g) { g.SetRowCount(-1); }},
        {"SetColCount", [](TMemoryGrid& g) { g.SetColCount(-3); }},
        {"SetFixedRows", [](TMemoryGrid& g) { g.SetFixedRows(-1); }},
        {"SetColumnWidth", [](TMemoryGrid& g) { g.SetColumnWidth(0, -5); }},
    };
    for (const auto& c : cases) {
        try {
            c.Call(grid);
            ADD_FAILURE() << c.Method << " accepted a negative number";
        } catch (const EMemoryGrid& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("TMemoryGrid.") + c.Method + " Failed: a row or column number cannot be negative");
        }
    }
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.RowCount(), 2);
}

}  // namespace
