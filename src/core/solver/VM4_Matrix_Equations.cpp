#include "solver/VM4_Matrix_Equations.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>
#include <span>
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
    QKnowns.Fill(0.0);
    FResults.Fill(0.0L);
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
    Structure.Invalidate();
    Factors.Forget();
    LoopStep.Forget();
    setSizes(numberOfQVariables, numberOfEquations);
}

// ---------------------------------------------------------------------------
// Head loss of one unknown's pipe, metres of fluid:
//   h(Q)  = friction(Q) + G·Q·|Q| + component(Q) − pump(Q)
//   h'(Q) = friction'(Q) + 2·G·|Q| + component'(Q) − pump'(Q)
// Every term is evaluated afresh from the current flow; the friction factor
// comes from the current Reynolds number and its change with Q is ignored.

double TMatrixEquations::frictionFactor(std::int32_t j, double velocity_ms, const char* method) const {
    const TFrictionFactorQuery query = frictionQueryAt(j, velocity_ms);
    return finiteOrRaise(CalcFrictionFactor(query.Reynolds, *query.Pipe), method, "friction factor");
}

// What the friction factor of unknown j's pipe is found from at this velocity.
TFrictionFactorQuery TMatrixEquations::frictionQueryAt(std::int32_t j, double velocity_ms) const {
    const double reynolds = CalcReynoldsNumber(velocity_ms, QDiameter[j], FluidDensity, FluidViscosity, 1.0);
    return TFrictionFactorQuery{reynolds, &pipeFrictionTerms(j, reynolds), 0.0};
}

// Below the turbulent range the factor needs nothing of the pipe, and a pipe
// without a bore must not fail there. Above it such a pipe fails at every
// evaluation, as its terms are never kept.
const TPipeFrictionTerms& TMatrixEquations::pipeFrictionTerms(std::int32_t j, double reynolds) const {
    static const TPipeFrictionTerms kUnused{};
    if (reynolds <= TurbulentReynolds) return kUnused;
    TPipeFrictionTerms& terms = FrictionTerms[static_cast<std::size_t>(j)];
    if (terms.Diameter_m != QDiameter[j] || terms.Roughness_m != QRoughness[j] || terms.Diameter_m == 0.0) {
        terms = CalcPipeFrictionTerms(QDiameter[j], QRoughness[j]);
    }
    return terms;
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

// The velocity and friction factor depend on the flow, the pipe and the fluid
// only; when none of them changed since they were last computed, they are taken
// as they were. The others are computed here for every walked unknown, the
// friction factors all at once (CalcFrictionFactors runs several side by side).
void TMatrixEquations::refreshFrictionRecords(const char* method) {
    std::size_t queries = 0;
    for (const std::int32_t j : Structure.HeadUnknowns()) {
        const double flow_m3s = flowAsDouble(QVariables[j], method);
        if (frictionRecordHolds(j, flow_m3s)) continue;
        const double velocity_ms = CalcVelocity(flow_m3s, QDiameter[j], 1.0);
        Friction[static_cast<std::size_t>(j)] = TFrictionRecord{
            false, flow_m3s, QDiameter[j], QRoughness[j], FluidDensity, FluidViscosity, velocity_ms, 0.0};
        FrictionQueries[queries] = frictionQueryAt(j, velocity_ms);
        FrictionQueryUnknowns[queries] = j;
        ++queries;
    }
    CalcFrictionFactors(std::span<TFrictionFactorQuery>(FrictionQueries.data(), queries));
    for (std::size_t q = 0; q < queries; ++q) {
        TFrictionRecord& record = Friction[static_cast<std::size_t>(FrictionQueryUnknowns[q])];
        record.FrictionFactor = finiteOrRaise(FrictionQueries[q].Factor, method, "friction factor");
        record.Known = true;
    }
}

bool TMatrixEquations::frictionRecordHolds(std::int32_t j, double flow_m3s) const {
    const TFrictionRecord& record = Friction[static_cast<std::size_t>(j)];
    return record.Known && record.Flow_m3s == flow_m3s && record.Diameter_m == QDiameter[j] &&
           record.Roughness_m == QRoughness[j] && record.Density_kgm3 == FluidDensity &&
           record.Viscosity_cP == FluidViscosity;
}

// After refreshFrictionRecords.
TMatrixEquations::TFlowState TMatrixEquations::flowStateOf(std::int32_t j) const {
    const TFrictionRecord& record = Friction[static_cast<std::size_t>(j)];
    return TFlowState{QVariables[j], record.Flow_m3s, record.Velocity_ms, record.FrictionFactor};
}

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

const TEquationStructure& TMatrixEquations::currentStructure(const char* method) {
    const TOneBasedMatrix<std::uint8_t>& codes = QMatrix;  // read only: a write would count as a change
    if (!Structure.Describes(codes, NumberOfQVariables, NumberOfEquations)) {
        Structure.Read(codes, NumberOfQVariables, NumberOfEquations);
        Factors.Forget();
        LoopStep.Forget();
    }
    if (Structure.FirstUnknownCode() != 0)
        throw EMatrixEquations(std::string("TMatrixEquations.") + method + kUnknownCode +
                               std::to_string(Structure.FirstUnknownCode()));
    return Structure;
}

// Each walked pipe's head loss once, however many equations walk it.
void TMatrixEquations::evaluateHeadLosses() {
    refreshFrictionRecords("CalculateF");
    for (const std::int32_t j : Structure.HeadUnknowns())
        HeadLoss_mHd[static_cast<std::size_t>(j)] = headLossAt(j, flowStateOf(j));
}

// F[i] = Σ_j (±Q[j] or ±h[j](Q[j])) − QKnowns[i], unknowns ascending
long double TMatrixEquations::residualOfEquation(std::int32_t i) {
    long double sum = 0.0L;
    bool head = false;
    for (const TEquationStructure::TRowEntry* entry = Structure.RowBegin(i); entry != Structure.RowEnd(i); ++entry) {
        const auto j = static_cast<std::size_t>(entry->Unknown);
        switch (entry->Code) {
            case CodeFlowEnters: sum = sum + QVariables[entry->Unknown]; break;
            case CodeFlowLeaves: sum = sum - QVariables[entry->Unknown]; break;
            case CodeWalkedForward: sum = sum + HeadLoss_mHd[j]; break;
            default: sum = sum - HeadLoss_mHd[j]; break;  // CodeWalkedBackward
        }
        head = head || entry->Code >= CodeWalkedForward;
    }
    FIsHeadEquation[i] = head;
    return finiteOrRaise(sum - QKnowns[i], "CalculateF", "residual");
}

void TMatrixEquations::CalculateF(bool& Ok) {
    requireSizesWithinCapacity("CalculateF", NumberOfQVariables, NumberOfEquations);
    Ok = true;
    try {
        currentStructure("CalculateF");
        evaluateHeadLosses();
        for (std::int32_t i = 1; i <= NumberOfEquations; ++i) FResults[i] = residualOfEquation(i);
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

// Each walked pipe's slope h'(Q) once, however many equations walk it.
void TMatrixEquations::evaluateHeadLossSlopes() {
    refreshFrictionRecords("CalculateDMatrix");
    for (const std::int32_t j : Structure.HeadUnknowns())
        HeadLossSlope[static_cast<std::size_t>(j)] = headLossDifferentialAt(j, flowStateOf(j));
}

// Entries: +1 / −1 for a flow entering / leaving, +h'(Q) / −h'(Q) for a pipe
// walked along / against its direction.
void TMatrixEquations::CalculateDMatrix() {
    requireSizesWithinCapacity("CalculateDMatrix", NumberOfQVariables, NumberOfEquations);
    currentStructure("CalculateDMatrix");
    evaluateHeadLossSlopes();
    TSparseColumns& jacobian = Structure.Jacobian();
    const std::vector<std::uint8_t>& codes = Structure.EntryCodes();
    const std::vector<std::int32_t>& unknowns = Structure.EntryUnknowns();
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const long double slope = HeadLossSlope[static_cast<std::size_t>(unknowns[k])];
        switch (codes[k]) {
            case CodeFlowEnters: jacobian.Value[k] = 1.0L; break;
            case CodeFlowLeaves: jacobian.Value[k] = -1.0L; break;
            case CodeWalkedForward: jacobian.Value[k] = slope; break;
            default: jacobian.Value[k] = -slope; break;  // CodeWalkedBackward
        }
    }
}

long double TMatrixEquations::JacobianEntry(std::int32_t i, std::int32_t j) const {
    if (!Structure.Describes(QMatrix, NumberOfQVariables, NumberOfEquations)) return 0.0L;
    for (const TEquationStructure::TRowEntry* entry = Structure.RowBegin(i); entry != Structure.RowEnd(i); ++entry)
        if (entry->Unknown == j) return Structure.Jacobian().Value[static_cast<std::size_t>(entry->Entry)];
    return 0.0L;
}

// The exchange is permanent: the pivot equations take positions 1..N in pivot
// order and keep them for later iterations (their head flags follow), so that
// the tests of accuracy, which read equations 1..N, read the pivot equations.
void TMatrixEquations::adoptPivotOrder() {
    const bool loopSpace = LoopStep.Applies();
    const std::vector<std::int32_t>& order = loopSpace ? LoopStep.RowOrder() : Factors.RowOrder();
    bool moved = false;
    for (std::size_t k = 0; k < order.size() && !moved; ++k) moved = order[k] != static_cast<std::int32_t>(k);
    if (!moved) return;
    permuteEquations(order);
    Structure.RenumberEquations(order);
    if (loopSpace)
        LoopStep.RenumberRowsInOrder();
    else
        Factors.RenumberRowsInPivotOrder();
    Structure.Adopt(QMatrix);
}

// The loop form where the system has it, the whole Jacobian otherwise.
bool TMatrixEquations::factorJacobian() {
    if (!LoopStep.IsAnalysed()) LoopStep.Analyse(Structure);
    if (LoopStep.Applies()) return LoopStep.Factor(Structure.Jacobian());
    return Factors.Factor(Structure.Jacobian());
}

std::int32_t TMatrixEquations::FactorEntryCount() const {
    return LoopStep.Applies() ? LoopStep.FactorEntryCount() : Factors.FactorEntryCount();
}

// Equation order[k] + 1 becomes equation k + 1.
void TMatrixEquations::permuteEquations(const std::vector<std::int32_t>& order) {
    const auto unknowns = static_cast<std::size_t>(NumberOfQVariables);
    const std::size_t equations = order.size();
    std::vector<std::uint8_t> codes(equations * unknowns);
    std::vector<double> knowns(equations);
    std::vector<long double> residuals(equations);
    std::vector<bool> head(equations);
    for (std::size_t k = 0; k < equations; ++k) {
        const std::int32_t from = order[k] + 1;
        std::copy_n(QMatrix.RowData(from), unknowns, codes.data() + k * unknowns);
        knowns[k] = QKnowns[from];
        residuals[k] = FResults[from];
        head[k] = FIsHeadEquation[from];
    }
    for (std::size_t k = 0; k < equations; ++k) {
        const auto to = static_cast<std::int32_t>(k + 1);
        std::copy_n(codes.data() + k * unknowns, unknowns, QMatrix.RowData(to));
        QMatrix.MarkWritten(to, 1, NumberOfQVariables);
        QKnowns[to] = knowns[k];
        FResults[to] = residuals[k];
        FIsHeadEquation[to] = head[k];
    }
}

void TMatrixEquations::CalculateDMatrixAndGaussElim(bool& Ok) {
    requireSizesWithinCapacity("CalculateDMatrixAndGaussElim", NumberOfQVariables, NumberOfEquations);
    Ok = false;
    try {
        CalculateDMatrix();
        if (!factorJacobian()) return;
        adoptPivotOrder();
        Ok = true;
    } catch (const EVelmoraError&) {
        Ok = false;
    }
}

// ---------------------------------------------------------------------------
// Newton step.

// Jacobian·ΔQ = F on the pivot equations, from the factors; ΔQ is taken only
// when every value of it is finite.
bool TMatrixEquations::solveFactoredStep() {
    const std::int32_t N = NumberOfQVariables;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) StepKnowns[static_cast<std::size_t>(i - 1)] = FResults[i];
    const bool solved =
        LoopStep.Applies() ? LoopStep.Solve(StepKnowns, StepDeltas) : Factors.Solve(StepKnowns, StepDeltas);
    if (!solved) return false;
    for (std::int32_t j = 1; j <= N; ++j) QDeltas[j] = StepDeltas[static_cast<std::size_t>(j - 1)];
    return true;
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
    if (!solveFactoredStep()) {
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
