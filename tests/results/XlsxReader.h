#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Reads back what a spreadsheet program would see in a workbook written by the
// engine: the sheet names and the first sheet's text cells and column widths.
// Only what the engine writes is understood (string cells, one <cols> entry per
// column range); anything unreadable fails the test through a thrown error.
struct TXlsxSheet {
    std::vector<std::string> SheetNames;
    // Cell name ("A1") to text.
    std::map<std::string, std::string> Cells;
    // Every <c> element of the sheet, of any type: a cell the engine wrote as
    // anything but a text shows up here without an entry in Cells.
    std::size_t CellElementCount = 0;
    struct TColumnRange {
        int First = 0;  // 1-based
        int Last = 0;
        double Width = 0.0;
    };
    std::vector<TColumnRange> ColumnWidths;
};

TXlsxSheet ReadXlsxFirstSheet(const std::filesystem::path& workbook);

// The uncompressed bytes of one member of a zip archive.
std::string ReadZipMember(const std::string& archive, const std::string& memberName);
