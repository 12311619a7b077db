#pragma once

#include <cstdint>
#include <vector>

#include "solver/VM4_SparseColumns.h"

// An order of the columns of `matrix` in which to eliminate them so that an LU
// factorization with row pivoting creates little fill: minimum degree on the
// graph joining two columns that share a row. Whatever rows the pivoting picks,
// the factors stay within the pattern of the Cholesky factor of the column
// graph, so ordering that graph bounds the fill. Ties go to the lowest column,
// so the order depends on the pattern only. Element k is the k-th column to
// eliminate (0-based).
std::vector<std::int32_t> FillLimitingColumnOrder(const TSparseColumns& matrix);
