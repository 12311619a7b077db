#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "editor/tools/VM4_ItemDialogs.h"
#include "editor/tools/VM4_UnavailableDialogs.h"
#include "foundations/VM4_ProgramFolders.h"

class IFileDialogs;
class IMessageBoxes;
class QWidget;
class TComponentPressureForm;
class TDemandsForm;
class TFittingManagerForm;
class TFittingSet;
class TFlowControlForm;
class TFluidDataManagerForm;
class TFreeTextsForm;
class TPipeDiameterDataForm;
class TPumpDataForm;

// The item dialogs the drawing tools open. Each form is made on first use and
// kept for the run, as its working copies are.
class TItemDialogForms : public IItemDialogs {
public:
    TItemDialogForms(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent);
    ~TItemDialogForms() override;

    bool EditPumpData(TNetwork& network, std::int32_t pipeId, bool resultsMode) override;
    void EditPipeFittings(TNetwork& network, std::int32_t pipeId, bool resultsMode) override;
    void EditComponentPressure(TNetwork& network, std::int32_t pipeId, bool resultsMode) override;
    void EditFlowControl(TNetwork& network, std::int32_t pipeId, bool resultsMode) override;
    void EditDemands(TNetwork& network, std::int32_t nodeId) override;
    bool EditFreeText(TNetwork& network, std::int32_t index) override;
    void EditPipeDiameter(TNetwork& network, std::int32_t pipeId, int startMode, bool metric) override;
    void EditPipeSize(TPipe& pipe, std::int32_t pipeId, bool showMaterials, bool metric) override;
    void EditDefaultPipe(TNetwork& network) override;
    void EditFluid(TNetwork& network, bool resultsMode) override;

    // Where the library dialogs read the program's tables (the data folder) and
    // write the user's (the user folder); both hold "PipeTables", "FluidTables" and "FittingTables".
    void SetLibraryFolders(const std::filesystem::path& dataFolder, const std::filesystem::path& userFolder);

    // Called after a dialog changed the network, so that the document counts as modified.
    std::function<void()> Changed;
    // The configuration dialog at its default-pipe page, which the main window owns.
    std::function<void()> DefaultPipeEditor;

    // The fitting manager on a fitting set that is not a network pipe's (the default pipe's).
    void EditFittingSet(TFittingSet& fittings, std::int32_t pipeId, const std::string& title);

    TPumpDataForm& PumpForm();
    TComponentPressureForm& ComponentForm();
    TFlowControlForm& FlowControlForm();
    TDemandsForm& DemandsForm();
    TFreeTextsForm& FreeTextForm();
    TFittingManagerForm& FittingForm();
    TPipeDiameterDataForm& DiameterForm();
    TFluidDataManagerForm& FluidForm();

private:
    // Runs a dialog and reports a change of the network's saved form.
    template <typename TEdit>
    void watching(TNetwork& network, TEdit edit);

    IMessageBoxes& boxes_;
    IFileDialogs& files_;
    QWidget* parent_;
    TUnavailableDialogs unavailable_;
    std::unique_ptr<TPumpDataForm> pump_;
    std::unique_ptr<TComponentPressureForm> component_;
    std::unique_ptr<TFlowControlForm> flowControl_;
    std::unique_ptr<TDemandsForm> demands_;
    std::unique_ptr<TFreeTextsForm> freeText_;
    std::unique_ptr<TFittingManagerForm> fittings_;
    TProgramFolders folders_;
    std::unique_ptr<TPipeDiameterDataForm> diameter_;
    std::unique_ptr<TFluidDataManagerForm> fluid_;
};
