#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"

class TByteReader;
class TByteWriter;

VELMORA_DECLARE_ERROR(ENodeClass);

// The kind of a node. The value is stored in network files as one byte.
enum class TNodeType : std::uint8_t {
    JoinPoint = 0,       // junction with an optional supply flow in and demand flow out
    Tank = 1,            // elevation, surface pressure and liquid level
    DemandPressure = 2,  // end node held at a given pressure
    NotSet = 3,          // a free pool slot, or a node not yet given a type
};

// The name tables and panels show for a node type; empty for NotSet.
const char* NodeTypeName(TNodeType nodeType);

// One point of the network where pipes meet. Values are SI; pressures bar gauge,
// heads metres of the system's fluid. Positions and offsets are drawing units.
class TNode {
public:
    static constexpr std::size_t NameCapacity = 20;
    // Notes are kept in full in memory; only this many characters are saved.
    static constexpr std::size_t NotesCapacity = 200;
    static constexpr std::size_t RecordSize = 316;

    static constexpr std::int32_t DefaultDemandInLabelOffsetX = 12;
    static constexpr std::int32_t DefaultDemandInLabelOffsetY = -28;
    static constexpr std::int32_t DefaultDemandOutLabelOffsetX = 12;
    static constexpr std::int32_t DefaultDemandOutLabelOffsetY = 28;
    static constexpr std::int32_t DefaultColour = 16777215;  // white: blue*65536 + green*256 + red

    // A new node has an empty name and the defaults of Clear.
    TNode();

    // Back to the defaults: type NotSet, values and positions 0, demand label offsets
    // 12/-28 and 12/28, symbol 0, white, no notes. The name is kept.
    void Clear();

    void SetType(TNodeType nodeType) { NodeType = nodeType; }

    // The name cut to NameCapacity characters.
    void SetName(const std::string& name);

    // Tank surface pressure plus liquid level, in metres of fluid (gauge):
    // h = p_bar_g * 100000 / (rho * 9.80665) + level.
    double getSurfacePlusLiquidPressure_mHd_Fluid(double atmosphericPressure_bar_a, double density_kg_m3) const;

    // The above plus the elevation: the hydraulic grade of a tank's liquid surface.
    double getPressure_mHd_Fluid(double atmosphericPressure_bar_a, double density_kg_m3) const;

    // Every field except the name and the demand label offsets, which stay this node's own.
    void Copy(const TNode& source);

    // The fixed 316-byte record of network files. Reading rejects an unknown node type.
    void WriteRecord(TByteWriter& writer) const;
    void ReadRecord(TByteReader& reader);

    std::string Name;
    TNodeType NodeType = TNodeType::NotSet;
    double Elevation_m = 0.0;
    double SurfacePressure_bar_g = 0.0;  // tank surface pressure, or the end pressure of a demand-pressure node
    double LiquidLevel_m = 0.0;          // above the tank bottom
    double Pressure_FluidHead_m = 0.0;   // result: gauge pressure in metres of fluid
    bool IsPressureSet = false;          // result: the solver has fixed this node's pressure
    double JointSupply_m3s = 0.0;
    double JointDischarge_m3s = 0.0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Reserved = 0;
    // (0, 0) means the drawing has not placed the name label yet.
    std::int32_t NameLabelOffsetX = 0;
    std::int32_t NameLabelOffsetY = 0;
    std::int32_t DemandInLabelOffsetX = DefaultDemandInLabelOffsetX;
    std::int32_t DemandInLabelOffsetY = DefaultDemandInLabelOffsetY;
    std::int32_t DemandOutLabelOffsetX = DefaultDemandOutLabelOffsetX;
    std::int32_t DemandOutLabelOffsetY = DefaultDemandOutLabelOffsetY;
    std::int32_t Symbol = 0;
    std::int32_t Colour = DefaultColour;
    std::vector<std::string> Notes;

    // Run-time selection state of the editor; never saved.
    bool Selected = false;
    std::int32_t SelectStartX = 0;
    std::int32_t SelectStartY = 0;
};
