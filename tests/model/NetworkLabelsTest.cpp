#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/FuzzyCompare.h"
#include "common/NetworkBuilder.h"
#include "foundations/VM4_DecimalMark.h"
#include "model/VM4_Network_Class.h"

namespace {

// Three pipes in a row; pipe 3 has the default pipe's size and is named "Main".
class PipeLabels : public ::testing::Test {
protected:
    PipeLabels() : network(std::make_unique<TNetwork>()) {
        TNetworkBuilder build(*network);
        const std::int32_t a = build.AddTank(0, 0);
        const std::int32_t b = build.AddJoint(100, 0);
        const std::int32_t c = build.AddJoint(200, 0);
        const std::int32_t d = build.AddDemandPressure(300, 0);
        build.AddPipe(a, b, "first");
        build.AddPipe(b, c, "second");
        TPipe main;
        main.Copy(network->DefaultPipe);
        main.Name = " Main  ";
        network->AddPipeLink(c, d, main);
        clearFlags();
    }

    void clearFlags() {
        for (bool TNetworkSettings::*flag : TNetworkSettings::DrawingFlags) network->Settings.*flag = false;
    }

    std::string label(bool resultsMode) const { return network->GetPipeLabel(3, resultsMode); }

    std::unique_ptr<TNetwork> network;
};

}  // namespace

TEST_F(PipeLabels, DesignLabelOfTheDefaultPipeWithEveryItem) {
    TScopedDecimalMark mark('.');
    network->Settings.ShowPipeId = true;
    network->Settings.ShowPipeName = true;
    network->Settings.ShowPipeDiam = true;
    network->Settings.ShowPipeLength = true;
    // 0.10226 m = 102.26 mm; 3.048 m
    EXPECT_EQ(label(false), "(3),Main ,D=102.3mm,L=3.0m");
    network->SetImperialUnits();
    // 0.10226 / 0.0254 = 4.026 inch; 3.048 / 0.3048 = 10 ft
    EXPECT_EQ(label(false), "(3),Main ,D=4.0inch,L=10.0ft");
}

TEST_F(PipeLabels, DesignLabelItemsAlone) {
    TScopedDecimalMark mark(',');
    EXPECT_EQ(label(false), "");
    network->Settings.ShowPipeName = true;
    EXPECT_EQ(label(false), "Main ");
    clearFlags();
    network->Settings.ShowPipeId = true;
    EXPECT_EQ(label(false), "(3)");
    clearFlags();
    network->Settings.ShowPipeLength = true;
    EXPECT_EQ(label(false), "L=3,0m");
}

struct ResultsLabelCase {
    bool showName;
    bool showFlow;
    bool showVelocity;
    bool showLoss;
    bool imperial;
    const char* expected;
};

class ResultsLabel : public PipeLabels, public ::testing::WithParamInterface<ResultsLabelCase> {};

TEST_P(ResultsLabel, ShowsTheFirstChosenResultWithoutUnit) {
    const ResultsLabelCase& c = GetParam();
    TScopedDecimalMark mark('.');
    TPipe& pipe = network->GetPipe(3);
    pipe.FlowUncompressed_m3s = 0.0123456;
    pipe.Velocity_ms = 1.23456;
    pipe.TotalPressureLoss_mHd_Fluid = 2.5;
    if (c.imperial) network->SetImperialUnits();
    network->Settings.ShowPipeName = c.showName;
    network->Settings.ShowFlowRate = c.showFlow;
    network->Settings.ShowVelocity = c.showVelocity;
    network->Settings.ShowPipePressureLoss = c.showLoss;
    EXPECT_EQ(label(true), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PipeLabels, ResultsLabel,
    ::testing::Values(
        // m³/sec shows 4 decimals
        ResultsLabelCase{true, true, false, false, false, "Main, f=0.0123"},
        // 0.0123456 / 0.3048³ = 0.43598 ft³/sec, 4 decimals
        ResultsLabelCase{false, true, false, false, true, "f=0.4360"},
        // flow wins over velocity and loss
        ResultsLabelCase{false, true, true, true, false, "f=0.0123"},
        // m/sec shows 3 decimals
        ResultsLabelCase{true, false, true, true, false, "Main, v=1.235"},
        // loss in m.hd Fluid, 3 decimals
        ResultsLabelCase{false, false, false, true, false, "dP=2.500"},
        // 2.5 m / 0.3048 = 8.2021 ft of fluid
        ResultsLabelCase{false, false, false, true, true, "dP=8.202"},
        ResultsLabelCase{true, false, false, false, false, "Main, "},
        ResultsLabelCase{false, false, false, false, false, ""}));

namespace {

// A tank at 5 m whose outlet pipe carries a pump; the tank's computed head is 20 m.
class PumpSuction : public ::testing::Test {
protected:
    PumpSuction() : network(std::make_unique<TNetwork>()) {
        TNetworkBuilder build(*network);
        tank = build.AddTank(0, 0, 5.0);
        end = build.AddDemandPressure(100, 0, 0.0, 1.0);
        pipeId = build.AddPipe(tank, end, "pumped", 100.0);
        network->GetNode(tank).Pressure_FluidHead_m = 20.0;
        network->GetNode(end).Pressure_FluidHead_m = 35.0;
        TPipe& pipe = network->GetPipe(pipeId);
        pipe.HasPump = true;
        pipe.PumpDistanceFromStart_m = 25.0;
        pipe.PumpElevation_m = 3.0;
        pipe.PipeFrictionLoss_mHd_Fluid = 4.0;
        pipe.FittingsPositionPercent = 50.0;
        pipe.FittingsLoss_mHd_Fluid = 0.8;
        pipe.ComponentPositionPercent = 10.0;
        pipe.ComponentLoss_mHd_Fluid = 0.5;
        pipe.FlowControlPositionPercent = 70.0;
        pipe.FlowControlLoss_mHd_Fluid = 0.2;
    }

    std::unique_ptr<TNetwork> network;
    std::int32_t tank = 0;
    std::int32_t end = 0;
    std::int32_t pipeId = 0;
};

struct SuctionCase {
    double pumpPositionPercent;
    double suction_m;
};

// (Pa - pv) / (rho g) with Pa 1.01325 bar, pv 0.024 bar, rho 998: 98925 / 9787.0367 m
constexpr double kWaterAtmosphereLessVapour_m = 10.107758153190538;

}  // namespace

TEST_F(PumpSuction, SubtractsTheLossesOfItemsBeforeThePump) {
    // Base: 20 - (25 / 100) * 4 + (5 - 3) = 21 m; then the items upstream of the pump.
    const SuctionCase cases[] = {
        {5.0, 21.0},         // before every item
        {10.0, 21.0},        // level with the component: not before it
        {25.0, 20.5},        // after the component: - 0.5
        {60.0, 19.7},        // and after the fittings: - 0.8
        {80.0, 19.5},        // and after the flow control: - 0.2
    };
    for (const SuctionCase& c : cases) {
        network->GetPipe(pipeId).PumpPositionPercent = c.pumpPositionPercent;
        EXPECT_REL_NEAR(network->GetPumpSuctionPressure_mFluid(pipeId), c.suction_m, 1e-12)
            << "pump at " << c.pumpPositionPercent << " %";
        // NPSHa = h + (Pa - pv) / (rho g)
        EXPECT_REL_NEAR(network->GetPumpNPSHa_mFluid(pipeId), c.suction_m + kWaterAtmosphereLessVapour_m, 1e-12)
            << "pump at " << c.pumpPositionPercent << " %";
    }
}

TEST_F(PumpSuction, NPSHaFollowsAtmosphereAndFluid) {
    network->GetPipe(pipeId).PumpPositionPercent = 5.0;  // suction head 21 m
    network->Settings.AtmosphericPressure = 0.9;
    network->Fluid.Density_kg_m3 = 850.0;
    network->Fluid.VapourPressure_bar_a = 0.1;
    // 21 + (0.9 - 0.1) * 100000 / (850 * 9.80665) = 21 + 80000 / 8335.6525 = 21 + 9.59734...
    EXPECT_REL_NEAR(network->GetPumpNPSHa_mFluid(pipeId), 21.0 + 80000.0 / 8335.6525, 1e-12);
}

TEST_F(PumpSuction, InletIsTheFromNodeOfTheLink) {
    TPipe& pipe = network->GetPipe(pipeId);
    pipe.PumpPositionPercent = 5.0;
    network->ReversePipeLink(pipeId);
    // 35 - 0.25 * 4 + (1 - 3) = 32
    EXPECT_REL_NEAR(network->GetPumpSuctionPressure_mFluid(pipeId), 32.0, 1e-12);
}

TEST_F(PumpSuction, ZeroWithoutPumpOrOpenLink) {
    network->GetPipe(pipeId).PumpPositionPercent = 5.0;
    network->GetPipe(pipeId).HasPump = false;
    EXPECT_EQ(network->GetPumpSuctionPressure_mFluid(pipeId), 0.0);
    EXPECT_EQ(network->GetPumpNPSHa_mFluid(pipeId), 0.0);
    network->RemoveNodeLinkAddClosedPipeLink(pipeId);
    network->GetPipe(pipeId).HasPump = true;
    EXPECT_EQ(network->GetPumpSuctionPressure_mFluid(pipeId), 0.0);
    EXPECT_EQ(network->GetPumpNPSHa_mFluid(pipeId), 0.0);
}

TEST_F(PumpSuction, PipeOfNoLengthHasNoFrictionShare) {
    TPipe& pipe = network->GetPipe(pipeId);
    pipe.PumpPositionPercent = 5.0;
    pipe.Length_m = 0.0;
    pipe.PipeFrictionLoss_mHd_Fluid = 0.0;
    // 20 + (5 - 3)
    EXPECT_REL_NEAR(network->GetPumpSuctionPressure_mFluid(pipeId), 22.0, 1e-12);
}
