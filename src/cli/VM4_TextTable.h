#pragma once

#include <string>

class ITableGrid;

// A table grid as plain text for a terminal: each column as wide as its widest
// cell (counted in characters, so "m³/sec" takes six), two blanks between
// columns, no trailing blanks, and the empty rows and columns at the end left
// out. A quick look at results without a spreadsheet.
std::string GridAsText(const ITableGrid& grid);
