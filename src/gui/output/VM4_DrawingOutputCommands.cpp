#include "output/VM4_DrawingOutputCommands.h"

#include <QPrinterInfo>
#include <filesystem>
#include <utility>

#include "dialogs/VM4_PrintRequest.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_SafeSave.h"
#include "model/VM4_Network_Class.h"
#include "output/VM4_DrawingPrinter.h"
#include "output/VM4_PrintingProgressWindow.h"
#include "output/VM4_ResultsLegend.h"
#include "output/VM4_VisibleDrawing.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_JPEGImage.h"
#include "platform/VM4_MailClient.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_OverwriteQuestion.h"
#include "results/VM4_ResultsHoverTexts.h"

const char* const TDrawingOutputCommands::MailErrorMessage =
    "Error while trying to send email\r\rNo mail program could be started. Sending needs xdg-email (package "
    "xdg-utils) and a mail program set as the desktop's default for e-mail.";

namespace {

const std::string kCannotRemoveMessage =
    "Current file not saved.\r\rCould not remove exisitng file.\r\rPlease check the file permissions of the "
    "existing file.";
const std::string kNotWrittenMessage = "Current file not saved.\r\r";
const char* const kImageFilter = "Velmora Screen Image (*.jpg)";
const char* const kPdfFilter = "PDF Document (*.pdf)";
const std::string kVendorLine =
    std::string("Velmora Studio can be downloaded from ") + TNetworkForm::VendorWebAddress + "\r\r";
constexpr int kImagePauseMilliseconds = 500;
constexpr int kSystemPauseMilliseconds = 2000;

std::string InFolder(const std::string& folder, const char* name) {
    return (std::filesystem::path(folder) / name).string();
}

// Disables the main window for as long as it lives, whatever way printing ends.
class TWindowDisabled {
public:
    explicit TWindowDisabled(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~TWindowDisabled() { window_.setEnabled(true); }
    TWindowDisabled(const TWindowDisabled&) = delete;
    TWindowDisabled& operator=(const TWindowDisabled&) = delete;

private:
    QWidget& window_;
};

}  // namespace

TDrawingOutputCommands::TDrawingOutputCommands(TNetworkForm& form, TDrawingOutputServices services)
    : form_(form), services_(std::move(services)) {}

QImage TDrawingOutputCommands::visiblePicture() const {
    TNetworkCanvas& canvas = form_.Canvas();
    QImage picture(std::max(canvas.width(), 1), std::max(canvas.height(), 1), QImage::Format_RGB32);
    DrawImageFromMetaFile(picture, form_.ScreenDrawing(),
                          VisibleAreaOf(form_.View(), picture.width(), picture.height()));
    return picture;
}

// ---- Printing --------------------------------------------------------------------------------------

void TDrawingOutputCommands::Print() {
    const auto request = services_.PrintDialogs->AskPrint([this] { PageSetup(); });
    if (!request) return;
    PrintImageDisplayedOnScreen(request->Title, request->PagesWide, request->PagesHigh);
}

void TDrawingOutputCommands::PageSetup() { services_.PrintDialogs->SetUpPrinter(printer_); }

// Where Qt has no printing system it prints PDF only, to a file it must be given.
bool TDrawingOutputCommands::needsPdfFile() const {
    if (!printer_.outputFileName().isEmpty()) return false;
    return printer_.outputFormat() == QPrinter::PdfFormat || QPrinterInfo::availablePrinterNames().isEmpty();
}

// Without any printer a print goes to a PDF file, which is how a desktop without
// a printer prints; the next print asks again.
bool TDrawingOutputCommands::choosePdfFileWithoutPrinter() {
    if (!needsPdfFile()) return true;
    const std::string name = std::filesystem::path(form_.CurrentFileName()).stem().string();
    const auto chosen = services_.FileDialogs->AskSaveFileName(
        {std::filesystem::path(form_.CurrentFileName()).parent_path().string(),
         (name.empty() ? std::string("Drawing") : name) + ".pdf", kPdfFilter, "pdf"});
    if (!chosen) return false;
    if (!ConfirmOverwrite(*services_.MessageBoxes, *chosen)) return false;
    printer_.setOutputFileName(QString::fromStdString(*chosen));
    return true;
}

void TDrawingOutputCommands::PrintImageDisplayedOnScreen(const std::string& title, int pagesWide, int pagesHigh) {
    if (printer_.printerState() == QPrinter::Active) {
        services_.MessageBoxes->ShowInformation(TPrintMessages::AlreadyPrinting);
        return;
    }
    const bool toChosenPdf = needsPdfFile();
    if (!choosePdfFileWithoutPrinter()) return;
    form_.RefreshScreenImageOnly(false);
    QImage picture = visiblePicture();
    if (form_.ResultsMode()) PaintResultsLegend(picture, ResultsKeyTexts(form_.Network()));
    std::string message;
    {
        const TWindowDisabled disabled(form_);
        TPrintingProgressWindow progress(&form_);
        message = PrintPicture(printer_, picture, title, pagesWide, pagesHigh, progress);
    }
    if (toChosenPdf) printer_.setOutputFileName(QString());
    if (!message.empty()) services_.MessageBoxes->ShowInformation(message);
    form_.RefreshScreen();
}

// ---- Pictures and mail -----------------------------------------------------------------------------

bool TDrawingOutputCommands::writeFile(const std::string& path, const std::string& bytes) {
    try {
        SafeSaveFile(path, bytes);
        return true;
    } catch (const EVelmoraError& error) {
        services_.MessageBoxes->ShowInformation(IsWriteProtected(path) ? kCannotRemoveMessage
                                                                                   : kNotWrittenMessage + error.what());
        return false;
    }
}

bool TDrawingOutputCommands::writePicture(const std::string& path, const QImage& picture) {
    try {
        return writeFile(path, TJPEGImage::SaveToBytes(picture));
    } catch (const EVelmoraError& error) {
        services_.MessageBoxes->ShowInformation(kNotWrittenMessage + error.what());
        return false;
    }
}

void TDrawingOutputCommands::SaveScreenImage() {
    const auto chosen = services_.FileDialogs->AskSaveFileName({"", "", kImageFilter, "jpg"});
    if (chosen && ConfirmOverwrite(*services_.MessageBoxes, *chosen)) {
        writePicture(*chosen, visiblePicture());
    }
    form_.RefreshScreen();
}

void TDrawingOutputCommands::sendMail(const TMailRequest& request) {
    bool sent = false;
    {
        const TWindowDisabled disabled(form_);
        sent = services_.MailClient->Send(request);
    }
    if (!sent) services_.MessageBoxes->ShowInformation(MailErrorMessage);
}

void TDrawingOutputCommands::EmailScreenImage() {
    const std::string path = InFolder(services_.MailFolder, MailedImageName);
    const bool written = writePicture(path, visiblePicture());
    form_.RefreshScreen();
    if (!written) return;
    if (services_.Wait) services_.Wait(kImagePauseMilliseconds);
    sendMail({"EmailAddress", "Velmora Studio - ScreenShot Attached",
              "\rA Velmora Studio system screenshot is attached to this email.\r\r" + kVendorLine, {path}});
}

void TDrawingOutputCommands::EmailSystem() {
    const std::string path = InFolder(services_.MailFolder, MailedSystemName);
    if (!writeFile(path, form_.Network().SaveToBytes())) return;
    if (services_.Wait) services_.Wait(kSystemPauseMilliseconds);
    sendMail({"EmailAddress", "Velmora Studio - System Attached",
              "\rA Velmora Studio system is attached to this email.\r\rIt can be viewed by running Velmora Studio "
              "and then opening the file.\r\r" +
                  kVendorLine,
              {path}});
}
