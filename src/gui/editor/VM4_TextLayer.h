#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <QTransform>
#include <cstdint>
#include <vector>

class QPainter;

// The texts of the network drawing, kept beside its picture in the same drawing
// units. A full network carries thousands of labels: recorded into the picture,
// each would be laid out twice per refresh and carry its whole font along.
// Here each distinct text is laid out once (the layouts are kept from refresh to
// refresh, as most labels do not change) and only the texts inside the visible
// part of the drawing are painted.
class TTextLayer {
public:
    // While a capture lives, the drawing procedures' texts drawn on its painter go
    // into the layer instead of onto the painter.
    class TCapture {
    public:
        TCapture(const QPainter& painter, TTextLayer& layer);
        ~TCapture();
        TCapture(const TCapture&) = delete;
        TCapture& operator=(const TCapture&) = delete;

    private:
        const QPainter* previousPainter_;
        TTextLayer* previousLayer_;
    };

    // The layer capturing this painter's texts, or null.
    static TTextLayer* CapturingFor(const QPainter& painter);

    void Clear() { entries_.clear(); }
    // A text with its top-left corner at `topLeft` in the frame, which maps the
    // frame's coordinates to drawing units.
    void Add(const QTransform& frame, QPointF topLeft, const QString& text, int sizePoints, std::uint8_t style,
             const QColor& colour);
    // Paints the texts through `view` (drawing units to the target's coordinates),
    // skipping those that lie wholly outside `visible` (target coordinates).
    void Paint(QPainter& target, const QTransform& view, const QRectF& visible) const;

    std::size_t Count() const { return entries_.size(); }
    // The area of text `i` in drawing units (turned texts: the box around it).
    QRectF Bounds(std::size_t i) const { return entries_.at(i).Bounds; }
    QString Text(std::size_t i) const { return entries_.at(i).Text.text(); }

private:
    struct TEntry {
        QStaticText Text;
        QTransform Frame;
        QPointF TopLeft;
        int SizePoints;
        std::uint8_t Style;
        QColor Colour;
        QRectF Bounds;
    };

    std::vector<TEntry> entries_;
};
