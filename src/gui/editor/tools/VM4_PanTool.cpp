#include "editor/tools/VM4_PanTool.h"

#include "editor/VM4_DrawingState.h"

std::uint8_t TPanTool::Code() const { return TDrawingState::ToolPan; }

std::string TPanTool::StatusText() const {
    return " Pan Drawing: Left click and hold down, then move mouse to pan the drawing.";
}

// Panning keeps a rubber band or a selection in progress.
void TPanTool::Chosen() {
    host_.State().ForgetHighlightsAndPipeEnds();
    grabbing_ = false;
    host_.SetCursor(TToolCursor::OpenHand);
}

void TPanTool::LeftDown(const TToolPoint& point) {
    grabbing_ = true;
    grabX_ = point.X;
    grabY_ = point.Y;
    host_.SetCursor(TToolCursor::GrabbingHand);
}

// The point under the mouse stays under it: the origin moves by the mouse's
// travel, and the drawing point under the mouse is the grab point again.
void TPanTool::Move(const TToolPoint& point, bool leftHeld) {
    if (!grabbing_ || !leftHeld) {
        host_.SetCursor(TToolCursor::OpenHand);
        return;
    }
    host_.SetCursor(TToolCursor::GrabbingHand);
    host_.PanBy(grabX_ - point.X, grabY_ - point.Y);
}

void TPanTool::LeftUp(const TToolPoint&) {
    grabbing_ = false;
    host_.SetCursor(TToolCursor::OpenHand);
}
