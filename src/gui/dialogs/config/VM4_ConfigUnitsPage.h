#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class IMessageBoxes;
class QComboBox;
class QLabel;
class QRadioButton;
class TRightEdit;
struct TConfigWorkingCopy;

// The Units tab: the unit each quantity is shown and typed in, gauge or
// absolute pressures, the atmosphere, and the metric and imperial presets.
// Each choice is stored in the working copy at once.
class TConfigUnitsPage : public QWidget {
    Q_OBJECT

public:
    static const char* const InvalidAtmosphereMessage;

    TConfigUnitsPage(TConfigWorkingCopy& working, IMessageBoxes& boxes, QWidget* parent = nullptr);

    // Fills every control from the working copy.
    void Load();
    // The atmosphere box is read only on OK: false (and the value kept) when it
    // does not hold a number.
    bool StoreAtmosphere();

    // A preset changed units the other tabs show.
    std::function<void()> PresetApplied;

private:
    void fillPressureList();
    void showAtmosphere();
    void choosePressureKind(bool gauge);
    void choosePressure(int index);
    void applyPreset(bool imperial);

    TConfigWorkingCopy& working_;
    std::vector<QComboBox*> lists_;
    QComboBox* pressureList_;
    QRadioButton* gauge_;
    QRadioButton* absolute_;
    QRadioButton* metric_;
    QRadioButton* imperial_;
    TRightEdit* atmosphere_;
    QLabel* atmosphereUnit_;
    bool loading_ = false;
};
