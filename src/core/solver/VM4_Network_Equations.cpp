// Equation generation and pressure recovery: the bridge between the network
// document and the matrix engine.
//
// Unknown k is the flow of the pipe of open link k. The equations, in order:
//   continuity, one per join point touching an open link, ascending node id:
//       Σ inflows − Σ outflows = discharge − supply
//   head, one per stored loop or path, in loop order:
//       Σ ±h(Q) along the walk = H(start) − H(end)
// where h is a pipe's friction + fittings + component − pump head and H a node's
// total head (surface pressure as fluid head + elevation + liquid level).
//
// After a solve the node pressures are recovered by walking outwards from the
// tanks and end pressure nodes along the open links.

#include <algorithm>
#include <exception>
#include <span>
#include <string>

#include "foundations/VM4_Calculations.h"
#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kLoopOrderFailed = "TNetwork.MatrixEquationsGenerate Failed: Loop:  FromNodeId=";
const char* const kLinkTableInvalid =
    "TNetwork.MatrixEquationsGenerate Failed: Link table holds an invalid node id or pipe id";
const char* const kEmptyLoop = "TNetwork.MatrixEquationsGenerate Failed: No pipes in loop ";
const char* const kLoopPipeWithoutLink = "TNetwork.MatrixEquationsGenerate Failed: No open link for loop pipe ";
const char* const kEquationCountFailed = "TNetwork.MatrixEquationsGenerate Failed: Number of equations generated (";

const char* const kGenerationFailedBox =
    "The Network could not be solved.\r\rCheck the following:\r   is there at least one supply point?\r"
    "   is there at least one discharge point?\r   are all nodes connected?\r\rSpecific Information: ";
const char* const kClearPhaseFailed =
    "Could not clear existing equation data. Please save your system, \rclose the program, restart the program "
    "and try again";
const char* const kContinuityPhaseFailed = "Could not generate flow continuity equations.\r\rProblem occured at ";
const char* const kContinuityPhaseAdvice = "Please check your system is valid at this node.";
const char* const kLoopPhaseFailed =
    "Could not generate equations for all loops and end to end paths.\r\rProblem occured generating loop  ";
const char* const kUnknownsPhaseFailed = "Could not generate initial flows.\r\rProblem occured at pipe ";
const char* const kDrawingAdvice = "Please check the validity of the system you have drawn.";

const char* const kPressureNotCalculated = "Pressure was not calculated at ";
const char* const kIsolatedNode = "Isolated - set pressure at node to zero - ignore and continue.";

enum TGenerationPhase : std::int32_t { kClearPhase = 0, kContinuityPhase = 1, kLoopPhase = 2, kUnknownsPhase = 3 };

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

bool isFixedPressureNode(TNodeType nodeType) {
    return nodeType == TNodeType::Tank || nodeType == TNodeType::DemandPressure;
}

std::string loopOrderMessage(std::int32_t fromNodeId, std::int32_t toNodeId, std::int32_t lastNodeId) {
    return kLoopOrderFailed + std::to_string(fromNodeId) + " ToNodeId=" + std::to_string(toNodeId) +
           " LastNodeId=" + std::to_string(lastNodeId) + " - the ordering of the loop may be wrong?";
}

}  // namespace

// ---- Generation -------------------------------------------------------------------------

void TNetwork::MatrixEquationsGenerate() {
    TPhaseTimer timer(SolveTimings, TSolvePhase::EquationGeneration);
    std::int32_t phase = kClearPhase;
    std::int32_t nodeId = 0;
    std::int32_t loopId = 0;
    std::int32_t pipeId = 0;
    try {
        clearMatrixEquationsForGeneration();
        std::int32_t equation = 0;
        phase = kContinuityPhase;
        // A table the lookup refuses is corrupt: load and the edits never make one.
        if (!EquationLinks.Build(NodeLinks, NodeLinkCount)) throw ENetworkClass(kLinkTableInvalid);
        generateContinuityEquations(equation, nodeId);
        phase = kLoopPhase;
        checkLoopPipesHaveOpenLinks(loopId, pipeId);
        generateLoopEquations(equation, loopId, pipeId);
        phase = kUnknownsPhase;
        generateUnknowns(pipeId);
        // More equations than unknowns is fine: the elimination uses the extra rows.
        const std::int32_t unknowns = MatrixEquations.NumberOfQVariables;
        if (equation < unknowns) {
            throw ENetworkClass(kEquationCountFailed + std::to_string(equation) +
                                ") does not match number of unknown flows (" + std::to_string(unknowns) + ")");
        }
        MatrixEquations.NumberOfEquations = equation;
    } catch (const std::exception&) {
        if (UserMessages != nullptr) {
            UserMessages->ShowInformation(kGenerationFailedBox + generationFailureText(phase, nodeId, loopId, pipeId));
        }
        throw;
    }
}

// Phase 0: an empty system sized for the open links, with the tolerances, limits
// and fluid of this network.
void TNetwork::clearMatrixEquationsForGeneration() {
    TMatrixEquations& engine = MatrixEquations;
    engine.ClearResults(NodeLinkCount, 2 * GetPipeCount());
    const double atmosphere_bar_a = Settings.AtmosphericPressure;
    const double density_kgm3 = Fluid.Density_kg_m3;
    engine.FlowTolerance = Settings.FlowBalancingTolerance;
    engine.HeadToleranceApprox = convertPressure(UNIT_BAR_G, UNIT_M_HD, Settings.PressureBalancingToleranceApprox,
                                                 atmosphere_bar_a, density_kgm3);
    engine.HeadToleranceFinal = convertPressure(UNIT_BAR_G, UNIT_M_HD, Settings.PressureBalancingToleranceFinal,
                                                atmosphere_bar_a, density_kgm3);
    engine.MaxIterationsApprox = Settings.MaxIterationsApproxSolution;
    engine.MaxIterationsFinal = Settings.MaxIterationsFinalSolution;
    engine.DeltaQReductionFactor = Settings.DeltaQReductionFactor;
    engine.FluidViscosity = Fluid.DynamicViscosity_cP;
    engine.FluidDensity = density_kgm3;
}

// Phase 1: inflow code 1, outflow code 2 (a link from a node to itself ends as 2),
// each node's links from the lookup, in table order; only the columns written are
// declared written.
void TNetwork::generateContinuityEquations(std::int32_t& equation, std::int32_t& nodeId) {
    TMatrixEquations& engine = MatrixEquations;
    for (nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode& node = GetNode(nodeId);
        if (node.NodeType != TNodeType::JoinPoint) continue;
        const std::span<const std::int32_t> links = EquationLinks.LinksOf(nodeId);
        if (links.empty()) continue;
        ++equation;
        std::uint8_t* codes = engine.QMatrix.RowData(equation) - 1;
        for (const std::int32_t k : links) {
            const TNodeLink& link = NodeLinks[slot(k)];
            if (link.ToNodeId == nodeId) codes[k] = TMatrixEquations::CodeFlowEnters;
            if (link.FromNodeId == nodeId) codes[k] = TMatrixEquations::CodeFlowLeaves;
        }
        engine.QMatrix.MarkWritten(equation, links.front(), links.back());
        engine.QKnowns[equation] = node.JointDischarge_m3s - node.JointSupply_m3s;
    }
}

// Every pipe of every stored loop needs an open link for its walk. The loop
// generation stores no other, but the table is public: a loop edited by hand is
// refused here, naming the loop and pipe, before any row is written.
void TNetwork::checkLoopPipesHaveOpenLinks(std::int32_t& loopId, std::int32_t& pipeId) const {
    for (loopId = 1; loopId <= PipeLoopCount; ++loopId) {
        pipeId = 0;
        if (PipeLoopPipeCount[slot(loopId)] < 1) throw ENetworkClass(kEmptyLoop + std::to_string(loopId));
        for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(loopId)]; ++position) {
            pipeId = PipeLoopPipes[slot(loopId)][slot(position)];
            if (EquationLinks.LinkOfPipe(pipeId) == 0) throw ENetworkClass(kLoopPipeWithoutLink + std::to_string(pipeId));
        }
    }
}

// Phase 2: code 3 for a pipe walked from its from-node, 4 against its direction,
// each pipe's link from the lookup.
void TNetwork::generateLoopEquations(std::int32_t& equation, std::int32_t& loopId, std::int32_t& pipeId) {
    TMatrixEquations& engine = MatrixEquations;
    for (loopId = 1; loopId <= PipeLoopCount; ++loopId) {
        ++equation;
        const auto& pipes = PipeLoopPipes[slot(loopId)];
        pipeId = pipes[1];
        const TNodeLink& first = NodeLinks[slot(EquationLinks.LinkOfPipe(pipeId))];
        const TNodeLink* second = PipeLoopPipeCount[slot(loopId)] >= 2
                                      ? &NodeLinks[slot(EquationLinks.LinkOfPipe(pipes[2]))]
                                      : nullptr;
        const std::int32_t startNodeId = walkStartNodeId(first, second);
        std::int32_t currentNodeId = startNodeId;
        std::uint8_t* codes = engine.QMatrix.RowData(equation) - 1;
        std::int32_t lowest = TMatrixEquations::MaxQVariables;
        std::int32_t highest = 1;
        for (std::int32_t position = 1; position <= PipeLoopPipeCount[slot(loopId)]; ++position) {
            pipeId = pipes[slot(position)];
            const std::int32_t k = EquationLinks.LinkOfPipe(pipeId);
            const TNodeLink& link = NodeLinks[slot(k)];
            lowest = std::min(lowest, k);
            highest = std::max(highest, k);
            if (currentNodeId == link.FromNodeId) {
                codes[k] = TMatrixEquations::CodeWalkedForward;
                currentNodeId = link.ToNodeId;
            } else if (currentNodeId == link.ToNodeId) {
                codes[k] = TMatrixEquations::CodeWalkedBackward;
                currentNodeId = link.FromNodeId;
            } else {
                engine.QMatrix.MarkWritten(equation, lowest, highest);
                throw ENetworkClass(loopOrderMessage(link.FromNodeId, link.ToNodeId, currentNodeId));
            }
        }
        engine.QMatrix.MarkWritten(equation, lowest, highest);
        engine.QKnowns[equation] = totalHead_mHd(startNodeId) - totalHead_mHd(currentNodeId);
    }
}

// A path that runs on through a second tank or end pressure node can have one at
// both ends of its first pipe; the walk must then leave the first pipe where the
// second pipe joins it, or it could not go on.
std::int32_t TNetwork::walkStartNodeId(const TNodeLink& first, const TNodeLink* second) const {
    const bool toNodeFixed = isFixedPressureNode(GetNode(first.ToNodeId).NodeType);
    const std::int32_t start = toNodeFixed ? first.ToNodeId : first.FromNodeId;
    const std::int32_t other = toNodeFixed ? first.FromNodeId : first.ToNodeId;
    if (second != nullptr && !second->Touches(other) && second->Touches(start)) return other;
    return start;
}

// H = surface pressure as fluid head + elevation + liquid level, metres of fluid.
double TNetwork::totalHead_mHd(std::int32_t nodeId) const {
    return GetNode(nodeId).getPressure_mHd_Fluid(Settings.AtmosphericPressure, Fluid.Density_kg_m3);
}

// Phase 3: the starting flow, geometry, fitting coefficient, component and pump
// of each unknown's pipe.
void TNetwork::generateUnknowns(std::int32_t& pipeId) {
    TMatrixEquations& engine = MatrixEquations;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        pipeId = NodeLinks[slot(k)].PipeId;
        TPipe& pipe = GetPipe(pipeId);
        pipe.CalcPipeInfo(Fluid);
        engine.QVariables[k] = pipe.FlowUncompressed_m3s;
        engine.QDiameter[k] = pipe.InnerDiameter_m;
        engine.QRoughness[k] = pipe.InnerRoughness_m;
        engine.QLength[k] = pipe.Length_m;
        engine.QFittingLossCoefficents[k] = 0.0;
        if (pipe.Fittings.Count() > 0 && pipe.CalcFittings) {
            // G = ΣK / (2g·A²), so that the fitting loss is G·Q·|Q|
            engine.QFittingLossCoefficents[k] = CalcFittingLossCoefficient(pipe.InnerDiameter_m, pipe.CalcTotalKFittings());
        }
        if (pipe.HasComponentPressure && pipe.CalcComponentPressure) {
            engine.QComponent[k].CopyComponentPressure(pipe.ComponentPressure);
        }
        if (pipe.HasPump && pipe.CalcPump) {
            engine.QPump[k].CopyPump(pipe.Pump);
        } else {
            engine.QPump[k].Clear();
        }
    }
}

std::string TNetwork::generationFailureText(std::int32_t phase, std::int32_t nodeId, std::int32_t loopId,
                                            std::int32_t pipeId) const {
    switch (phase) {
        case kContinuityPhase: {
            const std::string nodeName = Nodes.IsNodeUsed(nodeId) ? GetNode(nodeId).Name : std::string();
            return kContinuityPhaseFailed + nodeName + "\r\r" + kContinuityPhaseAdvice;
        }
        case kLoopPhase:
            return kLoopPhaseFailed + std::to_string(loopId) + ", pipe id " + std::to_string(pipeId) + "\r\r" +
                   kDrawingAdvice;
        case kUnknownsPhase:
            return kUnknownsPhaseFailed + std::to_string(pipeId) + "\r\r" + kDrawingAdvice;
        default:
            return kClearPhaseFailed;
    }
}

// The last open link of the pipe wins, should there be several.
std::int32_t TNetwork::getQIndexOfPipeId(std::int32_t pipeId) const {
    std::int32_t index = -1;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        if (NodeLinks[slot(k)].PipeId == pipeId) index = k;
    }
    return index;
}

// ---- Pressure recovery ------------------------------------------------------------------------

void TNetwork::ReCalcNetworkFromMatrixQVariables(bool& Solved, std::vector<std::string>& log) {
    writeFlowsIntoPipes();
    std::int32_t known = setFixedPressureNodes();
    known += sweepPressuresAlongLinks(known);
    if (known < GetNodeCount()) reportNodesWithoutPressure(known, Solved, log);
}

void TNetwork::writeFlowsIntoPipes() {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        TPipe& pipe = GetPipe(NodeLinks[slot(k)].PipeId);
        pipe.FlowUncompressed_m3s = static_cast<double>(MatrixEquations.QVariables[k]);
        pipe.CalcPipeInfo(Fluid);
    }
}

// Tanks and end pressure nodes hold their surface pressure plus liquid level
// (fluid head, gauge, without elevation); every other node starts without one.
std::int32_t TNetwork::setFixedPressureNodes() {
    const double atmosphere_bar_a = Settings.AtmosphericPressure;
    const double density_kgm3 = Fluid.Density_kg_m3;
    std::int32_t known = 0;
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        TNode& node = GetNode(nodeId);
        node.IsPressureSet = false;
        node.Pressure_FluidHead_m = 0.0;
        if (!isFixedPressureNode(node.NodeType)) continue;
        node.Pressure_FluidHead_m = node.getSurfacePlusLiquidPressure_mHd_Fluid(atmosphere_bar_a, density_kgm3);
        node.IsPressureSet = true;
        ++known;
    }
    return known;
}

// Each sweep carries pressures one pipe further, downstream as
//   p_B = z_A − z_B + p_A − h_AB
// and upstream as
//   p_A = h_AB + p_B − (z_A − z_B),
// with h_AB the pipe's total loss (the pump head counted as a negative loss).
// Only join points receive a pressure this way. At most one sweep per node.
std::int32_t TNetwork::sweepPressuresAlongLinks(std::int32_t alreadyKnown) {
    const std::int32_t nodeCount = GetNodeCount();
    std::int32_t found = 0;
    for (std::int32_t sweep = 1; alreadyKnown + found < nodeCount && sweep <= nodeCount; ++sweep) {
        for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
            const TNodeLink& link = NodeLinks[slot(k)];
            TNode& from = GetNode(link.FromNodeId);
            TNode& to = GetNode(link.ToNodeId);
            const double loss_mHd = GetPipe(link.PipeId).TotalPressureLoss_mHd_Fluid;
            if (from.IsPressureSet && !to.IsPressureSet && to.NodeType == TNodeType::JoinPoint) {
                to.Pressure_FluidHead_m = from.Elevation_m - to.Elevation_m + from.Pressure_FluidHead_m - loss_mHd;
                to.IsPressureSet = true;
                ++found;
            } else if (to.IsPressureSet && !from.IsPressureSet && from.NodeType == TNodeType::JoinPoint) {
                from.Pressure_FluidHead_m = loss_mHd + to.Pressure_FluidHead_m - (from.Elevation_m - to.Elevation_m);
                from.IsPressureSet = true;
                ++found;
            }
        }
    }
    return found;
}

// A node without any open link is only reported; a connected node that the
// sweeps could not reach makes the solution unusable.
void TNetwork::reportNodesWithoutPressure(std::int32_t known, bool& Solved, std::vector<std::string>& log) {
    log.push_back(kPressureNotCalculated + std::to_string(GetNodeCount() - known) + " 'Joint' nodes:");
    for (std::int32_t nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        TNode& node = GetNode(nodeId);
        if (node.IsPressureSet) continue;
        const std::string nodeText = "Node Id " + std::to_string(nodeId) + ", " + node.Name;
        if (GetNumberOfInFlowPipes(nodeId) == 0 && GetNumberOfOutFlowPipes(nodeId) == 0) {
            log.push_back(nodeText + ", " + kIsolatedNode);
            node.Pressure_FluidHead_m = 0.0;
        } else {
            Solved = false;
            log.push_back(nodeText);
        }
    }
}
