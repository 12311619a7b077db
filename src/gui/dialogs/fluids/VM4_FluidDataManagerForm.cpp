#include "dialogs/fluids/VM4_FluidDataManagerForm.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <vector>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/VM4_LibraryGrid.h"
#include "dialogs/VM4_NumberBoxFactory.h"
#include "dialogs/fluids/VM4_GasPropertiesCalculatorForm.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_StringGrid.h"
#include "foundations/VM4_Units.h"
#include "libraries/VM4_Fluid_Database.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_QtUserMessages.h"

namespace {

const char* const kAddFluid = "Add new fluid data to Fluid database.\rProceed with this operation?";
const char* const kRemoveFluid =
    "The selected fluid data will be permanently removed.\rThis action cannot be reversed.\r\rContinue with removal?";
const char* const kMetricUnitsLine =
    "         °C                 bar g              kg/m³           Centipoise        kPa (abs)";
const char* const kImperialUnitsLine =
    "         °F                 psi g               lb/ft³             Centipoise         psi (abs)";
const QStringList kHeadings = {"Name",        "Formula",      "Temperature",   "    Pressure",
                               "     Density", "   Viscosity", "Vapour Press.", " State"};
const std::vector<int> kGridWidths = {160, 80, 90, 90, 90, 90, 100, 50};
const std::vector<int> kPanelWidths = {160, 80, 90, 90, 90, 90, 100, 60};
enum TFilter { AllFluids = 0, Liquids = 1, Gases = 2 };
constexpr int kStateColumn = 7;
constexpr int kFlashMs = 500;
constexpr int kBoxTemperatureDecimals = 1;
constexpr int kNewEntryTemperatureDecimals = 3;

// The cells a fluid shows in a grid row, collected as texts.
class TRowTexts : public IStringGrid {
public:
    void SetCell(int column, int, const std::string& text) override {
        if (column >= static_cast<int>(Cells.size())) Cells.resize(static_cast<std::size_t>(column) + 1);
        Cells[static_cast<std::size_t>(column)] = text;
    }
    std::vector<std::string> Cells;
};

std::vector<std::string> fluidCells(const TFluid& fluid, bool metric) {
    TRowTexts row;
    metric ? fluid.DisplayOnStringGrid_Metric(row, 0, 0, 0) : fluid.DisplayOnStringGrid_Imperial(row, 0, 0, 0);
    row.Cells.resize(8);
    return row.Cells;
}

void convertBox(QLineEdit* box, int from, int to, int decimals, bool allowNegative) {
    const TParsedNumber<double> value = ParseDecimalText(box->text().trimmed().toStdString(), true, allowNegative);
    if (value.Valid) box->setText(qs(convertUnitsToText(from, to, decimals, value.Value)));
}

}  // namespace

TFluidDataManagerForm::TFluidDataManagerForm(IMessageBoxes& boxes, const std::filesystem::path& programTables,
                                             const std::filesystem::path& userTables, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      messages_(std::make_unique<TQtUserMessages>(boxes)),
      database_(std::make_unique<TFluidDatabase>(programTables, *messages_)),
      programTables_(programTables) {
    database_->SetUserFolder(userTables);
    setWindowTitle(QStringLiteral("Fluid data"));
    setFixedSize(920, 660);
    buildFluidPanel();
    buildDatabase();
    buildNewEntryPanel();
    flash_ = new QTimer(this);
    flash_->setSingleShot(true);
    connect(flash_, &QTimer::timeout, this, [this] {
        fluidPanel_->setStyleSheet(QStringLiteral("QGroupBox#PanelFluid { background-color: rgb(255, 255, 192); }"));
    });
}

TFluidDataManagerForm::~TFluidDataManagerForm() = default;

TGasPropertiesCalculatorForm& TFluidDataManagerForm::GasCalculator() {
    if (!calculator_) {
        gases_.LoadGasConstants(programTables_, *messages_);
        calculator_ = std::make_unique<TGasPropertiesCalculatorForm>(boxes_, gases_, this);
    }
    return *calculator_;
}

// ---- Building -----------------------------------------------------------------------------------

TFluidDataManagerForm::TFluidBoxes TFluidDataManagerForm::makeBoxes(QWidget* parent, const char* prefix, int y) {
    // Each box stands under its column of the panel's grid.
    std::vector<int> x = {10};
    for (std::size_t i = 0; i + 1 < kPanelWidths.size(); ++i) x.push_back(x.back() + kPanelWidths[i]);
    const std::vector<const char*> names = {"Name",      "Formula",   "Temperature",   "Pressure",
                                            "Density",   "Viscosity", "VapourPressure"};
    std::vector<QLineEdit*> made;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = std::string("Edit") + prefix + names[i];
        QLineEdit* box = nullptr;
        if (i == 0 || i == 1) {
            box = new QLineEdit(parent);
            box->setMaxLength(i == 0 ? static_cast<int>(TFluid::kNameCapacity)
                                     : static_cast<int>(TFluid::kFormulaCapacity));
        } else if (i == 2) {
            box = NewNumberBox(parent, boxes_, {false, true, 6, 1});
        } else if (i == 5) {
            box = NewNumberBox(parent, boxes_, {false, true, 6, 4});
        } else {
            box = NewNumberBox(parent, boxes_, {false, false, 6, 3});
        }
        made.push_back(Placed(box, name.c_str(), x[i] + 1, y, kPanelWidths[i] - 4, 22));
    }
    auto* gas = Placed(new QCheckBox(QStringLiteral("Gas"), parent), (std::string("Check") + prefix + "Gas").c_str(),
                       x.back() + 4, y, 56, 22);
    return {made[0], made[1], made[2], made[3], made[4], made[5], made[6], gas};
}

void TFluidDataManagerForm::buildFluidPanel() {
    fluidPanel_ = Placed(new QGroupBox(QStringLiteral("System fluid:"), this), "PanelFluid", 8, 8, 904, 124);
    fluidRow_ = Placed(NewLibraryGrid(fluidPanel_, kHeadings, kPanelWidths), "GridFluid", 10, 20, 764, 56);
    fluidRow_->setRowCount(1);
    panel_ = makeBoxes(fluidPanel_, "", 88);
    // In results mode the state shows the fluid's and cannot be changed.
    connect(panel_.Gas, &QCheckBox::clicked, this, [this] {
        if (resultsMode_ && fluid_ != nullptr) panel_.Gas->setChecked(fluid_->IsGas);
    });
    save_ = Placed(new QPushButton(QStringLiteral("Save"), fluidPanel_), "ButtonSave", 800, 20, 94, 26);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), fluidPanel_), "ButtonCancel", 800, 54, 94, 26);
    connect(save_, &QPushButton::clicked, this, &TFluidDataManagerForm::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFluidDataManagerForm::buildDatabase() {
    Placed(new QLabel(QStringLiteral("Fluid database:"), this), "LabelDatabase", 8, 140, 300, 18);
    unitsLine_ = Placed(new QLabel(this), "LabelUnitsLine", 8, 158, 780, 18);
    // The units stand under each heading in the grid itself, where they line up with their column.
    unitsLine_->hide();
    grid_ = Placed(NewLibraryGrid(this, kHeadings, kGridWidths), "GridFluids", 8, 160, 770, 320);
    viscosityNote_ = Placed(new QLabel(this), "LabelViscosityNote", 8, 484, 400, 18);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!resultsMode_) useSelectedFluid();
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section != 0 || !loaded_) return;
        sortAscending_ = !sortAscending_;
        database_->Fluids().SortFluidDataSet(sortAscending_);
        fillGrid();
    });
    auto button = [this](const char* name, const char* text, int y) {
        return Placed(new QPushButton(QString::fromLatin1(text), this), name, 790, y, 122, 26);
    };
    auto* top = button("ButtonTop", "Top", 172);
    auto* end = button("ButtonEnd", "End", 202);
    useSelected_ = button("ButtonUseSelectedFluid", "Use selected fluid", 240);
    metricButton_ = Placed(new QRadioButton(QStringLiteral("Metric"), this), "RadioMetric", 794, 274, 110, 20);
    imperialButton_ = Placed(new QRadioButton(QStringLiteral("Imperial"), this), "RadioImperial", 794, 296, 110, 20);
    filter_ = Placed(new QComboBox(this), "ComboFilter", 790, 324, 122, 24);
    filter_->addItems({QStringLiteral("All Fluids"), QStringLiteral("Liquids"), QStringLiteral("Gases")});
    addNew_ = button("ButtonAddNewFluidData", "Add new fluid data", 360);
    remove_ = button("ButtonRemoveEntry", "Remove entry", 392);
    calculate_ = button("ButtonCalculateGasData", "Calculate gas data", 430);
    connect(top, &QPushButton::clicked, this, [this] { selectRow(0); });
    connect(end, &QPushButton::clicked, this, [this] { selectRow(grid_->rowCount() - 1); });
    connect(useSelected_, &QPushButton::clicked, this, &TFluidDataManagerForm::useSelectedFluid);
    connect(metricButton_, &QRadioButton::clicked, this, [this] { setMetric(true); });
    connect(imperialButton_, &QRadioButton::clicked, this, [this] { setMetric(false); });
    connect(filter_, &QComboBox::currentIndexChanged, this, &TFluidDataManagerForm::applyFilter);
    connect(addNew_, &QPushButton::clicked, this, [this] { newEntryPanel_->show(); });
    connect(remove_, &QPushButton::clicked, this, &TFluidDataManagerForm::removeEntry);
    connect(calculate_, &QPushButton::clicked, this, &TFluidDataManagerForm::calculateGas);
}

void TFluidDataManagerForm::buildNewEntryPanel() {
    newEntryPanel_ = Placed(new QGroupBox(QStringLiteral("Add fluid data:"), this), "PanelNewEntry", 8, 508, 904, 96);
    // The headings of the fluid grid name the boxes below them.
    newEntryHeadings_ = Placed(NewLibraryGrid(newEntryPanel_, kHeadings, kPanelWidths), "GridNewEntry", 10, 18, 764, 40);
    newEntry_ = makeBoxes(newEntryPanel_, "New", 64);
    auto* add = Placed(new QPushButton(QStringLiteral("Add  new entry"), newEntryPanel_), "ButtonAddNewEntry", 800,
                       20, 94, 26);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), newEntryPanel_), "ButtonCancelNewEntry", 800, 54,
                          94, 26);
    connect(add, &QPushButton::clicked, this, &TFluidDataManagerForm::addNewEntry);
    connect(cancel, &QPushButton::clicked, newEntryPanel_, &QWidget::hide);
    newEntryPanel_->hide();
}

// ---- Opening ------------------------------------------------------------------------------------

bool TFluidDataManagerForm::EditNetworkFluid(TFluid& fluid, bool metric, bool resultsMode) {
    for (QLineEdit* box : {newEntry_.Name, newEntry_.Formula, newEntry_.Temperature, newEntry_.Pressure,
                           newEntry_.Density, newEntry_.Viscosity, newEntry_.VapourPressure})
        box->clear();
    newEntry_.Gas->setChecked(false);
    newEntryPanel_->hide();
    resultsMode_ = resultsMode;
    for (QLineEdit* box : {panel_.Name, panel_.Formula, panel_.Temperature, panel_.Pressure, panel_.Density,
                           panel_.Viscosity, panel_.VapourPressure})
        box->setReadOnly(resultsMode);
    for (QWidget* w : std::vector<QWidget*>{save_, useSelected_, metricButton_, imperialButton_, filter_, addNew_})
        w->setEnabled(!resultsMode);
    remove_->setVisible(!resultsMode);
    fluid_ = &fluid;
    working_ = fluid;
    saved_ = false;
    metricButton_->setChecked(metric);
    imperialButton_->setChecked(!metric);
    metric_ = metric;
    if (!ensureLoaded()) {
        fluid_ = nullptr;
        return false;
    }
    setMetric(metric);
    showFluid(fluid);
    fluidPanel_->setStyleSheet(QString());
    exec();
    fluid_ = nullptr;
    return saved_;
}

// The database is read at the first showing; a file that cannot be read is
// reported and the dialog not shown, so that nothing works on half a database.
bool TFluidDataManagerForm::ensureLoaded() {
    if (loaded_) return true;
    loaded_ = RunReportingErrors(boxes_, [this] { database_->LoadFluidDatabase(); });
    if (!loaded_) return false;
    sortAscending_ = true;
    filter_->setCurrentIndex(Liquids);
    return true;
}

// ---- Display ------------------------------------------------------------------------------------

void TFluidDataManagerForm::setMetric(bool metric) {
    const bool changed = metric != metric_;
    metric_ = metric;
    if (changed) {
        convertBoxes(panel_, metric, kBoxTemperatureDecimals);
        convertBoxes(newEntry_, metric, kNewEntryTemperatureDecimals);
    }
    unitsLine_->setText(QString::fromUtf8(metric ? kMetricUnitsLine : kImperialUnitsLine));
    const QStringList units = metric ? QStringList{"", "", "°C", "bar g", "kg/m³", "Centipoise", "kPa (abs)", ""}
                                     : QStringList{"", "", "°F", "psi g", "lb/ft³", "Centipoise", "psi (abs)", ""};
    for (QTableWidget* grid : {grid_, fluidRow_, newEntryHeadings_}) SetHeadingsWithUnits(grid, kHeadings, units);
    viscosityNote_->setText(metric ? QStringLiteral("1 mPa . s = 1 Centipoise")
                                   : QStringLiteral("1.00 lb . s /ft³ = 47880.26 Centipoise"));
    SetGridRow(fluidRow_, 0, fluidCells(working_, metric));
    const int row = grid_->currentRow();
    fillGrid();
    if (row >= 0) selectRow(row);
}

void TFluidDataManagerForm::convertBoxes(const TFluidBoxes& b, bool toMetric, int temperatureDecimals) {
    convertBox(b.Temperature, FluidTemperatureUnit(!toMetric), FluidTemperatureUnit(toMetric), temperatureDecimals,
               true);
    convertBox(b.Pressure, FluidPressureUnit(!toMetric), FluidPressureUnit(toMetric), 3, true);
    convertBox(b.Density, FluidDensityUnit(!toMetric), FluidDensityUnit(toMetric), 3, false);
    const TParsedNumber<double> vapour = ParseDecimalText(b.VapourPressure->text().trimmed().toStdString(), true, false);
    if (vapour.Valid) {
        b.VapourPressure->setText(qs(convertPressureWithAtmosphereToText(
            FluidVapourPressureUnit(!toMetric), FluidVapourPressureUnit(toMetric), 3, vapour.Value, 1.01325)));
    }
}

void TFluidDataManagerForm::fillGrid() {
    const TFluidDataSet& fluids = database_->Fluids();
    grid_->setRowCount(fluids.Count());
    for (int slot = 1; slot <= fluids.Count(); ++slot) {
        const TFluidDataSet::TEntry& entry = fluids.GetFluidDataRec(slot);
        std::vector<std::string> cells = fluidCells(entry.Fluid, metric_);
        // The user's own fluids carry a marker.
        if (entry.Origin == TFluidDataSet::kUserFile) cells[0] += "  *";
        SetGridRow(grid_, slot - 1, cells);
    }
    applyFilter();
}

void TFluidDataManagerForm::applyFilter() {
    const int filter = filter_->currentIndex();
    const TFluidDataSet& fluids = database_->Fluids();
    for (int slot = 1; slot <= fluids.Count() && slot <= grid_->rowCount(); ++slot) {
        const bool gas = fluids.GetFluidDataRec(slot).Fluid.IsGas;
        grid_->setRowHidden(slot - 1, (filter == Liquids && gas) || (filter == Gases && !gas));
    }
    calculate_->setVisible(filter != Liquids);
}

void TFluidDataManagerForm::showFluid(const TFluid& fluid) {
    SetGridRow(fluidRow_, 0, fluidCells(fluid, metric_));
    showOnBoxes(fluid, panel_, kBoxTemperatureDecimals);
}

void TFluidDataManagerForm::showOnBoxes(const TFluid& fluid, const TFluidBoxes& b, int) {
    const std::vector<std::string> cells = fluidCells(fluid, metric_);
    b.Name->setText(qs(cells[0]));
    b.Formula->setText(qs(cells[1]));
    b.Temperature->setText(qs(cells[2]));
    b.Pressure->setText(qs(cells[3]));
    b.Density->setText(qs(cells[4]));
    b.Viscosity->setText(qs(cells[5]));
    b.VapourPressure->setText(qs(cells[6]));
    b.Gas->setChecked(fluid.IsGas);
}

TFluidEntryTexts TFluidDataManagerForm::textsOf(const TFluidBoxes& b) {
    return {b.Name->text().toStdString(),          b.Formula->text().toStdString(),
            b.Temperature->text().toStdString(),   b.Pressure->text().toStdString(),
            b.Density->text().toStdString(),       b.Viscosity->text().toStdString(),
            b.VapourPressure->text().toStdString(), b.Gas->isChecked()};
}

void TFluidDataManagerForm::selectRow(int row) {
    if (row < 0 || row >= grid_->rowCount()) {
        grid_->clearSelection();
        return;
    }
    grid_->selectRow(row);
    grid_->scrollToItem(grid_->item(row, 0));
}

int TFluidDataManagerForm::selectedSlot() const {
    const int row = grid_->currentRow();
    if (row < 0 || row >= database_->Fluids().Count() || grid_->isRowHidden(row)) return 0;
    return row + 1;
}

// ---- Commands -----------------------------------------------------------------------------------

void TFluidDataManagerForm::useSelectedFluid() {
    const int slot = selectedSlot();
    if (slot == 0) return;
    working_ = database_->Fluids().GetFluidDataRec(slot).Fluid;
    showFluid(working_);
    fluidPanel_->setStyleSheet(QStringLiteral("QGroupBox#PanelFluid { background-color: rgb(192, 192, 192); }"));
    flash_->start(kFlashMs);
}

void TFluidDataManagerForm::save() {
    const TFluidEntry entry = ReadNetworkFluidEntry(textsOf(panel_), metric_);
    if (!entry.Valid) {
        boxes_.ShowInformation(entry.Message);
        return;
    }
    TFluid saved = entry.Fluid;
    saved.ReservedFactor = fluid_->ReservedFactor;
    *fluid_ = saved;
    saved_ = true;
    accept();
}

void TFluidDataManagerForm::addNewEntry() {
    const TFluidEntry entry = ReadDatabaseFluidEntry(textsOf(newEntry_), metric_);
    if (!entry.Valid) {
        boxes_.ShowInformation(entry.Message);
        return;
    }
    if (!boxes_.Confirm(kAddFluid)) return;
    addFluid(entry.Fluid);
    newEntryPanel_->hide();
}

void TFluidDataManagerForm::addFluid(const TFluid& fluid) {
    int slot = 0;
    if (!RunReportingErrors(boxes_, [&] { slot = database_->AddUserFluid(fluid); })) return;
    fillGrid();
    selectRow(slot - 1);
}

void TFluidDataManagerForm::removeEntry() {
    const int slot = selectedSlot();
    if (slot == 0 || !boxes_.Confirm(kRemoveFluid)) return;
    RunReportingErrors(boxes_, [&] { database_->RemoveDatabaseFluid(slot); });
    fillGrid();
    selectRow(std::min(slot - 1, grid_->rowCount() - 1));
}

void TFluidDataManagerForm::calculateGas() {
    TGasPropertiesCalculatorForm& calculator = GasCalculator();
    if (!calculator.CalculateGasData(metric_)) return;
    const TGasPropertiesCalculatorForm::TResult& r = calculator.Result();
    addFluid(GasResultAsFluid(gases_.GetGasData(r.Slot), r.Temperature_C, r.Pressure_bar_g, r.Properties));
}
