#pragma once

#include <cstdint>
#include <string>

// The rules every typed number passes: key filters that admit only what can
// form a valid number and stop at a unit's digit limits, and parsers that take
// "," or "." as the decimal mark and decide whether zero and negative values are
// allowed. Everything here is a pure function of the entry box's state, so that
// the entry widget only forwards keys and texts; nothing here raises.

// Control keys the filters let through (besides printable characters).
inline constexpr char32_t KeyBackspace = 8;
inline constexpr char32_t KeyTab = 9;
inline constexpr char32_t KeyEnter = 13;

// The warning for a box left with an invalid number.
inline constexpr const char* InvalidNumericEntryMessage = "Numeric entry is not valid";
inline constexpr const char* PreDecimalDigitsLimitMessage =
    "Maximum number of pre-decimal digits reached.\r\rDelete some pre-decimal digits and then update the value as "
    "required.";
inline constexpr const char* PostDecimalDigitsLimitMessage =
    "Maximum number of post-decimal digits reached.\r\rDelete some post-decimal digits and then update the value as "
    "required.";

// What a key filter sees of the box. Positions count characters.
struct TEntryBoxState {
    std::string Text;
    std::string SelectedText;
    int CaretPosition = 0;  // characters before the caret
};

// Whether the key goes into the box, and the information to show when it is
// refused at a digit limit (empty otherwise).
struct TKeyFilterResult {
    bool Accepted = false;
    std::string Message;
};

// Backspace and digits, and "-" when AllowNegative; one "-" at most, and no
// digit once the text has MaxLength characters.
TKeyFilterResult FilterIntegerKey(const TEntryBoxState& box, char32_t key, bool AllowNegative, int MaxLength);

// Backspace, Tab, Enter, digits, the system decimal mark, and "-" when
// AllowNegative. One mark and one "-" at most, unless the selection being typed
// over holds it. A digit is refused with a message when MaxIntegerDigits
// characters (sign included) already stand before the mark and the caret is
// among them, or MaxDecimals stand after the mark and the caret is after it.
TKeyFilterResult FilterDecimalKey(const TEntryBoxState& box, char32_t key, bool AllowNegative, int MaxDecimals,
                                  int MaxIntegerDigits);

// The K-value calculators' filter: Backspace, digits, the system decimal mark
// and "-" when AllowNegative; one mark and one "-" at most; no digit limits.
TKeyFilterResult FilterCalculatorKey(const TEntryBoxState& box, char32_t key, bool AllowNegative);

// A parsed number. An unreadable text gives Valid false and Value −1; a readable
// value that breaks the zero or sign rule gives Valid false and the value.
template <typename TValue>
struct TParsedNumber {
    TValue Value;
    bool Valid;
};

// Either mark is taken (ToSystemDecimalMark); the text may hold only digits,
// "-" and one mark, and must be a number. Zero only with AllowZero, negative
// values only with AllowNegative. Empty texts are invalid.
TParsedNumber<double> ParseDecimalText(const std::string& text, bool AllowZero, bool AllowNegative);

// Whole numbers of 32 or 64 bits: digits and a leading "-" only.
TParsedNumber<std::int32_t> ParseIntegerText(const std::string& text, bool AllowZero, bool AllowNegative);
TParsedNumber<std::int64_t> ParseInteger64Text(const std::string& text, bool AllowZero, bool AllowNegative);

// A box being typed into may hold a lone "-": not a number yet, but not an error
// either, and the caller keeps the value it had.
enum class TEntryOutcome { Valid, Invalid, Incomplete };

struct TDecimalEntry {
    double Value;
    TEntryOutcome Outcome;
};

// ParseDecimalText for the text of a decimal box; a lone "-" is Incomplete with Value 0.
TDecimalEntry ReadDecimalEntry(const std::string& text, bool AllowZero, bool AllowNegative);

// A floating-point number (exponent allowed) above zero, or at least zero with AllowZero.
TParsedNumber<double> ReadPositiveText(const std::string& text, bool AllowZero);

// The text a box keeps: its own when it holds a valid ReadPositiveText number,
// DefaultText otherwise.
struct TResetEntry {
    bool Valid;
    std::string Text;
};
TResetEntry ResetTextIfInvalid(const std::string& text, const std::string& DefaultText, bool AllowZero);

// Every character is a digit, "-" or the system decimal mark (empty passes).
bool IsDecimalText(const std::string& text);
// Every character is a digit or "-" (empty passes).
bool IsIntegerText(const std::string& text);
