#pragma once

#include "editor/VM4_NetworkView.h"

class TNetwork;

// The region the drawing occupies: every node and every free-text anchor, with
// a margin of 40 units. Starts from the inverted bounds (4260, 2960)-(40, 40), so
// that an empty network gives the extent (4220, 2920)-(80, 80), which fits as
// the centred sheet at 100%.
TDrawingExtent GetMinMaxXY(const TNetwork& network);
