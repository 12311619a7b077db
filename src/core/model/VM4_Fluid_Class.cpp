#include "model/VM4_Fluid_Class.h"

#include <cmath>
#include <string>

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_StringGrid.h"
#include "foundations/VM4_Units.h"

namespace {

const char* const kWaterName = "Water";
const char* const kWaterFormula = "H2O";
const char* const kGasText = "Gas";
const char* const kLiquidText = "Liquid";
const char* const kNotApplicableText = "N/A";

constexpr double kWaterTemperature_degC = 20.0;
constexpr double kWaterKinematicViscosity_cSt = 1.0;
constexpr double kWaterDynamicViscosity_cP = 1.002;
constexpr double kWaterDensity_kg_m3 = 998.0;
constexpr double kWaterVapourPressure_bar_a = 0.024;

// Below this a vapour pressure is shown as not applicable.
constexpr double kShownVapourPressureMinimum_bar_a = 0.001;
// Both ends of the vapour pressure conversion are absolute, so any
// atmospheric pressure gives the same result.
constexpr double kReferenceAtmosphere_bar_a = 1.0;

constexpr int kTemperatureDecimals = 1;
constexpr int kPressureDecimals = 3;
constexpr int kDensityDecimals = 3;
constexpr int kViscosityDecimals = 4;
constexpr int kVapourPressureDecimals = 3;

bool isPositiveNumber(double value) { return std::isfinite(value) && value > 0.0; }

double readPositiveDouble(TByteReader& reader, const char* what) {
    TByteReader lookahead = reader;
    const double value = lookahead.ReadDouble();
    if (!isPositiveNumber(value)) reader.Fail(std::string(what) + " must be a positive number");
    reader = lookahead;
    return value;
}

}  // namespace

void TFluid::SetToWater() {
    Name = kWaterName;
    Formula = kWaterFormula;
    Temperature_K = convertUnits(UNIT_DEG_C, UNIT_DEG_K, kWaterTemperature_degC);
    Pressure_bar_g = 0.0;
    KinematicViscosity_cSt = kWaterKinematicViscosity_cSt;
    DynamicViscosity_cP = kWaterDynamicViscosity_cP;
    Density_kg_m3 = kWaterDensity_kg_m3;
    VapourPressure_bar_a = kWaterVapourPressure_bar_a;
    IsGas = false;
    ReservedFactor = 1.0;
}

void TFluid::DisplayOnStringGrid_Metric(IStringGrid& grid, int column, int number, int row) const {
    displayOnStringGrid(grid, column, number, row, {UNIT_DEG_C, UNIT_BAR_G, UNIT_KG_M3, UNIT_KPA_A});
}

void TFluid::DisplayOnStringGrid_Imperial(IStringGrid& grid, int column, int number, int row) const {
    displayOnStringGrid(grid, column, number, row, {UNIT_DEG_F, UNIT_PSI_G, UNIT_LB_FT3, UNIT_PSI_A});
}

void TFluid::displayOnStringGrid(IStringGrid& grid, int column, int number, int row,
                                 const TDisplayUnits& units) const {
    grid.SetCell(column, row, Name);
    grid.SetCell(column + 1, row, Formula);
    grid.SetCell(column + 2, row, convertUnitsToText(UNIT_DEG_K, units.Temperature, kTemperatureDecimals, Temperature_K));
    grid.SetCell(column + 3, row, convertUnitsToText(UNIT_BAR_G, units.Pressure, kPressureDecimals, Pressure_bar_g));
    grid.SetCell(column + 4, row, convertUnitsToText(UNIT_KG_M3, units.Density, kDensityDecimals, Density_kg_m3));
    grid.SetCell(column + 5, row, formatFixed(kViscosityDecimals, DynamicViscosity_cP));
    grid.SetCell(column + 6, row,
                 VapourPressure_bar_a > kShownVapourPressureMinimum_bar_a
                     ? convertPressureWithAtmosphereToText(UNIT_BAR_A, units.VapourPressure, kVapourPressureDecimals,
                                                           VapourPressure_bar_a, kReferenceAtmosphere_bar_a)
                     : kNotApplicableText);
    grid.SetCell(column + 7, row, IsGas ? kGasText : kLiquidText);
    grid.SetCell(column + 8, row, std::to_string(number));
}

void TFluid::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(Name, kNameCapacity);
    writer.WriteShortString(Formula, kFormulaCapacity);
    writer.WriteDouble(Temperature_K);
    writer.WriteDouble(Pressure_bar_g);
    writer.WriteDouble(KinematicViscosity_cSt);
    writer.WriteDouble(DynamicViscosity_cP);
    writer.WriteDouble(Density_kg_m3);
    writer.WriteDouble(VapourPressure_bar_a);
    writer.WriteBool(IsGas);
    writer.WriteDouble(ReservedFactor);
}

void TFluid::ReadRecord(TByteReader& reader) {
    TFluid loaded;
    loaded.Name = reader.ReadShortString(kNameCapacity);
    loaded.Formula = reader.ReadShortString(kFormulaCapacity);
    loaded.Temperature_K = reader.ReadDouble();
    loaded.Pressure_bar_g = reader.ReadDouble();
    loaded.KinematicViscosity_cSt = reader.ReadDouble();
    loaded.DynamicViscosity_cP = readPositiveDouble(reader, "fluid dynamic viscosity");
    loaded.Density_kg_m3 = readPositiveDouble(reader, "fluid density");
    loaded.VapourPressure_bar_a = reader.ReadDouble();
    loaded.IsGas = reader.ReadBool();
    loaded.ReservedFactor = reader.ReadDouble();
    *this = loaded;
}
