#include "results/VM4_CsvWriter.h"

#include <gtest/gtest.h>

#include "results/VM4_MemoryGrid.h"

namespace {

struct TFieldCase {
    const char* Text;
    const char* Field;
};

void PrintTo(const TFieldCase& c, std::ostream* out) { *out << '"' << c.Text << '"'; }

class CsvFieldTest : public ::testing::TestWithParam<TFieldCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatMustBeQuoted) { EXPECT_EQ(CsvField(GetParam().Text), GetParam().Field); }

INSTANTIATE_TEST_SUITE_P(Fields, CsvFieldTest,
                         ::testing::Values(TFieldCase{"", ""}, TFieldCase{"Pipe Id", "Pipe Id"},
                                           TFieldCase{"12.345", "12.345"},
                                           // A decimal comma makes the number one quoted field.
                                           TFieldCase{"12,345", "\"12,345\""},
                                           TFieldCase{"4\" Steel Sch. 40", "\"4\"\" Steel Sch. 40\""},
                                           TFieldCase{"\"", "\"\"\"\""}, TFieldCase{"a\r\nb", "\"a\r\nb\""},
                                           TFieldCase{"a\nb", "\"a\nb\""}, TFieldCase{"a\rb", "\"a\rb\""},
                                           TFieldCase{"  leading blanks", "  leading blanks"},
                                           TFieldCase{"m\xC2\xB3/sec", "m\xC2\xB3/sec"}));

TEST(GridToCsvTest, WritesTheUsedAreaWithEqualFieldCountsAndCrLf) {
    TMemoryGrid grid(26, 28);
    grid.SetCell(0, 0, "Pipe Id");
    grid.SetCell(1, 0, "Pipe Name");
    grid.SetCell(3, 0, "Flow");
    grid.SetCell(3, 1, "m\xC2\xB3/sec");
    grid.SetCell(0, 2, "1");
    grid.SetCell(1, 2, "Main, north");
    grid.SetCell(3, 2, "0.0100");
    // Row 3 is empty inside the table; rows 4 to 27 and columns 4 to 25 are padding.
    grid.SetCell(2, 4, "closed");
    const std::string expected =
        "Pipe Id,Pipe Name,,Flow\r\n"
        ",,,m\xC2\xB3/sec\r\n"
        "1,\"Main, north\",,0.0100\r\n"
        ",,,\r\n"
        ",,closed,\r\n";
    EXPECT_EQ(GridToCsv(grid), expected);
}

TEST(GridToCsvTest, AnEmptyGridGivesNoRecords) {
    TMemoryGrid grid(26, 2000);
    EXPECT_EQ(GridToCsv(grid), "");
}

TEST(GridToCsvTest, ACellInTheLastRowAndColumnKeepsTheWholeGrid) {
    TMemoryGrid grid(3, 2);
    grid.SetCell(2, 1, "x");
    EXPECT_EQ(GridToCsv(grid), ",,\r\n,,x\r\n");
}

}  // namespace
