#include "libraries/VM4_PipeSizeClass.h"

#include <array>
#include <cmath>

namespace {

struct TSizeClassBand {
    std::int64_t UpperHundredthsMm;  // last a of the band
    std::int32_t SizeClass;
};

// Bands in ascending order; each starts one above the previous band's end.
constexpr std::array<TSizeClassBand, 27> kBands = {{
    {1, 1},          {1000, 10},      {1200, 12},      {1500, 15},      {2000, 20},     {2500, 25},
    {3200, 32},      {4000, 40},      {5000, 50},      {6500, 65},      {8000, 80},     {9000, 90},
    {10000, 100},    {12500, 125},    {15000, 150},    {20000, 200},    {25000, 250},   {30000, 300},
    {40000, 400},    {45000, 450},    {50000, 500},    {60000, 600},    {80000, 800},   {90000, 900},
    {100000, 1000},  {120000, 1200},  {140000, 1400},
}};

constexpr std::int32_t kOutsideTheBands = 1500;

}  // namespace

std::int32_t PipeSizeClassFromOutsideDiameter(double outsideDiameter_m) {
    // a = trunc(D x 100000 + 0.5): D in hundredths of a millimetre, rounded half up.
    const double a = std::trunc(outsideDiameter_m * 100000.0 + 0.5);
    if (!(a >= 1.0)) return kOutsideTheBands;  // also catches NaN
    for (const TSizeClassBand& band : kBands) {
        if (a <= static_cast<double>(band.UpperHundredthsMm)) return band.SizeClass;
    }
    return kOutsideTheBands;
}
