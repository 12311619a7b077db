#pragma once

#include <array>
#include <filesystem>
#include <iosfwd>
#include <string>

#include "foundations/VM4_Errors.h"

class IUserMessages;
class TFluid;

// Raised for a gas slot that holds no gas, or conditions outside the range in
// which the gas constants hold.
VELMORA_DECLARE_ERROR(EGasViscosityCalc);

// The constants of one gas from the gas constant file.
struct TGasData {
    std::string Name;
    std::string Formula;
    // Individual (specific) gas constant R = universal gas constant / molar mass.
    double GasConstant_J_kgK = 0.0;
    // Dynamic viscosity mu0 at 273.15 K.
    double ReferenceViscosity_cP = 0.0;
    // Sutherland constant C.
    double SutherlandConstant_K = 0.0;
};

// Density and viscosity of a gas at one temperature and pressure.
struct TGasProperties {
    double Density_kg_m3 = 0.0;
    double DynamicViscosity_cP = 0.0;
    // mu / rho, kept with the result.
    double ViscosityPerDensity = 0.0;
};

// The range in which the calculation is offered (both ends included).
inline constexpr double kGasMinTemperature_C = 0.0;
inline constexpr double kGasMaxTemperature_C = 204.5;
inline constexpr double kGasMinPressure_bar_g = 0.0;
inline constexpr double kGasMaxPressure_bar_g = 35.0;

bool IsGasTemperatureInRange(double temperature_C);
bool IsGasPressureInRange(double pressure_bar_g);

// Ideal-gas density at the absolute pressure (P + 1.01325) bar:
// rho = 101325 / R / (T + 273.15) x (P + 1.01325) / 1.01325.
double CalcGasDensity_kg_m3(double gasConstant_J_kgK, double temperature_C, double pressure_bar_g);

// Sutherland's law referred to 273.15 K, theta = (T + 273.15) / 273.15:
// mu = (C + 273.15) x mu0 / (C + T + 273.15) x theta x sqrt(theta).
double CalcGasViscosity_cP(double referenceViscosity_cP, double sutherlandConstant_K, double temperature_C);

// Both, for a gas whose conditions are in range; raises EGasViscosityCalc otherwise.
TGasProperties CalcGasProperties(const TGasData& gas, double temperature_C, double pressure_bar_g);

// A calculated gas as a fluid of the fluid database: the gas's name and formula,
// the temperature in K, the pressure, the calculated density and viscosity, no
// vapour pressure, marked as a gas; kinematic viscosity mu / rho x 1000.
TFluid GasResultAsFluid(const TGasData& gas, double temperature_C, double pressure_bar_g,
                        const TGasProperties& properties);

// The gas constants read from "vmn_GasConstants.vmgc" (GasCalcDataArray): slots
// 0..100, of which the file may fill at most MaxGasCalcDataArrayCount, in file order.
class TGasConstantTable {
public:
    static constexpr int kSlotCount = 101;
    static constexpr int MaxGasCalcDataArrayCount = 100;
    static constexpr std::size_t kNameCapacity = 80;
    static constexpr std::size_t kFormulaCapacity = 30;

    // Empties every slot.
    void Clear();

    // Reads the gas constant file of the fluid tables folder. Problems are told
    // through `messages` (never raised): a missing file leaves the table empty; a
    // line that does not read is skipped; a file with more gases than the table
    // holds, or a read error, stops loading and leaves the table empty. Returns
    // true when every line was read.
    bool LoadGasConstants(const std::filesystem::path& fluidTablesFolder, IUserMessages& messages);
    // The same from an open file (header line first).
    bool LoadGasConstantsFromText(std::istream& in, IUserMessages& messages);

    // Number of gases; they fill slots 0..Count() - 1.
    int Count() const { return count_; }
    // The highest filled slot, -1 when the table is empty.
    int HighestSlot() const { return count_ - 1; }
    // Raises EGasViscosityCalc for a slot that holds no gas.
    const TGasData& GetGasData(int slot) const;

    // Density and viscosity of the gas in `slot` at a temperature in °C and a
    // pressure in bar g, both in range.
    TGasProperties CalculateGasProperties(int slot, double temperature_C, double pressure_bar_g) const;

private:
    std::array<TGasData, kSlotCount> gases_{};
    int count_ = 0;
};
