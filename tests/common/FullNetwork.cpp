#include "common/FullNetwork.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "model/VM4_Network_Class.h"

namespace {

constexpr std::int32_t kFullCount = 1000;
constexpr std::int32_t kPipesPerFullLoop = 20;
constexpr std::int32_t kGridColumns = 40;
constexpr std::int32_t kGridSpacing = 100;
constexpr std::size_t kFreeTextRecordSize = 272;
constexpr std::size_t kSettingsRecordSize = 123;

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
    for (int number = 1; number <= TFittingSet::kPipeCapacity; ++number) pipe.Fittings.AddFitting(fittingNumber(number), number);
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

void putInt32(std::string& bytes, std::int32_t value) {
    char raw[4];
    std::memcpy(raw, &value, sizeof raw);
    bytes.append(raw, sizeof raw);
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
    network.LoadFromBytes(WithLoopTable(network.SaveToBytes(), network, TNetwork::MaxLoops, kPipesPerFullLoop));
}

// The loop table sits just before the settings, the default pipe and the free texts:
// its count is the int32 in front of those three.
std::string WithLoopTable(const std::string& fileBytes, const TNetwork& savedNetwork, std::int32_t loopCount,
                          std::int32_t pipesPerLoop) {
    const std::size_t tail = kSettingsRecordSize + savedNetwork.DefaultPipe.RecordSize() + 4 +
                             kFreeTextRecordSize * static_cast<std::size_t>(savedNetwork.GetFreeTextCount());
    const std::size_t loopCountOffset = fileBytes.size() - tail - 4;
    std::int32_t savedLoopCount = -1;
    std::memcpy(&savedLoopCount, fileBytes.data() + loopCountOffset, sizeof savedLoopCount);
    if (savedLoopCount != 0) throw std::logic_error("the file already holds loops");
    std::string bytes = fileBytes.substr(0, loopCountOffset);
    putInt32(bytes, loopCount);
    for (std::int32_t loop = 1; loop <= loopCount; ++loop) {
        for (std::int32_t slot = 1; slot <= TNetwork::MaxPipesPerLoop; ++slot) {
            const std::int32_t pipeId = ((loop - 1) * pipesPerLoop + slot - 1) % kFullCount + 1;
            putInt32(bytes, slot <= pipesPerLoop ? pipeId : 0);
        }
    }
    bytes += fileBytes.substr(fileBytes.size() - tail);
    return bytes;
}
