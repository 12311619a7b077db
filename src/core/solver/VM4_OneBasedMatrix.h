#pragma once

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

// A dense Rows x Columns table indexed [1..Rows][1..Columns], allocated once on
// the heap as one block (the Jacobian alone is 2000 x 1000 extended values,
// far too large for the stack).
template <typename T>
class TOneBasedMatrix {
public:
    // One row of the table, indexed 1..Columns.
    template <typename Element>
    class TRow {
    public:
        TRow(Element* first, std::int32_t columns) : first_(first), columns_(columns) {}

        Element& operator[](std::int32_t column) const {
            assert(column >= 1 && column <= columns_);
            return first_[column - 1];
        }

    private:
        Element* first_;
        std::int32_t columns_;
    };

    TOneBasedMatrix(std::int32_t rows, std::int32_t columns)
        : rows_(rows), columns_(columns),
          values_(std::make_unique<T[]>(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns))) {
        assert(rows >= 0 && columns >= 0);
    }

    TRow<T> operator[](std::int32_t row) { return TRow<T>(rowStart(row), columns_); }
    TRow<const T> operator[](std::int32_t row) const { return TRow<const T>(rowStart(row), columns_); }

    std::int32_t Rows() const { return rows_; }
    std::int32_t Columns() const { return columns_; }

    void Fill(const T& value) {
        const std::size_t count = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_);
        // The engine empties its 32 MB Jacobian before every generation; all-zero
        // bytes are the value 0 of every arithmetic type, and memset clears them
        // many times faster than an element loop does without optimisation.
        if constexpr (std::is_arithmetic_v<T>) {
            if (value == T{} && !std::signbit(value)) {
                std::memset(values_.get(), 0, count * sizeof(T));
                return;
            }
        }
        std::fill(values_.get(), values_.get() + count, value);
    }

    // Exchanges columns 1..columnCount of two rows.
    void SwapRowPrefixes(std::int32_t rowA, std::int32_t rowB, std::int32_t columnCount) {
        assert(columnCount >= 0 && columnCount <= columns_);
        std::swap_ranges(rowStart(rowA), rowStart(rowA) + columnCount, rowStart(rowB));
    }

private:
    T* rowStart(std::int32_t row) const {
        assert(row >= 1 && row <= rows_);
        return values_.get() + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(columns_);
    }

    std::int32_t rows_;
    std::int32_t columns_;
    std::unique_ptr<T[]> values_;
};
