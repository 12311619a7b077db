#include "editor/panel/VM4_NodePanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/VM4_DrawingState.h"
#include "editor/panel/VM4_NodeSymbolPreview.h"
#include "editor/panel/VM4_PanelHost.h"
#include "editor/panel/VM4_PanelNotes.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"


TNodePanel::TNodePanel(IPanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createHeader();
    createDetail();
    createJoinPanel();
    createNotes();
    for (QFrame* frame : {header_, detail_, join_, notes_}) layout->addWidget(frame);
    connectEdits();
    showNone();
}

void TNodePanel::createHeader() {
    header_ = PanelFrame(QStringLiteral("PanelNodeHeader"), this);
    header_->setFixedHeight(83);
    auto* grid = new QGridLayout(header_);
    grid->setContentsMargins(4, 2, 4, 2);
    idLabel_ = new QLabel(header_);
    idLabel_->setObjectName(QStringLiteral("LabelNodeId"));
    idLabel_->setAutoFillBackground(true);
    browseUp_ = PanelArrowButton(Qt::UpArrow, QStringLiteral("NodeBrowseUp"), header_);
    browseDown_ = PanelArrowButton(Qt::DownArrow, QStringLiteral("NodeBrowseDown"), header_);
    name_ = new QLineEdit(header_);
    name_->setObjectName(QStringLiteral("EditNodeName"));
    name_->setMaxLength(static_cast<int>(TNode::NameCapacity));
    name_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    type_ = new QComboBox(header_);
    type_->setObjectName(QStringLiteral("ComboNodeType"));
    type_->addItems({QStringLiteral("Tank"), QStringLiteral("End Pressure"), QStringLiteral("Join Point")});
    type_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    preview_ = new TNodeSymbolPreview(header_);
    preview_->setObjectName(QStringLiteral("NodeSymbolPreview"));
    symbolUp_ = PanelArrowButton(Qt::UpArrow, QStringLiteral("SymbolUp"), header_);
    symbolDown_ = PanelArrowButton(Qt::DownArrow, QStringLiteral("SymbolDown"), header_);
    auto* browse = new QVBoxLayout;
    browse->addWidget(browseUp_);
    browse->addWidget(browseDown_);
    auto* symbol = new QVBoxLayout;
    symbol->addWidget(symbolUp_);
    symbol->addWidget(symbolDown_);
    grid->addWidget(idLabel_, 0, 0);
    grid->addLayout(browse, 0, 1);
    grid->addWidget(preview_, 0, 2, 2, 1);
    grid->addLayout(symbol, 0, 3, 2, 1);
    grid->addWidget(name_, 1, 0, 1, 2);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(QStringLiteral("Type"), header_));
    typeRow->addWidget(type_, 1);
    grid->addLayout(typeRow, 2, 0, 1, 4);
    grid->setColumnStretch(0, 1);
}

void TNodePanel::createDetail() {
    detail_ = PanelFrame(QStringLiteral("PanelTank"), this);
    detail_->setFixedHeight(144);
    auto* grid = new QGridLayout(detail_);
    grid->setContentsMargins(4, 2, 4, 2);
    IMessageBoxes& boxes = host_.Boxes();
    surfacePressure_ = AddPanelValueRow(*grid, 0, QString(), QStringLiteral("EditSurfacePressure"), boxes, detail_);
    liquidLevel_ = AddPanelValueRow(*grid, 1, QString(), QStringLiteral("EditLiquidLevel"), boxes, detail_);
    elevation_ = AddPanelValueRow(*grid, 2, QString(), QStringLiteral("EditElevation"), boxes, detail_);
    grid->setRowStretch(3, 1);
}

void TNodePanel::createJoinPanel() {
    join_ = PanelFrame(QStringLiteral("PanelJoinPoint"), this);
    join_->setFixedHeight(144);
    auto* grid = new QGridLayout(join_);
    grid->setContentsMargins(4, 2, 4, 2);
    IMessageBoxes& boxes = host_.Boxes();
    joinElevation_ =
        AddPanelValueRow(*grid, 0, QStringLiteral("Elevation of Join"), QStringLiteral("EditJoinElevation"), boxes, join_);
    demandIn_ = AddPanelValueRow(*grid, 1, QStringLiteral("Demands In"), QStringLiteral("EditDemandIn"), boxes, join_);
    editDemandIn_ = new QPushButton(QStringLiteral("Edit"), join_);
    editDemandIn_->setFixedWidth(44);
    editDemandIn_->setObjectName(QStringLiteral("ButtonEditDemandIn"));
    editDemandIn_->setToolTip(QStringLiteral("Set Demand In Flow"));
    grid->addWidget(editDemandIn_, 2, 1, Qt::AlignRight);
    demandOut_ = AddPanelValueRow(*grid, 3, QStringLiteral("Demands Out"), QStringLiteral("EditDemandOut"), boxes, join_);
    editDemandOut_ = new QPushButton(QStringLiteral("Edit"), join_);
    editDemandOut_->setFixedWidth(44);
    editDemandOut_->setObjectName(QStringLiteral("ButtonEditDemandOut"));
    editDemandOut_->setToolTip(QStringLiteral("Set Demand Out Flow"));
    grid->addWidget(editDemandOut_, 4, 1, Qt::AlignRight);
}

void TNodePanel::createNotes() {
    notes_ = PanelFrame(QStringLiteral("PanelNodeNotes"), this);
    notes_->setFixedHeight(60);
    auto* layout = new QVBoxLayout(notes_);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    layout->addWidget(new QLabel(QStringLiteral("Notes"), notes_));
    notesEdit_ = new QPlainTextEdit(notes_);
    notesEdit_->setObjectName(QStringLiteral("MemoNodeNotes"));
    layout->addWidget(notesEdit_);
}

void TNodePanel::connectEdits() {
    connect(name_, &QLineEdit::textEdited, this, &TNodePanel::NameEdited);
    connect(notesEdit_, &QPlainTextEdit::textChanged, this, &TNodePanel::NotesEdited);
    connectValue(surfacePressure_, &TNodePanel::StoreSurfacePressure);
    connectValue(liquidLevel_, &TNodePanel::StoreLiquidLevel);
    connectValue(elevation_, &TNodePanel::StoreElevation);
    connectValue(joinElevation_, &TNodePanel::StoreElevation);
    connect(joinElevation_.Box, &QLineEdit::editingFinished, this, [this] { host_.Regenerate(); });
    connect(type_, &QComboBox::activated, this, &TNodePanel::TypeChosen);
    connect(symbolUp_, &QToolButton::clicked, this, [this] { SymbolStep(1); });
    connect(symbolDown_, &QToolButton::clicked, this, [this] { SymbolStep(-1); });
    connect(browseUp_, &QToolButton::clicked, this, [this] { Browse(true); });
    connect(browseDown_, &QToolButton::clicked, this, [this] { Browse(false); });
    connect(editDemandIn_, &QPushButton::clicked, this, &TNodePanel::EditDemands);
    connect(editDemandOut_, &QPushButton::clicked, this, &TNodePanel::EditDemands);
}

void TNodePanel::connectValue(const TPanelValueRow& row, void (TNodePanel::*store)(double)) {
    ConnectPanelValue(*this, host_, row, [this] { return !filling_ && selectedNode() != nullptr; },
                      [this, store](double value) { (this->*store)(value); });
}

TNode* TNodePanel::selectedNode() {
    const std::int32_t id = host_.State().SelectedNodeId;
    return id > 0 ? &host_.Network().GetNode(id) : nullptr;
}

void TNodePanel::setUnitLabels() {
    const TNetworkSettings& settings = host_.Network().Settings;
    surfacePressure_.SetUnit(settings.SurfacePressureUnit, DecimalRulesForUnit(settings.SurfacePressureUnit, true, true));
    liquidLevel_.SetUnit(settings.LiquidLevelUnit, DecimalRules(3, 6, true, false));
    elevation_.SetUnit(settings.ElevationUnit, DecimalRulesForUnit(settings.ElevationUnit, true, true));
    joinElevation_.SetUnit(settings.ElevationUnit, DecimalRulesForUnit(settings.ElevationUnit, true, true));
    demandIn_.SetUnit(settings.FlowRateUnit, DecimalRules(3, 6, true, false));
    demandOut_.SetUnit(settings.FlowRateUnit, DecimalRulesForUnit(settings.FlowRateUnit, true, false));
}

void TNodePanel::setEditable(bool editable) {
    for (QWidget* control : std::initializer_list<QWidget*>{name_, type_, symbolUp_, symbolDown_, surfacePressure_.Box,
                                                            liquidLevel_.Box, elevation_.Box, joinElevation_.Box,
                                                            editDemandIn_, editDemandOut_, notesEdit_})
        control->setEnabled(editable);
    demandIn_.Box->setEnabled(false);
    demandOut_.Box->setEnabled(false);
}

void TNodePanel::showNone() {
    idLabel_->setText(QStringLiteral("Node: None  "));
    idLabel_->setStyleSheet(QString());
    name_->clear();
    for (const TPanelValueRow* row :
         {&surfacePressure_, &liquidLevel_, &elevation_, &joinElevation_, &demandIn_, &demandOut_})
        row->Box->SetValueText("0");
    notesEdit_->clear();
    join_->setVisible(false);
    setEditable(false);
}

void TNodePanel::UpdatePanelsNode(std::int32_t nodeId) {
    filling_ = true;
    setUnitLabels();
    if (nodeId <= 0) {
        showNone();
    } else {
        setEditable(!host_.ResultsMode());
        TNode& node = host_.Network().GetNode(nodeId);
        idLabel_->setText(QStringLiteral("Node: %1").arg(nodeId));
        idLabel_->setStyleSheet(QStringLiteral("background-color: yellow;"));
        if (!name_->hasFocus()) name_->setText(QString::fromStdString(node.Name));
        if (!notesEdit_->hasFocus()) notesEdit_->setPlainText(NotesText(node.Notes));
        if (node.NodeType == TNodeType::Tank || node.NodeType == TNodeType::DemandPressure)
            showTank(node, node.NodeType == TNodeType::Tank);
        else if (node.NodeType == TNodeType::JoinPoint)
            showJoinPoint(node);
    }
    filling_ = false;
}

void TNodePanel::showTank(TNode& node, bool tank) {
    const TNetwork& network = host_.Network();
    const TNetworkSettings& settings = network.Settings;
    restoreTankLayout();
    surfacePressure_.Caption->setText(tank ? QStringLiteral("Surface Pressure") : QStringLiteral("Pressure"));
    elevation_.Caption->setText(tank ? QStringLiteral("Bottom Elevation") : QStringLiteral("Elevation"));
    if (!tank) {
        // An end-pressure node has no liquid level; what it held is dropped.
        liquidLevel_.SetVisible(false);
        node.LiquidLevel_m = 0.0;
    }
    detail_->setVisible(true);
    join_->setVisible(false);
    type_->setCurrentIndex(tank ? TankEntry : EndPressureEntry);
    ShowPanelValue(surfacePressure_, convertPressureToDisplayText(UNIT_BAR_G, settings.SurfacePressureUnit,
                                                             node.SurfacePressure_bar_g, settings.AtmosphericPressure,
                                                             network.Fluid.Density_kg_m3));
    ShowPanelValue(liquidLevel_, convertUnitsToDisplayText(UNIT_M, settings.LiquidLevelUnit, node.LiquidLevel_m));
    ShowPanelValue(elevation_, convertUnitsToDisplayText(UNIT_M, settings.ElevationUnit, node.Elevation_m));
    symbolUp_->setVisible(true);
    symbolDown_->setVisible(true);
    preview_->ShowNode(node);
}

void TNodePanel::showJoinPoint(TNode& node) {
    const TNetworkSettings& settings = host_.Network().Settings;
    detail_->setVisible(false);
    join_->setVisible(true);
    symbolUp_->setVisible(false);
    symbolDown_->setVisible(false);
    type_->setCurrentIndex(JoinPointEntry);
    ShowPanelValue(joinElevation_, convertUnitsToDisplayText(UNIT_M, settings.ElevationUnit, node.Elevation_m));
    ShowPanelValue(demandIn_, convertUnitsToDisplayText(UNIT_M3_SEC, settings.FlowRateUnit, node.JointSupply_m3s));
    ShowPanelValue(demandOut_, convertUnitsToDisplayText(UNIT_M3_SEC, settings.FlowRateUnit, node.JointDischarge_m3s));
    preview_->ShowNode(node);
}

void TNodePanel::restoreTankLayout() {
    surfacePressure_.Caption->setText(QStringLiteral("Surface Pressure"));
    liquidLevel_.Caption->setText(QStringLiteral("Liquid Level"));
    elevation_.Caption->setText(QStringLiteral("Bottom Elevation"));
    liquidLevel_.SetVisible(true);
}

void TNodePanel::SetAreasColour(const QColor& colour) {
    for (QFrame* frame : {header_, detail_, join_, notes_}) {
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, colour);
        frame->setPalette(palette);
    }
}

void TNodePanel::RepaintPreview() {
    TNode* node = selectedNode();
    if (node != nullptr && host_.State().PanelNodeId == host_.State().SelectedNodeId)
        preview_->ShowNode(*node);
    else
        preview_->ShowNothing();
}

// ---- Edits -----------------------------------------------------------------------------------------

void TNodePanel::NameEdited() {
    TNode* node = selectedNode();
    if (node == nullptr || host_.ResultsMode()) return;
    node->SetName(name_->text().toStdString());
    host_.MarkModified();
}

void TNodePanel::NotesEdited() {
    TNode* node = selectedNode();
    if (filling_ || node == nullptr || host_.ResultsMode()) return;
    node->Notes = TakeNotes(*notesEdit_);
    host_.MarkModified();
}

// Pressures are held in bar gauge; one below a perfect vacuum is raised to it.
void TNodePanel::StoreSurfacePressure(double value) {
    const TNetwork& network = host_.Network();
    const TNetworkSettings& settings = network.Settings;
    const double density = network.Fluid.Density_kg_m3;
    double pressure_bar_g =
        convertPressure(settings.SurfacePressureUnit, UNIT_BAR_G, value, settings.AtmosphericPressure, density);
    const double vacuum_bar_g = convertPressure(UNIT_BAR_A, UNIT_BAR_G, 0.0, settings.AtmosphericPressure, density);
    if (pressure_bar_g < vacuum_bar_g) {
        host_.Boxes().ShowInformation(BelowVacuumMessage);
        pressure_bar_g = vacuum_bar_g;
        surfacePressure_.Box->SetValueText(convertPressureToDisplayText(
            UNIT_BAR_G, settings.SurfacePressureUnit, vacuum_bar_g, settings.AtmosphericPressure, density));
    }
    selectedNode()->SurfacePressure_bar_g = pressure_bar_g;
}

void TNodePanel::StoreLiquidLevel(double value) {
    selectedNode()->LiquidLevel_m = convertUnits(host_.Network().Settings.LiquidLevelUnit, UNIT_M, value);
}

void TNodePanel::StoreElevation(double value) {
    selectedNode()->Elevation_m = convertUnits(host_.Network().Settings.ElevationUnit, UNIT_M, value);
}

void TNodePanel::TypeChosen(int entry) {
    TNode* node = selectedNode();
    if (node == nullptr || host_.ResultsMode()) return;
    restoreTankLayout();
    const std::int32_t nodeId = host_.State().SelectedNodeId;
    if (entry == TankEntry) {
        node->NodeType = TNodeType::Tank;
        node->Symbol = 0;
        node->JointSupply_m3s = 0.0;
        node->JointDischarge_m3s = 0.0;
        host_.MarkModified();
    } else if (entry == EndPressureEntry) {
        if (ConvertToEndPressure(*node, nodeId))
            host_.MarkModified();
        else
            host_.Boxes().ShowInformation(NotConvertibleMessage);
    } else {
        node->NodeType = TNodeType::JoinPoint;
        host_.MarkModified();
    }
    afterTypeOrSymbolChange();
}

// An end-pressure node ends exactly one pipe: one that starts there, or a
// second one ending there, would leave the node's flow undetermined.
bool TNodePanel::ConvertToEndPressure(TNode& node, std::int32_t nodeId) {
    const TNetwork& network = host_.Network();
    if (network.GetNumberOfOutFlowPipes(nodeId) > 0 || network.GetNumberOfInFlowPipes(nodeId) > 1) return false;
    node.JointSupply_m3s = 0.0;
    node.JointDischarge_m3s = 0.0;
    node.NodeType = TNodeType::DemandPressure;
    node.LiquidLevel_m = 0.0;
    node.Symbol = 5;
    return true;
}

void TNodePanel::SymbolStep(int step) {
    TNode* node = selectedNode();
    if (node == nullptr || host_.ResultsMode()) return;
    node->Symbol += step;
    host_.MarkModified();
    afterTypeOrSymbolChange();
}

void TNodePanel::afterTypeOrSymbolChange() {
    UpdatePanelsNode(host_.State().SelectedNodeId);
    host_.RefreshScreen();
}

// Browsing runs round: past the highest id to the lowest and back.
void TNodePanel::Browse(bool up) {
    const TNetwork& network = host_.Network();
    const std::int32_t current = host_.State().SelectedNodeId;
    const std::int32_t id = up ? BrowsedId(network.GetNextNodeId(current), network.GetNextNodeId(0))
                               : BrowsedId(network.GetPreviousNodeId(current), network.GetHighestNodeId());
    if (id <= 0) return;
    host_.State().SelectedNodeId = id;
    host_.RefreshScreen();
}

void TNodePanel::EditDemands() {
    const std::int32_t id = host_.State().SelectedNodeId;
    if (id <= 0 || host_.ResultsMode()) return;
    host_.Dialogs().EditDemands(host_.Network(), id);
    UpdatePanelsNode(id);
    host_.RefreshScreen();
}
