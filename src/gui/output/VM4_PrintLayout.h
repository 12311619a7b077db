#pragma once

#include <string>

// A printer's page in device pixels: the paper, the printable part of it and
// where that part starts on the paper.
struct TPrinterPage {
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    int OffsetLeft = 0;
    int OffsetTop = 0;
};

// How a picture is spread over pages wide x pages high. Every page receives a
// tile of TileWidth x TileHeight device pixels that starts Margin pixels from
// the paper's edges; the picture keeps its aspect ratio, starts at the top-left
// corner of the first page and fills either the width or the height of all tiles.
struct TPrintLayout {
    int Margin = 0;
    int TileWidth = 0;
    int TileHeight = 0;
    // Where the tile starts, relative to the printable part's corner (the printer
    // painter's origin).
    int OriginX = 0;
    int OriginY = 0;
    int ImageWidth = 0;
    int ImageHeight = 0;
};

// M is the largest unprintable margin; tiles are (paper - 2M) on each side; the
// scale to fit is the smaller of PW * tile width / picture width and
// PH * tile height / picture height.
TPrintLayout LayOutPrint(const TPrinterPage& page, int pictureWidth, int pictureHeight, int pagesWide,
                         int pagesHigh);

// The caption of one page: the title alone on a single-page print; otherwise
// " - Page n of N - Row: r, Col: c" follows, n counting row by row.
std::string PageCaption(const std::string& title, int row, int column, int pagesWide, int pagesHigh);
