#include "libraries/VM4_GasViscosityCalc.h"

#include <gtest/gtest.h>

#include <istream>
#include <sstream>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_DecimalMark.h"
#include "libraries/LibraryTestSupport.h"
#include "model/VM4_Fluid_Class.h"

namespace {

struct TGasCase {
    const char* Name;
    TGasData Gas;
    double Temperature_C;
    double Pressure_bar_g;
    double Density_kg_m3;
    double Viscosity_cP;
};

void PrintTo(const TGasCase& c, std::ostream* os) { *os << c.Name; }

class GasPropertiesTest : public ::testing::TestWithParam<TGasCase> {};

TEST_P(GasPropertiesTest, IdealGasDensityAndSutherlandViscosity) {
    const TGasCase& c = GetParam();
    const TGasProperties result = CalcGasProperties(c.Gas, c.Temperature_C, c.Pressure_bar_g);
    EXPECT_REL_NEAR(result.Density_kg_m3, c.Density_kg_m3, 1e-6);
    EXPECT_REL_NEAR(result.DynamicViscosity_cP, c.Viscosity_cP, 1e-6);
    EXPECT_REL_NEAR(result.ViscosityPerDensity, c.Viscosity_cP / c.Density_kg_m3, 1e-6);
}

const TGasData kAir{"Air", "N2+O2", 287.0, 0.0171, 120.0};
const TGasData kMethane{"Methane", "CH4", 518.28, 0.01038, 165.0};

INSTANTIATE_TEST_SUITE_P(
    Gases, GasPropertiesTest,
    ::testing::Values(
        // rho = 101325 / 287 / 293.15 = 1.2043281; theta = 293.15 / 273.15 = 1.0732198,
        // mu = 393.15 x 0.0171 / 413.15 x theta^1.5 = 0.9515914 x 0.0171 x 1.1118164 = 0.0180917
        TGasCase{"AirAt20C", kAir, 20.0, 0.0, 1.2043281, 0.01809171},
        // theta = 1: mu = mu0; rho = 101325 / 287 / 273.15 = 1.2925088
        TGasCase{"AirAt0C", kAir, 0.0, 0.0, 1.2925088, 0.0171},
        // 10 bar g: rho x (11.01325 / 1.01325) = 1.2043281 x 10.869233 = 13.090122
        TGasCase{"AirAt10BarG", kAir, 20.0, 10.0, 13.090122, 0.01809171},
        // Both range ends: rho = 101325 / 518.28 / 477.65 x 36.01325 / 1.01325 = 14.547491,
        // theta = 477.65 / 273.15 = 1.7486729, mu = 438.15 x 0.01038 / 642.65 x theta^1.5 = 0.0163647
        TGasCase{"MethaneAtTheRangeEnds", kMethane, 204.5, 35.0, 14.547491, 0.01636472}),
    [](const ::testing::TestParamInfo<TGasCase>& info) { return std::string(info.param.Name); });

struct TRangeCase {
    double Temperature_C;
    double Pressure_bar_g;
    const char* Error;  // nullptr when accepted
};

void PrintTo(const TRangeCase& c, std::ostream* os) { *os << c.Temperature_C << " C, " << c.Pressure_bar_g << " bar g"; }

class GasRangeTest : public ::testing::TestWithParam<TRangeCase> {};

TEST_P(GasRangeTest, OnlyTheRangeOfTheConstantsIsCalculated) {
    const TRangeCase& c = GetParam();
    if (c.Error == nullptr) {
        EXPECT_NO_THROW(CalcGasProperties(kAir, c.Temperature_C, c.Pressure_bar_g));
        return;
    }
    try {
        CalcGasProperties(kAir, c.Temperature_C, c.Pressure_bar_g);
        FAIL() << "expected " << c.Error;
    } catch (const EGasViscosityCalc& error) {
        EXPECT_STREQ(error.what(), c.Error);
    }
}

const char* const kTemperatureError = "CalcGasProperties Failed: Temperature must lie between 0 and 204.5 °C";
const char* const kPressureError = "CalcGasProperties Failed: Pressure must lie between 0 and 35 bar g";

INSTANTIATE_TEST_SUITE_P(Limits, GasRangeTest,
                         ::testing::Values(TRangeCase{0.0, 0.0, nullptr}, TRangeCase{204.5, 35.0, nullptr},
                                           TRangeCase{-0.1, 0.0, kTemperatureError},
                                           TRangeCase{204.6, 0.0, kTemperatureError},
                                           TRangeCase{250.0, 0.0, kTemperatureError},
                                           TRangeCase{20.0, -0.01, kPressureError},
                                           TRangeCase{20.0, 35.1, kPressureError}));

TEST(GasResultAsFluid, BecomesAGasFluidWithKelvinAndKinematicViscosity) {
    const TGasProperties properties = CalcGasProperties(kAir, 20.0, 2.5);
    const TFluid fluid = GasResultAsFluid(kAir, 20.0, 2.5, properties);
    EXPECT_EQ(fluid.Name, "Air");
    EXPECT_EQ(fluid.Formula, "N2+O2");
    EXPECT_REL_NEAR(fluid.Temperature_K, 293.15, 1e-12);
    EXPECT_REL_NEAR(fluid.Pressure_bar_g, 2.5, 1e-12);
    // rho = 1.2043281 x 3.51325 / 1.01325 = 4.1757766
    EXPECT_REL_NEAR(fluid.Density_kg_m3, 4.1757766, 1e-6);
    EXPECT_REL_NEAR(fluid.DynamicViscosity_cP, 0.01809171, 1e-6);
    // cSt = 0.01809171 / 4.1757766 x 1000 = 4.332538
    EXPECT_REL_NEAR(fluid.KinematicViscosity_cSt, 4.332538, 1e-6);
    EXPECT_EQ(fluid.VapourPressure_bar_a, 0.0);
    EXPECT_TRUE(fluid.IsGas);
}

class GasConstantTableTest : public ::testing::Test {
protected:
    TGasConstantTable table;
    TRecordedMessages messages;
};

TEST_F(GasConstantTableTest, ReadsEveryGasWithEitherDecimalMark) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark systemMark(mark);
        messages.Shown.clear();
        EXPECT_TRUE(table.LoadGasConstants(LibraryFixture("fluids"), messages));
        EXPECT_TRUE(messages.Shown.empty());
        ASSERT_EQ(table.Count(), 2);
        EXPECT_EQ(table.HighestSlot(), 1);
        const TGasData& methane = table.GetGasData(1);
        EXPECT_EQ(methane.Name, "Methane");
        EXPECT_EQ(methane.Formula, "CH4");
        // Written as 518,28 and 0,01038 in the file.
        EXPECT_DOUBLE_EQ(methane.GasConstant_J_kgK, 518.28);
        EXPECT_DOUBLE_EQ(methane.ReferenceViscosity_cP, 0.01038);
        EXPECT_DOUBLE_EQ(methane.SutherlandConstant_K, 165.0);
        EXPECT_REL_NEAR(table.CalculateGasProperties(0, 20.0, 0.0).Density_kg_m3, 1.2043281, 1e-6);
    }
}

TEST_F(GasConstantTableTest, ABadLineIsToldAndSkippedAndTheRestLoads) {
    EXPECT_FALSE(table.LoadGasConstants(LibraryFixture("fluids_bad"), messages));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{"Error setting GasCalcDataArray"});
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.GetGasData(0).Name, "Air");
    EXPECT_EQ(table.GetGasData(1).Name, "Helium");
}

TEST_F(GasConstantTableTest, AMissingFileIsToldAndLeavesTheTableEmpty) {
    TTempFolder empty;
    EXPECT_FALSE(table.LoadGasConstants(empty.Path(), messages));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{"Gas data constants cannot be found."});
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.HighestSlot(), -1);
}

struct TLineCase {
    const char* Line;
    bool Reads;
};

void PrintTo(const TLineCase& c, std::ostream* os) { *os << '"' << c.Line << '"'; }

class GasLineTest : public ::testing::TestWithParam<TLineCase> {};

TEST_P(GasLineTest, OnlyCompleteLinesWithUsableConstantsRead) {
    TGasConstantTable table;
    TRecordedMessages messages;
    std::istringstream in(CrLfLines({"1.02~|~~|~", GetParam().Line}));
    EXPECT_EQ(table.LoadGasConstantsFromText(in, messages), GetParam().Reads);
    EXPECT_EQ(table.Count(), GetParam().Reads ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, GasLineTest,
                         ::testing::Values(TLineCase{"Air~|~N2+O2~|~287~|~0.0171~|~120", true},
                                           TLineCase{" Air ~|~~|~ 287.0 ~|~0,0171~|~0", true},
                                           TLineCase{"Air~|~N2+O2~|~287~|~0.0171", false},
                                           TLineCase{"Air~|~N2+O2~|~287~|~0.0171~|~120~|~9", false},
                                           TLineCase{"Air~|~N2+O2~|~287~|~~|~120", false},
                                           TLineCase{"Air~|~N2+O2~|~0~|~0.0171~|~120", false},
                                           TLineCase{"Air~|~N2+O2~|~287~|~-0.0171~|~120", false},
                                           TLineCase{"Air~|~N2+O2~|~287~|~0.0171~|~-5", false}));

std::string gasFileWith(int gases) {
    std::vector<std::string> lines{"1.02~|~~|~"};
    for (int i = 1; i <= gases; ++i) lines.push_back("Gas " + std::to_string(i) + "~|~X~|~287~|~0.0171~|~120");
    return CrLfLines(lines);
}

TEST_F(GasConstantTableTest, AFileThatFillsTheTableExactlyLoads) {
    std::istringstream in(gasFileWith(TGasConstantTable::MaxGasCalcDataArrayCount));
    EXPECT_TRUE(table.LoadGasConstantsFromText(in, messages));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(table.Count(), 100);
    EXPECT_EQ(table.GetGasData(99).Name, "Gas 100");
}

TEST_F(GasConstantTableTest, OneGasTooManyStopsLoadingAndLeavesTheTableEmpty) {
    std::istringstream in(gasFileWith(TGasConstantTable::MaxGasCalcDataArrayCount + 1));
    EXPECT_FALSE(table.LoadGasConstantsFromText(in, messages));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{
                                  "Code -02: File too large - Read past max number of MaxGasCalcDataArrayCount entries."});
    EXPECT_EQ(table.Count(), 0);
    EXPECT_THROW(table.GetGasData(0), EGasViscosityCalc);
}

TEST_F(GasConstantTableTest, AReadErrorNamesTheLineAndLeavesTheTableEmpty) {
    TStreamFailingAfter broken(CrLfLines({"1.02~|~~|~", "Air~|~N2+O2~|~287~|~0.0171~|~120"}));
    std::istream in(&broken);
    EXPECT_FALSE(table.LoadGasConstantsFromText(in, messages));
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"vmn_GasConstants.vmgc   Code -01: Error on line number 3"});
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(GasConstantTableTest, OnlyFilledSlotsCanBeUsed) {
    ASSERT_TRUE(table.LoadGasConstants(LibraryFixture("fluids"), messages));
    for (const int slot : {-1, 2, 100}) {
        try {
            table.CalculateGasProperties(slot, 20.0, 0.0);
            FAIL() << "slot " << slot;
        } catch (const EGasViscosityCalc& error) {
            EXPECT_STREQ(error.what(), "TGasConstantTable.GetGasData Failed: Specified gas slot may not be valid");
        }
    }
}

}  // namespace
