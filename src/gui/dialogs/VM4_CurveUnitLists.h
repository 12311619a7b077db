#pragma once

#include <string>
#include <vector>

// The unit choice lists of the pump and component dialogs: which unit each
// list item stands for. The item order is what the user sees, so it differs
// from the unit numbering (the component's loss list starts with fluid heads).

// Pump dialog: flow curve and set-flow lists, m³/sec first.
const std::vector<int>& PumpFlowUnitItems();
// Pump dialog: head list, and the NPSHr unit that goes with each head item
// (a pressure unit has no NPSHr of its own: metres or feet of water stand in).
const std::vector<int>& PumpHeadUnitItems();
int PumpNPSHrUnitForHeadItem(int item);
// Component dialog: flow and loss lists (the fixed-loss list shares the loss items).
const std::vector<int>& ComponentFlowUnitItems();
const std::vector<int>& ComponentLossUnitItems();

// The captions the lists show (they differ from the unit names in places,
// e.g. "m.H²O" and "ft³/hour,").
const std::vector<std::string>& PumpHeadUnitCaptions();
const std::vector<std::string>& ComponentFlowUnitCaptions();
const std::vector<std::string>& ComponentLossUnitCaptions();
const std::vector<std::string>& PumpFlowUnitCaptions();

// Position of `unit` among `items`; 0 for a unit the list does not hold (a file
// written elsewhere may carry one), so that the dialog always shows some item.
int ItemOfUnit(const std::vector<int>& items, int unit);
