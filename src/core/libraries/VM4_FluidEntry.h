#pragma once

#include <string>

#include "model/VM4_Fluid_Class.h"

// A fluid as the user typed it in the fluid manager, in its display units:
// metric °C, bar g, kg/m³, centipoise and kPa absolute; imperial °F, psi g,
// lb/ft³, centipoise and psi absolute.
struct TFluidEntryTexts {
    std::string Name;
    std::string Formula;
    std::string Temperature;
    std::string Pressure;
    std::string Density;
    std::string Viscosity;
    std::string VapourPressure;
    bool IsGas = false;
};

// The fluid read from the texts, or the message that refuses them.
struct TFluidEntry {
    bool Valid = false;
    std::string Message;
    TFluid Fluid;
};

// The network's fluid ("Save"): a name, a temperature (not below absolute
// zero), a pressure not below zero, density and viscosity above zero; a vapour
// pressure that is not a number (such as "N/A") counts as 0.
TFluidEntry ReadNetworkFluidEntry(const TFluidEntryTexts& texts, bool metric);
// A new database fluid ("Add  new entry"): the same, but the pressure may be
// negative (a vacuum), and a refusal names the first value at fault.
TFluidEntry ReadDatabaseFluidEntry(const TFluidEntryTexts& texts, bool metric);

// The display units of the fluid manager.
int FluidTemperatureUnit(bool metric);
int FluidPressureUnit(bool metric);
int FluidDensityUnit(bool metric);
int FluidVapourPressureUnit(bool metric);
