#include "foundations/VM4_BinaryStream.h"

#include <gtest/gtest.h>

TEST(BinaryStream, ShortStringTakesLengthByteAndFullCapacity) {
    TByteWriter writer;
    writer.WriteShortString("°C", 5);
    EXPECT_EQ(writer.Bytes(), std::string("\x02\xB0" "C\0\0\0", 6));
}

TEST(BinaryStream, LongTextIsCutToCapacity) {
    TByteWriter writer;
    writer.WriteShortString("abcdef", 3);
    TByteReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadShortString(3), "abc");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(BinaryStream, ValuesRoundTripLittleEndian) {
    TByteWriter writer;
    writer.WriteInt32(-2);
    writer.WriteDouble(0.1);
    writer.WriteBool(true);
    EXPECT_EQ(writer.Bytes().substr(0, 4), std::string("\xFE\xFF\xFF\xFF", 4));
    TByteReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadInt32(), -2);
    EXPECT_EQ(reader.ReadDouble(), 0.1);
    EXPECT_TRUE(reader.ReadBool());
}

TEST(BinaryStream, NotesJoinLinesWithCrLfAndSplitBack) {
    TByteWriter writer;
    writer.WriteNotes({"first", "", "third"}, 200);
    EXPECT_EQ(writer.Bytes().substr(0, 17), std::string("\x10" "first\r\n\r\nthird\r\n", 17));
    TByteReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadNotes(200), (std::vector<std::string>{"first", "", "third"}));
}

TEST(BinaryStream, TruncatedStreamNamesTheOffset) {
    const std::string bytes("\x01\x02\x03\x04\x05", 5);
    TByteReader reader(bytes);
    reader.ReadInt32();
    try {
        reader.ReadDouble();
        FAIL() << "reading past the end must raise";
    } catch (const EStreamFormatError& error) {
        EXPECT_STREQ(error.what(), "unexpected end of data (8 bytes needed, 1 left) at byte 4");
    }
}

TEST(BinaryStream, LengthByteAboveCapacityIsRejected) {
    const std::string bytes("\x09" "abc", 4);
    TByteReader reader(bytes);
    EXPECT_THROW(reader.ReadShortString(3), EStreamFormatError);
}
