#pragma once

#include <cstdint>
#include <vector>

// A sparse Rows x Columns matrix of extended values stored by columns, 0-based:
// the entries of column c are RowIndex[k] / Value[k] for k in
// ColumnStart[c] .. ColumnStart[c + 1] - 1, each row at most once per column.
struct TSparseColumns {
    std::int32_t Rows = 0;
    std::int32_t Columns = 0;
    std::vector<std::int32_t> ColumnStart{0};
    std::vector<std::int32_t> RowIndex;
    std::vector<long double> Value;

    std::int32_t EntryCount() const { return static_cast<std::int32_t>(RowIndex.size()); }
};
