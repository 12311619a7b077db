#pragma once

#include <filesystem>
#include <string>

#include "foundations/VM4_Errors.h"

class ITableGrid;

// Raised when a workbook cannot be written; the message says why.
VELMORA_DECLARE_ERROR(ESpreadsheetFunctions);

// The width the exported sheets give every column, in characters.
constexpr double kSpreadsheetColumnWidth_chars = 14.0;

// The workbook's file extension: an Office Open XML workbook is what is written.
constexpr const char* kSpreadsheetFileExtension = ".xlsx";

// The spreadsheet's name of a cell: the column letters (A..Z, then AA, AB, ...)
// followed by the row number, both 1-based: (2000, 26) gives "Z2000".
// Raises ESpreadsheetFunctions for a row or column below 1.
std::string SpreadsheetCellName(int row, int column);

// Writes the whole grid, heading rows included, as an Office Open XML workbook
// of one worksheet named `sheetName`: grid cell (column c, row r) becomes sheet
// cell SpreadsheetCellName(r + 1, c + 1), and every column is
// `columnWidth_chars` wide. A cell that shows a plain number in the system's
// decimal mark (ReadTableNumber) becomes a number cell formatted with as many
// decimals as the grid shows, so that a spreadsheet sums a column of flows;
// every other cell (titles, units rows, names, flagged values) is the grid's
// text as it stands.
//
// The workbook is built aside and replaces `fileName` only once it is
// complete, so that a failure never leaves a partial file under that name.
// Raises ESpreadsheetFunctions with the reason when the sheet name is not one
// a spreadsheet accepts (at most 31 characters, none of [ ] : * ? / \, not
// starting or ending with an apostrophe) or the file cannot be written (no
// such folder, no permission); `fileName` is then as it was.
void SaveGridAsSpreadsheet(const ITableGrid& grid, const std::string& sheetName, const std::filesystem::path& fileName,
                           double columnWidth_chars = kSpreadsheetColumnWidth_chars);
