#include "results/VM4_TableLayout.h"

#include <algorithm>
#include <cstddef>

#include "model/VM4_Pipe_Class.h"
#include "results/VM4_TableGrid.h"

void WriteHeadings(ITableGrid& grid, int headerRow, const std::vector<TColumnHeading>& headings) {
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const int column = static_cast<int>(i);
        grid.SetCell(column, headerRow, headings[i].Title);
        if (headings[i].Units) grid.SetCell(column, headerRow + 1, *headings[i].Units);
    }
}

void WriteTitles(ITableGrid& grid, int headerRow, const std::vector<std::string>& titles) {
    for (std::size_t i = 0; i < titles.size(); ++i) grid.SetCell(static_cast<int>(i), headerRow, titles[i]);
}

void SetIdAndNameColumnWidths(ITableGrid& grid, int nameColumnWidth_px) {
    grid.SetColumnWidth(0, kIdColumnWidth_px);
    grid.SetColumnWidth(1, nameColumnWidth_px);
}

void SetResultRowCount(ITableGrid& grid, int lastRow) {
    grid.SetRowCount(std::max(lastRow + 2, kMinimumResultRowCount));
}

std::string FlaggedCell(const std::string& text, const std::string& note) { return "*" + text + note; }

std::string NotesAsOneLine(const std::vector<std::string>& lines) {
    std::string oneLine;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) oneLine += ' ';
        for (const char c : lines[i]) {
            if (c == '\n') continue;
            oneLine += c == '\r' ? ' ' : c;
        }
    }
    return oneLine;
}

std::string PipeSizeText(const TPipe& pipe) { return pipe.NominalSize + " " + pipe.Material + " " + pipe.Schedule; }
