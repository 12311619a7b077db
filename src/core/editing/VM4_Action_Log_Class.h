#pragma once

#include <cstdint>
#include <vector>

#include "model/VM4_Node_Class.h"
#include "model/VM4_Pipe_Class.h"

class TNetwork;

// What one slot of the undo record holds.
enum class TActionKind : std::uint8_t {
    None = 0,
    Separator = 1,  // opens a group: one click of an editing tool
    AddSupply = 2,  // a tank
    AddDischarge = 3,
    AddEndPressure = 4,
    AddJoint = 5,
    AddPipeLink = 6,
    RemoveSupply = 7,
    RemoveDischarge = 8,
    RemoveEndPressure = 9,
    RemoveJoint = 10,
    RemovePipeLink = 11,
};

// One recorded drawing action. Node kinds use NodeId and Node; pipe kinds use
// the two node ids, PipeId (0 for a removal) and Pipe.
struct TAction {
    TActionKind Kind = TActionKind::None;
    std::int32_t NodeId = 0;
    TNode Node;
    std::int32_t FromNodeId = 0;
    std::int32_t ToNodeId = 0;
    std::int32_t PipeId = 0;
    TPipe Pipe;
};

// The undo record of the drawing: a ring of 300 slots, ids 1..300. The current
// id is the last action done; undo walks back from it to the lowest undo id (the
// bottom of the history, overwritten as the ring wraps), redo forward up to the
// highest redo id (the last action recorded). Recording an action discards
// whatever redo could have reached.
//
// Only additions of nodes and pipes and the removal of a single pipe are
// recorded; each click opens its group with a separator, and Undo and Redo
// replay one group at a time.
class TActionLog {
public:
    static constexpr std::int32_t Capacity = 300;

    TActionLog();

    // Every slot back to None with empty copies; the three ids stay.
    void Clear();

    static std::int32_t GetNextId(std::int32_t id);
    static std::int32_t GetPreviousId(std::int32_t id);
    // Moves to a new slot for an action and returns its id.
    std::int32_t GetNextActionId();
    // The id to undo next and one step back; 0 (and no step) at the bottom.
    std::int32_t GetNextUndoActionId();
    // One step forward and the id reached; 0 (and no step) at the top.
    std::int32_t GetNextRedoActionId();
    // Slot `id`, 1..300; raises EActionLogClass otherwise.
    const TAction& GetAction(std::int32_t id) const;

    void AddSeparator();
    void AddSupply(std::int32_t nodeId, const TNode& node);
    void AddDischarge(std::int32_t nodeId, const TNode& node);
    void AddEndPressure(std::int32_t nodeId, const TNode& node);
    void AddJoint(std::int32_t nodeId, const TNode& node);
    void AddPipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe, std::int32_t pipeId);
    void RemovePipeLink(std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe);
    // Takes back the separator just written, for a click that added nothing.
    void RemoveSeparator();

    // Forgets what redo could reach, as a new action would.
    void DiscardRedo() { highestRedoId_ = currentId_; }

    // Undoes the last group, newest action first; false when there was nothing
    // to undo. A network error (a pipe that no longer joins its nodes) is raised
    // with the steps already taken kept.
    bool Undo(TNetwork& network);
    // Redoes the group after the current one, oldest action first; false when
    // there was nothing to redo.
    bool Redo(TNetwork& network);

    std::int32_t CurrentId() const { return currentId_; }
    std::int32_t LowestUndoId() const { return lowestUndoId_; }
    std::int32_t HighestRedoId() const { return highestRedoId_; }

private:
    TAction& slot(std::int32_t id);
    void addNodeAction(TActionKind kind, std::int32_t nodeId, const TNode& node);
    void addPipeAction(TActionKind kind, std::int32_t fromNodeId, std::int32_t toNodeId, const TPipe& pipe,
                       std::int32_t pipeId);
    static void applyUndo(const TAction& action, TNetwork& network);
    static void applyRedo(const TAction& action, TNetwork& network);
    static void addNodeBack(const TAction& action, TNetwork& network);

    std::vector<TAction> slots_;  // index 0 unused
    std::int32_t currentId_ = 0;
    std::int32_t lowestUndoId_ = 0;
    std::int32_t highestRedoId_ = 0;
};
