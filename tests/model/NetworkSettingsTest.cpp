#include "model/VM4_NetworkSettings_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundations/VM4_BinaryStream.h"

namespace {

using TSettings = TNetworkSettings;

struct UnitColumn {
    const char* name;
    std::uint8_t TSettings::*field;
    int metric;
    int imperial;
};

// Unit indices of the metric and imperial columns, written out as numbers.
const UnitColumn kUnitColumns[] = {
    {"LengthUnit", &TSettings::LengthUnit, 0, 2},
    {"DiameterUnit", &TSettings::DiameterUnit, 1, 3},
    {"RoughnessUnit", &TSettings::RoughnessUnit, 1, 3},
    {"FlowRateUnit", &TSettings::FlowRateUnit, 25, 31},
    {"VelocityUnit", &TSettings::VelocityUnit, 14, 15},
    {"PressureLossUnit", &TSettings::PressureLossUnit, 55, 57},
    {"WeightUnit", &TSettings::WeightUnit, 19, 18},
    {"AreaUnit", &TSettings::AreaUnit, 6, 8},
    {"VolumeUnit", &TSettings::VolumeUnit, 10, 12},
    {"SurfacePressureUnit", &TSettings::SurfacePressureUnit, 44, 45},
    {"LiquidLevelUnit", &TSettings::LiquidLevelUnit, 0, 2},
    {"ElevationUnit", &TSettings::ElevationUnit, 0, 2},
    {"TemperatureUnit", &TSettings::TemperatureUnit, 22, 23},
    {"FluidPressureUnit", &TSettings::FluidPressureUnit, 44, 45},
    {"DensityUnit", &TSettings::DensityUnit, 79, 80},
};

struct FlagDefault {
    const char* name;
    bool TSettings::*flag;
    bool on;
};

const FlagDefault kFlagDefaults[] = {
    {"ShowPipeId", &TSettings::ShowPipeId, false},
    {"ShowPipeName", &TSettings::ShowPipeName, true},
    {"ShowPipeDiam", &TSettings::ShowPipeDiam, false},
    {"ShowPipeLength", &TSettings::ShowPipeLength, true},
    {"ShowComponentName", &TSettings::ShowComponentName, true},
    {"ShowFlowControlName", &TSettings::ShowFlowControlName, true},
    {"ShowFittingsValves", &TSettings::ShowFittingsValves, true},
    {"ShowFittingsBends", &TSettings::ShowFittingsBends, true},
    {"ShowFittingsKValue", &TSettings::ShowFittingsKValue, false},
    {"ShowPumpName", &TSettings::ShowPumpName, false},
    {"ShowPumpDistance", &TSettings::ShowPumpDistance, true},
    {"ShowPumpElevation", &TSettings::ShowPumpElevation, false},
    {"ShowNodeId", &TSettings::ShowNodeId, false},
    {"ShowNodeName", &TSettings::ShowNodeName, true},
    {"ShowNodeElevation", &TSettings::ShowNodeElevation, true},
    {"ShowNodeTankInfo", &TSettings::ShowNodeTankInfo, true},
    {"ShowFlowRate", &TSettings::ShowFlowRate, true},
    {"ShowVelocity", &TSettings::ShowVelocity, false},
    {"ShowPipePressureLoss", &TSettings::ShowPipePressureLoss, false},
    {"ShowFittingsNothing", &TSettings::ShowFittingsNothing, true},
    {"ShowFittingsPressureLoss", &TSettings::ShowFittingsPressureLoss, false},
    {"ShowPumpNothing", &TSettings::ShowPumpNothing, true},
    {"ShowPumpHead", &TSettings::ShowPumpHead, false},
    {"ShowPumpNPSHa", &TSettings::ShowPumpNPSHa, false},
    {"ShowNodeNothing", &TSettings::ShowNodeNothing, false},
    {"ShowNodePressure", &TSettings::ShowNodePressure, true},
};

void expectUnits(const TSettings& settings, bool imperial) {
    for (const UnitColumn& column : kUnitColumns) {
        EXPECT_EQ(settings.*column.field, imperial ? column.imperial : column.metric) << column.name;
    }
}

void expectDefaults(const TSettings& settings) {
    EXPECT_TRUE(settings.GaugePressure);
    EXPECT_EQ(settings.AtmosphericPressure, 1.01325);
    EXPECT_EQ(settings.AtmosphereUnit, 60);
    expectUnits(settings, false);
    for (const FlagDefault& flag : kFlagDefaults) EXPECT_EQ(settings.*flag.flag, flag.on) << flag.name;
    EXPECT_EQ(settings.FlowBalancingTolerance, 1e-6);
    EXPECT_EQ(settings.PressureBalancingToleranceApprox, 0.2);
    EXPECT_EQ(settings.PressureBalancingToleranceFinal, 1e-5);
    EXPECT_EQ(settings.MaxIterationsApproxSolution, 200);
    EXPECT_EQ(settings.MaxIterationsFinalSolution, 5000);
    EXPECT_EQ(settings.DeltaQReductionFactor, 0.1);
    EXPECT_EQ(settings.MinVelocityDischarge, 0.1);
    EXPECT_EQ(settings.MaxVelocityDischarge, 50.0);
    EXPECT_EQ(settings.LiquidHighVelocity, 5.0);
    EXPECT_EQ(settings.GasHighVelocity, 20.0);
}

// Settings that differ from the defaults in every field.
TSettings changedSettings() {
    TSettings settings;
    settings.GaugePressure = false;
    settings.AtmosphericPressure = 0.95;
    settings.AtmosphereUnit = 61;
    settings.SetImperialUnits();
    for (const FlagDefault& flag : kFlagDefaults) settings.*flag.flag = !flag.on;
    settings.FlowBalancingTolerance = 2e-6;
    settings.PressureBalancingToleranceApprox = 0.3;
    settings.PressureBalancingToleranceFinal = 2e-5;
    settings.MaxIterationsApproxSolution = 150;
    settings.MaxIterationsFinalSolution = 4000;
    settings.DeltaQReductionFactor = 0.2;
    settings.MinVelocityDischarge = 0.2;
    settings.MaxVelocityDischarge = 40.0;
    settings.LiquidHighVelocity = 3.0;
    settings.GasHighVelocity = 25.0;
    return settings;
}

std::string recordOf(const TSettings& settings) {
    TByteWriter writer;
    settings.WriteRecord(writer);
    return writer.Bytes();
}

double doubleAt(const std::string& bytes, std::size_t offset) {
    double value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

TEST(NetworkSettings, NewSettingsHaveTheDefaults) { expectDefaults(TSettings()); }

TEST(NetworkSettings, ClearRestoresEveryDefault) {
    TSettings settings = changedSettings();
    settings.Clear();
    expectDefaults(settings);
}

TEST(NetworkSettings, PresetsSetTheFifteenQuantityUnitsButNotTheAtmosphereUnit) {
    TSettings settings;
    settings.AtmosphereUnit = 61;
    settings.SetImperialUnits();
    expectUnits(settings, true);
    EXPECT_EQ(settings.AtmosphereUnit, 61);
    settings.SetMetricUnits();
    expectUnits(settings, false);
    EXPECT_EQ(settings.AtmosphereUnit, 61);
}

TEST(NetworkSettings, ResetCalculationOptionsLeavesUnitsAndFlagsAlone) {
    TSettings settings = changedSettings();
    settings.ResetCalculationOptions();
    EXPECT_EQ(settings.MaxIterationsFinalSolution, 5000);
    EXPECT_EQ(settings.MinVelocityDischarge, 0.1);
    expectUnits(settings, true);
    EXPECT_FALSE(settings.ShowPipeName);
}

TEST(NetworkSettingsRecord, HoldsEveryFieldAtItsOffset) {
    const std::string bytes = recordOf(changedSettings());
    ASSERT_EQ(bytes.size(), TSettings::RecordSize);
    EXPECT_EQ(bytes[0], '\0');
    EXPECT_EQ(doubleAt(bytes, 1), 0.95);
    // 16 unit bytes from byte 9: the atmosphere unit, then the imperial column in record order.
    EXPECT_EQ(bytes.substr(9, 16), std::string("\x3D\x02\x03\x03\x1F\x0F\x39\x12\x08\x0C\x2D\x02\x02\x17\x2D\x50"));
    // 26 flags from byte 25, each the opposite of its default.
    for (std::size_t i = 0; i < 26; ++i) {
        EXPECT_EQ(bytes[25 + i], kFlagDefaults[i].on ? '\0' : '\x01') << kFlagDefaults[i].name;
    }
    EXPECT_EQ(doubleAt(bytes, 51), 2e-6);
    EXPECT_EQ(doubleAt(bytes, 59), 0.3);
    EXPECT_EQ(doubleAt(bytes, 67), 2e-5);
    EXPECT_EQ(int32At(bytes, 75), 150);
    EXPECT_EQ(int32At(bytes, 79), 4000);
    EXPECT_EQ(doubleAt(bytes, 83), 0.2);
    EXPECT_EQ(doubleAt(bytes, 91), 0.2);
    EXPECT_EQ(doubleAt(bytes, 99), 40.0);
    EXPECT_EQ(doubleAt(bytes, 107), 3.0);
    EXPECT_EQ(doubleAt(bytes, 115), 25.0);
}

TEST(NetworkSettingsRecord, RoundTripRestoresEveryField) {
    const std::string bytes = recordOf(changedSettings());
    TByteReader reader(bytes);
    TSettings loaded;
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(recordOf(loaded), bytes);
    EXPECT_FALSE(loaded.GaugePressure);
    EXPECT_EQ(loaded.MaxIterationsApproxSolution, 150);
}

TEST(NetworkSettingsRecord, UnitIndexOutsideTheTableIsRejected) {
    std::string bytes = recordOf(TSettings());
    bytes[13] = '\x5A';  // 90, in FlowRateUnit
    TByteReader reader(bytes);
    TSettings loaded;
    try {
        loaded.ReadRecord(reader);
        FAIL() << "unit 90 must be refused";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), "unit index 90 is not 0..89 at byte 13");
    }
}

// A unit of another quantity would make every display of this one fail.
struct TMisfitUnitCase {
    std::size_t Offset;
    std::uint8_t Unit;
    const char* Message;
};

class NetworkSettingsMisfitUnit : public ::testing::TestWithParam<TMisfitUnitCase> {};

TEST_P(NetworkSettingsMisfitUnit, IsRejectedWithItsByte) {
    std::string bytes = recordOf(TSettings());
    bytes[GetParam().Offset] = static_cast<char>(GetParam().Unit);
    TByteReader reader(bytes);
    TSettings loaded;
    try {
        loaded.ReadRecord(reader);
        FAIL() << "a unit of the wrong kind must be refused";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), GetParam().Message);
    }
}

// Unit bytes from 9 on, in record order: atmosphere, length, diameter, roughness, flow rate ...
INSTANTIATE_TEST_SUITE_P(
    Units, NetworkSettingsMisfitUnit,
    ::testing::Values(TMisfitUnitCase{13, 0, "unit index 0 (m) is not a unit of flow rate at byte 13"},
                      TMisfitUnitCase{10, 25, "unit index 25 (m\xC2\xB3/sec) is not a unit of length at byte 10"},
                      TMisfitUnitCase{9, 44, "unit index 44 (bar.g) is not a unit of atmospheric pressure at byte 9"},
                      TMisfitUnitCase{24, 0, "unit index 0 (m) is not a unit of density at byte 24"}));

TEST(NetworkSettingsRecord, EveryPresetFitsItsQuantities) {
    TSettings settings;
    EXPECT_EQ(settings.FirstMisfitUnitField(), TSettings::UnitFieldCount);
    settings.SetImperialUnits();
    EXPECT_EQ(settings.FirstMisfitUnitField(), TSettings::UnitFieldCount);
    settings.FlowRateUnit = 0;
    EXPECT_STREQ(TSettings::UnitFieldQuantity(settings.FirstMisfitUnitField()), "flow rate");
}
