#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "editor/VM4_MetaFileDrawing_Class.h"
#include "editor/VM4_NetworkView.h"
#include "output/VM4_ResultsLegend.h"
#include "output/VM4_VisibleDrawing.h"
#include "results/VM4_ResultsHoverTexts.h"

// The picture that printing and saved images take: the visible part of the
// drawing stretched over the whole image, and the results key of a print.

namespace {

bool IsDark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 100; }

// A drawing holding one black square from (1000, 800) to (1100, 900).
class VisibleDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        QPainter& canvas = drawing_.CreateMetaFileCanvas(false, false);
        canvas.fillRect(1000, 800, 100, 100, Qt::black);
        drawing_.TransferMetaFileCanvasToMetaFile();
    }

    TMetaFileDrawing drawing_{kDrawingWidth, kDrawingHeight};
};

TEST_F(VisibleDrawing, VisibleAreaFillsTheWholeImage) {
    // 400 x 300 drawing units from (900, 700) onto an image twice that size.
    QImage image(800, 600, QImage::Format_RGB32);
    DrawImageFromMetaFile(image, drawing_, {900, 700, 400, 300});
    // The square's drawing corners (1000, 800)-(1100, 900) land at (200, 200)-(400, 400).
    EXPECT_TRUE(IsDark(image, 205, 205));
    EXPECT_TRUE(IsDark(image, 395, 395));
    EXPECT_FALSE(IsDark(image, 190, 300));
    EXPECT_FALSE(IsDark(image, 410, 300));
    EXPECT_FALSE(IsDark(image, 300, 190));
    EXPECT_FALSE(IsDark(image, 300, 410));
}

TEST_F(VisibleDrawing, AreaFollowsTheViewsOriginAndScale) {
    TNetworkView view;
    view.ViewOriginX = 950;
    view.ViewOriginY = 750;
    view.ViewScale = 2.0;
    const TVisibleArea area = VisibleAreaOf(view, 500, 301);
    EXPECT_EQ(area.X0, 950);
    EXPECT_EQ(area.Y0, 750);
    EXPECT_EQ(area.Width, 250);
    EXPECT_EQ(area.Height, 150);  // Trunc(301 / 2)
}

TEST(ResultsLegend, FramedKeyAtTheTopLeft) {
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(QColor(200, 200, 255));
    PaintResultsLegend(image, {"f = flow in l/s", "v = velocity in m/s", "dP = pressure drop in bar"});
    EXPECT_TRUE(IsDark(image, 140, 30));   // top of the frame
    EXPECT_TRUE(IsDark(image, 0, 100));    // left side
    EXPECT_TRUE(IsDark(image, 279, 100));  // right side
    EXPECT_TRUE(IsDark(image, 140, 139));  // bottom
    EXPECT_EQ(image.pixelColor(280, 100), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(289, 149), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(290, 100), QColor(200, 200, 255));  // beyond the key
    EXPECT_EQ(image.pixelColor(100, 150), QColor(200, 200, 255));
    int darkInTitle = 0;
    for (int x = 10; x < 200; ++x)
        for (int y = 42; y < 60; ++y) darkInTitle += IsDark(image, x, y) ? 1 : 0;
    EXPECT_GT(darkInTitle, 50) << "the title is written";
}

}  // namespace
