// Pipes whose flow is held during a solve: a switched-on flow control holds its
// set flow, a switched-on pump running at its set flow rate holds that flow.
// Their links leave the open table for the solve; the held flow becomes a
// discharge at the from-node and a supply at the to-node, so the rest of the
// network is solved around them. Afterwards the links come back and, from the
// solved node pressures, the pressure drop each control must make and the head
// each fixed-flow pump must give are worked out.

#include <string>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

const char* const kProblemIntro = ">>> PROBLEM:";
const char* const kFlowControlNotMet = "Pressure in pipe is not enough to deliver the set flow control at ";
const char* const kTankLevelReason = "Reason: The liquid level in the tank feeding the pipe is not suffcient.";
const char* const kFlowControlsNotSolved = ">>> System not solved. Flow control settings not met.";
const char* const kFlowControlsAdvice =
    "Either remove the flow controls where the flow cannot be met or reduce the specified flow in the control.";
const char* const kPumpNotNeeded =
    "The pump may not be needed (the pump head is negative). The pressure in the pipe will already deliver more "
    "flow than the pump's fixed flow rate of ";
const char* const kPumpNotNeededAdvice =
    ". Remove the pump and use a flow control valve to limit the flow rate if required, or increase the pump's "
    "fixed flow rate so that the pump head required is positive.";
const char* const kPumpsNotSolved = ">>> System not solved. Problem with some pumps.";
const char* const kPumpsExplanation =
    " exist where the pump head produced would have to be negative. In these cases, the Pump's Fixed Flow Rate is "
    "set lower than the flow that would occur in the pipe if the pump was not present. See log details above for "
    "information on each problem pump.";
const char* const kPumpsSolution = "Solution: Either remove the problem pump or increase the pump's fixed flow rate.";

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

bool hasActiveFlowControl(const TPipe& pipe) { return pipe.HasFlowControl && pipe.CalcFlowControl; }
double flowControlSetFlow_m3s(const TPipe& pipe) { return pipe.FlowControlSetFlow_m3s; }

bool hasActivePumpAtSetFlow(const TPipe& pipe) {
    return pipe.HasPump && pipe.CalcPump && pipe.Pump.RunsAtSetFlowRate != 0;
}
double pumpSetFlow_m3s(const TPipe& pipe) { return pipe.Pump.SetFlowRate_m3s; }

}  // namespace

// ---- Taking held links out and putting them back ------------------------------------

void TNetwork::RemoveAllNodeLinksForPipesWithFlowControl() {
    holdFlowsOfLinks(FlowControlLinks, FlowControlLinkCount, hasActiveFlowControl, flowControlSetFlow_m3s);
}

void TNetwork::RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate() {
    holdFlowsOfLinks(SetFlowPumpLinks, SetFlowPumpLinkCount, hasActivePumpAtSetFlow, pumpSetFlow_m3s);
}

void TNetwork::RestoreAllNodeLinksForPipesWithFlowControl() {
    releaseHeldLinks(FlowControlLinks, FlowControlLinkCount, flowControlSetFlow_m3s);
}

void TNetwork::RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate() {
    releaseHeldLinks(SetFlowPumpLinks, SetFlowPumpLinkCount, pumpSetFlow_m3s);
}

// The held flow Q leaves the from-node as a discharge and enters the to-node as
// a supply: the continuity equations see exactly what the pipe would carry.
// Each link is out of the open table before its nodes change, so an error part
// way leaves nothing that putting the recorded links back would duplicate.
void TNetwork::holdFlowsOfLinks(TLinkTable& held, std::int32_t& heldCount, bool (*isHeld)(const TPipe&),
                                double (*heldFlow_m3s)(const TPipe&)) {
    heldCount = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        if (isHeld(GetPipe(link.PipeId))) appendLink(held, heldCount, link);
    }
    for (std::int32_t k = 1; k <= heldCount; ++k) {
        const TNodeLink& link = held[slot(k)];
        RemoveLink(link.PipeId);
        const double flow_m3s = heldFlow_m3s(GetPipe(link.PipeId));
        GetNode(link.FromNodeId).JointDischarge_m3s += flow_m3s;
        GetNode(link.ToNodeId).JointSupply_m3s += flow_m3s;
    }
}

// Every link goes back before any node or pipe is touched, so that a failing
// calculation cannot leave a link out of the table (nor put one back twice).
void TNetwork::releaseHeldLinks(TLinkTable& held, std::int32_t& heldCount, double (*heldFlow_m3s)(const TPipe&)) {
    const std::int32_t count = heldCount;
    // Cannot fail: the links came out of this table.
    for (std::int32_t k = 1; k <= count; ++k) AddLink(held[slot(k)].FromNodeId, held[slot(k)].ToNodeId, held[slot(k)].PipeId);
    heldCount = 0;
    for (std::int32_t k = 1; k <= count; ++k) {
        const TNodeLink link = held[slot(k)];
        held[slot(k)] = TNodeLink{};
        TPipe& pipe = GetPipe(link.PipeId);
        const double flow_m3s = heldFlow_m3s(pipe);
        GetNode(link.FromNodeId).JointDischarge_m3s -= flow_m3s;
        GetNode(link.ToNodeId).JointSupply_m3s -= flow_m3s;
        pipe.FlowGuessUncompressed_m3s = flow_m3s;
        pipe.FlowUncompressed_m3s = flow_m3s;
        pipe.CalcPipeInfo(Fluid);
    }
}

// ---- Pressure drops of flow controls and heads of fixed-flow pumps -----------------------

// The control takes what the pipe does not use of the head difference between
// its ends:
//   Δh = (p_A + z_A) − (p_B + z_B) − (h_friction + h_fittings + h_component − H_pump)
void TNetwork::SetFlowControlPressureLosses(bool& Solved, std::vector<std::string>& log) {
    std::int32_t notMet = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        pipe.FlowControlLoss_mHd_Fluid = 0.0;
        pipe.FlowControlLoss_bar = 0.0;
        if (!hasActiveFlowControl(pipe)) continue;
        const TNode& from = GetNode(link.FromNodeId);
        const TNode& to = GetNode(link.ToNodeId);
        const double pipeLoss_mHd = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                                    pipe.ComponentLoss_mHd_Fluid - pipe.PumpHead_mHd_Fluid;
        const double drop_mHd = (from.Pressure_FluidHead_m + from.Elevation_m) -
                                (to.Pressure_FluidHead_m + to.Elevation_m) - pipeLoss_mHd;
        pipe.FlowControlLoss_mHd_Fluid = drop_mHd;
        pipe.FlowControlLoss_bar = convertPressureWithDensity(UNIT_M_HD, UNIT_BAR_G, drop_mHd, Fluid.Density_kg_m3);
        if (pipe.FlowControlLoss_bar >= 0.0) continue;
        ++notMet;
        pipe.FlowUncompressed_m3s = 0.0;
        pipe.Velocity_ms = 0.0;
        log.insert(log.end(), {" ", kProblemIntro,
                               "Pipe " + std::to_string(link.PipeId) + ", " + pipe.Name + ", " + kFlowControlNotMet +
                                   convertFlowToText(UNIT_M3_SEC, Settings.FlowRateUnit,
                                                     unitDecimals(Settings.FlowRateUnit),
                                                     pipe.FlowControlSetFlow_m3s, Fluid.Density_kg_m3) +
                                   unitName(Settings.FlowRateUnit) + "."});
        if (from.NodeType == TNodeType::Tank) log.push_back(kTankLevelReason);
    }
    if (notMet == 0) return;
    Solved = false;
    log.insert(log.end(), {" ", kFlowControlsNotSolved, kFlowControlsAdvice, " "});
}

// The pump makes up whatever the pipe needs beyond the pressure difference:
//   H = h_component + (p_B + h_friction + h_fittings) − p_A + (z_B − z_A)
// The pipe's total loss is brought in line with that head.
void TNetwork::SetPumpsSetFlowRatePressureLosses(bool& Solved, std::vector<std::string>& log) {
    std::int32_t negativeHeads = 0;
    for (std::int32_t k = 1; k <= NodeLinkCount; ++k) {
        const TNodeLink& link = NodeLinks[slot(k)];
        TPipe& pipe = GetPipe(link.PipeId);
        if (!hasActivePumpAtSetFlow(pipe)) continue;
        const TNode& from = GetNode(link.FromNodeId);
        const TNode& to = GetNode(link.ToNodeId);
        pipe.PumpHead_mHd_Fluid =
            pipe.ComponentLoss_mHd_Fluid +
            (to.Pressure_FluidHead_m + pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid) -
            from.Pressure_FluidHead_m + (to.Elevation_m - from.Elevation_m);
        pipe.TotalPressureLoss_mHd_Fluid = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                                           pipe.ComponentLoss_mHd_Fluid - pipe.PumpHead_mHd_Fluid;
        if (pipe.PumpHead_mHd_Fluid >= 0.0) continue;
        ++negativeHeads;
        pipe.FlowUncompressed_m3s = 0.0;
        pipe.Velocity_ms = 0.0;
        log.insert(log.end(), {" ", kProblemIntro,
                               "Pipe " + std::to_string(link.PipeId) + ", " + pipe.Name + ", " + kPumpNotNeeded +
                                   convertFlowToText(UNIT_M3_SEC, Settings.FlowRateUnit,
                                                     unitDecimals(Settings.FlowRateUnit), pipe.Pump.SetFlowRate_m3s,
                                                     Fluid.Density_kg_m3) +
                                   unitName(Settings.FlowRateUnit) + kPumpNotNeededAdvice});
    }
    if (negativeHeads == 0) return;
    Solved = false;
    log.insert(log.end(), {" ", kPumpsNotSolved, "Pumps (x" + std::to_string(negativeHeads) + ")" + kPumpsExplanation,
                           kPumpsSolution, " "});
}
