#pragma once

#include <array>
#include <bit>
#include <cstdint>

// A set of node ids 1..MaxNodeId that answers "the lowest id in the set" by
// looking at a few machine words, not at every id.
template <std::int32_t MaxNodeId>
class TNodeIdSet {
public:
    void Clear() { words_.fill(0); }

    void Set(std::int32_t nodeId, bool member) {
        const std::uint64_t bit = std::uint64_t{1} << bitOf(nodeId);
        if (member) {
            words_[wordOf(nodeId)] |= bit;
        } else {
            words_[wordOf(nodeId)] &= ~bit;
        }
    }

    bool Contains(std::int32_t nodeId) const { return (words_[wordOf(nodeId)] >> bitOf(nodeId) & 1U) != 0; }

    // The lowest id in the set; `none` when it is empty.
    std::int32_t Lowest(std::int32_t none) const {
        for (std::size_t word = 0; word < kWords; ++word) {
            if (words_[word] != 0) return static_cast<std::int32_t>(word * 64 + std::countr_zero(words_[word]));
        }
        return none;
    }

private:
    static constexpr std::size_t kWords = static_cast<std::size_t>(MaxNodeId) / 64 + 1;
    static std::size_t wordOf(std::int32_t nodeId) { return static_cast<std::size_t>(nodeId) / 64; }
    static unsigned bitOf(std::int32_t nodeId) { return static_cast<unsigned>(nodeId) % 64; }

    std::array<std::uint64_t, kWords> words_{};
};
