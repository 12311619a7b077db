#pragma once

#include <QImage>
#include <string>

#include "output/VM4_PrintLayout.h"

class IPrintProgress;
class QPrinter;

// Messages of a print that did not complete.
struct TPrintMessages {
    static const char* const AlreadyPrinting;
    static const char* const BitmapLoadError;
    static const char* const PrinterNotInstalled;
    static const char* const AbortDialogFailed;
    static const char* const PrintingAborted;
    // The stretch of the picture onto a page was stopped by Cancel.
    static const char* const TransferAborted;
};

// Prints `picture` scaled to fit on pagesWide x pagesHigh pages (each at least 1),
// row by row, each row column by column, every page captioned with
// PageCaption(). Returns the message that ends a failed or cancelled print, or
// an empty text when every page was printed. The printer is left idle on every
// path.
std::string PrintPicture(QPrinter& printer, const QImage& picture, const std::string& title, int pagesWide,
                         int pagesHigh, IPrintProgress& progress);

// The printer's page in device pixels.
TPrinterPage PageOf(const QPrinter& printer);
