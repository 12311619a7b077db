#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "HydraulicReference.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "common/NetworkBuilder.h"
#include "common/NobodyThere.h"
#include "common/TempFolder.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "dialogs/fittings/VM4_ChooseSymbolForm.h"
#include "dialogs/fittings/VM4_KValueCalculatorForm.h"
#include "libraries/VM4_Fitting_Database.h"
#include "model/VM4_Network_Class.h"
#include "widgets/VM4_RightEdit.h"

// The fitting manager driven through its widgets, on a database of its own: a
// data folder the program never writes and a separate user folder, as an
// installed program has them.

namespace {

const char* const kStandardFile =
    "1.02~|~~|~\r\n"
    "25~|~7~|~GATE_VALVE~|~DN25~|~1\"~|~Gate valve~|~0.18\r\n"
    "25~|~0~|~ELBOW_90_STD~|~DN25~|~1\"~|~Standard elbow~|~0.69\r\n"
    "50~|~0~|~ELBOW_90_STD~|~DN50~|~2\"~|~Standard elbow~|~0.57\r\n"
    "0~|~22~|~ENTRANCE_SHARP~|~~|~~|~Sharp entrance~|~0.50\r\n"
    "0~|~-1~|~HIDDEN~|~~|~~|~Not listed~|~1.00\r\n";
const char* const kRecordFull =
    "The pipe fitting record is full.\rReturn to the design screen and \rsplit the pipe to add more fittings.";

class FittingManager : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(data_ / "FittingTables");
        WriteFileContents(standardFile(), kStandardFile);
        TNetworkBuilder build(network_);
        const std::int32_t tank = build.AddTank(0, 0, 20.0);
        pipeId_ = build.AddPipe(tank, build.AddDemandPressure(300, 0, 0.0, 0.0), "Supply", 100.0, 0.1);
        forms_.SetLibraryFolders(data_.Path(), user_.Path());
        forms_.Changed = [this] { ++changes_; };
    }

    std::filesystem::path standardFile() const { return data_ / "FittingTables" / "Vmn_Fittings.vmfi"; }
    std::filesystem::path userFile() const { return user_ / "FittingTables" / "Vmn_Fittings.vmfiu"; }
    TFittingManagerForm& form() { return forms_.FittingForm(); }

    // The manager opened on the pipe from the item dialogs, as the editor opens it.
    void Manager(const std::function<void()>& act, bool results = false) {
        WhileOpen(form(), act, "ButtonCancel", [&] { forms_.EditPipeFittings(network_, pipeId_, results); });
    }
    int rowOf(const std::string& type, const std::string& metric) {
        QTableWidget& grid = form().DatabaseGrid();
        for (int row = 0; row < grid.rowCount(); ++row)
            if (CellText(&grid, 3, row) == type && CellText(&grid, 4, row) == metric) return row + 1;
        ADD_FAILURE() << type << " " << metric << " is not listed";
        return 0;
    }
    std::vector<std::string> listedTypes() {
        std::vector<std::string> types;
        for (int row = 0; row < form().DatabaseGrid().rowCount(); ++row) types.push_back(CellText(&form().DatabaseGrid(), 3, row));
        return types;
    }

    TTempFolder data_;
    TTempFolder user_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs files_;
    TItemDialogForms forms_{boxes_, files_, nullptr};
    TNetwork network_;
    std::int32_t pipeId_ = 0;
    int changes_ = 0;
};

// The steady flow of the one pipe from the 20 m tank, by the reference
// Colebrook-White solution with the fittings' loss K V^2/2g.
double referenceFlow(const TNetwork& network, const TPipe& pipe, double totalK) {
    const double area = std::numbers::pi * pipe.InnerDiameter_m * pipe.InnerDiameter_m / 4.0;
    const TReferencePipe reference{pipe.InnerDiameter_m, pipe.InnerRoughness_m, pipe.Length_m,
                                   totalK / (19.62 * area * area)};
    const TReferenceFluid fluid{network.Fluid.Density_kg_m3, network.Fluid.DynamicViscosity_cP};
    return static_cast<double>(FindRootByBisection(
        [&](long double q) { return ReferencePipeHeadLoss_mHd(reference, fluid, q) - 20.0L; }, 1e-9L, 1.0L));
}

double solvedFlow(TNetwork& network, std::int32_t pipeId) {
    TNobodyThere nobody;
    network.UserMessages = &nobody;
    std::vector<std::string> log;
    const bool solved = network.SolveNetwork(log);
    network.UserMessages = nullptr;
    EXPECT_TRUE(solved);
    return network.GetPipe(pipeId).FlowUncompressed_m3s;
}

TEST_F(FittingManager, AFittingCopiedOntoThePipeChangesItsTotalKAndItsFlow) {
    const double bareFlow = solvedFlow(network_, pipeId_);
    EXPECT_NEAR(bareFlow, referenceFlow(network_, network_.GetPipe(pipeId_), 0.0), 1e-4 * bareFlow);
    Manager([&] {
        // Opened on the 25 mm fittings.
        EXPECT_EQ(form().DatabaseGrid().currentRow() + 1, rowOf("ELBOW_90_STD", "DN25"));
        form().AddDatabaseRowToPipe(rowOf("ELBOW_90_STD", "DN25"));
        form().SetQuantity(0, 3);
        form().AddDatabaseRowToPipe(rowOf("GATE_VALVE", "DN25"));
        EXPECT_EQ(form().TotalLabel().text(), QStringLiteral("Total K = 2.25"));
        Click(form(), "ButtonSave");
    });
    const TPipe& pipe = network_.GetPipe(pipeId_);
    ASSERT_EQ(pipe.Fittings.Count(), 2);
    EXPECT_EQ(pipe.Fittings.GetQuantity(1), 3);
    EXPECT_NEAR(pipe.Fittings.CalculateTotal_KValue(), 3 * 0.69 + 0.18, 1e-12);
    EXPECT_EQ(changes_, 1);
    const double fittedFlow = solvedFlow(network_, pipeId_);
    EXPECT_LT(fittedFlow, 0.99 * bareFlow);
    EXPECT_NEAR(fittedFlow, referenceFlow(network_, pipe, 2.25), 1e-4 * fittedFlow);
}

TEST_F(FittingManager, CancelAndResultsModeLeaveTheNetworkAsItWas) {
    const std::string before = network_.SaveToBytes();
    Manager([&] {
        form().AddDatabaseRowToPipe(rowOf("GATE_VALVE", "DN25"));
        form().SetQuantity(0, 4);
        Click(form(), "ButtonCancel");
    });
    EXPECT_EQ(network_.SaveToBytes(), before);
    Manager(
        [&] {
            EXPECT_FALSE(Child<QPushButton>(form(), "ButtonSave")->isEnabled());
            EXPECT_FALSE(form().DatabaseGrid().isEnabled());
            form().close();
        },
        true);
    EXPECT_EQ(network_.SaveToBytes(), before);
    EXPECT_EQ(changes_, 0);
}

TEST_F(FittingManager, FiveFittingTypesFillThePipeRecord) {
    Manager([&] {
        for (int i = 0; i < 5; ++i) form().AddDatabaseRowToPipe(1 + i % 4);
        EXPECT_TRUE(boxes_.Texts().empty());
        form().AddDatabaseRowToPipe(1);
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kRecordFull});
        EXPECT_EQ(form().WorkingSet().Count(), 5);
        // More of a type is still possible.
        form().SetQuantity(4, 20);
        EXPECT_EQ(form().WorkingSet().GetQuantity(5), 20);
        form().RemovePipeRow(0);
        EXPECT_EQ(form().WorkingSet().Count(), 4);
        EXPECT_EQ(form().WorkingSet().GetQuantity(4), 20);
    });
}

TEST_F(FittingManager, SortingAColumnTwiceTurnsItsOrderRound) {
    Manager([&] {
        form().SortDatabase(7);
        EXPECT_EQ(CellText(&form().DatabaseGrid(), 7, 0), "0.18");
        EXPECT_EQ(CellText(&form().DatabaseGrid(), 7, 3), "0.69");
        form().SortDatabase(7);
        EXPECT_EQ(CellText(&form().DatabaseGrid(), 7, 0), "0.69");
        EXPECT_EQ(CellText(&form().DatabaseGrid(), 7, 3), "0.18");
        // The fitting with a negative symbol is never listed.
        EXPECT_EQ(form().DatabaseGrid().rowCount(), 4);
        form().MoveToSize(8);
        EXPECT_EQ(CellText(&form().DatabaseGrid(), 4, form().DatabaseGrid().currentRow()), "DN50");
    });
}

TEST_F(FittingManager, AUserFittingIsWrittenToTheUserFolderAndReadBack) {
    const std::string shipped = FileContents(standardFile());
    Manager([&] {
        form().OpenNewFittingPanel();
        form().NewType().setText(QStringLiteral("STRAINER"));
        form().NewDescription().setText(QStringLiteral("Y strainer"));
        Choose(&form().NewMetricSize(), 8);
        form().NewK().SetValueText("2,5");
        TWhenShown inChooser(form().SymbolChooser(), [&] {
            form().SymbolChooser().SelectSymbol(36);
            form().SymbolChooser().Choose();
        });
        form().ChangeSymbol();
        EXPECT_EQ(form().NewSymbol(), 36);
        boxes_.AnswerConfirm(true);
        form().SaveNewFittingToList();
        EXPECT_FALSE(form().NewFittingPanelOpen());
        // Written only where the user's files go.
        EXPECT_EQ(FileContents(standardFile()), shipped);
        EXPECT_EQ(FileContents(userFile()),
                  "1.02~|~~|~\r\n50~|~36~|~STRAINER~|~50 mm~|~2\"~|~Y strainer~|~2.50\r\n");
    });
    TNobodyThere nobody;
    TFittingDatabase reloaded(data_ / "FittingTables", user_ / "FittingTables", nobody);
    ASSERT_TRUE(reloaded.LoadFittingDatabase());
    ASSERT_EQ(reloaded.Fittings().Count(), 6);
    const TFitting& strainer = reloaded.Fittings().GetFitting(6);
    EXPECT_EQ(strainer.Type, "STRAINER");
    EXPECT_EQ(strainer.SizeIndex, 50);
    EXPECT_NEAR(strainer.KValue, 2.5, 1e-12);
    EXPECT_EQ(reloaded.Fittings().GetFittingFileType(6), TFittingSet::kUserFile);
}

TEST_F(FittingManager, RemovingAStandardFittingAsksAndKeepsTheShippedFile) {
    const std::string shipped = FileContents(standardFile());
    Manager([&] {
        const int row = rowOf("GATE_VALVE", "DN25");
        boxes_.AnswerConfirm(false);
        form().RemoveDatabaseRow(row);
        EXPECT_EQ(form().DatabaseGrid().rowCount(), 4);
        boxes_.AnswerConfirm(true);
        form().RemoveDatabaseRow(row);
        EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>(2, "This is a standard fitting it will be permanently "
                                                                "removed.\rThis action cannot be reversed.\r\r"
                                                                "Continue with removal?")));
        EXPECT_EQ(form().DatabaseGrid().rowCount(), 3);
    });
    EXPECT_EQ(FileContents(standardFile()), shipped);
    EXPECT_TRUE(std::filesystem::exists(user_ / "FittingTables" / "Vmn_Fittings_Edited.vmfi"));
}

TEST_F(FittingManager, AMalformedUserFileIsToldAndNeverOverwritten) {
    std::filesystem::create_directories(user_ / "FittingTables");
    const std::string broken = "1.02~|~~|~\r\n50~|~2~|~PRad~|~DN50~|~2\"~|~Bend\r\n";
    WriteFileContents(userFile(), broken);
    Manager([&] {
        ASSERT_EQ(boxes_.Texts().size(), 1u);
        EXPECT_EQ(boxes_.Texts()[0].rfind("Code -01u: Error on line number 2\r\r", 0), 0u) << boxes_.Texts()[0];
        // The standard fittings are there to be used ...
        form().AddDatabaseRowToPipe(rowOf("GATE_VALVE", "DN25"));
        EXPECT_EQ(form().WorkingSet().Count(), 1);
        // ... but the database is not changed.
        form().OpenNewFittingPanel();
        form().NewK().SetValueText("1.00");
        boxes_.AnswerConfirm(true);
        form().SaveNewFittingToList();
        EXPECT_EQ(boxes_.Texts().size(), 3u);
        EXPECT_NE(boxes_.Texts()[2].find("could not be read completely"), std::string::npos);
    });
    EXPECT_EQ(FileContents(userFile()), broken);
}

TEST_F(FittingManager, AnUnwritableUserFileIsToldAndTheListStaysAsItWas) {
    std::filesystem::create_directories(user_ / "FittingTables");
    WriteFileContents(userFile(), "1.02~|~~|~\r\n");
    std::filesystem::permissions(userFile(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    Manager([&] {
        form().OpenNewFittingPanel();
        form().NewK().SetValueText("1.25");
        boxes_.AnswerConfirm(true);
        form().SaveNewFittingToList();
        ASSERT_EQ(boxes_.Texts().size(), 2u);
        EXPECT_EQ(boxes_.Texts()[1].rfind("Code -03u: Could not save file.", 0), 0u) << boxes_.Texts()[1];
        EXPECT_EQ(form().DatabaseGrid().rowCount(), 4);
    });
    EXPECT_EQ(FileContents(userFile()), "1.02~|~~|~\r\n");
}

TEST_F(FittingManager, ACalculatedFittingGoesOntoThePipe) {
    Manager([&] {
        TKValueCalculatorForm& bend = form().Calculator(TFittingManagerForm::LongPipeBend);
        TWhenShown inCalculator(bend, [&] {
            EXPECT_EQ(form().NewK().Text(), "1.00");
            Click(bend, "ButtonCreateNewFitting");
        });
        form().OpenCalculator(TFittingManagerForm::LongPipeBend);
        // r 200 on d 60 mm: column 4 of the 50 mm row.
        EXPECT_EQ(form().NewK().Text(), "0.27");
        EXPECT_EQ(form().NewType().text(), QStringLiteral("PRad"));
        EXPECT_EQ(form().NewDescription().text(), QStringLiteral("Pipe bend with specific radius"));
        EXPECT_EQ(form().NewSymbol(), 2);
        form().AddNewFittingToPipe();
        Click(form(), "ButtonSave");
    });
    const TFittingSet& fittings = network_.GetPipe(pipeId_).Fittings;
    ASSERT_EQ(fittings.Count(), 1);
    EXPECT_EQ(fittings.GetFitting(1).Type, "PRad");
    EXPECT_NEAR(fittings.CalculateTotal_KValue(), 0.27, 1e-12);
}

TEST_F(FittingManager, ANewFittingWithoutAValidKIsRefused) {
    Manager([&] {
        form().OpenNewFittingPanel();
        form().NewK().SetValueText("");
        form().AddNewFittingToPipe();
        form().SaveNewFittingToList();
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>(2, "The 'K' value is not valid"));
        EXPECT_EQ(form().WorkingSet().Count(), 0);
    });
    EXPECT_FALSE(std::filesystem::exists(userFile()));
}

}  // namespace
