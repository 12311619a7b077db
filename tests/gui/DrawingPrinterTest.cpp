#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PdfReader.h"
#include "output/VM4_DrawingPrinter.h"
#include "output/VM4_PrintProgress.h"

// Printing a picture over pages to a PDF file, read back as a viewer shows it:
// how many pages, their captions, which part of the picture each page holds,
// and how a cancelled or failing print ends.

namespace {

// The "Printing" window, scripted: presses Cancel when a progress line starts
// with `CancelAt`, and records every line.
class TScriptedProgress : public IPrintProgress {
public:
    std::string CancelAt;
    bool CanOpen = true;
    std::vector<std::string> Lines;
    bool IsOpen = false;

    bool Open() override { return IsOpen = CanOpen; }
    void ShowMessage(const std::string& text) override {
        Lines.push_back(text);
        if (!CancelAt.empty() && text.rfind(CancelAt, 0) == 0) cancelled_ = true;
    }
    bool CancelPressed() const override { return cancelled_; }
    void Close() override { IsOpen = false; }

private:
    bool cancelled_ = false;
};

// Black on its left half, white on its right half.
QImage HalfBlack() {
    QImage picture(400, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 200, 100, Qt::black);
    return picture;
}

double DarkShare(const QImage& page) {
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    return static_cast<double>(dark) / (page.width() * page.height());
}

class DrawingPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromStdString(Pdf()));
        printer_.setResolution(150);
    }

    std::string Pdf() const { return folder_.filePath(QStringLiteral("print.pdf")).toStdString(); }

    std::string Print(const QImage& picture, int wide, int high) {
        return PrintPicture(printer_, picture, "Plant A", wide, high, progress_);
    }

    QTemporaryDir folder_;
    QPrinter printer_{QPrinter::HighResolution};
    TScriptedProgress progress_;
};

TEST_F(DrawingPrinter, TwoPagesWideSplitThePictureAndCaptionEachPage) {
    ASSERT_EQ(Print(HalfBlack(), 2, 1), "");
    const auto texts = PdfReader::PageTexts(Pdf());
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Plant A - Page 1 of 2 - Row: 1, Col: 1"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("Plant A - Page 2 of 2 - Row: 1, Col: 2"), std::string::npos) << texts[1];
    // The picture fills the width of both tiles: its black half is the first
    // page's, its white half the second's.
    const auto pages = PdfReader::PageImages(Pdf(), 20);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_GT(DarkShare(pages[0]), 0.1);
    EXPECT_LT(DarkShare(pages[1]), 0.01);
    EXPECT_FALSE(progress_.IsOpen);
    EXPECT_EQ(progress_.Lines.front(), "Printing Page 1:1 - 0%");
    EXPECT_EQ(progress_.Lines.back(), "Printing Page 2:1 - 100%");
    EXPECT_EQ(printer_.printerState(), QPrinter::Idle);
}

TEST_F(DrawingPrinter, OnePageCarriesTheTitleAlone) {
    ASSERT_EQ(Print(HalfBlack(), 1, 1), "");
    const auto texts = PdfReader::PageTexts(Pdf());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("Plant A"), std::string::npos);
    EXPECT_EQ(texts[0].find("Page"), std::string::npos);
}

struct TFailureCase {
    const char* Name;
    const char* CancelAt;
    bool ProgressOpens;
    bool NullPicture;
    bool UnwritableOutput;
    const char* Message;
};

class DrawingPrinterFailures : public DrawingPrinter, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(DrawingPrinterFailures, EndWithTheirMessageAndLeaveThePrinterIdle) {
    const TFailureCase& c = GetParam();
    progress_.CancelAt = c.CancelAt;
    progress_.CanOpen = c.ProgressOpens;
    if (c.UnwritableOutput)
        printer_.setOutputFileName(folder_.filePath(QStringLiteral("no such folder/print.pdf")));
    EXPECT_EQ(Print(c.NullPicture ? QImage() : HalfBlack(), 2, 2), c.Message);
    EXPECT_FALSE(progress_.IsOpen);
    EXPECT_NE(printer_.printerState(), QPrinter::Active);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawingPrinterFailures,
    ::testing::Values(TFailureCase{"CancelBeforeThirdPage", "Printing Page 1:2 - 0%", true, false, false,
                                   "Printing Aborted!"},
                      TFailureCase{"CancelDuringTransfer", "Printing Page 2:1 - 50%", true, false, false,
                                   "USER_ABORT_OR_OTHER_ERROR!"},
                      TFailureCase{"NoProgressWindow", "", false, false, false, "Abort dialog could not be created!"},
                      TFailureCase{"NoPicture", "", true, true, false, "Bitmap load error"},
                      TFailureCase{"OutputCannotBeWritten", "", true, false, true, "Printer corrupt or not installed!"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
