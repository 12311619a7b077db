#pragma once

#include "editor/tools/VM4_ItemDialogs.h"

class IMessageBoxes;

// Stands in for the item dialogs until they are built: each says plainly that
// its dialog is not available yet and changes nothing.
class TUnavailableDialogs : public IItemDialogs {
public:
    explicit TUnavailableDialogs(IMessageBoxes& boxes) : boxes_(boxes) {}

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

    static std::string NotAvailableText(const std::string& dialog);

private:
    void sayNotAvailable(const std::string& dialog);
    IMessageBoxes& boxes_;
};
