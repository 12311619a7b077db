#include <gtest/gtest.h>

#include <memory>

#include "common/FuzzyCompare.h"
#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"

namespace {

class Network : public ::testing::Test {
protected:
    Network() : network(std::make_unique<TNetwork>()), build(*network) {}

    std::unique_ptr<TNetwork> network;
    TNetworkBuilder build;
};

void expectDefaultPipe(const TPipe& pipe) {
    EXPECT_EQ(pipe.Name, "Default Pipe");
    EXPECT_EQ(pipe.Length_m, 3.048);
    EXPECT_EQ(pipe.InnerDiameter_m, 0.10226);
    EXPECT_EQ(pipe.InnerRoughness_m, 0.000046);
    EXPECT_EQ(pipe.Material, "Steel");
    EXPECT_EQ(pipe.SizeClass, 100);
    EXPECT_EQ(pipe.NominalSize, "4\"");
    EXPECT_EQ(pipe.Schedule, "Sch. 40");
    EXPECT_EQ(pipe.OuterDiameter_m, 0.1143);
    EXPECT_EQ(pipe.WallThickness_m, 0.00602);
    EXPECT_EQ(pipe.WeightPerLength_kg_m, 16.0751);
    EXPECT_EQ(pipe.Fittings.GetFittingCountIncludingQuantities(), 0);
    EXPECT_FALSE(pipe.HasPump);
}

}  // namespace

TEST_F(Network, NewDocumentIsEmpty) {
    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->GetPipeCount(), 0);
    EXPECT_EQ(network->GetNodeLinkCount(), 0);
    EXPECT_EQ(network->GetClosedPipeLinkCount(), 0);
    EXPECT_EQ(network->GetFreeTextCount(), 0);
    EXPECT_EQ(network->GetPipeLoopCount(), 0);
    EXPECT_EQ(network->GetNextPipeId(0), 0);
    EXPECT_EQ(network->GetPreviousPipeId(0), 0);
    EXPECT_EQ(network->GetHighestPipeId(), 0);
    EXPECT_EQ(network->GetHighestNodeId(), -1);
    EXPECT_FALSE(network->IsNetworkOkToCalculate());
    EXPECT_EQ(network->Fluid.Name, "Water");
    EXPECT_EQ(network->Fluid.Density_kg_m3, 998.0);
    expectDefaultPipe(network->DefaultPipe);
}

TEST_F(Network, CalculationNeedsANodeAndAnOpenLink) {
    const std::int32_t tank = build.AddTank(0, 0);
    EXPECT_FALSE(network->IsNetworkOkToCalculate());
    const std::int32_t joint = build.AddJoint(100, 0);
    const std::int32_t pipe = build.AddPipe(tank, joint);
    EXPECT_TRUE(network->IsNetworkOkToCalculate());
    network->RemoveNodeLinkAddClosedPipeLink(pipe);
    EXPECT_FALSE(network->IsNetworkOkToCalculate());
}

TEST_F(Network, NodesAreForwardedToThePool) {
    const std::int32_t a = build.AddTank(10, 20);
    const std::int32_t b = build.AddJoint(30, 40);
    const std::int32_t c = build.AddDemandPressure(10, 20, 1.5);
    EXPECT_EQ(network->GetNode(c).NodeType, TNodeType::DemandPressure);
    EXPECT_EQ(network->GetNode(b).Name, "N2");
    EXPECT_EQ(network->ExistsNodeWithSamePosition(10, 20), c);
    network->RemoveNode(b);
    EXPECT_EQ(network->GetNextNodeId(a), c);
    EXPECT_EQ(network->GetPreviousNodeId(c), a);
    EXPECT_EQ(network->GetHighestNodeId(), c);
    EXPECT_EQ(network->GetNodeCount(), 2);
    EXPECT_EQ(build.AddJoint(0, 0), b);
}

TEST_F(Network, FullNodePoolRaisesTheNodeMessage) {
    for (int i = 0; i < 1000; ++i) network->AddNode(TNode());
    try {
        network->AddNode(TNode());
        FAIL() << "the 1001st node must be refused";
    } catch (const ENodeClass& error) {
        EXPECT_STREQ(error.what(), "TNodeSet.AddNode Failed: May have reached Max number of nodes allowed");
    }
}

TEST_F(Network, StartVelocityLadderHasHundredStepsBelowTheMaximum) {
    // v_i = 0.1 + (i - 1) * (50 - 0.1) / 100: 0.1, 0.599, 1.098, ..., 0.1 + 99 * 0.499 = 49.501
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[1], 0.1, 1e-12);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[2], 0.599, 1e-12);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[3], 1.098, 1e-12);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[100], 49.501, 1e-12);

    // A descending ladder when the options are crossed: 2 + (i - 1) * (1 - 2) / 100
    network->Settings.MinVelocityDischarge = 2.0;
    network->Settings.MaxVelocityDischarge = 1.0;
    network->FillDischargeVelocityEstimates();
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[1], 2.0, 1e-12);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[51], 1.5, 1e-12);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[100], 1.01, 1e-12);
}

TEST_F(Network, UnitPresetsRoundTripAndKeepTheAtmosphereUnit) {
    network->Settings.AtmosphereUnit = 61;
    network->SetImperialUnits();
    EXPECT_EQ(network->Settings.LengthUnit, 2);
    EXPECT_EQ(network->Settings.PressureLossUnit, 57);
    network->SetMetricUnits();
    EXPECT_EQ(network->Settings.LengthUnit, 0);
    EXPECT_EQ(network->Settings.FlowRateUnit, 25);
    EXPECT_EQ(network->Settings.DensityUnit, 79);
    EXPECT_EQ(network->Settings.AtmosphereUnit, 61);
}

TEST_F(Network, FreeTextsFillUpToOneHundred) {
    for (std::int32_t i = 1; i <= 100; ++i) {
        EXPECT_EQ(network->AddFreeText({"label " + std::to_string(i)}, i, 2 * i, 255, 9, TFreeText::StyleItalic), i);
    }
    EXPECT_EQ(network->AddFreeText({"one too many"}, 0, 0, 0, 7, 0), 0);
    EXPECT_EQ(network->GetFreeTextCount(), 100);
    const TFreeText& last = network->GetFreeText(100);
    EXPECT_EQ(last.Text, (std::vector<std::string>{"label 100"}));
    EXPECT_EQ(last.X, 100);
    EXPECT_EQ(last.Y, 200);
    EXPECT_EQ(last.Colour, 255);
    EXPECT_EQ(last.FontSize, 9);
    EXPECT_EQ(last.Style, TFreeText::StyleItalic);
}

TEST_F(Network, RemovingAFreeTextMovesTheLaterOnesDown) {
    for (const char* text : {"a", "b", "c"}) network->AddFreeText({text}, 0, 0, 0, 7, 0);
    network->GetFreeText(3).Angle = 90;
    network->RemoveFreeText(2);
    ASSERT_EQ(network->GetFreeTextCount(), 2);
    EXPECT_EQ(network->GetFreeText(1).Text, (std::vector<std::string>{"a"}));
    EXPECT_EQ(network->GetFreeText(2).Text, (std::vector<std::string>{"c"}));
    EXPECT_EQ(network->GetFreeText(2).Angle, 90);
    // The freed slot does not pass the removed label's rotation on to the next one.
    EXPECT_EQ(network->AddFreeText({"d"}, 0, 0, 0, 7, 0), 3);
    EXPECT_EQ(network->GetFreeText(3).Angle, 0);

    network->RemoveFreeText(0);
    network->RemoveFreeText(4);
    EXPECT_EQ(network->GetFreeTextCount(), 3);
    try {
        network->GetFreeText(4);
        FAIL() << "label 4 does not exist";
    } catch (const ENetworkClass& error) {
        EXPECT_STREQ(error.what(), "TNetwork.GetFreeText Failed: Specified FreeText index may not be valid");
    }
}

TEST_F(Network, ClearEmptiesTheDocumentButKeepsFluidAndReservedByte) {
    const std::int32_t tank = build.AddTank(0, 0);
    const std::int32_t joint = build.AddJoint(100, 0);
    const std::int32_t end = build.AddDemandPressure(200, 0);
    build.AddPipe(tank, joint);
    network->RemoveNodeLinkAddClosedPipeLink(build.AddPipe(joint, end));
    network->AddFreeText({"note"}, 5, 5, 0, 7, 0);
    network->SetImperialUnits();
    network->Settings.GaugePressure = false;
    network->Settings.AtmosphericPressure = 0.9;
    network->Settings.AtmosphereUnit = 61;
    network->Settings.ShowPipeId = true;
    network->Settings.MaxVelocityDischarge = 10.0;
    network->DefaultPipe.Length_m = 7.0;
    network->DefaultPipe.HasPump = true;
    network->Fluid.Density_kg_m3 = 850.0;
    network->ReservedByte = 7;
    network->WarningCount = 3;
    network->SolveStatusText = "Solving Network Equations...";

    network->Clear();

    EXPECT_EQ(network->GetNodeCount(), 0);
    EXPECT_EQ(network->GetPipeCount(), 0);
    EXPECT_EQ(network->GetNodeLinkCount(), 0);
    EXPECT_EQ(network->GetClosedPipeLinkCount(), 0);
    EXPECT_FALSE(network->IsPipeClosed(2));
    EXPECT_EQ(network->GetFreeTextCount(), 0);
    EXPECT_EQ(network->WarningCount, 0);
    EXPECT_EQ(network->SolveStatusText, "");
    EXPECT_TRUE(network->Settings.GaugePressure);
    EXPECT_EQ(network->Settings.AtmosphericPressure, 1.01325);
    EXPECT_EQ(network->Settings.AtmosphereUnit, 60);
    EXPECT_EQ(network->Settings.LengthUnit, 0);
    EXPECT_FALSE(network->Settings.ShowPipeId);
    EXPECT_EQ(network->Settings.MaxVelocityDischarge, 50.0);
    EXPECT_REL_NEAR(network->DischargeVelocityEstimates[100], 49.501, 1e-12);
    expectDefaultPipe(network->DefaultPipe);
    EXPECT_EQ(network->Fluid.Density_kg_m3, 850.0);
    EXPECT_EQ(network->ReservedByte, 7);
    // Ids start again at 1.
    EXPECT_EQ(build.AddJoint(0, 0), 1);
    EXPECT_EQ(network->AddPipe(network->DefaultPipe), 1);
}

TEST_F(Network, LoopTableAccessStaysInsideTheTable) {
    EXPECT_EQ(network->GetPipeLoopPipeCount(1000), 0);
    EXPECT_EQ(network->GetPipeLoopPipe(1000, 1000), 0);
    for (const auto& [loop, slot] : {std::pair{0, 1}, {1001, 1}, {1, 0}, {1, 1001}}) {
        EXPECT_THROW(network->GetPipeLoopPipe(loop, slot), ENetworkClass) << loop << ", " << slot;
    }
    EXPECT_THROW(network->GetPipeLoopPipeCount(0), ENetworkClass);
}
