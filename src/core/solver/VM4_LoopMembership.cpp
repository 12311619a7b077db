#include "solver/VM4_LoopMembership.h"

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

TLoopMembership::TLoopMembership(std::int32_t maxPipeId) : loopsOfPipe_(slot(maxPipeId) + 1) {}

// Keeps the lists' storage: the next generation refills them without allocating.
void TLoopMembership::Clear() {
    for (auto& loops : loopsOfPipe_) loops.clear();
}

void TLoopMembership::AddPipe(std::int32_t loopId, std::int32_t pipeId) {
    std::vector<std::int32_t>& loops = loopsOfPipe_[slot(pipeId)];
    if (loops.empty() || loops.back() != loopId) loops.push_back(loopId);
}

void TLoopMembership::RemoveLastLoop(std::int32_t loopId, const std::int32_t* pipes, std::int32_t pipeCount) {
    for (std::int32_t position = 0; position < pipeCount; ++position) {
        std::vector<std::int32_t>& loops = loopsOfPipe_[slot(pipes[position])];
        if (!loops.empty() && loops.back() == loopId) loops.pop_back();
    }
}

std::int32_t TLoopMembership::LoopCountHolding(std::int32_t pipeId) const {
    return static_cast<std::int32_t>(loopsOfPipe_[slot(pipeId)].size());
}

const std::vector<std::int32_t>& TLoopMembership::LoopsHolding(std::int32_t pipeId) const {
    return loopsOfPipe_[slot(pipeId)];
}
