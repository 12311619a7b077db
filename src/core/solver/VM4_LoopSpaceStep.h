#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "solver/VM4_EquationStructure.h"
#include "solver/VM4_SparseColumns.h"
#include "solver/VM4_SparseLU.h"

// The Newton step of a network's equations in the space of its loops.
//
// The generated Jacobian J = [A; R] has continuity rows A (an incidence matrix:
// +1 where a flow enters a join point, −1 where it leaves) and head rows R, one
// per loop or path, whose entries are the pipe slopes with the sign of the walk:
// R = S·D with S the loops' signs and D the slopes. A walked loop or path enters
// and leaves each join point it passes, so A·Sᵀ = 0. The step J·ΔQ = F is then
//     ΔQ = ΔQp + Sᵀ·z,   A·ΔQp = F_A,   (R·Sᵀ)·z = F_R − R·ΔQp,
// where ΔQp comes from a spanning forest of the join points (each tree pipe
// carries the flow its subtree needs: additions of ±1 only) and R·Sᵀ = S·D·Sᵀ has
// one row per loop or path, with entries only where two loops share a pipe. Its
// pattern is fixed for a generated system, so it is analysed once and only its
// numbers are factored again at each step. With every slope positive S·D·Sᵀ is
// positive definite and a sparse LDLᵀ factorization (Eigen's, minimum-degree
// order, half the work of an LU) solves it; a step at which it is not (a pump
// running up its curve, a vanishing slope) is factored by TSparseLU with
// threshold pivoting instead.
//
// The continuity rows of a part of the network without a tank or end pressure
// node add up to 0: the root of that part's tree is the dependent equation, and
// it is left out of the step (RowOrder puts it last).
//
// Analyse tells whether a system has this form: rows either all continuity or
// all head codes, each flow in at most two continuity rows with opposite signs,
// each head row's signs in the kernel of A, and as many head rows as the kernel
// has dimensions. Any other code table is left to a factorization of J itself.
//
// All indices are 0-based; equation i is row i, unknown j column j of the
// Jacobian.
class TLoopSpaceStep {
public:
    TLoopSpaceStep();
    ~TLoopSpaceStep();
    TLoopSpaceStep(const TLoopSpaceStep&) = delete;
    TLoopSpaceStep& operator=(const TLoopSpaceStep&) = delete;

    // Reads the pattern of the current structure; true when the step applies.
    bool Analyse(const TEquationStructure& structure);
    // Next use reads the structure again.
    void Forget() { analysed_ = false; }
    bool IsAnalysed() const { return analysed_; }
    bool Applies() const { return analysed_ && applies_; }

    // Builds S·D·Sᵀ from the Jacobian's values and factors it. False when it has
    // no non-zero pivot in some column or a value has no finite result. The
    // Jacobian must stay alive and unchanged until Solve.
    bool Factor(const TSparseColumns& jacobian);
    // ΔQ (x, Columns values) from the right-hand side b (by row, consumed).
    // False when a value has no finite result.
    bool Solve(std::vector<long double>& b, std::vector<long double>& x);

    // The independent rows ascending, then the dependent ones ascending.
    const std::vector<std::int32_t>& RowOrder() const { return rowOrder_; }
    // Renames every row so that RowOrder()[k] becomes row k (as the caller does).
    void RenumberRowsInOrder();

    // Loops and paths (the order of the reduced system) and the entries of its factors.
    std::int32_t LoopCount() const { return static_cast<std::int32_t>(headRow_.size()); }
    std::int32_t FactorEntryCount() const;

private:
    // An entry of a row as the step needs it: its column, its Jacobian entry and
    // the sign of its code.
    struct TEntry {
        std::int32_t Column;
        std::int32_t Entry;
        std::int32_t Sign;
    };

    bool classifyRows(const TEquationStructure& structure);
    bool continuityColumnsAreIncidences();
    void growForest();
    void growTreeFrom(std::int32_t first);
    bool headRowsAreInKernel() const;
    void buildLoopMatrix();
    void analyseDefiniteFactors();
    bool factorLoopMatrix();
    bool factorPivoted();
    bool solveLoopMatrix();
    void refineLoopFlows();
    void buildRowOrder(std::int32_t rows);
    void solveForestStep(const std::vector<long double>& b, std::vector<long double>& x) const;

    bool analysed_ = false;
    bool applies_ = false;
    std::int32_t columns_ = 0;
    const TSparseColumns* jacobian_ = nullptr;

    // Where a column meets the continuity rows: at most two of them (index into
    // continuityRow_), with its Jacobian entry and the sign of its code there.
    struct TColumnEnds {
        std::int32_t Count = 0;
        std::int32_t Continuity[2] = {-1, -1};
        std::int32_t Entry[2] = {-1, -1};
        std::int32_t Sign[2] = {0, 0};
    };

    // Continuity rows: their row and entries (flat, by continuity row).
    std::vector<std::int32_t> continuityRow_;
    std::vector<std::int32_t> continuityStart_;
    std::vector<TEntry> continuityEntries_;
    std::vector<TColumnEnds> columnEnds_;
    // The forest: continuity rows in the order they were reached, and each one's
    // tree column and its Jacobian entry (−1 for a part's root).
    std::vector<std::int32_t> treeOrder_;
    std::vector<std::int32_t> treeColumn_;
    std::vector<std::int32_t> treeEntry_;
    std::int32_t roots_ = 0;

    // Head rows: their row and entries (flat, by head row).
    std::vector<std::int32_t> headRow_;
    std::vector<std::int32_t> headStart_;
    std::vector<TEntry> headEntries_;

    // S·D·Sᵀ by columns; entry e is Σ sign·J[entry] over its contributions.
    TSparseColumns loopMatrix_;
    std::vector<std::int32_t> contributionStart_;
    std::vector<TEntry> contributions_;  // Column unused
    struct TDefiniteFactors;
    std::unique_ptr<TDefiniteFactors> definite_;
    bool pivoted_ = false;
    TSparseLU loopFactors_;

    std::vector<std::int32_t> rowOrder_;
    std::vector<long double> loopKnowns_;
    std::vector<long double> loopFlows_;
};
