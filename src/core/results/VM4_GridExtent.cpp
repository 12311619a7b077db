#include "results/VM4_GridExtent.h"

#include <algorithm>

#include "results/VM4_TableGrid.h"

TGridExtent UsedGridExtent(const ITableGrid& grid) {
    TGridExtent extent;
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int column = 0; column < grid.ColCount(); ++column) {
            if (grid.GetCell(column, row).empty()) continue;
            extent.Columns = std::max(extent.Columns, column + 1);
            extent.Rows = row + 1;
        }
    return extent;
}
