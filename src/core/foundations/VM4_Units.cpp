#include "foundations/VM4_Units.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "foundations/VM4_DecimalMark.h"

namespace {

// ---- Messages ------------------------------------------------------------------

const char* const ROUTINE_DOES_NOT_EXIST = "Conversions failed : routine does not exist";
const char* const ASSOCIATION_DOES_NOT_EXIST = "associatedAbsolutePressureUnit failed : association does not exist";
const char* const VALUE_CANNOT_BE_SHOWN = "formatFixed failed : value cannot be shown";

std::string unitDoesNotExistMessage(const char* operation, int unit) {
    return std::string(operation) + " failed : unit " + std::to_string(unit) + " does not exist";
}

// ---- Conversion constants --------------------------------------------------------

constexpr double FT_M = 0.3048;
constexpr double INCH_M = 0.0254;
constexpr double FT3_M3 = 0.3048 * 0.3048 * 0.3048;
constexpr double IN3_M3 = 0.0254 * 0.0254 * 0.0254;
constexpr double MILE_M = 1609.344;
constexpr double HP_KW = 0.7456999;
constexpr double LBS_KG = 0.45359237;
constexpr double LB_PER_KG = 2.20462262185;
constexpr double UK_GALLON_M3 = 0.004546092;
constexpr double US_GALLON_M3 = 0.003785411784;
constexpr double UK_GALLON_LITRES = 4.546092;
constexpr double US_GALLON_LITRES = 3.785411784;
constexpr double GALLONS_PER_BARREL = 42;
// Rounded barrel volume used when converting m³/sec into barrel flows; it is
// 42 US gallons cut after the 11th digit, so a round trip drifts there.
constexpr double BARREL_M3_ROUNDED = 0.15898729492;
constexpr double PSI_PER_BAR = 14.5037743897;
constexpr double G_MS2 = 9.80665;
constexpr double PA_PER_BAR = 100000;
// W: bar per metre of water, 9.80665 × 1000 / 100000.
constexpr double W_BAR_PER_M_WATER = 9.80665 * 1000 / 100000;
constexpr double MERCURY_RELATIVE_DENSITY = 13.5950980632;
constexpr double KELVIN_OFFSET = 273.15;

// ---- Rules ----------------------------------------------------------------------------
// A unit's rule is the sequence of operations that takes a value in the unit
// to the base unit, applied left to right exactly as written. The way back
// applies the inverse operations in reverse order unless the unit states its
// own way back.

enum class TStepOp : unsigned char { Mul, Div, Add, Sub };

// Most operands are constants; the fluid factor F = 9.80665 × ρ / 100000
// (bar per metre of fluid) and the atmospheric pressure Pa come from the caller.
enum class TOperand : unsigned char { Constant, FluidFactor, Atmosphere };

struct TStep {
    TStepOp Op;
    TOperand Operand;
    double Value;
};

constexpr std::size_t MAX_STEPS = 5;

struct TRule {
    std::size_t Count;
    std::array<TStep, MAX_STEPS> Steps;
};

template <class... TSteps>
constexpr TRule Rule(TSteps... steps) {
    static_assert(sizeof...(steps) <= MAX_STEPS);
    return TRule{sizeof...(steps), {steps...}};
}

constexpr TStep Mul(double value) { return {TStepOp::Mul, TOperand::Constant, value}; }
constexpr TStep Div(double value) { return {TStepOp::Div, TOperand::Constant, value}; }
constexpr TStep Sub(double value) { return {TStepOp::Sub, TOperand::Constant, value}; }
constexpr TStep MulF() { return {TStepOp::Mul, TOperand::FluidFactor, 0}; }
constexpr TStep MulPa() { return {TStepOp::Mul, TOperand::Atmosphere, 0}; }
constexpr TStep SubPa() { return {TStepOp::Sub, TOperand::Atmosphere, 0}; }

constexpr TRule SAME = Rule();
// Marks a unit whose way back is the exact inverse of its rule.
constexpr TRule INVERSE = Rule();

struct TUnitRecord {
    const char* Name;
    const char* ShortName;
    TUnitKind Kind;
    TRule ToBase;
    TRule FromBase;  // INVERSE unless the unit has its own way back
    int MaxIntegerDigits;
    int Decimals;
};

using K = TUnitKind;
constexpr double W = W_BAR_PER_M_WATER;
constexpr double HG = MERCURY_RELATIVE_DENSITY;

// Indexed by unit number; the numbering is part of the file format.
constexpr std::array<TUnitRecord, UNIT_COUNT> UNITS = {{
    {"m", "m", K::Length, SAME, INVERSE, 6, 3},
    {"mm", "mm", K::Length, Rule(Div(1000)), INVERSE, 6, 3},
    {"ft", "ft", K::Length, Rule(Mul(FT_M)), INVERSE, 6, 3},
    {"inch", "inch", K::Length, Rule(Mul(INCH_M)), INVERSE, 6, 3},
    {"km", "km", K::Length, Rule(Mul(1000)), INVERSE, 6, 3},
    {"mile", "mile", K::Length, Rule(Mul(MILE_M)), INVERSE, 6, 3},
    {"m²", "m²", K::Area, SAME, INVERSE, 6, 3},
    {"mm²", "mm²", K::Area, Rule(Div(1000), Div(1000)), INVERSE, 6, 3},
    {"ft²", "ft²", K::Area, Rule(Mul(FT_M), Mul(FT_M)), INVERSE, 6, 3},
    {"in²", "in²", K::Area, Rule(Mul(FT_M), Mul(FT_M), Div(144)), INVERSE, 6, 3},
    {"m³", "m³", K::Volume, SAME, INVERSE, 6, 3},
    {"mm³", "mm³", K::Volume, Rule(Div(1000), Div(1000), Div(1000)), INVERSE, 6, 3},
    {"ft³", "ft³", K::Volume, Rule(Mul(FT3_M3)), INVERSE, 6, 3},
    {"in³", "in³", K::Volume, Rule(Mul(FT3_M3), Div(1728)), INVERSE, 6, 3},
    {"m/sec", "m/sec", K::Velocity, SAME, INVERSE, 6, 3},
    {"ft/sec", "ft/sec", K::Velocity, Rule(Mul(FT_M)), INVERSE, 6, 3},
    {"kW", "kW", K::Power, SAME, INVERSE, 6, 3},
    {"HP", "HP", K::Power, Rule(Mul(HP_KW)), INVERSE, 6, 3},
    {"lbs", "lbs", K::Weight, Rule(Mul(LBS_KG)), INVERSE, 6, 3},
    {"kgs", "kgs", K::Weight, SAME, INVERSE, 6, 3},
    {"lbs/ft", "lbs/ft", K::WeightPerLength, Rule(Mul(LBS_KG), Div(FT_M)), INVERSE, 6, 3},
    {"kgs/m", "kgs/m", K::WeightPerLength, SAME, INVERSE, 6, 3},
    {"°C", "°C", K::Temperature, SAME, INVERSE, 6, 3},
    // (x - 32) / 1.8; back: x × 1.8 + 32
    {"°F", "°F", K::Temperature, Rule(Sub(32), Div(1.8)), INVERSE, 6, 3},
    {"°K", "°K", K::Temperature, Rule(Sub(KELVIN_OFFSET)), INVERSE, 6, 3},
    {"m³/sec", "m³/sec", K::Flow, SAME, INVERSE, 6, 4},
    {"m³/min", "m³/min", K::Flow, Rule(Div(60)), INVERSE, 6, 3},
    {"m³/hour", "m³/hour", K::Flow, Rule(Div(3600)), INVERSE, 6, 3},
    {"l/sec", "l/sec", K::Flow, Rule(Div(1000)), INVERSE, 6, 3},
    {"l/min", "l/min", K::Flow, Rule(Div(1000), Div(60)), INVERSE, 6, 2},
    {"l/hour", "l/hour", K::Flow, Rule(Div(1000), Div(3600)), INVERSE, 6, 2},
    {"ft³/sec", "ft³/sec", K::Flow, Rule(Mul(FT3_M3)), INVERSE, 6, 4},
    {"ft³/min", "ft³/min", K::Flow, Rule(Mul(FT3_M3), Div(60)), INVERSE, 6, 3},
    {"ft³/hour", "ft³/hour", K::Flow, Rule(Mul(FT3_M3), Div(3600)), INVERSE, 6, 3},
    {"in³/sec", "in³/sec", K::Flow, Rule(Mul(IN3_M3)), INVERSE, 6, 3},
    {"in³/min", "in³/min", K::Flow, Rule(Mul(IN3_M3), Div(60)), INVERSE, 6, 2},
    {"in³/hour", "in³/hour", K::Flow, Rule(Mul(IN3_M3), Div(3600)), INVERSE, 6, 2},
    {"UK gpm ", "UK gpm", K::Flow, Rule(Mul(UK_GALLON_M3), Div(60)), INVERSE, 6, 2},
    {"US gpm", "US gpm", K::Flow, Rule(Mul(US_GALLON_M3), Div(60)), INVERSE, 6, 2},
    {"MGD (UK)", "MGD (UK)", K::Flow, Rule(Mul(UK_GALLON_M3), Mul(1000000), Div(24), Div(3600)), INVERSE, 6, 2},
    {"MGD (USA)", "MGD (USA)", K::Flow, Rule(Mul(US_GALLON_M3), Mul(1000000), Div(24), Div(3600)), INVERSE, 6, 2},
    // Barrel flows go back through the rounded barrel volume, not 42 gallons.
    {"Brls/min (oil)", "Brls/min (oil)", K::Flow, Rule(Mul(GALLONS_PER_BARREL), Mul(US_GALLON_M3), Div(60)),
     Rule(Div(BARREL_M3_ROUNDED), Mul(60)), 6, 3},
    {"Brls/hour (oil)", "Brls/hour (oil)", K::Flow, Rule(Mul(GALLONS_PER_BARREL), Mul(US_GALLON_M3), Div(3600)),
     Rule(Div(BARREL_M3_ROUNDED), Mul(3600)), 6, 3},
    {"Brls/day (oil)", "Brls/day (oil)", K::Flow,
     Rule(Mul(GALLONS_PER_BARREL), Mul(US_GALLON_M3), Div(24), Div(3600)),
     Rule(Div(BARREL_M3_ROUNDED), Mul(3600), Mul(24)), 6, 3},
    {"bar.g", "bar", K::Pressure, SAME, INVERSE, 5, 4},
    {"psi.g", "psi", K::Pressure, Rule(Div(PSI_PER_BAR)), INVERSE, 5, 4},
    {"N/m².g", "N/m²", K::Pressure, Rule(Div(PA_PER_BAR)), INVERSE, 6, 3},
    {"Pa.g", "Pa", K::Pressure, Rule(Div(PA_PER_BAR)), INVERSE, 6, 3},
    {"kPa.g", "kPa", K::Pressure, Rule(Mul(1000), Div(PA_PER_BAR)), INVERSE, 6, 3},
    {"m.H2O", "m.H2O", K::Pressure, Rule(Mul(W)), INVERSE, 6, 3},
    {"mm.H2O", "mm.H2O", K::Pressure, Rule(Div(1000), Mul(W)), INVERSE, 6, 1},
    {"ft.H2O", "ft.H2O", K::Pressure, Rule(Mul(FT_M), Mul(W)), INVERSE, 6, 2},
    {"in.H2O", "in.H2O", K::Pressure, Rule(Div(12), Mul(FT_M), Mul(W)), INVERSE, 6, 1},
    {"mm Hg", "mm Hg", K::Pressure, Rule(Div(1000), Mul(W), Mul(HG)), INVERSE, 6, 1},
    {"in. Hg", "in. Hg", K::Pressure, Rule(Div(12), Mul(FT_M), Mul(W), Mul(HG)), INVERSE, 6, 1},
    {"m.hd Fluid", "m.hd", K::FluidHead, Rule(MulF()), INVERSE, 6, 3},
    {"mm.hd Fluid", "mm.hd", K::FluidHead, Rule(Div(1000), MulF()), INVERSE, 6, 1},
    {"ft.hd Fluid", "ft.hd", K::FluidHead, Rule(Mul(FT_M), MulF()), INVERSE, 6, 2},
    {"in.hd Fluid", "in.hd", K::FluidHead, Rule(Div(12), Mul(FT_M), MulF()), INVERSE, 6, 1},
    // "atm." counts multiples of the set atmospheric pressure: x × Pa - Pa.
    {"atm.", "atm.", K::AbsolutePressure, Rule(MulPa(), SubPa()), INVERSE, 6, 6},
    {"bar.a", "bar", K::AbsolutePressure, Rule(SubPa()), INVERSE, 6, 6},
    {"psi.a", "psi", K::AbsolutePressure, Rule(Div(PSI_PER_BAR), SubPa()), INVERSE, 6, 6},
    {"N/m².a", "N/m²", K::AbsolutePressure, Rule(Div(PA_PER_BAR), SubPa()), INVERSE, 6, 3},
    {"Pa.a", "Pa", K::AbsolutePressure, Rule(Div(PA_PER_BAR), SubPa()), INVERSE, 6, 3},
    {"kPa.a", "kPa", K::AbsolutePressure, Rule(Mul(1000), Div(PA_PER_BAR), SubPa()), INVERSE, 6, 3},
    {"m.H2O.a", "m.H2O.a", K::AbsolutePressure, Rule(Mul(W), SubPa()), INVERSE, 6, 3},
    {"mm.H2O.a", "mm.H2O.a", K::AbsolutePressure, Rule(Div(1000), Mul(W), SubPa()), INVERSE, 6, 1},
    {"ft.H2O.a", "ft.H2O.a", K::AbsolutePressure, Rule(Mul(FT_M), Mul(W), SubPa()), INVERSE, 6, 2},
    {"in.H2O.a", "in.H2O.a", K::AbsolutePressure, Rule(Div(12), Mul(FT_M), Mul(W), SubPa()), INVERSE, 6, 1},
    {"mm Hg.a", "mm Hg.a", K::AbsolutePressure, Rule(Div(1000), Mul(W), Mul(HG), SubPa()), INVERSE, 6, 1},
    {"in. Hg.a", "in. Hg.a", K::AbsolutePressure, Rule(Div(12), Mul(FT_M), Mul(W), Mul(HG), SubPa()), INVERSE, 6,
     1},
    {"m.hd.a", "m.hd.a", K::AbsoluteFluidHead, Rule(MulF(), SubPa()), INVERSE, 6, 3},
    {"mm.hd.a", "mm.hd.a", K::AbsoluteFluidHead, Rule(Div(1000), MulF(), SubPa()), INVERSE, 6, 1},
    {"ft.hd.a", "ft.hd.a", K::AbsoluteFluidHead, Rule(Mul(FT_M), MulF(), SubPa()), INVERSE, 6, 2},
    {"in.hd.a", "in.hd.a", K::AbsoluteFluidHead, Rule(Div(12), Mul(FT_M), MulF(), SubPa()), INVERSE, 6, 1},
    {"litres", "litres", K::Volume, Rule(Div(1000)), INVERSE, 6, 3},
    {"UK gallon", "UK gallon", K::Volume, Rule(Mul(UK_GALLON_LITRES), Div(1000)), INVERSE, 6, 3},
    {"USA gallon", "USA gallon", K::Volume, Rule(Mul(US_GALLON_LITRES), Div(1000)), INVERSE, 6, 3},
    {"Brls (oil)", "Brls (oil)", K::Volume, Rule(Mul(GALLONS_PER_BARREL), Mul(US_GALLON_LITRES), Div(1000)), INVERSE,
     6, 3},
    {"kg/m³", "kg/m³", K::Density, SAME, INVERSE, 6, 3},
    {"lb/ft³", "lb/ft³", K::Density, Rule(Div(LB_PER_KG), Div(FT3_M3)), INVERSE, 6, 3},
    {"kg/sec", "kg/sec", K::MassFlow, SAME, INVERSE, 6, 3},
    {"kg/min", "kg/min", K::MassFlow, Rule(Div(60)), INVERSE, 6, 3},
    {"kg/hour", "kg/hour", K::MassFlow, Rule(Div(3600)), INVERSE, 6, 3},
    // A kilonewton of weight per unit time as kg: x × 1000 / g.
    {"kN/sec", "kN/sec", K::MassFlow, Rule(Mul(1000), Div(G_MS2)), INVERSE, 6, 3},
    {"kN/min", "kN/min", K::MassFlow, Rule(Mul(1000), Div(60), Div(G_MS2)), INVERSE, 6, 3},
    {"kN/hour", "kN/hour", K::MassFlow, Rule(Mul(1000), Div(3600), Div(G_MS2)), INVERSE, 6, 3},
    {"lb/sec", "lb/sec", K::MassFlow, Rule(Div(LB_PER_KG)), INVERSE, 6, 3},
    {"lb/min", "lb/min", K::MassFlow, Rule(Div(60), Div(LB_PER_KG)), INVERSE, 6, 3},
    {"lb/hour", "lb/hour", K::MassFlow, Rule(Div(3600), Div(LB_PER_KG)), INVERSE, 6, 3},
}};

// ---- Applying rules ----------------------------------------------------------------------

// What a pressure rule may need besides the value itself.
struct TPressureContext {
    double AtmosphericPressure_bar_a;
    double Density_kgm3;
};

// Units 0..54 and 75..89 need neither value; any would do.
constexpr TPressureContext NO_PRESSURE_CONTEXT{0, 0};

double operandValue(const TStep& step, const TPressureContext& context) {
    switch (step.Operand) {
        case TOperand::Constant: return step.Value;
        // F = 9.80665 × ρ / 100000, bar per metre of fluid
        case TOperand::FluidFactor: return G_MS2 * context.Density_kgm3 / PA_PER_BAR;
        case TOperand::Atmosphere: return context.AtmosphericPressure_bar_a;
    }
    return step.Value;
}

double applyOperation(TStepOp op, double x, double operand) {
    switch (op) {
        case TStepOp::Mul: return x * operand;
        case TStepOp::Div: return x / operand;
        case TStepOp::Add: return x + operand;
        case TStepOp::Sub: return x - operand;
    }
    return x;
}

TStepOp inverseOf(TStepOp op) {
    switch (op) {
        case TStepOp::Mul: return TStepOp::Div;
        case TStepOp::Div: return TStepOp::Mul;
        case TStepOp::Add: return TStepOp::Sub;
        case TStepOp::Sub: return TStepOp::Add;
    }
    return op;
}

double applyRule(const TRule& rule, double x, const TPressureContext& context) {
    for (std::size_t i = 0; i < rule.Count; ++i) {
        const TStep& step = rule.Steps[i];
        x = applyOperation(step.Op, x, operandValue(step, context));
    }
    return x;
}

double applyInverseRule(const TRule& rule, double x, const TPressureContext& context) {
    for (std::size_t i = rule.Count; i > 0; --i) {
        const TStep& step = rule.Steps[i - 1];
        x = applyOperation(inverseOf(step.Op), x, operandValue(step, context));
    }
    return x;
}

const TUnitRecord& recordOf(int unit) { return UNITS[static_cast<std::size_t>(unit)]; }

double unitToBase(int unit, double x, const TPressureContext& context) {
    return applyRule(recordOf(unit).ToBase, x, context);
}

double baseToUnit(int unit, double x, const TPressureContext& context) {
    const TUnitRecord& record = recordOf(unit);
    if (record.FromBase.Count > 0) return applyRule(record.FromBase, x, context);
    return applyInverseRule(record.ToBase, x, context);
}

double convertThroughBase(int fromUnit, int toUnit, double x, const TPressureContext& context) {
    return baseToUnit(toUnit, unitToBase(fromUnit, x, context), context);
}

// ---- Which conversions exist ------------------------------------------------------------

template <class TPredicate>
void requireBothUnits(int fromUnit, int toUnit, TPredicate kindAllowed) {
    const bool allowed =
        isUnitIndex(fromUnit) && isUnitIndex(toUnit) && kindAllowed(unitKind(fromUnit), unitKind(toUnit));
    if (!allowed) throw EConversionsClass(ROUTINE_DOES_NOT_EXIST);
}

// Fluid heads need the density, absolute units the atmospheric pressure.
bool needsPressureContext(TUnitKind kind) {
    return kind == K::FluidHead || kind == K::AbsolutePressure || kind == K::AbsoluteFluidHead;
}

// The kinds convertUnits handles; mass flows convert only as text, with the density.
bool isSimpleKind(TUnitKind kind) { return !needsPressureContext(kind) && kind != K::MassFlow; }

bool isGaugePressureOrHead(TUnitKind kind) { return kind == K::Pressure || kind == K::FluidHead; }

bool isGaugeOrAbsolutePressure(TUnitKind kind) { return kind == K::Pressure || kind == K::AbsolutePressure; }

bool isAnyPressure(TUnitKind kind) {
    return kind == K::Pressure || kind == K::FluidHead || kind == K::AbsolutePressure ||
           kind == K::AbsoluteFluidHead;
}

bool isAnyFlow(TUnitKind kind) { return kind == K::Flow || kind == K::MassFlow; }

void requireUnitIndex(const char* operation, int unit) {
    if (!isUnitIndex(unit)) throw EConversionsClass(unitDoesNotExistMessage(operation, unit));
}

// ---- Formatting helpers -----------------------------------------------------------------
// Numbers are rounded on their exact decimal expansion, once, half away from
// zero, so that 0.125 shows as 0.13 and 1.005 (really 1.00499999...) as 1.00.

constexpr int MAX_DECIMALS = 18;
constexpr std::size_t SIGNIFICANT_DIGITS = 15;
// A double's exact expansion never has more than 1074 decimals.
constexpr int EXACT_DECIMALS = 1074;

// The decimal digits of |x| without the point; the point sits after PointAt digits.
struct TDecimalDigits {
    std::string Digits;
    std::size_t PointAt;
};

TDecimalDigits exactDigitsOf(double magnitude) {
    // 309 integer digits at most, the point and the decimals.
    std::string buffer(400 + EXACT_DECIMALS, '\0');
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                            std::chars_format::fixed, EXACT_DECIMALS);
    if (error != std::errc{}) throw EConversionsClass(VALUE_CANNOT_BE_SHOWN);
    buffer.resize(static_cast<std::size_t>(end - buffer.data()));
    const std::size_t pointAt = buffer.find('.');
    buffer.erase(pointAt, 1);
    return TDecimalDigits{buffer, pointAt};
}

std::size_t firstSignificantDigit(const TDecimalDigits& number) {
    const std::size_t at = number.Digits.find_first_not_of('0');
    return at == std::string::npos ? number.Digits.size() : at;
}

// Keeps the first `keep` digits, rounding half away from zero on the first
// dropped digit; a carry out of the first digit adds a digit in front.
void roundToDigits(TDecimalDigits& number, std::size_t keep) {
    const bool roundUp = keep < number.Digits.size() && number.Digits[keep] >= '5';
    number.Digits.resize(keep);
    if (!roundUp) return;
    std::size_t at = keep;
    while (at > 0 && number.Digits[at - 1] == '9') number.Digits[--at] = '0';
    if (at > 0) {
        ++number.Digits[at - 1];
        return;
    }
    number.Digits.insert(number.Digits.begin(), '1');
    ++number.PointAt;
}

std::size_t integerDigitCount(const TDecimalDigits& number) {
    return number.PointAt - std::min(firstSignificantDigit(number), number.PointAt);
}

// "1234567", point after 4, 3 decimals -> "1234.567"; missing places become zeros.
std::string fixedText(const TDecimalDigits& number, std::size_t decimals) {
    std::string text = number.Digits.substr(0, number.PointAt);
    if (decimals == 0) return text;
    std::string fraction = number.Digits.substr(number.PointAt);
    fraction.resize(decimals, '0');
    return text + "." + fraction;
}

// Digits "123450000", point after 16 -> "1.2345E+15".
std::string exponentText(const TDecimalDigits& number) {
    const std::size_t first = firstSignificantDigit(number);
    std::string mantissa = number.Digits.substr(first, SIGNIFICANT_DIGITS);
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.size() > 1) mantissa.insert(1, ".");
    // Only magnitudes of 1E15 and more reach here, so the exponent is positive.
    return mantissa + "E+" + std::to_string(number.PointAt - first - 1);
}

bool showsOnlyZeros(const std::string& text) { return text.find_first_of("123456789") == std::string::npos; }

std::string withDecimalMark(std::string text) {
    std::replace(text.begin(), text.end(), '.', SystemDecimalMark());
    return text;
}

std::string notFiniteText(double x) {
    if (std::isnan(x)) return "NAN";
    return x < 0 ? "-INF" : "INF";
}

// ---- Unit system summaries ----------------------------------------------------------------

struct TSummaryUnits {
    int Length;
    int Diameter;
    int Roughness;
    int Flow;
    int Velocity;
    int Weight;
    int Area;
    int Volume;
    int PipeLosses;
    int SurfacePressure;
    int LiquidLevel;
    int Elevation;
    int OtherPressures;
};

constexpr TSummaryUnits METRIC_SUMMARY{.Length = UNIT_M,
                                       .Diameter = UNIT_MM,
                                       .Roughness = UNIT_MM,
                                       .Flow = UNIT_M3_SEC,
                                       .Velocity = UNIT_M_SEC,
                                       .Weight = UNIT_KGS,
                                       .Area = UNIT_M2,
                                       .Volume = UNIT_M3,
                                       .PipeLosses = UNIT_M_HD,
                                       .SurfacePressure = UNIT_BAR_G,
                                       .LiquidLevel = UNIT_M,
                                       .Elevation = UNIT_M,
                                       .OtherPressures = UNIT_BAR_G};

constexpr TSummaryUnits IMPERIAL_SUMMARY{.Length = UNIT_FT,
                                         .Diameter = UNIT_INCH,
                                         .Roughness = UNIT_INCH,
                                         .Flow = UNIT_FT3_SEC,
                                         .Velocity = UNIT_FT_SEC,
                                         .Weight = UNIT_LBS,
                                         .Area = UNIT_FT2,
                                         .Volume = UNIT_FT3,
                                         .PipeLosses = UNIT_FT_HD,
                                         .SurfacePressure = UNIT_PSI_G,
                                         .LiquidLevel = UNIT_FT,
                                         .Elevation = UNIT_FT,
                                         .OtherPressures = UNIT_PSI_G};

std::string summaryText(const TSummaryUnits& u) {
    return "Pipes\r--------\rLength: " + unitName(u.Length) + "\r" + "Diameter: " + unitName(u.Diameter) + "\r" +
           "Roughness: " + unitName(u.Roughness) + "\r" + "Flow: " + unitName(u.Flow) + "\r" +
           "Velocity: " + unitName(u.Velocity) + "\r" + "Weight: " + unitName(u.Weight) + "\r" +
           "Area: " + unitName(u.Area) + "\r" + "Volume: " + unitName(u.Volume) + "\r" +
           "Pipe Losses: " + unitName(u.PipeLosses) + "\r\r" + "Nodes" + "\r" + "--------" + "\r" +
           "Surface Pressure: " + unitName(u.SurfacePressure) + "\r" + "Liquid Level: " + unitName(u.LiquidLevel) +
           "\r" + "Elevation: " + unitName(u.Elevation) + "\r" + "Other Pressures: " + unitName(u.OtherPressures);
}

// Time base of each volume flow unit 25..43 for massFlowUnitFor: 0 per second,
// 1 per minute, 2 per hour (kg/sec, kg/min, kg/hour follow each other).
constexpr std::array<int, UNIT_BRLS_DAY - UNIT_M3_SEC + 1> FLOW_TIME_BASE = {
    0, 1, 2,  // m³
    0, 1, 2,  // l
    0, 1, 2,  // ft³
    0, 1, 2,  // in³
    1, 1,     // UK gpm, US gpm
    2, 2,     // MGD (UK), MGD (USA)
    1, 2, 2,  // Brls/min, Brls/hour, Brls/day
};

}  // namespace

// ---- The table -----------------------------------------------------------------------------

bool isUnitIndex(int unit) { return unit >= 0 && unit < UNIT_COUNT; }

TUnitKind unitKind(int unit) {
    requireUnitIndex("unitKind", unit);
    return recordOf(unit).Kind;
}

std::vector<int> unitsOfKind(TUnitKind kind) {
    std::vector<int> units;
    for (int unit = 0; unit < UNIT_COUNT; ++unit)
        if (recordOf(unit).Kind == kind) units.push_back(unit);
    return units;
}

std::string unitName(int unit) {
    requireUnitIndex("unitName", unit);
    return recordOf(unit).Name;
}

std::string unitShortName(int unit) {
    requireUnitIndex("unitShortName", unit);
    return recordOf(unit).ShortName;
}

int unitMaxIntegerDigits(int unit) {
    requireUnitIndex("unitMaxIntegerDigits", unit);
    return recordOf(unit).MaxIntegerDigits;
}

int unitDecimals(int unit) {
    requireUnitIndex("unitDecimals", unit);
    return recordOf(unit).Decimals;
}

// ---- Numeric conversions --------------------------------------------------------------------

double toBaseUnit(int unit, double x) {
    if (!isUnitIndex(unit) || needsPressureContext(unitKind(unit))) throw EConversionsClass(ROUTINE_DOES_NOT_EXIST);
    return unitToBase(unit, x, NO_PRESSURE_CONTEXT);
}

double convertUnits(int fromUnit, int toUnit, double x) {
    requireBothUnits(fromUnit, toUnit, [](TUnitKind from, TUnitKind to) { return from == to && isSimpleKind(from); });
    return convertThroughBase(fromUnit, toUnit, x, NO_PRESSURE_CONTEXT);
}

double convertPressureWithDensity(int fromUnit, int toUnit, double x, double density_kgm3) {
    requireBothUnits(fromUnit, toUnit, [](TUnitKind from, TUnitKind to) {
        return isGaugePressureOrHead(from) && isGaugePressureOrHead(to);
    });
    return convertThroughBase(fromUnit, toUnit, x, TPressureContext{0, density_kgm3});
}

double convertPressureWithAtmosphere(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a) {
    requireBothUnits(fromUnit, toUnit, [](TUnitKind from, TUnitKind to) {
        return isGaugeOrAbsolutePressure(from) && isGaugeOrAbsolutePressure(to);
    });
    return convertThroughBase(fromUnit, toUnit, x, TPressureContext{atmosphericPressure_bar_a, 0});
}

double convertPressure(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a, double density_kgm3) {
    requireBothUnits(fromUnit, toUnit,
                     [](TUnitKind from, TUnitKind to) { return isAnyPressure(from) && isAnyPressure(to); });
    return convertThroughBase(fromUnit, toUnit, x, TPressureContext{atmosphericPressure_bar_a, density_kgm3});
}

// ---- Conversions to text ----------------------------------------------------------------------

std::string convertUnitsToText(int fromUnit, int toUnit, int decimals, double x) {
    return formatFixed(decimals, convertUnits(fromUnit, toUnit, x));
}

std::string convertUnitsToDisplayText(int fromUnit, int toUnit, double x) {
    return formatInUnit(toUnit, convertUnits(fromUnit, toUnit, x));
}

std::string convertPressureWithDensityToText(int fromUnit, int toUnit, int decimals, double x,
                                             double density_kgm3) {
    return formatFixed(decimals, convertPressureWithDensity(fromUnit, toUnit, x, density_kgm3));
}

std::string convertPressureWithAtmosphereToText(int fromUnit, int toUnit, int decimals, double x,
                                                double atmosphericPressure_bar_a) {
    return formatFixed(decimals, convertPressureWithAtmosphere(fromUnit, toUnit, x, atmosphericPressure_bar_a));
}

std::string convertPressureToDisplayText(int fromUnit, int toUnit, double x, double atmosphericPressure_bar_a,
                                         double density_kgm3) {
    return formatInUnit(toUnit, convertPressure(fromUnit, toUnit, x, atmosphericPressure_bar_a, density_kgm3));
}

std::string convertFlowToText(int fromUnit, int toUnit, int decimals, double x, double density_kgm3) {
    requireBothUnits(fromUnit, toUnit, [](TUnitKind from, TUnitKind to) { return isAnyFlow(from) && isAnyFlow(to); });
    double base = unitToBase(fromUnit, x, NO_PRESSURE_CONTEXT);
    const bool fromMass = unitKind(fromUnit) == K::MassFlow;
    const bool toMass = unitKind(toUnit) == K::MassFlow;
    if (!fromMass && toMass) base = base * density_kgm3;  // kg/sec = m³/sec × ρ
    if (fromMass && !toMass) base = base / density_kgm3;  // m³/sec = kg/sec / ρ
    return formatFixed(decimals, baseToUnit(toUnit, base, NO_PRESSURE_CONTEXT));
}

// ---- Associated units -------------------------------------------------------------------------

int massFlowUnitFor(int weightUnit, int flowUnit) {
    const bool isVolumeFlow = flowUnit >= UNIT_M3_SEC && flowUnit <= UNIT_BRLS_DAY;
    if (!isVolumeFlow) return UNIT_KG_SEC;
    const int timeBase = FLOW_TIME_BASE[static_cast<std::size_t>(flowUnit - UNIT_M3_SEC)];
    if (weightUnit == UNIT_KGS) return UNIT_KG_SEC + timeBase;
    if (weightUnit == UNIT_LBS) return UNIT_LB_SEC + timeBase;
    return UNIT_KG_SEC;
}

int associatedAbsolutePressureUnit(int unit) {
    // Gauge units 44..54 and absolute units 60..70 run in the same order.
    constexpr int GAUGE_TO_ABSOLUTE = UNIT_BAR_A - UNIT_BAR_G;
    if (unit >= UNIT_BAR_G && unit <= UNIT_IN_HG) return unit + GAUGE_TO_ABSOLUTE;
    if (unit >= UNIT_BAR_A && unit <= UNIT_IN_HG_A) return unit;
    throw EConversionsClass(ASSOCIATION_DOES_NOT_EXIST);
}

// ---- Formatting -------------------------------------------------------------------------------

std::string formatFixed(int decimals, double x) {
    if (!std::isfinite(x)) return notFiniteText(x);
    const std::size_t places = static_cast<std::size_t>(std::clamp(decimals, 0, MAX_DECIMALS));
    TDecimalDigits number = exactDigitsOf(std::fabs(x));
    // Round at the last shown place or at the 15th significant digit, whichever comes first.
    roundToDigits(number, std::min(number.PointAt + places, firstSignificantDigit(number) + SIGNIFICANT_DIGITS));
    const bool tooManyIntegerDigits = integerDigitCount(number) > SIGNIFICANT_DIGITS;
    std::string text = tooManyIntegerDigits ? exponentText(number) : fixedText(number, places);
    // "-0.00" would read as a negative value that is not there.
    if (std::signbit(x) && !showsOnlyZeros(text)) text.insert(0, "-");
    return withDecimalMark(text);
}

std::string formatInUnit(int unit, double x) { return formatFixed(unitDecimals(unit), x); }

// ---- Unit system summaries ------------------------------------------------------------------------

std::string MetricUnitsSummaryText() { return summaryText(METRIC_SUMMARY); }

std::string ImperialUnitsSummaryText() { return summaryText(IMPERIAL_SUMMARY); }

std::string UnitSystemChangeQuestion(bool imperial) {
    const std::string title = imperial ? "Change To Imperial Units" : "Change To Metric Units";
    const std::string summary = imperial ? ImperialUnitsSummaryText() : MetricUnitsSummaryText();
    return title + "\r\rThe Units will be set as follows: \r\r" + summary + "\r\r" +
           "All existing values will be converted to the new units." + "\r\r" + "Do you wish to proceed?";
}
