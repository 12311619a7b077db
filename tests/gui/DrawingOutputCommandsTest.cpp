#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "PdfReader.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "common/NetworkBuilder.h"
#include "dialogs/VM4_PrintRequest.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "model/VM4_Network_Class.h"
#include "output/VM4_DrawingOutputCommands.h"
#include "platform/VM4_JPEGImage.h"
#include "platform/VM4_MailClient.h"
#include "platform/VM4_XdgMailClient.h"

// Print, Save Screen Image and the two e-mail commands, run from the main
// window's menu the way a user runs them.

namespace {

class TScriptedPrintDialogs : public IPrintDialogs {
public:
    std::optional<TPrintRequest> Answer;
    int SetUps = 0;

    std::optional<TPrintRequest> AskPrint(const std::function<void()>&) override { return Answer; }
    void SetUpPrinter(QPrinter&) override { ++SetUps; }
};

class TRecordingMailClient : public IMailClient {
public:
    bool Reachable = true;
    std::vector<TMailRequest> Sent;
    // What the attachment held when the mail program got it.
    std::string AttachmentBytes;

    bool Send(const TMailRequest& request) override {
        Sent.push_back(request);
        if (!request.Attachments.empty()) {
            std::ifstream file(request.Attachments.front(), std::ios::binary);
            AttachmentBytes.assign(std::istreambuf_iterator<char>(file), {});
        }
        return Reachable;
    }
};

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class DrawingOutputCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        TNetworkFormServices services = TestFormServices(boxes_, dialogs_, folder_.path());
        services.PrintDialogs = &printDialogs_;
        services.MailClient = &mail_;
        services.Wait = [this](int milliseconds) { waits_.push_back(milliseconds); };
        form_ = std::make_unique<TNetworkForm>(services);
        form_->resize(900, 650);
        form_->show();
        QApplication::processEvents();
        TNetworkBuilder build(form_->Network());
        const std::int32_t tank = build.AddTank(400, 400, 5.0, 0.0, 5.0);
        build.AddPipe(tank, build.AddDemandPressure(600, 400), "P1", 100.0, 0.1);
        form_->RefreshScreen();
    }

    std::string InFolder(const char* name) const { return folder_.filePath(QString::fromLatin1(name)).toStdString(); }

    void Run(const char* command) {
        QAction* action = form_->findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        ASSERT_TRUE(action->isEnabled()) << command;
        action->trigger();
    }

    QTemporaryDir folder_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    TScriptedPrintDialogs printDialogs_;
    TRecordingMailClient mail_;
    std::vector<int> waits_;
    std::unique_ptr<TNetworkForm> form_;
};

TEST_F(DrawingOutputCommands, PrintsTwoPagesWideToAPdf) {
    const std::string pdf = InFolder("drawing.pdf");
    form_->OutputCommands().Printer().setOutputFileName(QString::fromStdString(pdf));
    printDialogs_.Answer = TPrintRequest{"Tank drain", 2, 1};
    Run("Print1");
    EXPECT_TRUE(boxes_.Shown().empty());
    const auto texts = PdfReader::PageTexts(pdf);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Tank drain - Page 1 of 2 - Row: 1, Col: 1"), std::string::npos);
    EXPECT_NE(texts[1].find("Tank drain - Page 2 of 2 - Row: 1, Col: 2"), std::string::npos);
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(DrawingOutputCommands, WithoutAPrinterThePrintGoesToAChosenPdf) {
    QPrinter& printer = form_->OutputCommands().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    const std::string pdf = InFolder("chosen.pdf");
    dialogs_.Choose(pdf);
    printDialogs_.Answer = TPrintRequest{"Tank drain", 1, 1};
    Run("Print1");
    ASSERT_EQ(dialogs_.SaveRequests().size(), 1u);
    EXPECT_EQ(dialogs_.SaveRequests()[0].Filter, "PDF Document (*.pdf)");
    EXPECT_EQ(PdfReader::PageTexts(pdf).size(), 1u);
    EXPECT_TRUE(boxes_.Shown().empty());
    // The next print asks again rather than overwrite the same file unasked.
    EXPECT_TRUE(printer.outputFileName().isEmpty());
}

TEST_F(DrawingOutputCommands, CancelledPrintDialogPrintsNothing) {
    const std::string pdf = InFolder("drawing.pdf");
    form_->OutputCommands().Printer().setOutputFileName(QString::fromStdString(pdf));
    Run("ToolButtonPrint");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    Run("PrintSetup2");
    EXPECT_EQ(printDialogs_.SetUps, 1);
}

TEST_F(DrawingOutputCommands, SavedScreenImageIsTheVisibleDrawingsSize) {
    const std::string jpeg = InFolder("screen");  // the dialog adds the extension
    dialogs_.Choose(jpeg + ".jpg");
    Run("SaveScreenImage1");
    ASSERT_EQ(dialogs_.SaveRequests().size(), 1u);
    EXPECT_EQ(dialogs_.SaveRequests()[0].Filter, "Velmora Screen Image (*.jpg)");
    const QImage image = TJPEGImage::LoadFromFile(jpeg + ".jpg");
    EXPECT_EQ(image.size(), form_->Canvas().size());
}

TEST_F(DrawingOutputCommands, OverwritingAPictureAsksAndNoKeepsIt) {
    const std::string jpeg = InFolder("screen.jpg");
    std::ofstream(jpeg) << "earlier picture";
    dialogs_.Choose(jpeg);
    boxes_.AnswerConfirm(false);
    Run("SaveScreenImage1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"File already exists. Do wish to overwrite? \r"});
    EXPECT_EQ(ReadBytes(jpeg), "earlier picture");
}

TEST_F(DrawingOutputCommands, ReadOnlyPictureIsReportedAndKept) {
    const std::string jpeg = InFolder("screen.jpg");
    std::ofstream(jpeg) << "earlier picture";
    std::filesystem::permissions(jpeg, std::filesystem::perms::owner_read);
    dialogs_.Choose(jpeg);
    boxes_.AnswerConfirm(true);
    Run("SaveScreenImage1");
    ASSERT_EQ(boxes_.Texts().size(), 2u);
    EXPECT_EQ(boxes_.Texts()[1],
              "Current file not saved.\r\rCould not remove exisitng file.\r\rPlease check the file permissions of the "
              "existing file.");
    EXPECT_EQ(ReadBytes(jpeg), "earlier picture");
}

TEST_F(DrawingOutputCommands, EmailSystemAttachesTheSavedNetwork) {
    Run("Emai1");
    ASSERT_EQ(mail_.Sent.size(), 1u);
    const TMailRequest& sent = mail_.Sent[0];
    const std::string attachment = InFolder(TDrawingOutputCommands::MailedSystemName);
    EXPECT_EQ(sent.To, "EmailAddress");
    EXPECT_EQ(sent.Subject, "Velmora Studio - System Attached");
    EXPECT_EQ(sent.Attachments, std::vector<std::string>{attachment});
    EXPECT_EQ(sent.Body.rfind("\rA Velmora Studio system is attached to this email.\r\r", 0), 0u);
    EXPECT_EQ(mail_.AttachmentBytes, form_->Network().SaveToBytes());
    EXPECT_EQ(waits_, std::vector<int>{2000});
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(DrawingOutputCommands, EmailScreenImageAttachesAPicture) {
    Run("EmailScreenImage1");
    ASSERT_EQ(mail_.Sent.size(), 1u);
    EXPECT_EQ(mail_.Sent[0].Subject, "Velmora Studio - ScreenShot Attached");
    EXPECT_EQ(mail_.Sent[0].Attachments, std::vector<std::string>{InFolder(TDrawingOutputCommands::MailedImageName)});
    EXPECT_EQ(TJPEGImage::LoadFromBytes(mail_.AttachmentBytes).size(), form_->Canvas().size());
    EXPECT_EQ(waits_, std::vector<int>{500});
}

TEST_F(DrawingOutputCommands, NoMailProgramIsSaidAfterTheFileWasWritten) {
    mail_.Reachable = false;
    Run("ToolButtonEmail");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TDrawingOutputCommands::MailErrorMessage});
    EXPECT_EQ(ReadBytes(InFolder(TDrawingOutputCommands::MailedSystemName)), form_->Network().SaveToBytes());
}

TEST(XdgMailClient, PassesSubjectBodyAttachmentsAndRecipient) {
    const QStringList arguments =
        TXdgMailClient::Arguments({"EmailAddress", "Subject", "\rLine one\r\rLine two", {"/tmp/a.vme", "/tmp/b.jpg"}});
    EXPECT_EQ(arguments, (QStringList{"--utf8", "--subject", "Subject", "--body", "\nLine one\n\nLine two", "--attach",
                                      "/tmp/a.vme", "--attach", "/tmp/b.jpg", "EmailAddress"}));
    EXPECT_FALSE(TXdgMailClient::Arguments({"", "S", "", {}}).contains(QString()));
}

}  // namespace
