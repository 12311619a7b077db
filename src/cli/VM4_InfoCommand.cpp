#include "VM4_InfoCommand.h"

#include "VM4_ExitCodes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <utility>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kInfoUsage = "Usage: velmora-cli info FILE.vme\n";

struct TItemTally {
    int PipesWithFittings = 0;
    int FittingTypes = 0;
    int Fittings = 0;  // quantities included
    int Pumps = 0;
    int Components = 0;
    int FlowControls = 0;
};

TItemTally tallyItemsOnPipes(const TNetwork& network) {
    TItemTally tally;
    for (int id = network.Pipes.getNextPipeId(0); id != -1; id = network.Pipes.getNextPipeId(id)) {
        const TPipe& pipe = network.GetPipe(id);
        if (pipe.Fittings.Count() > 0) ++tally.PipesWithFittings;
        tally.FittingTypes += pipe.Fittings.Count();
        tally.Fittings += pipe.GetFittingCountIncludingQuantities();
        if (pipe.HasPump) ++tally.Pumps;
        if (pipe.HasComponentPressure) ++tally.Components;
        if (pipe.HasFlowControl) ++tally.FlowControls;
    }
    return tally;
}

std::string describeNodes(const TNetwork& network) {
    std::array<int, 4> byType{};
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        ++byType[static_cast<std::size_t>(network.GetNode(id).NodeType)];
    }
    std::ostringstream text;
    text << "Nodes: " << network.GetNodeCount() << " (join points " << byType[0] << ", tanks " << byType[1]
         << ", demand pressure " << byType[2];
    if (byType[3] > 0) text << ", not set " << byType[3];
    text << ")\n";
    return text.str();
}

// A pipe without any link cannot come from the editor; it is shown so that it is noticed.
std::string describePipes(const TNetwork& network) {
    const int linked = network.GetNodeLinkCount() + network.GetClosedPipeLinkCount();
    std::ostringstream text;
    text << "Pipes: " << network.GetPipeCount() << " (open " << network.GetNodeLinkCount() << ", closed "
         << network.GetClosedPipeLinkCount();
    if (network.GetPipeCount() > linked) text << ", without link " << network.GetPipeCount() - linked;
    text << ")\n";
    return text.str();
}

std::string describeItems(const TNetwork& network) {
    const TItemTally tally = tallyItemsOnPipes(network);
    std::ostringstream text;
    text << "Items on pipes: pipes with fittings " << tally.PipesWithFittings << " (fitting types "
         << tally.FittingTypes << ", fittings " << tally.Fittings << "), pumps " << tally.Pumps << ", components "
         << tally.Components << ", flow controls " << tally.FlowControls << "\n";
    return text.str();
}

std::string describeFluid(const TFluid& fluid) {
    return "Fluid: " + fluid.Name + " (" + (fluid.IsGas ? "gas" : "liquid") + "), density " +
           formatFixed(3, fluid.Density_kg_m3) + " " + unitName(UNIT_KG_M3) + ", viscosity " +
           formatFixed(4, fluid.DynamicViscosity_cP) + " cP\n";
}

// The quantities in the order of the settings record, with the words the summary uses.
const std::array<std::pair<const char*, std::uint8_t TNetworkSettings::*>, 15> kQuantityUnits = {{
    {"length", &TNetworkSettings::LengthUnit},
    {"diameter", &TNetworkSettings::DiameterUnit},
    {"roughness", &TNetworkSettings::RoughnessUnit},
    {"flow", &TNetworkSettings::FlowRateUnit},
    {"velocity", &TNetworkSettings::VelocityUnit},
    {"pressure loss", &TNetworkSettings::PressureLossUnit},
    {"weight", &TNetworkSettings::WeightUnit},
    {"area", &TNetworkSettings::AreaUnit},
    {"volume", &TNetworkSettings::VolumeUnit},
    {"surface pressure", &TNetworkSettings::SurfacePressureUnit},
    {"liquid level", &TNetworkSettings::LiquidLevelUnit},
    {"elevation", &TNetworkSettings::ElevationUnit},
    {"temperature", &TNetworkSettings::TemperatureUnit},
    {"fluid pressure", &TNetworkSettings::FluidPressureUnit},
    {"density", &TNetworkSettings::DensityUnit},
}};

bool haveSameUnits(const TNetworkSettings& a, const TNetworkSettings& b) {
    for (const auto& [quantity, field] : kQuantityUnits) {
        if (a.*field != b.*field) return false;
    }
    return true;
}

std::string unitSystemName(const TNetworkSettings& settings) {
    TNetworkSettings preset;
    preset.SetMetricUnits();
    if (haveSameUnits(settings, preset)) return "metric";
    preset.SetImperialUnits();
    if (haveSameUnits(settings, preset)) return "imperial";
    return "mixed";
}

std::string describeUnits(const TNetworkSettings& settings) {
    std::string text = "Units: " + unitSystemName(settings) + "\n ";
    const char* separator = " ";
    for (const auto& [quantity, field] : kQuantityUnits) {
        text += separator + std::string(quantity) + " " + unitName(settings.*field);
        separator = ", ";
    }
    text += "\nPressures: ";
    text += settings.GaugePressure ? "gauge" : "absolute";
    text += ", atmospheric pressure " + formatInUnit(UNIT_BAR_A, settings.AtmosphericPressure) + " " +
            unitName(UNIT_BAR_A) + "\n";
    return text;
}

}  // namespace

std::string DescribeNetwork(const TNetwork& network, const std::string& fileName) {
    std::ostringstream text;
    text << "File: " << fileName << "\n"
         << "Version: " << network.FileHeader.VersionReference() << "\n"
         << describeNodes(network) << describePipes(network) << describeItems(network)
         << "Loops: " << network.GetPipeLoopCount() << "\n"
         << "Free texts: " << network.GetFreeTextCount() << "\n"
         << describeFluid(network.Fluid) << describeUnits(network.Settings);
    return text.str();
}

int RunInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() != 1) {
        err << kInfoUsage;
        return kExitBadInput;
    }
    const auto network = std::make_unique<TNetwork>();
    try {
        network->LoadFromFile(arguments[0]);
    } catch (const EVelmoraError& error) {
        err << "velmora-cli info: " << error.what() << "\n";
        return kExitBadInput;
    }
    out << DescribeNetwork(*network, arguments[0]);
    return kExitSuccess;
}
