#pragma once

#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

// "Sudden enlargement K value", K on the velocity in the smaller pipe.
class TSuddenEnlargementCalculationForm : public TKValueCalculatorForm {
    Q_OBJECT
public:
    explicit TSuddenEnlargementCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

protected:
    TKValueResult compute(const std::vector<double>& values) const override;

};
