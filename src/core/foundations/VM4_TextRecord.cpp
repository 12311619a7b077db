#include "foundations/VM4_TextRecord.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <istream>
#include <ostream>

#include "foundations/VM4_ShortString.h"

namespace {

constexpr std::size_t kSeparatorLength = 3;

// Exponent of the leading digit once `value` is rounded to `precision`
// significant digits (9.9999999 at 7 digits rounds to 1.000000e+01: 1).
int roundedDecimalExponent(double value, int precision) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, precision - 1);
    const char* exponent = std::find(buffer.data(), result.ptr, 'e') + 1;
    int exponentValue = 0;
    std::from_chars(*exponent == '+' ? exponent + 1 : exponent, result.ptr, exponentValue);
    return exponentValue;
}

// The significant digits of `value` rounded to `precision` digits, without sign or mark.
std::string roundedSignificantDigits(double value, int precision) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    std::string digits;
    for (const char* c = buffer.data(); c < result.ptr && *c != 'e'; ++c) {
        if (*c != '.') digits += *c;
    }
    return digits;
}

std::string fixedWithDecimals(double value, int decimals) {
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

bool isNegativeZeroText(const std::string& text) {
    return text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos;
}

}  // namespace

std::vector<std::string> SplitRecordFields(const std::string& line) {
    return SplitRecordFields(line, std::string::npos);
}

std::vector<std::string> SplitRecordFields(const std::string& line, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < maxFields) {
        const std::size_t separator = line.find(kRecordFieldSeparator, start);
        if (separator == std::string::npos) break;
        fields.push_back(line.substr(start, separator - start));
        start = separator + kSeparatorLength;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string JoinRecordFields(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += kRecordFieldSeparator;
        line += fields[i];
    }
    return line;
}

std::string FormatFileDecimal(double value, int decimals, int precision) {
    if (!std::isfinite(value) || value == 0.0) return fixedWithDecimals(std::isfinite(value) ? 0.0 : value, decimals);
    const int integerDigits = roundedDecimalExponent(value, precision) + 1;
    const int decimalsWithinPrecision = std::min(decimals, precision - integerDigits);
    std::string text;
    if (decimalsWithinPrecision >= 0) {
        // One rounding only: at the last decimal that the precision still allows.
        text = fixedWithDecimals(value, decimalsWithinPrecision);
        if (decimals > decimalsWithinPrecision) {
            if (decimalsWithinPrecision == 0) text += '.';
            text.append(static_cast<std::size_t>(decimals - decimalsWithinPrecision), '0');
        }
    } else {
        // More integer digits than the precision: the digits past it become zeros.
        text = (value < 0 ? "-" : "") + roundedSignificantDigits(value, precision);
        text.append(static_cast<std::size_t>(integerDigits - precision), '0');
        if (decimals > 0) text += '.' + std::string(static_cast<std::size_t>(decimals), '0');
    }
    if (isNegativeZeroText(text)) text.erase(0, 1);
    return text;
}

bool ReadRecordLine(std::istream& in, std::string& utf8Line) {
    std::string raw;
    if (!std::getline(in, raw)) return false;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    utf8Line = Windows1252ToUtf8(raw);
    return true;
}

void WriteRecordLine(std::ostream& out, const std::string& utf8Line) {
    out << Utf8ToWindows1252(utf8Line) << "\r\n";
}
