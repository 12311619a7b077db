#pragma once

#include <QDialog>
#include <QImage>
#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/VM4_PumpCurveGrid.h"
#include "model/VM4_Pump_Class.h"

class IFileDialogs;
class IMessageBoxes;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TNetwork;
class TPipe;
class TPumpCurveTable;

// "Pump Data": the pump on one pipe, its curve, chart and calculator. Every
// control edits WorkingPump; the pipe gets it only through "SaveTo Pipe", and
// any other way out puts BackupPump back. In results mode the dialog only
// shows where the pipe's solved flow lies on the curve.
class TPumpDataForm : public QDialog {
    Q_OBJECT
public:
    TPumpDataForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent = nullptr);
    ~TPumpDataForm() override;

    // Modal. True when the user chose "Delete Pump" (the caller removes it).
    bool EditPumpData(TNetwork& network, std::int32_t pipeId, bool resultsMode);

    // The chart as last painted, for a look without a screen.
    const QImage& ChartImage() const { return chart_; }
    const TPump& Working() const { return WorkingPump; }

protected:
    void reject() override;

private:
    void buildDetails();
    void buildCurveArea();
    void buildChartArea();
    void buildButtons();
    void connectControls();

    void enableForMode();
    void applyPumpType(bool fixedFlow);
    void showPumpUnits();
    void showPumpInGrid();
    void showPositions();

    TPumpCurveUnits curveUnits() const;
    TCurveGridCheck validateGrid(TPumpCurveGrid& grid) const;
    TCurveGridCheck readGrid(bool showMessage);
    bool gridIsEmpty() const;

    void drawGraph();
    void paintChart();
    void showInstructions();
    void calculate();
    void showReadout(const struct TPumpPointReadout& readout, bool fromFlow);
    void clearReadouts();

    void curveUnitChosen(QComboBox* box, int previousItem, std::uint8_t& unitField, int unit);
    void flowUnitChosen(int item);
    void headUnitChosen(int item);
    bool readBeforeUnitChange(QComboBox* box, int previousItem);
    void setFlowUnitChosen(int item);

    void saveToPipe();
    bool positionIsValid();
    void storePositionInPipe();
    void saveToFile();
    void loadFile();
    void deletePump();
    void exitNoSave();
    void printPage();
    void stepSymbol(int step);
    void paintSymbolPreview();

    IMessageBoxes& boxes_;
    IFileDialogs& files_;
    TPump BackupPump;
    TPump WorkingPump;

    TNetwork* network_ = nullptr;
    std::int32_t pipeId_ = 0;
    TPipe* pipe_ = nullptr;
    double distance_m_ = 0.0;
    double elevation_m_ = 0.0;
    bool resultsMode_ = false;
    bool deletePump_ = false;
    bool closingByButton_ = false;
    int flowItem_ = 0;
    int headItem_ = 0;
    std::optional<double> markedFlow_m3s_;
    QImage chart_;

    QGroupBox* details_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* symbolPreview_ = nullptr;
    QLineEdit* distance_ = nullptr;
    QLabel* distanceUnit_ = nullptr;
    QLineEdit* elevation_ = nullptr;
    QLabel* elevationUnit_ = nullptr;
    QRadioButton* fixedSpeed_ = nullptr;
    QRadioButton* fixedFlow_ = nullptr;
    QLineEdit* speed_ = nullptr;
    QLineEdit* setFlow_ = nullptr;
    QComboBox* setFlowUnits_ = nullptr;
    QLineEdit* regionFrom_ = nullptr;
    QLineEdit* regionTo_ = nullptr;
    TPumpCurveTable* grid_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* chartView_ = nullptr;
    QCheckBox* gridLines_ = nullptr;
    QCheckBox* showHead_ = nullptr;
    QCheckBox* showEfficiency_ = nullptr;
    QCheckBox* showNPSHr_ = nullptr;
    QCheckBox* showRegion_ = nullptr;
    QLabel* flowLabel_ = nullptr;
    QLabel* headLabel_ = nullptr;
    QLineEdit* flowBox_ = nullptr;
    QLineEdit* headBox_ = nullptr;
    QLabel* npshrOut_ = nullptr;
    QLabel* efficiencyOut_ = nullptr;
    QLabel* powerHeader_ = nullptr;
    QLabel* powerOut_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};
