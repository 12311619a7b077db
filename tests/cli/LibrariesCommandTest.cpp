#include "LibrariesCommand.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>

#include "libraries/LibraryTestSupport.h"

namespace {

namespace fs = std::filesystem;

// A program folder made of the library test fixtures, with a default pipe table.
void makeProgramFolder(const TTempFolder& program) {
    fs::copy(LibraryFixture("pipes"), program / "PipeTables", fs::copy_options::recursive);
    fs::copy(LibraryFixture("pipes") / "Steel_Test.vmpi", program / "PipeTables" / "Steel_ANSI_Sch40.vmpi");
    fs::copy(LibraryFixture("fittings"), program / "FittingTables", fs::copy_options::recursive);
    fs::copy(LibraryFixture("fluids"), program / "FluidTables", fs::copy_options::recursive);
}

void replaceWithFixture(const TTempFolder& program, const std::string& fixture, const std::string& target) {
    fs::copy(LibraryFixture(fixture), program / target, fs::copy_options::overwrite_existing);
}

struct TCommandCase {
    const char* Name;
    std::function<void(const TTempFolder&)> Break;
    std::string Error;  // the whole error output
};

void PrintTo(const TCommandCase& c, std::ostream* os) { *os << c.Name; }

class LibrariesCommandTest : public ::testing::TestWithParam<TCommandCase> {};

TEST_P(LibrariesCommandTest, StopsAtTheFirstBadFileWithItsCodedError) {
    TTempFolder program;
    makeProgramFolder(program);
    GetParam().Break(program);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunLibrariesCommand(program.Path(), out, err), 2);
    EXPECT_EQ(err.str(), GetParam().Error);
}

INSTANTIATE_TEST_SUITE_P(
    BadLibraries, LibrariesCommandTest,
    ::testing::Values(
        TCommandCase{"BadPipeLine",
                     [](const TTempFolder& p) {
                         replaceWithFixture(p, "pipes_bad/BadLine.vmpi", "PipeTables/BadLine.vmpi");
                         // A later bad file is not reached.
                         replaceWithFixture(p, "fluids_bad/vmn_Fluids.vmfl", "FluidTables/vmn_Fluids.vmfl");
                     },
                     "PipeTables/BadLine.vmpi: Code -01: Error on line number 3\n"},
        TCommandCase{"BadUserPipeLine",
                     [](const TTempFolder& p) {
                         replaceWithFixture(p, "pipes_bad/BadNumber.vmpi", "PipeTables/BadNumber.vmpi");
                         replaceWithFixture(p, "pipes_bad/BadNumber.vmpiu", "PipeTables/BadNumber.vmpiu");
                     },
                     "PipeTables/BadNumber.vmpi + BadNumber.vmpiu: Code -01: Error on line number 3\n"},
        TCommandCase{"NoPipeTables",
                     [](const TTempFolder& p) {
                         fs::remove_all(p / "PipeTables");
                         fs::create_directory(p / "PipeTables");
                     },
                     "PipeTables: Pipe diameter data files cannot be found.\nUnable to display pipe data.\n"},
        TCommandCase{"NoDefaultPipeTable",
                     [](const TTempFolder& p) { fs::remove(p / "PipeTables" / "Steel_ANSI_Sch40.vmpi"); },
                     "PipeTables/Steel_ANSI_Sch40.vmpi: The default pipe table is missing.\n"},
        TCommandCase{"BadFluidLine",
                     [](const TTempFolder& p) {
                         replaceWithFixture(p, "fluids_bad/vmn_Fluids.vmfl", "FluidTables/vmn_Fluids.vmfl");
                     },
                     "FluidTables/vmn_Fluids.vmfl + vmn_Fluids.vmflu: Code -01: Error on line number 3\n"},
        TCommandCase{"BadGasLine",
                     [](const TTempFolder& p) {
                         replaceWithFixture(p, "fluids_bad/vmn_GasConstants.vmgc", "FluidTables/vmn_GasConstants.vmgc");
                     },
                     "FluidTables/vmn_GasConstants.vmgc: Error setting GasCalcDataArray\n"}),
    [](const ::testing::TestParamInfo<TCommandCase>& info) { return std::string(info.param.Name); });

// The file system's own words for a missing file, after the file's name.
TEST(LibrariesCommand, AMissingStandardFileNamesTheFileAndTheSystemsReason) {
    TTempFolder program;
    makeProgramFolder(program);
    fs::remove(program / "FittingTables" / "Vmn_Fittings.vmfi");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunLibrariesCommand(program.Path(), out, err), 2);
    EXPECT_EQ(err.str(), "FittingTables/Vmn_Fittings.vmfi: Cannot open file " +
                             (program / "FittingTables" / "Vmn_Fittings.vmfi").string() + ": " +
                             std::strerror(ENOENT) + "\n");
    EXPECT_EQ(out.str().find("Fittings ("), std::string::npos);
}

TEST(LibrariesCommand, ListsWhatItFound) {
    TTempFolder program;
    makeProgramFolder(program);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunLibrariesCommand(program.Path(), out, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "Libraries in " + program.Path().string() + "\n" +
                             "Pipe tables (PipeTables): 4\n"
                             "  , :  (0 sizes) Blank.vmpi\n"
                             "  Plastic, PN10: 63 mm - 63 mm (1 sizes) UserMaterialPlastic.vmpi\n"
                             "  Steel, Sch 40: 2\" - 4\" (3 sizes) Steel_ANSI_Sch40.vmpi\n"
                             "  Steel, Sch 40: 2\" - 4\" (5 sizes) Steel_Test.vmpi\n"
                             "Fittings (FittingTables): 3 fittings, 2 listed, 0 of the user\n"
                             "Fluids (FluidTables): 4 fluids, 3 liquids and 1 gases, 2 of the user\n"
                             "Gas constants (FluidTables): 2 gases\n"
                             "  Air (N2+O2)\n"
                             "  Methane (CH4)\n");
}

}  // namespace
