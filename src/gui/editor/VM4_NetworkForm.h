#pragma once

#include <QColor>
#include <QMainWindow>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/Recent_File_Strings_Class.h"
#include "editor/VM4_CommandEntry.h"
#include "editor/VM4_DrawingState.h"
#include "editor/VM4_MetaFileDrawing_Class.h"
#include "editor/VM4_NetworkView.h"
#include "editor/tools/VM4_EditorTool.h"
#include "editor/panel/VM4_PanelHost.h"
#include "editor/tools/VM4_ToolHost.h"

class IMessageBoxes;
class IFileDialogs;
class IItemDialogs;
class IMailClient;
class IPrintDialogs;
class TActionLog;
class TDrawingOutputCommands;
class TEditCommands;
class TToolBox;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolBar;
class TCalculatingPanel;
class TExamplesForm;
class TFormResults;
class TInfoPanel;
class THelpForm;
class TNetwork;
class TNetworkCanvas;
class TPipeDataForm;
class TConfigForm;
class TQtUserMessages;
class TResultsLogForm;
class TSplashScreenForm;

// What the main window needs from its surroundings: the desktop's boxes and
// dialogs (or scripted ones in tests), the folder that holds the program, beside
// which the recent-files list, the examples and the help pages lie, a way to open
// a web address, and whether to show the splash window at start-up.
struct TNetworkFormServices {
    IMessageBoxes* MessageBoxes = nullptr;
    IFileDialogs* FileDialogs = nullptr;
    // The item dialogs the drawing tools open; by default the application's own
    // (those not built yet say so).
    IItemDialogs* ItemDialogs = nullptr;
    // The print dialog and printer set-up, and the mail program; by default the
    // desktop's.
    IPrintDialogs* PrintDialogs = nullptr;
    IMailClient* MailClient = nullptr;
    std::string ProgramFolder;
    // Where the user's files go (the recent-files list, the networks folder);
    // empty: the program folder.
    std::string UserFolder;
    // Opens an address in the desktop's browser; false when none could be started.
    std::function<bool(const std::string&)> OpenUrl;
    bool ShowSplash = true;
    // Holds one frame of the calculation's opening animation; sleeps by default.
    std::function<void(int milliseconds)> Wait;
};

// The main window: the drawing of the one network document and the commands that
// replace, store and view it. The document lives as long as the window; New, Open,
// the recent files and the examples reuse it.
class TNetworkForm : public QMainWindow, public IToolHost, public IPanelHost {
    Q_OBJECT

public:
    // Base of the window title; the leading blank is part of it.
    static const char* const ProgramTitle;
    static constexpr const char* RecentFilesName = "RecentFiles.txt";
    static constexpr const char* DefaultSystemsFolder = "VelmoraSystems";
    static constexpr const char* ExampleSystemsFolder = "ExampleSystems";
    static constexpr const char* HelpFolder = "Help";
    static constexpr const char* VendorWebAddress = "https://www.velmora.example/";

    explicit TNetworkForm(const TNetworkFormServices& services, QWidget* parent = nullptr);
    ~TNetworkForm() override;

    // Opens a network file named on the command line, as a recent file is opened.
    void OpenFileFromCommandLine(const std::string& path);

    // Editing commands call this after every change of the document, so that
    // unsaved work is never lost without a question.
    void MarkModified() override { modified_ = true; }

    // ---- What the drawing tools may ask (VM4_NetworkForm_Editing.cpp) ----
    TNetwork& Network() override { return *TheNetwork; }
    TDrawingState& State() override;
    TActionLog& ActionLog() override;
    IMessageBoxes& Boxes() override;
    IItemDialogs& Dialogs() override;
    void Regenerate() override;
    void SetCursor(TToolCursor cursor) override;
    void PanBy(int dx, int dy) override;
    int ViewOriginX() const override;
    int ViewOriginY() const override;
    // Chooses a drawing tool, as its button does.
    void ChooseTool(std::uint8_t toolCode) override;
    // Runs one of the Edit menu's commands on the drawing.
    void RunEditCommand(void (TEditCommands::*command)());
    const TEditCommands& EditCommandsState() const { return *editCommands_; }

    // ---- State, for the window's parts and for tests ----
    const std::string& CurrentFileName() const { return CurrentFileName_; }
    bool IsModified() const { return modified_; }
    bool IsInitialised() const { return initialised_; }
    const TRecentFileStrings& RecentFiles() const { return RecentFiles_; }
    const TNetworkView& View() const { return View_; }
    const TDrawingState& DrawingState() const { return DrawingState_; }
    const TMetaFileDrawing& ScreenDrawing() const { return ScreenDrawing_; }
    TNetworkCanvas& Canvas() { return *canvas_; }
    TInfoPanel& InfoPanel() { return *infoPanel_; }
    QMenu& FileMenu() { return *fileMenu_; }
    // Printing, saved pictures and e-mail.
    TDrawingOutputCommands& OutputCommands() { return *outputCommands_; }
    QString StatusPanelText(int panel) const;
    bool ResultsMode() const override { return ResultsMode_; }
    // True while a calculation runs (the solve yields to the event loop).
    bool IsCalculating() const { return calculating_; }
    TResultsLogForm& ResultsLog() { return *resultsLog_; }
    TFormResults& ResultsTable() { return *resultsTable_; }
    TPipeDataForm& DataGrid() { return *pipeDataForm_; }
    TConfigForm& ConfigForm() { return *configForm_; }
    // The hint bar's text and background.
    QString HintText() const;
    QColor HintColour() const;

    // Shows a tool's hint on a yellow hint bar, which turns white again after
    // half a second.
    void ShowToolHint(const std::string& text);
    // Forgets the selection and whatever a tool was in the middle of.
    void ClearNetworkStates();

    // Regenerates the picture from the document and shows it, after bringing
    // the results key up to date.
    void RefreshScreen(bool drawGrid = true) override;
    // Regenerates the picture and shows it, nothing else.
    void RefreshScreenImageOnly(bool drawGrid = true);
    // Shows the picture at the view's origin and scale, without regenerating it.
    void DrawNetworkImageFromMetaFileAutomatic();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- Construction (VM4_NetworkForm.cpp) ----
    void createActions();
    void createOutputCommands();
    void createDataGrid();
    QAction* makeAction(const char* objectName, const QString& text, void (TNetworkForm::*handler)());
    QAction* makeAction(const char* objectName, const QString& text, std::function<void()> handler);
    QAction* makeUnbuiltAction(const char* objectName, const QString& text);
    void createMenus();
    void createTopToolBar();
    void createDrawingToolBar();
    void createCentralArea();
    void createStatusBar();
    void createCalculatingPanel(QWidget* area);
    void createResultsKey(QWidget* area);
    void FormInitialise();
    void SetTitle();

    // ---- Modes, hint bar, command states, mouse (VM4_NetworkForm_Modes.cpp) ----
    // What decides whether a command is available: whether its window or tool
    // exists yet (makeAction registers a built command, makeUnbuiltAction one
    // still to come), and whether it would edit the document (off in results
    // mode) or change or replace it (off while a calculation runs).
    using TCommandRule = ::TCommandRule;
    void registerCommand(QAction* action, bool built);
    std::pair<QAction*, TCommandRule>& commandEntry(const char* objectName);
    TCommandRule& commandRule(const char* objectName);
    QAction* commandAction(const char* objectName);
    void setCommandRules();
    void UpdateCommandStates();
    void SetDesignMode();
    void SetResultsMode();
    void chooseShowInfoTool();
    void SetStatusBarHint(const std::string& text, bool attention);
    void TimerStatusBarHintTimer();
    void UpdatePanelResultsKey();
    void CanvasMouseMove(int x, int y, bool leftHeld);
    void ShowResultsHover(int px, int py);
    // Writes the hover hint again in the network's current units.
    void refreshHintAfterUnitChange();
    void BitBtnResultsTableClick();
    void BitBtnShowLogClick();
    void ResultsTableCellSelected(int tabIndex, int pipeId, int nodeId);
    void ResultsTableUnitsChanged();

    // ---- Editing (VM4_NetworkForm_Editing.cpp) ----
    static const std::vector<TCommandEntry>& ToolCommands();
    static const std::vector<TCommandEntry>& EditCommands();
    QAction* makeCommand(const TCommandEntry& entry, const QString& objectName, bool withShortcut);
    void addEditMenuCommands(QMenu* menu);
    void addToolButtons(QToolBar* bar);
    void addEditButtons(QToolBar* bar);
    void checkToolButton(std::uint8_t code);
    void runGuarded(const std::function<void()>& work);
    TToolPoint toolPoint(int x, int y) const;
    void CanvasMousePressed(Qt::MouseButton button, int x, int y);
    void CanvasMouseReleased(Qt::MouseButton button, int x, int y);
    void CanvasKeyPressed(int key, Qt::KeyboardModifiers modifiers, const QString& text);

    // ---- Settings (VM4_NetworkForm_Settings.cpp) ----
    void createConfigForm();
    // The configuration dialog at `tab`; afterwards the drawing shows the new settings.
    void EditNetworkSettings(int tab);
    void ChangeUnits1Click();
    void ConfigureLabelling1Click();
    void ChangeDefaultPipeData1Click();
    // The fluid manager; in results mode it only shows the fluid.
    void ChangeFluid1Click();

    // ---- The data grid (VM4_NetworkForm_DataGrid.cpp) ----
    void EditPipeNodeData1Click();
    void DataGridItemSelected(std::int32_t pipeId, std::int32_t nodeId);
    void DataGridChanged();

    // ---- Calculate (VM4_NetworkForm_Calculate.cpp) ----
    void BitBtnCalculateClick();
    void ButtonStopCalculatingClick();
    void TimerCalculatingTimer();
    void showCalculatingPanel();
    void playCalculationAnimation();
    void showCalculationFrame(int flashParity);
    bool solveNetwork(std::vector<std::string>& log);
    void finishSolvedCalculation(std::vector<std::string>& log, bool solved);
    void finishUnsolvedCalculation(std::vector<std::string>& log, bool solved);
    void setCalculating(bool calculating);

    // ---- Document commands (VM4_NetworkForm_Document.cpp) ----
    void FileNewClick();
    void Open1Click();
    void OpenExamples1Click();
    void Save1Click();
    void SaveAs1Click();
    void RecentFileStringsClick();
    void Exit1Click();
    bool SaveFile();
    bool SaveFileAs();
    bool saveTo(const std::string& path);
    bool confirmOverwrite(const std::string& path);
    // Asks "Save changes to ...?" when there is unsaved work; false when the
    // command must stop (Cancel, or a save that did not happen).
    bool AskToSaveChanges();
    bool loadFile(const std::string& path, bool dropFromRecentWhenMissing);
    void takeOverLoadedNetwork();
    void rememberRecentFile(const std::string& path);
    void showRecentFiles();
    std::string systemsFolder() const;
    void SetUnitRadioButtonsFromNetwork();

    // ---- View (VM4_NetworkForm_View.cpp) ----
    int canvasWidth() const;
    int canvasHeight() const;
    void NetWorkImageRescaleFromIndex();
    void ToolButtonZoomCentreClick();
    void ZoomInClick();
    void ZoomOutClick();
    void ScaleComboBoxChange(int index);
    void CanvasWheel(int delta);
    void CanvasResized();
    void HorizontalScrollBarChange(int position);
    void VerticalScrollBarChange(int position);
    void updateScrollBars();
    void updateZoomList();
    void ImperialUnits1Click();
    void MetricUnits1Click();
    void changeUnitSystem(bool imperial);
    void UpdateFluidDisplay();

    // ---- Help and About (VM4_NetworkForm_Help.cpp) ----
    void Contents1Click();
    void Index1Click();
    void ReviewExampleSystems2Click();
    void WalkThroughExample1Click();
    void WebPageClick();
    void About1Click();
    void showHelpPage(const char* page);

    TNetworkFormServices services_;
    std::string programFolder_;
    std::string userFolder_;

    // ---- The document and the editor's objects ----
    std::unique_ptr<TNetwork> TheNetwork;
    TMetaFileDrawing ScreenDrawing_;
    TNetworkView View_;
    TDrawingState DrawingState_;
    std::unique_ptr<TActionLog> actionLog_;
    std::unique_ptr<IItemDialogs> ownItemDialogs_;
    IItemDialogs* itemDialogs_ = nullptr;
    std::unique_ptr<IPrintDialogs> ownPrintDialogs_;
    std::unique_ptr<IMailClient> ownMailClient_;
    std::unique_ptr<TDrawingOutputCommands> outputCommands_;
    std::unique_ptr<TToolBox> toolBox_;
    std::unique_ptr<TEditCommands> editCommands_;
    TRecentFileStrings RecentFiles_;
    std::string CurrentFileName_;
    std::string SystemsFolderName_;
    bool initialised_ = false;
    bool modified_ = false;
    bool ResultsMode_ = false;
    bool AskBeforeUnitChange_ = true;
    bool UnitChangeSuppressed_ = false;
    bool calculating_ = false;
    // Stop pressed (or the window closed) during this calculation; kept until it
    // ends, because the solve clears the network's flag when it starts.
    bool stopRequested_ = false;
    bool closeRequested_ = false;
    // The hovered selection changed while the picture could not be regenerated.
    bool hoverPictureStale_ = false;
    // Where the mouse last hovered in results mode, in drawing units.
    std::optional<QPoint> lastHover_;
    std::vector<std::pair<QAction*, TCommandRule>> commandRules_;
    std::unique_ptr<TQtUserMessages> userMessages_;

    // ---- Widgets ----
    QMenu* fileMenu_ = nullptr;
    std::vector<QAction*> recentFileActions_;
    QAction* recentFilesSeparator_ = nullptr;
    TNetworkCanvas* canvas_ = nullptr;
    TInfoPanel* infoPanel_ = nullptr;
    QScrollBar* horizontalScrollBar_ = nullptr;
    QScrollBar* verticalScrollBar_ = nullptr;
    QComboBox* ScaleComboBox1 = nullptr;
    QRadioButton* RadioButtonImperialUnits = nullptr;
    QRadioButton* RadioButtonMetricUnits = nullptr;
    QLineEdit* EditFluid = nullptr;
    QLabel* StatusBarHint = nullptr;
    QPushButton* BitBtnCalculate = nullptr;
    QPushButton* BitBtnResultsTable = nullptr;
    QPushButton* BitBtnShowLog = nullptr;
    QAction* resultsButtonAction_ = nullptr;
    QAction* showLogButtonAction_ = nullptr;
    QTimer* TimerStatusBarHint = nullptr;
    TCalculatingPanel* PanelCalculating = nullptr;
    QTimer* TimerCalculating = nullptr;
    QFrame* PanelResultsKey = nullptr;
    QLabel* LabelFlowResults = nullptr;
    QLabel* LabelVelocityResults = nullptr;
    QLabel* LabelPressureDropResults = nullptr;
    TResultsLogForm* resultsLog_ = nullptr;
    TFormResults* resultsTable_ = nullptr;
    TPipeDataForm* pipeDataForm_ = nullptr;
    TConfigForm* configForm_ = nullptr;
    std::vector<QLabel*> statusPanels_;
    THelpForm* helpForm_ = nullptr;
    TExamplesForm* examplesForm_ = nullptr;
    TSplashScreenForm* splashForm_ = nullptr;
};
