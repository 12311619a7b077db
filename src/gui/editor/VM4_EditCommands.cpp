#include "editor/VM4_EditCommands.h"

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

constexpr int kPasteOffset = 80;  // from the view's top-left corner
constexpr int kPasteSearchSteps = 10;
constexpr int kPasteRectangleHalf = 30;

}  // namespace

void TEditCommands::clearNetworkStates() {
    TDrawingState& state = host_.State();
    state.ForgetHighlightsAndPipeEnds();
    state.InfoPipeId = 0;
    state.InfoPipeClickId = 0;
    state.RubberBandOn = 0;
}

// ---- Undo and redo ---------------------------------------------------------------------------

void TEditCommands::Undo() {
    clearNetworkStates();
    if (host_.ActionLog().Undo(host_.Network())) host_.MarkModified();
    clearNetworkStates();
    host_.Regenerate();
}

void TEditCommands::Redo() {
    clearNetworkStates();
    if (host_.ActionLog().Redo(host_.Network())) host_.MarkModified();
    clearNetworkStates();
    host_.Regenerate();
}

// ---- Delete -------------------------------------------------------------------------------------

void TEditCommands::Delete() {
    const std::int32_t stage = host_.State().SelectionStage;
    if (stage == TDrawingState::SelectionNone)
        deleteHighlighted();
    else if (stage != TDrawingState::SelectionDragging)
        deleteSelection();
    host_.Regenerate();
}

void TEditCommands::deleteHighlighted() {
    const TDrawingState& state = host_.State();
    if (state.SelectedPipeId == 0 && state.SelectedNodeId == 0) {
        host_.Boxes().ShowInformation(EditorMessages::NothingSelected);
        return;
    }
    if (state.SelectedPipeId > 0) deleteHighlightedPipe();
    if (state.SelectedNodeId > 0) deleteHighlightedNode();
}

void TEditCommands::deleteHighlightedPipe() {
    TDrawingState& state = host_.State();
    if (!host_.Boxes().Confirm(EditorMessages::DeletePipeQuestion)) return;
    TNetwork& network = host_.Network();
    TActionLog& log = host_.ActionLog();
    const std::int32_t pipeId = state.SelectedPipeId;
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network.GetFromAndToNodeIds(pipeId, fromId, toId);
    log.Clear();
    // A closed pipe has no open link to give back on Undo: it is not recorded.
    if (fromId > 0) {
        log.AddSeparator();
        log.RemovePipeLink(fromId, toId, network.GetPipe(pipeId));
    }
    network.RemovePipeLink(pipeId);
    state.SelectedPipeId = 0;
    if (state.InfoPipeId == pipeId) state.InfoPipeId = 0;
    host_.MarkModified();
}

void TEditCommands::deleteHighlightedNode() {
    TDrawingState& state = host_.State();
    if (!host_.Boxes().Confirm(EditorMessages::DeleteNodeQuestion)) return;
    TNetwork& network = host_.Network();
    host_.ActionLog().Clear();
    network.RemoveAllPipeLinksFromToNode(state.SelectedNodeId);
    network.RemoveNode(state.SelectedNodeId);
    state.SelectedNodeId = 0;
    state.PipeFromNodeId = 0;
    state.SelectedPipeId = 0;
    state.InfoPipeId = 0;
    host_.MarkModified();
}

void TEditCommands::deleteSelection() {
    if (!host_.Boxes().Confirm(EditorMessages::DeleteSelectionQuestion)) return;
    host_.ActionLog().Clear();
    host_.Network().DeleteSelectedNodesAndPipes();
    clearNetworkStates();
    host_.State().SelectionStage = TDrawingState::SelectionNone;
    host_.MarkModified();
}

// ---- Clipboard ------------------------------------------------------------------------------------

bool TEditCommands::singleNodeSelected(const char* nothingMessage) {
    const std::int32_t count = host_.Network().GetNumberOfNodesSelected();
    if (count == 0) {
        host_.Boxes().ShowInformation(nothingMessage);
        return false;
    }
    if (count > 1) {
        host_.Boxes().ShowInformation(EditorMessages::OnlySingleItems);
        return false;
    }
    return true;
}

void TEditCommands::copySelectedNode() {
    const TNetwork& network = host_.Network();
    clipboardNode_ = network.GetNode(network.GetSelectedNodeId());
    clipboardFull_ = true;
}

void TEditCommands::Cut() {
    if (!singleNodeSelected(EditorMessages::NothingToCut)) return;
    if (!host_.Boxes().Confirm(EditorMessages::CutQuestion)) return;
    copySelectedNode();
    // The record refers to nodes by id; one removed behind its back would be
    // re-added or removed wrongly by a later undo.
    host_.ActionLog().Clear();
    host_.Network().DeleteSelectedNodesAndPipes();
    clearNetworkStates();
    host_.State().SelectionStage = TDrawingState::SelectionNone;
    host_.MarkModified();
    host_.Regenerate();
}

void TEditCommands::Copy() {
    if (singleNodeSelected(EditorMessages::NothingToCopy)) copySelectedNode();
}

bool TEditCommands::isFreePoint(int x, int y) const {
    const TNetwork& network = host_.Network();
    return network.ExistsNodeWithSamePosition(x, y) == 0 && network.IsPointOnAnyNetworkLine(x, y) <= 0;
}

// Grid points from the view's top-left corner, row by row, until one holds
// no node and lies on no pipe: eleven points to a row, ten rows, then the
// first point of the eleventh row.
bool TEditCommands::findFreePoint(int& x, int& y) const {
    const int startX = TDrawingEdits::SnapX(host_.ViewOriginX() + kPasteOffset);
    x = startX;
    y = TDrawingEdits::SnapY(host_.ViewOriginY() + kPasteOffset);
    for (int row = 0; !isFreePoint(x, y) && row <= kPasteSearchSteps - 1; ++row) {
        for (int column = 0; !isFreePoint(x, y) && column <= kPasteSearchSteps - 1; ++column)
            x = TDrawingEdits::SnapX(x + TDrawingEdits::GridSpacing);
        if (isFreePoint(x, y)) break;
        x = startX;
        y = TDrawingEdits::SnapY(y + TDrawingEdits::GridSpacing);
    }
    return isFreePoint(x, y);
}

void TEditCommands::Paste() {
    if (!clipboardFull_) {
        host_.Boxes().ShowInformation(EditorMessages::NothingToPaste);
        host_.Regenerate();
        return;
    }
    int x = 0;
    int y = 0;
    if (!findFreePoint(x, y)) {
        host_.Boxes().ShowInformation(EditorMessages::NoRoomToPaste);
        host_.Regenerate();
        return;
    }
    TNetwork& network = host_.Network();
    if (network.GetNodeCount() >= TDrawingEdits::MaxNodes) {
        host_.Boxes().ShowInformation(EditorMessages::MaxNodesReached);
        return;
    }
    TNode node = clipboardNode_;
    node.X = x;
    node.Y = y;
    const std::int32_t id = network.AddNode(node);
    network.GetNode(id).SetName("N" + std::to_string(id));
    // A redo would hand out ids again, and this node has just taken one.
    host_.ActionLog().DiscardRedo();
    TDrawingState& state = host_.State();
    state.SelectedNodeId = id;
    state.PipeFromNodeId = 0;
    state.PipeToNodeId = 0;
    state.PanelNodeId = id;
    state.SelectionStage = TDrawingState::SelectionDrawn;
    state.SelectionX1 = x - kPasteRectangleHalf;
    state.SelectionY1 = y - kPasteRectangleHalf;
    state.SelectionX2 = x + kPasteRectangleHalf;
    state.SelectionY2 = y + kPasteRectangleHalf;
    network.SetSelectedNodes(state.SelectionX1, state.SelectionY1, state.SelectionX2, state.SelectionY2);
    host_.SetCursor(TToolCursor::SelectionActive);
    host_.MarkModified();
    host_.Regenerate();
}
