#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QVector>

class QPainter;
class QPixmap;

// The pictures of the fitting types, numbered 0 to 48. One set of shapes serves
// the fitting manager's lists and the drawing of fittings on pipes, so that the
// symbol on a pipe is the picture of a fitting the user chose.
//
// 7 to 20 are valves; 2 and 28 to 32 are the symbols the K-value calculators give.

struct TFittingCircle {
    QPointF Centre;
    double Radius = 0.0;
    bool Solid = false;
};

// A symbol as outlines in a frame about the fitting's point, the x axis along
// the pipe, within 13 units each way along it and 10 across.
struct TFittingShape {
    QVector<QPolygonF> Lines;    // open outlines
    QVector<QPolygonF> Bodies;   // closed outlines filled white
    QVector<QPolygonF> Solids;   // closed outlines filled in the line colour
    QVector<TFittingCircle> Circles;
};

namespace FittingSymbols {
inline constexpr int Count = 49;
// The symbols a pipe's fittings are drawn with.
inline constexpr int PipeBend = 0;
inline constexpr int PipeValve = 7;
}  // namespace FittingSymbols

// The shape of a symbol; an unknown number gives an empty shape.
const TFittingShape& FittingShape(int symbol);

// Paints a shape through `frame`, mapping its points (the painter's own
// transformation never changes, so that a recorded picture stays small).
void PaintFittingShape(QPainter& painter, const QTransform& frame, const TFittingShape& shape, const QColor& colour);

// A symbol's picture centred in a cell, as the lists and the chooser show it,
// on the pipe line it sits on.
void DrawFittingPicture(QPainter& painter, const QRect& cell, int symbol, const QColor& colour = Qt::black);

// The picture on its own, for lists and buttons.
QPixmap FittingPixmap(int symbol, int width, int height, const QColor& background = Qt::white);
