#include "dialogs/config/VM4_ConfigPipeDefaultsPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/config/VM4_ConfigWorkingCopy.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"

const char* const TConfigPipeDefaultsPage::CopiedMessage =
    "The Default Pipe values have been copied to the selected pipes.\r\rAny fittings, components or pumps on the "
    "default pipe were also copied.";

namespace {

constexpr int kRoughnessDecimals = 6;
constexpr std::size_t kNominalLabelCapacity = 25;

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

TRightEdit* Box(IMessageBoxes& boxes, QWidget* parent, const char* name) {
    auto* box = new TRightEdit(boxes, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

std::string InUnit(double value_m, int unit, int decimals) {
    return formatFixed(decimals, convertUnits(UNIT_M, unit, value_m)) + " " + unitName(unit);
}

}  // namespace

TConfigPipeDefaultsPage::TConfigPipeDefaultsPage(TConfigWorkingCopy& working, IMessageBoxes& boxes, QWidget* parent)
    : QWidget(parent),
      working_(working),
      boxes_(boxes),
      length_(Box(boxes, this, "EditDefaultLength")),
      diameter_(Box(boxes, this, "EditDefaultDiameter")),
      roughness_(Box(boxes, this, "EditDefaultRoughness")),
      nominal_(new QLabel(this)),
      material_(new QLabel(this)),
      schedule_(new QLabel(this)),
      fittings_(Button(this, "ButtonDefaultFittings", QStringLiteral("None"))),
      diameterButton_(Button(this, "ButtonDefaultDiameter", QStringLiteral("Diam?"))),
      materialButton_(Button(this, "ButtonDefaultMaterial", QStringLiteral("Material"))),
      pipes_(new QListWidget(this)) {
    setObjectName(QStringLiteral("PanelPipeDefaults"));
    auto* defaults = new QGroupBox(QStringLiteral(" Pipe Default Values "), this);
    auto* grid = new QGridLayout(defaults);
    const char* captions[] = {"Length", "Internal Diameter", "Roughness"};
    TRightEdit* dimensionBoxes[] = {length_, diameter_, roughness_};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(QString::fromLatin1(captions[row]), defaults), row, 0);
        grid->addWidget(dimensionBoxes[row], row, 1);
        unitLabels_.push_back(new QLabel(defaults));
        grid->addWidget(unitLabels_.back(), row, 2);
    }
    grid->addWidget(nominal_, 3, 0);
    grid->addWidget(material_, 3, 1);
    grid->addWidget(schedule_, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Fittings"), defaults), 4, 0);
    grid->addWidget(fittings_, 4, 1);
    grid->addWidget(diameterButton_, 5, 0);
    grid->addWidget(materialButton_, 5, 1);

    connect(length_, &TRightEdit::ValueEdited, this,
            [this] { storeDimension(length_, &TPipe::Length_m, working_.Settings.LengthUnit); });
    connect(diameter_, &TRightEdit::ValueEdited, this,
            [this] { storeDimension(diameter_, &TPipe::InnerDiameter_m, working_.Settings.DiameterUnit); });
    connect(roughness_, &TRightEdit::ValueEdited, this,
            [this] { storeDimension(roughness_, &TPipe::InnerRoughness_m, working_.Settings.RoughnessUnit); });
    connect(fittings_, &QPushButton::clicked, this, [this] {
        if (EditFittings) EditFittings(working_.DefaultPipe);
        fillBoxes();
    });
    connect(diameterButton_, &QPushButton::clicked, this, [this] {
        if (EditDiameter) EditDiameter(working_.DefaultPipe, false);
        fillBoxes();
    });
    connect(materialButton_, &QPushButton::clicked, this, [this] {
        if (EditDiameter) EditDiameter(working_.DefaultPipe, true);
        fillBoxes();
    });

    auto* copy = new QGroupBox(QStringLiteral(" Copy Default Pipe Values to Selected Pipes "), this);
    auto* copyLayout = new QVBoxLayout(copy);
    pipes_->setObjectName(QStringLiteral("CheckListPipes"));
    copyLayout->addWidget(pipes_);
    QPushButton* copyButton =
        Button(copy, "ButtonCopyDefaultPipe", QStringLiteral("Copy Default Pipe Values to Selected Pipes"));
    connect(copyButton, &QPushButton::clicked, this, &TConfigPipeDefaultsPage::copyToCheckedPipes);
    copyLayout->addWidget(copyButton);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(defaults);
    layout->addWidget(copy, 1);
}

void TConfigPipeDefaultsPage::Load(TNetwork& network) {
    network_ = &network;
    fittings_->setEnabled(static_cast<bool>(EditFittings));
    diameterButton_->setEnabled(static_cast<bool>(EditDiameter));
    materialButton_->setEnabled(static_cast<bool>(EditDiameter));
    fillBoxes();
    fillPipeList();
}

void TConfigPipeDefaultsPage::fillBoxes() {
    const TNetworkSettings& s = working_.Settings;
    const TPipe& pipe = working_.DefaultPipe;
    // A zero length or bore would leave every new pipe impossible to calculate.
    length_->SetRules(DecimalRulesForUnit(s.LengthUnit, false, false));
    diameter_->SetRules(DecimalRulesForUnit(s.DiameterUnit, false, false));
    TRightEditRules roughness = DecimalRulesForUnit(s.RoughnessUnit, true, false);
    roughness.MaxDecimals = kRoughnessDecimals;
    roughness_->SetRules(roughness);
    length_->SetValueText(formatFixed(unitDecimals(s.LengthUnit), convertUnits(UNIT_M, s.LengthUnit, pipe.Length_m)));
    diameter_->SetValueText(
        formatFixed(unitDecimals(s.DiameterUnit), convertUnits(UNIT_M, s.DiameterUnit, pipe.InnerDiameter_m)));
    roughness_->SetValueText(
        formatFixed(kRoughnessDecimals, convertUnits(UNIT_M, s.RoughnessUnit, pipe.InnerRoughness_m)));
    const int units[] = {s.LengthUnit, s.DiameterUnit, s.RoughnessUnit};
    for (std::size_t i = 0; i < unitLabels_.size(); ++i)
        unitLabels_[i]->setText(QString::fromStdString(unitName(units[i])));
    nominal_->setText(pipe.NominalSize.empty()
                          ? QString()
                          : QString::fromStdString("Nom: " + CutToCapacity(pipe.NominalSize, kNominalLabelCapacity)));
    material_->setText(QString::fromStdString(pipe.Material));
    schedule_->setText(QString::fromStdString(pipe.Schedule));
    const std::int32_t count = pipe.GetFittingCountIncludingQuantities();
    fittings_->setText(count == 0 ? QStringLiteral("None") : QString::number(count));
}

void TConfigPipeDefaultsPage::storeDimension(TRightEdit* box, double TPipe::*field, int unit) {
    const TDecimalEntry entry = box->ReadDecimal();
    if (entry.Outcome == TEntryOutcome::Valid) working_.DefaultPipe.*field = convertUnits(unit, UNIT_M, entry.Value);
}

std::string TConfigPipeDefaultsPage::pipeLine(std::int32_t pipeId) const {
    const TNetworkSettings& s = working_.Settings;
    const TPipe& pipe = network_->GetPipe(pipeId);
    return std::to_string(pipeId) + ", " + pipe.Name + ", " +
           InUnit(pipe.InnerDiameter_m, s.DiameterUnit, unitDecimals(s.DiameterUnit)) + ", " +
           InUnit(pipe.InnerRoughness_m, s.RoughnessUnit, unitDecimals(s.RoughnessUnit)) + ", " +
           InUnit(pipe.Length_m, s.LengthUnit, unitDecimals(s.LengthUnit));
}

// Sorted by pipe id here, not in the network: opening the dialog must not
// reorder the document's link table (its saved bytes would change).
void TConfigPipeDefaultsPage::fillPipeList() {
    pipes_->clear();
    pipeIds_.clear();
    for (std::int32_t k = 1; k <= network_->GetNodeLinkCount(); ++k) pipeIds_.push_back(network_->GetNodeLink(k).PipeId);
    std::sort(pipeIds_.begin(), pipeIds_.end());
    for (const std::int32_t id : pipeIds_) {
        auto* line = new QListWidgetItem(QString::fromStdString(pipeLine(id)), pipes_);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Unchecked);
    }
}

// Acts on the network at once: Cancel does not take it back.
void TConfigPipeDefaultsPage::copyToCheckedPipes() {
    for (int row = 0; row < pipes_->count(); ++row) {
        if (pipes_->item(row)->checkState() != Qt::Checked) continue;
        TPipe& pipe = network_->GetPipe(pipeIds_[static_cast<std::size_t>(row)]);
        const std::string name = pipe.Name;
        pipe.Copy(working_.DefaultPipe);
        pipe.Name = name;
    }
    for (int row = 0; row < pipes_->count(); ++row)
        pipes_->item(row)->setText(QString::fromStdString(pipeLine(pipeIds_[static_cast<std::size_t>(row)])));
    if (NetworkChanged) NetworkChanged();
    boxes_.ShowInformation(CopiedMessage);
}
