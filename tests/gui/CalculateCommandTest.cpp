#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "WhenShown.h"
#include "common/NetworkBuilder.h"
#include "editor/VM4_CalculatingPanel.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_ResultsGrid.h"
#include "results/VM4_ResultsHoverTexts.h"
#include "results/VM4_ResultsLog_Form.h"

// The Calculate command driven through the main window: the calculating panel,
// the results log, the verdict, results and design mode, Stop, and what the
// window allows while the solve runs.

namespace {

using TLines = std::vector<std::string>;

const std::string kRule52(52, '-');
const TLines kHeader = {kRule52, "Velmora Studio - Results Log", kRule52, "Generating Network equations...",
                        "Solving Network equations..."};
const std::string kNotEnough = "Not enough of Network defined to run calculations.";
const std::string kStopped = "*** Calculation Stopped. System was not solved.";
const std::string kSolvedNote =
    " Solved using Darcy-Weisbach Calculation method with ColeBrook-White Friction equations.";
const std::string kSolvedVerdict =
    "The network was solved successfully.\r\rThe solution values are displayed on the drawing.\r\rDo you wish to "
    "view the detailed Results Table now?";
const std::string kNotSolvedVerdict =
    "The network was not solved.\r\rPlease review the log details above (scroll through for details).\r\rAnd then "
    "review the design of your system.";
const std::string kToleranceVerdict =
    "The network was not solved.\r\rThe Final Pressure balance tolerance may be set too low.\r\rPlease review the "
    "details above and scroll to the end of the log.";
const std::string kShowInfoHint = " Show Info: Left click on an item to show its details in the left hand panel.";
const std::string kResultsModeHint = " RESULTS MODE - Click on Re-Design button to return to edit mode.";

// A tank 5 m up holding 5 m of liquid drains through 100 m of 100 mm pipe into
// an end node at 0 bar: one attempt solves it.
void BuildDrainingTank(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t tank = build.AddTank(400, 400, 5.0, 0.0, 5.0);
    build.AddPipe(tank, build.AddDemandPressure(560, 400), "P1", 100.0, 0.1);
}

// A pipe so long that its friction loss overflows cannot be evaluated: every
// attempt of both passes fails (the ladder stops at 10 m/s, below the flows at
// which the loss formulas give up).
void BuildOverflowingPipe(TNetwork& network) {
    TNetworkBuilder build(network);
    const std::int32_t tank = build.AddTank(400, 400, 10.0);
    build.AddPipe(tank, build.AddDemandPressure(560, 400), "P1", 1e308, 0.1);
    network.Settings.MaxVelocityDischarge = 10.1;
}

std::size_t IndexOf(const TLines& log, const std::string& line) {
    return static_cast<std::size_t>(std::find(log.begin(), log.end(), line) - log.begin());
}

// The lines of `log` from `first` on, as many as `expected` holds.
TLines LinesFrom(const TLines& log, std::size_t first, std::size_t count) {
    if (first >= log.size()) return {};
    return TLines(log.begin() + static_cast<std::ptrdiff_t>(first),
                  log.begin() + static_cast<std::ptrdiff_t>(std::min(log.size(), first + count)));
}

QString JoinedLines(const TLines& lines) {
    QStringList joined;
    for (const std::string& line : lines) joined << QString::fromStdString(line);
    return joined.join(QLatin1Char('\n'));
}

// What the log window showed when it opened.
struct TVerdictSeen {
    std::string Text;
    bool Bold = false;
    bool Yes = false;
    bool No = false;
    bool Ok = false;
    QString Memo;
};

class CalculateCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        program_ = folder_.path().toStdString();
    }

    TNetworkForm& Form() {
        if (!form_) {
            TNetworkFormServices services = TestFormServices(boxes_, dialogs_, QString::fromStdString(program_));
            services.Wait = [this](int milliseconds) { waits_.push_back(milliseconds); };
            form_ = std::make_unique<TNetworkForm>(services);
            form_->resize(1000, 700);
            form_->show();
            QApplication::processEvents();
            verdictWatch_ = std::make_unique<TWhenShown>(form_->ResultsLog(), [this] { answerVerdict(); });
        }
        return *form_;
    }

    template <typename T = QPushButton>
    T* Widget(const char* name) {
        T* widget = Form().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QAction* Action(const char* name) { return Widget<QAction>(name); }
    // Buttons on a toolbar are shown and hidden through their toolbar items.
    bool ToolbarItemShown(const char* name) { return Action(name)->isVisible(); }
    QTimer* CalculatingTimer() { return Widget<QTimer>("TimerCalculating"); }
    QWidget* CalculatingPanel() { return Widget<QWidget>("PanelCalculating"); }

    void Calculate() { Widget("BitBtnCalculate")->click(); }

    // The log window's next opening is answered with this button.
    void AnswerVerdict(const char* button) { verdictAnswers_.push_back(button); }

    // The tank at (400, 400) draining along a pipe to the end node at (560, 400),
    // calculated (the table not viewed) and shown whole in the active window.
    void CalculateDrainingTankInView() {
        BuildDrainingTank(Form().Network());
        AnswerVerdict("ButtonNo");
        Calculate();
        Form().activateWindow();
        QApplication::setActiveWindow(&Form());
        Action("ToolButtonZoomCentre")->trigger();
    }

    // Runs `act` each time the running calculation lets events through.
    void WhileCalculating(std::function<void()> act) {
        auto* timer = new QTimer(&Form());
        QObject::connect(timer, &QTimer::timeout, [this, act] {
            if (Form().IsCalculating()) act();
        });
        timer->start(0);
    }

    // Presses Stop once the solve has made `attempts` attempts.
    void StopAfterAttempts(std::int32_t attempts) {
        WhileCalculating([this, attempts] {
            if (stopPressed_ || Form().Network().getIterationCountTotal() < attempts) return;
            stopPressed_ = true;
            EXPECT_TRUE(Widget("ButtonStopCalculating")->isEnabled());
            Widget("ButtonStopCalculating")->click();
        });
    }

    const TLines& Log() { return Form().ResultsLog().Lines(); }

    // From now on the results table, whenever it opens, is noted, given to
    // `whileOpen` and closed.
    void WatchResultsTable(std::function<void(TFormResults&)> whileOpen = {}) {
        TFormResults& table = Form().ResultsTable();
        tableWatch_ = std::make_unique<TWhenShown>(table, [this, &table, whileOpen] {
            tableOpenings_.push_back({table.CurrentTab(), table.Grid().GetCell(1, 2)});
            if (whileOpen) whileOpen(table);
            table.findChild<QPushButton*>("BitBtnCloseResults")->click();
        });
    }

    // Moves the mouse over drawing point (x, y), which must be in view.
    void MoveMouseTo(int x, int y) {
        const TNetworkView& view = Form().View();
        const QPointF pixel((x - view.ViewOriginX) * view.ViewScale, (y - view.ViewOriginY) * view.ViewScale);
        TNetworkCanvas& canvas = Form().Canvas();
        ASSERT_TRUE(canvas.rect().contains(pixel.toPoint()));
        QMouseEvent event(QEvent::MouseMove, pixel, canvas.mapToGlobal(pixel), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }

    QColor CanvasPixel(int x, int y) {
        const TNetworkView& view = Form().View();
        return Form().Canvas().Image().pixelColor(static_cast<int>((x - view.ViewOriginX) * view.ViewScale),
                                                  static_cast<int>((y - view.ViewOriginY) * view.ViewScale));
    }

    TScopedDecimalMark point_{'.'};
    QTemporaryDir folder_;
    std::string program_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    std::vector<int> waits_;
    std::deque<const char*> verdictAnswers_;
    std::vector<TVerdictSeen> verdicts_;
    bool stopPressed_ = false;
    std::unique_ptr<TNetworkForm> form_;  // after the scripts: it is destroyed first
    std::unique_ptr<TWhenShown> verdictWatch_;
    std::unique_ptr<TWhenShown> tableWatch_;
    struct TTableOpening {
        int Tab;
        std::string PipeNameCell;  // the first pipe's name on the "Pipes" tab
    };
    std::vector<TTableOpening> tableOpenings_;

private:
    void answerVerdict() {
        TResultsLogForm& log = Form().ResultsLog();
        TVerdictSeen seen;
        seen.Text = log.MessageText();
        seen.Bold = log.findChild<QLabel*>("LabelMessage")->font().bold();
        seen.Yes = !log.findChild<QPushButton*>("ButtonYes")->isHidden();
        seen.No = !log.findChild<QPushButton*>("ButtonNo")->isHidden();
        seen.Ok = !log.findChild<QPushButton*>("ButtonOk")->isHidden();
        seen.Memo = log.findChild<QPlainTextEdit*>("MemoLog")->toPlainText();
        verdicts_.push_back(seen);
        const char* button = seen.Ok ? "ButtonOk" : "ButtonNo";
        if (verdictAnswers_.empty()) {
            ADD_FAILURE() << "unscripted verdict: " << seen.Text;
        } else {
            button = verdictAnswers_.front();
            verdictAnswers_.pop_front();
        }
        log.findChild<QPushButton*>(button)->click();
    }
};

// ---- The animation's frame time --------------------------------------------------------------------

TEST(CalculationFrameTime, FollowsTheNumberOfOpenLinks) {
    const struct {
        int links;
        int frame_ms;
    } cases[] = {{1, 50}, {5, 50}, {16, 50}, {17, 47}, {40, 20}, {80, 10}, {81, 20}, {800, 20}, {0, 50}};
    for (const auto& c : cases) EXPECT_EQ(CalculationFrameTime_ms(c.links), c.frame_ms) << c.links << " links";
}

// ---- Solved -----------------------------------------------------------------------------------------

// The log holds the heading, then exactly what the solve and the result checks
// write, as the same network solved directly shows.
TEST_F(CalculateCommand, SolvedNetworkEndsInResultsModeWithItsLogAndTheVerdict) {
    BuildDrainingTank(Form().Network());
    TNetwork reference;
    reference.SetImperialUnits();  // as the window's new network
    BuildDrainingTank(reference);
    TLines expected = kHeader;
    bool solved = reference.SolveNetwork(expected);
    ASSERT_TRUE(solved);
    expected.emplace_back(" ");
    reference.CheckResults(expected, solved, reference.WarningCount);
    ASSERT_TRUE(solved);

    AnswerVerdict("ButtonNo");
    Calculate();

    EXPECT_EQ(Log(), expected);
    ASSERT_EQ(verdicts_.size(), 1u);
    EXPECT_EQ(verdicts_[0].Text, kSolvedVerdict);
    EXPECT_FALSE(verdicts_[0].Bold);
    EXPECT_TRUE(verdicts_[0].Yes && verdicts_[0].No);
    EXPECT_FALSE(verdicts_[0].Ok);
    EXPECT_EQ(verdicts_[0].Memo, JoinedLines(expected));

    EXPECT_TRUE(Form().ResultsMode());
    EXPECT_EQ(Widget("BitBtnCalculate")->text(), "ReDesign");
    EXPECT_TRUE(ToolbarItemShown("BitBtnResultsTableItem"));
    EXPECT_TRUE(ToolbarItemShown("BitBtnShowLogItem"));
    EXPECT_EQ(Form().StatusPanelText(2).toStdString(), kSolvedNote);
    EXPECT_EQ(Form().HintText().toStdString(), kResultsModeHint);
    EXPECT_EQ(Form().HintColour(), QColor(255, 255, 0));
    EXPECT_TRUE(Widget<QWidget>("PanelResultsKey")->isVisible());
    EXPECT_FALSE(CalculatingPanel()->isVisible());
    EXPECT_FALSE(CalculatingTimer()->isActive());
    EXPECT_EQ(Form().DrawingState().CurrentTool, TDrawingState::ToolShowInfo);
    EXPECT_TRUE(Action("ToolButtonShowInfo")->isChecked());
    EXPECT_FALSE(Form().IsModified());  // results are no change of the drawing
    // One open link: ten frames of 50 ms, the last frame not held.
    EXPECT_EQ(waits_, std::vector<int>(10, 50));
}

TEST_F(CalculateCommand, ReDesignReturnsToDesignModeAndEmptiesTheSolverNote) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());

    Calculate();  // "ReDesign"

    EXPECT_FALSE(Form().ResultsMode());
    EXPECT_EQ(Widget("BitBtnCalculate")->text(), "Calculate");
    EXPECT_EQ(Form().StatusPanelText(2), "");
    EXPECT_FALSE(ToolbarItemShown("BitBtnResultsTableItem"));
    EXPECT_FALSE(ToolbarItemShown("BitBtnShowLogItem"));
    EXPECT_FALSE(Widget<QWidget>("PanelResultsKey")->isVisible());
    EXPECT_EQ(Form().HintText().toStdString(), kShowInfoHint);
    EXPECT_EQ(Form().HintColour(), QColor(Qt::white));
    EXPECT_EQ(Form().DrawingState().CurrentTool, TDrawingState::ToolShowInfo);
    EXPECT_EQ(verdicts_.size(), 1u);  // no calculation ran
    EXPECT_EQ(waits_.size(), 10u);
}

TEST_F(CalculateCommand, ShowLogShowsTheLastVerdictAndLogAgain) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    const TLines log = Log();

    AnswerVerdict("ButtonNo");
    Widget("BitBtnShowLog")->click();

    ASSERT_EQ(verdicts_.size(), 2u);
    EXPECT_EQ(verdicts_[1].Text, kSolvedVerdict);
    EXPECT_TRUE(verdicts_[1].Yes && verdicts_[1].No);
    EXPECT_EQ(verdicts_[1].Memo, JoinedLines(log));
    EXPECT_EQ(Log(), log);
}

TEST_F(CalculateCommand, ANewNetworkStartsInDesignModeWithoutTheSolverNote) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());

    boxes_.AnswerConfirm(true);
    Action("FileNew")->trigger();

    EXPECT_FALSE(Form().ResultsMode());
    EXPECT_EQ(Widget("BitBtnCalculate")->text(), "Calculate");
    EXPECT_EQ(Form().StatusPanelText(2), "");
    EXPECT_FALSE(ToolbarItemShown("BitBtnShowLogItem"));
    EXPECT_FALSE(Widget<QWidget>("PanelResultsKey")->isVisible());
}

// ---- The results table ----------------------------------------------------------------------------

TEST_F(CalculateCommand, OnlyYesToTheSolvedVerdictOpensTheResultsTable) {
    BuildDrainingTank(Form().Network());
    WatchResultsTable();
    AnswerVerdict("ButtonNo");
    Calculate();
    EXPECT_TRUE(tableOpenings_.empty());

    Calculate();  // "ReDesign"
    AnswerVerdict("ButtonYes");
    Calculate();

    ASSERT_EQ(tableOpenings_.size(), 1u);
    EXPECT_EQ(tableOpenings_[0].Tab, TFormResults::PipesTab);
    EXPECT_EQ(tableOpenings_[0].PipeNameCell, "P1");
    EXPECT_TRUE(Form().ResultsMode());
}

TEST_F(CalculateCommand, ShowLogAndResultsOpenTheTableOnlyInResultsMode) {
    BuildDrainingTank(Form().Network());
    WatchResultsTable();
    AnswerVerdict("ButtonNo");
    Calculate();

    AnswerVerdict("ButtonYes");
    Widget("BitBtnShowLog")->click();
    EXPECT_EQ(tableOpenings_.size(), 1u);
    Widget("BitBtnResultsTable")->click();
    EXPECT_EQ(tableOpenings_.size(), 2u);

    Calculate();  // "ReDesign"
    Widget("BitBtnResultsTable")->click();
    EXPECT_EQ(tableOpenings_.size(), 2u);
}

// A row chosen in the table is described on the hint bar and highlighted on the
// drawing; a row of another tab only clears the highlight.
TEST_F(CalculateCommand, ARowChosenInTheResultsTableIsDescribedAndHighlighted) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    const TNetwork& network = Form().Network();
    struct TAfterChoice {
        std::string Hint;
        std::int32_t Pipe;
        std::int32_t Node;
    };
    std::vector<TAfterChoice> seen;
    WatchResultsTable([&](TFormResults& table) {
        const struct {
            int Tab, PipeId, NodeId;
        } choices[] = {{TFormResults::PipesTab, 1, 0}, {TFormResults::NodesTab, 0, 2}, {TFormResults::FluidsTab, 0, 0}};
        for (const auto& choice : choices) {
            table.CellSelected(choice.Tab, choice.PipeId, choice.NodeId);
            seen.push_back({Form().HintText().toStdString(), Form().DrawingState().SelectedPipeId,
                            Form().DrawingState().SelectedNodeId});
        }
    });

    Widget("BitBtnResultsTable")->click();

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Hint, StatusBarPipeText(network, 1));
    EXPECT_EQ(seen[0].Pipe, 1);
    EXPECT_EQ(seen[0].Node, 0);
    EXPECT_EQ(seen[1].Hint, StatusBarNodeText(network, 2));
    EXPECT_EQ(seen[1].Pipe, 0);
    EXPECT_EQ(seen[1].Node, 2);
    EXPECT_EQ(seen[2].Hint, seen[1].Hint);  // nothing to describe
    EXPECT_EQ(seen[2].Pipe, 0);
    EXPECT_EQ(seen[2].Node, 0);
}

TEST_F(CalculateCommand, UnitsChangedInTheResultsTableReachTheMainWindow) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    ASSERT_TRUE(Widget<QRadioButton>("RadioButtonImperialUnits")->isChecked());
    WatchResultsTable([this](TFormResults& table) {
        boxes_.AnswerConfirm(true);
        table.findChild<QAction*>("MetricUnits1")->trigger();
    });

    Widget("BitBtnResultsTable")->click();

    EXPECT_TRUE(Widget<QRadioButton>("RadioButtonMetricUnits")->isChecked());
    EXPECT_EQ(Widget<QLabel>("LabelVelocityResults")->text(), "v = velocity in m/sec");
    EXPECT_TRUE(Form().IsModified());
}

// ---- Refused and not solved -------------------------------------------------------------------------

TEST_F(CalculateCommand, NodesWithoutPipesOnlyShowTheRefusal) {
    TNetworkBuilder build(Form().Network());
    build.AddTank(400, 400);
    build.AddJoint(560, 400);
    Form().ResultsLog().Lines() = {"the last calculation"};

    Calculate();

    EXPECT_EQ(boxes_.Texts(), TLines{kNotEnough});
    EXPECT_EQ(Log(), TLines{"the last calculation"});
    EXPECT_TRUE(waits_.empty());  // no animation, no panel
    EXPECT_FALSE(CalculatingPanel()->isVisible());
    EXPECT_TRUE(verdicts_.empty());
    EXPECT_FALSE(Form().ResultsMode());
}

TEST_F(CalculateCommand, StopEndsAFailingSolveAfterTheAttemptInProgress) {
    BuildOverflowingPipe(Form().Network());
    StopAfterAttempts(2);
    AnswerVerdict("ButtonOk");

    Calculate();

    EXPECT_EQ(Form().Network().getIterationCountTotal(), 2);
    const std::size_t stopped = IndexOf(Log(), kStopped);
    ASSERT_LT(stopped, Log().size());
    EXPECT_EQ(LinesFrom(Log(), stopped, 5),
              (TLines{kStopped, " ", "Network was not solved.", " ", "Checking Results..."}));
    ASSERT_EQ(verdicts_.size(), 1u);
    EXPECT_EQ(verdicts_[0].Text, kNotSolvedVerdict);
    EXPECT_TRUE(verdicts_[0].Bold);
    EXPECT_TRUE(verdicts_[0].Ok);
    EXPECT_FALSE(verdicts_[0].Yes || verdicts_[0].No);
    EXPECT_FALSE(Form().ResultsMode());
    EXPECT_EQ(Widget("BitBtnCalculate")->text(), "Calculate");
    EXPECT_EQ(Form().StatusPanelText(2), "");
    EXPECT_FALSE(CalculatingPanel()->isVisible());
    EXPECT_FALSE(CalculatingTimer()->isActive());
    EXPECT_EQ(Form().Network().GetNodeLinkCount(), 1);
}

// Data no real network can have: the user is told which, the log says the same,
// no attempt is made and the drawing stays in design mode.
TEST_F(CalculateCommand, AnAbsurdNetworkIsRefusedBeforeAnyAttempt) {
    BuildDrainingTank(Form().Network());
    Form().Network().GetPipe(1).Length_m = -120.0 * 0.3048;
    AnswerVerdict("ButtonOk");

    Calculate();

    // In the form's units, feet.
    const std::string problem = "Pipe P1: length -120.000 ft. A pipe's length must be greater than zero.";
    ASSERT_EQ(boxes_.Texts().size(), 1u);
    EXPECT_NE(boxes_.Texts()[0].find(problem), std::string::npos) << boxes_.Texts()[0];
    EXPECT_LT(IndexOf(Log(), problem), Log().size());
    EXPECT_EQ(Form().Network().getIterationCountTotal(), 0);
    ASSERT_EQ(verdicts_.size(), 1u);
    EXPECT_EQ(verdicts_[0].Text, kNotSolvedVerdict);
    EXPECT_FALSE(Form().ResultsMode());
    EXPECT_EQ(Form().Network().GetPipe(1).Length_m, -120.0 * 0.3048);
}

// The solve clears the network's stop flag when it starts; a Stop pressed
// while the drawing still flashes must not be lost with it.
TEST_F(CalculateCommand, StopPressedBeforeTheSolveStartsStillStopsIt) {
    BuildOverflowingPipe(Form().Network());
    QTimer::singleShot(0, &Form(), [this] { Widget("ButtonStopCalculating")->click(); });
    AnswerVerdict("ButtonOk");

    Calculate();

    EXPECT_LE(Form().Network().getIterationCountTotal(), 1);  // not the whole ladder
    EXPECT_LT(IndexOf(Log(), kStopped), Log().size());

    // The next calculation starts afresh.
    StopAfterAttempts(3);
    AnswerVerdict("ButtonOk");
    Calculate();
    EXPECT_EQ(Form().Network().getIterationCountTotal(), 3);
}

TEST_F(CalculateCommand, FailedRefinementLogsTheToleranceAdviceAndSaysSo) {
    BuildDrainingTank(Form().Network());
    Form().Network().Settings.MaxIterationsFinalSolution = 1;
    AnswerVerdict("ButtonOk");

    Calculate();

    const std::size_t notSolved = IndexOf(Log(), "Network was not solved.");
    ASSERT_LT(notSolved, Log().size());
    const TLines advice = {
        "Network was not solved.",
        " ",
        "Final Pressure balance tolerance may be too small for this system to be solved.",
        " ",
        "NOTE: It is not normally necessary to adjust the configuration options related to the system calculations, "
        "however in a very finely balanced system, it may be necessary to do so.",
        " ",
        "Adjusting the final pressure balance tolerance under calculations options:",
        "If a solution can be found with a larger final pressure balance tolerance then note the velocity at several "
        "discharge points and reconfigure the minimum and maximum discharge estimates that are specified under "
        "calculations options (such that these bound the range of discharge velocities found in the less accurate "
        "solution). Specifying a shorter range for the minimum and maximum discharge velocity estimates (provided "
        "the range bounds the final solution) may allow the program to converge to an accurate solution for the "
        "original lower final pressure balance tolerance (or some suitable tolerance that provides for a "
        "sufficiently accurate solution.",
        " ",
        "Checking Results..."};
    EXPECT_EQ(LinesFrom(Log(), notSolved, advice.size()), advice);
    EXPECT_EQ(Log()[notSolved - 1], " ");
    ASSERT_EQ(verdicts_.size(), 1u);
    EXPECT_EQ(verdicts_[0].Text, kToleranceVerdict);
    EXPECT_TRUE(verdicts_[0].Bold);
    EXPECT_FALSE(Form().ResultsMode());
}

// Reservoirs at 50, 30 and 10 m with the pipe to the middle one drawn against
// its flow: the reversal question is the window's, and the turned pipe is a
// change of the document to be saved.
TEST_F(CalculateCommand, ReversalQuestionIsAskedByTheWindowAndTheTurnedPipeIsAChange) {
    TNetworkBuilder build(Form().Network());
    const std::int32_t high = build.AddTank(400, 400, 50.0);
    const std::int32_t middle = build.AddTank(800, 400, 30.0);
    const std::int32_t low = build.AddTank(800, 800, 10.0);
    const std::int32_t junction = build.AddJoint(600, 600);
    build.AddPipe(high, junction, "P1", 300.0, 0.15);
    const std::int32_t against = build.AddPipe(middle, junction, "P2", 200.0, 0.1);
    build.AddPipe(junction, low, "P3", 250.0, 0.1);
    boxes_.AnswerConfirm(true);
    AnswerVerdict("ButtonNo");

    Calculate();

    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].Kind, TScriptedMessageBoxes::TKind::Confirm);
    EXPECT_EQ(boxes_.Texts()[0].rfind("Flow in P2 is negative (-", 0), 0u) << boxes_.Texts()[0];
    std::int32_t from = 0;
    std::int32_t to = 0;
    Form().Network().GetFromAndToNodeIds(against, from, to);
    EXPECT_EQ(from, junction);
    EXPECT_EQ(to, middle);
    EXPECT_TRUE(Form().ResultsMode());
    EXPECT_TRUE(Form().IsModified());
}

// ---- While the solve runs ----------------------------------------------------------------------------

TEST_F(CalculateCommand, PanelSitsInTheMiddleOfTheDrawingAndFollowsTheSolve) {
    BuildOverflowingPipe(Form().Network());
    struct TPanelSeen {
        QString Status;
        QString Iteration;
        QColor Colour;
    };
    std::vector<TPanelSeen> seen;
    auto* status = Widget<QLabel>("LabelCalculatingUpdate");
    auto* iteration = Widget<QLabel>("LabelIterationCount");
    WhileCalculating([&] {
        if (seen.empty()) {
            QWidget* panel = CalculatingPanel();
            EXPECT_TRUE(panel->isVisible());
            const int width = Widget<QScrollBar>("ScrollBarHorizontal")->width();
            const int height = Widget<QScrollBar>("ScrollBarVertical")->height();
            EXPECT_EQ(panel->geometry(), QRect(width / 2 - 131, height / 2 - 53, 263, 106));
            EXPECT_EQ(Widget<QLabel>("LabelCalculating")->text(), "Calculating Results...");
            EXPECT_EQ(Widget("ButtonStopCalculating")->text(), "Stop");
        }
        if (seen.size() == 1) {
            // The solve has begun: the panel refreshes every 500 ms; let it
            // refresh at every chance from here on.
            EXPECT_TRUE(CalculatingTimer()->isActive());
            EXPECT_EQ(CalculatingTimer()->interval(), 500);
            CalculatingTimer()->setInterval(0);
        }
        seen.push_back({status->text(), iteration->text(), status->palette().color(QPalette::Window)});
    });
    StopAfterAttempts(3);
    AnswerVerdict("ButtonOk");

    Calculate();

    ASSERT_GE(seen.size(), 3u);
    // Set before the solve began.
    EXPECT_EQ(seen[0].Status, "Solving Network...");
    EXPECT_EQ(seen[0].Iteration, "Iteration 1");
    // The last refresh showed the solve's own status and attempt count.
    EXPECT_EQ(status->text().toStdString(), Form().Network().SolveStatusText);
    EXPECT_EQ(iteration->text(), "Iteration 3");
    // The status line flashed.
    const QColor face = Form().palette().color(QPalette::Button);
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const TPanelSeen& s) { return s.Colour == QColor(255, 255, 0); }));
    EXPECT_TRUE(std::any_of(seen.begin() + 2, seen.end(), [&](const TPanelSeen& s) { return s.Colour == face; }));
}

TEST_F(CalculateCommand, CommandsThatChangeTheDocumentAreOffWhileTheSolveRuns) {
    std::ofstream(std::filesystem::path(program_) / "RecentFiles.txt", std::ios::binary) << "1\r\n/plant/a.vme\r\n";
    BuildOverflowingPipe(Form().Network());
    const char* const changing[] = {"FileNew",       "Open1",         "OpenExamples1",  "ReviewExampleSystems1",
                                    "Save1",         "SaveAs1",       "RecentFile1",    "Exit1",
                                    "ImperialUnits1", "MetricUnits1"};
    const char* const viewing[] = {"ToolButtonZoomIn", "ToolButtonZoomOut", "ToolButtonZoomCentre", "Contents1",
                                   "About1"};
    const char* const widgets[] = {"BitBtnCalculate", "RadioButtonImperialUnits", "RadioButtonMetricUnits",
                                   "EditFluid", "NetworkCanvas"};
    bool checked = false;
    WhileCalculating([&] {
        if (checked) return;
        checked = true;
        for (const char* name : changing) EXPECT_FALSE(Action(name)->isEnabled()) << name;
        for (const char* name : viewing) EXPECT_TRUE(Action(name)->isEnabled()) << name;
        for (const char* name : widgets) EXPECT_FALSE(Widget<QWidget>(name)->isEnabled()) << name;
        EXPECT_TRUE(Widget("ButtonStopCalculating")->isEnabled());
    });
    StopAfterAttempts(1);
    AnswerVerdict("ButtonOk");

    Calculate();

    ASSERT_TRUE(checked);
    for (const char* name : changing) EXPECT_TRUE(Action(name)->isEnabled()) << name;
    for (const char* name : viewing) EXPECT_TRUE(Action(name)->isEnabled()) << name;
    for (const char* name : widgets) EXPECT_TRUE(Widget<QWidget>(name)->isEnabled()) << name;
}

// Closing during the solve must not take the document away from under it: the
// calculation stops, and the window closes once it has ended.
TEST_F(CalculateCommand, ClosingDuringTheSolveStopsItAndClosesAfterwards) {
    BuildOverflowingPipe(Form().Network());
    bool closedWhileRunning = false;
    WhileCalculating([&] {
        if (closedWhileRunning || Form().Network().getIterationCountTotal() < 1) return;
        closedWhileRunning = true;
        Form().close();
        EXPECT_TRUE(Form().isVisible());
    });

    Calculate();  // no verdict is scripted: none may show

    ASSERT_TRUE(closedWhileRunning);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_LE(Form().Network().getIterationCountTotal(), 2);
    EXPECT_LT(IndexOf(Log(), kStopped), Log().size());
    EXPECT_TRUE(verdicts_.empty());
    EXPECT_EQ(Form().Network().GetNodeLinkCount(), 1);
}

// ---- Results mode: the key and the hover ---------------------------------------------------------

TEST_F(CalculateCommand, ResultsKeyNamesTheUnitsOfTheDrawnNumbers) {
    BuildDrainingTank(Form().Network());
    AnswerVerdict("ButtonNo");
    Calculate();
    const TResultsKeyTexts key = ResultsKeyTexts(Form().Network());
    EXPECT_EQ(Widget<QLabel>("LabelFlowResults")->text().toStdString(), key.Flow);
    EXPECT_EQ(Widget<QLabel>("LabelVelocityResults")->text().toStdString(), key.Velocity);
    EXPECT_EQ(Widget<QLabel>("LabelPressureDropResults")->text().toStdString(), key.PressureDrop);
    EXPECT_EQ(Widget<QLabel>("LabelVelocityResults")->text(), "v = velocity in ft/sec");

    // The key follows a change of units.
    boxes_.AnswerConfirm(true);
    Action("MetricUnits1")->trigger();
    EXPECT_EQ(Widget<QLabel>("LabelVelocityResults")->text(), "v = velocity in m/sec");

    // "m.hd Fluid" is the longest name the key shows: no line of it is cut.
    const auto* panel = Widget<QWidget>("PanelResultsKey");
    for (const char* name : {"LabelFlowResults", "LabelVelocityResults", "LabelPressureDropResults"}) {
        const auto* label = Widget<QLabel>(name);
        EXPECT_GE(label->width(), label->sizeHint().width()) << name;
        EXPECT_LE(label->x() + label->width(), panel->width()) << name;
    }
}

// The tank at (400, 400) drains along the pipe to the end node at (560, 400).
TEST_F(CalculateCommand, HoverInResultsModeDescribesAndHighlightsTheItemUnderTheMouse) {
    CalculateDrainingTankInView();
    const TNetwork& network = Form().Network();
    ASSERT_NE(CanvasPixel(480, 400), QColor(255, 255, 0));

    MoveMouseTo(480, 400);
    EXPECT_EQ(Form().HintText().toStdString(), StatusBarPipeText(network, 1));
    EXPECT_EQ(Form().HintColour(), QColor(255, 255, 0));
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, 1);
    EXPECT_EQ(Form().DrawingState().SelectedNodeId, 0);
    EXPECT_EQ(CanvasPixel(480, 403), QColor(255, 255, 0));  // the wide yellow band under the pipe

    MoveMouseTo(560, 400);
    EXPECT_EQ(Form().HintText().toStdString(),
              " Node 2, N2, Demand Pressure, 0.0000 psi.g at 0.000ft elevation, HGL is 0.00 ft.hd Fluid");
    EXPECT_EQ(Form().HintText().toStdString(), StatusBarNodeText(network, 2));
    EXPECT_EQ(Form().DrawingState().SelectedNodeId, 2);
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, 0);  // the node wins over its pipe
    EXPECT_NE(CanvasPixel(480, 403), QColor(255, 255, 0));

    MoveMouseTo(480, 600);
    EXPECT_EQ(Form().HintText().toStdString(), kResultsHoverNothingHint);
    EXPECT_EQ(Form().HintColour(), QColor(Qt::white));
    EXPECT_EQ(Form().DrawingState().SelectedNodeId, 0);
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, 0);
}

// A change of units rewrites the hint of the hovered item at once: no unit name
// of the previous system stays on the bar until the mouse moves.
TEST_F(CalculateCommand, HoverHintFollowsAChangeOfUnits) {
    CalculateDrainingTankInView();
    const TNetwork& network = Form().Network();
    MoveMouseTo(560, 400);
    ASSERT_NE(Form().HintText().indexOf("psi.g"), -1) << Form().HintText().toStdString();

    boxes_.AnswerConfirm(true);
    Action("MetricUnits1")->trigger();
    const std::string metric = Form().HintText().toStdString();
    EXPECT_EQ(metric, StatusBarNodeText(network, 2));
    EXPECT_EQ(metric.find("psi"), std::string::npos) << metric;
    EXPECT_EQ(metric.find(" ft"), std::string::npos) << metric;

    boxes_.AnswerConfirm(true);
    Action("ImperialUnits1")->trigger();
    EXPECT_EQ(Form().HintText().toStdString(), StatusBarNodeText(network, 2));
    EXPECT_NE(Form().HintText().indexOf("psi.g"), -1);
}

// The pumped transfer example, opened and calculated as a user would: the pump
// symbol under the mouse describes the pump.
TEST_F(CalculateCommand, HoverOverAPumpOfAnExampleDescribesThePump) {
    Form().OpenFileFromCommandLine(std::string(VELMORA_EXAMPLES_DIR) + "/Example_02_Pumped_Transfer.vme");
    ASSERT_GT(Form().Network().GetNodeLinkCount(), 0);
    AnswerVerdict("ButtonNo");
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    ASSERT_EQ(verdicts_.size(), 1u);
    EXPECT_TRUE(verdicts_[0].Yes);
    const TNetwork& network = Form().Network();
    std::int32_t pumpPipe = 0;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount() && pumpPipe == 0; ++k) {
        const std::int32_t pipeId = network.GetNodeLink(k).PipeId;
        if (network.GetPipe(pipeId).HasPump) pumpPipe = pipeId;
    }
    ASSERT_GT(pumpPipe, 0);
    const TPump& pump = network.GetPipe(pumpPipe).Pump;

    MoveMouseTo(pump.X, pump.Y);

    const std::string hint = Form().HintText().toStdString();
    EXPECT_EQ(hint, StatusBarPumpText(network, pumpPipe));
    EXPECT_EQ(hint.rfind(" " + pump.Name() + ", Suction Pressure ", 0), 0u) << hint;
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, pumpPipe);
}

TEST_F(CalculateCommand, HoverDoesNothingInDesignMode) {
    BuildDrainingTank(Form().Network());
    Action("ToolButtonZoomCentre")->trigger();
    const QString hint = Form().HintText();
    MoveMouseTo(480, 400);
    EXPECT_EQ(Form().HintText(), hint);
    EXPECT_EQ(Form().DrawingState().SelectedPipeId, 0);
}

// ---- Mouse and hint bar --------------------------------------------------------------------------------

TEST_F(CalculateCommand, MouseMoveShowsTheGridSquareUnderIt) {
    const auto move = [this](int x, int y) {
        TNetworkCanvas& canvas = Form().Canvas();
        QMouseEvent event(QEvent::MouseMove, QPointF(x, y), canvas.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
        return Form().StatusPanelText(1).toStdString();
    };
    Widget<QScrollBar>("ScrollBarHorizontal")->setValue(1000);
    Widget<QScrollBar>("ScrollBarVertical")->setValue(500);
    // (100 + 1000) / 40 = 27.5, (60 + 500) / 40 = 14
    EXPECT_EQ(move(100, 60), " Grid  X=27  Y=14");

    Action("ToolButtonZoomIn")->trigger();
    Action("ToolButtonZoomIn")->trigger();
    Action("ToolButtonZoomIn")->trigger();  // 200%
    Widget<QScrollBar>("ScrollBarHorizontal")->setValue(1000);
    Widget<QScrollBar>("ScrollBarVertical")->setValue(500);
    // (100 / 2 + 1000) / 40 = 26.25, (60 / 2 + 500) / 40 = 13.25
    EXPECT_EQ(move(100, 60), " Grid  X=26  Y=13");
}

TEST_F(CalculateCommand, ToolHintTurnsTheBarYellowForHalfASecond) {
    Form().ShowToolHint(" Add Tank: click on the drawing");
    auto* timer = Widget<QTimer>("TimerStatusBarHint");
    EXPECT_EQ(Form().HintColour(), QColor(255, 255, 0));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);

    timer->start(0);  // let it fire now
    QApplication::processEvents();

    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(Form().HintColour(), QColor(Qt::white));
    EXPECT_EQ(Form().HintText(), " Add Tank: click on the drawing");
}

}  // namespace
