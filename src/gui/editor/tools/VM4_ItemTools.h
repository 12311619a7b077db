#pragma once

#include <array>

#include "editor/tools/VM4_EditorTool.h"

// The tools that put something on an existing pipe or node, or edit it there,
// through the item's dialog: a pump, fittings, a fixed pressure-loss
// component, a flow control, a flow demand, the default pipe's values, and a
// free text anywhere on the drawing.
class TItemTool : public TEditorTool {
public:
    enum class TItem { Pump, Fittings, Component, FlowControl, DemandFlow, CopyDefaultPipe, FreeText };
    static constexpr std::array<TItem, 7> AllItems = {TItem::Pump,       TItem::Fittings,        TItem::Component,
                                                      TItem::FlowControl, TItem::DemandFlow, TItem::CopyDefaultPipe,
                                                      TItem::FreeText};

    TItemTool(IToolHost& host, TItem item) : TEditorTool(host), item_(item) {}

    std::uint8_t Code() const override;
    std::string StatusText() const override;
    void LeftDown(const TToolPoint& point) override;

private:
    // The single open pipe under the raw point for an item on a pipe; 0 after
    // a refusal, which has been shown.
    std::int32_t pipeForItem(const TToolPoint& point, const char* onNode, const char* onBlank);
    void addPump(const TToolPoint& point);
    void placeNewPump(std::int32_t pipeId, const TToolPoint& point);
    void openPumpDialog(std::int32_t pipeId);
    void addFittings(const TToolPoint& point);
    void addComponent(const TToolPoint& point);
    void addFlowControl(const TToolPoint& point);
    double percentAlong(std::int32_t pipeId, const TToolPoint& point) const;
    void addDemandFlow(const TToolPoint& point);
    void copyDefaultPipe(const TToolPoint& point);
    void addFreeText(const TToolPoint& point);

    TItem item_;
};
