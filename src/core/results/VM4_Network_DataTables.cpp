// The network's input data tables, which the grid view shows and edits:
// pipes, tanks, end pressure nodes and join points.

#include <string>
#include <vector>

#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_TableGrid.h"
#include "results/VM4_TableLayout.h"
#include "results/VM4_TableUnits.h"

namespace {

// Roughness is typed in fractions of a millimetre: the data table shows more
// places than the unit's own.
constexpr int kRoughnessDataDecimals = 6;

void writePipeDataRow(ITableGrid& grid, const TTableUnits& units, int row, int pipeId, const TPipe& pipe) {
    grid.SetCell(0, row, std::to_string(pipeId));
    grid.SetCell(1, row, pipe.Name);
    grid.SetCell(2, row, pipe.NominalSize);
    grid.SetCell(3, row, pipe.Material);
    grid.SetCell(4, row, pipe.Schedule);
    grid.SetCell(5, row, units.Diameter(pipe.InnerDiameter_m));
    grid.SetCell(6, row, units.Roughness(pipe.InnerRoughness_m, kRoughnessDataDecimals));
    grid.SetCell(7, row, units.Length(pipe.Length_m));
    grid.SetCell(8, row, NotesAsOneLine(pipe.Notes));
}

// Id, type name, name and elevation: the first four columns of every node table.
void writeNodeIdentity(ITableGrid& grid, const TTableUnits& units, int row, std::int32_t nodeId, const TNode& node) {
    grid.SetCell(0, row, std::to_string(nodeId));
    grid.SetCell(1, row, NodeTypeName(node.NodeType));
    grid.SetCell(2, row, node.Name);
    grid.SetCell(3, row, units.Elevation(node.Elevation_m));
}

// The cells after the elevation, from column 4 up to the notes.
using TNodeDataCells = std::vector<std::string> (*)(const TTableUnits&, const TNode&);

std::vector<std::string> tankDataCells(const TTableUnits& units, const TNode& node) {
    return {units.LiquidLevel(node.LiquidLevel_m), units.SurfacePressure(node.SurfacePressure_bar_g)};
}

// The end pressure is shown in the surface-pressure unit that its units row
// names and in which the grid view reads it back.
std::vector<std::string> endPressureDataCells(const TTableUnits& units, const TNode& node) {
    return {units.SurfacePressure(node.SurfacePressure_bar_g)};
}

std::vector<std::string> jointDataCells(const TTableUnits& units, const TNode& node) {
    return {units.Flow(node.JointSupply_m3s), units.Flow(node.JointDischarge_m3s)};
}

// One row per node of the type, in id order; the row count is the caller's.
int writeNodeDataTable(const TNetwork& network, ITableGrid& grid, int headerRow,
                       const std::vector<TColumnHeading>& headings, TNodeType nodeType, TNodeDataCells dataCells) {
    const TTableUnits units(network.Settings, network.Fluid);
    WriteHeadings(grid, headerRow, headings);
    int lastRow = headerRow + 1;
    for (std::int32_t id = network.GetNextNodeId(0); id != -1; id = network.GetNextNodeId(id)) {
        const TNode& node = network.GetNode(id);
        if (node.NodeType != nodeType) continue;
        const int row = ++lastRow;
        writeNodeIdentity(grid, units, row, id, node);
        int column = 4;
        for (const std::string& cell : dataCells(units, node)) grid.SetCell(column++, row, cell);
        grid.SetCell(column, row, NotesAsOneLine(node.Notes));
    }
    SetIdAndNameColumnWidths(grid, kWideNameColumnWidth_px);
    return lastRow;
}

}  // namespace

int TNetwork::PopulateStringGridPipeData(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    WriteHeadings(grid, headerRow,
                  {{"Pipe Id", std::nullopt},
                   {"Pipe Name", std::nullopt},
                   {"Nom. size", std::nullopt},
                   {"Material", std::nullopt},
                   {"Sch / Class", std::nullopt},
                   {"Diameter", units.DiameterUnitName()},
                   {"Roughness", units.RoughnessUnitName()},
                   {"Length", units.LengthUnitName()},
                   {"Pipe Notes", std::nullopt}});
    int lastRow = headerRow + 1;
    for (std::int32_t k = 1; k <= GetNodeLinkCount(); ++k) {
        const TNodeLink link = GetNodeLink(k);
        writePipeDataRow(grid, units, ++lastRow, link.PipeId, GetPipe(link.PipeId));
    }
    SetIdAndNameColumnWidths(grid, kNameColumnWidth_px);
    grid.SetRowCount(lastRow + 2);
    return lastRow;
}

int TNetwork::PopulateStringGridTankData(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    return writeNodeDataTable(*this, grid, headerRow,
                              {{"Id", std::nullopt},
                               {"Node Type", std::nullopt},
                               {"Node", std::nullopt},
                               {"Elevation", units.ElevationUnitName()},
                               {"Liquid Level", units.LiquidLevelUnitName()},
                               {"Surface Press.", units.SurfacePressureUnitName()},
                               {"Node Notes", std::nullopt}},
                              TNodeType::Tank, tankDataCells);
}

int TNetwork::PopulateStringGridEndPressureData(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    return writeNodeDataTable(*this, grid, headerRow,
                              {{"Node Id", std::nullopt},
                               {"Node Type", std::nullopt},
                               {"Node", std::nullopt},
                               {"Elevation", units.ElevationUnitName()},
                               {"End Pressure", units.SurfacePressureUnitName()},
                               {"Node Notes", std::nullopt}},
                              TNodeType::DemandPressure, endPressureDataCells);
}

int TNetwork::PopulateStringGridJointData(ITableGrid& grid, int headerRow) const {
    const TTableUnits units(Settings, Fluid);
    return writeNodeDataTable(*this, grid, headerRow,
                              {{"Node Id", std::nullopt},
                               {"Node Type", std::nullopt},
                               {"Node", std::nullopt},
                               {"Elevation", units.ElevationUnitName()},
                               {"In Flow Demand", units.FlowUnitName()},
                               {"Out Flow Demand", units.FlowUnitName()},
                               {"Node Notes", std::nullopt}},
                              TNodeType::JoinPoint, jointDataCells);
}
