#pragma once

#include <cstddef>
#include <string>

// Text conversions around numeric entry. Numbers are typed and shown with the
// system decimal mark (SystemDecimalMark(), read at each call) but are written
// into data files with ".".

// The other mark becomes the system mark, once: with "." as the system mark the
// first "," becomes "."; with "," the first "." becomes ",". Any other system
// mark leaves the text as it is.
std::string ToSystemDecimalMark(const std::string& text);

// The first system decimal mark becomes ".", as data files expect.
std::string ToFileDecimalMark(const std::string& text);

// Blanks in front of (PadLeft) or behind (PadRight) the text until it has at
// least `width` characters. Widths count characters, not UTF-8 bytes.
std::string PadLeft(const std::string& text, std::size_t width);
std::string PadRight(const std::string& text, std::size_t width);

// Line feeds removed and carriage returns turned into blanks, for texts that
// must fit one line.
std::string SingleLine(const std::string& text);
