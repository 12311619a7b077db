#include "dialogs/VM4_ComponentPressureForm.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "dialogs/VM4_CurveUnitLists.h"
#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/VM4_NumberBoxFactory.h"
#include "editor/VM4_Canvas_Drawings.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

const char* const kComponentFilter = "Velmora Component (*.vmco)|*.vmco";
const char* const kConfirmDelete = "Are you sure you wish to delete the component \rand its data from this pipe?";
const char* const kNegativeFit =
    "The quadratic fit generated some points with negative values.\r\rPlease review the curve data and correct the "
    "entries to be all positive values.";
const char* const kThreePointsOnly = "The first three points only must entered to generate a second order curve.";
const char* const kNotSaved = "Component is not valid and therefore cannot be saved. \r";
constexpr int kLastSymbol = 11;

QComboBox* unitList(QWidget* parent, const std::vector<std::string>& captions) {
    auto* box = new QComboBox(parent);
    for (const auto& caption : captions) box->addItem(qs(caption));
    return box;
}

std::uint8_t unitOfItem(const std::vector<int>& items, int item) {
    return static_cast<std::uint8_t>(items[static_cast<std::size_t>(item)]);
}

}  // namespace

TComponentPressureForm::TComponentPressureForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent)
    : QDialog(parent), boxes_(boxes), files_(files) {
    setWindowTitle(QStringLiteral("Set Component Pressure Loss"));
    setFixedSize(470, 420);
    buildControls();
    buildGrid();
    buildButtons();
}

void TComponentPressureForm::buildControls() {
    pipeLabel_ = Placed(new QLabel(this), "LabelPipe", 10, 8, 100);
    pipeName_ = Placed(new QLabel(this), "LabelPipeName", 110, 8, 200);
    Placed(new QLabel(QStringLiteral("Name"), this), "LabelName", 10, 36, 40);
    name_ = Placed(new QLineEdit(this), "EditComponentName", 56, 36, 160);
    name_->setMaxLength(static_cast<int>(TComponentPressure::NameCapacity));
    symbolPreview_ = Placed(new QLabel(this), "ImageComponentSymbol", 230, 30, 34, 34);
    auto* up = Placed(new QPushButton(QStringLiteral("▲"), this), "SymbolUp", 268, 30, 22, 17);
    auto* down = Placed(new QPushButton(QStringLiteral("▼"), this), "SymbolDown", 268, 47, 22, 17);
    connect(up, &QPushButton::clicked, this, [this] { stepSymbol(1); });
    connect(down, &QPushButton::clicked, this, [this] { stepSymbol(-1); });
    fixedLoss_ = Placed(new QRadioButton(QStringLiteral("Fixed Loss"), this), "RadioButtonFixedLoss", 10, 74, 100);
    curveLoss_ = Placed(new QRadioButton(QStringLiteral("Curve Loss"), this), "RadioButtonCurveLoss", 10, 104, 100);
    fixedLossBox_ = Placed(NewNumberBox(this, boxes_, {false, true, 6, 3}), "RightEditFixedLoss", 110, 74, 90);
    fixedLossUnit_ = Placed(new QLabel(this), "LabelFixedLossUnit", 204, 74, 40);
    fixedLossUnits_ = Placed(unitList(this, ComponentLossUnitCaptions()), "ComboBoxFixedLossUnits", 250, 74, 100);
    connect(fixedLoss_, &QRadioButton::clicked, this, [this] { useCurve(false); });
    connect(curveLoss_, &QRadioButton::clicked, this, [this] { useCurve(true); });
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& t) { working_.SetName(t.toStdString()); });
    connect(fixedLossUnits_, &QComboBox::activated, this, &TComponentPressureForm::fixedLossUnitChosen);
}

void TComponentPressureForm::buildGrid() {
    grid_ = Placed(new QTableWidget(TComponentCurveGrid::RowCount, TComponentCurveGrid::Columns, this),
                   "StringGridComponentPoints", 10, 134, 206, 236);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    for (int column = 0; column < TComponentCurveGrid::Columns; ++column) grid_->setColumnWidth(column, 100);
    for (int row = 0; row < TComponentCurveGrid::RowCount; ++row) {
        grid_->setRowHeight(row, 25);
        for (int column = 0; column < TComponentCurveGrid::Columns; ++column) {
            auto* cell = new QTableWidgetItem;
            if (row == 0 || (row == 1 && column == 0)) cell->setFlags(Qt::ItemIsEnabled);
            grid_->setItem(row, column, cell);
        }
    }
    Placed(new QLabel(QStringLiteral("Curve flow units"), this), "LabelFlowUnits", 226, 134, 110);
    flowUnits_ = Placed(unitList(this, ComponentFlowUnitCaptions()), "ComboBoxCurveFlowUnits", 340, 134, 110);
    Placed(new QLabel(QStringLiteral("Curve loss units"), this), "LabelLossUnits", 226, 164, 110);
    lossUnits_ = Placed(unitList(this, ComponentLossUnitCaptions()), "ComboBoxCurveLossUnits", 340, 164, 110);
    connect(flowUnits_, &QComboBox::activated, this, &TComponentPressureForm::flowUnitChosen);
    connect(lossUnits_, &QComboBox::activated, this, &TComponentPressureForm::lossUnitChosen);
    auto* hint = Placed(new QLabel(QStringLiteral("To generate a 2nd order curve first enter three points"), this),
                        "LabelHint", 226, 196, 230, 36);
    hint->setWordWrap(true);
}

void TComponentPressureForm::buildButtons() {
    const struct {
        const char* Caption;
        int X;
        int Y;
        void (TComponentPressureForm::*Action)();
    } buttons[] = {{"Generate Curve", 226, 236, &TComponentPressureForm::generateCurve},
                   {"Clear", 226, 270, &TComponentPressureForm::clearEntries},
                   {"Save To File", 226, 304, &TComponentPressureForm::saveToFile},
                   {"Load From File", 340, 304, &TComponentPressureForm::loadFromFile},
                   {"OK", 130, 382, &TComponentPressureForm::ok},
                   {"Cancel", 240, 382, &TComponentPressureForm::cancelled},
                   {"Delete", 350, 382, &TComponentPressureForm::deleteComponent}};
    for (const auto& b : buttons) {
        auto* button = Placed(new QPushButton(QString::fromLatin1(b.Caption), this), b.Caption, b.X, b.Y, 106, 28);
        connect(button, &QPushButton::clicked, this, b.Action);
    }
    generate_ = findChild<QPushButton*>(QStringLiteral("Generate Curve"));
    cancel_ = findChild<QPushButton*>(QStringLiteral("Cancel"));
}

void TComponentPressureForm::EditComponentPressure(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    resultsMode_ = resultsMode;
    network_ = &network;
    accepted_ = false;
    delete_ = false;
    TPipe& pipe = network.GetPipe(pipeId);
    backup_.CopyComponentPressure(pipe.ComponentPressure);
    working_.CopyComponentPressure(pipe.ComponentPressure);
    pipeLabel_->setText(qs("Pipe:" + std::to_string(pipeId)));
    pipeName_->setText(qs(pipe.Name));
    for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(true);
    refresh();
    if (resultsMode)
        for (QWidget* w : findChildren<QWidget*>())
            if (w != cancel_ && qobject_cast<QLabel*>(w) == nullptr) w->setEnabled(false);
    paintGrid();
    exec();
    if (accepted_) {
        pipe.ComponentPressure.CopyComponentPressure(working_);
        if (pipe.ComponentPositionPercent == 0.0) pipe.ComponentPositionPercent = 50.0;
        pipe.HasComponentPressure = true;
    } else if (delete_) {
        pipe.RemoveComponentPressure();
    }
}

TComponentCurveUnits TComponentPressureForm::curveUnits() const {
    return {working_.CurveFlowUnits, working_.CurveLossUnits, network_->Fluid.Density_kg_m3};
}

void TComponentPressureForm::refresh() {
    flowItem_ = ItemOfUnit(ComponentFlowUnitItems(), working_.CurveFlowUnits);
    lossItem_ = ItemOfUnit(ComponentLossUnitItems(), working_.CurveLossUnits);
    working_.CurveFlowUnits = unitOfItem(ComponentFlowUnitItems(), flowItem_);
    working_.CurveLossUnits = unitOfItem(ComponentLossUnitItems(), lossItem_);
    flowUnits_->setCurrentIndex(flowItem_);
    lossUnits_->setCurrentIndex(lossItem_);
    fixedLossUnits_->setCurrentIndex(lossItem_);
    grid_->item(0, 0)->setText(qs(unitName(working_.CurveFlowUnits)));
    grid_->item(0, 1)->setText(qs(unitName(working_.CurveLossUnits)));
    name_->setText(qs(working_.Name()));
    stepSymbol(0);
    fixedLossBox_->setText(qs(convertPressureWithDensityToText(UNIT_BAR_G, working_.CurveLossUnits, 3,
                                                               working_.FixedLoss_bar, network_->Fluid.Density_kg_m3)));
    fixedLossUnit_->setText(qs(unitShortName(working_.CurveLossUnits)));
    useCurve(working_.UseCurve != 0);
    TComponentCurveGrid grid;
    grid.ShowComponent(working_, curveUnits());
    for (int row = TComponentCurveGrid::FirstPointRow; row < TComponentCurveGrid::RowCount; ++row)
        for (int column = 0; column < TComponentCurveGrid::Columns; ++column)
            grid_->item(row, column)->setText(qs(grid.Cell(column, row)));
    grid_->setCurrentCell(1, 1);
}

void TComponentPressureForm::useCurve(bool curve) {
    working_.UseCurve = curve ? 1 : 0;
    curveLoss_->setChecked(curve);
    fixedLoss_->setChecked(!curve);
    fixedLossBox_->setEnabled(!curve);
    fixedLossUnits_->setEnabled(!curve);
    for (QWidget* w : std::initializer_list<QWidget*>{grid_, generate_, flowUnits_, lossUnits_}) w->setEnabled(curve);
    paintGrid();
}

void TComponentPressureForm::paintGrid() {
    const QColor text = (working_.UseCurve == 0 || resultsMode_) ? QColor(192, 192, 192) : QColor(Qt::black);
    for (int row = 0; row < TComponentCurveGrid::RowCount; ++row)
        for (int column = 0; column < TComponentCurveGrid::Columns; ++column) {
            QTableWidgetItem* cell = grid_->item(row, column);
            cell->setForeground(text);
            if (row == 1 && column == 0) cell->setBackground(QColor(224, 224, 224));
        }
}

void TComponentPressureForm::copyGridTo(TComponentCurveGrid& grid) const {
    for (int row = TComponentCurveGrid::FirstPointRow; row < TComponentCurveGrid::RowCount; ++row)
        for (int column = 0; column < TComponentCurveGrid::Columns; ++column)
            grid.SetCell(column, row, grid_->item(row, column)->text().trimmed().toStdString());
}

// A fixed loss that is not a number is refused rather than stored as anything.
bool TComponentPressureForm::fieldsToComponent() {
    working_.SetName(name_->text().toStdString());
    working_.UseCurve = fixedLoss_->isChecked() ? 0 : 1;
    const TParsedNumber<double> loss = ParseDecimalText(fixedLossBox_->text().trimmed().toStdString(), true, true);
    if (!loss.Valid) return false;
    working_.FixedLoss_bar =
        convertPressureWithDensity(working_.CurveLossUnits, UNIT_BAR_G, loss.Value, network_->Fluid.Density_kg_m3);
    return true;
}

bool TComponentPressureForm::readGridForChange() {
    TComponentCurveGrid grid;
    copyGridTo(grid);
    const TCurveGridCheck check = grid.Validate();
    if (!check.Valid && grid.IsEmpty()) {
        working_.ClearComponentPressureCurve();
        return true;
    }
    const TCurveGridCheck read = check.Valid ? grid.ReadInto(working_, curveUnits()) : check;
    if (!read.Valid) boxes_.ShowInformation(read.Message);
    return read.Valid;
}

void TComponentPressureForm::ok() {
    accepted_ = false;
    delete_ = false;
    if (!fieldsToComponent()) {
        boxes_.ShowInformation(InvalidNumericEntryMessage);
        return;
    }
    if (working_.UseCurve == 0) {
        backup_.CopyComponentPressure(working_);
        accepted_ = true;
        accept();
        return;
    }
    TComponentCurveGrid grid;
    copyGridTo(grid);
    const bool empty = grid.IsEmpty();
    const TCurveGridCheck check = grid.Validate();
    if (check.Valid) {
        const TCurveGridCheck read = grid.ReadInto(working_, curveUnits());
        if (!read.Valid) {
            boxes_.ShowInformation(read.Message);
            return;
        }
        backup_.CopyComponentPressure(working_);
        accepted_ = true;
        accept();
    } else if (empty) {
        working_.ClearComponentPressureCurve();
        backup_.CopyComponentPressure(working_);
        accept();
    } else {
        boxes_.ShowInformation(check.Message);
    }
}

void TComponentPressureForm::cancelled() {
    working_.CopyComponentPressure(backup_);
    reject();
}

void TComponentPressureForm::deleteComponent() {
    if (!boxes_.Confirm(kConfirmDelete)) return;
    delete_ = true;
    reject();
}

void TComponentPressureForm::clearEntries() {
    fixedLossBox_->setText(QStringLiteral("0.0"));
    TComponentCurveGrid grid;
    grid.Clear();
    for (int row = TComponentCurveGrid::FirstPointRow; row < TComponentCurveGrid::RowCount; ++row)
        for (int column = 0; column < TComponentCurveGrid::Columns; ++column)
            grid_->item(row, column)->setText(qs(grid.Cell(column, row)));
}

void TComponentPressureForm::stepSymbol(int step) {
    int symbol = working_.Symbol + step;
    if (symbol > kLastSymbol) symbol = 0;
    if (symbol < 0) symbol = kLastSymbol;
    working_.Symbol = symbol;
    QPixmap preview(34, 34);
    preview.fill(palette().color(QPalette::Button));
    QPainter painter(&preview);
    DrawComponentSymbol(painter, symbol, 17, 17, 0.0, Qt::black, false, QString());
    painter.end();
    symbolPreview_->setPixmap(preview);
}

void TComponentPressureForm::flowUnitChosen(int item) {
    const bool empty = [this] {
        TComponentCurveGrid grid;
        copyGridTo(grid);
        return grid.IsEmpty();
    }();
    if (!readGridForChange()) {
        flowUnits_->setCurrentIndex(flowItem_);
        return;
    }
    working_.CurveFlowUnits = unitOfItem(ComponentFlowUnitItems(), item);
    flowItem_ = item;
    if (!empty) refresh();
    grid_->item(0, 0)->setText(qs(unitName(working_.CurveFlowUnits)));
}

void TComponentPressureForm::lossUnitChosen(int item) {
    TComponentCurveGrid grid;
    copyGridTo(grid);
    const bool empty = grid.IsEmpty();
    fieldsToComponent();
    if (!readGridForChange()) {
        lossUnits_->setCurrentIndex(lossItem_);
        return;
    }
    working_.CurveLossUnits = unitOfItem(ComponentLossUnitItems(), item);
    lossItem_ = item;
    fixedLossUnits_->setCurrentIndex(item);
    if (!empty) refresh();
    grid_->item(0, 1)->setText(qs(unitName(working_.CurveLossUnits)));
}

void TComponentPressureForm::fixedLossUnitChosen(int item) {
    fieldsToComponent();
    working_.CurveLossUnits = unitOfItem(ComponentLossUnitItems(), item);
    refresh();
}

void TComponentPressureForm::generateCurve() {
    if (!readGridForChange()) return;
    if (working_.PointCount() != 3) {
        boxes_.ShowInformation(kThreePointsOnly);
        return;
    }
    working_.CreateQuadraticCurvePointsFromFirst3Points();
    fieldsToComponent();
    refresh();
    if (working_.CheckIfCurveContainsNegativeValues()) boxes_.ShowInformation(kNegativeFit);
}

void TComponentPressureForm::saveToFile() {
    bool valid = fieldsToComponent();
    if (valid && curveLoss_->isChecked()) valid = readGridForChange();
    if (!valid) {
        boxes_.ShowInformation(kNotSaved);
        return;
    }
    const auto path = AskTargetFile(files_, boxes_, kComponentFilter, "vmco");
    if (!path) return;
    try {
        working_.SaveToFile(*path);
    } catch (const EComponentPressureClass& error) {
        boxes_.ShowInformation(error.what());
    }
}

// A file that is not one whole component record is refused; the entries stay.
void TComponentPressureForm::loadFromFile() {
    const auto path = AskSourceFile(files_, kComponentFilter, "vmco");
    if (!path) return;
    try {
        working_.LoadFromFile(*path);
    } catch (const EComponentPressureClass& error) {
        boxes_.ShowInformation(error.what());
        return;
    }
    refresh();
}
