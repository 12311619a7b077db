#pragma once

#include "editor/tools/VM4_EditorTool.h"

// Moves the view with the mouse held down; the document is not touched.
class TPanTool : public TEditorTool {
public:
    explicit TPanTool(IToolHost& host) : TEditorTool(host) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void Chosen() override;
    void LeftDown(const TToolPoint& point) override;
    void Move(const TToolPoint& point, bool leftHeld) override;
    void LeftUp(const TToolPoint& point) override;

private:
    bool grabbing_ = false;
    int grabX_ = 0;
    int grabY_ = 0;
};
