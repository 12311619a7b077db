#include <gtest/gtest.h>

#include <string>

#include "output/VM4_PrintLayout.h"

// Where a picture lands on the pages of a print: the tile every page receives
// and the fitted size of the picture over all tiles.

namespace {

// A4 at 300 dpi with a printable part that leaves 60 px left, 50 px top,
// 40 px right and 120 px bottom unprintable.
const TPrinterPage kA4{2480, 3508, 2480 - 60 - 40, 3508 - 50 - 120, 60, 50};

struct TLayoutCase {
    const char* Name;
    int PictureWidth, PictureHeight, PagesWide, PagesHigh;
    int ImageWidth, ImageHeight;
};

class PrintLayoutFit : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(PrintLayoutFit, KeepsTheAspectRatioAndFillsOneSide) {
    const TLayoutCase& c = GetParam();
    const TPrintLayout layout = LayOutPrint(kA4, c.PictureWidth, c.PictureHeight, c.PagesWide, c.PagesHigh);
    EXPECT_EQ(layout.ImageWidth, c.ImageWidth);
    EXPECT_EQ(layout.ImageHeight, c.ImageHeight);
}

// Tiles are 2480 - 240 = 2240 by 3508 - 240 = 3268 pixels. The pictures are
// chosen so that the scales are whole numbers.
INSTANTIATE_TEST_SUITE_P(
    Cases, PrintLayoutFit,
    ::testing::Values(
        // Wide: the width of the page decides (scale 2), the height follows.
        TLayoutCase{"WideOnOnePage", 1120, 250, 1, 1, 2240, 500},
        // Tall: the height decides (scale 2), the width follows.
        TLayoutCase{"TallOnOnePage", 100, 1634, 1, 1, 200, 3268},
        // Two pages wide double the width available: scale 4.
        TLayoutCase{"TwoPagesWide", 1120, 560, 2, 1, 4480, 2240},
        // Two by two give 4480 x 6536 for a square picture: the width decides.
        TLayoutCase{"TwoByTwoSquare", 1120, 1120, 2, 2, 4480, 4480}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PrintLayout, TileStartsAtTheLargestMarginFromEveryEdge) {
    const TPrintLayout layout = LayOutPrint(kA4, 800, 600, 1, 1);
    EXPECT_EQ(layout.Margin, 120);
    EXPECT_EQ(layout.TileWidth, 2240);
    EXPECT_EQ(layout.TileHeight, 3268);
    // The painter's origin is the printable part's corner (60, 50) on the paper.
    EXPECT_EQ(layout.OriginX, 60);
    EXPECT_EQ(layout.OriginY, 70);
}

struct TCaptionCase {
    int Row, Column, PagesWide, PagesHigh;
    const char* Expected;
};

class PageCaptions : public ::testing::TestWithParam<TCaptionCase> {};

TEST_P(PageCaptions, NumberPagesRowByRow) {
    const TCaptionCase& c = GetParam();
    EXPECT_EQ(PageCaption("Cooling water", c.Row, c.Column, c.PagesWide, c.PagesHigh), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageCaptions,
                         ::testing::Values(TCaptionCase{1, 1, 1, 1, "Cooling water"},
                                           TCaptionCase{1, 2, 2, 1, "Cooling water - Page 2 of 2 - Row: 1, Col: 2"},
                                           TCaptionCase{2, 1, 2, 2, "Cooling water - Page 3 of 4 - Row: 2, Col: 1"},
                                           TCaptionCase{3, 2, 2, 3, "Cooling water - Page 6 of 6 - Row: 3, Col: 2"}));

}  // namespace
