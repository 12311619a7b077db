#pragma once

#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

class QLabel;
class QToolButton;

// The gradual contraction and enlargement: two bores and the length of the cone
// between them, with the included angle shown and an angle spinner that sets
// the length for a whole number of degrees.
class TConeCalculationForm : public TKValueCalculatorForm {
    Q_OBJECT
public:
    // One degree up or down, as the spinner's arrows do.
    void StepAngle(bool up);

protected:
    struct TConeInputs {
        int Large;
        int Length;
        int Small;
    };
    TConeCalculationForm(IMessageBoxes& boxes, const QString& caption, const std::vector<TInput>& inputs,
                         const QString& velocityNote, TConeInputs order, QWidget* parent);

    void showExtras(const TKValueResult& result) override;
    void clearExtras() override;
    const TConeInputs& order() const { return order_; }

private:
    TConeInputs order_;
    QLabel* angle_ = nullptr;
    double shownAngle_deg_ = 0.0;
    bool angleShown_ = false;
};
