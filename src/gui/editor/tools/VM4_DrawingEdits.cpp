#include "editor/tools/VM4_DrawingEdits.h"

#include <algorithm>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/VM4_NetworkView.h"
#include "editor/tools/VM4_EditorMessages.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

constexpr int kTankSymbol = 0;
constexpr int kEndPressureSymbol = 5;

std::string NodeName(std::int32_t id) { return "N" + std::to_string(id); }

std::string PipeName(std::int32_t id) { return "P" + std::to_string(id); }

}  // namespace

// Points already on the grid stay where they are, but never off the sheet:
// a node outside it could not be reached again.
int TDrawingEdits::SnapToGrid(int value, int limit) {
    int snapped = value;
    if (value % GridSpacing != 0) snapped = ((value + GridSpacing / 2) / GridSpacing) * GridSpacing;
    return std::clamp(snapped, GridSpacing, limit - GridSpacing);
}

int TDrawingEdits::SnapX(int x) { return SnapToGrid(x, kDrawingWidth); }

int TDrawingEdits::SnapY(int y) { return SnapToGrid(y, kDrawingHeight); }

void TDrawingEdits::inform(const std::string& text) { host_.Boxes().ShowInformation(text); }

bool TDrawingEdits::ask(const std::string& text) { return host_.Boxes().Confirm(text); }

std::int32_t TDrawingEdits::OtherNodeAt(int x, int y, std::int32_t exceptNodeId) const {
    const TNetwork& network = host_.Network();
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        if (id != exceptNodeId && node.X == x && node.Y == y) return id;
    }
    return 0;
}

TNode TDrawingEdits::nodeAt(TNodeType type, int x, int y) {
    TNode node;
    node.SetType(type);
    node.X = x;
    node.Y = y;
    return node;
}

std::int32_t TDrawingEdits::addNamedNode(const TNode& node) {
    TNetwork& network = host_.Network();
    const std::int32_t id = network.AddNode(node);
    network.GetNode(id).SetName(NodeName(id));
    host_.State().SelectedNodeId = id;
    host_.MarkModified();
    return id;
}

bool TDrawingEdits::refuseNewNode(int x, int y, const char* onPipeMessage) {
    TNetwork& network = host_.Network();
    if (network.GetNodeCount() >= MaxNodes) {
        inform(EditorMessages::MaxNodesReached);
        return true;
    }
    if (network.IsPointOnAnyNetworkLine(x, y) > 0) {
        inform(onPipeMessage);
        return true;
    }
    return false;
}

void TDrawingEdits::retypeNode(std::int32_t nodeId, const char* question, int type, int symbol) {
    if (!ask(question)) return;
    TNode& node = host_.Network().GetNode(nodeId);
    node.SetType(static_cast<TNodeType>(type));
    if (symbol >= 0) node.Symbol = symbol;
    if (node.NodeType == TNodeType::DemandPressure) node.LiquidLevel_m = 0.0;
    host_.State().SelectedNodeId = nodeId;
    host_.MarkModified();
}

void TDrawingEdits::AddTankContainer(int x, int y, int symbol) {
    TNetwork& network = host_.Network();
    if (const std::int32_t existing = network.ExistsNodeWithSamePosition(x, y); existing > 0) {
        retypeNode(existing, EditorMessages::ChangeToTank, static_cast<int>(TNodeType::Tank), kTankSymbol);
        return;
    }
    if (refuseNewNode(x, y, EditorMessages::TankOnPipe)) return;
    TNode node = nodeAt(TNodeType::Tank, x, y);
    node.Symbol = symbol;
    const std::int32_t id = addNamedNode(node);
    host_.ActionLog().AddSupply(id, network.GetNode(id));
}

void TDrawingEdits::AddDemandPressure(int x, int y, int symbol) {
    TNetwork& network = host_.Network();
    if (const std::int32_t existing = network.ExistsNodeWithSamePosition(x, y); existing > 0) {
        if (network.GetNumberOfOutFlowPipes(existing) > 0 || network.GetNumberOfInFlowPipes(existing) > 1) {
            inform(EditorMessages::CannotConvertToEndPressure);
            return;
        }
        retypeNode(existing, EditorMessages::ChangeToEndPressure, static_cast<int>(TNodeType::DemandPressure),
                   kEndPressureSymbol);
        return;
    }
    if (refuseNewNode(x, y, EditorMessages::NodeOnPipe)) return;
    TNode node = nodeAt(TNodeType::DemandPressure, x, y);
    node.Symbol = symbol;
    const std::int32_t id = addNamedNode(node);
    host_.ActionLog().AddEndPressure(id, network.GetNode(id));
}

std::int32_t TDrawingEdits::AddJoint(int x, int y, double elevation_m) {
    TNetwork& network = host_.Network();
    if (const std::int32_t existing = network.ExistsNodeWithSamePosition(x, y); existing > 0) {
        retypeNode(existing, EditorMessages::ChangeToJoint, static_cast<int>(TNodeType::JoinPoint), -1);
        return -1;
    }
    if (network.GetNodeCount() >= MaxNodes) {
        inform(EditorMessages::MaxNodesReached);
        return -1;
    }
    const std::int32_t pipeId = network.IsPointOnAnyNetworkLine(x, y);
    if (pipeId < 0) {
        inform(EditorMessages::MultipleLinesIntersect);
        return -1;
    }
    if (pipeId > 0) {
        if (!ask(EditorMessages::SplitPipeQuestion)) return -1;
        return splitPipe(pipeId, x, y);
    }
    TNode node = nodeAt(TNodeType::JoinPoint, x, y);
    node.Elevation_m = elevation_m;
    const std::int32_t id = addNamedNode(node);
    host_.ActionLog().AddJoint(id, network.GetNode(id));
    return id;
}

// The first half keeps the pipe's name and everything on it; the second half
// is bare pipe. Both take half the length.
std::int32_t TDrawingEdits::splitPipe(std::int32_t pipeId, int x, int y) {
    TNetwork& network = host_.Network();
    TActionLog& log = host_.ActionLog();
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TPipe original = network.GetPipe(pipeId);
    TPipe first = original;
    first.Length_m = original.Length_m / 2.0;
    TPipe second = first;
    second.Fittings.Clear();
    second.RemoveComponentPressure();
    second.RemoveFlowControl();
    second.Pump.ClearPumpCurves();
    if (second.HasPump) second.RemovePump();

    network.RemovePipeLink(pipeId);
    log.RemovePipeLink(fromId, toId, original);
    TNode node = nodeAt(TNodeType::JoinPoint, x, y);
    node.Elevation_m = network.GetNode(fromId).Elevation_m;
    const std::int32_t nodeId = addNamedNode(node);
    log.AddJoint(nodeId, network.GetNode(nodeId));
    const std::int32_t firstId = network.AddPipeLink(fromId, nodeId, first);
    log.AddPipeLink(fromId, nodeId, network.GetPipe(firstId), firstId);
    const std::int32_t secondId = network.AddPipeLink(nodeId, toId, second);
    network.GetPipe(secondId).Name = PipeName(secondId);
    log.AddPipeLink(nodeId, toId, network.GetPipe(secondId), secondId);
    return nodeId;
}

std::string TDrawingEdits::firstPipeReminder() const {
    const TNetwork& network = host_.Network();
    const TPipe& pipe = network.DefaultPipe;
    const TNetworkSettings& settings = network.Settings;
    const auto shown = [](int unit, double value_m) {
        return convertUnitsToDisplayText(UNIT_M, unit, value_m) + " " + unitName(unit);
    };
    return "First Pipe Reminder \r\rThe default pipe values for drawing are:\r\r" + pipe.Material + " " +
           pipe.Schedule + "\r" + "Length = " + shown(settings.LengthUnit, pipe.Length_m) + "\r" +
           "Diameter = " + shown(settings.DiameterUnit, pipe.InnerDiameter_m) + "\r" +
           "Roughness = " + shown(settings.RoughnessUnit, pipe.InnerRoughness_m) + "\r\r" +
           "Do you wish to change these values now?";
}

bool TDrawingEdits::AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId) {
    TNetwork& network = host_.Network();
    if (network.GetPipeCount() >= MaxPipes) {
        inform(EditorMessages::MaxPipesReachedStart + std::to_string(MaxPipes) + EditorMessages::MaxPipesReachedEnd);
        return false;
    }
    if (network.ExistsPipeLink(fromNodeId, toNodeId)) {
        inform(EditorMessages::NodesAlreadyConnected);
        return false;
    }
    if (network.ExistsNodesOnPipeLinkLine(fromNodeId, toNodeId)) {
        inform(EditorMessages::PipeThroughNodes);
        return false;
    }
    if (network.GetPipeCount() == 0 && ask(firstPipeReminder())) host_.Dialogs().EditDefaultPipe(network);
    std::int32_t pipeId = -1;
    try {
        pipeId = network.AddPipeLink(fromNodeId, toNodeId, network.DefaultPipe);
    } catch (const EVelmoraError&) {
        pipeId = -1;
    }
    if (pipeId <= 0) {
        inform(EditorMessages::PipeAddFailed);
        return false;
    }
    TPipe& pipe = network.GetPipe(pipeId);
    pipe.Name = PipeName(pipeId);
    host_.State().InfoPipeId = pipeId;
    host_.State().SelectedPipeId = pipeId;
    host_.ActionLog().AddPipeLink(fromNodeId, toNodeId, pipe, pipeId);
    host_.MarkModified();
    return true;
}
