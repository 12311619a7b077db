#pragma once

#include <array>
#include <string>

// The drawing's fixed size in drawing units; a node lies on the 40-unit grid.
constexpr int kDrawingWidth = 4300;
constexpr int kDrawingHeight = 3000;

// Corners of the region the drawing occupies, in drawing units.
struct TDrawingExtent {
    int MinX = 0;
    int MinY = 0;
    int MaxX = 0;
    int MaxY = 0;
};

// A rectangle in canvas pixels (right and bottom exclusive, as Qt fills them).
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// What a scroll bar shows: the visible share (page size) and where it stands.
// Both bars run from 0 to the drawing's size in that direction.
struct TScrollBarSetting {
    int PageSize = 0;
    int Position = 0;
};

// The window onto the drawing: which drawing point sits at the canvas's top-left
// pixel, and how many pixels one drawing unit takes. Pure arithmetic, no widgets:
// the canvas size (W, H: the visible canvas in pixels) is passed in.
//
// The picture stays in drawing units; zooming and scrolling only move this
// window, so none of them regenerates the picture.
class TNetworkView {
public:
    static constexpr int ZoomEntryCount = 15;
    static constexpr int DefaultZoomIndex = 8;  // "100%"
    static const std::array<const char*, ZoomEntryCount> ZoomEntries;

    // The scale of a zoom entry: its text without the last character ("%"), / 100.
    static double ScaleOfZoomEntry(int index);
    // The zoom entry a fitting scale falls to: the largest entry not above it,
    // from "20%" up to "100%". Fitting never zooms in.
    static int ZoomIndexForFitScale(double scale);

    // Origin so that the canvas's view is centred on the drawing sheet.
    void CentreOnSheet(int canvasWidth, int canvasHeight);

    // Drawing coordinates of a canvas pixel: Trunc(x / scale) + origin.
    int GetDrawingX(int pixelX) const;
    int GetDrawingY(int pixelY) const;

    // Where the whole drawing sheet lands on the canvas at the current view.
    TPixelRect TargetRect() const;

    // Changes the scale keeping the drawing point at the canvas's centre.
    void Rescale(double newScale, int canvasWidth, int canvasHeight);
    // Selects zoom entry `index` (clamped to the list) and rescales to it.
    void RescaleFromIndex(int index, int canvasWidth, int canvasHeight);
    // One entry up or down the list; at either end the entry stays, and the view
    // is still rescaled.
    void ZoomIn(int canvasWidth, int canvasHeight);
    void ZoomOut(int canvasWidth, int canvasHeight);

    // Shows the whole extent, centred, at the largest listed zoom up to 100% that
    // holds it with a 10% margin.
    void FitToDrawing(const TDrawingExtent& extent, int canvasWidth, int canvasHeight);

    // The scroll bars for the current view.
    TScrollBarSetting HorizontalScrollBar(int canvasWidth) const;
    TScrollBarSetting VerticalScrollBar(int canvasHeight) const;
    // A scroll bar moved by the user: the origin follows it.
    void ScrollHorizontallyTo(int position);
    void ScrollVerticallyTo(int position);

    int ViewOriginX = 0;
    int ViewOriginY = 0;
    double ViewScale = 1.0;  // canvas pixels per drawing unit; 1.0 = 100%
    int ZoomIndex = DefaultZoomIndex;

private:
    static TScrollBarSetting scrollBarFor(int origin, int canvasSize, double scale, int maximum);
};
