#pragma once

#include <cstdint>
#include <string>

class TNetwork;
class TNode;
class TPipe;

// The texts the network drawing writes beside nodes and items, built from the
// document in its display units. A value that cannot be shown in the chosen
// unit (a unit of the wrong kind in a damaged file) shows as "?" instead of
// stopping the drawing.

// Node label: ",[" id "]", "," trimmed name and `elevationSeparator` + elevation
// (1 decimal) + unit name, each as the settings ask, without the first character.
std::string NodeLabelText(const TNetwork& network, const TNode& node, std::int32_t nodeId,
                          const std::string& elevationSeparator);
// Tank: surface pressure (1 decimal) + unit name + "@ " + liquid level (1 decimal) + unit name + " fluid".
std::string TankInfoText(const TNetwork& network, const TNode& node);
// Computed node pressure in the node-pressure unit with its decimals, " ", unit name.
std::string NodePressureText(const TNetwork& network, const TNode& node);
// End-pressure node: "p=" + set pressure (1 decimal) + unit name.
std::string EndPressureText(const TNetwork& network, const TNode& node);
// A supply or demand flow in the flow unit with its decimals, " ", unit name.
std::string DemandFlowText(const TNetwork& network, double flow_m3s);

// The two text lines beside a pump.
struct TPumpLabelTexts {
    std::string Line1;
    std::string Line2;
};
// In design mode, or for a pump switched off: name, distance from the pipe's start
// (always while dragging) and elevation, as the settings ask. In results mode: the
// head added, or the NPSH available, or nothing.
TPumpLabelTexts PumpLabelTexts(const TNetwork& network, std::int32_t pipeId, bool resultsMode, bool dragTool);

// "K =" and the pipe's total K of fittings with 2 decimals.
std::string FittingsKValueText(const TPipe& pipe);
// "-" + the fittings' pressure loss (3 decimals) + short unit name.
std::string FittingsLossText(const TNetwork& network, const TPipe& pipe);
// The pipe's name and " - Closed", at most 29 characters.
std::string ClosedPipeLabelText(const TPipe& pipe);
