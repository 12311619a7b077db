#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"

// Raised when a record stream is truncated or holds a value that no valid
// record can hold. The message names the problem and its byte offset.
VELMORA_DECLARE_ERROR(EStreamFormatError);

// Appends fixed-layout little-endian records to a byte buffer. Texts are UTF-8
// in memory and written as Windows-1252 short strings: a length byte and the
// full capacity of character bytes, zero-filled.
class TByteWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteBool(bool value);
    void WriteInt32(std::int32_t value);
    void WriteDouble(double value);
    void WriteShortString(const std::string& utf8, std::size_t capacity);
    // Lines joined with CR LF, with a final CR LF, stored as a short string.
    void WriteNotes(const std::vector<std::string>& lines, std::size_t capacity);
    void WriteZeros(std::size_t count);

    const std::string& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

private:
    std::string bytes_;
};

// Reads records written by TByteWriter from a byte range it does not own.
// Never reads past the end: a short stream raises EStreamFormatError.
class TByteReader {
public:
    TByteReader(const char* data, std::size_t size) : data_(data), size_(size) {}
    explicit TByteReader(const std::string& bytes) : TByteReader(bytes.data(), bytes.size()) {}
    // The reader keeps a pointer into the bytes: a temporary would be gone before the first read.
    explicit TByteReader(std::string&& bytes) = delete;

    std::uint8_t ReadByte();
    bool ReadBool();
    std::int32_t ReadInt32();
    double ReadDouble();
    std::string ReadShortString(std::size_t capacity);
    std::vector<std::string> ReadNotes(std::size_t capacity);
    void Skip(std::size_t count);

    // Raises EStreamFormatError with `what` and the current offset.
    [[noreturn]] void Fail(const std::string& what) const;

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return size_ - offset_; }
    bool AtEnd() const { return offset_ == size_; }

private:
    const char* take(std::size_t count);

    const char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};
