#include "foundations/VM4_Input_Validation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundations/VM4_DecimalMark.h"

namespace {

// Texts are written with '|' for the system decimal mark and '~' for the other
// one, so that one table serves both marks.
std::string Marked(const std::string& pattern) {
    const char mark = SystemDecimalMark();
    const char other = mark == '.' ? ',' : '.';
    std::string text = pattern;
    for (char& c : text) {
        if (c == '|') c = mark;
        else if (c == '~') c = other;
    }
    return text;
}

char32_t MarkKey() { return static_cast<char32_t>(SystemDecimalMark()); }
char32_t OtherMarkKey() { return SystemDecimalMark() == '.' ? U',' : U'.'; }

// Keys in the tables: '|' stands for the system mark, '~' for the other one.
char32_t Key(char32_t key) {
    if (key == U'|') return MarkKey();
    if (key == U'~') return OtherMarkKey();
    return key;
}

TEntryBoxState Box(const char* text, int caret, const char* selected = "") {
    return {Marked(text), Marked(selected), caret};
}

class WithEachDecimalMark : public testing::TestWithParam<char> {
private:
    TScopedDecimalMark mark_{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Marks, WithEachDecimalMark, testing::Values('.', ','),
                         [](const testing::TestParamInfo<char>& info) {
                             return std::string(info.param == '.' ? "Point" : "Comma");
                         });

const std::string PreDecimal =
    "Maximum number of pre-decimal digits reached.\r\rDelete some pre-decimal digits and then update the value as "
    "required.";
const std::string PostDecimal =
    "Maximum number of post-decimal digits reached.\r\rDelete some post-decimal digits and then update the value as "
    "required.";

}  // namespace

// ---------------------------------------------------------------------------
// Key filters

TEST_P(WithEachDecimalMark, DecimalKeyFilter) {
    struct Case {
        const char* name;
        const char* text;
        const char* selected;
        int caret;
        char32_t key;
        bool allowNegative;
        int maxDecimals, maxIntegerDigits;
        bool accepted;
        const std::string* message;
    };
    const Case cases[] = {
        // digit limits before the mark: E = position of the mark, or length + 1
        {"seventh digit at the end", "123456", "", 6, U'7', false, 3, 6, false, &PreDecimal},
        {"seventh digit in front", "123456", "", 0, U'7', false, 3, 6, false, &PreDecimal},
        {"sixth digit", "12345", "", 5, U'6', false, 3, 6, true, nullptr},
        {"the sign counts as a place", "-12345", "", 6, U'6', true, 3, 6, false, &PreDecimal},
        {"full integer part, caret in it", "123456|5", "", 3, U'7', false, 3, 6, false, &PreDecimal},
        {"full integer part, digit after the mark", "123456|", "", 7, U'7', false, 3, 6, true, nullptr},
        {"selection does not free a place", "123456", "123456", 6, U'1', false, 3, 6, false, &PreDecimal},
        // digit limits after the mark
        {"fourth decimal at the end", "1|234", "", 5, U'5', false, 3, 6, false, &PostDecimal},
        {"caret right after the mark", "1|234", "", 2, U'5', false, 3, 6, false, &PostDecimal},
        {"caret right before the mark", "1|234", "", 1, U'5', false, 3, 6, true, nullptr},
        {"digit in front of the number", "1|234", "", 0, U'5', false, 3, 6, true, nullptr},
        {"third decimal", "1|23", "", 4, U'4', false, 3, 6, true, nullptr},
        {"no decimals allowed", "5|", "", 2, U'1', false, 0, 6, false, &PostDecimal},
        // one mark and one sign, unless the selection typed over holds it
        {"second mark", "1|5", "", 3, U'|', false, 3, 6, false, nullptr},
        {"mark over a selected mark", "1|5", "|", 2, U'|', false, 3, 6, true, nullptr},
        {"mark over the selected number", "1|5", "1|5", 3, U'|', false, 3, 6, true, nullptr},
        {"first mark", "15", "", 1, U'|', false, 3, 6, true, nullptr},
        {"the other mark is not typed", "15", "", 1, U'~', false, 3, 6, false, nullptr},
        {"second sign", "-5", "", 2, U'-', true, 3, 6, false, nullptr},
        {"sign over a selected sign", "-5", "-", 1, U'-', true, 3, 6, true, nullptr},
        {"first sign", "5", "", 0, U'-', true, 3, 6, true, nullptr},
        {"sign where negatives are not allowed", "5", "", 0, U'-', false, 3, 6, false, nullptr},
        // control keys pass even at the limits
        {"backspace", "123456", "", 6, KeyBackspace, false, 3, 6, true, nullptr},
        {"tab", "1|234", "", 5, KeyTab, false, 3, 6, true, nullptr},
        {"enter", "1|234", "", 5, KeyEnter, false, 3, 6, true, nullptr},
        // anything else
        {"letter", "1", "", 1, U'a', true, 3, 6, false, nullptr},
        {"exponent", "1", "", 1, U'e', true, 3, 6, false, nullptr},
        {"plus", "", "", 0, U'+', true, 3, 6, false, nullptr},
        {"blank", "1", "", 1, U' ', true, 3, 6, false, nullptr},
        {"non-ASCII digit", "1", "", 1, U'\u0663', true, 3, 6, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TKeyFilterResult result = FilterDecimalKey(Box(c.text, c.caret, c.selected), Key(c.key),
                                                         c.allowNegative, c.maxDecimals, c.maxIntegerDigits);
        EXPECT_EQ(result.Accepted, c.accepted);
        EXPECT_EQ(result.Message, c.message ? *c.message : std::string());
    }
}

TEST_P(WithEachDecimalMark, DecimalKeyFilterCountsCharactersNotBytes) {
    // "µ1234" is five characters: the mark of "µ1234|" stands at character 6,
    // so a sixth integer place is still free (it would not be if bytes were counted).
    EXPECT_TRUE(FilterDecimalKey(Box("\xC2\xB5" "1234|", 5), U'5', false, 3, 6).Accepted);
    EXPECT_FALSE(FilterDecimalKey(Box("\xC2\xB5" "1234|", 5), U'5', false, 3, 5).Accepted);
}

TEST_P(WithEachDecimalMark, IntegerKeyFilter) {
    struct Case {
        const char* name;
        const char* text;
        char32_t key;
        bool allowNegative;
        int maxLength;
        bool accepted;
    };
    const Case cases[] = {
        {"digit below the length", "123", U'4', false, 4, true},
        {"digit at the length", "1234", U'5', false, 4, false},
        {"the sign takes a place", "-123", U'4', true, 4, false},
        {"first sign", "12", U'-', true, 4, true},
        {"second sign", "-12", U'-', true, 4, false},
        {"sign where negatives are not allowed", "12", U'-', false, 4, false},
        {"backspace at the length", "1234", KeyBackspace, false, 4, true},
        {"no decimal mark", "12", U'|', true, 4, false},
        {"no tab", "12", KeyTab, true, 4, false},
        {"no letter", "12", U'x', true, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TKeyFilterResult result = FilterIntegerKey(Box(c.text, 0), Key(c.key), c.allowNegative, c.maxLength);
        EXPECT_EQ(result.Accepted, c.accepted);
        EXPECT_EQ(result.Message, "");
    }
}

TEST_P(WithEachDecimalMark, CalculatorKeyFilter) {
    struct Case {
        const char* name;
        const char* text;
        const char* selected;
        char32_t key;
        bool allowNegative;
        bool accepted;
    };
    const Case cases[] = {
        {"digit without limit", "1234567890|123456", "", U'7', false, true},
        {"first mark", "12", "", U'|', false, true},
        {"second mark", "1|2", "", U'|', false, false},
        {"the selection does not matter", "1|2", "|", U'|', false, false},
        {"the other mark is not typed", "12", "", U'~', false, false},
        {"first sign", "12", "", U'-', true, true},
        {"second sign", "-12", "", U'-', true, false},
        {"sign where negatives are not allowed", "12", "", U'-', false, false},
        {"backspace", "1|2", "", KeyBackspace, false, true},
        {"no tab", "12", "", KeyTab, true, false},
        {"no enter", "12", "", KeyEnter, true, false},
        {"no letter", "12", "", U'k', true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TKeyFilterResult result = FilterCalculatorKey(Box(c.text, 0, c.selected), Key(c.key), c.allowNegative);
        EXPECT_EQ(result.Accepted, c.accepted);
        EXPECT_EQ(result.Message, "");
    }
}

// ---------------------------------------------------------------------------
// Decimal parsing

TEST_P(WithEachDecimalMark, ParseDecimalText) {
    struct Case {
        const char* text;
        bool allowZero, allowNegative;
        double value;
        bool valid;
    };
    const Case cases[] = {
        {"12|5", false, false, 12.5, true},
        {"12~5", false, false, 12.5, true},   // the other mark is taken too
        {"1~234|5", false, false, -1.0, false},  // a thousands separator is no number
        {"1|234~5", false, false, -1.0, false},
        {"0|001", false, false, 0.001, true},
        {"|5", false, false, 0.5, true},
        {"5|", false, false, 5.0, true},
        {"-|5", false, true, -0.5, true},
        {"007", false, false, 7.0, true},
        // sign and zero rules: the value is still returned
        {"-3", false, false, -3.0, false},
        {"-3", false, true, -3.0, true},
        {"0", false, false, 0.0, false},
        {"0", true, false, 0.0, true},
        {"0|0", false, true, 0.0, false},
        {"-0", false, true, 0.0, false},
        {"-0", true, false, 0.0, true},   // minus zero is zero, not negative
        // not numbers
        {"", true, true, -1.0, false},
        {"-", true, true, -1.0, false},
        {"|", true, true, -1.0, false},
        {"--1", true, true, -1.0, false},
        {"1-2", true, true, -1.0, false},
        {"5-", true, true, -1.0, false},
        {"1|2|3", true, true, -1.0, false},
        {"1e3", true, true, -1.0, false},   // only digits, "-" and the mark
        {"+5", true, true, -1.0, false},
        {" 5", true, true, -1.0, false},
        {"12a", true, true, -1.0, false},
        {"1e", true, true, -1.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << Marked(c.text) << "' zero " << c.allowZero << " negative "
                                        << c.allowNegative);
        const TParsedNumber<double> parsed = ParseDecimalText(Marked(c.text), c.allowZero, c.allowNegative);
        EXPECT_DOUBLE_EQ(parsed.Value, c.value);
        EXPECT_EQ(parsed.Valid, c.valid);
    }
}

TEST(InputValidation, ParseDecimalTextWithExplicitMarks) {
    struct Case {
        char systemMark;
        const char* text;
        double value;
        bool valid;
    };
    const Case cases[] = {
        {',', "12.5", 12.5, true},
        {',', "12,5", 12.5, true},
        {',', "1.234,5", -1.0, false},
        {'.', "12,5", 12.5, true},
        {'.', "12.5", 12.5, true},
        {'.', "1,234.5", -1.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mark '" << c.systemMark << "' text " << c.text);
        TScopedDecimalMark mark(c.systemMark);
        const TParsedNumber<double> parsed = ParseDecimalText(c.text, false, false);
        EXPECT_DOUBLE_EQ(parsed.Value, c.value);
        EXPECT_EQ(parsed.Valid, c.valid);
    }
}

TEST_P(WithEachDecimalMark, ParseDecimalTextRejectsValuesBeyondADouble) {
    const std::string huge = "1" + std::string(400, '0');
    EXPECT_FALSE(ParseDecimalText(huge, true, true).Valid);
    EXPECT_EQ(ParseDecimalText(huge, true, true).Value, -1.0);
}

TEST_P(WithEachDecimalMark, DecimalEntryKeepsTheCallersValueForALoneMinus) {
    struct Case {
        const char* text;
        bool allowNegative;
        double value;
        TEntryOutcome outcome;
    };
    const Case cases[] = {
        {"-", true, 0.0, TEntryOutcome::Incomplete},
        {"-", false, 0.0, TEntryOutcome::Incomplete},
        {"-3", false, -3.0, TEntryOutcome::Invalid},
        {"-3", true, -3.0, TEntryOutcome::Valid},
        {"2~5", false, 2.5, TEntryOutcome::Valid},
        {"", true, -1.0, TEntryOutcome::Invalid},
        {"--", true, -1.0, TEntryOutcome::Invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << Marked(c.text) << "' negative " << c.allowNegative);
        const TDecimalEntry entry = ReadDecimalEntry(Marked(c.text), false, c.allowNegative);
        EXPECT_DOUBLE_EQ(entry.Value, c.value);
        EXPECT_EQ(entry.Outcome, c.outcome);
    }
}

// ---------------------------------------------------------------------------
// Integer parsing

TEST(InputValidation, ParseIntegerText) {
    struct Case {
        const char* text;
        bool allowZero, allowNegative;
        std::int32_t value;
        bool valid;
    };
    const Case cases[] = {
        {"42", false, false, 42, true},
        {"007", false, false, 7, true},
        {"-42", false, true, -42, true},
        {"-42", false, false, -42, false},
        {"0", false, false, 0, false},
        {"0", true, false, 0, true},
        {"-0", true, false, 0, true},
        {"2147483647", false, false, 2147483647, true},
        {"-2147483648", false, true, INT32_MIN, true},
        {"2147483648", true, true, -1, false},  // beyond 32 bits
        {"", true, true, -1, false},
        {"-", true, true, -1, false},
        {"--1", true, true, -1, false},
        {"1-", true, true, -1, false},
        {"+1", true, true, -1, false},
        {" 1", true, true, -1, false},
        {"4.2", true, true, -1, false},
        {"4,2", true, true, -1, false},
        {"1e3", true, true, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "' zero " << c.allowZero << " negative " << c.allowNegative);
        const TParsedNumber<std::int32_t> parsed = ParseIntegerText(c.text, c.allowZero, c.allowNegative);
        EXPECT_EQ(parsed.Value, c.value);
        EXPECT_EQ(parsed.Valid, c.valid);
    }
}

TEST(InputValidation, ParseInteger64Text) {
    struct Case {
        const char* text;
        bool allowZero, allowNegative;
        std::int64_t value;
        bool valid;
    };
    const Case cases[] = {
        {"2147483648", false, false, 2147483648LL, true},  // past 32 bits
        {"9223372036854775807", false, false, INT64_MAX, true},
        {"-9223372036854775808", false, true, INT64_MIN, true},
        {"9223372036854775808", true, true, -1, false},
        {"-5", false, false, -5, false},
        {"0", false, true, 0, false},
        {"", true, true, -1, false},
        {"12a", true, true, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
        const TParsedNumber<std::int64_t> parsed = ParseInteger64Text(c.text, c.allowZero, c.allowNegative);
        EXPECT_EQ(parsed.Value, c.value);
        EXPECT_EQ(parsed.Valid, c.valid);
    }
}

// ---------------------------------------------------------------------------
// Positive values and boxes reset to their default

TEST_P(WithEachDecimalMark, ReadPositiveText) {
    struct Case {
        const char* text;
        bool allowZero;
        double value;
        bool valid;
    };
    const Case cases[] = {
        {"2|5", false, 2.5, true},
        {"2~5", false, 2.5, true},
        {"1e3", false, 1000.0, true},    // any floating-point form
        {"2|5E-2", false, 0.025, true},
        {"+4", false, 4.0, true},
        {" 7 ", false, 7.0, true},
        {"0", false, 0.0, false},
        {"0", true, 0.0, true},
        {"-2", true, -2.0, false},       // at least zero, never negative
        {"", true, -1.0, false},
        {"-", true, -1.0, false},
        {"abc", true, -1.0, false},
        {"1e", true, -1.0, false},
        {"1|2|3", true, -1.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << Marked(c.text) << "' zero " << c.allowZero);
        const TParsedNumber<double> parsed = ReadPositiveText(Marked(c.text), c.allowZero);
        EXPECT_DOUBLE_EQ(parsed.Value, c.value);
        EXPECT_EQ(parsed.Valid, c.valid);
    }
}

TEST_P(WithEachDecimalMark, ResetTextIfInvalid) {
    struct Case {
        const char* text;
        bool allowZero;
        bool valid;
        const char* kept;
    };
    const Case cases[] = {
        {"2~5", false, true, "2~5"},  // a valid text is kept as typed
        {"0", false, false, "1|5"},
        {"0", true, true, "0"},
        {"-1", true, false, "1|5"},
        {"", true, false, "1|5"},
        {"x", true, false, "1|5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << Marked(c.text) << "' zero " << c.allowZero);
        const TResetEntry reset = ResetTextIfInvalid(Marked(c.text), Marked("1|5"), c.allowZero);
        EXPECT_EQ(reset.Valid, c.valid);
        EXPECT_EQ(reset.Text, Marked(c.kept));
    }
}

// ---------------------------------------------------------------------------
// Character checks

TEST_P(WithEachDecimalMark, CharacterChecks) {
    struct Case {
        const char* text;
        bool decimal, integer;
    };
    const Case cases[] = {
        {"", true, true},
        {"0123456789", true, true},
        {"-12", true, true},
        {"-1|5", true, false},
        {"1~5", false, false},   // the other mark is not the system's
        {"1e3", false, false},
        {" 1", false, false},
        {"+1", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Marked(c.text));
        EXPECT_EQ(IsDecimalText(Marked(c.text)), c.decimal);
        EXPECT_EQ(IsIntegerText(Marked(c.text)), c.integer);
    }
}
