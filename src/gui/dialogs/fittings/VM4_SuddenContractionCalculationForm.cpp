#include "dialogs/fittings/VM4_SuddenContractionCalculationForm.h"

#include "platform/VM4_MessageBoxes.h"

namespace {

const char* const kLargeRatio =
    "The sudden contraction ratio is greater than normally experienced, \rthis may produce a large head "
    "loss.\r\rDo you wish to continue?";
constexpr double kLargestUsualK = 50.0;

}  // namespace

TSuddenContractionCalculationForm::TSuddenContractionCalculationForm(IMessageBoxes& boxes, QWidget* parent)
    : TKValueCalculatorForm(boxes, QStringLiteral("Sudden contraction K value"),
                            {{"Small diameter (d)", "EditSmallDiameter", "1.00"},
                             {"Large diameter (D)", "EditLargeDiameter", "4.00"}},
                            QStringLiteral("in larger diameter pipe"), parent) {}

TKValueResult TSuddenContractionCalculationForm::compute(const std::vector<double>& values) const {
    return SuddenContractionK(values[0], values[1]);
}

bool TSuddenContractionCalculationForm::acceptResult(double k) {
    return k <= kLargestUsualK || boxes().Confirm(kLargeRatio);
}
