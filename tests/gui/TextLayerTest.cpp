#include <QImage>
#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

#include "editor/VM4_Canvas_Drawings.h"
#include "editor/VM4_MetaFileDrawing_Class.h"
#include "editor/VM4_TextLayer.h"

namespace {

QImage White(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The box around every pixel that is not white; empty when there is none.
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
}

// A drawing holding one text and nothing else (no grid).
void DrawOneText(TMetaFileDrawing& drawing, int x, int y, int angle = 0) {
    QPainter& canvas = drawing.CreateMetaFileCanvas(true, false);
    DrawRotatedText(canvas, x, y, QStringLiteral("Header 12"), angle, DrawingColours::Label, kLabelTextSize);
    drawing.TransferMetaFileCanvasToMetaFile();
}

TEST(TextLayer, TextsDrawnOnThePicturesCanvasGoToTheLayer) {
    TMetaFileDrawing drawing(400, 300);
    DrawOneText(drawing, 100, 50);
    ASSERT_EQ(drawing.Texts().Count(), 1u);
    EXPECT_EQ(drawing.Texts().Text(0), "Header 12");
    EXPECT_EQ(drawing.Texts().Bounds(0).topLeft(), QPointF(100, 50));
    EXPECT_EQ(drawing.Texts().Bounds(0).width(), TextWidth(QStringLiteral("Header 12"), kLabelTextSize));
    // A new picture starts without the old texts.
    DrawOneText(drawing, 10, 10);
    EXPECT_EQ(drawing.Texts().Count(), 1u);
}

TEST(TextLayer, OtherPaintersDrawTheirTextsThemselves) {
    TTextLayer layer;
    QPicture picture;
    QPainter captured(&picture);
    const TTextLayer::TCapture capture(captured, layer);
    QImage image = White(200, 50);
    QPainter direct(&image);
    DrawText(direct, 10, 10, QStringLiteral("Direct"), Qt::black, kLabelTextSize);
    direct.end();
    EXPECT_EQ(layer.Count(), 0u);
    EXPECT_FALSE(Ink(image).isEmpty());
    captured.end();
}

TEST(TextLayer, ShownTextLooksAsIfDrawnDirectly) {
    TMetaFileDrawing drawing(400, 300);
    DrawOneText(drawing, 100, 50);
    QImage shown = White(400, 300);
    QPainter painter(&shown);
    drawing.PaintOnto(painter, 0, 0, 400, 300);
    painter.end();

    QImage direct = White(400, 300);
    QPainter directPainter(&direct);
    DrawText(directPainter, 100, 50, QStringLiteral("Header 12"), DrawingColours::Label, kLabelTextSize);
    directPainter.end();
    EXPECT_FALSE(Ink(direct).isEmpty());
    EXPECT_EQ(Ink(shown), Ink(direct));
}

TEST(TextLayer, FollowsTheViewItIsShownThrough) {
    TMetaFileDrawing drawing(400, 300);
    DrawOneText(drawing, 100, 50);
    const QRect atFullSize = [&] {
        QImage image = White(400, 300);
        QPainter painter(&image);
        drawing.PaintOnto(painter, 0, 0, 400, 300);
        return Ink(image);
    }();
    struct TCase {
        const char* name;
        int left, top, right, bottom;  // where the sheet lands
        QPoint textNear;               // where the text's top-left must then be
    };
    const TCase cases[] = {
        // Twice the size: (100,50) lands at (200,100).
        {"200%", 0, 0, 800, 600, {200, 100}},
        // Scrolled: the sheet starts 80 left of and 40 above the image.
        {"scrolled", -80, -40, 320, 260, {20, 10}},
    };
    for (const TCase& c : cases) {
        QImage image = White(400, 300);
        QPainter painter(&image);
        drawing.PaintOnto(painter, c.left, c.top, c.right, c.bottom);
        painter.end();
        const QRect ink = Ink(image);
        ASSERT_FALSE(ink.isEmpty()) << c.name;
        const double scale = (c.right - c.left) / 400.0;
        // The ink starts within a pixel or two (scaled) of the text's corner.
        EXPECT_NEAR(ink.left(), c.textNear.x() + (atFullSize.left() - 100) * scale, 2 * scale) << c.name;
        EXPECT_NEAR(ink.top(), c.textNear.y() + (atFullSize.top() - 50) * scale, 2 * scale) << c.name;
    }
}

TEST(TextLayer, TextsOnlyPartlyInsideTheTargetAreStillDrawn) {
    // The text starts 10 units left of the visible part and reaches into it.
    TMetaFileDrawing drawing(400, 300);
    DrawOneText(drawing, 90, 50);
    QImage image = White(200, 100);
    QPainter painter(&image);
    painter.translate(-100, 0);  // the target shows drawing x 100..300
    drawing.PaintOnto(painter, 0, 0, 400, 300);
    painter.end();
    EXPECT_FALSE(Ink(image).isEmpty());
    EXPECT_EQ(Ink(image).left(), 0);
}

TEST(TextLayer, TurnedTextsAreTurnedWhenShown) {
    TMetaFileDrawing drawing(400, 300);
    DrawOneText(drawing, 100, 200, 90);  // reads upwards from (100,200)
    QImage image = White(400, 300);
    QPainter painter(&image);
    drawing.PaintOnto(painter, 0, 0, 400, 300);
    painter.end();
    const QRect ink = Ink(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), ink.width());  // standing up
    EXPECT_LE(ink.bottom(), 200);
    EXPECT_GE(ink.left(), 99);  // the text's top lies along x = 100, its body to the right
}

}  // namespace
