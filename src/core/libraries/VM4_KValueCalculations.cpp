#include "libraries/VM4_KValueCalculations.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMillimetresPerInch = 25.4;

// 90 degree bends: K by pipe size (rows, mm) and r/d (columns 1 to 20). These
// are the fully turbulent friction factor of each size times the equivalent
// length of the bend in diameters for each r/d.
constexpr int kBendColumns = 20;
struct TBendRow {
    int Size_mm;
    std::array<double, kBendColumns> K;
};
constexpr std::array<TBendRow, 19> kBendTable = {{
    {10, {0.62, 0.36, 0.36, 0.44, 0.48, 0.52, 0.64, 0.75, 0.84, 0.93, 1.00, 1.06, 1.13, 1.19, 1.24, 1.29, 1.36, 1.42, 1.49, 1.55}},
    {12, {0.58, 0.34, 0.34, 0.41, 0.45, 0.49, 0.60, 0.70, 0.79, 0.87, 0.93, 0.99, 1.05, 1.11, 1.16, 1.21, 1.27, 1.33, 1.39, 1.45}},
    {15, {0.54, 0.32, 0.32, 0.38, 0.42, 0.46, 0.56, 0.65, 0.73, 0.81, 0.87, 0.92, 0.98, 1.03, 1.08, 1.13, 1.19, 1.24, 1.30, 1.35}},
    {20, {0.50, 0.30, 0.30, 0.35, 0.39, 0.43, 0.52, 0.60, 0.68, 0.75, 0.80, 0.85, 0.90, 0.95, 1.00, 1.05, 1.10, 1.15, 1.20, 1.25}},
    {25, {0.46, 0.28, 0.28, 0.32, 0.36, 0.39, 0.47, 0.55, 0.62, 0.69, 0.74, 0.78, 0.83, 0.87, 0.92, 0.97, 1.02, 1.06, 1.11, 1.15}},
    {32, {0.44, 0.26, 0.26, 0.31, 0.34, 0.37, 0.45, 0.53, 0.60, 0.66, 0.71, 0.75, 0.80, 0.84, 0.88, 0.92, 0.97, 1.01, 1.06, 1.10}},
    {40, {0.42, 0.25, 0.25, 0.29, 0.33, 0.36, 0.43, 0.50, 0.57, 0.63, 0.67, 0.71, 0.76, 0.80, 0.84, 0.88, 0.93, 0.97, 1.01, 1.05}},
    {50, {0.38, 0.23, 0.23, 0.27, 0.30, 0.32, 0.39, 0.46, 0.52, 0.57, 0.61, 0.65, 0.69, 0.72, 0.76, 0.80, 0.84, 0.87, 0.91, 0.95}},
    {65, {0.36, 0.22, 0.22, 0.25, 0.28, 0.31, 0.37, 0.43, 0.49, 0.54, 0.58, 0.61, 0.65, 0.68, 0.72, 0.76, 0.80, 0.83, 0.87, 0.90}},
    {80, {0.36, 0.22, 0.22, 0.25, 0.28, 0.31, 0.37, 0.43, 0.49, 0.54, 0.58, 0.61, 0.65, 0.68, 0.72, 0.76, 0.80, 0.83, 0.87, 0.90}},
    {90, {0.35, 0.21, 0.21, 0.25, 0.27, 0.30, 0.36, 0.42, 0.47, 0.53, 0.56, 0.60, 0.63, 0.67, 0.70, 0.74, 0.77, 0.81, 0.84, 0.88}},
    {100, {0.34, 0.20, 0.20, 0.24, 0.27, 0.29, 0.35, 0.41, 0.46, 0.51, 0.55, 0.58, 0.62, 0.65, 0.68, 0.71, 0.75, 0.78, 0.82, 0.85}},
    {125, {0.32, 0.19, 0.19, 0.23, 0.25, 0.28, 0.33, 0.39, 0.43, 0.48, 0.51, 0.55, 0.58, 0.61, 0.64, 0.67, 0.70, 0.74, 0.77, 0.80}},
    {150, {0.30, 0.18, 0.18, 0.21, 0.24, 0.26, 0.31, 0.36, 0.41, 0.45, 0.48, 0.51, 0.54, 0.57, 0.60, 0.63, 0.66, 0.69, 0.72, 0.75}},
    {200, {0.28, 0.17, 0.17, 0.20, 0.22, 0.24, 0.29, 0.34, 0.38, 0.42, 0.45, 0.48, 0.51, 0.53, 0.56, 0.59, 0.62, 0.64, 0.67, 0.70}},
    {250, {0.28, 0.17, 0.17, 0.20, 0.22, 0.24, 0.29, 0.34, 0.38, 0.42, 0.45, 0.48, 0.51, 0.53, 0.56, 0.59, 0.62, 0.64, 0.67, 0.70}},
    {300, {0.26, 0.16, 0.16, 0.18, 0.20, 0.22, 0.27, 0.31, 0.35, 0.39, 0.42, 0.44, 0.47, 0.49, 0.52, 0.55, 0.58, 0.60, 0.63, 0.65}},
    {400, {0.26, 0.16, 0.16, 0.18, 0.20, 0.22, 0.27, 0.31, 0.35, 0.39, 0.42, 0.44, 0.47, 0.49, 0.52, 0.55, 0.58, 0.60, 0.63, 0.65}},
    {450, {0.24, 0.14, 0.14, 0.17, 0.19, 0.20, 0.25, 0.29, 0.33, 0.36, 0.39, 0.41, 0.44, 0.46, 0.48, 0.50, 0.53, 0.55, 0.58, 0.60}},
}};

// Rounded entrances: K from the first r/d of each step.
struct TEntranceStep {
    double RatioFrom;
    double K;
};
constexpr std::array<TEntranceStep, 16> kEntranceSteps = {{{0.01, 0.45}, {0.02, 0.28}, {0.03, 0.26}, {0.04, 0.24},
                                                          {0.05, 0.20}, {0.06, 0.15}, {0.07, 0.14}, {0.08, 0.13},
                                                          {0.09, 0.11}, {0.10, 0.09}, {0.11, 0.08}, {0.12, 0.07},
                                                          {0.13, 0.06}, {0.14, 0.05}, {0.15, 0.04}, {999999999.0, 0.03}}};
// Below the first step the rounding is too small to matter: a sharp-edged entrance.
constexpr double kSharpEntranceK = 0.5;

// Ratios are printed with two decimals; a ratio that prints as a step's value
// belongs to that step, whatever its last bits.
constexpr double kRatioTolerance = 1e-9;

bool positive(double value) { return std::isfinite(value) && value > 0.0; }

TKValueResult refused(const char* message) {
    TKValueResult result;
    result.Refusal = message;
    return result;
}

TKValueResult valid(double k, double ratio = 0.0, double angle_deg = 0.0) {
    TKValueResult result;
    result.Valid = true;
    result.KValue = k;
    result.Ratio = ratio;
    result.Angle_deg = angle_deg;
    return result;
}

// The last row whose size is not above the pipe's; the largest size for a
// pipe below the table.
const TBendRow& bendRow(double size_mm) {
    if (size_mm < kBendTable.front().Size_mm) return kBendTable.back();
    const TBendRow* row = &kBendTable.front();
    for (const TBendRow& candidate : kBendTable)
        if (candidate.Size_mm <= size_mm) row = &candidate;
    return *row;
}

// Half angle of a cone, phi = atan(((D - d) / 2) / L), in radians.
double coneHalfAngle(double largeDiameter, double smallDiameter, double length) {
    return std::atan((largeDiameter - smallDiameter) / 2.0 / length);
}

double toDegrees(double radians) { return radians * 180.0 / kPi; }

}  // namespace

TKValueResult LongPipeBendK(double radius, double diameter, bool diameterInInches) {
    if (!positive(radius) || !positive(diameter)) return refused(KValueMessages::InputNotPositive);
    const double ratio = radius / diameter;
    if (ratio < 1.0) return refused(KValueMessages::RadiusTooSmall);
    const double size_mm = std::trunc((diameterInInches ? diameter * kMillimetresPerInch : diameter) + 0.5);
    const TBendRow& row = bendRow(size_mm);
    const int column = std::max(1, static_cast<int>(std::min(std::trunc(ratio + 0.9), 1e6)));
    if (column <= kBendColumns) return valid(row.K[static_cast<std::size_t>(column - 1)], ratio);
    // Beyond the table the loss grows on as it does from r/d 10 to 20.
    const double k10 = row.K[9];
    const double k20 = row.K[19];
    return valid(k10 + (column - 10) * (k20 - k10) / 10.0, ratio);
}

// The loss of a contraction is K1 = 0.5 (1 - beta^2) on the small pipe's
// velocity; on the large pipe's velocity it is K1 / beta^4 = K1 (D/d)^4, since
// the velocities differ by the ratio of the areas.
TKValueResult SuddenContractionK(double smallDiameter, double largeDiameter) {
    if (!positive(smallDiameter) || !positive(largeDiameter)) return refused(KValueMessages::InputNotPositive);
    if (smallDiameter > largeDiameter) return refused(KValueMessages::LargeLessThanSmall);
    const double beta2 = std::pow(smallDiameter / largeDiameter, 2);
    return valid(0.5 * (1.0 - beta2) / (beta2 * beta2));
}

// K = (1 - beta^2)^2 on the small pipe's velocity (Borda-Carnot).
TKValueResult SuddenEnlargementK(double smallDiameter, double largeDiameter) {
    if (!positive(smallDiameter) || !positive(largeDiameter)) return refused(KValueMessages::InputNotPositive);
    if (smallDiameter > largeDiameter) return refused(KValueMessages::SmallGreaterThanLarge);
    const double beta2 = std::pow(smallDiameter / largeDiameter, 2);
    return valid(std::pow(1.0 - beta2, 2));
}

// K1 = 0.8 sin(phi) (1 - beta^2) below 45 degrees included, 0.5 (1 - beta^2)
// sqrt(sin phi) up to 180, on the small pipe's velocity; K = K1 / beta^4 on the
// large pipe's.
TKValueResult GradualContractionK(double largeDiameter, double length, double smallDiameter) {
    if (!positive(largeDiameter) || !positive(length) || !positive(smallDiameter))
        return refused(KValueMessages::InputNotPositive);
    if (smallDiameter > largeDiameter) return refused(KValueMessages::LargeLessThanSmall);
    const double phi = coneHalfAngle(largeDiameter, smallDiameter, length);
    const double theta_deg = toDegrees(2.0 * phi);
    const double beta2 = std::pow(smallDiameter / largeDiameter, 2);
    double k1 = 0.0;
    if (theta_deg > 0.0 && theta_deg < 45.0) k1 = 0.8 * std::sin(phi) * (1.0 - beta2);
    if (theta_deg >= 45.0) k1 = 0.5 * (1.0 - beta2) * std::sqrt(std::sin(phi));
    return valid(k1 / (beta2 * beta2), 0.0, theta_deg);
}

// K = 2.6 sin(phi) (1 - beta^2)^2 below 45 degrees included, (1 - beta^2)^2
// up to 180, on the small pipe's velocity.
TKValueResult GradualEnlargementK(double smallDiameter, double length, double largeDiameter) {
    if (!positive(smallDiameter) || !positive(length) || !positive(largeDiameter))
        return refused(KValueMessages::InputNotPositive);
    if (smallDiameter > largeDiameter) return refused(KValueMessages::SmallGreaterThanLarge);
    const double phi = coneHalfAngle(largeDiameter, smallDiameter, length);
    const double theta_deg = toDegrees(2.0 * phi);
    const double loss = std::pow(1.0 - std::pow(smallDiameter / largeDiameter, 2), 2);
    double k = 0.0;
    if (theta_deg > 0.0 && theta_deg < 45.0) k = 2.6 * std::sin(phi) * loss;
    if (theta_deg >= 45.0) k = loss;
    return valid(k, 0.0, theta_deg);
}

TKValueResult PipeEntranceK(double radius, double diameter) {
    if (!positive(radius) || !positive(diameter)) return refused(KValueMessages::InputNotPositive);
    const double ratio = radius / diameter;
    double k = kSharpEntranceK;
    for (const TEntranceStep& step : kEntranceSteps)
        if (step.RatioFrom <= ratio + kRatioTolerance) k = step.K;
    return valid(k, ratio);
}

// L = ((D - d) / 2) / tan(theta / 2)
double ConeLengthForAngle(double largeDiameter, double smallDiameter, double angle_deg) {
    return (largeDiameter - smallDiameter) / 2.0 / std::tan(angle_deg / 2.0 * kPi / 180.0);
}

// A cone of 180 degrees has no length; the spinner stops a degree short of it
// so that the length it sets can be calculated again.
double SteppedConeAngle(double angle_deg, bool up) {
    const double stepped = std::round(angle_deg) + (up ? 1.0 : -1.0);
    return std::clamp(stepped, 1.0, 179.0);
}
