#pragma once

#include <cstdint>

// Size class of a pipe size: a band of outside diameters named by a size in mm.
// It travels with the size into the pipe and the network file; the pipe
// diameter manager uses it to find a pipe's size again in a table.
inline constexpr std::int32_t kPlaceholderSizeClass = -1;

// The class of an outside diameter in metres: a = trunc(D x 100000 + 0.5), the
// diameter in hundredths of a millimetre rounded half up, looked up in the band
// table (2..1000 -> 10, 1001..1200 -> 12, ... 120001..140000 -> 1400);
// a of 0 or less, or above 140000, gives 1500.
std::int32_t PipeSizeClassFromOutsideDiameter(double outsideDiameter_m);
