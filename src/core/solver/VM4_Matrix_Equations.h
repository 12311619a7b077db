#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundations/VM4_Calculations.h"
#include "foundations/VM4_Errors.h"
#include "model/VM4_ComponentPressure_Class.h"
#include "model/VM4_Pump_Class.h"
#include "solver/VM4_OneBasedArray.h"
#include "solver/VM4_EquationStructure.h"
#include "solver/VM4_LoopSpaceStep.h"
#include "solver/VM4_OneBasedMatrix.h"
#include "solver/VM4_SparseLU.h"

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
// Every public table is 1-based and allocated once at construction, at full
// capacity; the sparse Jacobian and its factors grow with the system in use
// (a few hundred kilobytes at capacity, where a dense Jacobian would take 32 MB).
//
// The Newton operations report their outcome as a Boolean and an integer code
// (ErrorCodeNone, ErrorCodeZeroPivot, ErrorCodeArithmetic) and never throw for
// a numeric failure. Rows are exchanged permanently by the pivoting, so the
// equation order changes during a solve until the generator rebuilds it.
//
// Only the non-zero codes are worked on: the code table is read into a sparse
// structure once per generation (and kept through the engine's own row
// exchanges), and each unknown's head loss and slope are evaluated once per
// evaluation however many equations walk its pipe. A generated network system
// takes its Newton step in the space of its loops (TLoopSpaceStep: a spanning
// forest for continuity, a small system of one row per loop or path); any other
// code table from a sparse LU factorization of the whole Jacobian (TSparseLU).
// Either reuses its analysis from step to step.
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

    // Jacobian rows 1..M, columns 1..N at the current flows (held sparsely; read
    // an entry with JacobianEntry). May raise when a formula has no finite result.
    void CalculateDMatrix();
    // Jacobian, then its LU factorization with partial pivoting. The equations
    // chosen as pivots are moved, permanently, to positions 1..N in pivot order
    // (QMatrix, QKnowns, FResults and FIsHeadEquation follow); equations never
    // chosen (dependent ones, when M > N) come after them. Ok is false when a
    // column has no non-zero pivot or the arithmetic failed.
    void CalculateDMatrixAndGaussElim(bool& Ok);
    // The Newton step QDeltas solving Jacobian·ΔQ = FResults on the pivot
    // equations. On a zero pivot the previous step is kept (code -1; a log line
    // once per attempt); on an arithmetic failure code -3, the previous step is
    // kept and ErrorMessage says so.
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

    // Jacobian entry of equation i, unknown j (1-based) from the last
    // CalculateDMatrix, in the equation order of now; 0 where the code is 0.
    long double JacobianEntry(std::int32_t i, std::int32_t j) const;
    // Entries of the last factorization's L and U factors: the work of a step.
    std::int32_t FactorEntryCount() const;

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
    TOneBasedArray<long double> QDeltas{MaxQVariables};                  // Newton step
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
    void setSizes(std::int32_t numberOfQVariables, std::int32_t numberOfEquations);

    // One unknown's flow as the formulas take it, with the friction factor there.
    struct TFlowState {
        long double Flow_m3s;
        double FlowDouble_m3s;
        double Velocity_ms;
        double FrictionFactor;
    };

    // What an unknown's velocity and friction factor were last computed from, so
    // that the Jacobian reuses those of the residual evaluation at the same flow
    // (the Colebrook-White iteration is the costliest formula of a step).
    struct TFrictionRecord {
        bool Known = false;
        double Flow_m3s = 0.0;
        double Diameter_m = 0.0;
        double Roughness_m = 0.0;
        double Density_kgm3 = 0.0;
        double Viscosity_cP = 0.0;
        double Velocity_ms = 0.0;
        double FrictionFactor = 0.0;
    };

    // Terms of one unknown's pipe head loss at its current flow, m of fluid.
    void refreshFrictionRecords(const char* method);
    bool frictionRecordHolds(std::int32_t j, double flow_m3s) const;
    TFlowState flowStateOf(std::int32_t j) const;
    long double headLossAt(std::int32_t j, const TFlowState& state) const;
    long double headLossDifferentialAt(std::int32_t j, const TFlowState& state) const;
    double frictionFactor(std::int32_t j, double velocity_ms, const char* method) const;
    TFrictionFactorQuery frictionQueryAt(std::int32_t j, double velocity_ms) const;
    const TPipeFrictionTerms& pipeFrictionTerms(std::int32_t j, double reynolds) const;
    double frictionSlopeAtZeroFlow(std::int32_t j) const;
    double componentLoss_mHd(std::int32_t j, double flow_m3s) const;
    double pumpHead_mHd(std::int32_t j, double flow_m3s) const;

    // The sparse structure of the code table, read again when the table changed.
    const TEquationStructure& currentStructure(const char* method);
    void evaluateHeadLosses();
    long double residualOfEquation(std::int32_t i);
    void evaluateHeadLossSlopes();
    void adoptPivotOrder();
    void permuteEquations(const std::vector<std::int32_t>& order);
    bool factorJacobian();
    bool solveFactoredStep();

    void reportTooSmallOncePerAttempt(std::vector<std::string>& log);
    bool areReversedStepsUncounted() const;

    TEquationStructure Structure;
    TLoopSpaceStep LoopStep;
    TSparseLU Factors;
    std::vector<long double> HeadLoss_mHd = std::vector<long double>(MaxQVariables + 1);    // by unknown
    std::vector<long double> HeadLossSlope = std::vector<long double>(MaxQVariables + 1);   // by unknown
    std::vector<TFrictionRecord> Friction = std::vector<TFrictionRecord>(MaxQVariables + 1);  // by unknown
    // The pipe's share of its friction factor, read again when its pipe changed.
    mutable std::vector<TPipeFrictionTerms> FrictionTerms = std::vector<TPipeFrictionTerms>(MaxQVariables + 1);
    // The friction factors a refresh asks for at once, and whose they are.
    std::vector<TFrictionFactorQuery> FrictionQueries = std::vector<TFrictionFactorQuery>(MaxQVariables);
    std::vector<std::int32_t> FrictionQueryUnknowns = std::vector<std::int32_t>(MaxQVariables);
    std::vector<long double> StepKnowns = std::vector<long double>(MaxEquations);  // 0-based
    std::vector<long double> StepDeltas = std::vector<long double>(MaxQVariables);  // 0-based
};
