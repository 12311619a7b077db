#include "dialogs/fittings/VM4_GradualContractionCalculationForm.h"

TGradualContractionCalculationForm::TGradualContractionCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TConeCalculationForm(boxes, QStringLiteral("Gradual contraction K value"),
                           {{"Large diameter (D)", "EditLargeDiameter", "2.00"},
                            {"Length (L)", "EditLength", "1.866"},
                            {"Small diameter (d)", "EditSmallDiameter", "1.00"}},
                           QStringLiteral("in larger diameter pipe"), {0, 1, 2}, parent) {}

TKValueResult TGradualContractionCalculationForm::compute(const std::vector<double>& values) const {
    return GradualContractionK(values[0], values[1], values[2]);
}
