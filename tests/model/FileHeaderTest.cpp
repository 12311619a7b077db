#include "model/VM4_FileHeader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "foundations/VM4_BinaryStream.h"

namespace {

void expectHeader(const TFileHeader& header, const std::string& version, const std::string& fileName,
                  const std::string& fileDate) {
    EXPECT_EQ(header.VersionReference(), version);
    EXPECT_EQ(header.FileName(), fileName);
    EXPECT_EQ(header.FileDate(), fileDate);
}

TEST(FileHeader, SetDataCutsEachTextToItsCapacity) {
    TFileHeader header;
    header.SetData(std::string(30, 'v'), std::string(50, 'n'), "2024-01-01 12:00:00");
    expectHeader(header, std::string(24, 'v'), std::string(40, 'n'), "2024-01-01 12:00");
    header.Clear();
    expectHeader(header, "", "", "");
}

TEST(FileHeader, NetworkHeaderIs83BytesAndReadsBack) {
    TFileHeader header;
    header.SetData("1.11", "", "");
    TByteWriter writer;
    header.WriteRecord(writer);
    ASSERT_EQ(writer.Size(), TFileHeader::kRecordSize);
    ASSERT_EQ(writer.Size(), 83u);
    // version: length 4 at byte 0; file name length at 25; file date length at 66
    EXPECT_EQ(writer.Bytes().substr(0, 5), std::string("\x04" "1.11"));
    EXPECT_EQ(writer.Bytes()[25], '\0');
    EXPECT_EQ(writer.Bytes()[66], '\0');

    TFileHeader loaded;
    loaded.SetData("x", "y", "z");
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    EXPECT_TRUE(reader.AtEnd());
    expectHeader(loaded, "1.11", "", "");
}

TEST(FileHeader, AllThreeTextsRoundTrip) {
    TFileHeader header;
    header.SetData("1.11", "Plant °A", "01/02/2024");
    TByteWriter writer;
    header.WriteRecord(writer);
    TFileHeader loaded;
    TByteReader reader(writer.Bytes());
    loaded.ReadRecord(reader);
    expectHeader(loaded, "1.11", "Plant °A", "01/02/2024");
}

TEST(FileHeader, RecordWithFileNameLengthAboveCapacityIsRejectedAndHeaderKept) {
    TFileHeader header;
    header.SetData("1.11", "", "");
    TByteWriter writer;
    header.WriteRecord(writer);
    std::string bytes = writer.Bytes();
    bytes[25] = 41;  // file name holds at most 40
    TFileHeader loaded;
    loaded.SetData("keep", "", "");
    TByteReader reader(bytes);
    try {
        loaded.ReadRecord(reader);
        FAIL() << "a length byte above the capacity must be rejected";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), "text length 41 exceeds its capacity of 40 at byte 25");
    }
    EXPECT_EQ(loaded.VersionReference(), "keep");
}

TEST(FileHeader, TextLineJoinsTheThreeTexts) {
    TFileHeader header;
    header.SetData("1.02", "", "");
    std::ostringstream out;
    header.SaveToText(out);
    EXPECT_EQ(out.str(), "1.02~|~~|~\r\n");
}

struct TextLineCase {
    const char* line;
    const char* version;
    const char* fileName;
    const char* fileDate;
};

class FileHeaderTextLineTest : public ::testing::TestWithParam<TextLineCase> {};

TEST_P(FileHeaderTextLineTest, SplitsAtTheFirstTwoSeparators) {
    const TextLineCase& c = GetParam();
    std::istringstream in(c.line);
    TFileHeader header;
    header.LoadFromText(in);
    expectHeader(header, c.version, c.fileName, c.fileDate);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FileHeaderTextLineTest,
    ::testing::Values(TextLineCase{"1.02~|~~|~\r\nnext", "1.02", "", ""},
                      TextLineCase{"1.03~|~Steel.vmpi~|~2024", "1.03", "Steel.vmpi", "2024"},
                      // the date keeps the rest of the line, then is cut to 16
                      TextLineCase{"1.03~|~f~|~d~|~e", "1.03", "f", "d~|~e"},
                      TextLineCase{"1.03~|~f~|~0123456789abcdefXYZ", "1.03", "f", "0123456789abcdef"}));

TEST(FileHeader, LineWithoutTwoSeparatorsOrNoLineRaisesAndKeepsHeader) {
    for (const char* text : {"1.02~|~only one", "1.02", ""}) {
        std::istringstream in(text);
        TFileHeader header;
        header.SetData("keep", "a", "b");
        try {
            header.LoadFromText(in);
            FAIL() << "line \"" << text << "\" must be refused";
        } catch (const EFileHeader& error) {
            EXPECT_STREQ(error.what(), "TFileHeader.LoadFromText Failed");
        }
        expectHeader(header, "keep", "a", "b");
    }
}

}  // namespace
