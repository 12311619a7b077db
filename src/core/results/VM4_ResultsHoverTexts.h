#pragma once

#include <string>

class TNetwork;

// In results mode the hint bar describes the item under the mouse: these are
// its texts, built from the model's SI results in the network's display units
// (each value with the decimal places of its unit), and the decision which item
// the mouse is over. Nothing here touches the window: the main window applies
// the answer.
//
// Every text starts with one blank, as all hint-bar texts do. An id of 0 or
// less, or one that names no item of that kind, gives an empty text. A unit of
// the wrong kind for its quantity (a damaged file) shows its value as "?".

// The hint when the mouse is over nothing.
inline constexpr const char* kResultsHoverNothingHint =
    " RESULTS MODE - Hover over an item to show the related results in this status bar.";

// An open pipe: its pressure drop (from-node head minus to-node head) in the
// surface-pressure and pressure-loss units, its flow and velocity. A closed
// pipe: " Pipe N is closed."
std::string StatusBarPipeText(const TNetwork& network, int pipeId);
// A node: its type, gauge pressure, elevation and hydraulic grade line.
std::string StatusBarNodeText(const TNetwork& network, int nodeId);
// The pump of a pipe: suction pressure, total head, flow and NPSH available.
std::string StatusBarPumpText(const TNetwork& network, int pipeId);
// The fittings of a pipe: total K and their loss.
std::string StatusBarFittingText(const TNetwork& network, int pipeId);
// The component pressure loss of a pipe.
std::string StatusBarComponentText(const TNetwork& network, int pipeId);
// The flow control of a pipe and the loss it makes.
std::string StatusBarFlowControlText(const TNetwork& network, int pipeId);

// The three lines of the results key: the units the numbers drawn on the pipes
// are in.
struct TResultsKeyTexts {
    std::string Flow, Velocity, PressureDrop;
};
TResultsKeyTexts ResultsKeyTexts(const TNetwork& network);

// What hovering at a point selects and shows.
struct TResultsHover {
    int SelectedPipeId = 0, SelectedNodeId = 0;
    bool Hit = false;      // hint bar yellow when true, white otherwise
    std::string HintText;  // the text for the hint bar (kResultsHoverNothingHint when nothing was hit)
};

// The item under the raw drawing point (px, py). Pipes are tested first, then
// nodes, then pumps, fittings, components and flow controls, a later match
// taking the hint text; a node under the point wins the selection over any
// pipe item, so the panels show the node alone.
TResultsHover ResultsHoverAt(const TNetwork& network, int px, int py);
