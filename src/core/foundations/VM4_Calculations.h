#pragma once

#include <span>
#include <string>

#include "foundations/VM4_Errors.h"

// Stateless hydraulic formulas for one pipe at a time.
//
// Every value is in SI base units (m, m², m/s, m³/s, kg/m³) and heads are in
// metres of the flowing fluid, except dynamic viscosity, which is passed in
// centipoise (mPa·s) as the fluid record keeps it. Results are doubles. The
// formulas a solver evaluates for every pipe at every step (velocity, Reynolds
// number, friction factor, friction loss and its slope) work in double
// precision; the others carry their intermediates in extended precision.
//
// The correction factor F multiplies the flow; every present caller passes 1.

// Raised by calcQuadraticPumpCoefficents when the points give no finite curve.
VELMORA_DECLARE_ERROR(ECalculations);

// Raised by the other formulas when an operation has no finite result (a
// division by zero, the logarithm of a non-positive number, an overflow).
// The matrix engine turns it into a failed calculation; the pipe model lets it
// propagate. The formulas guard nothing beyond what their comments say.
VELMORA_DECLARE_ERROR(EFloatingPointError);

inline constexpr const char* FlowTypeLaminar = "Laminar";
inline constexpr const char* FlowTypeCritical = "Critical";
inline constexpr const char* FlowTypeTurbulent = "Turbulent";

// Above this Reynolds number the friction factor is Colebrook-White's.
inline constexpr double TurbulentReynolds = 3500.0;

// V = F·Q / (π·D²/4); 0 when D <= 0.
double CalcVelocity(double flow_m3s, double diameter_m, double correctionFactor);

// Q = (π·D²/4)·V / F; 0 when D <= 0.
double CalcFlowFromVelocity(double velocity_ms, double diameter_m, double correctionFactor);

// Re = |V·D·ρ / (μ/1000) / F|, never negative: the flow direction does not matter.
double CalcReynoldsNumber(double velocity_ms, double diameter_m, double density_kgm3, double viscosity_cP,
                          double correctionFactor);

// "Laminar" up to Re 2300 inclusive, "Critical" above it, "Turbulent" from 3500 on.
std::string CalcFlowType(double reynolds);

// What the turbulent friction factor takes from the pipe alone, kept by a solver
// that needs the factor of the same pipe at every step: ε/D and Haaland's
// (ε/D/3.7)^1.11, floored for a smooth pipe. No bore (D = 0) is an error.
struct TPipeFrictionTerms {
    double Diameter_m = 0.0;
    double Roughness_m = 0.0;
    double RelativeRoughness = 0.0;
    double HaalandRoughness = 0.0;
};
TPipeFrictionTerms CalcPipeFrictionTerms(double diameter_m, double roughness_m);

// Darcy friction factor: 0 for Re <= 0, 64/Re up to 2300, the transition line
// (Re − 1500)/30000 up to 3500 inclusive, Colebrook-White above.
double CalcFrictionFactor(double reynolds, double diameter_m, double roughness_m);
double CalcFrictionFactor(double reynolds, const TPipeFrictionTerms& pipe);

// One pipe's friction factor among many: its Reynolds number and terms in, the
// factor out.
struct TFrictionFactorQuery {
    double Reynolds = 0.0;
    const TPipeFrictionTerms* Pipe = nullptr;
    double Factor = 0.0;
};

// CalcFrictionFactor for each query, every factor the same to the bit as alone:
// the pipes' Colebrook-White iterations run four at a time, side by side, which
// makes a factor about 40 % cheaper. A failing pipe raises EFloatingPointError;
// the factors of the others are then not all set.
void CalcFrictionFactors(std::span<TFrictionFactorQuery> queries);

// Haaland's explicit friction factor from Re 3500 on (the same laminar and
// transition values below it); start value and fallback of CalcFrictionFactor.
double CalcFrictionFactorExplicit(double reynolds, double diameter_m, double roughness_m);

// Darcy-Weisbach h = f·(L/D)·V²/2g, with the sign of V so that a loss is positive
// in the direction of flow.
double CalcFrictionLoss_mHd(double velocity_ms, double diameter_m, double length_m, double frictionFactor);

// h = K·V²/2g, with the sign of V.
double CalcFittingLoss_mHd(double velocity_ms, double totalK);

// G = K / (2g·A²), A = π·D²/4, so that the fitting loss is G·Q·|Q|.
double CalcFittingLossCoefficient(double diameter_m, double totalK);

// dh/dQ = 16·f·L·|Q| / (D⁵·π²·g): the derivative of 8·f·L·Q·|Q|/(π²·g·D⁵) with f
// held constant. Never negative.
double CalcFrictionLossDifferential(double flow_m3s, double diameter_m, double length_m, double frictionFactor);

// Hydraulic power |ρ·g·Q·H| / 1000 in kW.
double CalcPowerKW(double density_kgm3, double flow_m3s, double head_m);

// CalcPowerKW / 0.746.
double CalcPowerHP(double density_kgm3, double flow_m3s, double head_m);

// Coefficients of y = A·x² + B·x + C through three points. Coincident or
// degenerate points do not fail: the coefficients that cannot be determined are
// 0. Points that give no finite coefficients raise ECalculations and leave
// A, B and C unchanged.
void calcQuadraticPumpCoefficents(double x1, double y1, double x2, double y2, double x3, double y3, double& A,
                                  double& B, double& C);
