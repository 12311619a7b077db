// The info and upgrade commands of velmora-cli, run as the executable runs them,
// and the one exit-code rule of every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "LibrariesCommand.h"
#include "VM4_ExitCodes.h"
#include "VM4_InfoCommand.h"
#include "VM4_SolveCommand.h"
#include "VM4_StandardOutput.h"
#include "VM4_TableCommand.h"
#include "VM4_UpgradeCommand.h"
#include "common/TempFolder.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Network_Class.h"

namespace {

std::filesystem::path generatedFile(const std::string& name) {
    return std::filesystem::path(VELMORA_GENERATED_DATA_DIR) / name;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The sample of tests/tools/write_vme.py: nodes 3 (tank), 7 and 1000 (join points),
// 12 (demand pressure); pipes 5 (two fitting types, 3 + 1 fittings, pump), 9
// (component), 2 (flow control) open and 1000 closed; imperial units, absolute pressures.
TEST(InfoCommand, SummarisesTheSampleNetwork) {
    TScopedDecimalMark mark('.');
    auto network = std::make_unique<TNetwork>();
    network->LoadFromFile(generatedFile("sample_v110.vme"));
    EXPECT_EQ(DescribeNetwork(*network, "sample_v110.vme"),
              "File: sample_v110.vme\n"
              "Version: 1.10\n"
              "Nodes: 4 (join points 2, tanks 1, demand pressure 1)\n"
              "Pipes: 4 (open 3, closed 1)\n"
              "Items on pipes: pipes with fittings 1 (fitting types 2, fittings 4), pumps 1, components 1, "
              "flow controls 1\n"
              "Loops: 2\n"
              "Free texts: 2\n"
              "Fluid: Glykol 30 % \u2013 K\u00fchlkreis (liquid), density 1050.000 kg/m\u00b3, viscosity 3.4125 cP\n"
              "Units: imperial\n"
              "  length ft, diameter inch, roughness inch, flow ft\u00b3/sec, velocity ft/sec, pressure loss ft.hd "
              "Fluid, weight lbs, area ft\u00b2, volume ft\u00b3, surface pressure psi.g, liquid level ft, elevation "
              "ft, temperature \u00b0F, fluid pressure psi.g, density lb/ft\u00b3\n"
              "Pressures: absolute, atmospheric pressure 0.980000 bar.a\n");
}

TEST(InfoCommand, NamesMixedUnitsAndNodesWithoutAType) {
    TScopedDecimalMark mark('.');
    auto network = std::make_unique<TNetwork>();
    network->AddNode(TNode());  // type not set
    network->Settings.DiameterUnit = 3;  // inch in an otherwise metric network
    const std::vector<std::string> lines = linesOf(DescribeNetwork(*network, "x.vme"));
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[2], "Nodes: 1 (join points 0, tanks 0, demand pressure 0, not set 1)");
    EXPECT_EQ(lines[8], "Units: mixed");
    EXPECT_EQ(lines[9].substr(0, 33), "  length m, diameter inch, roughn");
}

struct TExitCase {
    const char* Name;
    std::vector<std::string> Arguments;
    int ExitCode;
    std::string OutputStart;
    std::string ErrorStart;
};

void PrintTo(const TExitCase& exitCase, std::ostream* out) { *out << exitCase.Name; }

class InfoCommandRun : public ::testing::TestWithParam<TExitCase> {};

TEST_P(InfoCommandRun, AnswersWithItsExitCode) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunInfoCommand(GetParam().Arguments, out, err), GetParam().ExitCode);
    EXPECT_EQ(out.str().substr(0, GetParam().OutputStart.size()), GetParam().OutputStart);
    EXPECT_EQ(err.str().substr(0, GetParam().ErrorStart.size()), GetParam().ErrorStart);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, InfoCommandRun,
    ::testing::Values(
        TExitCase{"Shown", {generatedFile("empty.vme").string()}, 0, "File: " + generatedFile("empty.vme").string(),
                  ""},
        TExitCase{"NoFile", {}, 2, "", "Usage: velmora-cli info FILE.vme"},
        TExitCase{"TwoFiles", {"a.vme", "b.vme"}, 2, "", "Usage: velmora-cli info FILE.vme"},
        TExitCase{"MissingFile", {"/nonexistent/x.vme"}, 2, "",
                  "velmora-cli info: TNetwork.LoadFromFile Failed: /nonexistent/x.vme: cannot read the file"}),
    [](const auto& info) { return std::string(info.param.Name); });

class UpgradeFolder : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileContents(folder / "a_old.vme", FileContents(generatedFile("sample_v110.vme")));
        WriteFileContents(folder / "b_broken.vme", FileContents(generatedFile("sample.vme")).substr(0, 3000));
        WriteFileContents(folder / "C_UPPER.VME", FileContents(generatedFile("empty.vme")));
        WriteFileContents(folder / "notes.txt", "not a network");
        std::filesystem::create_directory(folder / "d_folder.vme");
    }

    TTempFolder folder;
};

TEST_F(UpgradeFolder, ConvertsEveryNetworkFileAndLeavesTheRestAlone) {
    auto network = std::make_unique<TNetwork>();
    std::ostringstream report;
    const TUpgradeTally tally = UpgradeNetworkFolder(folder.Path(), *network, report);

    EXPECT_EQ(tally.Converted, 2);
    EXPECT_EQ(tally.Failed, 1);
    const std::vector<std::string> lines = linesOf(report.str());
    ASSERT_EQ(lines.size(), 4u) << report.str();
    EXPECT_EQ(lines[0], "converted C_UPPER.VME (version 1.11 -> 1.11)");
    EXPECT_EQ(lines[1], "converted a_old.vme (version 1.10 -> 1.11)");
    EXPECT_EQ(lines[2].rfind("FAILED    b_broken.vme: TNetwork.LoadFromFile Failed: " +
                                 (folder / "b_broken.vme").string() + ": ",
                             0),
              0u)
        << lines[2];
    EXPECT_EQ(lines[3], "2 converted, 1 failed");

    EXPECT_EQ(FileContents(folder / "a_old.vme"), FileContents(generatedFile("sample.vme")));
    EXPECT_EQ(FileContents(folder / "C_UPPER.VME"), FileContents(generatedFile("empty.vme")));
    EXPECT_EQ(FileContents(folder / "b_broken.vme"), FileContents(generatedFile("sample.vme")).substr(0, 3000));
    EXPECT_EQ(FileContents(folder / "notes.txt"), "not a network");
    EXPECT_EQ(FolderListing(folder.Path()), "C_UPPER.VME\na_old.vme\nb_broken.vme\nd_folder.vme\nnotes.txt\n");
}

TEST_F(UpgradeFolder, ExitCodeTellsWhetherEveryFileWasConverted) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunUpgradeCommand({folder.Path().string()}, out, err), 1);
    std::filesystem::remove(folder / "b_broken.vme");
    EXPECT_EQ(RunUpgradeCommand({folder.Path().string()}, out, err), 0);
    EXPECT_EQ(err.str(), "");
}

// A read-only network file is the user's way of saying "keep this one".
TEST_F(UpgradeFolder, AReadOnlyFileIsReportedAsFailedAndLeftAsItIs) {
    std::filesystem::permissions(folder / "a_old.vme", std::filesystem::perms(0444));
    auto network = std::make_unique<TNetwork>();
    std::ostringstream report;
    const TUpgradeTally tally = UpgradeNetworkFolder(folder.Path(), *network, report);
    EXPECT_EQ(tally.Converted, 1);
    EXPECT_EQ(tally.Failed, 2);
    const std::vector<std::string> lines = linesOf(report.str());
    ASSERT_EQ(lines.size(), 4u) << report.str();
    EXPECT_NE(lines[1].find("FAILED    a_old.vme: "), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("read-only"), std::string::npos) << lines[1];
    EXPECT_EQ(FileContents(folder / "a_old.vme"), FileContents(generatedFile("sample_v110.vme")));
    EXPECT_EQ(std::filesystem::status(folder / "a_old.vme").permissions(), std::filesystem::perms(0444));
}

TEST(UpgradeCommand, RefusesAMissingFolderAndBadArguments) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunUpgradeCommand({"/nonexistent/folder"}, out, err), 2);
    EXPECT_EQ(err.str(), "velmora-cli upgrade: /nonexistent/folder is not a folder\n");
    std::ostringstream usage;
    EXPECT_EQ(RunUpgradeCommand({}, out, usage), 2);
    EXPECT_EQ(usage.str(), "Usage: velmora-cli upgrade FOLDER\n");
    EXPECT_EQ(out.str(), "");
}

}  // namespace

namespace {

// A stream that refuses every byte, as standard output does on a full disk.
class TRefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(StandardOutput, ALostOutputTurnsAnyCommandIntoAFailure) {
    TRefusingBuffer refusing;
    std::ostream lost(&refusing);
    std::ostringstream err;
    lost << "Velmora Studio - Results Log\n";
    EXPECT_EQ(ExitCodeAfterOutput(0, lost, err), 1);
    EXPECT_EQ(err.str(), "velmora-cli: the standard output could not be written\n");
    EXPECT_EQ(ExitCodeAfterOutput(2, lost, err), 1);
}

TEST(StandardOutput, AWrittenOutputKeepsTheCommandsExitCode) {
    std::ostringstream out;
    std::ostringstream err;
    out << "Nodes: 3\n";
    for (int code : {0, 1, 2}) EXPECT_EQ(ExitCodeAfterOutput(code, out, err), code);
    EXPECT_EQ(err.str(), "");
}

// ---- One exit-code rule for every command ----------------------------------------------------

// 0 success; 1 ran but the network was not solved or a file could not be
// written; 2 did not run: an argument not understood or a file that cannot be loaded.
class ExitCodeRule : public ::testing::Test {
protected:
    ExitCodeRule() {
        WriteFileContents(folder / "broken.vme", "not a network");
        std::filesystem::create_directories(folder / "upgrade");
        std::filesystem::copy(generatedFile("sample.vme"), folder / "upgrade" / "sample.vme");
        std::filesystem::create_directories(folder / "no libraries");
    }

    TTempFolder folder;
};

TEST_F(ExitCodeRule, IsTheSameForEveryCommand) {
    using TRun = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    const TRun libraries = [](const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
        return RunLibrariesCommand(arguments.at(0), out, err);
    };
    const std::string sample = generatedFile("sample.vme").string();
    const std::string empty = generatedFile("empty.vme").string();
    const std::string broken = (folder / "broken.vme").string();
    const std::string missing = (folder / "missing.vme").string();
    const std::string unwritable = (folder / "no such folder" / "out").string();
    const struct {
        const char* What;
        TRun Command;
        std::vector<std::string> Arguments;
        int ExitCode;
    } cases[] = {
        {"info shows a network", RunInfoCommand, {sample}, kExitSuccess},
        {"info of a broken file", RunInfoCommand, {broken}, kExitBadInput},
        {"info of a missing file", RunInfoCommand, {missing}, kExitBadInput},
        {"info without a file", RunInfoCommand, {}, kExitBadInput},
        {"solve solves", RunSolveCommand, {sample}, kExitSuccess},
        {"solve, not solved", RunSolveCommand, {empty}, kExitFailed},
        {"solve, JSON not written", RunSolveCommand, {sample, "--json", unwritable + ".json"}, kExitFailed},
        {"solve, network not saved", RunSolveCommand, {sample, "--save", unwritable + ".vme"}, kExitFailed},
        {"solve of a broken file", RunSolveCommand, {broken}, kExitBadInput},
        {"solve of a missing file", RunSolveCommand, {missing}, kExitBadInput},
        {"solve with an unknown option", RunSolveCommand, {sample, "--fast"}, kExitBadInput},
        {"solve with an unknown table", RunSolveCommand, {sample, "--table", "valves"}, kExitBadInput},
        {"table written", RunTableCommand, {sample, "--table", "nodes"}, kExitSuccess},
        {"table, workbook not written", RunTableCommand, {sample, "--table", "nodes", "-o", unwritable + ".xlsx"},
         kExitFailed},
        {"table, CSV not written", RunTableCommand, {sample, "--table", "nodes", "-o", unwritable + ".csv"},
         kExitFailed},
        {"table of a broken file", RunTableCommand, {broken, "--table", "nodes"}, kExitBadInput},
        {"table of a missing file", RunTableCommand, {missing, "--table", "nodes"}, kExitBadInput},
        {"table with an unknown name", RunTableCommand, {sample, "--table", "valves"}, kExitBadInput},
        {"upgrade converts", RunUpgradeCommand, {(folder / "upgrade").string()}, kExitSuccess},
        {"upgrade of a missing folder", RunUpgradeCommand, {(folder / "missing").string()}, kExitBadInput},
        {"libraries that cannot be loaded", libraries, {(folder / "no libraries").string()}, kExitBadInput},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(c.Command(c.Arguments, out, err), c.ExitCode) << c.What << "\n" << err.str();
        // A failure always says why.
        if (c.ExitCode != kExitSuccess) EXPECT_FALSE(err.str().empty() && out.str().empty()) << c.What;
    }
}

}  // namespace
