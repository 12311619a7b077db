#pragma once

#include <QDialog>
#include <functional>

#include "dialogs/config/VM4_ConfigWorkingCopy.h"

class IMessageBoxes;
class QTabWidget;
class TConfigCalculationsPage;
class TConfigLabellingPage;
class TConfigPipeDefaultsPage;
class TConfigUnitsPage;
class TNetwork;

// "Configuration Options": the network's settings (labelling, units, calculation
// options) and its default pipe, edited in a working copy that reaches the
// network only on OK. Copying the default pipe onto chosen pipes is the one
// change made at once.
class TConfigForm : public QDialog {
    Q_OBJECT

public:
    enum TTab { LabellingTab = 0, UnitsTab = 1, PipeDefaultsTab = 2, CalculationsTab = 3 };
    static const char* const DefaultsInResultsModeMessage;
    static const char* const InvalidCalculationValuesMessage;

    explicit TConfigForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

    // Shows the dialog at `startTab`, modally; true when OK wrote the settings back.
    bool EditNetworkSettings(int startTab, TNetwork& network, bool resultsMode);
    // The same, for showing without the modal loop (tests drive it and press OK).
    void Open(int startTab, TNetwork& network, bool resultsMode);

    int CurrentTab() const;
    void SelectTab(int tab);
    TConfigPipeDefaultsPage& PipeDefaults() { return *pipeDefaults_; }
    const TConfigWorkingCopy& Working() const { return working_; }

public Q_SLOTS:
    void accept() override;

private:
    void tabChange(int tab);
    void loadAll();

    IMessageBoxes& boxes_;
    TConfigWorkingCopy working_;
    TNetwork* network_ = nullptr;
    bool resultsMode_ = false;
    bool accepted_ = false;
    QTabWidget* tabs_;
    TConfigLabellingPage* labelling_;
    TConfigUnitsPage* units_;
    TConfigPipeDefaultsPage* pipeDefaults_;
    TConfigCalculationsPage* calculations_;
};
