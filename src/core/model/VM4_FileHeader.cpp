#include "model/VM4_FileHeader.h"

#include "foundations/VM4_BinaryStream.h"
#include "foundations/VM4_ShortString.h"
#include "foundations/VM4_TextRecord.h"

namespace {

const char* const kLoadFromTextFailed = "TFileHeader.LoadFromText Failed";

constexpr std::size_t kTextFieldCount = 3;

}  // namespace

void TFileHeader::Clear() { SetData("", "", ""); }

void TFileHeader::SetData(const std::string& versionReference, const std::string& fileName,
                          const std::string& fileDate) {
    versionReference_ = CutToCapacity(versionReference, kVersionReferenceCapacity);
    fileName_ = CutToCapacity(fileName, kFileNameCapacity);
    fileDate_ = CutToCapacity(fileDate, kFileDateCapacity);
}

void TFileHeader::WriteRecord(TByteWriter& writer) const {
    writer.WriteShortString(versionReference_, kVersionReferenceCapacity);
    writer.WriteShortString(fileName_, kFileNameCapacity);
    writer.WriteShortString(fileDate_, kFileDateCapacity);
}

void TFileHeader::ReadRecord(TByteReader& reader) {
    std::string versionReference = reader.ReadShortString(kVersionReferenceCapacity);
    std::string fileName = reader.ReadShortString(kFileNameCapacity);
    std::string fileDate = reader.ReadShortString(kFileDateCapacity);
    SetData(versionReference, fileName, fileDate);
}

void TFileHeader::SaveToText(std::ostream& out) const {
    WriteRecordLine(out, JoinRecordFields({versionReference_, fileName_, fileDate_}));
}

void TFileHeader::LoadFromText(std::istream& in) {
    std::string line;
    if (!ReadRecordLine(in, line)) throw EFileHeader(kLoadFromTextFailed);
    const std::vector<std::string> fields = SplitRecordFields(line, kTextFieldCount);
    if (fields.size() != kTextFieldCount) throw EFileHeader(kLoadFromTextFailed);
    SetData(fields[0], fields[1], fields[2]);
}
