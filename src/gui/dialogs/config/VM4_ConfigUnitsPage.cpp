#include "dialogs/config/VM4_ConfigUnitsPage.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cstdint>

#include "dialogs/config/VM4_ConfigWorkingCopy.h"
#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

const char* const TConfigUnitsPage::InvalidAtmosphereMessage = "Atmosphere value is invalid.";

namespace {

using TItems = std::vector<std::pair<const char*, int>>;

struct TUnitList {
    const char* Caption;
    std::uint8_t TNetworkSettings::*Field;
    TItems Items;
    int Group;  // 0 pipes, 1 system and fluids, 2 tanks and nodes
};

const TItems kLengths = {{"metres", 0}, {"millimetres", 1}, {"feet", 2}, {"inches", 3}};
const TItems kGaugePressures = {{"bar g", 44}, {"psi g", 45},  {"kPa g", 48}, {"m H20", 49},
                                {"ft H20", 51}, {"mm Hg", 53}, {"in Hg", 54}};
const TItems kAbsolutePressures = {{"bar a", 60},    {"psi a", 61},    {"kPa a", 64}, {"m H20 a", 65},
                                   {"ft H20 a", 67}, {"mm Hg a", 69}, {"in Hg a", 70}};

const std::vector<TUnitList>& UnitLists() {
    static const std::vector<TUnitList> lists = {
        {"Length", &TNetworkSettings::LengthUnit, kLengths, 0},
        {"Diameter", &TNetworkSettings::DiameterUnit, kLengths, 0},
        {"Roughness", &TNetworkSettings::RoughnessUnit, kLengths, 0},
        {"Weight", &TNetworkSettings::WeightUnit, {{"kgs", 19}, {"lbs", 18}}, 0},
        {"Surface Area", &TNetworkSettings::AreaUnit, {{"m²", 6}, {"mm²", 7}, {"ft²", 8}, {"in²", 9}}, 0},
        {"Flow Rate", &TNetworkSettings::FlowRateUnit,
         {{"m³/sec", 25},         {"m³/min", 26},          {"m³/hour ", 27},      {"Litres/sec ", 28},
          {"Litres/min ", 29},    {"Litres/hour", 30},     {"ft³/sec", 31},       {"ft³/min", 32},
          {"ft³/hour ", 33},      {"inches³/sec", 34},     {"inches³/min", 35},   {"inches³/hour", 36},
          {"gallons/min (UK)", 37}, {"gallons/min (USA)", 38}, {"MGD (UK)", 39},   {"MGD (USA)", 40},
          {"Barrels Oil/min", 41}, {"Barrels Oil/hour", 42}, {"Barrels Oil/day", 43}},
         0},
        {"Velocity", &TNetworkSettings::VelocityUnit, {{"m/sec", 14}, {"ft/sec", 15}}, 0},
        {"Volume", &TNetworkSettings::VolumeUnit, {{"m³", 10}, {"mm³", 11}, {"ft³", 12}, {"in³", 13}}, 0},
        {"Head Losses", &TNetworkSettings::PressureLossUnit,
         {{"m fluid", 55},
          {"ft fluid", 57},
          {"bar", 44},
          {"psi", 45},
          {"kPa", 48},
          {"m H2O", 49},
          {"mm H2O", 50},
          {"mm Hg", 53},
          {"ft H2O", 51},
          {"in H2O", 52},
          {"in Hg", 54}},
         0},
        {"Temperature", &TNetworkSettings::TemperatureUnit,
         {{"°C - Centigrade", 22}, {"°F - Fahrenheit", 23}, {"°K - Kelvin", 24}},
         1},
        {"Density", &TNetworkSettings::DensityUnit, {{"kg/m³", 79}, {"lb/ft³", 80}}, 1},
        {"Liquid Level", &TNetworkSettings::LiquidLevelUnit, kLengths, 2},
        {"Elevation", &TNetworkSettings::ElevationUnit, kLengths, 2},
        {"Surface Press.", &TNetworkSettings::SurfacePressureUnit, {{"bar g", 44}, {"psi g", 45}, {"kPa g", 48}}, 2},
    };
    return lists;
}

constexpr int kAtmosphereDigits = 6;

void Fill(QComboBox* box, const TItems& items) {
    box->clear();
    for (const auto& [text, unit] : items) box->addItem(QString::fromUtf8(text), unit);
}

}  // namespace

TConfigUnitsPage::TConfigUnitsPage(TConfigWorkingCopy& working, IMessageBoxes& boxes, QWidget* parent)
    : QWidget(parent),
      working_(working),
      pressureList_(new QComboBox(this)),
      gauge_(new QRadioButton(QStringLiteral("Gage"), this)),
      absolute_(new QRadioButton(QStringLiteral("Absolute"), this)),
      metric_(new QRadioButton(QStringLiteral("Metric"), this)),
      imperial_(new QRadioButton(QStringLiteral("Imperial"), this)),
      atmosphere_(new TRightEdit(boxes, this)),
      atmosphereUnit_(new QLabel(this)) {
    setObjectName(QStringLiteral("PanelUnits"));
    QGroupBox* groups[] = {new QGroupBox(QStringLiteral(" Pipes "), this),
                           new QGroupBox(QStringLiteral(" System and Fluids "), this),
                           new QGroupBox(QStringLiteral(" Tanks and Nodes "), this)};
    QGridLayout* grids[3];
    for (int g = 0; g < 3; ++g) grids[g] = new QGridLayout(groups[g]);
    for (const TUnitList& list : UnitLists()) {
        auto* box = new QComboBox(this);
        box->setObjectName(QStringLiteral("ComboBox") + QString::fromLatin1(list.Caption).remove(QLatin1Char(' ')).remove(QLatin1Char('.')));
        Fill(box, list.Items);
        const auto field = list.Field;
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, field](int index) {
            if (!loading_ && index >= 0) working_.Settings.*field = static_cast<std::uint8_t>(box->currentData().toInt());
        });
        QGridLayout* grid = grids[list.Group];
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromLatin1(list.Caption), this), row, 0);
        grid->addWidget(box, row, 1);
        lists_.push_back(box);
    }

    gauge_->setObjectName(QStringLiteral("RadioButtonGage"));
    absolute_->setObjectName(QStringLiteral("RadioButtonAbsolute"));
    auto* reference = new QButtonGroup(this);
    reference->addButton(gauge_);
    reference->addButton(absolute_);
    connect(gauge_, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !loading_) choosePressureKind(true);
    });
    connect(absolute_, &QRadioButton::toggled, this, [this](bool on) {
        if (on && !loading_) choosePressureKind(false);
    });
    pressureList_->setObjectName(QStringLiteral("ComboBoxPressure"));
    connect(pressureList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0) choosePressure(index);
    });
    atmosphere_->setObjectName(QStringLiteral("EditAtmosphere"));
    atmosphere_->SetRules(DecimalRules(kAtmosphereDigits, kAtmosphereDigits, true, false));
    atmosphereUnit_->setObjectName(QStringLiteral("LabelAtmosphereUnit"));
    QGridLayout* system = grids[1];
    int row = system->rowCount();
    system->addWidget(new QLabel(QStringLiteral("Pressure Ref"), this), row, 0);
    system->addWidget(absolute_, row, 1);
    system->addWidget(gauge_, ++row, 1);
    system->addWidget(new QLabel(QStringLiteral("Atmosphere"), this), ++row, 0);
    system->addWidget(atmosphere_, row, 1);
    system->addWidget(atmosphereUnit_, row, 2);
    system->addWidget(new QLabel(QStringLiteral("Pressure"), this), ++row, 0);
    system->addWidget(pressureList_, row, 1);

    auto* presets = new QGroupBox(QStringLiteral(" Change All Units "), this);
    auto* presetLayout = new QVBoxLayout(presets);
    metric_->setObjectName(QStringLiteral("RadioButtonMetric"));
    imperial_->setObjectName(QStringLiteral("RadioButtonImperial"));
    presetLayout->addWidget(metric_);
    presetLayout->addWidget(imperial_);
    connect(metric_, &QRadioButton::clicked, this, [this] { applyPreset(false); });
    connect(imperial_, &QRadioButton::clicked, this, [this] { applyPreset(true); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(groups[0], 0, 0, 2, 1);
    layout->addWidget(groups[1], 0, 1);
    layout->addWidget(groups[2], 1, 1);
    layout->addWidget(presets, 0, 2);
}

void TConfigUnitsPage::Load() {
    loading_ = true;
    TNetworkSettings& settings = working_.Settings;
    (settings.GaugePressure ? gauge_ : absolute_)->setChecked(true);
    fillPressureList();
    for (std::size_t i = 0; i < lists_.size(); ++i)
        lists_[i]->setCurrentIndex(lists_[i]->findData(static_cast<int>(settings.*UnitLists()[i].Field)));
    const bool metricLengths = settings.LengthUnit == 0 || settings.LengthUnit == 1 || settings.LengthUnit == 4;
    (metricLengths ? metric_ : imperial_)->setChecked(true);
    showAtmosphere();
    loading_ = false;
}

void TConfigUnitsPage::fillPressureList() {
    const QSignalBlocker quiet(pressureList_);
    Fill(pressureList_, working_.Settings.GaugePressure ? kGaugePressures : kAbsolutePressures);
    pressureList_->setCurrentIndex(pressureList_->findData(static_cast<int>(working_.Settings.FluidPressureUnit)));
}

void TConfigUnitsPage::showAtmosphere() {
    TNetworkSettings& settings = working_.Settings;
    settings.AtmosphereUnit = static_cast<std::uint8_t>(associatedAbsolutePressureUnit(settings.FluidPressureUnit));
    atmosphere_->SetValueText(convertPressureWithAtmosphereToText(UNIT_BAR_A, settings.AtmosphereUnit,
                                                                  unitDecimals(settings.AtmosphereUnit),
                                                                  settings.AtmosphericPressure,
                                                                  settings.AtmosphericPressure));
    atmosphereUnit_->setText(QString::fromStdString(unitName(settings.AtmosphereUnit)));
}

// The same place in the other kind's list: "psi g" becomes "psi a" and back.
void TConfigUnitsPage::choosePressureKind(bool gauge) {
    const int index = std::max(pressureList_->currentIndex(), 0);
    working_.Settings.GaugePressure = gauge;
    working_.Settings.FluidPressureUnit =
        static_cast<std::uint8_t>((gauge ? kGaugePressures : kAbsolutePressures)[static_cast<std::size_t>(index)].second);
    fillPressureList();
    showAtmosphere();
}

void TConfigUnitsPage::choosePressure(int index) {
    const TItems& items = working_.Settings.GaugePressure ? kGaugePressures : kAbsolutePressures;
    working_.Settings.FluidPressureUnit = static_cast<std::uint8_t>(items[static_cast<std::size_t>(index)].second);
    showAtmosphere();
}

void TConfigUnitsPage::applyPreset(bool imperial) {
    if (loading_) return;
    TNetworkSettings& settings = working_.Settings;
    if (imperial)
        settings.SetImperialUnits();
    else
        settings.SetMetricUnits();
    const int pressure = imperial ? (settings.GaugePressure ? 45 : 61) : (settings.GaugePressure ? 44 : 60);
    settings.FluidPressureUnit = static_cast<std::uint8_t>(pressure);
    Load();
    if (PresetApplied) PresetApplied();
}

bool TConfigUnitsPage::StoreAtmosphere() {
    const TDecimalEntry entry = atmosphere_->ReadDecimal();
    if (entry.Outcome != TEntryOutcome::Valid) return false;
    TNetworkSettings& settings = working_.Settings;
    settings.AtmosphericPressure = convertPressureWithAtmosphere(settings.AtmosphereUnit, UNIT_BAR_A, entry.Value,
                                                                 settings.AtmosphericPressure);
    return true;
}
