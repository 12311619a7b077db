#include "dialogs/fluids/VM4_GasPropertiesCalculatorForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/VM4_DialogHelpers.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"

namespace {

const char* const kNotAvailable = "Properties of the gas are not \ravailable for ";
const char* const kAddGas = "Add new gas data to Fluid database.\rProceed with this operation?";
constexpr double kResetTemperature_C = 20.0;

QLineEdit* readOnlyBox(QWidget* parent, const char* name, int x, int y, int width) {
    auto* box = Placed(new QLineEdit(parent), name, x, y, width, 22);
    box->setReadOnly(true);
    // A box that only shows a result passes the focus on.
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

}  // namespace

TGasPropertiesCalculatorForm::TGasPropertiesCalculatorForm(IMessageBoxes& boxes, const TGasConstantTable& gases,
                                                           QWidget* parent)
    : QDialog(parent), boxes_(boxes), gases_(gases) {
    setWindowTitle(QStringLiteral("Properties of gases"));
    setFixedSize(430, 300);
    Placed(new QLabel(QStringLiteral("Gas"), this), "LabelGas", 12, 12, 120);
    gasList_ = Placed(new QComboBox(this), "ComboGas", 172, 12, 230);
    Placed(new QLabel(QStringLiteral("Formula"), this), "LabelFormula", 12, 42, 120);
    formula_ = readOnlyBox(this, "EditFormula", 172, 42, 120);
    Placed(new QLabel(QStringLiteral("Temperature"), this), "LabelTemperature", 12, 72, 120);
    temperature_ = Placed(new TRightEdit(boxes_, this), "EditTemperature", 172, 72, 100);
    temperature_->SetRules(DecimalRules(2, 3, true, false));
    temperatureUnit_ = Placed(new QLabel(this), "LabelTemperatureUnit", 278, 72, 80);
    Placed(new QLabel(QStringLiteral("Pressure"), this), "LabelPressure", 12, 102, 120);
    pressure_ = Placed(new TRightEdit(boxes_, this), "EditPressure", 172, 102, 100);
    pressure_->SetRules(DecimalRules(2, 3, true, false));
    pressureUnit_ = Placed(new QLabel(this), "LabelPressureUnit", 278, 102, 80);
    Placed(new QLabel(QStringLiteral("Individual Gas Constant"), this), "LabelGasConstant", 12, 140, 158);
    gasConstant_ = readOnlyBox(this, "EditGasConstant", 172, 140, 100);
    Placed(new QLabel(QStringLiteral("J / kg K"), this), "LabelGasConstantUnit", 278, 140, 80);
    Placed(new QLabel(QStringLiteral("Density"), this), "LabelDensity", 12, 170, 158);
    density_ = readOnlyBox(this, "EditDensity", 172, 170, 100);
    densityUnit_ = Placed(new QLabel(this), "LabelDensityUnit", 278, 170, 80);
    Placed(new QLabel(QStringLiteral("Dynamic viscosity"), this), "LabelViscosity", 12, 200, 158);
    viscosity_ = readOnlyBox(this, "EditViscosity", 172, 200, 100);
    Placed(new QLabel(QStringLiteral("Centipoise"), this), "LabelViscosityUnit", 278, 200, 80);
    add_ = Placed(new QPushButton(QStringLiteral("Add  new entry"), this), "ButtonAddNewEntry", 80, 250, 110, 28);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel", 210, 250, 110, 28);
    for (int slot = 0; slot < gases_.Count(); ++slot) gasList_->addItem(qs(gases_.GetGasData(slot).Name));
    formula_->setText(QStringLiteral("N/A"));

    connect(gasList_, &QComboBox::currentIndexChanged, this, [this] { calculate(); });
    for (TRightEdit* box : {temperature_, pressure_}) {
        connect(box, &TRightEdit::ValueEdited, this, &TGasPropertiesCalculatorForm::clearResults);
        connect(box, &QLineEdit::editingFinished, this, &TGasPropertiesCalculatorForm::calculate);
        connect(box, &TRightEdit::EnterOrTabPressed, this, &TGasPropertiesCalculatorForm::calculate);
    }
    connect(add_, &QPushButton::clicked, this, [this] {
        if (!boxes_.Confirm(kAddGas)) return;
        addRequested_ = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TGasPropertiesCalculatorForm::CalculateGasData(bool metric) {
    metric_ = metric;
    addRequested_ = false;
    setUnits();
    showRemembered();
    calculate();
    exec();
    return addRequested_;
}

void TGasPropertiesCalculatorForm::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    calculate();
}

void TGasPropertiesCalculatorForm::setUnits() {
    temperatureUnit_->setText(metric_ ? QStringLiteral("°C") : QStringLiteral("°F"));
    pressureUnit_->setText(metric_ ? QStringLiteral("bar g") : QStringLiteral("psi g"));
    densityUnit_->setText(metric_ ? QStringLiteral("kgs / m³") : QStringLiteral("lbs / ft³"));
}

void TGasPropertiesCalculatorForm::showRemembered() {
    const int decimals = metric_ ? 1 : 2;
    temperature_->SetValueText(
        convertUnitsToText(UNIT_DEG_C, metric_ ? UNIT_DEG_C : UNIT_DEG_F, decimals, temperature_C_));
    pressure_->SetValueText(convertUnitsToText(UNIT_BAR_G, metric_ ? UNIT_BAR_G : UNIT_PSI_G, metric_ ? 3 : 2,
                                               pressure_bar_g_));
}

void TGasPropertiesCalculatorForm::clearResults() {
    density_->clear();
    viscosity_->clear();
    add_->setEnabled(false);
}

// The message box takes the focus from the box being read, which would run
// the calculation a second time from inside the first.
void TGasPropertiesCalculatorForm::calculate() {
    if (calculating_) return;
    calculating_ = true;
    clearResults();
    const int slot = gasList_->currentIndex();
    if (slot >= 0 && slot < gases_.Count()) {
        const TGasData& gas = gases_.GetGasData(slot);
        formula_->setText(qs(gas.Formula));
        gasConstant_->setText(qs(formatFixed(0, gas.GasConstant_J_kgK)));
        if (readTemperature() && readPressure()) {
            result_ = {slot, temperature_C_, pressure_bar_g_,
                       gases_.CalculateGasProperties(slot, temperature_C_, pressure_bar_g_)};
            const int densityUnit = metric_ ? UNIT_KG_M3 : UNIT_LB_FT3;
            density_->setText(qs(convertUnitsToText(UNIT_KG_M3, densityUnit, 5, result_.Properties.Density_kg_m3)));
            viscosity_->setText(qs(formatFixed(5, result_.Properties.DynamicViscosity_cP)));
            add_->setEnabled(true);
        }
    }
    calculating_ = false;
}

bool TGasPropertiesCalculatorForm::readTemperature() {
    const TParsedNumber<double> typed = ParseDecimalText(temperature_->Text(), true, false);
    const int unit = metric_ ? UNIT_DEG_C : UNIT_DEG_F;
    if (!typed.Valid) {
        temperature_C_ = 0.0;
        showRemembered();
        return false;
    }
    const double celsius = convertUnits(unit, UNIT_DEG_C, typed.Value);
    if (IsGasTemperatureInRange(celsius)) {
        temperature_C_ = celsius;
        return true;
    }
    const std::string unitText = temperatureUnit_->text().toStdString();
    boxes_.ShowInformation(kNotAvailable + temperature_->Text() + " " + unitText + "\r" +
                           "The temperature will be reset to " + (metric_ ? "20.0" : "68.0") + " " + unitText);
    temperature_C_ = kResetTemperature_C;
    temperature_->SetValueText(metric_ ? "20.0" : "68.0");
    return false;
}

bool TGasPropertiesCalculatorForm::readPressure() {
    const TParsedNumber<double> typed = ParseDecimalText(pressure_->Text(), true, false);
    const int unit = metric_ ? UNIT_BAR_G : UNIT_PSI_G;
    if (!typed.Valid) {
        pressure_bar_g_ = 0.0;
        showRemembered();
        return false;
    }
    const double barG = convertUnits(unit, UNIT_BAR_G, typed.Value);
    if (IsGasPressureInRange(barG)) {
        pressure_bar_g_ = barG;
        return true;
    }
    const std::string unitText = pressureUnit_->text().toStdString();
    boxes_.ShowInformation(kNotAvailable + pressure_->Text() + " " + unitText + "\r" +
                           "The pressure will be reset to 0.0 " + unitText);
    pressure_bar_g_ = 0.0;
    pressure_->SetValueText("0.0");
    return false;
}
