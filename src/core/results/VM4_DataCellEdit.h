#pragma once

#include <cstdint>
#include <string>

class TNetwork;

// The four tables of the data grid, in the order of its tabs.
enum class TDataTable { Pipes, Tanks, EndPressures, JoinPoints };

// What a text typed into a cell of a data table did.
enum class TCellEditOutcome {
    Applied,       // written into the network
    Unchanged,     // nothing to write yet (an empty cell, a value still being typed)
    NotEditable,   // a heading or empty row: say so, refill soon
    InvalidValue,  // not a number this cell can hold: say so, refill soon
    RefillSoon,    // an id or type cell: quietly refilled soon
    RefillAtOnce,  // a column that holds nothing editable: quietly refilled at once
    Failed,        // the row's item no longer exists: say so, refill at once
};

struct TDataCellMessages {
    static const char* const NotEditable;
    static const char* const InvalidValue;
};

// Writes the text typed into a cell of `table` into the network, converted from
// the unit the table shows to SI. `itemId` is the whole number in the row's
// first cell (0 for a heading or empty row). Names are cut to their capacity;
// numbers may be zero but not negative, except a pipe's diameter and length,
// which a zero would make impossible to calculate: such a zero is not written
// (Unchanged), so that typing "0.5" passes through "0" harmlessly.
TCellEditOutcome ApplyDataCellEdit(TNetwork& network, TDataTable table, std::int32_t itemId, int column,
                                   const std::string& text);

// The id a data row carries in its first cell, 0 when it is not a whole number.
std::int32_t DataRowItemId(const std::string& firstCell);
