#pragma once

#include <optional>
#include <string>
#include <vector>

class ITableGrid;
class TPipe;

// What the result and data tables have in common: their headings, column
// widths, row counts, flagged cells and the texts they share.

// Cells that stand for "nothing to show".
constexpr const char* kCellNone = "none";
constexpr const char* kCellNotIncluded = "Not Included";
constexpr const char* kCellNotApplicable = "N/A";
constexpr const char* kCellNotSet = "Not Set";
constexpr const char* kUnitsPercentage = "Percentage";
constexpr const char* kNoteCavitation = " (Too Low - Cavitation may occur at the pump)";

// Widths of the first two columns, in pixels; the node and fluid tables need
// a wider second column for their type names.
constexpr int kIdColumnWidth_px = 40;
constexpr int kNameColumnWidth_px = 80;
constexpr int kWideNameColumnWidth_px = 86;
// A result grid never shrinks below this many rows.
constexpr int kMinimumResultRowCount = 28;

// One column's title and the text of its units row; no units text leaves the
// units cell as it was.
struct TColumnHeading {
    std::string Title;
    std::optional<std::string> Units;
};

// Titles in row headerRow and units in the row below, from column 0.
void WriteHeadings(ITableGrid& grid, int headerRow, const std::vector<TColumnHeading>& headings);
// Titles only, from column 0.
void WriteTitles(ITableGrid& grid, int headerRow, const std::vector<std::string>& titles);

void SetIdAndNameColumnWidths(ITableGrid& grid, int nameColumnWidth_px);

// Row count of a result table: last row + 2, never below the minimum.
void SetResultRowCount(ITableGrid& grid, int lastRow);

// "*" + text + note: a value that needs the reader's attention. Flags
// accumulate: each adds its own "*" in front.
std::string FlaggedCell(const std::string& text, const std::string& note);

// Notes on one line: the lines joined by a blank, carriage returns shown as
// blanks and line feeds removed.
std::string NotesAsOneLine(const std::vector<std::string>& lines);

// NominalSize + " " + Material + " " + Schedule.
std::string PipeSizeText(const TPipe& pipe);
