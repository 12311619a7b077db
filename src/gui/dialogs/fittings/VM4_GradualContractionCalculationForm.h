#pragma once

#include "dialogs/fittings/VM4_ConeCalculationForm.h"

// "Gradual contraction K value": a cone from the large to the small bore, K on
// the velocity in the larger pipe.
class TGradualContractionCalculationForm : public TConeCalculationForm {
    Q_OBJECT
public:
    explicit TGradualContractionCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

protected:
    TKValueResult compute(const std::vector<double>& values) const override;
};
