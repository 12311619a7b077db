#pragma once

#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_EditorTool.h"

// Drags a rectangle open over the drawing, selects the nodes and free texts
// strictly inside it and moves them as a group. A move that would put a node
// on another or a pipe across an unconnected node is refused and everything
// goes back exactly where it was.
class TSelectionTool : public TEditorTool {
public:
    // Stage after a successful drop: the selection may be moved again.
    static constexpr std::int32_t SelectionDropped = 4;

    explicit TSelectionTool(IToolHost& host) : TEditorTool(host) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void Chosen() override;
    void LeftDown(const TToolPoint& point) override;
    void RightDown(const TToolPoint& point) override;
    void Move(const TToolPoint& point, bool leftHeld) override;
    void LeftUp(const TToolPoint& point) override;
    void Escape() override;

private:
    void startMove(const TToolPoint& point);
    void rebaseSelection();
    void moveSelection(const TToolPoint& point);
    void finishRectangle();
    // Snaps the moved nodes and checks the drawing; false (and all put back) on overlap.
    bool dropSelection();
    void snapSelectedNodes();
    void dropRectangle();
    void unselectAll();

    int downX_ = 0;
    int downY_ = 0;
    TDrawingState savedState_;
};
