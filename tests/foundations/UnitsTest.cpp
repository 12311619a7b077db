#include "foundations/VM4_Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "common/FuzzyCompare.h"
#include "foundations/VM4_DecimalMark.h"

namespace {

const std::string NO_ROUTINE = "Conversions failed : routine does not exist";
const std::string NO_ASSOCIATION = "associatedAbsolutePressureUnit failed : association does not exist";

constexpr double REL = 1e-12;
constexpr double STANDARD_ATMOSPHERE_BAR_A = 1.01325;
constexpr double WATER_KGM3 = 1000;

// Named ratios for the hand-computed values below.
constexpr double FT_M = 0.3048;
constexpr double PSI_PER_BAR = 14.5037743897;
constexpr double BARREL_M3 = 42 * 0.003785411784;  // 0.158987294928
constexpr double BARREL_M3_ROUNDED = 0.15898729492;
constexpr double BARREL_DRIFT = BARREL_M3 / BARREL_M3_ROUNDED;  // 1.0000000000503...

void expectConversionsError(const std::function<void()>& action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no EConversionsClass raised, expected \"" << message << "\"";
    } catch (const EConversionsClass& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

// The same text with the decimal mark the user has chosen.
std::string withMark(std::string text, char mark) {
    std::replace(text.begin(), text.end(), '.', mark);
    return text;
}

bool isBarrelFlow(int unit) { return unit >= UNIT_BRLS_MIN && unit <= UNIT_BRLS_DAY; }

// ---- The table ----------------------------------------------------------------------

struct TUnitRow {
    int Unit;
    const char* Name;
    const char* ShortName;
    TUnitKind Kind;
    int MaxIntegerDigits;
    int Decimals;
};

using K = TUnitKind;

// Unit numbers, names and digit counts are stored in files and shown to the user.
const TUnitRow UNIT_ROWS[] = {
    {0, "m", "m", K::Length, 6, 3},
    {1, "mm", "mm", K::Length, 6, 3},
    {2, "ft", "ft", K::Length, 6, 3},
    {3, "inch", "inch", K::Length, 6, 3},
    {4, "km", "km", K::Length, 6, 3},
    {5, "mile", "mile", K::Length, 6, 3},
    {6, "m²", "m²", K::Area, 6, 3},
    {7, "mm²", "mm²", K::Area, 6, 3},
    {8, "ft²", "ft²", K::Area, 6, 3},
    {9, "in²", "in²", K::Area, 6, 3},
    {10, "m³", "m³", K::Volume, 6, 3},
    {11, "mm³", "mm³", K::Volume, 6, 3},
    {12, "ft³", "ft³", K::Volume, 6, 3},
    {13, "in³", "in³", K::Volume, 6, 3},
    {14, "m/sec", "m/sec", K::Velocity, 6, 3},
    {15, "ft/sec", "ft/sec", K::Velocity, 6, 3},
    {16, "kW", "kW", K::Power, 6, 3},
    {17, "HP", "HP", K::Power, 6, 3},
    {18, "lbs", "lbs", K::Weight, 6, 3},
    {19, "kgs", "kgs", K::Weight, 6, 3},
    {20, "lbs/ft", "lbs/ft", K::WeightPerLength, 6, 3},
    {21, "kgs/m", "kgs/m", K::WeightPerLength, 6, 3},
    {22, "°C", "°C", K::Temperature, 6, 3},
    {23, "°F", "°F", K::Temperature, 6, 3},
    {24, "°K", "°K", K::Temperature, 6, 3},
    {25, "m³/sec", "m³/sec", K::Flow, 6, 4},
    {26, "m³/min", "m³/min", K::Flow, 6, 3},
    {27, "m³/hour", "m³/hour", K::Flow, 6, 3},
    {28, "l/sec", "l/sec", K::Flow, 6, 3},
    {29, "l/min", "l/min", K::Flow, 6, 2},
    {30, "l/hour", "l/hour", K::Flow, 6, 2},
    {31, "ft³/sec", "ft³/sec", K::Flow, 6, 4},
    {32, "ft³/min", "ft³/min", K::Flow, 6, 3},
    {33, "ft³/hour", "ft³/hour", K::Flow, 6, 3},
    {34, "in³/sec", "in³/sec", K::Flow, 6, 3},
    {35, "in³/min", "in³/min", K::Flow, 6, 2},
    {36, "in³/hour", "in³/hour", K::Flow, 6, 2},
    {37, "UK gpm ", "UK gpm", K::Flow, 6, 2},
    {38, "US gpm", "US gpm", K::Flow, 6, 2},
    {39, "MGD (UK)", "MGD (UK)", K::Flow, 6, 2},
    {40, "MGD (USA)", "MGD (USA)", K::Flow, 6, 2},
    {41, "Brls/min (oil)", "Brls/min (oil)", K::Flow, 6, 3},
    {42, "Brls/hour (oil)", "Brls/hour (oil)", K::Flow, 6, 3},
    {43, "Brls/day (oil)", "Brls/day (oil)", K::Flow, 6, 3},
    {44, "bar.g", "bar", K::Pressure, 5, 4},
    {45, "psi.g", "psi", K::Pressure, 5, 4},
    {46, "N/m².g", "N/m²", K::Pressure, 6, 3},
    {47, "Pa.g", "Pa", K::Pressure, 6, 3},
    {48, "kPa.g", "kPa", K::Pressure, 6, 3},
    {49, "m.H2O", "m.H2O", K::Pressure, 6, 3},
    {50, "mm.H2O", "mm.H2O", K::Pressure, 6, 1},
    {51, "ft.H2O", "ft.H2O", K::Pressure, 6, 2},
    {52, "in.H2O", "in.H2O", K::Pressure, 6, 1},
    {53, "mm Hg", "mm Hg", K::Pressure, 6, 1},
    {54, "in. Hg", "in. Hg", K::Pressure, 6, 1},
    {55, "m.hd Fluid", "m.hd", K::FluidHead, 6, 3},
    {56, "mm.hd Fluid", "mm.hd", K::FluidHead, 6, 1},
    {57, "ft.hd Fluid", "ft.hd", K::FluidHead, 6, 2},
    {58, "in.hd Fluid", "in.hd", K::FluidHead, 6, 1},
    {59, "atm.", "atm.", K::AbsolutePressure, 6, 6},
    {60, "bar.a", "bar", K::AbsolutePressure, 6, 6},
    {61, "psi.a", "psi", K::AbsolutePressure, 6, 6},
    {62, "N/m².a", "N/m²", K::AbsolutePressure, 6, 3},
    {63, "Pa.a", "Pa", K::AbsolutePressure, 6, 3},
    {64, "kPa.a", "kPa", K::AbsolutePressure, 6, 3},
    {65, "m.H2O.a", "m.H2O.a", K::AbsolutePressure, 6, 3},
    {66, "mm.H2O.a", "mm.H2O.a", K::AbsolutePressure, 6, 1},
    {67, "ft.H2O.a", "ft.H2O.a", K::AbsolutePressure, 6, 2},
    {68, "in.H2O.a", "in.H2O.a", K::AbsolutePressure, 6, 1},
    {69, "mm Hg.a", "mm Hg.a", K::AbsolutePressure, 6, 1},
    {70, "in. Hg.a", "in. Hg.a", K::AbsolutePressure, 6, 1},
    {71, "m.hd.a", "m.hd.a", K::AbsoluteFluidHead, 6, 3},
    {72, "mm.hd.a", "mm.hd.a", K::AbsoluteFluidHead, 6, 1},
    {73, "ft.hd.a", "ft.hd.a", K::AbsoluteFluidHead, 6, 2},
    {74, "in.hd.a", "in.hd.a", K::AbsoluteFluidHead, 6, 1},
    {75, "litres", "litres", K::Volume, 6, 3},
    {76, "UK gallon", "UK gallon", K::Volume, 6, 3},
    {77, "USA gallon", "USA gallon", K::Volume, 6, 3},
    {78, "Brls (oil)", "Brls (oil)", K::Volume, 6, 3},
    {79, "kg/m³", "kg/m³", K::Density, 6, 3},
    {80, "lb/ft³", "lb/ft³", K::Density, 6, 3},
    {81, "kg/sec", "kg/sec", K::MassFlow, 6, 3},
    {82, "kg/min", "kg/min", K::MassFlow, 6, 3},
    {83, "kg/hour", "kg/hour", K::MassFlow, 6, 3},
    {84, "kN/sec", "kN/sec", K::MassFlow, 6, 3},
    {85, "kN/min", "kN/min", K::MassFlow, 6, 3},
    {86, "kN/hour", "kN/hour", K::MassFlow, 6, 3},
    {87, "lb/sec", "lb/sec", K::MassFlow, 6, 3},
    {88, "lb/min", "lb/min", K::MassFlow, 6, 3},
    {89, "lb/hour", "lb/hour", K::MassFlow, 6, 3},
};

TEST(UnitTable, EveryRowHoldsItsNamesKindAndDigits) {
    ASSERT_EQ(std::size(UNIT_ROWS), static_cast<std::size_t>(UNIT_COUNT));
    for (const TUnitRow& row : UNIT_ROWS) {
        SCOPED_TRACE(row.Unit);
        EXPECT_TRUE(isUnitIndex(row.Unit));
        EXPECT_EQ(unitName(row.Unit), row.Name);
        EXPECT_EQ(unitShortName(row.Unit), row.ShortName);
        EXPECT_EQ(unitKind(row.Unit), row.Kind);
        EXPECT_EQ(unitMaxIntegerDigits(row.Unit), row.MaxIntegerDigits);
        EXPECT_EQ(unitDecimals(row.Unit), row.Decimals);
    }
}

TEST(UnitTable, NamedIndicesAreTheStoredNumbers) {
    // A renumbered constant would silently change the meaning of saved files.
    const std::pair<int, const char*> cases[] = {
        {UNIT_M, "m"},          {UNIT_INCH, "inch"},     {UNIT_IN2, "in²"},          {UNIT_FT3, "ft³"},
        {UNIT_FT_SEC, "ft/sec"}, {UNIT_LBS, "lbs"},       {UNIT_DEG_K, "°K"},         {UNIT_M3_SEC, "m³/sec"},
        {UNIT_UK_GPM, "UK gpm "}, {UNIT_BRLS_DAY, "Brls/day (oil)"}, {UNIT_BAR_G, "bar.g"},
        {UNIT_IN_HG, "in. Hg"},  {UNIT_M_HD, "m.hd Fluid"}, {UNIT_IN_HD, "in.hd Fluid"}, {UNIT_ATM, "atm."},
        {UNIT_BAR_A, "bar.a"},   {UNIT_IN_HG_A, "in. Hg.a"}, {UNIT_M_HD_A, "m.hd.a"},   {UNIT_IN_HD_A, "in.hd.a"},
        {UNIT_LITRES, "litres"}, {UNIT_BRLS, "Brls (oil)"}, {UNIT_KG_M3, "kg/m³"},     {UNIT_LB_FT3, "lb/ft³"},
        {UNIT_KG_SEC, "kg/sec"}, {UNIT_KN_MIN, "kN/min"}, {UNIT_LB_HOUR, "lb/hour"},
    };
    for (const auto& [unit, name] : cases) EXPECT_EQ(unitName(unit), name) << unit;
}

TEST(UnitTable, IndicesOutsideTheTableRaiseNamingTheQuery) {
    // Unit numbers come from files; a damaged byte must not read past the table.
    for (int unit : {-1, 90, 255}) {
        const std::string index = std::to_string(unit);
        EXPECT_FALSE(isUnitIndex(unit));
        expectConversionsError([unit] { unitName(unit); }, "unitName failed : unit " + index + " does not exist");
        expectConversionsError([unit] { unitShortName(unit); },
                               "unitShortName failed : unit " + index + " does not exist");
        expectConversionsError([unit] { unitMaxIntegerDigits(unit); },
                               "unitMaxIntegerDigits failed : unit " + index + " does not exist");
        expectConversionsError([unit] { unitDecimals(unit); },
                               "unitDecimals failed : unit " + index + " does not exist");
        expectConversionsError([unit] { unitKind(unit); }, "unitKind failed : unit " + index + " does not exist");
        expectConversionsError([unit] { formatInUnit(unit, 1); },
                               "unitDecimals failed : unit " + index + " does not exist");
    }
}

TEST(UnitTable, UnitsOfKindListsTheGroupsInIndexOrder) {
    EXPECT_EQ(unitsOfKind(K::Volume), (std::vector<int>{10, 11, 12, 13, 75, 76, 77, 78}));
    EXPECT_EQ(unitsOfKind(K::Temperature), (std::vector<int>{22, 23, 24}));
    EXPECT_EQ(unitsOfKind(K::FluidHead), (std::vector<int>{55, 56, 57, 58}));
    EXPECT_EQ(unitsOfKind(K::AbsoluteFluidHead), (std::vector<int>{71, 72, 73, 74}));
    const std::vector<int> flows = unitsOfKind(K::Flow);
    ASSERT_EQ(flows.size(), 19u);
    EXPECT_EQ(flows.front(), 25);
    EXPECT_EQ(flows.back(), 43);
    const std::vector<int> absolute = unitsOfKind(K::AbsolutePressure);
    ASSERT_EQ(absolute.size(), 12u);
    EXPECT_EQ(absolute.front(), 59);
    EXPECT_EQ(absolute.back(), 70);
}

// ---- Values in the base unit -------------------------------------------------------------

struct TBaseCase {
    int Unit;
    double X;
    double Base;
};

TEST(ToBaseUnit, EveryUnitWithoutDensityOrAtmosphere) {
    const TBaseCase cases[] = {
        {UNIT_M, 2, 2},
        {UNIT_MM, 2, 0.002},                     // 2 / 1000
        {UNIT_FT, 2, 0.6096},                    // 2 × 0.3048
        {UNIT_INCH, 2, 0.0508},                  // 2 × 0.0254
        {UNIT_KM, 2, 2000},                      // 2 × 1000
        {UNIT_MILE, 2, 3218.688},                // 2 × 1609.344
        {UNIT_M2, 2, 2},
        {UNIT_MM2, 2, 2e-6},                     // 2 / 1000 / 1000
        {UNIT_FT2, 2, 0.18580608},               // 2 × 0.3048²
        {UNIT_IN2, 2, 0.00129032},               // 2 × 0.3048² / 144
        {UNIT_M3, 2, 2},
        {UNIT_MM3, 2, 2e-9},                     // 2 / 1000³
        {UNIT_FT3, 2, 0.056633693184},           // 2 × 0.028316846592
        {UNIT_IN3, 2, 3.2774128e-5},             // 2 × 0.028316846592 / 1728
        {UNIT_M_SEC, 2, 2},
        {UNIT_FT_SEC, 2, 0.6096},                // 2 × 0.3048
        {UNIT_KW, 2, 2},
        {UNIT_HP, 2, 1.4913998},                 // 2 × 0.7456999
        {UNIT_LBS, 2, 0.90718474},               // 2 × 0.45359237
        {UNIT_KGS, 2, 2},
        {UNIT_LBS_FT, 2, 2.9763278871391076},    // 2 × 0.45359237 / 0.3048
        {UNIT_KGS_M, 2, 2},
        {UNIT_DEG_C, 2, 2},
        {UNIT_DEG_F, 100, 37.777777777777778},   // (100 - 32) / 1.8
        {UNIT_DEG_K, 0, -273.15},                // 0 - 273.15
        {UNIT_M3_SEC, 2, 2},
        {UNIT_M3_MIN, 2, 0.033333333333333333},  // 2 / 60
        {UNIT_M3_HOUR, 2, 5.5555555555555556e-4},  // 2 / 3600
        {UNIT_L_SEC, 2, 0.002},                  // 2 / 1000
        {UNIT_L_MIN, 2, 3.3333333333333333e-5},  // 2 / 1000 / 60
        {UNIT_L_HOUR, 2, 5.5555555555555556e-7},  // 2 / 1000 / 3600
        {UNIT_FT3_SEC, 2, 0.056633693184},       // 2 × 0.028316846592
        {UNIT_FT3_MIN, 2, 9.438948864e-4},       // 2 × 0.028316846592 / 60
        {UNIT_FT3_HOUR, 2, 1.573158144e-5},      // 2 × 0.028316846592 / 3600
        {UNIT_IN3_SEC, 2, 3.2774128e-5},         // 2 × 0.0254³
        {UNIT_IN3_MIN, 2, 5.4623546666666667e-7},  // 2 × 0.000016387064 / 60
        {UNIT_IN3_HOUR, 2, 9.1039244444444444e-9},  // 2 × 0.000016387064 / 3600
        {UNIT_UK_GPM, 1, 7.57682e-5},            // 0.004546092 / 60
        {UNIT_US_GPM, 2, 1.261803928e-4},        // 2 × 0.003785411784 / 60
        {UNIT_MGD_UK, 1, 0.052616805555555556},  // 0.004546092 × 1e6 / 86400
        {UNIT_MGD_USA, 1, 0.043812636388888889},  // 0.003785411784 × 1e6 / 86400
        {UNIT_BRLS_MIN, 2, 0.0052995764976},     // 2 × 0.158987294928 / 60
        {UNIT_BRLS_HOUR, 2, 8.832627496e-5},     // 2 × 0.158987294928 / 3600
        {UNIT_BRLS_DAY, 2, 3.6802614566666667e-6},  // 2 × 0.158987294928 / 86400
        {UNIT_BAR_G, 2, 2},
        {UNIT_PSI_G, 1, 0.068947570000134584},   // 1 / 14.5037743897
        {UNIT_N_M2_G, 2, 2e-5},                  // 2 / 100000
        {UNIT_PA_G, 2, 2e-5},                    // 2 / 100000
        {UNIT_KPA_G, 2, 0.02},                   // 2 × 1000 / 100000
        {UNIT_M_H2O, 2, 0.196133},               // 2 × 0.0980665
        {UNIT_MM_H2O, 2, 1.96133e-4},            // 2 / 1000 × 0.0980665
        {UNIT_FT_H2O, 2, 0.0597813384},          // 2 × 0.3048 × 0.0980665
        {UNIT_IN_H2O, 2, 0.0049817782},          // 2 / 12 × 0.3048 × 0.0980665
        {UNIT_MM_HG, 760, 1.01325000000325},     // 0.76 × 0.0980665 × 13.5950980632
        {UNIT_IN_HG, 2, 0.067727763158111978},   // 2 / 12 × 0.3048 × 0.0980665 × 13.5950980632
        {UNIT_LITRES, 2, 0.002},                 // 2 / 1000
        {UNIT_UK_GALLON, 2, 0.009092184},        // 2 × 4.546092 / 1000
        {UNIT_USA_GALLON, 2, 0.007570823568},    // 2 × 3.785411784 / 1000
        {UNIT_BRLS, 2, 0.317974589856},          // 2 × 42 × 3.785411784 / 1000
        {UNIT_KG_M3, 2, 2},
        {UNIT_LB_FT3, 1, 16.018463373951245},    // 1 / 2.20462262185 / 0.028316846592
        {UNIT_KG_SEC, 2, 2},
        {UNIT_KG_MIN, 2, 0.033333333333333333},  // 2 / 60
        {UNIT_KG_HOUR, 2, 5.5555555555555556e-4},  // 2 / 3600
        {UNIT_KN_SEC, 2, 203.94324259558564},    // 2 × 1000 / 9.80665
        {UNIT_KN_MIN, 2, 3.3990540432597607},    // 2 × 1000 / 60 / 9.80665
        {UNIT_KN_HOUR, 2, 0.056650900720996017},  // 2 × 1000 / 3600 / 9.80665
        {UNIT_LB_SEC, 2, 0.90718473999949623},   // 2 / 2.20462262185
        {UNIT_LB_MIN, 2, 0.015119745666658271},  // 2 / 60 / 2.20462262185
        {UNIT_LB_HOUR, 2, 2.5199576111097121e-4},  // 2 / 3600 / 2.20462262185
    };
    for (const TBaseCase& c : cases) {
        SCOPED_TRACE(unitName(c.Unit));
        EXPECT_REL_NEAR(toBaseUnit(c.Unit, c.X), c.Base, REL);
    }
}

TEST(ToBaseUnit, UnitsNeedingDensityOrAtmosphereAndUnknownUnitsRaise) {
    for (int unit : {UNIT_M_HD, UNIT_IN_HD, UNIT_ATM, UNIT_BAR_A, UNIT_IN_HG_A, UNIT_M_HD_A, UNIT_IN_HD_A, -1, 90})
        expectConversionsError([unit] { toBaseUnit(unit, 1); }, NO_ROUTINE);
}

// ---- convertUnits ---------------------------------------------------------------------------

struct TConversionCase {
    int From;
    int To;
    double X;
    double Expected;
};

TEST(ConvertUnits, ConvertsWithinEveryGroup) {
    const TConversionCase cases[] = {
        {UNIT_FT, UNIT_M, 10, 3.048},
        {UNIT_M, UNIT_FT, 1, 3.2808398950131234},      // 1 / 0.3048
        {UNIT_MILE, UNIT_FT, 1, 5280},                 // 1609.344 / 0.3048
        {UNIT_INCH, UNIT_MM, 1, 25.4},
        {UNIT_M2, UNIT_IN2, 1, 1550.0031000062000},    // 144 / 0.3048²
        {UNIT_FT2, UNIT_IN2, 1, 144},
        {UNIT_FT3, UNIT_IN3, 1, 1728},
        {UNIT_M3, UNIT_LITRES, 1, 1000},
        {UNIT_BRLS, UNIT_USA_GALLON, 1, 42},
        {UNIT_UK_GALLON, UNIT_M3, 1000, 4.546092},
        {UNIT_FT3, UNIT_USA_GALLON, 1, 7.4805194805194805},  // 28.316846592 / 3.785411784
        {UNIT_FT_SEC, UNIT_M_SEC, 1, 0.3048},
        {UNIT_KW, UNIT_HP, 1, 1.3410220384902828},     // 1 / 0.7456999
        {UNIT_KGS, UNIT_LBS, 1, 2.2046226218487758},   // 1 / 0.45359237
        {UNIT_LBS_FT, UNIT_KGS_M, 1, 1.4881639435695538},  // 0.45359237 / 0.3048
        {UNIT_DEG_F, UNIT_DEG_C, 100, 37.777777777777778},  // (100 - 32) / 1.8
        {UNIT_DEG_F, UNIT_DEG_K, 100, 310.92777777777778},  // 37.777... + 273.15
        {UNIT_DEG_K, UNIT_DEG_C, 0, -273.15},
        {UNIT_DEG_C, UNIT_DEG_F, -40, -40},            // -40 × 1.8 + 32
        {UNIT_DEG_C, UNIT_DEG_F, 100, 212},            // 100 × 1.8 + 32
        {UNIT_UK_GPM, UNIT_M3_SEC, 1, 7.57682e-5},     // 0.004546092 / 60
        {UNIT_MGD_USA, UNIT_M3_SEC, 1, 0.043812636388888889},  // 3785.411784 / 86400
        {UNIT_M3_HOUR, UNIT_L_MIN, 1, 16.666666666666667},  // 1000 / 60
        {UNIT_FT3_MIN, UNIT_US_GPM, 1, 7.4805194805194805},  // 28.316846592 / 3.785411784
        {UNIT_US_GPM, UNIT_UK_GPM, 1, 0.83267381830372109},  // 0.003785411784 / 0.004546092
        {UNIT_IN3_SEC, UNIT_L_SEC, 1, 0.016387064},
        {UNIT_M3_SEC, UNIT_BRLS_MIN, 1, 377.38864624491593},  // 1 / 0.15898729492 × 60
        {UNIT_M3_SEC, UNIT_BRLS_HOUR, 1, 22643.318774694956},  // 1 / 0.15898729492 × 3600
        {UNIT_M3_SEC, UNIT_BRLS_DAY, 1, 543439.65059267894},  // 1 / 0.15898729492 × 86400
        {UNIT_BRLS_DAY, UNIT_M3_SEC, 86400, 0.158987294928},
        {UNIT_BAR_G, UNIT_M_H2O, 1, 10.197162129779283},  // 1 / 0.0980665
        {UNIT_PSI_G, UNIT_BAR_G, 1, 0.068947570000134584},  // 1 / 14.5037743897
        {UNIT_BAR_G, UNIT_PSI_G, 1, 14.5037743897},
        {UNIT_BAR_G, UNIT_KPA_G, 1, 100},
        {UNIT_PA_G, UNIT_N_M2_G, 5, 5},
        {UNIT_BAR_G, UNIT_MM_HG, 1, 750.06168270176383},  // 1000 / (0.0980665 × 13.5950980632)
        {UNIT_BAR_G, UNIT_IN_HG, 1, 29.529987507943458},  // 12 / (0.3048 × 0.0980665 × 13.5950980632)
        {UNIT_IN_HG, UNIT_MM_HG, 1, 25.4},
        {UNIT_FT_H2O, UNIT_IN_H2O, 1, 12},
        {UNIT_MM_H2O, UNIT_M_H2O, 1000, 1},
        {UNIT_KG_M3, UNIT_LB_FT3, 1000, 62.427960576179277},  // 1000 × 0.028316846592 × 2.20462262185
        {UNIT_LB_FT3, UNIT_KG_M3, 1, 16.018463373951245},
    };
    for (const TConversionCase& c : cases) {
        SCOPED_TRACE(unitName(c.From) + " -> " + unitName(c.To));
        EXPECT_REL_NEAR(convertUnits(c.From, c.To, c.X), c.Expected, REL);
    }
}

TEST(ConvertUnits, PairsWithoutARuleRaise) {
    const std::pair<int, int> pairs[] = {
        {UNIT_M, UNIT_M3_SEC},      // length to flow
        {UNIT_M, UNIT_M2},          // length to area
        {UNIT_M3, UNIT_M3_SEC},     // volume to flow
        {UNIT_KGS, UNIT_KG_SEC},    // weight to mass flow
        {UNIT_BAR_G, UNIT_M_HD},    // needs the density
        {UNIT_M_HD, UNIT_FT_HD},    // fluid heads need the density even among themselves
        {UNIT_BAR_G, UNIT_BAR_A},   // needs the atmospheric pressure
        {UNIT_BAR_A, UNIT_PSI_A},
        {UNIT_M_HD_A, UNIT_M_HD_A},
        {UNIT_KG_SEC, UNIT_KG_HOUR},  // mass flows convert only as text, with the density
        {UNIT_KG_M3, UNIT_KG_SEC},
        {UNIT_M, 90},
        {-1, UNIT_M},
    };
    for (const auto& [from, to] : pairs) {
        SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
        expectConversionsError([from, to] { convertUnits(from, to, 1); }, NO_ROUTINE);
        expectConversionsError([from, to] { convertUnitsToText(from, to, 3, 1); }, NO_ROUTINE);
        expectConversionsError([from, to] { convertUnitsToDisplayText(from, to, 1); }, NO_ROUTINE);
    }
}

TEST(ConvertUnits, RoundTripsBetweenEveryPairOfAGroup) {
    const TUnitKind groups[] = {K::Length, K::Area,        K::Volume, K::Velocity, K::Power,   K::Weight,
                                K::WeightPerLength, K::Temperature, K::Flow, K::Pressure, K::Density};
    for (TUnitKind group : groups) {
        const std::vector<int> units = unitsOfKind(group);
        for (int a : units) {
            for (int b : units) {
                SCOPED_TRACE(unitName(a) + " -> " + unitName(b));
                const double x = 123.456;
                // Each pass through a barrel flow goes out by 42 gallons and back by the rounded volume.
                const int barrelPasses = (isBarrelFlow(a) ? 1 : 0) + (isBarrelFlow(b) ? 1 : 0);
                const double expected = x * std::pow(BARREL_DRIFT, barrelPasses);
                EXPECT_REL_NEAR(convertUnits(b, a, convertUnits(a, b, x)), expected, 1e-14);
            }
        }
    }
}

TEST(ConvertUnits, BarrelRoundTripDriftsInTheEleventhDigit) {
    // 1 m³/sec -> 1 / 0.15898729492 × 60 Brls/min -> × 42 × 0.003785411784 / 60 m³/sec
    //          = 0.158987294928 / 0.15898729492 = 1.0000000000503185
    const double back = convertUnits(UNIT_BRLS_MIN, UNIT_M3_SEC, convertUnits(UNIT_M3_SEC, UNIT_BRLS_MIN, 1));
    EXPECT_REL_NEAR(back, 1.0000000000503185, 1e-15);
    EXPECT_EQ(formatFixed(12, back), "1.000000000050");
}

TEST(Conversions, FollowTheStatedOrderOfOperationsToTheLastBit) {
    // Values computed and saved earlier are compared digit for digit, so each
    // rule is applied step by step as written and undone step by step in reverse.
    struct TCase {
        const char* What;
        std::function<double(double)> Actual;
        std::function<double(double)> Expected;
    };
    const double W = 9.80665 * 1000 / 100000;
    const double Pa = STANDARD_ATMOSPHERE_BAR_A;
    const double F = 9.80665 * 998 / 100000;
    const TCase cases[] = {
        {"in² to m²", [](double x) { return toBaseUnit(UNIT_IN2, x); },
         [](double x) { return x * 0.3048 * 0.3048 / 144; }},
        {"m² to in²", [](double x) { return convertUnits(UNIT_M2, UNIT_IN2, x); },
         [](double x) { return x * 144 / 0.3048 / 0.3048; }},
        {"MGD (UK) to m³/sec", [](double x) { return toBaseUnit(UNIT_MGD_UK, x); },
         [](double x) { return x * 0.004546092 * 1000000 / 24 / 3600; }},
        {"m³/sec to MGD (UK)", [](double x) { return convertUnits(UNIT_M3_SEC, UNIT_MGD_UK, x); },
         [](double x) { return x * 3600 * 24 / 1000000 / 0.004546092; }},
        {"lb/ft³ to kg/m³", [](double x) { return toBaseUnit(UNIT_LB_FT3, x); },
         [](double x) { return x / 2.20462262185 / (0.3048 * 0.3048 * 0.3048); }},
        {"m³/sec to Brls/hour", [](double x) { return convertUnits(UNIT_M3_SEC, UNIT_BRLS_HOUR, x); },
         [](double x) { return x / 0.15898729492 * 3600; }},
        {"m³/sec to Brls/day", [](double x) { return convertUnits(UNIT_M3_SEC, UNIT_BRLS_DAY, x); },
         [](double x) { return x / 0.15898729492 * 3600 * 24; }},
        {"°C to °F", [](double x) { return convertUnits(UNIT_DEG_C, UNIT_DEG_F, x); },
         [](double x) { return x * 1.8 + 32; }},
        {"m.hd to bar.g", [](double x) { return convertPressureWithDensity(UNIT_M_HD, UNIT_BAR_G, x, 998); },
         [F](double x) { return x * F; }},
        {"bar.g to in. Hg.a",
         [Pa](double x) { return convertPressureWithAtmosphere(UNIT_BAR_G, UNIT_IN_HG_A, x, Pa); },
         [W, Pa](double x) { return (x + Pa) / 13.5950980632 / W / 0.3048 * 12; }},
        {"bar.g to atm.", [Pa](double x) { return convertPressureWithAtmosphere(UNIT_BAR_G, UNIT_ATM, x, Pa); },
         [Pa](double x) { return (x + Pa) / Pa; }},
        {"in.hd.a to bar.g", [Pa](double x) { return convertPressure(UNIT_IN_HD_A, UNIT_BAR_G, x, Pa, 998); },
         [F, Pa](double x) { return x / 12 * 0.3048 * F - Pa; }},
    };
    for (const TCase& c : cases) {
        for (double x : {0.1, 0.7, 1.3, 2.9, 3.7, 123.456}) {
            SCOPED_TRACE(std::string(c.What) + " of " + std::to_string(x));
            EXPECT_EQ(c.Actual(x), c.Expected(x));
        }
    }
}

// ---- Pressures ------------------------------------------------------------------------------

TEST(ConvertPressureWithDensity, GaugePressuresAndFluidHeads) {
    struct TCase {
        int From;
        int To;
        double X;
        double Density_kgm3;
        double Expected;
    };
    const TCase cases[] = {
        {UNIT_M_HD, UNIT_BAR_G, 10, 998, 0.97870367},              // 10 × 9.80665 × 998 / 100000
        {UNIT_BAR_G, UNIT_FT_HD, 1, 1000, 33.455256331296858},     // 1 / (0.3048 × 0.0980665)
        {UNIT_M_H2O, UNIT_M_HD, 1, WATER_KGM3, 1},                 // water column = head of water
        {UNIT_M_H2O, UNIT_M_HD, 1, 500, 2},                        // half as dense, twice the head
        {UNIT_IN_HD, UNIT_MM_HD, 1, 850, 25.4},
        {UNIT_PSI_G, UNIT_M_HD, 1, 998, 0.70447850675919692},      // 0.0689475700 / 0.0978703670
        {UNIT_MM_HD, UNIT_KPA_G, 1000, 998, 9.787036700000001},    // 1 × 0.0978703670 × 100
        {UNIT_PSI_G, UNIT_BAR_G, 1, 998, 0.068947570000134584},    // density plays no part
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(unitName(c.From) + " -> " + unitName(c.To));
        EXPECT_REL_NEAR(convertPressureWithDensity(c.From, c.To, c.X, c.Density_kgm3), c.Expected, REL);
    }
    for (int unit : {UNIT_BAR_A, UNIT_ATM, UNIT_M_HD_A, UNIT_M3_SEC, UNIT_M, 90})
        expectConversionsError([unit] { convertPressureWithDensity(UNIT_M_HD, unit, 1, 998); }, NO_ROUTINE);
    expectConversionsError([] { convertPressureWithDensityToText(UNIT_BAR_A, UNIT_BAR_G, 3, 1, 998); },
                           NO_ROUTINE);
}

TEST(ConvertPressureWithAtmosphere, GaugeAndAbsolutePressures) {
    struct TCase {
        int From;
        int To;
        double X;
        double Atmosphere_bar_a;
        double Expected;
    };
    const TCase cases[] = {
        {UNIT_BAR_A, UNIT_BAR_G, 1, STANDARD_ATMOSPHERE_BAR_A, -0.01325},       // 1 - 1.01325
        {UNIT_BAR_G, UNIT_BAR_A, 0, STANDARD_ATMOSPHERE_BAR_A, 1.01325},
        {UNIT_ATM, UNIT_BAR_G, 1, STANDARD_ATMOSPHERE_BAR_A, 0},                // 1 × Pa - Pa
        {UNIT_ATM, UNIT_BAR_A, 2, 0.9, 1.8},                                    // multiples of the set Pa
        {UNIT_BAR_G, UNIT_ATM, 1, STANDARD_ATMOSPHERE_BAR_A, 1.9869232667160128},  // (1 + 1.01325) / 1.01325
        {UNIT_PSI_G, UNIT_PSI_A, 0, STANDARD_ATMOSPHERE_BAR_A, 14.695949400363525},  // 1.01325 × 14.5037743897
        {UNIT_KPA_A, UNIT_KPA_G, 101.325, STANDARD_ATMOSPHERE_BAR_A, 0},
        {UNIT_M_H2O_A, UNIT_BAR_G, 10, 1, -0.019335},                           // 10 × 0.0980665 - 1
        {UNIT_MM_HG_A, UNIT_BAR_A, 760, STANDARD_ATMOSPHERE_BAR_A, 1.01325000000325},
        {UNIT_PA_A, UNIT_N_M2_G, 200000, 1, 100000},                            // 2 bar.a at Pa = 1 -> 1 bar.g
        {UNIT_IN_H2O, UNIT_IN_H2O_A, 0, 1, 401.46307597556230},                 // 1 × 12 / (0.3048 × 0.0980665)
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(unitName(c.From) + " -> " + unitName(c.To));
        EXPECT_REL_NEAR(convertPressureWithAtmosphere(c.From, c.To, c.X, c.Atmosphere_bar_a), c.Expected, REL);
    }
    for (int unit : {UNIT_M_HD, UNIT_M_HD_A, UNIT_IN_HD_A, UNIT_KG_M3, UNIT_M3_SEC, -1})
        expectConversionsError([unit] { convertPressureWithAtmosphere(UNIT_BAR_A, unit, 1, 1.01325); },
                               NO_ROUTINE);
    expectConversionsError([] { convertPressureWithAtmosphereToText(UNIT_M_HD, UNIT_BAR_G, 3, 1, 1.01325); },
                           NO_ROUTINE);
}

TEST(ConvertPressure, AllPressureKindsTogether) {
    struct TCase {
        int From;
        int To;
        double X;
        double Atmosphere_bar_a;
        double Density_kgm3;
        double Expected;
    };
    const TCase cases[] = {
        // Both ends absolute: the atmospheric pressure cancels.
        {UNIT_BAR_A, UNIT_PSI_A, 1, STANDARD_ATMOSPHERE_BAR_A, 998, PSI_PER_BAR},
        {UNIT_BAR_A, UNIT_PSI_A, 1, 0.5, 998, PSI_PER_BAR},
        // 0 m.hd gauge is one atmosphere absolute: 1.01325 × 100000 / (1000 × 9.80665)
        {UNIT_M_HD, UNIT_M_HD_A, 0, STANDARD_ATMOSPHERE_BAR_A, WATER_KGM3, 10.332274527998858},
        {UNIT_ATM, UNIT_M_HD_A, 1, STANDARD_ATMOSPHERE_BAR_A, WATER_KGM3, 10.332274527998858},
        {UNIT_IN_HD_A, UNIT_MM_HD_A, 1, STANDARD_ATMOSPHERE_BAR_A, 850, 25.4},
        // 2 ft.hd.a of ρ 998 at Pa 1: 2 × 0.3048 × 0.0978703670 - 1 bar.g, in psi.g
        {UNIT_FT_HD_A, UNIT_PSI_G, 2, 1, 998, -13.638453454921827},
        {UNIT_BAR_G, UNIT_BAR_G, 3.5, STANDARD_ATMOSPHERE_BAR_A, 998, 3.5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(unitName(c.From) + " -> " + unitName(c.To));
        EXPECT_REL_NEAR(convertPressure(c.From, c.To, c.X, c.Atmosphere_bar_a, c.Density_kgm3), c.Expected, REL);
    }
    for (int unit : {UNIT_KG_M3, UNIT_M3_SEC, UNIT_LITRES, UNIT_M, 75, 90})
        expectConversionsError([unit] { convertPressure(UNIT_BAR_G, unit, 1, 1.01325, 998); }, NO_ROUTINE);
}

TEST(ConvertPressure, EveryPressureValueInBarGauge) {
    // 2 in each unit at Pa = 1.01325 bar.a and ρ = 998 kg/m³ (F = 0.0978703670 bar/m).
    const TBaseCase cases[] = {
        {UNIT_M_HD, 2, 0.195740734},             // 2 × F
        {UNIT_MM_HD, 2, 1.95740734e-4},          // 2 / 1000 × F
        {UNIT_FT_HD, 2, 0.0596617757232},        // 2 × 0.3048 × F
        {UNIT_IN_HD, 2, 0.0049718146436},        // 2 / 12 × 0.3048 × F
        {UNIT_ATM, 2, 1.01325},                  // 2 × Pa - Pa
        {UNIT_BAR_A, 2, 0.98675},                // 2 - Pa
        {UNIT_PSI_A, 2, -0.87535485999973083},   // 2 / 14.5037743897 - Pa
        {UNIT_N_M2_A, 2, -1.01323},              // 2 / 100000 - Pa
        {UNIT_PA_A, 2, -1.01323},
        {UNIT_KPA_A, 2, -0.99325},               // 2 × 1000 / 100000 - Pa
        {UNIT_M_H2O_A, 2, -0.817117},            // 2 × 0.0980665 - Pa
        {UNIT_MM_H2O_A, 2, -1.013053867},        // 2 / 1000 × 0.0980665 - Pa
        {UNIT_FT_H2O_A, 2, -0.9534686616},       // 2 × 0.3048 × 0.0980665 - Pa
        {UNIT_IN_H2O_A, 2, -1.0082682218},       // 2 / 12 × 0.3048 × 0.0980665 - Pa
        {UNIT_MM_HG_A, 2, -1.0105835526315704},  // 2 / 1000 × 0.0980665 × 13.5950980632 - Pa
        {UNIT_IN_HG_A, 2, -0.94552223684188802},  // 2 / 12 × 0.3048 × 0.0980665 × 13.5950980632 - Pa
        {UNIT_M_HD_A, 2, -0.817509266},          // 2 × F - Pa
        {UNIT_MM_HD_A, 2, -1.013054259266},      // 2 / 1000 × F - Pa
        {UNIT_FT_HD_A, 2, -0.9535882242768},     // 2 × 0.3048 × F - Pa
        {UNIT_IN_HD_A, 2, -1.0082781853564},     // 2 / 12 × 0.3048 × F - Pa
    };
    for (const TBaseCase& c : cases) {
        SCOPED_TRACE(unitName(c.Unit));
        EXPECT_REL_NEAR(convertPressure(c.Unit, UNIT_BAR_G, c.X, STANDARD_ATMOSPHERE_BAR_A, 998), c.Base, REL);
    }
}

TEST(ConvertPressure, RoundTripsBetweenEveryPairOfPressureUnits) {
    const double atmosphere_bar_a = 0.97;
    const double density_kgm3 = 1030;
    std::vector<int> units;
    for (int unit = UNIT_BAR_G; unit <= UNIT_IN_HD_A; ++unit) units.push_back(unit);
    for (int a : units) {
        // A working pressure of 2.5 bar.g, so no unit sits near its zero.
        const double x = convertPressure(UNIT_BAR_G, a, 2.5, atmosphere_bar_a, density_kgm3);
        for (int b : units) {
            SCOPED_TRACE(unitName(a) + " -> " + unitName(b));
            const double there = convertPressure(a, b, x, atmosphere_bar_a, density_kgm3);
            EXPECT_REL_NEAR(convertPressure(b, a, there, atmosphere_bar_a, density_kgm3), x, 1e-13);
        }
    }
}

// ---- Flows --------------------------------------------------------------------------------------

TEST(ConvertFlowToText, VolumeAndMassFlowsThroughTheDensity) {
    struct TCase {
        int From;
        int To;
        int Decimals;
        double X;
        double Density_kgm3;
        const char* Expected;
    };
    const TCase cases[] = {
        {UNIT_M3_SEC, UNIT_KG_SEC, 3, 0.5, 998, "499.000"},          // 0.5 × 998
        {UNIT_M3_HOUR, UNIT_KG_HOUR, 1, 36, 1000, "36000.0"},        // 36 / 3600 × 1000 × 3600
        {UNIT_KG_SEC, UNIT_L_SEC, 2, 1, 800, "1.25"},                // 1 / 800 × 1000
        {UNIT_LB_MIN, UNIT_KG_SEC, 4, 60, 1000, "0.4536"},           // 60 / 60 / 2.20462262185
        {UNIT_KN_SEC, UNIT_KG_SEC, 3, 9.80665, 1000, "1000.000"},    // 9.80665 × 1000 / 9.80665
        {UNIT_US_GPM, UNIT_UK_GPM, 4, 1, 1000, "0.8327"},            // volume to volume, no density
        {UNIT_KG_HOUR, UNIT_LB_HOUR, 2, 1000, 1000, "2204.62"},      // mass to mass, no density
        {UNIT_BRLS_DAY, UNIT_KG_HOUR, 3, 24, 850, "135.139"},        // 24 × 0.158987294928 / 86400 × 850 × 3600
        {UNIT_KG_SEC, UNIT_BRLS_DAY, 2, 1, 850, "639.34"},           // 1 / 850 / 0.15898729492 × 86400
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(unitName(c.From) + " -> " + unitName(c.To));
        EXPECT_EQ(convertFlowToText(c.From, c.To, c.Decimals, c.X, c.Density_kgm3), c.Expected);
    }
    const std::pair<int, int> refused[] = {
        {UNIT_BAR_G, UNIT_KG_SEC}, {UNIT_KG_SEC, UNIT_KGS}, {UNIT_M3, UNIT_M3_SEC}, {UNIT_M3_SEC, 90}, {-1, UNIT_KG_SEC},
    };
    for (const auto& [from, to] : refused)
        expectConversionsError([from, to] { convertFlowToText(from, to, 3, 1, 998); }, NO_ROUTINE);
}

TEST(MassFlowUnitFor, TakesTheTimeBaseOfTheVolumeFlow) {
    struct TCase {
        int FlowUnit;
        int KgUnit;
        int LbUnit;
    };
    const TCase cases[] = {
        {UNIT_M3_SEC, UNIT_KG_SEC, UNIT_LB_SEC},      {UNIT_M3_MIN, UNIT_KG_MIN, UNIT_LB_MIN},
        {UNIT_M3_HOUR, UNIT_KG_HOUR, UNIT_LB_HOUR},   {UNIT_L_SEC, UNIT_KG_SEC, UNIT_LB_SEC},
        {UNIT_L_MIN, UNIT_KG_MIN, UNIT_LB_MIN},       {UNIT_L_HOUR, UNIT_KG_HOUR, UNIT_LB_HOUR},
        {UNIT_FT3_SEC, UNIT_KG_SEC, UNIT_LB_SEC},     {UNIT_FT3_MIN, UNIT_KG_MIN, UNIT_LB_MIN},
        {UNIT_FT3_HOUR, UNIT_KG_HOUR, UNIT_LB_HOUR},  {UNIT_IN3_SEC, UNIT_KG_SEC, UNIT_LB_SEC},
        {UNIT_IN3_MIN, UNIT_KG_MIN, UNIT_LB_MIN},     {UNIT_IN3_HOUR, UNIT_KG_HOUR, UNIT_LB_HOUR},
        {UNIT_UK_GPM, UNIT_KG_MIN, UNIT_LB_MIN},      {UNIT_US_GPM, UNIT_KG_MIN, UNIT_LB_MIN},
        {UNIT_MGD_UK, UNIT_KG_HOUR, UNIT_LB_HOUR},    {UNIT_MGD_USA, UNIT_KG_HOUR, UNIT_LB_HOUR},
        {UNIT_BRLS_MIN, UNIT_KG_MIN, UNIT_LB_MIN},    {UNIT_BRLS_HOUR, UNIT_KG_HOUR, UNIT_LB_HOUR},
        {UNIT_BRLS_DAY, UNIT_KG_HOUR, UNIT_LB_HOUR},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(unitName(c.FlowUnit));
        EXPECT_EQ(massFlowUnitFor(UNIT_KGS, c.FlowUnit), c.KgUnit);
        EXPECT_EQ(massFlowUnitFor(UNIT_LBS, c.FlowUnit), c.LbUnit);
    }
    // Any other combination falls back to kg/sec.
    EXPECT_EQ(massFlowUnitFor(UNIT_LBS, UNIT_BAR_G), UNIT_KG_SEC);
    EXPECT_EQ(massFlowUnitFor(UNIT_LBS, UNIT_LB_HOUR), UNIT_KG_SEC);
    EXPECT_EQ(massFlowUnitFor(UNIT_LBS, -1), UNIT_KG_SEC);
    EXPECT_EQ(massFlowUnitFor(UNIT_KGS_M, UNIT_M3_HOUR), UNIT_KG_SEC);
    EXPECT_EQ(massFlowUnitFor(255, UNIT_L_MIN), UNIT_KG_SEC);
}

TEST(AssociatedAbsolutePressureUnit, GaugeAndAbsoluteUnitsShareTheirAbsoluteUnit) {
    const std::pair<int, int> cases[] = {
        {UNIT_BAR_G, UNIT_BAR_A},       {UNIT_BAR_A, UNIT_BAR_A},       {UNIT_PSI_G, UNIT_PSI_A},
        {UNIT_PSI_A, UNIT_PSI_A},       {UNIT_N_M2_G, UNIT_N_M2_A},     {UNIT_N_M2_A, UNIT_N_M2_A},
        {UNIT_PA_G, UNIT_PA_A},         {UNIT_PA_A, UNIT_PA_A},         {UNIT_KPA_G, UNIT_KPA_A},
        {UNIT_KPA_A, UNIT_KPA_A},       {UNIT_M_H2O, UNIT_M_H2O_A},     {UNIT_M_H2O_A, UNIT_M_H2O_A},
        {UNIT_MM_H2O, UNIT_MM_H2O_A},   {UNIT_MM_H2O_A, UNIT_MM_H2O_A}, {UNIT_FT_H2O, UNIT_FT_H2O_A},
        {UNIT_FT_H2O_A, UNIT_FT_H2O_A}, {UNIT_IN_H2O, UNIT_IN_H2O_A},   {UNIT_IN_H2O_A, UNIT_IN_H2O_A},
        {UNIT_MM_HG, UNIT_MM_HG_A},     {UNIT_MM_HG_A, UNIT_MM_HG_A},   {UNIT_IN_HG, UNIT_IN_HG_A},
        {UNIT_IN_HG_A, UNIT_IN_HG_A},
    };
    for (const auto& [unit, absolute] : cases) EXPECT_EQ(associatedAbsolutePressureUnit(unit), absolute) << unit;
    for (int unit : {UNIT_ATM, UNIT_M_HD, UNIT_IN_HD, UNIT_M_HD_A, UNIT_IN_HD_A, UNIT_BRLS_DAY, UNIT_LITRES, -1, 90})
        expectConversionsError([unit] { associatedAbsolutePressureUnit(unit); }, NO_ASSOCIATION);
}

// ---- Formatting ---------------------------------------------------------------------------------

struct TFormatCase {
    int Decimals;
    double X;
    const char* Expected;  // with '.' standing for the decimal mark
};

const TFormatCase FORMAT_CASES[] = {
    {3, 1234.5678, "1234.568"},
    {0, 0.4, "0"},
    {4, 0.0123456, "0.0123"},
    {3, 0, "0.000"},
    {2, -3.14159, "-3.14"},
    // Ties of the exact value go away from zero.
    {0, 2.5, "3"},
    {2, 0.125, "0.13"},
    {2, -0.125, "-0.13"},
    {1, 12.25, "12.3"},
    // 1.005 is stored as 1.00499999999999989...: no tie.
    {2, 1.005, "1.00"},
    // Rounding carries into a new digit.
    {1, 9.96, "10.0"},
    {2, 0.999, "1.00"},
    // A negative value that rounds to zero loses its sign.
    {2, -0.001, "0.00"},
    {1, -0.0, "0.0"},
    {2, 1e-20, "0.00"},
    // Places beyond the 15th significant digit are zeros, not binary noise.
    {18, 0.1, "0.100000000000000000"},
    {6, 1234567890.123456, "1234567890.123460"},
    {1, 123456789012345.67, "123456789012346.0"},
    {0, 999999999999999.0, "999999999999999"},
    {2, -999999999999999.0, "-999999999999999.00"},
    // 16 integer digits or more go to exponent form with 15 significant digits.
    {0, 1e15, "1E+15"},
    {3, 999999999999999.625, "1E+15"},
    {2, 1.5e20, "1.5E+20"},
    {0, -1234567890123456.0, "-1.23456789012346E+15"},
    {4, 1.7976931348623157e308, "1.79769313486232E+308"},
    // Decimals are clamped to 0..18.
    {-2, 3.7, "4"},
    {25, 1.0, "1.000000000000000000"},
};

TEST(FormatFixed, FixedNotationWithEitherDecimalMark) {
    for (char mark : {'.', ','}) {
        TScopedDecimalMark scopedMark(mark);
        for (const TFormatCase& c : FORMAT_CASES) {
            SCOPED_TRACE(std::string("mark ") + mark + ", " + c.Expected);
            EXPECT_EQ(formatFixed(c.Decimals, c.X), withMark(c.Expected, mark));
        }
    }
}

TEST(FormatFixed, ValuesThatAreNotNumbers) {
    EXPECT_EQ(formatFixed(3, std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(formatFixed(3, std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(formatFixed(3, -std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatInUnit, UsesTheDecimalPlacesOfTheUnit) {
    TScopedDecimalMark scopedMark(',');
    EXPECT_EQ(formatInUnit(UNIT_M3_SEC, 0.0123456), "0,0123");
    EXPECT_EQ(formatInUnit(UNIT_MM_H2O, 12.34), "12,3");
    EXPECT_EQ(formatInUnit(UNIT_FT_H2O, 12.345), "12,35");
    EXPECT_EQ(formatInUnit(UNIT_BAR_A, 1.01325), "1,013250");
    EXPECT_EQ(formatInUnit(UNIT_US_GPM, 100), "100,00");
}

TEST(ConversionTexts, FormatTheConvertedValue) {
    for (char mark : {'.', ','}) {
        TScopedDecimalMark scopedMark(mark);
        SCOPED_TRACE(mark);
        // 1 / 0.3048 = 3.28083989..., ft shows 3 places
        EXPECT_EQ(convertUnitsToDisplayText(UNIT_M, UNIT_FT, 1), withMark("3.281", mark));
        // 0.01 m³/sec × 1000 × 60 = 600 l/min
        EXPECT_EQ(convertUnitsToText(UNIT_M3_SEC, UNIT_L_MIN, 1, 0.01), withMark("600.0", mark));
        // 100 °F = 37.777... °C
        EXPECT_EQ(convertUnitsToText(UNIT_DEG_F, UNIT_DEG_C, 5, 100), withMark("37.77778", mark));
        // 0 bar.g at 1.01325 bar.a = 1.01325 × 14.5037743897 psi.a, shown with 6 places
        EXPECT_EQ(convertPressureToDisplayText(UNIT_BAR_G, UNIT_PSI_A, 0, STANDARD_ATMOSPHERE_BAR_A, 998),
                  withMark("14.695949", mark));
        // 10 m.hd of ρ 998 = 0.97870367 bar.g
        EXPECT_EQ(convertPressureWithDensityToText(UNIT_M_HD, UNIT_BAR_G, 5, 10, 998), withMark("0.97870", mark));
        // 1 bar.a at 1.01325 bar.a = -0.01325 bar.g
        EXPECT_EQ(convertPressureWithAtmosphereToText(UNIT_BAR_A, UNIT_BAR_G, 5, 1, STANDARD_ATMOSPHERE_BAR_A),
                  withMark("-0.01325", mark));
        // 1 m³/sec = 1 / 0.15898729492 × 86400 Brls/day
        EXPECT_EQ(convertFlowToText(UNIT_M3_SEC, UNIT_BRLS_DAY, 3, 1, 998), withMark("543439.651", mark));
    }
    expectConversionsError([] { convertPressureToDisplayText(UNIT_BAR_G, UNIT_M, 1, 1.01325, 998); }, NO_ROUTINE);
}

TEST(ConversionTexts, ZeroDensityShowsAnInfiniteHeadRatherThanANumber) {
    EXPECT_EQ(convertPressureWithDensityToText(UNIT_BAR_G, UNIT_M_HD, 3, 1, 0), "INF");
    EXPECT_EQ(convertFlowToText(UNIT_KG_SEC, UNIT_M3_SEC, 4, 1, 0), "INF");
}

// ---- Unit system summaries -----------------------------------------------------------------

TEST(UnitsSummary, NamesTheUnitsOfEachPreset) {
    EXPECT_EQ(MetricUnitsSummaryText(),
              "Pipes\r--------\rLength: m\rDiameter: mm\rRoughness: mm\rFlow: m³/sec\rVelocity: m/sec\r"
              "Weight: kgs\rArea: m²\rVolume: m³\rPipe Losses: m.hd Fluid\r\r"
              "Nodes\r--------\rSurface Pressure: bar.g\rLiquid Level: m\rElevation: m\rOther Pressures: bar.g");
    EXPECT_EQ(ImperialUnitsSummaryText(),
              "Pipes\r--------\rLength: ft\rDiameter: inch\rRoughness: inch\rFlow: ft³/sec\rVelocity: ft/sec\r"
              "Weight: lbs\rArea: ft²\rVolume: ft³\rPipe Losses: ft.hd Fluid\r\r"
              "Nodes\r--------\rSurface Pressure: psi.g\rLiquid Level: ft\rElevation: ft\rOther Pressures: psi.g");
}

}  // namespace
