#include "dialogs/VM4_PumpCalculator.h"

#include <cmath>

#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Pump_Class.h"

namespace {

const char* const kFlowOutside =
    "Value is outside of the data points used to draw the pump curve.\r\rPlease re-enter a Flow value that lies "
    "within the pump curve.";
const char* const kHeadOutside =
    "Value is outside of the data points used to draw the pump curve.\r\rPlease re-enter a Head value that lies "
    "within the pump curve.";
// Heads typed in water units are water, whatever the network carries.
constexpr double kWaterDensityForTypedHead_kgm3 = 998.0;
constexpr double kGravityForPower = 9.81;
constexpr double kKwPerHp = 0.746;
constexpr int kLastMetricFlowItem = 5;

TPumpPointReadout refused(const char* message) {
    TPumpPointReadout readout;
    readout.Message = message;
    return readout;
}

}  // namespace

void TPumpCalculator::fillAtFlow(TPumpPointReadout& readout, double flow_m3s) const {
    readout.Valid = true;
    readout.Flow_m3s = flow_m3s;
    const double npshr_m = pump_.calcPumpNPSHr_mHd_Fluid(flow_m3s, units_.Density_kgm3);
    readout.NPSHr = convertPressureWithDensityToText(UNIT_M_HD, units_.NPSHr, 3, npshr_m, units_.Density_kgm3);
    readout.Efficiency = formatFixed(1, pump_.calcPumpEfficiency(flow_m3s));
}

// kW = |Q ρ H g / 1000| at the shaft: divided by the efficiency.
void TPumpCalculator::fillPower(TPumpPointReadout& readout, double flow_m3s, double density_kgm3,
                                double head_m) const {
    const double efficiency = pump_.calcPumpEfficiency(flow_m3s);
    const bool imperial = flowItem_ > kLastMetricFlowItem;
    readout.PowerHeader = imperial ? "Power HP" : "Power KW";
    if (!(efficiency > 0.0)) {
        readout.Power = "N/A";
        return;
    }
    const double kw = std::fabs(flow_m3s * density_kgm3 * head_m * kGravityForPower / 1000.0) / (efficiency / 100.0);
    readout.Power = formatFixed(3, imperial ? kw / kKwPerHp : kw);
}

TPumpPointReadout TPumpCalculator::AtFlow(const std::string& flowText) const {
    const TParsedNumber<double> typed = ParseDecimalText(flowText, true, false);
    if (!typed.Valid || pump_.PointCount() < 1) return refused(kFlowOutside);
    const double flow_m3s = convertUnits(units_.Flow, UNIT_M3_SEC, typed.Value);
    if (flow_m3s < 0.0 || flow_m3s > pump_.Point(pump_.PointCount()).Flow_m3s) return refused(kFlowOutside);
    TPumpPointReadout readout;
    fillAtFlow(readout, flow_m3s);
    readout.Flow = flowText;
    const double head_m = pump_.calcPumpHead_mHd_Fluid(flow_m3s, units_.Density_kgm3);
    readout.Head = convertPressureWithDensityToText(UNIT_M_HD, units_.Head, 3, head_m, units_.Density_kgm3);
    fillPower(readout, flow_m3s, units_.Density_kgm3, head_m);
    return readout;
}

TPumpPointReadout TPumpCalculator::AtHead(const std::string& headText) const {
    const TParsedNumber<double> typed = ParseDecimalText(headText, true, false);
    if (!typed.Valid || pump_.PointCount() < 1) return refused(kHeadOutside);
    const double head_mH2O = convertPressureWithDensity(units_.Head, UNIT_M_H2O, typed.Value, units_.Density_kgm3);
    const double lowest = pump_.Point(pump_.PointCount()).Head_mH2O;
    const double shutOff = pump_.Point(1).Head_mH2O;
    if (head_mH2O < lowest || head_mH2O > shutOff) return refused(kHeadOutside);
    const double flow_m3s = pump_.calcPumpFlow_m3s(head_mH2O);
    TPumpPointReadout readout;
    fillAtFlow(readout, flow_m3s);
    readout.Flow = convertUnitsToDisplayText(UNIT_M3_SEC, units_.Flow, flow_m3s);
    readout.Head = headText;
    fillPower(readout, flow_m3s, kWaterDensityForTypedHead_kgm3, head_mH2O);
    return readout;
}
