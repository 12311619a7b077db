#include "foundations/VM4_TextRecord.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "foundations/VM4_DecimalMark.h"

namespace {

struct SplitCase {
    std::string line;
    std::size_t maxFields;
    std::vector<std::string> fields;
};

class SplitRecordFieldsTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitRecordFieldsTest, SplitsAtSeparators) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitRecordFields(c.line, c.maxFields), c.fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitRecordFieldsTest,
    ::testing::Values(SplitCase{"a~|~b~|~c", std::string::npos, {"a", "b", "c"}},
                      SplitCase{"", std::string::npos, {""}},
                      SplitCase{"a~|~", std::string::npos, {"a", ""}},
                      SplitCase{"~|~~|~", std::string::npos, {"", "", ""}},
                      // a lone "~" or "|" is text, not a separator
                      SplitCase{"a~b|c", std::string::npos, {"a~b|c"}},
                      // the last field keeps the rest of the line
                      SplitCase{"1.11~|~f~|~d~|~x", 3, {"1.11", "f", "d~|~x"}},
                      SplitCase{"1.11~|~f", 3, {"1.11", "f"}}));

TEST(TextRecord, JoinIsTheInverseOfSplit) {
    const std::vector<std::string> fields{"Steel", "", "0.5\"", "x"};
    EXPECT_EQ(JoinRecordFields(fields), "Steel~|~~|~0.5\"~|~x");
    EXPECT_EQ(SplitRecordFields(JoinRecordFields(fields)), fields);
}

struct FormatCase {
    double value;
    int decimals;
    const char* text;
};

class FormatFileDecimalTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFileDecimalTest, FixedWithPointAndSevenSignificantDigits) {
    const FormatCase& c = GetParam();
    // The file form must not follow the system's mark.
    for (const char mark : {'.', ','}) {
        TScopedDecimalMark scoped(mark);
        EXPECT_EQ(FormatFileDecimal(c.value, c.decimals), c.text) << "decimal mark " << mark;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatFileDecimalTest,
    ::testing::Values(FormatCase{0.43, 2, "0.43"}, FormatCase{10.0, 2, "10.00"}, FormatCase{0.0, 2, "0.00"},
                      FormatCase{-2.5, 2, "-2.50"},
                      // no negative zero
                      FormatCase{-0.001, 2, "0.00"},
                      // 0.000046 m in inch: 0.0018110236...
                      FormatCase{0.0018110236220472442, 6, "0.001811"},
                      // 123456.789 to 7 significant digits is 123456.8
                      FormatCase{123456.789, 2, "123456.80"},
                      // more integer digits than the precision: zeros, never an exponent
                      FormatCase{123456789.0, 2, "123456800.00"},
                      // rounding carries into a new digit
                      FormatCase{9999999.6, 2, "10000000.00"}, FormatCase{999999.96, 2, "1000000.00"},
                      FormatCase{4.5, 3, "4.500"}, FormatCase{7.0, 0, "7"}));

TEST(TextRecord, LinesAreWrittenInWindows1252WithCrLf) {
    std::ostringstream out;
    WriteRecordLine(out, "20 °C~|~x");
    EXPECT_EQ(out.str(), "20 \xB0" "C~|~x\r\n");
}

TEST(TextRecord, LinesAreReadWithoutTheirLineEndAsUtf8) {
    std::istringstream in("20 \xB0" "C\r\nsecond\nlast");
    std::string line;
    std::vector<std::string> lines;
    while (ReadRecordLine(in, line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"20 °C", "second", "last"}));
}

}  // namespace
