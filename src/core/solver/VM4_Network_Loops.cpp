// Loop and path generation: the pipe loops from which the energy equations of a
// solve are written. Closed loops run through join points; paths run from one
// fixed-pressure node (tank or end pressure node) to another. Both are found by a
// breadth-first shortest-path search (in number of pipes) over the open links,
// repeated from every node and, for each node, once per link that touches it.
// A candidate is kept only when it is independent of the loops stored before it
// (always so when it brings a pipe no earlier loop holds); where the candidates
// fall short, the fundamental loops of a spanning tree complete the set.
//
// The scan orders (node ids ascending, links in table order, lowest id on equal
// distances) decide which of several equivalent loops is stored and in what pipe
// order. The equations, and so the iteration counts in the results log, depend on
// it: keep the orders exactly as they are. The searches themselves are those of
// TLoopGenerator; this file holds the table and its tests.

#include <string>

#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kPipeLoopClearFailed = "TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid";
const char* const kPipeLoopRemoveFailed = "TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid";
const char* const kPipeLoopAddPipeFailed = "TNetwork.PipeLoopAddPipe Failed: Either LoopId invalid or PipeId invalid";
const char* const kLoopTablesInvalid =
    "TNetwork.PipeLoopsGenerateAllLoops Failed: Link or loop table holds an invalid node id, pipe id or loop";
const char* const kGeneratingLoopsStatus = "Generating loops from Node: ";

constexpr std::int32_t kNoLoop = -1;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

// ---- The loop table ------------------------------------------------------------------

std::int32_t TNetwork::PipeLoopCreate() {
    if (PipeLoopCount >= MaxLoops) return kNoLoop;
    ++PipeLoopCount;
    PipeLoopPipes[slot(PipeLoopCount)].fill(0);
    PipeLoopPipeCount[slot(PipeLoopCount)] = 0;
    return PipeLoopCount;
}

void TNetwork::PipeLoopClear(std::int32_t loopId) {
    // Loop ids below 1 would address the unused entry 0 or memory before the table.
    if (loopId < 1 || loopId > MaxLoops) throw ENetworkClass(kPipeLoopClearFailed);
    PipeLoopPipes[slot(loopId)].fill(0);
    PipeLoopPipeCount[slot(loopId)] = 0;
}

void TNetwork::PipeLoopRemove(std::int32_t loopId) {
    if (loopId < 1 || loopId > PipeLoopCount) throw ENetworkClass(kPipeLoopRemoveFailed);
    for (std::int32_t later = loopId + 1; later <= PipeLoopCount; ++later) {
        PipeLoopPipes[slot(later - 1)] = PipeLoopPipes[slot(later)];
        PipeLoopPipeCount[slot(later - 1)] = PipeLoopPipeCount[slot(later)];
    }
    PipeLoopClear(PipeLoopCount);
    --PipeLoopCount;
}

std::int32_t TNetwork::PipeLoopAddPipe(std::int32_t loopId, std::int32_t pipeId) {
    // A pipe id of 0 would read as an empty slot, so it is refused like a bad loop id.
    const bool loopIdValid = loopId >= 1 && loopId <= PipeLoopCount;
    const bool pipeIdValid = pipeId >= 1 && pipeId <= TPipeSet::kCapacity;
    if (!loopIdValid || !pipeIdValid || PipeLoopPipeCount[slot(loopId)] >= MaxPipesPerLoop) {
        throw ENetworkClass(kPipeLoopAddPipeFailed);
    }
    std::int32_t& pipeCount = PipeLoopPipeCount[slot(loopId)];
    ++pipeCount;
    PipeLoopPipes[slot(loopId)][slot(pipeCount)] = pipeId;
    return pipeCount;
}

void TNetwork::PipeLoopsRemoveAllLoops() {
    for (std::int32_t loopId = PipeLoopCount; loopId >= 1; --loopId) PipeLoopRemove(loopId);
    PipeLoopCount = 0;
}

// ---- Walk and independence tests of the generation ------------------------------------

// The pipe's open link for the walk test, looked up in the index built when the
// generation starts.
void TNetwork::indexLinksOfPipes() {
    LinkOfPipeScratch.assign(slot(TPipeSet::kCapacity) + 1, 0);
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const std::int32_t pipeId = NodeLinks[slot(k)].PipeId;
        if (pipeId >= 1 && pipeId <= TPipeSet::kCapacity) LinkOfPipeScratch[slot(pipeId)] = k;
    }
}

// Walks the last loop as the equation generation will, each pipe going on from
// where the one before it ended.
bool TNetwork::isLastLoopWalkable() const {
    const std::int32_t last = PipeLoopCount;
    const auto linkOf = [this](std::int32_t pipeId) -> const TNodeLink* {
        if (pipeId < 1 || pipeId > TPipeSet::kCapacity || slot(pipeId) >= LinkOfPipeScratch.size()) return nullptr;
        const std::int32_t k = LinkOfPipeScratch[slot(pipeId)];
        return k >= 1 ? &NodeLinks[slot(k)] : nullptr;
    };
    const TNodeLink* first = linkOf(PipeLoopPipes[slot(last)][1]);
    if (first == nullptr) return false;
    const TNodeLink* second = PipeLoopPipeCount[slot(last)] >= 2 ? linkOf(PipeLoopPipes[slot(last)][2]) : nullptr;
    std::int32_t current = walkStartNodeId(*first, second);
    for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(last)]; ++position) {
        const TNodeLink* link = linkOf(PipeLoopPipes[slot(last)][slot(position)]);
        if (link == nullptr) return false;
        if (current == link->FromNodeId) {
            current = link->ToNodeId;
        } else if (current == link->ToNodeId) {
            current = link->FromNodeId;
        } else {
            return false;
        }
    }
    return true;
}

// The held rows follow the table, which the generation changes only at its end;
// anything else (a loop removed further up, a table refilled) starts them afresh.
void TNetwork::holdLoopsForIndependence(std::int32_t loopCount) {
    std::int32_t held = LoopIndependence.HeldLoopCount();
    const bool lastHeldUnchanged =
        held == 0 || (held <= loopCount && LoopIndependence.HoldsSameLoop(held - 1, &PipeLoopPipes[slot(held)][1],
                                                                           PipeLoopPipeCount[slot(held)]));
    if (!lastHeldUnchanged) {
        LoopIndependence.Clear();
        held = 0;
    }
    for (std::int32_t loopId = held + 1; loopId <= loopCount; ++loopId) {
        LoopIndependence.Add(&PipeLoopPipes[slot(loopId)][1], PipeLoopPipeCount[slot(loopId)]);
    }
}

bool TNetwork::isLastLoopIndependentOfEarlier() {
    const std::int32_t last = PipeLoopCount;
    holdLoopsForIndependence(last - 1);
    return LoopIndependence.IsIndependent(&PipeLoopPipes[slot(last)][1], PipeLoopPipeCount[slot(last)]);
}

// ---- The search ------------------------------------------------------------------------

// The table checks of the generator guard what its searches index by; a table
// that fails them is corrupt (load and the edits never make one), and the
// generation refuses it before the loop table changes.
void TNetwork::PipeLoopsGenerateAllLoops() {
    TPhaseTimer timer(SolveTimings, TSolvePhase::LoopGeneration);
    indexLinksOfPipes();
    if (!LoopGenerator.Prepare(*this)) throw ENetworkClass(kLoopTablesInvalid);
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        SolveStatusText = kGeneratingLoopsStatus + std::to_string(nodeId);
        processPendingMessages();
        LoopGenerator.GenerateFromNode(*this, nodeId);
        LoopGenerator.RemoveLastLoopIfDuplicateOrDependent(*this);
    }
    PipeLoopsCompleteFromSpanningTree();
}

void TNetwork::processPendingMessages() {
    if (UserMessages != nullptr) UserMessages->ProcessMessages();
}
