#pragma once

#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"

// The program's one table of units of measure. Every quantity is held in the
// base unit of its kind (m, m², m³, m/sec, kW, kgs, kgs/m, °C, m³/sec, kg/m³,
// kg/sec, and bar gauge for every pressure kind); every value shown or typed
// passes through one of these 90 units.
//
// A unit is named by its index 0..89. Indices are stored in network, pump and
// component files, so the numbering below must never change.
//
// Conversions go from the source unit to the base unit of its kind and from
// there to the target unit, in the exact order of operations of each unit's
// rule, so that results agree digit for digit with files written earlier.

// Raised for a conversion without a rule, a unit index outside the table, or
// a pressure unit without an absolute counterpart.
VELMORA_DECLARE_ERROR(EConversionsClass);

// Length
constexpr int UNIT_M = 0;
constexpr int UNIT_MM = 1;
constexpr int UNIT_FT = 2;
constexpr int UNIT_INCH = 3;
constexpr int UNIT_KM = 4;
constexpr int UNIT_MILE = 5;
// Area
constexpr int UNIT_M2 = 6;
constexpr int UNIT_MM2 = 7;
constexpr int UNIT_FT2 = 8;
constexpr int UNIT_IN2 = 9;
// Volume (also UNIT_LITRES .. UNIT_BRLS below)
constexpr int UNIT_M3 = 10;
constexpr int UNIT_MM3 = 11;
constexpr int UNIT_FT3 = 12;
constexpr int UNIT_IN3 = 13;
// Velocity
constexpr int UNIT_M_SEC = 14;
constexpr int UNIT_FT_SEC = 15;
// Power
constexpr int UNIT_KW = 16;
constexpr int UNIT_HP = 17;
// Weight
constexpr int UNIT_LBS = 18;
constexpr int UNIT_KGS = 19;
// Weight per length
constexpr int UNIT_LBS_FT = 20;
constexpr int UNIT_KGS_M = 21;
// Temperature
constexpr int UNIT_DEG_C = 22;
constexpr int UNIT_DEG_F = 23;
constexpr int UNIT_DEG_K = 24;
// Volume flow
constexpr int UNIT_M3_SEC = 25;
constexpr int UNIT_M3_MIN = 26;
constexpr int UNIT_M3_HOUR = 27;
constexpr int UNIT_L_SEC = 28;
constexpr int UNIT_L_MIN = 29;
constexpr int UNIT_L_HOUR = 30;
constexpr int UNIT_FT3_SEC = 31;
constexpr int UNIT_FT3_MIN = 32;
constexpr int UNIT_FT3_HOUR = 33;
constexpr int UNIT_IN3_SEC = 34;
constexpr int UNIT_IN3_MIN = 35;
constexpr int UNIT_IN3_HOUR = 36;
constexpr int UNIT_UK_GPM = 37;
constexpr int UNIT_US_GPM = 38;
constexpr int UNIT_MGD_UK = 39;
constexpr int UNIT_MGD_USA = 40;
constexpr int UNIT_BRLS_MIN = 41;
constexpr int UNIT_BRLS_HOUR = 42;
constexpr int UNIT_BRLS_DAY = 43;
// Gauge pressure
constexpr int UNIT_BAR_G = 44;
constexpr int UNIT_PSI_G = 45;
constexpr int UNIT_N_M2_G = 46;
constexpr int UNIT_PA_G = 47;
constexpr int UNIT_KPA_G = 48;
constexpr int UNIT_M_H2O = 49;
constexpr int UNIT_MM_H2O = 50;
constexpr int UNIT_FT_H2O = 51;
constexpr int UNIT_IN_H2O = 52;
constexpr int UNIT_MM_HG = 53;
constexpr int UNIT_IN_HG = 54;
// Gauge head of the system's fluid
constexpr int UNIT_M_HD = 55;
constexpr int UNIT_MM_HD = 56;
constexpr int UNIT_FT_HD = 57;
constexpr int UNIT_IN_HD = 58;
// Absolute pressure
constexpr int UNIT_ATM = 59;
constexpr int UNIT_BAR_A = 60;
constexpr int UNIT_PSI_A = 61;
constexpr int UNIT_N_M2_A = 62;
constexpr int UNIT_PA_A = 63;
constexpr int UNIT_KPA_A = 64;
constexpr int UNIT_M_H2O_A = 65;
constexpr int UNIT_MM_H2O_A = 66;
constexpr int UNIT_FT_H2O_A = 67;
constexpr int UNIT_IN_H2O_A = 68;
constexpr int UNIT_MM_HG_A = 69;
constexpr int UNIT_IN_HG_A = 70;
// Absolute head of the system's fluid
constexpr int UNIT_M_HD_A = 71;
constexpr int UNIT_MM_HD_A = 72;
constexpr int UNIT_FT_HD_A = 73;
constexpr int UNIT_IN_HD_A = 74;
// Volume, continued
constexpr int UNIT_LITRES = 75;
constexpr int UNIT_UK_GALLON = 76;
constexpr int UNIT_USA_GALLON = 77;
constexpr int UNIT_BRLS = 78;
// Density
constexpr int UNIT_KG_M3 = 79;
constexpr int UNIT_LB_FT3 = 80;
// Mass flow
constexpr int UNIT_KG_SEC = 81;
constexpr int UNIT_KG_MIN = 82;
constexpr int UNIT_KG_HOUR = 83;
constexpr int UNIT_KN_SEC = 84;
constexpr int UNIT_KN_MIN = 85;
constexpr int UNIT_KN_HOUR = 86;
constexpr int UNIT_LB_SEC = 87;
constexpr int UNIT_LB_MIN = 88;
constexpr int UNIT_LB_HOUR = 89;

constexpr int UNIT_COUNT = 90;

// What a unit measures. Units of one kind convert into each other; pressure
// kinds all share the base unit bar gauge but need the atmospheric pressure
// (absolute kinds) or the fluid density (fluid head kinds) to get there.
enum class TUnitKind {
    Length,
    Area,
    Volume,
    Velocity,
    Power,
    Weight,
    WeightPerLength,
    Temperature,
    Flow,
    Pressure,
    FluidHead,
    AbsolutePressure,
    AbsoluteFluidHead,
    Density,
    MassFlow,
};

// ---- The table ---------------------------------------------------------------
// The queries of one unit raise EConversionsClass for an index outside 0..89
// ("unitName failed : unit 90 does not exist"); unit numbers come from files.

bool isUnitIndex(int unit);
TUnitKind unitKind(int unit);
// The units of one kind in index order, e.g. for filling a unit choice list.
std::vector<int> unitsOfKind(TUnitKind kind);
// Full name ("bar.g", "m³/sec", "UK gpm " with its trailing blank), UTF-8.
std::string unitName(int unit);
// Name without the gauge/absolute or "Fluid" suffix ("bar", "m.hd").
std::string unitShortName(int unit);
// Digits the user may type before the decimal mark.
int unitMaxIntegerDigits(int unit);
// Decimal places values are shown with (and may be typed with).
int unitDecimals(int unit);

// ---- Numeric conversions -------------------------------------------------------
// Unless stated, each raises EConversionsClass with
// "Conversions failed : routine does not exist" when a unit lies outside the
// operation's set or the two units are of different kinds.

// Value in the base unit of the unit's kind. Not for units 55..74, whose rule
// needs the fluid density or the atmospheric pressure.
double toBaseUnit(int unit, double x);

// Both units of one kind among: length, area, volume, velocity, power, weight,
// weight per length, temperature, flow (volume), pressure (gauge, 44..54),
// density. Fluid head, absolute and mass flow units are refused.
double convertUnits(int fromUnit, int toUnit, double x);

// Both units among the gauge pressures and fluid heads (44..58); density in kg/m³.
// A fluid head with density 0 yields an infinite or NaN result.
double convertPressureWithDensity(int fromUnit, int toUnit, double x, double density_kgm3);

// Both units among the gauge and absolute pressures (44..54, 59..70);
// atmospheric pressure in bar absolute. "atm." counts multiples of it.
double convertPressureWithAtmosphere(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a);

// Both units among all pressure kinds (44..74).
double convertPressure(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a, double density_kgm3);

// ---- Conversions to text ---------------------------------------------------------
// The converted value formatted by formatFixed; same unit sets and errors as the
// numeric forms above. "Display" forms use the decimal places of the target unit.

std::string convertUnitsToText(int fromUnit, int toUnit, int decimals, double x);
std::string convertUnitsToDisplayText(int fromUnit, int toUnit, double x);
std::string convertPressureWithDensityToText(int fromUnit, int toUnit, int decimals, double x,
                                             double density_kgm3);
std::string convertPressureWithAtmosphereToText(int fromUnit, int toUnit, int decimals, double x,
                                                double atmosphericPressure_bar_a);
std::string convertPressureToDisplayText(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a,
                                         double density_kgm3);

// Both units among the volume flows (25..43) and mass flows (81..89), in any
// mix: mass flow kg/sec = volume flow m³/sec × density kg/m³.
std::string convertFlowToText(int fromUnit, int toUnit, int decimals, double x, double density_kgm3);

// ---- Associated units ----------------------------------------------------------------

// The mass flow unit with the time base of a volume flow unit: kg/sec, kg/min,
// kg/hour for UNIT_KGS, lb/sec, lb/min, lb/hour for UNIT_LBS. Any other
// combination gives UNIT_KG_SEC. Never raises.
int massFlowUnitFor(int weightUnit, int flowUnit);

// The absolute unit belonging to a gauge (44..54) or absolute (60..70) pressure
// unit. Raises EConversionsClass with
// "associatedAbsolutePressureUnit failed : association does not exist" otherwise.
int associatedAbsolutePressureUnit(int unit);

// ---- Formatting --------------------------------------------------------------------------

// x in fixed notation with `decimals` places (clamped to 0..18), the decimal
// mark of SystemDecimalMark(), no thousands separator. The exact value of x is
// rounded once, half away from zero, at whichever comes first: the last shown
// place or the 15th significant digit; places past the 15th digit show zeros.
//   formatFixed(3, 1234.5678)         -> "1234.568"
//   formatFixed(2, 0.125)             -> "0.13"
//   formatFixed(6, 1234567890.123456) -> "1234567890.123460"
//   formatFixed(2, -0.001)            -> "0.00"    (no negative zero)
// A value that rounds to 1E15 or more in magnitude has more than 15 integer
// digits and is shown in exponent form instead: its 15 significant digits with
// trailing zeros dropped, "E+" and the exponent; `decimals` plays no part:
//   formatFixed(2, 1.5e20)            -> "1.5E+20"
//   formatFixed(0, -1234567890123456) -> "-1.23456789012346E+15"
// Not-a-number and infinities show as "NAN", "INF" and "-INF".
std::string formatFixed(int decimals, double x);

// formatFixed with the decimal places of the unit.
std::string formatInUnit(int unit, double x);

// ---- Unit system summaries ----------------------------------------------------------------
// The unit of each quantity that the metric or imperial preset selects, one per
// line, '\r' as line break; shown when the user switches unit systems.

std::string MetricUnitsSummaryText();
std::string ImperialUnitsSummaryText();

// The question asked before switching to the imperial (or metric) preset: the
// title, the summary of the units it selects and the note that values convert.
std::string UnitSystemChangeQuestion(bool imperial);
