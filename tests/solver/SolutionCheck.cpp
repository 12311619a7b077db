#include "SolutionCheck.h"

#include <cmath>
#include <vector>

#include "HydraulicReference.h"
#include "foundations/VM4_Calculations.h"

namespace {

double totalHead_m(const TNode& node) { return node.Pressure_FluidHead_m + node.Elevation_m; }

// Friction and fittings exactly, then the component and the pump by their own curves.
double exactLoss_mHd(const TPipe& pipe, const TFluid& fluid, double flow_m3s) {
    TReferencePipe reference;
    reference.Diameter_m = pipe.InnerDiameter_m;
    reference.Roughness_m = pipe.InnerRoughness_m;
    reference.Length_m = pipe.Length_m;
    const double totalK = pipe.CalcFittings ? pipe.CalcTotalKFittings() : 0.0;
    if (totalK > 0.0) reference.FittingG = CalcFittingLossCoefficient(pipe.InnerDiameter_m, totalK);
    const TReferenceFluid referenceFluid{fluid.Density_kg_m3, fluid.DynamicViscosity_cP};
    double loss = static_cast<double>(ReferencePipeHeadLoss_mHd(reference, referenceFluid, flow_m3s));
    if (pipe.HasComponentPressure && pipe.CalcComponentPressure) {
        const double component = pipe.ComponentPressure.calcLoss_mHd_Fluid(std::fabs(flow_m3s), fluid.Density_kg_m3);
        loss += flow_m3s < 0.0 ? -component : component;
    }
    if (pipe.HasPump && pipe.CalcPump) {
        // A pump held at its set flow gives whatever head the balance asks of it.
        loss -= pipe.Pump.RunsAtSetFlowRate != 0 ? pipe.PumpHead_mHd_Fluid
                : pipe.Pump.PointCount() >= 3    ? pipe.Pump.calcPumpHead_mHd_Fluid(flow_m3s, fluid.Density_kg_m3)
                                                 : 0.0;
    }
    // A flow control takes up the head its set flow leaves over.
    if (pipe.HasFlowControl && pipe.CalcFlowControl) loss += pipe.FlowControlLoss_mHd_Fluid;
    return loss;
}

}  // namespace

TSolutionCheck CheckSolution(const TNetwork& network) {
    TSolutionCheck check;
    std::vector<double> imbalance(TNodeSet::MaxNodes + 1, 0.0);
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const TPipe& pipe = network.GetPipe(link.PipeId);
        const double flow_m3s = pipe.FlowUncompressed_m3s;
        imbalance[static_cast<std::size_t>(link.ToNodeId)] += flow_m3s;
        imbalance[static_cast<std::size_t>(link.FromNodeId)] -= flow_m3s;
        const double headDifference_m = totalHead_m(network.GetNode(link.FromNodeId)) -
                                        totalHead_m(network.GetNode(link.ToNodeId));
        const double loss_m = exactLoss_mHd(pipe, network.Fluid, flow_m3s);
        const double allowance_m = kHeadBalanceAbsolute_m + kHeadBalanceRelative * std::fabs(loss_m);
        const double beyond_m = std::fabs(headDifference_m - loss_m) - allowance_m;
        if (beyond_m > check.WorstHeadMismatch_m) {
            check.WorstHeadMismatch_m = beyond_m;
            check.WorstHeadMismatchAt = pipe.Name + ": head difference " + std::to_string(headDifference_m) +
                                        " m, loss " + std::to_string(loss_m) + " m at " + std::to_string(flow_m3s) +
                                        " m3/s";
        }
    }
    for (std::int32_t nodeId = network.GetNextNodeId(0); nodeId > 0; nodeId = network.GetNextNodeId(nodeId)) {
        const TNode& node = network.GetNode(nodeId);
        if (node.NodeType != TNodeType::JoinPoint) continue;
        const double residual =
            std::fabs(imbalance[static_cast<std::size_t>(nodeId)] - (node.JointDischarge_m3s - node.JointSupply_m3s));
        if (residual > check.WorstContinuity_m3s) {
            check.WorstContinuity_m3s = residual;
            check.WorstContinuityAt = "node " + std::to_string(nodeId);
        }
    }
    return check;
}
