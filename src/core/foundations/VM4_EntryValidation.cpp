#include "foundations/VM4_EntryValidation.h"

#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_ShortString.h"

namespace {

std::string ReplaceFirst(std::string text, char from, char to) {
    const std::size_t position = text.find(from);
    if (position != std::string::npos) text[position] = to;
    return text;
}

std::size_t MissingCharacters(const std::string& text, std::size_t width) {
    const std::size_t length = Utf8Length(text);
    return length < width ? width - length : 0;
}

}  // namespace

std::string ToSystemDecimalMark(const std::string& text) {
    const char mark = SystemDecimalMark();
    if (mark == '.') return ReplaceFirst(text, ',', '.');
    if (mark == ',') return ReplaceFirst(text, '.', ',');
    return text;
}

std::string ToFileDecimalMark(const std::string& text) { return ReplaceFirst(text, SystemDecimalMark(), '.'); }

std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(MissingCharacters(text, width), ' ') + text;
}

std::string PadRight(const std::string& text, std::size_t width) {
    return text + std::string(MissingCharacters(text, width), ' ');
}

std::string SingleLine(const std::string& text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        if (c == '\n') continue;
        line += c == '\r' ? ' ' : c;
    }
    return line;
}
