// The solve driver: one complete calculation of the network document.
//
// Held flows (flow controls, fixed-flow pumps) leave the link table, the loops
// and paths are generated, and a ladder of 100 start velocities is walked. Each
// attempt estimates starting flows from its velocity, finds an approximate
// solution (coarse head tolerance, full Newton steps) and refines it (fine
// tolerance, reduced steps). A first pass over the ladder refuses solutions with
// negative flows; a second pass offers to reverse the pipes concerned. Whatever
// happens, the link table is put back in pipe id order at the end.
//
// The log lines, their order and the attempt numbers are what the user reads:
// keep them exactly as they are.

#include <algorithm>
#include <string>

#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"
#include "solver/VM4_CutOffParts.h"
#include "solver/VM4_NetworkPhysicalChecks.h"

namespace {

const char* const kPreparingStatus = "Preparing to solve network.";
const char* const kInitialFlowsStatus = "Set initial flow estimates using velocity: ";
const char* const kSolvingStatus = "Solving Network Equations...";
const char* const kRefiningStatus = "Found approximate solution. Refining...";

const char* const kStartFlowEstimates = "Start flow estimates using initial discharge velocity of ";
const char* const kCalculationFailed = ": Calculation failed";
const char* const kFlowsTooSmallOrLarge = "Flows may be too small or too large to provide accurate results.";
const char* const kReversalQuestion = "The direction of this pipe must be reversed.";
const char* const kReversalContinue = "Reverse the pipe direction now and continue solving the network?";
const char* const kBelowVacuum = "Pressure at some nodes would need to be less than 0 bar a, which is not physically possible.";
const char* const kCalculationStopped = "*** Calculation Stopped. System was not solved.";

const char* const kDetailsRule = "---------------------------------------------------------------";
const char* const kMethod = "Darcy-Weisbach Calculation method with ColeBrook-White Friction Loss equations.";
const char* const kClosedPipesNote = " (does not include any closed pipes)";

// Outcomes of the driver besides the engine's own codes.
constexpr std::int32_t kErrorReversalRefused = -4;
constexpr std::int32_t kErrorPressuresNotDerived = -9;

// A node may not need less than a full vacuum, about −1 bar gauge.
constexpr double kLowestPhysicalPressure_bar_g = -1.0;

// A failed refinement after reversals starts the ladder over in first-pass mode,
// and the next second pass may reverse pipes again. Without a bound a network
// whose pipes keep flipping would never finish; after this many restarts the
// ladder simply runs out.
constexpr std::int32_t kMaxPassRestarts = 10;

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

struct TNetwork::TSolveState {
    bool Solved = false;
    std::int32_t ErrorCode = TMatrixEquations::ErrorCodeNone;
    std::string ErrorMessage;
    std::int32_t VelocityIndex = 0;
    std::int32_t PassCounter = 0;
    bool SecondPass = false;  // negative flows may be accepted after reversal
    bool FinalPhase = false;
    bool Finished = false;
    std::int32_t PassRestarts = 0;
    bool JointDemandsKept = false;
    std::vector<std::int32_t> ReversedPipeIds;  // turned round during this solve
    // A first-pass attempt refined a solution that is negative all the same: the
    // network's one solution has a pipe against its flow.
    bool RefinedToNegativeFlows = false;
};

// ---- The whole solve -----------------------------------------------------------------------

bool TNetwork::SolveNetwork(std::vector<std::string>& log) {
    TSolveState state;
    try {
        // The review reads every pipe of the open links: a link table holding a pipe
        // id outside the pool raises here, before anything has changed.
        if (!AcceptPhysicalData(*this, log)) return false;
        startSolve(state);
        while (!state.SecondPass && !state.Solved && state.ErrorCode != kErrorPressuresNotDerived &&
               !StopCalculating) {
            runLadderPass(state, log);
        }
        finishSolve(state, log);
    } catch (...) {
        // Whatever failed, the document must come back as the user drew it.
        restoreLinkTablesAfterError(state);
        return false;
    }
    return state.Solved;
}

void TNetwork::startSolve(TSolveState& state) {
    {
        TPhaseTimer timer(SolveTimings, TSolvePhase::Preparation);
        setSolveStatus(kPreparingStatus);
        CalculationFailedCount = 0;
        WarningCount = 0;
        MatrixEquations.IterationCountTotal = 0;
        MatrixEquations.LastSmallValuesReport = 0;
        StopCalculating = false;
        RefinementFailed = false;
        FillDischargeVelocityEstimates();
        keepJointDemands();
        state.JointDemandsKept = true;
        RemoveAllNodeLinksForPipesWithFlowControl();
        RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
        PipeLoopsRemoveAllLoops();
    }
    PipeLoopsGenerateAllLoops();
}

// SolveQVariables, its time added to the phase it belongs to.
void TNetwork::solveQVariables(TSolveState& state, std::vector<std::string>& log, TSolvePhase phase) {
    TPhaseTimer timer(SolveTimings, phase);
    MatrixEquations.SolveQVariables(state.Solved, state.ErrorCode, log, state.ErrorMessage);
}

// One pass over the ladder; the second and later passes may reverse pipes.
void TNetwork::runLadderPass(TSolveState& state, std::vector<std::string>& log) {
    ++state.PassCounter;
    if (state.PassCounter > 1) state.SecondPass = true;
    state.VelocityIndex = 0;
    state.Solved = false;
    while (!state.Solved && state.VelocityIndex < DischargeVelocityCount && !StopCalculating) {
        ++state.VelocityIndex;
        runAttempt(state, DischargeVelocityEstimates[slot(state.VelocityIndex)], log);
        if (!state.Solved) continue;
        {
            TPhaseTimer timer(SolveTimings, TSolvePhase::PressureRecovery);
            ReCalcNetworkFromMatrixQVariables(state.Solved, log);
        }
        if (!state.Solved) {
            state.VelocityIndex = DischargeVelocityCount;
            state.ErrorCode = kErrorPressuresNotDerived;
        }
    }
}

// ---- One attempt ------------------------------------------------------------------------------

void TNetwork::runAttempt(TSolveState& state, double velocity_ms, std::vector<std::string>& log) {
    startAttempt(velocity_ms, log);
    setSolveStatus(kSolvingStatus);
    MatrixEquationsGenerate();
    processPendingMessages();
    state.FinalPhase = false;
    setApproximatePhase();
    TMatrixEquations& engine = MatrixEquations;
    solveQVariables(state, log, TSolvePhase::NewtonApproximate);
    SolvedMessage(state.Solved, state.FinalPhase, log, state.SecondPass, engine.IsAnyQVariableNegative());
    processPendingMessages();
    if (!state.Solved) {
        reportFailedApproximation(state, log);
        return;
    }
    copyUnknownsIntoPipeFlows();
    if (engine.IsAnyQVariableNegative()) {
        decideOnNegativeApproximation(state, log);
    } else {
        refineApproximateSolution(state, log);
    }
}

void TNetwork::startAttempt(double velocity_ms, std::vector<std::string>& log) {
    processPendingMessages();
    const std::string velocityText = convertUnitsToDisplayText(UNIT_M_SEC, Settings.VelocityUnit, velocity_ms) +
                                     unitName(Settings.VelocityUnit);
    setSolveStatus(kInitialFlowsStatus + velocityText);
    SetAllInitialFlowGuesses(velocity_ms);
    ++MatrixEquations.IterationCountTotal;
    log.insert(log.end(), {" ", "Iteration " + std::to_string(MatrixEquations.IterationCountTotal),
                           kStartFlowEstimates + velocityText});
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        TPipe& pipe = GetPipe(NodeLinks[slot(k)].PipeId);
        pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
    }
}

// Coarse head tolerance and full Newton steps.
void TNetwork::setApproximatePhase() {
    TMatrixEquations& engine = MatrixEquations;
    engine.MaxIterationsCurrent = Settings.MaxIterationsApproxSolution;
    engine.DeltaQFactorCurrent = 1.0;
    engine.HeadToleranceCurrent = convertPressure(UNIT_BAR_G, UNIT_M_HD, Settings.PressureBalancingToleranceApprox,
                                                  Settings.AtmosphericPressure, Fluid.Density_kg_m3);
}

// Fine head tolerance and a fraction of each Newton step.
void TNetwork::setFinalPhase() {
    TMatrixEquations& engine = MatrixEquations;
    engine.MaxIterationsCurrent = Settings.MaxIterationsFinalSolution;
    engine.DeltaQFactorCurrent = Settings.DeltaQReductionFactor;
    engine.HeadToleranceCurrent = convertPressure(UNIT_BAR_G, UNIT_M_HD, Settings.PressureBalancingToleranceFinal,
                                                  Settings.AtmosphericPressure, Fluid.Density_kg_m3);
}

void TNetwork::copyUnknownsIntoPipeFlows() {
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        GetPipe(NodeLinks[slot(k)].PipeId).FlowUncompressed_m3s = static_cast<double>(MatrixEquations.QVariables[k]);
    }
}

// The equations are generated afresh from the approximate flows, then solved to
// the fine tolerance with reduced steps.
void TNetwork::runRefiningPhase(TSolveState& state, std::vector<std::string>& log) {
    MatrixEquationsGenerate();
    setFinalPhase();
    setSolveStatus(kRefiningStatus);
    solveQVariables(state, log, TSolvePhase::NewtonRefining);
}

void TNetwork::refineApproximateSolution(TSolveState& state, std::vector<std::string>& log) {
    state.FinalPhase = true;
    runRefiningPhase(state, log);
    TMatrixEquations& engine = MatrixEquations;
    const bool negative = engine.IsAnyQVariableNegative();
    if (state.Solved && !negative) {
        state.Finished = true;
        SolvedMessage(true, true, log, state.SecondPass, false);
        return;
    }
    SolveStatusText = kSolvingStatus;
    state.Solved = false;
    SolvedMessage(false, true, log, state.SecondPass, negative);
}

// The approximate solution meets the heads only to the coarse tolerance, and a
// small flow in it may have the wrong sign where the true flow is positive. So
// the sign is decided on the refined flows: positive ones are the solution; still
// negative ones are refused in the first pass and offered for reversal in the
// second. When the refinement fails, the approximate flows decide as before.
// Once the first pass has refined a solution and found it negative, the network's
// solution has a pipe against its flow: the pass's later attempts are refused
// without refining them again.
void TNetwork::decideOnNegativeApproximation(TSolveState& state, std::vector<std::string>& log) {
    if (state.RefinedToNegativeFlows && !state.SecondPass) {
        state.Solved = false;
        return;
    }
    runRefiningPhase(state, log);
    TMatrixEquations& engine = MatrixEquations;
    const bool refined = state.Solved;
    const bool negative = !refined || engine.IsAnyQVariableNegative();
    if (!negative) {
        state.FinalPhase = true;
        state.Finished = true;
        SolvedMessage(true, true, log, state.SecondPass, false);
        return;
    }
    if (refined) {
        copyUnknownsIntoPipeFlows();
        if (!state.SecondPass) SolvedMessage(true, true, log, state.SecondPass, true);
        state.RefinedToNegativeFlows = true;
    }
    SolveStatusText = kSolvingStatus;
    if (state.SecondPass) {
        reversePipesWithNegativeFlow(state, log);
    } else {
        state.Solved = false;  // this start velocity is given up
    }
}

void TNetwork::reportFailedApproximation(const TSolveState& state, std::vector<std::string>& log) {
    if (state.ErrorCode != TMatrixEquations::ErrorCodeArithmetic) {
        log.push_back(state.ErrorMessage);
        return;
    }
    ++CalculationFailedCount;
    log.insert(log.end(), {" ", "Iteration " + std::to_string(MatrixEquations.IterationCountTotal) + kCalculationFailed,
                           kFlowsTooSmallOrLarge});
}

// ---- Reversal -------------------------------------------------------------------------------------

// Second pass, approximate solution with negative flows: each pipe whose flow
// is negative (below the flow tolerance: a dead end's flow of −1e-27 is zero) may
// be turned round (a permanent change of the document), the last link first. The
// signs tested are those of the solution found before the first reversal, refined
// where the refinement succeeded; a reversed pipe's flow is not negated, so the new
// equations start its unknown at the old value, now measured the other way.
//
// A pipe turned round once in a solve is never turned back: its flow came out
// negative both ways, so the network has no solution that is positive in it, and
// asking again would only flip it to and fro. Its negative flow is accepted.
// A pass that turned no pipe round has nothing new to try after it.
void TNetwork::reversePipesWithNegativeFlow(TSolveState& state, std::vector<std::string>& log) {
    state.Solved = true;
    state.Finished = true;
    bool anyReversed = false;
    for (std::int32_t k = NodeLinkCount; k >= 1; --k) {
        const std::int32_t pipeId = NodeLinks[slot(k)].PipeId;
        if (GetPipe(pipeId).FlowUncompressed_m3s >= -MatrixEquations.FlowTolerance) continue;
        if (wasReversedInThisSolve(state, pipeId)) continue;
        SolveStatusText.clear();
        processPendingMessages();
        if (!askToReversePipe(pipeId)) {
            state.Solved = false;
            state.Finished = false;
            state.ErrorCode = kErrorReversalRefused;
            state.VelocityIndex = DischargeVelocityCount;
            return;
        }
        ReversePipeLink(pipeId);
        state.ReversedPipeIds.push_back(pipeId);
        anyReversed = true;
        log.push_back("Direction of pipe " + std::to_string(pipeId) + ", named " + GetPipe(pipeId).Name +
                      " was reversed.");
        PipeLoopsRemoveAllLoops();
        PipeLoopsGenerateAllLoops();
        MatrixEquationsGenerate();  // leaves the engine in its approximate settings
        solveQVariables(state, log, TSolvePhase::NewtonApproximate);
    }
    if (!state.Solved) return;
    setFinalPhase();
    solveQVariables(state, log, TSolvePhase::NewtonRefining);
    if (state.Solved || !anyReversed || state.PassRestarts >= kMaxPassRestarts) return;
    ++state.PassRestarts;
    state.RefinedToNegativeFlows = false;  // the network has changed
    state.Finished = false;
    state.SecondPass = false;
    state.PassCounter = 0;
}

bool TNetwork::wasReversedInThisSolve(const TSolveState& state, std::int32_t pipeId) {
    const auto& reversed = state.ReversedPipeIds;
    return std::find(reversed.begin(), reversed.end(), pipeId) != reversed.end();
}

// Without anyone to ask, a pipe is never turned round.
bool TNetwork::askToReversePipe(std::int32_t pipeId) {
    if (UserMessages == nullptr) return false;
    const TPipe& pipe = GetPipe(pipeId);
    const std::string flowText = convertFlowToText(UNIT_M3_SEC, Settings.FlowRateUnit, unitDecimals(Settings.FlowRateUnit),
                                                   pipe.FlowUncompressed_m3s, Fluid.Density_kg_m3) +
                                 unitName(Settings.FlowRateUnit);
    return UserMessages->Confirm("Flow in " + pipe.Name + " is negative (" + flowText + ")." + "\r\r" +
                                 kReversalQuestion + "\r\r" + kReversalContinue);
}

// ---- Finish ------------------------------------------------------------------------------------------

void TNetwork::finishSolve(TSolveState& state, std::vector<std::string>& log) {
    TPhaseTimer timer(SolveTimings, TSolvePhase::Finish);
    RestoreAllNodeLinksForPipesWithFlowControl();
    RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate();
    restoreJointDemands();
    SortNodeLinksByPipeId();
    ClearResultsOfInactivePipes(*this);
    SetFlowControlPressureLosses(state.Solved, log);
    SetPumpsSetFlowRatePressureLosses(state.Solved, log);
    if (state.Solved) {
        double min_bar_g = 0.0;
        double max_bar_g = 0.0;
        GetMinAndMaxPressureAtAnyNode_bar_g(min_bar_g, max_bar_g);
        if (min_bar_g < kLowestPhysicalPressure_bar_g) {
            state.Solved = false;
            log.insert(log.end(), {" ", ">>> PROBLEM:", kBelowVacuum});
        }
    }
    if (state.Solved) logFinalSolutionDetails(log);
    if (StopCalculating) log.insert(log.end(), {" ", kCalculationStopped});
}

void TNetwork::logFinalSolutionDetails(std::vector<std::string>& log) const {
    double min_bar_g = 0.0;
    double max_bar_g = 0.0;
    GetMinAndMaxPressureAtAnyNode_bar_g(min_bar_g, max_bar_g);
    const double tolerance_bar = Settings.PressureBalancingToleranceFinal;
    const int pressureUnit = Settings.SurfacePressureUnit;
    const double tolerance = convertPressure(UNIT_BAR_G, pressureUnit, tolerance_bar, Settings.AtmosphericPressure,
                                             Fluid.Density_kg_m3);
    log.insert(log.end(), {" ", " ", "Final Solution Details:", kDetailsRule, kMethod, " ",
                           "Pressure balances accurate to:" + formatFixed(6, tolerance) + " " +
                               unitShortName(pressureUnit)});
    if (max_bar_g > min_bar_g) {
        // the tolerance as a percentage of the largest pressure difference
        const double share_percent = tolerance_bar / (max_bar_g - min_bar_g) * 100;
        log.push_back("Pressure balance accuracy is < " + formatFixed(6, share_percent) +
                      "% of system's max pressure difference.");
    } else {
        log.emplace_back();
    }
    const TSystemSummary summary = GetSystemSummaryData();
    const auto flowText = [this](double flow_m3s) {
        return convertFlowToText(UNIT_M3_SEC, Settings.FlowRateUnit, unitDecimals(Settings.FlowRateUnit), flow_m3s,
                                 Fluid.Density_kg_m3) +
               " " + unitName(Settings.FlowRateUnit);
    };
    log.insert(log.end(),
               {" ", "Configuration:", "Pipes: " + std::to_string(summary.Pipes),
                "Tanks: " + std::to_string(summary.Tanks), "Join Points: " + std::to_string(summary.JoinPoints),
                "Demand Pressures: " + std::to_string(summary.DemandPressures),
                "Pumps: " + std::to_string(summary.Pumps), "Components: " + std::to_string(summary.Components),
                "Flow Controls: " + std::to_string(summary.FlowControls), "Overall Volumes:",
                "Flow Demands In: " + flowText(summary.FlowDemandsIn_m3s),
                "Flow Demands Out: " + flowText(summary.FlowDemandsOut_m3s),
                "Flow Controls: " + flowText(summary.FlowControlsFlow_m3s),
                "System Volume: " + convertUnitsToDisplayText(UNIT_M3, Settings.VolumeUnit, summary.SystemVolume_m3) +
                    " " + unitName(Settings.VolumeUnit) + kClosedPipesNote});
}

// ---- Keeping the document intact -------------------------------------------------------------------

// The held flows are added to and taken off the nodes' demands again; putting
// back the values kept before the solve makes that exact, whatever the rounding.
void TNetwork::keepJointDemands() {
    for (std::int32_t nodeId = 1; nodeId <= TNodeSet::MaxNodes; ++nodeId) {
        const TNode& node = GetNode(nodeId);
        JointDemandsBeforeSolve[slot(nodeId)] = {node.JointSupply_m3s, node.JointDischarge_m3s};
    }
}

void TNetwork::restoreJointDemands() {
    for (std::int32_t nodeId = 1; nodeId <= TNodeSet::MaxNodes; ++nodeId) {
        TNode& node = GetNode(nodeId);
        node.JointSupply_m3s = JointDemandsBeforeSolve[slot(nodeId)].Supply_m3s;
        node.JointDischarge_m3s = JointDemandsBeforeSolve[slot(nodeId)].Discharge_m3s;
    }
}

void TNetwork::restoreLinkTablesAfterError(const TSolveState& state) {
    // The links go back before a pipe is recomputed, so a failing calculation
    // here leaves the tables whole; there is nothing more to do about it.
    try {
        RestoreAllNodeLinksForPipesWithFlowControl();
    } catch (...) {
    }
    try {
        RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate();
    } catch (...) {
    }
    if (state.JointDemandsKept) restoreJointDemands();
    SortNodeLinksByPipeId();
}

void TNetwork::setSolveStatus(const std::string& text) {
    SolveStatusText = text;
    processPendingMessages();
}
