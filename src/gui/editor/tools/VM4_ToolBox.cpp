#include "editor/tools/VM4_ToolBox.h"

#include "editor/VM4_DrawingState.h"
#include "editor/tools/VM4_AddNodeTool.h"
#include "editor/tools/VM4_AddPipesTool.h"
#include "editor/tools/VM4_DragTool.h"
#include "editor/tools/VM4_ItemTools.h"
#include "editor/tools/VM4_PanTool.h"
#include "editor/tools/VM4_SelectionTool.h"
#include "editor/tools/VM4_ShowInfoTool.h"

TToolBox::TToolBox(IToolHost& host) : edits_(host) {
    using TKind = TAddNodeTool::TKind;
    tools_.push_back(std::make_unique<TShowInfoTool>(host));
    tools_.push_back(std::make_unique<TPanTool>(host));
    tools_.push_back(std::make_unique<TDragTool>(host, edits_));
    tools_.push_back(std::make_unique<TSelectionTool>(host));
    tools_.push_back(std::make_unique<TAddNodeTool>(host, edits_, TKind::Joint));
    tools_.push_back(std::make_unique<TAddPipesTool>(host, edits_));
    tools_.push_back(std::make_unique<TAddNodeTool>(host, edits_, TKind::Tank));
    tools_.push_back(std::make_unique<TAddNodeTool>(host, edits_, TKind::DemandPressure));
    for (TItemTool::TItem item : TItemTool::AllItems) tools_.push_back(std::make_unique<TItemTool>(host, item));
    current_ = Find(TDrawingState::ToolAddPipes);
}

TEditorTool* TToolBox::Find(std::uint8_t code) const {
    for (const auto& tool : tools_)
        if (tool->Code() == code) return tool.get();
    return nullptr;
}

bool TToolBox::Choose(std::uint8_t code) {
    TEditorTool* tool = Find(code);
    if (tool == nullptr) return false;
    current_ = tool;
    current_->Chosen();
    return true;
}

void TToolBox::SetCurrent(std::uint8_t code) {
    if (TEditorTool* tool = Find(code)) current_ = tool;
}
