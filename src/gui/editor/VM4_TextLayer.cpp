#include "editor/VM4_TextLayer.h"

#include <QPainter>
#include <map>
#include <unordered_map>

#include "editor/VM4_Canvas_Drawings.h"

namespace {

// One capture at a time: the drawing is made on the user-interface thread.
const QPainter* gCapturingPainter = nullptr;
TTextLayer* gCapturingLayer = nullptr;

// Laid-out texts by font, kept between refreshes. A layout costs far more than a
// look-up, and a refresh mostly shows the labels of the previous one.
constexpr std::size_t kMaximumCachedTexts = 20000;

const QStaticText& LaidOut(const QString& text, int sizePoints, std::uint8_t style) {
    static std::map<int, std::unordered_map<QString, QStaticText>> cache;
    auto& texts = cache[sizePoints * 8 + (style & 7)];
    auto found = texts.find(text);
    if (found != texts.end()) return found->second;
    if (texts.size() >= kMaximumCachedTexts) texts.clear();  // entries hold their own copies
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), CachedDrawingFont(sizePoints, style));
    return texts.emplace(text, laidOut).first->second;
}

}  // namespace

TTextLayer::TCapture::TCapture(const QPainter& painter, TTextLayer& layer)
    : previousPainter_(gCapturingPainter), previousLayer_(gCapturingLayer) {
    gCapturingPainter = &painter;
    gCapturingLayer = &layer;
}

TTextLayer::TCapture::~TCapture() {
    gCapturingPainter = previousPainter_;
    gCapturingLayer = previousLayer_;
}

TTextLayer* TTextLayer::CapturingFor(const QPainter& painter) {
    return &painter == gCapturingPainter ? gCapturingLayer : nullptr;
}

void TTextLayer::Add(const QTransform& frame, QPointF topLeft, const QString& text, int sizePoints, std::uint8_t style,
                     const QColor& colour) {
    const QRectF area(topLeft, QSizeF(CachedTextWidth(text, sizePoints, style),
                                      CachedDrawingFontMetrics(sizePoints, style).height()));
    entries_.push_back({LaidOut(text, sizePoints, style), frame, topLeft, sizePoints, style, colour,
                        frame.mapRect(area)});
}

void TTextLayer::Paint(QPainter& target, const QTransform& view, const QRectF& visible) const {
    const QTransform base = target.worldTransform();
    const QTransform unframed = view * base;
    QTransform current = base;
    int fontKey = -1;
    QColor colour;
    for (const TEntry& entry : entries_) {
        if (!visible.intersects(view.mapRect(entry.Bounds))) continue;
        const QTransform wanted = entry.Frame.isIdentity() ? unframed : entry.Frame * unframed;
        if (wanted != current) {
            target.setWorldTransform(wanted);
            current = wanted;
        }
        const int key = entry.SizePoints * 8 + (entry.Style & 7);
        if (key != fontKey) {
            target.setFont(CachedDrawingFont(entry.SizePoints, entry.Style));
            fontKey = key;
        }
        if (entry.Colour != colour || target.pen().style() == Qt::NoPen) {
            target.setPen(entry.Colour);
            colour = entry.Colour;
        }
        target.drawStaticText(entry.TopLeft, entry.Text);
    }
    target.setWorldTransform(base);
}
