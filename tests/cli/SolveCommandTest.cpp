// velmora-cli solve, run as the executable runs it, on files the network writer
// produced: its results log, exit codes, JSON, the saved network and the
// answers to the reversal question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "VM4_SolveCommand.h"
#include "common/NetworkBuilder.h"
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

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::vector<std::string> kLogHeader{
    "----------------------------------------------------", "Velmora Studio - Results Log",
    "----------------------------------------------------", "Generating Network equations...",
    "Solving Network equations...",
};

// ---- Arguments ------------------------------------------------------------------------------------

struct TArgumentCase {
    const char* Name;
    std::vector<std::string> Arguments;
    bool Valid;
    TSolveOptions Expected;
    std::string Problem;
};

void PrintTo(const TArgumentCase& argumentCase, std::ostream* out) { *out << argumentCase.Name; }

class SolveArguments : public ::testing::TestWithParam<TArgumentCase> {};

TEST_P(SolveArguments, AreReadOrRefused) {
    const TArgumentCase& c = GetParam();
    TSolveOptions options;
    std::string problem;
    EXPECT_EQ(ParseSolveArguments(c.Arguments, options, problem), c.Valid);
    EXPECT_EQ(problem, c.Problem);
    if (!c.Valid) return;
    EXPECT_EQ(options.NetworkFile, c.Expected.NetworkFile);
    EXPECT_EQ(options.ReversePipes, c.Expected.ReversePipes);
    EXPECT_EQ(options.JsonFile, c.Expected.JsonFile);
    EXPECT_EQ(options.SaveFile, c.Expected.SaveFile);
    EXPECT_EQ(options.Timing, c.Expected.Timing);
    EXPECT_EQ(options.Tables, c.Expected.Tables);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SolveArguments,
    ::testing::Values(
        TArgumentCase{"FileOnly", {"a.vme"}, true, {"a.vme", false, "", ""}, ""},
        TArgumentCase{"Everything",
                      {"--reverse=yes", "a.vme", "--json", "r.json", "--save", "out.vme"},
                      true,
                      {"a.vme", true, "r.json", "out.vme"},
                      ""},
        TArgumentCase{"ReverseNoIsTheDefault", {"a.vme", "--reverse=no"}, true, {"a.vme", false, "", ""}, ""},
        TArgumentCase{"Timing", {"--timing", "a.vme"}, true, {"a.vme", false, "", "", true}, ""},
        TArgumentCase{"NoFile", {"--reverse=yes"}, false, {}, "no network file given"},
        TArgumentCase{"TwoFiles", {"a.vme", "b.vme"}, false, {}, "one network file only"},
        TArgumentCase{"JsonWithoutName", {"a.vme", "--json"}, false, {}, "--json needs a file name"},
        TArgumentCase{"SaveWithoutName", {"a.vme", "--save"}, false, {}, "--save needs a file name"},
        TArgumentCase{"Tables", {"a.vme", "--table", "pipes,nodes"}, true,
                      {"a.vme", false, "", "", false, {"pipes", "nodes"}}, ""},
        TArgumentCase{"OneTable", {"--table", "fluid", "a.vme"}, true, {"a.vme", false, "", "", false, {"fluid"}},
                      ""},
        TArgumentCase{"UnknownTable", {"a.vme", "--table", "pipes,valves"}, false, {}, "unknown table 'valves'"},
        TArgumentCase{"EmptyTableName", {"a.vme", "--table", "pipes,"}, false, {}, "unknown table ''"},
        TArgumentCase{"TableWithoutNames", {"a.vme", "--table"}, false, {},
                      "--table needs table names (for example pipes,nodes)"},
        TArgumentCase{"UnknownReverseAnswer", {"a.vme", "--reverse=maybe"}, false, {},
                      "unknown option --reverse=maybe"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---- Runs ------------------------------------------------------------------------------------------------

class SolveCommandRun : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        return RunSolveCommand(arguments, out, err);
    }

    // Networks drawn here and written with the network writer.
    std::string Write(TNetwork& network, const std::string& name) {
        const std::filesystem::path path = folder / name;
        network.SaveToFile(path);
        return path.string();
    }

    TScopedDecimalMark mark{'.'};
    TTempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
};

// The sample network solves; the log starts with the results log header and
// holds the accurate verdict and the result checks.
TEST_F(SolveCommandRun, SampleNetworkSolvesAndPrintsTheResultsLog) {
    EXPECT_EQ(Run({generatedFile("sample.vme").string()}), 0);

    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_GT(lines.size(), kLogHeader.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5), kLogHeader);
    EXPECT_TRUE(contains(out.str(), "\nFound Accurate Solution ("));
    EXPECT_TRUE(contains(out.str(), "\nFinal Solution Details:\n"));
    EXPECT_TRUE(contains(out.str(), "\nChecking Results...\n"));
    EXPECT_EQ(err.str(), "");
}

// The JSON holds every node and pipe of the saved solved network, with the same
// values, and the log as printed; along every open pipe without a flow control
// the grade line falls by the pipe's total loss.
TEST_F(SolveCommandRun, JsonAndSavedNetworkAgreeWithEachOther) {
    const std::string json = (folder / "results.json").string();
    const std::string saved = (folder / "solved.vme").string();
    ASSERT_EQ(Run({generatedFile("sample.vme").string(), "--json", json, "--save", saved}), 0);

    const nlohmann::json results = nlohmann::json::parse(FileContents(json));
    auto network = std::make_unique<TNetwork>();
    network->LoadFromFile(saved);
    EXPECT_EQ(results.at("solved"), true);
    const std::vector<std::string> log = linesOf(out.str());
    const auto checks = std::find(log.begin(), log.end(), "Checking Results...");
    const auto warnings = std::count(checks, log.end(), ">>> WARNING:") + std::count(checks, log.end(), ">>> PROBLEM:");
    EXPECT_EQ(results.at("warnings").get<std::ptrdiff_t>(), warnings);
    EXPECT_EQ(results.at("log").get<std::vector<std::string>>(), linesOf(out.str()));
    ASSERT_EQ(results.at("nodes").size(), static_cast<std::size_t>(network->GetNodeCount()));
    for (const auto& node : results.at("nodes")) {
        const TNode& saved_node = network->GetNode(node.at("id").get<std::int32_t>());
        EXPECT_EQ(node.at("name").get<std::string>(), saved_node.Name);
        EXPECT_EQ(node.at("type").get<std::string>(), NodeTypeName(saved_node.NodeType));
        EXPECT_EQ(node.at("elevation_m").get<double>(), saved_node.Elevation_m);
        // The join point behind the flow control alone gets no pressure from the solve.
        EXPECT_EQ(node.at("pressure_m").is_null(), !saved_node.IsPressureSet) << node;
        if (node.at("pressure_m").is_null()) continue;
        EXPECT_EQ(node.at("pressure_m").get<double>(), saved_node.Pressure_FluidHead_m);
        EXPECT_EQ(node.at("hgl_m").get<double>(), saved_node.Pressure_FluidHead_m + saved_node.Elevation_m);
    }
    ASSERT_EQ(results.at("pipes").size(), static_cast<std::size_t>(network->GetPipeCount()));
    for (const auto& pipe : results.at("pipes")) {
        const std::int32_t id = pipe.at("id").get<std::int32_t>();
        const TPipe& savedPipe = network->GetPipe(id);
        EXPECT_EQ(pipe.at("name").get<std::string>(), savedPipe.Name);
        EXPECT_EQ(pipe.at("flow_m3s").get<double>(), savedPipe.FlowUncompressed_m3s) << "pipe " << id;
        EXPECT_EQ(pipe.at("velocity_ms").get<double>(), savedPipe.Velocity_ms) << "pipe " << id;
        std::int32_t from = 0;
        std::int32_t to = 0;
        if (!network->GetPipeNodes(id, from, to)) continue;  // closed
        // A pipe's total loss is friction + fittings + component - pump head: what
        // is left of it after the rest is the component's loss.
        const double componentLoss = pipe.at("component_loss_m").get<double>();
        EXPECT_NEAR(componentLoss,
                    pipe.at("total_loss_m").get<double>() - pipe.at("friction_loss_m").get<double>() -
                        savedPipe.FittingsLoss_mHd_Fluid + pipe.at("pump_head_m").get<double>(),
                    1e-6)
            << "pipe " << id;
        EXPECT_EQ(componentLoss != 0.0, savedPipe.HasComponentPressure && savedPipe.CalcComponentPressure)
            << "pipe " << id;
        EXPECT_EQ(pipe.at("flow_control_loss_m").get<double>() > 0.0,
                  savedPipe.HasFlowControl && savedPipe.CalcFlowControl)
            << "pipe " << id;
        EXPECT_EQ(pipe.at("from").get<std::int32_t>(), from);
        EXPECT_EQ(pipe.at("to").get<std::int32_t>(), to);
        if (savedPipe.HasFlowControl) continue;
        const double fall_m = network->GetNode(from).Pressure_FluidHead_m + network->GetNode(from).Elevation_m -
                              network->GetNode(to).Pressure_FluidHead_m - network->GetNode(to).Elevation_m;
        EXPECT_NEAR(pipe.at("total_loss_m").get<double>(), fall_m, 0.001) << "pipe " << id;
    }
}

// The sample's component (pipe 9) is switched off, its flow control (pipe 2)
// on: switched on, each loses what the table shows; switched off, nothing, as
// the table's "none" says.
TEST_F(SolveCommandRun, JsonLossesFollowWhetherTheItemsAreSwitchedOn) {
    for (const bool on : {true, false}) {
        auto network = std::make_unique<TNetwork>();
        network->LoadFromFile(generatedFile("sample.vme"));
        network->GetPipe(9).CalcComponentPressure = on;
        network->GetPipe(2).CalcFlowControl = on;
        const std::string json = (folder / "items.json").string();
        Run({Write(*network, "items.vme"), "--json", json});
        const nlohmann::json results = nlohmann::json::parse(FileContents(json));
        for (const auto& pipe : results.at("pipes")) {
            const std::int32_t id = pipe.at("id").get<std::int32_t>();
            const double component = pipe.at("component_loss_m").get<double>();
            const double control = pipe.at("flow_control_loss_m").get<double>();
            EXPECT_EQ(component > 0.0, on && id == 9) << pipe;
            EXPECT_EQ(control > 0.0, on && id == 2) << pipe;
            if (id != 9 || !on) continue;
            // friction + fittings + component - pump head is the pipe's total loss
            EXPECT_NEAR(component,
                        pipe.at("total_loss_m").get<double>() - pipe.at("friction_loss_m").get<double>() -
                            network->GetPipe(9).FittingsLoss_mHd_Fluid + pipe.at("pump_head_m").get<double>(),
                        1e-6);
        }
    }
}

// --table prints the named tables after the log, each cell of a column starting
// at the same place, so that a terminal shows them as columns.
TEST_F(SolveCommandRun, TablesFollowTheLogAsAlignedColumns) {
    ASSERT_EQ(Run({generatedFile("sample.vme").string(), "--table", "pipes,nodes"}), 0);
    const std::vector<std::string> lines = linesOf(out.str());
    const auto pipesHeader = std::find_if(lines.begin(), lines.end(),
                                          [](const std::string& line) { return line.rfind("Pipe Id  ", 0) == 0; });
    const auto nodesHeader = std::find_if(lines.begin(), lines.end(),
                                          [](const std::string& line) { return line.rfind("Node Id  ", 0) == 0; });
    ASSERT_NE(pipesHeader, lines.end()) << out.str();
    ASSERT_NE(nodesHeader, lines.end()) << out.str();
    EXPECT_LT(pipesHeader, nodesHeader);
    EXPECT_EQ(*(pipesHeader - 1), "") << "a blank line before each table";
    EXPECT_NE(std::find(lines.begin(), pipesHeader, "Checking Results..."), pipesHeader) << "the log comes first";
    // Pipe 5 "Saugleitung": its name starts under the "Pipe Name" title.
    const std::size_t nameColumn = pipesHeader->find("Pipe Name");
    const auto pipe5 = std::find_if(pipesHeader, nodesHeader,
                                    [](const std::string& line) { return line.rfind("5 ", 0) == 0; });
    ASSERT_NE(pipe5, nodesHeader);
    EXPECT_EQ(pipe5->find("Saugleitung"), nameColumn) << *pipe5;
    for (auto line = pipesHeader; line != lines.end(); ++line)
        EXPECT_TRUE(line->empty() || line->back() != ' ') << "no trailing blanks: " << *line;
}

// One line of the timing report: what was timed, milliseconds, how often it ran
// (-1 where the line gives no count).
struct TTimingLine {
    std::string What;
    double Milliseconds = -1.0;
    int Runs = -1;
};

std::vector<TTimingLine> timingLinesOf(const std::string& report) {
    std::vector<TTimingLine> lines;
    for (const std::string& text : linesOf(report)) {
        const std::size_t ms = text.find(" ms");
        if (text.rfind("  ", 0) != 0 || ms == std::string::npos) continue;
        TTimingLine line;
        const std::size_t number = text.find_last_of(' ', ms - 1) + 1;
        line.What = text.substr(2, text.find_last_not_of(' ', number - 1) - 1);
        line.Milliseconds = std::stod(text.substr(number, ms - number));
        const std::size_t runs = text.find("  (", ms);
        if (runs != std::string::npos) line.Runs = std::stoi(text.substr(runs + 3));
        lines.push_back(line);
    }
    return lines;
}

// --timing adds the time of the solve and of its phases on the error stream and
// changes nothing on the standard output. The phases ran as often as the log
// says: one start estimate and one approximate Newton loop per attempt, one
// refinement and one pressure recovery for the solution found.
TEST_F(SolveCommandRun, TimingGoesToTheErrorStreamOnly) {
    ASSERT_EQ(Run({generatedFile("sample.vme").string()}), 0);
    const std::string plainOut = out.str();
    ASSERT_EQ(err.str(), "");

    ASSERT_EQ(Run({generatedFile("sample.vme").string(), "--timing"}), 0);

    EXPECT_EQ(out.str(), plainOut);
    ASSERT_EQ(err.str().rfind("Timing (measured inside velmora-cli):\n", 0), 0u) << err.str();
    const std::vector<TTimingLine> lines = timingLinesOf(err.str());
    std::vector<std::string> names;
    for (const TTimingLine& line : lines) names.push_back(line.What);
    EXPECT_EQ(names, (std::vector<std::string>{"load network", "preparation", "loop generation",
                                               "start flow estimates", "equation generation",
                                               "Newton, approximate phase", "Newton, refining phase",
                                               "pressure recovery", "finish", "result checks", "between phases",
                                               "whole solve"}));
    ASSERT_EQ(lines.size(), 12u);
    const std::vector<std::string> log = linesOf(plainOut);
    const int attempts = static_cast<int>(
        std::count_if(log.begin(), log.end(), [](const std::string& line) { return line.rfind("Iteration ", 0) == 0; }));
    ASSERT_GT(attempts, 0);
    EXPECT_EQ(lines[2].Runs, 1);          // loop generation
    EXPECT_EQ(lines[3].Runs, attempts);   // start flow estimates
    EXPECT_EQ(lines[4].Runs, attempts + 1);  // equations, again before refining
    EXPECT_EQ(lines[5].Runs, attempts);   // approximate phase
    EXPECT_EQ(lines[6].Runs, 1);          // refining phase
    EXPECT_EQ(lines[7].Runs, 1);          // pressure recovery
    EXPECT_EQ(lines[9].Runs, 1);          // result checks
    double phases_ms = 0.0;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_GE(lines[i].Milliseconds, 0.0) << lines[i].What;
        phases_ms += lines[i].Milliseconds;
    }
    // The whole solve is the phases and what lies between them (each printed to 0.001 ms).
    EXPECT_NEAR(lines.back().Milliseconds, phases_ms, 0.001 * static_cast<double>(lines.size()));
}

TEST_F(SolveCommandRun, NetworkWithoutPipesIsNotCalculated) {
    const std::string json = (folder / "results.json").string();
    EXPECT_EQ(Run({generatedFile("empty.vme").string(), "--json", json}), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Not enough of Network defined to run calculations.\n\n");
    EXPECT_EQ(nlohmann::json::parse(FileContents(json)).at("solved"), false);
}

TEST_F(SolveCommandRun, BadFilesAndArgumentsExitWithTwo) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(err.str(), "velmora-cli solve: no network file given\nUsage: velmora-cli solve FILE.vme "
                         "[--reverse=no|yes] [--json FILE] [--save OUT.vme] [--timing]\n"
                         "                         [--table NAME[,NAME...]]\n");
    EXPECT_EQ(Run({"/nonexistent/x.vme"}), 2);
    EXPECT_EQ(err.str(), "velmora-cli solve: TNetwork.LoadFromFile Failed: /nonexistent/x.vme: cannot read the file\n");
    WriteFileContents(folder / "broken.vme", FileContents(generatedFile("sample.vme")).substr(0, 3000));
    EXPECT_EQ(Run({(folder / "broken.vme").string()}), 2);
    EXPECT_EQ(out.str(), "");
    // An output that cannot be written is a failure of the run, not of the call.
    EXPECT_EQ(Run({generatedFile("sample.vme").string(), "--json", (folder / "no" / "such" / "r.json").string()}), 1);
    EXPECT_TRUE(contains(err.str(), "velmora-cli solve: Could not save ")) << err.str();
}

// ---- Honest results and safe outputs ------------------------------------------------------------

// Tank N1 at 20 m --P1--> join point N2 (0.004 m³/s out) --P2--> end pressure N3;
// P3 from N2 to join point N4 is closed; join point N5 has no pipe.
std::unique_ptr<TNetwork> networkWithCutOffParts() {
    auto network = std::make_unique<TNetwork>();
    TNetworkBuilder build(*network);
    const std::int32_t tank = build.AddTank(0, 0, 20.0);
    const std::int32_t joint = build.AddJoint(100, 0);
    const std::int32_t end = build.AddDemandPressure(200, 0);
    const std::int32_t cutOff = build.AddJoint(100, 100);
    build.AddJoint(300, 300);
    network->GetNode(joint).JointDischarge_m3s = 0.004;
    build.AddPipe(tank, joint, "P1");
    build.AddPipe(joint, end, "P2");
    const std::int32_t closed = build.AddPipe(joint, cutOff, "P3");
    network->RemoveNodeLinkAddClosedPipeLink(closed);
    // What the pipe carried before it was closed.
    network->GetPipe(closed).FlowUncompressed_m3s = 0.0311;
    network->GetPipe(closed).Velocity_ms = 2.53;
    return network;
}

TEST_F(SolveCommandRun, JsonMarksClosedPipesAndNodesWithoutPressure) {
    const std::string json = (folder / "results.json").string();
    ASSERT_EQ(Run({Write(*networkWithCutOffParts(), "cut.vme"), "--json", json}), 0) << out.str();
    const nlohmann::json results = nlohmann::json::parse(FileContents(json));
    for (const auto& node : results.at("nodes")) {
        const bool cutOff = node.at("id") == 4 || node.at("id") == 5;
        EXPECT_EQ(node.at("connected"), !cutOff) << node;
        EXPECT_EQ(node.at("pressure_m").is_null(), cutOff) << node;
        EXPECT_EQ(node.at("hgl_m").is_null(), cutOff) << node;
        EXPECT_TRUE(node.at("elevation_m").is_number()) << node;
    }
    for (const auto& pipe : results.at("pipes")) {
        const bool closed = pipe.at("name") == "P3";
        EXPECT_EQ(pipe.at("closed"), closed) << pipe;
        if (closed) {
            for (const char* result : {"flow_m3s", "velocity_ms", "reynolds", "friction_loss_m", "total_loss_m"}) {
                EXPECT_EQ(pipe.at(result).get<double>(), 0.0) << result;
            }
        } else {
            EXPECT_GT(pipe.at("flow_m3s").get<double>(), 0.0) << pipe;
        }
    }
}

TEST_F(SolveCommandRun, AnAbsurdNetworkIsRefusedWithItsReason) {
    auto network = networkWithCutOffParts();
    network->GetPipe(2).Length_m = -120.0;
    const std::string json = (folder / "results.json").string();
    EXPECT_EQ(Run({Write(*network, "absurd.vme"), "--json", json}), 1);
    EXPECT_TRUE(contains(out.str(), "\nPipe P2: length -120.000 m. A pipe's length must be greater than zero.\n"))
        << out.str();
    EXPECT_FALSE(contains(out.str(), "Iteration"));
    EXPECT_TRUE(contains(err.str(), "Pipe P2: length -120.000 m.")) << err.str();
    EXPECT_EQ(nlohmann::json::parse(FileContents(json)).at("solved"), false);
}

TEST_F(SolveCommandRun, JsonThroughALinkReplacesTheFileItNames) {
    WriteFileContents(folder / "real.json", "{}");
    std::filesystem::create_symlink("real.json", folder / "latest.json");
    ASSERT_EQ(Run({generatedFile("sample.vme").string(), "--json", (folder / "latest.json").string()}), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "latest.json"));
    EXPECT_EQ(nlohmann::json::parse(FileContents(folder / "real.json")).at("solved"), true);
}

TEST_F(SolveCommandRun, AReadOnlyJsonFileIsLeftAndTheCommandFails) {
    WriteFileContents(folder / "kept.json", "kept");
    std::filesystem::permissions(folder / "kept.json", std::filesystem::perms(0444));
    EXPECT_EQ(Run({generatedFile("sample.vme").string(), "--json", (folder / "kept.json").string()}), 1);
    EXPECT_TRUE(contains(err.str(), "read-only")) << err.str();
    EXPECT_EQ(FileContents(folder / "kept.json"), "kept");
}

// A refining phase that can never converge (one iteration allowed): the log
// gives the advice about the final tolerance before the result checks.
TEST_F(SolveCommandRun, FailedRefinementGivesTheToleranceAdvice) {
    auto network = std::make_unique<TNetwork>();
    TNetworkBuilder build(*network);
    const std::int32_t tank = build.AddTank(0, 0, 10.0);
    build.AddPipe(tank, build.AddDemandPressure(10, 0), "P1");
    network->Settings.MaxIterationsFinalSolution = 1;

    EXPECT_EQ(Run({Write(*network, "fine.vme")}), 1);

    const std::string log = out.str();
    EXPECT_TRUE(contains(log, "\nDid Not Converge to an Accurate Solution (1 calculations)\nContinue to next "
                              "iteration\n"));
    const std::string advice =
        "\n \nNetwork was not solved.\n \nFinal Pressure balance tolerance may be too small for this system to be "
        "solved.\n \nNOTE: It is not normally necessary to adjust the configuration options related to the system "
        "calculations, however in a very finely balanced system, it may be necessary to do so.\n \nAdjusting the "
        "final pressure balance tolerance under calculations options:\nIf a solution can be found with a larger "
        "final pressure balance tolerance then note the velocity at several discharge points and reconfigure the "
        "minimum and maximum discharge estimates that are specified under calculations options (such that these "
        "bound the range of discharge velocities found in the less accurate solution). Specifying a shorter range "
        "for the minimum and maximum discharge velocity estimates (provided the range bounds the final solution) may "
        "allow the program to converge to an accurate solution for the original lower final pressure balance "
        "tolerance (or some suitable tolerance that provides for a sufficiently accurate solution.\n \nChecking "
        "Results...\n";
    EXPECT_TRUE(contains(log, advice)) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
}

// Reservoirs at 50, 30 and 10 m with the pipe to the middle one drawn against
// its flow: the question is printed with the answer the option gives.
class ReversalFromTheCommandLine : public SolveCommandRun {
protected:
    void SetUp() override {
        auto network = std::make_unique<TNetwork>();
        TNetworkBuilder build(*network);
        const std::int32_t high = build.AddTank(0, 0, 50.0);
        const std::int32_t middle = build.AddTank(20, 0, 30.0);
        const std::int32_t low = build.AddTank(20, 20, 10.0);
        const std::int32_t junction = build.AddJoint(10, 10);
        build.AddPipe(high, junction, "P1", 300.0, 0.15);
        build.AddPipe(middle, junction, "P2", 200.0, 0.1);
        build.AddPipe(junction, low, "P3", 250.0, 0.1);
        file = Write(*network, "reservoirs.vme");
    }

    std::string file;
};

TEST_F(ReversalFromTheCommandLine, IsRefusedByDefault) {
    EXPECT_EQ(Run({file}), 1);
    EXPECT_TRUE(contains(err.str(), "Flow in P2 is negative (-")) << err.str();
    EXPECT_TRUE(contains(err.str(), "\n\nThe direction of this pipe must be reversed.\n\nReverse the pipe direction now "
                                    "and continue solving the network?\nAnswered No (--reverse=no).\n"));
    EXPECT_FALSE(contains(out.str(), "was reversed."));
    EXPECT_TRUE(contains(out.str(), "\nNetwork was not solved.\n"));
}

TEST_F(ReversalFromTheCommandLine, IsMadeWhenAllowed) {
    const std::string saved = (folder / "solved.vme").string();
    EXPECT_EQ(Run({file, "--reverse=yes", "--save", saved}), 0);
    EXPECT_TRUE(contains(err.str(), "Answered Yes (--reverse=yes).")) << err.str();
    EXPECT_TRUE(contains(out.str(), "\nDirection of pipe 2, named P2 was reversed.\n"));
    auto network = std::make_unique<TNetwork>();
    network->LoadFromFile(saved);
    std::int32_t from = 0;
    std::int32_t to = 0;
    ASSERT_TRUE(network->GetPipeNodes(2, from, to));
    EXPECT_EQ(from, 4);  // the junction
    EXPECT_EQ(to, 2);    // the middle reservoir
    EXPECT_GT(network->GetPipe(2).FlowUncompressed_m3s, 0.0);
}

}  // namespace
