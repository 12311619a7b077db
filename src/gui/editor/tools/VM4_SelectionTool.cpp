#include "editor/tools/VM4_SelectionTool.h"

#include <algorithm>

#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

std::uint8_t TSelectionTool::Code() const { return TDrawingState::ToolSelection; }

std::string TSelectionTool::StatusText() const {
    return " Selection Mode: Left click and hold down while dragging rectangle around items to select.";
}

void TSelectionTool::Chosen() {
    TDrawingState& state = host_.State();
    state.RubberBandOn = 0;
    state.SelectionStage = TDrawingState::SelectionNone;
    state.SelectionX1 = state.SelectionY1 = state.SelectionX2 = state.SelectionY2 = 0;
    state.RubberBandX = state.RubberBandY = 0;
    unselectAll();
    host_.SetCursor(TToolCursor::Selection);
}

void TSelectionTool::LeftDown(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    switch (state.SelectionStage) {
        case TDrawingState::SelectionNone:
            state.SelectionStage = TDrawingState::SelectionDragging;
            state.SelectionX1 = state.SelectionX2 = point.X;
            state.SelectionY1 = state.SelectionY2 = point.Y;
            break;
        case TDrawingState::SelectionDrawn:
            if (state.SelectionX1 < point.X && point.X < state.SelectionX2 && state.SelectionY1 < point.Y &&
                point.Y < state.SelectionY2) {
                startMove(point);
            } else {
                host_.SetCursor(TToolCursor::Selection);
                state.SelectionStage = TDrawingState::SelectionNone;
                unselectAll();
            }
            break;
        case SelectionDropped:
            rebaseSelection();
            startMove(point);
            break;
        default: break;
    }
}

// A further drag after a successful drop starts from where the selection now
// lies: a refused second move puts it back there, not before the first move.
void TSelectionTool::rebaseSelection() {
    TNetwork& network = host_.Network();
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        TNode& node = network.GetNode(id);
        node.SelectStartX = node.X;
        node.SelectStartY = node.Y;
    }
    for (std::int32_t index = 1; index <= network.GetFreeTextCount(); ++index) {
        TFreeText& text = network.GetFreeText(index);
        text.SelectStartX = text.X;
        text.SelectStartY = text.Y;
    }
}

void TSelectionTool::startMove(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    state.SelectionStage = TDrawingState::SelectionMoving;
    downX_ = point.X;
    downY_ = point.Y;
    savedState_ = state;
}

void TSelectionTool::Move(const TToolPoint& point, bool) {
    TDrawingState& state = host_.State();
    switch (state.SelectionStage) {
        case TDrawingState::SelectionDragging:
            host_.SetCursor(TToolCursor::SelectionActive);
            state.SelectionX2 = point.X;
            state.SelectionY2 = point.Y;
            host_.Regenerate();
            break;
        case TDrawingState::SelectionMoving: moveSelection(point); break;
        case TDrawingState::SelectionDrawn:
        case SelectionDropped: host_.SetCursor(TToolCursor::SelectionActive); break;
        default: host_.SetCursor(TToolCursor::Selection); break;
    }
}

// Positions are always the selection-start positions plus the offset from the
// point where the move began, so the moves of a drag never add up.
void TSelectionTool::moveSelection(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    host_.SetCursor(TToolCursor::PointingHand);
    const int dx = point.X - downX_;
    const int dy = point.Y - downY_;
    state.SelectionX1 = savedState_.SelectionX1 + dx;
    state.SelectionY1 = savedState_.SelectionY1 + dy;
    state.SelectionX2 = savedState_.SelectionX2 + dx;
    state.SelectionY2 = savedState_.SelectionY2 + dy;
    host_.Network().MoveSelectedNodes(dx, dy);
    host_.Regenerate();
}

void TSelectionTool::LeftUp(const TToolPoint&) {
    TDrawingState& state = host_.State();
    if (state.SelectionStage == TDrawingState::SelectionDragging) {
        finishRectangle();
    } else if (state.SelectionStage == TDrawingState::SelectionMoving) {
        if (dropSelection()) {
            state.SelectionStage = SelectionDropped;
            host_.MarkModified();
        }
    }
    host_.Regenerate();
}

void TSelectionTool::finishRectangle() {
    TDrawingState& state = host_.State();
    state.SelectionStage = TDrawingState::SelectionDrawn;
    if (state.SelectionX2 < state.SelectionX1) std::swap(state.SelectionX1, state.SelectionX2);
    if (state.SelectionY2 < state.SelectionY1) std::swap(state.SelectionY1, state.SelectionY2);
    host_.Network().SetSelectedNodes(state.SelectionX1, state.SelectionY1, state.SelectionX2, state.SelectionY2);
}

bool TSelectionTool::dropSelection() {
    TNetwork& network = host_.Network();
    snapSelectedNodes();
    if (!network.ExistsAnyNodeOrPipeDrawingIssue()) return true;
    host_.Boxes().ShowInformation(EditorMessages::SelectionCannotMove);
    host_.State() = savedState_;
    host_.State().SelectionStage = TDrawingState::SelectionDrawn;
    network.MoveSelectedNodes(0, 0);
    return false;
}

void TSelectionTool::snapSelectedNodes() {
    TNetwork& network = host_.Network();
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        TNode& node = network.GetNode(id);
        if (!node.Selected) continue;
        node.X = TDrawingEdits::SnapX(node.X);
        node.Y = TDrawingEdits::SnapY(node.Y);
    }
}

void TSelectionTool::RightDown(const TToolPoint&) { dropRectangle(); }

void TSelectionTool::Escape() {
    dropRectangle();
    host_.Regenerate();
}

void TSelectionTool::dropRectangle() {
    TDrawingState& state = host_.State();
    if (state.SelectionStage >= TDrawingState::SelectionMoving && !dropSelection()) return;
    state.SelectionStage = TDrawingState::SelectionNone;
    state.SelectionX1 = state.SelectionY1 = state.SelectionX2 = state.SelectionY2 = 0;
    unselectAll();
    host_.SetCursor(TToolCursor::Selection);
}

// Nodes stay marked only while their rectangle is on screen: Cut and Copy act
// on the marked nodes, and must never take ones the user no longer sees chosen.
void TSelectionTool::unselectAll() { host_.Network().SetSelectedNodes(0, 0, 0, 0); }
