// The drawing's editing: the table of tool and edit commands, the single-key
// tool shortcuts, the mouse on the drawing handed to the current tool, and
// what the tools may ask of the window.
//
// Commands that change the network are off in results mode (their rule says
// so), the Edit menu's included: results on the screen must always describe
// the network drawn under them. ReDesign returns to design mode.

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <string_view>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_EditCommands.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/VM4_ToolCursors.h"
#include "editor/VM4_ToolIcons.h"
#include "editor/tools/VM4_DrawingEdits.h"
#include "editor/tools/VM4_ToolBox.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

TCommandEntry Tool(const char* name, const char* hint, QIcon (*icon)(), std::uint8_t code, char key,
                   bool offInResultsMode) {
    TCommandEntry entry;
    entry.Name = name;
    entry.Hint = hint;
    entry.Icon = icon;
    entry.ToolCode = code;
    entry.ToolKey = key;
    entry.Rule.OffInResultsMode = offInResultsMode;
    entry.Handler = [code](TNetworkForm& form) { form.ChooseTool(code); };
    return entry;
}

TCommandEntry Edit(const char* name, const char* text, const char* hint, QIcon (*icon)(), const QKeySequence& key,
                   void (TEditCommands::*command)()) {
    TCommandEntry entry;
    entry.Name = name;
    entry.Text = text;
    entry.Hint = hint;
    entry.Icon = icon;
    entry.Shortcut = key;
    entry.Rule.OffInResultsMode = true;
    entry.Handler = [command](TNetworkForm& form) { form.RunEditCommand(command); };
    return entry;
}

using TD = TDrawingState;

}  // namespace

// ---- The command table ---------------------------------------------------------------------------

const std::vector<TCommandEntry>& TNetworkForm::ToolCommands() {
    static const std::vector<TCommandEntry> tools = {
        Tool("ToolButtonShowInfo", "Show Item Info", ToolIcons::ShowInfo, TD::ToolShowInfo, 'I', false),
        Tool("ToolButtonPan", "Pan the drawing", ToolIcons::Pan, TD::ToolPan, 'H', false),
        Tool("ToolButtonDrag", "Drag and Move Items", ToolIcons::Drag, TD::ToolDrag, 'M', false),
        Tool("ToolButtonSelection", "Selection tool, use to move groups of objects ", ToolIcons::Selection,
             TD::ToolSelection, 'S', true),
        Tool("ToolButtonJoinPoint", "Add Join Point", ToolIcons::JoinPoint, TD::ToolAddJoint, 'J', true),
        Tool("ToolButtonPipes", "Add Pipes", ToolIcons::Pipes, TD::ToolAddPipes, 'P', true),
        Tool("ToolButtonFittings", "Add Fittings", ToolIcons::Fittings, TD::ToolAddFittings, 'F', true),
        Tool("ToolButtonComponentPressure", "Add Component Pressure Loss", ToolIcons::Component,
             TD::ToolAddFixedPressureLoss, 'C', true),
        Tool("ToolButtonFlowControl", "Add Flow Control", ToolIcons::FlowControl, TD::ToolAddFlowControl, 'L', true),
        Tool("ToolButtonPump", "Add Pump", ToolIcons::Pump, TD::ToolAddPump, 'U', true),
        Tool("ToolButtonTank", "Add Tank", ToolIcons::Tank, TD::ToolAddTank, 'T', true),
        Tool("ToolButtonDemandPressure", "Add Demand (Pressure) ", ToolIcons::DemandPressure,
             TD::ToolAddDemandPressure, 'E', true),
        Tool("ToolButtonDemandFlow", "Add Demand (Flow)", ToolIcons::DemandFlow, TD::ToolAddDemandFlow, 'D', true),
        Tool("ToolButtonCopyDefaultPipe", "Copy Default Pipe Values to an existing pipe", ToolIcons::CopyDefaultPipe,
             TD::ToolCopyDefaultPipe, 'K', true),
        Tool("ToolButtonFreeText", "Add Free Text", ToolIcons::FreeText, TD::ToolAddFreeText, 'X', false),
    };
    return tools;
}

// Each edit command has a menu entry (with the desktop's standard key) and a
// toolbar button (named "ToolButton" + the entry's name without its "1").
const std::vector<TCommandEntry>& TNetworkForm::EditCommands() {
    static const std::vector<TCommandEntry> edits = {
        Edit("Undo1", "Undo", "Undo last pipe/node", ToolIcons::Undo, QKeySequence::Undo, &TEditCommands::Undo),
        Edit("Redo1", "Redo", "Redo last pipe/node", ToolIcons::Redo, QKeySequence::Redo, &TEditCommands::Redo),
        Edit("Cut1", "Cut", "Cut", ToolIcons::Cut, QKeySequence::Cut, &TEditCommands::Cut),
        Edit("Copy1", "Copy", "Copy", ToolIcons::Copy, QKeySequence::Copy, &TEditCommands::Copy),
        Edit("Paste1", "Paste", "Paste", ToolIcons::Paste, QKeySequence::Paste, &TEditCommands::Paste),
        Edit("Delete1", "Delete", "Delete", ToolIcons::Delete, QKeySequence::Delete, &TEditCommands::Delete),
    };
    return edits;
}

QAction* TNetworkForm::makeCommand(const TCommandEntry& entry, const QString& objectName, bool withShortcut) {
    auto* action = new QAction(QString::fromLatin1(entry.Text), this);
    action->setObjectName(objectName);
    QString hint = QString::fromLatin1(entry.Hint);
    if (entry.ToolKey != 0) hint += QStringLiteral(" (%1)").arg(QLatin1Char(entry.ToolKey));
    action->setToolTip(hint);
    if (entry.Icon != nullptr) action->setIcon(entry.Icon());
    if (withShortcut && !entry.Shortcut.isEmpty()) action->setShortcut(entry.Shortcut);
    const auto handler = entry.Handler;
    connect(action, &QAction::triggered, this, [this, handler] { handler(*this); });
    registerCommand(action, entry.Rule.Built);
    commandRule(action->objectName().toLatin1().constData()) = entry.Rule;
    return action;
}

void TNetworkForm::addEditMenuCommands(QMenu* menu) {
    for (const TCommandEntry& entry : EditCommands())
        menu->addAction(makeCommand(entry, QString::fromLatin1(entry.Name), true));
}

void TNetworkForm::addToolButtons(QToolBar* bar) {
    for (const TCommandEntry& entry : ToolCommands()) {
        QAction* action = makeCommand(entry, QString::fromLatin1(entry.Name), false);
        action->setCheckable(true);
        bar->addAction(action);
    }
}

void TNetworkForm::addEditButtons(QToolBar* bar) {
    // The toolbar's order: Delete, Cut, Copy, Paste, then Undo and Redo.
    for (const char* name : {"Delete1", "Cut1", "Copy1", "Paste1", "Undo1", "Redo1"}) {
        for (const TCommandEntry& entry : EditCommands()) {
            if (std::string_view(entry.Name) != name) continue;
            QString buttonName = QStringLiteral("ToolButton") + QString::fromLatin1(entry.Name);
            buttonName.chop(1);
            bar->addAction(makeCommand(entry, buttonName, false));
        }
    }
}

// ---- Choosing tools -----------------------------------------------------------------------------

void TNetworkForm::checkToolButton(std::uint8_t code) {
    for (const TCommandEntry& entry : ToolCommands())
        commandAction(entry.Name)->setChecked(entry.ToolCode == code);
}

void TNetworkForm::ChooseTool(std::uint8_t code) {
    if (toolBox_->Find(code) == nullptr) return;
    DrawingState_.CurrentTool = code;
    toolBox_->Choose(code);
    checkToolButton(code);
    ShowToolHint(toolBox_->Current().StatusText());
    if (code != TDrawingState::ToolSelection) RefreshScreenImageOnly();
}

void TNetworkForm::RunEditCommand(void (TEditCommands::*command)()) {
    runGuarded([this, command] { (editCommands_.get()->*command)(); });
}

// A network error inside a tool or command (an undo step whose pipe no longer
// joins its nodes) is told to the user; the steps already taken stay.
void TNetworkForm::runGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const EVelmoraError& error) {
        services_.MessageBoxes->ShowInformation(error.what());
    }
}

// Single keys choose tools while the drawing has the focus, as long as the
// tool's button is enabled; Escape ends what the tool is drawing.
void TNetworkForm::CanvasKeyPressed(int key, Qt::KeyboardModifiers modifiers, const QString&) {
    if (key == Qt::Key_Escape) {
        runGuarded([this] { toolBox_->Current().Escape(); });
        return;
    }
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) return;
    for (const TCommandEntry& entry : ToolCommands()) {
        if (key != entry.ToolKey) continue;
        QAction* action = commandAction(entry.Name);
        if (action->isEnabled()) action->trigger();
        return;
    }
}

// ---- Mouse on the drawing --------------------------------------------------------------------------

TToolPoint TNetworkForm::toolPoint(int x, int y) const {
    TToolPoint point;
    point.X = View_.GetDrawingX(x);
    point.Y = View_.GetDrawingY(y);
    point.SnapX = TDrawingEdits::SnapX(point.X);
    point.SnapY = TDrawingEdits::SnapY(point.Y);
    return point;
}

void TNetworkForm::CanvasMousePressed(Qt::MouseButton button, int x, int y) {
    const TToolPoint point = toolPoint(x, y);
    TEditorTool& tool = toolBox_->Current();
    if (button == Qt::LeftButton)
        runGuarded([&tool, &point] { tool.LeftDown(point); });
    else if (button == Qt::RightButton)
        runGuarded([&tool, &point] { tool.RightDown(point); });
    // A click that selected an item shows it in the panel, flashing if it is new there.
    infoPanel_->UpdatePanels(true);
    RefreshScreenImageOnly();
}

void TNetworkForm::CanvasMouseReleased(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    const TToolPoint point = toolPoint(x, y);
    runGuarded([this, &point] { toolBox_->Current().LeftUp(point); });
}

// ---- What the tools ask of the window --------------------------------------------------------------

TDrawingState& TNetworkForm::State() { return DrawingState_; }

TActionLog& TNetworkForm::ActionLog() { return *actionLog_; }

IMessageBoxes& TNetworkForm::Boxes() { return *services_.MessageBoxes; }

IItemDialogs& TNetworkForm::Dialogs() { return *itemDialogs_; }

void TNetworkForm::Regenerate() { RefreshScreenImageOnly(); }

void TNetworkForm::SetCursor(TToolCursor cursor) {
    switch (cursor) {
        case TToolCursor::OpenHand: canvas_->setCursor(Qt::OpenHandCursor); break;
        case TToolCursor::GrabbingHand: canvas_->setCursor(Qt::ClosedHandCursor); break;
        case TToolCursor::Move: canvas_->setCursor(ToolCursors::ForTool(TDrawingState::ToolDrag)); break;
        case TToolCursor::Selection: canvas_->setCursor(Qt::CrossCursor); break;
        case TToolCursor::SelectionActive: canvas_->setCursor(Qt::SizeAllCursor); break;
        case TToolCursor::PointingHand: canvas_->setCursor(Qt::PointingHandCursor); break;
        case TToolCursor::Cross: canvas_->setCursor(Qt::CrossCursor); break;
        // The chosen tool's own picture beside the pointer.
        case TToolCursor::Arrow: canvas_->setCursor(ToolCursors::ForTool(DrawingState_.CurrentTool)); break;
    }
}

void TNetworkForm::PanBy(int dx, int dy) {
    View_.ViewOriginX += dx;
    View_.ViewOriginY += dy;
    updateScrollBars();
    DrawNetworkImageFromMetaFileAutomatic();
}

int TNetworkForm::ViewOriginX() const { return View_.ViewOriginX; }

int TNetworkForm::ViewOriginY() const { return View_.ViewOriginY; }
