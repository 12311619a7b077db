#include "dialogs/VM4_PumpDataForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "dialogs/VM4_CurveUnitLists.h"
#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/VM4_NumberBoxFactory.h"
#include "dialogs/VM4_PumpCalculator.h"
#include "dialogs/VM4_PumpChartPainter.h"
#include "dialogs/VM4_PumpCurveTable.h"
#include "editor/VM4_Canvas_Drawings.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

const char* const kResultsWarning =
    "In Results Mode, the Flow and Head values are shown in the units specified on the 'Units' configuration screen.";
const char* const kUnitsNote =
    "Note: The pump curve may be specified in one of a number of different units. Where a height of water is used to "
    "specify the head it is assumed that the density of the water is 1000kg/m³. Some water entries in the fluid "
    "database have a density of 998kg/m³.";
const char* const kPumpFilter = "Velmora Pump (*.vmpm)|*.vmpm";
const char* const kConfirmDelete = "Are you sure you wish to delete the pump \rand all pump data from this pipe?";
const char* const kConfirmExit =
    "To save changes to the pump data you must click Save.\r\rDo you wish to exit this screen without saving your "
    "changes?";

std::string text(const QLineEdit* box) { return box->text().trimmed().toStdString(); }

QLabel* labelAt(QWidget* parent, const char* caption, int x, int y, int w) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(x, y, w, 20);
    return label;
}

QPushButton* buttonAt(QWidget* parent, const char* caption, int x, int y, int w = 96) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(caption));
    button->setGeometry(x, y, w, 26);
    return button;
}

QCheckBox* checkAt(QWidget* parent, const char* caption, int x, int y) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(caption));
    box->setGeometry(x, y, 120, 20);
    box->setChecked(true);
    return box;
}

// The network's length and elevation units are not confined to metres.
std::string shownIn(int unit, double metres) { return convertUnitsToDisplayText(UNIT_M, unit, metres); }

}  // namespace

TPumpDataForm::TPumpDataForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent)
    : QDialog(parent), boxes_(boxes), files_(files), chart_(TPumpChartPainter::Width, TPumpChartPainter::Height,
                                                            QImage::Format_RGB32) {
    setWindowTitle(QStringLiteral("Pump Data"));
    setFixedSize(820, 620);
    buildDetails();
    buildCurveArea();
    buildChartArea();
    buildButtons();
    connectControls();
}

TPumpDataForm::~TPumpDataForm() = default;

void TPumpDataForm::buildDetails() {
    details_ = new QGroupBox(this);
    details_->setGeometry(8, 4, 804, 112);
    labelAt(details_, "Name", 10, 22, 40);
    name_ = Placed(new QLineEdit(details_), "EditPumpName", 56, 22, 150);
    name_->setMaxLength(static_cast<int>(TPump::NameCapacity));
    labelAt(details_, "Symbol", 10, 50, 44);
    symbolPreview_ = Placed(new QLabel(details_), "ImagePumpSymbol", 56, 50, 18);
    symbolPreview_->setFixedSize(18, 18);
    auto* up = buttonAt(details_, "+", 80, 48, 22);
    auto* down = buttonAt(details_, "-", 104, 48, 22);
    connect(up, &QPushButton::clicked, this, [this] { stepSymbol(1); });
    connect(down, &QPushButton::clicked, this, [this] { stepSymbol(-1); });
    labelAt(details_, "Distance from start of pipe", 220, 22, 170);
    distance_ = Placed(NewNumberBox(details_, boxes_, {}), "RightEditDistance", 390, 22, 80);
    distanceUnit_ = labelAt(details_, "", 474, 22, 40);
    labelAt(details_, "Pump elevation", 220, 50, 170);
    elevation_ = Placed(NewNumberBox(details_, boxes_, {false, true, 6, 3}), "RightEditElevation", 390, 50, 80);
    elevationUnit_ = labelAt(details_, "", 474, 50, 40);
    fixedSpeed_ = Placed(new QRadioButton(QStringLiteral("Fixed Speed,  Running at"), details_),
                        "RadioButtonFixedSpeed", 10, 80, 170);
    speed_ = Placed(NewNumberBox(details_, boxes_, {true, false, 6, 0}), "RightEditSpeed", 180, 80, 60);
    labelAt(details_, "rpm", 244, 80, 30);
    fixedFlow_ = Placed(new QRadioButton(QStringLiteral("Fixed Flow Rate Set to"), details_), "RadioButtonVariableSpeed",
                       290, 80, 160);
    setFlow_ = Placed(NewNumberBox(details_, boxes_, {}), "RightEditSetFlow", 450, 80, 80);
    setFlowUnits_ = Placed(new QComboBox(details_), "ComboBoxSetFlowUnits", 534, 80, 90);
    for (const auto& caption : PumpFlowUnitCaptions()) setFlowUnits_->addItem(qs(caption));
    labelAt(details_, "Pref. region %", 530, 22, 90);
    regionFrom_ = Placed(NewNumberBox(details_, boxes_, {true, false, 3, 0}), "RightEditRegionFrom", 620, 22, 44);
    labelAt(details_, "to", 668, 22, 16);
    regionTo_ = Placed(NewNumberBox(details_, boxes_, {true, false, 3, 0}), "RightEditRegionTo", 688, 22, 44);
}

void TPumpDataForm::buildCurveArea() {
    grid_ = new TPumpCurveTable(this);
    grid_->setGeometry(8, 124, 300, 244);
    auto* note = new QLabel(QString::fromUtf8(kUnitsNote), this);
    note->setWordWrap(true);
    note->setGeometry(8, 372, 300, 70);
    QFont small = note->font();
    small.setPointSize(7);
    note->setFont(small);
    warning_ = Placed(new QLabel(QString::fromLatin1(kResultsWarning), this), "PanelResultsWarning", 8, 446, 300);
    warning_->setGeometry(8, 446, 300, 40);
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("background: yellow;"));
    labelAt(this, "Notes", 8, 490, 60);
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("MemoNotes"));
    notes_->setGeometry(8, 510, 300, 66);
}

void TPumpDataForm::buildChartArea() {
    chartView_ = Placed(new QLabel(this), "ImagePumpCurve", 316, 124, TPumpChartPainter::Width);
    chartView_->setFixedSize(TPumpChartPainter::Width, TPumpChartPainter::Height);
    gridLines_ = checkAt(this, "Grid Lines", 684, 124);
    showHead_ = checkAt(this, "Head", 684, 146);
    showEfficiency_ = checkAt(this, "Efficiency %", 684, 168);
    showNPSHr_ = checkAt(this, "NPSHr", 684, 190);
    showRegion_ = checkAt(this, "Pref. Region", 684, 212);
    flowLabel_ = Placed(new QLabel(this), "LabelShowFlow", 316, 384, 110);
    headLabel_ = Placed(new QLabel(this), "LabelShowHead", 430, 384, 110);
    flowBox_ = Placed(NewNumberBox(this, boxes_, {}), "RightEditFlow", 316, 406, 110);
    headBox_ = Placed(NewNumberBox(this, boxes_, {}), "RightEditHead", 430, 406, 110);
    labelAt(this, "NPSHr", 544, 384, 60);
    labelAt(this, "Efficiency %", 608, 384, 70);
    powerHeader_ = Placed(new QLabel(QStringLiteral("Power KW"), this), "LabelPowerHeader", 682, 384, 70);
    npshrOut_ = Placed(new QLabel(this), "LabelNPSHr", 544, 406, 60);
    efficiencyOut_ = Placed(new QLabel(this), "LabelEfficiency", 608, 406, 70);
    powerOut_ = Placed(new QLabel(this), "LabelPower", 682, 406, 70);
}

void TPumpDataForm::buildButtons() {
    auto* draw = buttonAt(this, "Draw Graph", 684, 240, 100);
    auto* calc = buttonAt(this, "Calculate", 316, 436);
    auto* clear = buttonAt(this, "Clear Curve", 420, 436);
    connect(draw, &QPushButton::clicked, this, &TPumpDataForm::drawGraph);
    connect(calc, &QPushButton::clicked, this, &TPumpDataForm::calculate);
    connect(clear, &QPushButton::clicked, this, [this] {
        WorkingPump.ClearPumpCurves();
        showPumpUnits();
        paintChart();
    });
    const struct {
        const char* Caption;
        void (TPumpDataForm::*Action)();
    } row[] = {{"SaveTo Pipe", &TPumpDataForm::saveToPipe},   {"Save To File", &TPumpDataForm::saveToFile},
               {"Load File", &TPumpDataForm::loadFile},       {"Delete Pump", &TPumpDataForm::deletePump},
               {"Print Page", &TPumpDataForm::printPage},     {"Exit/No Save", &TPumpDataForm::exitNoSave}};
    int x = 316;
    for (const auto& b : row) {
        auto* button = buttonAt(this, b.Caption, x, 584, 78);
        connect(button, &QPushButton::clicked, this, b.Action);
        x += 82;
    }
    exitButton_ = findChild<QPushButton*>(QStringLiteral("Exit/No Save"));
}

void TPumpDataForm::connectControls() {
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& t) { WorkingPump.SetName(t.toStdString()); });
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
        QString t = notes_->toPlainText();
        if (t.size() > static_cast<int>(TPump::NotesCapacity)) {
            t.truncate(static_cast<int>(TPump::NotesCapacity));
            notes_->setPlainText(t);
        }
        WorkingPump.Notes.clear();
        for (const QString& line : t.split(QLatin1Char('\n'))) WorkingPump.Notes.push_back(line.toStdString());
    });
    connect(speed_, &QLineEdit::textEdited, this, [this] {
        const auto n = ParseIntegerText(text(speed_), true, false);
        if (n.Valid) WorkingPump.PumpSpeed = n.Value;
    });
    const auto region = [this](QLineEdit* box, std::int32_t& percent) {
        connect(box, &QLineEdit::textEdited, this, [this, box, &percent] {
            const auto n = ParseIntegerText(text(box), true, false);
            if (n.Valid) percent = n.Value;
            showInstructions();
        });
    };
    region(regionFrom_, WorkingPump.PreferredOpRegionFromPercent);
    region(regionTo_, WorkingPump.PreferredOpRegionToPercent);
    connect(setFlow_, &QLineEdit::textEdited, this, [this] {
        const auto n = ParseDecimalText(text(setFlow_), true, false);
        if (n.Valid) WorkingPump.SetFlowRate_m3s = convertUnits(WorkingPump.SetFlowUnits, UNIT_M3_SEC, n.Value);
    });
    connect(setFlowUnits_, &QComboBox::activated, this, &TPumpDataForm::setFlowUnitChosen);
    connect(distance_, &QLineEdit::textEdited, this, [this] {
        const auto n = ParseDecimalText(text(distance_), true, false);
        if (n.Valid) distance_m_ = convertUnits(network_->Settings.LengthUnit, UNIT_M, n.Value);
    });
    connect(elevation_, &QLineEdit::textEdited, this, [this] {
        const auto n = ParseDecimalText(text(elevation_), true, true);
        if (n.Valid) elevation_m_ = convertUnits(network_->Settings.ElevationUnit, UNIT_M, n.Value);
    });
    connect(fixedSpeed_, &QRadioButton::clicked, this, [this] { applyPumpType(false); });
    connect(fixedFlow_, &QRadioButton::clicked, this, [this] { applyPumpType(true); });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] {
        if (!resultsMode_) showInstructions();
    });
    connect(grid_->FlowUnitBox(), &QComboBox::activated, this, &TPumpDataForm::flowUnitChosen);
    connect(grid_->HeadUnitBox(), &QComboBox::activated, this, &TPumpDataForm::headUnitChosen);
    connect(flowBox_, &QLineEdit::textEdited, headBox_, &QLineEdit::clear);
    connect(headBox_, &QLineEdit::textEdited, flowBox_, &QLineEdit::clear);
    connect(flowBox_, &QLineEdit::returnPressed, this, &TPumpDataForm::calculate);
    connect(headBox_, &QLineEdit::returnPressed, this, &TPumpDataForm::calculate);
    for (QCheckBox* box : {gridLines_, showHead_, showEfficiency_, showNPSHr_, showRegion_})
        connect(box, &QCheckBox::toggled, this, &TPumpDataForm::paintChart);
}

bool TPumpDataForm::EditPumpData(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    deletePump_ = false;
    closingByButton_ = false;
    network_ = &network;
    pipeId_ = pipeId;
    pipe_ = &network.GetPipe(pipeId);
    resultsMode_ = resultsMode;
    distance_m_ = pipe_->PumpDistanceFromStart_m;
    elevation_m_ = pipe_->PumpElevation_m;
    showPositions();
    details_->setTitle(qs(" Details of pump on pipe " + std::to_string(pipeId) + ", " + pipe_->Name + " "));
    BackupPump.CopyPump(pipe_->Pump);
    WorkingPump.CopyPump(pipe_->Pump);
    if (resultsMode) {
        // A unit the curve lists do not hold keeps the pump's own.
        const TNetworkSettings& settings = network.Settings;
        if (ItemOfUnit(PumpFlowUnitItems(), settings.FlowRateUnit) != 0 || settings.FlowRateUnit == UNIT_M3_SEC)
            WorkingPump.PumpFlowUnits = settings.FlowRateUnit;
        if (ItemOfUnit(PumpHeadUnitItems(), settings.PressureLossUnit) != 0 || settings.PressureLossUnit == UNIT_M_H2O)
            WorkingPump.PumpHeadUnits = settings.PressureLossUnit;
    }
    markedFlow_m3s_.reset();
    showPumpUnits();
    enableForMode();
    TPumpCurveGrid grid;
    const bool valid = validateGrid(grid).Valid;
    if (valid && WorkingPump.RunsAtSetFlowRate == 0) {
        if (resultsMode) {
            flowBox_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, WorkingPump.PumpFlowUnits,
                                                           pipe_->FlowUncompressed_m3s)));
            calculate();
        } else {
            drawGraph();
        }
    } else {
        showInstructions();
    }
    exec();
    pipe_->Pump.CopyPump(WorkingPump);
    return deletePump_;
}

void TPumpDataForm::showPositions() {
    const TNetworkSettings& settings = network_->Settings;
    distance_->setText(qs(shownIn(settings.LengthUnit, distance_m_)));
    distanceUnit_->setText(qs(unitName(settings.LengthUnit)));
    elevation_->setText(qs(shownIn(settings.ElevationUnit, elevation_m_)));
    elevationUnit_->setText(qs(unitName(settings.ElevationUnit)));
}

// Results mode leaves only the way out; design mode follows the pump type.
void TPumpDataForm::enableForMode() {
    const QList<QWidget*> inputs = findChildren<QWidget*>();
    for (QWidget* w : inputs) {
        if (qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QGroupBox*>(w) != nullptr) continue;
        w->setEnabled(!resultsMode_);
    }
    exitButton_->setEnabled(true);
    warning_->setVisible(resultsMode_ && WorkingPump.RunsAtSetFlowRate == 0);
    const bool fixedFlow = WorkingPump.RunsAtSetFlowRate != 0;
    fixedFlow_->setChecked(fixedFlow);
    fixedSpeed_->setChecked(!fixedFlow);
    grid_->SetGreyed(resultsMode_ || fixedFlow);
    if (!resultsMode_) applyPumpType(fixedFlow);
}

void TPumpDataForm::applyPumpType(bool fixedFlow) {
    WorkingPump.RunsAtSetFlowRate = fixedFlow ? 1 : 0;
    for (QWidget* w : std::initializer_list<QWidget*>{grid_, grid_->FlowUnitBox(), grid_->HeadUnitBox(), gridLines_,
                                                      showHead_, showEfficiency_, showNPSHr_, showRegion_, regionFrom_,
                                                      regionTo_, flowBox_, headBox_, speed_})
        w->setEnabled(!fixedFlow);
    for (QPushButton* b : {findChild<QPushButton*>(QStringLiteral("Draw Graph")),
                           findChild<QPushButton*>(QStringLiteral("Calculate"))})
        b->setEnabled(!fixedFlow);
    setFlow_->setEnabled(fixedFlow);
    setFlowUnits_->setEnabled(fixedFlow);
    grid_->SetGreyed(fixedFlow);
    showInstructions();
    if (!fixedFlow && !gridIsEmpty()) {
        TPumpCurveGrid grid;
        if (validateGrid(grid).Valid) drawGraph();
    }
}

void TPumpDataForm::showPumpUnits() {
    flowItem_ = ItemOfUnit(PumpFlowUnitItems(), WorkingPump.PumpFlowUnits);
    headItem_ = ItemOfUnit(PumpHeadUnitItems(), WorkingPump.PumpHeadUnits);
    WorkingPump.PumpFlowUnits = static_cast<std::uint8_t>(PumpFlowUnitItems()[static_cast<std::size_t>(flowItem_)]);
    WorkingPump.PumpHeadUnits = static_cast<std::uint8_t>(PumpHeadUnitItems()[static_cast<std::size_t>(headItem_)]);
    WorkingPump.PumpNPSHrUnits = static_cast<std::uint8_t>(PumpNPSHrUnitForHeadItem(headItem_));
    grid_->FlowUnitBox()->setCurrentIndex(flowItem_);
    grid_->HeadUnitBox()->setCurrentIndex(headItem_);
    flowLabel_->setText(qs("Flow " + unitName(WorkingPump.PumpFlowUnits)));
    headLabel_->setText(qs("Head " + unitName(WorkingPump.PumpHeadUnits)));
    grid_->SetNPSHrUnitName(unitName(WorkingPump.PumpNPSHrUnits));
    flowBox_->clear();
    headBox_->clear();
    clearReadouts();
    setFlowUnits_->setCurrentIndex(ItemOfUnit(PumpFlowUnitItems(), WorkingPump.SetFlowUnits));
    showPumpInGrid();
}

void TPumpDataForm::showPumpInGrid() {
    name_->setText(qs(WorkingPump.Name()));
    paintSymbolPreview();
    setFlow_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, WorkingPump.SetFlowUnits, WorkingPump.SetFlowRate_m3s)));
    speed_->setText(QString::number(WorkingPump.PumpSpeed));
    regionFrom_->setText(QString::number(WorkingPump.PreferredOpRegionFromPercent));
    regionTo_->setText(QString::number(WorkingPump.PreferredOpRegionToPercent));
    QStringList lines;
    for (const auto& line : WorkingPump.Notes) lines << qs(line);
    const std::vector<std::string> notes = WorkingPump.Notes;
    notes_->setPlainText(lines.join(QLatin1Char('\n')));
    WorkingPump.Notes = notes;  // showing them is no edit
    TPumpCurveGrid grid;
    grid.ShowPump(WorkingPump, curveUnits());
    grid_->CopyFrom(grid);
    grid_->setCurrentCell(TPumpCurveGrid::FirstPointRow, 2);
}

void TPumpDataForm::clearReadouts() {
    npshrOut_->clear();
    efficiencyOut_->clear();
    powerOut_->clear();
}

TPumpCurveUnits TPumpDataForm::curveUnits() const {
    return {WorkingPump.PumpFlowUnits, WorkingPump.PumpHeadUnits, WorkingPump.PumpNPSHrUnits,
            network_->Fluid.Density_kg_m3};
}

// The grid's optional columns are filled in on screen too, as the user sees them.
TCurveGridCheck TPumpDataForm::validateGrid(TPumpCurveGrid& grid) const {
    grid_->CopyTo(grid);
    const TCurveGridCheck check = grid.Validate();
    grid_->CopyFrom(grid);
    return check;
}

TCurveGridCheck TPumpDataForm::readGrid(bool showMessage) {
    TPumpCurveGrid grid;
    grid_->CopyTo(grid);
    const TCurveGridCheck check = grid.ReadInto(WorkingPump, curveUnits());
    grid_->CopyFrom(grid);
    if (!check.Valid && showMessage) boxes_.ShowInformation(check.Message);
    return check;
}

bool TPumpDataForm::gridIsEmpty() const {
    TPumpCurveGrid grid;
    grid_->CopyTo(grid);
    return grid.IsEmpty();
}

// ---- Chart and calculator ----------------------------------------------------------------------

void TPumpDataForm::drawGraph() {
    if (!readGrid(true).Valid) return;
    paintChart();
}

void TPumpDataForm::paintChart() {
    if (WorkingPump.PointCount() < 3) return;
    TPumpChartInput input;
    input.Pump = &WorkingPump;
    input.Units = curveUnits();
    const TNetworkSettings& settings = network_->Settings;
    input.FluidCaption = network_->Fluid.Name + " (" +
                         convertUnitsToText(UNIT_DEG_K, settings.TemperatureUnit, 0, network_->Fluid.Temperature_K) +
                         unitName(settings.TemperatureUnit) + ")";
    input.Options = {gridLines_->isChecked(), showHead_->isChecked(), showEfficiency_->isChecked(),
                     showNPSHr_->isChecked(), showRegion_->isChecked()};
    input.MarkedFlow_m3s = markedFlow_m3s_;
    QPainter painter(&chart_);
    TPumpChartPainter::PaintChart(painter, input);
    painter.end();
    chartView_->setPixmap(QPixmap::fromImage(chart_));
}

void TPumpDataForm::showInstructions() {
    QPainter painter(&chart_);
    TPumpChartPainter::PaintInstructions(painter);
    painter.end();
    chartView_->setPixmap(QPixmap::fromImage(chart_));
}

void TPumpDataForm::calculate() {
    const bool fromFlow = !text(flowBox_).empty();
    if (!fromFlow && text(headBox_).empty()) return;
    if (!readGrid(true).Valid) return;
    const TPumpCalculator calculator(WorkingPump, curveUnits(), flowItem_);
    const TPumpPointReadout readout = fromFlow ? calculator.AtFlow(text(flowBox_)) : calculator.AtHead(text(headBox_));
    showReadout(readout, fromFlow);
}

void TPumpDataForm::showReadout(const TPumpPointReadout& readout, bool fromFlow) {
    if (!readout.Valid) {
        (fromFlow ? headBox_ : flowBox_)->clear();
        clearReadouts();
        markedFlow_m3s_.reset();
        boxes_.ShowInformation(readout.Message);
        return;
    }
    flowBox_->setText(qs(readout.Flow));
    headBox_->setText(qs(readout.Head));
    npshrOut_->setText(qs(readout.NPSHr));
    efficiencyOut_->setText(qs(readout.Efficiency));
    powerHeader_->setText(qs(readout.PowerHeader));
    powerOut_->setText(qs(readout.Power));
    markedFlow_m3s_ = readout.Flow_m3s;
    paintChart();
}

// ---- Units -------------------------------------------------------------------------------------------

// The curve is kept in SI while the unit changes; a grid that cannot be read
// keeps its unit and the list goes back.
bool TPumpDataForm::readBeforeUnitChange(QComboBox* box, int previousItem) {
    if (gridIsEmpty()) {
        WorkingPump.ClearPumpCurves();
        return true;
    }
    if (readGrid(true).Valid) return true;
    box->setCurrentIndex(previousItem);
    return false;
}

void TPumpDataForm::curveUnitChosen(QComboBox* box, int previousItem, std::uint8_t& unitField, int unit) {
    const bool empty = gridIsEmpty();
    if (!readBeforeUnitChange(box, previousItem)) return;
    unitField = static_cast<std::uint8_t>(unit);
    markedFlow_m3s_.reset();
    showPumpUnits();
    if (!empty) paintChart();
}

void TPumpDataForm::flowUnitChosen(int item) {
    curveUnitChosen(grid_->FlowUnitBox(), flowItem_, WorkingPump.PumpFlowUnits,
                    PumpFlowUnitItems()[static_cast<std::size_t>(item)]);
}

void TPumpDataForm::headUnitChosen(int item) {
    curveUnitChosen(grid_->HeadUnitBox(), headItem_, WorkingPump.PumpHeadUnits,
                    PumpHeadUnitItems()[static_cast<std::size_t>(item)]);
}

void TPumpDataForm::setFlowUnitChosen(int item) {
    const auto typed = ParseDecimalText(text(setFlow_), true, false);
    WorkingPump.SetFlowRate_m3s = typed.Valid ? convertUnits(WorkingPump.SetFlowUnits, UNIT_M3_SEC, typed.Value) : 0.0;
    WorkingPump.SetFlowUnits = static_cast<std::uint8_t>(PumpFlowUnitItems()[static_cast<std::size_t>(item)]);
    setFlow_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, WorkingPump.SetFlowUnits, WorkingPump.SetFlowRate_m3s)));
}

// ---- Buttons -------------------------------------------------------------------------------------------

bool TPumpDataForm::positionIsValid() {
    const TNetworkSettings& settings = network_->Settings;
    if (distance_m_ > pipe_->Length_m) {
        boxes_.ShowInformation("The distance of the pump from the start of the pipe \rcannot be greater than the "
                               "length of the pipe (" +
                               shownIn(settings.LengthUnit, pipe_->Length_m) + " " + unitName(settings.LengthUnit) +
                               ")");
        return false;
    }
    std::int32_t fromId = 0;
    std::int32_t toId = 0;
    network_->GetFromAndToNodeIds(pipeId_, fromId, toId);
    const double start = network_->GetNode(fromId).Elevation_m;
    const double end = network_->GetNode(toId).Elevation_m;
    if (elevation_m_ < std::min(start, end) || elevation_m_ > std::max(start, end)) {
        const std::string unit = unitName(settings.ElevationUnit);
        boxes_.ShowInformation("The elevation of the pump must be between start and end elevation of the pipe. \r(" +
                               shownIn(settings.ElevationUnit, start) + " " + unit + " to " +
                               shownIn(settings.ElevationUnit, end) + " " + unit + ")");
        return false;
    }
    return true;
}

void TPumpDataForm::storePositionInPipe() {
    pipe_->PumpDistanceFromStart_m = distance_m_;
    pipe_->PumpElevation_m = elevation_m_;
    pipe_->PumpPositionPercent = pipe_->Length_m > 0.0 ? distance_m_ / pipe_->Length_m * 100.0 : 0.0;
}

void TPumpDataForm::saveToPipe() {
    if (!positionIsValid()) return;
    TPumpCurveGrid grid;
    const TCurveGridCheck check = validateGrid(grid);
    if (check.Valid) {
        if (!readGrid(true).Valid) return;
    } else if (grid.IsEmpty()) {
        WorkingPump.ClearPumpCurves();
    } else {
        boxes_.ShowInformation(check.Message);
        return;
    }
    storePositionInPipe();
    BackupPump.CopyPump(WorkingPump);
    closingByButton_ = true;
    accept();
}

void TPumpDataForm::saveToFile() {
    const TCurveGridCheck check = readGrid(false);
    if (!check.Valid) {
        boxes_.ShowInformation(check.Message + "\r\r" + "The current pump data is not valid. " + "\r\r" +
                               "The pump cannot be saved to a file at this time." + "\r\r" +
                               "Please update the data enrties and try again.");
        return;
    }
    const auto path = AskTargetFile(files_, boxes_, kPumpFilter, "vmpm");
    if (!path) return;
    try {
        WorkingPump.SaveToFile(*path);
    } catch (const EPumpClass& error) {
        boxes_.ShowInformation(error.what());
    }
}

// A file that is not a whole pump record is refused and the working pump kept.
void TPumpDataForm::loadFile() {
    const auto path = AskSourceFile(files_, kPumpFilter, "vmpm");
    if (!path) return;
    try {
        WorkingPump.LoadFromFile(*path);
    } catch (const EPumpClass& error) {
        boxes_.ShowInformation(error.what());
        return;
    }
    markedFlow_m3s_.reset();
    showPumpUnits();
}

void TPumpDataForm::deletePump() {
    if (!boxes_.Confirm(kConfirmDelete)) return;
    deletePump_ = true;
    closingByButton_ = true;
    WorkingPump.CopyPump(BackupPump);
    QDialog::reject();
}

void TPumpDataForm::exitNoSave() {
    closingByButton_ = true;
    reject();
}

// The close box and Escape ask first, outside results mode; every way out
// restores the pump as it was last saved to the pipe.
void TPumpDataForm::reject() {
    if (!closingByButton_ && !resultsMode_ && !boxes_.Confirm(kConfirmExit)) return;
    WorkingPump.CopyPump(BackupPump);
    QDialog::reject();
}

void TPumpDataForm::printPage() {
    QPrinter printer;
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QPixmap picture = grab();
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), picture);
}

void TPumpDataForm::stepSymbol(int step) {
    WorkingPump.Symbol = (WorkingPump.Symbol + step + 4) % 4;
    paintSymbolPreview();
}

void TPumpDataForm::paintSymbolPreview() {
    QPixmap preview(18, 18);
    preview.fill(palette().color(QPalette::Button));
    QPainter painter(&preview);
    const int symbol = WorkingPump.Symbol >= 0 && WorkingPump.Symbol <= 3 ? WorkingPump.Symbol : 0;
    DrawPumpSymbol(painter, 0, 8, 8, 8, PumpSymbolColour(symbol), Qt::black);
    painter.end();
    symbolPreview_->setPixmap(preview);
}
