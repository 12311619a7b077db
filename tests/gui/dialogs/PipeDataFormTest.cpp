#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiEvents.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "XlsxReader.h"
#include "common/NetworkBuilder.h"
#include "dialogs/VM4_PipeDataForm.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_DataCellEdit.h"
#include "results/VM4_ResultsGrid.h"

// The grid view: typing into its cells writes the network keystroke by
// keystroke; what a cell cannot hold is refused and replaced by the network's
// value shortly after.

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kLengthColumn = 7;
constexpr int kDiameterColumn = 5;

void LetEventsRun(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

class PipeDataForm : public ::testing::Test {
protected:
    void SetUp() override {
        TNetworkBuilder build(network_);
        const std::int32_t tank = build.AddTank(400, 400, 10.0, 0.0, 2.0);
        const std::int32_t joint = build.AddJoint(600, 400, 4.0);
        pipe_ = build.AddPipe(tank, joint, "P1", 100.0, 0.1);
        build.AddPipe(joint, build.AddDemandPressure(800, 400), "P2", 50.0, 0.08);
        network_.Settings.LengthUnit = UNIT_FT;
        network_.Settings.ElevationUnit = UNIT_M;
        form_.NetworkChanged = [this] { ++changes_; };
        form_.ItemSelected = [this](std::int32_t pipeId, std::int32_t nodeId) { selected_ = {pipeId, nodeId}; };
        form_.ClearNetworkStates = [this] { ++clearedStates_; };
        form_.resize(900, 500);
        form_.Fill(network_);
        form_.show();
        QApplication::processEvents();
    }

    // Types `text` into a cell the way a user does: a key opens the cell's
    // editor, the others go to it, Enter closes it.
    void TypeIntoCell(int column, int row, const QString& text, bool pressEnter = true) {
        TResultsGrid& grid = form_.Grid();
        const QModelIndex cell = grid.model()->index(row, column);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        auto* editor = grid.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        PressKey(*editor, Qt::Key_Backspace);
        for (const QChar character : text) PressKey(*editor, 0, Qt::NoModifier, QString(character));
        if (pressEnter) PressKey(*editor, Qt::Key_Return);
    }

    std::string Cell(int column, int row) { return form_.Grid().GetCell(column, row); }

    void ShowTab(int tab) { form_.findChild<QTabBar*>(QStringLiteral("TabSetData"))->setCurrentIndex(tab); }

    TNetwork network_;
    std::int32_t pipe_ = 0;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    TPipeDataForm form_{boxes_, dialogs_};
    int changes_ = 0;
    int clearedStates_ = 0;
    std::pair<std::int32_t, std::int32_t> selected_;
};

TEST_F(PipeDataForm, ShowsTheDataTablesByTab) {
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Network Data - Grid View"));
    EXPECT_EQ(Cell(0, 0), "Pipe Id");
    EXPECT_EQ(Cell(1, kFirstDataRow), "P1");
    ShowTab(1);
    EXPECT_EQ(Cell(4, 0), "Liquid Level");
    EXPECT_EQ(Cell(1, kFirstDataRow), "Tank");
    EXPECT_EQ(Cell(1, kFirstDataRow + 1), "") << "the pipes' rows are gone";
    EXPECT_EQ(clearedStates_, 1);
}

TEST_F(PipeDataForm, EveryKeystrokeOfALengthReachesTheNetwork) {
    TypeIntoCell(kLengthColumn, kFirstDataRow, QStringLiteral("12.5"));
    EXPECT_NEAR(network_.GetPipe(pipe_).Length_m, 12.5 * 0.3048, 1e-9);
    EXPECT_EQ(changes_, 4);  // 1, 12, 12. and 12.5
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(PipeDataForm, AMinusInAnElevationIsRefusedAndTheCellReset) {
    ShowTab(1);
    const std::string stored = Cell(3, kFirstDataRow);
    TypeIntoCell(3, kFirstDataRow, QStringLiteral("-"), false);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TDataCellMessages::InvalidValue});
    LetEventsRun(TPipeDataForm::RefuseRefill_ms + 150);
    EXPECT_EQ(Cell(3, kFirstDataRow), stored);
    EXPECT_DOUBLE_EQ(network_.GetNode(1).Elevation_m, 10.0);
}

TEST_F(PipeDataForm, HeadingCellsCannotBeEdited) {
    TypeIntoCell(3, 1, QStringLiteral("x"), false);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TDataCellMessages::NotEditable});
    LetEventsRun(TPipeDataForm::RefuseRefill_ms + 150);
    EXPECT_EQ(Cell(0, 0), "Pipe Id");
    EXPECT_NE(Cell(3, 1), "x");
}

TEST_F(PipeDataForm, AZeroDiameterIsNotTakenAndTheCellShowsTheNetworksValue) {
    const std::string stored = Cell(kDiameterColumn, kFirstDataRow);
    TypeIntoCell(kDiameterColumn, kFirstDataRow, QStringLiteral("0"));
    LetEventsRun(TPipeDataForm::QuietRefill_ms + 100);
    EXPECT_DOUBLE_EQ(network_.GetPipe(pipe_).InnerDiameter_m, 0.1);
    EXPECT_EQ(Cell(kDiameterColumn, kFirstDataRow), stored);
    EXPECT_EQ(changes_, 0);
}

TEST_F(PipeDataForm, SelectingARowHighlightsItsItem) {
    form_.Grid().setCurrentIndex(form_.Grid().model()->index(kFirstDataRow + 1, 2));
    EXPECT_EQ(selected_, (std::pair<std::int32_t, std::int32_t>{2, 0}));
    ShowTab(3);
    form_.Grid().setCurrentIndex(form_.Grid().model()->index(kFirstDataRow, 2));
    EXPECT_EQ(selected_, (std::pair<std::int32_t, std::int32_t>{0, 2}));
}

// Sheet names longer than a workbook takes (31 characters) lose the program's name.
TEST_F(PipeDataForm, SavesEachTabAsAWorkbookSheet) {
    const struct {
        int Tab;
        const char* SheetName;
        const char* FirstHeading;
    } cases[] = {{0, "Velmora Studio - Pipe Data", "Pipe Id"},
                 {1, "Velmora Studio - Tank Data", "Id"},
                 {2, "End Pressure Data", "Node Id"},
                 {3, "Join Points Data", "Node Id"}};
    QTemporaryDir folder;
    for (const auto& c : cases) {
        const std::string workbook = folder.filePath(QStringLiteral("tab%1.xlsx").arg(c.Tab)).toStdString();
        ShowTab(c.Tab);
        dialogs_.Choose(workbook);
        form_.findChild<QAction*>(QStringLiteral("SaveToExcel1"))->trigger();
        ASSERT_TRUE(boxes_.Shown().empty()) << boxes_.Texts().front();
        const TXlsxSheet sheet = ReadXlsxFirstSheet(workbook);
        EXPECT_EQ(sheet.SheetNames, std::vector<std::string>{c.SheetName});
        EXPECT_EQ(sheet.Cells.at("A1"), c.FirstHeading);
    }
}

}  // namespace
