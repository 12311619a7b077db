#include <gtest/gtest.h>

#include <cmath>

#include "DriverFixture.h"
#include "NetworkReference.h"
#include "common/FuzzyCompare.h"
#include "libraries/VM4_GasViscosityCalc.h"

// The network's fluid is what every loss is computed with: a gas from the gas
// calculator in place of water must move the solved flow to the gas's own
// Darcy-Weisbach balance, worked out here independently.

namespace {

constexpr double kFlowAgreement = 1e-4;
constexpr double kGravity = 9.80665;

class GasFluidSolve : public TDriverFixture {};

// A tank held at 0.02 bar g feeds an end node at 0 bar g through 100 m of
// 100 mm steel pipe, both at the same height: the 2000 Pa drop is lost in the pipe.
TEST_F(GasFluidSolve, AirFromTheCalculatorReplacesWaterInTheSolution) {
    const TReferencePipe pipe = SteelPipe(100.0, 0.1);
    const std::int32_t tank = build.AddTank(0, 0, 0.0, 0.02, 0.0);
    const std::int32_t end = build.AddDemandPressure(10, 0, 0.0, 0.0);
    const std::int32_t pipeId = build.AddPipe(tank, end, "P1", pipe.Length_m, pipe.Diameter_m);
    const auto flowFor = [&](const TReferenceFluid& fluid) {
        const long double head_m = 2000.0L / (fluid.Density_kgm3 * kGravity);
        return FindRootByBisection(
            [&](long double q) { return ReferencePipeHeadLoss_mHd(pipe, fluid, q) - head_m; }, 0.0L, 100.0L);
    };

    ASSERT_TRUE(network->SolveNetwork(log));
    const double waterFlow = network->GetPipe(pipeId).FlowUncompressed_m3s;
    EXPECT_REL_NEAR(waterFlow, static_cast<double>(flowFor(kDriverFluid)), kFlowAgreement);

    const TGasData air{"Air", "N2+O2", 287.0, 0.0171, 120.0};
    const TGasProperties properties = CalcGasProperties(air, 20.0, 0.0);
    network->Fluid = GasResultAsFluid(air, 20.0, 0.0, properties);
    log.clear();
    ASSERT_TRUE(network->SolveNetwork(log));
    const double airFlow = network->GetPipe(pipeId).FlowUncompressed_m3s;
    const TReferenceFluid reference{properties.Density_kg_m3, properties.DynamicViscosity_cP};
    EXPECT_REL_NEAR(airFlow, static_cast<double>(flowFor(reference)), kFlowAgreement);
    // The light gas runs far faster under the same pressure drop.
    EXPECT_GT(airFlow, 10.0 * waterFlow);
}

}  // namespace
