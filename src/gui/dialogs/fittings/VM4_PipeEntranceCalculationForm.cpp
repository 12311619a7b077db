#include "dialogs/fittings/VM4_PipeEntranceCalculationForm.h"

#include <QLabel>

#include "foundations/VM4_Units.h"

TPipeEntranceCalculationForm::TPipeEntranceCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TKValueCalculatorForm(boxes, QStringLiteral("Pipe entrance k Value"),
                            {{"Entrance radius (r)", "EditEntranceRadius", "0.24"},
                             {"Pipe diameter (d)", "EditPipeDiameter", "4.00"}},
                            QString(), parent) {
    ratio_ = addResultRow("r/d =", "LabelRatio");
}

TKValueResult TPipeEntranceCalculationForm::compute(const std::vector<double>& values) const {
    return PipeEntranceK(values[0], values[1]);
}

void TPipeEntranceCalculationForm::showExtras(const TKValueResult& result) {
    ratio_->setText(QString::fromStdString(formatFixed(2, result.Ratio)));
}

void TPipeEntranceCalculationForm::clearExtras() { ratio_->clear(); }
