#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "common/NetworkBuilder.h"
#include "editor/VM4_Examples_Form.h"
#include "dialogs/config/VM4_ConfigForm.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "editor/VM4_HelpForm.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_JPEGImage.h"

namespace {

namespace fs = std::filesystem;

const std::string kOpenQuestion =
    "Any changes to the existing system that have not been saved will be lost.\r\rDo you wish to continue to load a "
    "new system?";
const std::string kOpenExampleQuestion =
    "Any changes to the existing system that have not been saved will be lost.\r\rDo you wish to continue to load an "
    "example system?";
const std::string kNewQuestion =
    "The current system will be closed. Any unsaved changes will be lost. \r\rA new grid will be created with the "
    "Fluid set to Water.\r\rDo you wish to continue with a new grid?";
const std::string kOverwriteQuestion = "File already exists. Do wish to overwrite? \r";
const std::string kCannotReplaceMessage =
    "Current network not saved.\r\rCould not remove exisitng file.\r\rPlease check the file permissions of the "
    "existing file or\rchoose 'Save As' to save the current network under a different file name.";
const std::string kExamplesFolderMessage =
    "An error occured while attempting to read the example systems folder.\r\rPlease check that your program was "
    "installed correctly without errors.";
const std::string kExampleLoadMessage =
    "An error occured while attempting to load an example system.\r\rPlease check that your program was installed "
    "correctly without errors.";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Writes a small metric network whose tank is named `tankName`, so that a test
// can tell which file is loaded.
void WriteNetworkFile(const std::string& path, const std::string& tankName) {
    TNetwork network;
    TNetworkBuilder builder(network);
    const std::int32_t tank = builder.AddTank(400, 400, 10.0, 0.0, 2.0);
    const std::int32_t joint = builder.AddJoint(560, 400);
    builder.AddPipe(tank, joint, "P1");
    network.GetNode(tank).SetName(tankName);
    network.SaveToFile(path);
}

std::string TankName(TNetworkForm& form) {
    if (form.Network().GetNodeCount() == 0) return "<empty>";
    return form.Network().GetNode(form.Network().GetNextNodeId(0)).Name;
}

class NetworkForm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        program_ = folder_.path().toStdString();
    }

    std::string InProgram(const std::string& name) const { return (fs::path(program_) / name).string(); }

    std::string NetworkFile(const std::string& name, const std::string& tankName) {
        const std::string path = InProgram(name);
        WriteNetworkFile(path, tankName);
        return path;
    }

    TNetworkForm& Form() {
        if (!form_) {
            TNetworkFormServices services = TestFormServices(boxes_, dialogs_, QString::fromStdString(program_));
            services.OpenUrl = [this](const std::string& address) {
                openedAddresses_.push_back(address);
                return browserStarts_;
            };
            form_ = std::make_unique<TNetworkForm>(services);
            form_->resize(1000, 700);
            form_->show();
            QApplication::processEvents();
        }
        return *form_;
    }

    void Trigger(const char* name) {
        QAction* action = Form().findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    QAction* RecentItem(int i) { return Form().findChild<QAction*>(QStringLiteral("RecentFile%1").arg(i)); }

    std::vector<std::string> RecentCaptions() {
        std::vector<std::string> captions;
        for (int i = 1; i <= 4; ++i)
            if (RecentItem(i)->isVisible()) captions.push_back(RecentItem(i)->text().toStdString());
        return captions;
    }

    // Opens a file through File, Open, answering the question asked once a file is open.
    void Open(const std::string& path) {
        if (!Form().CurrentFileName().empty() && !Form().IsModified()) boxes_.AnswerConfirm(true);
        dialogs_.Choose(path);
        Trigger("Open1");
    }

    TScopedDecimalMark point_{'.'};
    QTemporaryDir folder_;
    std::string program_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    std::vector<std::string> openedAddresses_;
    bool browserStarts_ = true;
    std::unique_ptr<TNetworkForm> form_;  // after the scripts: it is destroyed first
};

// ---- Start-up -----------------------------------------------------------------------------------

TEST_F(NetworkForm, StartsWithAnEmptyImperialNetworkAndAnEmptyRecentList) {
    TNetworkForm& form = Form();
    EXPECT_TRUE(form.IsInitialised());
    EXPECT_EQ(form.windowTitle(), " Velmora Studio");
    EXPECT_EQ(form.Network().GetNodeCount(), 0);
    EXPECT_EQ(form.Network().Settings.LengthUnit, UNIT_FT);
    EXPECT_TRUE(form.findChild<QRadioButton*>("RadioButtonImperialUnits")->isChecked());
    EXPECT_EQ(form.DrawingState().CurrentTool, TDrawingState::ToolAddPipes);
    EXPECT_EQ(form.findChild<QComboBox*>("ScaleComboBox1")->currentText(), "100%");
    EXPECT_EQ(ReadBytes(InProgram("RecentFiles.txt")), "0\r\n");
    EXPECT_TRUE(RecentCaptions().empty());
    EXPECT_FALSE(form.IsModified());
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(NetworkForm, CommandsOfLaterPartsAreDisabledTheOthersEnabled) {
    const struct {
        const char* name;
        bool enabled;
    } cases[] = {
        {"FileNew", true},           {"Open1", true},          {"OpenExamples1", true},
        {"Save1", true},             {"SaveAs1", true},        {"Exit1", true},
        {"Contents1", true},         {"Index1", true},         {"ReviewExampleSystems1", true},
        {"ReviewExampleSystems2", true}, {"WalkThroughExample1", true}, {"WebPage1", true},
        {"About1", true},            {"ImperialUnits1", true}, {"MetricUnits1", true},
        {"ToolButtonZoomIn", true},  {"ToolButtonZoomOut", true}, {"ToolButtonZoomCentre", true},
        {"SaveScreenImage1", true},  {"Emai1", true},          {"EmailScreenImage1", true},
        {"Print1", true},            {"PrintSetup2", true},    {"Undo1", true},
        {"Redo1", true},            {"Cut1", true},          {"Copy1", true},
        {"Paste1", true},           {"Delete1", true},       {"ChangeUnits1", true},
        {"ChangeFluid1", true},      {"ChangeDefaultPipeData1", true}, {"ConfigureLabelling1", true},
        {"EditPipeNodeData1", true}, {"Preferences1", true}, {"ToolButtonPipes", true},
        {"ToolButtonTank", true},   {"ToolButtonDrag", true}, {"ToolButtonEmail", true},
        {"ToolButtonPrint", true},   {"ToolButtonChangeFluid", true},
    };
    for (const auto& c : cases) {
        QAction* action = Form().findChild<QAction*>(QString::fromLatin1(c.name));
        ASSERT_NE(action, nullptr) << c.name;
        EXPECT_EQ(action->isEnabled(), c.enabled) << c.name;
    }
    EXPECT_TRUE(Form().findChild<QPushButton*>("BitBtnCalculate")->isEnabled());
}

TEST_F(NetworkForm, StartUpShowsTheSavedRecentList) {
    WriteBytes(InProgram("RecentFiles.txt"), "2\r\n/plant/b.vme\r\n/plant/a.vme\r\n");
    EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"1 /plant/b.vme", "2 /plant/a.vme"}));
    EXPECT_FALSE(RecentItem(3)->isVisible());
}

// ---- Open -------------------------------------------------------------------------------------------

TEST_F(NetworkForm, OpenLoadsTheChosenFileAndRemembersIt) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    dialogs_.Choose(a);
    Trigger("Open1");  // a never-saved, unchanged network is replaced without a question
    TNetworkForm& form = Form();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(TankName(form), "Tank A");
    EXPECT_EQ(form.CurrentFileName(), a);
    EXPECT_EQ(form.windowTitle(), " Velmora Studio - a.vme");
    EXPECT_EQ(ReadBytes(InProgram("RecentFiles.txt")), "1\r\n" + a + "\r\n");
    EXPECT_EQ(RecentCaptions().size(), 1u);
    ASSERT_EQ(dialogs_.OpenRequests().size(), 1u);
    EXPECT_EQ(dialogs_.OpenRequests()[0].Folder, InProgram("VelmoraSystems"));
    EXPECT_TRUE(fs::is_directory(InProgram("VelmoraSystems")));  // made for the user's networks
    EXPECT_EQ(dialogs_.OpenRequests()[0].Filter, "Velmora Network (*.vme)");
    EXPECT_EQ(dialogs_.OpenRequests()[0].DefaultSuffix, "vme");
    // Design mode with Show Info; the unit buttons follow the file (metric).
    EXPECT_EQ(form.DrawingState().CurrentTool, TDrawingState::ToolShowInfo);
    EXPECT_TRUE(form.findChild<QRadioButton*>("RadioButtonMetricUnits")->isChecked());
    EXPECT_EQ(form.findChild<QLineEdit*>("EditFluid")->text().toStdString(), " Water (20\xC2\xB0" "C at 0.0bar.g)");
    EXPECT_FALSE(form.IsModified());
}

TEST_F(NetworkForm, OpenAfterAFileWasLoadedAsksFirst) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    Open(a);
    boxes_.AnswerConfirm(false);
    Trigger("Open1");  // declined: no dialog opens (none is scripted)
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kOpenQuestion});
    EXPECT_EQ(TankName(Form()), "Tank A");
    boxes_.AnswerConfirm(true);
    dialogs_.Choose(b);
    Trigger("Open1");
    EXPECT_EQ(TankName(Form()), "Tank B");
    EXPECT_EQ(Form().CurrentFileName(), b);
}

TEST_F(NetworkForm, CancellingTheOpenDialogKeepsTheDocumentAndReturnsToDesignMode) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    boxes_.AnswerConfirm(true);
    dialogs_.Cancel();
    Trigger("Open1");
    EXPECT_EQ(TankName(Form()), "Tank A");
    EXPECT_EQ(Form().CurrentFileName(), a);
    EXPECT_EQ(Form().DrawingState().CurrentTool, TDrawingState::ToolShowInfo);
}

TEST_F(NetworkForm, UnsavedChangesAreOfferedForSavingBeforeAnotherFileIsOpened) {
    struct TCase {
        const char* name;
        TYesNoCancel answer;
        bool opened;         // b replaced a
        bool aHoldsChanges;  // the change was written to a
    };
    const TCase cases[] = {
        {"cancel", TYesNoCancel::Cancel, false, false},
        {"discard", TYesNoCancel::No, true, false},
        {"save first", TYesNoCancel::Yes, true, true},
    };
    for (const TCase& c : cases) {
        form_.reset();
        const std::string a = NetworkFile("a.vme", "Tank A");
        const std::string b = NetworkFile("b.vme", "Tank B");
        Open(a);
        Form().Network().GetNode(Form().Network().GetNextNodeId(0)).SetName("Changed");
        Form().MarkModified();
        boxes_.Forget();
        boxes_.AnswerYesNoCancel(c.answer);
        if (c.answer == TYesNoCancel::Yes) boxes_.AnswerConfirm(true);  // overwrite a
        if (c.opened) dialogs_.Choose(b);
        Trigger("Open1");
        EXPECT_EQ(boxes_.Texts().front(), "Save changes to a.vme?") << c.name;
        EXPECT_EQ(TankName(Form()), c.opened ? "Tank B" : "Changed") << c.name;
        EXPECT_EQ(Form().IsModified(), !c.opened) << c.name;
        TNetwork reread;
        reread.LoadFromFile(a);
        EXPECT_EQ(reread.GetNode(reread.GetNextNodeId(0)).Name, c.aHoldsChanges ? "Changed" : "Tank A") << c.name;
    }
}

TEST_F(NetworkForm, ChangesToANeverSavedNetworkAreOfferedUnderNoName) {
    Form().MarkModified();
    boxes_.AnswerYesNoCancel(TYesNoCancel::Cancel);
    Trigger("Open1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Save changes to Untitled?"});
}

// ---- Save and Save As ---------------------------------------------------------------------------------

TEST_F(NetworkForm, SaveAsksBeforeOverwritingAndWritesOnlyOnYes) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    const std::string before = ReadBytes(a);
    Form().Network().GetNode(Form().Network().GetNextNodeId(0)).SetName("Changed");
    Form().MarkModified();

    boxes_.AnswerConfirm(false);
    Trigger("Save1");
    EXPECT_EQ(boxes_.Texts().back(), kOverwriteQuestion);
    EXPECT_EQ(ReadBytes(a), before);
    EXPECT_TRUE(Form().IsModified());

    boxes_.AnswerConfirm(true);
    Trigger("Save1");
    EXPECT_EQ(boxes_.Texts().back(), kOverwriteQuestion);  // asked on every save
    EXPECT_NE(ReadBytes(a), before);
    EXPECT_EQ(ReadBytes(a), Form().Network().SaveToBytes());
    EXPECT_FALSE(Form().IsModified());
    EXPECT_EQ(Form().RecentFiles().GetFileString(1), a);
}

TEST_F(NetworkForm, SavingANeverSavedNetworkAsksForAName) {
    const std::string target = InProgram("new.vme");
    dialogs_.Choose(target);
    Form().MarkModified();
    Trigger("Save1");
    EXPECT_TRUE(boxes_.Shown().empty());  // a new file needs no overwrite question
    EXPECT_TRUE(fs::exists(target));
    EXPECT_EQ(Form().CurrentFileName(), target);
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio - new.vme");
    EXPECT_EQ(Form().RecentFiles().GetFileString(1), target);
    EXPECT_FALSE(Form().IsModified());
    ASSERT_EQ(dialogs_.SaveRequests().size(), 1u);
    EXPECT_EQ(dialogs_.SaveRequests()[0].DefaultSuffix, "vme");
    EXPECT_EQ(dialogs_.SaveRequests()[0].Folder, InProgram("VelmoraSystems"));
}

TEST_F(NetworkForm, SaveAsOntoAnotherFileRewritesOnlyThatFile) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    Open(a);
    const std::string aBytes = ReadBytes(a);

    dialogs_.Choose(b);
    boxes_.AnswerConfirm(false);  // declined: nothing changes
    Trigger("SaveAs1");
    EXPECT_EQ(Form().CurrentFileName(), a);
    TNetwork reread;
    reread.LoadFromFile(b);
    EXPECT_EQ(reread.GetNode(reread.GetNextNodeId(0)).Name, "Tank B");

    dialogs_.Choose(b);
    boxes_.AnswerConfirm(true);
    Trigger("SaveAs1");
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{kOverwriteQuestion, kOverwriteQuestion}));
    reread.LoadFromFile(b);
    EXPECT_EQ(reread.GetNode(reread.GetNextNodeId(0)).Name, "Tank A");
    EXPECT_EQ(ReadBytes(a), aBytes);
    EXPECT_EQ(Form().CurrentFileName(), b);
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio - b.vme");
    ASSERT_EQ(dialogs_.SaveRequests().size(), 2u);
    EXPECT_EQ(dialogs_.SaveRequests()[0].FileName, "a.vme");

    dialogs_.Cancel();
    Trigger("SaveAs1");
    EXPECT_EQ(Form().CurrentFileName(), b);
}

TEST_F(NetworkForm, AReadOnlyFileIsNotReplaced) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    const std::string before = ReadBytes(a);
    fs::permissions(a, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
    Form().MarkModified();
    boxes_.AnswerConfirm(true);
    Trigger("Save1");
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{kOverwriteQuestion, kCannotReplaceMessage}));
    EXPECT_EQ(ReadBytes(a), before);
    EXPECT_TRUE(Form().IsModified());
}

TEST_F(NetworkForm, AFailedSaveSaysSoAndKeepsTheWorkMarkedUnsaved) {
    Form().MarkModified();
    dialogs_.Choose(InProgram("no such folder/x.vme"));
    Trigger("SaveAs1");
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_EQ(boxes_.Texts()[0].rfind("Current network not saved.\r\r", 0), 0u) << boxes_.Texts()[0];
    EXPECT_TRUE(Form().IsModified());
    EXPECT_EQ(Form().CurrentFileName(), "");
    EXPECT_EQ(Form().RecentFiles().Count(), 0);
}

// ---- New ----------------------------------------------------------------------------------------------

TEST_F(NetworkForm, NewAsksAndStartsAnEmptyWaterNetwork) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    Form().Network().Fluid.Name = "Air";
    boxes_.AnswerConfirm(false);
    Trigger("FileNew");
    EXPECT_EQ(boxes_.Texts().back(), kNewQuestion);
    EXPECT_EQ(TankName(Form()), "Tank A");

    boxes_.AnswerConfirm(true);
    Trigger("FileNew");
    EXPECT_EQ(Form().Network().GetNodeCount(), 0);
    EXPECT_EQ(Form().Network().Fluid.Name, "Water");
    EXPECT_EQ(Form().CurrentFileName(), "");
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio");
    // The unit buttons showed metric (from a): the new grid is metric.
    EXPECT_EQ(Form().Network().Settings.LengthUnit, UNIT_M);
}

TEST_F(NetworkForm, NewOffersToSaveChangesBeforeItsOwnQuestion) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    Form().MarkModified();
    boxes_.AnswerYesNoCancel(TYesNoCancel::No);
    boxes_.AnswerConfirm(true);
    Trigger("FileNew");
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{"Save changes to a.vme?", kNewQuestion}));
    EXPECT_EQ(Form().Network().GetNodeCount(), 0);
    EXPECT_FALSE(Form().IsModified());
}

// ---- Recent files ----------------------------------------------------------------------------------------

TEST_F(NetworkForm, RecentEntriesListTheMostRecentFirstAndReopenWithoutAQuestion) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    const std::string c = NetworkFile("c.vme", "Tank C");
    Open(a);
    Open(b);
    Open(c);
    EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"1 " + c, "2 " + b, "3 " + a}));
    boxes_.Forget();
    RecentItem(3)->trigger();
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(TankName(Form()), "Tank A");
    EXPECT_EQ(Form().CurrentFileName(), a);
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio - a.vme");
    EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"1 " + a, "2 " + c, "3 " + b}));
    EXPECT_EQ(ReadBytes(InProgram("RecentFiles.txt")), "3\r\n" + a + "\r\n" + c + "\r\n" + b + "\r\n");
}

TEST_F(NetworkForm, AMissingRecentFileIsReportedAndDroppedFromTheList) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    Open(a);
    Open(b);
    fs::remove(a);
    boxes_.Forget();
    RecentItem(2)->trigger();
    EXPECT_EQ(boxes_.Texts(),
              std::vector<std::string>{"Cannot open " + a + "\r\rFile may no longer exist or is not accessible?"});
    EXPECT_EQ(RecentCaptions(), std::vector<std::string>{"1 " + b});
    EXPECT_EQ(ReadBytes(InProgram("RecentFiles.txt")), "1\r\n" + b + "\r\n");
    // Nothing was read: the open document is untouched.
    EXPECT_EQ(TankName(Form()), "Tank B");
    EXPECT_EQ(Form().CurrentFileName(), b);
}

TEST_F(NetworkForm, ARecentFileThatIsNoNetworkLeavesAnEmptyUnnamedDocument) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    Open(b);
    Open(a);
    WriteBytes(b, "this is not a network file");
    boxes_.Forget();
    RecentItem(2)->trigger();
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_EQ(boxes_.Texts()[0].rfind("Cannot open " + b + "\r\r", 0), 0u) << boxes_.Texts()[0];
    EXPECT_EQ(Form().Network().GetNodeCount(), 0);
    // Saving must not overwrite a with the empty document.
    EXPECT_EQ(Form().CurrentFileName(), "");
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio");
}

TEST_F(NetworkForm, RecentFileOffersToSaveChangesFirst) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    const std::string b = NetworkFile("b.vme", "Tank B");
    Open(a);
    Open(b);
    Form().MarkModified();
    boxes_.Forget();
    boxes_.AnswerYesNoCancel(TYesNoCancel::Cancel);
    RecentItem(2)->trigger();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Save changes to b.vme?"});
    EXPECT_EQ(TankName(Form()), "Tank B");
}

TEST_F(NetworkForm, CommandLineFileOpensLikeARecentFile) {
    const std::string a = NetworkFile("a.vme", "Tank A");
    Form().OpenFileFromCommandLine(a);
    EXPECT_EQ(TankName(Form()), "Tank A");
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio - a.vme");
    Form().OpenFileFromCommandLine(InProgram("gone.vme"));
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Cannot open " + InProgram("gone.vme") +
                                                       "\r\rFile may no longer exist or is not accessible?"});
}

// ---- Closing -----------------------------------------------------------------------------------------------

TEST_F(NetworkForm, ClosingWithUnsavedChangesAsks) {
    struct TCase {
        const char* name;
        TYesNoCancel answer;
        bool closes;
    };
    const TCase cases[] = {
        {"cancel keeps the window", TYesNoCancel::Cancel, false},
        {"discard", TYesNoCancel::No, true},
        {"save, then close", TYesNoCancel::Yes, true},
    };
    for (const TCase& c : cases) {
        form_.reset();
        Form().MarkModified();
        boxes_.Forget();
        boxes_.AnswerYesNoCancel(c.answer);
        const std::string target = InProgram(std::string(c.name) + ".vme");
        if (c.answer == TYesNoCancel::Yes) dialogs_.Choose(target);
        Trigger("Exit1");
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Save changes to Untitled?"}) << c.name;
        EXPECT_EQ(Form().isVisible(), !c.closes) << c.name;
        EXPECT_EQ(fs::exists(target), c.answer == TYesNoCancel::Yes) << c.name;
    }
}

TEST_F(NetworkForm, ExitWithoutChangesAsksNothing) {
    Trigger("Exit1");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_TRUE(boxes_.Shown().empty());
}

// ---- Examples --------------------------------------------------------------------------------------------------

class NetworkFormExamples : public NetworkForm {
protected:
    void SetUp() override {
        NetworkForm::SetUp();
        examples_ = InProgram("ExampleSystems");
    }

    void MakeExamples() {
        fs::create_directories(examples_);
        WriteNetworkFile(examples_ + "/b.vme", "Tank B");
        WriteNetworkFile(examples_ + "/a.vme", "Tank A");
        WriteBytes(examples_ + "/a.txt", "Three reservoirs meeting at a junction.");
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        TJPEGImage::SaveToFile(picture, examples_ + "/a.jpg");
        fs::create_directories(examples_ + "/folder.vme");  // a folder is no example
    }

    // Runs `step` on the examples dialog once it is up.
    static void WhenDialogShown(std::function<void(TExamplesForm&)> step) {
        QTimer::singleShot(0, [step] {
            auto* dialog = qobject_cast<TExamplesForm*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "the examples dialog is not shown";
                return;
            }
            step(*dialog);
        });
    }

    std::string examples_;
};

TEST_F(NetworkFormExamples, ListShowsPictureAndDescriptionAndLoadsTheChosenExample) {
    MakeExamples();
    Form();
    std::vector<std::string> listed;
    std::string firstLabel, firstText, secondLabel, secondText;
    bool firstPicture = false, secondPicture = true;
    WhenDialogShown([&](TExamplesForm& dialog) {
        for (int i = 0; i < dialog.ListBoxFilenames().count(); ++i)
            listed.push_back(dialog.ListBoxFilenames().item(i)->text().toStdString());
        firstLabel = dialog.DescriptionLabel().text().toStdString();
        firstText = dialog.Description().toPlainText().toStdString();
        firstPicture = !dialog.Picture().pixmap().isNull();
        dialog.ListBoxFilenames().setCurrentRow(1);
        secondLabel = dialog.DescriptionLabel().text().toStdString();
        secondText = dialog.Description().toPlainText().toStdString();
        secondPicture = !dialog.Picture().pixmap().isNull();
        dialog.ButtonLoad().click();
    });
    Trigger("OpenExamples1");
    EXPECT_EQ(listed, (std::vector<std::string>{"a.vme", "b.vme"}));
    EXPECT_EQ(firstLabel, "a.vme");
    EXPECT_EQ(firstText, "Three reservoirs meeting at a junction.");
    EXPECT_TRUE(firstPicture);
    EXPECT_EQ(secondLabel, "b.vme");
    EXPECT_EQ(secondText, "");  // b has no description and no picture
    EXPECT_FALSE(secondPicture);

    const std::string b = (fs::path(examples_) / "b.vme").string();
    EXPECT_EQ(TankName(Form()), "Tank B");
    EXPECT_EQ(Form().CurrentFileName(), b);
    EXPECT_EQ(Form().windowTitle(), " Velmora Studio - b.vme");
    EXPECT_EQ(Form().RecentFiles().GetFileString(1), b);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(NetworkFormExamples, ClosingTheDialogLoadsNothing) {
    MakeExamples();
    Form();
    WhenDialogShown([](TExamplesForm& dialog) { dialog.reject(); });
    Trigger("ReviewExampleSystems1");
    EXPECT_EQ(Form().Network().GetNodeCount(), 0);
    EXPECT_EQ(Form().CurrentFileName(), "");
}

TEST_F(NetworkFormExamples, AMissingFolderIsReported) {
    Trigger("OpenExamples1");  // no dialog comes up: none is answered
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kExamplesFolderMessage});
}

TEST_F(NetworkFormExamples, AnExampleThatIsNoNetworkIsReportedAndLeavesAnEmptyDocument) {
    fs::create_directories(examples_);
    WriteBytes(examples_ + "/broken.vme", "not a network");
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    boxes_.AnswerConfirm(true);  // the example question, a file being open
    WhenDialogShown([](TExamplesForm& dialog) { dialog.ButtonLoad().click(); });
    Trigger("OpenExamples1");
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{kOpenExampleQuestion, kExampleLoadMessage}));
    EXPECT_EQ(Form().Network().GetNodeCount(), 0);
    EXPECT_EQ(Form().CurrentFileName(), "");
}

TEST_F(NetworkFormExamples, ExamplesAskBeforeReplacingAnOpenFile) {
    MakeExamples();
    const std::string a = NetworkFile("a.vme", "Tank A");
    Open(a);
    boxes_.AnswerConfirm(false);
    Trigger("OpenExamples1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kOpenExampleQuestion});
    EXPECT_EQ(TankName(Form()), "Tank A");
}

// ---- Help and web page -------------------------------------------------------------------------------------------

TEST_F(NetworkForm, HelpCommandsShowTheirPages) {
    fs::create_directories(InProgram("Help"));
    for (const char* page : {THelpForm::ContentsPage, THelpForm::IndexPage, THelpForm::ThreeReservoirsPage,
                             THelpForm::StepByStepPage})
        WriteBytes(InProgram(std::string("Help/") + page), std::string("<html><body><h1>") + page + "</h1></body></html>");
    const struct {
        const char* command;
        const char* page;
    } cases[] = {{"Contents1", "Contents.htm"},
                 {"Index1", "Index.htm"},
                 {"ReviewExampleSystems2", "Example_01_Three_Reservoirs.htm"},
                 {"WalkThroughExample1", "Step_by_Step_Instructions.htm"}};
    for (const auto& c : cases) {
        Trigger(c.command);
        auto* help = Form().findChild<THelpForm*>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible()) << c.command;
        EXPECT_EQ(help->CurrentPage(), c.page) << c.command;
        EXPECT_TRUE(help->Browser().toPlainText().contains(QString::fromLatin1(c.page))) << c.command;
    }
}

TEST_F(NetworkForm, AMissingHelpPageIsReportedInTheHelpWindow) {
    Trigger("Contents1");
    auto* help = Form().findChild<THelpForm*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->Browser().toPlainText().contains("Contents.htm"));
    EXPECT_TRUE(help->Browser().toPlainText().contains("not found"));
}

TEST_F(NetworkForm, WebPageEntryOpensTheAddressOrSaysNoBrowserWasFound) {
    Trigger("WebPage1");
    EXPECT_EQ(openedAddresses_, std::vector<std::string>{"https://www.velmora.example/"});
    EXPECT_TRUE(boxes_.Shown().empty());
    browserStarts_ = false;
    Trigger("WebPage1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"No web browser could be found to view "
                                                       "https://www.velmora.example/.\r\rPlease open the address in "
                                                       "your browser."});
}

// ---- Units ---------------------------------------------------------------------------------------------------------

TEST_F(NetworkForm, UnitSystemChangeAsksAndCanBeDeclined) {
    const std::string question = "Change To Metric Units\r\rThe Units will be set as follows: \r\r" +
                                 MetricUnitsSummaryText() +
                                 "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
    boxes_.AnswerConfirm(false);
    Trigger("MetricUnits1");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(Form().Network().Settings.LengthUnit, UNIT_FT);
    EXPECT_TRUE(Form().findChild<QRadioButton*>("RadioButtonImperialUnits")->isChecked());
    EXPECT_FALSE(Form().IsModified());

    boxes_.AnswerConfirm(true);
    Form().findChild<QRadioButton*>("RadioButtonMetricUnits")->click();
    EXPECT_EQ(Form().Network().Settings.LengthUnit, UNIT_M);
    EXPECT_TRUE(Form().findChild<QRadioButton*>("RadioButtonMetricUnits")->isChecked());
    EXPECT_TRUE(Form().IsModified());  // the units travel in the file
}

TEST_F(NetworkForm, OpeningANetworkSetsTheUnitButtonsWithoutAQuestion) {
    Open(NetworkFile("a.vme", "Tank A"));  // a metric network into an imperial window
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(Form().findChild<QRadioButton*>("RadioButtonMetricUnits")->isChecked());
}

// ---- View ----------------------------------------------------------------------------------------------------------

TEST_F(NetworkForm, ZoomCommandsStepThroughTheListAndStopAtItsEnds) {
    auto* zoom = Form().findChild<QComboBox*>("ScaleComboBox1");
    Trigger("ToolButtonZoomIn");
    EXPECT_EQ(zoom->currentText(), "125%");
    EXPECT_EQ(Form().View().ViewScale, 1.25);
    for (int i = 0; i < 10; ++i) Trigger("ToolButtonZoomIn");
    EXPECT_EQ(zoom->currentText(), "400%");
    EXPECT_EQ(Form().View().ViewScale, 4.0);
    for (int i = 0; i < 20; ++i) Trigger("ToolButtonZoomOut");
    EXPECT_EQ(zoom->currentText(), "20%");
    EXPECT_EQ(Form().View().ViewScale, 0.2);
}

TEST_F(NetworkForm, WheelForwardZoomsOutBackwardZoomsInSmallTurnsDoNothing) {
    TNetworkCanvas& canvas = Form().Canvas();
    const auto turn = [&canvas](int delta) {
        QWheelEvent event(QPointF(10, 10), canvas.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    };
    turn(120);
    EXPECT_EQ(Form().View().ZoomIndex, 7);
    turn(-120);
    turn(-120);
    EXPECT_EQ(Form().View().ZoomIndex, 9);
    turn(20);
    turn(-20);
    EXPECT_EQ(Form().View().ZoomIndex, 9);
}

TEST_F(NetworkForm, FitShowsTheWholeNetworkAndTheCanvasShowsThePicture) {
    Open(NetworkFile("a.vme", "Tank A"));  // nodes at (400,400) and (560,400)
    Trigger("ToolButtonZoomIn");
    Trigger("ToolButtonZoomIn");
    Trigger("ToolButtonZoomCentre");
    const TNetworkView& view = Form().View();
    EXPECT_EQ(view.ZoomIndex, 8);
    // The join point's disc shows at its place on the canvas.
    const int px = static_cast<int>((560 - view.ViewOriginX) * view.ViewScale);
    const int py = static_cast<int>((400 - view.ViewOriginY) * view.ViewScale);
    ASSERT_TRUE(QRect(QPoint(0, 0), Form().Canvas().Image().size()).contains(px, py));
    EXPECT_EQ(Form().Canvas().Image().pixelColor(px, py), QColor(29, 250, 0));
}

TEST_F(NetworkForm, ScrollBarsMoveTheView) {
    auto* horizontal = Form().findChild<QScrollBar*>("ScrollBarHorizontal");
    auto* vertical = Form().findChild<QScrollBar*>("ScrollBarVertical");
    horizontal->setValue(1000);
    vertical->setValue(500);
    EXPECT_EQ(Form().View().ViewOriginX, 1000);
    EXPECT_EQ(Form().View().ViewOriginY, 500);
}

}  // namespace

// The default pipe's fittings button opens the fitting manager on the working
// default pipe (pipe id 0); the fitting reaches the network's default pipe only
// when the configuration dialog is accepted.
TEST_F(NetworkForm, TheDefaultPipesFittingsAreEditedInTheFittingManager) {
    fs::create_directories(fs::path(program_) / "FittingTables");
    std::ofstream(fs::path(program_) / "FittingTables" / "Vmn_Fittings.vmfi", std::ios::binary)
        << "1.02~|~~|~\r\n25~|~7~|~GATE_VALVE~|~DN25~|~1\"~|~Gate valve~|~0.18\r\n";
    Form();
    std::string pipeId, caption;
    QTimer::singleShot(0, [&] {
        TConfigForm& config = Form().ConfigForm();
        auto* fittings = config.findChild<QPushButton*>(QStringLiteral("ButtonDefaultFittings"));
        if (fittings == nullptr || !fittings->isEnabled()) return config.reject();
        QTimer::singleShot(0, [&] {
            auto* manager = Form().findChild<TFittingManagerForm*>();
            pipeId = manager->findChild<QLabel*>(QStringLiteral("LabelPipeId"))->text().toStdString();
            manager->AddDatabaseRowToPipe(1);
            manager->findChild<QPushButton*>(QStringLiteral("ButtonSave"))->click();
        });
        fittings->click();
        caption = fittings->text().toStdString();
        config.findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
    });
    Trigger("ChangeDefaultPipeData1");
    EXPECT_EQ(pipeId, "( Pipe Id: 0 )");
    EXPECT_EQ(caption, "1");
    ASSERT_EQ(Form().Network().DefaultPipe.Fittings.Count(), 1);
    EXPECT_EQ(Form().Network().DefaultPipe.Fittings.GetFitting(1).Type, "GATE_VALVE");
}
