// The Calculate command: checks there is something to calculate, shows the
// calculating panel over the drawing, flashes the drawing, runs the solve with
// the results log, keeps the panel up to date while the solve yields to the
// event loop, and then presents the outcome: results mode and the verdict of
// the log window, or the reasons the network was not solved. In results mode
// the same button ("ReDesign") goes back to design mode.
//
// While the solve runs, the window's commands that could change the document
// or start another calculation are off (UpdateCommandStates); Stop stays on.

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <map>
#include <utility>

#include "editor/VM4_CalculatingPanel.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_QtUserMessages.h"
#include "results/VM4_ResultsLog_Form.h"
#include "solver/VM4_CalculationLog.h"

namespace {

const char* const kNotEnoughNetwork = "Not enough of Network defined to run calculations.";
const char* const kSolvingNetwork = "Solving Network...";
const char* const kSolvedNote =
    " Solved using Darcy-Weisbach Calculation method with ColeBrook-White Friction equations.";

constexpr int kAnimationFrames = 10;
constexpr int kSteadyFrameParity = 2;  // no id mod 2 equals it: nothing flashes
constexpr int kPanelRefresh_ms = 500;

QColor FlashColour() { return {255, 255, 0}; }

// Each open pipe's ends, by pipe id: a reversal during the solve turns a pipe
// for good, which is a change of the document.
std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> LinkEnds(const TNetwork& network) {
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> ends;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        ends[link.PipeId] = {link.FromNodeId, link.ToNodeId};
    }
    return ends;
}

QString IterationText(std::int32_t count) { return QStringLiteral("Iteration %1").arg(count); }

}  // namespace

// ---- The command ---------------------------------------------------------------------------------

void TNetworkForm::BitBtnCalculateClick() {
    if (calculating_) return;
    if (ResultsMode_) {
        SetDesignMode();
        statusPanels_[2]->clear();
        return;
    }
    if (!TheNetwork->IsNetworkOkToCalculate()) {
        services_.MessageBoxes->ShowInformation(kNotEnoughNetwork);
        return;
    }
    setCalculating(true);
    showCalculatingPanel();
    playCalculationAnimation();
    std::vector<std::string>& log = resultsLog_->Lines();
    log.clear();
    AppendResultsLogHeader(log);
    TimerCalculating->start(kPanelRefresh_ms);
    const bool solved = solveNetwork(log);
    ClearNetworkStates();
    RefreshScreen();
    setCalculating(false);
    if (solved)
        finishSolvedCalculation(log, solved);
    else
        finishUnsolvedCalculation(log, solved);
    PanelCalculating->hide();
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
}

void TNetworkForm::ButtonStopCalculatingClick() {
    stopRequested_ = true;
    TheNetwork->StopCalculating = true;
}

// The result checks may still find the solution wanting; the editor stays in
// results mode either way, and only a verdict that was asked about offers the table.
void TNetworkForm::finishSolvedCalculation(std::vector<std::string>& log, bool solved) {
    SetResultsMode();
    statusPanels_[2]->setText(QString::fromLatin1(kSolvedNote));
    log.emplace_back(" ");
    TheNetwork->CheckResults(log, solved, TheNetwork->WarningCount);
    PanelCalculating->hide();
    TimerCalculating->stop();
    if (closeRequested_) return;
    const int answer = resultsLog_->ShowSolveVerdict(solved, TheNetwork->WarningCount, TheNetwork->RefinementFailed);
    if (answer == TResultsLogForm::ViewResultsTable) BitBtnResultsTableClick();
}

// Whatever the verdict window answers, there are no results to show.
void TNetworkForm::finishUnsolvedCalculation(std::vector<std::string>& log, bool solved) {
    TimerCalculating->stop();
    PanelCalculating->hide();
    AppendNotSolvedLines(log, TheNetwork->RefinementFailed);
    log.emplace_back(" ");
    TheNetwork->CheckResults(log, solved, TheNetwork->WarningCount);
    if (closeRequested_) return;
    resultsLog_->ShowSolveVerdict(solved, TheNetwork->WarningCount, TheNetwork->RefinementFailed);
}

// The network hears about the user through the window while it solves, and only then.
bool TNetworkForm::solveNetwork(std::vector<std::string>& log) {
    const auto endsBefore = LinkEnds(*TheNetwork);
    TheNetwork->UserMessages = userMessages_.get();
    const bool solved = TheNetwork->SolveNetwork(log);
    TheNetwork->UserMessages = nullptr;
    if (LinkEnds(*TheNetwork) != endsBefore) MarkModified();
    return solved;
}

void TNetworkForm::setCalculating(bool calculating) {
    calculating_ = calculating;
    if (calculating) stopRequested_ = false;
    UpdateCommandStates();
}

// ---- The calculating panel ---------------------------------------------------------------------------

// Centred on the visible drawing, whose size the scroll bars share.
void TNetworkForm::showCalculatingPanel() {
    PanelCalculating->StatusLabel()->setText(QString::fromLatin1(kSolvingNetwork));
    PanelCalculating->IterationLabel()->setText(IterationText(1));
    const int left = horizontalScrollBar_->width() / 2 - PanelCalculating->width() / 2;
    const int top = verticalScrollBar_->height() / 2 - PanelCalculating->height() / 2;
    PanelCalculating->move(left, top);
    PanelCalculating->show();
    PanelCalculating->raise();
    PanelCalculating->repaint();
    PanelCalculating->Face()->repaint();
}

// Odd and even ids flash in turn, then the drawing settles; the frames are held
// longer for small networks.
void TNetworkForm::playCalculationAnimation() {
    const int frame_ms = CalculationFrameTime_ms(TheNetwork->GetNodeLinkCount());
    for (int frame = 1; frame <= kAnimationFrames; ++frame) {
        showCalculationFrame(frame % 2);
        services_.Wait(frame_ms);
    }
    showCalculationFrame(kSteadyFrameParity);
    QCoreApplication::processEvents();
}

void TNetworkForm::showCalculationFrame(int flashParity) {
    ScreenDrawing_.DrawMetaFileFromNetwork(*TheNetwork, flashParity, true, false, true, DrawingState_);
    DrawNetworkImageFromMetaFileAutomatic();
    canvas_->repaint();
}

// Every 500 ms while the solve yields: the status line's background flashes
// with the drawing, and the panel shows the solve's status and attempt count.
// An empty status (the solve is asking the user something) stops the timer.
void TNetworkForm::TimerCalculatingTimer() {
    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor colour = PanelCalculating->StatusColour();
    if (colour == buttonFace) {
        PanelCalculating->SetStatusColour(FlashColour());
        showCalculationFrame(0);
    } else if (colour == FlashColour()) {
        PanelCalculating->SetStatusColour(buttonFace);
        showCalculationFrame(1);
    }
    PanelCalculating->StatusLabel()->setText(QString::fromStdString(TheNetwork->SolveStatusText));
    PanelCalculating->IterationLabel()->setText(IterationText(TheNetwork->getIterationCountTotal()));
    PanelCalculating->Face()->repaint();
    if (TheNetwork->SolveStatusText.empty()) TimerCalculating->stop();
}
