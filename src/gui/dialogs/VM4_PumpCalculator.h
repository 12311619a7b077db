#pragma once

#include <string>

#include "dialogs/VM4_PumpCurveGrid.h"

class TPump;

// What the pump dialog's calculator shows for one point on the curve. When
// Valid is false Message holds the refusal and every read-out is empty.
struct TPumpPointReadout {
    bool Valid = false;
    std::string Message;
    double Flow_m3s = 0.0;
    std::string Flow;
    std::string Head;
    std::string NPSHr;
    std::string Efficiency;
    std::string PowerHeader;
    std::string Power;
};

// The point on a pump's fitted curve at a typed flow or head, in the dialog's
// display units. `flowItem` is the flow list's item: the imperial ones (above
// 5) show power in HP.
class TPumpCalculator {
public:
    TPumpCalculator(const TPump& pump, const TPumpCurveUnits& units, int flowItem)
        : pump_(pump), units_(units), flowItem_(flowItem) {}

    TPumpPointReadout AtFlow(const std::string& flowText) const;
    TPumpPointReadout AtHead(const std::string& headText) const;

private:
    void fillAtFlow(TPumpPointReadout& readout, double flow_m3s) const;
    void fillPower(TPumpPointReadout& readout, double flow_m3s, double density_kgm3, double head_m) const;

    const TPump& pump_;
    TPumpCurveUnits units_;
    int flowItem_;
};
