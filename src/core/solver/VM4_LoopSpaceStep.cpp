#include "solver/VM4_LoopSpaceStep.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

namespace {

constexpr std::uint8_t kFlowEnters = 1;
constexpr std::uint8_t kFlowLeaves = 2;
constexpr std::uint8_t kWalkedForward = 3;
constexpr std::int32_t kUnreached = -2;
constexpr std::int32_t kRoot = -1;
constexpr std::int32_t kRefinementRounds = 1;

std::size_t at(std::int32_t index) { return static_cast<std::size_t>(index); }

std::int32_t signOf(std::uint8_t code) { return code == kFlowEnters || code == kWalkedForward ? 1 : -1; }

bool isContinuityCode(std::uint8_t code) { return code == kFlowEnters || code == kFlowLeaves; }

}  // namespace

// The upper triangle of S·D·Sᵀ in Eigen's storage and its LDLᵀ factors, the
// order and pattern analysed once per generated system. The factors are kept in
// double precision and the solution is refined against the extended-precision
// matrix (see solveLoopMatrix): 80-bit arithmetic makes every update of the
// factorization several times slower, and the refinement gives the accuracy of
// an extended-precision factorization back.
struct TLoopSpaceStep::TDefiniteFactors {
    using TMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, std::int32_t>;
    using TVector = Eigen::Matrix<double, Eigen::Dynamic, 1>;
    // The upper triangle of the loop matrix with its loops already in the
    // minimum-degree order, so that each factorization reads it where it is
    // instead of permuting a copy.
    TMatrix Upper;
    std::vector<std::int32_t> Source;    // entry of the loop matrix behind each stored value
    std::vector<std::int32_t> Position;  // where each loop stands in that order
    Eigen::SimplicialLDLT<TMatrix, Eigen::Upper, Eigen::NaturalOrdering<std::int32_t>> Factors;
    TVector Knowns;
    TVector Correction;
};

TLoopSpaceStep::TLoopSpaceStep() : definite_(std::make_unique<TDefiniteFactors>()) {}

TLoopSpaceStep::~TLoopSpaceStep() = default;

std::int32_t TLoopSpaceStep::FactorEntryCount() const {
    if (pivoted_) return loopFactors_.FactorEntryCount();
    if (LoopCount() == 0) return 0;
    return static_cast<std::int32_t>(definite_->Factors.matrixL().nestedExpression().nonZeros()) + LoopCount();
}

bool TLoopSpaceStep::Analyse(const TEquationStructure& structure) {
    analysed_ = true;
    applies_ = false;
    loopFactors_.Forget();
    columns_ = structure.Unknowns();
    if (!classifyRows(structure) || !continuityColumnsAreIncidences()) return false;
    growForest();
    const auto rank = static_cast<std::int32_t>(continuityRow_.size()) - roots_;
    if (LoopCount() != columns_ - rank || !headRowsAreInKernel()) return false;
    buildLoopMatrix();
    buildRowOrder(structure.Equations());
    applies_ = true;
    return true;
}

// Each row is a continuity row (codes 1 and 2) or a head row (codes 3 and 4);
// an empty or mixed row has no place in the loop form.
bool TLoopSpaceStep::classifyRows(const TEquationStructure& structure) {
    continuityRow_.clear();
    continuityStart_.assign(1, 0);
    continuityEntries_.clear();
    headRow_.clear();
    headStart_.assign(1, 0);
    headEntries_.clear();
    for (std::int32_t i = 1; i <= structure.Equations(); ++i) {
        const TEquationStructure::TRowEntry* begin = structure.RowBegin(i);
        const TEquationStructure::TRowEntry* end = structure.RowEnd(i);
        if (begin == end) return false;
        const bool continuity = isContinuityCode(begin->Code);
        for (const TEquationStructure::TRowEntry* entry = begin; entry != end; ++entry) {
            if (isContinuityCode(entry->Code) != continuity) return false;
            const TEntry step{entry->Unknown - 1, entry->Entry, signOf(entry->Code)};
            (continuity ? continuityEntries_ : headEntries_).push_back(step);
        }
        if (continuity) {
            continuityRow_.push_back(i - 1);
            continuityStart_.push_back(static_cast<std::int32_t>(continuityEntries_.size()));
        } else {
            headRow_.push_back(i - 1);
            headStart_.push_back(static_cast<std::int32_t>(headEntries_.size()));
        }
    }
    return true;
}

// A flow enters at most one join point and leaves at most one; a column that no
// row holds leaves the Jacobian singular, which the factorization of J reports.
bool TLoopSpaceStep::continuityColumnsAreIncidences() {
    columnEnds_.assign(at(columns_), TColumnEnds{});
    std::vector<bool> held(at(columns_), false);
    for (std::size_t c = 0; c < continuityRow_.size(); ++c) {
        for (std::int32_t p = continuityStart_[c]; p < continuityStart_[c + 1]; ++p) {
            const TEntry& entry = continuityEntries_[at(p)];
            TColumnEnds& ends = columnEnds_[at(entry.Column)];
            if (ends.Count == 2) return false;
            ends.Continuity[ends.Count] = static_cast<std::int32_t>(c);
            ends.Entry[ends.Count] = entry.Entry;
            ends.Sign[ends.Count] = entry.Sign;
            ++ends.Count;
            held[at(entry.Column)] = true;
        }
    }
    for (const TEntry& entry : headEntries_) held[at(entry.Column)] = true;
    for (const TColumnEnds& ends : columnEnds_)
        if (ends.Count == 2 && ends.Sign[0] == ends.Sign[1]) return false;
    return std::all_of(held.begin(), held.end(), [](bool h) { return h; });
}

// Breadth first from the fixed-pressure nodes (a flow in one continuity row only
// comes from or goes to one of them), then from each part they do not reach.
void TLoopSpaceStep::growForest() {
    const auto rows = continuityRow_.size();
    treeOrder_.clear();
    treeColumn_.assign(rows, kUnreached);
    treeEntry_.assign(rows, -1);
    roots_ = 0;
    for (std::int32_t j = 0; j < columns_; ++j) {
        const TColumnEnds& ends = columnEnds_[at(j)];
        const std::int32_t c = ends.Continuity[0];
        if (ends.Count != 1 || treeColumn_[at(c)] != kUnreached) continue;
        treeColumn_[at(c)] = j;
        treeEntry_[at(c)] = ends.Entry[0];
        treeOrder_.push_back(c);
    }
    growTreeFrom(0);
    // The last row of a part is its root, so that the first of two equal
    // equations stays a pivot, as with partial pivoting.
    for (std::size_t c = rows; c-- > 0;) {
        if (treeColumn_[c] != kUnreached) continue;
        treeColumn_[c] = kRoot;
        ++roots_;
        treeOrder_.push_back(static_cast<std::int32_t>(c));
        growTreeFrom(static_cast<std::int32_t>(treeOrder_.size()) - 1);
    }
}

void TLoopSpaceStep::growTreeFrom(std::int32_t first) {
    for (auto next = at(first); next < treeOrder_.size(); ++next) {
        const std::int32_t c = treeOrder_[next];
        for (std::int32_t p = continuityStart_[at(c)]; p < continuityStart_[at(c) + 1]; ++p) {
            const std::int32_t column = continuityEntries_[at(p)].Column;
            const TColumnEnds& ends = columnEnds_[at(column)];
            if (ends.Count != 2) continue;
            const std::size_t far = ends.Continuity[0] == c ? 1 : 0;
            const std::int32_t other = ends.Continuity[far];
            if (treeColumn_[at(other)] != kUnreached) continue;
            treeColumn_[at(other)] = column;
            treeEntry_[at(other)] = ends.Entry[far];
            treeOrder_.push_back(other);
        }
    }
}

// A·s = 0 for the signs s of every head row, in integers.
bool TLoopSpaceStep::headRowsAreInKernel() const {
    std::vector<std::int32_t> balance(continuityRow_.size(), 0);
    std::vector<std::int32_t> touched;
    for (std::size_t h = 0; h < headRow_.size(); ++h) {
        touched.clear();
        for (std::int32_t p = headStart_[h]; p < headStart_[h + 1]; ++p) {
            const TEntry& entry = headEntries_[at(p)];
            const TColumnEnds& ends = columnEnds_[at(entry.Column)];
            for (std::int32_t e = 0; e < ends.Count; ++e) {
                balance[at(ends.Continuity[e])] += entry.Sign * ends.Sign[e];
                touched.push_back(ends.Continuity[e]);
            }
        }
        bool balanced = true;
        for (const std::int32_t c : touched) {
            balanced = balanced && balance[at(c)] == 0;
            balance[at(c)] = 0;
        }
        if (!balanced) return false;
    }
    return true;
}

// (S·D·Sᵀ)(i, k) = Σ over the pipes j of both loops of R(i, j)·S(k, j): each
// entry lists the Jacobian entries R(i, j) it adds and the signs S(k, j).
void TLoopSpaceStep::buildLoopMatrix() {
    std::vector<std::int32_t> headsOfColumnStart(at(columns_) + 1, 0);
    for (const TEntry& entry : headEntries_) ++headsOfColumnStart[at(entry.Column) + 1];
    for (std::int32_t j = 0; j < columns_; ++j) headsOfColumnStart[at(j) + 1] += headsOfColumnStart[at(j)];
    std::vector<TEntry> headsOfColumn(headEntries_.size());  // Column holds the head row
    std::vector<std::int32_t> next(headsOfColumnStart.begin(), headsOfColumnStart.end() - 1);
    for (std::size_t h = 0; h < headRow_.size(); ++h)
        for (std::int32_t p = headStart_[h]; p < headStart_[h + 1]; ++p) {
            const TEntry& entry = headEntries_[at(p)];
            headsOfColumn[at(next[at(entry.Column)]++)] = TEntry{static_cast<std::int32_t>(h), entry.Entry, entry.Sign};
        }

    const auto loops = LoopCount();
    loopMatrix_ = TSparseColumns{};
    loopMatrix_.Rows = loops;
    loopMatrix_.Columns = loops;
    contributionStart_.assign(1, 0);
    contributions_.clear();
    std::vector<TEntry> column;  // Column holds the row i of the loop matrix
    for (std::int32_t k = 0; k < loops; ++k) {
        column.clear();
        for (std::int32_t p = headStart_[at(k)]; p < headStart_[at(k) + 1]; ++p) {
            const TEntry& pipe = headEntries_[at(p)];
            for (std::int32_t q = headsOfColumnStart[at(pipe.Column)]; q < headsOfColumnStart[at(pipe.Column) + 1]; ++q)
                column.push_back(TEntry{headsOfColumn[at(q)].Column, headsOfColumn[at(q)].Entry, pipe.Sign});
        }
        std::stable_sort(column.begin(), column.end(), [](const TEntry& a, const TEntry& b) { return a.Column < b.Column; });
        for (std::size_t q = 0; q < column.size(); ++q) {
            if (q == 0 || column[q].Column != column[q - 1].Column) {
                if (q > 0) contributionStart_.push_back(static_cast<std::int32_t>(contributions_.size()));
                loopMatrix_.RowIndex.push_back(column[q].Column);
            }
            contributions_.push_back(column[q]);
        }
        if (!column.empty()) contributionStart_.push_back(static_cast<std::int32_t>(contributions_.size()));
        loopMatrix_.ColumnStart.push_back(static_cast<std::int32_t>(loopMatrix_.RowIndex.size()));
    }
    loopMatrix_.Value.assign(loopMatrix_.RowIndex.size(), 0.0L);
    loopKnowns_.assign(at(loops), 0.0L);
    loopFlows_.assign(at(loops), 0.0L);
    analyseDefiniteFactors();
}

// The minimum-degree order of the loop matrix's pattern, found once for a
// generated system; then its upper triangle in that order, by columns with the
// rows ascending.
void TLoopSpaceStep::analyseDefiniteFactors() {
    const auto loops = LoopCount();
    TDefiniteFactors& definite = *definite_;
    definite.Source.clear();
    definite.Position.clear();
    definite.Upper = TDefiniteFactors::TMatrix(loops, loops);
    // Eigen compresses an empty matrix by reading past its outer index.
    if (loops == 0) return;
    const std::vector<double> noValues(loopMatrix_.RowIndex.size(), 0.0);
    const TDefiniteFactors::TMatrix pattern = Eigen::Map<const TDefiniteFactors::TMatrix>(
        loops, loops, loopMatrix_.EntryCount(), loopMatrix_.ColumnStart.data(), loopMatrix_.RowIndex.data(),
        noValues.data());
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, std::int32_t> inverseOrder;
    Eigen::AMDOrdering<std::int32_t>()(pattern, inverseOrder);
    const Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, std::int32_t> order = inverseOrder.inverse();
    definite.Position.assign(order.indices().data(), order.indices().data() + loops);

    struct TPlaced {
        std::int32_t Row;
        std::int32_t Column;
        std::int32_t Source;
    };
    std::vector<TPlaced> placed;
    for (std::int32_t k = 0; k < loops; ++k)
        for (std::int32_t e = loopMatrix_.ColumnStart[at(k)]; e < loopMatrix_.ColumnStart[at(k) + 1]; ++e) {
            const std::int32_t row = definite.Position[at(loopMatrix_.RowIndex[at(e)])];
            const std::int32_t column = definite.Position[at(k)];
            if (row <= column) placed.push_back(TPlaced{row, column, e});
        }
    std::sort(placed.begin(), placed.end(), [](const TPlaced& a, const TPlaced& b) {
        return a.Column != b.Column ? a.Column < b.Column : a.Row < b.Row;
    });
    std::vector<std::int32_t> perColumn(at(loops), 0);
    for (const TPlaced& entry : placed) ++perColumn[at(entry.Column)];
    definite.Upper.reserve(perColumn);
    for (const TPlaced& entry : placed) {
        definite.Upper.insert(entry.Row, entry.Column) = 0.0;
        definite.Source.push_back(entry.Source);
    }
    definite.Upper.makeCompressed();
    definite.Factors.analyzePattern(definite.Upper);
}

// LDLᵀ when every pivot D is positive; otherwise LU with pivoting.
// A system of continuity alone (a tree) has no loops to solve for.
bool TLoopSpaceStep::factorLoopMatrix() {
    pivoted_ = false;
    if (LoopCount() == 0) return true;
    if (LoopCount() == 1) return factorPivoted();
    TDefiniteFactors& definite = *definite_;
    double* stored = definite.Upper.valuePtr();
    for (std::size_t q = 0; q < definite.Source.size(); ++q)
        stored[q] = static_cast<double>(loopMatrix_.Value[at(definite.Source[q])]);
    definite.Factors.factorize(definite.Upper);
    pivoted_ = definite.Factors.info() != Eigen::Success || !(definite.Factors.vectorD().minCoeff() > 0.0);
    if (!pivoted_) return true;
    return factorPivoted();
}

// The loop matrix keeps its pattern for a generated system, so the pivoting
// factorization reuses its own analysis from step to step too.
bool TLoopSpaceStep::factorPivoted() {
    pivoted_ = true;
    return loopFactors_.Factor(loopMatrix_);
}

// From z = 0, each round solves the double factors for the residual of the
// loop system taken in extended precision and adds the correction. The first
// round is the plain solve, with a relative error of about κ·1e-16 (κ the
// condition number); the refinement squares it, which is below the κ·5e-20 of
// an extended-precision factorization for every κ up to about 1e12, and beyond
// that no factorization gives a usable step.
bool TLoopSpaceStep::solveLoopMatrix() {
    if (LoopCount() == 0) return true;
    if (pivoted_) return loopFactors_.Solve(loopKnowns_, loopFlows_);
    std::fill(loopFlows_.begin(), loopFlows_.end(), 0.0L);
    for (std::int32_t round = 0; round <= kRefinementRounds; ++round) refineLoopFlows();
    return true;
}

void TLoopSpaceStep::refineLoopFlows() {
    TDefiniteFactors& definite = *definite_;
    const auto loops = LoopCount();
    definite.Knowns.resize(loops);
    for (std::int32_t k = 0; k < loops; ++k) {
        long double residual = loopKnowns_[at(k)];
        for (std::int32_t e = loopMatrix_.ColumnStart[at(k)]; e < loopMatrix_.ColumnStart[at(k) + 1]; ++e)
            residual -= loopMatrix_.Value[at(e)] * loopFlows_[at(loopMatrix_.RowIndex[at(e)])];
        definite.Knowns[definite.Position[at(k)]] = static_cast<double>(residual);
    }
    definite.Correction = definite.Factors.solve(definite.Knowns);
    for (std::int32_t k = 0; k < loops; ++k) loopFlows_[at(k)] += definite.Correction[definite.Position[at(k)]];
}

void TLoopSpaceStep::buildRowOrder(std::int32_t rows) {
    std::vector<bool> dependent(at(rows), false);
    for (std::size_t c = 0; c < continuityRow_.size(); ++c)
        if (treeColumn_[c] == kRoot) dependent[at(continuityRow_[c])] = true;
    rowOrder_.clear();
    for (std::int32_t i = 0; i < rows; ++i)
        if (!dependent[at(i)]) rowOrder_.push_back(i);
    for (std::int32_t i = 0; i < rows; ++i)
        if (dependent[at(i)]) rowOrder_.push_back(i);
}

void TLoopSpaceStep::RenumberRowsInOrder() {
    std::vector<std::int32_t> newIndex(rowOrder_.size());
    for (std::size_t k = 0; k < rowOrder_.size(); ++k) newIndex[at(rowOrder_[k])] = static_cast<std::int32_t>(k);
    for (std::int32_t& row : continuityRow_) row = newIndex[at(row)];
    for (std::int32_t& row : headRow_) row = newIndex[at(row)];
    for (std::size_t k = 0; k < rowOrder_.size(); ++k) rowOrder_[k] = static_cast<std::int32_t>(k);
}

bool TLoopSpaceStep::Factor(const TSparseColumns& jacobian) {
    jacobian_ = &jacobian;
    for (std::size_t e = 0; e < loopMatrix_.Value.size(); ++e) {
        long double sum = 0.0L;
        for (std::int32_t q = contributionStart_[e]; q < contributionStart_[e + 1]; ++q)
            sum += contributions_[at(q)].Sign * jacobian.Value[at(contributions_[at(q)].Entry)];
        if (!std::isfinite(sum)) return false;
        loopMatrix_.Value[e] = sum;
    }
    return factorLoopMatrix();
}

// A·ΔQp = b_A with the flows off the forest at 0: from the leaves inwards, each
// tree pipe takes what its row still misses (its entry is ±1, so the division
// is exact). A root's row is the dependent one and is not solved.
void TLoopSpaceStep::solveForestStep(const std::vector<long double>& b, std::vector<long double>& x) const {
    const std::vector<long double>& value = jacobian_->Value;
    for (auto k = treeOrder_.size(); k-- > 0;) {
        const std::int32_t c = treeOrder_[k];
        const std::int32_t tree = treeColumn_[at(c)];
        if (tree == kRoot) continue;
        long double missing = b[at(continuityRow_[at(c)])];
        for (std::int32_t p = continuityStart_[at(c)]; p < continuityStart_[at(c) + 1]; ++p) {
            const TEntry& entry = continuityEntries_[at(p)];
            if (entry.Column != tree) missing -= value[at(entry.Entry)] * x[at(entry.Column)];
        }
        x[at(tree)] = missing / value[at(treeEntry_[at(c)])];
    }
}

// ΔQ = ΔQp + Sᵀ·z with (S·D·Sᵀ)·z = b_R − R·ΔQp.
bool TLoopSpaceStep::Solve(std::vector<long double>& b, std::vector<long double>& x) {
    std::fill_n(x.begin(), columns_, 0.0L);
    solveForestStep(b, x);
    const std::vector<long double>& value = jacobian_->Value;
    for (std::size_t h = 0; h < headRow_.size(); ++h) {
        long double known = b[at(headRow_[h])];
        for (std::int32_t p = headStart_[h]; p < headStart_[h + 1]; ++p)
            known -= value[at(headEntries_[at(p)].Entry)] * x[at(headEntries_[at(p)].Column)];
        loopKnowns_[h] = known;
    }
    if (!solveLoopMatrix()) return false;
    for (std::size_t h = 0; h < headRow_.size(); ++h)
        for (std::int32_t p = headStart_[h]; p < headStart_[h + 1]; ++p)
            x[at(headEntries_[at(p)].Column)] += headEntries_[at(p)].Sign * loopFlows_[h];
    return std::all_of(x.begin(), x.begin() + columns_, [](long double v) { return std::isfinite(v); });
}
