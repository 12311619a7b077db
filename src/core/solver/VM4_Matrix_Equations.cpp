#include "solver/VM4_Matrix_Equations.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "foundations/VM4_Calculations.h"

namespace {

// Messages of this unit.
constexpr const char* kTooSmallMessage = "Calculated equation values are too small. Reset and continue.";
constexpr const char* kStepFailedMessage = "Calculation of flow adjustments did not converge.";
constexpr const char* kNoFiniteResult = " Failed: Arithmetic without a finite result in ";
constexpr const char* kUnknownCode = " Failed: Unknown coefficient code ";

// Velocity at which a pipe at zero flow takes its friction slope.
constexpr double kStartSlopeVelocity_ms = 1.0;

std::string sizesOutsideCapacity(const char* method, std::int32_t numberOfQVariables, std::int32_t numberOfEquations) {
    return std::string("TMatrixEquations.") + method + " Failed: Number of unknown flows (" +
           std::to_string(numberOfQVariables) + ") or equations (" + std::to_string(numberOfEquations) +
           ") is outside the capacity of " + std::to_string(TMatrixEquations::MaxQVariables) + " unknown flows and " +
           std::to_string(TMatrixEquations::MaxEquations) + " equations";
}

// The engine treats any operation without a finite result as the floating-point
// exception it would be on a trapping FPU: the evaluation in progress is abandoned.
[[noreturn]] void raiseNoFiniteResult(const char* method, const char* what) {
    throw EMatrixEquations(std::string("TMatrixEquations.") + method + kNoFiniteResult + what);
}

template <typename Real>
Real finiteOrRaise(Real value, const char* method, const char* what) {
    if (!std::isfinite(value)) raiseNoFiniteResult(method, what);
    return value;
}

// The formulas take doubles; a flow beyond the double range cannot be evaluated
// (and converting it would not be defined).
double flowAsDouble(long double flow_m3s, const char* method) {
    const bool representable = std::fabs(flow_m3s) <= static_cast<long double>(std::numeric_limits<double>::max());
    if (!representable) raiseNoFiniteResult(method, "flow");
    return static_cast<double>(flow_m3s);
}

}  // namespace

// The members start zeroed, with the 1000 pump and component objects created and
// the tolerances, limits and counters at their defaults.
TMatrixEquations::TMatrixEquations(std::int32_t numberOfQVariables, std::int32_t numberOfEquations) {
    requireSizesWithinCapacity("Create", numberOfQVariables, numberOfEquations);
    setSizes(numberOfQVariables, numberOfEquations);
}

void TMatrixEquations::requireSizesWithinCapacity(const char* method, std::int32_t numberOfQVariables,
                                                  std::int32_t numberOfEquations) const {
    const bool unknownsFit = numberOfQVariables >= 0 && numberOfQVariables <= MaxQVariables;
    const bool equationsFit = numberOfEquations >= 0 && numberOfEquations <= MaxEquations;
    if (!unknownsFit || !equationsFit)
        throw EMatrixEquations(sizesOutsideCapacity(method, numberOfQVariables, numberOfEquations));
}

long double TMatrixEquations::requireFinite(long double value, const char* method, const char* what) {
    return finiteOrRaise(value, method, what);
}

void TMatrixEquations::setSizes(std::int32_t numberOfQVariables, std::int32_t numberOfEquations) {
    NumberOfQVariables = numberOfQVariables;
    NumberOfEquations = numberOfEquations;
}

void TMatrixEquations::ClearResults(std::int32_t numberOfQVariables, std::int32_t numberOfEquations) {
    requireSizesWithinCapacity("ClearResults", numberOfQVariables, numberOfEquations);
    MaxIterationsCurrent = MaxIterationsApprox;
    DeltaQFactorCurrent = 1.0;
    HeadToleranceCurrent = HeadToleranceApprox;
    FluidViscosity = 0.0;
    FluidDensity = 0.0;
    QMatrix.Fill(CodeNotInEquation);
    clearReducedEntries();
    DMatrix.Fill(0.0L);
    QKnowns.Fill(0.0);
    FResults.Fill(0.0L);
    DKnowns.Fill(0.0L);
    QVariables.Fill(0.0L);
    QDiameter.Fill(0.0);
    QRoughness.Fill(0.0);
    QLength.Fill(0.0);
    QFittingLossCoefficents.Fill(0.0);
    QDeltas.Fill(0.0L);
    for (std::int32_t j = 1; j <= MaxQVariables; ++j) {
        QPump[j].Clear();
        QComponent[j].Clear();
    }
    Sparse.EliminationCurrent = false;
    setSizes(numberOfQVariables, numberOfEquations);
}

// ---------------------------------------------------------------------------
// Head loss of one unknown's pipe, metres of fluid:
//   h(Q)  = friction(Q) + G·Q·|Q| + component(Q) − pump(Q)
//   h'(Q) = friction'(Q) + 2·G·|Q| + component'(Q) − pump'(Q)
// Every term is evaluated afresh from the current flow; the friction factor
// comes from the current Reynolds number and its change with Q is ignored.

double TMatrixEquations::frictionFactor(std::int32_t j, double velocity_ms, const char* method) const {
    const double reynolds = CalcReynoldsNumber(velocity_ms, QDiameter[j], FluidDensity, FluidViscosity, 1.0);
    return finiteOrRaise(CalcFrictionFactor(reynolds, QDiameter[j], QRoughness[j]), method, "friction factor");
}

// A component takes head away in the direction of flow, like friction and
// fittings: its loss gets the sign of the flow. Taken unsigned, a reversed flow
// would gain head across it as if it were a pump. The curve or fixed loss is
// read at |Q|, so the rule holds whatever sign convention the component keeps.
double TMatrixEquations::componentLoss_mHd(std::int32_t j, double flow_m3s) const {
    const double loss_mHd = QComponent[j].calcLoss_mHd_Fluid(std::abs(flow_m3s), FluidDensity);
    return flow_m3s < 0.0 ? -loss_mHd : loss_mHd;
}

// A pump with fewer than 3 points has no curve to run on.
double TMatrixEquations::pumpHead_mHd(std::int32_t j, double flow_m3s) const {
    if (QPump[j].PointCount() < 3) return 0.0;
    return QPump[j].calcPumpHead_mHd_Fluid(flow_m3s, FluidDensity);
}

TMatrixEquations::TFlowState TMatrixEquations::flowStateOf(std::int32_t j, const char* method) const {
    TFlowState state{};
    state.Flow_m3s = QVariables[j];
    state.FlowDouble_m3s = flowAsDouble(state.Flow_m3s, method);
    state.Velocity_ms = CalcVelocity(state.FlowDouble_m3s, QDiameter[j], 1.0);
    state.FrictionFactor = frictionFactor(j, state.Velocity_ms, method);
    return state;
}

long double TMatrixEquations::headLoss_mHd(std::int32_t j) const { return headLossAt(j, flowStateOf(j, "CalculateF")); }

long double TMatrixEquations::headLossAt(std::int32_t j, const TFlowState& state) const {
    const long double Q = state.Flow_m3s;
    const double friction_mHd =
        CalcFrictionLoss_mHd(state.Velocity_ms, QDiameter[j], QLength[j], state.FrictionFactor);
    const double G = QFittingLossCoefficents[j];
    const long double fitting_mHd = G == 0.0 ? 0.0L : G * Q * std::fabs(Q);  // G·Q·|Q|
    const double component_mHd = componentLoss_mHd(j, state.FlowDouble_m3s);
    const double pump_mHd = pumpHead_mHd(j, state.FlowDouble_m3s);
    return finiteOrRaise(friction_mHd + fitting_mHd + component_mHd - pump_mHd, "CalculateF", "head loss");
}

long double TMatrixEquations::headLossDifferential(std::int32_t j) const {
    return headLossDifferentialAt(j, flowStateOf(j, "CalculateDMatrix"));
}

// The fitting loss G·Q·|Q| rises with Q on both sides of zero, so its slope
// 2·G·|Q| is never negative; taken as 2·G·Q it would point a reversed flow's
// Newton step the wrong way. The component's loss is odd in Q, so its slope is
// the same for a flow and its reverse.
long double TMatrixEquations::headLossDifferentialAt(std::int32_t j, const TFlowState& state) const {
    const long double Q = state.Flow_m3s;
    const double flow_m3s = state.FlowDouble_m3s;
    const double friction = flow_m3s == 0.0
                                ? frictionSlopeAtZeroFlow(j)
                                : CalcFrictionLossDifferential(flow_m3s, QDiameter[j], QLength[j], state.FrictionFactor);
    const double G = QFittingLossCoefficents[j];
    const long double fitting = G == 0.0 ? 0.0L : 2.0 * G * std::fabs(Q);  // d(G·Q·|Q|)/dQ = 2·G·|Q|
    const double component = QComponent[j].calcLoss_mHd_Fluid_Differential(flow_m3s, FluidDensity);
    const double pump = QPump[j].calcPumpHead_mHd_Fluid_Differential(flow_m3s, FluidDensity);
    return finiteOrRaise(friction + fitting + component - pump, "CalculateDMatrix", "head loss derivative");
}

// At zero flow the friction loss has no slope to step from: the turbulent slope
// is 0 there and the laminar one (f = 64/Re) so small that the first Newton step
// would send the flow to tens of m³/s. Every pipe a start estimate leaves at zero
// would then either make its loop's row vanish or throw the iteration far off.
// The slope at a velocity of 1 m/s, a typical design velocity, keeps the step to
// the size of real flows; it changes the path of the iteration, not the solution,
// which the residuals alone decide.
double TMatrixEquations::frictionSlopeAtZeroFlow(std::int32_t j) const {
    const double velocity_ms = kStartSlopeVelocity_ms;
    const double flow_m3s = velocity_ms * std::numbers::pi * QDiameter[j] * QDiameter[j] / 4.0;
    const double factor = frictionFactor(j, velocity_ms, "CalculateDMatrix");
    return CalcFrictionLossDifferential(flow_m3s, QDiameter[j], QLength[j], factor);
}

// ---------------------------------------------------------------------------
// Residuals and tolerances.

long double TMatrixEquations::residualOfEquation(std::int32_t i) {
    const TOneBasedMatrix<std::uint8_t>& codes = QMatrix;  // read only
    long double sum = 0.0L;
    FIsHeadEquation[i] = false;
    for (std::int32_t j = 1; j <= NumberOfQVariables; ++j) {
        switch (codes[i][j]) {
            case CodeNotInEquation: break;
            case CodeFlowEnters: sum = sum + QVariables[j]; break;
            case CodeFlowLeaves: sum = sum - QVariables[j]; break;
            case CodeWalkedForward:
                FIsHeadEquation[i] = true;
                sum = sum + headLoss_mHd(j);
                break;
            case CodeWalkedBackward:
                FIsHeadEquation[i] = true;
                sum = sum - headLoss_mHd(j);
                break;
            default:
                throw EMatrixEquations(std::string("TMatrixEquations.CalculateF") + kUnknownCode +
                                       std::to_string(codes[i][j]));
        }
    }
    return finiteOrRaise(sum - QKnowns[i], "CalculateF", "residual");
}

void TMatrixEquations::CalculateF(bool& Ok) {
    requireSizesWithinCapacity("CalculateF", NumberOfQVariables, NumberOfEquations);
    if (SolverPath == TSolverPath::Fast && calculateFFast(Ok)) return;
    Ok = true;
    try {
        for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
            FResults[i] = 0.0L;
            FResults[i] = residualOfEquation(i);
        }
    } catch (const EVelmoraError&) {
        Ok = false;
    }
}

// Only equations 1..N are tested: after the row exchanges these are the ones the
// elimination chose as pivots; any further rows are not part of the step.
bool TMatrixEquations::CheckFAccurate() const {
    for (std::int32_t i = 1; i <= NumberOfQVariables; ++i) {
        const long double tolerance = FIsHeadEquation[i] ? HeadToleranceCurrent : FlowTolerance;
        if (std::fabs(FResults[i]) > tolerance) return false;
    }
    return true;
}

// Size = ½ · Σ FResults[i]², i = 1..N
void TMatrixEquations::CalculateFResultsSize(long double& Size, bool& Ok) const {
    long double sumOfSquares = 0.0L;
    for (std::int32_t i = 1; i <= NumberOfQVariables; ++i) sumOfSquares = sumOfSquares + FResults[i] * FResults[i];
    Size = 0.5L * sumOfSquares;
    Ok = std::isfinite(Size);
    if (!Ok) Size = FailedResultsSize;
}

void TMatrixEquations::CalculateAndCheckFAccurate(bool& Ok, bool& Accurate, long double& Size) {
    CalculateF(Ok);
    if (!Ok) return;
    Accurate = CheckFAccurate();
    CalculateFResultsSize(Size, Ok);
}

// A flow within the flow tolerance of zero is zero: a dead end's −1e-27 m³/s is
// no reason to refuse a solution or to turn a pipe round.
bool TMatrixEquations::IsAnyQVariableNegative() const {
    for (std::int32_t j = 1; j <= NumberOfQVariables; ++j)
        if (QVariables[j] < -FlowTolerance) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Jacobian and elimination.

long double TMatrixEquations::jacobianEntry(std::int32_t i, std::int32_t j) const {
    switch (QMatrix[i][j]) {
        case CodeNotInEquation: return 0.0L;
        case CodeFlowEnters: return 1.0L;
        case CodeFlowLeaves: return -1.0L;
        case CodeWalkedForward: return headLossDifferential(j);
        case CodeWalkedBackward: return -headLossDifferential(j);
        default:
            throw EMatrixEquations(std::string("TMatrixEquations.CalculateDMatrix") + kUnknownCode +
                                   std::to_string(QMatrix[i][j]));
    }
}

void TMatrixEquations::CalculateDMatrix() {
    requireSizesWithinCapacity("CalculateDMatrix", NumberOfQVariables, NumberOfEquations);
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i)
        for (std::int32_t j = 1; j <= NumberOfQVariables; ++j) DMatrix[i][j] = jacobianEntry(i, j);
}

// Rows k..M compete for column k; a later row wins only when strictly larger,
// so the first of equal values stays.
void TMatrixEquations::pivotOnColumn(std::int32_t k) {
    std::int32_t bestRow = k;
    long double best = std::fabs(DMatrix[k][k]);
    for (std::int32_t r = k; r <= NumberOfEquations; ++r) {
        if (std::fabs(DMatrix[r][k]) > best) {
            best = std::fabs(DMatrix[r][k]);
            bestRow = r;
        }
    }
    if (bestRow > k) exchangeEquations(k, bestRow);
}

// The exchange is permanent: the equations keep their new order for later
// iterations (their head flags follow through the next CalculateF).
void TMatrixEquations::exchangeEquations(std::int32_t rowA, std::int32_t rowB) {
    DMatrix.SwapRowPrefixes(rowA, rowB, NumberOfQVariables);
    QMatrix.SwapRowPrefixes(rowA, rowB, NumberOfQVariables);
    std::swap(DKnowns[rowA], DKnowns[rowB]);
    std::swap(QKnowns[rowA], QKnowns[rowB]);
    std::swap(FResults[rowA], FResults[rowB]);
}

// Row r loses a multiple of the pivot row: factor = D[r][k] / D[k][k];
// D[r][c] = D[r][c] − factor·D[k][c]. The pivot is the largest entry of its
// column, so |factor| ≤ 1 and no row grows beyond the rows it came from.
// (Replacing row r by row k minus a multiple of row r instead scales rows by the
// ratio of the entries, which on a few hundred equations overflows the meaning
// of every later pivot.) Rows with 0 in column k are left as they are.
void TMatrixEquations::eliminateBelowColumn(std::int32_t k) {
    for (std::int32_t r = k + 1; r <= NumberOfEquations; ++r) {
        if (DMatrix[r][k] == 0.0L) continue;
        const char* method = "CalculateDMatrixAndGaussElim";
        const long double factor = finiteOrRaise(DMatrix[r][k] / DMatrix[k][k], method, "factor");
        DMatrix[r][k] = 0.0L;
        for (std::int32_t c = k + 1; c <= NumberOfQVariables; ++c)
            DMatrix[r][c] = DMatrix[r][c] - factor * DMatrix[k][c];
        DKnowns[r] = DKnowns[r] - factor * DKnowns[k];
        for (std::int32_t c = k + 1; c <= NumberOfQVariables; ++c) finiteOrRaise(DMatrix[r][c], method, "row");
        finiteOrRaise(DKnowns[r], method, "row");
    }
}

// A pivot row beyond M has no equation behind it: with fewer equations than
// unknowns the system cannot be solved, whatever an unused row holds.
bool TMatrixEquations::hasZeroPivot() const {
    for (std::int32_t k = 1; k <= NumberOfQVariables; ++k)
        if (k > NumberOfEquations || DMatrix[k][k] == 0.0L) return true;
    return false;
}

void TMatrixEquations::CalculateDMatrixAndGaussElim(bool& Ok) {
    requireSizesWithinCapacity("CalculateDMatrixAndGaussElim", NumberOfQVariables, NumberOfEquations);
    if (SolverPath == TSolverPath::Fast && gaussElimFast(Ok)) return;
    Sparse.EliminationCurrent = false;
    Ok = true;
    try {
        CalculateDMatrix();
        for (std::int32_t i = 1; i <= NumberOfEquations; ++i) DKnowns[i] = FResults[i];
        for (std::int32_t k = 1; k <= NumberOfQVariables - 1; ++k) {
            pivotOnColumn(k);
            eliminateBelowColumn(k);
        }
        if (NumberOfQVariables >= 1) pivotOnColumn(NumberOfQVariables);
        Ok = !hasZeroPivot();
    } catch (const EVelmoraError&) {
        Ok = false;
    }
}

// ---------------------------------------------------------------------------
// Newton step.

// ΔQ[N] = K[N] / D[N][N];  ΔQ[i] = (K[i] − Σ_{c=N..i+1} D[i][c]·ΔQ[c]) / D[i][i]
void TMatrixEquations::backSubstitute() {
    const std::int32_t N = NumberOfQVariables;
    if (N < 1) return;
    QDeltas[N] = finiteOrRaise(DKnowns[N] / DMatrix[N][N], "SolveQDeltas", "flow adjustment");
    for (std::int32_t i = N - 1; i >= 1; --i) {
        long double sum = 0.0L;
        for (std::int32_t c = N; c >= i + 1; --c) sum = sum + DMatrix[i][c] * QDeltas[c];
        QDeltas[i] = finiteOrRaise((DKnowns[i] - sum) / DMatrix[i][i], "SolveQDeltas", "flow adjustment");
    }
}

// The driver raises IterationCountTotal once per attempt, so the line appears at
// most once per attempt however often the pivot vanishes.
void TMatrixEquations::reportTooSmallOncePerAttempt(std::vector<std::string>& log) {
    if (IterationCountTotal == LastSmallValuesReport) return;
    LastSmallValuesReport = IterationCountTotal;
    log.emplace_back(kTooSmallMessage);
}

void TMatrixEquations::SolveQDeltas(bool& Ok, std::int32_t& ErrorCode, std::vector<std::string>& log,
                                    std::string& ErrorMessage) {
    Ok = true;
    ErrorCode = ErrorCodeNone;
    bool eliminated = false;
    CalculateDMatrixAndGaussElim(eliminated);
    if (!eliminated) {
        Ok = false;
        ErrorCode = ErrorCodeZeroPivot;
        ErrorMessage.clear();
        reportTooSmallOncePerAttempt(log);
        return;  // QDeltas keep the previous step
    }
    try {
        if (Sparse.EliminationCurrent) {
            backSubstituteFast();
        } else {
            backSubstitute();
        }
    } catch (const EVelmoraError&) {
        Ok = false;
        ErrorCode = ErrorCodeArithmetic;
        ErrorMessage = kStepFailedMessage;
    }
}

// Q[j] = Q[j] − factor·ΔQ[j]
void TMatrixEquations::SubtractQDeltasFromQVariables(long double factor) {
    requireSizesWithinCapacity("SubtractQDeltasFromQVariables", NumberOfQVariables, NumberOfEquations);
    for (std::int32_t j = 1; j <= NumberOfQVariables; ++j)
        QVariables[j] = finiteOrRaise(QVariables[j] - factor * QDeltas[j], "SubtractQDeltasFromQVariables", "flow");
}

// ---------------------------------------------------------------------------
// Newton loop.

// In the final phase (recognised by its iteration limit) a reversed step is
// not counted towards the limit.
bool TMatrixEquations::areReversedStepsUncounted() const { return MaxIterationsCurrent == MaxIterationsFinal; }

// A step that makes the residual larger is taken back by half: the flows move to
// the old point plus half the step,
//   Q − f·ΔQ + 0.5·f·ΔQ = Q_old − 0.5·f·ΔQ,
// and the loop goes on from there. (Moving to the old point plus half the step
// in the opposite direction, Q_old + 0.5·f·ΔQ, goes against the Newton direction,
// along which the residual falls near the old point: on networks of a few hundred
// pipes whose first full step overshoots, no attempt then ever finds a solution.)
//
// Reversed steps that are not counted could go on for ever, so they are bounded
// too: after MaxIterationsCurrent of them within one call the loop ends as if the
// iteration limit had been reached (Solved as the last evaluation says, the
// error code as the last step left it, no message). A call therefore makes at
// most 2·MaxIterationsCurrent passes.
//
// Solved also needs the last evaluation to have succeeded: when the evaluation
// after a reversal fails, the accuracy found before the reversal no longer
// describes the flows held.
void TMatrixEquations::SolveQVariables(bool& Solved, std::int32_t& ErrorCode, std::vector<std::string>& log,
                                       std::string& ErrorMessage) {
    requireSizesWithinCapacity("SolveQVariables", NumberOfQVariables, NumberOfEquations);
    Solved = false;
    ErrorCode = ErrorCodeNone;
    ErrorMessage.clear();
    bool Accurate = false;
    bool Ok = true;
    IterationCount = 1;
    try {
        long double Size = 0.0L;
        CalculateAndCheckFAccurate(Ok, Accurate, Size);
        long double Previous = Size + 1.0L;
        std::int32_t uncountedReversals = 0;
        while (Size < Previous && !Accurate && Ok && IterationCount < MaxIterationsCurrent &&
               uncountedReversals < MaxIterationsCurrent) {
            IterationCount = IterationCount + 1;
            Previous = Size;
            bool stepOk = false;  // not consulted: after a zero pivot the previous step is applied again
            SolveQDeltas(stepOk, ErrorCode, log, ErrorMessage);
            SubtractQDeltasFromQVariables(DeltaQFactorCurrent);
            CalculateAndCheckFAccurate(Ok, Accurate, Size);
            if (Size > Previous) {
                if (areReversedStepsUncounted()) {
                    IterationCount = IterationCount - 1;
                    uncountedReversals = uncountedReversals + 1;
                }
                SubtractQDeltasFromQVariables(-0.5L * DeltaQFactorCurrent);
                CalculateAndCheckFAccurate(Ok, Accurate, Size);
                Previous = Size + 1.0L;
            }
        }
        Solved = Accurate && Ok;
    } catch (const EVelmoraError&) {
        Solved = false;
        ErrorCode = ErrorCodeArithmetic;
    }
}
