#pragma once

#include "editor/tools/VM4_EditorTool.h"

// Picks the node or pipe clicked on, so that it is highlighted and described;
// a second click on a picked pipe's pump, fittings, component or flow control
// opens that item's dialog, on a picked item elsewhere it unpicks it.
class TShowInfoTool : public TEditorTool {
public:
    explicit TShowInfoTool(IToolHost& host) : TEditorTool(host) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void Chosen() override;
    void LeftDown(const TToolPoint& point) override;

private:
    bool pickNode(const TToolPoint& point);
    bool openDemandsAt(const TToolPoint& point);
    void pickPipe(const TToolPoint& point);
    bool openItemAt(std::int32_t pipeId, const TToolPoint& point);
};
