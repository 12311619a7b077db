#pragma once

#include <cstdint>
#include <vector>

// Whether a loop or path adds an equation that the loops and paths stored before
// it do not already imply, tested as linear independence of pipe sets.
//
// A loop is written as the set of its pipes, a vector over the pipe ids modulo 2.
// Loops that are independent modulo 2 are independent over the reals as well (a
// real dependency among them could be scaled to integers with no common factor,
// whose remainders modulo 2 would be a dependency here), so every loop kept is a
// genuine new equation. Paths between fixed-pressure nodes are cycles through a
// ground node joined to all of them; the ground node carries no pipe, so a path is
// just its pipe set too. A loop with a pipe that no earlier loop holds is always
// independent: the old rule's loops are all still kept.
//
// The held rows follow the loop table, which the generation changes only at its
// end: a loop is added to it or the last one removed. Before each test the rows
// are checked against the table and rebuilt when the table changed some other way.
class TLoopIndependence {
public:
    explicit TLoopIndependence(std::int32_t maxPipeId);

    // Forgets every loop.
    void Clear();
    // Number of table loops the rows stand for (the first ones of the table).
    std::int32_t HeldLoopCount() const { return static_cast<std::int32_t>(loopSets_.size()); }
    // True when the pipe set of a table loop equals the one held for it.
    bool HoldsSameLoop(std::int32_t heldIndex, const std::int32_t* pipes, std::int32_t pipeCount);
    // Takes in the next table loop. True, and the rank grows, when it is independent
    // of the loops held; false when it depends on them (it is held all the same).
    bool Add(const std::int32_t* pipes, std::int32_t pipeCount);
    // Whether the pipes are independent of the loops held, changing nothing.
    bool IsIndependent(const std::int32_t* pipes, std::int32_t pipeCount);
    // Drops the last loop taken in.
    void RemoveLast();
    std::int32_t Rank() const { return static_cast<std::int32_t>(rows_.size()); }

private:
    using TBits = std::vector<std::uint64_t>;

    void setOf(const std::int32_t* pipes, std::int32_t pipeCount, TBits& bits) const;
    // Reduces the bits by the rows; the lowest set bit left, or -1 when none.
    std::int32_t reduce(TBits& bits) const;
    bool testBit(const TBits& bits, std::int32_t bit) const;

    std::size_t words_;
    std::vector<TBits> loopSets_;          // each held loop's pipe set, as taken in
    std::vector<std::int32_t> rowOfLoop_;  // the row a held loop added, -1 when dependent
    std::vector<TBits> rows_;              // reduced rows, each with its own lowest bit
    std::vector<std::int32_t> rowPivots_;  // lowest set bit of each row
    TBits scratch_;
};
