#include "foundations/VM4_Calculations.h"

#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <utility>

namespace {

// Error texts of this unit.
const std::string QuadraticPointsNotValid =
    "VM4_Calculations.calcQuadraticPumpCoefficents Failed: Pump Points are not valid.";
const std::string DivisionByZero = "Floating point division by zero";
const std::string InvalidOperation = "Invalid floating point operation";
const std::string Overflow = "Floating point overflow";

// Intermediate arithmetic is carried in extended precision.
using real = long double;

// The constants are used literally, as the hydraulic tables were computed with them.
constexpr real Gravity_ms2 = 9.81L;
constexpr real TwoGravity_ms2 = 19.62L;
constexpr real LaminarLimit = 2300.0L;
constexpr real TurbulentLimit = TurbulentReynolds;
constexpr double ColebrookTolerance = 0.0001;
constexpr int ColebrookMaxSteps = 100;
constexpr double LogarithmFloor = 1e-7;
constexpr real KilowattsPerHorsepower = 0.746L;

// Turns every operation without a finite result into EFloatingPointError naming
// the formula, so that a caller never goes on with an infinity or a NaN. Its
// arithmetic is carried in T.
template <typename T>
class TGuard {
public:
    explicit TGuard(const char* formula) : formula_(formula) {}

    T Divide(T numerator, T denominator) const {
        if (denominator == T(0)) fail(numerator == T(0) ? InvalidOperation : DivisionByZero);
        return Finite(numerator / denominator);
    }

    T Log10(T x) const {
        requireLogArgument(x);
        return Finite(std::log10(x));
    }

    T Ln(T x) const {
        requireLogArgument(x);
        return Finite(std::log(x));
    }

    T Finite(T value) const {
        if (std::isnan(value)) fail(InvalidOperation);
        if (std::isinf(value)) fail(Overflow);
        return value;
    }

    // Results are stored as doubles: a value beyond their range overflows.
    double Result(T value) const {
        const double stored = static_cast<double>(Finite(value));
        if (!std::isfinite(stored)) fail(Overflow);
        return stored;
    }

private:
    void requireLogArgument(T x) const {
        if (x == T(0)) fail(DivisionByZero);
        if (!(x > T(0))) fail(InvalidOperation);
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw EFloatingPointError(std::string("VM4_Calculations.") + formula_ + " Failed: " + reason);
    }

    const char* formula_;
};

using TFloatGuard = TGuard<real>;
// For the formulas a solver evaluates at every step (see below).
using TDoubleGuard = TGuard<double>;

// A = π·D²/4, in the precision of the formula that needs it.
template <typename T>
T PipeArea_m2(T diameter_m) {
    return std::numbers::pi_v<T> * diameter_m * diameter_m / T(4);
}

// The formulas a solver evaluates for every pipe at every Newton step (velocity,
// Reynolds number, friction loss and its slope) work in double precision: their
// inputs and results are doubles, their few operations cost the result a last bit
// or two, and the step's equations are still summed and solved in extended
// precision. Carried in 80 bits they took a sixth of a solve. Their range is the
// double range: an intermediate beyond it is an overflow, as the result would be.
constexpr double PiSquaredGravityInDouble = std::numbers::pi * std::numbers::pi * 9.81;
constexpr double TwoGravityInDouble_ms2 = 19.62;

// The friction factor below the turbulent range: 0 without flow, 64/Re when
// laminar, and the straight line (Re − 1500)/30000 through the transition.
real NonTurbulentFrictionFactor(real reynolds) {
    if (reynolds <= 0.0L) return 0.0L;
    if (reynolds <= LaminarLimit) return 64.0L / reynolds;
    return (reynolds - 1500.0L) / 30000.0L;
}

// The friction factor is solved in double precision too: its iteration stops at
// a residual of 0.0001 and the factor is kept as a double, so extended precision
// would only buy digits that the stopping rule throws away, at several times the
// cost of a step's other arithmetic.

// Haaland: √f = 1 / |−1.8·log10(6.9/Re + (ε/D/3.7)^1.11)|, the roughness term
// taken from the pipe's terms; the logarithm as ln(a)/ln 10.
double HaalandFrictionRoot(double reynolds, const TPipeFrictionTerms& pipe, const TDoubleGuard& guard) {
    constexpr double HaalandLnFactor = -1.8 / std::numbers::ln10;
    double logArgument = guard.Divide(6.9, reynolds) + pipe.HaalandRoughness;
    if (logArgument <= 0.0) logArgument = LogarithmFloor;
    return guard.Divide(1.0, std::fabs(HaalandLnFactor * guard.Ln(logArgument)));
}

// One pipe's secant iteration on x = √f for Colebrook-White,
//   F(x) = 2·log10(ε/D + 9.35/(Re·x)) + 1/x − 1.14, zero at x = √f,
// from Haaland's √f₀ and 0.95·√f₀. A run that takes its hundredth step falls
// back to the start value, converged or not. Its stages are separate so that
// several pipes can go through each stage in turn (see CalcFrictionFactors).
class TColebrookSecant {
public:
    void Begin(TFrictionFactorQuery& query, const TDoubleGuard& guard) {
        query_ = &query;
        relativeRoughness_ = query.Pipe->RelativeRoughness;
        reynoldsTerm_ = guard.Divide(9.35, query.Reynolds);
        startRoot_ = HaalandFrictionRoot(query.Reynolds, *query.Pipe, guard);
        x1_ = startRoot_;
        x0_ = 0.95 * x1_;
        steps_ = 0;
    }

    void EvaluateStart(const TDoubleGuard& guard) {
        residual1_ = residual(x1_, guard);
        residual0_ = residual(x0_, guard);
    }

    bool Running() const { return std::fabs(residual1_) > ColebrookTolerance && steps_ < ColebrookMaxSteps; }

    void Step(const TDoubleGuard& guard) {
        ++steps_;
        const double step = guard.Divide(residual1_ * (x1_ - x0_), residual1_ - residual0_);
        x0_ = x1_;
        residual0_ = residual1_;
        x1_ = guard.Finite(x1_ - step);
        residual1_ = residual(x1_, guard);
    }

    void Finish(const TDoubleGuard& guard) const {
        const double root = steps_ < ColebrookMaxSteps ? x1_ : startRoot_;
        query_->Factor = guard.Finite(root * root);
    }

private:
    // 2·log10(a) taken as (2/ln 10)·ln(a).
    double residual(double x, const TDoubleGuard& guard) const {
        const double inverse = guard.Divide(1.0, x);
        return TwoOverLn10 * guard.Ln(relativeRoughness_ + reynoldsTerm_ * inverse) + inverse - 1.14;
    }

    static constexpr double TwoOverLn10 = 2.0 / std::numbers::ln10;
    TFrictionFactorQuery* query_ = nullptr;
    double relativeRoughness_ = 0.0;
    double reynoldsTerm_ = 0.0;  // 9.35/Re
    double startRoot_ = 0.0;
    double x0_ = 0.0;
    double x1_ = 0.0;
    double residual0_ = 0.0;
    double residual1_ = 0.0;
    int steps_ = 0;
};

// Up to four pipes' iterations side by side, stage by stage: each pipe's
// arithmetic is the same as alone, but the processor overlaps the divisions and
// logarithms of different pipes instead of waiting on one pipe's chain of them.
class TColebrookLanes {
public:
    explicit TColebrookLanes(const TDoubleGuard& guard) : guard_(guard) {}

    void Add(TFrictionFactorQuery& query) {
        lanes_[count_++].Begin(query, guard_);
        if (count_ == lanes_.size()) Solve();
    }

    void Solve() {
        const std::span<TColebrookSecant> lanes(lanes_.data(), count_);
        for (TColebrookSecant& lane : lanes) lane.EvaluateStart(guard_);
        for (bool running = true; running;) {
            running = false;
            for (TColebrookSecant& lane : lanes) {
                if (!lane.Running()) continue;
                lane.Step(guard_);
                running = running || lane.Running();
            }
        }
        for (const TColebrookSecant& lane : lanes) lane.Finish(guard_);
        count_ = 0;
    }

private:
    const TDoubleGuard& guard_;
    std::array<TColebrookSecant, 4> lanes_;
    std::size_t count_ = 0;
};

// --- Quadratic through three points -----------------------------------------

// Rows (x², x, 1, y) of the system for A, B and C.
using TAugmentedRow = std::array<real, 4>;
using TAugmentedMatrix = std::array<TAugmentedRow, 3>;

struct TQuadraticCoefficients {
    real A;
    real B;
    real C;
};

void RequireFiniteQuadratic(real value) {
    if (!std::isfinite(value)) throw ECalculations(QuadraticPointsNotValid);
}

void RequireFiniteQuadratic(const TAugmentedMatrix& matrix) {
    for (const TAugmentedRow& row : matrix) {
        for (real entry : row) RequireFiniteQuadratic(entry);
    }
}

TAugmentedMatrix AugmentedMatrix(const std::array<std::pair<real, real>, 3>& points) {
    TAugmentedMatrix matrix{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [x, y] = points[i];
        matrix[i] = {x * x, x, 1.0L, y};
    }
    return matrix;
}

// The row with the largest |x²| goes first; the first of equal values wins.
void PivotFirstColumn(TAugmentedMatrix& a) {
    std::size_t largest = 0;
    for (std::size_t r = 1; r < a.size(); ++r) {
        if (std::fabs(a[r][0]) > std::fabs(a[largest][0])) largest = r;
    }
    std::swap(a[0], a[largest]);
}

// row r = row 1 − (a11/ar1)·row r, which clears its first entry; a row whose
// first entry is already 0 stays as it is.
void EliminateFirstColumn(TAugmentedMatrix& a) {
    for (std::size_t r = 1; r < a.size(); ++r) {
        if (a[r][0] == 0.0L) continue;
        const real factor = a[0][0] / a[r][0];
        RequireFiniteQuadratic(factor);
        for (std::size_t c = 1; c < 4; ++c) a[r][c] = a[0][c] - factor * a[r][c];
        a[r][0] = 0.0L;
    }
}

void PivotSecondColumn(TAugmentedMatrix& a) {
    if (std::fabs(a[1][1]) < std::fabs(a[2][1])) std::swap(a[1], a[2]);
}

// row 3 = row 2 − (a22/a32)·row 3 in its last two columns, which clears a32.
void EliminateSecondColumn(TAugmentedMatrix& a) {
    if (a[2][1] == 0.0L) return;
    const real factor = a[1][1] / a[2][1];
    RequireFiniteQuadratic(factor);
    for (std::size_t c = 2; c < 4; ++c) a[2][c] = a[1][c] - factor * a[2][c];
    a[2][1] = 0.0L;
}

// A zero pivot leaves its coefficient at 0 instead of failing.
real GuardedQuotient(real numerator, real pivot) { return pivot == 0.0L ? 0.0L : numerator / pivot; }

TQuadraticCoefficients BackSubstitute(const TAugmentedMatrix& a) {
    TQuadraticCoefficients k{};
    k.C = GuardedQuotient(a[2][3], a[2][2]);
    RequireFiniteQuadratic(k.C);
    k.B = GuardedQuotient(a[1][3] - a[1][2] * k.C, a[1][1]);
    RequireFiniteQuadratic(k.B);
    k.A = GuardedQuotient(a[0][3] - a[0][2] * k.C - a[0][1] * k.B, a[0][0]);
    RequireFiniteQuadratic(k.A);
    return k;
}

double StoredQuadraticCoefficient(real value) {
    const double stored = static_cast<double>(value);
    RequireFiniteQuadratic(stored);
    return stored;
}

}  // namespace

double CalcVelocity(double flow_m3s, double diameter_m, double correctionFactor) {
    if (diameter_m <= 0.0) return 0.0;
    const TDoubleGuard guard("CalcVelocity");
    // V = F·Q / A
    return guard.Result(guard.Divide(guard.Finite(correctionFactor * flow_m3s), PipeArea_m2<double>(diameter_m)));
}

double CalcFlowFromVelocity(double velocity_ms, double diameter_m, double correctionFactor) {
    if (diameter_m <= 0.0) return 0.0;
    const TFloatGuard guard("CalcFlowFromVelocity");
    // Q = A·V / F
    return guard.Result(guard.Divide(PipeArea_m2<real>(diameter_m) * velocity_ms, correctionFactor));
}

double CalcReynoldsNumber(double velocity_ms, double diameter_m, double density_kgm3, double viscosity_cP,
                          double correctionFactor) {
    const TDoubleGuard guard("CalcReynoldsNumber");
    // μ in Pa·s = μ in cP / 1000;  Re = |V·D·ρ / μ / F|
    const double viscosity_Pas = viscosity_cP / 1000.0;
    const double inertia = guard.Finite(velocity_ms * diameter_m * density_kgm3);
    return guard.Result(std::fabs(guard.Divide(guard.Divide(inertia, viscosity_Pas), correctionFactor)));
}

std::string CalcFlowType(double reynolds) {
    if (reynolds >= TurbulentLimit) return FlowTypeTurbulent;
    if (reynolds > LaminarLimit) return FlowTypeCritical;
    return FlowTypeLaminar;
}

TPipeFrictionTerms CalcPipeFrictionTerms(double diameter_m, double roughness_m) {
    const TDoubleGuard guard("CalcPipeFrictionTerms");
    TPipeFrictionTerms pipe;
    pipe.Diameter_m = diameter_m;
    pipe.Roughness_m = roughness_m;
    pipe.RelativeRoughness = guard.Divide(roughness_m, diameter_m);
    // The floor keeps a smooth pipe (ε = 0) out of the logarithm of zero.
    double haalandBase = pipe.RelativeRoughness / 3.7;
    if (haalandBase <= 0.0) haalandBase = LogarithmFloor;
    pipe.HaalandRoughness = guard.Finite(std::pow(haalandBase, 1.11));
    return pipe;
}

double CalcFrictionFactor(double reynolds, double diameter_m, double roughness_m) {
    // Exactly 3500 still takes the transition value, although it is reported turbulent.
    if (reynolds <= TurbulentLimit) return static_cast<double>(NonTurbulentFrictionFactor(reynolds));
    return CalcFrictionFactor(reynolds, CalcPipeFrictionTerms(diameter_m, roughness_m));
}

double CalcFrictionFactor(double reynolds, const TPipeFrictionTerms& pipe) {
    TFrictionFactorQuery query{reynolds, &pipe, 0.0};
    CalcFrictionFactors(std::span<TFrictionFactorQuery>(&query, 1));
    return query.Factor;
}

void CalcFrictionFactors(std::span<TFrictionFactorQuery> queries) {
    const TDoubleGuard guard("CalcFrictionFactor");
    TColebrookLanes lanes(guard);
    for (TFrictionFactorQuery& query : queries) {
        if (query.Reynolds <= TurbulentLimit)
            query.Factor = static_cast<double>(NonTurbulentFrictionFactor(query.Reynolds));
        else
            lanes.Add(query);
    }
    lanes.Solve();
}

double CalcFrictionFactorExplicit(double reynolds, double diameter_m, double roughness_m) {
    if (reynolds < TurbulentLimit) return static_cast<double>(NonTurbulentFrictionFactor(reynolds));
    const TDoubleGuard guard("CalcFrictionFactorExplicit");
    const double root = HaalandFrictionRoot(reynolds, CalcPipeFrictionTerms(diameter_m, roughness_m), guard);
    return guard.Finite(root * root);
}

double CalcFrictionLoss_mHd(double velocity_ms, double diameter_m, double length_m, double frictionFactor) {
    const TDoubleGuard guard("CalcFrictionLoss_mHd");
    // h = f·(V²/2g)·L/D, in this order so that no intermediate leaves the double
    // range unless the loss does (L/D alone may, for a long thin pipe at rest).
    const double velocityHead_m = velocity_ms * velocity_ms / TwoGravityInDouble_ms2;
    const double loss_m = guard.Divide(guard.Finite(frictionFactor * velocityHead_m * length_m), diameter_m);
    return guard.Result(velocity_ms < 0.0 ? -loss_m : loss_m);
}

double CalcFittingLoss_mHd(double velocity_ms, double totalK) {
    const TFloatGuard guard("CalcFittingLoss_mHd");
    const real velocity = velocity_ms;
    // h = K·V²/2/g
    const real loss_m = totalK * velocity * velocity / 2.0L / Gravity_ms2;
    return guard.Result(velocity_ms < 0.0 ? -loss_m : loss_m);
}

double CalcFittingLossCoefficient(double diameter_m, double totalK) {
    const TFloatGuard guard("CalcFittingLossCoefficient");
    const real area_m2 = PipeArea_m2<real>(diameter_m);
    // h = K·V²/2g with V = Q/A  =>  G = K / (2g·A²)
    return guard.Result(guard.Divide(totalK, TwoGravity_ms2 * area_m2 * area_m2));
}

double CalcFrictionLossDifferential(double flow_m3s, double diameter_m, double length_m, double frictionFactor) {
    const TDoubleGuard guard("CalcFrictionLossDifferential");
    const double diameterToFifth = guard.Finite(diameter_m * diameter_m * diameter_m * diameter_m * diameter_m);
    // d/dQ [8·f·L·Q·|Q| / (π²·g·D⁵)] = 16·f·L·|Q| / (D⁵·π²·g)
    const double numerator = guard.Finite(16.0 * frictionFactor * length_m * std::fabs(flow_m3s));
    return guard.Result(guard.Divide(numerator, diameterToFifth * PiSquaredGravityInDouble));
}

double CalcPowerKW(double density_kgm3, double flow_m3s, double head_m) {
    const TFloatGuard guard("CalcPowerKW");
    // P = |ρ·g·Q·H| / 1000 kW
    return guard.Result(std::fabs(static_cast<real>(density_kgm3) * Gravity_ms2 * flow_m3s * head_m / 1000.0L));
}

double CalcPowerHP(double density_kgm3, double flow_m3s, double head_m) {
    const TFloatGuard guard("CalcPowerHP");
    return guard.Result(CalcPowerKW(density_kgm3, flow_m3s, head_m) / KilowattsPerHorsepower);
}

void calcQuadraticPumpCoefficents(double x1, double y1, double x2, double y2, double x3, double y3, double& A,
                                  double& B, double& C) {
    // Gauss elimination with row exchanges on the rows (x², x, 1, y).
    TAugmentedMatrix matrix = AugmentedMatrix({{{x1, y1}, {x2, y2}, {x3, y3}}});
    RequireFiniteQuadratic(matrix);
    PivotFirstColumn(matrix);
    EliminateFirstColumn(matrix);
    RequireFiniteQuadratic(matrix);
    PivotSecondColumn(matrix);
    EliminateSecondColumn(matrix);
    RequireFiniteQuadratic(matrix);
    const TQuadraticCoefficients k = BackSubstitute(matrix);
    const double storedA = StoredQuadraticCoefficient(k.A);
    const double storedB = StoredQuadraticCoefficient(k.B);
    const double storedC = StoredQuadraticCoefficient(k.C);
    A = storedA;
    B = storedB;
    C = storedC;
}
