#pragma once

#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorTool.h"

// Adds one node where the drawing is clicked, snapped to the grid: a join
// point, a tank or an end-pressure node. Each click is one undo group.
class TAddNodeTool : public TEditorTool {
public:
    enum class TKind { Joint, Tank, DemandPressure };

    TAddNodeTool(IToolHost& host, TDrawingEdits& edits, TKind kind) : TEditorTool(host), edits_(edits), kind_(kind) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void LeftDown(const TToolPoint& point) override;

private:
    TDrawingEdits& edits_;
    TKind kind_;
};
