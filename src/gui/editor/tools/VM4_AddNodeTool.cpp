#include "editor/tools/VM4_AddNodeTool.h"

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"

namespace {

constexpr int kNewTankSymbol = 0;
constexpr int kNewEndPressureSymbol = 5;

}  // namespace

std::uint8_t TAddNodeTool::Code() const {
    switch (kind_) {
        case TKind::Tank: return TDrawingState::ToolAddTank;
        case TKind::DemandPressure: return TDrawingState::ToolAddDemandPressure;
        default: return TDrawingState::ToolAddJoint;
    }
}

std::string TAddNodeTool::StatusText() const {
    switch (kind_) {
        case TKind::Tank: return " Add Tank: Left click on the drawing to add a Tank at the cursor position.";
        case TKind::DemandPressure:
            return " Add Demand Pressure: Left click on the drawing to add a fixed pressure demand.";
        default: return " Add Joint: Left click on the drawing to add a Joint at the cursor position.";
    }
}

void TAddNodeTool::LeftDown(const TToolPoint& point) {
    TActionLog& log = host_.ActionLog();
    log.AddSeparator();
    switch (kind_) {
        case TKind::Tank: edits_.AddTankContainer(point.SnapX, point.SnapY, kNewTankSymbol); break;
        case TKind::DemandPressure: edits_.AddDemandPressure(point.SnapX, point.SnapY, kNewEndPressureSymbol); break;
        case TKind::Joint:
            if (edits_.AddJoint(point.SnapX, point.SnapY, 0.0) <= 0) log.RemoveSeparator();
            break;
    }
}
