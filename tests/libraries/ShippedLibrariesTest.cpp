#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_DecimalMark.h"
#include "libraries/LibraryTestSupport.h"
#include "libraries/VM4_Fitting_Database.h"
#include "libraries/VM4_Fluid_Database.h"
#include "libraries/VM4_GasViscosityCalc.h"
#include "libraries/VM4_LibraryFiles.h"
#include "libraries/VM4_Pipe_Diameter_Library.h"

// The libraries the build puts beside the executables, checked against the
// reference data they were made from.
namespace {

const std::filesystem::path kProgramFolder = VELMORA_PROGRAM_FOLDER;

const TPipe* findSize(const TPipeDiameterSet& sizes, const std::string& nominalSize) {
    for (int slot = 1; slot <= sizes.Count(); ++slot) {
        if (sizes.GetPipeDiameterData(slot).NominalSize == nominalSize) return &sizes.GetPipeDiameterData(slot);
    }
    return nullptr;
}

const TFluid* findFluid(const TFluidDataSet& fluids, const std::string& name, double temperature_K) {
    for (int slot = 1; slot <= fluids.Count(); ++slot) {
        const TFluid& fluid = fluids.GetFluidDataRec(slot).Fluid;
        if (fluid.Name == name && std::abs(fluid.Temperature_K - temperature_K) < 1e-9) return &fluid;
    }
    return nullptr;
}

class ShippedLibrariesTest : public ::testing::Test {
protected:
    TRecordedMessages messages;
};

TEST_F(ShippedLibrariesTest, EveryPipeTableLoadsAndTheDefaultTableIsAmongThem) {
    TPipeDiameterLibrary library(kProgramFolder / kPipeTablesFolderName, messages);
    const std::vector<TPipeTableEntry>& tables = library.ListPipeTables();
    bool defaultTableListed = false;
    for (const TPipeTableEntry& table : tables) {
        SCOPED_TRACE(table.FileName);
        EXPECT_TRUE(library.LoadPipeTable(library.TablePath(table.FileName)));
        EXPECT_GT(library.Sizes().Count(), 0);
        EXPECT_FALSE(table.SizeRange.empty());
        defaultTableListed = defaultTableListed || table.FileName == kDefaultPipeTableFileName;
    }
    EXPECT_TRUE(defaultTableListed);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ShippedLibrariesTest, FourInchScheduleFortySteelHasTheStandardDimensions) {
    TPipeDiameterLibrary library(kProgramFolder / kPipeTablesFolderName, messages);
    ASSERT_TRUE(library.LoadPipeTable(library.TablePathForPipe(kDefaultPipeTableFileName)));
    const TPipe* size = findSize(library.Sizes(), "4\"");
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->Material, "Carbon steel");
    EXPECT_EQ(size->Schedule, "Sch 40");
    // ASME B36.10M: OD 114.3 mm (4.500 in), wall 6.02 mm (written 0.237 in = 6.0198 mm)
    EXPECT_REL_NEAR(size->OuterDiameter_m, 0.1143, 1e-12);
    EXPECT_REL_NEAR(size->WallThickness_m, 0.00602, 5e-5);
    // bore = 114.3 - 2 x 6.0198 = 102.2604 mm
    EXPECT_REL_NEAR(size->InnerDiameter_m, 0.1022604, 1e-9);
    // 16.08 kg/m written as 10.805 lbs/ft = 16.0799 kg/m
    EXPECT_REL_NEAR(size->WeightPerLength_kg_m, 16.08, 1e-4);
    // 0.045 mm written as 0.001772 in
    EXPECT_REL_NEAR(size->InnerRoughness_m, 0.000045, 1e-3);
    EXPECT_EQ(size->SizeClass, 125);
}

TEST_F(ShippedLibrariesTest, DuctileIronBoreIsTheLinedBore) {
    TPipeDiameterLibrary library(kProgramFolder / kPipeTablesFolderName, messages);
    ASSERT_TRUE(library.LoadPipeTable(library.TablePath("DuctileIron_AWWA_C151_PC350.vmpi")));
    const TPipe* size = findSize(library.Sizes(), "6\"");
    ASSERT_NE(size, nullptr);
    // OD 175.26 mm, iron wall 6.35 mm, lining 1/16 in = 1.5875 mm:
    // bore = 175.26 - 2 x (6.35 + 1.5875) = 159.385 mm; written 6.900 in and 0.313 in
    // read back as 175.26 - 2 x 7.9502 = 159.3596 mm
    EXPECT_REL_NEAR(size->InnerDiameter_m, 0.159385, 2e-4);
}

TEST_F(ShippedLibrariesTest, RewritingAStandardFileKeepsEveryValue) {
    // A standard file is rewritten by the program when the user removes one of its
    // entries: the untouched entries must come out exactly as they were.
    TScopedDecimalMark commaSystem(',');
    TTempFolder copies;
    TPipeDiameterLibrary pipes(kProgramFolder / kPipeTablesFolderName, messages);
    for (const TPipeTableEntry& table : pipes.ListPipeTables()) {
        SCOPED_TRACE(table.FileName);
        ASSERT_TRUE(pipes.LoadPipeTable(pipes.TablePath(table.FileName)));
        pipes.SaveStandardTable(copies / table.FileName);
        EXPECT_EQ(FileContents(copies / table.FileName), FileContents(pipes.TablePath(table.FileName)));
    }
    TFittingDatabase fittings(kProgramFolder / kFittingTablesFolderName, messages);
    ASSERT_TRUE(fittings.LoadFittingDatabase());
    std::ostringstream fittingText(LibraryHeaderLine("1.02"), std::ios::ate);
    fittings.Fittings().SaveToTextWithoutQuantity(fittingText);
    EXPECT_EQ(fittingText.str(), FileContents(fittings.StandardFilePath()));

    TFluidDataSet fluids(TFluidDatabase::kCapacity);
    std::ifstream fluidFile = OpenLibraryFile(kProgramFolder / kFluidTablesFolderName / "vmn_Fluids.vmfl");
    std::string header;
    std::getline(fluidFile, header);
    ASSERT_TRUE(fluids.LoadFromText_FluidDataSet(fluidFile, messages));
    std::ostringstream fluidText(LibraryHeaderLine("1.02"), std::ios::ate);
    fluids.SaveToText_FluidDataSet(fluidText);
    EXPECT_EQ(fluidText.str(), FileContents(kProgramFolder / kFluidTablesFolderName / "vmn_Fluids.vmfl"));
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ShippedLibrariesTest, FittingsLoadWithTheirCraneKValues) {
    TFittingDatabase database(kProgramFolder / kFittingTablesFolderName, messages);
    ASSERT_TRUE(database.LoadFittingDatabase());
    const TFittingSet& fittings = database.Fittings();
    bool gateValveFound = false;
    for (int i = 1; i <= fittings.Count(); ++i) {
        const TFitting& fitting = fittings.GetFitting(i);
        if (fitting.Type != "GATE_VALVE" || fitting.SizeIndex != 100) continue;
        gateValveFound = true;
        // Crane: K = 8 fT, fT = 0.017 for 4": 0.136, written with 2 decimals
        EXPECT_DOUBLE_EQ(fitting.KValue, 0.14);
        EXPECT_TRUE(fitting.HasValveSymbol());
        EXPECT_EQ(fitting.ImperialSize, "4\"");
    }
    EXPECT_TRUE(gateValveFound);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ShippedLibrariesTest, WaterAtTwentyDegreesHasTheIapwsValues) {
    TFluidDatabase database(kProgramFolder / kFluidTablesFolderName, messages);
    ASSERT_TRUE(database.LoadFluidDatabase());
    const TFluid* water = findFluid(database.Fluids(), "Water", 293.15);
    ASSERT_NE(water, nullptr);
    EXPECT_REL_NEAR(water->Density_kg_m3, 998.21, 1e-12);
    EXPECT_REL_NEAR(water->DynamicViscosity_cP, 1.002, 1e-3);
    EXPECT_REL_NEAR(water->DynamicViscosity_cP, 1.0016, 1e-12);
    // 2.3392 kPa = 0.023392 bar absolute
    EXPECT_REL_NEAR(water->VapourPressure_bar_a, 0.023392, 1e-12);
    EXPECT_FALSE(water->IsGas);
    const TFluid* air = findFluid(database.Fluids(), "Air (dry)", 293.15);
    ASSERT_NE(air, nullptr);
    // Six decimals keep a gas's viscosity: 0.01822 cP, not 0.018.
    EXPECT_REL_NEAR(air->DynamicViscosity_cP, 0.01822, 1e-12);
    EXPECT_TRUE(air->IsGas);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ShippedLibrariesTest, AirFromTheGasConstantsAtTwentyDegrees) {
    TGasConstantTable gases;
    ASSERT_TRUE(gases.LoadGasConstants(kProgramFolder / kFluidTablesFolderName, messages));
    ASSERT_GT(gases.Count(), 0);
    const TGasData& air = gases.GetGasData(0);
    ASSERT_EQ(air.Name, "Air");
    const TGasProperties properties = gases.CalculateGasProperties(0, 20.0, 0.0);
    // R = 287.06: rho = 101325 / 287.06 / 293.15 = 1.2040764 kg/m³
    EXPECT_REL_NEAR(properties.Density_kg_m3, 1.2040764, 1e-7);
    // mu0 = 0.01722, C = 120: mu = 393.15 x 0.01722 / 413.15 x 1.1118164 = 0.0182187 cP,
    // the reference value of air (18.2 µPa·s)
    EXPECT_REL_NEAR(properties.DynamicViscosity_cP, 0.0182187, 1e-5);
    EXPECT_TRUE(messages.Shown.empty());
}

}  // namespace
