#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundations/VM4_Errors.h"
#include "model/VM4_ComponentPressure_Class.h"
#include "model/VM4_Pump_Class.h"
#include "solver/VM4_OneBasedArray.h"
#include "solver/VM4_OneBasedMatrix.h"
#include "solver/VM4_SolverPath.h"
#include "solver/VM4_SparseWorkspace.h"

// Raised by TMatrixEquations: sizes beyond its capacity, and arithmetic that has
// no finite result (the engine's stand-in for a floating-point exception). The
// Newton operations catch the arithmetic ones themselves and report them as
// codes; only misuse reaches the caller.
VELMORA_DECLARE_ERROR(EMatrixEquations);

// The non-linear system of flow equations of one network, solved for the
// unknown pipe flows by Newton iteration.
//
// The equation generator fills it: a coefficient code per unknown and equation
// (QMatrix), a right-hand constant per equation (QKnowns), the geometry, fitting
// coefficient, pump and component of each unknown's pipe, and the fluid. The
// engine knows nothing of nodes or loops. Equation i reads
//     sum over j of (contribution of code QMatrix[i][j] at Q[j]) = QKnowns[i]
// where continuity codes add ±Q[j] (m³/s) and head codes add ±h[j](Q[j]) (m of fluid).
//
// Flows, residuals, the Jacobian and the step are held in extended precision
// (long double, 80 bits on x86-64); geometry, constants and tolerances in double.
// Every table is 1-based and allocated once at construction, at full capacity.
//
// The Newton operations report their outcome as a Boolean and an integer code
// (ErrorCodeNone, ErrorCodeZeroPivot, ErrorCodeArithmetic) and never throw for
// a numeric failure. Rows are exchanged permanently by the pivoting, so the
// equation order changes during a solve until the generator rebuilds it.
//
// Two implementations of the residuals, the elimination and the back
// substitution are kept, chosen by SolverPath. Reference is the plain dense one.
// Fast (VM4_Matrix_Equations_Fast.cpp) evaluates each unknown's head loss once
// per evaluation instead of once per equation that walks it, and eliminates only
// the entries that can be non-zero, performing on them exactly the arithmetic of
// the dense elimination in the same order, so that every value, pivot, step and
// flow is the same bit for bit. Whenever an arithmetic failure makes the outcome
// depend on where the dense code would stop, the fast path hands the operation
// to the dense one.
class TMatrixEquations {
public:
    static constexpr std::int32_t MaxQVariables = 1000;
    static constexpr std::int32_t MaxEquations = 2000;

    // Coefficient codes of QMatrix[i][j].
    static constexpr std::uint8_t CodeNotInEquation = 0;
    static constexpr std::uint8_t CodeFlowEnters = 1;        // continuity: +Q
    static constexpr std::uint8_t CodeFlowLeaves = 2;        // continuity: -Q
    static constexpr std::uint8_t CodeWalkedForward = 3;     // head: +h(Q), pipe walked from its from-node
    static constexpr std::uint8_t CodeWalkedBackward = 4;    // head: -h(Q), pipe walked against its direction

    // Outcomes of SolveQDeltas and SolveQVariables.
    static constexpr std::int32_t ErrorCodeNone = 0;
    static constexpr std::int32_t ErrorCodeZeroPivot = -1;
    static constexpr std::int32_t ErrorCodeArithmetic = -3;

    // Size reported by CalculateFResultsSize when the sum has no finite value.
    static constexpr long double FailedResultsSize = 9999999999999.0L;

    // Defaults, replaced from the network settings whenever equations are generated.
    static constexpr double DefaultFlowTolerance_m3s = 1e-6;
    static constexpr double DefaultHeadToleranceApprox_mHd = 2.0;
    static constexpr double DefaultHeadToleranceFinal_mHd = 0.001;
    static constexpr std::int32_t DefaultMaxIterationsApprox = 200;
    static constexpr std::int32_t DefaultMaxIterationsFinal = 5000;
    static constexpr double DefaultDeltaQReductionFactor = 0.1;

    // The network creates it with (MaxQVariables, MaxEquations). N and M are the
    // numbers in use, within the capacities; raises EMatrixEquations otherwise.
    TMatrixEquations(std::int32_t numberOfQVariables, std::int32_t numberOfEquations);

    TMatrixEquations(const TMatrixEquations&) = delete;
    TMatrixEquations& operator=(const TMatrixEquations&) = delete;

    // Empties every table over its full capacity, clears the pump and component
    // copies, zeroes the fluid and starts the approximate phase's settings; keeps
    // the tolerances, limits and counters. Raises EMatrixEquations for sizes
    // beyond the capacities, changing nothing.
    void ClearResults(std::int32_t numberOfQVariables, std::int32_t numberOfEquations);

    // Residuals of equations 1..M at the current flows; also sets FIsHeadEquation.
    // Ok is false when any evaluation had no finite result (the residuals are then
    // partly computed).
    void CalculateF(bool& Ok);
    // True when each of equations 1..N is within FlowTolerance (continuity) or
    // HeadToleranceCurrent (head). Tests the last CalculateF.
    bool CheckFAccurate() const;
    // Size = ½·Σ FResults[i]² over i = 1..N; FailedResultsSize and Ok false when it overflows.
    void CalculateFResultsSize(long double& Size, bool& Ok) const;
    // CalculateF; only when it succeeded, Accurate and Size as above (else both unchanged).
    void CalculateAndCheckFAccurate(bool& Ok, bool& Accurate, long double& Size);

    // Jacobian rows 1..M, columns 1..N at the current flows. May raise when a
    // formula has no finite result.
    void CalculateDMatrix();
    // Jacobian, then Gauss elimination with partial pivoting, exchanging rows
    // permanently. Ok is false when a pivot is exactly 0 or the arithmetic failed.
    void CalculateDMatrixAndGaussElim(bool& Ok);
    // The Newton step QDeltas solving DMatrix·ΔQ = FResults. On a zero pivot the
    // previous step is kept (code -1; a log line once per attempt); on an
    // arithmetic failure code -3 and ErrorMessage says so.
    void SolveQDeltas(bool& Ok, std::int32_t& ErrorCode, std::vector<std::string>& log, std::string& ErrorMessage);
    // Q[j] = Q[j] - factor·QDeltas[j], j = 1..N. Raises EMatrixEquations when a
    // flow has no finite value (flows before it are already updated).
    void SubtractQDeltasFromQVariables(long double factor);

    // The Newton loop with the current phase's tolerance, iteration limit and step
    // factor. Solved when the flows meet the tolerances at the end. A step that
    // enlarges the residual is reversed; in the final phase (MaxIterationsCurrent
    // equal to MaxIterationsFinal) reversed steps do not count towards the limit,
    // but at most MaxIterationsCurrent of them are made in one call. ErrorCode is
    // the last step's code, or ErrorCodeArithmetic when moving the flows failed.
    void SolveQVariables(bool& Solved, std::int32_t& ErrorCode, std::vector<std::string>& log,
                         std::string& ErrorMessage);

    // Some Q[j] < −FlowTolerance, j = 1..N.
    bool IsAnyQVariableNegative() const;

    // --- The system, filled by the equation generator. ---
    std::int32_t NumberOfQVariables = 0;  // N
    std::int32_t NumberOfEquations = 0;   // M
    TOneBasedMatrix<std::uint8_t> QMatrix{MaxEquations, MaxQVariables};  // coefficient codes
    TOneBasedArray<long double> QVariables{MaxQVariables};               // m³/s
    TOneBasedArray<double> QDiameter{MaxQVariables};                     // internal diameter, m
    TOneBasedArray<double> QRoughness{MaxQVariables};                    // absolute roughness, m
    TOneBasedArray<double> QLength{MaxQVariables};                       // m
    double FluidViscosity = 0.0;                                         // centipoise
    double FluidDensity = 0.0;                                           // kg/m³
    TOneBasedArray<double> QKnowns{MaxEquations};                        // right-hand constants
    TOneBasedArray<long double> FResults{MaxEquations};                  // residuals
    TOneBasedArray<bool> FIsHeadEquation{MaxEquations};                  // has codes 3 or 4
    TOneBasedMatrix<long double> DMatrix{MaxEquations, MaxQVariables};   // Jacobian, reduced in place
    TOneBasedArray<long double> QDeltas{MaxQVariables};                  // Newton step
    TOneBasedArray<long double> DKnowns{MaxEquations};                   // right-hand side, reduced
    // G of each unknown's pipe, sum of fitting K / (2g·A²), so that the fitting loss is G·Q·|Q|.
    TOneBasedArray<double> QFittingLossCoefficents{MaxQVariables};
    TOneBasedArray<TComponentPressure> QComponent{MaxQVariables};  // owned copies, cleared when none
    TOneBasedArray<TPump> QPump{MaxQVariables};                    // owned copies, cleared when none

    // --- Counters. ---
    // Newton iterations of the current SolveQVariables, the first evaluation counting as 1.
    std::int32_t IterationCount = 0;
    // Attempt counter kept by the solve driver.
    std::int32_t IterationCountTotal = 0;
    // IterationCountTotal when the "too small" line was last logged.
    std::int32_t LastSmallValuesReport = 0;

    // Fast in production; Reference runs the plain dense algorithms, for comparison.
    TSolverPath SolverPath = TSolverPath::Fast;

    // --- Tolerances and limits, set by the caller. ---
    double FlowTolerance = DefaultFlowTolerance_m3s;                  // m³/s
    double HeadToleranceApprox = DefaultHeadToleranceApprox_mHd;      // m of fluid
    double HeadToleranceFinal = DefaultHeadToleranceFinal_mHd;        // m of fluid
    std::int32_t MaxIterationsApprox = DefaultMaxIterationsApprox;
    std::int32_t MaxIterationsFinal = DefaultMaxIterationsFinal;
    double DeltaQReductionFactor = DefaultDeltaQReductionFactor;
    double HeadToleranceCurrent = DefaultHeadToleranceApprox_mHd;     // m of fluid
    std::int32_t MaxIterationsCurrent = DefaultMaxIterationsApprox;
    double DeltaQFactorCurrent = 1.0;

private:
    void requireSizesWithinCapacity(const char* method, std::int32_t numberOfQVariables,
                                    std::int32_t numberOfEquations) const;
    // The value, or EMatrixEquations naming the method and the quantity when it is not finite.
    static long double requireFinite(long double value, const char* method, const char* what);
    void setSizes(std::int32_t numberOfQVariables, std::int32_t numberOfEquations);

    // One unknown's flow as the formulas take it, with the friction factor there.
    struct TFlowState {
        long double Flow_m3s;
        double FlowDouble_m3s;
        double Velocity_ms;
        double FrictionFactor;
    };

    // Terms of one unknown's pipe head loss at its current flow, m of fluid.
    long double headLoss_mHd(std::int32_t j) const;
    long double headLossDifferential(std::int32_t j) const;
    TFlowState flowStateOf(std::int32_t j, const char* method) const;
    long double headLossAt(std::int32_t j, const TFlowState& state) const;
    long double headLossDifferentialAt(std::int32_t j, const TFlowState& state) const;
    double frictionFactor(std::int32_t j, double velocity_ms, const char* method) const;
    double frictionSlopeAtZeroFlow(std::int32_t j) const;
    double componentLoss_mHd(std::int32_t j, double flow_m3s) const;
    double pumpHead_mHd(std::int32_t j, double flow_m3s) const;

    long double residualOfEquation(std::int32_t i);
    long double jacobianEntry(std::int32_t i, std::int32_t j) const;

    void pivotOnColumn(std::int32_t k);
    void exchangeEquations(std::int32_t rowA, std::int32_t rowB);
    void eliminateBelowColumn(std::int32_t k);
    bool hasZeroPivot() const;
    void backSubstitute();

    void reportTooSmallOncePerAttempt(std::vector<std::string>& log);
    bool areReversedStepsUncounted() const;

    // ---- Fast path (VM4_Matrix_Equations_Fast.cpp). Each returns false, having
    // changed nothing the dense path would see, when the dense path must run. ----
    bool equationCodesCurrent();
    void readEquationCodes();
    TFlowState flowStateReusingFriction(std::int32_t j, const char* method);
    bool evaluateHeadLosses();
    bool evaluateHeadLossSlopes();
    bool calculateFFast(bool& Ok);
    bool gaussElimFast(bool& Ok);
    bool eliminationStepFast(std::int32_t k);
    void resetSparseRows();
    void loadSparseJacobian();
    bool evaluateColumnOfCandidates(std::int32_t k);
    void pivotOnColumnFast(std::int32_t k);
    void exchangeEquationsFast(std::int32_t positionA, std::int32_t positionB);
    bool finishPivotRow(std::int32_t k);
    bool eliminateBelowColumnFast(std::int32_t k);
    void undoExchangesFast();
    void clearReducedEntries();
    void backSubstituteFast();

    TSparseWorkspace Sparse{MaxQVariables, MaxEquations};
};
