// The main window's part in the data grid: opening it, and following what the
// user does in it on the drawing.

#include "dialogs/VM4_PipeDataForm.h"
#include "dialogs/config/VM4_ConfigForm.h"
#include "editor/VM4_NetworkForm.h"
#include "model/VM4_Network_Class.h"

void TNetworkForm::createDataGrid() {
    pipeDataForm_ = new TPipeDataForm(*services_.MessageBoxes, *services_.FileDialogs, this);
    pipeDataForm_->NetworkChanged = [this] { DataGridChanged(); };
    pipeDataForm_->ItemSelected = [this](std::int32_t pipeId, std::int32_t nodeId) {
        DataGridItemSelected(pipeId, nodeId);
    };
    pipeDataForm_->ClearNetworkStates = [this] { ClearNetworkStates(); };
    pipeDataForm_->SpecifyUnits = [this] { EditNetworkSettings(TConfigForm::UnitsTab); };
}

void TNetworkForm::EditPipeNodeData1Click() {
    if (ResultsMode_) return;
    pipeDataForm_->ShowNetworkDataGrid(*TheNetwork);
    RefreshScreen();
}

// The row's item is highlighted on the drawing, as a click on it would.
void TNetworkForm::DataGridItemSelected(std::int32_t pipeId, std::int32_t nodeId) {
    ClearNetworkStates();
    DrawingState_.SelectedPipeId = pipeId;
    DrawingState_.SelectedNodeId = nodeId;
    RefreshScreen();
}

void TNetworkForm::DataGridChanged() {
    MarkModified();
    SetUnitRadioButtonsFromNetwork();
    RefreshScreen();
}
