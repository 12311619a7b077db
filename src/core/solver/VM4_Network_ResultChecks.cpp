// Result checks and solution messages: the verdict after each solve attempt,
// the review of the network and its results after a solve, and the figures of
// the final summary. Everything here only reads the document, except that the
// verdict of a failed refinement sets RefinementFailed.
//
// A warning is introduced by the lines " " and ">>> WARNING:" and counted; so
// is a problem, introduced by " " and ">>> PROBLEM:".

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "solver/VM4_CutOffParts.h"

namespace {

const char* const kCalculations = " calculations)";
const char* const kContinueSearch = "Continue search for positive flow solution.";
const char* const kAcceptNegative =
    "Accept solution with some negative flows since cannot find a solution with all positive flows.";

const char* const kCheckingResults = "Checking Results...";
const char* const kWarningIntro = ">>> WARNING:";
const char* const kProblemIntro = ">>> PROBLEM:";
const char* const kRule71 = "-----------------------------------------------------------------------";

const char* const kNotConnected = " is not connected to any other node in the network.";
const char* const kOutFlowsOnly =
    " has out flows but no in flow and is not of type tank or a joint with a demand flow in.";
const char* const kInFlowsOnly =
    " has in flows but no out flow and is not a tank, end pressure or a joint with a demand out flow.";
const char* const kNoFixedPressure = " is not connected to any tank or end pressure node.";
const char* const kOutFlowNotDelivered = "Its demand flow out of ";
const char* const kInFlowNotTaken = "Its demand flow in of ";
const char* const kNotDelivered = " is not delivered and is left out of the totals.";
const char* const kNotTaken = " does not enter the network and is left out of the totals.";
const char* const kBelowAtmosphere =
    ", Pressure at node is less than the specified atmospheric pressure for this system (";

const char* const kOutsidePreferredRegion = " => Flow rate is Outside Preferred Operating Region for this pump.";
const char* const kCavitation = " (Too Low - Cavitation may occur at the pump)";
const char* const kPumpCurveIncomplete = " => Pump curve is not fully specified.";
const char* const kZeroPumpHeadAssumed = "A pump head of zero has been assumed when solving the network.";
const char* const kOutsidePumpCurve = " => Flow is outside of the specified Pump curve points.";
const char* const kPumpExtrapolationDoubtful = ". This extrapolation may not be correct.";
const char* const kAddPumpPoints = "Additional points should be added to pump curve and the network re-solved.";
const char* const kPumpExtrapolatedToZero =
    "The pump head extrapolated to zero, i.e. the pump is not contributing to the flow in the system";
const char* const kOutsideComponentCurve =
    " => Flow is outside of the specified Component Pressure Loss curve points.";
const char* const kComponentExtrapolationDoubtful =
    "The Component Pressure Loss extrapolation for this flow may not be correct.";
const char* const kAddComponentPoints =
    "Additional points should be added to the Component Pressure Loss curve and the network re-solved.";

// No node pressure reaches this, so any node lowers it (metres of fluid).
constexpr double kMinimumPressureStart_m = 999999999.0;
// Outer diameter against bore plus twice the wall.
constexpr double kDiameterMatchTolerance_m = 0.0001;

// What the node review learns about the network as a whole.
struct TNodeTally {
    std::int32_t FixedPressureNodes = 0;
    std::int32_t SupplyPoints = 0;
    std::int32_t DischargePoints = 0;
};

void logWarning(std::vector<std::string>& log, std::int32_t& warningCount, std::initializer_list<std::string> lines) {
    log.insert(log.end(), {" ", kWarningIntro});
    log.insert(log.end(), lines);
    ++warningCount;
}

std::string nodeText(const TNetwork& network, std::int32_t nodeId) {
    return "Node " + std::to_string(nodeId) + ", " + network.GetNode(nodeId).Name;
}

// Heads and losses in the pressure-loss unit, without its name.
std::string headText(const TNetwork& network, double head_mHd) {
    return convertPressureToDisplayText(UNIT_M_HD, network.Settings.PressureLossUnit, head_mHd,
                                        network.Settings.AtmosphericPressure, network.Fluid.Density_kg_m3);
}

std::string flowText(const TNetwork& network, double flow_m3s) {
    const int unit = network.Settings.FlowRateUnit;
    return convertFlowToText(UNIT_M3_SEC, unit, unitDecimals(unit), flow_m3s, network.Fluid.Density_kg_m3);
}

std::string elevationText(const TNetwork& network, double elevation_m) {
    const int unit = network.Settings.ElevationUnit;
    return convertUnitsToDisplayText(UNIT_M, unit, elevation_m) + unitName(unit);
}

bool isOutsideFlows(double flow_m3s, double firstFlow_m3s, double lastFlow_m3s) {
    return flow_m3s < firstFlow_m3s || flow_m3s > lastFlow_m3s;
}

// ---- Node review ----------------------------------------------------------------------------

// A join point cut off from every fixed-pressure node cannot deliver its demands;
// the warning says how much is lost, in the flow unit.
std::vector<std::string> undeliveredDemandLines(const TNetwork& network, const TNode& node) {
    std::vector<std::string> lines;
    const std::string unit = " " + unitName(network.Settings.FlowRateUnit);
    if (node.JointDischarge_m3s != 0.0) {
        lines.push_back(kOutFlowNotDelivered + flowText(network, node.JointDischarge_m3s) + unit + kNotDelivered);
    }
    if (node.JointSupply_m3s != 0.0) {
        lines.push_back(kInFlowNotTaken + flowText(network, node.JointSupply_m3s) + unit + kNotTaken);
    }
    return lines;
}

void logCutOffWarning(const TNetwork& network, std::int32_t nodeId, const std::string& reason,
                      std::vector<std::string>& log, std::int32_t& warningCount) {
    log.insert(log.end(), {" ", kWarningIntro, nodeText(network, nodeId) + reason});
    const TNode& node = network.GetNode(nodeId);
    if (node.NodeType == TNodeType::JoinPoint) {
        const std::vector<std::string> lines = undeliveredDemandLines(network, node);
        log.insert(log.end(), lines.begin(), lines.end());
    }
    ++warningCount;
}

void reviewNode(const TNetwork& network, std::int32_t nodeId, bool reachesFixedPressure, TNodeTally& tally,
                std::vector<std::string>& log, std::int32_t& warningCount) {
    const TNode& node = network.GetNode(nodeId);
    const std::int32_t in = network.GetNumberOfInFlowPipes(nodeId);
    const std::int32_t out = network.GetNumberOfOutFlowPipes(nodeId);
    const bool isTank = node.NodeType == TNodeType::Tank;
    const bool isJoint = node.NodeType == TNodeType::JoinPoint;
    const bool isEndPressure = node.NodeType == TNodeType::DemandPressure;
    const bool hasSupply = node.JointSupply_m3s > 0.0;
    const bool hasDischarge = node.JointDischarge_m3s > 0.0;
    if (in == 0 && out == 0) {
        logCutOffWarning(network, nodeId, kNotConnected, log, warningCount);
    } else if (!reachesFixedPressure && isJoint && (hasSupply || hasDischarge)) {
        logCutOffWarning(network, nodeId, kNoFixedPressure, log, warningCount);
    }
    if ((isTank && out > 0) || (isJoint && hasSupply)) ++tally.SupplyPoints;
    if ((isTank && in > 0) || (isJoint && hasDischarge) || (isEndPressure && in > 0)) ++tally.DischargePoints;
    if (isTank || isEndPressure) ++tally.FixedPressureNodes;
    if (in == 0 && out > 0 && ((isJoint && !hasSupply) || isEndPressure)) {
        logWarning(log, warningCount, {nodeText(network, nodeId) + kOutFlowsOnly});
    }
    if (in > 0 && out == 0 && isJoint && !hasDischarge) {
        logWarning(log, warningCount, {nodeText(network, nodeId) + kInFlowsOnly});
    }
}

void reviewNetwork(const TNodeTally& tally, std::vector<std::string>& log, std::int32_t& warningCount) {
    if (tally.FixedPressureNodes == 0) {
        logWarning(log, warningCount,
                   {"The network has neither a Tank or an End Pressure node.",
                    "There may not be enough information to solve the network flows and pressures."});
    }
    if (tally.SupplyPoints == 0) {
        logWarning(log, warningCount,
                   {"The network has no supply points where fluid flows in.",
                    "The network must have at least one supply tank or joint with a demand in flow that is greater "
                    "than zero."});
    }
    if (tally.DischargePoints == 0) {
        logWarning(log, warningCount,
                   {"The network has no discharge points where fluid exits the system.",
                    "The network does not have a discharge tank or joint with a demand out flow, or an end pressure "
                    "demand.",
                    "This suggests the network is a re-circulating system.", "If so, then please ignore this warning.",
                    "If not, then please recheck your system and add a discharge point."});
    }
}

// ---- Results review -----------------------------------------------------------------------------

// Tanks, end pressure nodes and join points with a discharge must not be below
// the atmosphere.
void reviewNodePressures(const TNetwork& network, std::vector<std::string>& log, std::int32_t& warningCount) {
    const double atmosphere_bar_a = network.Settings.AtmosphericPressure;
    const double density_kgm3 = network.Fluid.Density_kg_m3;
    const int atmosphereUnit = network.Settings.AtmosphereUnit;
    for (std::int32_t nodeId = network.GetNextNodeId(0); nodeId > 0; nodeId = network.GetNextNodeId(nodeId)) {
        const TNode& node = network.GetNode(nodeId);
        const bool isReviewed = node.NodeType == TNodeType::Tank || node.NodeType == TNodeType::DemandPressure ||
                                (node.NodeType == TNodeType::JoinPoint && node.JointDischarge_m3s > 0.0);
        if (!isReviewed) continue;
        const double pressure_bar_a =
            convertPressure(UNIT_M_HD, UNIT_BAR_A, node.Pressure_FluidHead_m, atmosphere_bar_a, density_kgm3);
        if (pressure_bar_a >= atmosphere_bar_a) continue;
        const double atmosphere =
            convertPressure(UNIT_BAR_A, atmosphereUnit, atmosphere_bar_a, atmosphere_bar_a, density_kgm3);
        logWarning(log, warningCount,
                   {nodeText(network, nodeId) + kBelowAtmosphere + formatFixed(6, atmosphere) + " " +
                    unitName(atmosphereUnit) + ")"});
    }
}

void reviewVelocity(const TNetwork& network, const TPipe& pipe, std::vector<std::string>& log,
                    std::int32_t& warningCount) {
    const bool isGas = network.Fluid.IsGas;
    const double limit_ms = isGas ? network.Settings.GasHighVelocity : network.Settings.LiquidHighVelocity;
    // Compared with its sign: a reversed flow is not reviewed.
    if (!(pipe.Velocity_ms > limit_ms)) return;
    const int unit = network.Settings.VelocityUnit;
    const std::string velocity = convertUnitsToDisplayText(UNIT_M_SEC, unit, pipe.Velocity_ms) + unitName(unit);
    logWarning(log, warningCount,
               {pipe.Name + (isGas ? ", Gas Flow Velocity is high (" : ", Liquid Flow Velocity is high (") + velocity +
                ")"});
}

// For a pump on its curve: its operating region, its suction and how far the
// curve reaches.
void reviewPumpOnCurve(const TNetwork& network, std::int32_t pipeId, const std::string& pumpTag,
                       std::vector<std::string>& log, std::int32_t& warningCount) {
    const TPipe& pipe = network.GetPipe(pipeId);
    const TPump& pump = pipe.Pump;
    const double flow_m3s = pipe.FlowUncompressed_m3s;
    const double bestEfficiencyFlow_m3s = pump.GetFlowAtBEP_m3s();
    const double low_m3s = pump.PreferredOpRegionFromPercent * bestEfficiencyFlow_m3s / 100;
    const double high_m3s = bestEfficiencyFlow_m3s * pump.PreferredOpRegionToPercent / 100;
    if (isOutsideFlows(flow_m3s, low_m3s, high_m3s)) logWarning(log, warningCount, {pumpTag + kOutsidePreferredRegion});

    const double npshAvailable_m = network.GetPumpNPSHa_mFluid(pipeId);
    const double npshRequired_m = pipe.PumpNPSHr_mHd_Fluid;
    if (npshAvailable_m < npshRequired_m) {
        logWarning(log, warningCount,
                   {pumpTag + " => NPSHa is not sufficient", "NPSHr=" + headText(network, npshRequired_m) + ", " +
                                                                 "NPSHa=" + headText(network, npshAvailable_m) +
                                                                 kCavitation});
    }
    if (pump.PointCount() < 3) logWarning(log, warningCount, {pumpTag + kPumpCurveIncomplete, kZeroPumpHeadAssumed});

    const double firstFlow_m3s = pump.Point(1).Flow_m3s;
    const double lastFlow_m3s = pump.Point(std::max(1, pump.PointCount())).Flow_m3s;
    if (!isOutsideFlows(flow_m3s, firstFlow_m3s, lastFlow_m3s)) return;
    if (pump.calcPumpHead_mHd_Fluid(flow_m3s, network.Fluid.Density_kg_m3) == 0.0) {
        logWarning(log, warningCount, {pumpTag + kOutsidePumpCurve, kPumpExtrapolatedToZero});
        return;
    }
    const TNetworkSettings& settings = network.Settings;
    logWarning(log, warningCount,
               {pumpTag + kOutsidePumpCurve,
                "The pump head extrapolated to " + headText(network, pipe.PumpHead_mHd_Fluid) + " " +
                    unitName(settings.PressureLossUnit) + " for this flow " + flowText(network, flow_m3s) + " " +
                    unitName(settings.FlowRateUnit) + kPumpExtrapolationDoubtful,
                kAddPumpPoints});
}

void reviewPump(const TNetwork& network, std::int32_t pipeId, const TNodeLink& link, std::vector<std::string>& log,
                bool& Solved, std::int32_t& warningCount) {
    const TPipe& pipe = network.GetPipe(pipeId);
    const std::string pumpTag = pipe.Name + "," + pipe.Pump.Name();
    if (pipe.Pump.RunsAtSetFlowRate == 0) reviewPumpOnCurve(network, pipeId, pumpTag, log, warningCount);

    const double npshAvailable_m = network.GetPumpNPSHa_mFluid(pipeId);
    if (npshAvailable_m < 0.0) {
        log.insert(log.end(), {" ", kProblemIntro});
        ++warningCount;
        log.push_back(pumpTag + " => NPSHa = " + headText(network, npshAvailable_m) + " - NPSHa cannot be negative");
        Solved = false;
    }

    const double startElevation_m = network.GetNode(link.FromNodeId).Elevation_m;
    const double endElevation_m = network.GetNode(link.ToNodeId).Elevation_m;
    const double pumpElevation_m = pipe.PumpElevation_m;
    if (pumpElevation_m >= std::min(startElevation_m, endElevation_m) &&
        pumpElevation_m <= std::max(startElevation_m, endElevation_m)) {
        return;
    }
    logWarning(log, warningCount,
               {pumpTag + " => The pump elevation " + elevationText(network, pumpElevation_m) +
                " is not between the start and end elevation of the pipe (" +
                elevationText(network, startElevation_m) + " to " + elevationText(network, endElevation_m) + ")"});
}

void reviewComponentCurve(const TPipe& pipe, std::vector<std::string>& log, std::int32_t& warningCount) {
    const TComponentPressure& component = pipe.ComponentPressure;
    if (!pipe.HasComponentPressure || !pipe.CalcComponentPressure || component.UseCurve == 0) return;
    const double firstFlow_m3s = component.Point(1).Flow_m3s;
    const double lastFlow_m3s = component.Point(std::max(1, component.PointCount())).Flow_m3s;
    if (!isOutsideFlows(pipe.FlowUncompressed_m3s, firstFlow_m3s, lastFlow_m3s)) return;
    logWarning(log, warningCount,
               {pipe.Name + "," + component.Name() + kOutsideComponentCurve, kComponentExtrapolationDoubtful,
                kAddComponentPoints});
}

void reviewPipeResults(const TNetwork& network, std::vector<std::string>& log, bool& Solved,
                       std::int32_t& warningCount) {
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TPipe& pipe = network.GetPipe(link.PipeId);
        reviewVelocity(network, pipe, log, warningCount);
        if (pipe.HasPump && pipe.CalcPump) reviewPump(network, link.PipeId, link, log, Solved, warningCount);
        reviewComponentCurve(pipe, log, warningCount);
    }
}

void logClosingLines(const TNetwork& network, bool Solved, std::int32_t warningCount, std::vector<std::string>& log) {
    if (warningCount > 0 && !Solved) {
        log.insert(log.end(), {kRule71, "Please check the warnings and review your system.", " "});
    }
    if (network.CalculationFailedCount > 0 && !Solved) {
        log.insert(log.end(),
                   {" ", "*** Flow and pressure calculations did not converge to a balanced condition:", " ",
                    "Suggestion:", "1) Try increasing the available pressure at supply tanks.",
                    "   e.g. increase tank elevation, liquid level, and surface pressure as appropriate.",
                    "   It is often useful to set a high supply tank elevation and",
                    "   then try to Re-Calculate the system to see if it can be solved.",
                    "2) Try increasing any very small pipe diameters to allow easier flow.", " ", " "});
    }
    if (warningCount == 0 && network.CalculationFailedCount == 0 && Solved) {
        log.insert(log.end(), {"No issues to report.", kRule71, " "});
    }
}

}  // namespace

// ---- Attempt verdicts ------------------------------------------------------------------------------

void TNetwork::SolvedMessage(bool Solved, bool FinalPhase, std::vector<std::string>& log, bool SecondPass,
                             bool Negative) {
    const std::string calculations = std::to_string(MatrixEquations.IterationCount) + kCalculations;
    if (!Solved && FinalPhase) {
        log.insert(log.end(), {"Did Not Converge to an Accurate Solution (" + calculations, "Continue to next iteration"});
        RefinementFailed = true;
    } else if (!Solved) {
        log.push_back("Failed to find Approximate Solution (" + calculations);
    } else if (!Negative) {
        // In the second pass a solution without negative flows goes unannounced.
        if (!SecondPass) {
            log.push_back((FinalPhase ? "Found Accurate Solution (" : "Found Approximate Solution (") + calculations);
        }
    } else if (FinalPhase) {
        log.push_back((SecondPass ? "Found Accurate Solution with some negative flows ("
                                  : "Found Accurate Solution BUT with some negative flows (") +
                      calculations);
    } else {
        log.insert(log.end(), {"Found Approximate Solution with some negative flows (" + calculations,
                               SecondPass ? kAcceptNegative : kContinueSearch});
    }
}

// ---- The review after a solve ------------------------------------------------------------------------

void TNetwork::CheckResults(std::vector<std::string>& log, bool& Solved, std::int32_t& warningCount) {
    TPhaseTimer timer(SolveTimings, TSolvePhase::ResultChecks);
    warningCount = 0;
    log.push_back(kCheckingResults);
    TNodeTally tally;
    // Without any tank or end pressure node the network review's own warning says it all.
    const std::vector<bool> reaches = NodesReachingFixedPressure(*this);
    const bool anyReached = std::find(reaches.begin(), reaches.end(), true) != reaches.end();
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const bool reached = !anyReached || reaches[static_cast<std::size_t>(nodeId)];
        reviewNode(*this, nodeId, reached, tally, log, warningCount);
    }
    reviewNetwork(tally, log, warningCount);
    // Results are reviewed as the solve left them: a problem found here does not
    // stop the review of the remaining pipes.
    if (Solved) {
        reviewNodePressures(*this, log, warningCount);
        reviewPipeResults(*this, log, Solved, warningCount);
    }
    logClosingLines(*this, Solved, warningCount, log);
}

// ---- Summary figures ------------------------------------------------------------------------------------

TSystemSummary TNetwork::GetSystemSummaryData() const {
    TSystemSummary summary;
    summary.Pipes = NodeLinkCount;
    // Demands of join points cut off from every fixed-pressure node are never delivered.
    const std::vector<bool> reaches = NodesReachingFixedPressure(*this);
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode& node = GetNode(nodeId);
        if (node.NodeType == TNodeType::Tank) ++summary.Tanks;
        if (node.NodeType == TNodeType::DemandPressure) ++summary.DemandPressures;
        if (node.NodeType != TNodeType::JoinPoint) continue;
        ++summary.JoinPoints;
        if (!reaches[static_cast<std::size_t>(nodeId)]) continue;
        summary.FlowDemandsIn_m3s += node.JointSupply_m3s;
        summary.FlowDemandsOut_m3s += node.JointDischarge_m3s;
    }
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TPipe& pipe = GetPipe(GetNodeLink(k).PipeId);
        if (pipe.HasPump && pipe.CalcPump) ++summary.Pumps;
        if (pipe.HasComponentPressure && pipe.CalcComponentPressure) ++summary.Components;
        if (pipe.HasFlowControl && pipe.CalcFlowControl) {
            ++summary.FlowControls;
            summary.FlowControlsFlow_m3s += pipe.FlowControlSetFlow_m3s;
        }
        // V = π·D²/4 · L
        summary.SystemVolume_m3 += pipe.InternalVolume_m3_m() * pipe.Length_m;
    }
    return summary;
}

void TNetwork::GetMinAndMaxPressureAtAnyNode_bar_g(double& min_bar_g, double& max_bar_g) const {
    double min_m = kMinimumPressureStart_m;
    double max_m = 0.0;
    // A node cut off from every fixed-pressure node has no pressure to compare;
    // a network without any such node is scanned whole.
    const std::vector<bool> reaches = NodesReachingFixedPressure(*this);
    const bool anyReached = std::find(reaches.begin(), reaches.end(), true) != reaches.end();
    std::int32_t compared = 0;
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (anyReached && !reaches[static_cast<std::size_t>(nodeId)]) continue;
        const double pressure_m = GetNode(nodeId).Pressure_FluidHead_m;
        min_m = std::min(min_m, pressure_m);
        max_m = std::max(max_m, pressure_m);
        ++compared;
    }
    if (compared == 0) {
        min_bar_g = kMinimumPressureStart_m;
        max_bar_g = 0.0;
        return;
    }
    min_bar_g = convertPressureWithDensity(UNIT_M_HD, UNIT_BAR_G, min_m, Fluid.Density_kg_m3);
    max_bar_g = convertPressureWithDensity(UNIT_M_HD, UNIT_BAR_G, max_m, Fluid.Density_kg_m3);
}

bool TNetwork::CheckDiameterDataMatchOk() const {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TPipe& pipe = GetPipe(GetNodeLink(k).PipeId);
        const double expectedOuter_m = pipe.InnerDiameter_m + 2 * pipe.WallThickness_m;
        if (std::fabs(pipe.OuterDiameter_m - expectedOuter_m) > kDiameterMatchTolerance_m) return false;
    }
    return true;
}
