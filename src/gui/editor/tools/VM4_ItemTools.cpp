#include "editor/tools/VM4_ItemTools.h"

#include <cmath>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_CanvasHitTests.h"

namespace {

const char* const kPumpOnNode =
    "Pump cannot be added at same position as an existing node. \r\rA Pump must be added to a pipe by clicking on "
    "the pipe";
const char* const kPumpOnBlank =
    "Pump cannot be added on to a blank section of the drawing. \r\rA Pump must be added to a pipe by clicking on "
    "the pipe";
const char* const kPumpOnFlowControl =
    "Pump cannot be added on to a pipe with a Flow Control on. \r\rEither remove the flow control, or add the pump "
    "to a different pipe.\r\rNote: If the pump type is 'variable speed' then the flow can be set directly on the "
    "pump.";
const char* const kFittingsOnNode =
    "Fittings cannot be added at same position as an existing node. \r\rFittings must be added to a pipe by "
    "clicking on the pipe";
const char* const kFittingsOnBlank =
    "Fittings cannot be added on to a blank section of the drawing. \r\rFittings must be added to a pipe by "
    "clicking on the pipe";
const char* const kComponentOnNode =
    "Fixed Pressure Loss component cannot be added at same position as an existing node. \r\rA Fixed Pressure Loss "
    "component must be added to a pipe by clicking on the pipe";
const char* const kComponentOnBlank =
    "Fixed Pressure Loss component cannot be added on to a blank section of the drawing. \r\rA Fixed Pressure Loss "
    "component must be added to a pipe by clicking on the pipe";
const char* const kFlowControlOnNode =
    "Flow Control component cannot be added at same position as an existing node. \r\rA Flow Control Loss "
    "component must be added to a pipe by clicking on the pipe";
const char* const kFlowControlOnBlank =
    "Flow Control component cannot be added on to a blank section of the drawing. \r\rA Flow Control component "
    "must be added to a pipe by clicking on the pipe";
const char* const kFlowControlOnPump =
    "Flow Control component cannot be added on to a pipe with a pump on. \r\rEither remove the pump, or add the "
    "flow control to a different pipe.\r\rNote: If the pump type is 'variable speed' then the flow can be set "
    "directly on the pump.";
const char* const kDemandNoNode =
    "Cannot add a flow demand at this point.\r\rClick on a regular joint node to add a flow demand at that point.";
const char* const kDemandNotJoint =
    "Flow demands can only be added at nodes that are\rnot of type tank or end pressure.\r\rClick on a regular node "
    "to add a flow demand at that point.";
const char* const kCopyNoPipe =
    "Copy default pipe values failed.\r\rNo pipe found at position clicked on.\r\rPlease retry and click over an "
    "existing pipe on the drawing.";

constexpr int kFreeTextFontSize = 7;

std::string Shown(int unit, double value_m) { return convertUnitsToDisplayText(UNIT_M, unit, value_m); }

}  // namespace

std::uint8_t TItemTool::Code() const {
    switch (item_) {
        case TItem::Pump: return TDrawingState::ToolAddPump;
        case TItem::Fittings: return TDrawingState::ToolAddFittings;
        case TItem::Component: return TDrawingState::ToolAddFixedPressureLoss;
        case TItem::FlowControl: return TDrawingState::ToolAddFlowControl;
        case TItem::DemandFlow: return TDrawingState::ToolAddDemandFlow;
        case TItem::CopyDefaultPipe: return TDrawingState::ToolCopyDefaultPipe;
        default: return TDrawingState::ToolAddFreeText;
    }
}

std::string TItemTool::StatusText() const {
    switch (item_) {
        case TItem::Pump: return " Add Pump: Left click on a pipe to add the pump at the cursor position.";
        case TItem::Fittings: return " Add Fittings: Left click on a pipe to add Fittings at the cursor position.";
        case TItem::Component:
            return " Add Fixed Pressure Loss: Left click on a pipe to add Fixed Pressure Loss component.";
        case TItem::FlowControl: return " Add Flow Control: Left click on a pipe to add a Flow Control component.";
        case TItem::DemandFlow: return " Add Demand Flow: Left click on a node to set a demand flow at that point.";
        case TItem::CopyDefaultPipe:
            return " Copy Default Pipe: Left click on a pipe to set it to the default pipe values.";
        default: return " Add Free Text: Click on the grid at the position to add text.";
    }
}

void TItemTool::LeftDown(const TToolPoint& point) {
    switch (item_) {
        case TItem::Pump: addPump(point); break;
        case TItem::Fittings: addFittings(point); break;
        case TItem::Component: addComponent(point); break;
        case TItem::FlowControl: addFlowControl(point); break;
        case TItem::DemandFlow: addDemandFlow(point); break;
        case TItem::CopyDefaultPipe: copyDefaultPipe(point); break;
        case TItem::FreeText: addFreeText(point); break;
    }
}

std::int32_t TItemTool::pipeForItem(const TToolPoint& point, const char* onNode, const char* onBlank) {
    TNetwork& network = host_.Network();
    if (network.ExistsNodeWithSamePosition(point.SnapX, point.SnapY) > 0) {
        host_.Boxes().ShowInformation(onNode);
        return 0;
    }
    const std::int32_t pipeId = network.IsPointOnAnyNetworkLine(point.X, point.Y);
    if (pipeId <= 0) {
        host_.Boxes().ShowInformation(onBlank);
        return 0;
    }
    return pipeId;
}

// ---- Pump ----------------------------------------------------------------------------------------

void TItemTool::addPump(const TToolPoint& point) {
    const std::int32_t pipeId = pipeForItem(point, kPumpOnNode, kPumpOnBlank);
    if (pipeId <= 0) return;
    TPipe& pipe = host_.Network().GetPipe(pipeId);
    if (pipe.HasFlowControl) {
        host_.Boxes().ShowInformation(kPumpOnFlowControl);
        return;
    }
    host_.State().SelectedPipeId = pipeId;
    if (pipe.HasPump) {
        host_.Regenerate();
        openPumpDialog(pipeId);
        return;
    }
    placeNewPump(pipeId, point);
}

void TItemTool::placeNewPump(std::int32_t pipeId, const TToolPoint& point) {
    TNetwork& network = host_.Network();
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TNode& from = network.GetNode(fromId);
    const TNode& to = network.GetNode(toId);
    std::int32_t x = point.X;
    std::int32_t y = point.Y;
    TNetwork::SnapPointToLine(x, y, from.X, from.Y, to.X, to.Y);
    if (x == 0 && y == 0) return;
    TPipe& pipe = network.GetPipe(pipeId);
    pipe.HasPump = true;
    pipe.Pump.SetName("Pump");
    pipe.Pump.X = x;
    pipe.Pump.Y = y;
    network.SetPumpPercentagePositionFromXY(pipeId);
    pipe.PumpElevation_m = from.Elevation_m;
    host_.MarkModified();
    const TNetworkSettings& settings = network.Settings;
    const std::string question =
        "Add Pump to the pipe:\r\rThe pump elevation was set to " + Shown(settings.ElevationUnit, pipe.PumpElevation_m) +
        unitName(settings.ElevationUnit) + "\r" + " ( same elevation as the start of the pipe )" + "\r\r" +
        "The pump positon along the pipe was set to " + Shown(settings.LengthUnit, pipe.PumpDistanceFromStart_m) +
        unitName(settings.LengthUnit) + "\r" + "( the position of the point clicked on the pipe )" + "\r\r" +
        "Further information about the pump is required." + "\r\r" + "Do you want to enter the pump data now?";
    if (host_.Boxes().Confirm(question)) {
        host_.Regenerate();
        openPumpDialog(pipeId);
    }
}

// A pump deleted in its dialog cannot be undone: the record goes with it.
void TItemTool::openPumpDialog(std::int32_t pipeId) {
    TNetwork& network = host_.Network();
    if (!host_.Dialogs().EditPumpData(network, pipeId, host_.ResultsMode())) return;
    host_.ActionLog().Clear();
    network.GetPipe(pipeId).RemovePump();
    host_.MarkModified();
}

// ---- Items along a pipe ----------------------------------------------------------------------------

// Distance of the click from the from-node over the pipe's drawn length, in %.
double TItemTool::percentAlong(std::int32_t pipeId, const TToolPoint& point) const {
    const TNetwork& network = host_.Network();
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TNode& from = network.GetNode(fromId);
    const TNode& to = network.GetNode(toId);
    const double length = std::max(std::hypot(to.X - from.X, to.Y - from.Y), 1.0);
    return std::hypot(point.X - from.X, point.Y - from.Y) / length * 100.0;
}

void TItemTool::addFittings(const TToolPoint& point) {
    const std::int32_t pipeId = pipeForItem(point, kFittingsOnNode, kFittingsOnBlank);
    if (pipeId <= 0) return;
    TPipe& pipe = host_.Network().GetPipe(pipeId);
    host_.State().SelectedPipeId = pipeId;
    host_.Regenerate();
    if (pipe.Fittings.Count() == 0) pipe.FittingsPositionPercent = percentAlong(pipeId, point);
    host_.Dialogs().EditPipeFittings(host_.Network(), pipeId, host_.ResultsMode());
}

void TItemTool::addComponent(const TToolPoint& point) {
    const std::int32_t pipeId = pipeForItem(point, kComponentOnNode, kComponentOnBlank);
    if (pipeId <= 0) return;
    TPipe& pipe = host_.Network().GetPipe(pipeId);
    host_.State().SelectedPipeId = pipeId;
    host_.Regenerate();
    if (!pipe.HasComponentPressure) pipe.ComponentPositionPercent = percentAlong(pipeId, point);
    host_.Dialogs().EditComponentPressure(host_.Network(), pipeId, host_.ResultsMode());
}

void TItemTool::addFlowControl(const TToolPoint& point) {
    const std::int32_t pipeId = pipeForItem(point, kFlowControlOnNode, kFlowControlOnBlank);
    if (pipeId <= 0) return;
    TPipe& pipe = host_.Network().GetPipe(pipeId);
    host_.State().SelectedPipeId = pipeId;
    host_.Regenerate();
    if (pipe.HasPump) {
        host_.Boxes().ShowInformation(kFlowControlOnPump);
        return;
    }
    if (!pipe.HasFlowControl) pipe.FlowControlPositionPercent = percentAlong(pipeId, point);
    host_.Dialogs().EditFlowControl(host_.Network(), pipeId, false);
}

// ---- Nodes, default pipe, free texts -----------------------------------------------------------------

void TItemTool::addDemandFlow(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    const std::int32_t nodeId = network.ExistsNodeWithSamePosition(point.SnapX, point.SnapY);
    if (nodeId <= 0) {
        host_.Boxes().ShowInformation(kDemandNoNode);
        return;
    }
    if (network.GetNode(nodeId).NodeType != TNodeType::JoinPoint) {
        host_.Boxes().ShowInformation(kDemandNotJoint);
        return;
    }
    host_.State().SelectedNodeId = nodeId;
    host_.Regenerate();
    host_.Dialogs().EditDemands(network, nodeId);
}

void TItemTool::copyDefaultPipe(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    const std::int32_t pipeId = CheckPipeClick(network, point.X, point.Y);
    if (pipeId <= 0) {
        host_.Boxes().ShowInformation(kCopyNoPipe);
        return;
    }
    const TPipe& defaults = network.DefaultPipe;
    const TNetworkSettings& settings = network.Settings;
    TPipe& pipe = network.GetPipe(pipeId);
    const std::string question =
        "Copy default pipe values: \r\rL=" + Shown(settings.LengthUnit, defaults.Length_m) + " " +
        unitName(settings.LengthUnit) + ", " + "D=" + Shown(settings.DiameterUnit, defaults.InnerDiameter_m) + " " +
        unitName(settings.DiameterUnit) + ", " + "R=" +
        convertUnitsToText(UNIT_M, settings.RoughnessUnit, 6, defaults.InnerRoughness_m) + " " +
        unitName(settings.RoughnessUnit) + " " + "\r\r" + "over existing data for pipe id " + std::to_string(pipeId) +
        ", " + pipe.Name + "?" + "\r\r" + "(any fittings and components on the default pipe will also be copied)";
    if (host_.Boxes().Confirm(question)) {
        const std::string name = pipe.Name;
        pipe.Copy(defaults);
        pipe.Name = name;
        host_.MarkModified();
    }
    host_.State().SelectedPipeId = pipeId;
}

// A new text that the dialog did not accept is taken away again: an empty
// text would be invisible yet saved.
void TItemTool::addFreeText(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    std::int32_t index = CheckFreeTextClick(network, point.X, point.Y);
    if (index > 0) {
        if (host_.Dialogs().EditFreeText(network, index)) host_.MarkModified();
        return;
    }
    index = network.AddFreeText({}, point.X, point.Y, 0, kFreeTextFontSize, 0);
    if (index <= 0) return;
    if (host_.Dialogs().EditFreeText(network, index))
        host_.MarkModified();
    else
        network.RemoveFreeText(index);
}
