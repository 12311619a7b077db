// The main window's part in the configuration dialog: the commands that open it
// at one of its tabs, and showing the settings it wrote back.

#include "dialogs/config/VM4_ConfigForm.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "dialogs/config/VM4_ConfigPipeDefaultsPage.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_FormResults.h"

void TNetworkForm::createConfigForm() {
    configForm_ = new TConfigForm(*services_.MessageBoxes, this);
    resultsTable_->SpecifyUnits = [this] {
        if (configForm_->EditNetworkSettings(TConfigForm::UnitsTab, *TheNetwork, true)) MarkModified();
    };
    // The diameter manager works on the dialog's working default pipe, which
    // reaches the document only when the dialog is accepted.
    configForm_->PipeDefaults().EditDiameter = [this](TPipe& pipe, bool showMaterials) {
        const int unit = TheNetwork->Settings.DiameterUnit;
        itemDialogs_->EditPipeSize(pipe, 0, showMaterials, unit == UNIT_M || unit == UNIT_MM);
    };
    // Copying the default pipe onto pipes changes the document at once.
    configForm_->PipeDefaults().NetworkChanged = [this] {
        MarkModified();
        RefreshScreen();
    };
    // The default pipe's fittings are edited in the fitting manager, as a pipe's
    // are (pipe id 0); a window given other item dialogs leaves the button greyed.
    if (auto* forms = dynamic_cast<TItemDialogForms*>(itemDialogs_)) {
        configForm_->PipeDefaults().EditFittings = [this, forms](TPipe& pipe) {
            const int unit = TheNetwork->Settings.DiameterUnit;
            forms->EditFittingSet(pipe.Fittings, 0,
                                  pipe.GetPipeNameSizeString() +
                                      convertUnitsToDisplayText(UNIT_M, unit, pipe.InnerDiameter_m) + " " +
                                      unitName(unit));
        };
    }
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

void TNetworkForm::ChangeFluid1Click() {
    itemDialogs_->EditFluid(*TheNetwork, ResultsMode_);
    UpdateFluidDisplay();
}

void TNetworkForm::ChangeUnits1Click() { EditNetworkSettings(TConfigForm::UnitsTab); }

void TNetworkForm::ConfigureLabelling1Click() { EditNetworkSettings(TConfigForm::LabellingTab); }

void TNetworkForm::ChangeDefaultPipeData1Click() {
    if (ResultsMode_) return;
    EditNetworkSettings(TConfigForm::PipeDefaultsTab);
}
