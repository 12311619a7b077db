#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "GuiEvents.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TableTestSupport.h"
#include "XlsxReader.h"
#include "common/NetworkBuilder.h"
#include "common/NobodyThere.h"
#include "common/TempFolder.h"
#include "foundations/VM4_UserMessages.h"
#include "foundations/VM4_Units.h"
#include "results/VM4_Excel_Functions.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_MemoryGrid.h"
#include "results/VM4_ResultsGrid.h"
#include "results/VM4_Spreadsheet_Functions.h"

// The results table window: each tab holds exactly the core's table, the ids a
// selected row stands for reach the main window, the tables go to a workbook
// and to the spreadsheet program, and the unit systems can be switched.

namespace {

namespace fs = std::filesystem;

const std::string kSheetName = "Velmora Studio - Results";
const std::string kCannotWrite =
    "Could not create sheet and copy data to Excel.\r\rThere may be an issue with Excel on this machine?";
const std::string kDiameterMismatch =
    "Some of the data shown on the this grid does not match. \r\rSpecifically, some of the internal diameter data "
    "does not match against \rthe wall thickness and outer diameter data. In addition,\rthis also indicates that the "
    "weight data may be incorrect.\r\rThis is likely to have happened due to direct user amendment of \rinternal "
    "diameters without use of the Pipe Database Manager.\r\rNote: All calculations of flow and pressures are "
    "performed using the\rinternal pipe diameters and are not affected by the outer diameter and \rwall thickness "
    "values.";
const std::string kUnitTail = "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
const std::string kReplaceQuestion = "File already exists. Do wish to overwrite? \r";


// A tank feeding two end nodes through a join point, solved by the engine, its
// pipes' walls and outer diameters in agreement with their bores.
struct TSolvedNetwork {
    TSolvedNetwork() {
        TNetworkBuilder builder(Network);
        const std::int32_t tank = builder.AddTank(100, 100, 10.0, 0.0, 2.0);
        const std::int32_t joint = builder.AddJoint(300, 100, 0.0);
        const std::int32_t east = builder.AddDemandPressure(500, 100, 0.0, 0.0);
        const std::int32_t south = builder.AddDemandPressure(300, 300, 0.5, 1.0);
        Pipes = {builder.AddPipe(tank, joint, "Main", 100.0, 0.1), builder.AddPipe(joint, east, "East", 50.0, 0.05),
                 builder.AddPipe(joint, south, "South", 80.0, 0.05)};
        for (std::int32_t id : Pipes) {
            TPipe& pipe = Network.GetPipe(id);
            pipe.WallThickness_m = 0.004;
            pipe.OuterDiameter_m = pipe.InnerDiameter_m + 2 * pipe.WallThickness_m;
        }
        TNobodyThere nobody;
        Network.UserMessages = &nobody;
        std::vector<std::string> log;
        Solved = Network.SolveNetwork(log);
        Network.UserMessages = nullptr;
    }

    TNetwork Network;
    std::vector<std::int32_t> Pipes;
    bool Solved = false;
};

using TFill = void (*)(const TNetwork&, ITableGrid&);

// The table as the core writes it into a fresh grid of the window's size.
TMemoryGrid CoreTable(const TNetwork& network, TFill fill) {
    TMemoryGrid table(26, 2000);
    fill(network, table);
    return table;
}

// Every cell, the row and column counts and the widths the table sets.
::testing::AssertionResult SameTable(const ITableGrid& shown, const ITableGrid& expected) {
    if (shown.RowCount() != expected.RowCount())
        return ::testing::AssertionFailure() << shown.RowCount() << " rows, expected " << expected.RowCount();
    if (shown.ColCount() != expected.ColCount())
        return ::testing::AssertionFailure() << shown.ColCount() << " columns, expected " << expected.ColCount();
    for (int row = 0; row < expected.RowCount(); ++row)
        for (int column = 0; column < expected.ColCount(); ++column)
            if (shown.GetCell(column, row) != expected.GetCell(column, row))
                return ::testing::AssertionFailure()
                       << "cell (" << column << ", " << row << ") is \"" << shown.GetCell(column, row) << "\", expected \""
                       << expected.GetCell(column, row) << "\"";
    for (int column : {0, 1})
        if (shown.ColumnWidth(column) != expected.ColumnWidth(column))
            return ::testing::AssertionFailure() << "column " << column << " is " << shown.ColumnWidth(column)
                                                 << " wide, expected " << expected.ColumnWidth(column);
    return ::testing::AssertionSuccess();
}

class FormResults : public ::testing::Test {
protected:
    TFormResults& Form() {
        if (!form_) {
            form_ = std::make_unique<TFormResults>(boxes, dialogs);
            form_->OpenWithDesktop = [this](const std::string& path) {
                opened.push_back(path);
                if (fs::exists(path)) openedBytes = FileContents(path);
                return desktopOpens;
            };
        }
        return *form_;
    }

    QTabBar& Tabs() { return *Form().findChild<QTabBar*>(QStringLiteral("TabSetResults")); }
    void ChooseTab(int tab) { Tabs().setCurrentIndex(tab); }

    void Trigger(const char* action) {
        QAction* found = Form().findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }

    // A click on the cell, on whichever view shows it.
    void ClickCell(int column, int row) {
        TResultsGrid& grid = Form().Grid();
        QTableView& view = row < grid.FixedRows() ? grid.HeadingRowsView() : static_cast<QTableView&>(grid);
        ClickAt(*view.viewport(), view.visualRect(grid.model()->index(row, column)).center());
    }

    TScriptedMessageBoxes boxes;
    TScriptedFileDialogs dialogs;
    std::vector<std::string> opened;
    std::string openedBytes;
    bool desktopOpens = true;

private:
    std::unique_ptr<TFormResults> form_;
};

TEST_F(FormResults, CaptionTabsMenusToolbarAndButtons) {
    EXPECT_EQ(Form().windowTitle().toStdString(), "Velmora Studio - Results");
    std::vector<std::string> tabs;
    for (int i = 0; i < Tabs().count(); ++i) tabs.push_back(Tabs().tabText(i).toStdString());
    EXPECT_EQ(tabs, (std::vector<std::string>{"Pipes", "Fittings", "Pumps", "Nodes", "Fluids", "Pipe Materials",
                                              "All Results"}));
    struct TCommand {
        const char* Name;
        const char* Text;
        bool Enabled;
    };
    for (const TCommand& c : {TCommand{"SaveToExcel1", "Save To Excel...", true},
                              TCommand{"ExportToExcel1", "Export To Excel", true},
                              TCommand{"ImperialUnits1", "Imperial Units", true},
                              TCommand{"MetricUnits1", "Metric Units", true},
                              TCommand{"SpecifyUnits1", "Specify Units...", true},
                              TCommand{"ToolButtonSaveResults", "Save Results", true},
                              TCommand{"ToolButtonExportResults", "Export Results to Excel", true},
                              TCommand{"ToolButtonChangeUnits", "Change Display Units", true}}) {
        QAction* action = Form().findChild<QAction*>(QString::fromLatin1(c.Name));
        ASSERT_NE(action, nullptr) << c.Name;
        EXPECT_EQ(action->text().toStdString(), c.Text);
        EXPECT_EQ(action->isEnabled(), c.Enabled) << c.Name;
    }
    EXPECT_EQ(Form().findChild<QPushButton*>("BitBtnExportToExcel")->text().toStdString(), "Export to Excel");
    EXPECT_EQ(Form().findChild<QPushButton*>("BitBtnCloseResults")->text().toStdString(), "Close Results");
}

TEST_F(FormResults, FillShowsThePipeResultsOfTheSolvedNetworkCellForCell) {
    TSolvedNetwork solved;
    ASSERT_TRUE(solved.Solved);
    ChooseTab(TFormResults::NodesTab);  // before any network: nothing to fill, nothing breaks
    Form().FillResultsTable(solved.Network);
    EXPECT_EQ(Form().CurrentTab(), TFormResults::PipesTab);
    const TMemoryGrid expected =
        CoreTable(solved.Network, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeResults(g, 0); });
    EXPECT_TRUE(SameTable(Form().Grid(), expected));
    EXPECT_EQ(Form().Grid().GetCell(0, 2), std::to_string(solved.Pipes[0])) << "data from row 2";
    EXPECT_NE(Form().Grid().GetCell(8, 2), "") << "a flow was written";
    EXPECT_EQ(Form().Grid().FixedRows(), 2);
    EXPECT_EQ(Form().Grid().SelectedColumn(), 0);
    EXPECT_EQ(Form().Grid().SelectedRow(), 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

struct TTabCase {
    int Tab;
    const char* Title;
    int HeadingRows;
    TFill Fill;
};

void PrintTo(const TTabCase& c, std::ostream* out) { *out << c.Title; }

class FormResultsTabs : public FormResults, public ::testing::WithParamInterface<TTabCase> {};

// After the longest table (all results), each tab must show its own table and
// nothing of the one before; and again after the shortest (the fluid).
TEST_P(FormResultsTabs, EachTabHoldsExactlyItsTableWithItsHeadingRows) {
    TTableNetwork table;
    Form().FillResultsTable(table.Network);
    const TTabCase& c = GetParam();
    for (int before : {int(TFormResults::AllResultsTab), int(TFormResults::FluidsTab)}) {
        if (before == c.Tab) continue;
        ChooseTab(before);
        Form().Grid().SelectCell(3, 5);
        ChooseTab(c.Tab);
        ASSERT_EQ(Form().CurrentTab(), c.Tab);
        EXPECT_TRUE(SameTable(Form().Grid(), CoreTable(table.Network, c.Fill))) << "after tab " << before;
        EXPECT_EQ(Form().Grid().FixedRows(), c.HeadingRows);
        EXPECT_EQ(Form().Grid().SelectedColumn(), 0);
        EXPECT_EQ(Form().Grid().SelectedRow(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, FormResultsTabs,
    ::testing::Values(
        TTabCase{TFormResults::PipesTab, "Pipes", 2,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeResults(g, 0); }},
        TTabCase{TFormResults::FittingsTab, "Fittings", 1,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFittingResults(g, 0); }},
        TTabCase{TFormResults::PumpsTab, "Pumps", 2,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPumpResults(g, 0); }},
        TTabCase{TFormResults::NodesTab, "Nodes", 2,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridNodeResults(g, 0); }},
        TTabCase{TFormResults::FluidsTab, "Fluids", 2,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridFluidResults(g, 0); }},
        TTabCase{TFormResults::PipeMaterialsTab, "PipeMaterials", 2,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeMaterialResults(g, 0); }},
        TTabCase{TFormResults::AllResultsTab, "AllResults", 1,
                 [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridAllResults(g); }}),
    [](const ::testing::TestParamInfo<TTabCase>& info) { return std::string(info.param.Title); });

TEST_F(FormResults, ShowResultsTableOpensModallyOnThePipesTabFilledAfresh) {
    TTableNetwork table;
    Form().FillResultsTable(table.Network);
    ChooseTab(TFormResults::NodesTab);
    boxes.Forget();  // the pipe materials of this network disagree; not the point here
    bool checked = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(Form().isVisible());
        EXPECT_TRUE(Form().isModal());
        EXPECT_EQ(Form().CurrentTab(), TFormResults::PipesTab);
        EXPECT_EQ(Form().Grid().GetCell(0, 0), "Pipe Id");
        EXPECT_EQ(Form().Grid().GetCell(1, 2), "Suction");
        checked = true;
        Form().findChild<QPushButton*>("BitBtnCloseResults")->click();
    });
    Form().ShowResultsTable(table.Network);
    EXPECT_TRUE(checked);
    EXPECT_FALSE(Form().isVisible());
}

struct TSelectionCase {
    int Tab;
    int Column;
    int Row;
    const char* What;
    int TTableNetwork::*PipeId;  // nullptr: 0
    int TTableNetwork::*NodeId;
};

TEST_F(FormResults, SelectingACellPassesTheIdsOfItsRowForTheTab) {
    TTableNetwork table;
    // Pipes rows: Suction, Pump Line, Bypass, then the closed Old Main. Fittings:
    // Suction, the three fittings of Pump Line, Bypass. Pumps: Pump Line, Bypass.
    // Nodes in id order: tank, joint, end pressure, outlet.
    const TSelectionCase cases[] = {
        {TFormResults::PipesTab, 4, 3, "a pipe's row", &TTableNetwork::PumpLine, nullptr},
        {TFormResults::PipesTab, 2, 5, "the closed pipe", &TTableNetwork::OldMain, nullptr},
        {TFormResults::PipesTab, 3, 0, "a heading", nullptr, nullptr},
        {TFormResults::FittingsTab, 5, 2, "a pipe's first fitting", &TTableNetwork::PumpLine, nullptr},
        {TFormResults::FittingsTab, 5, 3, "its second fitting", nullptr, nullptr},
        {TFormResults::PumpsTab, 1, 3, "a pump's row", &TTableNetwork::Bypass, nullptr},
        {TFormResults::NodesTab, 6, 5, "a node's row", nullptr, &TTableNetwork::Outlet},
        {TFormResults::NodesTab, 0, 1, "the units row", nullptr, nullptr},
        {TFormResults::FluidsTab, 2, 2, "the fluid", nullptr, nullptr},
        {TFormResults::PipeMaterialsTab, 3, 2, "a pipe's materials", &TTableNetwork::Suction, nullptr},
        {TFormResults::AllResultsTab, 0, 8, "a pipe id on all results", nullptr, nullptr},
    };
    std::vector<std::vector<int>> calls;
    Form().CellSelected = [&calls](int tab, int pipeId, int nodeId) { calls.push_back({tab, pipeId, nodeId}); };
    Form().FillResultsTable(table.Network);
    Form().show();
    for (const TSelectionCase& c : cases) {
        ChooseTab(c.Tab);
        boxes.Forget();
        calls.clear();
        ClickCell(c.Column, c.Row);
        const int pipe = c.PipeId ? table.*c.PipeId : 0;
        const int node = c.NodeId ? table.*c.NodeId : 0;
        ASSERT_EQ(calls.size(), 1u) << c.What;
        EXPECT_EQ(calls[0], (std::vector<int>{c.Tab, pipe, node})) << c.What;
    }
    // The case of all results must have hit a pipe's id, or it proves nothing.
    EXPECT_EQ(Form().Grid().GetCell(0, 8), std::to_string(table.Suction));
}

TEST_F(FormResults, TypingIntoTheTableIsRefused) {
    TTableNetwork table;
    Form().FillResultsTable(table.Network);
    Form().Grid().SelectCell(1, 2);
    PressKey(Form().Grid(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{TResultsGrid::kReadOnlyMessage});
    EXPECT_EQ(Form().Grid().GetCell(1, 2), "Suction");
}

TEST_F(FormResults, SaveToExcelWritesTheTableAsAWorkbook) {
    TTableNetwork table;
    TTempFolder folder;
    Form().FillResultsTable(table.Network);
    const fs::path file = folder / "results.xlsx";
    dialogs.Choose(file.string());
    Trigger("SaveToExcel1");
    ASSERT_EQ(dialogs.SaveRequests().size(), 1u);
    EXPECT_EQ(dialogs.SaveRequests()[0].Filter, "Velmora Results Workbook (*.xlsx)");
    EXPECT_EQ(dialogs.SaveRequests()[0].DefaultSuffix, "xlsx");
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(FileContents(file).substr(0, 2), "PK");
    const TXlsxSheet sheet = ReadXlsxFirstSheet(file);
    EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{kSheetName});
    EXPECT_EQ(sheet.Cells.at("A1"), "Pipe Id");
    EXPECT_EQ(sheet.Cells.at("B3"), "Suction");
    EXPECT_TRUE(boxes.Shown().empty());

    // The toolbar's "Save Results" is the same command.
    const fs::path second = folder / "second.xlsx";
    dialogs.Choose(second.string());
    Trigger("ToolButtonSaveResults");
    EXPECT_TRUE(fs::exists(second));
}

TEST_F(FormResults, SaveToExcelAsksBeforeReplacingAFile) {
    TTableNetwork table;
    TTempFolder folder;
    Form().FillResultsTable(table.Network);
    const fs::path file = folder / "results.xlsx";
    WriteFileContents(file, "an older workbook");

    dialogs.Choose(file.string());
    boxes.AnswerConfirm(false);
    Trigger("SaveToExcel1");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kReplaceQuestion});
    EXPECT_EQ(FileContents(file), "an older workbook");

    dialogs.Choose(file.string());
    boxes.AnswerConfirm(true);
    Trigger("SaveToExcel1");
    EXPECT_EQ(FileContents(file).substr(0, 2), "PK");

    dialogs.Cancel();
    Trigger("SaveToExcel1");
    EXPECT_EQ(boxes.Shown().size(), 2u) << "a cancelled dialog asks nothing more";
}

TEST_F(FormResults, ASaveThatFailsSaysWhyAndLeavesNoFile) {
    TTableNetwork table;
    TTempFolder folder;
    Form().FillResultsTable(table.Network);
    const fs::path file = folder / "no such folder" / "results.xlsx";
    dialogs.Choose(file.string());
    Trigger("SaveToExcel1");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Kind, TScriptedMessageBoxes::TKind::Information);
    const std::string& text = boxes.Shown()[0].Text;
    EXPECT_EQ(text.rfind("The results could not be saved as a workbook.\r\rSaveGridAsSpreadsheet Failed: ", 0), 0u)
        << text;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(FolderListing(folder.Path()), "");
}

// Exports go to the temporary folder; the tests point it at a folder of their own.
class TTemporaryFolderOverride {
public:
    explicit TTemporaryFolderOverride(const fs::path& folder) : saved_(qgetenv("TMPDIR")), had_(qEnvironmentVariableIsSet("TMPDIR")) {
        qputenv("TMPDIR", QByteArray::fromStdString(folder.string()));
    }
    ~TTemporaryFolderOverride() {
        if (had_)
            qputenv("TMPDIR", saved_);
        else
            qunsetenv("TMPDIR");
    }

private:
    QByteArray saved_;
    bool had_;
};

TEST_F(FormResults, ExportOpensAWorkbookOfTheWholeTableWithTheDesktopsProgram) {
    TTableNetwork table;
    TTempFolder temporary;
    const TTemporaryFolderOverride override(temporary.Path());
    Form().FillResultsTable(table.Network);
    Trigger("ExportToExcel1");
    ASSERT_EQ(opened.size(), 1u);
    const fs::path workbook = opened[0];
    EXPECT_EQ(workbook.extension(), ".xlsx");
    EXPECT_EQ(workbook.parent_path().parent_path(), temporary.Path());
    ASSERT_TRUE(fs::exists(workbook)) << "left for the spreadsheet program, which reads it later";
    EXPECT_EQ(openedBytes.substr(0, 2), "PK");
    const TXlsxSheet sheet = ReadXlsxFirstSheet(workbook);
    EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{kSheetName});
    EXPECT_EQ(sheet.Cells.at("A1"), "Pipe Id");
    EXPECT_EQ(sheet.Shown("A6"), std::to_string(table.OldMain)) << "grid row 5 is sheet row 6";
    EXPECT_EQ(sheet.Numbers.count("A6"), 1u) << "a pipe id is a number a spreadsheet can use";
    ASSERT_FALSE(sheet.ColumnWidths.empty());
    for (const TXlsxSheet::TColumnRange& range : sheet.ColumnWidths) {
        // 14 characters at 7 px plus 5 px of cell padding, stored as 103 / 7 characters.
        EXPECT_NEAR(range.Width, 103.0 / 7.0, 0.01);
        EXPECT_EQ(range.First, 1);
        EXPECT_EQ(range.Last, Form().Grid().ColCount());
    }
    EXPECT_TRUE(boxes.Shown().empty());

    // The button and the toolbar run the same command.
    Form().findChild<QPushButton*>("BitBtnExportToExcel")->click();
    Trigger("ToolButtonExportResults");
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_NE(opened[1], opened[0]) << "each export in a file of its own";
}

TEST_F(FormResults, ExportWithoutASpreadsheetProgramSaysWhereTheWorkbookIs) {
    TTableNetwork table;
    TTempFolder temporary;
    const TTemporaryFolderOverride override(temporary.Path());
    Form().FillResultsTable(table.Network);
    desktopOpens = false;
    Trigger("ExportToExcel1");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(openedBytes.substr(0, 2), "PK") << "the workbook was written before it was handed over";
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{ExportNotOpenedMessage(opened[0])});
    // The only "Excel" left is the name of the command that saves the table.
    std::string text = boxes.Texts()[0];
    text.erase(text.find("Save To Excel..."), std::string("Save To Excel...").size());
    EXPECT_EQ(text.find("Excel"), std::string::npos) << "no program is named: " << text;
    EXPECT_EQ(boxes.Texts()[0].find("The results were written to the workbook\r" + opened[0] + "\r\r"), 0u);
    // The workbook stays where the message says, whole.
    ASSERT_TRUE(fs::exists(opened[0]));
    EXPECT_EQ(ReadXlsxFirstSheet(opened[0]).SheetNames, std::vector<std::string>{kSheetName});
}

TEST(ExportGridToSpreadsheet, AWorkbookThatCannotBeWrittenIsReportedAndNotOpened) {
    TTempFolder temporary;
    const TTemporaryFolderOverride override(temporary.Path());
    TScriptedMessageBoxes boxes;
    TMemoryGrid grid(26, 28);
    grid.SetCell(0, 0, "Pipe Id");
    bool opened = false;
    const bool exported = ExportGridToSpreadsheet(grid, "Results: [all]", 14.0, boxes, [&opened](const std::string&) {
        opened = true;
        return true;
    });
    EXPECT_FALSE(exported);
    EXPECT_FALSE(opened);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kCannotWrite});
    EXPECT_EQ(FolderListing(temporary.Path()), "");
}

TEST_F(FormResults, UnitChangeConvertsTheTableShownAndTellsTheMainWindow) {
    TSolvedNetwork solved;
    ASSERT_TRUE(solved.Solved);
    solved.Network.SetMetricUnits();
    int unitChanges = 0;
    Form().UnitsChanged = [&unitChanges] { ++unitChanges; };
    Form().FillResultsTable(solved.Network);
    ChooseTab(TFormResults::NodesTab);
    const std::string metricFlowUnit = Form().Grid().GetCell(11, 1);  // "Total Flow Out" of the tank
    const std::string metricFlow = Form().Grid().GetCell(11, 2);

    boxes.AnswerConfirm(true);
    Trigger("ImperialUnits1");
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"Change To Imperial Units\r\rThe Units will be set as follows: \r\r" +
                                       ImperialUnitsSummaryText() + kUnitTail});
    EXPECT_EQ(unitChanges, 1);
    EXPECT_EQ(Form().CurrentTab(), TFormResults::NodesTab) << "the tab shown stays";
    EXPECT_NE(Form().Grid().GetCell(11, 1), metricFlowUnit);
    EXPECT_NE(Form().Grid().GetCell(11, 2), metricFlow);
    TNetworkSettings imperial;
    imperial.SetImperialUnits();
    EXPECT_EQ(solved.Network.Settings.FlowRateUnit, imperial.FlowRateUnit);
    EXPECT_TRUE(SameTable(Form().Grid(), CoreTable(solved.Network, [](const TNetwork& n, ITableGrid& g) {
                              n.PopulateStringGridNodeResults(g, 0);
                          })));

    boxes.Forget();
    boxes.AnswerConfirm(true);
    Trigger("MetricUnits1");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Change To Metric Units\r\rThe Units will be set as follows: \r\r" +
                                                      MetricUnitsSummaryText() + kUnitTail});
    EXPECT_EQ(Form().Grid().GetCell(11, 2), metricFlow);
    EXPECT_EQ(unitChanges, 2);
}

TEST_F(FormResults, UnitChangeDeclinedChangesNothing) {
    TSolvedNetwork solved;
    solved.Network.SetMetricUnits();
    int unitChanges = 0;
    Form().UnitsChanged = [&unitChanges] { ++unitChanges; };
    Form().FillResultsTable(solved.Network);
    TMemoryGrid before(26, 2000);
    for (int row = 0; row < Form().Grid().RowCount(); ++row)
        for (int column = 0; column < Form().Grid().ColCount(); ++column)
            before.SetCell(column, row, Form().Grid().GetCell(column, row));
    before.SetRowCount(Form().Grid().RowCount());
    before.SetColumnWidth(0, Form().Grid().ColumnWidth(0));
    before.SetColumnWidth(1, Form().Grid().ColumnWidth(1));
    const std::uint8_t flowUnit = solved.Network.Settings.FlowRateUnit;
    Form().Grid().SelectCell(4, 3);

    for (const char* command : {"MetricUnits1", "ImperialUnits1"}) {
        boxes.AnswerConfirm(false);
        Trigger(command);
    }
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(unitChanges, 0);
    EXPECT_EQ(solved.Network.Settings.FlowRateUnit, flowUnit);
    EXPECT_TRUE(SameTable(Form().Grid(), before));
    EXPECT_EQ(Form().Grid().SelectedRow(), 3) << "not even refilled";
}

TEST_F(FormResults, ATableThatCannotBeWrittenInTheNetworksUnitsIsReportedAndTheWindowGoesOn) {
    TSolvedNetwork solved;
    solved.Network.Settings.FlowRateUnit = 200;  // as read from a damaged file
    std::string coreError;
    try {
        CoreTable(solved.Network, [](const TNetwork& n, ITableGrid& g) { n.PopulateStringGridPipeResults(g, 0); });
    } catch (const EVelmoraError& error) {
        coreError = error.what();
    }
    ASSERT_FALSE(coreError.empty()) << "the core must refuse the unit for this test to mean anything";
    Form().FillResultsTable(solved.Network);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The table could not be completed.\r\r" + coreError});
    ChooseTab(TFormResults::FluidsTab);
    EXPECT_EQ(Form().Grid().GetCell(1, 2), solved.Network.Fluid.Name) << "tables without flows still fill";
}

TEST_F(FormResults, PipeMaterialsWarnWhenBoresDisagreeWithWallsAndOuterDiameters) {
    TSolvedNetwork solved;
    Form().FillResultsTable(solved.Network);
    ChooseTab(TFormResults::PipeMaterialsTab);
    EXPECT_TRUE(boxes.Shown().empty()) << "diameters agree";

    ChooseTab(TFormResults::PipesTab);
    TPipe& east = solved.Network.GetPipe(solved.Pipes[1]);
    east.InnerDiameter_m += 0.002;  // a bore typed in by hand
    ChooseTab(TFormResults::PipeMaterialsTab);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Kind, TScriptedMessageBoxes::TKind::Information);
    EXPECT_EQ(boxes.Shown()[0].Text, kDiameterMismatch);
    EXPECT_EQ(Form().Grid().GetCell(1, 3), "East") << "the table is still shown";

    boxes.Forget();
    ChooseTab(TFormResults::NodesTab);
    EXPECT_TRUE(boxes.Shown().empty()) << "only the pipe materials tab warns";
}

}  // namespace
