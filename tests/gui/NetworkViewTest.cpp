#include <gtest/gtest.h>

#include "common/FuzzyCompare.h"
#include "editor/VM4_NetworkView.h"

namespace {

constexpr int kCanvasWidth = 1000;
constexpr int kCanvasHeight = 600;

TNetworkView ViewAt(int originX, int originY, double scale) {
    TNetworkView view;
    view.ViewOriginX = originX;
    view.ViewOriginY = originY;
    view.ViewScale = scale;
    return view;
}

TEST(NetworkView, ZoomEntriesReadAsTheirPercentage) {
    const double expected[] = {0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};
    for (int i = 0; i < TNetworkView::ZoomEntryCount; ++i)
        EXPECT_REL_NEAR(TNetworkView::ScaleOfZoomEntry(i), expected[i], 1e-12) << TNetworkView::ZoomEntries[i];
    EXPECT_STREQ(TNetworkView::ZoomEntries[TNetworkView::DefaultZoomIndex], "100%");
}

TEST(NetworkView, FitScaleFallsToTheEntryBelowIt) {
    const struct {
        double scale;
        int index;
    } cases[] = {{0.05, 0}, {0.299, 0}, {0.3, 1}, {0.45, 2}, {0.5, 3}, {0.899, 6},
                 {0.9, 7},  {0.999, 7}, {1.0, 8}, {3.0, 8}};
    for (const auto& c : cases) EXPECT_EQ(TNetworkView::ZoomIndexForFitScale(c.scale), c.index) << c.scale;
}

TEST(NetworkView, CentringPutsTheSheetCentreInTheCanvasCentre) {
    TNetworkView view;
    view.CentreOnSheet(kCanvasWidth, kCanvasHeight);
    // ((4300 - 1000) div 2, (3000 - 600) div 2)
    EXPECT_EQ(view.ViewOriginX, 1650);
    EXPECT_EQ(view.ViewOriginY, 1200);
    view.ViewScale = 0.5;
    view.CentreOnSheet(kCanvasWidth, kCanvasHeight);
    // 1000 px show 2000 units: (4300 - 2000) div 2 = 1150; (3000 - 1200) div 2 = 900
    EXPECT_EQ(view.ViewOriginX, 1150);
    EXPECT_EQ(view.ViewOriginY, 900);
}

TEST(NetworkView, PixelsMapToDrawingUnitsByTruncation) {
    const struct {
        double scale;
        int pixel;
        int drawing;
    } cases[] = {
        {1.0, 10, 110},   // 10 + 100
        {1.25, 11, 108},  // Trunc(8.8) + 100
        {1.25, 13, 110},  // Trunc(10.4) + 100
        {0.3, 10, 133},   // Trunc(33.3) + 100
        {4.0, 3, 100},    // Trunc(0.75) + 100
    };
    for (const auto& c : cases) {
        const TNetworkView view = ViewAt(100, -50, c.scale);
        EXPECT_EQ(view.GetDrawingX(c.pixel), c.drawing) << c.scale << " " << c.pixel;
        EXPECT_EQ(view.GetDrawingY(c.pixel), c.drawing - 150) << c.scale << " " << c.pixel;
    }
}

TEST(NetworkView, TargetRectPlacesTheSheetRelativeToTheOrigin) {
    const struct {
        int originX, originY;
        double scale;
        TPixelRect rect;
    } cases[] = {
        // left = Trunc(-100 * 0.5), right = Trunc(4300 * 0.5 - 50), bottom = Trunc(1500 - 25)
        {100, 50, 0.5, {-50, -25, 2100, 1475}},
        // Trunc cuts towards zero: Trunc(3.75) = 3, Trunc(5375 + 3.75) = 5378
        {-3, 0, 1.25, {3, 0, 5378, 3750}},
        {0, 0, 1.0, {0, 0, 4300, 3000}},
    };
    for (const auto& c : cases) {
        const TPixelRect rect = ViewAt(c.originX, c.originY, c.scale).TargetRect();
        EXPECT_EQ(rect.Left, c.rect.Left);
        EXPECT_EQ(rect.Top, c.rect.Top);
        EXPECT_EQ(rect.Right, c.rect.Right);
        EXPECT_EQ(rect.Bottom, c.rect.Bottom);
    }
}

TEST(NetworkView, RescaleKeepsTheDrawingPointAtTheCanvasCentre) {
    const struct {
        double from, to;
        int originX, originY;
    } cases[] = {
        // x: 1000 + 500 - 250; y: 1000 + 300 - 150
        {1.0, 2.0, 1250, 1150},
        // x: 1000 + 500 - Trunc(1666.7); y: 1000 + 300 - 1000
        {1.0, 0.3, -166, 300},
        // back from 2.0 to 1.0 from (1000, 1000): + 250 - 500, + 150 - 300
        {2.0, 1.0, 750, 850},
    };
    for (const auto& c : cases) {
        TNetworkView view = ViewAt(1000, 1000, c.from);
        view.Rescale(c.to, kCanvasWidth, kCanvasHeight);
        EXPECT_EQ(view.ViewOriginX, c.originX) << c.from << " -> " << c.to;
        EXPECT_EQ(view.ViewOriginY, c.originY) << c.from << " -> " << c.to;
        EXPECT_EQ(view.ViewScale, c.to);
    }
}

TEST(NetworkView, ZoomStepsThroughTheListAndStopsAtItsEnds) {
    const struct {
        int start;
        bool zoomIn;
        int index;
    } cases[] = {{8, true, 9}, {8, false, 7}, {14, true, 14}, {0, false, 0}, {13, true, 14}};
    for (const auto& c : cases) {
        TNetworkView view;
        view.RescaleFromIndex(c.start, kCanvasWidth, kCanvasHeight);
        const int originX = view.ViewOriginX;
        if (c.zoomIn)
            view.ZoomIn(kCanvasWidth, kCanvasHeight);
        else
            view.ZoomOut(kCanvasWidth, kCanvasHeight);
        EXPECT_EQ(view.ZoomIndex, c.index);
        EXPECT_EQ(view.ViewScale, TNetworkView::ScaleOfZoomEntry(c.index));
        if (c.index == c.start) EXPECT_EQ(view.ViewOriginX, originX) << "at an end the view must not move";
    }
}

// The view shows every drawing unit of the extent.
void ExpectExtentVisible(const TNetworkView& view, const TDrawingExtent& extent) {
    EXPECT_LE(view.ViewOriginX, extent.MinX);
    EXPECT_LE(view.ViewOriginY, extent.MinY);
    EXPECT_GE(view.ViewOriginX + kCanvasWidth / view.ViewScale, extent.MaxX);
    EXPECT_GE(view.ViewOriginY + kCanvasHeight / view.ViewScale, extent.MaxY);
}

TEST(NetworkView, FittingASmallDrawingCentresItAtOneHundredPercent) {
    // need = max(480/4300, 280/3000) = 0.112 < room = min(1000/4300, 600/3000) = 0.2
    const TDrawingExtent extent{360, 360, 840, 640};
    for (int startIndex : {0, 8, 11}) {
        TNetworkView view;
        view.RescaleFromIndex(startIndex, kCanvasWidth, kCanvasHeight);
        view.FitToDrawing(extent, kCanvasWidth, kCanvasHeight);
        EXPECT_EQ(view.ZoomIndex, 8);
        EXPECT_EQ(view.ViewScale, 1.0);
        // 360 - (1000 - 480) div 2 = 100; 360 - (600 - 280) div 2 = 200
        EXPECT_EQ(view.ViewOriginX, 100);
        EXPECT_EQ(view.ViewOriginY, 200);
    }
}

TEST(NetworkView, FittingALargeDrawingZoomsOutAndKeepsAllOfItInView) {
    // need = 3500/4300 = 0.81395, room = 0.2: f = 0.2 / 0.81395 * 0.9 = 0.2211 -> "20%".
    // Centring with the fit factor applied to the canvas width as well would leave
    // the origin at -1724 and cut the right-hand 224 units off.
    const TDrawingExtent extent{0, 0, 3500, 500};
    TNetworkView view;
    view.FitToDrawing(extent, kCanvasWidth, kCanvasHeight);
    EXPECT_EQ(view.ZoomIndex, 0);
    EXPECT_REL_NEAR(view.ViewScale, 0.2, 1e-12);
    // Centred at 100%: 0 - (1000 - 3500) div 2 = 1250, 0 - (600 - 500) div 2 = -50;
    // to 20%: + 500 - 2500 and + 300 - 1500. The view's centre (1750, 250) is the extent's.
    EXPECT_EQ(view.ViewOriginX, -750);
    EXPECT_EQ(view.ViewOriginY, -1250);
    ExpectExtentVisible(view, extent);
}

TEST(NetworkView, FittingAnEmptyDrawingCentresTheSheetAtOneHundredPercent) {
    // The extent of an empty network: the initial bounds widened by 40 the wrong way round.
    const TDrawingExtent empty{4220, 2920, 80, 80};
    TNetworkView view;
    view.RescaleFromIndex(3, kCanvasWidth, kCanvasHeight);
    view.FitToDrawing(empty, kCanvasWidth, kCanvasHeight);
    TNetworkView centred;
    centred.CentreOnSheet(kCanvasWidth, kCanvasHeight);
    EXPECT_EQ(view.ZoomIndex, 8);
    EXPECT_EQ(view.ViewOriginX, centred.ViewOriginX);
    EXPECT_EQ(view.ViewOriginY, centred.ViewOriginY);
}

TEST(NetworkView, ScrollBarsShowTheVisibleShareAndTheOrigin) {
    const struct {
        int originX, originY;
        double scale;
        TScrollBarSetting horizontal, vertical;
    } cases[] = {
        {1650, 1200, 1.0, {1000, 1650}, {600, 1200}},
        // Origins off the sheet stand at the bars' inner ends.
        {-20, 3500, 1.0, {1000, 1}, {600, 2999}},
        // Zoomed out so far that the whole sheet shows: page = maximum - 10.
        {0, 0, 0.2, {4290, 1}, {2990, 1}},
        // 1000 / 1.25 = 800, 600 / 1.25 = 480
        {2000, 100, 1.25, {800, 2000}, {480, 100}},
    };
    for (const auto& c : cases) {
        const TNetworkView view = ViewAt(c.originX, c.originY, c.scale);
        const TScrollBarSetting horizontal = view.HorizontalScrollBar(kCanvasWidth);
        const TScrollBarSetting vertical = view.VerticalScrollBar(kCanvasHeight);
        EXPECT_EQ(horizontal.PageSize, c.horizontal.PageSize);
        EXPECT_EQ(horizontal.Position, c.horizontal.Position);
        EXPECT_EQ(vertical.PageSize, c.vertical.PageSize);
        EXPECT_EQ(vertical.Position, c.vertical.Position);
    }
}

TEST(NetworkView, MovingAScrollBarMovesTheOriginOnly) {
    TNetworkView view = ViewAt(10, 20, 1.5);
    view.ScrollHorizontallyTo(2345);
    view.ScrollVerticallyTo(678);
    EXPECT_EQ(view.ViewOriginX, 2345);
    EXPECT_EQ(view.ViewOriginY, 678);
    EXPECT_EQ(view.ViewScale, 1.5);
}

}  // namespace
