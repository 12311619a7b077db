#include "dialogs/fittings/VM4_LongPipeBendCalculationForm.h"

#include <QLabel>
#include <QRadioButton>

#include "dialogs/VM4_DialogHelpers.h"
#include "foundations/VM4_Units.h"
#include "platform/VM4_MessageBoxes.h"

TLongPipeBendCalculationForm::TLongPipeBendCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TKValueCalculatorForm(boxes, QStringLiteral("Long pipe bend K value"),
                            {{"Bend radius (r)", "EditBendRadius", "200.00"},
                             {"Pipe diameter (d)", "EditPipeDiameter", "60.00"}},
                            QString(), parent) {
    mm_ = Placed(new QRadioButton(QStringLiteral("mm"), this), "RadioMillimetres", 12, nextRowY(), 60, 24);
    inch_ = Placed(new QRadioButton(QStringLiteral("inch"), this), "RadioInches", 80, nextRowY(), 60, 24);
    mm_->setChecked(true);
    skipRows(1);
    ratio_ = addResultRow("r/d =", "LabelRatio");
    // Either unit recalculates, since it chooses the table row.
    connect(mm_, &QRadioButton::clicked, this, [this] { Calculate(); });
    connect(inch_, &QRadioButton::clicked, this, [this] { Calculate(); });
}

TKValueResult TLongPipeBendCalculationForm::compute(const std::vector<double>& values) const {
    return LongPipeBendK(values[0], values[1], inch_->isChecked());
}

void TLongPipeBendCalculationForm::afterInvalidInput() { boxes().ShowInformation(KValueMessages::RadiusTooSmall); }

void TLongPipeBendCalculationForm::showExtras(const TKValueResult& result) {
    ratio_->setText(QString::fromStdString(formatFixed(2, result.Ratio)));
}

void TLongPipeBendCalculationForm::clearExtras() { ratio_->clear(); }
