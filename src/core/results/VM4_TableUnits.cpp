#include "results/VM4_TableUnits.h"

#include "foundations/VM4_Units.h"
#include "model/VM4_Fluid_Class.h"
#include "model/VM4_NetworkSettings_Class.h"

TTableUnits::TTableUnits(const TNetworkSettings& settings, const TFluid& fluid) : settings_(settings), fluid_(fluid) {}

double TTableUnits::pressure(int fromUnit, int toUnit, double x) const {
    return convertPressure(fromUnit, toUnit, x, settings_.AtmosphericPressure, fluid_.Density_kg_m3);
}

// A change converts without the offset of an absolute unit: p(x) - p(0).
double TTableUnits::pressureChange(int fromUnit, int toUnit, double change) const {
    return pressure(fromUnit, toUnit, change) - pressure(fromUnit, toUnit, 0.0);
}

std::string TTableUnits::Diameter(double x_m) const {
    return convertUnitsToDisplayText(UNIT_M, settings_.DiameterUnit, x_m);
}

std::string TTableUnits::Roughness(double x_m) const {
    return convertUnitsToDisplayText(UNIT_M, settings_.RoughnessUnit, x_m);
}

std::string TTableUnits::Roughness(double x_m, int decimals) const {
    return convertUnitsToText(UNIT_M, settings_.RoughnessUnit, decimals, x_m);
}

std::string TTableUnits::Length(double x_m) const {
    return convertUnitsToDisplayText(UNIT_M, settings_.LengthUnit, x_m);
}

std::string TTableUnits::Elevation(double x_m) const {
    return convertUnitsToDisplayText(UNIT_M, settings_.ElevationUnit, x_m);
}

std::string TTableUnits::LiquidLevel(double x_m) const {
    return convertUnitsToDisplayText(UNIT_M, settings_.LiquidLevelUnit, x_m);
}

std::string TTableUnits::Flow(double x_m3s) const {
    return convertUnitsToDisplayText(UNIT_M3_SEC, settings_.FlowRateUnit, x_m3s);
}

std::string TTableUnits::Velocity(double x_ms) const {
    return convertUnitsToDisplayText(UNIT_M_SEC, settings_.VelocityUnit, x_ms);
}

// kg/sec = m³/sec x kg/m³
std::string TTableUnits::MassFlow(double flow_m3s, int decimals) const {
    const int massFlowUnit = massFlowUnitFor(settings_.WeightUnit, settings_.FlowRateUnit);
    return convertFlowToText(UNIT_M3_SEC, massFlowUnit, decimals, flow_m3s, fluid_.Density_kg_m3);
}

std::string TTableUnits::Weight(double x_kg) const {
    return convertUnitsToDisplayText(UNIT_KGS, settings_.WeightUnit, x_kg);
}

std::string TTableUnits::Area(double x_m2) const { return convertUnitsToDisplayText(UNIT_M2, settings_.AreaUnit, x_m2); }

std::string TTableUnits::Volume(double x_m3) const {
    return convertUnitsToDisplayText(UNIT_M3, settings_.VolumeUnit, x_m3);
}

std::string TTableUnits::Temperature(double x_K) const {
    return convertUnitsToDisplayText(UNIT_DEG_K, settings_.TemperatureUnit, x_K);
}

std::string TTableUnits::Density(double x_kgm3) const {
    return convertUnitsToDisplayText(UNIT_KG_M3, settings_.DensityUnit, x_kgm3);
}

std::string TTableUnits::FluidPressureFromHead(double head_m) const {
    return formatInUnit(settings_.FluidPressureUnit, pressure(UNIT_M_HD, settings_.FluidPressureUnit, head_m));
}

// Both pressures are converted before subtracting, so the difference is the
// one the two shown values give.
std::string TTableUnits::FluidPressureDifferenceFromHeads(double headA_m, double headB_m) const {
    const int unit = settings_.FluidPressureUnit;
    return formatInUnit(unit, pressure(UNIT_M_HD, unit, headA_m) - pressure(UNIT_M_HD, unit, headB_m));
}

std::string TTableUnits::LossFromHead(double head_m) const {
    return LossFromHead(head_m, unitDecimals(settings_.PressureLossUnit));
}

std::string TTableUnits::LossFromHead(double head_m, int decimals) const {
    return formatFixed(decimals, pressureChange(UNIT_M_HD, settings_.PressureLossUnit, head_m));
}

std::string TTableUnits::SurfaceLossFromHead(double head_m) const {
    return formatInUnit(settings_.SurfacePressureUnit, pressureChange(UNIT_M_HD, settings_.SurfacePressureUnit, head_m));
}

std::string TTableUnits::SurfacePressure(double x_bar_g) const {
    return formatInUnit(settings_.SurfacePressureUnit, pressure(UNIT_BAR_G, settings_.SurfacePressureUnit, x_bar_g));
}

std::string TTableUnits::AtmospherePressure(double x_bar_a) const {
    return formatInUnit(settings_.AtmosphereUnit, pressure(UNIT_BAR_A, settings_.AtmosphereUnit, x_bar_a));
}

std::string TTableUnits::DiameterUnitName() const { return unitName(settings_.DiameterUnit); }
std::string TTableUnits::RoughnessUnitName() const { return unitName(settings_.RoughnessUnit); }
std::string TTableUnits::LengthUnitName() const { return unitName(settings_.LengthUnit); }
std::string TTableUnits::ElevationUnitName() const { return unitName(settings_.ElevationUnit); }
std::string TTableUnits::LiquidLevelUnitName() const { return unitName(settings_.LiquidLevelUnit); }
std::string TTableUnits::FlowUnitName() const { return unitName(settings_.FlowRateUnit); }
std::string TTableUnits::VelocityUnitName() const { return unitName(settings_.VelocityUnit); }
std::string TTableUnits::MassFlowUnitName() const {
    return unitName(massFlowUnitFor(settings_.WeightUnit, settings_.FlowRateUnit));
}
std::string TTableUnits::WeightUnitName() const { return unitName(settings_.WeightUnit); }
std::string TTableUnits::AreaUnitName() const { return unitName(settings_.AreaUnit); }
std::string TTableUnits::VolumeUnitName() const { return unitName(settings_.VolumeUnit); }
std::string TTableUnits::TemperatureUnitName() const { return unitName(settings_.TemperatureUnit); }
std::string TTableUnits::DensityUnitName() const { return unitName(settings_.DensityUnit); }
std::string TTableUnits::FluidPressureUnitName() const { return unitName(settings_.FluidPressureUnit); }
std::string TTableUnits::LossUnitName() const { return unitName(settings_.PressureLossUnit); }
std::string TTableUnits::LossUnitShortName() const { return unitShortName(settings_.PressureLossUnit); }
std::string TTableUnits::SurfacePressureUnitName() const { return unitName(settings_.SurfacePressureUnit); }
std::string TTableUnits::AtmosphereUnitName() const { return unitName(settings_.AtmosphereUnit); }
