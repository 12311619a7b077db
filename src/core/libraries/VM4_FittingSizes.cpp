#include "libraries/VM4_FittingSizes.h"

#include <array>

namespace {

constexpr std::array<std::int32_t, FittingSizes::Count> kSizes_mm = {
    0,   10,  12,  15,  20,  25,  32,  40,  50,  65,   80,   90,   100,  125,
    150, 200, 250, 300, 400, 450, 500, 600, 800, 900, 1000, 1200, 1400, 1500};

constexpr std::array<const char*, FittingSizes::Count> kInches = {
    "",      "0.25\"", "0.38\"", "0.5\"", "0.75\"", "1\"",  "1-1/4\"", "1-1/2\"", "2\"",  "2-1/2\"",
    "3\"",   "3-1/2\"", "4\"",   "5\"",   "6\"",    "8\"",  "10\"",    "12\"",    "16\"", "18\"",
    "20\"",  "24\"",   "30\"",   "36\"",  "42\"",   "48\"", "54\"",    "60\""};

bool inList(int index) { return index > 0 && index < FittingSizes::Count; }

}  // namespace

namespace FittingSizes {

std::int32_t SizeOfIndex(int index) { return inList(index) ? kSizes_mm[static_cast<std::size_t>(index)] : 0; }

int IndexOfSize(std::int32_t size_mm) {
    for (int index = 1; index < Count; ++index)
        if (kSizes_mm[static_cast<std::size_t>(index)] == size_mm) return index;
    return 0;
}

std::string MetricText(int index, const std::string& none) {
    return inList(index) ? std::to_string(SizeOfIndex(index)) + " mm" : none;
}

std::string ImperialText(int index, const std::string& none) {
    return inList(index) ? std::string(kInches[static_cast<std::size_t>(index)]) : none;
}

}  // namespace FittingSizes
