#pragma once

class ITableGrid;

// The smallest top-left part of a grid that holds every non-empty cell: what a
// writer of the table puts out, without the empty padding the fill leaves.
struct TGridExtent {
    int Columns = 0;
    int Rows = 0;
};

TGridExtent UsedGridExtent(const ITableGrid& grid);
