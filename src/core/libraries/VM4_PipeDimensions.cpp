#include "libraries/VM4_PipeDimensions.h"

#include <numbers>

#include "foundations/VM4_Units.h"
#include "model/VM4_Pipe_Class.h"

namespace {

// Below this gap (in the display unit) two lengths leave no wall or bore to propose.
constexpr double kSmallestGap = 0.01;
constexpr double kLowestAgreement = 0.9995;
constexpr double kHighestAgreement = 1.0005;

std::string proposal(double value) { return formatFixed(3, value); }

bool askFor(std::optional<double>& target, double value, const std::string& question, const TAskYesNo& ask) {
    if (!ask(question)) return false;
    target = value;
    return true;
}

void proposeMissingOne(TPipeDimensions& d, const TAskYesNo& ask) {
    if (!d.OutsideDiameter && d.InternalDiameter && d.WallThickness) {
        const double od = *d.InternalDiameter + 2.0 * *d.WallThickness;
        askFor(d.OutsideDiameter, od,
               "Outside Diameter is not set.\rSet Outside Diameter to: " + proposal(od) + "\r" +
                   "based on Internal Diameter and Wall Thickness?",
               ask);
    }
    if (!d.AllSet() && !d.InternalDiameter && d.OutsideDiameter && d.WallThickness &&
        *d.OutsideDiameter - 2.0 * *d.WallThickness > kSmallestGap) {
        const double id = *d.OutsideDiameter - 2.0 * *d.WallThickness;
        askFor(d.InternalDiameter, id,
               "Internal Diameter is not set.\rSet Internal Diameter to:" + proposal(id) + "\r" +
                   "based on Outside Diameter and Wall Thickness?",
               ask);
    }
    if (!d.AllSet() && !d.WallThickness && d.OutsideDiameter && d.InternalDiameter &&
        *d.OutsideDiameter - *d.InternalDiameter >= kSmallestGap) {
        const double wt = (*d.OutsideDiameter - *d.InternalDiameter) / 2.0;
        askFor(d.WallThickness, wt,
               "Wall Thickness is not set.\rSet Wall Thickness to:" + proposal(wt) + "\r" +
                   "based on Internal Diameter and Outside Diameter?",
               ask);
    }
}

}  // namespace

bool CompletePipeDimensions(TPipeDimensions& d, const TAskYesNo& ask) {
    if (!d.AllSet()) proposeMissingOne(d, ask);
    if (!d.AllSet()) return false;
    // OD should equal ID + 2 WT; a disagreement beyond 0.05 % is offered for correction.
    const double expected = *d.InternalDiameter + 2.0 * *d.WallThickness;
    const double ratio = *d.OutsideDiameter / expected;
    if (ratio >= kLowestAgreement && ratio <= kHighestAgreement) return true;
    return askFor(d.OutsideDiameter, expected,
                  "Outside Diameter does not equate with other data.\rSet Outside Diameter to:" + proposal(expected) +
                      "\r" + "based on Internal Diameter and Wall Thickness?",
                  ask);
}

// V = pi D^2 / 4 x 100
double InternalVolumePer100(double internalDiameter) {
    return std::numbers::pi * internalDiameter * internalDiameter / 4.0 * 100.0;
}

// A = pi D x 100
double SurfaceAreaPer100(double outsideDiameter) { return std::numbers::pi * outsideDiameter * 100.0; }

int PipeLengthUnit(bool metric) { return metric ? UNIT_MM : UNIT_INCH; }
int PipeWeightUnit(bool metric) { return metric ? UNIT_KGS_M : UNIT_LBS_FT; }

// Volume and area are per 100 of the length unit the grid's diameters stand
// for: metres in metric, feet in imperial.
std::vector<std::string> PipeSizeRowTexts(const TPipe& size, bool metric) {
    const int length = PipeLengthUnit(metric);
    const int per100 = metric ? UNIT_M : UNIT_FT;
    return {size.NominalSize,
            convertUnitsToText(UNIT_M, length, 3, size.InnerDiameter_m),
            convertUnitsToText(UNIT_M, length, 3, size.WallThickness_m),
            convertUnitsToText(UNIT_M, length, 3, size.OuterDiameter_m),
            convertUnitsToText(UNIT_KGS_M, PipeWeightUnit(metric), 3, size.WeightPerLength_kg_m),
            formatFixed(4, InternalVolumePer100(convertUnits(UNIT_M, per100, size.InnerDiameter_m))),
            formatFixed(4, SurfaceAreaPer100(convertUnits(UNIT_M, per100, size.OuterDiameter_m)))};
}
