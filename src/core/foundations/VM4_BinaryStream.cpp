#include "foundations/VM4_BinaryStream.h"

#include <bit>
#include <cstring>

#include "foundations/VM4_ShortString.h"

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");
static_assert(sizeof(double) == 8);

void TByteWriter::WriteByte(std::uint8_t value) { bytes_ += static_cast<char>(value); }

void TByteWriter::WriteBool(bool value) { WriteByte(value ? 1 : 0); }

void TByteWriter::WriteInt32(std::int32_t value) {
    char raw[4];
    std::memcpy(raw, &value, sizeof raw);
    bytes_.append(raw, sizeof raw);
}

void TByteWriter::WriteDouble(double value) {
    char raw[8];
    std::memcpy(raw, &value, sizeof raw);
    bytes_.append(raw, sizeof raw);
}

void TByteWriter::WriteShortString(const std::string& utf8, std::size_t capacity) {
    const std::string encoded = Utf8ToWindows1252(CutToCapacity(utf8, capacity));
    WriteByte(static_cast<std::uint8_t>(encoded.size()));
    bytes_ += encoded;
    WriteZeros(capacity - encoded.size());
}

void TByteWriter::WriteNotes(const std::vector<std::string>& lines, std::size_t capacity) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    WriteShortString(text, capacity);
}

void TByteWriter::WriteZeros(std::size_t count) { bytes_.append(count, '\0'); }

const char* TByteReader::take(std::size_t count) {
    if (count > Remaining()) {
        Fail("unexpected end of data (" + std::to_string(count) + " bytes needed, " +
             std::to_string(Remaining()) + " left)");
    }
    const char* start = data_ + offset_;
    offset_ += count;
    return start;
}

void TByteReader::Fail(const std::string& what) const {
    throw EStreamFormatError(what + " at byte " + std::to_string(offset_));
}

std::uint8_t TByteReader::ReadByte() { return static_cast<std::uint8_t>(*take(1)); }

bool TByteReader::ReadBool() { return ReadByte() != 0; }

std::int32_t TByteReader::ReadInt32() {
    std::int32_t value;
    std::memcpy(&value, take(sizeof value), sizeof value);
    return value;
}

double TByteReader::ReadDouble() {
    double value;
    std::memcpy(&value, take(sizeof value), sizeof value);
    return value;
}

std::string TByteReader::ReadShortString(std::size_t capacity) {
    const std::size_t lengthOffset = offset_;
    const std::size_t length = ReadByte();
    if (length > capacity) {
        offset_ = lengthOffset;
        Fail("text length " + std::to_string(length) + " exceeds its capacity of " + std::to_string(capacity));
    }
    const char* characters = take(capacity);
    return Windows1252ToUtf8(std::string(characters, length));
}

std::vector<std::string> TByteReader::ReadNotes(std::size_t capacity) {
    const std::string text = ReadShortString(capacity);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

void TByteReader::Skip(std::size_t count) { take(count); }
