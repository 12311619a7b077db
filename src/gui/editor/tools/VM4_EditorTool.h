#pragma once

#include <cstdint>
#include <string>

#include "editor/tools/VM4_ToolHost.h"

// A mouse position on the drawing: the raw drawing point and the grid point it
// snaps to (only meaningful for a button going down).
struct TToolPoint {
    int X = 0;
    int Y = 0;
    int SnapX = 0;
    int SnapY = 0;
};

// One drawing tool: what a click, a drag and a release on the drawing do while
// it is chosen. Points are in drawing units. After every button press the
// window regenerates the picture itself; a tool regenerates only for moves.
class TEditorTool {
public:
    explicit TEditorTool(IToolHost& host) : host_(host) {}
    virtual ~TEditorTool() = default;
    TEditorTool(const TEditorTool&) = delete;
    TEditorTool& operator=(const TEditorTool&) = delete;

    virtual std::uint8_t Code() const = 0;
    // The hint shown when the tool is chosen; it begins with a blank.
    virtual std::string StatusText() const = 0;

    // The tool was chosen: the editor state is reset as the tool needs.
    virtual void Chosen();
    virtual void LeftDown(const TToolPoint& point) = 0;
    virtual void RightDown(const TToolPoint&) {}
    // `leftHeld` while the left button is down.
    virtual void Move(const TToolPoint&, bool /*leftHeld*/) {}
    virtual void LeftUp(const TToolPoint&) {}
    // Escape: what the right button does, for tools that draw something rubbery.
    virtual void Escape() {}

protected:
    IToolHost& host_;
};
