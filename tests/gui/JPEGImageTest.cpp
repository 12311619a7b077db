#include <QColor>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/VM4_JPEGImage.h"

namespace {

// Four flat quarters, so that JPEG's losses stay small inside each.
QImage Quarters() {
    QImage image(64, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 32, 24, QColor(255, 0, 0));
    painter.fillRect(32, 0, 32, 24, QColor(0, 0, 255));
    painter.fillRect(0, 24, 32, 24, QColor(255, 255, 255));
    painter.fillRect(32, 24, 32, 24, QColor(0, 128, 0));
    return image;
}

void ExpectColourNear(const QImage& image, int x, int y, QColor expected) {
    const QColor actual = image.pixelColor(x, y);
    const int tolerance = 12;  // quality 75 on flat 8x8 blocks
    EXPECT_LE(std::abs(actual.red() - expected.red()), tolerance) << x << "," << y;
    EXPECT_LE(std::abs(actual.green() - expected.green()), tolerance) << x << "," << y;
    EXPECT_LE(std::abs(actual.blue() - expected.blue()), tolerance) << x << "," << y;
}

TEST(JPEGImage, RoundTripKeepsSizeAndColours) {
    const QImage decoded = TJPEGImage::LoadFromBytes(TJPEGImage::SaveToBytes(Quarters()));
    ASSERT_EQ(decoded.width(), 64);
    ASSERT_EQ(decoded.height(), 48);
    ExpectColourNear(decoded, 8, 8, QColor(255, 0, 0));
    ExpectColourNear(decoded, 56, 8, QColor(0, 0, 255));
    ExpectColourNear(decoded, 8, 40, QColor(255, 255, 255));
    ExpectColourNear(decoded, 56, 40, QColor(0, 128, 0));
}

TEST(JPEGImage, WritesARealJpegThatQtReadsToo) {
    const std::string bytes = TJPEGImage::SaveToBytes(Quarters());
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);  // start-of-image marker
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    QImage byQt;
    // Qt's reader may be absent in minimal installs; when present it must agree.
    if (byQt.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "JPG"))
        EXPECT_EQ(byQt.size(), QSize(64, 48));
}

TEST(JPEGImage, HigherQualityKeepsMoreDetail) {
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) noise.setPixelColor(x, y, QColor((x * 37 + y * 11) % 256, (x * y) % 256, (y * 53) % 256));
    EXPECT_GT(TJPEGImage::SaveToBytes(noise, 95).size(), TJPEGImage::SaveToBytes(noise, 30).size());
}

TEST(JPEGImage, FilesRoundTrip) {
    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("picture.jpg").toStdString();
    TJPEGImage::SaveToFile(Quarters(), path);
    const QImage decoded = TJPEGImage::LoadFromFile(path);
    EXPECT_EQ(decoded.size(), QSize(64, 48));
    ExpectColourNear(decoded, 56, 40, QColor(0, 128, 0));
}

TEST(JPEGImage, BadInputRaisesInsteadOfEndingTheProgram) {
    const std::string valid = TJPEGImage::SaveToBytes(Quarters());
    struct TCase {
        const char* name;
        std::string bytes;
    };
    const TCase cases[] = {
        {"empty", ""},
        {"not a JPEG", "GIF89a this is not a jpeg at all"},
        {"marker only", valid.substr(0, 2)},
        {"header cut off", valid.substr(0, 20)},
    };
    for (const TCase& c : cases) {
        try {
            TJPEGImage::LoadFromBytes(c.bytes);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EJPEGImage& error) {
            EXPECT_EQ(std::string(error.what()).rfind("TJPEGImage.Load Failed: ", 0), 0u) << error.what();
            EXPECT_GT(std::string(error.what()).size(), std::string("TJPEGImage.Load Failed: ").size()) << c.name;
        }
    }
}

TEST(JPEGImage, MissingFileAndUnwritableTargetRaise) {
    QTemporaryDir folder;
    const std::string missing = QDir(folder.path()).filePath("none.jpg").toStdString();
    EXPECT_THROW(TJPEGImage::LoadFromFile(missing), EJPEGImage);
    EXPECT_THROW(TJPEGImage::SaveToFile(Quarters(), QDir(folder.path()).filePath("no/such/x.jpg").toStdString()),
                 EJPEGImage);
    EXPECT_THROW(TJPEGImage::SaveToBytes(QImage()), EJPEGImage);
}

}  // namespace
