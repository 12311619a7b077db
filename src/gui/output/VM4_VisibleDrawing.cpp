#include "output/VM4_VisibleDrawing.h"

#include <QPainter>
#include <algorithm>

#include "editor/VM4_MetaFileDrawing_Class.h"
#include "editor/VM4_NetworkView.h"

TVisibleArea VisibleAreaOf(const TNetworkView& view, int canvasWidth, int canvasHeight) {
    // A canvas too small to show a whole drawing unit still shows one.
    return {view.ViewOriginX, view.ViewOriginY,
            std::max(static_cast<int>(canvasWidth / view.ViewScale), 1),
            std::max(static_cast<int>(canvasHeight / view.ViewScale), 1)};
}

void DrawImageFromMetaFile(QImage& image, const TMetaFileDrawing& drawing, const TVisibleArea& area) {
    image.fill(Qt::white);
    const double w = image.width();
    const double h = image.height();
    const double left = -area.X0 / static_cast<double>(area.Width) * w;
    const double top = -area.Y0 / static_cast<double>(area.Height) * h;
    const double right = drawing.Width() / static_cast<double>(area.Width) * w + left;
    const double bottom = drawing.Height() / static_cast<double>(area.Height) * h + top;
    QPainter painter(&image);
    drawing.PaintOnto(painter, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                      static_cast<int>(bottom));
}
