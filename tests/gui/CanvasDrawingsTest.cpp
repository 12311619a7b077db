#include <gtest/gtest.h>

#include <numbers>

#include "common/FuzzyCompare.h"
#include "editor/VM4_Canvas_Drawings.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(CanvasDrawings, RoundsHalvesToEven) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(CanvasDrawings, LineAngleLiesInTheHalfPlaneOfTheLinesDirection) {
    const struct {
        int x2, y2;
        double angle;
    } cases[] = {
        {10, 0, 0.0},                // right
        {0, 10, kPi / 2},            // down (y grows downwards)
        {0, -10, -kPi / 2},          // up
        {10, 10, kPi / 4},           // down-right
        {-10, 0, kPi},               // left: arctan 0 + pi
        {-10, 10, -kPi / 4 - kPi},   // down-left: arctan(-1) - pi
        {-10, -10, kPi / 4 + kPi},   // up-left: arctan(1) + pi
    };
    for (const auto& c : cases) EXPECT_NEAR(LineAngle(0, 0, c.x2, c.y2), c.angle, 1e-12) << c.x2 << "," << c.y2;
}

TEST(CanvasDrawings, RotatePointTurnsClockwiseOnTheScreenForPositiveAngles) {
    const struct {
        int x, y;
        double angle;
        int rotatedX, rotatedY;
    } cases[] = {
        {110, 100, 0.0, 110, 100},       // unchanged
        {110, 100, kPi / 2, 100, 110},   // right -> below
        {110, 100, kPi, 90, 100},        // right -> left
        {100, 110, -kPi / 2, 110, 100},  // below -> right: a text line under the anchor of a text turned 90 degrees
        {100, 100, 1.0, 100, 100},       // the centre stays
    };
    for (const auto& c : cases) {
        int x = c.x;
        int y = c.y;
        RotatePoint(x, y, 100, 100, c.angle);
        EXPECT_EQ(x, c.rotatedX) << c.x << "," << c.y << " by " << c.angle;
        EXPECT_EQ(y, c.rotatedY) << c.x << "," << c.y << " by " << c.angle;
    }
}

TEST(CanvasDrawings, PointAlongLineRoundsEachAxisHalfToEven) {
    const struct {
        int x1, y1, x2, y2;
        double percent;
        QPoint point;
    } cases[] = {
        {200, 200, 400, 300, 30.0, {260, 230}},
        {200, 200, 400, 300, 12.5, {225, 212}},  // 212.5 -> 212
        {0, 0, 5, -5, 50.0, {2, -2}},            // 2.5 -> 2, -2.5 -> -2
        {0, 0, 7, 3, 50.0, {4, 2}},              // 3.5 -> 4, 1.5 -> 2
        {10, 10, 10, 10, 50.0, {10, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointAlongLine(c.x1, c.y1, c.x2, c.y2, c.percent), c.point) << c.percent;
}

TEST(CanvasDrawings, PipeLabelSitsBesideThePipeAndNeverUpsideDown) {
    struct TCase {
        const char* name;
        int x1, y1, x2, y2;
        double percent;
        int width, height;
        TPipeLabelPlacement placement;
    };
    const TCase cases[] = {
        // L = 200, t = (200 - 60 + 16) * 0.5 / 200 = 0.39: X = 100 + 78, Y = 100 - 19.
        {"left to right", 100, 100, 300, 100, 50, 60, 9, {178, 81, 0}},
        // u = -180 turns to 0 and t to 0.61: X = 300 - 122. Same place, upright.
        {"right to left", 300, 100, 100, 100, 50, 60, 9, {178, 81, 0}},
        // t = (200 - 60 + 16) * 0.2 / 200 = 0.156: X = 100 + Round(31.2).
        {"at 20%", 100, 100, 300, 100, 20, 60, 9, {131, 81, 0}},
        // u = -90: X = 100 - Round(cos(-90) * 19) + 20 (down the page), Y = 100 + 78.
        {"downwards", 100, 100, 100, 300, 50, 60, 9, {120, 178, -90}},
        // u = 90: X = 100 - 0 - 20, Y = 300 - 78.
        {"upwards", 100, 300, 100, 100, 50, 60, 9, {80, 222, 90}},
        // L = 100, t = 0.43, u = -53.13: X = 100 + Round(25.8) - Round(11.4) + 20, Y = 100 + Round(34.4) + Round(-15.2).
        {"steep down-right", 100, 100, 160, 180, 50, 30, 9, {135, 119, -53}},
        // L = 215.41, t = 1 - 0.42108 = 0.57892, u = 158.2 - 180 = -21.8:
        // X = 300 + Round(-115.78) - Round(-7.06), Y = 200 + Round(-46.31) - Round(17.64).
        {"shallow up-left", 300, 200, 100, 120, 50, 50, 9, {191, 136, -22}},
        // L = 206.16, t = 1 - 0.44179 = 0.55821, u = 104.04 - 180 = -75.96:
        // X = 200 + Round(-27.91) - Round(4.61) - 20 + 10, Y = 300 + Round(-111.64) + Round(-18.43).
        {"steep up-left", 200, 300, 150, 100, 50, 40, 9, {157, 170, -76}},
        // Text wider than the pipe: t = 0.01, X = 100 + Round(0.4).
        {"too long for the pipe", 100, 100, 140, 100, 50, 60, 9, {100, 81, 0}},
        // Text taller than the pipe: t = 0.01 as well.
        {"too tall for the pipe", 100, 100, 130, 100, 50, 10, 40, {100, 81, 0}},
        // L counts as 1; dx = dy = 0 takes the steep branch: X = 100 - 19 - 20.
        {"zero length", 100, 100, 100, 100, 50, 60, 9, {61, 100, 0}},
    };
    for (const TCase& c : cases) {
        const TPipeLabelPlacement placement =
            CalcPipeLabelPlacement(c.x1, c.y1, c.x2, c.y2, c.percent, c.width, c.height);
        EXPECT_EQ(placement.X, c.placement.X) << c.name;
        EXPECT_EQ(placement.Y, c.placement.Y) << c.name;
        EXPECT_EQ(placement.AngleDegrees, c.placement.AngleDegrees) << c.name;
    }
}

TEST(CanvasDrawings, SymbolIndicesOutsideTheirRangesDrawNothing) {
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_FALSE(DrawTankSymbol(painter, 30, 30, 30));
    EXPECT_FALSE(DrawTankSymbol(painter, -1, 30, 30));
    EXPECT_FALSE(DrawEndPressureSymbol(painter, 9, 30, 30));
    EXPECT_FALSE(DrawComponentSymbol(painter, 12, 30, 30, 0.0, Qt::black, false, "C"));
    painter.end();
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(CanvasDrawings, TankColourFollowsTheSymbolIndexRange) {
    const struct {
        int index;
        QColor colour;
    } cases[] = {{0, QColor(0, 132, 255)},   {9, QColor(0, 132, 255)},  {10, QColor(128, 64, 0)},
                 {19, QColor(128, 64, 0)},   {20, QColor(224, 224, 224)}, {29, QColor(224, 224, 224)}};
    for (const auto& c : cases) {
        EXPECT_EQ(TankSymbolColour(c.index), c.colour) << c.index;
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(DrawTankSymbol(painter, c.index, 30, 30));
        painter.end();
        // Every symbol holds liquid just below its centre.
        EXPECT_EQ(image.pixelColor(30, 33), c.colour) << c.index;
    }
    EXPECT_FALSE(TankSymbolColour(30).isValid());
}

TEST(CanvasDrawings, PumpColoursFollowThePumpSymbol) {
    EXPECT_EQ(PumpSymbolColour(0), QColor(255, 0, 0));
    EXPECT_EQ(PumpSymbolColour(1), QColor(0, 0, 255));
    EXPECT_EQ(PumpSymbolColour(2), QColor(0, 255, 0));
    EXPECT_EQ(PumpSymbolColour(3), QColor(255, 255, 0));
    EXPECT_FALSE(PumpSymbolColour(4).isValid());
}

TEST(CanvasDrawings, ArrowHeadOnAZeroLengthLineIsNotDrawn) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawArrowHeadBefore(painter, 20, 20, 20, 20, 4, Qt::black);
    DrawArrowHeadBeyond(painter, 20, 20, 20, 20, 6, 1, 4, Qt::red);
    painter.end();
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));
}

TEST(CanvasDrawings, ArrowHeadBeforeStopsItsTipShortOfTheTarget) {
    // A flow arrow along y = 20 towards x = 30, tip 4 short: tip at 26, base at 26 - 9 = 17.
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawArrowHeadBefore(painter, 0, 20, 30, 20, 4, Qt::red);
    painter.end();
    EXPECT_EQ(image.pixelColor(21, 20), QColor(Qt::red));       // inside the head
    EXPECT_EQ(image.pixelColor(29, 20), QColor(Qt::white));     // beyond the tip
    EXPECT_EQ(image.pixelColor(14, 20), QColor(Qt::white));     // before the base
}

}  // namespace
