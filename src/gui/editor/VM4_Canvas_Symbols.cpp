// The artwork of the node symbols and of the items on pipes. Sizes are drawing
// units about the item's point; item symbols are drawn in a frame turned along
// the pipe, texts in a frame that is never upside down.


#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

#include "editor/VM4_Canvas_Drawings.h"
#include "editor/VM4_FittingSymbols.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A hairline outline in the colour, filled with the fill colour or not at all.
void Outline(QPainter& painter, const QColor& colour, const QColor& fill = QColor()) {
    UsePen(painter, colour);
    if (fill.isValid())
        UseBrush(painter, fill);
    else
        UseNoBrush(painter);
}

// A frame at (x, y) whose x axis runs along the pipe.
QTransform AlongPipe(int x, int y, double angle) {
    QTransform frame;
    frame.translate(x, y);
    frame.rotateRadians(angle);
    return frame;
}

// The same turned half a circle when the pipe runs right to left, so that text in
// it reads from left to right.
QTransform AlongPipeUpright(int x, int y, double angle) {
    if (std::cos(angle) < -1e-9) angle += kPi;
    return AlongPipe(x, y, angle);
}

// Draws shapes given in a frame's coordinates by mapping their points, so that
// the painter's own transformation never changes: a picture would record each
// change, and a full network has hundreds of items on its pipes.
class TFramedPainter {
public:
    TFramedPainter(QPainter& painter, const QTransform& frame) : painter_(painter), frame_(frame) {}

    void drawPolygon(const QPolygonF& polygon) const { painter_.drawPolygon(frame_.map(polygon)); }
    void drawPolyline(const QPolygonF& polyline) const { painter_.drawPolyline(frame_.map(polyline)); }
    void drawLine(QPointF a, QPointF b) const { painter_.drawLine(frame_.map(a), frame_.map(b)); }
    void drawRect(const QRectF& rect) const { drawPolygon(QPolygonF(rect)); }
    // Circles only: a circle looks the same in any turned frame.
    void drawEllipse(QPointF centre, double radius, double) const {
        painter_.drawEllipse(frame_.map(centre), radius, radius);
    }

private:
    QPainter& painter_;
    QTransform frame_;
};

// ---- Tanks: liquid in the tank's colour, walls black ------------------------------------

void OpenTank(QPainter& painter, int x, int y, int halfWidth, int top, int liquidTop, int bottom,
              const QColor& liquid) {
    FillRect(painter, x - halfWidth, y + liquidTop, x + halfWidth, y + bottom, liquid);
    Outline(painter, DrawingColours::Line);
    painter.drawPolyline(QPolygon{QPoint(x - halfWidth, y + top), QPoint(x - halfWidth, y + bottom),
                                  QPoint(x + halfWidth, y + bottom), QPoint(x + halfWidth, y + top)});
}

void RoofedTank(QPainter& painter, int x, int y, const QColor& liquid) {
    OpenTank(painter, x, y, 10, -7, -3, 7, liquid);
    painter.drawPolyline(QPolygon{QPoint(x - 12, y - 6), QPoint(x, y - 13), QPoint(x + 12, y - 6)});
}

// The part of a vessel below a liquid surface.
QPainterPath LiquidIn(const QPainterPath& vessel, double surfaceY) {
    QPainterPath below;
    below.addRect(vessel.boundingRect().adjusted(-1, 0, 1, 1).intersected(
        QRectF(vessel.boundingRect().left() - 1, surfaceY, vessel.boundingRect().width() + 2, 1000)));
    return vessel.intersected(below);
}

void DomedVessel(QPainter& painter, int x, int y, const QColor& liquid) {
    QPainterPath vessel;
    vessel.addRoundedRect(QRectF(x - 9, y - 15, 18, 30), 8, 6);
    Outline(painter, liquid, liquid);
    painter.drawPath(LiquidIn(vessel, y - 9));
    Outline(painter, DrawingColours::Line);
    painter.drawPath(vessel);
}

void ConeBottomVessel(QPainter& painter, int x, int y, const QColor& liquid) {
    const QPolygon liquidShape{QPoint(x - 9, y - 5), QPoint(x + 9, y - 5), QPoint(x + 9, y + 4), QPoint(x, y + 13),
                               QPoint(x - 9, y + 4)};
    Outline(painter, liquid, liquid);
    painter.drawPolygon(liquidShape);
    Outline(painter, DrawingColours::Line);
    painter.drawPolygon(QPolygon{QPoint(x - 9, y - 13), QPoint(x + 9, y - 13), QPoint(x + 9, y + 4),
                                 QPoint(x, y + 13), QPoint(x - 9, y + 4)});
}

void Basin(QPainter& painter, int x, int y, const QColor& liquid) {
    Outline(painter, liquid, liquid);
    painter.drawPolygon(QPolygon{QPoint(x - 12, y - 2), QPoint(x + 12, y - 2), QPoint(x + 9, y + 7),
                                 QPoint(x - 9, y + 7)});
    Outline(painter, DrawingColours::Line);
    painter.drawPolyline(QPolygon{QPoint(x - 18, y - 9), QPoint(x - 14, y - 7), QPoint(x - 9, y + 7),
                                  QPoint(x + 9, y + 7), QPoint(x + 14, y - 7), QPoint(x + 18, y - 9)});
}

void WedgedBox(QPainter& painter, int x, int y, const QColor& liquid) {
    FillRect(painter, x - 12, y - 8, x + 12, y + 8, liquid);
    Outline(painter, DrawingColours::Line, liquid);
    painter.drawRect(QRect(QPoint(x - 12, y - 8), QPoint(x + 12, y + 8)));
    painter.drawPolygon(QPolygon{QPoint(x - 12, y - 8), QPoint(x - 17, y + 8), QPoint(x - 12, y + 8)});
    painter.drawPolygon(QPolygon{QPoint(x + 12, y - 8), QPoint(x + 17, y + 8), QPoint(x + 12, y + 8)});
}

void RoundTank(QPainter& painter, int x, int y, const QColor& liquid) {
    QPainterPath lower;
    lower.moveTo(x - 12, y);
    lower.arcTo(QRectF(x - 12, y - 12, 24, 24), 180, 180);
    lower.closeSubpath();
    Outline(painter, liquid, liquid);
    painter.drawPath(lower);
    Outline(painter, DrawingColours::Line);
    painter.drawEllipse(QPoint(x, y), 12, 12);
}

void VesselOnBase(QPainter& painter, int x, int y, const QColor& liquid) {
    QPainterPath vessel;
    vessel.moveTo(x - 12, y + 8);
    vessel.lineTo(x - 12, y - 4);
    vessel.arcTo(QRectF(x - 12, y - 12, 24, 16), 180, -180);
    vessel.lineTo(x + 12, y + 8);
    vessel.closeSubpath();
    Outline(painter, liquid, liquid);
    painter.drawPath(LiquidIn(vessel, y - 2));
    Outline(painter, DrawingColours::Line);
    painter.drawPath(vessel);
    painter.drawLine(x - 9, y + 8, x - 9, y + 12);
    painter.drawLine(x + 9, y + 8, x + 9, y + 12);
    painter.drawLine(x - 15, y + 12, x + 15, y + 12);
}

// ---- End-pressure symbols ----------------------------------------------------------------------

void PressureBlock(QPainter& painter, int x, int y, int cutCorners) {
    // Corners: 1 top-left, 2 top-right, 4 bottom-right, 8 bottom-left.
    const int l = x - 8, r = x + 8, t = y - 11, b = y + 9, c = 4;
    QPolygon shape;
    if (cutCorners & 1) shape << QPoint(l, t + c) << QPoint(l + c, t); else shape << QPoint(l, t);
    if (cutCorners & 2) shape << QPoint(r - c, t) << QPoint(r, t + c); else shape << QPoint(r, t);
    if (cutCorners & 4) shape << QPoint(r, b - c) << QPoint(r - c, b); else shape << QPoint(r, b);
    if (cutCorners & 8) shape << QPoint(l + c, b) << QPoint(l, b - c); else shape << QPoint(l, b);
    Outline(painter, DrawingColours::Line, DrawingColours::SwitchedOff);
    painter.drawPolygon(shape);
}

// A nozzle: a disc with five short lines fanning out in one direction.
void Spray(QPainter& painter, int x, int y, double direction) {
    Outline(painter, DrawingColours::Line, DrawingColours::SwitchedOff);
    painter.drawEllipse(QPoint(x, y), 7, 7);
    for (int i = -2; i <= 2; ++i) {
        const double a = direction + i * 0.35;
        painter.drawLine(QPointF(x + 9 * std::cos(a), y + 9 * std::sin(a)),
                         QPointF(x + 15 * std::cos(a), y + 15 * std::sin(a)));
    }
}

// ---- Component symbols, in a frame along the pipe (x along, y across) ---------------------------

void ComponentBox(QPainter& painter, const TFramedPainter& frame, const QColor& colour, const QColor& fill) {
    Outline(painter, colour, fill);
    frame.drawRect(QRectF(-10, -5, 20, 10));
}

void DrawComponentArtwork(QPainter& painter, const TFramedPainter& frame, int symbolIndex, const QColor& colour) {
    const QColor white = DrawingColours::White;
    switch (symbolIndex) {
        case 0:  // fixed loss: box with a zig-zag resistor (the accent, below)
            ComponentBox(painter, frame, colour, white);
            break;
        case 1:  // filter: box with a cross
            ComponentBox(painter, frame, colour, white);
            frame.drawLine(QPointF(-10, -5), QPointF(10, 5));
            frame.drawLine(QPointF(-10, 5), QPointF(10, -5));
            break;
        case 2:  // orifice plate
            Outline(painter, colour, colour);
            frame.drawRect(QRectF(-3, -9, 2, 18));
            frame.drawRect(QRectF(1, -9, 2, 18));
            break;
        case 3:  // heat exchanger: circle with a coil through it
            Outline(painter, colour, white);
            frame.drawEllipse(QPointF(0, 0), 7, 7);
            frame.drawPolyline(QPolygonF{QPointF(-10, 0), QPointF(-5, 0), QPointF(-2, -4), QPointF(2, 4),
                                           QPointF(5, 0), QPointF(10, 0)});
            break;
        case 4:  // strainer: box with a diagonal screen
            ComponentBox(painter, frame, colour, white);
            frame.drawLine(QPointF(-6, -5), QPointF(6, 5));
            frame.drawLine(QPointF(-2, -5), QPointF(10, 5));
            break;
        case 5:  // nozzle or reducer
            Outline(painter, colour, white);
            frame.drawPolygon(QPolygonF{QPointF(-10, -6), QPointF(10, -3), QPointF(10, 3), QPointF(-10, 6)});
            break;
        case 6:  // flow meter
            Outline(painter, colour, white);
            frame.drawEllipse(QPointF(0, 0), 7, 7);
            frame.drawLine(QPointF(-4, 3), QPointF(-4, -3));
            frame.drawLine(QPointF(-4, -3), QPointF(0, 1));
            frame.drawLine(QPointF(0, 1), QPointF(4, -3));
            frame.drawLine(QPointF(4, -3), QPointF(4, 3));
            break;
        case 7:  // non-return valve: triangle against a bar
            Outline(painter, colour, white);
            frame.drawPolygon(QPolygonF{QPointF(-8, -6), QPointF(-8, 6), QPointF(4, 0)});
            Outline(painter, colour, colour);
            frame.drawRect(QRectF(5, -6, 2, 12));
            break;
        case 8:  // cartridge filter: diamond
            Outline(painter, colour, white);
            frame.drawPolygon(QPolygonF{QPointF(-10, 0), QPointF(0, -7), QPointF(10, 0), QPointF(0, 7)});
            frame.drawLine(QPointF(0, -7), QPointF(0, 7));
            break;
        case 9:  // heater or cooler: box with a wave
            ComponentBox(painter, frame, colour, white);
            frame.drawPolyline(QPolygonF{QPointF(-8, 2), QPointF(-5, -2), QPointF(-2, 2), QPointF(1, -2),
                                           QPointF(4, 2), QPointF(7, -2)});
            break;
        case 10:  // equipment item
            ComponentBox(painter, frame, colour, colour);
            break;
        case 11:  // spectacle blind across the pipe
            Outline(painter, colour, white);
            frame.drawEllipse(QPointF(0, -5), 4, 4);
            frame.drawEllipse(QPointF(0, 5), 4, 4);
            frame.drawLine(QPointF(0, -9), QPointF(0, 9));
            break;
        default:
            break;
    }
}

}  // namespace

QColor TankSymbolColour(int symbolIndex) {
    if (symbolIndex < 0 || symbolIndex > 29) return {};
    if (symbolIndex < 10) return DrawingColours::TankBlue;
    if (symbolIndex < 20) return DrawingColours::TankBrown;
    return DrawingColours::TankGrey;
}

bool DrawTankSymbol(QPainter& painter, int symbolIndex, int x, int y) {
    const QColor liquid = TankSymbolColour(symbolIndex);
    if (!liquid.isValid()) return false;
    switch (symbolIndex % 10) {
        case 0: OpenTank(painter, x, y, 10, -7, -3, 7, liquid); break;
        case 1: RoofedTank(painter, x, y, liquid); break;
        case 2: DomedVessel(painter, x, y, liquid); break;
        case 3: ConeBottomVessel(painter, x, y, liquid); break;
        case 4: Basin(painter, x, y, liquid); break;
        case 5: WedgedBox(painter, x, y, liquid); break;
        case 6: OpenTank(painter, x, y, 15, -7, -3, 7, liquid); break;
        case 7: OpenTank(painter, x, y, 8, -14, -6, 10, liquid); break;
        case 8: RoundTank(painter, x, y, liquid); break;
        default: VesselOnBase(painter, x, y, liquid); break;
    }
    return true;
}

bool DrawEndPressureSymbol(QPainter& painter, int symbolIndex, int x, int y) {
    switch (symbolIndex) {
        case 0: PressureBlock(painter, x, y, 0); break;
        case 1: PressureBlock(painter, x, y, 1 | 2); break;
        case 2: PressureBlock(painter, x, y, 2 | 4); break;
        case 3: PressureBlock(painter, x, y, 4 | 8); break;
        case 4: PressureBlock(painter, x, y, 8 | 1); break;
        case 5: Spray(painter, x, y, 0.0); break;
        case 6: Spray(painter, x, y, kPi / 2); break;
        case 7: Spray(painter, x, y, kPi); break;
        case 8: Spray(painter, x, y, -kPi / 2); break;
        default: return false;
    }
    return true;
}

void DrawJoinPoint(QPainter& painter, int x, int y) {
    Outline(painter, DrawingColours::Line, DrawingColours::JoinPoint);
    painter.drawEllipse(QPoint(x, y), 4, 4);
}

// A pipe's fittings are drawn with the pictures the fitting manager shows.
void DrawValveSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour) {
    PaintFittingShape(painter, AlongPipe(x, y, angle), FittingShape(FittingSymbols::PipeValve), colour);
}

void DrawBendSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour) {
    PaintFittingShape(painter, AlongPipe(x, y, angle), FittingShape(FittingSymbols::PipeBend), colour);
}

void DrawKValueBox(QPainter& painter, int x, int y, double angle, const QString& text) {
    const QTransform upright = AlongPipeUpright(x, y, angle);
    const int height = TextHeight(text, kKValueTextSize);
    Outline(painter, DrawingColours::White, DrawingColours::White);
    TFramedPainter(painter, upright).drawRect(QRectF(-25, 7, 50, height));
    DrawTextInFrame(painter, upright, -23, 7, text, DrawingColours::Line, kKValueTextSize);
}

void DrawComponentAccent(QPainter& painter, int symbolIndex, int x, int y, double angle, bool switchedOff) {
    if (symbolIndex != 0) return;
    UsePen(painter, switchedOff ? QColor(211, 211, 211) : QColor(0, 160, 0));
    TFramedPainter(painter, AlongPipe(x, y, angle))
        .drawPolyline(QPolygonF{QPointF(-8, 0), QPointF(-6, -3), QPointF(-3, 3), QPointF(0, -3), QPointF(3, 3),
                                QPointF(6, -3), QPointF(8, 0)});
}

bool DrawComponentSymbol(QPainter& painter, int symbolIndex, int x, int y, double angle, const QColor& colour,
                         bool switchedOff, const QString& name, bool withAccent) {
    if (symbolIndex < 0 || symbolIndex > 11) return false;
    DrawComponentArtwork(painter, TFramedPainter(painter, AlongPipe(x, y, angle)), symbolIndex, colour);
    if (withAccent) DrawComponentAccent(painter, symbolIndex, x, y, angle, switchedOff);
    if (symbolIndex != 11 && !name.isEmpty())
        DrawTextInFrame(painter, AlongPipeUpright(x, y, angle), -10, 8, name, colour, kLabelTextSize);
    return true;
}

void DrawFlowControlSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour, const QString& name) {
    const TFramedPainter frame(painter, AlongPipe(x, y, angle));
    // The valve body of the fittings' valve symbol.
    PaintFittingShape(painter, AlongPipe(x, y, angle), FittingShape(FittingSymbols::PipeValve), colour);
    Outline(painter, colour, DrawingColours::White);
    // The actuator that holds the flow: a stem and a box on it.
    frame.drawLine(QPointF(0, 0), QPointF(0, -8));
    frame.drawRect(QRectF(-5, -14, 10, 6));
    if (!name.isEmpty()) DrawTextInFrame(painter, AlongPipeUpright(x, y, angle), -10, 8, name, colour, kLabelTextSize);
}

QColor PumpSymbolColour(int symbolIndex) {
    switch (symbolIndex) {
        case 0: return {255, 0, 0};
        case 1: return {0, 0, 255};
        case 2: return {0, 255, 0};
        case 3: return {255, 255, 0};
        default: return {};
    }
}

void DrawPumpCasing(QPainter& painter, int px, int py, const QColor& outline) {
    Outline(painter, outline, DrawingColours::White);
    painter.drawEllipse(QRectF(px - 7, py - 7, 15, 15));
}

void DrawPumpArrow(QPainter& painter, int fromX, int fromY, int px, int py, const QColor& fill) {
    DrawArrowHeadBeyond(painter, fromX, fromY, px, py, 6.0, 1.0, 4, fill);
}

void DrawPumpSymbol(QPainter& painter, int fromX, int fromY, int px, int py, const QColor& fill,
                    const QColor& outline) {
    DrawPumpCasing(painter, px, py, outline);
    DrawPumpArrow(painter, fromX, fromY, px, py, fill);
}
