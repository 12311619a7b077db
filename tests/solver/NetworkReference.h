#pragma once

#include "HydraulicReference.h"

// Reference answers for whole networks carrying the driver tests' fluid
// (1000 kg/m³, 1 cP) in default steel pipes (roughness 0.046 mm): the exact
// Colebrook-White losses of HydraulicReference, balanced by bisection.

inline constexpr TReferenceFluid kDriverFluid{1000.0, 1.0};
inline constexpr double kSteelRoughness_m = 0.000046;

TReferencePipe SteelPipe(double length_m, double diameter_m);

// Head lost at the flow, metres of fluid, signed with the flow.
long double Loss(const TReferencePipe& pipe, long double flow_m3s);

// The flow that loses `head_m`, with the sign of the head.
long double FlowForLoss(const TReferencePipe& pipe, long double head_m);

// Three reservoirs with heads high > middle > low, each joined to one junction:
// the junction head at which the inflow from the highest equals the outflows
// to the other two (flows towards the lower reservoirs counted positive).
struct TThreeReservoirs {
    TReferencePipe FromHigh;
    TReferencePipe ToMiddle;
    TReferencePipe ToLow;
    double High_m = 0.0;
    double Middle_m = 0.0;
    double Low_m = 0.0;

    long double JunctionHead_m() const;
};
