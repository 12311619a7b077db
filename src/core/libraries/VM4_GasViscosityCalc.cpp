#include "libraries/VM4_GasViscosityCalc.h"

#include <cmath>
#include <istream>
#include <vector>

#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "libraries/VM4_LibraryFiles.h"
#include "model/VM4_Fluid_Class.h"

namespace {

const char* const kFileMissing = "Gas data constants cannot be found.";
const char* const kBadLine = "Error setting GasCalcDataArray";
const char* const kTooManyGases =
    "Code -02: File too large - Read past max number of MaxGasCalcDataArrayCount entries.";
const char* const kReadError = "vmn_GasConstants.vmgc   Code -01: Error on line number ";
const char* const kHeaderMissing = " (a gas where the header line belongs)";
const char* const kNoGas = "vmn_GasConstants.vmgc   Code -04: The file holds no gas.";
const char* const kInvalidSlot = "TGasConstantTable.GetGasData Failed: Specified gas slot may not be valid";
const char* const kTemperatureOutOfRange =
    "CalcGasProperties Failed: Temperature must lie between 0 and 204.5 \xC2\xB0" "C";
const char* const kPressureOutOfRange = "CalcGasProperties Failed: Pressure must lie between 0 and 35 bar g";

constexpr double kZeroCelsius_K = 273.15;
constexpr double kStandardAtmosphere_Pa = 101325.0;
constexpr double kStandardAtmosphere_bar = 1.01325;
constexpr std::size_t kGasFieldCount = 5;

// name~|~formula~|~R~|~mu0~|~C. Constants that would make the formulas
// meaningless (R or mu0 not above zero, C negative) count as a bad line.
bool readGasLine(const std::string& line, TGasData& gas) {
    const std::vector<std::string> fields = SplitRecordFields(line, kGasFieldCount);
    if (fields.size() != kGasFieldCount) return false;
    TGasData read;
    read.Name = CutToCapacity(fields[0], TGasConstantTable::kNameCapacity);
    read.Formula = CutToCapacity(fields[1], TGasConstantTable::kFormulaCapacity);
    if (!ReadLibraryNumber(fields[2], read.GasConstant_J_kgK) ||
        !ReadLibraryNumber(fields[3], read.ReferenceViscosity_cP) ||
        !ReadLibraryNumber(fields[4], read.SutherlandConstant_K)) {
        return false;
    }
    if (!(read.GasConstant_J_kgK > 0.0) || !(read.ReferenceViscosity_cP > 0.0) ||
        !(read.SutherlandConstant_K >= 0.0) || !std::isfinite(read.GasConstant_J_kgK) ||
        !std::isfinite(read.ReferenceViscosity_cP) || !std::isfinite(read.SutherlandConstant_K)) {
        return false;
    }
    gas = read;
    return true;
}

}  // namespace

bool IsGasTemperatureInRange(double temperature_C) {
    return temperature_C >= kGasMinTemperature_C && temperature_C <= kGasMaxTemperature_C;
}

bool IsGasPressureInRange(double pressure_bar_g) {
    return pressure_bar_g >= kGasMinPressure_bar_g && pressure_bar_g <= kGasMaxPressure_bar_g;
}

double CalcGasDensity_kg_m3(double gasConstant_J_kgK, double temperature_C, double pressure_bar_g) {
    // rho = 101325 / R / (T + 273.15) x (P + 1.01325) / 1.01325
    return kStandardAtmosphere_Pa / gasConstant_J_kgK / (temperature_C + kZeroCelsius_K) *
           (pressure_bar_g + kStandardAtmosphere_bar) / kStandardAtmosphere_bar;
}

double CalcGasViscosity_cP(double referenceViscosity_cP, double sutherlandConstant_K, double temperature_C) {
    // theta = (T + 273.15) / 273.15
    const double theta = (temperature_C + kZeroCelsius_K) / kZeroCelsius_K;
    // mu = (C + 273.15) x mu0 / (C + T + 273.15) x theta x sqrt(theta)
    return (sutherlandConstant_K + kZeroCelsius_K) * referenceViscosity_cP /
           (sutherlandConstant_K + temperature_C + kZeroCelsius_K) * theta * std::sqrt(theta);
}

TGasProperties CalcGasProperties(const TGasData& gas, double temperature_C, double pressure_bar_g) {
    if (!IsGasTemperatureInRange(temperature_C)) throw EGasViscosityCalc(kTemperatureOutOfRange);
    if (!IsGasPressureInRange(pressure_bar_g)) throw EGasViscosityCalc(kPressureOutOfRange);
    TGasProperties properties;
    properties.Density_kg_m3 = CalcGasDensity_kg_m3(gas.GasConstant_J_kgK, temperature_C, pressure_bar_g);
    properties.DynamicViscosity_cP =
        CalcGasViscosity_cP(gas.ReferenceViscosity_cP, gas.SutherlandConstant_K, temperature_C);
    properties.ViscosityPerDensity = properties.DynamicViscosity_cP / properties.Density_kg_m3;
    return properties;
}

TFluid GasResultAsFluid(const TGasData& gas, double temperature_C, double pressure_bar_g,
                        const TGasProperties& properties) {
    TFluid fluid;
    fluid.Name = CutToCapacity(gas.Name, TFluid::kNameCapacity);
    fluid.Formula = CutToCapacity(gas.Formula, TFluid::kFormulaCapacity);
    fluid.Temperature_K = convertUnits(UNIT_DEG_C, UNIT_DEG_K, temperature_C);
    fluid.Pressure_bar_g = pressure_bar_g;
    fluid.DynamicViscosity_cP = properties.DynamicViscosity_cP;
    fluid.Density_kg_m3 = properties.Density_kg_m3;
    // cSt = cP / (kg/m³) x 1000
    fluid.KinematicViscosity_cSt = properties.DynamicViscosity_cP / properties.Density_kg_m3 * 1000.0;
    fluid.VapourPressure_bar_a = 0.0;
    fluid.IsGas = true;
    return fluid;
}

void TGasConstantTable::Clear() {
    gases_.fill(TGasData{});
    count_ = 0;
}

bool TGasConstantTable::LoadGasConstants(const std::filesystem::path& fluidTablesFolder, IUserMessages& messages) {
    Clear();
    const std::filesystem::path path = fluidTablesFolder / kGasConstantsFileName;
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        messages.ShowInformation(kFileMissing);
        return false;
    }
    std::ifstream file = OpenLibraryFile(path);
    return LoadGasConstantsFromText(file, messages);
}

bool TGasConstantTable::LoadGasConstantsFromText(std::istream& in, IUserMessages& messages) {
    Clear();
    std::string line;
    TGasData misplaced;
    // Without its header a file would lose its first gas unnoticed.
    if (ReadRecordLine(in, line) && readGasLine(line, misplaced)) {
        messages.ShowInformation(kReadError + std::string("1") + kHeaderMissing);
        return false;
    }
    if (in.bad()) return false;
    bool everyLineRead = true;
    int filled = 0;
    int lineNumber = 1;  // the header
    for (;;) {
        if (!ReadNextRecordLine(in, line, lineNumber)) {
            if (!in.bad()) break;
            messages.ShowInformation(kReadError + std::to_string(lineNumber + 1));
            Clear();
            return false;
        }
        if (filled == MaxGasCalcDataArrayCount) {
            messages.ShowInformation(kTooManyGases);
            Clear();
            return false;
        }
        if (readGasLine(line, gases_[static_cast<std::size_t>(filled)])) {
            ++filled;
        } else {
            messages.ShowInformation(kBadLine);
            everyLineRead = false;
        }
    }
    // Every gas fluid needs its constants: an empty table is no table.
    if (filled == 0) {
        messages.ShowInformation(kNoGas);
        return false;
    }
    count_ = filled;
    return everyLineRead;
}

const TGasData& TGasConstantTable::GetGasData(int slot) const {
    if (slot < 0 || slot >= count_) throw EGasViscosityCalc(kInvalidSlot);
    return gases_[static_cast<std::size_t>(slot)];
}

TGasProperties TGasConstantTable::CalculateGasProperties(int slot, double temperature_C,
                                                         double pressure_bar_g) const {
    return CalcGasProperties(GetGasData(slot), temperature_C, pressure_bar_g);
}
