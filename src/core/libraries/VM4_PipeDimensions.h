#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A pipe size's three related lengths as the user typed them, in one display
// unit (mm or inch). A length that is not a number above zero counts as not set.
struct TPipeDimensions {
    std::optional<double> InternalDiameter;
    std::optional<double> WallThickness;
    std::optional<double> OutsideDiameter;

    bool AllSet() const { return InternalDiameter && WallThickness && OutsideDiameter; }
};

// Asks the user a Yes/No question; true for Yes.
using TAskYesNo = std::function<bool(const std::string&)>;

// Completes typed pipe dimensions: a missing one is proposed from the other two
// (OD = ID + 2 WT, ID = OD - 2 WT, WT = (OD - ID) / 2), and an outside diameter
// that disagrees with the others by more than 0.05 % is proposed anew. Each
// proposal is asked; a Yes fills the value in. True when all three are set and
// agree.
bool CompletePipeDimensions(TPipeDimensions& dimensions, const TAskYesNo& ask);

// The texts of the size grid's derived columns, per length of pipe: internal
// volume pi D^2 / 4 and outside surface pi D, both x 100 (per 100 m or 100 ft).
double InternalVolumePer100(double internalDiameter);
double SurfaceAreaPer100(double outsideDiameter);

class TPipe;

// The seven cells of a size in the size grid: nominal size; internal diameter,
// wall thickness and outside diameter in mm or inch (3 decimals); weight in
// kgs/m or lbs/ft (3 decimals); internal volume in m³ per 100 m or ft³ per
// 100 ft and surface area in m² per 100 m or ft² per 100 ft (4 decimals).
std::vector<std::string> PipeSizeRowTexts(const TPipe& size, bool metric);
// The display units of the diameter manager.
int PipeLengthUnit(bool metric);
int PipeWeightUnit(bool metric);
