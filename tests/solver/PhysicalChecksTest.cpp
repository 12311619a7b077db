#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "DriverFixture.h"
#include "common/FuzzyCompare.h"
#include "foundations/VM4_Units.h"
#include "solver/VM4_NetworkPhysicalChecks.h"

// Data no real network can have is refused before the solve starts: the user
// learns which item holds which value, the log says the same, and nothing of
// the document changes.

namespace {

const char* const kHeading = "The network was not solved: some of its data are not physically possible.";
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

// Tank N1 at 20 m --P1--> join point N2 (demand 0.004 m³/s) --P2--> end pressure N3 at 0 m.
class PhysicalChecks : public TDriverFixture {
protected:
    PhysicalChecks() {
        tank = build.AddTank(0, 0, 20.0);
        joint = build.AddJoint(100, 0);
        end = build.AddDemandPressure(200, 0);
        network->GetNode(joint).JointDischarge_m3s = 0.004;
        p1 = build.AddPipe(tank, joint, "P1", 100.0, 0.1);
        p2 = build.AddPipe(joint, end, "P2", 100.0, 0.1);
    }

    TPipe& Pipe2() { return network->GetPipe(p2); }

    std::int32_t tank = 0;
    std::int32_t joint = 0;
    std::int32_t end = 0;
    std::int32_t p1 = 0;
    std::int32_t p2 = 0;
};

TEST_F(PhysicalChecks, ASoundNetworkHasNoProblemsAndSolves) {
    EXPECT_TRUE(FindPhysicalProblems(*network).empty());
    EXPECT_TRUE(network->SolveNetwork(log));
    EXPECT_GT(network->GetPipe(p1).FlowUncompressed_m3s, 0.0);
}

struct TAbsurdInput {
    const char* Case;
    std::function<void(TNetwork&, std::int32_t pipeId, std::int32_t nodeId)> Spoil;
    const char* Problem;  // the whole sentence, or a part of it naming item, value and rule
};

// Each case spoils one value of the sound network above.
const TAbsurdInput kAbsurdInputs[] = {
    {"negative length", [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).Length_m = -120.0; },
     "Pipe P2: length -120.000 m. A pipe's length must be greater than zero."},
    {"zero length", [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).Length_m = 0.0; },
     "Pipe P2: length 0.000 m. A pipe's length must be greater than zero."},
    {"length not a number", [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).Length_m = kNaN; },
     "Pipe P2: length not a number. A pipe's length must be greater than zero."},
    {"negative diameter", [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).InnerDiameter_m = -0.1; },
     "Pipe P2: inner diameter -100.000 mm. A pipe's inner diameter must be greater than zero."},
    {"zero diameter", [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).InnerDiameter_m = 0.0; },
     "Pipe P2: inner diameter 0.000 mm. A pipe's inner diameter must be greater than zero."},
    {"negative roughness",
     [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).InnerRoughness_m = -0.001; },
     "Pipe P2: roughness -1.000 mm. A pipe's roughness must not be negative."},
    {"infinite roughness",
     [](TNetwork& n, std::int32_t p, std::int32_t) { n.GetPipe(p).InnerRoughness_m = kInfinity; },
     "Pipe P2: roughness +infinity. A pipe's roughness must not be negative."},
    {"negative fitting K",
     [](TNetwork& n, std::int32_t p, std::int32_t) {
         TFitting elbow;
         elbow.SetFittingData(100, 1, "Elbow", "100", "4", "Elbow 90", -0.5);
         n.GetPipe(p).Fittings.AddFitting(elbow, 1);
     },
     "Pipe P2: fitting Elbow 90 K value -0.500000. A fitting's K value must not be negative."},
    {"fitting K not a number",
     [](TNetwork& n, std::int32_t p, std::int32_t) {
         TFitting elbow;
         elbow.SetFittingData(100, 1, "Elbow", "100", "4", "Elbow 90", kNaN);
         n.GetPipe(p).Fittings.AddFitting(elbow, 1);
     },
     "Pipe P2: fitting Elbow 90 K value not a number."},
    {"pump set flow not a number",
     [](TNetwork& n, std::int32_t p, std::int32_t) {
         n.GetPipe(p).HasPump = true;
         n.GetPipe(p).Pump.SetFlowRate_m3s = kNaN;
     },
     "Pipe P2: pump set flow rate not a number. A pump's set flow rate must be a finite number."},
    {"component fixed loss infinite",
     [](TNetwork& n, std::int32_t p, std::int32_t) {
         n.GetPipe(p).HasComponentPressure = true;
         n.GetPipe(p).ComponentPressure.FixedLoss_bar = -kInfinity;
     },
     "Pipe P2: component fixed loss -infinity bar. A component's fixed loss must be a finite number."},
    {"flow control set flow infinite",
     [](TNetwork& n, std::int32_t p, std::int32_t) {
         n.GetPipe(p).HasFlowControl = true;
         n.GetPipe(p).FlowControlSetFlow_m3s = kInfinity;
     },
     "Pipe P2: flow control set flow +infinity. A flow control's set flow must be a finite number."},
    {"elevation not a number", [](TNetwork& n, std::int32_t, std::int32_t j) { n.GetNode(j).Elevation_m = kNaN; },
     "Node N2: elevation not a number. A node's elevation must be a finite number."},
    {"demand infinite",
     [](TNetwork& n, std::int32_t, std::int32_t j) { n.GetNode(j).JointDischarge_m3s = kInfinity; },
     "Node N2: demand flow out +infinity. A node's demand flow out must be a finite number."},
    {"tank level not a number", [](TNetwork& n, std::int32_t, std::int32_t) { n.GetNode(1).LiquidLevel_m = kNaN; },
     "Node N1: liquid level not a number. A node's liquid level must be a finite number."},
    {"fluid density zero", [](TNetwork& n, std::int32_t, std::int32_t) { n.Fluid.Density_kg_m3 = 0.0; },
     ": density 0.000 kg/m³. A fluid's density must be greater than zero."},
    {"fluid viscosity negative", [](TNetwork& n, std::int32_t, std::int32_t) { n.Fluid.DynamicViscosity_cP = -1.0; },
     ": viscosity -1.000000 cP. A fluid's viscosity must be greater than zero."},
    {"final tolerance zero",
     [](TNetwork& n, std::int32_t, std::int32_t) { n.Settings.PressureBalancingToleranceFinal = 0.0; },
     "Calculation option pressure balancing tolerance for the final solution (bar): 0.000000. It must be greater "
     "than zero."},
    {"a length unit for flows",
     [](TNetwork& n, std::int32_t, std::int32_t) { n.Settings.FlowRateUnit = static_cast<std::uint8_t>(UNIT_M); },
     "Display units: unit of flow rate 0 (m). It must be a unit of that quantity."},
};

class AbsurdInput : public PhysicalChecks, public ::testing::WithParamInterface<TAbsurdInput> {};

TEST_P(AbsurdInput, IsRefusedWithItsReasonAndNothingIsSolved) {
    const TAbsurdInput& input = GetParam();
    network->GetPipe(p1).FlowUncompressed_m3s = 0.0123;  // a result of some earlier solve
    input.Spoil(*network, p2, joint);
    const std::vector<TNodeLink> linksBefore = OpenLinks();

    EXPECT_FALSE(network->SolveNetwork(log));

    EXPECT_TRUE(Contains(log, kHeading));
    EXPECT_TRUE(Contains(log, input.Problem)) << "log has no \"" << input.Problem << "\" but "
                                              << ::testing::PrintToString(FindPhysicalProblems(*network));
    ASSERT_EQ(user.Informations.size(), 1u);
    EXPECT_NE(user.Informations[0].find(input.Problem), std::string::npos) << user.Informations[0];
    EXPECT_FALSE(Contains(log, "Iteration")) << "a solve attempt was started";
    EXPECT_EQ(network->GetPipe(p1).FlowUncompressed_m3s, 0.0123);
    EXPECT_EQ(OpenLinks().size(), linksBefore.size());
}

INSTANTIATE_TEST_SUITE_P(Network, AbsurdInput, ::testing::ValuesIn(kAbsurdInputs),
                         [](const ::testing::TestParamInfo<TAbsurdInput>& info) {
                             std::string name = info.param.Case;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST_F(PhysicalChecks, EveryProblemIsListedInTheLog) {
    Pipe2().Length_m = -1.0;
    Pipe2().InnerDiameter_m = 0.0;
    network->GetNode(joint).Elevation_m = kNaN;
    const std::vector<std::string> problems = FindPhysicalProblems(*network);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_FALSE(network->SolveNetwork(log));
    for (const std::string& problem : problems) EXPECT_TRUE(Contains(log, problem)) << problem;
}

TEST_F(PhysicalChecks, TheBoxShowsTenProblemsAndPointsToTheLogForTheRest) {
    for (int i = 0; i < 12; ++i) {
        build.AddPipe(joint, build.AddJoint(100 + 10 * i, 100), "Bad" + std::to_string(i), -5.0, 0.1);
    }
    EXPECT_FALSE(network->SolveNetwork(log));
    ASSERT_EQ(user.Informations.size(), 1u);
    EXPECT_NE(user.Informations[0].find("Pipe Bad9: length"), std::string::npos);
    EXPECT_EQ(user.Informations[0].find("Pipe Bad10: length"), std::string::npos);
    EXPECT_NE(user.Informations[0].find("... and 2 more (see the results log)."), std::string::npos);
    EXPECT_TRUE(Contains(log, "Pipe Bad11: length -5.000 m."));
}

// A closed pipe takes no part in the solve, so what it holds cannot spoil it.
TEST_F(PhysicalChecks, AClosedPipeIsNotChecked) {
    const std::int32_t spare = build.AddPipe(tank, end, "Spare", -50.0, -0.2);
    network->RemoveNodeLinkAddClosedPipeLink(spare);
    EXPECT_TRUE(FindPhysicalProblems(*network).empty());
    EXPECT_TRUE(network->SolveNetwork(log));
}

TEST_F(PhysicalChecks, ValuesAreShownInTheDisplayUnits) {
    network->SetImperialUnits();
    Pipe2().Length_m = -0.3048 * 120;
    const std::vector<std::string> problems = FindPhysicalProblems(*network);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("length -120.000 ft."), std::string::npos) << problems[0];
}

}  // namespace
