#include "libraries/VM4_FluidEntry.h"

#include <optional>

#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_Units.h"

namespace {

const char* const kBlankName = "The fluid name cannot be blank.";
const char* const kIncomplete = "The fluid data is not complete.\rPlease enter missing data.";
const char* const kNotAdded = "The fluid data cannot be added.\r";
const char* const kPleaseCorrect = "\rPlease correct the data.";
// Absolute pressures convert among themselves whatever the atmosphere.
constexpr double kStandardAtmosphere_bar_a = 1.01325;

std::string withoutLeadingBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::optional<double> number(const std::string& text, bool allowZero, bool allowNegative) {
    const TParsedNumber<double> parsed = ParseDecimalText(withoutLeadingBlanks(text), allowZero, allowNegative);
    if (!parsed.Valid) return std::nullopt;
    return parsed.Value;
}

// The values in stored units; a value that fails its check stays unset.
struct TReadValues {
    std::optional<double> Temperature_K, Pressure_bar_g, Density_kg_m3, Viscosity_cP;
};

TReadValues readValues(const TFluidEntryTexts& texts, bool metric, bool negativePressure) {
    TReadValues values;
    if (const auto t = number(texts.Temperature, true, true)) {
        const double kelvin = convertUnits(FluidTemperatureUnit(metric), UNIT_DEG_K, *t);
        // Below absolute zero no fluid exists; every property would be meaningless.
        if (kelvin > 0.0) values.Temperature_K = kelvin;
    }
    if (const auto p = number(texts.Pressure, true, negativePressure))
        values.Pressure_bar_g = convertUnits(FluidPressureUnit(metric), UNIT_BAR_G, *p);
    if (const auto d = number(texts.Density, false, false))
        values.Density_kg_m3 = convertUnits(FluidDensityUnit(metric), UNIT_KG_M3, *d);
    if (const auto v = number(texts.Viscosity, false, false)) values.Viscosity_cP = *v;
    return values;
}

TFluid fluidOf(const TFluidEntryTexts& texts, const TReadValues& v, bool metric) {
    TFluid fluid;
    fluid.Name = CutToCapacity(withoutLeadingBlanks(texts.Name), TFluid::kNameCapacity);
    fluid.Formula = CutToCapacity(texts.Formula, TFluid::kFormulaCapacity);
    fluid.Temperature_K = *v.Temperature_K;
    fluid.Pressure_bar_g = *v.Pressure_bar_g;
    fluid.Density_kg_m3 = *v.Density_kg_m3;
    fluid.DynamicViscosity_cP = *v.Viscosity_cP;
    // nu (cSt) = mu (cP) / rho (kg/m³) x 1000
    fluid.KinematicViscosity_cSt = *v.Viscosity_cP / *v.Density_kg_m3 * 1000.0;
    const auto vapour = number(texts.VapourPressure, true, false);
    fluid.VapourPressure_bar_a =
        vapour ? convertPressureWithAtmosphere(FluidVapourPressureUnit(metric), UNIT_BAR_A, *vapour,
                                               kStandardAtmosphere_bar_a)
               : 0.0;
    fluid.IsGas = texts.IsGas;
    return fluid;
}

TFluidEntry refused(const std::string& message) {
    TFluidEntry entry;
    entry.Message = message;
    return entry;
}

}  // namespace

int FluidTemperatureUnit(bool metric) { return metric ? UNIT_DEG_C : UNIT_DEG_F; }
int FluidPressureUnit(bool metric) { return metric ? UNIT_BAR_G : UNIT_PSI_G; }
int FluidDensityUnit(bool metric) { return metric ? UNIT_KG_M3 : UNIT_LB_FT3; }
int FluidVapourPressureUnit(bool metric) { return metric ? UNIT_KPA_A : UNIT_PSI_A; }

TFluidEntry ReadNetworkFluidEntry(const TFluidEntryTexts& texts, bool metric) {
    if (withoutLeadingBlanks(texts.Name).empty()) return refused(kBlankName);
    const TReadValues v = readValues(texts, metric, false);
    if (!v.Temperature_K || !v.Pressure_bar_g || !v.Density_kg_m3 || !v.Viscosity_cP) return refused(kIncomplete);
    return {true, "", fluidOf(texts, v, metric)};
}

TFluidEntry ReadDatabaseFluidEntry(const TFluidEntryTexts& texts, bool metric) {
    if (withoutLeadingBlanks(texts.Name).empty()) return refused(kBlankName);
    const TReadValues v = readValues(texts, metric, true);
    const char* fault = !v.Temperature_K    ? "Temperature value is incorrect"
                        : !v.Pressure_bar_g ? "Pressure value is incorrect"
                        : !v.Density_kg_m3  ? "Density value is incorrect"
                        : !v.Viscosity_cP   ? "Viscosity value is incorrect"
                                            : nullptr;
    if (fault != nullptr) return refused(std::string(kNotAdded) + fault + kPleaseCorrect);
    return {true, "", fluidOf(texts, v, metric)};
}
