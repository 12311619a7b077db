#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Data library files hold one record per line, fields joined by "~|~", lines
// ending in CR LF, characters in Windows-1252, numbers with "." as the mark.

inline constexpr const char* kRecordFieldSeparator = "~|~";

// The fields of a record line; a line without separator is one field.
std::vector<std::string> SplitRecordFields(const std::string& line);

// The line split at the first (maxFields - 1) separators; the last field
// keeps the rest of the line, separators included.
std::vector<std::string> SplitRecordFields(const std::string& line, std::size_t maxFields);

std::string JoinRecordFields(const std::vector<std::string>& fields);

// A number for a data file: fixed notation with `decimals` places and "." as
// the mark whatever the system's mark, rounded to `precision` significant
// digits (digits beyond them are written as zeros). Never in exponent form,
// so that every written value reads back through the decimal parser.
std::string FormatFileDecimal(double value, int decimals, int precision = 7);

// Reads the next line (without its CR LF or LF) as UTF-8; false at the end of
// the stream or when the stream fails.
bool ReadRecordLine(std::istream& in, std::string& utf8Line);

// Writes the line in Windows-1252 followed by CR LF.
void WriteRecordLine(std::ostream& out, const std::string& utf8Line);
