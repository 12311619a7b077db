#pragma once

#include <QImage>
#include <QPrinter>
#include <functional>
#include <string>

class IFileDialogs;
class IMailClient;
class IMessageBoxes;
class IPrintDialogs;
class TNetworkForm;
struct TMailRequest;

// What the output commands need besides the main window.
struct TDrawingOutputServices {
    IMessageBoxes* MessageBoxes = nullptr;
    IFileDialogs* FileDialogs = nullptr;
    IPrintDialogs* PrintDialogs = nullptr;
    IMailClient* MailClient = nullptr;
    // Where the files sent by e-mail are written: the user's folder.
    std::string MailFolder;
    std::function<void(int milliseconds)> Wait;
};

// The ways the drawing leaves the program: printed over pages, saved as a JPEG
// picture, or sent by e-mail (the network file or a picture). Each takes what
// the drawing area shows at the current zoom and scroll position.
class TDrawingOutputCommands {
public:
    static constexpr const char* MailedSystemName = "VelmoraStudioSystem.vme";
    static constexpr const char* MailedImageName = "VMEImg.jpg";
    static const char* const MailErrorMessage;

    TDrawingOutputCommands(TNetworkForm& form, TDrawingOutputServices services);

    void Print();
    void PageSetup();
    void PrintImageDisplayedOnScreen(const std::string& title, int pagesWide, int pagesHigh);
    void SaveScreenImage();
    void EmailScreenImage();
    void EmailSystem();

    // The printer the commands print on, with what the set-up chose.
    QPrinter& Printer() { return printer_; }

private:
    QImage visiblePicture() const;
    bool needsPdfFile() const;
    bool choosePdfFileWithoutPrinter();
    bool writePicture(const std::string& path, const QImage& picture);
    bool writeFile(const std::string& path, const std::string& bytes);
    void sendMail(const TMailRequest& request);

    TNetworkForm& form_;
    TDrawingOutputServices services_;
    QPrinter printer_;
};
