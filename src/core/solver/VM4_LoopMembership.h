#pragma once

#include <cstdint>
#include <vector>

// For every pipe id, the stored loops that hold it, in ascending loop id: what the
// independence and duplicate tests of the loop generation otherwise find by
// scanning every earlier loop.
//
// Kept in step with the loop table by the loop generation, which only ever adds
// pipes to the last loop and removes the last loop. It relies on a loop holding
// each pipe at most once (true of every loop the search builds).
class TLoopMembership {
public:
    explicit TLoopMembership(std::int32_t maxPipeId);

    void Clear();
    void AddPipe(std::int32_t loopId, std::int32_t pipeId);
    // Forgets the loop, which must be the highest loop id held, given its pipes.
    void RemoveLastLoop(std::int32_t loopId, const std::int32_t* pipes, std::int32_t pipeCount);

    // Number of stored loops that hold the pipe.
    std::int32_t LoopCountHolding(std::int32_t pipeId) const;
    const std::vector<std::int32_t>& LoopsHolding(std::int32_t pipeId) const;

private:
    std::vector<std::vector<std::int32_t>> loopsOfPipe_;  // indexed by pipe id
};
