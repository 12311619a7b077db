#pragma once

#include <string>

class TFluid;
class TNetworkSettings;

// Values of the model (SI, pressures bar gauge, heads metres of fluid) as the
// result and data tables show them: converted to the unit the network's
// settings choose for the quantity and printed with that unit's decimals,
// unless a number of decimals is given.
//
// Pressure losses and differences are changes, not levels: they are converted
// as the difference of two converted values, so that an absolute display unit
// does not add the atmospheric pressure to a loss.
class TTableUnits {
public:
    TTableUnits(const TNetworkSettings& settings, const TFluid& fluid);

    std::string Diameter(double x_m) const;
    std::string Roughness(double x_m) const;
    std::string Roughness(double x_m, int decimals) const;
    std::string Length(double x_m) const;
    std::string Elevation(double x_m) const;
    std::string LiquidLevel(double x_m) const;
    std::string Flow(double x_m3s) const;
    std::string Velocity(double x_ms) const;
    // Density x volume flow, in the mass flow unit that goes with the weight and flow units.
    std::string MassFlow(double flow_m3s, int decimals) const;
    std::string Weight(double x_kg) const;
    std::string Area(double x_m2) const;
    std::string Volume(double x_m3) const;
    std::string Temperature(double x_K) const;
    std::string Density(double x_kgm3) const;

    // A gauge pressure given in metres of fluid, in the fluid-pressure unit.
    std::string FluidPressureFromHead(double head_m) const;
    // Head a minus head b, as a difference in the fluid-pressure unit.
    std::string FluidPressureDifferenceFromHeads(double headA_m, double headB_m) const;
    // A loss or head in metres of fluid, in the pressure-loss unit.
    std::string LossFromHead(double head_m) const;
    std::string LossFromHead(double head_m, int decimals) const;
    // The same loss in the surface-pressure unit.
    std::string SurfaceLossFromHead(double head_m) const;
    // A gauge pressure in the surface-pressure unit.
    std::string SurfacePressure(double x_bar_g) const;
    // An absolute pressure in the atmosphere unit.
    std::string AtmospherePressure(double x_bar_a) const;

    // Names for the units rows.
    std::string DiameterUnitName() const;
    std::string RoughnessUnitName() const;
    std::string LengthUnitName() const;
    std::string ElevationUnitName() const;
    std::string LiquidLevelUnitName() const;
    std::string FlowUnitName() const;
    std::string VelocityUnitName() const;
    std::string MassFlowUnitName() const;
    std::string WeightUnitName() const;
    std::string AreaUnitName() const;
    std::string VolumeUnitName() const;
    std::string TemperatureUnitName() const;
    std::string DensityUnitName() const;
    std::string FluidPressureUnitName() const;
    std::string LossUnitName() const;
    std::string LossUnitShortName() const;
    std::string SurfacePressureUnitName() const;
    std::string AtmosphereUnitName() const;

private:
    double pressure(int fromUnit, int toUnit, double x) const;
    double pressureChange(int fromUnit, int toUnit, double change) const;

    const TNetworkSettings& settings_;
    const TFluid& fluid_;
};
