#pragma once

// Reference values for the engine tests, written out independently of the
// formulas under test: the same physics in long double, Colebrook-White solved
// to full precision by bisection, networks solved by bisection on their flows.

struct TReferencePipe {
    double Diameter_m = 0.0;
    double Roughness_m = 0.0;
    double Length_m = 0.0;
    double FittingG = 0.0;  // fitting loss = G·Q·|Q|
};

struct TReferenceFluid {
    double Density_kgm3 = 0.0;
    double Viscosity_cP = 0.0;
};

// Darcy friction factor: 64/Re up to 2300, the line (Re − 1500)/30000 up to
// 3500, above it the root of 1/√f = 1.14 − 2·log10(ε/D + 9.35/(Re·√f)).
long double ReferenceFrictionFactor(long double reynolds, long double relativeRoughness);

// Where the reference takes its friction factor from: its own exact Colebrook
// solution, or the formulas the engine uses, whose secant iteration stops at a
// residual of 0.0001 in 1/√f. That stopping rule alone moves a flow by up to
// about 1.4e-5 (|Δx| ≤ 1e-4·x² for x = √f ≈ 0.14, so Δf/f ≤ 2.8e-5 and
// ΔQ/Q ≈ ½·Δf/f), so flows are compared with the exact solution within
// kColebrookStoppingRuleFlowError, and head balances with the formulas' own factor.
enum class TFrictionFactorSource { ExactColebrook, Formulas };
inline constexpr double kColebrookStoppingRuleFlowError = 2e-5;

// Friction plus fitting loss of a pipe, signed with the flow, m of fluid:
// h = f·(L/D)·V²/(2g) + G·Q·|Q| with 2g = 19.62.
long double ReferencePipeHeadLoss_mHd(const TReferencePipe& pipe, const TReferenceFluid& fluid, long double flow_m3s,
                                      TFrictionFactorSource source = TFrictionFactorSource::ExactColebrook);

// In laminar flow (f = 64/Re) the friction loss is linear in the flow:
// h = c·Q with c = 256·μ·L / (1000·ρ·π·D⁴·19.62), μ in cP.
long double LaminarHeadPerFlow(const TReferencePipe& pipe, const TReferenceFluid& fluid);

// Root of an increasing function between low and high (sign change required),
// to the last bit of long double.
template <typename Function>
long double FindRootByBisection(Function function, long double low, long double high) {
    for (int step = 0; step < 200 && low < high; ++step) {
        const long double middle = 0.5L * (low + high);
        if (middle == low || middle == high) break;
        if (function(middle) > 0.0L)
            high = middle;
        else
            low = middle;
    }
    return 0.5L * (low + high);
}
