#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GuiEvents.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "WhenShown.h"
#include "common/NetworkBuilder.h"
#include "dialogs/config/VM4_ConfigForm.h"
#include "dialogs/config/VM4_ConfigPipeDefaultsPage.h"
#include "dialogs/config/VM4_ConfigUnitsPage.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "widgets/VM4_RightEdit.h"

// The configuration dialog: units, pressure reference and atmosphere, presets,
// labelling, the default pipe and its copy onto pipes, calculation options;
// nothing but the copy reaches the network before OK.

namespace {

constexpr int kLitresPerMinute = 29;
constexpr int kMH2O = 49;
constexpr int kMH2OAbsolute = 65;

class ConfigForm : public ::testing::Test {
protected:
    void SetUp() override {
        TNetworkBuilder build(network_);
        const std::int32_t tank = build.AddTank(400, 400, 10.0, 0.0, 2.0);
        const std::int32_t joint = build.AddJoint(600, 400, 4.0);
        build.AddPipe(tank, joint, "Feed", 100.0, 0.1);
        build.AddPipe(joint, build.AddDemandPressure(800, 400), "Drain", 50.0, 0.08);
    }

    void Open(int tab, bool resultsMode = false) {
        form_.Open(tab, network_, resultsMode);
        form_.show();
        QApplication::processEvents();
    }

    template <typename T>
    T* Widget(const char* name) {
        T* widget = form_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Press(const char* name) { Widget<QPushButton>(name)->click(); }

    void TypeInto(const char* name, const QString& text) {
        TRightEdit* box = Widget<TRightEdit>(name);
        box->setFocus();
        box->selectAll();
        PressKey(*box, Qt::Key_Backspace);
        for (const QChar character : text) PressKey(*box, 0, Qt::NoModifier, QString(character));
    }

    QString Text(const char* name) { return Widget<TRightEdit>(name)->text(); }

    TNetwork network_;
    TScriptedMessageBoxes boxes_;
    TConfigForm form_{boxes_};
};

TEST_F(ConfigForm, GaugeHeadUnitSwitchesToItsAbsoluteCounterpart) {
    network_.Settings.GaugePressure = true;
    network_.Settings.FluidPressureUnit = kMH2O;
    Open(TConfigForm::UnitsTab);
    EXPECT_TRUE(Widget<QRadioButton>("RadioButtonGage")->isChecked());
    QComboBox* pressure = Widget<QComboBox>("ComboBoxPressure");
    EXPECT_EQ(pressure->count(), 7);
    EXPECT_EQ(pressure->currentText(), QStringLiteral("m H20"));
    Widget<QRadioButton>("RadioButtonAbsolute")->click();
    EXPECT_EQ(pressure->currentText(), QStringLiteral("m H20 a"));
    EXPECT_EQ(form_.Working().Settings.FluidPressureUnit, kMH2OAbsolute);
    EXPECT_FALSE(form_.Working().Settings.GaugePressure);
    EXPECT_EQ(Widget<QLabel>("LabelAtmosphereUnit")->text().toStdString(), unitName(form_.Working().Settings.AtmosphereUnit));
    EXPECT_EQ(form_.Working().Settings.AtmosphereUnit, associatedAbsolutePressureUnit(kMH2OAbsolute));
}

TEST_F(ConfigForm, MetricPresetKeepsTheAbsoluteReference) {
    network_.Settings.SetImperialUnits();
    network_.Settings.GaugePressure = false;
    network_.Settings.FluidPressureUnit = 61;  // psi a
    Open(TConfigForm::UnitsTab);
    Widget<QRadioButton>("RadioButtonMetric")->click();
    EXPECT_EQ(form_.Working().Settings.FluidPressureUnit, UNIT_BAR_A);
    EXPECT_EQ(form_.Working().Settings.WeightUnit, 19);
    EXPECT_EQ(Widget<QLabel>("LabelAtmosphereUnit")->text(), QStringLiteral("bar.a"));
}

TEST_F(ConfigForm, ResetShowsTheDefaultFlowToleranceInTheFlowUnit) {
    network_.Settings.FlowRateUnit = kLitresPerMinute;
    network_.Settings.FlowBalancingTolerance = 5e-4;
    Open(TConfigForm::CalculationsTab);
    Press("ButtonResetCalculations");
    EXPECT_EQ(Text("EditFlowTolerance"), QStringLiteral("0.060000"));  // 1e-6 m³/s in l/min
}

TEST_F(ConfigForm, OkWritesUnitsOptionsAndDefaultPipe) {
    network_.Settings.LengthUnit = UNIT_FT;
    Open(TConfigForm::UnitsTab);
    Widget<QComboBox>("ComboBoxFlowRate")->setCurrentText(QStringLiteral("Litres/sec "));
    Widget<QComboBox>("ComboBoxSurfacePress")->setCurrentText(QStringLiteral("kPa g"));
    form_.SelectTab(TConfigForm::CalculationsTab);
    TypeInto("EditPressureToleranceFinal", QStringLiteral("0.01"));  // kPa
    TypeInto("EditMaxIterationsFinal", QStringLiteral("800"));
    form_.SelectTab(TConfigForm::PipeDefaultsTab);
    TypeInto("EditDefaultLength", QStringLiteral("20"));  // ft
    Press("ButtonOK");
    EXPECT_EQ(network_.Settings.FlowRateUnit, UNIT_L_SEC);
    EXPECT_EQ(network_.Settings.SurfacePressureUnit, UNIT_KPA_G);
    EXPECT_NEAR(network_.Settings.PressureBalancingToleranceFinal, 1e-4, 1e-12);  // 0.01 kPa in bar
    EXPECT_EQ(network_.Settings.MaxIterationsFinalSolution, 800);
    EXPECT_NEAR(network_.DefaultPipe.Length_m, 20 * 0.3048, 1e-9);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(ConfigForm, CancelLeavesTheNetworkAsItWas) {
    const std::string before = network_.SaveToBytes();
    Open(TConfigForm::UnitsTab);
    Widget<QRadioButton>("RadioButtonImperial")->click();
    form_.SelectTab(TConfigForm::PipeDefaultsTab);
    TypeInto("EditDefaultDiameter", QStringLiteral("6"));
    form_.SelectTab(TConfigForm::LabellingTab);
    Press("ButtonCancel");
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(ConfigForm, LabellingMarksSurviveAChangeOfTab) {
    network_.Settings.ShowPipeId = true;
    Open(TConfigForm::LabellingTab);
    QCheckBox* pipeId = nullptr;
    for (QCheckBox* box : form_.findChildren<QCheckBox*>())
        if (box->text() == QStringLiteral("Show Pipe#")) pipeId = box;
    ASSERT_NE(pipeId, nullptr);
    EXPECT_TRUE(pipeId->isChecked());
    pipeId->click();
    form_.findChild<QTabWidget*>()->setCurrentIndex(TConfigForm::UnitsTab);
    form_.findChild<QTabWidget*>()->setCurrentIndex(TConfigForm::LabellingTab);
    EXPECT_FALSE(pipeId->isChecked());
    Press("ButtonOK");
    EXPECT_FALSE(network_.Settings.ShowPipeId);
}

TEST_F(ConfigForm, ValuesTheSolverCannotUseAreReportedAndKept) {
    const double tolerance = network_.Settings.FlowBalancingTolerance;
    const double atmosphere = network_.Settings.AtmosphericPressure;
    Open(TConfigForm::CalculationsTab);
    TypeInto("EditFlowTolerance", QStringLiteral("0"));
    TypeInto("EditMaxIterationsApprox", QStringLiteral("0"));
    form_.SelectTab(TConfigForm::UnitsTab);
    TypeInto("EditAtmosphere", QString());
    Widget<QComboBox>("ComboBoxVelocity")->setCurrentText(QStringLiteral("ft/sec"));
    form_.SelectTab(TConfigForm::CalculationsTab);
    TypeInto("EditFlowTolerance", QStringLiteral("0"));
    TypeInto("EditMaxIterationsApprox", QStringLiteral("0"));
    Press("ButtonOK");
    ASSERT_EQ(boxes_.Texts().size(), 2u);
    EXPECT_EQ(boxes_.Texts()[0], TConfigUnitsPage::InvalidAtmosphereMessage);
    EXPECT_EQ(boxes_.Texts()[1], std::string(TConfigForm::InvalidCalculationValuesMessage) +
                                     "Flow Balancing Tolerance\rMax Iterations for Approximate Solution\r");
    EXPECT_EQ(network_.Settings.FlowBalancingTolerance, tolerance);
    EXPECT_EQ(network_.Settings.MaxIterationsApproxSolution, 200);
    EXPECT_EQ(network_.Settings.AtmosphericPressure, atmosphere);
    EXPECT_EQ(network_.Settings.VelocityUnit, 15) << "the other settings are still written";
}

TEST_F(ConfigForm, PipeDefaultsCannotBeReachedInResultsMode) {
    Open(TConfigForm::PipeDefaultsTab, true);
    EXPECT_EQ(form_.CurrentTab(), TConfigForm::UnitsTab);
    form_.findChild<QTabWidget*>()->setCurrentIndex(TConfigForm::PipeDefaultsTab);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TConfigForm::DefaultsInResultsModeMessage});
    EXPECT_EQ(form_.CurrentTab(), TConfigForm::UnitsTab);
}

TEST_F(ConfigForm, CopyingTheDefaultPipeKeepsNamesAndStaysAfterCancel) {
    int changes = 0;
    form_.PipeDefaults().NetworkChanged = [&changes] { ++changes; };
    network_.DefaultPipe.InnerDiameter_m = 0.15;
    network_.DefaultPipe.Material = "Stainless steel";
    Open(TConfigForm::PipeDefaultsTab);
    QListWidget* pipes = Widget<QListWidget>("CheckListPipes");
    ASSERT_EQ(pipes->count(), 2);
    EXPECT_TRUE(pipes->item(1)->text().startsWith(QStringLiteral("2, Drain, ")));
    pipes->item(1)->setCheckState(Qt::Checked);
    Press("ButtonCopyDefaultPipe");
    Press("ButtonCancel");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TConfigPipeDefaultsPage::CopiedMessage});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(network_.GetPipe(2).Name, "Drain");
    EXPECT_DOUBLE_EQ(network_.GetPipe(2).InnerDiameter_m, 0.15);
    EXPECT_EQ(network_.GetPipe(2).Material, "Stainless steel");
    EXPECT_DOUBLE_EQ(network_.GetPipe(1).InnerDiameter_m, 0.1);
}

// From the main window: the units chosen show on the drawing's labels.
TEST(ConfigFromMainWindow, FlowUnitChosenShowsOnTheDrawing) {
    TScriptedMessageBoxes boxes;
    TScriptedFileDialogs files;
    TNetworkForm form(TestFormServices(boxes, files, QString()));
    form.resize(900, 650);
    form.show();
    TNetworkBuilder build(form.Network());
    const std::int32_t joint = build.AddJoint(600, 400);
    build.AddPipe(build.AddTank(400, 400, 10.0), joint, "P1", 100.0, 0.1);
    form.Network().GetNode(joint).JointDischarge_m3s = 0.015;
    form.RefreshScreen();
    const TWhenShown choose(form.ConfigForm(), [&form] {
        form.ConfigForm().findChild<QComboBox*>(QStringLiteral("ComboBoxFlowRate"))->setCurrentText(QStringLiteral("Litres/sec "));
        form.ConfigForm().findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
    });
    form.findChild<QAction*>(QStringLiteral("ChangeUnits1"))->trigger();
    EXPECT_EQ(form.Network().Settings.FlowRateUnit, UNIT_L_SEC);
    EXPECT_TRUE(form.IsModified());
    bool litres = false;
    const TTextLayer& texts = form.ScreenDrawing().Texts();
    for (std::size_t i = 0; i < texts.Count(); ++i) litres = litres || texts.Text(i).contains(QStringLiteral("l/s"));
    EXPECT_TRUE(litres) << "the demand's label is written in l/s";
}

}  // namespace
