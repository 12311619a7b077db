#pragma once

#include <cstdint>
#include <vector>

#include "solver/VM4_SparseColumns.h"

// LU factorization of a sparse Rows x Columns matrix (Rows >= Columns) in
// extended precision, column by column (left-looking), with partial pivoting
// among the rows not yet chosen and the columns in a fill-limiting order.
//
// The first factorization of a pattern picks the column order and the pivot
// rows and records the pattern of the factors. Later factorizations of a matrix
// with the same pattern (only the values change, as between Newton steps) reuse
// that analysis and only recompute numbers, as long as every recorded pivot
// stays within a factor PivotThreshold of the largest candidate in its column;
// otherwise they pivot afresh. With more rows than columns, the rows never
// chosen as pivots are left out of the solve: they are the dependent ones.
//
// All indices are 0-based.
class TSparseLU {
public:
    // A recorded pivot is kept while |pivot| >= PivotThreshold · the largest
    // candidate of its column: a growth of at most 10 a step, far inside what
    // extended precision absorbs, and far fewer fresh analyses.
    static constexpr long double PivotThreshold = 0.1L;

    // The next factorization analyses its matrix afresh.
    void Forget();

    // Factors `matrix`. False when some column has no usable pivot (every
    // candidate is 0, or there are no rows left) or a value has no finite result.
    // Its pattern must be the one of the previous call unless Forget came between.
    bool Factor(const TSparseColumns& matrix);

    // The rows in pivot order, then the rows never chosen, ascending. Valid after
    // a successful factorization.
    const std::vector<std::int32_t>& RowOrder() const { return rowOrder_; }
    // Renames every row so that RowOrder()[k] becomes row k; the caller renames
    // its matrix the same way, so the recorded pivot rows become 0, 1, 2, ...
    void RenumberRowsInPivotOrder();

    // Solves the pivot rows: `b` holds Rows right-hand sides and is consumed;
    // `x` receives Columns values. False when a value has no finite result.
    bool Solve(std::vector<long double>& b, std::vector<long double>& x) const;

    // Entries of the two factors, a measure of the work per factorization.
    std::int32_t FactorEntryCount() const;
    // Fresh analyses since the last Forget (1 when every step reused the first).
    std::int32_t AnalysisCount() const { return analyses_; }

private:
    bool factorWithRecordedPivots(const TSparseColumns& matrix);
    bool factorWithFreshPivots(const TSparseColumns& matrix);
    bool factorColumnFresh(const TSparseColumns& matrix, std::int32_t step);
    bool factorColumnRecorded(const TSparseColumns& matrix, std::int32_t step);
    std::int32_t reachOfColumn(const TSparseColumns& matrix, std::int32_t column);
    std::int32_t depthFirst(std::int32_t start, std::int32_t top);
    void scatterColumn(const TSparseColumns& matrix, std::int32_t column);
    void scaleRows(const TSparseColumns& matrix);
    std::int32_t pivotAmongCandidates(std::int32_t top, long double largest) const;
    bool isBetterPivot(std::int32_t row, long double size, std::int32_t than, long double thanSize) const;
    void applyEarlierColumn(std::int32_t step, long double value);
    void finishRowOrder(std::int32_t rows);
    void startFactors(const TSparseColumns& matrix);

    bool analysed_ = false;
    std::int32_t rows_ = 0;
    std::int32_t columns_ = 0;
    std::int32_t analyses_ = 0;
    std::vector<std::int32_t> columnOrder_;  // step -> column
    std::vector<std::int32_t> pivotRow_;     // step -> row
    std::vector<std::int32_t> stepOfRow_;    // row -> step, -1 while not a pivot
    std::vector<std::int32_t> rowOrder_;
    std::vector<std::int32_t> rowLength_;    // entries of each row of the matrix
    std::vector<int> rowExponent_;           // each row is scaled by 2^-exponent
    // L by steps: rows below the pivot and their multipliers (unit diagonal not stored).
    std::vector<std::int32_t> lowerStart_;
    std::vector<std::int32_t> lowerRow_;
    std::vector<long double> lowerValue_;
    // U by steps: earlier steps in an order in which they can be applied, and the pivots.
    std::vector<std::int32_t> upperStart_;
    std::vector<std::int32_t> upperStep_;
    std::vector<long double> upperValue_;
    std::vector<long double> pivot_;
    // Work space of one column: values by row (0 outside the column's pattern),
    // the depth-first search's stacks, its output and a mark per row.
    std::vector<long double> work_;
    std::vector<std::int32_t> stack_;
    std::vector<std::int32_t> resume_;
    std::vector<std::int32_t> reach_;
    std::vector<std::uint32_t> mark_;
    std::uint32_t markStamp_ = 0;
};
