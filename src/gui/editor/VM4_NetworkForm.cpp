// The main window's construction and start-up: menus, toolbars, the drawing
// area, the status bar, the first show and closing. The document commands, the
// view and the help commands live in VM4_NetworkForm_*.cpp.

#include "editor/VM4_NetworkForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_CalculatingPanel.h"
#include "editor/VM4_EditCommands.h"
#include "editor/VM4_Examples_Form.h"
#include "editor/VM4_HelpForm.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/VM4_SplashScreenForm.h"
#include "editor/VM4_ToolIcons.h"
#include "editor/tools/VM4_ToolBox.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "model/VM4_Network_Class.h"
#include "output/VM4_DrawingOutputCommands.h"
#include "platform/VM4_QtPrintDialogs.h"
#include "platform/VM4_QtUserMessages.h"
#include "platform/VM4_XdgMailClient.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_ResultsLog_Form.h"

const char* const TNetworkForm::ProgramTitle = " Velmora Studio";

namespace {

constexpr int kRecentFileCount = 4;
constexpr int kRecentFileCaptionWidth = 50;
constexpr int kHintBarWidth = 550;
constexpr int kSplashMilliseconds = 1500 + 3000;  // shown while starting, then 3 s more
constexpr int kResultsKeyWidth = 190;
constexpr int kResultsKeyHeight = 95;

std::string InFolder(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

bool OpenWithDesktop(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

void SleepFor(int milliseconds) { QThread::msleep(static_cast<unsigned long>(std::max(milliseconds, 0))); }

QLabel* MakeKeyLabel(const char* name, int top, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(8, top, kResultsKeyWidth - 12, 18);
    return label;
}

}  // namespace

TNetworkForm::TNetworkForm(const TNetworkFormServices& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      programFolder_(services.ProgramFolder),
      userFolder_(services.UserFolder.empty() ? services.ProgramFolder : services.UserFolder),
      TheNetwork(std::make_unique<TNetwork>()),
      ScreenDrawing_(kDrawingWidth, kDrawingHeight),
      RecentFiles_(InFolder(userFolder_, RecentFilesName), kRecentFileCount, kRecentFileCaptionWidth) {
    if (!services_.OpenUrl) services_.OpenUrl = OpenWithDesktop;
    if (!services_.Wait) services_.Wait = SleepFor;
    actionLog_ = std::make_unique<TActionLog>();
    if (services_.ItemDialogs == nullptr) {
        auto forms = std::make_unique<TItemDialogForms>(*services_.MessageBoxes, *services_.FileDialogs, this);
        forms->Changed = [this] { MarkModified(); };
        forms->DefaultPipeEditor = [this] { ChangeDefaultPipeData1Click(); };
        forms->SetLibraryFolders(programFolder_, userFolder_);
        ownItemDialogs_ = std::move(forms);
    }
    itemDialogs_ = services_.ItemDialogs != nullptr ? services_.ItemDialogs : ownItemDialogs_.get();
    createOutputCommands();
    toolBox_ = std::make_unique<TToolBox>(*this);
    editCommands_ = std::make_unique<TEditCommands>(*this);
    setWindowTitle(QString::fromLatin1(ProgramTitle));
    setWindowIcon(ToolIcons::AppIcon());
    createActions();
    createTopToolBar();
    createDrawingToolBar();
    createCentralArea();
    createStatusBar();
    setCommandRules();
    helpForm_ = new THelpForm(InFolder(programFolder_, HelpFolder), this);
    examplesForm_ = new TExamplesForm(*services_.MessageBoxes, InFolder(programFolder_, ExampleSystemsFolder), this);
    resultsLog_ = new TResultsLogForm(this);
    resultsTable_ = new TFormResults(*services_.MessageBoxes, *services_.FileDialogs, this);
    resultsTable_->CellSelected = [this](int tabIndex, int pipeId, int nodeId) {
        ResultsTableCellSelected(tabIndex, pipeId, nodeId);
    };
    resultsTable_->UnitsChanged = [this] { ResultsTableUnitsChanged(); };
    createDataGrid();
    createConfigForm();
    userMessages_ = std::make_unique<TQtUserMessages>(*services_.MessageBoxes);
    userMessages_->StatusShown = [this](const std::string& text) {
        PanelCalculating->StatusLabel()->setText(QString::fromStdString(text));
    };
    userMessages_->MessagesProcessed = [this] {
        if (stopRequested_) TheNetwork->StopCalculating = true;
    };
}

TNetworkForm::~TNetworkForm() = default;

void TNetworkForm::createOutputCommands() {
    if (services_.PrintDialogs == nullptr)
        ownPrintDialogs_ = std::make_unique<TQtPrintDialogs>(*services_.MessageBoxes, this);
    if (services_.MailClient == nullptr) ownMailClient_ = std::make_unique<TXdgMailClient>();
    TDrawingOutputServices output;
    output.MessageBoxes = services_.MessageBoxes;
    output.FileDialogs = services_.FileDialogs;
    output.PrintDialogs = services_.PrintDialogs != nullptr ? services_.PrintDialogs : ownPrintDialogs_.get();
    output.MailClient = services_.MailClient != nullptr ? services_.MailClient : ownMailClient_.get();
    // An installed program cannot write its own folder: the files sent go to the user's.
    output.MailFolder = userFolder_;
    output.Wait = services_.Wait;
    outputCommands_ = std::make_unique<TDrawingOutputCommands>(*this, output);
}

// ---- Menus --------------------------------------------------------------------------------------

QAction* TNetworkForm::makeAction(const char* objectName, const QString& text, void (TNetworkForm::*handler)()) {
    return makeAction(objectName, text, [this, handler] { (this->*handler)(); });
}

QAction* TNetworkForm::makeAction(const char* objectName, const QString& text, std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, std::move(handler));
    registerCommand(action, true);
    return action;
}

// Commands whose windows or tools come with later parts of the editor: present in
// the menus and toolbars so that the layout is final, but disabled until they work.
QAction* TNetworkForm::makeUnbuiltAction(const char* objectName, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setEnabled(false);
    registerCommand(action, false);
    return action;
}

void TNetworkForm::createActions() { createMenus(); }

void TNetworkForm::createMenus() {
    QStyle* style = this->style();
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* newAction = makeAction("FileNew", QStringLiteral("New..."), &TNetworkForm::FileNewClick);
    newAction->setIcon(ToolIcons::NewGrid());
    QAction* openAction = makeAction("Open1", QStringLiteral("Open..."), &TNetworkForm::Open1Click);
    openAction->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    openAction->setShortcut(QKeySequence::Open);
    QAction* saveAction = makeAction("Save1", QStringLiteral("Save"), &TNetworkForm::Save1Click);
    saveAction->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    saveAction->setShortcut(QKeySequence::Save);
    fileMenu_->addAction(newAction);
    fileMenu_->addAction(openAction);
    fileMenu_->addAction(makeAction("OpenExamples1", QStringLiteral("Open Examples..."), &TNetworkForm::OpenExamples1Click));
    fileMenu_->addSeparator();
    fileMenu_->addAction(saveAction);
    QAction* saveAsAction = makeAction("SaveAs1", QStringLiteral("Save As..."), &TNetworkForm::SaveAs1Click);
    saveAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    fileMenu_->addAction(saveAsAction);
    fileMenu_->addSeparator();
    TDrawingOutputCommands& output = *outputCommands_;
    fileMenu_->addAction(makeAction("SaveScreenImage1", QStringLiteral("Save Screen Image..."),
                                    [&output] { output.SaveScreenImage(); }));
    fileMenu_->addSeparator();
    fileMenu_->addAction(makeAction("Emai1", QStringLiteral("Email System..."), [&output] { output.EmailSystem(); }));
    fileMenu_->addAction(makeAction("EmailScreenImage1", QStringLiteral("Email Screen Image..."),
                                    [&output] { output.EmailScreenImage(); }));
    fileMenu_->addSeparator();
    QAction* print = makeAction("Print1", QStringLiteral("Print..."), [&output] { output.Print(); });
    print->setShortcut(QKeySequence::Print);
    fileMenu_->addAction(print);
    fileMenu_->addAction(makeAction("PrintSetup2", QStringLiteral("Page Setup..."), [&output] { output.PageSetup(); }));
    recentFilesSeparator_ = fileMenu_->addSeparator();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        auto* item = new QAction(QStringLiteral("Recent File %1").arg(i), this);
        item->setObjectName(QStringLiteral("RecentFile%1").arg(i));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, &TNetworkForm::RecentFileStringsClick);
        registerCommand(item, true);
        fileMenu_->addAction(item);
        recentFileActions_.push_back(item);
    }
    fileMenu_->addSeparator();
    fileMenu_->addAction(makeAction("Exit1", QStringLiteral("Exit"), &TNetworkForm::Exit1Click));

    addEditMenuCommands(menuBar()->addMenu(QStringLiteral("&Edit")));

    QMenu* units = menuBar()->addMenu(QStringLiteral("&Units"));
    units->addAction(makeAction("ImperialUnits1", QStringLiteral("Imperial Units"), &TNetworkForm::ImperialUnits1Click));
    units->addAction(makeAction("MetricUnits1", QStringLiteral("Metric Units"), &TNetworkForm::MetricUnits1Click));
    units->addAction(makeAction("ChangeUnits1", QStringLiteral("Specify Units..."), &TNetworkForm::ChangeUnits1Click));

    QMenu* fluid = menuBar()->addMenu(QStringLiteral("Fl&uid"));
    fluid->addAction(makeAction("ChangeFluid1", QStringLiteral("Change Fluid"), &TNetworkForm::ChangeFluid1Click));

    QMenu* drawing = menuBar()->addMenu(QStringLiteral("&Drawing"));
    drawing->addAction(makeAction("ChangeDefaultPipeData1", QStringLiteral("Alter Default Pipe Values"),
                                  &TNetworkForm::ChangeDefaultPipeData1Click));
    drawing->addAction(makeAction("ConfigureLabelling1", QStringLiteral("Choose Labeling Options"),
                                  &TNetworkForm::ConfigureLabelling1Click));
    drawing->addAction(makeAction("EditPipeNodeData1", QStringLiteral("Edit Pipe/Node Data in Grid"),
                                  &TNetworkForm::EditPipeNodeData1Click));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->addAction(makeAction("Preferences1", QStringLiteral("Options"), &TNetworkForm::ChangeUnits1Click));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* contents = makeAction("Contents1", QStringLiteral("Contents..."), &TNetworkForm::Contents1Click);
    contents->setShortcut(Qt::Key_F1);
    help->addAction(contents);
    help->addAction(makeAction("Index1", QStringLiteral("Index..."), &TNetworkForm::Index1Click));
    help->addSeparator();
    help->addAction(makeAction("ReviewExampleSystems2", QStringLiteral("Description of Example Systems "),
                               &TNetworkForm::ReviewExampleSystems2Click));
    help->addAction(makeAction("ReviewExampleSystems1", QStringLiteral("Load Example Systems"),
                               &TNetworkForm::OpenExamples1Click));
    help->addAction(makeAction("WalkThroughExample1", QStringLiteral("Create a System - Step by Step"),
                               &TNetworkForm::WalkThroughExample1Click));
    help->addSeparator();
    help->addAction(makeAction("WebPage1", QStringLiteral("Velmora Studio on the Web: ") + QString::fromLatin1(VendorWebAddress),
                               &TNetworkForm::WebPageClick));
    help->addSeparator();
    help->addAction(makeAction("About1", QStringLiteral("About Velmora Studio"), &TNetworkForm::About1Click));
}

// ---- Toolbars ---------------------------------------------------------------------------------------

void TNetworkForm::createTopToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("TopToolBar"));
    bar->setMovable(false);
    auto add = [bar](QAction* action, const QString& hint, const QIcon& icon) {
        action->setToolTip(hint);
        if (!icon.isNull()) action->setIcon(icon);
        bar->addAction(action);
    };
    add(findChild<QAction*>(QStringLiteral("FileNew")), QStringLiteral("New Grid"), QIcon());
    add(findChild<QAction*>(QStringLiteral("Open1")), QStringLiteral("Open File"), QIcon());
    add(findChild<QAction*>(QStringLiteral("Save1")), QStringLiteral("Save File"), QIcon());
    TDrawingOutputCommands& output = *outputCommands_;
    add(makeAction("ToolButtonEmail", QString(), [&output] { output.EmailSystem(); }),
        QStringLiteral("Email System Information"), ToolIcons::Email());
    add(makeAction("ToolButtonPrint", QString(), [&output] { output.Print(); }), QStringLiteral("Print"),
        ToolIcons::Print());
    add(makeAction("ToolButtonConfigureLabelling", QString(), &TNetworkForm::ConfigureLabelling1Click), QStringLiteral("Choose Labelling"),
        ToolIcons::Labelling());
    add(makeAction("ToolButtonConfigureUnits", QString(), &TNetworkForm::ChangeUnits1Click), QStringLiteral("Choose Units"), ToolIcons::Units());
    add(makeAction("ToolButtonEditGrid", QString(), &TNetworkForm::EditPipeNodeData1Click),
        QStringLiteral("Edit Network Data in Grid View"),
        ToolIcons::GridView());

    StatusBarHint = new QLabel(bar);
    StatusBarHint->setObjectName(QStringLiteral("StatusBarHint"));
    // Hover texts run long (a pump's line ends with its NPSHa): the bar takes the
    // toolbar's spare width, and its tooltip holds the whole text.
    StatusBarHint->setMinimumWidth(kHintBarWidth);
    StatusBarHint->setMaximumWidth(2 * kHintBarWidth);
    StatusBarHint->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    StatusBarHint->setFrameShape(QFrame::StyledPanel);
    StatusBarHint->setAutoFillBackground(true);
    SetStatusBarHint(std::string(), false);
    bar->addWidget(StatusBarHint);
    TimerStatusBarHint = new QTimer(this);
    TimerStatusBarHint->setObjectName(QStringLiteral("TimerStatusBarHint"));
    connect(TimerStatusBarHint, &QTimer::timeout, this, &TNetworkForm::TimerStatusBarHintTimer);

    BitBtnCalculate = new QPushButton(QStringLiteral("Calculate"), bar);
    BitBtnCalculate->setObjectName(QStringLiteral("BitBtnCalculate"));
    BitBtnResultsTable = new QPushButton(QStringLiteral("Results"), bar);
    BitBtnResultsTable->setObjectName(QStringLiteral("BitBtnResultsTable"));
    BitBtnShowLog = new QPushButton(QStringLiteral("Show Log"), bar);
    BitBtnShowLog->setObjectName(QStringLiteral("BitBtnShowLog"));
    BitBtnCalculate->setShortcut(Qt::Key_F9);
    connect(BitBtnCalculate, &QPushButton::clicked, this, &TNetworkForm::BitBtnCalculateClick);
    connect(BitBtnResultsTable, &QPushButton::clicked, this, &TNetworkForm::BitBtnResultsTableClick);
    connect(BitBtnShowLog, &QPushButton::clicked, this, &TNetworkForm::BitBtnShowLogClick);
    bar->addWidget(BitBtnCalculate);
    // Widgets on a toolbar are shown and hidden through their toolbar actions.
    resultsButtonAction_ = bar->addWidget(BitBtnResultsTable);
    resultsButtonAction_->setObjectName(QStringLiteral("BitBtnResultsTableItem"));
    showLogButtonAction_ = bar->addWidget(BitBtnShowLog);
    showLogButtonAction_->setObjectName(QStringLiteral("BitBtnShowLogItem"));
}

void TNetworkForm::createDrawingToolBar() {
    addToolBarBreak();
    QToolBar* bar = addToolBar(QStringLiteral("Drawing"));
    bar->setObjectName(QStringLiteral("DrawingToolBar"));
    bar->setMovable(false);
    QAction* changeFluid = makeAction("ToolButtonChangeFluid", QString(), &TNetworkForm::ChangeFluid1Click);
    changeFluid->setToolTip(QStringLiteral("Change Fluid"));
    changeFluid->setIcon(ToolIcons::ChangeFluid());
    bar->addAction(changeFluid);
    EditFluid = new QLineEdit(bar);
    EditFluid->setObjectName(QStringLiteral("EditFluid"));
    EditFluid->setReadOnly(true);
    EditFluid->setFixedWidth(260);
    EditFluid->setStyleSheet(QStringLiteral("background-color: rgb(224, 224, 240);"));
    bar->addWidget(EditFluid);
    bar->addSeparator();

    QAction* zoomOut = makeAction("ToolButtonZoomOut", QString(), &TNetworkForm::ZoomOutClick);
    zoomOut->setToolTip(QStringLiteral("Zoom Out"));
    zoomOut->setIcon(ToolIcons::ZoomOut());
    bar->addAction(zoomOut);
    ScaleComboBox1 = new QComboBox(bar);
    ScaleComboBox1->setObjectName(QStringLiteral("ScaleComboBox1"));
    ScaleComboBox1->setToolTip(QStringLiteral("Zoom Scale"));
    for (const char* entry : TNetworkView::ZoomEntries) ScaleComboBox1->addItem(QString::fromLatin1(entry));
    ScaleComboBox1->setCurrentIndex(TNetworkView::DefaultZoomIndex);
    connect(ScaleComboBox1, &QComboBox::activated, this, &TNetworkForm::ScaleComboBoxChange);
    bar->addWidget(ScaleComboBox1);
    QAction* zoomIn = makeAction("ToolButtonZoomIn", QString(), &TNetworkForm::ZoomInClick);
    zoomIn->setToolTip(QStringLiteral("Zoom In"));
    zoomIn->setIcon(ToolIcons::ZoomIn());
    bar->addAction(zoomIn);
    QAction* zoomFit = makeAction("ToolButtonZoomCentre", QString(), &TNetworkForm::ToolButtonZoomCentreClick);
    zoomFit->setToolTip(QStringLiteral("Zoom drawing to fit on screen"));
    zoomFit->setIcon(ToolIcons::ZoomFit());
    bar->addAction(zoomFit);
    bar->addSeparator();

    addToolButtons(bar);
    bar->addSeparator();
    addEditButtons(bar);
    bar->addSeparator();

    RadioButtonImperialUnits = new QRadioButton(QStringLiteral("Imperial"), bar);
    RadioButtonImperialUnits->setObjectName(QStringLiteral("RadioButtonImperialUnits"));
    RadioButtonMetricUnits = new QRadioButton(QStringLiteral("Metric"), bar);
    RadioButtonMetricUnits->setObjectName(QStringLiteral("RadioButtonMetricUnits"));
    RadioButtonImperialUnits->setChecked(true);
    // A click on the marked one changes nothing; a click on the other runs the
    // unit command, which may be declined.
    connect(RadioButtonImperialUnits, &QRadioButton::clicked, this, [this] { ImperialUnits1Click(); });
    connect(RadioButtonMetricUnits, &QRadioButton::clicked, this, [this] { MetricUnits1Click(); });
    bar->addWidget(RadioButtonImperialUnits);
    bar->addWidget(RadioButtonMetricUnits);
}

// ---- Drawing area and status bar ------------------------------------------------------------------------

void TNetworkForm::createCentralArea() {
    auto* area = new QWidget(this);
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    canvas_ = new TNetworkCanvas(area);
    canvas_->setObjectName(QStringLiteral("NetworkCanvas"));
    horizontalScrollBar_ = new QScrollBar(Qt::Horizontal, area);
    horizontalScrollBar_->setObjectName(QStringLiteral("ScrollBarHorizontal"));
    verticalScrollBar_ = new QScrollBar(Qt::Vertical, area);
    verticalScrollBar_->setObjectName(QStringLiteral("ScrollBarVertical"));
    for (QScrollBar* bar : {horizontalScrollBar_, verticalScrollBar_}) bar->setSingleStep(2);
    layout->addWidget(canvas_, 0, 0);
    layout->addWidget(verticalScrollBar_, 0, 1);
    layout->addWidget(horizontalScrollBar_, 1, 0);
    auto* outer = new QWidget(this);
    auto* sides = new QHBoxLayout(outer);
    sides->setContentsMargins(0, 0, 0, 0);
    sides->setSpacing(0);
    infoPanel_ = new TInfoPanel(*this, outer);
    sides->addWidget(infoPanel_);
    sides->addWidget(area, 1);
    setCentralWidget(outer);
    createResultsKey(area);
    createCalculatingPanel(area);

    connect(canvas_, &TNetworkCanvas::Resized, this, &TNetworkForm::CanvasResized);
    connect(canvas_, &TNetworkCanvas::WheelTurned, this, &TNetworkForm::CanvasWheel);
    connect(canvas_, &TNetworkCanvas::MouseMoved, this, &TNetworkForm::CanvasMouseMove);
    connect(canvas_, &TNetworkCanvas::MousePressed, this, &TNetworkForm::CanvasMousePressed);
    connect(canvas_, &TNetworkCanvas::MouseReleased, this, &TNetworkForm::CanvasMouseReleased);
    connect(canvas_, &TNetworkCanvas::KeyPressed, this, &TNetworkForm::CanvasKeyPressed);
    connect(horizontalScrollBar_, &QScrollBar::valueChanged, this, &TNetworkForm::HorizontalScrollBarChange);
    connect(verticalScrollBar_, &QScrollBar::valueChanged, this, &TNetworkForm::VerticalScrollBarChange);
}

// The key naming the units of the numbers drawn in results mode, over the
// drawing's top-left corner; the mouse passes through it to the drawing.
void TNetworkForm::createResultsKey(QWidget* area) {
    PanelResultsKey = new QFrame(area);
    PanelResultsKey->setObjectName(QStringLiteral("PanelResultsKey"));
    PanelResultsKey->setGeometry(0, 0, kResultsKeyWidth, kResultsKeyHeight);
    PanelResultsKey->setMinimumWidth(kResultsKeyWidth);
    PanelResultsKey->setFrameShape(QFrame::Box);
    QPalette palette = PanelResultsKey->palette();
    palette.setColor(QPalette::Window, Qt::white);
    PanelResultsKey->setPalette(palette);
    PanelResultsKey->setAutoFillBackground(true);
    PanelResultsKey->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* title = new QLabel(QStringLiteral("Velmora Studio Results"), PanelResultsKey);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setGeometry(8, 6, kResultsKeyWidth - 12, 18);
    LabelFlowResults = MakeKeyLabel("LabelFlowResults", 30, PanelResultsKey);
    LabelVelocityResults = MakeKeyLabel("LabelVelocityResults", 50, PanelResultsKey);
    LabelPressureDropResults = MakeKeyLabel("LabelPressureDropResults", 70, PanelResultsKey);
    PanelResultsKey->hide();
}

void TNetworkForm::createCalculatingPanel(QWidget* area) {
    PanelCalculating = new TCalculatingPanel(area);
    connect(PanelCalculating->StopButton(), &QPushButton::clicked, this, &TNetworkForm::ButtonStopCalculatingClick);
    TimerCalculating = new QTimer(this);
    TimerCalculating->setObjectName(QStringLiteral("TimerCalculating"));
    connect(TimerCalculating, &QTimer::timeout, this, &TNetworkForm::TimerCalculatingTimer);
}

// The panels keep their classic widths unless the desktop's font needs more for
// the grid square; the last one takes the rest of the bar, so that the solver's
// note is not cut.
void TNetworkForm::createStatusBar() {
    const int gridTextWidth = statusBar()->fontMetrics().horizontalAdvance(QStringLiteral(" Grid  X=-000  Y=-000 ")) + 8;
    const int widths[] = {201, std::max(100, gridTextWidth), 200};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setFrameShape(QFrame::StyledPanel);
        const bool last = i == 2;
        if (last)
            panel->setMinimumWidth(widths[i]);
        else
            panel->setFixedWidth(widths[i]);
        statusBar()->addWidget(panel, last ? 1 : 0);
        statusPanels_.push_back(panel);
    }
}

QString TNetworkForm::StatusPanelText(int panel) const { return statusPanels_.at(static_cast<std::size_t>(panel))->text(); }

// ---- Start-up, title, modes ----------------------------------------------------------------------------

void TNetworkForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (initialised_) return;
    if (services_.ShowSplash) {
        splashForm_ = new TSplashScreenForm(this);
        splashForm_->ShowFor(kSplashMilliseconds);
    }
    if (QScreen* desktop = screen()) setGeometry(desktop->availableGeometry());
    FormInitialise();
}

void TNetworkForm::FormInitialise() {
    initialised_ = true;
    SetTitle();
    TheNetwork->Clear();
    resultsButtonAction_->setVisible(false);
    showLogButtonAction_->setVisible(false);
    DrawingState_ = TDrawingState();
    DrawingState_.CurrentTool = TDrawingState::ToolAddPipes;
    toolBox_->SetCurrent(TDrawingState::ToolAddPipes);
    checkToolButton(TDrawingState::ToolAddPipes);
    SetCursor(TToolCursor::Arrow);
    layout()->activate();
    centralWidget()->layout()->activate();
    View_.ViewScale = 1.0;
    View_.CentreOnSheet(canvasWidth(), canvasHeight());
    View_.RescaleFromIndex(ScaleComboBox1->currentIndex(), canvasWidth(), canvasHeight());
    UnitChangeSuppressed_ = true;
    TheNetwork->SetImperialUnits();
    RadioButtonImperialUnits->setChecked(true);
    UnitChangeSuppressed_ = false;
    CurrentFileName_.clear();
    SystemsFolderName_.clear();
    RecentFiles_.LoadFile();
    showRecentFiles();
    AskBeforeUnitChange_ = true;
    UnitChangeSuppressed_ = false;
    modified_ = false;
    UpdateFluidDisplay();
    updateZoomList();
    updateScrollBars();
    RefreshScreen();
}

void TNetworkForm::SetTitle() {
    QString title = QString::fromLatin1(ProgramTitle);
    if (!CurrentFileName_.empty())
        title += QStringLiteral(" - ") +
                 QString::fromStdString(std::filesystem::path(CurrentFileName_).filename().string());
    setWindowTitle(title);
}

void TNetworkForm::ClearNetworkStates() {
    DrawingState_.SelectedNodeId = 0;
    DrawingState_.SelectedPipeId = 0;
    DrawingState_.PipeFromNodeId = 0;
    DrawingState_.PipeToNodeId = 0;
    DrawingState_.InfoPipeId = 0;
    DrawingState_.InfoPipeClickId = 0;
    DrawingState_.RubberBandOn = 0;
}

// The document must outlive the solve that runs on it: closing during a
// calculation stops it, and the window closes once the calculation has ended.
void TNetworkForm::closeEvent(QCloseEvent* event) {
    if (calculating_) {
        closeRequested_ = true;
        ButtonStopCalculatingClick();
        event->ignore();
        return;
    }
    if (!AskToSaveChanges()) {
        event->ignore();
        return;
    }
    TimerStatusBarHint->stop();
    if (splashForm_ != nullptr) splashForm_->close();
    helpForm_->close();
    event->accept();
}
