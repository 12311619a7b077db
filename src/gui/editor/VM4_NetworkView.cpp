#include "editor/VM4_NetworkView.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pascal's Trunc: cuts towards zero.
int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

const std::array<const char*, TNetworkView::ZoomEntryCount> TNetworkView::ZoomEntries = {
    "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%", "125%", "150%", "200%", "250%", "300%", "400%"};

double TNetworkView::ScaleOfZoomEntry(int index) {
    const std::string text = ZoomEntries[static_cast<std::size_t>(index)];
    return std::atoi(text.substr(0, text.size() - 1).c_str()) / 100.0;
}

int TNetworkView::ZoomIndexForFitScale(double scale) {
    // 0.2 -> "20%" ... below 1.0 -> "90%", otherwise "100%".
    const double limits[] = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    for (int i = 0; i < 8; ++i)
        if (scale < limits[i]) return i;
    return DefaultZoomIndex;
}

void TNetworkView::CentreOnSheet(int canvasWidth, int canvasHeight) {
    ViewOriginX = (kDrawingWidth - Trunc(canvasWidth / ViewScale)) / 2;
    ViewOriginY = (kDrawingHeight - Trunc(canvasHeight / ViewScale)) / 2;
}

int TNetworkView::GetDrawingX(int pixelX) const { return Trunc(pixelX / ViewScale) + ViewOriginX; }

int TNetworkView::GetDrawingY(int pixelY) const { return Trunc(pixelY / ViewScale) + ViewOriginY; }

TPixelRect TNetworkView::TargetRect() const {
    const double s = ViewScale;
    return {Trunc(-ViewOriginX * s), Trunc(-ViewOriginY * s), Trunc(kDrawingWidth * s - ViewOriginX * s),
            Trunc(kDrawingHeight * s - ViewOriginY * s)};
}

void TNetworkView::Rescale(double newScale, int canvasWidth, int canvasHeight) {
    // The canvas centre lies W/(2 scale) drawing units right of the origin; keep
    // that drawing point at the centre.
    ViewOriginX += Trunc(canvasWidth / ViewScale * 0.5) - Trunc(canvasWidth / newScale * 0.5);
    ViewOriginY += Trunc(canvasHeight / ViewScale * 0.5) - Trunc(canvasHeight / newScale * 0.5);
    ViewScale = newScale;
}

void TNetworkView::RescaleFromIndex(int index, int canvasWidth, int canvasHeight) {
    ZoomIndex = std::clamp(index, 0, ZoomEntryCount - 1);
    Rescale(ScaleOfZoomEntry(ZoomIndex), canvasWidth, canvasHeight);
}

void TNetworkView::ZoomIn(int canvasWidth, int canvasHeight) {
    RescaleFromIndex(std::min(ZoomIndex + 1, ZoomEntryCount - 1), canvasWidth, canvasHeight);
}

void TNetworkView::ZoomOut(int canvasWidth, int canvasHeight) {
    RescaleFromIndex(std::max(ZoomIndex - 1, 0), canvasWidth, canvasHeight);
}

void TNetworkView::FitToDrawing(const TDrawingExtent& extent, int canvasWidth, int canvasHeight) {
    RescaleFromIndex(DefaultZoomIndex, canvasWidth, canvasHeight);
    ViewOriginX = extent.MinX;
    ViewOriginY = extent.MinY;

    const int extentWidth = extent.MaxX - extent.MinX;
    const int extentHeight = extent.MaxY - extent.MinY;
    const double need = std::max(static_cast<double>(extentWidth) / kDrawingWidth,
                                 static_cast<double>(extentHeight) / kDrawingHeight);
    const double room = std::min(static_cast<double>(canvasWidth) / kDrawingWidth,
                                 static_cast<double>(canvasHeight) / kDrawingHeight);
    double fit = 1.0;
    if (need >= room && need != 0.0) fit = room / need * 0.9;

    // Centre the extent at 100%: the rescale below keeps the canvas centre, so the
    // extent stays centred at the final zoom too.
    ViewOriginX -= (canvasWidth - extentWidth) / 2;
    ViewOriginY -= (canvasHeight - extentHeight) / 2;
    RescaleFromIndex(ZoomIndexForFitScale(fit), canvasWidth, canvasHeight);
}

TScrollBarSetting TNetworkView::scrollBarFor(int origin, int canvasSize, double scale, int maximum) {
    TScrollBarSetting bar;
    const int visible = Trunc(canvasSize / scale);
    bar.PageSize = visible < maximum ? visible : maximum - 10;
    // The bars span the sheet in drawing units, so a bar's position is the origin itself.
    bar.Position = std::clamp(origin, 1, maximum - 1);
    return bar;
}

TScrollBarSetting TNetworkView::HorizontalScrollBar(int canvasWidth) const {
    return scrollBarFor(ViewOriginX, canvasWidth, ViewScale, kDrawingWidth);
}

TScrollBarSetting TNetworkView::VerticalScrollBar(int canvasHeight) const {
    return scrollBarFor(ViewOriginY, canvasHeight, ViewScale, kDrawingHeight);
}

void TNetworkView::ScrollHorizontallyTo(int position) { ViewOriginX = position; }

void TNetworkView::ScrollVerticallyTo(int position) { ViewOriginY = position; }
