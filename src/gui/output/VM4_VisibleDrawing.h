#pragma once

#include <QImage>

class TMetaFileDrawing;
class TNetworkView;

// The part of the drawing sheet that the drawing area shows, in drawing units.
struct TVisibleArea {
    int X0 = 0;
    int Y0 = 0;
    int Width = 1;
    int Height = 1;
};

// What a canvas of `canvasWidth` x `canvasHeight` pixels shows at the view's
// origin and scale: Trunc(origin), Trunc(size / scale).
TVisibleArea VisibleAreaOf(const TNetworkView& view, int canvasWidth, int canvasHeight);

// Stretches the drawing so that the visible area fills the whole image (printing,
// saved pictures): with w x h the image and MW x MH the sheet,
//   left = Trunc(-x0 / width * w),      top = Trunc(-y0 / height * h),
//   right = Trunc(MW / width * w + left unrounded), bottom likewise.
// The image is painted white first.
void DrawImageFromMetaFile(QImage& image, const TMetaFileDrawing& drawing, const TVisibleArea& area);
