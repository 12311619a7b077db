#include "editing/VM4_Action_Log_Class.h"

#include <string>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Network_Class.h"

VELMORA_DECLARE_ERROR(EActionLogClass);

namespace {

bool IsNodeAddition(TActionKind kind) {
    return kind == TActionKind::AddSupply || kind == TActionKind::AddDischarge ||
           kind == TActionKind::AddEndPressure || kind == TActionKind::AddJoint;
}

bool IsNodeRemoval(TActionKind kind) {
    return kind == TActionKind::RemoveSupply || kind == TActionKind::RemoveDischarge ||
           kind == TActionKind::RemoveEndPressure || kind == TActionKind::RemoveJoint;
}

}  // namespace

TActionLog::TActionLog() : slots_(static_cast<std::size_t>(Capacity) + 1) {}

void TActionLog::Clear() {
    for (TAction& action : slots_) action = TAction();
}

std::int32_t TActionLog::GetNextId(std::int32_t id) { return id + 1 > Capacity ? 1 : id + 1; }

std::int32_t TActionLog::GetPreviousId(std::int32_t id) { return id >= 2 ? id - 1 : Capacity; }

std::int32_t TActionLog::GetNextActionId() {
    ++currentId_;
    if (currentId_ > Capacity) {
        currentId_ = 1;
        lowestUndoId_ = 1;
    }
    // The ring overwrites its oldest slot: the bottom moves up with it.
    if (lowestUndoId_ == currentId_) lowestUndoId_ = GetNextId(lowestUndoId_);
    highestRedoId_ = currentId_;
    return currentId_;
}

// A log that never recorded anything has nothing to undo; stepping back from id
// 0 would wrap the current id to 300 and let the next redo walk empty slots.
std::int32_t TActionLog::GetNextUndoActionId() {
    if (currentId_ == 0 || GetNextId(lowestUndoId_) == currentId_) return 0;
    const std::int32_t id = currentId_;
    currentId_ = GetPreviousId(currentId_);
    return id;
}

std::int32_t TActionLog::GetNextRedoActionId() {
    if (currentId_ == highestRedoId_) return 0;
    currentId_ = GetNextId(currentId_);
    return currentId_;
}

const TAction& TActionLog::GetAction(std::int32_t id) const {
    if (id < 1 || id > Capacity)
        throw EActionLogClass("TActionLog.GetAction Failed: Action id " + std::to_string(id) + " out of range");
    return slots_[static_cast<std::size_t>(id)];
}

TAction& TActionLog::slot(std::int32_t id) { return slots_[static_cast<std::size_t>(id)]; }

void TActionLog::AddSeparator() {
    TAction& action = slot(GetNextActionId());
    action = TAction();
    action.Kind = TActionKind::Separator;
}

void TActionLog::addNodeAction(TActionKind kind, std::int32_t nodeId, const TNode& node) {
    TAction& action = slot(GetNextActionId());
    action = TAction();
    action.Kind = kind;
    action.NodeId = nodeId;
    // A whole copy, name included: a redone node comes back as it was drawn.
    action.Node = node;
}

void TActionLog::addPipeAction(TActionKind kind, std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe,
                               std::int32_t pipeId) {
    TAction& action = slot(GetNextActionId());
    action = TAction();
    action.Kind = kind;
    action.FromNodeId = fromNodeId;
    action.ToNodeId = toNodeId;
    action.PipeId = pipeId;
    action.Pipe = pipe;
}

void TActionLog::AddSupply(std::int32_t nodeId, const TNode& node) {
    addNodeAction(TActionKind::AddSupply, nodeId, node);
}

void TActionLog::AddDischarge(std::int32_t nodeId, const TNode& node) {
    addNodeAction(TActionKind::AddDischarge, nodeId, node);
}

void TActionLog::AddEndPressure(std::int32_t nodeId, const TNode& node) {
    addNodeAction(TActionKind::AddEndPressure, nodeId, node);
}

void TActionLog::AddJoint(std::int32_t nodeId, const TNode& node) {
    addNodeAction(TActionKind::AddJoint, nodeId, node);
}

void TActionLog::AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe, std::int32_t pipeId) {
    addPipeAction(TActionKind::AddPipeLink, fromNodeId, toNodeId, pipe, pipeId);
}

void TActionLog::RemovePipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe) {
    addPipeAction(TActionKind::RemovePipeLink, fromNodeId, toNodeId, pipe, 0);
}

void TActionLog::RemoveSeparator() {
    if (currentId_ < 1) return;
    slot(currentId_) = TAction();
    currentId_ = GetNextUndoActionId();
}

// ---- Replay ------------------------------------------------------------------------------------

bool TActionLog::Undo(TNetwork& network) {
    bool undone = false;
    for (std::int32_t id = GetNextUndoActionId(); id != 0; id = GetNextUndoActionId()) {
        const TAction& action = slot(id);
        if (action.Kind == TActionKind::Separator) break;
        applyUndo(action, network);
        undone = undone || action.Kind != TActionKind::None;
    }
    return undone;
}

// The current id is left on the last action of the group redone, never on the
// separator of the next group: an Undo right after a Redo must undo that group,
// not stop at the separator having undone nothing.
bool TActionLog::Redo(TNetwork& network) {
    if (currentId_ >= 1 && slot(currentId_).Kind != TActionKind::Separator) GetNextRedoActionId();
    bool redone = false;
    for (std::int32_t id = GetNextRedoActionId(); id != 0; id = GetNextRedoActionId()) {
        const TAction& action = slot(id);
        if (action.Kind == TActionKind::Separator) {
            currentId_ = GetPreviousId(currentId_);
            break;
        }
        if (action.Kind == TActionKind::None) break;
        applyRedo(action, network);
        redone = true;
    }
    return redone;
}

void TActionLog::addNodeBack(const TAction& action, TNetwork& network) {
    const std::int32_t nodeId = network.AddNode(action.Node);
    network.GetNode(nodeId).SetName(action.Node.Name);
}

void TActionLog::applyUndo(const TAction& action, TNetwork& network) {
    if (IsNodeAddition(action.Kind))
        network.RemoveNode(action.NodeId);
    else if (IsNodeRemoval(action.Kind))
        addNodeBack(action, network);
    else if (action.Kind == TActionKind::AddPipeLink)
        network.RemovePipeLinkBetweenNodes(action.FromNodeId, action.ToNodeId);
    else if (action.Kind == TActionKind::RemovePipeLink)
        network.AddPipeLink(action.FromNodeId, action.ToNodeId, action.Pipe);
}

void TActionLog::applyRedo(const TAction& action, TNetwork& network) {
    if (IsNodeAddition(action.Kind))
        addNodeBack(action, network);
    else if (IsNodeRemoval(action.Kind))
        network.RemoveNode(action.NodeId);
    else if (action.Kind == TActionKind::AddPipeLink)
        network.AddPipeLink(action.FromNodeId, action.ToNodeId, action.Pipe);
    else if (action.Kind == TActionKind::RemovePipeLink)
        network.RemovePipeLinkBetweenNodes(action.FromNodeId, action.ToNodeId);
}
