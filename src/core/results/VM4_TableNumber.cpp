#include "results/VM4_TableNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The length of the run of digits that starts at `at`.
std::size_t digitsFrom(const std::string& text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - at;
}

// Decimals beyond what a double holds would show digits the table never printed.
constexpr int kMaxDecimals = 15;

}  // namespace

bool ReadTableNumber(const std::string& text, char decimalMark, TTableNumber& number) {
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t integerDigits = digitsFrom(text, start);
    if (integerDigits == 0 || (integerDigits > 1 && text[start] == '0')) return false;
    std::size_t end = start + integerDigits;
    int decimals = 0;
    if (end < text.size() && text[end] == decimalMark) {
        decimals = static_cast<int>(digitsFrom(text, end + 1));
        if (decimals == 0 || decimals > kMaxDecimals) return false;
        end += 1 + static_cast<std::size_t>(decimals);
    }
    if (end != text.size()) return false;
    std::string plain = text;
    if (decimals > 0) plain[start + integerDigits] = '.';
    // from_chars reads "." whatever the process's locale says.
    double value = 0.0;
    const auto [last, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size() || !std::isfinite(value)) return false;
    number.Value = value;
    number.Decimals = decimals;
    return true;
}
