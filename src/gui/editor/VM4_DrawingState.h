#pragma once

#include <cstdint>

// The editor's state record: what is selected, what the tools are in the middle
// of, and which tool is chosen. A plain record, copied whole when a selection
// move is tried. The editor refers to the document's items by id only.
struct TDrawingState {
    // Tool codes (2 and 11 are not used).
    static constexpr std::uint8_t ToolAddTank = 1;
    static constexpr std::uint8_t ToolAddDemandPressure = 3;
    static constexpr std::uint8_t ToolAddDemandFlow = 4;
    static constexpr std::uint8_t ToolAddPump = 5;
    static constexpr std::uint8_t ToolAddFittings = 6;
    static constexpr std::uint8_t ToolAddFixedPressureLoss = 7;
    static constexpr std::uint8_t ToolAddFlowControl = 8;
    static constexpr std::uint8_t ToolAddJoint = 9;
    static constexpr std::uint8_t ToolAddPipes = 10;
    static constexpr std::uint8_t ToolPan = 12;
    static constexpr std::uint8_t ToolShowInfo = 13;
    static constexpr std::uint8_t ToolDrag = 14;
    static constexpr std::uint8_t ToolSelection = 15;
    static constexpr std::uint8_t ToolAddFreeText = 16;
    static constexpr std::uint8_t ToolCopyDefaultPipe = 17;

    // Selection stages of the rectangle tool.
    static constexpr std::int32_t SelectionNone = 0;
    static constexpr std::int32_t SelectionDragging = 1;
    static constexpr std::int32_t SelectionDrawn = 2;
    static constexpr std::int32_t SelectionMoving = 3;

    // No node or pipe highlighted and no pipe ends chosen; whatever else is in
    // progress (a rubber band, a selection rectangle) stays.
    void ForgetHighlightsAndPipeEnds() {
        SelectedNodeId = 0;
        SelectedPipeId = 0;
        PipeFromNodeId = 0;
        PipeToNodeId = 0;
    }

    // Everything back to nothing selected, nothing in progress; the tool stays.
    void Clear() {
        const std::uint8_t tool = CurrentTool;
        *this = TDrawingState();
        CurrentTool = tool;
    }

    std::int32_t SelectedNodeId = 0;  // highlighted node, 0 none
    std::int32_t SelectedPipeId = 0;  // highlighted pipe, 0 none
    std::int32_t PipeFromNodeId = 0;  // node a new pipe is drawn from
    std::int32_t PipeToNodeId = 0;    // node just clicked as the far end
    std::int32_t InfoPipeId = 0;      // pipe clicked by Show Info
    std::int32_t InfoPipeClickId = 0;
    // Pipe whose pump, label, fittings, component or flow control lies under the
    // mouse at mouse-down.
    std::int32_t HitPumpPipeId = 0;
    std::int32_t HitPipeLabelId = 0;
    std::int32_t HitFittingPipeId = 0;
    std::int32_t HitComponentPipeId = 0;
    std::int32_t HitFlowControlPipeId = 0;
    // Node whose demand-out arrow, demand-in arrow or label lies under the mouse.
    std::int32_t HitDemandOutNodeId = 0;
    std::int32_t HitDemandInNodeId = 0;
    std::int32_t HitNodeLabelId = 0;
    std::int32_t HitFreeTextIndex = 0;
    // Node and pipe last shown in the left panel.
    std::int32_t PanelNodeId = 0;
    std::int32_t PanelPipeId = 0;
    std::uint8_t RubberBandOn = 0;  // 1 while a pipe is being drawn
    std::int32_t SelectionStage = SelectionNone;
    std::int32_t SelectionX1 = 0;
    std::int32_t SelectionY1 = 0;
    std::int32_t SelectionX2 = 0;
    std::int32_t SelectionY2 = 0;
    std::int32_t RubberBandX = 0;  // mouse position at the free end of the rubber band
    std::int32_t RubberBandY = 0;
    std::uint8_t CurrentTool = ToolAddPipes;
};
