// The six example systems against their expected results (tests/data/solver/
// examples): flows within 0.01 % (or 1e-6 m³/s) and node pressures within 1 cm,
// so that a change that moves a result is seen. The expected results balance
// when checked without the solver.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScriptedUserMessages.h"
#include "SolutionCheck.h"
#include "model/VM4_Network_Class.h"

namespace {

struct TExpectedValue {
    std::string Kind;  // "pipe" or "node"
    std::int32_t Id = 0;
    double Value = 0.0;
};

std::vector<TExpectedValue> readExpected(const std::string& example) {
    std::ifstream in(std::filesystem::path(VELMORA_TEST_DATA_DIR) / "solver" / "examples" / (example + ".expected"));
    std::vector<TExpectedValue> values;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        TExpectedValue value;
        fields >> value.Kind >> value.Id >> value.Value;
        values.push_back(value);
    }
    return values;
}

class ExampleResultsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleResultsTest, SolvesToItsExpectedResults) {
    const std::string example = GetParam();
    TNetwork network;
    network.LoadFromFile(std::filesystem::path(VELMORA_EXAMPLES_DIR) / (example + ".vme"));
    TScriptedUserMessages user;
    network.UserMessages = &user;
    std::vector<std::string> log;
    ASSERT_TRUE(network.SolveNetwork(log));

    const std::vector<TExpectedValue> expected = readExpected(example);
    ASSERT_FALSE(expected.empty()) << "no expected results for " << example;
    for (const TExpectedValue& value : expected) {
        if (value.Kind == "pipe") {
            const double flow_m3s = network.GetPipe(value.Id).FlowUncompressed_m3s;
            EXPECT_NEAR(flow_m3s, value.Value, 1e-6 + 1e-4 * std::fabs(value.Value)) << "pipe " << value.Id;
        } else {
            EXPECT_NEAR(network.GetNode(value.Id).Pressure_FluidHead_m, value.Value, 0.01) << "node " << value.Id;
        }
    }
    const TSolutionCheck check = CheckSolution(network);
    EXPECT_LE(check.WorstContinuity_m3s, 1.5 * network.Settings.FlowBalancingTolerance) << check.WorstContinuityAt;
    EXPECT_EQ(check.WorstHeadMismatch_m, 0.0) << check.WorstHeadMismatchAt;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleResultsTest,
                         ::testing::Values("Example_01_Three_Reservoirs", "Example_02_Pumped_Transfer",
                                           "Example_03_Looped_Distribution", "Example_04_Flow_Control_and_Fixed_Loss",
                                           "Example_05_Plant_Line_Fittings", "Example_06_Compressed_Air"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, 10);
                         });

}  // namespace
