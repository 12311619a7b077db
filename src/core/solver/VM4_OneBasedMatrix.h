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
//
// The table remembers, row by row, which columns may have been written since it
// was last filled with zeros, so that emptying it costs what was written, not
// its 32 MB. Every write through operator[] counts as writing the whole row; code
// that writes through RowData says which columns it wrote with MarkWritten.
// ModificationCount tells a reader whether anything may have changed since it
// last looked.
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
          values_(std::make_unique<T[]>(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns))),
          written_(std::make_unique<TWrittenColumns[]>(static_cast<std::size_t>(rows))) {
        assert(rows >= 0 && columns >= 0);
    }

    TRow<T> operator[](std::int32_t row) {
        markWritten(row, 1, columns_);
        return TRow<T>(rowStart(row), columns_);
    }
    TRow<const T> operator[](std::int32_t row) const { return TRow<const T>(rowStart(row), columns_); }

    std::int32_t Rows() const { return rows_; }
    std::int32_t Columns() const { return columns_; }

    void Fill(const T& value) {
        const std::size_t count = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_);
        const bool zero = isZero(value);
        if (zero && cleanIsZero_) {
            for (std::int32_t row = 1; row <= rows_; ++row) zeroWrittenColumns(row, columns_);
        } else if (zero) {
            // All-zero bytes are the value 0 of every arithmetic type, and memset
            // clears them many times faster than an element loop.
            std::memset(static_cast<void*>(values_.get()), 0, count * sizeof(T));
        } else {
            std::fill(values_.get(), values_.get() + count, value);
        }
        std::fill(written_.get(), written_.get() + rows_, TWrittenColumns{});
        cleanIsZero_ = zero;
        ++modifications_;
    }

    // Exchanges columns 1..columnCount of two rows.
    void SwapRowPrefixes(std::int32_t rowA, std::int32_t rowB, std::int32_t columnCount) {
        assert(columnCount >= 0 && columnCount <= columns_);
        swapBytes(rowStart(rowA), rowStart(rowB), static_cast<std::size_t>(columnCount) * sizeof(T));
        const TWrittenColumns both = unionOf(written_[offsetOf(rowA)], written_[offsetOf(rowB)]);
        written_[offsetOf(rowA)] = both;
        written_[offsetOf(rowB)] = both;
        ++modifications_;
    }

    // Rows 1..rowCount, columns 1..columnCount all become 0; nothing else changes.
    void ClearBlock(std::int32_t rowCount, std::int32_t columnCount) {
        assert(rowCount >= 0 && rowCount <= rows_ && columnCount >= 0 && columnCount <= columns_);
        for (std::int32_t row = 1; row <= rowCount; ++row) {
            if (cleanIsZero_) {
                zeroWrittenColumns(row, columnCount);
            } else {
                std::fill(rowStart(row), rowStart(row) + columnCount, T{});
                markWritten(row, 1, columnCount);
            }
        }
        ++modifications_;
    }

    // Raw access to row `row`: element c - 1 is column c. Writes through it must be
    // declared with MarkWritten; reads need nothing.
    T* RowData(std::int32_t row) { return rowStart(row); }
    const T* RowData(std::int32_t row) const { return rowStart(row); }
    void MarkWritten(std::int32_t row, std::int32_t firstColumn, std::int32_t lastColumn) {
        markWritten(row, firstColumn, lastColumn);
    }

    std::uint64_t ModificationCount() const { return modifications_; }

private:
    // Columns First..Last of a row may hold something other than the clean value;
    // empty when Last < First.
    struct TWrittenColumns {
        std::int32_t First = 1;
        std::int32_t Last = 0;
    };

    // The bytes of two distinct ranges exchanged through a small buffer: block
    // copies instead of an element loop (and no floating-point loads of values
    // that are only moved).
    static void swapBytes(T* a, T* b, std::size_t bytes) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (a == b) return;
        unsigned char buffer[512];
        auto* first = reinterpret_cast<unsigned char*>(a);
        auto* second = reinterpret_cast<unsigned char*>(b);
        for (std::size_t done = 0; done < bytes; done += sizeof buffer) {
            const std::size_t chunk = std::min(sizeof buffer, bytes - done);
            std::memcpy(buffer, first + done, chunk);
            std::memcpy(first + done, second + done, chunk);
            std::memcpy(second + done, buffer, chunk);
        }
    }

    static bool isZero(const T& value) {
        if constexpr (std::is_floating_point_v<T>) {
            return value == T{} && !std::signbit(value);
        } else if constexpr (std::is_arithmetic_v<T>) {
            return value == T{};
        } else {
            return false;
        }
    }

    static TWrittenColumns unionOf(const TWrittenColumns& a, const TWrittenColumns& b) {
        if (a.Last < a.First) return b;
        if (b.Last < b.First) return a;
        return {std::min(a.First, b.First), std::max(a.Last, b.Last)};
    }

    void markWritten(std::int32_t row, std::int32_t firstColumn, std::int32_t lastColumn) {
        TWrittenColumns& written = written_[offsetOf(row)];
        written = unionOf(written, {firstColumn, lastColumn});
        ++modifications_;
    }

    // Zeroes the written columns up to lastColumn; what lies beyond stays written.
    void zeroWrittenColumns(std::int32_t row, std::int32_t lastColumn) {
        TWrittenColumns& written = written_[offsetOf(row)];
        if (written.Last < written.First) return;
        const std::int32_t last = std::min(written.Last, lastColumn);
        if (written.First <= last) {
            std::fill(rowStart(row) + (written.First - 1), rowStart(row) + last, T{});
        }
        if (written.Last > lastColumn) {
            written.First = std::max(written.First, lastColumn + 1);
        } else {
            written = TWrittenColumns{};
        }
    }

    std::size_t offsetOf(std::int32_t row) const {
        assert(row >= 1 && row <= rows_);
        return static_cast<std::size_t>(row - 1);
    }

    T* rowStart(std::int32_t row) const {
        return values_.get() + offsetOf(row) * static_cast<std::size_t>(columns_);
    }

    std::int32_t rows_;
    std::int32_t columns_;
    std::unique_ptr<T[]> values_;
    std::unique_ptr<TWrittenColumns[]> written_;
    // Every position outside the written columns holds 0 (false after a fill with
    // another value, until the next fill with 0).
    bool cleanIsZero_ = true;
    std::uint64_t modifications_ = 0;
};
