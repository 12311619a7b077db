#include "dialogs/VM4_ItemDialogForms.h"

#include <string>

#include "dialogs/VM4_ComponentPressureForm.h"
#include "dialogs/VM4_DemandsForm.h"
#include "dialogs/VM4_FlowControlForm.h"
#include "dialogs/VM4_FreeTextsForm.h"
#include "dialogs/VM4_PumpDataForm.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "dialogs/diameters/VM4_PipeDiameterDataForm.h"
#include "dialogs/fluids/VM4_FluidDataManagerForm.h"
#include "foundations/VM4_Units.h"
#include "libraries/VM4_LibraryFiles.h"
#include "model/VM4_Network_Class.h"

TItemDialogForms::TItemDialogForms(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent)
    : boxes_(boxes), files_(files), parent_(parent), unavailable_(boxes) {}

TItemDialogForms::~TItemDialogForms() = default;

TPumpDataForm& TItemDialogForms::PumpForm() {
    if (!pump_) pump_ = std::make_unique<TPumpDataForm>(boxes_, files_, parent_);
    return *pump_;
}

TComponentPressureForm& TItemDialogForms::ComponentForm() {
    if (!component_) component_ = std::make_unique<TComponentPressureForm>(boxes_, files_, parent_);
    return *component_;
}

TFlowControlForm& TItemDialogForms::FlowControlForm() {
    if (!flowControl_) flowControl_ = std::make_unique<TFlowControlForm>(boxes_, parent_);
    return *flowControl_;
}

TDemandsForm& TItemDialogForms::DemandsForm() {
    if (!demands_) demands_ = std::make_unique<TDemandsForm>(boxes_, parent_);
    return *demands_;
}

TFreeTextsForm& TItemDialogForms::FreeTextForm() {
    if (!freeText_) freeText_ = std::make_unique<TFreeTextsForm>(parent_);
    return *freeText_;
}

TFittingManagerForm& TItemDialogForms::FittingForm() {
    if (!fittings_) fittings_ = std::make_unique<TFittingManagerForm>(boxes_, folders_, parent_);
    return *fittings_;
}

void TItemDialogForms::SetLibraryFolders(const std::filesystem::path& dataFolder,
                                         const std::filesystem::path& userFolder) {
    folders_ = {dataFolder, userFolder.empty() ? dataFolder : userFolder};
}

TPipeDiameterDataForm& TItemDialogForms::DiameterForm() {
    if (!diameter_)
        diameter_ = std::make_unique<TPipeDiameterDataForm>(boxes_, folders_.Data / kPipeTablesFolderName,
                                                            folders_.User / kPipeTablesFolderName, parent_);
    return *diameter_;
}

TFluidDataManagerForm& TItemDialogForms::FluidForm() {
    if (!fluid_)
        fluid_ = std::make_unique<TFluidDataManagerForm>(boxes_, folders_.Data / kFluidTablesFolderName,
                                                         folders_.User / kFluidTablesFolderName, parent_);
    return *fluid_;
}

// The saved bytes are the one record of everything a dialog may touch.
template <typename TEdit>
void TItemDialogForms::watching(TNetwork& network, TEdit edit) {
    const std::string before = network.SaveToBytes();
    edit();
    if (Changed && network.SaveToBytes() != before) Changed();
}

bool TItemDialogForms::EditPumpData(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    bool deletePump = false;
    watching(network, [&] { deletePump = PumpForm().EditPumpData(network, pipeId, resultsMode); });
    return deletePump;
}

void TItemDialogForms::EditPipeFittings(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    TPipe& pipe = network.GetPipe(pipeId);
    watching(network, [&] { FittingForm().EditPipeFittings(pipe.Fittings, pipeId, resultsMode, pipe.Name); });
}

void TItemDialogForms::EditFittingSet(TFittingSet& fittings, std::int32_t pipeId, const std::string& title) {
    FittingForm().EditPipeFittings(fittings, pipeId, false, title);
}

void TItemDialogForms::EditComponentPressure(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    watching(network, [&] { ComponentForm().EditComponentPressure(network, pipeId, resultsMode); });
}

void TItemDialogForms::EditFlowControl(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    watching(network, [&] { FlowControlForm().EditFlowControl(network, pipeId, resultsMode); });
}

void TItemDialogForms::EditDemands(TNetwork& network, std::int32_t nodeId) {
    watching(network, [&] { DemandsForm().EditNodeDemands(network, nodeId); });
}

bool TItemDialogForms::EditFreeText(TNetwork& network, std::int32_t index) {
    return FreeTextForm().EditFreeText(network, index);
}

void TItemDialogForms::EditPipeDiameter(TNetwork& network, std::int32_t pipeId, int startMode, bool metric) {
    watching(network, [&] {
        DiameterForm().EditPipeDiameterData(network.GetPipe(pipeId), pipeId, startMode == 1, metric);
    });
}

void TItemDialogForms::EditPipeSize(TPipe& pipe, std::int32_t pipeId, bool showMaterials, bool metric) {
    DiameterForm().EditPipeDiameterData(pipe, pipeId, showMaterials, metric);
}

// The manager opens in the unit system of the network's temperatures.
void TItemDialogForms::EditFluid(TNetwork& network, bool resultsMode) {
    const bool metric = network.Settings.TemperatureUnit != UNIT_DEG_F;
    watching(network, [&] { FluidForm().EditNetworkFluid(network.Fluid, metric, resultsMode); });
}

void TItemDialogForms::EditDefaultPipe(TNetwork& network) {
    if (DefaultPipeEditor)
        DefaultPipeEditor();
    else
        unavailable_.EditDefaultPipe(network);
}
