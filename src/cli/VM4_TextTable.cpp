#include "VM4_TextTable.h"

#include <algorithm>
#include <vector>

#include "results/VM4_GridExtent.h"
#include "results/VM4_TableGrid.h"

namespace {

// Characters of UTF-8 text: every byte but the continuation bytes 10xxxxxx.
std::size_t characterCount(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<std::size_t> columnWidths(const ITableGrid& grid, const TGridExtent& area) {
    std::vector<std::size_t> widths(static_cast<std::size_t>(area.Columns), 0);
    for (int row = 0; row < area.Rows; ++row)
        for (int column = 0; column < area.Columns; ++column) {
            std::size_t& width = widths[static_cast<std::size_t>(column)];
            width = std::max(width, characterCount(grid.GetCell(column, row)));
        }
    return widths;
}

}  // namespace

std::string GridAsText(const ITableGrid& grid) {
    const TGridExtent area = UsedGridExtent(grid);
    const std::vector<std::size_t> widths = columnWidths(grid, area);
    std::string text;
    for (int row = 0; row < area.Rows; ++row) {
        std::string line;
        for (int column = 0; column < area.Columns; ++column) {
            const std::string cell = grid.GetCell(column, row);
            if (column > 0) line += "  ";
            line += cell;
            line.append(widths[static_cast<std::size_t>(column)] - characterCount(cell), ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}
