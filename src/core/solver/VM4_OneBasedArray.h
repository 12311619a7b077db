#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>

// A fixed-capacity array indexed 1..Capacity, allocated once on the heap.
// The solver's tables are numbered from 1 (unknown flow j is link j of the
// network), so the code reads like the equations it implements.
template <typename T>
class TOneBasedArray {
public:
    explicit TOneBasedArray(std::int32_t capacity)
        : capacity_(capacity), values_(std::make_unique<T[]>(static_cast<std::size_t>(capacity))) {
        assert(capacity >= 0);
    }

    T& operator[](std::int32_t index) { return values_[offsetOf(index)]; }
    const T& operator[](std::int32_t index) const { return values_[offsetOf(index)]; }

    std::int32_t Capacity() const { return capacity_; }

    void Fill(const T& value) {
        std::fill(values_.get(), values_.get() + capacity_, value);
    }

private:
    std::size_t offsetOf(std::int32_t index) const {
        assert(index >= 1 && index <= capacity_);
        return static_cast<std::size_t>(index - 1);
    }

    std::int32_t capacity_;
    std::unique_ptr<T[]> values_;
};
