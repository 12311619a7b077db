#include "dialogs/fittings/VM4_GradualEnlargementCalculationForm.h"

TGradualEnlargementCalculationForm::TGradualEnlargementCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TConeCalculationForm(boxes, QStringLiteral("Gradual enlargement K Value"),
                           {{"Small diameter (d)", "EditSmallDiameter", "1.00"},
                            {"Length (L)", "EditLength", "1.866"},
                            {"Large diameter (D)", "EditLargeDiameter", "2.00"}},
                           QStringLiteral("in smaller diameter pipe"), {2, 1, 0}, parent) {}

TKValueResult TGradualEnlargementCalculationForm::compute(const std::vector<double>& values) const {
    return GradualEnlargementK(values[0], values[1], values[2]);
}
