#include "foundations/VM4_ShortString.h"

#include <gtest/gtest.h>

TEST(ShortString, CutsToCapacityInCharactersNotBytes) {
    // "m³/sec" is six characters but seven bytes.
    EXPECT_EQ(Utf8Length("m³/sec"), 6u);
    EXPECT_EQ(CutToCapacity("m³/sec", 2), "m³");
    EXPECT_EQ(CutToCapacity("m³/sec", 10), "m³/sec");
    EXPECT_EQ(CutToCapacity("abc", 0), "");
}

TEST(ShortString, Windows1252RoundTripsEveryByte) {
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(allBytes)), allBytes);
}

TEST(ShortString, ConvertsTheSpecialCharactersOfUnitNames) {
    EXPECT_EQ(Utf8ToWindows1252("°C m² m³ €"), "\xB0" "C m\xB2 m\xB3 \x80");
    EXPECT_EQ(Windows1252ToUtf8("\xB0" "F"), "°F");
}

TEST(ShortString, CharactersOutsideWindows1252BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("Δp 水"), "?p ?");
    // A malformed sequence is one unknown character per byte, never a crash.
    EXPECT_EQ(Utf8ToWindows1252(std::string("a\xE2\x82", 3)), "a??");
}
