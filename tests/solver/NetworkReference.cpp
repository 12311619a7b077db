#include "NetworkReference.h"

#include <cmath>

TReferencePipe SteelPipe(double length_m, double diameter_m) {
    return {diameter_m, kSteelRoughness_m, length_m, 0.0};
}

long double Loss(const TReferencePipe& pipe, long double flow_m3s) {
    return ReferencePipeHeadLoss_mHd(pipe, kDriverFluid, flow_m3s);
}

long double FlowForLoss(const TReferencePipe& pipe, long double head_m) {
    const long double magnitude =
        FindRootByBisection([&](long double q) { return Loss(pipe, q) - std::fabs(head_m); }, 0.0L, 10.0L);
    return head_m < 0.0L ? -magnitude : magnitude;
}

// Σ outflows − inflow rises with the junction head H.
long double TThreeReservoirs::JunctionHead_m() const {
    return FindRootByBisection(
        [&](long double H) {
            return FlowForLoss(ToMiddle, H - Middle_m) + FlowForLoss(ToLow, H - Low_m) -
                   FlowForLoss(FromHigh, High_m - H);
        },
        Low_m, High_m);
}
