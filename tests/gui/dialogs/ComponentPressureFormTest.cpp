#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "common/NetworkBuilder.h"
#include "common/TempFolder.h"
#include "dialogs/VM4_ComponentPressureForm.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr int kBarItem = 8;
constexpr int kMetreWaterItem = 4;

double Number(const std::string& text) { return ParseDecimalText(text, true, true).Value; }

class ComponentPressureForm : public ::testing::Test {
protected:
    void SetUp() override {
        network_.SetMetricUnits();
        TNetworkBuilder build(network_);
        pipeId_ = build.AddPipe(build.AddJoint(0, 0), build.AddJoint(200, 0), "Filter line", 50.0);
    }

    QTableWidget* Grid() { return Child<QTableWidget>(form_, "StringGridComponentPoints"); }

    void Open(const std::function<void()>& act, bool results = false) {
        WhileOpen(form_, act, "Cancel", [&] { form_.EditComponentPressure(network_, pipeId_, results); });
    }

    // Points (0, 1.0), (0.01, 1.5), (0.02, 2.5) in m³/sec and m.H2O.
    void EnterThreePoints() {
        Child<QRadioButton>(form_, "RadioButtonCurveLoss")->click();
        Choose(Child<QComboBox>(form_, "ComboBoxCurveLossUnits"), kMetreWaterItem);
        const char* rows[3][2] = {{"0", "1.0"}, {"0.01", "1.5"}, {"0.02", "2.5"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c) SetCell(Grid(), c, r + 1, rows[r][c]);
    }

    TNetwork network_;
    std::int32_t pipeId_ = 0;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs files_;
    TComponentPressureForm form_{boxes_, files_};
};

TEST_F(ComponentPressureForm, ACurveAcceptedWithOKGoesOnThePipeHalfWayAlong) {
    Open([&] {
        EnterThreePoints();
        Click(form_, "OK");
    });
    const TPipe& pipe = network_.GetPipe(pipeId_);
    EXPECT_TRUE(pipe.HasComponentPressure);
    EXPECT_EQ(pipe.ComponentPressure.UseCurve, 1);
    ASSERT_EQ(pipe.ComponentPressure.PointCount(), 3);
    EXPECT_NEAR(pipe.ComponentPressure.Point(3).Loss_mH2O, 2.5, 1e-12);
    EXPECT_DOUBLE_EQ(pipe.ComponentPositionPercent, 50.0);
    EXPECT_TRUE(boxes_.Texts().empty());
}

TEST_F(ComponentPressureForm, ALossUnitChangeConvertsAGoodCurveAndIsRefusedOnABadOne) {
    Open([&] {
        EnterThreePoints();
        Choose(Child<QComboBox>(form_, "ComboBoxCurveLossUnits"), kBarItem);
        EXPECT_NEAR(Number(CellText(Grid(), 1, 3)), 2.5 / 10.197, 1e-3);
        EXPECT_EQ(CellText(Grid(), 1, 3).size(), std::string("0.245").size());
        SetCell(Grid(), 1, 2, "x");
        Choose(Child<QComboBox>(form_, "ComboBoxCurveLossUnits"), kMetreWaterItem);
        EXPECT_EQ(Child<QComboBox>(form_, "ComboBoxCurveLossUnits")->currentIndex(), kBarItem);
    });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Component pressure data for row 2 column 2 is not valid.\r\r"
                                                       "Check your entries and adjust the values to valid numbers."});
}

TEST_F(ComponentPressureForm, GenerateCurveFillsEightPointsFromThreeAndRefusesFour) {
    Open([&] {
        EnterThreePoints();
        Click(form_, "Generate Curve");
        EXPECT_NEAR(Number(CellText(Grid(), 0, 8)), 0.02, 1e-9);
        EXPECT_NEAR(Number(CellText(Grid(), 0, 2)), 0.02 / 7.0, 1e-3);
        EXPECT_EQ(form_.Working().PointCount(), 8);
        SetCell(Grid(), 0, 5, "");
        SetCell(Grid(), 1, 5, "");
        SetCell(Grid(), 0, 6, "");
        SetCell(Grid(), 1, 6, "");
        SetCell(Grid(), 0, 7, "");
        SetCell(Grid(), 1, 7, "");
        SetCell(Grid(), 0, 8, "");
        SetCell(Grid(), 1, 8, "");
        Click(form_, "Generate Curve");
    });
    EXPECT_EQ(boxes_.Texts(),
              std::vector<std::string>{"The first three points only must entered to generate a second order curve."});
}

TEST_F(ComponentPressureForm, ComponentFilesRoundTripByteForByteAndABadFileIsRefused) {
    TTempFolder folder;
    files_.Choose((folder / "a.vmco").string());
    Open([&] {
        EnterThreePoints();
        Type(form_, "EditComponentName", "Strainer");
        Click(form_, "Save To File");
    });
    const std::string first = FileContents(folder / "a.vmco");
    ASSERT_EQ(first.size(), TComponentPressure::RecordSize);
    files_.Choose((folder / "a.vmco").string());
    files_.Choose((folder / "b.vmco").string());
    Open([&] {
        Click(form_, "Load From File");
        EXPECT_EQ(Child<QLineEdit>(form_, "EditComponentName")->text().toStdString(), "Strainer");
        Click(form_, "Save To File");
    });
    EXPECT_EQ(FileContents(folder / "b.vmco"), first);

    WriteFileContents(folder / "pump.vmco", std::string(843, '\0'));
    files_.Choose((folder / "pump.vmco").string());
    Open([&] { Click(form_, "Load From File"); });
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_NE(boxes_.Texts()[0].find(" at byte "), std::string::npos) << boxes_.Texts()[0];
}

TEST_F(ComponentPressureForm, CancelLeavesTheNetworkAsItWas) {
    const std::string before = network_.SaveToBytes();
    Open([&] {
        EnterThreePoints();
        Click(form_, "Generate Curve");
        Type(form_, "EditComponentName", "Changed");
    });
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(ComponentPressureForm, ResultsModeLeavesOnlyCancel) {
    Open([&] {
        for (QWidget* w : form_.findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w);
            if (input) EXPECT_EQ(w->isEnabled(), w->objectName() == QStringLiteral("Cancel")) << w->objectName().toStdString();
        }
    }, true);
}

TEST_F(ComponentPressureForm, ANegativeFixedLossIsStored) {
    Open([&] {
        Child<QRadioButton>(form_, "RadioButtonFixedLoss")->click();
        Choose(Child<QComboBox>(form_, "ComboBoxFixedLossUnits"), kBarItem);
        Type(form_, "RightEditFixedLoss", "-0.5");
        Click(form_, "OK");
    });
    EXPECT_NEAR(network_.GetPipe(pipeId_).ComponentPressure.FixedLoss_bar, -0.5, 1e-12);
    EXPECT_EQ(network_.GetPipe(pipeId_).ComponentPressure.UseCurve, 0);
}

}  // namespace
