#pragma once

#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

class QLabel;
class QRadioButton;

// "Long pipe bend K value": a 90 degree bend of radius r on a pipe of bore d,
// the bore in mm or inches (it chooses the table row).
class TLongPipeBendCalculationForm : public TKValueCalculatorForm {
    Q_OBJECT
public:
    explicit TLongPipeBendCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

    QRadioButton& InchButton() const { return *inch_; }
protected:
    TKValueResult compute(const std::vector<double>& values) const override;
    void afterInvalidInput() override;
    void showExtras(const TKValueResult& result) override;
    void clearExtras() override;

private:
    QLabel* ratio_ = nullptr;
    QRadioButton* mm_ = nullptr;
    QRadioButton* inch_ = nullptr;
};
