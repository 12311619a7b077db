#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "foundations/VM4_Errors.h"

class TByteReader;
class TByteWriter;

VELMORA_DECLARE_ERROR(EFileHeader);

// The three texts at the start of a network file (fixed-width record) and of
// every data library file (one text line).
class TFileHeader {
public:
    static constexpr std::size_t kVersionReferenceCapacity = 24;
    static constexpr std::size_t kFileNameCapacity = 40;
    static constexpr std::size_t kFileDateCapacity = 16;
    // 25 + 41 + 17: each text with its length byte.
    static constexpr std::size_t kRecordSize = 83;
    // The version text every network file is written with; older versions load too.
    static constexpr const char* kNetworkFileVersion = "1.11";

    TFileHeader() = default;

    void Clear();
    // Texts longer than their capacity are cut.
    void SetData(const std::string& versionReference, const std::string& fileName, const std::string& fileDate);

    const std::string& VersionReference() const { return versionReference_; }
    const std::string& FileName() const { return fileName_; }
    const std::string& FileDate() const { return fileDate_; }

    void WriteRecord(TByteWriter& writer) const;
    void ReadRecord(TByteReader& reader);

    // One line: version "~|~" file name "~|~" file date. A text that itself
    // holds "~|~" does not read back as written; no writer produces one.
    void SaveToText(std::ostream& out) const;
    // Splits the next line at its first two separators (the date keeps the rest);
    // a missing line or one without both separators raises EFileHeader and
    // leaves the header unchanged.
    void LoadFromText(std::istream& in);

private:
    std::string versionReference_;
    std::string fileName_;
    std::string fileDate_;
};
