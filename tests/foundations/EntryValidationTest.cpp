#include "foundations/VM4_EntryValidation.h"

#include <gtest/gtest.h>

#include <string>

#include "foundations/VM4_DecimalMark.h"

namespace {

struct MarkCase {
    char systemMark;
    const char* text;
    const char* expected;
};

}  // namespace

TEST(EntryValidation, ToSystemDecimalMarkTurnsTheFirstOtherMark) {
    const MarkCase cases[] = {
        {'.', "12,5", "12.5"},
        {'.', "12.5", "12.5"},
        {'.', "1,2,3", "1.2,3"},       // only the first
        {'.', "1.234,5", "1.234.5"},   // the parser rejects this later
        {',', "12.5", "12,5"},
        {',', "12,5", "12,5"},
        {',', "1.234,5", "1,234,5"},
        {',', "", ""},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mark '" << c.systemMark << "' text " << c.text);
        TScopedDecimalMark mark(c.systemMark);
        EXPECT_EQ(ToSystemDecimalMark(c.text), c.expected);
    }
}

TEST(EntryValidation, ToFileDecimalMarkTurnsTheFirstSystemMarkIntoAPoint) {
    const MarkCase cases[] = {
        {',', "3,5", "3.5"},
        {',', "-0,25", "-0.25"},
        {',', "1,2,3", "1.2,3"},  // only the first
        {',', "42", "42"},
        {'.', "3.5", "3.5"},
        {'.', "3,5", "3,5"},      // a comma is not the system mark here
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mark '" << c.systemMark << "' text " << c.text);
        TScopedDecimalMark mark(c.systemMark);
        EXPECT_EQ(ToFileDecimalMark(c.text), c.expected);
    }
}

TEST(EntryValidation, PaddingCountsCharacters) {
    struct Case {
        const char* text;
        std::size_t width;
        const char* left;
        const char* right;
    };
    const Case cases[] = {
        {"12", 4, "  12", "12  "},
        {"1234", 4, "1234", "1234"},
        {"123456", 4, "123456", "123456"},  // never cut
        {"", 2, "  ", "  "},
        {"m³", 3, " m³", "m³ "},  // two characters, three bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "' to " << c.width);
        EXPECT_EQ(PadLeft(c.text, c.width), c.left);
        EXPECT_EQ(PadRight(c.text, c.width), c.right);
    }
}

TEST(EntryValidation, SingleLineDropsLineFeedsAndBlanksCarriageReturns) {
    EXPECT_EQ(SingleLine("Pump 1\r\nnear tank"), "Pump 1 near tank");
    EXPECT_EQ(SingleLine("a\rb\nc"), "a bc");
    EXPECT_EQ(SingleLine("no break"), "no break");
}
