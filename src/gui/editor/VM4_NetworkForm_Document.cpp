// The commands that replace or store the document: New, Open, the recent
// files, the examples, Save, Save As and Exit.
//
// Unsaved work is never lost without a question: every command that replaces the
// document, and closing the window, first asks "Save changes to ...?" when the
// document was changed since it was last saved or loaded. The commands' own
// warnings about unsaved changes are still asked when there is nothing to save.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_Examples_Form.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_Units.h"
#include "foundations/VM4_SafeSave.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_OverwriteQuestion.h"

namespace {

const std::string kNewQuestion =
    "The current system will be closed. Any unsaved changes will be lost. \r\rA new grid will be created with the "
    "Fluid set to Water.\r\rDo you wish to continue with a new grid?";
const std::string kOpenQuestion =
    "Any changes to the existing system that have not been saved will be lost.\r\rDo you wish to continue to load a "
    "new system?";
const std::string kOpenExampleQuestion =
    "Any changes to the existing system that have not been saved will be lost.\r\rDo you wish to continue to load an "
    "example system?";
const std::string kCannotReplaceMessage =
    "Current network not saved.\r\rCould not remove exisitng file.\r\rPlease check the file permissions of the "
    "existing file or\rchoose 'Save As' to save the current network under a different file name.";
const std::string kNotSavedMessage = "Current network not saved.\r\r";
const std::string kCannotOpenMessage = "Cannot open ";
const std::string kMayNotExistMessage = "File may no longer exist or is not accessible?";
const std::string kSaveChangesQuestion = "Save changes to ";
const std::string kUntitledName = "Untitled";

const char* const kNetworkFilter = "Velmora Network (*.vme)";
const char* const kNetworkSuffix = "vme";

namespace fs = std::filesystem;

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    return std::ifstream(path, std::ios::binary).is_open();
}


}  // namespace

// ---- Questions ------------------------------------------------------------------------------------

bool TNetworkForm::AskToSaveChanges() {
    if (!modified_) return true;
    const std::string name = CurrentFileName_.empty() ? kUntitledName : FileNameOf(CurrentFileName_);
    switch (services_.MessageBoxes->AskYesNoCancel(kSaveChangesQuestion + name + "?")) {
        case TYesNoCancel::Yes: return SaveFile();
        case TYesNoCancel::No: return true;
        default: return false;
    }
}

bool TNetworkForm::confirmOverwrite(const std::string& path) {
    return ConfirmOverwrite(*services_.MessageBoxes, path);
}

// ---- New, Open, recent files, examples ------------------------------------------------------------------

void TNetworkForm::FileNewClick() {
    if (!AskToSaveChanges()) return;
    if (!services_.MessageBoxes->Confirm(kNewQuestion)) return;
    TheNetwork->Clear();
    TheNetwork->Fluid.SetToWater();
    actionLog_->Clear();
    DrawingState_.Clear();
    SetDesignMode();
    if (RadioButtonImperialUnits->isChecked())
        TheNetwork->SetImperialUnits();
    else
        TheNetwork->SetMetricUnits();
    CurrentFileName_.clear();
    SetTitle();
    modified_ = false;
    View_.CentreOnSheet(canvasWidth(), canvasHeight());
    View_.RescaleFromIndex(View_.ZoomIndex, canvasWidth(), canvasHeight());
    updateScrollBars();
    statusPanels_[2]->clear();
    UpdateFluidDisplay();
    RefreshScreen();
}

void TNetworkForm::Open1Click() {
    if (modified_ ? !AskToSaveChanges()
                  : !CurrentFileName_.empty() && !services_.MessageBoxes->Confirm(kOpenQuestion)) {
        RefreshScreen();
        return;
    }
    if (SystemsFolderName_.empty()) SystemsFolderName_ = DefaultSystemsFolder;
    AskBeforeUnitChange_ = false;
    const TFileDialogRequest request{systemsFolder(), "", kNetworkFilter, kNetworkSuffix};
    if (const auto chosen = services_.FileDialogs->AskOpenFileName(request)) {
        if (loadFile(*chosen, false)) takeOverLoadedNetwork();
    }
    DrawingState_.Clear();
    SetUnitRadioButtonsFromNetwork();
    SetDesignMode();
    AskBeforeUnitChange_ = true;
    RefreshScreen();
}

void TNetworkForm::RecentFileStringsClick() {
    auto* item = qobject_cast<QAction*>(sender());
    const QList<QAction*> items = fileMenu_->actions();
    const int entry = static_cast<int>(items.indexOf(item) - items.indexOf(recentFilesSeparator_));
    const std::string path = RecentFiles_.GetFileString(entry);
    if (path.empty() || !AskToSaveChanges()) return;
    if (loadFile(path, true)) {
        takeOverLoadedNetwork();
        DrawingState_.Clear();
    }
    RefreshScreen();
}

void TNetworkForm::OpenFileFromCommandLine(const std::string& path) {
    if (loadFile(path, false)) {
        takeOverLoadedNetwork();
        DrawingState_.Clear();
    }
    RefreshScreen();
}

void TNetworkForm::OpenExamples1Click() {
    if (modified_ ? !AskToSaveChanges()
                  : !CurrentFileName_.empty() && !services_.MessageBoxes->Confirm(kOpenExampleQuestion)) {
        RefreshScreen();
        return;
    }
    AskBeforeUnitChange_ = false;
    const TExampleSelection selection = examplesForm_->SelectExample(*TheNetwork);
    if (selection.Outcome == TExampleSelection::Loaded) {
        CurrentFileName_ = selection.Path;
        SetTitle();
        modified_ = false;
        rememberRecentFile(selection.Path);
        takeOverLoadedNetwork();
        DrawingState_.Clear();
    } else if (selection.Outcome == TExampleSelection::Failed) {
        // A failed load leaves the document cleared; it is no longer the file that was open.
        CurrentFileName_.clear();
        SetTitle();
        modified_ = false;
        takeOverLoadedNetwork();
    }
    AskBeforeUnitChange_ = true;
    RefreshScreen();
}

bool TNetworkForm::loadFile(const std::string& path, bool dropFromRecentWhenMissing) {
    if (!IsReadableFile(path)) {
        // Nothing was read: the document stays as it was.
        services_.MessageBoxes->ShowInformation(kCannotOpenMessage + path + "\r\r" + kMayNotExistMessage);
        if (dropFromRecentWhenMissing) {
            for (int i = 1; i <= RecentFiles_.Count(); ++i)
                if (RecentFiles_.GetFileString(i) == path) RecentFiles_.RemoveFileString(i--);
            RecentFiles_.SaveFile();
            showRecentFiles();
        }
        return false;
    }
    try {
        TheNetwork->LoadFromFile(path);
    } catch (const EVelmoraError& error) {
        // The file was read but is no network: the document is left cleared, so it
        // must not keep the name of the file that was open before.
        CurrentFileName_.clear();
        SetTitle();
        modified_ = false;
        services_.MessageBoxes->ShowInformation(kCannotOpenMessage + path + "\r\r" + error.what());
        takeOverLoadedNetwork();
        return false;
    }
    CurrentFileName_ = path;
    SetTitle();
    modified_ = false;
    rememberRecentFile(path);
    return true;
}

// What every command that puts a new document in place does afterwards.
void TNetworkForm::takeOverLoadedNetwork() {
    // The record refers to the previous document's nodes and pipes by id.
    actionLog_->Clear();
    statusPanels_[2]->clear();
    ToolButtonZoomCentreClick();
    SetUnitRadioButtonsFromNetwork();
    SetDesignMode();
    UpdateFluidDisplay();
    AskBeforeUnitChange_ = true;
}

void TNetworkForm::SetUnitRadioButtonsFromNetwork() {
    UnitChangeSuppressed_ = true;
    const int lengthUnit = TheNetwork->Settings.LengthUnit;
    const bool metric = lengthUnit == UNIT_M || lengthUnit == UNIT_MM || lengthUnit == UNIT_KM;
    RadioButtonMetricUnits->setChecked(metric);
    RadioButtonImperialUnits->setChecked(!metric);
    UnitChangeSuppressed_ = false;
}

void TNetworkForm::showRecentFiles() {
    const auto first = fileMenu_->actions().indexOf(recentFileActions_.front());
    RecentFiles_.ShowRecentFileStringsOnMenu(*fileMenu_, static_cast<int>(first));
}

void TNetworkForm::rememberRecentFile(const std::string& path) {
    RecentFiles_.AddFileString(path);
    RecentFiles_.SaveFile();  // a list that cannot be written is only not remembered
    showRecentFiles();
}

// ---- Save, Save As, Exit ----------------------------------------------------------------------------------

void TNetworkForm::Save1Click() { SaveFile(); }

void TNetworkForm::SaveAs1Click() { SaveFileAs(); }

bool TNetworkForm::SaveFile() {
    if (CurrentFileName_.empty()) return SaveFileAs();
    const bool saved = confirmOverwrite(CurrentFileName_) && saveTo(CurrentFileName_);
    if (saved) rememberRecentFile(CurrentFileName_);
    RefreshScreen();
    return saved;
}

// The folder for the user's networks in the user folder, made when first needed.
// A folder that cannot be written to leaves the dialogs to choose.
std::string TNetworkForm::systemsFolder() const {
    const fs::path folder = fs::path(userFolder_) / DefaultSystemsFolder;
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder.string();
}

bool TNetworkForm::SaveFileAs() {
    const std::string folder =
        CurrentFileName_.empty() ? systemsFolder() : fs::path(CurrentFileName_).parent_path().string();
    const TFileDialogRequest request{folder, FileNameOf(CurrentFileName_), kNetworkFilter, kNetworkSuffix};
    const auto chosen = services_.FileDialogs->AskSaveFileName(request);
    bool saved = false;
    if (chosen && confirmOverwrite(*chosen) && saveTo(*chosen)) {
        CurrentFileName_ = *chosen;
        SetTitle();
        rememberRecentFile(*chosen);
        saved = true;
    }
    RefreshScreen();
    return saved;
}

// The core's safe save writes a temporary file and renames it over the target
// only when complete, so a failure leaves the previous file as it was.
bool TNetworkForm::saveTo(const std::string& path) {
    if (IsWriteProtected(path)) {
        services_.MessageBoxes->ShowInformation(kCannotReplaceMessage);
        return false;
    }
    try {
        TheNetwork->SaveToFile(path);
    } catch (const EVelmoraError& error) {
        services_.MessageBoxes->ShowInformation(kNotSavedMessage + error.what());
        return false;
    }
    modified_ = false;
    return true;
}

void TNetworkForm::Exit1Click() { close(); }
