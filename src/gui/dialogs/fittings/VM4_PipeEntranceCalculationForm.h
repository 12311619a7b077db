#pragma once

#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

class QLabel;

// "Pipe entrance k Value": a flush entrance rounded with radius r.
class TPipeEntranceCalculationForm : public TKValueCalculatorForm {
    Q_OBJECT
public:
    explicit TPipeEntranceCalculationForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

protected:
    TKValueResult compute(const std::vector<double>& values) const override;
    void showExtras(const TKValueResult& result) override;
    void clearExtras() override;

private:
    QLabel* ratio_ = nullptr;
};
