#include "model/VM4_Node_Class.h"

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"

namespace {

constexpr const char* kNodeTypeNames[] = {"Join Point", "Tank", "Demand Pressure", ""};

constexpr std::uint8_t kHighestNodeType = static_cast<std::uint8_t>(TNodeType::NotSet);

// An unknown type would index past the type tables of the drawing and the result tables.
TNodeType readNodeType(TByteReader& reader) {
    const std::size_t typeOffset = reader.Offset();
    const std::uint8_t nodeType = reader.ReadByte();
    if (nodeType > kHighestNodeType) {
        throw EStreamFormatError("node type " + std::to_string(nodeType) + " is not 0..3 at byte " +
                                 std::to_string(typeOffset));
    }
    return static_cast<TNodeType>(nodeType);
}

}  // namespace

const char* NodeTypeName(TNodeType nodeType) { return kNodeTypeNames[static_cast<std::uint8_t>(nodeType)]; }

TNode::TNode() { Clear(); }

void TNode::Clear() {
    NodeType = TNodeType::NotSet;
    Elevation_m = 0.0;
    SurfacePressure_bar_g = 0.0;
    LiquidLevel_m = 0.0;
    Pressure_FluidHead_m = 0.0;
    IsPressureSet = false;
    JointSupply_m3s = 0.0;
    JointDischarge_m3s = 0.0;
    X = 0;
    Y = 0;
    Reserved = 0;
    NameLabelOffsetX = 0;
    NameLabelOffsetY = 0;
    DemandInLabelOffsetX = DefaultDemandInLabelOffsetX;
    DemandInLabelOffsetY = DefaultDemandInLabelOffsetY;
    DemandOutLabelOffsetX = DefaultDemandOutLabelOffsetX;
    DemandOutLabelOffsetY = DefaultDemandOutLabelOffsetY;
    Symbol = 0;
    Colour = DefaultColour;
    Notes.clear();
    Selected = false;
    SelectStartX = 0;
    SelectStartY = 0;
}

void TNode::SetName(const std::string& name) { Name = CutToCapacity(name, NameCapacity); }

double TNode::getSurfacePlusLiquidPressure_mHd_Fluid(double atmosphericPressure_bar_a, double density_kg_m3) const {
    // h = p * 100000 / (rho * g) + level, the gauge pressure as a column of the system's fluid
    return convertPressure(UNIT_BAR_G, UNIT_M_HD, SurfacePressure_bar_g, atmosphericPressure_bar_a,
                           density_kg_m3) +
           LiquidLevel_m;
}

double TNode::getPressure_mHd_Fluid(double atmosphericPressure_bar_a, double density_kg_m3) const {
    return getSurfacePlusLiquidPressure_mHd_Fluid(atmosphericPressure_bar_a, density_kg_m3) + Elevation_m;
}

void TNode::Copy(const TNode& source) {
    // The name and the demand label offsets belong to the slot, not to the data copied into it.
    const std::string ownName = Name;
    const std::int32_t ownInX = DemandInLabelOffsetX;
    const std::int32_t ownInY = DemandInLabelOffsetY;
    const std::int32_t ownOutX = DemandOutLabelOffsetX;
    const std::int32_t ownOutY = DemandOutLabelOffsetY;
    *this = source;
    Name = ownName;
    DemandInLabelOffsetX = ownInX;
    DemandInLabelOffsetY = ownInY;
    DemandOutLabelOffsetX = ownOutX;
    DemandOutLabelOffsetY = ownOutY;
}

void TNode::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(Name, NameCapacity);
    writer.WriteByte(static_cast<std::uint8_t>(NodeType));
    writer.WriteDouble(JointSupply_m3s);
    writer.WriteDouble(JointDischarge_m3s);
    writer.WriteDouble(Elevation_m);
    writer.WriteDouble(SurfacePressure_bar_g);
    writer.WriteDouble(LiquidLevel_m);
    writer.WriteDouble(Pressure_FluidHead_m);
    writer.WriteBool(IsPressureSet);
    for (const std::int32_t value : {X, Y, Reserved, NameLabelOffsetX, NameLabelOffsetY, DemandInLabelOffsetX,
                                     DemandInLabelOffsetY, DemandOutLabelOffsetX, DemandOutLabelOffsetY, Symbol,
                                     Colour}) {
        writer.WriteInt32(value);
    }
    writer.WriteNotes(Notes, NotesCapacity);
}

void TNode::ReadRecord(TByteReader& reader) {
    Name = reader.ReadShortString(NameCapacity);
    NodeType = readNodeType(reader);
    JointSupply_m3s = reader.ReadDouble();
    JointDischarge_m3s = reader.ReadDouble();
    Elevation_m = reader.ReadDouble();
    SurfacePressure_bar_g = reader.ReadDouble();
    LiquidLevel_m = reader.ReadDouble();
    Pressure_FluidHead_m = reader.ReadDouble();
    IsPressureSet = reader.ReadBool();
    for (std::int32_t* field : {&X, &Y, &Reserved, &NameLabelOffsetX, &NameLabelOffsetY, &DemandInLabelOffsetX,
                                &DemandInLabelOffsetY, &DemandOutLabelOffsetX, &DemandOutLabelOffsetY, &Symbol,
                                &Colour}) {
        *field = reader.ReadInt32();
    }
    Notes = reader.ReadNotes(NotesCapacity);
}
