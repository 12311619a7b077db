#include "editor/panel/VM4_InfoPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/VM4_DrawingState.h"
#include "editor/panel/VM4_NodePanel.h"
#include "editor/panel/VM4_PanelHost.h"
#include "editor/panel/VM4_PipePanel.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

constexpr int NodesTab = 0;

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

QTimer* HighlightTimer(QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(TInfoPanel::HighlightMilliseconds);
    return timer;
}

}  // namespace

TInfoPanel::TInfoPanel(IPanelHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("LeftPanel1"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // A window lower than the panel scrolls it rather than squeezing the drawing.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    content_ = scroll;
    auto* inner = new QWidget(scroll);
    scroll->setWidget(inner);
    auto* column = new QVBoxLayout(inner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    tabs_ = new QTabBar(inner);
    tabs_->addTab(QStringLiteral("Nodes"));
    tabs_->addTab(QStringLiteral("Pipes"));
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(false);
    nodePanel_ = new TNodePanel(host, inner);
    pipePanel_ = new TPipePanel(host, inner);
    column->addWidget(tabs_);
    column->addWidget(nodePanel_);
    column->addWidget(pipePanel_);
    column->addStretch(1);
    collapse_ = new QToolButton(this);
    collapse_->setObjectName(QStringLiteral("ButtonCollapsePanel"));
    collapse_->setToolTip(QStringLiteral("Show/Hide Left Side Pipe & Node Information"));
    collapse_->setFixedWidth(HiddenWidth);
    collapse_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    layout->addWidget(content_);
    layout->addWidget(collapse_);
    TimerNodePanelHighlight = HighlightTimer(this);
    TimerPipePanelHighlight = HighlightTimer(this);
    connect(TimerNodePanelHighlight, &QTimer::timeout, this, &TInfoPanel::EndNodeHighlight);
    connect(TimerPipePanelHighlight, &QTimer::timeout, this, &TInfoPanel::EndPipeHighlight);
    connect(tabs_, &QTabBar::tabBarClicked, this, &TInfoPanel::TabChosen);
    connect(collapse_, &QToolButton::clicked, this, &TInfoPanel::CollapseClicked);
    watchClicks();
    ShowLeftPanel();
}

void TInfoPanel::UpdatePanels(bool highlight) {
    UpdatePanelsNode(host_.State().SelectedNodeId, highlight);
    UpdatePanelsPipe(host_.State().SelectedPipeId, highlight);
}

void TInfoPanel::UpdatePanelsNode(std::int32_t nodeId, bool highlight) {
    TDrawingState& state = host_.State();
    if (nodeId > 0 && highlight && nodeId != state.PanelNodeId) nodePanel_->SetAreasColour(Qt::yellow);
    if (nodeId > 0) state.PanelNodeId = nodeId;
    nodePanel_->UpdatePanelsNode(nodeId);
    if (nodeId > 0 && highlight) TimerNodePanelHighlight->start();
}

void TInfoPanel::UpdatePanelsPipe(std::int32_t pipeId, bool highlight) {
    TDrawingState& state = host_.State();
    if (pipeId > 0 && highlight && pipeId != state.PanelPipeId)
        pipePanel_->SetColour(Qt::yellow);
    else if (!TimerPipePanelHighlight->isActive())
        pipePanel_->SetColour(ButtonFace());
    if (pipeId > 0) state.PanelPipeId = pipeId;
    pipePanel_->UpdatePanelsPipe(pipeId);
    if (pipeId > 0 && highlight) TimerPipePanelHighlight->start();
}

bool TInfoPanel::NodeFlashing() const { return TimerNodePanelHighlight->isActive(); }

bool TInfoPanel::PipeFlashing() const { return TimerPipePanelHighlight->isActive(); }

void TInfoPanel::EndNodeHighlight() {
    TimerNodePanelHighlight->stop();
    nodePanel_->SetAreasColour(ButtonFace());
    nodePanel_->RepaintPreview();
}

void TInfoPanel::EndPipeHighlight() {
    TimerPipePanelHighlight->stop();
    pipePanel_->SetColour(ButtonFace());
}

void TInfoPanel::ShowLeftPanel() {
    setFixedWidth(ShownWidth);
    content_->setVisible(true);
    collapse_->setText(QStringLiteral("<"));
}

void TInfoPanel::HideLeftPanel() {
    setFixedWidth(HiddenWidth);
    content_->setVisible(false);
    collapse_->setText(QStringLiteral(">"));
}

void TInfoPanel::CollapseClicked() {
    if (width() <= 50)
        ShowLeftPanel();
    else
        HideLeftPanel();
}

// "Pipes" folds the node's header and values away to give the pipe room;
// "Nodes" brings them back.
void TInfoPanel::TabChosen(int tab) {
    const bool nodes = tab == NodesTab;
    nodePanel_->Header()->setVisible(nodes);
    if (nodes) {
        UpdatePanelsNode(host_.State().SelectedNodeId, false);
    } else {
        nodePanel_->Detail()->setVisible(false);
        nodePanel_->JoinPanel()->setVisible(false);
    }
}

void TInfoPanel::watchClicks() {
    for (QWidget* area : std::initializer_list<QWidget*>{nodePanel_->Header(), nodePanel_->Detail(),
                                                         nodePanel_->JoinPanel(), pipePanel_})
        area->installEventFilter(this);
}

// A click on an empty part of the panel says how to fill it.
bool TInfoPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
    const TDrawingState& state = host_.State();
    const bool pipeArea = watched == pipePanel_;
    if (!pipeArea && state.SelectedNodeId <= 0) host_.Boxes().ShowInformation(NoNodeMessage);
    if (pipeArea && state.SelectedPipeId <= 0) host_.Boxes().ShowInformation(NoPipeMessage);
    if (watched != nodePanel_->Header()) host_.RefreshScreen();
    return QWidget::eventFilter(watched, event);
}
