#include "editor/VM4_DrawingTexts.h"

#include <functional>

#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

constexpr std::size_t kClosedPipeLabelCapacity = 29;

// The drawing must survive a unit of the wrong kind: that value shows as "?".
std::string Shown(const std::function<std::string()>& text) {
    try {
        return text();
    } catch (const EVelmoraError&) {
        return "?";
    }
}

std::string UnitName(int unit) {
    return Shown([unit] { return unitName(unit); });
}

std::string ShortUnitName(int unit) {
    return Shown([unit] { return unitShortName(unit); });
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A pressure given in one unit, shown in another with a fixed number of decimals;
// heads need the fluid's density, gauge/absolute the atmospheric pressure.
std::string PressureText(const TNetwork& network, int fromUnit, int toUnit, int decimals, double value) {
    return Shown([&] {
        return formatFixed(decimals, convertPressure(fromUnit, toUnit, value, network.Settings.AtmosphericPressure,
                                                     network.Fluid.Density_kg_m3));
    });
}

std::string HeadText(const TNetwork& network, double head_m, int decimals) {
    const int unit = network.Settings.PressureLossUnit;
    return PressureText(network, UNIT_M_HD, unit, decimals, head_m) + ShortUnitName(unit);
}

std::string LengthText(int toUnit, int decimals, double value_m) {
    return Shown([&] { return convertUnitsToText(UNIT_M, toUnit, decimals, value_m); }) + UnitName(toUnit);
}

}  // namespace

std::string NodeLabelText(const TNetwork& network, const TNode& node, std::int32_t nodeId,
                          const std::string& elevationSeparator) {
    const TNetworkSettings& settings = network.Settings;
    std::string text;
    if (settings.ShowNodeId) text += ",[" + std::to_string(nodeId) + "]";
    if (settings.ShowNodeName) text += "," + Trimmed(node.Name);
    if (settings.ShowNodeElevation) text += elevationSeparator + LengthText(settings.ElevationUnit, 1, node.Elevation_m);
    return text.empty() ? text : text.substr(1);
}

std::string TankInfoText(const TNetwork& network, const TNode& node) {
    const TNetworkSettings& settings = network.Settings;
    return PressureText(network, UNIT_BAR_G, settings.SurfacePressureUnit, 1, node.SurfacePressure_bar_g) +
           UnitName(settings.SurfacePressureUnit) + "@ " + LengthText(settings.LiquidLevelUnit, 1, node.LiquidLevel_m) +
           " fluid";
}

std::string NodePressureText(const TNetwork& network, const TNode& node) {
    const int unit = network.Settings.FluidPressureUnit;
    const std::string value = Shown([&] {
        return convertPressureToDisplayText(UNIT_M_HD, unit, node.Pressure_FluidHead_m,
                                            network.Settings.AtmosphericPressure, network.Fluid.Density_kg_m3);
    });
    return value + " " + UnitName(unit);
}

std::string EndPressureText(const TNetwork& network, const TNode& node) {
    const int unit = network.Settings.SurfacePressureUnit;
    return "p=" + PressureText(network, UNIT_BAR_G, unit, 1, node.SurfacePressure_bar_g) + UnitName(unit);
}

std::string DemandFlowText(const TNetwork& network, double flow_m3s) {
    const int unit = network.Settings.FlowRateUnit;
    return Shown([&] { return convertUnitsToDisplayText(UNIT_M3_SEC, unit, flow_m3s); }) + " " + UnitName(unit);
}

TPumpLabelTexts PumpLabelTexts(const TNetwork& network, std::int32_t pipeId, bool resultsMode, bool dragTool) {
    const TNetworkSettings& settings = network.Settings;
    const TPipe& pipe = network.GetPipe(pipeId);
    TPumpLabelTexts texts;
    if (!resultsMode || !pipe.CalcPump) {
        std::string line;
        if (settings.ShowPumpName) line += "," + pipe.Pump.Name();
        if (settings.ShowPumpDistance || dragTool)
            line += ", " + LengthText(settings.LengthUnit, 0, pipe.PumpDistanceFromStart_m);
        if (settings.ShowPumpElevation)
            line += ",@ " + LengthText(settings.ElevationUnit, 0, pipe.PumpElevation_m) + " elev.";
        texts.Line1 = line.empty() ? line : line.substr(1);
    } else if (settings.ShowPumpHead) {
        texts.Line1 = "+" + HeadText(network, pipe.PumpHead_mHd_Fluid, 3);
    } else if (settings.ShowPumpNPSHa) {
        texts.Line1 = "NPSHa=";
        texts.Line2 = HeadText(network, network.GetPumpNPSHa_mFluid(pipeId), 3);
    }
    return texts;
}

std::string FittingsKValueText(const TPipe& pipe) { return "K =" + formatFixed(2, pipe.CalcTotalKFittings()); }

std::string FittingsLossText(const TNetwork& network, const TPipe& pipe) {
    return "-" + HeadText(network, pipe.FittingsLoss_mHd_Fluid, 3);
}

std::string ClosedPipeLabelText(const TPipe& pipe) { return CutToCapacity(pipe.Name + " - Closed", kClosedPipeLabelCapacity); }
