#include "solver/VM4_LoopIndependence.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::size_t kBitsPerWord = 64;

std::size_t wordOf(std::int32_t bit) { return static_cast<std::size_t>(bit) / kBitsPerWord; }
std::uint64_t maskOf(std::int32_t bit) { return std::uint64_t{1} << (static_cast<std::size_t>(bit) % kBitsPerWord); }

}  // namespace

TLoopIndependence::TLoopIndependence(std::int32_t maxPipeId)
    : words_(static_cast<std::size_t>(maxPipeId) / kBitsPerWord + 1), scratch_(words_, 0) {}

void TLoopIndependence::Clear() {
    loopSets_.clear();
    rowOfLoop_.clear();
    rows_.clear();
    rowPivots_.clear();
}

// A pipe walked twice in one loop cancels, as it does when walked both ways.
// Pipe ids beyond the capacity cannot be in a loop of the table.
void TLoopIndependence::setOf(const std::int32_t* pipes, std::int32_t pipeCount, TBits& bits) const {
    bits.assign(words_, 0);
    for (std::int32_t n = 0; n < pipeCount; ++n) {
        const std::int32_t pipeId = pipes[n];
        if (pipeId < 0 || wordOf(pipeId) >= words_) continue;
        bits[wordOf(pipeId)] ^= maskOf(pipeId);
    }
}

bool TLoopIndependence::testBit(const TBits& bits, std::int32_t bit) const {
    return (bits[wordOf(bit)] & maskOf(bit)) != 0;
}

// Each row was reduced by the rows before it, so it holds none of their lowest
// bits: taking the rows in order clears every row's lowest bit for good.
std::int32_t TLoopIndependence::reduce(TBits& bits) const {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (!testBit(bits, rowPivots_[row])) continue;
        const TBits& reducer = rows_[row];
        for (std::size_t word = 0; word < words_; ++word) bits[word] ^= reducer[word];
    }
    for (std::size_t word = 0; word < words_; ++word) {
        if (bits[word] != 0) return static_cast<std::int32_t>(word * kBitsPerWord) + std::countr_zero(bits[word]);
    }
    return -1;
}

bool TLoopIndependence::HoldsSameLoop(std::int32_t heldIndex, const std::int32_t* pipes, std::int32_t pipeCount) {
    if (heldIndex < 0 || heldIndex >= HeldLoopCount()) return false;
    setOf(pipes, pipeCount, scratch_);
    return scratch_ == loopSets_[static_cast<std::size_t>(heldIndex)];
}

bool TLoopIndependence::IsIndependent(const std::int32_t* pipes, std::int32_t pipeCount) {
    setOf(pipes, pipeCount, scratch_);
    return reduce(scratch_) >= 0;
}

bool TLoopIndependence::Add(const std::int32_t* pipes, std::int32_t pipeCount) {
    TBits set;
    setOf(pipes, pipeCount, set);
    TBits reduced = set;
    const std::int32_t pivot = reduce(reduced);
    loopSets_.push_back(std::move(set));
    if (pivot < 0) {
        rowOfLoop_.push_back(-1);
        return false;
    }
    rowOfLoop_.push_back(static_cast<std::int32_t>(rows_.size()));
    rows_.push_back(std::move(reduced));
    rowPivots_.push_back(pivot);
    return true;
}

// The last loop's row, if it added one, is the last row: rows are only ever
// appended in the order the loops came.
void TLoopIndependence::RemoveLast() {
    if (loopSets_.empty()) return;
    if (rowOfLoop_.back() >= 0) {
        rows_.pop_back();
        rowPivots_.pop_back();
    }
    loopSets_.pop_back();
    rowOfLoop_.pop_back();
}
