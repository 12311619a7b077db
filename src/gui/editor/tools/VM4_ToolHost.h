#pragma once

#include <cstdint>
#include <string>

#include "editor/VM4_EditorHost.h"

// The screen cursor a tool asks for over the drawing.
enum class TToolCursor { Arrow, OpenHand, GrabbingHand, Move, Selection, SelectionActive, PointingHand, Cross };

// What a drawing tool may ask of the window that holds it. Tools work on the
// document and the editor state and never reach for a widget themselves.
class IToolHost : public IEditorHost {
public:
    virtual void SetCursor(TToolCursor cursor) = 0;
    // Moves the view's origin by (dx, dy) drawing units and shows the picture
    // there without regenerating it.
    virtual void PanBy(int dx, int dy) = 0;
    // The drawing point at the canvas's top-left pixel.
    virtual int ViewOriginX() const = 0;
    virtual int ViewOriginY() const = 0;
    // Switches to another tool, as its button would.
    virtual void ChooseTool(std::uint8_t toolCode) = 0;
};
