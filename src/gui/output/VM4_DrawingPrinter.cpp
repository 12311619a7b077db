#include "output/VM4_DrawingPrinter.h"

#include <QPainter>
#include <QPrinter>

#include "output/VM4_PrintProgress.h"

const char* const TPrintMessages::AlreadyPrinting = "Already printing... Please try again later!";
const char* const TPrintMessages::BitmapLoadError = "Bitmap load error";
const char* const TPrintMessages::PrinterNotInstalled = "Printer corrupt or not installed!";
const char* const TPrintMessages::AbortDialogFailed = "Abort dialog could not be created!";
const char* const TPrintMessages::PrintingAborted = "Printing Aborted!";
const char* const TPrintMessages::TransferAborted = "USER_ABORT_OR_OTHER_ERROR!";

namespace {

// The picture goes onto each page in this many horizontal bands, so that the
// progress line moves and Cancel is seen during a large transfer.
constexpr int kBands = 20;

struct TPageTile {
    int Row;
    int Column;
};

std::string ProgressLine(const TPageTile& tile, int percent) {
    return "Printing Page " + std::to_string(tile.Column) + ":" + std::to_string(tile.Row) + " - " +
           std::to_string(percent) + "%";
}

// Stretches the whole picture to its fitted size, shifted so that this page
// receives its tile; false when Cancel stopped it.
bool StretchOntoPage(QPainter& painter, const QImage& picture, const TPrintLayout& layout, const TPageTile& tile,
                     IPrintProgress& progress) {
    const int x = -(tile.Column - 1) * layout.TileWidth;
    const int y = -(tile.Row - 1) * layout.TileHeight;
    const double rowScale = static_cast<double>(layout.ImageHeight) / picture.height();
    const QRect page(0, 0, layout.TileWidth, layout.TileHeight);
    for (int band = 0; band < kBands; ++band) {
        const int first = band * picture.height() / kBands;
        const int last = (band + 1) * picture.height() / kBands;
        const int top = y + static_cast<int>(first * rowScale);
        const int bottom = y + static_cast<int>(last * rowScale);
        const QRect target(x, top, layout.ImageWidth, bottom - top);
        if (last > first && target.intersects(page))
            painter.drawImage(target, picture, QRect(0, first, picture.width(), last - first));
        progress.ShowMessage(ProgressLine(tile, (band + 1) * 100 / kBands));
        if (progress.CancelPressed()) return false;
    }
    return true;
}

void WriteCaption(QPainter& painter, const std::string& caption) {
    // Points follow the printer's own resolution, so the caption is 10 pt on paper.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, painter.device()->width(), painter.device()->height()), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(caption));
}

// Ends a print that cannot go on: the job is dropped and the window closed.
std::string Abandon(QPrinter& printer, QPainter& painter, IPrintProgress& progress, const char* message) {
    progress.Close();
    printer.abort();
    if (painter.isActive()) painter.end();
    return message;
}

}  // namespace

TPrinterPage PageOf(const QPrinter& printer) {
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    return {static_cast<int>(paper.width()),     static_cast<int>(paper.height()),
            static_cast<int>(printable.width()), static_cast<int>(printable.height()),
            static_cast<int>(printable.left() - paper.left()), static_cast<int>(printable.top() - paper.top())};
}

std::string PrintPicture(QPrinter& printer, const QImage& picture, const std::string& title, int pagesWide,
                         int pagesHigh, IPrintProgress& progress) {
    if (printer.printerState() == QPrinter::Active) return TPrintMessages::AlreadyPrinting;
    if (picture.isNull()) return TPrintMessages::BitmapLoadError;
    QPainter painter;
    if (!painter.begin(&printer)) return TPrintMessages::PrinterNotInstalled;
    if (!progress.Open()) return Abandon(printer, painter, progress, TPrintMessages::AbortDialogFailed);

    const TPrintLayout layout = LayOutPrint(PageOf(printer), picture.width(), picture.height(), pagesWide, pagesHigh);
    for (int row = 1; row <= pagesHigh; ++row) {
        for (int column = 1; column <= pagesWide; ++column) {
            const TPageTile tile{row, column};
            progress.ShowMessage(ProgressLine(tile, 0));
            if (progress.CancelPressed()) return Abandon(printer, painter, progress, TPrintMessages::PrintingAborted);
            painter.save();
            painter.translate(layout.OriginX, layout.OriginY);
            painter.setClipRect(QRect(0, 0, layout.TileWidth, layout.TileHeight));
            if (!StretchOntoPage(painter, picture, layout, tile, progress)) {
                painter.restore();
                return Abandon(printer, painter, progress, TPrintMessages::TransferAborted);
            }
            WriteCaption(painter, PageCaption(title, row, column, pagesWide, pagesHigh));
            painter.restore();
            if (row < pagesHigh || column < pagesWide) printer.newPage();
        }
    }
    painter.end();
    progress.Close();
    return {};
}
