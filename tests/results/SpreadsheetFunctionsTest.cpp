#include "results/VM4_Spreadsheet_Functions.h"

#include <gtest/gtest.h>

#include "XlsxReader.h"
#include "common/TempFolder.h"
#include "foundations/VM4_DecimalMark.h"
#include "results/VM4_MemoryGrid.h"

namespace {

struct TCellNameCase {
    int Row;
    int Column;
    const char* Name;
};

void PrintTo(const TCellNameCase& c, std::ostream* out) { *out << c.Name; }

class SpreadsheetCellNameTest : public ::testing::TestWithParam<TCellNameCase> {};

TEST_P(SpreadsheetCellNameTest, LettersForTheColumnThenTheRow) {
    EXPECT_EQ(SpreadsheetCellName(GetParam().Row, GetParam().Column), GetParam().Name);
}

// Past Z the letters go on as a spreadsheet counts them: 27 = AA, 52 = AZ,
// 53 = BA, 702 = 26 * 26 + 26 = ZZ, 703 = AAA.
INSTANTIATE_TEST_SUITE_P(Names, SpreadsheetCellNameTest,
                         ::testing::Values(TCellNameCase{1, 1, "A1"}, TCellNameCase{2000, 26, "Z2000"},
                                           TCellNameCase{28, 2, "B28"}, TCellNameCase{1, 27, "AA1"},
                                           TCellNameCase{3, 52, "AZ3"}, TCellNameCase{3, 53, "BA3"},
                                           TCellNameCase{10, 702, "ZZ10"}, TCellNameCase{10, 703, "AAA10"}));

TEST(SpreadsheetCellNameErrorTest, RowsAndColumnsBelowOneAreRefused) {
    for (const auto& [row, column] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-5, 3}}) {
        try {
            SpreadsheetCellName(row, column);
            ADD_FAILURE() << "accepted row " << row << ", column " << column;
        } catch (const ESpreadsheetFunctions& error) {
            EXPECT_STREQ(error.what(), "SpreadsheetCellName Failed: Row and column must be 1 or more");
        }
    }
}

class SaveGridAsSpreadsheetTest : public ::testing::Test {
protected:
    SaveGridAsSpreadsheetTest() : grid(27, 28) {
        grid.SetCell(0, 0, "Pipe Id");
        grid.SetCell(3, 0, "Inner Diameter");
        grid.SetCell(3, 1, "mm");
        grid.SetCell(8, 1, "m\xC2\xB3/sec");
        grid.SetCell(0, 2, "1");
        grid.SetCell(3, 2, "102.260");
        grid.SetCell(8, 2, "0,0100");
        grid.SetCell(2, 2, "4\" Steel <Sch. 40> & more");
        grid.SetCell(26, 2, "  notes with leading blanks");
        grid.SetCell(9, 3, "*6.000 (Flow Velocity is high)");
    }

    void expectSheetHoldsTheGrid(const std::filesystem::path& file, const std::string& sheetName) {
        const TXlsxSheet sheet = ReadXlsxFirstSheet(file);
        EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{sheetName});
        // Titles, units, names, flagged values and a number in the other
        // decimal mark stay texts, exactly as the grid shows them.
        const std::map<std::string, std::string> texts = {
            {"A1", "Pipe Id"},
            {"D1", "Inner Diameter"},
            {"D2", "mm"},
            {"I2", "m\xC2\xB3/sec"},
            {"C3", "4\" Steel <Sch. 40> & more"},
            {"I3", "0,0100"},
            {"AA3", "  notes with leading blanks"},
            {"J4", "*6.000 (Flow Velocity is high)"},
        };
        EXPECT_EQ(sheet.Cells, texts);
        // Plain numbers are numbers, shown with the grid's decimals.
        ASSERT_EQ(sheet.Numbers.size(), 2u);
        EXPECT_EQ(sheet.Numbers.at("A3").Value, 1.0);
        EXPECT_EQ(sheet.Numbers.at("A3").Format, "0");
        EXPECT_DOUBLE_EQ(sheet.Numbers.at("D3").Value, 102.26);
        EXPECT_EQ(sheet.Numbers.at("D3").Format, "0.000");
        // No blank cell or cell of another kind was made of the grid.
        EXPECT_EQ(sheet.CellElementCount, texts.size() + 2);
    }

    TTempFolder folder;
    TMemoryGrid grid;
};

TEST_F(SaveGridAsSpreadsheetTest, WritesTheGridAsTextsFromA1OnOneNamedSheet) {
    const auto file = folder / "results.xlsx";
    SaveGridAsSpreadsheet(grid, "Velmora Studio - Results", file);
    expectSheetHoldsTheGrid(file, "Velmora Studio - Results");
    EXPECT_EQ(FolderListing(folder.Path()), "results.xlsx\n");
}

// With "," as the decimal mark the tables print "0,0100": that is the number,
// and "102.260" is not one of the table's numbers any more.
TEST_F(SaveGridAsSpreadsheetTest, NumbersFollowTheSystemsDecimalMark) {
    const TScopedDecimalMark comma(',');
    const auto file = folder / "results.xlsx";
    SaveGridAsSpreadsheet(grid, "Pipes", file);
    const TXlsxSheet sheet = ReadXlsxFirstSheet(file);
    EXPECT_EQ(sheet.Cells.at("D3"), "102.260");
    ASSERT_EQ(sheet.Numbers.count("I3"), 1u);
    EXPECT_DOUBLE_EQ(sheet.Numbers.at("I3").Value, 0.01);
    EXPECT_EQ(sheet.Numbers.at("I3").Format, "0.0000");
}

TEST_F(SaveGridAsSpreadsheetTest, EveryColumnOfTheGridGetsTheGivenWidth) {
    const auto file = folder / "results.xlsx";
    SaveGridAsSpreadsheet(grid, "Pipes", file, 20.0);
    const TXlsxSheet sheet = ReadXlsxFirstSheet(file);
    ASSERT_EQ(sheet.ColumnWidths.size(), 1u);
    EXPECT_EQ(sheet.ColumnWidths[0].First, 1);
    EXPECT_EQ(sheet.ColumnWidths[0].Last, 27);
    // The file holds the width plus the cell padding a spreadsheet adds: 20 chars at
    // 7 px plus 5 px of padding is 145 px, stored as 145 / 7 = 20.71... characters.
    EXPECT_NEAR(sheet.ColumnWidths[0].Width, 20.71, 0.01);
}

TEST_F(SaveGridAsSpreadsheetTest, ReplacesAnExistingFileWholeAndLeavesNothingElse) {
    const auto file = folder / "results.xlsx";
    WriteFileContents(file, std::string(100000, 'x'));
    SaveGridAsSpreadsheet(grid, "Nodes", file);
    expectSheetHoldsTheGrid(file, "Nodes");
    EXPECT_EQ(FolderListing(folder.Path()), "results.xlsx\n");
}

TEST_F(SaveGridAsSpreadsheetTest, AMissingFolderRaisesWithTheReasonAndWritesNothing) {
    const auto file = folder / "no such folder" / "results.xlsx";
    try {
        SaveGridAsSpreadsheet(grid, "Pipes", file);
        FAIL() << "saving into a missing folder must raise";
    } catch (const ESpreadsheetFunctions& error) {
        EXPECT_EQ(std::string(error.what()).rfind("SaveGridAsSpreadsheet Failed: Could not save " + file.string() + ": ", 0),
                  0u)
            << error.what();
    }
    EXPECT_EQ(FolderListing(folder.Path()), "");
}

TEST_F(SaveGridAsSpreadsheetTest, AFolderInTheTargetsPlaceIsKept) {
    const auto file = folder / "results.xlsx";
    std::filesystem::create_directory(file);
    WriteFileContents(file / "inside.txt", "kept");
    EXPECT_THROW(SaveGridAsSpreadsheet(grid, "Pipes", file), ESpreadsheetFunctions);
    EXPECT_EQ(FileContents(file / "inside.txt"), "kept");
    EXPECT_EQ(FolderListing(folder.Path()), "results.xlsx\n");
}

TEST_F(SaveGridAsSpreadsheetTest, SheetNamesASpreadsheetRefusesRaiseAndKeepTheOldFile) {
    const auto file = folder / "results.xlsx";
    WriteFileContents(file, "old workbook");
    const char* refused[] = {
        "Velmora Studio - Results of 2026",  // 32 characters
        "Pipes/Nodes", "[Pipes]", "Pipes: all", "What?", "Star*", "back\\slash", "'quoted'",
    };
    for (const char* sheetName : refused) {
        try {
            SaveGridAsSpreadsheet(grid, sheetName, file);
            ADD_FAILURE() << "accepted the sheet name " << sheetName;
        } catch (const ESpreadsheetFunctions& error) {
            const std::string expectedStart =
                std::string("SaveGridAsSpreadsheet Failed: the sheet name \"") + sheetName + "\" is not accepted: ";
            EXPECT_EQ(std::string(error.what()).rfind(expectedStart, 0), 0u) << error.what();
        }
    }
    EXPECT_EQ(FileContents(file), "old workbook");
    EXPECT_EQ(FolderListing(folder.Path()), "results.xlsx\n");
}

TEST_F(SaveGridAsSpreadsheetTest, ThirtyOneCharactersAreAccepted) {
    const auto file = folder / "results.xlsx";
    const std::string name = "Velmora Studio - Results of 202";
    ASSERT_EQ(name.size(), 31u);
    SaveGridAsSpreadsheet(grid, name, file);
    expectSheetHoldsTheGrid(file, name);
}

}  // namespace
