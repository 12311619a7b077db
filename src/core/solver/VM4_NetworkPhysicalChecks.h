#pragma once

#include <string>
#include <vector>

class TNetwork;

// The data a solve needs, checked for values no real network can have: a pipe
// of negative length or a negative K value makes the equations add head where a
// pipe loses it, and the solver would report such nonsense as solved.
//
// Checked, whatever the network: the fluid's density and viscosity (> 0), the
// calculation options, the display units (each of its quantity's kind), every
// node's elevation, level, pressure and demands (finite). For every open pipe:
// length and inner diameter (> 0), roughness (>= 0), every fitting's K (>= 0),
// the switched-on items' curves, set flows and elevations (finite). Closed pipes
// and pipes without a link take no part in a solve and are not checked.
//
// Each problem is one sentence that names the item and its value, in the
// network's display units where they can be used, e.g.
//   "Pipe P2: length -120.000 m. A pipe's length must be greater than zero."
std::vector<std::string> FindPhysicalProblems(const TNetwork& network);

// Before a solve: when there are problems, they are appended to the results log
// under a heading, the user is told (through the network's UserMessages, when
// set) and the answer is false; the network is not touched.
bool AcceptPhysicalData(const TNetwork& network, std::vector<std::string>& log);
