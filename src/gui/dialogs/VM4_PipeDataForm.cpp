#include "dialogs/VM4_PipeDataForm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>

#include "editor/VM4_ToolIcons.h"
#include "foundations/VM4_Errors.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_OverwriteQuestion.h"
#include "results/VM4_Excel_Functions.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_ResultsGrid.h"
#include "results/VM4_Spreadsheet_Functions.h"

namespace {

constexpr int kInitialWidth = 900;
constexpr int kInitialHeight = 600;
constexpr int kHeadingRows = 2;
constexpr std::size_t kMaxSheetNameLength = 31;
constexpr const char* kProgramPrefix = "Velmora Studio - ";

const std::string kSaveFailed = "The data could not be saved as a workbook.\r\r";
const std::string kFillFailed = "The table could not be completed.\r\r";

struct TDataTab {
    const char* Title;
    const char* SheetName;
    TDataTable Table;
    int (TNetwork::*Fill)(ITableGrid& grid, int headerRow) const;
};

const TDataTab kTabs[TPipeDataForm::TabCount] = {
    {"Pipes", "Velmora Studio - Pipe Data", TDataTable::Pipes, &TNetwork::PopulateStringGridPipeData},
    {"Tanks", "Velmora Studio - Tank Data", TDataTable::Tanks, &TNetwork::PopulateStringGridTankData},
    {"End Pressures", "Velmora Studio - End Pressure Data", TDataTable::EndPressures,
     &TNetwork::PopulateStringGridEndPressureData},
    {"Join Points", "Velmora Studio - Join Points Data", TDataTable::JoinPoints,
     &TNetwork::PopulateStringGridJointData},
};

}  // namespace

TPipeDataForm::TPipeDataForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent)
    : QDialog(parent),
      OpenWithDesktop(OpenWithDesktopProgram),
      boxes_(boxes),
      files_(files),
      grid_(new TResultsGrid(boxes, this)),
      refillTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("PipeDataForm"));
    setWindowTitle(QString::fromLatin1(Caption));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(kInitialWidth, kInitialHeight);
    refillTimer_->setObjectName(QStringLiteral("TimerRefill"));
    refillTimer_->setSingleShot(true);
    connect(refillTimer_, &QTimer::timeout, this, &TPipeDataForm::RefillTimerFired);

    auto* layout = new QVBoxLayout(this);
    createMenusAndToolBar(*layout);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("TabSetData"));
    tabs_->setExpanding(false);
    for (const TDataTab& tab : kTabs) tabs_->addTab(QString::fromLatin1(tab.Title));
    connect(tabs_, &QTabBar::currentChanged, this, &TPipeDataForm::TabChange);
    layout->addWidget(tabs_);
    layout->addWidget(new QLabel(QStringLiteral("Changes to the values in the grid will be applied immediately."), this));

    grid_->setObjectName(QStringLiteral("StringGridData"));
    grid_->SetEditable(true);
    connect(grid_, &TResultsGrid::CellSelected, this, &TPipeDataForm::GridSelectCell);
    connect(grid_, &TResultsGrid::CellTextEdited, this, &TPipeDataForm::GridCellEdited);
    connect(grid_, &TResultsGrid::CellEditEnded, this, &TPipeDataForm::GridCellEditEnded);
    layout->addWidget(grid_, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(new QLabel(QStringLiteral("Update Network Data -"), this));
    auto* done = new QPushButton(QStringLiteral("OK - Changes complete"), this);
    done->setObjectName(QStringLiteral("BitBtnChangesComplete"));
    done->setAutoDefault(false);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(done);
    layout->addLayout(row);
}

// The grid outlives this part of the window: an editor it closes while the
// window is being destroyed must not report to a form that is already gone.
TPipeDataForm::~TPipeDataForm() { disconnect(grid_, nullptr, this, nullptr); }

// ---- Construction ---------------------------------------------------------------------------------

QAction* TPipeDataForm::makeAction(const char* objectName, const QString& text, void (TPipeDataForm::*handler)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TPipeDataForm::createMenusAndToolBar(QVBoxLayout& layout) {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(makeAction("SaveToExcel1", QStringLiteral("Save To Excel..."), &TPipeDataForm::SaveToExcelClick));
    file->addAction(makeAction("ExportToExcel1", QStringLiteral("Export To Excel"), &TPipeDataForm::ExportToExcelClick));
    QMenu* units = bar->addMenu(QStringLiteral("&Units"));
    units->addAction(makeAction("ImperialUnits1", QStringLiteral("Imperial Units"), &TPipeDataForm::ImperialUnitsClick));
    units->addAction(makeAction("MetricUnits1", QStringLiteral("Metric Units"), &TPipeDataForm::MetricUnitsClick));
    specifyUnits_ = makeAction("SpecifyUnits1", QStringLiteral("Specify Units..."), &TPipeDataForm::SpecifyUnitsClick);
    units->addAction(specifyUnits_);
    layout.setMenuBar(bar);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBarData"));
    auto add = [tools](QAction* action, const QIcon& icon) {
        action->setToolTip(action->text());
        action->setIcon(icon);
        tools->addAction(action);
    };
    add(makeAction("ToolButtonSaveResults", QStringLiteral("Save Results"), &TPipeDataForm::SaveToExcelClick),
        style()->standardIcon(QStyle::SP_DialogSaveButton));
    add(makeAction("ToolButtonExportResults", QStringLiteral("Export Results to Excel"),
                   &TPipeDataForm::ExportToExcelClick),
        ToolIcons::GridView());
    changeDisplayUnits_ =
        makeAction("ToolButtonChangeUnits", QStringLiteral("Change Display Units"), &TPipeDataForm::SpecifyUnitsClick);
    add(changeDisplayUnits_, ToolIcons::Units());
    layout.addWidget(tools);
}

void TPipeDataForm::showEvent(QShowEvent* event) {
    // The units page belongs to the configuration window, which the main window may offer.
    specifyUnits_->setEnabled(static_cast<bool>(SpecifyUnits));
    changeDisplayUnits_->setEnabled(static_cast<bool>(SpecifyUnits));
    QDialog::showEvent(event);
}

// ---- Filling ------------------------------------------------------------------------------------

void TPipeDataForm::ShowNetworkDataGrid(TNetwork& network) {
    Fill(network);
    exec();
    refillTimer_->stop();
}

void TPipeDataForm::Fill(TNetwork& network) {
    network_ = &network;
    SelectTab(0);
    RefillCurrentTab();
}

int TPipeDataForm::CurrentTab() const { return tabs_->currentIndex(); }

void TPipeDataForm::SelectTab(int tab) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(tab);
}

TDataTable TPipeDataForm::currentTable() const { return kTabs[CurrentTab()].Table; }

// Workbooks take sheet names of at most 31 characters; the two longer names keep
// what tells the sheets apart.
std::string TPipeDataForm::sheetName() const {
    const std::string name = kTabs[CurrentTab()].SheetName;
    return name.size() <= kMaxSheetNameLength ? name : name.substr(std::string(kProgramPrefix).size());
}

// Every cell is emptied first: a table of fewer rows must not leave those of the
// one before.
void TPipeDataForm::RefillCurrentTab() {
    refillTimer_->stop();
    if (network_ == nullptr) return;
    try {
        TResultsGridUpdate update(*grid_);
        grid_->ClearCells();
        grid_->SetFixedRows(kHeadingRows);
        (network_->*kTabs[CurrentTab()].Fill)(*grid_, 0);
    } catch (const EVelmoraError& error) {
        boxes_.ShowInformation(kFillFailed + error.what());
    }
}

void TPipeDataForm::TabChange(int /*tab*/) {
    RefillCurrentTab();
    grid_->SelectCell(0, 0);
    if (ClearNetworkStates) ClearNetworkStates();
}

void TPipeDataForm::startRefill(int milliseconds) { refillTimer_->start(milliseconds); }

void TPipeDataForm::RefillTimerFired() { RefillCurrentTab(); }

void TPipeDataForm::changed() {
    if (NetworkChanged) NetworkChanged();
}

// ---- Typing into cells ----------------------------------------------------------------------------

void TPipeDataForm::GridCellEdited(int column, int row, const QString& text) {
    if (network_ == nullptr) return;
    const std::int32_t itemId = DataRowItemId(grid_->GetCell(0, row));
    lastOutcome_ = ApplyDataCellEdit(*network_, currentTable(), itemId, column, text.toStdString());
    switch (lastOutcome_) {
        case TCellEditOutcome::Applied: changed(); break;
        case TCellEditOutcome::Unchanged: break;
        case TCellEditOutcome::NotEditable:
            boxes_.ShowInformation(TDataCellMessages::NotEditable);
            startRefill(RefuseRefill_ms);
            break;
        case TCellEditOutcome::InvalidValue:
            boxes_.ShowInformation(TDataCellMessages::InvalidValue);
            startRefill(RefuseRefill_ms);
            break;
        case TCellEditOutcome::RefillSoon: startRefill(RefuseRefill_ms); break;
        case TCellEditOutcome::RefillAtOnce: startRefill(QuietRefill_ms); break;
        case TCellEditOutcome::Failed:
            boxes_.ShowInformation(TDataCellMessages::InvalidValue);
            RefillCurrentTab();
            changed();
            break;
    }
}

// A cell left empty, or with a value the network did not take (a zero diameter),
// shows the network's value again rather than something that is not there.
void TPipeDataForm::GridCellEditEnded(int /*column*/, int /*row*/) {
    if (lastOutcome_ == TCellEditOutcome::Unchanged) startRefill(QuietRefill_ms);
    lastOutcome_ = TCellEditOutcome::Unchanged;
}

void TPipeDataForm::GridSelectCell(int /*column*/, int row) {
    const std::int32_t key = DataRowItemId(grid_->GetCell(0, row));
    const bool pipes = currentTable() == TDataTable::Pipes;
    if (ItemSelected) ItemSelected(pipes ? key : 0, pipes ? 0 : key);
}

// ---- Spreadsheet commands -----------------------------------------------------------------------

void TPipeDataForm::SaveToExcelClick() {
    const TFileDialogRequest request{"", "", TFormResults::WorkbookFilter, TFormResults::WorkbookSuffix};
    const std::optional<std::string> file = files_.AskSaveFileName(request);
    if (!file) return;
    if (!ConfirmOverwrite(boxes_, *file)) return;
    try {
        SaveGridAsSpreadsheet(*grid_, sheetName(), std::filesystem::path(*file));
    } catch (const ESpreadsheetFunctions& error) {
        boxes_.ShowInformation(kSaveFailed + error.what());
    }
}

void TPipeDataForm::ExportToExcelClick() {
    ExportGridToSpreadsheet(*grid_, sheetName(), TFormResults::ExportColumnWidth_chars, boxes_, OpenWithDesktop);
}

// ---- Units --------------------------------------------------------------------------------------

void TPipeDataForm::ImperialUnitsClick() { changeUnitSystem(true); }

void TPipeDataForm::MetricUnitsClick() { changeUnitSystem(false); }

void TPipeDataForm::changeUnitSystem(bool imperial) {
    if (network_ == nullptr || !boxes_.Confirm(UnitSystemChangeQuestion(imperial))) return;
    if (imperial)
        network_->SetImperialUnits();
    else
        network_->SetMetricUnits();
    RefillCurrentTab();
    changed();
}

void TPipeDataForm::SpecifyUnitsClick() {
    if (!SpecifyUnits) return;
    SpecifyUnits();
    RefillCurrentTab();
    changed();
}
