#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "LibraryDialogSupport.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "foundations/VM4_UserMessages.h"
#include "editor/VM4_NetworkForm.h"
#include "libraries/VM4_Fluid_Database.h"
#include "model/VM4_Network_Class.h"

namespace {

namespace fs = std::filesystem;

class TSilentMessages : public IUserMessages {
public:
    void ShowInformation(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}
};

const char* const kIncomplete = "The fluid data is not complete.\rPlease enter missing data.";

class FluidManager : public TLibraryDialogTest {
protected:
    void Open(const std::function<void(QDialog&)>& act, bool resultsMode = false) {
        TWhenDialogShown when(QStringLiteral("Fluid data"), act);
        dialogs_.EditFluid(network_, resultsMode);
        ASSERT_TRUE(when.Ran());
    }

    static int RowOf(QDialog& form, const std::string& name) { return RowWithText(form, "GridFluids", name); }
    static std::string Text(QDialog& form, const char* box) { return BoxText(form, box); }
};

TEST_F(FluidManager, ADatabaseFluidChosenAndSavedBecomesTheNetworksFluid) {
    Open([&](QDialog& form) {
        Choose(Child<QComboBox>(form, "ComboFilter"), 0);
        auto* grid = Child<QTableWidget>(form, "GridFluids");
        const int row = RowOf(form, "Brine  *");
        ASSERT_GE(row, 0);
        grid->setCurrentCell(row, 0);
        Click(form, "ButtonUseSelectedFluid");
        EXPECT_EQ(Text(form, "EditName"), "Brine");
        Click(form, "ButtonSave");
    });
    EXPECT_EQ(network_.Fluid.Name, "Brine");
    EXPECT_NEAR(network_.Fluid.Density_kg_m3, 1100.0, 1e-9);
    EXPECT_NEAR(network_.Fluid.Temperature_K, 278.15, 1e-9);
    EXPECT_NEAR(network_.Fluid.KinematicViscosity_cSt, 2.0 / 1100.0 * 1000.0, 1e-9);
    EXPECT_EQ(changes_, 1);
}

TEST_F(FluidManager, CancelAndRefusedSavesLeaveTheNetworkUntouched) {
    const std::string before = network_.SaveToBytes();
    Open([&](QDialog& form) {
        Type(form, "EditDensity", "0");
        Click(form, "ButtonSave");
        EXPECT_TRUE(form.isVisible());
        Type(form, "EditDensity", "1000");
        Type(form, "EditTemperature", "-300.0");
        Click(form, "ButtonSave");
        Click(form, "ButtonCancel");
    });
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{kIncomplete, kIncomplete}));
    EXPECT_EQ(network_.SaveToBytes(), before);
    EXPECT_EQ(changes_, 0);
}

TEST_F(FluidManager, AVapourPressureOfNAIsSavedAsZero) {
    Open([&](QDialog& form) {
        Type(form, "EditName", "Light oil");
        Type(form, "EditVapourPressure", "N/A");
        Click(form, "ButtonSave");
    });
    EXPECT_EQ(network_.Fluid.Name, "Light oil");
    EXPECT_EQ(network_.Fluid.VapourPressure_bar_a, 0.0);
}

TEST_F(FluidManager, SwitchingUnitsConvertsThePanelBothWays) {
    Open([&](QDialog& form) {
        EXPECT_EQ(Text(form, "EditTemperature"), "20.0");
        Child<QRadioButton>(form, "RadioImperial")->click();
        EXPECT_EQ(Text(form, "EditTemperature"), "68.0");
        Child<QRadioButton>(form, "RadioMetric")->click();
        EXPECT_EQ(Text(form, "EditTemperature"), "20.0");
    });
}

TEST_F(FluidManager, InResultsModeNothingCanBeChanged) {
    Open(
        [&](QDialog& form) {
            EXPECT_FALSE(Child<QPushButton>(form, "ButtonSave")->isEnabled());
            EXPECT_TRUE(Child<QLineEdit>(form, "EditDensity")->isReadOnly());
            auto* gas = Child<QCheckBox>(form, "CheckGas");
            gas->click();
            EXPECT_EQ(gas->isChecked(), network_.Fluid.IsGas);
        },
        true);
}

TEST_F(FluidManager, AGasCalculatedForAirIsStoredAsAUserFluidAndReadBack) {
    boxes_.AnswerConfirm(true);
    TWhenDialogShown calculator(QStringLiteral("Properties of gases"), [&](QDialog& gas) {
        EXPECT_EQ(Child<QComboBox>(gas, "ComboGas")->currentText(), QStringLiteral("Air"));
        EXPECT_EQ(Text(gas, "EditTemperature"), "20.0");
        EXPECT_EQ(Text(gas, "EditGasConstant"), "287");
        EXPECT_NEAR(std::stod(Text(gas, "EditDensity")), 1.2043, 1e-4);
        EXPECT_NEAR(std::stod(Text(gas, "EditViscosity")), 0.01809, 1e-5);
        Click(gas, "ButtonAddNewEntry");
    });
    Open([&](QDialog& form) {
        Choose(Child<QComboBox>(form, "ComboFilter"), 2);
        Click(form, "ButtonCalculateGasData");
        EXPECT_GE(RowOf(form, "Air  *"), 0);
    });
    EXPECT_TRUE(calculator.Ran());
    EXPECT_EQ(boxes_.Texts(),
              std::vector<std::string>{"Add new gas data to Fluid database.\rProceed with this operation?"});
    EXPECT_EQ(FolderSnapshot(folders_.Program.Path()), installed_);

    TSilentMessages silent;
    TFluidDatabase reread(folders_.Program / "FluidTables", silent);
    reread.SetUserFolder(folders_.User / "FluidTables");
    ASSERT_TRUE(reread.LoadFluidDatabase());
    int userAir = 0;
    for (int slot = 1; slot <= reread.Fluids().Count(); ++slot) {
        const TFluidDataSet::TEntry& entry = reread.Fluids().GetFluidDataRec(slot);
        if (entry.Fluid.Name != "Air" || entry.Origin != TFluidDataSet::kUserFile) continue;
        userAir = slot;
        EXPECT_TRUE(entry.Fluid.IsGas);
        EXPECT_NEAR(entry.Fluid.Density_kg_m3, 1.204, 1e-3);
        EXPECT_NEAR(entry.Fluid.Temperature_K, 293.15, 1e-3);
    }
    EXPECT_GT(userAir, 0);
}

TEST_F(FluidManager, TheGasCalculatorRefusesConditionsOutsideItsRange) {
    TWhenDialogShown calculator(QStringLiteral("Properties of gases"), [&](QDialog& gas) {
        Type(gas, "EditTemperature", "250");
        Q_EMIT Child<QLineEdit>(gas, "EditTemperature")->editingFinished();
        EXPECT_EQ(Text(gas, "EditTemperature"), "20.0");
        EXPECT_EQ(Text(gas, "EditDensity"), "");
        EXPECT_FALSE(Child<QPushButton>(gas, "ButtonAddNewEntry")->isEnabled());
        Type(gas, "EditTemperature", "20");
        Type(gas, "EditPressure", "35");
        Q_EMIT Child<QLineEdit>(gas, "EditPressure")->editingFinished();
        EXPECT_TRUE(Child<QPushButton>(gas, "ButtonAddNewEntry")->isEnabled());
        Type(gas, "EditPressure", "35.1");
        Q_EMIT Child<QLineEdit>(gas, "EditPressure")->editingFinished();
        EXPECT_EQ(Text(gas, "EditPressure"), "0.0");
        Click(gas, "ButtonCancel");
    });
    Open([&](QDialog& form) {
        Choose(Child<QComboBox>(form, "ComboFilter"), 2);
        Click(form, "ButtonCalculateGasData");
    });
    EXPECT_EQ(boxes_.Texts(),
              (std::vector<std::string>{
                  "Properties of the gas are not \ravailable for 250 °C\rThe temperature will be reset to 20.0 °C",
                  "Properties of the gas are not \ravailable for 35.1 bar g\rThe pressure will be reset to 0.0 bar g"}));
    EXPECT_FALSE(fs::exists(folders_.User / "FluidTables" / "vmn_Fluids.vmflu"));
}

TEST_F(FluidManager, AnUnwritableUserFileRefusesTheNewFluid) {
    const fs::path userFile = folders_.User / "FluidTables" / "vmn_Fluids.vmflu";
    fs::create_directories(userFile.parent_path());
    { std::ofstream(userFile, std::ios::binary) << "1.02~|~~|~\r\n"; }
    fs::permissions(userFile, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    boxes_.AnswerConfirm(true);
    Open([&](QDialog& form) {
        Click(form, "ButtonAddNewFluidData");
        Type(form, "EditNewName", "Glycol");
        Type(form, "EditNewTemperature", "20");
        Type(form, "EditNewPressure", "0");
        Type(form, "EditNewDensity", "1040");
        Type(form, "EditNewViscosity", "2.5");
        Click(form, "ButtonAddNewEntry");
        EXPECT_EQ(RowOf(form, "Glycol  *"), -1);
    });
    ASSERT_EQ(boxes_.Texts().size(), 2u);
    EXPECT_EQ(boxes_.Texts()[1], "Code -03a: Could not save file.");
    EXPECT_EQ(FileContents(userFile), "1.02~|~~|~\r\n");
}

TEST(FluidManagerMalformed, AMalformedUserFileIsReportedAndTheDialogNotShown) {
    TLibraryFolders folders;
    fs::create_directories(folders.User / "FluidTables");
    { std::ofstream(folders.User / "FluidTables" / "vmn_Fluids.vmflu", std::ios::binary)
          << "1.02~|~~|~\r\nGlycol~|~~|~abc~|~0~|~1040~|~2.5~|~0~|~0~|~1\r\n"; }
    TScriptedMessageBoxes boxes;
    TScriptedFileDialogs files;
    TItemDialogForms dialogs(boxes, files, nullptr);
    dialogs.SetLibraryFolders(folders.Program.Path(), folders.User.Path());
    TNetwork network;
    const std::string before = network.SaveToBytes();
    TWhenDialogShown never(QStringLiteral("Fluid data"), [](QDialog&) {});
    dialogs.EditFluid(network, false);
    EXPECT_FALSE(never.Ran());
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0].rfind("Code -01: Error on line number ", 0), 0u) << boxes.Texts()[0];
    EXPECT_EQ(network.SaveToBytes(), before);
}

// The main window's "Change Fluid" command opens the manager and the fluid box
// of the toolbar shows what was saved.
TEST(FluidManagerFromTheMainWindow, TheToolbarFluidBoxShowsTheNewFluid) {
    TLibraryFolders folders;
    TScriptedMessageBoxes boxes;
    TScriptedFileDialogs files;
    TNetworkFormServices services =
        TestFormServices(boxes, files, QString::fromStdString(folders.Program.Path().string()));
    services.UserFolder = folders.User.Path().string();
    TNetworkForm form(services);
    form.show();
    TWhenDialogShown manager(QStringLiteral("Fluid data"), [&](QDialog& dialog) {
        Type(dialog, "EditName", "Sea water");
        Type(dialog, "EditDensity", "1025");
        Click(dialog, "ButtonSave");
    });
    form.findChild<QAction*>(QStringLiteral("ToolButtonChangeFluid"))->trigger();
    ASSERT_TRUE(manager.Ran());
    EXPECT_EQ(form.Network().Fluid.Name, "Sea water");
    const QString shown = form.findChild<QLineEdit*>(QStringLiteral("EditFluid"))->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral(" Sea water ("))) << shown.toStdString();
    EXPECT_TRUE(form.IsModified());
}

}  // namespace
