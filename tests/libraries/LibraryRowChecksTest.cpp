// Rows of the data libraries that no real pipe, fitting or fluid can have are
// refused with the library's coded error, naming the line of the file where
// they stand (the header is line 1).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "libraries/VM4_Fluid_Data_Set_Class.h"
#include "libraries/VM4_GasViscosityCalc.h"
#include "libraries/VM4_Pipe_Diameter_Set_Class.h"
#include "model/VM4_Fitting_Set_Class.h"

namespace {

const char* const kHeader = "1.03~|~~|~";
const char* const kGoodPipe = "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~0.154~|~2.375~|~3.653";
const char* const kGoodFitting = "25~|~0~|~ELBOW_90_STD~|~DN25~|~1\"~|~Standard elbow~|~0.69";
const char* const kGoodFluid = "Water~|~H2O~|~293.15~|~0~|~998.2~|~1.002~|~2.338~|~0~|~0";
const char* const kGoodGas = "Air~|~N2+O2~|~287~|~0.0171~|~120";

// Each reader is handed the file after its header, as the libraries do.
std::istringstream afterHeader(const std::vector<std::string>& lines) {
    std::istringstream in(CrLfLines(lines));
    std::string header;
    std::getline(in, header);
    return in;
}

template <class TError, class TLoad>
std::string refusalOf(TLoad load) {
    try {
        load();
    } catch (const TError& error) {
        return error.what();
    }
    return "<loaded>";
}

std::string loadPipes(const std::vector<std::string>& lines) {
    TPipeDiameterSet set(10);
    TRecordedMessages messages;
    std::istringstream in = afterHeader(lines);
    const std::string refusal =
        refusalOf<EPipeDiameterSetClass>([&] { set.LoadFromText_DiameterData(in, "Steel.vmpi", messages); });
    return set.Count() == 0 ? refusal : "<kept sizes>";
}

std::string loadFittings(const std::vector<std::string>& lines) {
    TFittingSet set(10);
    TRecordedMessages messages;
    std::istringstream in = afterHeader(lines);
    return refusalOf<EFittingSetClass>([&] { set.LoadFromTextWithoutQuantity(in, messages); });
}

std::string loadFluids(const std::vector<std::string>& lines) {
    TFluidDataSet set(10);
    TRecordedMessages messages;
    std::istringstream in = afterHeader(lines);
    const std::string refusal = refusalOf<EFluidDataSetClass>([&] { set.LoadFromText_FluidDataSet(in, messages); });
    return set.Count() == 0 ? refusal : "<kept fluids>";
}

// The gas table reads its own header and shows its errors in boxes.
std::string loadGases(const std::vector<std::string>& lines) {
    TGasConstantTable table;
    TRecordedMessages messages;
    std::istringstream in(CrLfLines(lines));
    const bool loaded = table.LoadGasConstantsFromText(in, messages);
    if (loaded) return "<loaded>";
    return messages.Shown.empty() ? "<no message>" : messages.Shown.back() + (table.Count() == 0 ? "" : " <kept>");
}

struct TRowCase {
    const char* Name;
    std::string (*Load)(const std::vector<std::string>&);
    std::vector<std::string> Lines;
    std::string Refusal;
};

void PrintTo(const TRowCase& c, std::ostream* out) { *out << c.Name; }

class LibraryRow : public ::testing::TestWithParam<TRowCase> {};

TEST_P(LibraryRow, IsRefusedWithTheLineItStandsOn) { EXPECT_EQ(GetParam().Load(GetParam().Lines), GetParam().Refusal); }

INSTANTIATE_TEST_SUITE_P(
    Cases, LibraryRow,
    ::testing::Values(
        TRowCase{"PipeWallAsThickAsTheRadius", loadPipes,
                 {kHeader, kGoodPipe, "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~1.1875~|~2.375~|~3.653"},
                 "Code -01: Error on line number 3"},
        TRowCase{"PipeWallThickerThanTheRadius", loadPipes,
                 {kHeader, "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~2~|~2.375~|~3.653"},
                 "Code -01: Error on line number 2"},
        TRowCase{"PipeNegativeOutsideDiameter", loadPipes,
                 {kHeader, kGoodPipe, kGoodPipe, "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~0.154~|~-2.375~|~3.653"},
                 "Code -01: Error on line number 4"},
        TRowCase{"PipeNegativeRoughness", loadPipes,
                 {kHeader, "Steel~|~Sch 40~|~-0.001~|~65~|~2\"~|~0.154~|~2.375~|~3.653"},
                 "Code -01: Error on line number 2"},
        TRowCase{"PipeBlankLinesAreCounted", loadPipes,
                 {kHeader, kGoodPipe, "", "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~0.154~|~0~|~3.653"},
                 "Code -01: Error on line number 4"},
        TRowCase{"PipeWithoutAWallLoads", loadPipes,
                 {kHeader, "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~0~|~2.375~|~3.653"}, "<kept sizes>"},
        TRowCase{"FittingNegativeK", loadFittings,
                 {kHeader, kGoodFitting, "25~|~0~|~ELBOW~|~DN25~|~1\"~|~Elbow~|~-0.5"},
                 "Code -01: Error on line number 3"},
        TRowCase{"FittingZeroKLoads", loadFittings,
                 {kHeader, "25~|~0~|~OPEN~|~DN25~|~1\"~|~Nothing in the way~|~0"}, "<loaded>"},
        TRowCase{"FluidGasFlagTwo", loadFluids,
                 {kHeader, kGoodFluid, "Steam~|~H2O~|~400~|~0~|~0.6~|~0.013~|~0~|~2~|~0"},
                 "Code -01: Error on line number 3"},
        TRowCase{"FluidOriginFlagTwo", loadFluids,
                 {kHeader, "Steam~|~H2O~|~400~|~0~|~0.6~|~0.013~|~0~|~1~|~2"}, "Code -01: Error on line number 2"},
        TRowCase{"FluidGasFlagOneLoads", loadFluids,
                 {kHeader, "Steam~|~H2O~|~400~|~0~|~0.6~|~0.013~|~0~|~1~|~0"}, "<kept fluids>"},
        TRowCase{"GasFileWithoutGas", loadGases, {kHeader}, "vmn_GasConstants.vmgc   Code -04: The file holds no gas."},
        TRowCase{"GasFileEmpty", loadGases, {}, "vmn_GasConstants.vmgc   Code -04: The file holds no gas."},
        TRowCase{"GasFileWithoutHeader", loadGases, {kGoodGas, kGoodGas},
                 "vmn_GasConstants.vmgc   Code -01: Error on line number 1 (a gas where the header line belongs)"},
        TRowCase{"GasInfiniteConstant", loadGases, {kHeader, "Air~|~N2+O2~|~1e999~|~0.0171~|~120"},
                 "vmn_GasConstants.vmgc   Code -04: The file holds no gas."}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
