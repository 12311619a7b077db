#pragma once

#include <QDialog>
#include <cstdint>

#include "dialogs/VM4_ComponentCurveGrid.h"
#include "model/VM4_ComponentPressure_Class.h"

class IFileDialogs;
class IMessageBoxes;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TNetwork;

// "Set Component Pressure Loss": the component on one pipe, a fixed loss or a
// flow/loss curve of up to 8 points. The controls edit a working copy; the
// pipe gets it only on "OK".
class TComponentPressureForm : public QDialog {
    Q_OBJECT
public:
    TComponentPressureForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent = nullptr);

    void EditComponentPressure(TNetwork& network, std::int32_t pipeId, bool resultsMode);

    const TComponentPressure& Working() const { return working_; }

private:
    void buildControls();
    void buildGrid();
    void buildButtons();
    void refresh();
    void useCurve(bool curve);
    TComponentCurveUnits curveUnits() const;
    void copyGridTo(TComponentCurveGrid& grid) const;
    void paintGrid();
    bool fieldsToComponent();
    // Check and read the grid as OK, a unit change and "Generate Curve" do;
    // an empty grid clears the curve. False with the message shown otherwise.
    bool readGridForChange();

    void ok();
    void cancelled();
    void deleteComponent();
    void clearEntries();
    void stepSymbol(int step);
    void flowUnitChosen(int item);
    void lossUnitChosen(int item);
    void fixedLossUnitChosen(int item);
    void generateCurve();
    void saveToFile();
    void loadFromFile();

    IMessageBoxes& boxes_;
    IFileDialogs& files_;
    TComponentPressure backup_;
    TComponentPressure working_;
    TNetwork* network_ = nullptr;
    bool resultsMode_ = false;
    bool accepted_ = false;
    bool delete_ = false;
    int flowItem_ = 0;
    int lossItem_ = 0;

    QLabel* pipeLabel_ = nullptr;
    QLabel* pipeName_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* symbolPreview_ = nullptr;
    QRadioButton* fixedLoss_ = nullptr;
    QRadioButton* curveLoss_ = nullptr;
    QLineEdit* fixedLossBox_ = nullptr;
    QComboBox* fixedLossUnits_ = nullptr;
    QLabel* fixedLossUnit_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QComboBox* flowUnits_ = nullptr;
    QComboBox* lossUnits_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
