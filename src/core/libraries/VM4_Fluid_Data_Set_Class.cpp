#include "libraries/VM4_Fluid_Data_Set_Class.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <istream>
#include <numeric>
#include <ostream>

#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_TextRecord.h"
#include "foundations/VM4_UserMessages.h"
#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kAddFailed = "TFluidDataSet.AddFluidData Failed: May have reached Max number of Fluids allowed";
const char* const kRemoveFailed = "TFluidDataSet.RemoveFluidData Failed: Specified Id may not be valid";
const char* const kInvalidSlot = " Failed: Specified Id may not be valid";
const char* const kLineError = "Code -01: Error on line number ";
const char* const kStandardTooLarge = "Code -02: File too large - Read past max number of Fluid entries.";
const char* const kUserTooLarge = "Code -02a: File too large - Read past max number of Fluids.";
const char* const kStandardSaveFailed = "Code -03: Could not save file.";
const char* const kUserSaveFailed = "Code -03a: Could not save file.";

constexpr std::size_t kFluidFieldCount = 9;
constexpr double kKiloPascalPerBar = 100.0;
constexpr int kTemperatureDecimals = 3;
constexpr int kPressureDecimals = 3;
// Six decimals, not three: gases would otherwise lose their third significant
// digit of density and viscosity (air 0.01822 cP would be stored as 0.018).
constexpr int kPropertyDecimals = 6;
constexpr int kVapourPressureDecimals = 6;
constexpr int kSignificantDigits = 15;
constexpr std::size_t kSortTemperatureWidth = 16;

std::string blanksTrimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A flag field: "0" or "1" and nothing else.
bool isFlag(const std::string& field) {
    const std::string flag = blanksTrimmed(field);
    return flag == "0" || flag == "1";
}

// One fluid line; false when it does not split into nine fields, a number does
// not read or is not finite, density or viscosity is not above zero (every
// calculation divides by them), or the gas or origin flag is not 0 or 1.
bool readFluidLine(const std::string& line, TFluidDataSet::TEntry& entry) {
    const std::vector<std::string> fields = SplitRecordFields(line, kFluidFieldCount);
    if (fields.size() != kFluidFieldCount) return false;
    TFluid fluid;
    double vapourPressure_kPa_a = 0.0;
    if (!ReadLibraryNumber(fields[2], fluid.Temperature_K) || !ReadLibraryNumber(fields[3], fluid.Pressure_bar_g) ||
        !ReadLibraryNumber(fields[4], fluid.Density_kg_m3) ||
        !ReadLibraryNumber(fields[5], fluid.DynamicViscosity_cP) ||
        !ReadLibraryNumber(fields[6], vapourPressure_kPa_a)) {
        return false;
    }
    if (!(fluid.Density_kg_m3 > 0.0) || !(fluid.DynamicViscosity_cP > 0.0)) return false;
    for (double value : {fluid.Temperature_K, fluid.Pressure_bar_g, fluid.Density_kg_m3, fluid.DynamicViscosity_cP,
                         vapourPressure_kPa_a}) {
        if (!std::isfinite(value)) return false;
    }
    if (!isFlag(fields[7]) || !isFlag(fields[8])) return false;
    fluid.Name = CutToCapacity(fields[0], TFluid::kNameCapacity);
    fluid.Formula = CutToCapacity(fields[1], TFluid::kFormulaCapacity);
    fluid.VapourPressure_bar_a = vapourPressure_kPa_a / kKiloPascalPerBar;
    // cSt = cP / (kg/m³) x 1000
    fluid.KinematicViscosity_cSt = fluid.DynamicViscosity_cP / fluid.Density_kg_m3 * 1000.0;
    fluid.IsGas = blanksTrimmed(fields[7]) != "0";
    entry.Fluid = fluid;
    entry.Origin = blanksTrimmed(fields[8]) == "1" ? TFluidDataSet::kUserFile : TFluidDataSet::kStandardFile;
    return true;
}

std::string fluidLine(const TFluid& fluid, std::uint8_t origin) {
    return JoinRecordFields({
        LibraryFieldText(fluid.Name),
        LibraryFieldText(fluid.Formula),
        FormatFileDecimal(fluid.Temperature_K, kTemperatureDecimals, kSignificantDigits),
        FormatFileDecimal(fluid.Pressure_bar_g, kPressureDecimals, kSignificantDigits),
        FormatFileDecimal(fluid.Density_kg_m3, kPropertyDecimals, kSignificantDigits),
        FormatFileDecimal(fluid.DynamicViscosity_cP, kPropertyDecimals, kSignificantDigits),
        FormatFileDecimal(fluid.VapourPressure_bar_a * kKiloPascalPerBar, kVapourPressureDecimals,
                          kSignificantDigits),
        fluid.IsGas ? "1" : "0",
        origin == TFluidDataSet::kUserFile ? "1" : "0",
    });
}

// Name, then the temperature right-aligned so that text order is number order.
std::string sortKey(const TFluid& fluid) {
    std::string temperature = FormatFileDecimal(fluid.Temperature_K, kTemperatureDecimals, kSignificantDigits);
    if (temperature.size() < kSortTemperatureWidth) temperature.insert(0, kSortTemperatureWidth - temperature.size(), ' ');
    std::string key = fluid.Name + temperature;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return key;
}

}  // namespace

struct TFluidDataSet::TLoadMessages {
    const char* TooLarge;
};

TFluidDataSet::TFluidDataSet(int capacity)
    : capacity_(std::max(capacity, 0)),
      entries_(static_cast<std::size_t>(capacity_) + 1),
      shadow_(static_cast<std::size_t>(capacity_) + 1) {}

void TFluidDataSet::ClearFluidDataArray() {
    for (TEntry& each : entries_) each = TEntry{};
    count_ = 0;
}

void TFluidDataSet::ClearFluidDataRec(int slot) { entry(slot, "TFluidDataSet.ClearFluidDataRec") = TEntry{}; }

std::size_t TFluidDataSet::checkedSlot(int slot, const char* method) const {
    if (slot < 1 || slot > capacity_) throw EFluidDataSetClass(std::string(method) + kInvalidSlot);
    return static_cast<std::size_t>(slot);
}

TFluidDataSet::TEntry& TFluidDataSet::entry(int slot, const char* method) {
    return entries_[checkedSlot(slot, method)];
}

const TFluidDataSet::TEntry& TFluidDataSet::GetFluidDataRec(int slot) const {
    return entries_[checkedSlot(slot, "TFluidDataSet.GetFluidDataRec")];
}

void TFluidDataSet::ReplaceFluidDataRec(int slot, const TFluid& fluid, std::uint8_t origin) {
    entry(slot, "TFluidDataSet.ReplaceFluidDataRec") = TEntry{fluid, origin};
}

void TFluidDataSet::CopyFluidDataRec(int slot, const TFluid& fluid, std::uint8_t origin) {
    entry(slot, "TFluidDataSet.CopyFluidDataRec") = TEntry{fluid, origin};
}

int TFluidDataSet::AddFluidDataRec(const TFluid& fluid, std::uint8_t origin) {
    if (count_ >= capacity_) throw EFluidDataSetClass(kAddFailed);
    ++count_;
    entries_[static_cast<std::size_t>(count_)] = TEntry{fluid, origin};
    return count_;
}

void TFluidDataSet::RemoveFluidDataRec(int slot) {
    // Only slots in use: removing beyond Count would hide the last fluid.
    if (slot < 1 || slot > count_) throw EFluidDataSetClass(kRemoveFailed);
    const auto first = entries_.begin() + slot;
    std::move(first + 1, entries_.end(), first);
    entries_.back() = TEntry{};
    --count_;
}

int TFluidDataSet::FindEntryNameId(const std::string& name) const {
    for (int slot = count_; slot >= 1; --slot) {
        if (entries_[static_cast<std::size_t>(slot)].Fluid.Name == name) return slot;
    }
    return -1;
}

void TFluidDataSet::SortFluidDataSet(bool ascending) {
    std::vector<std::string> keys(static_cast<std::size_t>(count_) + 1);
    std::vector<int> order(static_cast<std::size_t>(count_));
    for (int slot = 1; slot <= count_; ++slot) {
        shadow_[static_cast<std::size_t>(slot)] = entries_[static_cast<std::size_t>(slot)];
        keys[static_cast<std::size_t>(slot)] = sortKey(entries_[static_cast<std::size_t>(slot)].Fluid);
    }
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
    });
    if (!ascending) std::reverse(order.begin(), order.end());
    for (int slot = 1; slot <= count_; ++slot) {
        entries_[static_cast<std::size_t>(slot)] = shadow_[static_cast<std::size_t>(order[static_cast<std::size_t>(slot - 1)])];
    }
}

bool TFluidDataSet::LoadFromText_FluidDataSet(std::istream& in, IUserMessages& messages) {
    ClearFluidDataArray();
    return loadFluids(in, messages, TLoadMessages{kStandardTooLarge});
}

bool TFluidDataSet::LoadUser_FluidDataSet_FromText(std::istream& in, IUserMessages& messages) {
    return loadFluids(in, messages, TLoadMessages{kUserTooLarge});
}

bool TFluidDataSet::loadFluids(std::istream& in, IUserMessages& messages, const TLoadMessages& texts) {
    const int countBefore = count_;
    const auto forgetThisFile = [this, countBefore](int lastFilled) {
        for (int slot = countBefore + 1; slot <= lastFilled; ++slot) entries_[static_cast<std::size_t>(slot)] = TEntry{};
    };
    std::string line;
    int lineNumber = 1;  // the header
    int slot = countBefore + 1;
    for (;; ++slot) {
        if (!ReadNextRecordLine(in, line, lineNumber)) {
            if (!in.bad()) break;
            forgetThisFile(slot - 1);
            throw EFluidDataSetClass(kLineError + std::to_string(lineNumber + 1));
        }
        if (slot > capacity_) {
            forgetThisFile(capacity_);
            messages.ShowInformation(texts.TooLarge);
            return false;
        }
        if (!readFluidLine(line, entries_[static_cast<std::size_t>(slot)])) {
            forgetThisFile(slot);
            throw EFluidDataSetClass(kLineError + std::to_string(lineNumber));
        }
    }
    count_ = slot - 1;
    return true;
}

void TFluidDataSet::SaveToText_FluidDataSet(std::ostream& out) const {
    saveFluidsOfOrigin(out, kStandardFile, kStandardSaveFailed);
}

void TFluidDataSet::SaveUser_FluidDataSet_ToText(std::ostream& out) const {
    saveFluidsOfOrigin(out, kUserFile, kUserSaveFailed);
}

void TFluidDataSet::saveFluidsOfOrigin(std::ostream& out, std::uint8_t origin, const char* failure) const {
    for (int slot = 1; slot <= count_ && out; ++slot) {
        const TEntry& each = entries_[static_cast<std::size_t>(slot)];
        if (each.Origin == origin) WriteRecordLine(out, fluidLine(each.Fluid, origin));
    }
    if (!out) throw EFluidDataSetClass(failure);
}
