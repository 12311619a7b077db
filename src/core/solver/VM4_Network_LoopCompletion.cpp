// Completing the loop table. The searches find loops and paths in a fixed order
// and keep the independent ones, but on irregular networks they can miss some:
// the table then holds fewer head equations than the flows need. The fundamental
// loops and paths of a spanning tree span all of them, so taking those that are
// independent of what is stored fills the table up to exactly the number needed.

#include "model/VM4_Network_Class.h"

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

bool isFixedPressureNode(TNodeType nodeType) {
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

}  // namespace

void TNetwork::PipeLoopsCompleteFromSpanningTree() {
    FixedPressureScratch.assign(slot(TNodeSet::MaxNodes) + 1, false);
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (nodeId <= TNodeSet::MaxNodes) FixedPressureScratch[slot(nodeId)] = isFixedPressureNode(GetNode(nodeId).NodeType);
    }
    if (!SpanningTreeLoops.Build(NodeLinks, NodeLinkCount, FixedPressureScratch)) return;
    holdLoopsForIndependence(PipeLoopCount);
    const std::int32_t needed = SpanningTreeLoops.CycleCount();
    for (const std::int32_t chord : SpanningTreeLoops.Chords()) {
        if (LoopIndependence.Rank() >= needed || PipeLoopCount >= MaxLoops) return;
        SpanningTreeLoops.LoopOfChord(chord, LoopPipesScratch);
        const auto pipeCount = static_cast<std::int32_t>(LoopPipesScratch.size());
        if (pipeCount > MaxPipesPerLoop) continue;
        if (!LoopIndependence.IsIndependent(LoopPipesScratch.data(), pipeCount)) continue;
        const std::int32_t loopId = PipeLoopCreate();
        for (const std::int32_t pipeId : LoopPipesScratch) PipeLoopAddPipe(loopId, pipeId);
        LoopIndependence.Add(LoopPipesScratch.data(), pipeCount);
    }
}
