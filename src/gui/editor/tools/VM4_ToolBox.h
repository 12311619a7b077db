#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_EditorTool.h"

// Every drawing tool, one of them current. The canvas's mouse events go to
// the current tool.
class TToolBox {
public:
    explicit TToolBox(IToolHost& host);

    // The tool with this code; null for a code no tool has.
    TEditorTool* Find(std::uint8_t code) const;
    TEditorTool& Current() const { return *current_; }
    // Makes the tool current and lets it reset the editor state; false for an
    // unknown code.
    bool Choose(std::uint8_t code);
    // Makes the tool current without touching the editor state.
    void SetCurrent(std::uint8_t code);

private:
    TDrawingEdits edits_;
    std::vector<std::unique_ptr<TEditorTool>> tools_;
    TEditorTool* current_ = nullptr;
};
