#include "editor/VM4_Canvas_Drawings.h"

#include <QFontMetrics>
#include <QPolygonF>
#include <cmath>
#include <map>
#include <unordered_map>

#include "editor/VM4_TextLayer.h"
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Label distance from the pipe line, drawing units.
constexpr int kLabelOffset = 19;

int FontKey(int sizePoints, std::uint8_t style) { return sizePoints * 8 + (style & 7); }

// A picture records every font change in full; most labels share one font, so
// it is set only when it differs from the painter's.
void UseFont(QPainter& painter, int sizePoints, std::uint8_t style) {
    const QFont& wanted = CachedDrawingFont(sizePoints, style);
    const QFont& current = painter.font();
    if (current.pixelSize() == wanted.pixelSize() && current.bold() == wanted.bold() &&
        current.italic() == wanted.italic() && current.underline() == wanted.underline() &&
        current.family() == wanted.family())
        return;
    painter.setFont(wanted);
}

// Widths are asked for every label at every refresh; measuring means laying the
// text out. Kept per font, and forgotten when too many have piled up.
constexpr std::size_t kMaximumCachedWidths = 20000;

}  // namespace

// ---- Fonts and text ----------------------------------------------------------------------

QFont DrawingFont(int sizePoints, std::uint8_t style) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // A 96 dpi screen makes a font of n points Round(n * 96 / 72) pixels high; one
    // drawing unit is one such pixel.
    font.setPixelSize(std::max(1, RoundHalfEven(sizePoints * 96.0 / 72.0)));
    font.setBold((style & 1) != 0);
    font.setItalic((style & 2) != 0);
    font.setUnderline((style & 4) != 0);
    return font;
}

const QFont& CachedDrawingFont(int sizePoints, std::uint8_t style) {
    static std::map<int, QFont> cache;
    const int key = FontKey(sizePoints, style);
    auto found = cache.find(key);
    if (found == cache.end()) found = cache.emplace(key, DrawingFont(sizePoints, style)).first;
    return found->second;
}

const QFontMetrics& CachedDrawingFontMetrics(int sizePoints, std::uint8_t style) {
    static std::map<int, QFontMetrics> cache;
    const int key = FontKey(sizePoints, style);
    auto found = cache.find(key);
    if (found == cache.end()) found = cache.emplace(key, QFontMetrics(CachedDrawingFont(sizePoints, style))).first;
    return found->second;
}

int CachedTextWidth(const QString& text, int sizePoints, std::uint8_t style) {
    static std::map<int, std::unordered_map<QString, int>> cache;
    auto& widths = cache[FontKey(sizePoints, style)];
    auto found = widths.find(text);
    if (found != widths.end()) return found->second;
    if (widths.size() >= kMaximumCachedWidths) widths.clear();
    const int width = CachedDrawingFontMetrics(sizePoints, style).horizontalAdvance(text);
    widths.emplace(text, width);
    return width;
}

int TextWidth(const QString& text, int sizePoints) { return CachedTextWidth(text, sizePoints, 0); }

int TextHeight(const QString&, int sizePoints) { return CachedDrawingFontMetrics(sizePoints, 0).height(); }

void DrawTextInFrame(QPainter& painter, const QTransform& frame, int x, int y, const QString& text,
                     const QColor& colour, int sizePoints, std::uint8_t style) {
    if (text.isEmpty()) return;
    if (TTextLayer* layer = TTextLayer::CapturingFor(painter)) {
        layer->Add(frame * painter.worldTransform(), QPointF(x, y), text, sizePoints, style, colour);
        return;
    }
    UseFont(painter, sizePoints, style);
    UsePen(painter, colour);
    const QPoint baseline(x, y + CachedDrawingFontMetrics(sizePoints, style).ascent());
    if (frame.isIdentity()) {
        painter.drawText(baseline, text);
        return;
    }
    const QTransform previous = painter.worldTransform();
    painter.setWorldTransform(frame * previous);
    painter.drawText(baseline, text);
    painter.setWorldTransform(previous);
}

void DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour, int sizePoints) {
    DrawTextInFrame(painter, QTransform(), x, y, text, colour, sizePoints, 0);
}

void DrawRotatedText(QPainter& painter, int x, int y, const QString& text, int angleDegrees, const QColor& colour,
                     int sizePoints, std::uint8_t style) {
    if (angleDegrees == 0) {
        DrawTextInFrame(painter, QTransform(), x, y, text, colour, sizePoints, style);
        return;
    }
    QTransform frame;
    frame.translate(x, y);
    frame.rotate(-angleDegrees);  // counter-clockwise on a y-down canvas
    DrawTextInFrame(painter, frame, 0, 0, text, colour, sizePoints, style);
}

// ---- Pens and brushes -----------------------------------------------------------------------

QColor FromStoredColour(std::int32_t colour) {
    return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

// A picture records every change of pen or brush in full, so both are changed
// only when they differ from the painter's.
void UsePen(QPainter& painter, const QColor& colour, int width, Qt::PenStyle style) {
    const QPen& current = painter.pen();
    // Thin pens stay one pixel wide at any zoom, as the screen's hairlines do;
    // wider ones (the highlight) scale with the drawing.
    const bool hairline = width <= 1;
    if (current.color() == colour && current.style() == style && current.isCosmetic() == hairline &&
        (hairline || current.width() == width))
        return;
    QPen pen(colour, hairline ? 1 : width, style, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(hairline);
    painter.setPen(pen);
}

void UseBrush(QPainter& painter, const QColor& colour) {
    const QBrush& current = painter.brush();
    if (current.style() == Qt::SolidPattern && current.color() == colour) return;
    painter.setBrush(QBrush(colour));
}

void UseNoBrush(QPainter& painter) {
    if (painter.brush().style() != Qt::NoBrush) painter.setBrush(Qt::NoBrush);
}

// ---- Primitives ----------------------------------------------------------------------------

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, int width,
              Qt::PenStyle style) {
    UsePen(painter, colour, width, style);
    painter.drawLine(x1, y1, x2, y2);
}

void FillRect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour) {
    UsePen(painter, colour);
    UseBrush(painter, colour);
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

void DrawCircleOutline(QPainter& painter, int x, int y, int radius, const QColor& colour) {
    UsePen(painter, colour);
    UseNoBrush(painter);
    painter.drawEllipse(QPoint(x, y), radius, radius);
}

void DrawDisc(QPainter& painter, int x, int y, int radius, const QColor& colour) {
    UsePen(painter, colour);
    UseBrush(painter, colour);
    painter.drawEllipse(QPoint(x, y), radius, radius);
}

void DrawFrameRect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, Qt::PenStyle penStyle,
                   Qt::BrushStyle brushStyle) {
    UsePen(painter, colour, 1, penStyle);
    if (brushStyle == Qt::NoBrush)
        UseNoBrush(painter);
    else
        painter.setBrush(QBrush(colour, brushStyle));
    painter.drawRect(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

// ---- Arrows ----------------------------------------------------------------------------------

void DrawArrowHead(QPainter& painter, double fromX, double fromY, double tipX, double tipY, double halfWidth,
                   double lengthFactor, const QColor& fill, const QColor& outline) {
    const double dx = tipX - fromX;
    const double dy = tipY - fromY;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return;
    // Unit vector along the line and its normal.
    const double ux = dx / length;
    const double uy = dy / length;
    const double baseX = tipX - ux * halfWidth * lengthFactor;
    const double baseY = tipY - uy * halfWidth * lengthFactor;
    const QPolygonF head{QPointF(tipX, tipY), QPointF(baseX - uy * halfWidth, baseY + ux * halfWidth),
                         QPointF(baseX + uy * halfWidth, baseY - ux * halfWidth)};
    UsePen(painter, outline);
    UseBrush(painter, fill);
    painter.drawPolygon(head);
}

void DrawArrowHeadBefore(QPainter& painter, int fromX, int fromY, int toX, int toY, int gap, const QColor& colour) {
    const double length = std::hypot(toX - fromX, toY - fromY);
    if (length == 0.0) return;
    const double tipX = toX - (toX - fromX) / length * gap;
    const double tipY = toY - (toY - fromY) / length * gap;
    DrawArrowHead(painter, fromX, fromY, tipX, tipY, 3.0, 3.0, colour, DrawingColours::Line);
}

void DrawArrowHeadBeyond(QPainter& painter, int fromX, int fromY, int toX, int toY, double halfWidth,
                         double lengthFactor, int gap, const QColor& colour) {
    const double length = std::hypot(toX - fromX, toY - fromY);
    if (length == 0.0) return;
    const double tipX = toX + (toX - fromX) / length * gap;
    const double tipY = toY + (toY - fromY) / length * gap;
    const QColor outline = colour == DrawingColours::SwitchedOff ? DrawingColours::SwitchedOff : DrawingColours::Line;
    DrawArrowHead(painter, fromX, fromY, tipX, tipY, halfWidth, lengthFactor, colour, outline);
}

// ---- Geometry ----------------------------------------------------------------------------------

double LineAngle(int x1, int y1, int x2, int y2) {
    if (x1 == x2) return y2 - y1 > 0 ? kPi / 2 : -kPi / 2;
    double angle = std::atan(static_cast<double>(y2 - y1) / (x2 - x1));
    if (x2 < x1 && y2 > y1) angle -= kPi;
    if (x2 < x1 && y2 <= y1) angle += kPi;
    return angle;
}

void RotatePoint(int& x, int& y, int centreX, int centreY, double angle) {
    const double a = LineAngle(centreX, centreY, x, y) + angle + kPi / 2;
    const double d = std::hypot(x - centreX, y - centreY);
    x = centreX + RoundHalfEven(std::sin(a) * d);
    y = centreY - RoundHalfEven(d * std::cos(a));
}

int RoundHalfEven(double value) {
    double rounded = std::floor(value + 0.5);
    if (rounded - value == 0.5 && std::fmod(rounded, 2.0) != 0.0) rounded -= 1.0;
    return static_cast<int>(rounded);
}

QPoint PointAlongLine(int x1, int y1, int x2, int y2, double percent) {
    return {x1 + RoundHalfEven((x2 - x1) * percent / 100.0), y1 + RoundHalfEven((y2 - y1) * percent / 100.0)};
}

// ---- Pipe labels ----------------------------------------------------------------------------------

TPipeLabelPlacement CalcPipeLabelPlacement(int x1, int y1, int x2, int y2, double percent, int textWidth,
                                           int textHeight) {
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const double length = std::max(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy), 1.0);

    // Fraction along the pipe at which the text starts.
    double t = (length - textWidth + 16) * percent / 100.0 / length;
    if (textWidth > length || textHeight > length) t = 0.01;

    // Text angle, turned into -90..90 so that it never reads upside down.
    double u = -(std::atan2(dy, dx) * 180.0 / kPi);
    if (u > 90) {
        u -= 180;
        t = 1 - t;
    } else if (u < -90) {
        u += 180;
        t = 1 - t;
    }
    const double b = u * kPi / 180.0;
    const bool vertical = std::abs(std::abs(u) - 90.0) < 1e-9;

    TPipeLabelPlacement placement;
    if (std::abs(dx) > std::abs(dy)) {
        placement.X = x1 + RoundHalfEven(dx * t) - RoundHalfEven(std::sin(b) * kLabelOffset);
        placement.Y = y1 + RoundHalfEven(dy * t) - RoundHalfEven(std::cos(b) * kLabelOffset);
    } else {
        placement.X = x1 + RoundHalfEven(dx * t) - RoundHalfEven(std::cos(b) * kLabelOffset);
        placement.Y = y1 + RoundHalfEven(dy * t) + (vertical ? 0 : RoundHalfEven(std::sin(b) * kLabelOffset));
        if (u < 0 && y1 <= y2)
            placement.X += 20;
        else
            placement.X -= 20;
        if (u < 0 && y1 > y2 && x2 < x1) placement.X += 10;
    }
    placement.AngleDegrees = RoundHalfEven(u);
    return placement;
}

TPipeLabelPlacement DrawPipeLabel(QPainter& painter, int x1, int y1, int x2, int y2, double percent,
                                  const QString& text, const QColor& colour, bool dragMarker) {
    const TPipeLabelPlacement placement = CalcPipeLabelPlacement(
        x1, y1, x2, y2, percent, TextWidth(text, kLabelTextSize), TextHeight(text, kLabelTextSize));
    if (dragMarker) DrawDisc(painter, placement.X + 3, placement.Y + 3, 7, DrawingColours::Highlight);
    DrawRotatedText(painter, placement.X, placement.Y, text, placement.AngleDegrees, colour, kLabelTextSize);
    return placement;
}
