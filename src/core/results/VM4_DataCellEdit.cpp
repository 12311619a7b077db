#include "results/VM4_DataCellEdit.h"

#include <charconv>
#include <functional>

#include "foundations/VM4_Errors.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

const char* const TDataCellMessages::NotEditable = "This cell cannot be edited.";
const char* const TDataCellMessages::InvalidValue = "Value entered is not valid for this cell. The value will be reset.";

namespace {

constexpr std::size_t kNameCapacity = 20;

enum class TCellKind { Fixed, Text, Number, Notes, None };

// One editable column: how its text is read and where it goes.
struct TCellTarget {
    TCellKind Kind = TCellKind::None;
    std::function<void(const std::string&)> WriteText;
    std::function<void(double)> WriteNumber;
    bool ZeroImpossible = false;
};

std::vector<std::string> AsLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TCellTarget TextInto(std::string& field, std::size_t capacity) {
    return {TCellKind::Text, [&field, capacity](const std::string& text) { field = CutToCapacity(text, capacity); },
            {}};
}

TCellTarget NotesInto(std::vector<std::string>& notes) {
    return {TCellKind::Notes, [&notes](const std::string& text) { notes = AsLines(text); }, {}};
}

// A value typed in `unit`, stored in SI by `toSI`.
TCellTarget NumberInto(double& field, std::function<double(double)> toSI, bool zeroImpossible = false) {
    return {TCellKind::Number, {}, [&field, toSI](double value) { field = toSI(value); }, zeroImpossible};
}

std::function<double(double)> Plain(int unit, int siUnit) {
    return [unit, siUnit](double value) { return convertUnits(unit, siUnit, value); };
}

std::function<double(double)> PressureToBarG(const TNetwork& network) {
    const int unit = network.Settings.SurfacePressureUnit;
    const double atmosphere = network.Settings.AtmosphericPressure;
    const double density = network.Fluid.Density_kg_m3;
    return [unit, atmosphere, density](double value) {
        return convertPressure(unit, UNIT_BAR_G, value, atmosphere, density);
    };
}

TCellTarget PipeTarget(TNetwork& network, TPipe& pipe, int column) {
    const TNetworkSettings& units = network.Settings;
    switch (column) {
        case 0: return {TCellKind::Fixed, {}, {}};
        case 1: return TextInto(pipe.Name, kNameCapacity);
        case 2: return TextInto(pipe.NominalSize, TPipe::kNominalSizeCapacity);
        case 3: return TextInto(pipe.Material, TPipe::kMaterialCapacity);
        case 4: return TextInto(pipe.Schedule, TPipe::kScheduleCapacity);
        case 5: return NumberInto(pipe.InnerDiameter_m, Plain(units.DiameterUnit, UNIT_M), true);
        case 6: return NumberInto(pipe.InnerRoughness_m, Plain(units.RoughnessUnit, UNIT_M));
        case 7: return NumberInto(pipe.Length_m, Plain(units.LengthUnit, UNIT_M), true);
        case 8: return NotesInto(pipe.Notes);
        default: return {};
    }
}

// Id, type, name and elevation open every node table.
TCellTarget NodeTarget(TNetwork& network, TNode& node, TDataTable table, int column) {
    const TNetworkSettings& units = network.Settings;
    if (column <= 1) return {TCellKind::Fixed, {}, {}};
    if (column == 2) return TextInto(node.Name, kNameCapacity);
    if (column == 3) return NumberInto(node.Elevation_m, Plain(units.ElevationUnit, UNIT_M));
    switch (table) {
        case TDataTable::Tanks:
            if (column == 4) return NumberInto(node.LiquidLevel_m, Plain(units.LiquidLevelUnit, UNIT_M));
            if (column == 5) return NumberInto(node.SurfacePressure_bar_g, PressureToBarG(network));
            if (column == 6) return NotesInto(node.Notes);
            return {};
        case TDataTable::EndPressures:
            if (column == 4) return NumberInto(node.SurfacePressure_bar_g, PressureToBarG(network));
            if (column == 5) return NotesInto(node.Notes);
            return {};
        default:
            if (column == 4) return NumberInto(node.JointSupply_m3s, Plain(units.FlowRateUnit, UNIT_M3_SEC));
            if (column == 5) return NumberInto(node.JointDischarge_m3s, Plain(units.FlowRateUnit, UNIT_M3_SEC));
            if (column == 6) return NotesInto(node.Notes);
            return {};
    }
}

TCellEditOutcome WriteNumber(const TCellTarget& target, const std::string& text) {
    if (text.empty()) return TCellEditOutcome::Unchanged;
    const TParsedNumber<double> value = ParseDecimalText(text, true, false);
    if (!value.Valid) return TCellEditOutcome::InvalidValue;
    if (value.Value == 0.0 && target.ZeroImpossible) return TCellEditOutcome::Unchanged;
    target.WriteNumber(value.Value);
    return TCellEditOutcome::Applied;
}

TNodeType NodeTypeOf(TDataTable table) {
    switch (table) {
        case TDataTable::Tanks: return TNodeType::Tank;
        case TDataTable::EndPressures: return TNodeType::DemandPressure;
        default: return TNodeType::JoinPoint;
    }
}

// A row filled before the item was deleted, or changed type, in the drawing.
bool RowItemExists(const TNetwork& network, TDataTable table, std::int32_t itemId) {
    if (table == TDataTable::Pipes) {
        std::int32_t from = 0, to = 0;
        return network.GetPipeNodes(itemId, from, to);
    }
    return itemId <= network.GetHighestNodeId() && network.GetNode(itemId).NodeType == NodeTypeOf(table);
}

}  // namespace

std::int32_t DataRowItemId(const std::string& firstCell) {
    const std::size_t first = firstCell.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const std::size_t last = firstCell.find_last_not_of(' ');
    std::int32_t id = 0;
    const char* end = firstCell.data() + last + 1;
    const auto [stop, error] = std::from_chars(firstCell.data() + first, end, id);
    return error == std::errc() && stop == end ? id : 0;
}

TCellEditOutcome ApplyDataCellEdit(TNetwork& network, TDataTable table, std::int32_t itemId, int column,
                                   const std::string& text) {
    if (itemId < 1) return text.empty() ? TCellEditOutcome::Unchanged : TCellEditOutcome::NotEditable;
    if (!RowItemExists(network, table, itemId)) return TCellEditOutcome::Failed;
    try {
        const TCellTarget target = table == TDataTable::Pipes
                                       ? PipeTarget(network, network.GetPipe(itemId), column)
                                       : NodeTarget(network, network.GetNode(itemId), table, column);
        switch (target.Kind) {
            case TCellKind::Fixed: return TCellEditOutcome::RefillSoon;
            case TCellKind::None: return TCellEditOutcome::RefillAtOnce;
            case TCellKind::Number: return WriteNumber(target, text);
            default: target.WriteText(text); return TCellEditOutcome::Applied;
        }
    } catch (const EVelmoraError&) {
        return TCellEditOutcome::Failed;
    }
}
