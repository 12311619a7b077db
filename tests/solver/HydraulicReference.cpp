#include "HydraulicReference.h"

#include <cmath>
#include <numbers>

#include "foundations/VM4_Calculations.h"

namespace {

constexpr long double kTwoG = 19.62L;

long double areaOf(const TReferencePipe& pipe) {
    const long double D = pipe.Diameter_m;
    return std::numbers::pi_v<long double> * D * D / 4.0L;
}

// Colebrook-White in x = 1/√f: g(x) = x − 1.14 + 2·log10(ε/D + 9.35·x/Re),
// increasing in x, so bisection finds its single root.
long double colebrook(long double reynolds, long double relativeRoughness) {
    auto residual = [&](long double x) {
        return x - 1.14L + 2.0L * std::log10(relativeRoughness + 9.35L * x / reynolds);
    };
    const long double x = FindRootByBisection(residual, 1.0L, 100.0L);
    return 1.0L / (x * x);
}

}  // namespace

long double ReferenceFrictionFactor(long double reynolds, long double relativeRoughness) {
    if (reynolds <= 0.0L) return 0.0L;
    if (reynolds <= 2300.0L) return 64.0L / reynolds;
    if (reynolds <= 3500.0L) return (reynolds - 1500.0L) / 30000.0L;
    return colebrook(reynolds, relativeRoughness);
}

long double ReferencePipeHeadLoss_mHd(const TReferencePipe& pipe, const TReferenceFluid& fluid, long double flow_m3s,
                                      TFrictionFactorSource source) {
    const long double D = pipe.Diameter_m;
    const long double V = flow_m3s / areaOf(pipe);
    const long double reynolds = std::fabs(V * D * fluid.Density_kgm3 / (fluid.Viscosity_cP / 1000.0L));
    const long double f =
        source == TFrictionFactorSource::ExactColebrook
            ? ReferenceFrictionFactor(reynolds, pipe.Roughness_m / D)
            : CalcFrictionFactor(static_cast<double>(reynolds), pipe.Diameter_m, pipe.Roughness_m);
    const long double friction = f * (pipe.Length_m / D) * V * std::fabs(V) / kTwoG;
    const long double fittings = pipe.FittingG * flow_m3s * std::fabs(flow_m3s);
    return friction + fittings;
}

long double LaminarHeadPerFlow(const TReferencePipe& pipe, const TReferenceFluid& fluid) {
    const long double D = pipe.Diameter_m;
    return 256.0L * fluid.Viscosity_cP * pipe.Length_m /
           (1000.0L * fluid.Density_kgm3 * std::numbers::pi_v<long double> * D * D * D * D * kTwoG);
}
