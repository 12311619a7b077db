#include "results/VM4_ResultsHoverTexts.h"

#include <functional>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

// A hover runs on every mouse move: a unit of the wrong kind for its quantity
// must not end it, so that value (or unit name) shows as "?".
std::string Shown(const std::function<std::string()>& text) {
    try {
        return text();
    } catch (const EVelmoraError&) {
        return "?";
    }
}

// The network's values in its display units, with their unit names: U(k) is
// unitName, S(k) unitShortName of the unit chosen for quantity k.
class THoverUnits {
public:
    explicit THoverUnits(const TNetwork& network) : network_(network), settings_(network.Settings) {}

    // A head in metres of fluid as a gauge pressure or head in the given unit.
    std::string Head(int unit, double head_m) const {
        return Shown([&] {
            return convertPressureToDisplayText(UNIT_M_HD, unit, head_m, settings_.AtmosphericPressure,
                                                network_.Fluid.Density_kg_m3);
        });
    }
    std::string Flow(double flow_m3s) const {
        return Shown([&] { return convertUnitsToDisplayText(UNIT_M3_SEC, settings_.FlowRateUnit, flow_m3s); });
    }
    std::string Velocity(double velocity_ms) const {
        return Shown([&] { return convertUnitsToDisplayText(UNIT_M_SEC, settings_.VelocityUnit, velocity_ms); });
    }
    std::string Elevation(double elevation_m) const {
        return Shown([&] { return convertUnitsToDisplayText(UNIT_M, settings_.ElevationUnit, elevation_m); });
    }
    static std::string U(int unit) {
        return Shown([unit] { return unitName(unit); });
    }
    static std::string S(int unit) {
        return Shown([unit] { return unitShortName(unit); });
    }

    // A loss in metres of fluid: "<surface> <S> (<loss> <S>)".
    std::string LossInBothUnits(double loss_m) const {
        const int surface = settings_.SurfacePressureUnit;
        const int loss = settings_.PressureLossUnit;
        return Head(surface, loss_m) + " " + S(surface) + " (" + Head(loss, loss_m) + " " + S(loss) + ")";
    }
    // The pipe's flow with its unit name.
    std::string FlowWithUnit(const TPipe& pipe) const {
        return Flow(pipe.FlowUncompressed_m3s) + " " + U(settings_.FlowRateUnit);
    }

private:
    const TNetwork& network_;
    const TNetworkSettings& settings_;
};

bool isOpenPipe(const TNetwork& network, int pipeId) {
    std::int32_t fromNodeId = 0;
    std::int32_t toNodeId = 0;
    return pipeId > 0 && network.GetPipeNodes(pipeId, fromNodeId, toNodeId);
}

bool isClosedPipe(const TNetwork& network, int pipeId) { return pipeId > 0 && network.IsPipeClosed(pipeId); }

const char* nodeTypePrefix(TNodeType nodeType) {
    switch (nodeType) {
        case TNodeType::JoinPoint:
            return "Join Point, ";
        case TNodeType::Tank:
            return "Tank, ";
        case TNodeType::DemandPressure:
            return "Demand Pressure, ";
        default:
            return "";
    }
}

// The item texts name the pipe they sit on; an item that is not there shows nothing.
std::string pipeItemText(const TNetwork& network, int pipeId, bool (*hasItem)(const TPipe&),
                         std::string (*text)(const TNetwork&, const TPipe&, int)) {
    if (!isOpenPipe(network, pipeId)) return {};
    const TPipe& pipe = network.GetPipe(pipeId);
    return hasItem(pipe) ? text(network, pipe, pipeId) : std::string();
}

std::string pumpText(const TNetwork& network, const TPipe& pipe, int pipeId) {
    const THoverUnits units(network);
    const int pressure = network.Settings.FluidPressureUnit;
    const int loss = network.Settings.PressureLossUnit;
    return " " + pipe.Pump.Name() + ", Suction Pressure " +
           units.Head(pressure, network.GetPumpSuctionPressure_mFluid(pipeId)) + " " + THoverUnits::U(pressure) +
           ", Total Head " + units.Head(loss, pipe.PumpHead_mHd_Fluid) + " " + THoverUnits::S(loss) + " at " +
           units.FlowWithUnit(pipe) + ", NPSHa " + units.Head(loss, network.GetPumpNPSHa_mFluid(pipeId)) + " " +
           THoverUnits::S(loss);
}

std::string fittingText(const TNetwork& network, const TPipe& pipe, int pipeId) {
    const THoverUnits units(network);
    return " Fittings on Pipe " + std::to_string(pipeId) + ", Total K=" + formatFixed(2, pipe.CalcTotalKFittings()) +
           ", dP " + units.LossInBothUnits(pipe.FittingsLoss_mHd_Fluid) + " at " + units.FlowWithUnit(pipe);
}

std::string componentText(const TNetwork& network, const TPipe& pipe, int pipeId) {
    const THoverUnits units(network);
    return " Component on Pipe " + std::to_string(pipeId) + ", " + pipe.ComponentPressure.Name() + ", dP " +
           units.LossInBothUnits(pipe.ComponentLoss_mHd_Fluid) + " at " + units.FlowWithUnit(pipe);
}

std::string flowControlText(const TNetwork& network, const TPipe& pipe, int pipeId) {
    const THoverUnits units(network);
    return " Flow Control on Pipe " + std::to_string(pipeId) + ", " + pipe.FlowControlName + ", dP " +
           units.LossInBothUnits(pipe.FlowControlLoss_mHd_Fluid) + " at " + units.FlowWithUnit(pipe);
}

}  // namespace

std::string StatusBarPipeText(const TNetwork& network, int pipeId) {
    if (isClosedPipe(network, pipeId)) return " Pipe " + std::to_string(pipeId) + " is closed.";
    std::int32_t fromNodeId = 0;
    std::int32_t toNodeId = 0;
    if (pipeId <= 0 || !network.GetPipeNodes(pipeId, fromNodeId, toNodeId)) return {};

    const TNetworkSettings& settings = network.Settings;
    const THoverUnits units(network);
    const TPipe& pipe = network.GetPipe(pipeId);
    // d = h_from - h_to, metres of fluid
    const double drop_m =
        network.GetNode(fromNodeId).Pressure_FluidHead_m - network.GetNode(toNodeId).Pressure_FluidHead_m;
    return " Pipe " + std::to_string(pipeId) + ", " + pipe.Name + ", pressure drop " +
           units.Head(settings.SurfacePressureUnit, drop_m) + " " + THoverUnits::S(settings.SurfacePressureUnit) +
           " (" + units.Head(settings.PressureLossUnit, drop_m) + " " + THoverUnits::U(settings.PressureLossUnit) +
           ") at flow " + units.FlowWithUnit(pipe) + ", Velocity " + units.Velocity(pipe.Velocity_ms) + " " +
           THoverUnits::U(settings.VelocityUnit);
}

std::string StatusBarNodeText(const TNetwork& network, int nodeId) {
    if (nodeId <= 0 || !network.Nodes.IsNodeUsed(nodeId)) return {};
    const TNetworkSettings& settings = network.Settings;
    const THoverUnits units(network);
    const TNode& node = network.GetNode(nodeId);
    // HGL = pressure head + elevation, metres of fluid
    const double gradeLine_m = node.Pressure_FluidHead_m + node.Elevation_m;
    // No blank between the elevation and its unit: the text has always read so.
    return " Node " + std::to_string(nodeId) + ", " + node.Name + ", " + nodeTypePrefix(node.NodeType) +
           units.Head(settings.FluidPressureUnit, node.Pressure_FluidHead_m) + " " +
           THoverUnits::U(settings.FluidPressureUnit) + " at " + units.Elevation(node.Elevation_m) +
           THoverUnits::U(settings.ElevationUnit) + " elevation, HGL is " +
           units.Head(settings.PressureLossUnit, gradeLine_m) + " " + THoverUnits::U(settings.PressureLossUnit);
}

std::string StatusBarPumpText(const TNetwork& network, int pipeId) {
    return pipeItemText(network, pipeId, [](const TPipe& pipe) { return pipe.HasPump; }, pumpText);
}

std::string StatusBarFittingText(const TNetwork& network, int pipeId) {
    return pipeItemText(network, pipeId, [](const TPipe& pipe) { return pipe.Fittings.Count() > 0; }, fittingText);
}

std::string StatusBarComponentText(const TNetwork& network, int pipeId) {
    return pipeItemText(network, pipeId, [](const TPipe& pipe) { return pipe.HasComponentPressure; }, componentText);
}

std::string StatusBarFlowControlText(const TNetwork& network, int pipeId) {
    return pipeItemText(network, pipeId, [](const TPipe& pipe) { return pipe.HasFlowControl; }, flowControlText);
}

TResultsKeyTexts ResultsKeyTexts(const TNetwork& network) {
    const TNetworkSettings& settings = network.Settings;
    return {"f = flow in " + THoverUnits::U(settings.FlowRateUnit),
            "v = velocity in " + THoverUnits::U(settings.VelocityUnit),
            "dP = pressure drop in " + THoverUnits::U(settings.PressureLossUnit)};
}
