// Design and results modes, the hint bar, the results key, which commands are
// available when, and the mouse over the drawing.
//
// Every command's enabled state is worked out in one place (UpdateCommandStates)
// from three facts: whether its window or tool exists yet, the mode, and whether
// a calculation is running. A command that would edit the drawing is off in
// results mode; one that could change or replace the document, or start a
// second calculation, is off while the solve runs, because the solve yields to
// the event loop with the link table in pieces.

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "editor/VM4_CalculatingPanel.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/tools/VM4_ToolBox.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_FormResults.h"
#include "results/VM4_ResultsHoverTexts.h"
#include "results/VM4_ResultsLog_Form.h"

namespace {

const char* const kShowInfoHint = " Show Info: Left click on an item to show its details in the left hand panel.";
const char* const kResultsModeHint = " RESULTS MODE - Click on Re-Design button to return to edit mode.";

constexpr int kHintMilliseconds = 500;
constexpr int kGridSpacing = 40;

// What results mode turns off besides the tools and edit commands, whose own
// rules say so.
const char* const kDesignOnlyCommands[] = {"ToolButtonEditGrid", "EditPipeNodeData1", "ChangeDefaultPipeData1"};

// Commands that only show things: they stay available while a calculation runs.
const char* const kViewingCommands[] = {
    "ToolButtonZoomOut", "ToolButtonZoomIn", "ToolButtonZoomCentre", "Contents1", "Index1",
    "ReviewExampleSystems2", "WalkThroughExample1", "WebPage1", "About1",
};

QColor AttentionColour() { return {255, 255, 0}; }

}  // namespace

// ---- Command states ---------------------------------------------------------------------------

void TNetworkForm::registerCommand(QAction* action, bool built) {
    TCommandRule rule;
    rule.Built = built;
    commandRules_.emplace_back(action, rule);
}

TNetworkForm::TCommandRule& TNetworkForm::commandRule(const char* objectName) {
    return commandEntry(objectName).second;
}

QAction* TNetworkForm::commandAction(const char* objectName) { return commandEntry(objectName).first; }

std::pair<QAction*, TNetworkForm::TCommandRule>& TNetworkForm::commandEntry(const char* objectName) {
    const QString name = QString::fromLatin1(objectName);
    for (auto& entry : commandRules_)
        if (entry.first->objectName() == name) return entry;
    throw std::logic_error(std::string("no command ") + objectName);
}

void TNetworkForm::setCommandRules() {
    for (const char* name : kDesignOnlyCommands) commandRule(name).OffInResultsMode = true;
    for (const char* name : kViewingCommands) commandRule(name).OffWhileCalculating = false;
    UpdateCommandStates();
}

void TNetworkForm::UpdateCommandStates() {
    for (const auto& [action, rule] : commandRules_) {
        const bool enabled = rule.Built && !(ResultsMode_ && rule.OffInResultsMode) &&
                             !(calculating_ && rule.OffWhileCalculating);
        action->setEnabled(enabled);
    }
    // The widgets that run commands of their own. The drawing takes no mouse
    // input during a calculation: its tools edit the document.
    for (QWidget* widget : std::initializer_list<QWidget*>{BitBtnCalculate, RadioButtonImperialUnits,
                                                           RadioButtonMetricUnits, EditFluid, canvas_})
        widget->setEnabled(!calculating_);
}

// ---- Modes ---------------------------------------------------------------------------------------

void TNetworkForm::SetDesignMode() {
    ResultsMode_ = false;
    BitBtnCalculate->setText(QStringLiteral("Calculate"));
    resultsButtonAction_->setVisible(false);
    showLogButtonAction_->setVisible(false);
    UpdateCommandStates();
    chooseShowInfoTool();
    SetStatusBarHint(kShowInfoHint, false);
    PanelResultsKey->hide();
    PanelCalculating->hide();
    TimerCalculating->stop();
    RefreshScreen();
}

void TNetworkForm::SetResultsMode() {
    ResultsMode_ = true;
    BitBtnCalculate->setText(QStringLiteral("ReDesign"));
    resultsButtonAction_->setVisible(true);
    showLogButtonAction_->setVisible(true);
    UpdateCommandStates();
    chooseShowInfoTool();
    SetStatusBarHint(kResultsModeHint, true);
    UpdatePanelResultsKey();
    PanelResultsKey->show();
    PanelResultsKey->raise();
    RefreshScreen();
}

void TNetworkForm::chooseShowInfoTool() {
    DrawingState_.CurrentTool = TDrawingState::ToolShowInfo;
    toolBox_->Choose(TDrawingState::ToolShowInfo);
    checkToolButton(TDrawingState::ToolShowInfo);
}

// ---- Hint bar and results key ------------------------------------------------------------------

void TNetworkForm::SetStatusBarHint(const std::string& text, bool attention) {
    StatusBarHint->setText(QString::fromStdString(text));
    StatusBarHint->setToolTip(StatusBarHint->text());
    QPalette palette = StatusBarHint->palette();
    palette.setColor(QPalette::Window, attention ? AttentionColour() : QColor(Qt::white));
    StatusBarHint->setPalette(palette);
}

QString TNetworkForm::HintText() const { return StatusBarHint->text(); }

QColor TNetworkForm::HintColour() const { return StatusBarHint->palette().color(QPalette::Window); }

void TNetworkForm::ShowToolHint(const std::string& text) {
    SetStatusBarHint(text, true);
    TimerStatusBarHint->start(kHintMilliseconds);
}

// The hint keeps its text; only the attention colour goes.
void TNetworkForm::TimerStatusBarHintTimer() {
    TimerStatusBarHint->stop();
    SetStatusBarHint(StatusBarHint->text().toStdString(), false);
}

void TNetworkForm::UpdatePanelResultsKey() {
    const TResultsKeyTexts key = ResultsKeyTexts(*TheNetwork);
    LabelFlowResults->setText(QString::fromStdString(key.Flow));
    LabelVelocityResults->setText(QString::fromStdString(key.Velocity));
    LabelPressureDropResults->setText(QString::fromStdString(key.PressureDrop));
    // Unit names differ in length ("m.hd Fluid", "US gal/min"): the key grows
    // rather than cut one.
    int keyWidth = PanelResultsKey->minimumWidth();
    for (QLabel* label : {LabelFlowResults, LabelVelocityResults, LabelPressureDropResults}) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        keyWidth = std::max(keyWidth, label->x() + label->width() + 4);
    }
    PanelResultsKey->resize(keyWidth, PanelResultsKey->height());
}

// ---- Mouse over the drawing ------------------------------------------------------------------------

// The second panel of the status bar follows the mouse in grid squares; in
// results mode the item under the mouse is selected and described.
void TNetworkForm::CanvasMouseMove(int x, int y, bool leftHeld) {
    const TToolPoint point = toolPoint(x, y);
    runGuarded([this, &point, leftHeld] { toolBox_->Current().Move(point, leftHeld); });
    const auto square = [](double drawing) { return static_cast<int>(std::trunc(drawing / kGridSpacing)); };
    const int gridX = square(x / View_.ViewScale + View_.ViewOriginX);
    const int gridY = square(y / View_.ViewScale + View_.ViewOriginY);
    statusPanels_[1]->setText(QStringLiteral(" Grid  X=%1  Y=%2").arg(gridX).arg(gridY));
    if (ResultsMode_) ShowResultsHover(View_.GetDrawingX(x), View_.GetDrawingY(y));
}

// The hovered item is drawn highlighted. The picture only changes with the
// selection, so it is regenerated only then; while the application is not the
// active one it is not regenerated at all, until the mouse moves over it again.
void TNetworkForm::ShowResultsHover(int px, int py) {
    lastHover_ = QPoint(px, py);
    const TResultsHover hover = ResultsHoverAt(*TheNetwork, px, py);
    const bool selectionChanged = hover.SelectedPipeId != DrawingState_.SelectedPipeId ||
                                  hover.SelectedNodeId != DrawingState_.SelectedNodeId;
    DrawingState_.SelectedPipeId = hover.SelectedPipeId;
    DrawingState_.SelectedNodeId = hover.SelectedNodeId;
    SetStatusBarHint(hover.HintText, hover.Hit);
    hoverPictureStale_ = hoverPictureStale_ || selectionChanged;
    if (selectionChanged) infoPanel_->UpdatePanels(false);
    if (hoverPictureStale_ && QGuiApplication::applicationState() == Qt::ApplicationActive) {
        RefreshScreenImageOnly();
        hoverPictureStale_ = false;
    }
}

// ---- Results and log windows ---------------------------------------------------------------------

void TNetworkForm::BitBtnResultsTableClick() {
    if (!ResultsMode_) return;
    resultsTable_->ShowResultsTable(*TheNetwork);
    RefreshScreen();
}

// A row chosen in the results table: the hint bar describes its pipe, fittings,
// pump or node, and the drawing highlights it. Other tabs only clear the highlight.
void TNetworkForm::ResultsTableCellSelected(int tabIndex, int pipeId, int nodeId) {
    std::string text;
    switch (tabIndex) {
        case TFormResults::PipesTab: text = StatusBarPipeText(*TheNetwork, pipeId); break;
        case TFormResults::FittingsTab: text = StatusBarFittingText(*TheNetwork, pipeId); break;
        case TFormResults::PumpsTab: text = StatusBarPumpText(*TheNetwork, pipeId); break;
        case TFormResults::NodesTab: text = StatusBarNodeText(*TheNetwork, nodeId); break;
        default: break;
    }
    if (!text.empty()) StatusBarHint->setText(QString::fromStdString(text));
    ClearNetworkStates();
    DrawingState_.SelectedPipeId = pipeId;
    DrawingState_.SelectedNodeId = nodeId;
    RefreshScreen();
}

// The units travel in the network file, like a change made in this window.
void TNetworkForm::ResultsTableUnitsChanged() {
    MarkModified();
    SetUnitRadioButtonsFromNetwork();
    UpdateFluidDisplay();
    RefreshScreen();
    refreshHintAfterUnitChange();
}

// The hint describes the item under the mouse with the unit names of the moment
// it was written: after a change of units it is written again, rather than keep
// the old names until the mouse moves.
void TNetworkForm::refreshHintAfterUnitChange() {
    if (ResultsMode_ && lastHover_) ShowResultsHover(lastHover_->x(), lastHover_->y());
}

void TNetworkForm::BitBtnShowLogClick() {
    if (resultsLog_->ShowAgain() == TResultsLogForm::ViewResultsTable) BitBtnResultsTableClick();
}
