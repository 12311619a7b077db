#include "solver/VM4_SparseLU.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "solver/VM4_FillLimitingOrder.h"

namespace {

std::size_t at(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

void TSparseLU::Forget() {
    analysed_ = false;
    columnOrder_.clear();
    analyses_ = 0;
}

bool TSparseLU::Factor(const TSparseColumns& matrix) {
    scaleRows(matrix);
    const bool sameShape = matrix.Rows == rows_ && matrix.Columns == columns_;
    if (analysed_ && sameShape && factorWithRecordedPivots(matrix)) return true;
    return factorWithFreshPivots(matrix);
}

std::int32_t TSparseLU::FactorEntryCount() const {
    return static_cast<std::int32_t>(lowerRow_.size() + upperStep_.size()) + columns_;
}

// ---------------------------------------------------------------------------
// Fresh analysis: each column is solved against the factor so far,
//   x = L \ A(:, column),
// over the rows its entries reach through L (a depth-first search gives them in
// an order in which the earlier columns can be applied), and the largest of the
// rows not yet chosen becomes its pivot.

bool TSparseLU::factorWithFreshPivots(const TSparseColumns& matrix) {
    analysed_ = false;
    ++analyses_;
    if (columnOrder_.size() != at(matrix.Columns)) columnOrder_ = FillLimitingColumnOrder(matrix);
    startFactors(matrix);
    for (std::int32_t step = 0; step < columns_; ++step)
        if (!factorColumnFresh(matrix, step)) return false;
    finishRowOrder(rows_);
    analysed_ = true;
    return true;
}

void TSparseLU::startFactors(const TSparseColumns& matrix) {
    rows_ = matrix.Rows;
    columns_ = matrix.Columns;
    work_.assign(at(rows_), 0.0L);
    stepOfRow_.assign(at(rows_), -1);
    mark_.assign(at(rows_), 0);
    markStamp_ = 0;
    stack_.assign(at(rows_), 0);
    resume_.assign(at(rows_), 0);
    reach_.assign(at(rows_), 0);
    pivotRow_.assign(at(columns_), -1);
    rowLength_.assign(at(rows_), 0);
    for (const std::int32_t row : matrix.RowIndex) ++rowLength_[at(row)];
    pivot_.assign(at(columns_), 0.0L);
    lowerStart_.assign(1, 0);
    lowerRow_.clear();
    lowerValue_.clear();
    upperStart_.assign(1, 0);
    upperStep_.clear();
    upperValue_.clear();
}

bool TSparseLU::factorColumnFresh(const TSparseColumns& matrix, std::int32_t step) {
    const std::int32_t top = reachOfColumn(matrix, columnOrder_[at(step)]);
    scatterColumn(matrix, columnOrder_[at(step)]);
    for (std::int32_t p = top; p < rows_; ++p) {
        const std::int32_t row = reach_[at(p)];
        if (stepOfRow_[at(row)] >= 0) applyEarlierColumn(stepOfRow_[at(row)], work_[at(row)]);
    }
    long double largest = 0.0L;
    bool finite = true;
    for (std::int32_t p = top; p < rows_; ++p) {
        const std::int32_t row = reach_[at(p)];
        const long double value = work_[at(row)];
        finite = finite && std::isfinite(value);
        if (stepOfRow_[at(row)] >= 0) {
            upperStep_.push_back(stepOfRow_[at(row)]);
            upperValue_.push_back(value);
        } else {
            largest = std::max(largest, std::fabs(value));
        }
    }
    const std::int32_t best = finite && largest > 0.0L ? pivotAmongCandidates(top, largest) : -1;
    const bool usable = best >= 0;
    if (usable) {
        const long double pivot = work_[at(best)];
        pivot_[at(step)] = pivot;
        pivotRow_[at(step)] = best;
        stepOfRow_[at(best)] = step;
        for (std::int32_t p = top; p < rows_; ++p) {
            const std::int32_t row = reach_[at(p)];
            if (stepOfRow_[at(row)] >= 0) continue;
            lowerRow_.push_back(row);
            lowerValue_.push_back(work_[at(row)] / pivot);
        }
    }
    for (std::int32_t p = top; p < rows_; ++p) work_[at(reach_[at(p)])] = 0.0L;
    upperStart_.push_back(static_cast<std::int32_t>(upperStep_.size()));
    lowerStart_.push_back(static_cast<std::int32_t>(lowerRow_.size()));
    return usable;
}

// Among the candidates within PivotThreshold of the largest, the row with the
// fewest entries, which spreads least fill; then the larger value; then the lower
// row, so that the choice does not depend on the order of the search.
std::int32_t TSparseLU::pivotAmongCandidates(std::int32_t top, long double largest) const {
    std::int32_t best = -1;
    for (std::int32_t p = top; p < rows_; ++p) {
        const std::int32_t row = reach_[at(p)];
        if (stepOfRow_[at(row)] >= 0) continue;
        const long double size = std::fabs(work_[at(row)]);
        if (size < PivotThreshold * largest || size == 0.0L) continue;
        if (best < 0 || isBetterPivot(row, size, best, std::fabs(work_[at(best)]))) best = row;
    }
    return best;
}

bool TSparseLU::isBetterPivot(std::int32_t row, long double size, std::int32_t than, long double thanSize) const {
    if (rowLength_[at(row)] != rowLength_[at(than)]) return rowLength_[at(row)] < rowLength_[at(than)];
    if (size != thanSize) return size > thanSize;
    return row < than;
}

// The rows reachable from the column's entries, left in reach_[top .. rows_ - 1].
std::int32_t TSparseLU::reachOfColumn(const TSparseColumns& matrix, std::int32_t column) {
    if (++markStamp_ == 0) {
        std::fill(mark_.begin(), mark_.end(), 0U);
        markStamp_ = 1;
    }
    std::int32_t top = rows_;
    for (std::int32_t k = matrix.ColumnStart[at(column)]; k < matrix.ColumnStart[at(column) + 1]; ++k) {
        const std::int32_t row = matrix.RowIndex[at(k)];
        if (mark_[at(row)] != markStamp_) top = depthFirst(row, top);
    }
    return top;
}

// A row that is the pivot of an earlier step leads to the rows of that step's
// L column. Rows are put out after everything they lead to, in front of `top`,
// so reading from the front applies each earlier step before its results are used.
std::int32_t TSparseLU::depthFirst(std::int32_t start, std::int32_t top) {
    std::int32_t head = 0;
    stack_[0] = start;
    while (head >= 0) {
        const std::int32_t row = stack_[at(head)];
        const std::int32_t step = stepOfRow_[at(row)];
        if (mark_[at(row)] != markStamp_) {
            mark_[at(row)] = markStamp_;
            resume_[at(head)] = step < 0 ? 0 : lowerStart_[at(step)];
        }
        const std::int32_t end = step < 0 ? 0 : lowerStart_[at(step) + 1];
        bool descended = false;
        for (std::int32_t p = resume_[at(head)]; p < end; ++p) {
            const std::int32_t next = lowerRow_[at(p)];
            if (mark_[at(next)] == markStamp_) continue;
            resume_[at(head)] = p + 1;
            stack_[at(++head)] = next;
            descended = true;
            break;
        }
        if (!descended) {
            --head;
            reach_[at(--top)] = row;
        }
    }
    return top;
}

void TSparseLU::scatterColumn(const TSparseColumns& matrix, std::int32_t column) {
    for (std::int32_t k = matrix.ColumnStart[at(column)]; k < matrix.ColumnStart[at(column) + 1]; ++k) {
        const std::int32_t row = matrix.RowIndex[at(k)];
        work_[at(row)] = std::ldexp(matrix.Value[at(k)], -rowExponent_[at(row)]);
    }
}

// Each row is scaled by a power of two (exactly, no rounding) that brings its
// largest entry into [0.5, 1): a head equation's slopes of hundreds and a
// continuity equation's ones then compete for pivots on equal terms, and the
// threshold can prefer the sparser row.
void TSparseLU::scaleRows(const TSparseColumns& matrix) {
    std::vector<long double> largest(at(matrix.Rows), 0.0L);
    for (std::int32_t k = 0; k < matrix.EntryCount(); ++k) {
        long double& row = largest[at(matrix.RowIndex[at(k)])];
        row = std::max(row, std::fabs(matrix.Value[at(k)]));
    }
    rowExponent_.assign(at(matrix.Rows), 0);
    for (std::int32_t row = 0; row < matrix.Rows; ++row) {
        if (largest[at(row)] > 0.0L && std::isfinite(largest[at(row)])) std::frexp(largest[at(row)], &rowExponent_[at(row)]);
    }
}

// work(rows of L(:, step)) −= L(:, step) · value
void TSparseLU::applyEarlierColumn(std::int32_t step, long double value) {
    if (value == 0.0L) return;
    const std::int32_t end = lowerStart_[at(step) + 1];
    for (std::int32_t q = lowerStart_[at(step)]; q < end; ++q)
        work_[at(lowerRow_[at(q)])] -= lowerValue_[at(q)] * value;
}

void TSparseLU::finishRowOrder(std::int32_t rows) {
    rowOrder_.assign(pivotRow_.begin(), pivotRow_.end());
    for (std::int32_t row = 0; row < rows; ++row)
        if (stepOfRow_[at(row)] < 0) rowOrder_.push_back(row);
}

// ---------------------------------------------------------------------------
// Numbers only: the recorded patterns, pivots and order of operations, with the
// new values. A pivot that has become small against its column's other
// candidates ends it, and the caller pivots afresh.

bool TSparseLU::factorWithRecordedPivots(const TSparseColumns& matrix) {
    for (std::int32_t step = 0; step < columns_; ++step)
        if (!factorColumnRecorded(matrix, step)) return false;
    return true;
}

bool TSparseLU::factorColumnRecorded(const TSparseColumns& matrix, std::int32_t step) {
    scatterColumn(matrix, columnOrder_[at(step)]);
    const std::int32_t upperEnd = upperStart_[at(step) + 1];
    for (std::int32_t q = upperStart_[at(step)]; q < upperEnd; ++q) {
        const long double value = work_[at(pivotRow_[at(upperStep_[at(q)])])];
        upperValue_[at(q)] = value;
        applyEarlierColumn(upperStep_[at(q)], value);
    }
    const std::int32_t lowerBegin = lowerStart_[at(step)];
    const std::int32_t lowerEnd = lowerStart_[at(step) + 1];
    long double largest = 0.0L;
    for (std::int32_t q = lowerBegin; q < lowerEnd; ++q) largest = std::max(largest, std::fabs(work_[at(lowerRow_[at(q)])]));
    const long double pivot = work_[at(pivotRow_[at(step)])];
    const bool usable = std::isfinite(pivot) && std::isfinite(largest) && pivot != 0.0L &&
                        std::fabs(pivot) >= PivotThreshold * largest;
    if (usable) {
        pivot_[at(step)] = pivot;
        for (std::int32_t q = lowerBegin; q < lowerEnd; ++q) lowerValue_[at(q)] = work_[at(lowerRow_[at(q)])] / pivot;
    }
    for (std::int32_t q = upperStart_[at(step)]; q < upperEnd; ++q) work_[at(pivotRow_[at(upperStep_[at(q)])])] = 0.0L;
    for (std::int32_t q = lowerBegin; q < lowerEnd; ++q) work_[at(lowerRow_[at(q)])] = 0.0L;
    work_[at(pivotRow_[at(step)])] = 0.0L;
    return usable;
}

void TSparseLU::RenumberRowsInPivotOrder() {
    std::vector<std::int32_t> newIndex(at(rows_));
    for (std::size_t k = 0; k < rowOrder_.size(); ++k) newIndex[at(rowOrder_[k])] = static_cast<std::int32_t>(k);
    for (std::int32_t& row : lowerRow_) row = newIndex[at(row)];
    std::vector<std::int32_t> lengths(rowLength_.size());
    std::vector<int> exponents(rowExponent_.size());
    for (std::size_t k = 0; k < rowOrder_.size(); ++k) {
        lengths[k] = rowLength_[at(rowOrder_[k])];
        exponents[k] = rowExponent_[at(rowOrder_[k])];
    }
    rowLength_ = std::move(lengths);
    rowExponent_ = std::move(exponents);
    for (std::int32_t step = 0; step < columns_; ++step) pivotRow_[at(step)] = step;
    std::fill(stepOfRow_.begin(), stepOfRow_.end(), -1);
    for (std::int32_t step = 0; step < columns_; ++step) stepOfRow_[at(step)] = step;
    for (std::size_t k = 0; k < rowOrder_.size(); ++k) rowOrder_[k] = static_cast<std::int32_t>(k);
}

// ---------------------------------------------------------------------------
// L·y = b on the pivot rows, then U·z = y; x(column of step k) = z(k).

bool TSparseLU::Solve(std::vector<long double>& b, std::vector<long double>& x) const {
    for (std::int32_t row = 0; row < rows_; ++row) b[at(row)] = std::ldexp(b[at(row)], -rowExponent_[at(row)]);
    for (std::int32_t step = 0; step < columns_; ++step) {
        const long double y = b[at(pivotRow_[at(step)])];
        if (y == 0.0L) continue;
        const std::int32_t end = lowerStart_[at(step) + 1];
        for (std::int32_t q = lowerStart_[at(step)]; q < end; ++q) b[at(lowerRow_[at(q)])] -= lowerValue_[at(q)] * y;
    }
    bool finite = true;
    for (std::int32_t step = columns_ - 1; step >= 0; --step) {
        const long double z = b[at(pivotRow_[at(step)])] / pivot_[at(step)];
        finite = finite && std::isfinite(z);
        x[at(columnOrder_[at(step)])] = z;
        const std::int32_t end = upperStart_[at(step) + 1];
        for (std::int32_t q = upperStart_[at(step)]; q < end; ++q)
            b[at(pivotRow_[at(upperStep_[at(q)])])] -= upperValue_[at(q)] * z;
    }
    return finite;
}
