#pragma once

#include <cstddef>
#include <string>

// Records hold short texts of a fixed capacity in characters. In memory they are
// UTF-8; the file layer converts them to and from Windows-1252 at the boundary.

// Number of characters (code points) in a UTF-8 text.
std::size_t Utf8Length(const std::string& utf8);

// The text cut to at most `capacity` characters, never splitting a character.
std::string CutToCapacity(const std::string& utf8, std::size_t capacity);

// Windows-1252 bytes of a UTF-8 text, one byte per character; characters that
// Windows-1252 cannot hold become '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

// UTF-8 text of Windows-1252 bytes. The five unassigned bytes map to the C1
// controls of the same value, so that any byte string survives a round trip.
std::string Windows1252ToUtf8(const std::string& bytes);
