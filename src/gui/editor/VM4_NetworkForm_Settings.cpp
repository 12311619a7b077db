// The main window's part in the configuration dialog: the commands that open it
// at one of its tabs, and showing the settings it wrote back.

#include "dialogs/config/VM4_ConfigForm.h"
#include "dialogs/config/VM4_ConfigPipeDefaultsPage.h"
#include "editor/VM4_NetworkForm.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_FormResults.h"

void TNetworkForm::createConfigForm() {
    configForm_ = new TConfigForm(*services_.MessageBoxes, this);
    resultsTable_->SpecifyUnits = [this] {
        if (configForm_->EditNetworkSettings(TConfigForm::UnitsTab, *TheNetwork, true)) MarkModified();
    };
    // Copying the default pipe onto pipes changes the document at once.
    configForm_->PipeDefaults().NetworkChanged = [this] {
        MarkModified();
        RefreshScreen();
    };
}

// The settings travel in the network file: accepting them is a change of the document.
void TNetworkForm::EditNetworkSettings(int tab) {
    if (configForm_->EditNetworkSettings(tab, *TheNetwork, ResultsMode_)) {
        MarkModified();
        SetUnitRadioButtonsFromNetwork();
        UpdateFluidDisplay();
    }
    RefreshScreen();
}

void TNetworkForm::ChangeUnits1Click() { EditNetworkSettings(TConfigForm::UnitsTab); }

void TNetworkForm::ConfigureLabelling1Click() { EditNetworkSettings(TConfigForm::LabellingTab); }

void TNetworkForm::ChangeDefaultPipeData1Click() {
    if (ResultsMode_) return;
    EditNetworkSettings(TConfigForm::PipeDefaultsTab);
}
