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
constexpr double kHead_m = 20.0;
// The solve balances pressures to 0.00001 bar: 1 Pa, a few mm of water but
// some 85 mm of air. A head off by dh moves a turbulent flow by about
// dh / (2 h) relative; dh / h bounds that with room to spare.
constexpr double kBalance_Pa = 1.0;
constexpr double kGravity = 9.80665;

class GasFluidSolve : public TDriverFixture {};

// A tank 20 m up feeds an end node through 100 m of 100 mm steel pipe, both
// open to the atmosphere: 20 m of the flowing fluid are lost in the pipe. Air,
// fifteen times as viscous per unit of density as water, flows at another
// Reynolds number and so with another friction factor.
TEST_F(GasFluidSolve, AirFromTheCalculatorReplacesWaterInTheSolution) {
    const TReferencePipe pipe = SteelPipe(100.0, 0.1);
    const std::int32_t tank = build.AddTank(0, 0, kHead_m, 0.0, 0.0);
    const std::int32_t end = build.AddDemandPressure(10, 0, 0.0, 0.0);
    const std::int32_t pipeId = build.AddPipe(tank, end, "P1", pipe.Length_m, pipe.Diameter_m);
    const auto flowFor = [&](const TReferenceFluid& fluid) {
        return FindRootByBisection(
            [&](long double q) { return ReferencePipeHeadLoss_mHd(pipe, fluid, q) - kHead_m; }, 0.0L, 100.0L);
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
    const double airAgreement = kBalance_Pa / (properties.Density_kg_m3 * kGravity) / kHead_m;
    EXPECT_REL_NEAR(airFlow, static_cast<double>(flowFor(reference)), airAgreement);
    // Air's flow differs from water's by far more than that agreement.
    EXPECT_GT(std::fabs(airFlow - waterFlow), 10.0 * airAgreement * waterFlow);
}

}  // namespace
