#pragma once

#include "dialogs/fittings/VM4_ConeCalculationForm.h"

// "Gradual enlargement K Value": a cone from the small to the large bore, K on
// the velocity in the smaller pipe.
class TGradualEnlargementCalculationForm : public TConeCalculationForm {
    Q_OBJECT
public:
    explicit TGradualEnlargementCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

protected:
    TKValueResult compute(const std::vector<double>& values) const override;
};
