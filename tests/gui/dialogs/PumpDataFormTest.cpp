#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DialogTestSupport.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "common/NetworkBuilder.h"
#include "common/TempFolder.h"
#include "dialogs/VM4_PumpChartPainter.h"
#include "dialogs/VM4_PumpDataForm.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

// A small end-suction pump in m³/hour and metres of water: flow, head, efficiency, NPSHr.
const std::string kCurve[4][4] = {
    {"0", "32", "0", "1"}, {"10", "30.5", "55", "1.5"}, {"20", "26.5", "70", "2.2"}, {"30", "20", "65", "3.5"}};
constexpr int kM3HourItem = 2;
constexpr int kLSecItem = 3;
constexpr int kMetreWaterItem = 0;

double Number(const std::string& text) { return ParseDecimalText(text, true, true).Value; }

class PumpDataForm : public ::testing::Test {
protected:
    void SetUp() override {
        network_.SetMetricUnits();
        TNetworkBuilder build(network_);
        const std::int32_t a = build.AddJoint(100, 100, 0.0);
        const std::int32_t b = build.AddJoint(300, 100, 5.0);
        pipeId_ = build.AddPipe(a, b, "Rising main", 100.0, 0.1);
        TPipe& pipe = network_.GetPipe(pipeId_);
        pipe.HasPump = true;
        pipe.PumpDistanceFromStart_m = 10.0;
        pipe.PumpPositionPercent = 10.0;
    }

    QTableWidget* Grid() { return Child<QTableWidget>(form_, "StringGridPumpPoints"); }
    QComboBox* FlowUnits() { return Child<QComboBox>(form_, "ComboBoxPumpFlowUnits"); }
    QComboBox* HeadUnits() { return Child<QComboBox>(form_, "ComboBoxPumpHeadUnits"); }

    // The curve typed into the grid in m³/hour and m.H2O, the units chosen first.
    void EnterCurve(int points = 4) {
        Choose(FlowUnits(), kM3HourItem);
        Choose(HeadUnits(), kMetreWaterItem);
        for (int p = 0; p < points; ++p)
            for (int c = 0; c < 4; ++c) SetCell(Grid(), c, p + 2, kCurve[p][c]);
    }

    bool Open(const std::function<void()>& act, bool results = false) {
        bool deleted = false;
        WhileOpen(form_, act, "Exit/No Save", [&] { deleted = form_.EditPumpData(network_, pipeId_, results); });
        return deleted;
    }

    // The pump of the pipe, curve typed in and saved to it.
    void SaveCurveToPipe() {
        Open([&] {
            EnterCurve();
            Click(form_, "SaveTo Pipe");
        });
        ASSERT_EQ(network_.GetPipe(pipeId_).Pump.PointCount(), 4);
    }

    TNetwork network_;
    std::int32_t pipeId_ = 0;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs files_;
    TPumpDataForm form_{boxes_, files_};
};

TEST_F(PumpDataForm, ACurveEnteredInTheGridFitsAsTheCoreFitsIt) {
    SaveCurveToPipe();
    TPump reference;
    for (const auto& row : kCurve)
        reference.AddPumpCurvePoint(Number(row[0]) / 3600.0, Number(row[1]), Number(row[2]), Number(row[3]));
    const TPump& saved = network_.GetPipe(pipeId_).Pump;
    const double density = network_.Fluid.Density_kg_m3;
    for (double flow_m3h : {5.0, 15.0, 25.0}) {
        const double q = flow_m3h / 3600.0;
        EXPECT_NEAR(saved.calcPumpHead_mHd_Fluid(q, density), reference.calcPumpHead_mHd_Fluid(q, density), 1e-9);
    }
    // Between the 10 and 20 m³/hour points the fitted head lies between theirs.
    const double head15 = saved.calcPumpHead_mHd_Fluid(15.0 / 3600.0, 1000.0);
    EXPECT_GT(head15, 26.5);
    EXPECT_LT(head15, 30.5);
    EXPECT_EQ(saved.PumpFlowUnits, UNIT_M3_HOUR);
    EXPECT_TRUE(boxes_.Texts().empty());
}

TEST_F(PumpDataForm, TheCalculatorGivesHeadPowerAndTheFlowBack) {
    SaveCurveToPipe();
    std::string head;
    std::string power;
    std::string flowBack;
    Open([&] {
        Type(form_, "RightEditFlow", "20");
        Click(form_, "Calculate");
        head = Child<QLineEdit>(form_, "RightEditHead")->text().toStdString();
        power = Child<QLabel>(form_, "LabelPower")->text().toStdString();
        Type(form_, "RightEditHead", head);
        Click(form_, "Calculate");
        flowBack = Child<QLineEdit>(form_, "RightEditFlow")->text().toStdString();
    });
    EXPECT_NEAR(Number(head), 26.5, 1e-3);  // a point of the curve, in the metres of water it was typed in
    // kW = Q ρ g H / 1000 / η with H in metres of fluid.
    EXPECT_NEAR(Number(power), 20.0 / 3600.0 * 998.0 * 9.81 * (26.5 * 1000.0 / 998.0) / 1000.0 / 0.70, 2e-3);
    EXPECT_NEAR(Number(flowBack), 20.0, 0.05);
}

TEST_F(PumpDataForm, AFlowBeyondTheCurveIsRefused) {
    SaveCurveToPipe();
    Open([&] {
        Type(form_, "RightEditFlow", "31");
        Click(form_, "Calculate");
        EXPECT_TRUE(Child<QLineEdit>(form_, "RightEditHead")->text().isEmpty());
    });
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Value is outside of the data points used to draw the pump "
                                                       "curve.\r\rPlease re-enter a Flow value that lies within the "
                                                       "pump curve."});
}

TEST_F(PumpDataForm, TheChartShowsAxesAndTheCurveAtTheDesignFlow) {
    SaveCurveToPipe();
    QImage chart;
    Open([&] {
        Child<QCheckBox>(form_, "Grid Lines")->setChecked(false);
        chart = form_.ChartImage().copy();
    });
    const auto isColour = [&](int x, int y, QColor colour) { return chart.pixelColor(x, y) == colour; };
    EXPECT_TRUE(isColour(65, 220, Qt::black));
    EXPECT_TRUE(isColour(340, 220, Qt::black));  // flow axis end
    EXPECT_TRUE(isColour(65, 29, Qt::black));    // head axis top
    // Design flow 20 of 36 m³/hour on the axis; head 26.5 m.H2O of 38.4 on the axis.
    const int x = TPumpChartPainter::XOfFlow(20.0, 36.0);
    const int y = TPumpChartPainter::YOfHead(26.5, 38.4);
    bool curveThere = false;
    for (int dy = -2; dy <= 2; ++dy) curveThere = curveThere || isColour(x, y + dy, Qt::blue);
    EXPECT_TRUE(curveThere) << x << "," << y;
    // The curve stops at the last point (30 of 36 m³/hour): nothing blue beyond it.
    for (int py = 25; py < 219; ++py) EXPECT_FALSE(isColour(TPumpChartPainter::XOfFlow(33.0, 36.0), py, Qt::blue));
    EXPECT_TRUE(isColour(5, 5, Qt::white));
}

TEST_F(PumpDataForm, AUnitChangeIsRefusedOnABadGridAndConvertsAGoodOne) {
    Open([&] {
        EnterCurve(3);
        SetCell(Grid(), 0, 3, "");
        SetCell(Grid(), 1, 3, "");
        SetCell(Grid(), 2, 3, "");
        SetCell(Grid(), 3, 3, "");
        SetCell(Grid(), 0, 5, "30");
        SetCell(Grid(), 1, 5, "20");
        Choose(FlowUnits(), kLSecItem);
        EXPECT_EQ(FlowUnits()->currentIndex(), kM3HourItem);
        EXPECT_EQ(CellText(Grid(), 0, 4), "20");

        for (int c = 0; c < 4; ++c) SetCell(Grid(), c, 3, kCurve[1][c]);
        SetCell(Grid(), 0, 5, "");
        SetCell(Grid(), 1, 5, "");
        Choose(FlowUnits(), kLSecItem);
        EXPECT_EQ(FlowUnits()->currentIndex(), kLSecItem);
        EXPECT_NEAR(Number(CellText(Grid(), 0, 3)), 10.0 / 3.6, 1e-3);
        EXPECT_NEAR(Number(CellText(Grid(), 1, 3)), 30.5, 1e-9);
    });
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_EQ(boxes_.Texts()[0], "Pump data points cannot contain a blank row between two completed rows.\r\rCheck "
                                 "your entry and adjust the values.");
}

TEST_F(PumpDataForm, APositionOutsideThePipeIsNotSaved) {
    const struct {
        const char* box;
        const char* value;
        std::string message;
    } cases[] = {
        {"RightEditDistance", "100.5",
         "The distance of the pump from the start of the pipe \rcannot be greater than the length of the pipe (100.000 "
         "m)"},
        {"RightEditElevation", "5.5",
         "The elevation of the pump must be between start and end elevation of the pipe. \r(0.000 m to 5.000 m)"},
    };
    const std::string before = network_.SaveToBytes();
    for (const auto& c : cases) {
        boxes_.Forget();
        Open([&] {
            Type(form_, c.box, c.value);
            Click(form_, "SaveTo Pipe");
        });
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(PumpDataForm, PumpFilesRoundTripByteForByteAndABadFileChangesNothing) {
    TTempFolder folder;
    SaveCurveToPipe();
    files_.Choose((folder / "first.vmpm").string());
    Open([&] { Click(form_, "Save To File"); });
    const std::string first = FileContents(folder / "first.vmpm");
    ASSERT_EQ(first.size(), TPump::RecordSize);

    TNetwork other;
    other.SetMetricUnits();
    TNetworkBuilder build(other);
    const std::int32_t pipe = build.AddPipe(build.AddJoint(0, 0), build.AddJoint(100, 0), "P", 50.0);
    other.GetPipe(pipe).HasPump = true;
    files_.Choose((folder / "first.vmpm").string());
    files_.Choose((folder / "second.vmpm").string());
    WhileOpen(form_, [&] {
        Click(form_, "Load File");
        Click(form_, "Save To File");
        Click(form_, "SaveTo Pipe");
    }, "Exit/No Save", [&] { form_.EditPumpData(other, pipe, false); });
    EXPECT_EQ(FileContents(folder / "second.vmpm"), first);
    EXPECT_EQ(other.GetPipe(pipe).Pump.PointCount(), 4);

    WriteFileContents(folder / "short.vmpm", first.substr(0, 100));
    files_.Choose((folder / "short.vmpm").string());
    Open([&] {
        Click(form_, "Load File");
        EXPECT_EQ(CellText(Grid(), 1, 5), "20.000");
    });
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_NE(boxes_.Texts()[0].find("Not a valid pump file"), std::string::npos) << boxes_.Texts()[0];
    EXPECT_NE(boxes_.Texts()[0].find(" at byte "), std::string::npos) << boxes_.Texts()[0];
}

TEST_F(PumpDataForm, EveryWayOutButSavingLeavesTheNetworkAsItWas) {
    SaveCurveToPipe();
    const std::string before = network_.SaveToBytes();
    Open([&] {
        EnterCurve(3);
        Type(form_, "EditPumpName", "Changed");
        Type(form_, "RightEditDistance", "50");
        Choose(FlowUnits(), kLSecItem);
    });
    EXPECT_EQ(network_.SaveToBytes(), before);
    boxes_.AnswerConfirm(true);  // leave without saving
    Open([&] {
        Type(form_, "EditPumpName", "Changed");
        form_.close();
    });
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(PumpDataForm, ResultsModeShowsTheSolvedFlowAndLeavesOnlyTheWayOut) {
    SaveCurveToPipe();
    network_.GetPipe(pipeId_).FlowUncompressed_m3s = 20.0 / 3600.0;
    const std::string before = network_.SaveToBytes();
    std::string flow;
    QImage chart;
    Open([&] {
        flow = Child<QLineEdit>(form_, "RightEditFlow")->text().toStdString();
        chart = form_.ChartImage().copy();
        for (QWidget* w : form_.findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                               qobject_cast<QPlainTextEdit*>(w);
            if (!input) continue;
            const bool exit = w->objectName() == QStringLiteral("Exit/No Save");
            EXPECT_EQ(w->isEnabled(), exit) << w->objectName().toStdString();
        }
    }, true);
    // Shown in the network's flow unit, whatever unit the curve was typed in.
    const double expected = convertUnits(UNIT_M3_SEC, network_.Settings.FlowRateUnit, 20.0 / 3600.0);
    const double halfLastDigit = 0.5 * std::pow(10.0, -unitDecimals(network_.Settings.FlowRateUnit));
    EXPECT_NEAR(Number(flow), expected, halfLastDigit * 1.001);
    const int x = TPumpChartPainter::XOfFlow(20.0, 36.0);
    const int y = TPumpChartPainter::YOfHead(26.5, 38.4);
    EXPECT_EQ(chart.pixelColor(x, y), QColor(0, 255, 0));  // the operating point
    EXPECT_EQ(network_.SaveToBytes(), before);
}

TEST_F(PumpDataForm, DeletePumpAsksFirst) {
    boxes_.AnswerConfirm(false);
    boxes_.AnswerConfirm(true);
    EXPECT_TRUE(Open([&] {
        Click(form_, "Delete Pump");
        EXPECT_TRUE(form_.isVisible());
        Click(form_, "Delete Pump");
    }));
    EXPECT_EQ(boxes_.Texts().front(), "Are you sure you wish to delete the pump \rand all pump data from this pipe?");
}

}  // namespace
