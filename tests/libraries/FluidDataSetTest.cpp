#include "libraries/VM4_Fluid_Data_Set_Class.h"
#include "libraries/VM4_Fluid_Database.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_DecimalMark.h"
#include "libraries/LibraryTestSupport.h"
#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kStandardFluids = "vmn_Fluids.vmfl";
const char* const kUserFluids = "vmn_Fluids.vmflu";

TFluid fluidNamed(const std::string& name, double temperature_K) {
    TFluid fluid;
    fluid.Name = name;
    fluid.Temperature_K = temperature_K;
    return fluid;
}

std::vector<std::string> namesOf(const TFluidDataSet& set) {
    std::vector<std::string> names;
    for (int slot = 1; slot <= set.Count(); ++slot) names.push_back(set.GetFluidDataRec(slot).Fluid.Name);
    return names;
}

void loadStandardFixture(TFluidDataSet& set, TRecordedMessages& messages) {
    std::ifstream file = OpenLibraryFile(LibraryFixture("fluids") / kStandardFluids);
    std::string header;
    std::getline(file, header);
    ASSERT_TRUE(set.LoadFromText_FluidDataSet(file, messages));
}

class FluidDataSetFileTest : public ::testing::TestWithParam<char> {};

TEST_P(FluidDataSetFileTest, ReadsEveryFieldWithEitherDecimalMark) {
    TScopedDecimalMark mark(GetParam());
    TFluidDataSet set(10);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    ASSERT_EQ(namesOf(set), (std::vector<std::string>{"Water", "Air", "Brine"}));

    const TFluidDataSet::TEntry& water = set.GetFluidDataRec(1);
    EXPECT_EQ(water.Fluid.Formula, "H2O");
    EXPECT_DOUBLE_EQ(water.Fluid.Temperature_K, 293.15);
    EXPECT_DOUBLE_EQ(water.Fluid.Pressure_bar_g, 0.0);
    EXPECT_DOUBLE_EQ(water.Fluid.Density_kg_m3, 998.21);
    EXPECT_DOUBLE_EQ(water.Fluid.DynamicViscosity_cP, 1.002);
    // 2.338 kPa in the file: 2.338 / 100 = 0.02338 bar absolute
    EXPECT_REL_NEAR(water.Fluid.VapourPressure_bar_a, 0.02338, 1e-12);
    // cSt = 1.002 / 998.21 x 1000 = 1.0037968
    EXPECT_REL_NEAR(water.Fluid.KinematicViscosity_cSt, 1.0037968, 1e-7);
    EXPECT_FALSE(water.Fluid.IsGas);
    EXPECT_EQ(water.Origin, TFluidDataSet::kStandardFile);

    // Written with commas in the file.
    const TFluid& air = set.GetFluidDataRec(2).Fluid;
    EXPECT_DOUBLE_EQ(air.Temperature_K, 293.15);
    EXPECT_DOUBLE_EQ(air.Density_kg_m3, 1.204);
    EXPECT_DOUBLE_EQ(air.DynamicViscosity_cP, 0.018);
    EXPECT_TRUE(air.IsGas);

    // Its last field is "1": a user fluid although it stands in the standard file.
    const TFluidDataSet::TEntry& brine = set.GetFluidDataRec(3);
    EXPECT_EQ(brine.Origin, TFluidDataSet::kUserFile);
    EXPECT_DOUBLE_EQ(brine.Fluid.Pressure_bar_g, 0.5);
}

TEST_P(FluidDataSetFileTest, WritesPointDecimalsSixDecimalPropertiesAndTheOrigin) {
    TScopedDecimalMark mark(GetParam());
    TFluidDataSet set(10);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    std::ostringstream standard;
    std::ostringstream user;
    set.SaveToText_FluidDataSet(standard);
    set.SaveUser_FluidDataSet_ToText(user);
    EXPECT_EQ(standard.str(),
              CrLfLines({"Water~|~H2O~|~293.150~|~0.000~|~998.210000~|~1.002000~|~2.338000~|~0~|~0",
                         "Air~|~N2+O2~|~293.150~|~0.000~|~1.204000~|~0.018000~|~0.000000~|~1~|~0"}));
    EXPECT_EQ(user.str(), CrLfLines({"Brine~|~mix~|~278.150~|~0.500~|~1100.000000~|~2.000000~|~0.800000~|~0~|~1"}));
}

INSTANTIATE_TEST_SUITE_P(SystemMarks, FluidDataSetFileTest, ::testing::Values('.', ','));

struct TFluidLineCase {
    const char* Line;
    bool Reads;
};

void PrintTo(const TFluidLineCase& c, std::ostream* os) { *os << '"' << c.Line << '"'; }

class FluidLineTest : public ::testing::TestWithParam<TFluidLineCase> {};

TEST_P(FluidLineTest, ABadLineIsCodeMinus01WithItsLine) {
    TFluidDataSet set(10);
    TRecordedMessages messages;
    std::istringstream in(CrLfLines({"Water~|~H2O~|~293.15~|~0~|~998.2~|~1.002~|~2.338~|~0~|~0", GetParam().Line}));
    if (GetParam().Reads) {
        EXPECT_TRUE(set.LoadFromText_FluidDataSet(in, messages));
        EXPECT_EQ(set.Count(), 2);
        return;
    }
    try {
        set.LoadFromText_FluidDataSet(in, messages);
        FAIL() << "expected Code -01 for " << GetParam().Line;
    } catch (const EFluidDataSetClass& error) {
        // The header, the water, then this line.
        EXPECT_STREQ(error.what(), "Code -01: Error on line number 3");
    }
    // Nothing of the file stays in the set.
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.GetFluidDataRec(1).Fluid.Density_kg_m3, TFluid().Density_kg_m3);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FluidLineTest,
    ::testing::Values(TFluidLineCase{"Oil~|~~|~ 293.15 ~|~-0.2~|~870~|~40~|~0~|~0~|~0", true},
                      TFluidLineCase{"Oil~|~~|~293.15~|~0~|~870~|~40~|~0~|~x~|~anything", false},
                      TFluidLineCase{"Oil~|~~|~293.15~|~0~|~870~|~40~|~0~|~1~|~1", true},
                      TFluidLineCase{"Oil~|~mix~|~293.15~|~0~|~870~|~40~|~0~|~0", false},
                      TFluidLineCase{"Oil~|~mix~|~293.15~|~0~|~87O~|~40~|~0~|~0~|~0", false},
                      TFluidLineCase{"Oil~|~mix~|~293.15~|~0~|~870~|~~|~0~|~0~|~0", false},
                      TFluidLineCase{"Oil~|~mix~|~293.15~|~0~|~0~|~40~|~0~|~0~|~0", false},
                      TFluidLineCase{"Oil~|~mix~|~293.15~|~0~|~870~|~-4~|~0~|~0~|~0", false},
                      TFluidLineCase{"Oil mix 293.15 0 870 40 0 0 0", false}));

TEST(FluidDataSet, UserFileLineNumbersAreLinesOfTheUserFile) {
    TFluidDataSet set(10);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    std::ifstream user = OpenLibraryFile(LibraryFixture("fluids_bad") / kUserFluids);
    std::string header;
    std::getline(user, header);
    try {
        set.LoadUser_FluidDataSet_FromText(user, messages);
        FAIL() << "the second user line has eight fields";
    } catch (const EFluidDataSetClass& error) {
        // the header, the first user fluid, then this one
        EXPECT_STREQ(error.what(), "Code -01: Error on line number 3");
    }
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"Water", "Air", "Brine"}));
}

TEST(FluidDataSet, AReadErrorIsCodeMinus01OfTheLineBeingRead) {
    TFluidDataSet set(10);
    TRecordedMessages messages;
    TStreamFailingAfter broken(CrLfLines({"Water~|~H2O~|~293.15~|~0~|~998.2~|~1.002~|~2.338~|~0~|~0"}));
    std::istream in(&broken);
    try {
        set.LoadFromText_FluidDataSet(in, messages);
        FAIL() << "a read error must raise";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -01: Error on line number 3");
    }
    EXPECT_EQ(set.Count(), 0);
}

TEST(FluidDataSet, AFileThatFillsTheSetExactlyLoads) {
    TFluidDataSet set(3);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    EXPECT_EQ(set.Count(), 3);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST(FluidDataSet, OneStandardFluidTooManyLeavesTheSetAsBeforeTheFile) {
    TFluidDataSet set(2);
    TRecordedMessages messages;
    std::ifstream file = OpenLibraryFile(LibraryFixture("fluids") / kStandardFluids);
    std::string header;
    std::getline(file, header);
    EXPECT_FALSE(set.LoadFromText_FluidDataSet(file, messages));
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"Code -02: File too large - Read past max number of Fluid entries."});
    EXPECT_EQ(set.Count(), 0);
}

TEST(FluidDataSet, OneUserFluidTooManyKeepsTheStandardFluids) {
    TFluidDataSet set(3);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    std::ifstream user = OpenLibraryFile(LibraryFixture("fluids") / kUserFluids);
    std::string header;
    std::getline(user, header);
    EXPECT_FALSE(set.LoadUser_FluidDataSet_FromText(user, messages));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{"Code -02a: File too large - Read past max number of Fluids."});
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"Water", "Air", "Brine"}));
}

TEST(FluidDataSet, AFailingStreamIsCodeMinus03) {
    TFluidDataSet set(10);
    TRecordedMessages messages;
    loadStandardFixture(set, messages);
    std::ostringstream standard;
    standard.setstate(std::ios::badbit);
    EXPECT_THROW(
        {
            try {
                set.SaveToText_FluidDataSet(standard);
            } catch (const EFluidDataSetClass& error) {
                EXPECT_STREQ(error.what(), "Code -03: Could not save file.");
                throw;
            }
        },
        EFluidDataSetClass);
    std::ostringstream user;
    user.setstate(std::ios::badbit);
    try {
        set.SaveUser_FluidDataSet_ToText(user);
        FAIL() << "a failing stream must raise";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03a: Could not save file.");
    }
}

TEST(FluidDataSet, AddsUpToItsCapacity) {
    TFluidDataSet set(2);
    EXPECT_EQ(set.AddFluidDataRec(fluidNamed("A", 300), TFluidDataSet::kUserFile), 1);
    EXPECT_EQ(set.AddFluidDataRec(fluidNamed("B", 300), TFluidDataSet::kStandardFile), 2);
    try {
        set.AddFluidDataRec(fluidNamed("C", 300), TFluidDataSet::kUserFile);
        FAIL() << "a full set must refuse";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "TFluidDataSet.AddFluidData Failed: May have reached Max number of Fluids allowed");
    }
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(set.GetFluidDataRec(1).Origin, TFluidDataSet::kUserFile);
}

TEST(FluidDataSet, RemovingMovesTheLaterFluidsDownWithTheirOrigin) {
    TFluidDataSet set(5);
    for (const char* name : {"A", "B", "C"}) set.AddFluidDataRec(fluidNamed(name, 300), TFluidDataSet::kStandardFile);
    set.ReplaceFluidDataRec(3, fluidNamed("C", 300), TFluidDataSet::kUserFile);
    set.RemoveFluidDataRec(2);
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(set.GetFluidDataRec(2).Origin, TFluidDataSet::kUserFile);
    // The freed slot is water again.
    EXPECT_EQ(set.GetFluidDataRec(3).Fluid.Name, "Water");
    for (const int slot : {0, 3, 6, -1}) {
        try {
            set.RemoveFluidDataRec(slot);
            FAIL() << "slot " << slot;
        } catch (const EFluidDataSetClass& error) {
            EXPECT_STREQ(error.what(), "TFluidDataSet.RemoveFluidData Failed: Specified Id may not be valid");
        }
    }
    EXPECT_EQ(set.Count(), 2);
    EXPECT_THROW(set.GetFluidDataRec(6), EFluidDataSetClass);
}

TEST(FluidDataSet, FindsTheLastFluidOfAnExactName) {
    TFluidDataSet set(5);
    for (const char* name : {"Water", "Air", "Water", "water"}) {
        set.AddFluidDataRec(fluidNamed(name, 300), TFluidDataSet::kStandardFile);
    }
    EXPECT_EQ(set.FindEntryNameId("Water"), 3);
    EXPECT_EQ(set.FindEntryNameId("water"), 4);
    EXPECT_EQ(set.FindEntryNameId("Oil"), -1);
}

TEST(FluidDataSet, SortsByNameIgnoringCaseThenByTemperature) {
    TFluidDataSet set(6);
    set.AddFluidDataRec(fluidNamed("water", 353.15), TFluidDataSet::kStandardFile);
    set.AddFluidDataRec(fluidNamed("Air", 293.15), TFluidDataSet::kUserFile);
    set.AddFluidDataRec(fluidNamed("Water", 293.15), TFluidDataSet::kStandardFile);
    // 1000 K sorts after 353.15 K only because the temperature is right-aligned.
    set.AddFluidDataRec(fluidNamed("Water", 1000.0), TFluidDataSet::kStandardFile);
    set.SortFluidDataSet(true);
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"Air", "Water", "water", "Water"}));
    EXPECT_DOUBLE_EQ(set.GetFluidDataRec(3).Fluid.Temperature_K, 353.15);
    EXPECT_EQ(set.GetFluidDataRec(1).Origin, TFluidDataSet::kUserFile);
    set.SortFluidDataSet(false);
    EXPECT_EQ(namesOf(set), (std::vector<std::string>{"Water", "water", "Water", "Air"}));
    EXPECT_DOUBLE_EQ(set.GetFluidDataRec(1).Fluid.Temperature_K, 1000.0);
}

const char* const kWaterLine = "Water~|~H2O~|~293.150~|~0.000~|~998.210000~|~1.002000~|~2.338000~|~0~|~0";
const char* const kAirLine = "Air~|~N2+O2~|~293.150~|~0.000~|~1.204000~|~0.018000~|~0.000000~|~1~|~0";
const char* const kBrineLine = "Brine~|~mix~|~278.150~|~0.500~|~1100.000000~|~2.000000~|~0.800000~|~0~|~1";
const char* const kGlycolLine = "Glycol~|~C2H6O2~|~293.150~|~0.000~|~1113.000000~|~16.100000~|~0.010000~|~0~|~1";
const char* const kOilLine = "Oil~|~mix~|~313.150~|~0.000~|~860.000000~|~39.600000~|~0.001000~|~0~|~1";

TFluid oil() {
    TFluid fluid = fluidNamed("Oil", 313.15);
    fluid.Formula = "mix";
    fluid.Density_kg_m3 = 860.0;
    fluid.DynamicViscosity_cP = 39.6;
    fluid.VapourPressure_bar_a = 0.00001;
    return fluid;
}

class FluidDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { CopyFixtureInto("fluids", folder); }
    // The fixture's standard file without its line marked as a user fluid.
    void useStandardFileOfStandardFluidsOnly() const {
        WriteFileContents(folder / kStandardFluids, CrLfLines({"1.02~|~~|~", kWaterLine, kAirLine}));
    }
    std::string standardBytes() const { return FileContents(folder / kStandardFluids); }
    std::string userBytes() const { return FileContents(folder / kUserFluids); }

    TTempFolder folder;
    TRecordedMessages messages;
    TFluidDatabase database{folder.Path(), messages};
};

TEST_F(FluidDatabaseTest, LoadsStandardThenUserFluidsSortedByName) {
    EXPECT_TRUE(database.LoadFluidDatabase());
    EXPECT_EQ(namesOf(database.Fluids()), (std::vector<std::string>{"Air", "Brine", "Glycol", "Water"}));
    EXPECT_EQ(database.Fluids().GetFluidDataRec(3).Origin, TFluidDataSet::kUserFile);
    EXPECT_EQ(database.Header().VersionReference(), "1.02");
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(FluidDatabaseTest, WithoutAUserFileOnlyTheStandardFluidsLoad) {
    std::filesystem::remove(folder / kUserFluids);
    EXPECT_TRUE(database.LoadFluidDatabase());
    EXPECT_EQ(namesOf(database.Fluids()), (std::vector<std::string>{"Air", "Brine", "Water"}));
}

TEST_F(FluidDatabaseTest, AMissingStandardFileRaisesAndLeavesTheSetEmpty) {
    std::filesystem::remove(folder / kStandardFluids);
    EXPECT_THROW(database.LoadFluidDatabase(), ELibraryFile);
    EXPECT_EQ(database.Fluids().Count(), 0);
}

TEST_F(FluidDatabaseTest, AddingAUserFluidWritesEveryUserFluidAndLeavesTheStandardFile) {
    useStandardFileOfStandardFluidsOnly();
    ASSERT_TRUE(database.LoadFluidDatabase());
    const std::string standardBefore = standardBytes();
    const int slot = database.AddUserFluid(oil());
    EXPECT_EQ(slot, 4);
    EXPECT_EQ(database.Fluids().GetFluidDataRec(slot).Origin, TFluidDataSet::kUserFile);
    EXPECT_EQ(standardBytes(), standardBefore);
    EXPECT_EQ(userBytes(), CrLfLines({"1.02~|~~|~", kGlycolLine, kOilLine}));
}

TEST_F(FluidDatabaseTest, AUserFluidOfTheStandardFileMovesToTheUserFileOnce) {
    ASSERT_TRUE(database.LoadFluidDatabase());
    database.AddUserFluid(oil());
    EXPECT_EQ(userBytes(), CrLfLines({"1.02~|~~|~", kBrineLine, kGlycolLine, kOilLine}));
    // Written in the order of the set, which the load sorted by name.
    EXPECT_EQ(standardBytes(), CrLfLines({"1.02~|~~|~", kAirLine, kWaterLine}));
    // Loaded and saved again, Brine stays one fluid.
    TFluidDatabase reloaded(folder.Path(), messages);
    ASSERT_TRUE(reloaded.LoadFluidDatabase());
    EXPECT_EQ(namesOf(reloaded.Fluids()), (std::vector<std::string>{"Air", "Brine", "Glycol", "Oil", "Water"}));
    reloaded.RemoveDatabaseFluid(reloaded.Fluids().FindEntryNameId("Oil"));
    EXPECT_EQ(userBytes(), CrLfLines({"1.02~|~~|~", kBrineLine, kGlycolLine}));
}

TEST_F(FluidDatabaseTest, RemovingAStandardFluidAlsoMovesTheUserFluidsOfTheStandardFile) {
    ASSERT_TRUE(database.LoadFluidDatabase());
    database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Water"));
    EXPECT_EQ(standardBytes(), CrLfLines({"1.02~|~~|~", kAirLine}));
    EXPECT_EQ(userBytes(), CrLfLines({"1.02~|~~|~", kBrineLine, kGlycolLine}));
}

TEST_F(FluidDatabaseTest, AUserTextCannotBreakTheRecordLine) {
    ASSERT_TRUE(database.LoadFluidDatabase());
    TFluid odd = fluidNamed("Oil ~|~ light\r\ngrade", 300.0);
    const int slot = database.AddUserFluid(odd);
    EXPECT_EQ(database.Fluids().GetFluidDataRec(slot).Fluid.Name, "Oil ~/~ light grade");
    TFluidDatabase reloaded(folder.Path(), messages);
    ASSERT_TRUE(reloaded.LoadFluidDatabase());
    EXPECT_EQ(reloaded.Fluids().FindEntryNameId("Oil ~/~ light grade"), 4);
    EXPECT_EQ(reloaded.Fluids().Count(), 5);
}

TEST_F(FluidDatabaseTest, RemovingTheLastUserFluidLeavesTheUserFileWithItsHeader) {
    useStandardFileOfStandardFluidsOnly();
    ASSERT_TRUE(database.LoadFluidDatabase());
    const std::string standardBefore = standardBytes();
    database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Glycol"));
    EXPECT_EQ(userBytes(), "1.02~|~~|~\r\n");
    EXPECT_EQ(standardBytes(), standardBefore);
    EXPECT_EQ(namesOf(database.Fluids()), (std::vector<std::string>{"Air", "Water"}));
}

TEST_F(FluidDatabaseTest, RemovingAStandardFluidRewritesOnlyTheStandardFile) {
    useStandardFileOfStandardFluidsOnly();
    ASSERT_TRUE(database.LoadFluidDatabase());
    const std::string userBefore = userBytes();
    database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Water"));
    EXPECT_EQ(standardBytes(), CrLfLines({"1.02~|~~|~", kAirLine}));
    EXPECT_EQ(userBytes(), userBefore);
}

TEST_F(FluidDatabaseTest, AFailedSavePutsTheSetBackAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(database.LoadFluidDatabase());
    // A folder in place of the user file: the new file cannot replace it.
    std::filesystem::remove(folder / kUserFluids);
    std::filesystem::create_directory(folder / kUserFluids);
    try {
        database.AddUserFluid(fluidNamed("Oil", 313.15));
        FAIL() << "the user file cannot be written";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03a: Could not save file.");
    }
    EXPECT_EQ(namesOf(database.Fluids()), (std::vector<std::string>{"Air", "Brine", "Glycol", "Water"}));
    try {
        database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Glycol"));
        FAIL() << "the user file cannot be written";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03a: Could not save file.");
    }
    EXPECT_EQ(namesOf(database.Fluids()), (std::vector<std::string>{"Air", "Brine", "Glycol", "Water"}));
    EXPECT_EQ(FolderListing(folder.Path()), "vmn_Fluids.vmfl\nvmn_Fluids.vmflu\nvmn_GasConstants.vmgc\n");
}

TEST_F(FluidDatabaseTest, AStandardSaveFailureIsCodeMinus03) {
    ASSERT_TRUE(database.LoadFluidDatabase());
    std::filesystem::remove(folder / kStandardFluids);
    std::filesystem::create_directory(folder / kStandardFluids);
    try {
        database.RemoveDatabaseFluid(database.Fluids().FindEntryNameId("Water"));
        FAIL() << "the standard file cannot be written";
    } catch (const EFluidDataSetClass& error) {
        EXPECT_STREQ(error.what(), "Code -03: Could not save file.");
    }
    EXPECT_EQ(database.Fluids().FindEntryNameId("Water"), 4);
}

}  // namespace
