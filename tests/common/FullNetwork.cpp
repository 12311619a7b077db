#include "common/FullNetwork.h"

#include <stdexcept>
#include <string>

#include "model/VM4_Network_Class.h"

namespace {

constexpr std::int32_t kFullCount = 1000;
constexpr std::int32_t kPipesPerFullLoop = 20;
constexpr std::int32_t kGridColumns = 40;
constexpr std::int32_t kGridSpacing = 100;

TFitting fittingNumber(int number) {
    TFitting fitting;
    fitting.SetFittingData(100, number + 1, "Type " + std::to_string(number), "100 mm", "4\"",
                           "Fitting number " + std::to_string(number), 0.25 * number + 0.1);
    return fitting;
}

TPipe fullPipe(std::int32_t index) {
    TPipe pipe;
    pipe.Name = "P" + std::to_string(index);
    pipe.Length_m = 10.0 + index;
    pipe.InnerDiameter_m = 0.10226;
    pipe.InnerRoughness_m = 0.000046;
    pipe.Material = "Steel";
    for (int number = 1; number <= TFittingSet::kPipeCapacity; ++number) {
        pipe.Fittings.AddFitting(fittingNumber(number), number);
    }
    pipe.HasPump = true;
    pipe.Pump.AddPumpCurvePoint(0.0, 50.0, 0.0, 1.0);
    pipe.Pump.AddPumpCurvePoint(0.01, 48.0, 60.0, 2.0);
    pipe.Pump.AddPumpCurvePoint(0.02, 40.0, 70.0, 3.0);
    pipe.HasComponentPressure = true;
    pipe.ComponentPressure.AddCurvePoint(0.0, 0.0);
    pipe.ComponentPressure.AddCurvePoint(0.01, 2.0);
    pipe.ComponentPressure.AddCurvePoint(0.02, 6.0);
    pipe.Notes = {"Pipe " + std::to_string(index), "second line of notes"};
    return pipe;
}

// Loop l holds the 20 pipes from (l - 1) * 20 + 1 on, wrapping at 1000.
void addLoops(TNetwork& network) {
    for (std::int32_t loop = 1; loop <= TNetwork::MaxLoops; ++loop) {
        const std::int32_t loopId = network.PipeLoopCreate();
        for (std::int32_t k = 0; k < kPipesPerFullLoop; ++k) {
            network.PipeLoopAddPipe(loopId, ((loop - 1) * kPipesPerFullLoop + k) % kFullCount + 1);
        }
    }
}

}  // namespace

std::int32_t AddNodeAt(TNetwork& network, std::uint8_t nodeType, std::int32_t x, std::int32_t y) {
    TNode node;
    node.NodeType = static_cast<TNodeType>(nodeType);
    node.X = x;
    node.Y = y;
    const std::int32_t id = network.AddNode(node);
    network.GetNode(id).SetName("N" + std::to_string(id));
    return id;
}

void BuildFullNetwork(TNetwork& network) {
    network.Clear();
    for (std::int32_t index = 0; index < kFullCount; ++index) {
        const std::uint8_t type = index % 50 == 0 ? 1 : 0;  // a tank every 50 nodes
        AddNodeAt(network, type, (index % kGridColumns) * kGridSpacing, (index / kGridColumns) * kGridSpacing);
    }
    for (std::int32_t index = 1; index <= kFullCount; ++index) {
        const std::int32_t toNodeId = index % kFullCount + 1;
        if (network.AddPipeLink(index, toNodeId, fullPipe(index)) < 0) throw std::logic_error("link table full");
    }
    for (std::int32_t index = 1; index <= TNetwork::MaxFreeTexts; ++index) {
        network.AddFreeText({"Label " + std::to_string(index), "second line"}, index * 10, index * 5, 255, 10, 1);
    }
    addLoops(network);
}
