// The network's result tables other than the pipe results: pipe materials,
// nodes, fluid, pumps, fittings, and all of them on one grid.

#include <algorithm>
#include <string>
#include <vector>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "solver/VM4_CutOffParts.h"
#include "results/VM4_TableGrid.h"
#include "results/VM4_TableLayout.h"
#include "results/VM4_TableUnits.h"

namespace {

constexpr const char* kNodeResultsTitle = "Node Results";
constexpr const char* kPipeResultsTitle = "Pipe Results";
constexpr const char* kFittingResultsTitle = "Fitting Results";
constexpr const char* kPumpResultsTitle = "Pump Results";
constexpr const char* kNoteOutsidePreferredRegion = " Outside Pref. Op. Region";
constexpr const char* kNoteNegativeNPSHa = " (NPSHa cannot be negative)";
constexpr const char* kNoFittings = "No Fittings";
constexpr const char* kGas = "Gas";
constexpr const char* kLiquid = "Liquid";

constexpr int kViscosityDecimals = 3;
constexpr int kPumpDecimals = 3;
constexpr int kKValueDecimals = 2;
constexpr int kEfficiencyDecimals = 2;
// The fluid table keeps two spare rows below its one data row.
constexpr int kFluidRowsBelowHeader = 4;

// Applies `write(row, link)` to each open link in link order from the row
// after the units row; returns the last row written.
template <typename TWriteRow>
int writeOpenPipeRows(const TNetwork& network, int firstRow, TWriteRow write) {
    int lastRow = firstRow - 1;
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) write(++lastRow, network.GetNodeLink(k));
    return lastRow;
}

// ---- Pipe materials ------------------------------------------------------------------

std::vector<TColumnHeading> materialHeadings(const TTableUnits& units) {
    const std::string diameter = units.DiameterUnitName();
    return {
        {"Pipe Id", std::nullopt},
        {"Pipe Name", ""},
        {"Material", ""},
        {"Schedule", "Class"},
        {"Roughness", units.RoughnessUnitName()},
        {"Inner Diameter", diameter},
        {"Wall Thickness", diameter},
        {"Outer Diameter", diameter},
        {"Length", units.LengthUnitName()},
        {"Weight", units.WeightUnitName() + " (full length)"},
        {"Internal Volume", units.VolumeUnitName()},
        {"Surface Area", units.AreaUnitName()},
        {"Pipe Notes", std::nullopt},
    };
}

// A whole-pipe total from a per-metre figure; empty when the figure is not known (0).
template <typename TFormat>
std::string wholePipeCell(double perMetre, double length_m, TFormat format) {
    return perMetre == 0.0 ? std::string() : format(perMetre * length_m);
}

void writeMaterialRow(ITableGrid& grid, const TTableUnits& units, int row, int pipeId, const TPipe& pipe) {
    grid.SetCell(0, row, std::to_string(pipeId));
    grid.SetCell(1, row, pipe.Name);
    grid.SetCell(2, row, pipe.Material);
    grid.SetCell(3, row, pipe.Schedule);
    grid.SetCell(4, row, units.Roughness(pipe.InnerRoughness_m));
    grid.SetCell(5, row, units.Diameter(pipe.InnerDiameter_m));
    grid.SetCell(6, row, units.Diameter(pipe.WallThickness_m));
    grid.SetCell(7, row, units.Diameter(pipe.OuterDiameter_m));
    grid.SetCell(8, row, units.Length(pipe.Length_m));
    grid.SetCell(9, row, wholePipeCell(pipe.WeightPerLength_kg_m, pipe.Length_m,
                                       [&](double kg) { return units.Weight(kg); }));
    grid.SetCell(10, row, wholePipeCell(pipe.InternalVolume_m3_m(), pipe.Length_m,
                                        [&](double m3) { return units.Volume(m3); }));
    grid.SetCell(11, row, wholePipeCell(pipe.SurfaceArea_m2_m(), pipe.Length_m,
                                        [&](double m2) { return units.Area(m2); }));
    grid.SetCell(12, row, NotesAsOneLine(pipe.Notes));
}

// ---- Nodes ---------------------------------------------------------------------------------

std::vector<TColumnHeading> nodeHeadings(const TTableUnits& units) {
    const std::string flow = units.FlowUnitName();
    return {
        {"Node Id", std::nullopt},
        {"Node Type", ""},
        {"Node", ""},
        {"Elevation", units.ElevationUnitName()},
        {"Liquid Level", units.LiquidLevelUnitName()},
        {"Surface Press.", units.SurfacePressureUnitName()},
        {"Press. at Node", units.FluidPressureUnitName()},
        {"HGL at Node", units.LossUnitName()},
        {"Demand In", flow},
        {"Demand Out", flow},
        {"Total Flow In", flow},
        {"Total Flow Out", flow},
        {"Notes", std::nullopt},
    };
}

struct TNodeFlows {
    double In_m3s = 0.0;
    double Out_m3s = 0.0;
};

// Flows of the open links arriving at and leaving the node, with a join
// point's own supply and demand.
TNodeFlows nodeFlows(const TNetwork& network, std::int32_t nodeId, const TNode& node) {
    TNodeFlows flows;
    if (node.NodeType == TNodeType::JoinPoint) {
        flows.In_m3s = node.JointSupply_m3s;
        flows.Out_m3s = node.JointDischarge_m3s;
    }
    for (std::int32_t k = 1; k <= network.GetNodeLinkCount(); ++k) {
        const TNodeLink link = network.GetNodeLink(k);
        const double flow_m3s = network.GetPipe(link.PipeId).FlowUncompressed_m3s;
        if (link.ToNodeId == nodeId) flows.In_m3s += flow_m3s;
        if (link.FromNodeId == nodeId) flows.Out_m3s += flow_m3s;
    }
    return flows;
}

// Liquid level, surface pressure and demands belong to one node type each.
void writeNodeTypeCells(ITableGrid& grid, const TTableUnits& units, int row, const TNode& node) {
    const bool isTank = node.NodeType == TNodeType::Tank;
    const bool isJoint = node.NodeType == TNodeType::JoinPoint;
    const bool hasSurfacePressure = isTank || node.NodeType == TNodeType::DemandPressure;
    grid.SetCell(4, row, isTank ? units.LiquidLevel(node.LiquidLevel_m) : kCellNotApplicable);
    // An end pressure is shown in the surface-pressure unit, the one its units row names.
    grid.SetCell(5, row, hasSurfacePressure ? units.SurfacePressure(node.SurfacePressure_bar_g) : kCellNotApplicable);
    grid.SetCell(8, row, isJoint ? units.Flow(node.JointSupply_m3s) : kCellNotApplicable);
    if (isJoint) grid.SetCell(9, row, units.Flow(node.JointDischarge_m3s));
}

// A node cut off from every tank and end pressure node has no pressure: its
// pressure and grade line cells are left empty rather than showing a number.
void writeNodeRow(const TNetwork& network, ITableGrid& grid, const TTableUnits& units, int row, std::int32_t nodeId,
                  bool hasPressure) {
    const TNode& node = network.GetNode(nodeId);
    grid.SetCell(0, row, std::to_string(nodeId));
    grid.SetCell(1, row, NodeTypeName(node.NodeType));
    grid.SetCell(2, row, node.Name);
    grid.SetCell(3, row, units.Elevation(node.Elevation_m));
    writeNodeTypeCells(grid, units, row, node);
    grid.SetCell(6, row, hasPressure ? units.FluidPressureFromHead(node.Pressure_FluidHead_m) : "");
    // HGL = pressure head + elevation
    grid.SetCell(7, row, hasPressure ? units.LossFromHead(node.Pressure_FluidHead_m + node.Elevation_m) : "");
    const TNodeFlows flows = nodeFlows(network, nodeId, node);
    grid.SetCell(10, row, units.Flow(flows.In_m3s));
    grid.SetCell(11, row, units.Flow(flows.Out_m3s));
    grid.SetCell(12, row, NotesAsOneLine(node.Notes));
}

// ---- Pumps ---------------------------------------------------------------------------------

std::vector<TColumnHeading> pumpHeadings(const TTableUnits& units) {
    const std::string flow = units.FlowUnitName();
    return {
        {"Pipe Id", std::nullopt},
        {"Pipe Name", ""},
        {"Pump Name", ""},
        {"Speed", "rpm"},
        {"Pref. Op From", flow},
        {"Pref. Op To", flow},
        {"Flow In/Out", flow},
        {"Velocity", units.VelocityUnitName()},
        {"Pump Head (+)", units.LossUnitName()},
        {"Pump NPSHr", units.LossUnitShortName()},
        {"Pump NPSHa", units.LossUnitShortName() + " (absolute)"},
        {"Pump Efficiency", kUnitsPercentage},
        {"Pump Notes", std::nullopt},
    };
}

void writePumpOperatingCells(ITableGrid& grid, const TTableUnits& units, int row, const TPipe& pipe) {
    const TPump& pump = pipe.Pump;
    const double bestEfficiencyFlow_m3s = pump.GetFlowAtBEP_m3s();
    const double from_m3s = pump.PreferredOpRegionFromPercent * bestEfficiencyFlow_m3s / 100.0;
    const double to_m3s = bestEfficiencyFlow_m3s * pump.PreferredOpRegionToPercent / 100.0;
    const double flow_m3s = pipe.FlowUncompressed_m3s;
    grid.SetCell(4, row, units.Flow(from_m3s));
    grid.SetCell(5, row, units.Flow(to_m3s));
    const bool outside = flow_m3s < from_m3s || flow_m3s > to_m3s;
    grid.SetCell(6, row, units.Flow(flow_m3s) + (outside ? kNoteOutsidePreferredRegion : ""));
    grid.SetCell(7, row, units.Velocity(pipe.Velocity_ms));
}

std::string pumpNPSHaCell(const TTableUnits& units, double npsha_m, double npshr_m, bool onCurve) {
    std::string cell = units.LossFromHead(npsha_m);
    if (onCurve && npsha_m < npshr_m) cell += kNoteCavitation;
    if (npsha_m < 0.0) cell += kNoteNegativeNPSHa;
    return cell;
}

void writePumpHeadCells(const TNetwork& network, ITableGrid& grid, const TTableUnits& units, int row,
                        const TNodeLink& link) {
    const TPipe& pipe = network.GetPipe(link.PipeId);
    const bool onCurve = pipe.Pump.RunsAtSetFlowRate == 0;
    grid.SetCell(8, row, units.LossFromHead(pipe.PumpHead_mHd_Fluid, kPumpDecimals));
    grid.SetCell(9, row, onCurve ? units.LossFromHead(pipe.PumpNPSHr_mHd_Fluid, kPumpDecimals) : kCellNotSet);
    grid.SetCell(10, row,
                 pumpNPSHaCell(units, network.GetPumpNPSHa_mFluid(link.PipeId), pipe.PumpNPSHr_mHd_Fluid, onCurve));
    grid.SetCell(11, row,
                 onCurve ? formatFixed(kEfficiencyDecimals, pipe.Pump.calcPumpEfficiency(pipe.FlowUncompressed_m3s))
                         : kCellNotSet);
}

void writePumpRow(const TNetwork& network, ITableGrid& grid, const TTableUnits& units, int row,
                  const TNodeLink& link) {
    const TPipe& pipe = network.GetPipe(link.PipeId);
    grid.SetCell(0, row, std::to_string(link.PipeId));
    grid.SetCell(1, row, pipe.Name);
    grid.SetCell(2, row, pipe.Pump.Name());
    grid.SetCell(3, row, std::to_string(pipe.Pump.PumpSpeed));
    writePumpOperatingCells(grid, units, row, pipe);
    writePumpHeadCells(network, grid, units, row, link);
    grid.SetCell(12, row, NotesAsOneLine(pipe.Pump.Notes));
}

// ---- Fittings ------------------------------------------------------------------------------

const std::vector<std::string> kFittingTitles = {"Pipe Id",     "Pipe",          "Total K",     "Description",
                                                 "K Value",     "Imperial Size", "Metric Size", "Database Ref"};

// The pipe's first row, then one more row per further fitting; returns the pipe's last row.
int writeFittingRows(ITableGrid& grid, int row, int pipeId, const TPipe& pipe) {
    grid.SetCell(0, row, std::to_string(pipeId));
    grid.SetCell(1, row, pipe.Name);
    grid.SetCell(2, row, formatFixed(kKValueDecimals, pipe.CalcTotalKFittings()));
    if (pipe.Fittings.Count() == 0) {
        grid.SetCell(3, row, kNoFittings);
        return row;
    }
    for (int index = 1; index <= pipe.Fittings.Count(); ++index, ++row) {
        const TFitting& fitting = pipe.Fittings.GetFitting(index);
        grid.SetCell(3, row, fitting.Description);
        grid.SetCell(4, row, formatFixed(kKValueDecimals, fitting.KValue));
        grid.SetCell(5, row, fitting.ImperialSize);
        grid.SetCell(6, row, fitting.MetricSize);
        grid.SetCell(7, row, fitting.Type);
    }
    return row - 1;
}

// ---- All results ---------------------------------------------------------------------------

using TFillOperation = int (TNetwork::*)(ITableGrid&, int) const;

// The title two rows below the previous section, the table one row below the title.
int writeSection(const TNetwork& network, ITableGrid& grid, int previousLastRow, const char* title,
                 TFillOperation fill) {
    const int titleRow = previousLastRow + 2;
    grid.SetCell(1, titleRow, title);
    return (network.*fill)(grid, titleRow + 1);
}

}  // namespace

int TNetwork::PopulateStringGridPipeMaterialResults(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    WriteHeadings(grid, headerRow, materialHeadings(units));
    const int lastRow = writeOpenPipeRows(*this, headerRow + 2, [&](int row, const TNodeLink& link) {
        writeMaterialRow(grid, units, row, link.PipeId, GetPipe(link.PipeId));
    });
    SetIdAndNameColumnWidths(grid, kNameColumnWidth_px);
    SetResultRowCount(grid, lastRow);
    return lastRow;
}

int TNetwork::PopulateStringGridNodeResults(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    WriteHeadings(grid, headerRow, nodeHeadings(units));
    int lastRow = headerRow + 1;
    const std::vector<bool> withPressure = NodesReachingFixedPressure(*this);
    for (std::int32_t id = GetNextNodeId(0); id != -1; id = GetNextNodeId(id))
        writeNodeRow(*this, grid, units, ++lastRow, id, withPressure[static_cast<std::size_t>(id)]);
    SetIdAndNameColumnWidths(grid, kWideNameColumnWidth_px);
    SetResultRowCount(grid, lastRow);
    return lastRow;
}

int TNetwork::PopulateStringGridFluidResults(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    const int unitsRow = headerRow + 1;
    const int dataRow = headerRow + 2;
    const std::vector<TColumnHeading> headings = {
        {"Fluid Name", ""},         {"Chemical Formula", ""},       {"Temperature", units.TemperatureUnitName()},
        {"Centistokes", ""},        {"Centipoise", ""},             {"Density", units.DensityUnitName()},
        {"Vapour Pressure", units.AtmosphereUnitName()}, {"State", ""}};
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const int column = static_cast<int>(i) + 1;
        grid.SetCell(column, headerRow, headings[i].Title);
        grid.SetCell(column, unitsRow, *headings[i].Units);
    }
    grid.SetCell(1, dataRow, Fluid.Name);
    grid.SetCell(2, dataRow, Fluid.Formula);
    grid.SetCell(3, dataRow, units.Temperature(Fluid.Temperature_K));
    grid.SetCell(4, dataRow, formatFixed(kViscosityDecimals, Fluid.KinematicViscosity_cSt));
    grid.SetCell(5, dataRow, formatFixed(kViscosityDecimals, Fluid.DynamicViscosity_cP));
    grid.SetCell(6, dataRow, units.Density(Fluid.Density_kg_m3));
    grid.SetCell(7, dataRow, units.AtmospherePressure(Fluid.VapourPressure_bar_a));
    grid.SetCell(8, dataRow, Fluid.IsGas ? kGas : kLiquid);
    SetIdAndNameColumnWidths(grid, kWideNameColumnWidth_px);
    grid.SetRowCount(std::max(headerRow + kFluidRowsBelowHeader, kMinimumResultRowCount));
    return dataRow;
}

int TNetwork::PopulateStringGridPumpResults(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    WriteHeadings(grid, headerRow, pumpHeadings(units));
    int lastRow = headerRow + 1;
    for (std::int32_t k = 1; k <= GetNodeLinkCount(); ++k) {
        const TNodeLink link = GetNodeLink(k);
        if (GetPipe(link.PipeId).HasPump) writePumpRow(*this, grid, units, ++lastRow, link);
    }
    SetIdAndNameColumnWidths(grid, kNameColumnWidth_px);
    SetResultRowCount(grid, lastRow);
    return lastRow;
}

int TNetwork::PopulateStringGridFittingResults(ITableGrid& grid, int headerRow) const {
    WriteTitles(grid, headerRow, kFittingTitles);
    int lastRow = headerRow;
    for (std::int32_t k = 1; k <= GetNodeLinkCount(); ++k) {
        const TNodeLink link = GetNodeLink(k);
        lastRow = writeFittingRows(grid, lastRow + 1, link.PipeId, GetPipe(link.PipeId));
    }
    SetIdAndNameColumnWidths(grid, kNameColumnWidth_px);
    SetResultRowCount(grid, lastRow);
    return lastRow;
}

void TNetwork::PopulateStringGridAllResults(ITableGrid& grid) const {
    int lastRow = PopulateStringGridFluidResults(grid, 1);
    lastRow = writeSection(*this, grid, lastRow, kPipeResultsTitle, &TNetwork::PopulateStringGridPipeResults);
    lastRow = writeSection(*this, grid, lastRow, kFittingResultsTitle, &TNetwork::PopulateStringGridFittingResults);
    lastRow = writeSection(*this, grid, lastRow, kPumpResultsTitle, &TNetwork::PopulateStringGridPumpResults);
    writeSection(*this, grid, lastRow, kNodeResultsTitle, &TNetwork::PopulateStringGridNodeResults);
}
