#pragma once

#include <string>

// Loss coefficients of fittings that are worked out from their geometry rather
// than looked up by size: long pipe bends, sudden and gradual changes of bore,
// and rounded pipe entrances. Diameters and lengths may be in any one unit,
// since only their ratios are used (the long bend also needs the pipe size in
// mm to choose its table row).
//
// A result either holds a K value or says why there is none, in the words the
// calculators show.

struct TKValueResult {
    bool Valid = false;
    double KValue = 0.0;
    // r/d of the bend or entrance.
    double Ratio = 0.0;
    // Included angle of a gradual change, in degrees.
    double Angle_deg = 0.0;
    // Why there is no K value.
    std::string Refusal;
};

// The refusals, as the calculators show them.
namespace KValueMessages {
inline constexpr const char* InputNotPositive = "Every value must be a number greater than zero.";
inline constexpr const char* RadiusTooSmall =
    "The radius is too small to be classed as a long bend\rConsider use of a Standard Bend.";
inline constexpr const char* LargeLessThanSmall = "The large diameter value cannot\rbe less than the small diameter";
inline constexpr const char* SmallGreaterThanLarge =
    "The small diameter value cannot\rbe greater than the large diameter";
}  // namespace KValueMessages

// A 90 degree bend of radius r on a pipe of bore d: K from the bend table by
// pipe size (mm) and r/d, extrapolated linearly beyond r/d = 20.
TKValueResult LongPipeBendK(double radius, double diameter, bool diameterInInches);

// K referred to the velocity in the larger pipe.
TKValueResult SuddenContractionK(double smallDiameter, double largeDiameter);
// K referred to the velocity in the smaller pipe.
TKValueResult SuddenEnlargementK(double smallDiameter, double largeDiameter);
// A cone of length L between the two bores; K referred to the larger pipe.
TKValueResult GradualContractionK(double largeDiameter, double length, double smallDiameter);
// A cone of length L between the two bores; K referred to the smaller pipe.
TKValueResult GradualEnlargementK(double smallDiameter, double length, double largeDiameter);
// A flush pipe entrance rounded with radius r, on a pipe of bore d.
TKValueResult PipeEntranceK(double radius, double diameter);

// The cone length that gives an included angle between two bores.
double ConeLengthForAngle(double largeDiameter, double smallDiameter, double angle_deg);
// The angle spinner's next angle: the shown angle rounded to whole degrees,
// moved one degree up or down and kept within 1 to 180 degrees.
double SteppedConeAngle(double angle_deg, bool up);
