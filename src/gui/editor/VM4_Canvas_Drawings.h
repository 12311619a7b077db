#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QTransform>
#include <QPainter>
#include <QString>
#include <cstdint>

// The small drawing procedures of the network drawing: primitives, arrows,
// labels, rotated text and the symbols of nodes and of the items on pipes. They
// draw on any QPainter (the drawing's picture, an image, the printer, a panel's
// preview) in the painter's own units; the network drawing uses drawing units.
//
// Angles: `LineAngle` and `RotatePoint` work in radians with y growing downwards;
// text angles are whole degrees, counter-clockwise as seen on the screen.

namespace DrawingColours {
const QColor Grid(224, 224, 224);
const QColor Highlight(255, 255, 0);
const QColor Label(0, 0, 255);
const QColor Line(0, 0, 0);
const QColor SwitchedOff(192, 192, 192);  // items left out of the calculation, end-pressure symbols
const QColor ClosedPipe(128, 128, 128);
const QColor DemandIn(128, 0, 128);
const QColor DemandOut(0, 128, 0);
const QColor JoinPoint(29, 250, 0);
const QColor TankBlue(0, 132, 255);
const QColor TankBrown(128, 64, 0);
const QColor TankGrey(224, 224, 224);
const QColor White(255, 255, 255);
}  // namespace DrawingColours

// Label text sizes, in points of the drawing (they scale with the zoom).
constexpr int kLabelTextSize = 7;
constexpr int kDemandTextSize = 8;
constexpr int kKValueTextSize = 10;

// Where a pipe's label goes: its top-left corner and the angle of its text.
struct TPipeLabelPlacement {
    int X = 0;
    int Y = 0;
    int AngleDegrees = 0;
};

// ---- Pens and brushes ----------------------------------------------------------
// Set only when they differ from the painter's: a picture records every change in
// full. A width of 1 or less is a hairline, one pixel at any zoom.

// A colour as files store it: blue * 65536 + green * 256 + red.
QColor FromStoredColour(std::int32_t colour);

void UsePen(QPainter& painter, const QColor& colour, int width = 1, Qt::PenStyle style = Qt::SolidLine);
void UseBrush(QPainter& painter, const QColor& colour);
void UseNoBrush(QPainter& painter);

// ---- Fonts and text --------------------------------------------------------------

// Arial of a size in points, as a 96 dpi screen sets it: Round(size * 96 / 72)
// drawing units high. Style bits: 1 bold, 2 italic, 4 underlined.
QFont DrawingFont(int sizePoints, std::uint8_t style = 0);
int TextWidth(const QString& text, int sizePoints);
int TextHeight(const QString& text, int sizePoints);
// The fonts, metrics and text widths above, made once and kept.
const QFont& CachedDrawingFont(int sizePoints, std::uint8_t style);
const QFontMetrics& CachedDrawingFontMetrics(int sizePoints, std::uint8_t style);
int CachedTextWidth(const QString& text, int sizePoints, std::uint8_t style);

// Text with its top-left corner at (x, y), on a transparent background.
void DrawText(QPainter& painter, int x, int y, const QString& text, const QColor& colour, int sizePoints);
// Text with its top-left corner at (x, y) in a frame that the transformation maps
// onto the painter's coordinates.
void DrawTextInFrame(QPainter& painter, const QTransform& frame, int x, int y, const QString& text,
                     const QColor& colour, int sizePoints, std::uint8_t style = 0);
// The same turned about (x, y) by a whole number of degrees.
void DrawRotatedText(QPainter& painter, int x, int y, const QString& text, int angleDegrees, const QColor& colour,
                     int sizePoints, std::uint8_t style = 0);

// ---- Primitives ---------------------------------------------------------------------

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, int width = 1,
              Qt::PenStyle style = Qt::SolidLine);
void FillRect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour);
void DrawCircleOutline(QPainter& painter, int x, int y, int radius, const QColor& colour);
void DrawDisc(QPainter& painter, int x, int y, int radius, const QColor& colour);
void DrawFrameRect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, Qt::PenStyle penStyle,
                   Qt::BrushStyle brushStyle);

// ---- Arrows ---------------------------------------------------------------------------

// A filled triangle with its tip at the tip point, pointing away from the from
// point; its base lies halfWidth * lengthFactor back along the line and is
// 2 * halfWidth wide. Nothing is drawn when the two points coincide.
void DrawArrowHead(QPainter& painter, double fromX, double fromY, double tipX, double tipY, double halfWidth,
                   double lengthFactor, const QColor& fill, const QColor& outline);
// The flow arrow: length 9, half-width 3, black outline, its tip `gap` units
// short of the to point.
void DrawArrowHeadBefore(QPainter& painter, int fromX, int fromY, int toX, int toY, int gap, const QColor& colour);
// An arrowhead whose tip lies `gap` units beyond the to point; outline black, or
// silver for a silver arrow.
void DrawArrowHeadBeyond(QPainter& painter, int fromX, int fromY, int toX, int toY, double halfWidth,
                         double lengthFactor, int gap, const QColor& colour);

// ---- Geometry --------------------------------------------------------------------------

// Angle of the line from (x1, y1) to (x2, y2) in radians, y downwards: +-pi/2 for
// vertical lines, else arctan(dy/dx) moved into the left half-plane when x2 < x1.
double LineAngle(int x1, int y1, int x2, int y2);
// Turns (x, y) about the centre by `angle` radians.
void RotatePoint(int& x, int& y, int centreX, int centreY, double angle);
// Pascal's Round: to the nearest integer, halves to even.
int RoundHalfEven(double value);
// The point `percent` along the line, each axis rounded: from + Round((to - from) * percent / 100).
QPoint PointAlongLine(int x1, int y1, int x2, int y2, double percent);

// ---- Pipe labels -------------------------------------------------------------------------

// Placement of a label of textWidth x textHeight at `percent` along the pipe from
// (x1, y1) to (x2, y2): 19 units beside the line, turned with it but never upside
// down (a right-to-left pipe mirrors the position along the pipe). A label that
// does not fit the pipe goes to 1% of its length; a zero-length pipe counts as 1 long.
TPipeLabelPlacement CalcPipeLabelPlacement(int x1, int y1, int x2, int y2, double percent, int textWidth,
                                           int textHeight);
// Draws the label where CalcPipeLabelPlacement puts it (size 7) and returns the
// placement; with `dragMarker` a yellow disc marks it as movable.
TPipeLabelPlacement DrawPipeLabel(QPainter& painter, int x1, int y1, int x2, int y2, double percent,
                                  const QString& text, const QColor& colour, bool dragMarker);

// ---- Symbols ---------------------------------------------------------------------------------
// Each returns false, drawing nothing, for an index outside its range.

// Tank symbols 0..29: picture index mod 10, coloured blue (0-9), brown (10-19) or grey (20-29).
bool DrawTankSymbol(QPainter& painter, int symbolIndex, int x, int y);
// The liquid colour of a tank symbol index; invalid for indices outside 0..29.
QColor TankSymbolColour(int symbolIndex);
// End-pressure symbols 0..8, silver with a black outline.
bool DrawEndPressureSymbol(QPainter& painter, int symbolIndex, int x, int y);
void DrawJoinPoint(QPainter& painter, int x, int y);

// Items on pipes, laid along the pipe's direction (angle in radians as LineAngle
// gives it) about the item's point.
void DrawValveSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour);
void DrawBendSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour);
// "K =" and the total K in a white box beside the pipe, upright.
void DrawKValueBox(QPainter& painter, int x, int y, double angle, const QString& text);
// Component symbols 0..11; the name (not for symbol 11) beside it, upright.
// Without its accent (symbol 0's green zig-zag) the symbol is drawn in its outline
// colour alone, so that many can be drawn before the accents.
bool DrawComponentSymbol(QPainter& painter, int symbolIndex, int x, int y, double angle, const QColor& colour,
                         bool switchedOff, const QString& name, bool withAccent = true);
void DrawComponentAccent(QPainter& painter, int symbolIndex, int x, int y, double angle, bool switchedOff);
void DrawFlowControlSymbol(QPainter& painter, int x, int y, double angle, const QColor& colour, const QString& name);
// Fill colour of pump symbols 0..3; invalid outside.
QColor PumpSymbolColour(int symbolIndex);
// The pump: a circle of radius 7.5 about (px, py) with an arrowhead pointing
// downstream (from the pipe's start towards the pump point).
void DrawPumpSymbol(QPainter& painter, int fromX, int fromY, int px, int py, const QColor& fill,
                    const QColor& outline);
// Its two parts, so that many pumps can be drawn part by part.
void DrawPumpCasing(QPainter& painter, int px, int py, const QColor& outline);
void DrawPumpArrow(QPainter& painter, int fromX, int fromY, int px, int py, const QColor& fill);
