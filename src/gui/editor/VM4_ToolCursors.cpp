#include "editor/VM4_ToolCursors.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include "editor/VM4_DrawingState.h"
#include "editor/VM4_ToolIcons.h"

namespace {

constexpr int kCursorSize = 32;
constexpr int kPictureSize = 18;

QIcon ToolPicture(std::uint8_t code) {
    switch (code) {
        case TDrawingState::ToolShowInfo: return ToolIcons::ShowInfo();
        case TDrawingState::ToolDrag: return ToolIcons::Drag();
        case TDrawingState::ToolAddJoint: return ToolIcons::JoinPoint();
        case TDrawingState::ToolAddPipes: return ToolIcons::Pipes();
        case TDrawingState::ToolAddFittings: return ToolIcons::Fittings();
        case TDrawingState::ToolAddFixedPressureLoss: return ToolIcons::Component();
        case TDrawingState::ToolAddFlowControl: return ToolIcons::FlowControl();
        case TDrawingState::ToolAddPump: return ToolIcons::Pump();
        case TDrawingState::ToolAddTank: return ToolIcons::Tank();
        case TDrawingState::ToolAddDemandPressure: return ToolIcons::DemandPressure();
        case TDrawingState::ToolAddDemandFlow: return ToolIcons::DemandFlow();
        case TDrawingState::ToolCopyDefaultPipe: return ToolIcons::CopyDefaultPipe();
        case TDrawingState::ToolAddFreeText: return ToolIcons::FreeText();
        default: return {};
    }
}

// A small black arrow with a white rim, its tip at the hot spot (0, 0).
void DrawPointer(QPainter& painter) {
    const QPolygonF arrow({{0, 0}, {0, 13}, {3.5, 10}, {6, 15.5}, {8, 14.5}, {5.5, 9.5}, {10, 9.5}});
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
}

}  // namespace

namespace ToolCursors {

QCursor ForTool(std::uint8_t toolCode) {
    const QIcon picture = ToolPicture(toolCode);
    if (picture.isNull()) return QCursor(Qt::ArrowCursor);
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The picture sits on a white tile below and right of the pointer, where
    // it never hides the point clicked.
    const QRect tile(kCursorSize - kPictureSize - 1, kCursorSize - kPictureSize - 1, kPictureSize, kPictureSize);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::white);
    painter.drawRect(tile.adjusted(0, 0, -1, -1));
    painter.drawPixmap(tile.adjusted(1, 1, -1, -1), picture.pixmap(kPictureSize - 2, kPictureSize - 2));
    DrawPointer(painter);
    painter.end();
    return QCursor(pixmap, 0, 0);
}

}  // namespace ToolCursors
