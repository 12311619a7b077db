#include "dialogs/fittings/VM4_SuddenEnlargementCalculationForm.h"

TSuddenEnlargementCalculationForm::TSuddenEnlargementCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TKValueCalculatorForm(boxes, QStringLiteral("Sudden enlargement K value"),
                            {{"Small diameter (d)", "EditSmallDiameter", "1.00"},
                             {"Large diameter (D)", "EditLargeDiameter", "4.00"}},
                            QStringLiteral("in smaller diameter pipe"), parent) {}

TKValueResult TSuddenEnlargementCalculationForm::compute(const std::vector<double>& values) const {
    return SuddenEnlargementK(values[0], values[1]);
}
