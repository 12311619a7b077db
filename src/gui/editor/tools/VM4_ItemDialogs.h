#pragma once

#include <cstdint>
#include <string>

class TNetwork;
class TPipe;

// The dialogs the drawing tools open for one item. Each edits the document's
// item in place when its accepting button is pressed; in results mode it only
// shows values.
class IItemDialogs {
public:
    virtual ~IItemDialogs() = default;

    // True when the user asked to delete the pump.
    virtual bool EditPumpData(TNetwork& network, std::int32_t pipeId, bool resultsMode) = 0;
    virtual void EditPipeFittings(TNetwork& network, std::int32_t pipeId, bool resultsMode) = 0;
    virtual void EditComponentPressure(TNetwork& network, std::int32_t pipeId, bool resultsMode) = 0;
    virtual void EditFlowControl(TNetwork& network, std::int32_t pipeId, bool resultsMode) = 0;
    virtual void EditDemands(TNetwork& network, std::int32_t nodeId) = 0;
    // True when the text was accepted.
    virtual bool EditFreeText(TNetwork& network, std::int32_t index) = 0;
    // The pipe diameter manager for one pipe: startMode 0 chooses a diameter,
    // 1 a material; `metric` when diameters are shown in m or mm.
    virtual void EditPipeDiameter(TNetwork& network, std::int32_t pipeId, int startMode, bool metric) = 0;
    // The pipe diameter manager for a pipe that is not (yet) the document's,
    // such as the configuration dialog's working default pipe.
    virtual void EditPipeSize(TPipe& pipe, std::int32_t pipeId, bool showMaterials, bool metric) = 0;
    // The configuration dialog on its default-pipe page.
    virtual void EditDefaultPipe(TNetwork& network) = 0;
    // The fluid manager on the network's fluid.
    virtual void EditFluid(TNetwork& network, bool resultsMode) = 0;
};
