#pragma once

#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

// "Sudden contraction K value", K on the velocity in the larger pipe. A
// result above 50 is used only when the user confirms it.
class TSuddenContractionCalculationForm : public TKValueCalculatorForm {
    Q_OBJECT
public:
    explicit TSuddenContractionCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

protected:
    TKValueResult compute(const std::vector<double>& values) const override;
    int refusalFocus() const override { return 1; }
    bool acceptResult(double k) override;
};
