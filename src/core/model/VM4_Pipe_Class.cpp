#include "model/VM4_Pipe_Class.h"

#include <cmath>
#include <numbers>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_Calculations.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Fluid_Class.h"

namespace {

const char* const kRemovePumpFailed = "TPipe.RemovePump Failed: Pipe May not have contained a pump";
const char* const kDiameterDataLoadFailed =
    "TPipeClass.DiameterDataLoadFromText Failed: String format may not be correct";

// Velocities beyond this are a diverging solve, not a flow.
constexpr double kTooLargeVelocity_ms = 1e30;
constexpr double kTooLargeFrictionLoss_mHd = 1e24;
// At or below this the pipe is taken as still.
constexpr double kStillVelocity_ms = 1e-10;

constexpr std::size_t kDiameterFieldCount = 8;
constexpr int kRoughnessDecimals = 6;
constexpr int kSizeDecimals = 3;

const TPipe& clearedPipe() {
    static const TPipe cleared;
    return cleared;
}

std::string trimmedBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

double diameterDecimalOrThrow(const std::string& field) {
    const auto parsed = ParseDecimalText(trimmedBlanks(field), true, true);
    if (!parsed.Valid) throw EPipeClass(kDiameterDataLoadFailed);
    return parsed.Value;
}

std::int32_t diameterIntegerOrThrow(const std::string& field) {
    const auto parsed = ParseIntegerText(trimmedBlanks(field), true, true);
    if (!parsed.Valid) throw EPipeClass(kDiameterDataLoadFailed);
    return parsed.Value;
}

// Presence flags are int32 in the record; anything above 0 counts as present.
bool readPresenceFlag(TByteReader& reader) { return reader.ReadInt32() > 0; }

void writePresenceFlag(TByteWriter& writer, bool present) { writer.WriteInt32(present ? 1 : 0); }

}  // namespace

void TPipe::Clear() { *this = clearedPipe(); }

void TPipe::Copy(const TPipe& source) {
    if (&source == this) return;
    // Run-time and drawing state that belongs to this slot, not to the data copied in.
    const bool flowGuessSet = FlowGuessSet;
    const double labelPositionPercent = LabelPositionPercent;
    const std::int32_t labelX = LabelX;
    const std::int32_t labelY = LabelY;
    const std::int32_t fittingsX = FittingsX;
    const std::int32_t fittingsY = FittingsY;
    const double componentLoss = ComponentLoss_mHd_Fluid;
    const double flowControlLoss = FlowControlLoss_mHd_Fluid;
    const double pumpNPSHr = PumpNPSHr_mHd_Fluid;
    const double totalPressureLoss = TotalPressureLoss_mHd_Fluid;
    *this = source;
    FlowGuessSet = flowGuessSet;
    LabelPositionPercent = labelPositionPercent;
    LabelX = labelX;
    LabelY = labelY;
    FittingsX = fittingsX;
    FittingsY = fittingsY;
    ComponentLoss_mHd_Fluid = componentLoss;
    FlowControlLoss_mHd_Fluid = flowControlLoss;
    PumpNPSHr_mHd_Fluid = pumpNPSHr;
    TotalPressureLoss_mHd_Fluid = totalPressureLoss;
}

void TPipe::CalcPipeInfo(const TFluid& fluid) {
    FlowCorrectionFactor = 1.0;
    // V = F Q / (pi D^2 / 4), 0 for D <= 0
    VelocityAtFlowGuess_ms = CalcVelocity(FlowGuessUncompressed_m3s, InnerDiameter_m, FlowCorrectionFactor);
    Velocity_ms = CalcVelocity(FlowUncompressed_m3s, InnerDiameter_m, FlowCorrectionFactor);
    calcFrictionAtVelocity(fluid);
    // total = friction + fittings + component - pump head
    TotalPressureLoss_mHd_Fluid = PipeFrictionLoss_mHd_Fluid + calcItemLosses(fluid);
}

void TPipe::calcFrictionAtVelocity(const TFluid& fluid) {
    if (std::fabs(Velocity_ms) > kTooLargeVelocity_ms) {
        ReynoldsNumber = 0.0;
        FrictionFactor = 0.0;
        FlowType = kFlowTypeTooLarge;
        PipeFrictionLoss_mHd_Fluid = kTooLargeFrictionLoss_mHd;
    } else if (std::fabs(Velocity_ms) <= kStillVelocity_ms) {
        ReynoldsNumber = 0.0;
        FrictionFactor = 0.0;
        FlowType = kFlowTypeNone;
        PipeFrictionLoss_mHd_Fluid = 0.0;
    } else {
        // Re = |V D rho / (mu / 1000) / F|
        ReynoldsNumber = CalcReynoldsNumber(Velocity_ms, InnerDiameter_m, fluid.Density_kg_m3,
                                            fluid.DynamicViscosity_cP, FlowCorrectionFactor);
        FrictionFactor = CalcFrictionFactor(ReynoldsNumber, InnerDiameter_m, InnerRoughness_m);
        FlowType = CalcFlowType(ReynoldsNumber);
        // h = f L/D V^2 / 2g, signed like V
        PipeFrictionLoss_mHd_Fluid = CalcFrictionLoss_mHd(Velocity_ms, InnerDiameter_m, Length_m, FrictionFactor);
    }
}

// Fittings and component losses less the pump head, each only while its item
// is on the pipe and switched on.
double TPipe::calcItemLosses(const TFluid& fluid) {
    const double density = fluid.Density_kg_m3;
    FittingsLoss_mHd_Fluid = 0.0;
    if (Fittings.Count() > 0 && CalcFittings) {
        // h = K_total V^2 / 2g, signed like V
        FittingsLoss_mHd_Fluid = CalcFittingLoss_mHd(Velocity_ms, Fittings.CalculateTotal_KValue());
    }
    ComponentLoss_mHd_Fluid = 0.0;
    if (HasComponentPressure && CalcComponentPressure) {
        ComponentLoss_mHd_Fluid = ComponentPressure.calcLoss_mHd_Fluid(FlowUncompressed_m3s, density);
    }
    FlowControlLoss_bar = 0.0;
    PumpHead_mHd_Fluid = 0.0;
    PumpNPSHr_mHd_Fluid = 0.0;
    if (HasPump && CalcPump) {
        PumpHead_mHd_Fluid = Pump.calcPumpHead_mHd_Fluid(FlowUncompressed_m3s, density);
        PumpNPSHr_mHd_Fluid = Pump.calcPumpNPSHr_mHd_Fluid(FlowUncompressed_m3s, density);
    }
    return FittingsLoss_mHd_Fluid + ComponentLoss_mHd_Fluid - PumpHead_mHd_Fluid;
}

double TPipe::InternalVolume_m3_m() const { return std::numbers::pi * InnerDiameter_m * InnerDiameter_m / 4.0; }

double TPipe::SurfaceArea_m2_m() const { return std::numbers::pi * OuterDiameter_m; }

void TPipe::RemovePump() {
    if (!HasPump) throw EPipeClass(kRemovePumpFailed);
    HasPump = false;
    Pump.Clear();
}

void TPipe::RemoveComponentPressure() {
    if (!HasComponentPressure) return;
    HasComponentPressure = false;
    ComponentPressure.Clear();
}

void TPipe::RemoveFlowControl() {
    FlowControlName.clear();
    FlowControlSetFlow_m3s = 0.0;
    FlowControlPositionPercent = 0.0;
    HasFlowControl = false;
}

std::string TPipe::GetPipeNameSizeString() const { return Name + ", " + Material + ", " + NominalSize + " "; }

void TPipe::SaveDiameterDataToText(std::ostream& out) const {
    WriteRecordLine(
        out, JoinRecordFields({
                 Material,
                 Schedule,
                 FormatFileDecimal(convertUnits(UNIT_M, UNIT_INCH, InnerRoughness_m), kRoughnessDecimals),
                 std::to_string(SizeClass),
                 NominalSize,
                 FormatFileDecimal(convertUnits(UNIT_M, UNIT_INCH, WallThickness_m), kSizeDecimals),
                 FormatFileDecimal(convertUnits(UNIT_M, UNIT_INCH, OuterDiameter_m), kSizeDecimals),
                 FormatFileDecimal(convertUnits(UNIT_KGS_M, UNIT_LBS_FT, WeightPerLength_kg_m), kSizeDecimals),
             }));
}

void TPipe::LoadDiameterDataFromText(std::istream& in, const std::string& sourceName) {
    std::string line;
    if (!ReadRecordLine(in, line)) throw EPipeClass(kDiameterDataLoadFailed);
    LoadDiameterDataFromTextLine(line, sourceName);
}

void TPipe::LoadDiameterDataFromTextLine(const std::string& line, const std::string& sourceName) {
    // The weight runs to the end of the line.
    const std::vector<std::string> fields = SplitRecordFields(line, kDiameterFieldCount);
    if (fields.size() != kDiameterFieldCount) throw EPipeClass(kDiameterDataLoadFailed);
    const double roughness_m = convertUnits(UNIT_INCH, UNIT_M, diameterDecimalOrThrow(fields[2]));
    const std::int32_t sizeClass = diameterIntegerOrThrow(fields[3]);
    const double wallThickness_m = convertUnits(UNIT_INCH, UNIT_M, diameterDecimalOrThrow(fields[5]));
    const double outerDiameter_m = convertUnits(UNIT_INCH, UNIT_M, diameterDecimalOrThrow(fields[6]));
    const double weight_kg_m = convertUnits(UNIT_LBS_FT, UNIT_KGS_M, diameterDecimalOrThrow(fields[7]));
    Material = CutToCapacity(fields[0], kMaterialCapacity);
    Schedule = CutToCapacity(fields[1], kScheduleCapacity);
    InnerRoughness_m = roughness_m;
    SizeClass = sizeClass;
    NominalSize = CutToCapacity(fields[4], kNominalSizeCapacity);
    WallThickness_m = wallThickness_m;
    OuterDiameter_m = outerDiameter_m;
    WeightPerLength_kg_m = weight_kg_m;
    // The bore is not in the table: D = D_outer - 2 wall
    InnerDiameter_m = outerDiameter_m - 2.0 * wallThickness_m;
    DiameterDataFileName = CutToCapacity(sourceName, kDiameterDataFileNameCapacity);
}

std::size_t TPipe::RecordSize() const {
    return kRecordSizeWithoutFittings + static_cast<std::size_t>(Fittings.Count()) * kRecordSizePerFitting;
}

void TPipe::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(Name, kNameCapacity);
    writer.WriteDouble(Length_m);
    writer.WriteDouble(InnerDiameter_m);
    writer.WriteDouble(InnerRoughness_m);
    writer.WriteShortString(Material, kMaterialCapacity);
    writer.WriteInt32(SizeClass);
    writer.WriteShortString(NominalSize, kNominalSizeCapacity);
    writer.WriteShortString(SpareText, kSpareTextCapacity);
    writer.WriteShortString(Schedule, kScheduleCapacity);
    writer.WriteDouble(OuterDiameter_m);
    writer.WriteDouble(WallThickness_m);
    writer.WriteDouble(WeightPerLength_kg_m);
    writer.WriteShortString(DiameterDataFileName, kDiameterDataFileNameCapacity);
    writer.WriteDouble(LabelPositionPercent);
    writer.WriteInt32(LabelX);
    writer.WriteInt32(LabelY);
    writer.WriteDouble(FlowCorrectionFactor);
    writer.WriteDouble(FlowUncompressed_m3s);
    writer.WriteBool(CalcFittings);
    Fittings.WriteRecord(writer);
    writer.WriteDouble(FittingsPositionPercent);
    writer.WriteInt32(FittingsX);
    writer.WriteInt32(FittingsY);
    writePresenceFlag(writer, HasComponentPressure);
    writer.WriteBool(CalcComponentPressure);
    // The component's name stands twice: alone, then at the start of its record.
    writer.WriteShortString(ComponentPressure.Name(), TComponentPressure::NameCapacity);
    ComponentPressure.WriteRecord(writer);
    writer.WriteDouble(ComponentPositionPercent);
    writer.WriteInt32(ComponentX);
    writer.WriteInt32(ComponentY);
    writePresenceFlag(writer, HasFlowControl);
    writer.WriteBool(CalcFlowControl);
    writer.WriteShortString(FlowControlName, kFlowControlNameCapacity);
    writer.WriteDouble(FlowControlSetFlow_m3s);
    writer.WriteDouble(FlowControlPositionPercent);
    writer.WriteInt32(FlowControlX);
    writer.WriteInt32(FlowControlY);
    writePresenceFlag(writer, HasPump);
    writer.WriteBool(CalcPump);
    Pump.WriteRecord(writer);
    writer.WriteDouble(PumpDistanceFromStart_m);
    writer.WriteDouble(PumpPositionPercent);
    writer.WriteDouble(PumpElevation_m);
    writer.WriteDouble(Velocity_ms);
    writer.WriteDouble(ReynoldsNumber);
    writer.WriteShortString(FlowType, kFlowTypeCapacity);
    writer.WriteDouble(PipeFrictionLoss_mHd_Fluid);
    writer.WriteDouble(FittingsLoss_mHd_Fluid);
    writer.WriteNotes(Notes, kNotesCapacity);
}

void TPipe::ReadRecord(TByteReader& reader) {
    TPipe loaded(*this);
    loaded.Name = reader.ReadShortString(kNameCapacity);
    loaded.Length_m = reader.ReadDouble();
    loaded.InnerDiameter_m = reader.ReadDouble();
    loaded.InnerRoughness_m = reader.ReadDouble();
    loaded.Material = reader.ReadShortString(kMaterialCapacity);
    loaded.SizeClass = reader.ReadInt32();
    loaded.NominalSize = reader.ReadShortString(kNominalSizeCapacity);
    loaded.SpareText = reader.ReadShortString(kSpareTextCapacity);
    loaded.Schedule = reader.ReadShortString(kScheduleCapacity);
    loaded.OuterDiameter_m = reader.ReadDouble();
    loaded.WallThickness_m = reader.ReadDouble();
    loaded.WeightPerLength_kg_m = reader.ReadDouble();
    loaded.DiameterDataFileName = reader.ReadShortString(kDiameterDataFileNameCapacity);
    loaded.LabelPositionPercent = reader.ReadDouble();
    loaded.LabelX = reader.ReadInt32();
    loaded.LabelY = reader.ReadInt32();
    loaded.FlowCorrectionFactor = reader.ReadDouble();
    loaded.FlowUncompressed_m3s = reader.ReadDouble();
    loaded.CalcFittings = reader.ReadBool();
    loaded.Fittings.ReadRecord(reader);
    loaded.FittingsPositionPercent = reader.ReadDouble();
    loaded.FittingsX = reader.ReadInt32();
    loaded.FittingsY = reader.ReadInt32();
    loaded.HasComponentPressure = readPresenceFlag(reader);
    loaded.CalcComponentPressure = reader.ReadBool();
    // The copy of the component's name is checked like any text and then
    // ignored: the component record carries the name itself.
    reader.ReadShortString(TComponentPressure::NameCapacity);
    loaded.ComponentPressure.ReadRecord(reader);
    loaded.ComponentPositionPercent = reader.ReadDouble();
    loaded.ComponentX = reader.ReadInt32();
    loaded.ComponentY = reader.ReadInt32();
    loaded.HasFlowControl = readPresenceFlag(reader);
    loaded.CalcFlowControl = reader.ReadBool();
    loaded.FlowControlName = reader.ReadShortString(kFlowControlNameCapacity);
    loaded.FlowControlSetFlow_m3s = reader.ReadDouble();
    loaded.FlowControlPositionPercent = reader.ReadDouble();
    loaded.FlowControlX = reader.ReadInt32();
    loaded.FlowControlY = reader.ReadInt32();
    loaded.HasPump = readPresenceFlag(reader);
    loaded.CalcPump = reader.ReadBool();
    loaded.Pump.ReadRecord(reader);
    loaded.PumpDistanceFromStart_m = reader.ReadDouble();
    loaded.PumpPositionPercent = reader.ReadDouble();
    loaded.PumpElevation_m = reader.ReadDouble();
    loaded.Velocity_ms = reader.ReadDouble();
    loaded.ReynoldsNumber = reader.ReadDouble();
    loaded.FlowType = reader.ReadShortString(kFlowTypeCapacity);
    loaded.PipeFrictionLoss_mHd_Fluid = reader.ReadDouble();
    loaded.FittingsLoss_mHd_Fluid = reader.ReadDouble();
    loaded.Notes = reader.ReadNotes(kNotesCapacity);
    *this = loaded;
}
