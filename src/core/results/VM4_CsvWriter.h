#pragma once

#include <string>

class ITableGrid;

// Comma-separated values as RFC 4180 has them: records end with CR LF, fields
// are separated by commas, and a field holding a comma, a double quote, CR or
// LF is enclosed in double quotes with each inner quote doubled. Texts pass
// through as they are (UTF-8), without a byte order mark.

// One field, quoted only when it has to be.
std::string CsvField(const std::string& text);

// The grid from its first row and column up to the last row and the last
// column that hold a non-empty cell, every record with the same number of
// fields. Empty padding rows below the table are left out; an empty grid
// gives an empty text.
std::string GridToCsv(const ITableGrid& grid);
