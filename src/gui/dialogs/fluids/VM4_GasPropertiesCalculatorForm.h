#pragma once

#include <QDialog>

#include "libraries/VM4_GasViscosityCalc.h"

class IMessageBoxes;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRightEdit;

// "Properties of gases": the density and viscosity of a gas of the gas constant
// table at a temperature and pressure within the table's range. The manager
// stores an accepted result as a new fluid.
class TGasPropertiesCalculatorForm : public QDialog {
    Q_OBJECT
public:
    TGasPropertiesCalculatorForm(IMessageBoxes& boxes, const TGasConstantTable& gases, QWidget* parent = nullptr);

    // True when the user asked to add the result (Result() then holds it).
    bool CalculateGasData(bool metric);
    // The gas, its conditions and its properties last calculated.
    struct TResult {
        int Slot = -1;
        double Temperature_C = 0.0;
        double Pressure_bar_g = 0.0;
        TGasProperties Properties;
    };
    const TResult& Result() const { return result_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void setUnits();
    void calculate();
    bool readTemperature();
    bool readPressure();
    void clearResults();
    void showRemembered();

    IMessageBoxes& boxes_;
    const TGasConstantTable& gases_;
    bool metric_ = true;
    bool calculating_ = false;
    bool addRequested_ = false;
    // Remembered between openings, in °C and bar g.
    double temperature_C_ = 20.0;
    double pressure_bar_g_ = 0.0;
    TResult result_;

    QComboBox* gasList_ = nullptr;
    QLineEdit* formula_ = nullptr;
    TRightEdit* temperature_ = nullptr;
    TRightEdit* pressure_ = nullptr;
    QLabel* temperatureUnit_ = nullptr;
    QLabel* pressureUnit_ = nullptr;
    QLabel* densityUnit_ = nullptr;
    QLineEdit* gasConstant_ = nullptr;
    QLineEdit* density_ = nullptr;
    QLineEdit* viscosity_ = nullptr;
    QPushButton* add_ = nullptr;
};
