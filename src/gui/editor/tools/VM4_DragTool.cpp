#include "editor/tools/VM4_DragTool.h"

#include <algorithm>
#include <cmath>

#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_CanvasHitTests.h"

namespace {

double Distance(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

}  // namespace

std::uint8_t TDragTool::Code() const { return TDrawingState::ToolDrag; }

std::string TDragTool::StatusText() const {
    return " Drag Node: Left click on a highlighted object and hold down while dragging to new position.";
}

void TDragTool::Chosen() {
    TDrawingState& state = host_.State();
    state.RubberBandOn = 0;
    state.SelectionStage = TDrawingState::SelectionNone;
    host_.Network().SetSelectedNodes(0, 0, 0, 0);
    kind_ = TDragKind::Nothing;
    host_.SetCursor(TToolCursor::Move);
}

// The first hit in this order decides what moves; the node comes last, so that
// a label or arrow lying over its node can still be taken.
void TDragTool::pickItem(const TToolPoint& point) {
    const TNetwork& network = host_.Network();
    const int x = point.X;
    const int y = point.Y;
    const struct {
        TDragKind kind;
        int id;
    } hits[] = {
        {TDragKind::Pump, CheckPumpClick(network, x, y)},
        {TDragKind::PipeLabel, CheckPipeTextClick(network, x, y)},
        {TDragKind::DemandIn, CheckNodeDemandInClick(network, x, y)},
        {TDragKind::DemandOut, CheckNodeDemandOutClick(network, x, y)},
        {TDragKind::NodeLabel, CheckNodeTextClick(network, x, y)},
        {TDragKind::Fittings, CheckPipeFittingClick(network, x, y)},
        {TDragKind::Component, CheckPipeComponentPressureClick(network, x, y)},
        {TDragKind::FlowControl, CheckPipeFlowControlClick(network, x, y)},
        {TDragKind::FreeText, CheckFreeTextClick(network, x, y)},
        {TDragKind::Node, CheckNodeClick(network, x, y)},
    };
    kind_ = TDragKind::Nothing;
    itemId_ = 0;
    for (const auto& hit : hits) {
        if (hit.id > 0) {
            kind_ = hit.kind;
            itemId_ = hit.id;
            return;
        }
    }
}

bool TDragTool::refusedInResultsMode() {
    if (!host_.ResultsMode()) return false;
    const char* message = nullptr;
    switch (kind_) {
        case TDragKind::Pump: message = EditorMessages::PumpsNotMovable; break;
        case TDragKind::Fittings: message = EditorMessages::FittingsNotMovable; break;
        case TDragKind::Component: message = EditorMessages::ComponentsNotMovable; break;
        case TDragKind::FlowControl: message = EditorMessages::FlowControlsNotMovable; break;
        default: return false;
    }
    host_.Boxes().ShowInformation(message);
    return true;
}

void TDragTool::LeftDown(const TToolPoint& point) {
    pickItem(point);
    if (refusedInResultsMode()) {
        kind_ = TDragKind::Nothing;
        return;
    }
    if (kind_ == TDragKind::Node) {
        const TNode& node = host_.Network().GetNode(itemId_);
        startX_ = node.X;
        startY_ = node.Y;
    }
}

void TDragTool::Move(const TToolPoint& point, bool leftHeld) {
    if (!leftHeld || kind_ == TDragKind::Nothing) return;
    moveItem(point);
    host_.MarkModified();
    host_.Regenerate();
}

double TDragTool::percentAlongPipe(const TToolPoint& point, bool fromRightEnd) const {
    const TNetwork& network = host_.Network();
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    if (!network.GetPipeNodes(itemId_, fromId, toId)) return 0.0;
    const TNode& from = network.GetNode(fromId);
    const TNode& to = network.GetNode(toId);
    // A pipe whose ends share a position has no direction to move along.
    const double length = std::max(Distance(to.X - from.X, to.Y - from.Y), 1.0);
    double distance = Distance(point.X - from.X, point.Y - from.Y);
    if (distance == 0.0) distance = 1.0;
    const double percent = distance / length * 100.0;
    return fromRightEnd && to.X < from.X ? 100.0 - percent : percent;
}

void TDragTool::moveItem(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    switch (kind_) {
        case TDragKind::Node: {
            TNode& node = network.GetNode(itemId_);
            node.X = point.X;
            node.Y = point.Y;
            break;
        }
        case TDragKind::Pump: {
            TPipe& pipe = network.GetPipe(itemId_);
            pipe.PumpPositionPercent = std::clamp(percentAlongPipe(point, false), 0.0, 100.0);
            pipe.PumpDistanceFromStart_m = std::nearbyint(pipe.PumpPositionPercent / 100.0 * pipe.Length_m);
            network.SetPumpXYFromPercentagePosition(itemId_);
            break;
        }
        case TDragKind::PipeLabel:
            network.GetPipe(itemId_).LabelPositionPercent = std::clamp(percentAlongPipe(point, true), 3.0, 97.0);
            break;
        case TDragKind::DemandOut: {
            TNode& node = network.GetNode(itemId_);
            node.DemandOutLabelOffsetX = point.X - node.X;
            node.DemandOutLabelOffsetY = point.Y - node.Y;
            break;
        }
        case TDragKind::DemandIn: {
            TNode& node = network.GetNode(itemId_);
            node.DemandInLabelOffsetX = point.X - node.X;
            node.DemandInLabelOffsetY = point.Y - node.Y;
            break;
        }
        case TDragKind::NodeLabel: {
            TNode& node = network.GetNode(itemId_);
            node.NameLabelOffsetX = std::clamp(point.X - node.X, -80, 20);
            node.NameLabelOffsetY = std::clamp(point.Y - node.Y, -38, 20);
            break;
        }
        case TDragKind::Fittings:
            network.GetPipe(itemId_).FittingsPositionPercent = std::clamp(percentAlongPipe(point, false), 3.0, 90.0);
            break;
        case TDragKind::Component:
            network.GetPipe(itemId_).ComponentPositionPercent = std::clamp(percentAlongPipe(point, false), 3.0, 90.0);
            break;
        case TDragKind::FlowControl:
            network.GetPipe(itemId_).FlowControlPositionPercent =
                std::clamp(percentAlongPipe(point, false), 3.0, 90.0);
            break;
        case TDragKind::FreeText: {
            TFreeText& text = network.GetFreeText(itemId_);
            text.X = point.X;
            text.Y = point.Y;
            break;
        }
        case TDragKind::Nothing: break;
    }
}

void TDragTool::LeftUp(const TToolPoint& point) {
    if (kind_ != TDragKind::Node) return;
    dropNode(point);
    kind_ = TDragKind::Nothing;
    itemId_ = 0;
    host_.Regenerate();
}

// A refused drop puts the node back exactly where it was before the drag.
void TDragTool::dropNode(const TToolPoint& point) {
    TNetwork& network = host_.Network();
    TNode& node = network.GetNode(itemId_);
    const int x = TDrawingEdits::SnapX(point.X);
    const int y = TDrawingEdits::SnapY(point.Y);
    node.X = x;
    node.Y = y;
    const char* refusal = nullptr;
    if (edits_.OtherNodeAt(x, y, itemId_) > 0)
        refusal = EditorMessages::NodeOnNode;
    else if (network.IsPointOnAnyLineNotFromThisNode(itemId_, x, y) > 0)
        refusal = EditorMessages::NodeOnPipeMove;
    else if (network.ExistsNodesOnAnyLineFromThisNode(itemId_))
        refusal = EditorMessages::NodePipeCrossesNode;
    if (refusal != nullptr) {
        host_.Boxes().ShowInformation(refusal);
        node.X = startX_;
        node.Y = startY_;
    }
    host_.MarkModified();
}

void TDragTool::RightDown(const TToolPoint&) { host_.ChooseTool(TDrawingState::ToolShowInfo); }
