#include "output/VM4_PrintLayout.h"

#include <algorithm>

TPrintLayout LayOutPrint(const TPrinterPage& page, int pictureWidth, int pictureHeight, int pagesWide,
                         int pagesHigh) {
    TPrintLayout layout;
    const int right = page.PhysicalWidth - page.PrintableWidth - page.OffsetLeft;
    const int bottom = page.PhysicalHeight - page.PrintableHeight - page.OffsetTop;
    layout.Margin = std::max({page.OffsetLeft, page.OffsetTop, right, bottom});
    layout.TileWidth = page.PhysicalWidth - 2 * layout.Margin;
    layout.TileHeight = page.PhysicalHeight - 2 * layout.Margin;
    layout.OriginX = layout.Margin - page.OffsetLeft;
    layout.OriginY = layout.Margin - page.OffsetTop;

    const double areaWidth = static_cast<double>(pagesWide) * layout.TileWidth;
    const double areaHeight = static_cast<double>(pagesHigh) * layout.TileHeight;
    const double sx = areaWidth / std::max(pictureWidth, 1);
    const double sy = areaHeight / std::max(pictureHeight, 1);
    if (sx < sy) {
        layout.ImageWidth = static_cast<int>(areaWidth);
        layout.ImageHeight = static_cast<int>(pictureHeight * sx);
    } else {
        layout.ImageWidth = static_cast<int>(pictureWidth * sy);
        layout.ImageHeight = static_cast<int>(areaHeight);
    }
    return layout;
}

std::string PageCaption(const std::string& title, int row, int column, int pagesWide, int pagesHigh) {
    const int pages = pagesWide * pagesHigh;
    if (pages <= 1) return title;
    const int page = (row - 1) * pagesWide + column;
    return title + " - Page " + std::to_string(page) + " of " + std::to_string(pages) + " - Row: " +
           std::to_string(row) + ", Col: " + std::to_string(column);
}
