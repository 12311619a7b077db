#include "editor/VM4_ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <numbers>

#include "editor/VM4_Canvas_Drawings.h"

namespace {

constexpr int kSize = 24;

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QIcon Lettered(const QString& text, int pixelSize, const QColor& colour = Qt::black) {
    return Drawn([=](QPainter& p) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(pixelSize);
        font.setBold(true);
        p.setFont(font);
        p.setPen(colour);
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, text);
    });
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 10), 7, 7);
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    if (plus) p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    DrawArrowHead(p, from.x(), from.y(), to.x(), to.y(), 3, 1.3, Qt::black, Qt::black);
}

}  // namespace

namespace ToolIcons {

QIcon NewGrid() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 2.5, 17, 19));
        p.setPen(DrawingColours::TankBlue);
        for (int i = 7; i < 20; i += 4) {
            p.drawLine(QPointF(i + 0.5, 3), QPointF(i + 0.5, 21));
            p.drawLine(QPointF(4, i + 0.5), QPointF(20, i + 0.5));
        }
    });
}

QIcon Email() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 250, 220));
        p.drawRect(QRectF(2.5, 6.5, 19, 12));
        p.drawPolyline(QPolygonF{QPointF(2.5, 6.5), QPointF(12, 13), QPointF(21.5, 6.5)});
    });
}

QIcon Print() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(2.5, 9.5, 19, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 14.5, 11, 7));
    });
}

QIcon Labelling() { return Lettered(QStringLiteral("Ab"), 12, DrawingColours::Label); }
QIcon Units() { return Lettered(QStringLiteral("m/ft"), 8); }

QIcon GridView() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 4.5, 19, 15));
        p.fillRect(QRectF(3, 5, 18.5, 4), QColor(200, 200, 200));
        for (int y = 9; y < 20; y += 4) p.drawLine(QPointF(2.5, y + 0.5), QPointF(21.5, y + 0.5));
        for (int x = 9; x < 21; x += 6) p.drawLine(QPointF(x + 0.5, 4.5), QPointF(x + 0.5, 19.5));
    });
}

QIcon ChangeFluid() {
    return Drawn([](QPainter& p) {
        QPainterPath drop;
        drop.moveTo(12, 3);
        drop.cubicTo(12, 3, 5, 12, 5, 15);
        drop.cubicTo(5, 19, 8, 21, 12, 21);
        drop.cubicTo(16, 21, 19, 19, 19, 15);
        drop.cubicTo(19, 12, 12, 3, 12, 3);
        p.setPen(Qt::black);
        p.setBrush(DrawingColours::TankBlue);
        p.drawPath(drop);
    });
}

QIcon ZoomOut() { return Drawn([](QPainter& p) { Magnifier(p, false); }); }
QIcon ZoomIn() { return Drawn([](QPainter& p) { Magnifier(p, true); }); }

QIcon ZoomFit() {
    return Drawn([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(7.5, 7.5, 9, 9));
        Arrow(p, {7, 7}, {2, 2});
        Arrow(p, {17, 7}, {22, 2});
        Arrow(p, {7, 17}, {2, 22});
        Arrow(p, {17, 17}, {22, 22});
    });
}

QIcon ShowInfo() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(DrawingColours::Label);
        p.drawEllipse(QPointF(12, 12), 10, 10);
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("i"));
    });
}

QIcon Pan() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        Arrow(p, {12, 12}, {12, 2});
        Arrow(p, {12, 12}, {12, 22});
        Arrow(p, {12, 12}, {2, 12});
        Arrow(p, {12, 12}, {22, 12});
    });
}

QIcon Drag() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(DrawingColours::Highlight);
        p.drawEllipse(QPointF(9, 12), 7, 7);
        p.setPen(Qt::black);
        Arrow(p, {9, 12}, {22, 12});
    });
}

QIcon Selection() {
    return Drawn([](QPainter& p) {
        p.setPen(QPen(DrawingColours::Label, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3.5, 5.5, 17, 13));
    });
}

QIcon JoinPoint() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 2, 12, 22, 12, Qt::black);
        p.setPen(Qt::black);
        p.setBrush(DrawingColours::JoinPoint);
        p.drawEllipse(QPointF(12, 12), 5, 5);
    });
}

QIcon Pipes() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.drawLine(QPointF(3, 19), QPointF(21, 5));
        DrawArrowHead(p, 3, 19, 16, 8.9, 3, 3, Qt::black, Qt::black);
    });
}

QIcon Fittings() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 1, 12, 23, 12, Qt::black);
        DrawValveSymbol(p, 12, 12, 0.0, Qt::black);
    });
}

QIcon Component() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 1, 12, 23, 12, Qt::black);
        DrawComponentSymbol(p, 0, 12, 12, 0.0, Qt::black, false, QString());
    });
}

QIcon FlowControl() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 1, 16, 23, 16, Qt::black);
        DrawFlowControlSymbol(p, 12, 16, 0.0, Qt::black, QString());
    });
}

QIcon Pump() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 1, 12, 23, 12, Qt::black);
        DrawPumpSymbol(p, 1, 12, 11, 12, PumpSymbolColour(0), Qt::black);
    });
}

QIcon Tank() { return Drawn([](QPainter& p) { DrawTankSymbol(p, 0, 12, 13); }); }
QIcon DemandPressure() { return Drawn([](QPainter& p) { DrawEndPressureSymbol(p, 0, 12, 13); }); }

QIcon DemandFlow() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 4, 18, 20, 6, DrawingColours::DemandOut);
        DrawArrowHead(p, 4, 18, 20, 6, 3, 3, DrawingColours::DemandOut, Qt::black);
        p.setPen(Qt::black);
        p.setBrush(DrawingColours::JoinPoint);
        p.drawEllipse(QPointF(5, 18), 3.5, 3.5);
    });
}

QIcon CopyDefaultPipe() {
    return Drawn([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(200, 160, 90));
        p.drawRect(QRectF(10.5, 2.5, 4, 10));
        p.setBrush(DrawingColours::Label);
        p.drawRect(QRectF(6.5, 12.5, 12, 8));
    });
}

QIcon FreeText() { return Lettered(QStringLiteral("T"), 16); }
QIcon Delete() { return Lettered(QStringLiteral("\u2715"), 14, QColor(200, 0, 0)); }
QIcon Cut() { return Lettered(QStringLiteral("\u2702"), 16); }
QIcon Copy() { return Lettered(QStringLiteral("\u2750"), 16); }
QIcon Paste() { return Lettered(QStringLiteral("\u2398"), 16); }
QIcon Undo() { return Lettered(QStringLiteral("\u21B6"), 18); }
QIcon Redo() { return Lettered(QStringLiteral("\u21B7"), 18); }

QIcon AppIcon() {
    return Drawn([](QPainter& p) {
        DrawLine(p, 4, 6, 12, 16, Qt::black);
        DrawLine(p, 20, 6, 12, 16, Qt::black);
        DrawTankSymbol(p, 0, 5, 7);
        DrawTankSymbol(p, 0, 19, 7);
        p.setPen(Qt::black);
        p.setBrush(DrawingColours::JoinPoint);
        p.drawEllipse(QPointF(12, 17), 4, 4);
    });
}

}  // namespace ToolIcons
