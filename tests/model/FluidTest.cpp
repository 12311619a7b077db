#include "model/VM4_Fluid_Class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "common/RecordingGrid.h"
#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_DecimalMark.h"

namespace {

// Byte offsets in the fluid record: name 81, formula 31, then the doubles.
constexpr std::size_t kDynamicViscosityOffset = 81 + 31 + 3 * 8;
constexpr std::size_t kDensityOffset = kDynamicViscosityOffset + 8;
constexpr std::size_t kIsGasOffset = kDensityOffset + 2 * 8;

void expectWater(const TFluid& fluid) {
    EXPECT_EQ(fluid.Name, "Water");
    EXPECT_EQ(fluid.Formula, "H2O");
    EXPECT_REL_NEAR(fluid.Temperature_K, 293.15, 1e-12);
    EXPECT_EQ(fluid.Pressure_bar_g, 0.0);
    EXPECT_EQ(fluid.KinematicViscosity_cSt, 1.0);
    EXPECT_EQ(fluid.DynamicViscosity_cP, 1.002);
    EXPECT_EQ(fluid.Density_kg_m3, 998.0);
    EXPECT_EQ(fluid.VapourPressure_bar_a, 0.024);
    EXPECT_FALSE(fluid.IsGas);
    EXPECT_EQ(fluid.ReservedFactor, 1.0);
}

TFluid nitrogen() {
    TFluid gas;
    gas.Name = "Nitrogen";
    gas.Formula = "N2";
    gas.Temperature_K = 313.15;
    gas.Pressure_bar_g = 2.5;
    gas.KinematicViscosity_cSt = 5.4;
    gas.DynamicViscosity_cP = 0.0185;
    gas.Density_kg_m3 = 3.77;
    gas.VapourPressure_bar_a = 0.0;
    gas.IsGas = true;
    gas.ReservedFactor = 1.0;
    return gas;
}

std::vector<std::string> rowCells(const TRecordingGrid& grid, int firstColumn, int row) {
    std::vector<std::string> cells;
    for (int column = firstColumn; column < firstColumn + 9; ++column) cells.push_back(grid.Cell(column, row));
    return cells;
}

TEST(Fluid, NewFluidAndClearAreWaterAt20DegreesC) {
    TFluid fluid;
    expectWater(fluid);
    fluid = nitrogen();
    fluid.Clear();
    expectWater(fluid);
}

TEST(Fluid, CopyFluidTakesEveryField) {
    TFluid copy;
    copy.CopyFluid(nitrogen());
    const TFluid expected = nitrogen();
    EXPECT_EQ(copy.Name, expected.Name);
    EXPECT_EQ(copy.Formula, expected.Formula);
    EXPECT_EQ(copy.Temperature_K, expected.Temperature_K);
    EXPECT_EQ(copy.Pressure_bar_g, expected.Pressure_bar_g);
    EXPECT_EQ(copy.KinematicViscosity_cSt, expected.KinematicViscosity_cSt);
    EXPECT_EQ(copy.DynamicViscosity_cP, expected.DynamicViscosity_cP);
    EXPECT_EQ(copy.Density_kg_m3, expected.Density_kg_m3);
    EXPECT_EQ(copy.VapourPressure_bar_a, expected.VapourPressure_bar_a);
    EXPECT_TRUE(copy.IsGas);
}

TEST(Fluid, MetricGridRowOfWater) {
    TScopedDecimalMark mark('.');
    TRecordingGrid grid;
    TFluid().DisplayOnStringGrid_Metric(grid, 2, 7, 5);
    // 0.024 bar a = 2.4 kPa a
    EXPECT_EQ(rowCells(grid, 2, 5), (std::vector<std::string>{"Water", "H2O", "20.0", "0.000", "998.000", "1.0020",
                                                              "2.400", "Liquid", "7"}));
    EXPECT_EQ(grid.CellCount(), 9u);
}

TEST(Fluid, ImperialGridRowOfWater) {
    TScopedDecimalMark mark('.');
    TRecordingGrid grid;
    TFluid().DisplayOnStringGrid_Imperial(grid, 0, 12, 1);
    // 20 °C = 68 °F; 998 kg/m³ x 2.20462262185 lb/kg x 0.3048³ m³/ft³ = 62.3031 lb/ft³;
    // 0.024 bar a x 14.5037743897 psi/bar = 0.3481 psi a
    EXPECT_EQ(rowCells(grid, 0, 1), (std::vector<std::string>{"Water", "H2O", "68.0", "0.000", "62.303", "1.0020",
                                                              "0.348", "Liquid", "12"}));
}

TEST(Fluid, GasRowWithoutVapourPressureShowsNotApplicable) {
    TScopedDecimalMark mark(',');
    TRecordingGrid grid;
    nitrogen().DisplayOnStringGrid_Metric(grid, 0, 3, 0);
    // 313.15 K = 40 °C; the system's mark is used for display
    EXPECT_EQ(rowCells(grid, 0, 0), (std::vector<std::string>{"Nitrogen", "N2", "40,0", "2,500", "3,770", "0,0185",
                                                              "N/A", "Gas", "3"}));
}

struct VapourPressureCase {
    double vapourPressure_bar_a;
    const char* metricCell;
    const char* imperialCell;
};

class FluidVapourPressureCellTest : public ::testing::TestWithParam<VapourPressureCase> {};

TEST_P(FluidVapourPressureCellTest, ShownOnlyAbove0001Bar) {
    TScopedDecimalMark mark('.');
    TFluid fluid;
    fluid.VapourPressure_bar_a = GetParam().vapourPressure_bar_a;
    TRecordingGrid metric;
    TRecordingGrid imperial;
    fluid.DisplayOnStringGrid_Metric(metric, 0, 1, 0);
    fluid.DisplayOnStringGrid_Imperial(imperial, 0, 1, 0);
    EXPECT_EQ(metric.Cell(6, 0), GetParam().metricCell);
    EXPECT_EQ(imperial.Cell(6, 0), GetParam().imperialCell);
}

INSTANTIATE_TEST_SUITE_P(Values, FluidVapourPressureCellTest,
                         ::testing::Values(VapourPressureCase{0.0, "N/A", "N/A"},
                                           VapourPressureCase{0.001, "N/A", "N/A"},
                                           // 0.0011 bar = 0.11 kPa = 0.01595 psi
                                           VapourPressureCase{0.0011, "0.110", "0.016"},
                                           // 1.01325 bar = 101.325 kPa = 14.696 psi
                                           VapourPressureCase{1.01325, "101.325", "14.696"}));

TEST(Fluid, RecordIs169BytesInLayoutOrder) {
    TByteWriter writer;
    nitrogen().WriteRecord(writer);
    ASSERT_EQ(writer.Size(), TFluid::kRecordSize);
    ASSERT_EQ(writer.Size(), 169u);
    const std::string& bytes = writer.Bytes();
    EXPECT_EQ(bytes.substr(0, 9), "\x08Nitrogen");
    EXPECT_EQ(bytes.substr(81, 3), "\x02N2");
    double density = 0.0;
    std::memcpy(&density, bytes.data() + kDensityOffset, sizeof density);
    EXPECT_EQ(density, 3.77);
    EXPECT_EQ(bytes[kIsGasOffset], '\x01');
    double reserved = 0.0;
    std::memcpy(&reserved, bytes.data() + kIsGasOffset + 1, sizeof reserved);
    EXPECT_EQ(reserved, 1.0);
}

TEST(Fluid, RecordRoundTripsEveryField) {
    TByteWriter writer;
    nitrogen().WriteRecord(writer);
    TFluid loaded;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    const TFluid expected = nitrogen();
    EXPECT_EQ(loaded.Name, expected.Name);
    EXPECT_EQ(loaded.Formula, expected.Formula);
    EXPECT_EQ(loaded.Temperature_K, expected.Temperature_K);
    EXPECT_EQ(loaded.Pressure_bar_g, expected.Pressure_bar_g);
    EXPECT_EQ(loaded.KinematicViscosity_cSt, expected.KinematicViscosity_cSt);
    EXPECT_EQ(loaded.DynamicViscosity_cP, expected.DynamicViscosity_cP);
    EXPECT_EQ(loaded.Density_kg_m3, expected.Density_kg_m3);
    EXPECT_EQ(loaded.VapourPressure_bar_a, expected.VapourPressure_bar_a);
    EXPECT_TRUE(loaded.IsGas);
}

TEST(Fluid, LongNameIsCutTo80Characters) {
    TFluid fluid;
    fluid.Name = std::string(100, 'n');
    TByteWriter writer;
    fluid.WriteRecord(writer);
    EXPECT_EQ(writer.Size(), 169u);
    TFluid loaded;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_EQ(loaded.Name, std::string(80, 'n'));
}

struct BadPropertyCase {
    std::size_t offset;
    double value;
    const char* message;
};

class FluidBadPropertyTest : public ::testing::TestWithParam<BadPropertyCase> {};

TEST_P(FluidBadPropertyTest, ReaderRejectsPropertiesThatCalculationsDivideBy) {
    const BadPropertyCase& c = GetParam();
    TByteWriter writer;
    TFluid().WriteRecord(writer);
    std::string bytes = writer.Bytes();
    std::memcpy(bytes.data() + c.offset, &c.value, sizeof c.value);
    TFluid loaded = nitrogen();
    TByteReader reader(bytes);
    try {
        loaded.ReadRecord(reader);
        FAIL() << "value " << c.value << " must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(loaded.Name, "Nitrogen");
}

INSTANTIATE_TEST_SUITE_P(
    Values, FluidBadPropertyTest,
    ::testing::Values(
        BadPropertyCase{kDensityOffset, 0.0, "fluid density must be a positive number at byte 144"},
        BadPropertyCase{kDensityOffset, -998.0, "fluid density must be a positive number at byte 144"},
        BadPropertyCase{kDensityOffset, std::numeric_limits<double>::quiet_NaN(),
                        "fluid density must be a positive number at byte 144"},
        BadPropertyCase{kDynamicViscosityOffset, 0.0, "fluid dynamic viscosity must be a positive number at byte 136"},
        BadPropertyCase{kDynamicViscosityOffset, std::numeric_limits<double>::infinity(),
                        "fluid dynamic viscosity must be a positive number at byte 136"}));

TEST(Fluid, TruncatedRecordRaisesAndKeepsFluid) {
    TByteWriter writer;
    nitrogen().WriteRecord(writer);
    TFluid loaded;
    TByteReader reader(writer.Bytes().data(), 168);
    EXPECT_THROW(loaded.ReadRecord(reader), EStreamFormatError);
    expectWater(loaded);
}

}  // namespace
