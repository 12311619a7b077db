#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "WhenShown.h"
#include "dialogs/VM4_PumpChartPainter.h"
#include "dialogs/VM4_PumpDataForm.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/VM4_NetworkView.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_ResultsLog_Form.h"

// The whole path a user takes: a pump added to a pipe of an example system
// with the pump tool, its curve entered in the dialog the tool opens, the
// network calculated, and the pump dialog opened again in results mode.

namespace {

// Runs `act` on every pump dialog that becomes the modal window, from inside its loop.
class TOnPumpDialog : public QObject {
public:
    explicit TOnPumpDialog(std::function<void(TPumpDataForm&)> act) : act_(std::move(act)) {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* form = qobject_cast<TPumpDataForm*>(QApplication::activeModalWidget());
            if (form == nullptr || busy_) return;
            busy_ = true;
            ++seen_;
            act_(*form);
            if (form->isVisible()) Click(*form, "Exit/No Save");
            busy_ = false;
        });
        timer_.start();
    }
    int Seen() const { return seen_; }

private:
    std::function<void(TPumpDataForm&)> act_;
    QTimer timer_;
    bool busy_ = false;
    int seen_ = 0;
};

class PumpOnExampleSystem : public ::testing::Test {
protected:
    TNetworkForm& Form() {
        if (!form_) {
            form_ = std::make_unique<TNetworkForm>(TestFormServices(boxes_, files_, folder_.path()));
            form_->resize(1200, 900);
            form_->show();
            QApplication::processEvents();
        }
        return *form_;
    }

    QPointF Pixel(int x, int y) {
        const TNetworkView& view = Form().View();
        return {(x - view.ViewOriginX) * view.ViewScale, (y - view.ViewOriginY) * view.ViewScale};
    }

    void ClickAt(int x, int y) {
        TNetworkCanvas& canvas = Form().Canvas();
        const QPointF pixel = Pixel(x, y);
        ASSERT_TRUE(canvas.rect().contains(pixel.toPoint())) << x << "," << y;
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, pixel, canvas.mapToGlobal(pixel), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&canvas, &event);
        }
    }

    void Key(int key) {
        Form().Canvas().setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)).toLower());
        QApplication::sendEvent(&Form().Canvas(), &press);
    }

    void Calculate() {
        TResultsLogForm& log = Form().ResultsLog();
        TWhenShown verdict(log, [&log] {
            QPushButton* ok = log.findChild<QPushButton*>("ButtonOk");
            (ok->isHidden() ? log.findChild<QPushButton*>("ButtonNo") : ok)->click();
        });
        Form().findChild<QPushButton*>("BitBtnCalculate")->click();
    }

    QTemporaryDir folder_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs files_;
    std::unique_ptr<TNetworkForm> form_;
};

TEST_F(PumpOnExampleSystem, APumpAddedWithTheToolShowsItsSolvedFlowInResultsMode) {
    Form().OpenFileFromCommandLine(std::string(VELMORA_EXAMPLES_DIR) + "/Example_01_Three_Reservoirs.vme");
    TNetwork& network = Form().Network();
    std::int32_t pipeId = 0;
    for (std::int32_t id = 1; id <= network.GetNodeLinkCount(); ++id)
        if (network.GetPipe(network.GetNodeLink(id).PipeId).Name == "P3") pipeId = network.GetNodeLink(id).PipeId;
    ASSERT_GT(pipeId, 0);
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TNode& from = network.GetNode(fromId);
    const TNode& to = network.GetNode(toId);
    const int x = (from.X + to.X) / 2;
    const int y = (from.Y + to.Y) / 2;

    // 0 to 600 m³/hour: the pump lifts the junction's flow to the lowest reservoir.
    const char* curve[4][2] = {{"0", "30"}, {"200", "28"}, {"400", "22"}, {"600", "10"}};
    std::string solvedShown;
    QImage chart;
    TOnPumpDialog onPump([&](TPumpDataForm& form) {
        if (form.Working().PointCount() == 0) {
            Choose(Child<QComboBox>(form, "ComboBoxPumpFlowUnits"), 2);  // m³/hour
            Choose(Child<QComboBox>(form, "ComboBoxPumpHeadUnits"), 0);  // m.H²O
            auto* grid = Child<QTableWidget>(form, "StringGridPumpPoints");
            for (int p = 0; p < 4; ++p)
                for (int c = 0; c < 2; ++c) SetCell(grid, c, p + 2, curve[p][c]);
            Click(form, "SaveTo Pipe");
        } else {
            solvedShown = Child<QLineEdit>(form, "RightEditFlow")->text().toStdString();
            chart = form.ChartImage().copy();
        }
    });
    boxes_.AnswerConfirm(true);  // enter the pump data now
    Key('U');
    ClickAt(x, y);
    ASSERT_EQ(onPump.Seen(), 1);
    ASSERT_TRUE(network.GetPipe(pipeId).HasPump);
    ASSERT_EQ(network.GetPipe(pipeId).Pump.PointCount(), 4);

    boxes_.Forget();
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    const TPipe& pipe = network.GetPipe(pipeId);
    ClickAt(pipe.Pump.X, pipe.Pump.Y);
    ASSERT_EQ(onPump.Seen(), 2);
    const double solved = convertUnits(UNIT_M3_SEC, network.Settings.FlowRateUnit, pipe.FlowUncompressed_m3s);
    ASSERT_GT(pipe.FlowUncompressed_m3s, 0.0);
    EXPECT_NEAR(ParseDecimalText(solvedShown, true, true).Value, solved, 1e-2 * std::max(1.0, solved));
    // The dot on the curve: lime somewhere on the chart.
    bool dot = false;
    for (int py = 0; py < chart.height() && !dot; ++py)
        for (int px = 0; px < chart.width() && !dot; ++px) dot = chart.pixelColor(px, py) == QColor(0, 255, 0);
    EXPECT_TRUE(dot);
}

}  // namespace
