#include "VM4_SolveCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>

#include <nlohmann/json.hpp>

#include "VM4_CommandLineUser.h"
#include "VM4_ExitCodes.h"
#include "VM4_TableCommand.h"
#include "VM4_TextTable.h"
#include "foundations/VM4_SafeSave.h"
#include "model/VM4_Network_Class.h"
#include "solver/VM4_CutOffParts.h"
#include "solver/VM4_CalculationLog.h"

namespace {

const char* const kSolveUsage =
    "Usage: velmora-cli solve FILE.vme [--reverse=no|yes] [--json FILE] [--save OUT.vme] [--timing]\n"
    "                         [--table NAME[,NAME...]]\n";

const char* const kNotEnoughNetwork = "Not enough of Network defined to run calculations.";

bool takeValue(const std::vector<std::string>& arguments, std::size_t& i, std::string& value, std::string& problem) {
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        problem = arguments[i] + " needs a file name";
        return false;
    }
    value = arguments[++i];
    return true;
}

// "pipes,nodes": each name one of the table command's; false with the reason otherwise.
bool readTableNames(const std::string& list, std::vector<std::string>& names, std::string& problem) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        const std::vector<std::string>& known = TableNames();
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            problem = "unknown table '" + name + "'";
            return false;
        }
        names.push_back(name);
        start = comma + 1;
    }
    return true;
}

// A NaN or an infinity is no number a reader of JSON can take: null instead.
nlohmann::ordered_json number(double x) { return std::isfinite(x) ? nlohmann::ordered_json(x) : nullptr; }

// A node cut off from every tank and end pressure node has no pressure: null,
// with "connected" false, rather than a number left from an earlier solve. So
// has a node a solved network could give no pressure (one behind a flow control
// and nothing else, for one).
nlohmann::ordered_json nodesAsJson(const TNetwork& network, bool solved) {
    nlohmann::ordered_json nodes = nlohmann::ordered_json::array();
    const std::vector<bool> connected = NodesReachingFixedPressure(network);
    for (std::int32_t id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        const bool isConnected = connected[static_cast<std::size_t>(id)];
        const bool hasPressure = isConnected && (!solved || node.IsPressureSet);
        nodes.push_back({{"id", id},
                         {"name", node.Name},
                         {"type", NodeTypeName(node.NodeType)},
                         {"connected", isConnected},
                         {"elevation_m", number(node.Elevation_m)},
                         {"pressure_m", hasPressure ? number(node.Pressure_FluidHead_m) : nullptr},
                         // hydraulic grade line: pressure head + elevation
                         {"hgl_m", hasPressure ? number(node.Pressure_FluidHead_m + node.Elevation_m) : nullptr}});
    }
    return nodes;
}

// The ends of a pipe, open or closed; 0 for a pipe without a link.
TNodeLink linkOfPipe(const TNetwork& network, std::int32_t pipeId) {
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        if (network.GetNodeLink(k).PipeId == pipeId) return network.GetNodeLink(k);
    }
    for (std::int32_t k = 1; k <= network.GetClosedPipeLinkCount(); ++k) {
        if (network.GetNodeLinkClosedPipe(k).PipeId == pipeId) return network.GetNodeLinkClosedPipe(k);
    }
    return TNodeLink{};
}

bool isOpenPipe(const TNetwork& network, std::int32_t pipeId) {
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        if (network.GetNodeLink(k).PipeId == pipeId) return true;
    }
    return false;
}

// A closed pipe, or one without a link, carries no flow and loses nothing,
// whatever an earlier solve or the file left in it.
nlohmann::ordered_json pipeAsJson(const TNetwork& network, std::int32_t id) {
    const TPipe& pipe = network.GetPipe(id);
    const TNodeLink link = linkOfPipe(network, id);
    const bool open = isOpenPipe(network, id);
    const auto result = [open](double x) { return open ? number(x) : nlohmann::ordered_json(0.0); };
    // As the pipe results table shows them: 0 where it shows "none".
    const double componentLoss_m =
        pipe.HasComponentPressure && pipe.CalcComponentPressure
            ? pipe.ComponentPressure.calcLoss_mHd_Fluid(pipe.FlowUncompressed_m3s, network.Fluid.Density_kg_m3)
            : 0.0;
    const double flowControlLoss_m = pipe.HasFlowControl && pipe.CalcFlowControl ? pipe.FlowControlLoss_mHd_Fluid : 0.0;
    return {{"id", id},
            {"name", pipe.Name},
            {"from", link.FromNodeId},
            {"to", link.ToNodeId},
            {"closed", !open},
            {"flow_m3s", result(pipe.FlowUncompressed_m3s)},
            {"velocity_ms", result(pipe.Velocity_ms)},
            {"reynolds", result(pipe.ReynoldsNumber)},
            {"friction_factor", result(pipe.FrictionFactor)},
            {"friction_loss_m", result(pipe.PipeFrictionLoss_mHd_Fluid)},
            {"component_loss_m", result(componentLoss_m)},
            {"flow_control_loss_m", result(flowControlLoss_m)},
            {"total_loss_m", result(pipe.TotalPressureLoss_mHd_Fluid)},
            {"pump_head_m", result(pipe.PumpHead_mHd_Fluid)}};
}

nlohmann::ordered_json pipesAsJson(const TNetwork& network) {
    nlohmann::ordered_json pipes = nlohmann::ordered_json::array();
    for (int id = network.Pipes.getNextPipeId(0); id != -1; id = network.Pipes.getNextPipeId(id)) {
        pipes.push_back(pipeAsJson(network, id));
    }
    return pipes;
}

// Writes what the options ask for; false, with the reason on `err`, when a file cannot be written.
// Both go through the safe save: a failed write leaves the previous file as it was.
bool writeOutputs(TNetwork& network, const TSolveOptions& options, bool solved, const std::vector<std::string>& log,
                  std::ostream& err) {
    try {
        if (!options.JsonFile.empty()) SafeSaveFile(options.JsonFile, SolveResultsAsJson(network, solved, log));
        if (!options.SaveFile.empty()) network.SaveToFile(options.SaveFile);
    } catch (const EVelmoraError& error) {
        err << "velmora-cli solve: " << error.what() << "\n";
        return false;
    }
    return true;
}

}  // namespace

bool ParseSolveArguments(const std::vector<std::string>& arguments, TSolveOptions& options, std::string& problem) {
    options = TSolveOptions{};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--reverse=no" || argument == "--reverse=yes") {
            options.ReversePipes = argument == "--reverse=yes";
        } else if (argument == "--json") {
            if (!takeValue(arguments, i, options.JsonFile, problem)) return false;
        } else if (argument == "--save") {
            if (!takeValue(arguments, i, options.SaveFile, problem)) return false;
        } else if (argument == "--table") {
            std::string list;
            if (!takeValue(arguments, i, list, problem) || !readTableNames(list, options.Tables, problem)) {
                if (list.empty()) problem = "--table needs table names (for example pipes,nodes)";
                return false;
            }
        } else if (argument == "--timing") {
            options.Timing = true;
        } else if (argument.rfind("--", 0) == 0) {
            problem = "unknown option " + argument;
            return false;
        } else if (options.NetworkFile.empty()) {
            options.NetworkFile = argument;
        } else {
            problem = "one network file only";
            return false;
        }
    }
    if (options.NetworkFile.empty()) problem = "no network file given";
    return !options.NetworkFile.empty();
}

bool CalculateNetwork(TNetwork& network, std::vector<std::string>& log) {
    if (!network.IsNetworkOkToCalculate()) {
        if (network.UserMessages != nullptr) network.UserMessages->ShowInformation(kNotEnoughNetwork);
        return false;
    }
    AppendResultsLogHeader(log);
    bool solved = network.SolveNetwork(log);
    if (!solved) AppendNotSolvedLines(log, network.RefinementFailed);
    log.emplace_back(" ");
    network.CheckResults(log, solved, network.WarningCount);
    return solved;
}

std::string SolveResultsAsJson(const TNetwork& network, bool solved, const std::vector<std::string>& log) {
    const nlohmann::ordered_json results = {{"solved", solved},
                                    {"warnings", network.WarningCount},
                                    {"nodes", nodesAsJson(network, solved)},
                                    {"pipes", pipesAsJson(network)},
                                    {"log", log}};
    // Texts that are not valid UTF-8 are written with replacement characters, not refused.
    return results.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

namespace {

std::string timingLine(const std::string& what, std::chrono::steady_clock::duration elapsed, const std::string& runs) {
    const double milliseconds = std::chrono::duration<double, std::milli>(elapsed).count();
    char line[128];
    std::snprintf(line, sizeof line, "  %-28s %12.3f ms%s\n", what.c_str(), milliseconds, runs.c_str());
    return line;
}

}  // namespace

std::string SolveTimingReport(const TSolveTimings& phases, std::chrono::steady_clock::duration load,
                              std::chrono::steady_clock::duration wholeSolve) {
    std::string report = "Timing (measured inside velmora-cli):\n";
    report += timingLine("load network", load, "");
    for (std::size_t i = 0; i < TSolveTimings::PhaseCount; ++i) {
        const auto phase = static_cast<TSolvePhase>(i);
        const std::int32_t runs = phases.RunsOf(phase);
        report += timingLine(TSolveTimings::PhaseName(phase), phases.ElapsedIn(phase),
                             "  (" + std::to_string(runs) + (runs == 1 ? " run)" : " runs)"));
    }
    // Log lines, status texts and the like, between the timed phases.
    report += timingLine("between phases", wholeSolve - phases.Total(), "");
    report += timingLine("whole solve", wholeSolve, "");
    return report;
}

int RunSolveCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    TSolveOptions options;
    std::string problem;
    if (!ParseSolveArguments(arguments, options, problem)) {
        err << "velmora-cli solve: " << problem << "\n" << kSolveUsage;
        return kExitBadInput;
    }
    const auto network = std::make_unique<TNetwork>();
    const auto loadStart = std::chrono::steady_clock::now();
    try {
        network->LoadFromFile(options.NetworkFile);
    } catch (const EVelmoraError& error) {
        err << "velmora-cli solve: " << error.what() << "\n";
        return kExitBadInput;
    }
    const auto solveStart = std::chrono::steady_clock::now();
    TCommandLineUser user(err, options.ReversePipes);
    network->UserMessages = &user;
    TSolveTimings timings;
    if (options.Timing) network->SolveTimings = &timings;
    std::vector<std::string> log;
    const bool solved = CalculateNetwork(*network, log);
    const auto solveEnd = std::chrono::steady_clock::now();
    network->UserMessages = nullptr;
    network->SolveTimings = nullptr;
    for (const std::string& line : log) out << line << "\n";
    for (const std::string& table : options.Tables) out << "\n" << GridAsText(FillNetworkTable(*network, table));
    if (options.Timing) err << SolveTimingReport(timings, solveStart - loadStart, solveEnd - solveStart);
    if (!writeOutputs(*network, options, solved, log, err)) return kExitFailed;
    return solved ? kExitSuccess : kExitFailed;
}
