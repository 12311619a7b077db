#include "dialogs/fittings/VM4_ConeCalculationForm.h"

#include <QLabel>
#include <QToolButton>

#include "dialogs/VM4_DialogHelpers.h"
#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

TConeCalculationForm::TConeCalculationForm(IMessageBoxes& boxes, const QString& caption,
                                           const std::vector<TInput>& inputs, const QString& velocityNote,
                                           TConeInputs order, QWidget* parent)
    : TKValueCalculatorForm(boxes, caption, inputs, velocityNote, parent), order_(order) {
    angle_ = addResultRow("Angle", "LabelAngle");
    angle_->setText(QStringLiteral("30°"));
    auto* up = Placed(new QToolButton(this), "ButtonAngleUp", 290, nextRowY() - 30, 24, 13);
    auto* down = Placed(new QToolButton(this), "ButtonAngleDown", 290, nextRowY() - 17, 24, 13);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { StepAngle(true); });
    connect(down, &QToolButton::clicked, this, [this] { StepAngle(false); });
}

void TConeCalculationForm::showExtras(const TKValueResult& result) {
    shownAngle_deg_ = result.Angle_deg;
    angleShown_ = true;
    angle_->setText(QString::fromStdString(formatFixed(1, result.Angle_deg)) + QStringLiteral("°"));
}

void TConeCalculationForm::clearExtras() {
    angleShown_ = false;
    angle_->clear();
}

// The spinner first calculates, so that it steps from the angle of the inputs.
void TConeCalculationForm::StepAngle(bool up) {
    Calculate();
    if (!angleShown_) return;
    const double angle_deg = SteppedConeAngle(shownAngle_deg_, up);
    const double large = Input(order_.Large).ReadPositive().Value;
    const double small = Input(order_.Small).ReadPositive().Value;
    Input(order_.Length).SetValueText(formatFixed(3, ConeLengthForAngle(large, small, angle_deg)));
    Calculate();
}
