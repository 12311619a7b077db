#pragma once

#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorTool.h"

// Draws pipes as a chain: the first click picks (or adds) the start node, each
// further click ends a pipe there and starts the next one from it. A click on
// an empty point adds a join point for the pipe to end at; clicking the start
// node again, the right button or Escape ends the chain.
class TAddPipesTool : public TEditorTool {
public:
    TAddPipesTool(IToolHost& host, TDrawingEdits& edits) : TEditorTool(host), edits_(edits) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void LeftDown(const TToolPoint& point) override;
    void RightDown(const TToolPoint& point) override;
    void Move(const TToolPoint& point, bool leftHeld) override;
    void Escape() override;

private:
    void pickStartNode(std::int32_t nodeId, const TToolPoint& point);
    void endAtNode(std::int32_t nodeId);
    void endAtEmptyPoint(const TToolPoint& point);
    void joinToNewNode(std::int32_t newNodeId);
    void finishClick(const TToolPoint& point);
    void connectPickedNodes();
    void stopDrawing();

    TDrawingEdits& edits_;
};
