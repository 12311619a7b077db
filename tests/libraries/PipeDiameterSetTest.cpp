#include "libraries/VM4_Pipe_Diameter_Library.h"
#include "libraries/VM4_Pipe_Diameter_Set_Class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"
#include "libraries/LibraryTestSupport.h"
#include "libraries/VM4_LibraryFiles.h"

namespace {

const char* const kSteelTable = "Steel_Test.vmpi";
const char* const kSteelUserTable = "Steel_Test.vmpiu";
const char* const kSteel2Inch = "Steel~|~Sch 40~|~0.001772~|~65~|~2\"~|~0.154~|~2.375~|~3.653";
const char* const kSteel3Inch = "Steel~|~Sch 40~|~0.001772~|~100~|~3\"~|~0.216~|~3.500~|~7.576";
const char* const kSteel4Inch = "Steel~|~Sch 40~|~0.001772~|~125~|~4\"~|~0.237~|~4.500~|~10.790";
const char* const kSteel8Inch = "Steel~|~Sch 40~|~0.001772~|~250~|~8\"~|~0.322~|~8.625~|~28.550";

std::vector<std::string> nominalSizesOf(const TPipeDiameterSet& set) {
    std::vector<std::string> sizes;
    for (int slot = 1; slot <= set.Count(); ++slot) sizes.push_back(set.GetPipeDiameterData(slot).NominalSize);
    return sizes;
}

std::vector<int> originsOf(const TPipeDiameterSet& set) {
    std::vector<int> origins;
    for (int slot = 1; slot <= set.Count(); ++slot) origins.push_back(set.GetPipeDiameterFileType(slot));
    return origins;
}

template <class TError>
void expectError(const std::function<void()>& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "expected: " << message;
    } catch (const TError& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

class PipeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { CopyFixtureInto("pipes", folder); }
    std::string bytesOf(const std::string& name) const { return FileContents(folder / name); }

    TTempFolder folder;
    TRecordedMessages messages;
    TPipeDiameterLibrary library{folder.Path(), messages};
};

TEST_F(PipeLibraryTest, ReadsSizesWithEitherDecimalMarkIntoMetres) {
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark systemMark(mark);
        ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
        ASSERT_EQ(library.Sizes().Count(), 5);
        // The 6" line of the user file is written with commas.
        const TPipe& sixInch = library.Sizes().GetPipeDiameterData(4);
        EXPECT_EQ(sixInch.NominalSize, "6\"");
        EXPECT_EQ(sixInch.Material, "Steel");
        EXPECT_EQ(sixInch.Schedule, "Sch 40");
        EXPECT_EQ(sixInch.SizeClass, 200);
        // 0.001772 in x 0.0254 = 0.0000450088 m
        EXPECT_REL_NEAR(sixInch.InnerRoughness_m, 0.0000450088, 1e-12);
        // 6.625 in x 0.0254 = 0.168275 m; 0.280 in x 0.0254 = 0.007112 m
        EXPECT_REL_NEAR(sixInch.OuterDiameter_m, 0.168275, 1e-12);
        EXPECT_REL_NEAR(sixInch.WallThickness_m, 0.007112, 1e-12);
        // bore = 0.168275 - 2 x 0.007112 = 0.154051 m
        EXPECT_REL_NEAR(sixInch.InnerDiameter_m, 0.154051, 1e-12);
        // 18.970 lbs/ft x 0.45359237 / 0.3048 = 28.230470 kg/m
        EXPECT_REL_NEAR(sixInch.WeightPerLength_kg_m, 28.230470, 1e-7);
        // Every size names the table's standard file, user sizes included.
        for (int slot = 1; slot <= 5; ++slot) {
            EXPECT_EQ(library.Sizes().GetPipeDiameterData(slot).DiameterDataFileName, kSteelTable);
        }
        // The header read last is the user file's.
        EXPECT_EQ(library.Header().FileName(), "User sizes");
        EXPECT_EQ(library.Header().FileDate(), "2024-01-31");
    }
    EXPECT_TRUE(messages.Shown.empty());
}

struct TTableCase {
    const char* Name;
    const char* Table;
    bool WithUserFile;
    std::vector<std::string> NominalSizes;
    std::vector<int> Origins;
};

void PrintTo(const TTableCase& c, std::ostream* os) { *os << c.Name; }

class PipeTableFilesTest : public ::testing::TestWithParam<TTableCase> {};

TEST_P(PipeTableFilesTest, StandardSizesFirstThenUserSizesInFileOrder) {
    const TTableCase& c = GetParam();
    TTempFolder folder;
    CopyFixtureInto("pipes", folder);
    if (!c.WithUserFile) std::filesystem::remove(folder / kSteelUserTable);
    TRecordedMessages messages;
    TPipeDiameterLibrary library(folder.Path(), messages);
    EXPECT_TRUE(library.LoadPipeTable(folder / c.Table));
    EXPECT_EQ(nominalSizesOf(library.Sizes()), c.NominalSizes);
    EXPECT_EQ(originsOf(library.Sizes()), c.Origins);
    EXPECT_TRUE(messages.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, PipeTableFilesTest,
    ::testing::Values(
        TTableCase{"Both", kSteelTable, true, {"2\"", "3\"", "4\"", "6\"", "8\""}, {0, 0, 0, 1, 1}},
        TTableCase{"StandardOnly", kSteelTable, false, {"2\"", "3\"", "4\""}, {0, 0, 0}},
        TTableCase{"UserOnly", "UserOnly.vmpi", true, {"3/4\""}, {1}},
        TTableCase{"Neither", "Missing.vmpi", true, {}, {}},
        // The placeholder of a created material gives way to the first real size.
        TTableCase{"PlaceholderAndSizes", "UserMaterialPlastic.vmpi", true, {"63 mm"}, {1}}),
    [](const ::testing::TestParamInfo<TTableCase>& info) { return std::string(info.param.Name); });

TEST_F(PipeLibraryTest, APlaceholderAloneStaysInTheSet) {
    std::filesystem::remove(folder / "UserMaterialPlastic.vmpiu");
    ASSERT_TRUE(library.LoadPipeTable(folder / "UserMaterialPlastic.vmpi"));
    ASSERT_EQ(library.Sizes().Count(), 1);
    EXPECT_EQ(library.Sizes().GetPipeDiameterData(1).SizeClass, -1);
    EXPECT_EQ(library.Sizes().GetPipeDiameterData(1).Material, "Plastic");
}

TEST_F(PipeLibraryTest, SavingRewritesAStandardTableWithPointDecimalsWhateverTheSystemMark) {
    TScopedDecimalMark commaSystem(',');
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    library.SaveStandardTable(folder / "Copy.vmpi");
    EXPECT_EQ(bytesOf("Copy.vmpi"), bytesOf(kSteelTable));
    library.SaveUserTable(folder / "Copy.vmpiu");
    EXPECT_EQ(bytesOf("Copy.vmpiu"), CrLfLines({"1.03~|~~|~",
                                                "Steel~|~Sch 40~|~0.001772~|~200~|~6\"~|~0.280~|~6.625~|~18.970",
                                                kSteel8Inch}));
}

TEST_F(PipeLibraryTest, ANewSizeCopiesTheFirstSizeAndDerivesBoreAndClass) {
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    const TPipe size = library.MakeNewPipeSize("2-1/2\"", 0.00516, 0.073, 8.63);
    EXPECT_EQ(size.Material, "Steel");
    EXPECT_EQ(size.Schedule, "Sch 40");
    EXPECT_REL_NEAR(size.InnerRoughness_m, 0.0000450088, 1e-12);
    EXPECT_EQ(size.NominalSize, "2-1/2\"");
    // bore = 0.073 - 2 x 0.00516 = 0.06268 m; a = 7300 -> class 80
    EXPECT_REL_NEAR(size.InnerDiameter_m, 0.06268, 1e-12);
    EXPECT_EQ(size.SizeClass, 80);
    EXPECT_EQ(size.WeightPerLength_kg_m, 8.63);
    EXPECT_EQ(size.DiameterDataFileName, kSteelTable);
}

TEST_F(PipeLibraryTest, AddingASizeRewritesOnlyTheUserFile) {
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    const std::string standardBefore = bytesOf(kSteelTable);
    // 10" schedule 40: wall 0.365 in, OD 10.75 in, 40.48 lbs/ft
    const TPipe size = library.MakeNewPipeSize("10\"", 0.365 * 0.0254, 10.75 * 0.0254,
                                               convertUnits(UNIT_LBS_FT, UNIT_KGS_M, 40.48));
    EXPECT_EQ(library.AddPipeSize(size), 6);
    EXPECT_EQ(library.Sizes().GetPipeDiameterFileType(6), TPipeDiameterSet::kUserFile);
    EXPECT_EQ(bytesOf(kSteelTable), standardBefore);
    EXPECT_EQ(bytesOf(kSteelUserTable),
              CrLfLines({"1.03~|~~|~", "Steel~|~Sch 40~|~0.001772~|~200~|~6\"~|~0.280~|~6.625~|~18.970", kSteel8Inch,
                         "Steel~|~Sch 40~|~0.001772~|~300~|~10\"~|~0.365~|~10.750~|~40.480"}));
}

TEST_F(PipeLibraryTest, TheFirstSizeOfANewMaterialReplacesItsPlaceholder) {
    ASSERT_TRUE(library.AddPipeMaterial("Rubber", "Class A", 0.00001));
    const std::string standardBefore = bytesOf("UserMaterialRubber.vmpi");
    ASSERT_TRUE(library.LoadPipeTable(folder / "UserMaterialRubber.vmpi"));
    ASSERT_EQ(library.Sizes().Count(), 1);
    const TPipe size = library.MakeNewPipeSize("DN50", 0.004, 0.06, 1.5);
    EXPECT_EQ(size.Material, "Rubber");
    EXPECT_EQ(library.AddPipeSize(size), 1);
    EXPECT_EQ(nominalSizesOf(library.Sizes()), std::vector<std::string>{"DN50"});
    EXPECT_EQ(bytesOf("UserMaterialRubber.vmpi"), standardBefore);
    EXPECT_EQ(bytesOf("UserMaterialRubber.vmpiu"),
              CrLfLines({"1.03~|~~|~", "Rubber~|~Class A~|~0.000394~|~65~|~DN50~|~0.157~|~2.362~|~1.008"}));
}

TEST_F(PipeLibraryTest, RemovingTheLastUserSizesLeavesTheUserFileWithItsHeader) {
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    const std::string standardBefore = bytesOf(kSteelTable);
    library.RemovePipeSize(5);
    library.RemovePipeSize(4);
    EXPECT_EQ(bytesOf(kSteelUserTable), "1.03~|~~|~\r\n");
    EXPECT_EQ(bytesOf(kSteelTable), standardBefore);
    EXPECT_EQ(nominalSizesOf(library.Sizes()), (std::vector<std::string>{"2\"", "3\"", "4\""}));
}

TEST_F(PipeLibraryTest, RemovingAStandardSizeRewritesOnlyTheStandardFile) {
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    const std::string userBefore = bytesOf(kSteelUserTable);
    library.RemovePipeSize(2);
    EXPECT_EQ(bytesOf(kSteelTable), CrLfLines({"1.03~|~~|~", kSteel2Inch, kSteel4Inch}));
    EXPECT_EQ(bytesOf(kSteelUserTable), userBefore);
    EXPECT_EQ(nominalSizesOf(library.Sizes()), (std::vector<std::string>{"2\"", "4\"", "6\"", "8\""}));
}

TEST_F(PipeLibraryTest, AFailedSavePutsTheSetBack) {
    ASSERT_TRUE(library.LoadPipeTable(folder / kSteelTable));
    std::filesystem::remove(folder / kSteelUserTable);
    std::filesystem::create_directory(folder / kSteelUserTable);
    expectError<EPipeDiameterSetClass>([&] { library.RemovePipeSize(5); }, "Code -03a: Could not save file.");
    expectError<EPipeDiameterSetClass>([&] { library.AddPipeSize(library.MakeNewPipeSize("1\"", 0.003, 0.0334, 2.5)); },
                                       "Code -03a: Could not save file.");
    EXPECT_EQ(nominalSizesOf(library.Sizes()), (std::vector<std::string>{"2\"", "3\"", "4\"", "6\"", "8\""}));
    expectError<EPipeDiameterSetClass>([&] { library.SaveStandardTable(folder / "missing" / kSteelTable); },
                                       "Code -03: Could not save file.");
}

TEST_F(PipeLibraryTest, BadLinesAreCodeMinus01WithTheLineOfTheFile) {
    TPipeDiameterLibrary bad(LibraryFixture("pipes_bad"), messages);
    expectError<EPipeDiameterSetClass>([&] { bad.LoadPipeTable(LibraryFixture("pipes_bad") / "BadLine.vmpi"); },
                                       "Code -01: Error on line number 3");
    EXPECT_EQ(bad.Sizes().Count(), 0);
    // The user file's third line, after its header and one good size.
    expectError<EPipeDiameterSetClass>([&] { bad.LoadPipeTable(LibraryFixture("pipes_bad") / "BadNumber.vmpi"); },
                                       "Code -01: Error on line number 3");
    EXPECT_EQ(nominalSizesOf(bad.Sizes()), (std::vector<std::string>{"2\"", "3\""}));
}

TEST_F(PipeLibraryTest, ATableThatFillsTheSetExactlyLoads) {
    TPipeDiameterLibrary exact(folder.Path(), messages, 5);
    EXPECT_TRUE(exact.LoadPipeTable(folder / kSteelTable));
    EXPECT_EQ(exact.Sizes().Count(), 5);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(PipeLibraryTest, OneStandardSizeTooManyLeavesTheTableEmpty) {
    std::filesystem::remove(folder / kSteelUserTable);
    TPipeDiameterLibrary small(folder.Path(), messages, 2);
    EXPECT_FALSE(small.LoadPipeTable(folder / kSteelTable));
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"Code -02: File too large - Read past max number of pipe entries."});
    EXPECT_EQ(small.Sizes().Count(), 0);
}

TEST_F(PipeLibraryTest, OneUserSizeTooManyKeepsTheStandardSizes) {
    TPipeDiameterLibrary small(folder.Path(), messages, 4);
    EXPECT_FALSE(small.LoadPipeTable(folder / kSteelTable));
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"Code -02a: File too large - Read past max number of pipe entries."});
    EXPECT_EQ(nominalSizesOf(small.Sizes()), (std::vector<std::string>{"2\"", "3\"", "4\""}));
}

TEST_F(PipeLibraryTest, ListsEveryTableSortedWithItsSizeRange) {
    const std::vector<TPipeTableEntry>& tables = library.ListPipeTables();
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].FileName, "Blank.vmpi");
    EXPECT_EQ(tables[0].Material, "");
    EXPECT_EQ(tables[0].SizeRange, "");
    // The placeholder's table takes its range from the user file.
    EXPECT_EQ(tables[1].FileName, "UserMaterialPlastic.vmpi");
    EXPECT_EQ(tables[1].Material, "Plastic");
    EXPECT_EQ(tables[1].Schedule, "PN10");
    EXPECT_EQ(tables[1].RoughnessText, "0.000059");
    EXPECT_EQ(tables[1].SizeRange, "63 mm - 63 mm");
    // A standard file with sizes gives the range; the user sizes do not widen it.
    EXPECT_EQ(tables[2].FileName, kSteelTable);
    EXPECT_EQ(tables[2].Material, "Steel");
    EXPECT_EQ(tables[2].SizeRange, "2\" - 4\"");
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(PipeLibraryTest, NoTableFilesIsToldAndLeavesTheListEmpty) {
    TTempFolder empty;
    std::filesystem::copy(folder / "UserOnly.vmpiu", empty / "UserOnly.vmpiu");
    TPipeDiameterLibrary none(empty.Path(), messages);
    EXPECT_TRUE(none.ListPipeTables().empty());
    EXPECT_EQ(messages.Shown,
              std::vector<std::string>{"Pipe diameter data files cannot be found.\rUnable to display pipe data."});
}

TEST_F(PipeLibraryTest, ANewMaterialIsATableWithOnePlaceholder) {
    ASSERT_TRUE(library.AddPipeMaterial("Rubber", "Class A", 0.00001));
    // 0.00001 m = 0.000393700 in
    EXPECT_EQ(bytesOf("UserMaterialRubber.vmpi"),
              CrLfLines({"1.03~|~UserMaterialRubber.vmpi~|~",
                         "Rubber~|~Class A~|~0.000394~|~-1~|~~|~0.000~|~0.000~|~0.000"}));
    const auto& tables = library.TableList();
    EXPECT_TRUE(std::any_of(tables.begin(), tables.end(),
                            [](const TPipeTableEntry& t) { return t.FileName == "UserMaterialRubber.vmpi"; }));
}

TEST_F(PipeLibraryTest, AnExistingMaterialIsToldAndNothingIsWritten) {
    const std::string before = bytesOf("UserMaterialPlastic.vmpi");
    const std::string userBefore = bytesOf("UserMaterialPlastic.vmpiu");
    const std::string listing = FolderListing(folder.Path());
    EXPECT_FALSE(library.AddPipeMaterial("Plastic", "PN16", 0.000002));
    EXPECT_EQ(messages.Shown, std::vector<std::string>{
                                  "This material already exists.\rCannot create another material with the same name."});
    EXPECT_EQ(bytesOf("UserMaterialPlastic.vmpi"), before);
    EXPECT_EQ(bytesOf("UserMaterialPlastic.vmpiu"), userBefore);
    EXPECT_EQ(FolderListing(folder.Path()), listing);
}

TEST_F(PipeLibraryTest, AMaterialNameCannotLeadOutOfTheFolderOrBreakTheRecord) {
    ASSERT_TRUE(library.AddPipeMaterial("../PE~|~X", "", 0.00001));
    EXPECT_EQ(bytesOf("UserMaterial.._PE~_~X.vmpi"),
              CrLfLines({"1.03~|~UserMaterial.._PE~_~X.vmpi~|~",
                         "../PE~/~X~|~~|~0.000394~|~-1~|~~|~0.000~|~0.000~|~0.000"}));
}

TEST_F(PipeLibraryTest, RemovingAMaterialDeletesBothFilesOfItsTable) {
    library.RemovePipeMaterial("UserMaterialPlastic.vmpi");
    EXPECT_FALSE(std::filesystem::exists(folder / "UserMaterialPlastic.vmpi"));
    EXPECT_FALSE(std::filesystem::exists(folder / "UserMaterialPlastic.vmpiu"));
    // A table without user file goes as well.
    library.RemovePipeMaterial("Blank.vmpi");
    EXPECT_EQ(FolderListing(folder.Path()), "Steel_Test.vmpi\nSteel_Test.vmpiu\nUserOnly.vmpiu\n");
    ASSERT_EQ(library.TableList().size(), 1u);
    EXPECT_EQ(library.TableList()[0].FileName, kSteelTable);
}

TEST(PipeLibrary, RemovingAMaterialTouchesOnlyPipeTablesInTheFolder) {
    TTempFolder root;
    std::filesystem::create_directory(root / "PipeTables");
    std::filesystem::copy(LibraryFixture("pipes"), root / "PipeTables");
    WriteFileContents(root / "Outside.vmpi", "not a table of this folder");
    TRecordedMessages messages;
    TPipeDiameterLibrary library(root / "PipeTables", messages);
    // Only the file name counts: there is no such table in the folder.
    library.RemovePipeMaterial("../Outside.vmpi");
    EXPECT_TRUE(std::filesystem::exists(root / "Outside.vmpi"));
    expectError<EPipeDiameterSetClass>(
        [&] { library.RemovePipeMaterial("Steel_Test.vmpiu"); },
        "TPipeDiameterLibrary.RemovePipeMaterial Failed: Not a pipe table file name: Steel_Test.vmpiu");
    EXPECT_TRUE(std::filesystem::exists(root / "PipeTables" / kSteelUserTable));
}

TEST_F(PipeLibraryTest, APipeWhoseTableIsGoneGetsTheDefaultTable) {
    EXPECT_EQ(library.TablePathForPipe(kSteelTable), folder / kSteelTable);
    EXPECT_EQ(library.TablePathForPipe("Deleted.vmpi"), folder / "Steel_ANSI_Sch40.vmpi");
    EXPECT_EQ(library.TablePathForPipe(""), folder / "Steel_ANSI_Sch40.vmpi");
    EXPECT_EQ(library.TablePath("../../etc/Steel.vmpi"), folder / "Steel.vmpi");
}

struct TRoughnessCase {
    char SystemMark;
    const char* Text;
    bool Metric;
    const char* Shown;
};

void PrintTo(const TRoughnessCase& c, std::ostream* os) { *os << '"' << c.Text << "\" with mark " << c.SystemMark << (c.Metric ? " in mm" : " in inch"); }

class RoughnessDisplayTest : public ::testing::TestWithParam<TRoughnessCase> {};

TEST_P(RoughnessDisplayTest, ShowsTheFileValueInTheChosenUnits) {
    TScopedDecimalMark mark(GetParam().SystemMark);
    EXPECT_EQ(PipeTableRoughnessDisplay(GetParam().Text, GetParam().Metric), GetParam().Shown);
}

// 0.001772 in x 25.4 = 0.0450088 mm
INSTANTIATE_TEST_SUITE_P(Units, RoughnessDisplayTest,
                         ::testing::Values(TRoughnessCase{'.', "0.001772", true, "0.0450 (mm)"},
                                           TRoughnessCase{'.', "0.001772", false, "0.001772 (inch)"},
                                           TRoughnessCase{'.', "0,001772", true, "0.0450 (mm)"},
                                           TRoughnessCase{',', "0.001772", true, "0,0450 (mm)"},
                                           TRoughnessCase{',', "0.001772", false, "0,001772 (inch)"},
                                           TRoughnessCase{'.', "rough", true, ""},
                                           TRoughnessCase{'.', "", false, ""}));

TEST(PipeDiameterSet, AddsUpToItsCapacityAsUserSizes) {
    TPipeDiameterSet set(2);
    TPipe size;
    size.NominalSize = "1\"";
    EXPECT_EQ(set.AddPipeDiameterData(size), 1);
    EXPECT_EQ(set.AddPipeDiameterData(size), 2);
    EXPECT_EQ(set.GetPipeDiameterFileType(2), TPipeDiameterSet::kUserFile);
    expectError<EPipeDiameterSetClass>(
        [&] { set.AddPipeDiameterData(size); },
        "TPipeDiameterSet.AddPipeDiameterData Failed: May have reached Max number of Pipes allowed");
    EXPECT_EQ(set.Count(), 2);
}

TEST(PipeDiameterSet, RemovingMovesTheLaterSizesDownWithTheirOrigin) {
    TPipeDiameterSet set(4);
    for (const char* nominal : {"1\"", "2\"", "3\""}) {
        TPipe size;
        size.NominalSize = nominal;
        set.AddPipeDiameterData(size);
    }
    set.SetPipeFileType(2, TPipeDiameterSet::kStandardFile);
    set.RemovePipeDiameterData(1);
    EXPECT_EQ(nominalSizesOf(set), (std::vector<std::string>{"2\"", "3\""}));
    EXPECT_EQ(originsOf(set), (std::vector<int>{0, 1}));
    EXPECT_EQ(set.GetPipeDiameterData(3).NominalSize, "");
    for (const int slot : {0, 3, 5}) {
        expectError<EPipeDiameterSetClass>(
            [&] { set.RemovePipeDiameterData(slot); },
            "TPipeDiameterSet.RemovePipeDiameterData Failed: Specified Id may not be valid");
    }
    EXPECT_EQ(set.Count(), 2);
    expectError<EPipeDiameterSetClass>([&] { set.GetPipeDiameterData(5); },
                                       "TPipeDiameterSet.GetPipeDiameterData Failed: Specified Id may not be valid");
}

TEST(PipeDiameterSet, AFailingStreamIsCodeMinus03) {
    TPipeDiameterSet set(2);
    set.AddPipeDiameterData(TPipe{});
    set.SetPipeFileType(1, TPipeDiameterSet::kStandardFile);
    set.AddPipeDiameterData(TPipe{});
    std::ostringstream standard;
    standard.setstate(std::ios::badbit);
    expectError<EPipeDiameterSetClass>([&] { set.SaveToText_DiameterData(standard); },
                                       "Code -03: Could not save file.");
    std::ostringstream user;
    user.setstate(std::ios::badbit);
    expectError<EPipeDiameterSetClass>([&] { set.SaveUserPipes_DiameterData_ToText(user); },
                                       "Code -03a: Could not save file.");
}

}  // namespace
