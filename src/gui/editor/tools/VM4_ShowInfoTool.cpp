#include "editor/tools/VM4_ShowInfoTool.h"

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_CanvasHitTests.h"

std::uint8_t TShowInfoTool::Code() const { return TDrawingState::ToolShowInfo; }

std::string TShowInfoTool::StatusText() const {
    return " Show Info: Left click on an item to show its details in the left hand panel.";
}

void TShowInfoTool::Chosen() {
    TEditorTool::Chosen();
    host_.State().SelectedPipeId = host_.State().InfoPipeId;
}

void TShowInfoTool::LeftDown(const TToolPoint& point) {
    if (pickNode(point)) return;
    pickPipe(point);
}

// The picked node is kept in PipeFromNodeId, as the pipe tool keeps its start.
bool TShowInfoTool::pickNode(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    const std::int32_t hit = CheckNodeClick(host_.Network(), point.X, point.Y);
    if (state.PipeFromNodeId > 0 && hit == state.PipeFromNodeId) {
        state.PipeFromNodeId = 0;
        state.SelectedNodeId = 0;
        return true;
    }
    if (hit > 0) {
        state.PipeFromNodeId = hit;
        state.SelectedNodeId = hit;
        return true;
    }
    return openDemandsAt(point);
}

bool TShowInfoTool::openDemandsAt(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    std::int32_t nodeId = CheckNodeDemandInClick(network, point.X, point.Y);
    if (nodeId <= 0) nodeId = CheckNodeDemandOutClick(network, point.X, point.Y);
    if (nodeId <= 0) return false;
    host_.State().PipeFromNodeId = nodeId;
    host_.State().SelectedNodeId = nodeId;
    host_.Regenerate();
    host_.Dialogs().EditDemands(network, nodeId);
    return true;
}

void TShowInfoTool::pickPipe(const TToolPoint& point) {
    TDrawingState& state = host_.State();
    const std::int32_t hit = CheckPipeClick(host_.Network(), point.X, point.Y);
    if (state.InfoPipeId > 0 && hit == state.InfoPipeId) {
        if (openItemAt(hit, point)) return;
        state.InfoPipeId = 0;
        state.InfoPipeClickId = 0;
        state.SelectedPipeId = 0;
        return;
    }
    state.InfoPipeId = hit;
    if (state.InfoPipeId < 1) return;
    state.SelectedPipeId = state.InfoPipeId;
    openItemAt(state.InfoPipeId, point);
}

bool TShowInfoTool::openItemAt(std::int32_t pipeId, const TToolPoint& point) {
    TNetwork& network = host_.Network();
    const bool results = host_.ResultsMode();
    IItemDialogs& dialogs = host_.Dialogs();
    if (CheckPumpClick(network, point.X, point.Y) == pipeId) {
        // A removed pump cannot be undone: the record goes with it.
        if (dialogs.EditPumpData(network, pipeId, results)) {
            host_.ActionLog().Clear();
            network.GetPipe(pipeId).RemovePump();
            host_.MarkModified();
        }
    } else if (CheckPipeFittingClick(network, point.X, point.Y) == pipeId) {
        dialogs.EditPipeFittings(network, pipeId, results);
    } else if (CheckPipeComponentPressureClick(network, point.X, point.Y) == pipeId) {
        dialogs.EditComponentPressure(network, pipeId, results);
    } else if (CheckPipeFlowControlClick(network, point.X, point.Y) == pipeId) {
        dialogs.EditFlowControl(network, pipeId, results);
    } else {
        return false;
    }
    return true;
}
