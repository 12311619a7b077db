#include "model/VM4_NetworkSettings_Class.h"

#include <initializer_list>
#include <string>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_Units.h"

using TSettings = TNetworkSettings;

const std::array<std::uint8_t TSettings::*, TSettings::UnitFieldCount> TSettings::UnitFields = {
    &TSettings::AtmosphereUnit,   &TSettings::LengthUnit,          &TSettings::DiameterUnit,
    &TSettings::RoughnessUnit,    &TSettings::FlowRateUnit,        &TSettings::VelocityUnit,
    &TSettings::PressureLossUnit, &TSettings::WeightUnit,          &TSettings::AreaUnit,
    &TSettings::VolumeUnit,       &TSettings::SurfacePressureUnit, &TSettings::LiquidLevelUnit,
    &TSettings::ElevationUnit,    &TSettings::TemperatureUnit,     &TSettings::FluidPressureUnit,
    &TSettings::DensityUnit,
};

const std::array<bool TSettings::*, TSettings::DrawingFlagCount> TSettings::DrawingFlags = {
    &TSettings::ShowPipeId,           &TSettings::ShowPipeName,         &TSettings::ShowPipeDiam,
    &TSettings::ShowPipeLength,       &TSettings::ShowComponentName,    &TSettings::ShowFlowControlName,
    &TSettings::ShowFittingsValves,   &TSettings::ShowFittingsBends,    &TSettings::ShowFittingsKValue,
    &TSettings::ShowPumpName,         &TSettings::ShowPumpDistance,     &TSettings::ShowPumpElevation,
    &TSettings::ShowNodeId,           &TSettings::ShowNodeName,         &TSettings::ShowNodeElevation,
    &TSettings::ShowNodeTankInfo,     &TSettings::ShowFlowRate,         &TSettings::ShowVelocity,
    &TSettings::ShowPipePressureLoss, &TSettings::ShowFittingsNothing,  &TSettings::ShowFittingsPressureLoss,
    &TSettings::ShowPumpNothing,      &TSettings::ShowPumpHead,         &TSettings::ShowPumpNPSHa,
    &TSettings::ShowNodeNothing,      &TSettings::ShowNodePressure,
};

namespace {

struct TUnitPreset {
    std::uint8_t TSettings::*field;
    int metric;
    int imperial;
};

// The presets of the unit systems; the unit summary texts name the same units.
const TUnitPreset kUnitPresets[] = {
    {&TSettings::LengthUnit, UNIT_M, UNIT_FT},
    {&TSettings::DiameterUnit, UNIT_MM, UNIT_INCH},
    {&TSettings::RoughnessUnit, UNIT_MM, UNIT_INCH},
    {&TSettings::FlowRateUnit, UNIT_M3_SEC, UNIT_FT3_SEC},
    {&TSettings::VelocityUnit, UNIT_M_SEC, UNIT_FT_SEC},
    {&TSettings::PressureLossUnit, UNIT_M_HD, UNIT_FT_HD},
    {&TSettings::WeightUnit, UNIT_KGS, UNIT_LBS},
    {&TSettings::AreaUnit, UNIT_M2, UNIT_FT2},
    {&TSettings::VolumeUnit, UNIT_M3, UNIT_FT3},
    {&TSettings::SurfacePressureUnit, UNIT_BAR_G, UNIT_PSI_G},
    {&TSettings::LiquidLevelUnit, UNIT_M, UNIT_FT},
    {&TSettings::ElevationUnit, UNIT_M, UNIT_FT},
    {&TSettings::TemperatureUnit, UNIT_DEG_C, UNIT_DEG_F},
    {&TSettings::FluidPressureUnit, UNIT_BAR_G, UNIT_PSI_G},
    {&TSettings::DensityUnit, UNIT_KG_M3, UNIT_LB_FT3},
};

// Drawing flags that are on by default; all others are off.
constexpr bool TSettings::*kFlagsOnByDefault[] = {
    &TSettings::ShowPipeName,        &TSettings::ShowPipeLength,      &TSettings::ShowComponentName,
    &TSettings::ShowFlowControlName, &TSettings::ShowFittingsValves,  &TSettings::ShowFittingsBends,
    &TSettings::ShowPumpDistance,    &TSettings::ShowNodeName,        &TSettings::ShowNodeElevation,
    &TSettings::ShowNodeTankInfo,    &TSettings::ShowFlowRate,        &TSettings::ShowFittingsNothing,
    &TSettings::ShowPumpNothing,     &TSettings::ShowNodePressure,
};

// What each unit field shows and the kinds of unit that can show it, in record
// order. Pressures may be shown as gauge or absolute values, in pressure or head
// units; a loss is a difference, so never absolute.
struct TUnitFieldRule {
    const char* Quantity;
    std::initializer_list<TUnitKind> Kinds;
};

const std::array<TUnitFieldRule, TSettings::UnitFieldCount> kUnitFieldRules = {{
    {"atmospheric pressure", {TUnitKind::AbsolutePressure, TUnitKind::AbsoluteFluidHead}},
    {"length", {TUnitKind::Length}},
    {"diameter", {TUnitKind::Length}},
    {"roughness", {TUnitKind::Length}},
    {"flow rate", {TUnitKind::Flow, TUnitKind::MassFlow}},
    {"velocity", {TUnitKind::Velocity}},
    {"pressure loss", {TUnitKind::Pressure, TUnitKind::FluidHead}},
    {"weight", {TUnitKind::Weight}},
    {"area", {TUnitKind::Area}},
    {"volume", {TUnitKind::Volume}},
    {"surface pressure",
     {TUnitKind::Pressure, TUnitKind::FluidHead, TUnitKind::AbsolutePressure, TUnitKind::AbsoluteFluidHead}},
    {"liquid level", {TUnitKind::Length}},
    {"elevation", {TUnitKind::Length}},
    {"temperature", {TUnitKind::Temperature}},
    {"fluid pressure",
     {TUnitKind::Pressure, TUnitKind::FluidHead, TUnitKind::AbsolutePressure, TUnitKind::AbsoluteFluidHead}},
    {"density", {TUnitKind::Density}},
}};

// A unit index outside the table, or of another quantity's kind, would make
// every display of that quantity fail.
std::uint8_t readUnitIndex(TByteReader& reader, std::size_t fieldIndex) {
    const std::size_t unitOffset = reader.Offset();
    const std::uint8_t unit = reader.ReadByte();
    if (unit >= UNIT_COUNT) {
        throw EStreamFormatError("unit index " + std::to_string(unit) + " is not 0.." +
                                 std::to_string(UNIT_COUNT - 1) + " at byte " + std::to_string(unitOffset));
    }
    if (!TSettings::UnitFitsField(fieldIndex, unit)) {
        throw EStreamFormatError("unit index " + std::to_string(unit) + " (" + unitName(unit) + ") is not a unit of " +
                                 TSettings::UnitFieldQuantity(fieldIndex) + " at byte " + std::to_string(unitOffset));
    }
    return unit;
}

}  // namespace

TSettings::TNetworkSettings() { Clear(); }

const char* TSettings::UnitFieldQuantity(std::size_t fieldIndex) { return kUnitFieldRules.at(fieldIndex).Quantity; }

bool TSettings::UnitFitsField(std::size_t fieldIndex, std::uint8_t unit) {
    if (!isUnitIndex(unit)) return false;
    const TUnitKind kind = unitKind(unit);
    for (const TUnitKind allowed : kUnitFieldRules.at(fieldIndex).Kinds) {
        if (kind == allowed) return true;
    }
    return false;
}

std::size_t TSettings::FirstMisfitUnitField() const {
    for (std::size_t field = 0; field < UnitFieldCount; ++field) {
        if (!UnitFitsField(field, this->*UnitFields[field])) return field;
    }
    return UnitFieldCount;
}

void TSettings::Clear() {
    GaugePressure = true;
    AtmosphericPressure = DefaultAtmosphericPressure_bar_a;
    AtmosphereUnit = UNIT_BAR_A;
    SetMetricUnits();
    ResetDrawingFlags();
    ResetCalculationOptions();
}

void TSettings::SetMetricUnits() {
    for (const TUnitPreset& preset : kUnitPresets) this->*preset.field = static_cast<std::uint8_t>(preset.metric);
}

void TSettings::SetImperialUnits() {
    for (const TUnitPreset& preset : kUnitPresets) this->*preset.field = static_cast<std::uint8_t>(preset.imperial);
}

void TSettings::ResetDrawingFlags() {
    for (bool TSettings::*flag : DrawingFlags) this->*flag = false;
    for (bool TSettings::*flag : kFlagsOnByDefault) this->*flag = true;
}

void TSettings::ResetCalculationOptions() {
    FlowBalancingTolerance = 1e-6;
    PressureBalancingToleranceApprox = 0.2;
    PressureBalancingToleranceFinal = 1e-5;
    MaxIterationsApproxSolution = 200;
    MaxIterationsFinalSolution = 5000;
    DeltaQReductionFactor = 0.1;
    MinVelocityDischarge = 0.1;
    MaxVelocityDischarge = 50.0;
    LiquidHighVelocity = 5.0;
    GasHighVelocity = 20.0;
}

void TSettings::WriteRecord(TByteWriter& writer) const {
    writer.WriteBool(GaugePressure);
    writer.WriteDouble(AtmosphericPressure);
    for (std::uint8_t TSettings::*unit : UnitFields) writer.WriteByte(this->*unit);
    for (bool TSettings::*flag : DrawingFlags) writer.WriteBool(this->*flag);
    writer.WriteDouble(FlowBalancingTolerance);
    writer.WriteDouble(PressureBalancingToleranceApprox);
    writer.WriteDouble(PressureBalancingToleranceFinal);
    writer.WriteInt32(MaxIterationsApproxSolution);
    writer.WriteInt32(MaxIterationsFinalSolution);
    writer.WriteDouble(DeltaQReductionFactor);
    writer.WriteDouble(MinVelocityDischarge);
    writer.WriteDouble(MaxVelocityDischarge);
    writer.WriteDouble(LiquidHighVelocity);
    writer.WriteDouble(GasHighVelocity);
}

void TSettings::ReadRecord(TByteReader& reader) {
    GaugePressure = reader.ReadBool();
    AtmosphericPressure = reader.ReadDouble();
    for (std::size_t field = 0; field < UnitFieldCount; ++field) this->*UnitFields[field] = readUnitIndex(reader, field);
    for (bool TSettings::*flag : DrawingFlags) this->*flag = reader.ReadBool();
    FlowBalancingTolerance = reader.ReadDouble();
    PressureBalancingToleranceApprox = reader.ReadDouble();
    PressureBalancingToleranceFinal = reader.ReadDouble();
    MaxIterationsApproxSolution = reader.ReadInt32();
    MaxIterationsFinalSolution = reader.ReadInt32();
    DeltaQReductionFactor = reader.ReadDouble();
    MinVelocityDischarge = reader.ReadDouble();
    MaxVelocityDischarge = reader.ReadDouble();
    LiquidHighVelocity = reader.ReadDouble();
    GasHighVelocity = reader.ReadDouble();
}
