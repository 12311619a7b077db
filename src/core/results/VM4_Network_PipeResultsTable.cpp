// The pipe results table of the network: one row per open pipe with its flow,
// losses and pump figures, then one row per closed pipe with its size only.

#include <algorithm>
#include <string>
#include <vector>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_TableGrid.h"
#include "results/VM4_TableLayout.h"
#include "results/VM4_TableUnits.h"

namespace {

constexpr const char* kNoteVelocityHigh = " (Flow Velocity is high)";
constexpr const char* kNotePumpElevationStart = " [Elevation ";
constexpr const char* kNotePumpElevationEnd = " not between start and end elevation of pipe ]";
constexpr const char* kNoteHeadOutsideCurve = " (Head calculated is outside of points on the Pump Curve)";
constexpr const char* kNoteHeadZero = " [Head added is zero. Pump is not used.]";
constexpr const char* kClosedPipePrefix = "Closed.  ";
constexpr const char* kUnitsAbsolute = " (absolute)";

constexpr int kFlowControlLossDecimals = 3;
constexpr int kPumpDecimals = 3;
constexpr int kTotalKDecimals = 2;
constexpr int kMassFlowDecimals = 4;
constexpr int kReynoldsDecimals = 0;
constexpr int kFrictionFactorDecimals = 3;
constexpr int kEfficiencyDecimals = 2;

enum TPipeResultsColumn : int {
    ColPipeId,
    ColPipeName,
    ColMaterial,
    ColInnerDiameter,
    ColRoughness,
    ColLength,
    ColTotalK,
    ColMassFlow,
    ColFlow,
    ColVelocity,
    ColEntryElevation,
    ColExitElevation,
    ColEntryPressure,
    ColExitPressure,
    ColEntryExitDiff,
    ColReynolds,
    ColFlowType,
    ColFrictionFactor,
    ColFrictionLoss,
    ColFittingsLoss,
    ColComponentLoss,
    ColFlowControlLoss,
    ColPumpHead,
    ColPumpNPSHr,
    ColPumpNPSHa,
    ColPumpEfficiency,
    ColPipeNotes,
};

std::vector<TColumnHeading> pipeResultsHeadings(const TTableUnits& units) {
    const std::string elevation = units.ElevationUnitName();
    const std::string pressure = units.FluidPressureUnitName();
    const std::string loss = units.LossUnitShortName();
    return {
        {"Pipe Id", std::nullopt},
        {"Pipe Name", ""},
        {"Material", ""},
        {"Inner Diameter", units.DiameterUnitName()},
        {"Roughness", units.RoughnessUnitName()},
        {"Length", units.LengthUnitName()},
        {"Total K", ""},
        {"Mass Flow", units.MassFlowUnitName()},
        {"Flow", units.FlowUnitName()},
        {"Velocity", units.VelocityUnitName()},
        {"Entry Elevation", elevation},
        {"Exit Elevation", elevation},
        {"Entry Pressure", pressure},
        {"Exit Pressure", pressure},
        {"Entry/Exit Diff", pressure},
        {"Reynolds Number", ""},
        {"Flow Type", ""},
        {"Friction Factor", ""},
        {"Friction Loss", loss},
        {"Fittings Loss", loss},
        {"Component Loss", loss},
        {"Flow Control Loss", loss},
        {"Pump Head (+)", loss},
        {"Pump NPSHr", loss},
        {"Pump NPSHa", loss + kUnitsAbsolute},
        {"Pump Efficiency", kUnitsPercentage},
        {"Pipe Notes", std::nullopt},
    };
}

bool isBetween(double value, double endA, double endB) {
    return value >= std::min(endA, endB) && value <= std::max(endA, endB);
}

// A pump on its curve cannot vouch for a flow outside its measured points.
bool isOutsideCurve(const TPump& pump, double flow_m3s) {
    if (pump.PointCount() < 1) return true;
    return flow_m3s < pump.Point(1).Flow_m3s || flow_m3s > pump.Point(pump.PointCount()).Flow_m3s;
}

// Writes the rows of one pipe results table.
class TPipeResultsWriter {
public:
    TPipeResultsWriter(const TNetwork& network, ITableGrid& grid)
        : network_(network), grid_(grid), units_(network.Settings, network.Fluid) {}

    void WriteHeadings(int headerRow) { ::WriteHeadings(grid_, headerRow, pipeResultsHeadings(units_)); }

    void WriteOpenPipe(int row, const TNodeLink& link) {
        const TPipe& pipe = network_.GetPipe(link.PipeId);
        writeSize(row, link.PipeId, pipe, PipeSizeText(pipe));
        writeFlow(row, pipe);
        writeNodes(row, network_.GetNode(link.FromNodeId), network_.GetNode(link.ToNodeId));
        writeFriction(row, pipe);
        writeItemLosses(row, pipe);
        writePumpCells(row, link, pipe);
        grid_.SetCell(ColPipeNotes, row, NotesAsOneLine(pipe.Notes));
    }

    // A closed pipe carries no flow: its size, nothing else.
    void WriteClosedPipe(int row, const TNodeLink& link) {
        const TPipe& pipe = network_.GetPipe(link.PipeId);
        writeSize(row, link.PipeId, pipe, kClosedPipePrefix + PipeSizeText(pipe));
    }

private:
    void writeSize(int row, int pipeId, const TPipe& pipe, const std::string& sizeText) {
        grid_.SetCell(ColPipeId, row, std::to_string(pipeId));
        grid_.SetCell(ColPipeName, row, pipe.Name);
        grid_.SetCell(ColMaterial, row, sizeText);
        grid_.SetCell(ColInnerDiameter, row, units_.Diameter(pipe.InnerDiameter_m));
        grid_.SetCell(ColRoughness, row, units_.Roughness(pipe.InnerRoughness_m));
        grid_.SetCell(ColLength, row, units_.Length(pipe.Length_m));
    }

    void writeFlow(int row, const TPipe& pipe) {
        grid_.SetCell(ColTotalK, row, formatFixed(kTotalKDecimals, pipe.CalcTotalKFittings()));
        grid_.SetCell(ColMassFlow, row, units_.MassFlow(pipe.FlowUncompressed_m3s, kMassFlowDecimals));
        grid_.SetCell(ColFlow, row, units_.Flow(pipe.FlowUncompressed_m3s));
        grid_.SetCell(ColVelocity, row, velocityCell(pipe));
    }

    std::string velocityCell(const TPipe& pipe) const {
        const TNetworkSettings& settings = network_.Settings;
        const double highVelocity_ms = network_.Fluid.IsGas ? settings.GasHighVelocity : settings.LiquidHighVelocity;
        const std::string velocity = units_.Velocity(pipe.Velocity_ms);
        return pipe.Velocity_ms > highVelocity_ms ? FlaggedCell(velocity, kNoteVelocityHigh) : velocity;
    }

    void writeNodes(int row, const TNode& entry, const TNode& exit) {
        grid_.SetCell(ColEntryElevation, row, units_.Elevation(entry.Elevation_m));
        grid_.SetCell(ColExitElevation, row, units_.Elevation(exit.Elevation_m));
        grid_.SetCell(ColEntryPressure, row, units_.FluidPressureFromHead(entry.Pressure_FluidHead_m));
        grid_.SetCell(ColExitPressure, row, units_.FluidPressureFromHead(exit.Pressure_FluidHead_m));
        grid_.SetCell(ColEntryExitDiff, row,
                      units_.FluidPressureDifferenceFromHeads(entry.Pressure_FluidHead_m, exit.Pressure_FluidHead_m));
    }

    void writeFriction(int row, const TPipe& pipe) {
        grid_.SetCell(ColReynolds, row, formatFixed(kReynoldsDecimals, pipe.ReynoldsNumber));
        grid_.SetCell(ColFlowType, row, pipe.FlowType);
        grid_.SetCell(ColFrictionFactor, row, formatFixed(kFrictionFactorDecimals, pipe.FrictionFactor));
        grid_.SetCell(ColFrictionLoss, row, units_.LossFromHead(pipe.PipeFrictionLoss_mHd_Fluid));
    }

    void writeItemLosses(int row, const TPipe& pipe) {
        const bool showFittingsLoss = pipe.Fittings.Count() > 0 && pipe.CalcFittings;
        grid_.SetCell(ColFittingsLoss, row, showFittingsLoss ? units_.LossFromHead(pipe.FittingsLoss_mHd_Fluid) : kCellNone);
        grid_.SetCell(ColComponentLoss, row, componentLossCell(pipe));
        grid_.SetCell(ColFlowControlLoss, row, flowControlLossCell(pipe));
    }

    // The loss in the loss unit, then in brackets in the surface-pressure unit with its name.
    std::string lossWithSurfacePressure(const std::string& loss, double loss_mHd) const {
        return loss + " (" + units_.SurfaceLossFromHead(loss_mHd) + " " + units_.SurfacePressureUnitName() + ")";
    }

    std::string componentLossCell(const TPipe& pipe) const {
        if (!pipe.HasComponentPressure || !pipe.CalcComponentPressure) return kCellNone;
        const double loss_mHd =
            pipe.ComponentPressure.calcLoss_mHd_Fluid(pipe.FlowUncompressed_m3s, network_.Fluid.Density_kg_m3);
        return lossWithSurfacePressure(units_.LossFromHead(loss_mHd), loss_mHd);
    }

    std::string flowControlLossCell(const TPipe& pipe) const {
        if (!pipe.HasFlowControl || !pipe.CalcFlowControl) return kCellNone;
        const double loss_mHd = pipe.FlowControlLoss_mHd_Fluid;
        return lossWithSurfacePressure(units_.LossFromHead(loss_mHd, kFlowControlLossDecimals), loss_mHd);
    }

    void writePumpCells(int row, const TNodeLink& link, const TPipe& pipe) {
        if (!pipe.HasPump || !pipe.CalcPump) {
            const char* text = pipe.HasPump ? kCellNotIncluded : kCellNone;
            for (int column = ColPumpHead; column <= ColPumpEfficiency; ++column) grid_.SetCell(column, row, text);
            return;
        }
        grid_.SetCell(ColPumpHead, row, pumpHeadCell(link, pipe));
        const bool onCurve = pipe.Pump.RunsAtSetFlowRate == 0;
        grid_.SetCell(ColPumpNPSHr, row, onCurve ? units_.LossFromHead(pipe.PumpNPSHr_mHd_Fluid, kPumpDecimals) : "");
        grid_.SetCell(ColPumpNPSHa, row, onCurve ? npshaCell(link.PipeId, pipe) : "");
        grid_.SetCell(ColPumpEfficiency, row,
                      onCurve ? formatFixed(kEfficiencyDecimals, pipe.Pump.calcPumpEfficiency(pipe.FlowUncompressed_m3s))
                              : "");
    }

    std::string pumpHeadCell(const TNodeLink& link, const TPipe& pipe) const {
        std::string cell = units_.LossFromHead(pipe.PumpHead_mHd_Fluid, kPumpDecimals);
        const double entry_m = network_.GetNode(link.FromNodeId).Elevation_m;
        const double exit_m = network_.GetNode(link.ToNodeId).Elevation_m;
        if (!isBetween(pipe.PumpElevation_m, entry_m, exit_m))
            cell = FlaggedCell(cell, kNotePumpElevationStart + units_.Elevation(pipe.PumpElevation_m) +
                                         units_.ElevationUnitName() + kNotePumpElevationEnd);
        if (pipe.Pump.RunsAtSetFlowRate != 0) return cell;
        if (isOutsideCurve(pipe.Pump, pipe.FlowUncompressed_m3s)) cell = FlaggedCell(cell, kNoteHeadOutsideCurve);
        if (!(pipe.PumpHead_mHd_Fluid > 0.0)) cell = FlaggedCell(cell, kNoteHeadZero);
        return cell;
    }

    std::string npshaCell(int pipeId, const TPipe& pipe) const {
        const double npsha_m = network_.GetPumpNPSHa_mFluid(pipeId);
        const std::string npsha = units_.LossFromHead(npsha_m);
        return npsha_m < pipe.PumpNPSHr_mHd_Fluid ? FlaggedCell(npsha, kNoteCavitation) : npsha;
    }

    const TNetwork& network_;
    ITableGrid& grid_;
    const TTableUnits units_;
};

}  // namespace

int TNetwork::PopulateStringGridPipeResults(ITableGrid& grid, int headerRow) const {
    TPipeResultsWriter writer(*this, grid);
    writer.WriteHeadings(headerRow);
    int lastRow = headerRow + 1;
    for (std::int32_t k = 1; k <= GetNodeLinkCount(); ++k) writer.WriteOpenPipe(++lastRow, GetNodeLink(k));
    for (std::int32_t k = 1; k <= GetClosedPipeLinkCount(); ++k)
        writer.WriteClosedPipe(++lastRow, GetNodeLinkClosedPipe(k));
    SetIdAndNameColumnWidths(grid, kNameColumnWidth_px);
    SetResultRowCount(grid, lastRow);
    return lastRow;
}
