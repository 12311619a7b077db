#include "results/VM4_FormResults.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
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
#include "results/VM4_DataCellEdit.h"
#include "results/VM4_Excel_Functions.h"
#include "results/VM4_ResultsGrid.h"
#include "results/VM4_Spreadsheet_Functions.h"

const char* const TFormResults::DiameterMismatchMessage =
    "Some of the data shown on the this grid does not match. \r\rSpecifically, some of the internal diameter data "
    "does not match against \rthe wall thickness and outer diameter data. In addition,\rthis also indicates that the "
    "weight data may be incorrect.\r\rThis is likely to have happened due to direct user amendment of \rinternal "
    "diameters without use of the Pipe Database Manager.\r\rNote: All calculations of flow and pressures are "
    "performed using the\rinternal pipe diameters and are not affected by the outer diameter and \rwall thickness "
    "values.";

namespace {

constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 640;

const std::string kSaveFailed = "The results could not be saved as a workbook.\r\r";
const std::string kFillFailed = "The table could not be completed.\r\r";

// One tab: its title, how many of its first rows are headings, and the table
// that fills it, written from the grid's first row.
struct TResultsTab {
    const char* Title;
    int HeadingRows;
    void (*Fill)(const TNetwork& network, ITableGrid& grid);
};

const TResultsTab kTabs[TFormResults::TabCount] = {
    {"Pipes", 2, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeResults(g, 0); }},
    {"Fittings", 1, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFittingResults(g, 0); }},
    {"Pumps", 2, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPumpResults(g, 0); }},
    {"Nodes", 2, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridNodeResults(g, 0); }},
    {"Fluids", 2, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFluidResults(g, 0); }},
    {"Pipe Materials", 2, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeMaterialResults(g, 0); }},
    {"All Results", 1, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridAllResults(g); }},
};

}  // namespace

TFormResults::TFormResults(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent)
    : QDialog(parent), OpenWithDesktop(OpenWithDesktopProgram), boxes_(boxes), files_(files) {
    setObjectName(QStringLiteral("FormResults"));
    setWindowTitle(QString::fromLatin1(Caption));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(kInitialWidth, kInitialHeight);

    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    createMenus(*menus);
    layout->setMenuBar(menus);
    auto* toolBar = new QToolBar(this);
    createToolBar(*toolBar);
    layout->addWidget(toolBar);
    createTabs(*layout);
    grid_ = new TResultsGrid(boxes_, this);
    grid_->setObjectName(QStringLiteral("StringGridResults"));
    connect(grid_, &TResultsGrid::CellSelected, this, &TFormResults::GridSelectCell);
    layout->addWidget(grid_, 1);
    createButtons(*layout);
}

TFormResults::~TFormResults() = default;

// ---- Construction ---------------------------------------------------------------------------------

QAction* TFormResults::makeAction(const char* objectName, const QString& text, void (TFormResults::*handler)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TFormResults::createMenus(QMenuBar& bar) {
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    file->addAction(makeAction("SaveToExcel1", QStringLiteral("Save To Excel..."), &TFormResults::SaveToExcelClick));
    file->addAction(makeAction("ExportToExcel1", QStringLiteral("Export To Excel"), &TFormResults::ExportToExcelClick));
    QMenu* units = bar.addMenu(QStringLiteral("&Units"));
    units->addAction(makeAction("ImperialUnits1", QStringLiteral("Imperial Units"), &TFormResults::ImperialUnitsClick));
    units->addAction(makeAction("MetricUnits1", QStringLiteral("Metric Units"), &TFormResults::MetricUnitsClick));
    units->addAction(makeAction("SpecifyUnits1", QStringLiteral("Specify Units..."), &TFormResults::SpecifyUnitsClick));
}

void TFormResults::createToolBar(QToolBar& bar) {
    bar.setObjectName(QStringLiteral("ToolBarResults"));
    auto add = [&bar](QAction* action, const QIcon& icon) {
        action->setToolTip(action->text());
        action->setIcon(icon);
        bar.addAction(action);
    };
    add(makeAction("ToolButtonSaveResults", QStringLiteral("Save Results"), &TFormResults::SaveToExcelClick),
        style()->standardIcon(QStyle::SP_DialogSaveButton));
    add(makeAction("ToolButtonExportResults", QStringLiteral("Export Results to Excel"),
                   &TFormResults::ExportToExcelClick),
        ToolIcons::GridView());
    add(makeAction("ToolButtonChangeUnits", QStringLiteral("Change Display Units"),
                   &TFormResults::SpecifyUnitsClick), ToolIcons::Units());
}

void TFormResults::createTabs(QVBoxLayout& layout) {
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("TabSetResults"));
    tabs_->setExpanding(false);
    for (const TResultsTab& tab : kTabs) tabs_->addTab(QString::fromLatin1(tab.Title));
    connect(tabs_, &QTabBar::currentChanged, this, &TFormResults::TabChange);
    layout.addWidget(tabs_);
}

void TFormResults::createButtons(QVBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* exportButton = new QPushButton(QStringLiteral("Export to Excel"), this);
    exportButton->setObjectName(QStringLiteral("BitBtnExportToExcel"));
    exportButton->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, &TFormResults::ExportToExcelClick);
    auto* closeButton = new QPushButton(QStringLiteral("Close Results"), this);
    closeButton->setObjectName(QStringLiteral("BitBtnCloseResults"));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    row->addWidget(exportButton);
    row->addWidget(closeButton);
    layout.addLayout(row);
}

// ---- Filling ------------------------------------------------------------------------------------

void TFormResults::ShowResultsTable(TNetwork& network) {
    FillResultsTable(network);
    exec();
}

void TFormResults::FillResultsTable(TNetwork& network) {
    network_ = &network;
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(PipesTab);
    }
    refill(PipesTab);
}

void TFormResults::RefillCurrentTab() { refill(CurrentTab()); }

int TFormResults::CurrentTab() const { return tabs_->currentIndex(); }

void TFormResults::TabChange(int tab) { refill(tab); }

// Every cell is emptied first: a shorter table must not leave rows of the
// longer one before it. The tables write the notes column past the 26th, which
// is dropped again for the tables without one.
void TFormResults::refill(int tab) {
    if (network_ == nullptr || tab < 0 || tab >= TabCount) return;
    const TResultsTab& shown = kTabs[tab];
    try {
        TResultsGridUpdate update(*grid_);
        grid_->ClearCells();
        grid_->SetColCount(TResultsGrid::kInitialColCount);
        grid_->SelectCell(0, 0);
        grid_->SetFixedRows(shown.HeadingRows);
        shown.Fill(*network_, *grid_);
    } catch (const EVelmoraError& error) {
        // Units of the wrong kind in a damaged file: the table stops where it failed.
        boxes_.ShowInformation(kFillFailed + error.what());
    }
    grid_->scrollToTop();
    if (tab == PipeMaterialsTab && !network_->CheckDiameterDataMatchOk())
        boxes_.ShowInformation(DiameterMismatchMessage);
}

void TFormResults::GridSelectCell(int /*column*/, int row) {
    const int key = DataRowItemId(grid_->GetCell(0, row));
    int pipeId = 0;
    int nodeId = 0;
    switch (CurrentTab()) {
        case PipesTab:
        case FittingsTab:
        case PumpsTab:
        case PipeMaterialsTab:
            pipeId = key;
            break;
        case NodesTab:
            nodeId = key;
            break;
        default:
            break;
    }
    if (CellSelected) CellSelected(CurrentTab(), pipeId, nodeId);
}

// ---- Spreadsheet commands -----------------------------------------------------------------------

void TFormResults::SaveToExcelClick() {
    const TFileDialogRequest request{"", "", WorkbookFilter, WorkbookSuffix};
    const std::optional<std::string> file = files_.AskSaveFileName(request);
    if (!file || !confirmReplace(*file)) return;
    try {
        SaveGridAsSpreadsheet(*grid_, SheetName, std::filesystem::path(*file));
    } catch (const ESpreadsheetFunctions& error) {
        boxes_.ShowInformation(kSaveFailed + error.what());
    }
}

// The save dialog leaves the question of replacing a file to its caller.
bool TFormResults::confirmReplace(const std::string& path) {
    return ConfirmOverwrite(boxes_, path);
}

void TFormResults::ExportToExcelClick() {
    ExportGridToSpreadsheet(*grid_, SheetName, ExportColumnWidth_chars, boxes_, OpenWithDesktop);
}

// ---- Units --------------------------------------------------------------------------------------

void TFormResults::ImperialUnitsClick() { changeUnitSystem(true); }

void TFormResults::MetricUnitsClick() { changeUnitSystem(false); }

// Values are held in SI units: only the display changes, so the tab shown is
// filled again in the new units.
void TFormResults::changeUnitSystem(bool imperial) {
    if (network_ == nullptr) return;
    const std::string question = UnitSystemChangeQuestion(imperial);
    if (!boxes_.Confirm(question)) return;
    if (imperial)
        network_->SetImperialUnits();
    else
        network_->SetMetricUnits();
    RefillCurrentTab();
    if (UnitsChanged) UnitsChanged();
}

void TFormResults::SpecifyUnitsClick() {
    if (!SpecifyUnits) return;
    SpecifyUnits();
    RefillCurrentTab();
    if (UnitsChanged) UnitsChanged();
}
