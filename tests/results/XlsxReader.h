#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Reads back what a spreadsheet program would see in a workbook written by the
// engine: the sheet names and the first sheet's text and number cells and
// column widths. Only what the engine writes is understood (string cells,
// number cells with a number format, one <cols> entry per column range);
// anything unreadable fails the test through a thrown error.
struct TXlsxSheet {
    std::vector<std::string> SheetNames;
    // Cell name ("A1") to text.
    std::map<std::string, std::string> Cells;
    // Cell name to the number a number cell holds and the format code it is
    // shown with ("0.000"; "General" when it has none).
    struct TNumberCell {
        double Value = 0.0;
        std::string Format;
    };
    std::map<std::string, TNumberCell> Numbers;
    // Every <c> element of the sheet, of any type: a cell the engine wrote as
    // neither text nor number shows up here without an entry in Cells or Numbers.
    std::size_t CellElementCount = 0;

    // What a spreadsheet shows in a cell: the text, or the number with the
    // decimals of its format ("." as the mark); "" for a cell not written.
    std::string Shown(const std::string& cell) const;
    // Every written cell as Shown gives it.
    std::map<std::string, std::string> AllShown() const;
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
