#include "foundations/VM4_Input_Validation.h"

#include <charconv>
#include <cstddef>
#include <optional>
#include <system_error>

#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_EntryValidation.h"
#include "foundations/VM4_ShortString.h"

namespace {

constexpr char MinusSign = '-';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDigitKey(char32_t key) { return key >= U'0' && key <= U'9'; }

bool IsKey(char32_t key, char c) { return key == static_cast<char32_t>(static_cast<unsigned char>(c)); }
bool IsMinusKey(char32_t key) { return IsKey(key, MinusSign); }
bool IsDecimalMarkKey(char32_t key) { return IsKey(key, SystemDecimalMark()); }

int CharacterCount(const std::string& text) { return static_cast<int>(Utf8Length(text)); }

TKeyFilterResult Accepted() { return {true, ""}; }
TKeyFilterResult Refused(const std::string& message = "") { return {false, message}; }

// The text as it will be once the selection is typed over. Every occurrence of
// the selected text goes: the filter knows what is selected, not where.
std::string WithoutSelection(const std::string& text, const std::string& selected) {
    if (selected.empty()) return text;
    std::string rest;
    std::size_t from = 0;
    for (std::size_t found = text.find(selected); found != std::string::npos; found = text.find(selected, from)) {
        rest.append(text, from, found - from);
        from = found + selected.size();
    }
    rest.append(text, from);
    return rest;
}

// 1-based character position of the decimal mark, or length + 1 without one:
// so E − 1 characters, sign included, stand before the mark.
int DecimalMarkPosition(const std::string& text) {
    const std::size_t byte = text.find(SystemDecimalMark());
    if (byte == std::string::npos) return CharacterCount(text) + 1;
    return CharacterCount(text.substr(0, byte)) + 1;
}

// The limits look at the text as it is; a selection does not free a place.
TKeyFilterResult FilterDigitAtLimits(const TEntryBoxState& box, int MaxDecimals, int MaxIntegerDigits) {
    const int markPosition = DecimalMarkPosition(box.Text);
    const int decimalsTyped = CharacterCount(box.Text) - markPosition;
    if (markPosition > MaxIntegerDigits && box.CaretPosition <= MaxIntegerDigits) {
        return Refused(PreDecimalDigitsLimitMessage);
    }
    if (decimalsTyped >= MaxDecimals && box.CaretPosition >= markPosition) {
        return Refused(PostDecimalDigitsLimitMessage);
    }
    return Accepted();
}

// --- Reading numbers --------------------------------------------------------

template <typename TValue>
bool SignRulesHold(TValue value, bool AllowZero, bool AllowNegative) {
    if (value == 0) return AllowZero;
    if (value < 0) return AllowNegative;
    return true;
}

template <typename TValue>
TParsedNumber<TValue> Unreadable() {
    return {static_cast<TValue>(-1), false};
}

std::size_t ScanDigits(const std::string& text, std::size_t at, std::size_t end, std::string& number) {
    std::size_t count = 0;
    for (; at + count < end && IsDigit(text[at + count]); ++count) number += text[at + count];
    return count;
}

// Digits with at most one system decimal mark, at least one digit; the mark is
// copied as "." for the conversion. Returns the position after the mantissa, or
// nothing when there is no digit.
std::optional<std::size_t> ScanMantissa(const std::string& text, std::size_t at, std::size_t end,
                                        std::string& number) {
    std::size_t digits = ScanDigits(text, at, end, number);
    at += digits;
    if (at < end && text[at] == SystemDecimalMark()) {
        number += '.';
        const std::size_t decimals = ScanDigits(text, at + 1, end, number);
        at += 1 + decimals;
        digits += decimals;
    }
    if (digits == 0) return std::nullopt;
    return at;
}

// "e" or "E", an optional sign and at least one digit.
std::optional<std::size_t> ScanExponent(const std::string& text, std::size_t at, std::size_t end,
                                        std::string& number) {
    if (at == end || (text[at] != 'e' && text[at] != 'E')) return at;
    number += 'e';
    ++at;
    if (at < end && (text[at] == '+' || text[at] == '-')) number += text[at++];
    const std::size_t digits = ScanDigits(text, at, end, number);
    if (digits == 0) return std::nullopt;
    return at + digits;
}

// A floating-point number in the system's format: blanks around it, an optional
// sign, the mantissa and an optional exponent. Independent of the C locale.
// Values beyond the range of a double are not numbers.
std::optional<double> ReadFloat(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    const std::size_t end = text.find_last_not_of(' ') + 1;
    std::string number;
    std::size_t at = begin;
    if (text[at] == '+' || text[at] == '-') {
        if (text[at] == '-') number += '-';
        ++at;
    }
    const std::optional<std::size_t> afterMantissa = ScanMantissa(text, at, end, number);
    if (!afterMantissa) return std::nullopt;
    const std::optional<std::size_t> afterExponent = ScanExponent(text, *afterMantissa, end, number);
    if (!afterExponent || *afterExponent != end) return std::nullopt;
    double value = 0.0;
    const char* last = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), last, value);
    if (error != std::errc{} || stop != last) return std::nullopt;
    return value;
}

template <typename TInteger>
TParsedNumber<TInteger> ParseWholeNumber(const std::string& text, bool AllowZero, bool AllowNegative) {
    if (text.empty() || !IsIntegerText(text)) return Unreadable<TInteger>();
    TInteger value = 0;
    const char* last = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc{} || stop != last) return Unreadable<TInteger>();
    return {value, SignRulesHold(value, AllowZero, AllowNegative)};
}

}  // namespace

TKeyFilterResult FilterIntegerKey(const TEntryBoxState& box, char32_t key, bool AllowNegative, int MaxLength) {
    if (key == KeyBackspace) return Accepted();
    if (IsDigitKey(key)) return CharacterCount(box.Text) < MaxLength ? Accepted() : Refused();
    if (IsMinusKey(key) && AllowNegative) {
        return box.Text.find(MinusSign) == std::string::npos ? Accepted() : Refused();
    }
    return Refused();
}

TKeyFilterResult FilterDecimalKey(const TEntryBoxState& box, char32_t key, bool AllowNegative, int MaxDecimals,
                                  int MaxIntegerDigits) {
    if (key == KeyBackspace || key == KeyTab || key == KeyEnter) return Accepted();
    if (IsDigitKey(key)) return FilterDigitAtLimits(box, MaxDecimals, MaxIntegerDigits);
    const bool isMinus = IsMinusKey(key) && AllowNegative;
    if (!isMinus && !IsDecimalMarkKey(key)) return Refused();
    const char sign = isMinus ? MinusSign : SystemDecimalMark();
    const bool alreadyThere = WithoutSelection(box.Text, box.SelectedText).find(sign) != std::string::npos;
    return alreadyThere ? Refused() : Accepted();
}

TKeyFilterResult FilterCalculatorKey(const TEntryBoxState& box, char32_t key, bool AllowNegative) {
    if (key == KeyBackspace || IsDigitKey(key)) return Accepted();
    const bool isMinus = IsMinusKey(key) && AllowNegative;
    if (!isMinus && !IsDecimalMarkKey(key)) return Refused();
    const char sign = isMinus ? MinusSign : SystemDecimalMark();
    return box.Text.find(sign) == std::string::npos ? Accepted() : Refused();
}

TParsedNumber<double> ParseDecimalText(const std::string& text, bool AllowZero, bool AllowNegative) {
    const std::string systemText = ToSystemDecimalMark(text);
    if (systemText.empty() || !IsDecimalText(systemText)) return Unreadable<double>();
    const std::optional<double> value = ReadFloat(systemText);
    if (!value) return Unreadable<double>();
    return {*value, SignRulesHold(*value, AllowZero, AllowNegative)};
}

TParsedNumber<std::int32_t> ParseIntegerText(const std::string& text, bool AllowZero, bool AllowNegative) {
    return ParseWholeNumber<std::int32_t>(text, AllowZero, AllowNegative);
}

TParsedNumber<std::int64_t> ParseInteger64Text(const std::string& text, bool AllowZero, bool AllowNegative) {
    return ParseWholeNumber<std::int64_t>(text, AllowZero, AllowNegative);
}

TDecimalEntry ReadDecimalEntry(const std::string& text, bool AllowZero, bool AllowNegative) {
    if (text == "-") return {0.0, TEntryOutcome::Incomplete};
    const TParsedNumber<double> parsed = ParseDecimalText(text, AllowZero, AllowNegative);
    return {parsed.Value, parsed.Valid ? TEntryOutcome::Valid : TEntryOutcome::Invalid};
}

TParsedNumber<double> ReadPositiveText(const std::string& text, bool AllowZero) {
    const std::optional<double> value = ReadFloat(ToSystemDecimalMark(text));
    if (!value) return Unreadable<double>();
    const bool valid = AllowZero ? *value >= 0.0 : *value > 0.0;
    return {*value, valid};
}

TResetEntry ResetTextIfInvalid(const std::string& text, const std::string& DefaultText, bool AllowZero) {
    if (ReadPositiveText(text, AllowZero).Valid) return {true, text};
    return {false, DefaultText};
}

bool IsDecimalText(const std::string& text) {
    const char mark = SystemDecimalMark();
    for (char c : text) {
        if (!IsDigit(c) && c != MinusSign && c != mark) return false;
    }
    return true;
}

bool IsIntegerText(const std::string& text) {
    for (char c : text) {
        if (!IsDigit(c) && c != MinusSign) return false;
    }
    return true;
}
