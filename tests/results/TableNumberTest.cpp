#include "results/VM4_TableNumber.h"

#include <gtest/gtest.h>

namespace {

struct TNumberCase {
    const char* Text;
    char Mark;
    bool IsNumber;
    double Value;
    int Decimals;
};

void PrintTo(const TNumberCase& c, std::ostream* out) { *out << '"' << c.Text << "\" mark " << c.Mark; }

class ReadTableNumberTest : public ::testing::TestWithParam<TNumberCase> {};

TEST_P(ReadTableNumberTest, TakesOnlyWhatTheTablesPrintAsANumber) {
    const TNumberCase& c = GetParam();
    TTableNumber number{-99.0, -1};
    ASSERT_EQ(ReadTableNumber(c.Text, c.Mark, number), c.IsNumber);
    if (!c.IsNumber) {
        EXPECT_EQ(number.Value, -99.0);  // left alone
        return;
    }
    EXPECT_DOUBLE_EQ(number.Value, c.Value);
    EXPECT_EQ(number.Decimals, c.Decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ReadTableNumberTest,
    ::testing::Values(
        // numbers as the tables print them
        TNumberCase{"12", '.', true, 12.0, 0}, TNumberCase{"0", '.', true, 0.0, 0},
        TNumberCase{"-3", '.', true, -3.0, 0}, TNumberCase{"102.260", '.', true, 102.26, 3},
        TNumberCase{"0.0100", '.', true, 0.01, 4}, TNumberCase{"-0.013", '.', true, -0.013, 3},
        TNumberCase{"0,0100", ',', true, 0.01, 4}, TNumberCase{"1234567.5", '.', true, 1234567.5, 1},
        // texts that must keep their characters
        TNumberCase{"", '.', false, 0, 0}, TNumberCase{"-", '.', false, 0, 0},
        TNumberCase{"007", '.', false, 0, 0}, TNumberCase{"00.5", '.', false, 0, 0},
        TNumberCase{"1.", '.', false, 0, 0}, TNumberCase{".5", '.', false, 0, 0},
        TNumberCase{"1e3", '.', false, 0, 0}, TNumberCase{"1.5E+20", '.', false, 0, 0},
        TNumberCase{"0,0100", '.', false, 0, 0}, TNumberCase{"102.260", ',', false, 0, 0},
        TNumberCase{"+5", '.', false, 0, 0}, TNumberCase{" 5", '.', false, 0, 0},
        TNumberCase{"5 ", '.', false, 0, 0}, TNumberCase{"1.2.3", '.', false, 0, 0},
        TNumberCase{"*6.000 (Flow Velocity is high)", '.', false, 0, 0},
        TNumberCase{"0.123 (0.012 bar)", '.', false, 0, 0}, TNumberCase{"none", '.', false, 0, 0},
        TNumberCase{"NaN", '.', false, 0, 0}, TNumberCase{"inf", '.', false, 0, 0},
        // more decimals than a double carries would show digits the table never printed
        TNumberCase{"0.1234567890123456", '.', false, 0, 0}));

}  // namespace
