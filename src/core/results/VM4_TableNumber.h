#pragma once

#include <string>

// A table cell's text read as the number it shows, so that a workbook can hold
// it as a number a spreadsheet computes with, shown with the same decimals.
struct TTableNumber {
    double Value = 0.0;
    int Decimals = 0;
};

// True when `text` is a number exactly as the tables print one: an optional
// "-", digits without a leading zero (a lone "0" before the mark is one), and
// optionally the decimal mark `decimalMark` followed by digits. Anything else
// is a text, also when a spreadsheet would take it for a number: "007" or "1e3"
// is a name or a code whose characters must stay as written, "1,5" with "." as
// the mark is not a number of the table, and a flagged value ("*6.0 (...)") or a
// value with a unit is a text by design.
bool ReadTableNumber(const std::string& text, char decimalMark, TTableNumber& number);
