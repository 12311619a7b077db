#pragma once

#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorTool.h"

// Moves one item with the mouse: a node (dropped on the grid, refused on top
// of another node or a pipe), a pump or another item along its pipe, a pipe
// label, a node label, a demand arrow's end or a free text.
class TDragTool : public TEditorTool {
public:
    enum class TDragKind {
        Nothing = 0,
        Node = 1,
        Pump = 10,
        PipeLabel = 20,
        DemandOut = 30,
        DemandIn = 40,
        NodeLabel = 50,
        Fittings = 60,
        Component = 70,
        FlowControl = 80,
        FreeText = 90,
    };

    TDragTool(IToolHost& host, TDrawingEdits& edits) : TEditorTool(host), edits_(edits) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void Chosen() override;
    void LeftDown(const TToolPoint& point) override;
    void RightDown(const TToolPoint& point) override;
    void Move(const TToolPoint& point, bool leftHeld) override;
    void LeftUp(const TToolPoint& point) override;

    TDragKind Kind() const { return kind_; }

private:
    void pickItem(const TToolPoint& point);
    bool refusedInResultsMode();
    void moveItem(const TToolPoint& point);
    // |P - From| / |To - From| x 100 along the dragged item's pipe.
    double percentAlongPipe(const TToolPoint& point, bool fromRightEnd) const;
    void dropNode(const TToolPoint& point);

    TDrawingEdits& edits_;
    TDragKind kind_ = TDragKind::Nothing;
    std::int32_t itemId_ = 0;  // node id, pipe id or free-text index
    int startX_ = 0;           // the dragged node's position before the drag
    int startY_ = 0;
};
