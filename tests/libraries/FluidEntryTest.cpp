#include <gtest/gtest.h>

#include <string>

#include "libraries/VM4_FluidEntry.h"

namespace {

TFluidEntryTexts Water() { return {"Water", "H2O", "20.0", "0.000", "998.210", "1.0020", "2.338", false}; }

TEST(FluidEntryTest, MetricTextsBecomeStoredUnits) {
    const TFluidEntry entry = ReadNetworkFluidEntry(Water(), true);
    ASSERT_TRUE(entry.Valid) << entry.Message;
    EXPECT_NEAR(entry.Fluid.Temperature_K, 293.15, 1e-9);
    EXPECT_NEAR(entry.Fluid.Density_kg_m3, 998.21, 1e-9);
    EXPECT_NEAR(entry.Fluid.VapourPressure_bar_a, 0.02338, 1e-9);
    // nu = mu / rho x 1000
    EXPECT_NEAR(entry.Fluid.KinematicViscosity_cSt, 1.002 / 998.21 * 1000.0, 1e-9);
}

TEST(FluidEntryTest, ImperialTextsBecomeStoredUnits) {
    TFluidEntryTexts air{"Air", "N2+O2", "68.0", "14.504", "0.07518", "0.0181", "N/A", true};
    const TFluidEntry entry = ReadNetworkFluidEntry(air, false);
    ASSERT_TRUE(entry.Valid) << entry.Message;
    EXPECT_NEAR(entry.Fluid.Temperature_K, 293.15, 1e-6);
    EXPECT_NEAR(entry.Fluid.Pressure_bar_g, 1.0, 1e-4);
    EXPECT_NEAR(entry.Fluid.Density_kg_m3, 1.2043, 1e-3);
    EXPECT_EQ(entry.Fluid.VapourPressure_bar_a, 0.0);
    EXPECT_TRUE(entry.Fluid.IsGas);
}

struct TRefusalCase {
    const char* Name;
    void (*Spoil)(TFluidEntryTexts&);
    const char* SaveMessage;
    const char* AddMessage;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) { *os << c.Name; }

const char* const kIncomplete = "The fluid data is not complete.\rPlease enter missing data.";

class FluidEntryRefusalTest : public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(FluidEntryRefusalTest, SaveAndAddRefuseWithTheirMessages) {
    TFluidEntryTexts texts = Water();
    GetParam().Spoil(texts);
    const TFluidEntry saved = ReadNetworkFluidEntry(texts, true);
    const TFluidEntry added = ReadDatabaseFluidEntry(texts, true);
    EXPECT_EQ(saved.Valid, GetParam().SaveMessage == nullptr);
    EXPECT_EQ(added.Valid, GetParam().AddMessage == nullptr);
    if (GetParam().SaveMessage != nullptr) {
        EXPECT_EQ(saved.Message, GetParam().SaveMessage);
    }
    if (GetParam().AddMessage != nullptr) {
        EXPECT_EQ(added.Message, GetParam().AddMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FluidEntryRefusalTest,
    ::testing::Values(
        TRefusalCase{"BlankName", [](TFluidEntryTexts& t) { t.Name = "   "; }, "The fluid name cannot be blank.",
                     "The fluid name cannot be blank."},
        TRefusalCase{"ZeroDensity", [](TFluidEntryTexts& t) { t.Density = "0"; }, kIncomplete,
                     "The fluid data cannot be added.\rDensity value is incorrect\rPlease correct the data."},
        TRefusalCase{"BelowAbsoluteZero", [](TFluidEntryTexts& t) { t.Temperature = "-300"; }, kIncomplete,
                     "The fluid data cannot be added.\rTemperature value is incorrect\rPlease correct the data."},
        TRefusalCase{"ViscosityNotANumber", [](TFluidEntryTexts& t) { t.Viscosity = "abc"; }, kIncomplete,
                     "The fluid data cannot be added.\rViscosity value is incorrect\rPlease correct the data."},
        // A vacuum may be stored in the database but is no working pressure for a network.
        TRefusalCase{"NegativePressure", [](TFluidEntryTexts& t) { t.Pressure = "-0.5"; }, kIncomplete, nullptr},
        TRefusalCase{"NegativeTemperatureIsFine", [](TFluidEntryTexts& t) { t.Temperature = "-10.0"; }, nullptr,
                     nullptr}),
    [](const ::testing::TestParamInfo<TRefusalCase>& info) { return std::string(info.param.Name); });

}  // namespace
