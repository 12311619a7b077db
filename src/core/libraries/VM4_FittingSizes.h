#pragma once

#include <cstdint>
#include <string>

// The nominal sizes a fitting type can be made for, shared by the size
// selectors of the fitting manager: index 0 is "not size-specific" (size 0),
// indices 1 to 27 run from 10 to 1500 mm.
namespace FittingSizes {

inline constexpr int Count = 28;
// The selector's start: 25 mm, 1".
inline constexpr int DefaultIndex = 5;

// Size in mm of an index; 0 for index 0 or an index outside the list.
std::int32_t SizeOfIndex(int index);
// The index of a size in mm; 0 for a size not in the list.
int IndexOfSize(std::int32_t size_mm);
// "10 mm" ... "1500 mm"; `none` for index 0.
std::string MetricText(int index, const std::string& none);
// 0.25" ... 60"; `none` for index 0.
std::string ImperialText(int index, const std::string& none);

}  // namespace FittingSizes
