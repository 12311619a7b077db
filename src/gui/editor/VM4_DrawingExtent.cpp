#include "editor/VM4_DrawingExtent.h"

#include <algorithm>

#include "model/VM4_Network_Class.h"

namespace {

constexpr int kMargin = 40;

void Widen(TDrawingExtent& extent, int x, int y) {
    extent.MinX = std::min(extent.MinX, x);
    extent.MinY = std::min(extent.MinY, y);
    extent.MaxX = std::max(extent.MaxX, x);
    extent.MaxY = std::max(extent.MaxY, y);
}

}  // namespace

TDrawingExtent GetMinMaxXY(const TNetwork& network) {
    TDrawingExtent extent{kDrawingWidth - kMargin, kDrawingHeight - kMargin, kMargin, kMargin};
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        Widen(extent, node.X, node.Y);
    }
    for (std::int32_t i = 1; i <= network.GetFreeTextCount(); ++i) {
        const TFreeText& text = network.GetFreeText(i);
        Widen(extent, text.X, text.Y);
    }
    extent.MinX -= kMargin;
    extent.MinY -= kMargin;
    extent.MaxX += kMargin;
    extent.MaxY += kMargin;
    return extent;
}
