#include "editor/tools/VM4_AddPipesTool.h"

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_CanvasHitTests.h"

std::uint8_t TAddPipesTool::Code() const { return TDrawingState::ToolAddPipes; }

std::string TAddPipesTool::StatusText() const {
    return " Add Pipes: Left click to select node. Left Click to draw pipe. Right click to stop rubber banding.";
}

void TAddPipesTool::LeftDown(const TToolPoint& point) {
    const std::int32_t hitNode = CheckNodeClick(host_.Network(), point.X, point.Y);
    if (host_.State().PipeFromNodeId == 0)
        pickStartNode(hitNode, point);
    else if (hitNode > 0)
        endAtNode(hitNode);
    else
        endAtEmptyPoint(point);
    finishClick(point);
}

void TAddPipesTool::pickStartNode(std::int32_t nodeId, const TToolPoint& point) {
    TDrawingState& state = host_.State();
    TNetwork& network = host_.Network();
    state.PipeFromNodeId = nodeId;
    if (nodeId == 0) {
        if (network.IsPointOnAnyNetworkLine(point.X, point.Y) != 0) {
            state.SelectedPipeId = std::max(CheckPipeClick(network, point.X, point.Y), 0);
        } else if (network.ExistsNodeWithSamePosition(point.SnapX, point.SnapY) == 0) {
            host_.ActionLog().AddSeparator();
            const std::int32_t added = edits_.AddJoint(point.SnapX, point.SnapY, 0.0);
            if (added > 0)
                state.PipeFromNodeId = added;
            else
                host_.ActionLog().RemoveSeparator();
        }
    }
    state.SelectedNodeId = state.PipeFromNodeId;
    state.RubberBandOn = 1;
    if (state.PipeFromNodeId > 0 && network.GetNode(state.PipeFromNodeId).NodeType == TNodeType::DemandPressure) {
        host_.Boxes().ShowInformation(EditorMessages::NoOutFlowFromEndPressure);
        state.PipeFromNodeId = 0;
        state.SelectedNodeId = 0;
        state.RubberBandOn = 0;
    }
}

void TAddPipesTool::endAtNode(std::int32_t nodeId) {
    TDrawingState& state = host_.State();
    state.PipeToNodeId = nodeId;
    state.SelectedNodeId = nodeId;
    state.RubberBandOn = 1;
}

void TAddPipesTool::endAtEmptyPoint(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    TNetwork& network = host_.Network();
    const TNode& start = network.GetNode(state.PipeFromNodeId);
    if (network.ExistsNodesOnPipeLine(start.X, start.Y, point.SnapX, point.SnapY)) {
        host_.Boxes().ShowInformation(EditorMessages::PipeThroughNodes);
        return;
    }
    if (network.IsPointOnAnyLineFromThisNode(state.PipeFromNodeId, point.SnapX, point.SnapY) > 0) {
        host_.Boxes().ShowInformation(EditorMessages::PipeBackAlongPipe);
        return;
    }
    host_.ActionLog().AddSeparator();
    if (network.ExistsNodeWithSamePosition(point.SnapX, point.SnapY) > 0) {
        stopDrawing();
        return;
    }
    const std::int32_t added = edits_.AddJoint(point.SnapX, point.SnapY, start.Elevation_m);
    if (added <= 0) {
        host_.ActionLog().RemoveSeparator();
        return;
    }
    joinToNewNode(added);
}

// A refused pipe takes its new end node back with it, and a pipe the node
// split is joined again: the whole click is undone, and cannot be redone.
void TAddPipesTool::joinToNewNode(std::int32_t newNodeId) {
    TDrawingState& state = host_.State();
    if (edits_.AddPipeLink(state.PipeFromNodeId, newNodeId)) {
        state.PipeFromNodeId = newNodeId;
        state.SelectedNodeId = newNodeId;
        state.PipeToNodeId = 0;
        return;
    }
    host_.ActionLog().Undo(host_.Network());
    host_.ActionLog().DiscardRedo();
    state.PipeToNodeId = 0;
    state.SelectedNodeId = state.PipeFromNodeId;
    state.SelectedPipeId = 0;
}

void TAddPipesTool::finishClick(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    if (state.PipeToNodeId > 0 && state.PipeToNodeId == state.PipeFromNodeId) {
        if (state.RubberBandOn != 0) {
            state.SelectedNodeId = state.PipeFromNodeId;
            stopDrawing();
        } else {
            state.SelectedNodeId = state.PipeToNodeId;
            state.PipeToNodeId = 0;
            state.RubberBandOn = 1;
        }
    } else if (state.PipeToNodeId > 0 && state.PipeFromNodeId > 0) {
        connectPickedNodes();
    }
    state.RubberBandX = point.SnapX;
    state.RubberBandY = point.SnapY;
}

void TAddPipesTool::connectPickedNodes() {
    TDrawingState& state = host_.State();
    TNetwork& network = host_.Network();
    if (network.GetNode(state.PipeToNodeId).NodeType == TNodeType::DemandPressure) {
        host_.Boxes().ShowInformation(EditorMessages::EndPressureSecondPipe);
        state.PipeToNodeId = 0;
        state.SelectedNodeId = state.PipeFromNodeId;
        return;
    }
    if (state.RubberBandOn == 0) {
        state.SelectedNodeId = state.PipeFromNodeId;
        state.PipeToNodeId = 0;
        state.RubberBandOn = 1;
        return;
    }
    host_.ActionLog().AddSeparator();
    if (edits_.AddPipeLink(state.PipeFromNodeId, state.PipeToNodeId)) {
        state.PipeFromNodeId = state.PipeToNodeId;
        state.SelectedNodeId = state.PipeToNodeId;
    } else {
        host_.ActionLog().RemoveSeparator();
        state.SelectedNodeId = state.PipeFromNodeId;
    }
    state.PipeToNodeId = 0;
}

void TAddPipesTool::stopDrawing() {
    TDrawingState& state = host_.State();
    state.PipeFromNodeId = 0;
    state.PipeToNodeId = 0;
    state.RubberBandOn = 0;
}

void TAddPipesTool::RightDown(const TToolPoint&) { stopDrawing(); }

void TAddPipesTool::Escape() {
    stopDrawing();
    host_.Regenerate();
}

void TAddPipesTool::Move(const TToolPoint& point, bool) {
    TDrawingState& state = host_.State();
    if (state.SelectedNodeId <= 0 || state.RubberBandOn == 0) return;
    state.RubberBandX = point.X;
    state.RubberBandY = point.Y;
    host_.Regenerate();
}
