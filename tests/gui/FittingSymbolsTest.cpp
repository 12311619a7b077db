#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <vector>

#include "editor/VM4_FittingSymbols.h"

// The 49 fitting pictures: each is drawn, none is a copy of another, and each
// stays inside the cell the lists give it.

namespace {

QImage picture(int symbol, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawFittingPicture(painter, QRect(0, 0, width, height), symbol);
    return image;
}

// Dark pixels on the outermost rows and columns mean a cut-off picture.
bool touchesTheBorder(const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, 0)) < 128 || qGray(image.pixel(x, image.height() - 1)) < 128) return true;
    for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(0, y)) < 128 || qGray(image.pixel(image.width() - 1, y)) < 128) return true;
    return false;
}

TEST(FittingSymbols, EverySymbolHasAPictureOfItsOwn) {
    std::vector<QImage> pictures;
    for (int symbol = 0; symbol < FittingSymbols::Count; ++symbol) {
        pictures.push_back(picture(symbol, 56, 40));
        EXPECT_FALSE(touchesTheBorder(pictures.back())) << "symbol " << symbol;
        for (int other = 0; other < symbol; ++other)
            EXPECT_NE(pictures[static_cast<std::size_t>(other)], pictures.back()) << other << " and " << symbol;
    }
    const QImage blank = picture(-1, 56, 40);
    EXPECT_EQ(picture(FittingSymbols::Count, 56, 40), blank);
    for (const QImage& image : pictures) EXPECT_NE(image, blank);
}

}  // namespace
