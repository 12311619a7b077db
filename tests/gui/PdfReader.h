#pragma once

#include <QImage>
#include <string>
#include <vector>

// Reads back PDF files that printing wrote, through poppler's command-line tools
// (pdftotext, pdftoppm), as a user's viewer would show them.
namespace PdfReader {

// The text of each page, in order.
std::vector<std::string> PageTexts(const std::string& pdfPath);
// Each page rendered in grey at `dotsPerInch`.
std::vector<QImage> PageImages(const std::string& pdfPath, int dotsPerInch);

}  // namespace PdfReader
