#include "dialogs/diameters/VM4_PipeDiameterDataForm.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <optional>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/VM4_LibraryGrid.h"
#include "dialogs/VM4_NumberBoxFactory.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"
#include "libraries/VM4_PipeDimensions.h"
#include "libraries/VM4_PipeSizeClass.h"
#include "libraries/VM4_Pipe_Diameter_Library.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_QtUserMessages.h"

namespace {

const char* const kMayBeIncomplete =
    "The data may be incomplete or may not be correct.\rDo you wish to continue with the save operation?";
const char* const kRoughnessMustBeSet = "The Internal Roughness must be set.";
const char* const kDiameterMustBeSet = "The Internal Diameter must be set.";
const char* const kNewSizeIncomplete = "The new pipe data is not complete.";
const char* const kNominalNotValid = "Nominal size entry is not valid.";
const char* const kAddSize = "Add new pipe data to Pipe diameter database.\rProceed with this operation?";
const char* const kRemovalTail = "will be permanently removed.\rThis action cannot be reversed.\r\rContinue with removal?";
const char* const kMaterialBlank = "The new material type cannot be blank.";
const char* const kRoughnessBlank = "The internal roughness cannot be blank.";
const char* const kRemoveMaterial =
    "ALL pipe size data for this material will be permanently removed.\rThis action cannot be reversed.\r\rDo you "
    "wish to continue with removal?";
const char* const kCalculated = " calculated";
const char* const kMetricUnitsLine =
    " mm                    mm                    mm                kgs/m            m³/ 100 m       m²/ 100 m";
const char* const kImperialUnitsLine =
    " inch                  inch                  inch                 lbs/ft             ft³/ 100 ft         "
    "ft²/ 100 ft";
const QStringList kSizeHeadings = {"Nominal Size",   " Internal Diam.",  "  Wall Thick.", " Outside Diam.",
                                   "     Weight",    " Internal Vol. ", "Surface Area"};
const std::vector<int> kSizeWidths = {90, 100, 90, 100, 80, 100, 100};
const std::vector<int> kTableWidths = {151, 111, 110, 141, 0};
constexpr int kVolumeColumn = 5;
constexpr int kAreaColumn = 6;
constexpr int kFlashMs = 500;
const TNumberBoxRules kDimensionRules{false, false, 6, 3};
const TNumberBoxRules kRoughnessRules{false, false, 3, 6};

std::optional<double> positive(const QLineEdit* box) {
    const TParsedNumber<double> parsed = ParseDecimalText(box->text().trimmed().toStdString(), false, false);
    if (!parsed.Valid) return std::nullopt;
    return parsed.Value;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    return Placed(new QLabel(text, parent), name, x, y, width, 18);
}

// Converts a box holding a number from one unit into another, in place.
void convertBox(QLineEdit* box, int from, int to, int decimals) {
    if (const auto value = positive(box)) box->setText(qs(convertUnitsToText(from, to, decimals, *value)));
}

std::string roughnessText(double roughness_m, bool metric) {
    return convertUnitsToText(UNIT_M, PipeLengthUnit(metric), metric ? 4 : 6, roughness_m);
}

}  // namespace

TPipeDiameterDataForm::TPipeDiameterDataForm(IMessageBoxes& boxes, const std::filesystem::path& programTables,
                                             const std::filesystem::path& userTables, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      messages_(std::make_unique<TQtUserMessages>(boxes)),
      library_(std::make_unique<TPipeDiameterLibrary>(programTables, *messages_)) {
    library_->SetUserFolder(userTables);
    setWindowTitle(QStringLiteral("Pipe diameter data"));
    setFixedSize(820, 720);
    buildPipePanel();
    buildDatabasePanel();
    buildAddSizePanel();
    buildChooserPanel();
    flash_ = new QTimer(this);
    flash_->setSingleShot(true);
    connect(flash_, &QTimer::timeout, this, [this] { pipePanel_->setStyleSheet(QString()); });
}

TPipeDiameterDataForm::~TPipeDiameterDataForm() = default;

// ---- Building -----------------------------------------------------------------------------------

void TPipeDiameterDataForm::buildPipePanel() {
    pipePanel_ = Placed(new QGroupBox(QStringLiteral("Pipe data:"), this), "PanelPipeData", 8, 8, 804, 250);
    pipeId_ = label(pipePanel_, "LabelPipeId", {}, 10, 20, 120);
    pipeName_ = label(pipePanel_, "LabelPipeName", {}, 130, 20, 300);
    pipeMaterialGrid_ = Placed(NewLibraryGrid(pipePanel_, {"Material", "Schedule / Class", "Internal roughness (mm)"},
                                        {151, 111, 170}),
                               "GridPipeMaterial", 10, 40, 436, 52);
    pipeMaterialGrid_->setRowCount(1);
    pipeSizeGrid_ = Placed(NewLibraryGrid(pipePanel_, kSizeHeadings, kSizeWidths), "GridPipeSize", 10, 92, 664, 60);
    pipeSizeGrid_->setRowCount(1);
    auto box = [this](const char* name, const char* caption, int x, int y, int width, const TNumberBoxRules* rules) {
        QLabel* l = label(pipePanel_, (std::string("Label") + name).c_str(), QString::fromUtf8(caption), x, y, width + 8);
        QLineEdit* edit = rules ? NewNumberBox(pipePanel_, boxes_, *rules) : new QLineEdit(pipePanel_);
        Placed(edit, (std::string("Edit") + name).c_str(), x, y + 18, width, 22);
        return std::make_pair(l, edit);
    };
    material_ = box("Material", "Material", 10, 156, 150, nullptr).second;
    material_->setMaxLength(static_cast<int>(TPipe::kMaterialCapacity));
    schedule_ = box("Schedule", "Schedule / Class", 170, 156, 110, nullptr).second;
    schedule_->setMaxLength(static_cast<int>(TPipe::kScheduleCapacity));
    auto [roughLabel, rough] = box("Roughness", "Roughness", 290, 156, 110, &kRoughnessRules);
    roughness_ = rough;
    roughnessUnit_ = roughLabel;
    nominal_ = box("NominalSize", "Nominal size", 10, 200, 100, nullptr).second;
    nominal_->setMaxLength(static_cast<int>(TPipe::kNominalSizeCapacity));
    auto [idLabel, id] = box("InternalDiameter", "Int. diam.", 118, 200, 100, &kDimensionRules);
    auto [wtLabel, wt] = box("WallThickness", "Wall thick.", 226, 200, 100, &kDimensionRules);
    auto [odLabel, od] = box("OutsideDiameter", "Out. diam.", 334, 200, 100, &kDimensionRules);
    auto [wLabel, w] = box("Weight", "Weight", 442, 200, 100, &kDimensionRules);
    inner_ = id;
    wall_ = wt;
    outer_ = od;
    weight_ = w;
    lengthUnits_ = {idLabel, wtLabel, odLabel};
    weightUnit_ = wLabel;
    // Typing announces that the derived cell will be recomputed; leaving the box does it.
    connect(inner_, &QLineEdit::textEdited, this,
            [this] { pipeSizeGrid_->setItem(0, kVolumeColumn, new QTableWidgetItem(kCalculated)); });
    connect(outer_, &QLineEdit::textEdited, this,
            [this] { pipeSizeGrid_->setItem(0, kAreaColumn, new QTableWidgetItem(kCalculated)); });
    connect(inner_, &QLineEdit::editingFinished, this, &TPipeDiameterDataForm::refreshDerivedCells);
    connect(outer_, &QLineEdit::editingFinished, this, &TPipeDiameterDataForm::refreshDerivedCells);
    save_ = Placed(new QPushButton(QStringLiteral("Save Data to Pipe"), pipePanel_), "ButtonSaveToPipe", 640, 160,
                   150, 28);
    cancel_ = Placed(new QPushButton(QStringLiteral("Cancel "), pipePanel_), "ButtonCancel", 640, 200, 150, 28);
    connect(save_, &QPushButton::clicked, this, &TPipeDiameterDataForm::saveToPipe);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TPipeDiameterDataForm::buildDatabasePanel() {
    tableTitle_ = label(this, "LabelDatabaseTitle", {}, 8, 266, 420);
    tableRoughness_ = label(this, "LabelDatabaseRoughness", {}, 8, 286, 300);
    fileName_ = Placed(new QLineEdit(this), "EditFileName", 440, 276, 250, 22);
    fileName_->setReadOnly(true);
    unitsLine_ = label(this, "LabelUnitsLine", {}, 8, 306, 680);
    // The units stand under each heading in the grid itself, where they line up with their column.
    unitsLine_->hide();
    sizes_ = Placed(NewLibraryGrid(this, kSizeHeadings, kSizeWidths), "GridSizes", 8, 306, 684, 288);
    connect(sizes_, &QTableWidget::cellDoubleClicked, this, [this] { useSelectedSize(); });
    auto button = [this](const char* name, const char* text, int y) {
        auto* b = Placed(new QPushButton(QString::fromLatin1(text), this), name, 700, y, 112, 26);
        return b;
    };
    top_ = button("ButtonTop", "Top", 324);
    end_ = button("ButtonEnd", "End", 354);
    useSize_ = button("ButtonUseSelectedSize", "Use selected size", 392);
    metricButton_ = Placed(new QRadioButton(QStringLiteral("Metric"), this), "RadioMetric", 704, 426, 100, 20);
    imperialButton_ = Placed(new QRadioButton(QStringLiteral("Imperial"), this), "RadioImperial", 704, 448, 100, 20);
    changeMaterial_ = button("ButtonChangeMaterial", "Change material", 480);
    addSize_ = button("ButtonAddNewSize", "Add new size", 518);
    removeSize_ = button("ButtonRemoveEntry", "Remove entry", 552);
    label(this, "LabelHint", QStringLiteral("Double click on item in list "), 8, 598, 300);
    connect(top_, &QPushButton::clicked, this, [this] {
        if (sizes_->rowCount() > 0) sizes_->selectRow(0);
    });
    connect(end_, &QPushButton::clicked, this, [this] {
        if (sizes_->rowCount() == 0) return;
        sizes_->selectRow(sizes_->rowCount() - 1);
        sizes_->scrollToBottom();
    });
    connect(useSize_, &QPushButton::clicked, this, &TPipeDiameterDataForm::useSelectedSize);
    connect(metricButton_, &QRadioButton::clicked, this, [this] { setMetric(true); });
    connect(imperialButton_, &QRadioButton::clicked, this, [this] { setMetric(false); });
    connect(changeMaterial_, &QPushButton::clicked, this, [this] { openChooser(true); });
    connect(addSize_, &QPushButton::clicked, this, [this] { openAddSize(true); });
    connect(removeSize_, &QPushButton::clicked, this, &TPipeDiameterDataForm::removeSize);
}

void TPipeDiameterDataForm::buildAddSizePanel() {
    addSizePanel_ = Placed(new QGroupBox(QStringLiteral("Add pipe data:"), this), "PanelAddSize", 8, 622, 804, 92);
    auto box = [this](const char* name, const char* caption, int x, const TNumberBoxRules* rules) {
        label(addSizePanel_, (std::string("LabelNew") + name).c_str(), QString::fromLatin1(caption), x, 18, 100);
        QLineEdit* edit = rules ? NewNumberBox(addSizePanel_, boxes_, *rules) : new QLineEdit(addSizePanel_);
        return Placed(edit, (std::string("EditNew") + name).c_str(), x, 38, 96, 22);
    };
    newNominal_ = box("NominalSize", "Nominal size", 10, nullptr);
    newNominal_->setMaxLength(static_cast<int>(TPipe::kNominalSizeCapacity));
    newInner_ = box("InternalDiameter", "Int. diam.", 112, &kDimensionRules);
    newWall_ = box("WallThickness", "Wall thick.", 214, &kDimensionRules);
    newOuter_ = box("OutsideDiameter", "Out. diam.", 316, &kDimensionRules);
    newWeight_ = box("Weight", "Weight", 418, &kDimensionRules);
    auto* add = Placed(new QPushButton(QStringLiteral("Add  new entry"), addSizePanel_), "ButtonAddNewEntry", 640,
                       20, 150, 26);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), addSizePanel_), "ButtonCancelNewEntry", 640, 54,
                          150, 26);
    connect(add, &QPushButton::clicked, this, &TPipeDiameterDataForm::addNewSize);
    connect(cancel, &QPushButton::clicked, this, [this] { openAddSize(false); });
    addSizePanel_->hide();
}

void TPipeDiameterDataForm::buildChooserPanel() {
    chooser_ = Placed(new QGroupBox(QStringLiteral("Choose new pipe material:"), this), "PanelMaterialChooser", 8,
                      266, 804, 448);
    chooser_->setAutoFillBackground(true);
    tables_ = Placed(NewLibraryGrid(chooser_, {"Material", "Schedule / Class", "Internal roughness", "Pipe size range", ""},
                              kTableWidths),
                     "GridTables", 10, 22, 640, 300);
    tables_->setColumnHidden(4, true);
    connect(tables_, &QTableWidget::cellDoubleClicked, this, [this] { selectMaterial(); });
    auto button = [this](const char* name, const char* text, int y) {
        return Placed(new QPushButton(QString::fromLatin1(text), chooser_), name, 660, y, 136, 26);
    };
    auto* select = button("ButtonSelectMaterial", "Select", 22);
    auto* cancel = button("ButtonCancelChooser", "Cancel", 54);
    auto* add = button("ButtonAddNewMaterial", "Add new material", 100);
    auto* remove = button("ButtonRemoveMaterial", "Remove material data", 146);
    label(chooser_, "LabelChooserHint",
          QStringLiteral("Double click on the material list to select a new pipe material."), 10, 326, 600);
    connect(select, &QPushButton::clicked, this, &TPipeDiameterDataForm::selectMaterial);
    connect(cancel, &QPushButton::clicked, this, [this] { openChooser(false); });
    connect(add, &QPushButton::clicked, this, [this] {
        addMaterialPanel_->show();
        newMaterial_->setFocus();
    });
    connect(remove, &QPushButton::clicked, this, &TPipeDiameterDataForm::removeMaterial);
    buildAddMaterialPanel();
    chooser_->hide();
}

void TPipeDiameterDataForm::buildAddMaterialPanel() {
    addMaterialPanel_ =
        Placed(new QGroupBox(QStringLiteral("Add pipe material:"), chooser_), "PanelAddMaterial", 10, 350, 784, 86);
    label(addMaterialPanel_, "LabelNewMaterial", QStringLiteral("Material"), 10, 18, 150);
    newMaterial_ = Placed(new QLineEdit(addMaterialPanel_), "EditNewMaterial", 10, 38, 150, 22);
    newMaterial_->setMaxLength(static_cast<int>(TPipe::kMaterialCapacity));
    label(addMaterialPanel_, "LabelNewSchedule", QStringLiteral("Schedule / Class"), 170, 18, 110);
    newSchedule_ = Placed(new QLineEdit(addMaterialPanel_), "EditNewSchedule", 170, 38, 100, 22);
    newSchedule_->setMaxLength(static_cast<int>(TPipe::kScheduleCapacity));
    label(addMaterialPanel_, "LabelNewRoughness", QStringLiteral("Roughness"), 280, 18, 110);
    newRoughness_ = Placed(NewNumberBox(addMaterialPanel_, boxes_, kRoughnessRules), "EditNewRoughness", 280, 38, 110, 22);
    auto* add = Placed(new QPushButton(QStringLiteral("Add new material entry"), addMaterialPanel_),
                       "ButtonAddNewMaterialEntry", 580, 14, 190, 26);
    auto* cancel =
        Placed(new QPushButton(QStringLiteral("Cancel"), addMaterialPanel_), "ButtonCancelNewMaterial", 580, 48, 190, 26);
    connect(add, &QPushButton::clicked, this, &TPipeDiameterDataForm::addNewMaterial);
    connect(cancel, &QPushButton::clicked, addMaterialPanel_, &QWidget::hide);
    addMaterialPanel_->hide();
}

// ---- Opening ------------------------------------------------------------------------------------

bool TPipeDiameterDataForm::EditPipeDiameterData(TPipe& pipe, std::int32_t pipeId, bool showMaterialChooser,
                                                 bool metric) {
    for (QLineEdit* box : {newNominal_, newInner_, newWall_, newOuter_, newWeight_, newMaterial_, newSchedule_,
                           newRoughness_})
        box->clear();
    addSizePanel_->hide();
    addMaterialPanel_->hide();
    pipePanel_->setStyleSheet(QString());
    pipe_ = &pipe;
    working_ = pipe;
    saved_ = false;
    pipeId_->setText(qs("( Pipe Id: " + std::to_string(pipeId) + " )"));
    pipeName_->setText(qs(pipe.Name));
    metricButton_->setChecked(metric);
    imperialButton_->setChecked(!metric);
    metric_ = metric;
    setMetric(metric);
    showWorkingPipe();
    loadTable(library_->TablePathForPipe(pipe.DiameterDataFileName));
    openChooser(showMaterialChooser);
    exec();
    pipe_ = nullptr;
    return saved_;
}

void TPipeDiameterDataForm::loadTable(const std::filesystem::path& standardFile) {
    const bool loaded = RunReportingErrors(boxes_, [&] { library_->LoadPipeTable(standardFile); });
    if (!loaded) {
        boxes_.ShowInformation("The pipe table " + standardFile.filename().string() +
                               " cannot be read.\rCheck the file or choose another material.");
    }
    fileName_->setText(qs(standardFile.filename().string()));
    fillSizeGrid();
    sizes_->clearSelection();
    refreshTitle();
}

// ---- Display ------------------------------------------------------------------------------------

void TPipeDiameterDataForm::showWorkingPipe() {
    SetGridRow(pipeMaterialGrid_, 0, {working_.Material, working_.Schedule, roughnessText(working_.InnerRoughness_m, metric_)});
    SetGridRow(pipeSizeGrid_, 0, PipeSizeRowTexts(working_, metric_));
    material_->setText(qs(working_.Material));
    schedule_->setText(qs(working_.Schedule));
    roughness_->setText(qs(roughnessText(working_.InnerRoughness_m, metric_)));
    const std::vector<std::string> row = PipeSizeRowTexts(working_, metric_);
    nominal_->setText(qs(row[0]));
    inner_->setText(qs(row[1]));
    wall_->setText(qs(row[2]));
    outer_->setText(qs(row[3]));
    weight_->setText(qs(row[4]));
    shown_ = {{roughness_, {roughness_->text(), working_.InnerRoughness_m}},
              {inner_, {inner_->text(), working_.InnerDiameter_m}},
              {wall_, {wall_->text(), working_.WallThickness_m}},
              {outer_, {outer_->text(), working_.OuterDiameter_m}},
              {weight_, {weight_->text(), working_.WeightPerLength_kg_m}}};
}

double TPipeDiameterDataForm::storedValueOf(const QLineEdit* box, const std::optional<double>& typed, int unit) const {
    if (!typed) return 0.0;
    const auto shown = shown_.find(box);
    if (shown != shown_.end() && shown->second.first == box->text()) return shown->second.second;
    return convertUnits(unit, unit == PipeWeightUnit(metric_) ? UNIT_KGS_M : UNIT_M, *typed);
}

void TPipeDiameterDataForm::fillSizeGrid() {
    const TPipeDiameterSet& set = library_->Sizes();
    const int current = sizes_->currentRow();
    sizes_->setRowCount(std::max(set.Count(), 1));
    for (int slot = 1; slot <= set.Count(); ++slot) {
        std::vector<std::string> cells = PipeSizeRowTexts(set.GetPipeDiameterData(slot), metric_);
        // Sizes of the user's own carry a marker.
        if (set.GetPipeDiameterFileType(slot) == TPipeDiameterSet::kUserFile) cells[0] += "  *";
        SetGridRow(sizes_, slot - 1, cells);
        sizes_->setRowHidden(slot - 1, false);
    }
    // A placeholder alone, or an empty table, shows one hidden row.
    const bool empty = set.Count() == 0 || (set.Count() == 1 && set.GetPipeDiameterData(1).SizeClass < 0);
    sizes_->setRowHidden(0, empty);
    top_->setVisible(!empty);
    end_->setVisible(!empty);
    if (current >= 0 && current < sizes_->rowCount()) sizes_->setCurrentCell(current, 0);
}

void TPipeDiameterDataForm::refreshTitle() {
    const TPipeDiameterSet& set = library_->Sizes();
    if (set.Count() == 0) {
        tableTitle_->setText(QStringLiteral("Pipe Diameter Database:"));
        tableRoughness_->clear();
        return;
    }
    const TPipe& first = set.GetPipeDiameterData(1);
    tableTitle_->setText(qs("Pipe Diameter Database: " + first.Material + " " + first.Schedule));
    tableRoughness_->setText(qs("Internal roughness " + roughnessText(first.InnerRoughness_m, metric_) +
                                (metric_ ? " mm" : " inch")));
}

void TPipeDiameterDataForm::fillTableList() {
    const std::vector<TPipeTableEntry> tables = library_->TableList();
    tables_->setRowCount(static_cast<int>(tables.size()));
    for (int row = 0; row < static_cast<int>(tables.size()); ++row) {
        const TPipeTableEntry& t = tables[static_cast<std::size_t>(row)];
        SetGridRow(tables_, row, {t.Material, t.Schedule, PipeTableRoughnessDisplay(t.RoughnessText, metric_), t.SizeRange,
                              t.FileName});
    }
}

void TPipeDiameterDataForm::refreshDerivedCells() {
    const int per100 = metric_ ? UNIT_M : UNIT_FT;
    const int length = PipeLengthUnit(metric_);
    auto cell = [&](QLineEdit* box, int column, double (*derive)(double)) {
        const auto value = positive(box);
        const std::string text = value ? formatFixed(4, derive(convertUnits(length, per100, *value))) : "";
        pipeSizeGrid_->setItem(0, column, new QTableWidgetItem(qs(text)));
    };
    cell(inner_, kVolumeColumn, InternalVolumePer100);
    cell(outer_, kAreaColumn, SurfaceAreaPer100);
}

void TPipeDiameterDataForm::setMetric(bool metric) {
    const bool changed = metric != metric_;
    metric_ = metric;
    pipeMaterialGrid_->setHorizontalHeaderItem(
        2, new QTableWidgetItem(metric ? "Internal roughness (mm)" : "Internal roughness (inch)"));
    const QString unit = metric ? QStringLiteral("mm") : QStringLiteral("inch");
    roughnessUnit_->setText("Roughness (" + unit + ")");
    lengthUnits_[0]->setText("Int. diam. (" + unit + ")");
    lengthUnits_[1]->setText("Wall thick. (" + unit + ")");
    lengthUnits_[2]->setText("Out. diam. (" + unit + ")");
    weightUnit_->setText(metric ? QStringLiteral("Weight (kgs/m)") : QStringLiteral("Weight (lbs/ft)"));
    unitsLine_->setText(QString::fromUtf8(metric ? kMetricUnitsLine : kImperialUnitsLine));
    const QStringList units = metric ? QStringList{"", "mm", "mm", "mm", "kgs/m", "m³/ 100 m", "m²/ 100 m"}
                                     : QStringList{"", "inch", "inch", "inch", "lbs/ft", "ft³/ 100 ft", "ft²/ 100 ft"};
    for (QTableWidget* grid : {sizes_, pipeSizeGrid_}) SetHeadingsWithUnits(grid, kSizeHeadings, units);
    if (changed) convertBoxes(metric);
    fillTableList();
    fillSizeGrid();
    refreshDerivedCells();
    refreshTitle();
}

void TPipeDiameterDataForm::convertBoxes(bool toMetric) {
    std::vector<const QLineEdit*> asShown;
    for (const auto& [box, shown] : shown_)
        if (box->text() == shown.first) asShown.push_back(box);
    const int from = PipeLengthUnit(!toMetric);
    const int to = PipeLengthUnit(toMetric);
    const int roughDecimals = toMetric ? 4 : 6;
    convertBox(roughness_, from, to, roughDecimals);
    convertBox(newRoughness_, from, to, roughDecimals);
    for (QLineEdit* box : {inner_, wall_, outer_, newWall_, newOuter_}) convertBox(box, from, to, 3);
    convertBox(newInner_, from, to, roughDecimals);
    for (QLineEdit* box : {weight_, newWeight_}) convertBox(box, PipeWeightUnit(!toMetric), PipeWeightUnit(toMetric), 4);
    for (const QLineEdit* box : asShown) shown_[box].first = box->text();
    const std::string roughness = roughness_->text().toStdString();
    pipeMaterialGrid_->setItem(0, 2, new QTableWidgetItem(qs(roughness)));
    for (int c = 1; c <= 4; ++c) {
        QLineEdit* box = std::vector<QLineEdit*>{nullptr, inner_, wall_, outer_, weight_}[static_cast<std::size_t>(c)];
        pipeSizeGrid_->setItem(0, c, new QTableWidgetItem(box->text()));
    }
}

void TPipeDiameterDataForm::flashPipePanel() {
    pipePanel_->setStyleSheet(QStringLiteral("QGroupBox#PanelPipeData { background-color: rgb(192, 192, 192); }"));
    flash_->start(kFlashMs);
}

// ---- Commands -----------------------------------------------------------------------------------

void TPipeDiameterDataForm::useSelectedSize() {
    const int row = sizes_->currentRow();
    const TPipeDiameterSet& set = library_->Sizes();
    if (row < 0 || row >= set.Count() || sizes_->isRowHidden(row)) return;
    working_ = set.GetPipeDiameterData(row + 1);
    showWorkingPipe();
    flashPipePanel();
}

void TPipeDiameterDataForm::saveToPipe() {
    const auto roughness = positive(roughness_);
    const auto inner = roughness ? positive(inner_) : std::nullopt;
    if (!roughness) {
        boxes_.ShowInformation(kRoughnessMustBeSet);
        return;
    }
    if (!inner) {
        boxes_.ShowInformation(kDiameterMustBeSet);
        return;
    }
    TPipeDimensions typed{inner, positive(wall_), positive(outer_)};
    const bool complete = CompletePipeDimensions(typed, [this](const std::string& q) { return boxes_.Confirm(q); });
    if (typed.WallThickness) wall_->setText(qs(formatFixed(3, *typed.WallThickness)));
    if (typed.OutsideDiameter) outer_->setText(qs(formatFixed(3, *typed.OutsideDiameter)));
    if (!complete && !boxes_.Confirm(kMayBeIncomplete)) return;
    const int length = PipeLengthUnit(metric_);
    TPipe& pipe = *pipe_;
    pipe.InnerDiameter_m = storedValueOf(inner_, typed.InternalDiameter, length);
    pipe.InnerRoughness_m = storedValueOf(roughness_, roughness, length);
    pipe.Material = CutToCapacity(material_->text().toStdString(), TPipe::kMaterialCapacity);
    pipe.OuterDiameter_m = storedValueOf(outer_, typed.OutsideDiameter, length);
    pipe.WallThickness_m = storedValueOf(wall_, typed.WallThickness, length);
    pipe.SizeClass = PipeSizeClassFromOutsideDiameter(pipe.OuterDiameter_m);
    pipe.NominalSize = CutToCapacity(nominal_->text().toStdString(), TPipe::kNominalSizeCapacity);
    pipe.Schedule = CutToCapacity(schedule_->text().toStdString(), TPipe::kScheduleCapacity);
    pipe.WeightPerLength_kg_m = storedValueOf(weight_, positive(weight_), PipeWeightUnit(metric_));
    pipe.DiameterDataFileName = working_.DiameterDataFileName;
    saved_ = true;
    accept();
}

void TPipeDiameterDataForm::openAddSize(bool open) {
    addSizePanel_->setVisible(open);
    changeMaterial_->setEnabled(!open);
    addSize_->setEnabled(!open);
    removeSize_->setEnabled(!open);
    if (open) newNominal_->setFocus();
}

void TPipeDiameterDataForm::addNewSize() {
    TPipeDimensions typed{positive(newInner_), positive(newWall_), positive(newOuter_)};
    CompletePipeDimensions(typed, [this](const std::string& q) { return boxes_.Confirm(q); });
    if (typed.InternalDiameter) newInner_->setText(qs(formatFixed(3, *typed.InternalDiameter)));
    if (typed.WallThickness) newWall_->setText(qs(formatFixed(3, *typed.WallThickness)));
    if (typed.OutsideDiameter) newOuter_->setText(qs(formatFixed(3, *typed.OutsideDiameter)));
    const auto weight = positive(newWeight_);
    if (!typed.OutsideDiameter || !typed.WallThickness || !weight) {
        boxes_.ShowInformation(kNewSizeIncomplete);
    } else if (newNominal_->text().trimmed().isEmpty()) {
        boxes_.ShowInformation(kNominalNotValid);
    } else if (boxes_.Confirm(kAddSize)) {
        const int length = PipeLengthUnit(metric_);
        const TPipe size = library_->MakeNewPipeSize(
            newNominal_->text().toStdString(), convertUnits(length, UNIT_M, *typed.WallThickness),
            convertUnits(length, UNIT_M, *typed.OutsideDiameter),
            convertUnits(PipeWeightUnit(metric_), UNIT_KGS_M, *weight));
        if (RunReportingErrors(boxes_, [&] { library_->AddPipeSize(size); })) {
            fillSizeGrid();
            refreshTitle();
            sizes_->scrollToBottom();
        }
    }
    openAddSize(false);
}

void TPipeDiameterDataForm::removeSize() {
    const int row = sizes_->currentRow();
    const TPipeDiameterSet& set = library_->Sizes();
    if (row < 0 || row >= set.Count() || sizes_->isRowHidden(row)) return;
    const bool standard = set.GetPipeDiameterFileType(row + 1) == TPipeDiameterSet::kStandardFile;
    const std::string question =
        std::string(standard ? "This is a standard pipe size it " : "The selected pipe size ") + kRemovalTail;
    if (!boxes_.Confirm(question)) return;
    RunReportingErrors(boxes_, [&] { library_->RemovePipeSize(row + 1); });
    fillSizeGrid();
    refreshTitle();
    const int count = library_->Sizes().Count();
    if (count == 0) {
        sizes_->clearSelection();
    } else {
        sizes_->selectRow(std::min(row, count - 1));
    }
}

void TPipeDiameterDataForm::openChooser(bool open) {
    for (QWidget* w : std::vector<QWidget*>{save_, cancel_, sizes_, useSize_, metricButton_, imperialButton_,
                                            changeMaterial_})
        w->setEnabled(!open);
    chooser_->setVisible(open);
    if (!open) return;
    chooser_->raise();
    addMaterialPanel_->hide();
    RunReportingErrors(boxes_, [this] { library_->ListPipeTables(); });
    fillTableList();
    const std::string loaded = library_->LoadedTable().filename().string();
    for (int row = 0; row < tables_->rowCount(); ++row)
        if (tables_->item(row, 4) && tables_->item(row, 4)->text().toStdString() == loaded) tables_->selectRow(row);
}

void TPipeDiameterDataForm::selectMaterial() {
    const int row = tables_->currentRow();
    if (row < 0 || tables_->item(row, 4) == nullptr) return;
    loadTable(library_->TablePath(tables_->item(row, 4)->text().toStdString()));
    // The pipe's size again in the new table, if it has one.
    const TPipeDiameterSet& set = library_->Sizes();
    for (int slot = set.Count(); slot >= 1; --slot) {
        if (set.GetPipeDiameterData(slot).SizeClass == working_.SizeClass) {
            sizes_->scrollToItem(sizes_->item(slot - 1, 0));
            break;
        }
    }
    sizes_->clearSelection();
    openChooser(false);
    if (set.Count() > 0) {
        const TPipe& first = set.GetPipeDiameterData(1);
        working_.Material = first.Material;
        working_.Schedule = first.Schedule;
        working_.InnerRoughness_m = first.InnerRoughness_m;
        working_.DiameterDataFileName = first.DiameterDataFileName;
    }
    SetGridRow(pipeMaterialGrid_, 0, {working_.Material, working_.Schedule,
                                  convertUnitsToText(UNIT_M, PipeLengthUnit(metric_), 6, working_.InnerRoughness_m)});
    material_->setText(qs(working_.Material));
    schedule_->setText(qs(working_.Schedule));
    roughness_->setText(qs(convertUnitsToText(UNIT_M, PipeLengthUnit(metric_), 6, working_.InnerRoughness_m)));
    shown_ = {{roughness_, {roughness_->text(), working_.InnerRoughness_m}}};
    for (QLineEdit* box : {nominal_, inner_, wall_, outer_, weight_}) box->clear();
    for (int c = 0; c < pipeSizeGrid_->columnCount(); ++c) pipeSizeGrid_->setItem(0, c, new QTableWidgetItem());
    flashPipePanel();
}

void TPipeDiameterDataForm::addNewMaterial() {
    const std::string material = newMaterial_->text().trimmed().toStdString();
    if (material.empty()) {
        boxes_.ShowInformation(kMaterialBlank);
        return;
    }
    const auto roughness = positive(newRoughness_);
    if (!roughness) {
        boxes_.ShowInformation(kRoughnessBlank);
        return;
    }
    bool added = false;
    RunReportingErrors(boxes_, [&] {
        added = library_->AddPipeMaterial(material, newSchedule_->text().toStdString(),
                                          convertUnits(PipeLengthUnit(metric_), UNIT_M, *roughness));
    });
    if (!added) return;
    fillTableList();
    for (int row = 0; row < tables_->rowCount(); ++row)
        if (tables_->item(row, 0)->text().toStdString() == material) tables_->selectRow(row);
    addMaterialPanel_->hide();
}

void TPipeDiameterDataForm::removeMaterial() {
    const int row = tables_->currentRow();
    if (row < 0 || tables_->item(row, 4) == nullptr) return;
    const std::string file = tables_->item(row, 4)->text().toStdString();
    const bool userMaterial = QString::fromStdString(file).startsWith(QStringLiteral("UserMaterial"), Qt::CaseInsensitive);
    if (!boxes_.Confirm((userMaterial ? "" : "\r") + std::string(kRemoveMaterial))) return;
    RunReportingErrors(boxes_, [&] { library_->RemovePipeMaterial(file); });
    fillTableList();
}
