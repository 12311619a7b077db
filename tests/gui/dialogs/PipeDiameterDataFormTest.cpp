#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "DialogTestSupport.h"
#include "LibraryDialogSupport.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "common/NetworkBuilder.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "dialogs/diameters/VM4_PipeDiameterDataForm.h"
#include "libraries/VM4_Pipe_Diameter_Library.h"
#include "model/VM4_Network_Class.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

const char* const kSteel = "Steel_ANSI_Sch40.vmpi";
constexpr double kSteelRoughness_m = 0.001772 * 0.0254;

class PipeDiameterManager : public TLibraryDialogTest {
protected:
    void SetUp() override {
        TNetworkBuilder build(network_);
        pipeId_ = build.AddPipe(build.AddJoint(0, 0), build.AddJoint(200, 0), "Main", 80.0, 0.05);
    }

    // Opens the manager on the pipe through the item dialogs, as the panel does.
    void Open(const std::function<void(QDialog&)>& act, int startMode = 0, bool metric = true) {
        TWhenDialogShown when(QStringLiteral("Pipe diameter data"), act);
        dialogs_.EditPipeDiameter(network_, pipeId_, startMode, metric);
        ASSERT_TRUE(when.Ran());
    }

    static int RowOf(QDialog& form, const std::string& nominalSize) {
        const int row = RowWithText(form, "GridSizes", nominalSize);
        EXPECT_GE(row, 0) << "no size " << nominalSize;
        return row;
    }

    static void Pick(QDialog& form, const std::string& nominalSize) {
        Child<QTableWidget>(form, "GridSizes")->setCurrentCell(RowOf(form, nominalSize), 0);
        Click(form, "ButtonUseSelectedSize");
    }

    static std::string Text(QDialog& form, const char* box) { return BoxText(form, box); }

    std::int32_t pipeId_ = 0;
};

TEST_F(PipeDiameterManager, PickingFourInchSchedule40WritesTheSizeIntoThePipe) {
    Open([&](QDialog& form) {
        EXPECT_EQ(Text(form, "EditFileName"), kSteel);
        Pick(form, "4\"");
        EXPECT_EQ(Text(form, "EditInternalDiameter"), "102.260");
        // The boxes round for display; the size saved is the table's own, in either unit system.
        Child<QRadioButton>(form, "RadioImperial")->click();
        Click(form, "ButtonSaveToPipe");
    });
    const TPipe& pipe = network_.GetPipe(pipeId_);
    EXPECT_NEAR(pipe.InnerDiameter_m, 0.10226, 1e-6);
    EXPECT_NEAR(pipe.InnerRoughness_m, kSteelRoughness_m, 1e-9);
    EXPECT_NEAR(pipe.OuterDiameter_m, 0.1143, 1e-6);
    EXPECT_NEAR(pipe.WallThickness_m, 0.00602, 1e-6);
    EXPECT_EQ(pipe.Material, "Carbon steel");
    EXPECT_EQ(pipe.Schedule, "Sch 40");
    EXPECT_EQ(pipe.NominalSize, "4\"");
    EXPECT_EQ(pipe.SizeClass, 125);
    EXPECT_EQ(pipe.DiameterDataFileName, kSteel);
    EXPECT_EQ(changes_, 1);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(PipeDiameterManager, CancelLeavesTheNetworkUntouched) {
    const std::string before = network_.SaveToBytes();
    Open([&](QDialog& form) {
        Pick(form, "4\"");
        Type(form, "EditMaterial", "Brass");
        Click(form, "ButtonCancel");
    });
    EXPECT_EQ(network_.SaveToBytes(), before);
    EXPECT_EQ(changes_, 0);
}

TEST_F(PipeDiameterManager, AMissingOutsideDiameterIsProposedAndSaved) {
    boxes_.AnswerConfirm(true);
    Open([&](QDialog& form) {
        Type(form, "EditRoughness", "0.045");
        Type(form, "EditInternalDiameter", "102.26");
        Type(form, "EditWallThickness", "6.02");
        Type(form, "EditOutsideDiameter", "");
        Click(form, "ButtonSaveToPipe");
    });
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_EQ(boxes_.Texts()[0],
              "Outside Diameter is not set.\rSet Outside Diameter to: 114.300\rbased on Internal Diameter and Wall "
              "Thickness?");
    EXPECT_NEAR(network_.GetPipe(pipeId_).OuterDiameter_m, 0.1143, 1e-9);
    EXPECT_NEAR(network_.GetPipe(pipeId_).InnerRoughness_m, 0.045e-3, 1e-12);
}

TEST_F(PipeDiameterManager, SavingWithoutRoughnessIsRefusedAndTheDialogStaysOpen) {
    const std::string before = network_.SaveToBytes();
    Open([&](QDialog& form) {
        Type(form, "EditRoughness", "0");
        Click(form, "ButtonSaveToPipe");
        EXPECT_TRUE(form.isVisible());
    });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"The Internal Roughness must be set."});
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(PipeDiameterManager, SwitchingToImperialConvertsTheBoxesAndTheGrid) {
    Open([&](QDialog& form) {
        Pick(form, "4\"");
        Child<QRadioButton>(form, "RadioImperial")->click();
        EXPECT_EQ(Text(form, "EditOutsideDiameter"), "4.500");
        EXPECT_EQ(CellText(Child<QTableWidget>(form, "GridSizes"), 3, RowOf(form, "4\"")), "4.500");
        Child<QRadioButton>(form, "RadioMetric")->click();
        EXPECT_EQ(Text(form, "EditOutsideDiameter"), "114.300");
    });
}

void AddSpecialSize(QDialog& form) {
    Click(form, "ButtonAddNewSize");
    Type(form, "EditNewNominalSize", "4\" special");
    Type(form, "EditNewInternalDiameter", "100");
    Type(form, "EditNewWallThickness", "7.15");
    Type(form, "EditNewOutsideDiameter", "114.3");
    Type(form, "EditNewWeight", "18.5");
    Click(form, "ButtonAddNewEntry");
}

TEST_F(PipeDiameterManager, AnAddedSizeIsWrittenToTheUserFileReadBackAndRemovable) {
    boxes_.AnswerConfirm(true);
    Open([&](QDialog& form) { AddSpecialSize(form); });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{
                                  "Add new pipe data to Pipe diameter database.\rProceed with this operation?"});
    EXPECT_EQ(FolderSnapshot(folders_.Program.Path()), installed_);
    const fs::path userFile = folders_.User / "PipeTables" / "Steel_ANSI_Sch40.vmpiu";
    EXPECT_NE(FileContents(userFile).find("~|~4\" special~|~0.281~|~4.500~|~"), std::string::npos)
        << FileContents(userFile);

    // A new opening reads the table from its files again.
    boxes_.Forget();
    boxes_.AnswerConfirm(true);
    Open([&](QDialog& form) {
        auto* grid = Child<QTableWidget>(form, "GridSizes");
        const int row = RowOf(form, "4\" special  *");
        ASSERT_GE(row, 0);
        // The file keeps inches to 3 decimals: the bore comes back within a few hundredths of a mm.
        EXPECT_NEAR(std::stod(CellText(grid, 1, row)), 100.0, 0.05);
        grid->setCurrentCell(row, 0);
        Click(form, "ButtonRemoveEntry");
    });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"The selected pipe size will be permanently removed.\rThis "
                                                       "action cannot be reversed.\r\rContinue with removal?"});
    EXPECT_EQ(FileContents(userFile), "1.03~|~~|~\r\n");
    EXPECT_EQ(network_.GetPipe(pipeId_).InnerDiameter_m, 0.05);
}

TEST_F(PipeDiameterManager, AMalformedUserFileIsReportedAndThePipeKept) {
    fs::create_directories(folders_.User / "PipeTables");
    WriteFile(folders_.User / "PipeTables" / "Steel_ANSI_Sch40.vmpiu",
              "1.03~|~~|~\r\nCarbon steel~|~Sch 40~|~0.001772~|~125~|~4\"~|~0.2x7~|~4.500~|~10.805\r\n");
    const std::string before = network_.SaveToBytes();
    Open([&](QDialog& form) { Click(form, "ButtonCancel"); });
    ASSERT_EQ(boxes_.Texts().size(), 2u);
    EXPECT_EQ(boxes_.Texts()[0].rfind("Code -01: Error on line number ", 0), 0u) << boxes_.Texts()[0];
    EXPECT_EQ(boxes_.Texts()[1],
              "The pipe table Steel_ANSI_Sch40.vmpi cannot be read.\rCheck the file or choose another material.");
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(PipeDiameterManager, AnUnwritableUserFileRefusesTheNewSizeAndKeepsTheFile) {
    const fs::path userFile = folders_.User / "PipeTables" / "Steel_ANSI_Sch40.vmpiu";
    fs::create_directories(userFile.parent_path());
    WriteFile(userFile, "1.03~|~~|~\r\n");
    fs::permissions(userFile, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    boxes_.AnswerConfirm(true);
    Open([&](QDialog& form) {
        const int rows = Child<QTableWidget>(form, "GridSizes")->rowCount();
        AddSpecialSize(form);
        EXPECT_EQ(Child<QTableWidget>(form, "GridSizes")->rowCount(), rows);
    });
    ASSERT_EQ(boxes_.Texts().size(), 2u);
    EXPECT_EQ(boxes_.Texts()[1], "Code -03a: Could not save file.");
    EXPECT_EQ(FileContents(userFile), "1.03~|~~|~\r\n");
}

TEST_F(PipeDiameterManager, ANewMaterialIsChosenWithoutChangingThePipeUntilSaved) {
    const std::string before = network_.SaveToBytes();
    Open(
        [&](QDialog& form) {
            EXPECT_FALSE(Child<QPushButton>(form, "ButtonSaveToPipe")->isEnabled());
            Click(form, "ButtonAddNewMaterial");
            Type(form, "EditNewMaterial", "Copper");
            Type(form, "EditNewSchedule", "Type X");
            Type(form, "EditNewRoughness", "0.0015");
            Click(form, "ButtonAddNewMaterialEntry");
            auto* tables = Child<QTableWidget>(form, "GridTables");
            ASSERT_GE(tables->currentRow(), 0);
            EXPECT_EQ(CellText(tables, 0, tables->currentRow()), "Copper");
            Click(form, "ButtonSelectMaterial");
            EXPECT_EQ(Text(form, "EditMaterial"), "Copper");
            EXPECT_EQ(Text(form, "EditInternalDiameter"), "");
            EXPECT_EQ(network_.SaveToBytes(), before);
        },
        1);
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(fs::exists(folders_.User / "PipeTables" / "UserMaterialCopper.vmpi"));
    EXPECT_EQ(FolderSnapshot(folders_.Program.Path()), installed_);
    EXPECT_EQ(network_.SaveToBytes(), before);
}

}  // namespace
