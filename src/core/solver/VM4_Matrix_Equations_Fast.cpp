// The matrix engine's fast path: residuals, Jacobian, elimination and back
// substitution on the entries that can be non-zero only, with results identical
// bit for bit to the dense algorithms of VM4_Matrix_Equations.cpp.
//
// Why skipping is exact. The dense elimination computes, for every column c > k
// of a row r it eliminates at step k,
//     D[r][c] = D[k][c] - factor·D[r][c].
// Where both D[k][c] and D[r][c] are +0 the result is +0 again (+0 - (±0) is +0),
// so a column where neither row can be non-zero keeps its +0 and needs no work;
// every other column is computed here with the same operands in the same
// precision. A row's pattern therefore grows by the pivot row's columns when it
// is eliminated, and an entry outside every pattern is always +0. The pivot
// search compares |D[r][k]| > best, which a +0 entry never passes; the back
// substitution adds D[i][c]·ΔQ[c] to a sum that is never -0, to which a ±0 term
// adds nothing. The residuals add the same terms in the same column order, each
// unknown's head loss being a function of its own flow alone.
//
// Where the dense code would raise part way (a head loss or its slope without a
// finite value, a factor or a reduced entry beyond the long double range), what
// it leaves behind depends on where it stopped. The fast path then lets the dense
// code run: before it has changed anything, or, in the elimination, with only
// exchanges the dense code would make itself.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "foundations/VM4_Calculations.h"
#include "solver/VM4_Matrix_Equations.h"

namespace {

std::size_t slot(std::int32_t index) { return static_cast<std::size_t>(index); }

// Same value and sign: a cached result computed from it is the one the formulas
// would give again.
bool sameValue(long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); }
bool sameValue(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// Offset of column c in a row returned by RowData.
std::size_t columnOffset(std::int32_t column) { return static_cast<std::size_t>(column - 1); }

// Whether a stored value is an infinity or not a number, read from its exponent
// bits with integer instructions: a floating-point comparison per reduced entry
// costs more than the reduction itself. x87 extended: 64-bit significand, then
// sign and 15-bit exponent, all ones for infinities and NaNs.
static_assert(std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384,
              "the elimination expects the x87 80-bit extended format");
constexpr std::uint16_t kExponentBits = 0x7FFF;

std::uint16_t exponentBitsOf(const long double& value) {
    std::uint16_t signAndExponent = 0;
    std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&value) + 8, sizeof signAndExponent);
    return static_cast<std::uint16_t>(signAndExponent & kExponentBits);
}

bool isNotFinite(const long double& value) { return exponentBitsOf(value) == kExponentBits; }

}  // namespace

// ---- Equation structure -------------------------------------------------------------------

// The coded entries are read again whenever the code table may have been written
// since (the generator fills it directly) or the sizes in use changed.
bool TMatrixEquations::equationCodesCurrent() {
    TSparseWorkspace& sparse = Sparse;
    const bool current = sparse.CodesCurrent && sparse.CodesStamp == QMatrix.ModificationCount() &&
                         sparse.CodesUnknowns == NumberOfQVariables && sparse.CodesEquations == NumberOfEquations;
    if (!current) readEquationCodes();
    return sparse.CodesSupported;
}

void TMatrixEquations::readEquationCodes() {
    TSparseWorkspace& sparse = Sparse;
    const TOneBasedMatrix<std::uint8_t>& codes = QMatrix;
    const std::int32_t N = NumberOfQVariables;
    std::fill(sparse.IsHeadUnknown.begin(), sparse.IsHeadUnknown.end(), std::uint8_t{0});
    sparse.CodesSupported = true;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
        auto& entries = sparse.Codes[slot(i)];
        entries.clear();
        const std::uint8_t* row = codes.RowData(i);
        for (std::int32_t j = 1; j <= N; ++j) {
            const std::uint8_t code = row[columnOffset(j)];
            if (code == CodeNotInEquation) continue;
            if (code > CodeWalkedBackward) sparse.CodesSupported = false;  // the dense code raises on it
            entries.push_back({j, code});
            if (code == CodeWalkedForward || code == CodeWalkedBackward) sparse.IsHeadUnknown[slot(j)] = 1;
        }
    }
    sparse.HeadUnknowns.clear();
    for (std::int32_t j = 1; j <= N; ++j) {
        if (sparse.IsHeadUnknown[slot(j)] != 0) sparse.HeadUnknowns.push_back(j);
    }
    sparse.CodesStamp = QMatrix.ModificationCount();
    sparse.CodesUnknowns = N;
    sparse.CodesEquations = NumberOfEquations;
    sparse.CodesCurrent = true;
}

// ---- Head losses, once per unknown ----------------------------------------------------------

// The Jacobian is evaluated at the flows of the last residual evaluation, so the
// friction factor found there (the costly part, a Colebrook iteration) is taken
// again when everything it was computed from is the same.
TMatrixEquations::TFlowState TMatrixEquations::flowStateReusingFriction(std::int32_t j, const char* method) {
    TSparseWorkspace::TFrictionRecord& record = Sparse.Friction[slot(j)];
    TFlowState state{};
    state.Flow_m3s = QVariables[j];
    const bool reusable = record.Known && sameValue(record.Flow_m3s, state.Flow_m3s) &&
                          sameValue(record.Diameter_m, QDiameter[j]) &&
                          sameValue(record.Roughness_m, QRoughness[j]) &&
                          sameValue(record.Density_kgm3, FluidDensity) &&
                          sameValue(record.Viscosity_cP, FluidViscosity);
    if (!reusable) {
        state = flowStateOf(j, method);
        record = {true, state.Flow_m3s, QDiameter[j], QRoughness[j], FluidDensity, FluidViscosity,
                  state.FrictionFactor};
        return state;
    }
    // The same conversions as flowStateOf, which cannot fail for a flow that passed them before.
    state.FlowDouble_m3s = static_cast<double>(state.Flow_m3s);
    state.Velocity_ms = CalcVelocity(state.FlowDouble_m3s, QDiameter[j], 1.0);
    state.FrictionFactor = record.FrictionFactor;
    return state;
}

bool TMatrixEquations::evaluateHeadLosses() {
    try {
        for (const std::int32_t j : Sparse.HeadUnknowns) {
            Sparse.HeadLoss_mHd[slot(j)] = headLossAt(j, flowStateReusingFriction(j, "CalculateF"));
        }
    } catch (const EVelmoraError&) {
        return false;
    }
    return true;
}

bool TMatrixEquations::evaluateHeadLossSlopes() {
    try {
        for (const std::int32_t j : Sparse.HeadUnknowns) {
            Sparse.HeadLossSlope[slot(j)] = headLossDifferentialAt(j, flowStateReusingFriction(j, "CalculateDMatrix"));
        }
    } catch (const EVelmoraError&) {
        return false;
    }
    return true;
}

// ---- Residuals -------------------------------------------------------------------------------

// As residualOfEquation, term by term in column order. A residual beyond the range
// stops the evaluation where the dense one stops: earlier equations done, this
// one 0, later ones as they were.
bool TMatrixEquations::calculateFFast(bool& Ok) {
    if (!equationCodesCurrent() || !evaluateHeadLosses()) return false;
    const TSparseWorkspace& sparse = Sparse;
    Ok = true;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
        FResults[i] = 0.0L;
        long double sum = 0.0L;
        bool head = false;
        for (const TSparseWorkspace::TCodedEntry& entry : sparse.Codes[slot(i)]) {
            const std::int32_t j = entry.Column;
            switch (entry.Code) {
                case CodeFlowEnters: sum = sum + QVariables[j]; break;
                case CodeFlowLeaves: sum = sum - QVariables[j]; break;
                case CodeWalkedForward:
                    head = true;
                    sum = sum + sparse.HeadLoss_mHd[slot(j)];
                    break;
                default:
                    head = true;
                    sum = sum - sparse.HeadLoss_mHd[slot(j)];
                    break;
            }
        }
        FIsHeadEquation[i] = head;
        const long double residual = sum - QKnowns[i];
        if (!std::isfinite(residual)) {
            Ok = false;
            return true;
        }
        FResults[i] = residual;
    }
    return true;
}

// ---- Elimination -------------------------------------------------------------------------------

bool TMatrixEquations::gaussElimFast(bool& Ok) {
    if (!equationCodesCurrent() || !evaluateHeadLossSlopes()) return false;
    const std::int32_t N = NumberOfQVariables;
    Sparse.EliminationCurrent = false;
    DMatrix.ClearBlock(NumberOfEquations, N);
    loadSparseJacobian();
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) DKnowns[i] = FResults[i];
    for (std::int32_t k = 1; k <= N - 1; ++k) {
        pivotOnColumnFast(k);
        // The dense path is left with the equations exchanged so far: run again
        // from them, it makes no exchange of its own up to here (each pivot already
        // stands first among its equals) and stops where this elimination stopped.
        if (!eliminateBelowColumnFast(k)) return false;
    }
    if (N >= 1) pivotOnColumnFast(N);
    markReducedRowsWritten();
    Ok = !hasZeroPivot();
    Sparse.EliminationCurrent = true;
    return true;
}

// The Jacobian entries of the coded columns; every other entry is the +0 the
// cleared block holds.
void TMatrixEquations::loadSparseJacobian() {
    TSparseWorkspace& sparse = Sparse;
    for (std::int32_t c = 1; c <= NumberOfQVariables; ++c) sparse.SlotsInColumn[slot(c)].clear();
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
        sparse.SlotAt[slot(i)] = i;
        sparse.PositionOf[slot(i)] = i;
        auto& pattern = sparse.Pattern[slot(i)];
        pattern.clear();
        long double* row = DMatrix.RowData(i);
        for (const TSparseWorkspace::TCodedEntry& entry : sparse.Codes[slot(i)]) {
            const std::int32_t j = entry.Column;
            long double value = 0.0L;
            switch (entry.Code) {
                case CodeFlowEnters: value = 1.0L; break;
                case CodeFlowLeaves: value = -1.0L; break;
                case CodeWalkedForward: value = sparse.HeadLossSlope[slot(j)]; break;
                default: value = -sparse.HeadLossSlope[slot(j)]; break;
            }
            row[columnOffset(j)] = value;
            pattern.push_back(j);
            sparse.SlotsInColumn[slot(j)].push_back(i);
        }
    }
}

// As pivotOnColumn: rows k..M in order, a later row winning only when strictly
// larger. Rows without column k in their pattern hold +0 there and never win.
void TMatrixEquations::pivotOnColumnFast(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    sparse.Candidates.clear();
    for (const std::int32_t rowSlot : sparse.SlotsInColumn[slot(k)]) {
        const std::int32_t position = sparse.PositionOf[slot(rowSlot)];
        if (position >= k) sparse.Candidates.push_back(position);
    }
    std::sort(sparse.Candidates.begin(), sparse.Candidates.end());
    std::int32_t bestRow = k;
    long double best = std::fabs(DMatrix.RowData(k)[columnOffset(k)]);
    for (const std::int32_t position : sparse.Candidates) {
        const long double magnitude = std::fabs(DMatrix.RowData(position)[columnOffset(k)]);
        if (magnitude > best) {
            best = magnitude;
            bestRow = position;
        }
    }
    if (bestRow > k) exchangeEquationsFast(k, bestRow);
}

// As exchangeEquations; of the two reduced rows only the columns in their patterns
// can differ from +0, so only those move.
void TMatrixEquations::exchangeEquationsFast(std::int32_t positionA, std::int32_t positionB) {
    TSparseWorkspace& sparse = Sparse;
    const std::int32_t slotA = sparse.SlotAt[slot(positionA)];
    const std::int32_t slotB = sparse.SlotAt[slot(positionB)];
    long double* rowA = DMatrix.RowData(positionA);
    long double* rowB = DMatrix.RowData(positionB);
    const std::uint32_t stamp = sparse.NextMarkStamp();
    for (const std::int32_t c : sparse.Pattern[slot(slotA)]) {
        std::swap(rowA[columnOffset(c)], rowB[columnOffset(c)]);
        sparse.ColumnMarks[slot(c)] = stamp;
    }
    for (const std::int32_t c : sparse.Pattern[slot(slotB)]) {
        if (sparse.ColumnMarks[slot(c)] != stamp) std::swap(rowA[columnOffset(c)], rowB[columnOffset(c)]);
    }
    std::swap(sparse.SlotAt[slot(positionA)], sparse.SlotAt[slot(positionB)]);
    sparse.PositionOf[slot(slotA)] = positionB;
    sparse.PositionOf[slot(slotB)] = positionA;
    QMatrix.SwapRowPrefixes(positionA, positionB, NumberOfQVariables);
    std::swap(sparse.Codes[slot(positionA)], sparse.Codes[slot(positionB)]);
    sparse.CodesStamp = QMatrix.ModificationCount();
    std::swap(DKnowns[positionA], DKnowns[positionB]);
    std::swap(QKnowns[positionA], QKnowns[positionB]);
    std::swap(FResults[positionA], FResults[positionB]);
}

// False when some value has no finite result: the dense path raises there.
bool TMatrixEquations::eliminateBelowColumnFast(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    const auto& pivotPattern = sparse.Pattern[slot(sparse.SlotAt[slot(k)])];
    const std::size_t pivotTail = static_cast<std::size_t>(
        std::upper_bound(pivotPattern.begin(), pivotPattern.end(), k) - pivotPattern.begin());
    // Only columns above k join the patterns, so this column's list stays as it is.
    const auto& slotsInColumn = sparse.SlotsInColumn[slot(k)];
    for (std::size_t n = 0; n < slotsInColumn.size(); ++n) {
        const std::int32_t position = sparse.PositionOf[slot(slotsInColumn[n])];
        if (position <= k) continue;
        if (DMatrix.RowData(position)[columnOffset(k)] == 0.0L) continue;
        if (!eliminateRowFast(position, k, pivotTail)) return false;
    }
    return true;
}

// Row r = row k − factor·row r over the union of the two patterns above column k,
// factor = D[k][k] / D[r][k]; D[r][k] becomes 0 and leaves the pattern, columns of
// the row below k stay as they are. The loops are written for speed: this is
// where a solve spends most of its time.
bool TMatrixEquations::eliminateRowFast(std::int32_t position, std::int32_t k, std::size_t pivotTail) {
    TSparseWorkspace& sparse = Sparse;
    const std::int32_t rowSlot = sparse.SlotAt[slot(position)];
    const auto& pivotPattern = sparse.Pattern[slot(sparse.SlotAt[slot(k)])];
    auto& pattern = sparse.Pattern[slot(rowSlot)];
    const long double* pivotRow = DMatrix.RowData(k) - 1;  // indexed by column
    long double* row = DMatrix.RowData(position) - 1;
    const long double factor = pivotRow[k] / row[k];
    if (!std::isfinite(factor)) return false;
    row[k] = 0.0L;

    // The merged pattern is at most the two patterns together.
    auto& merged = sparse.Merged;
    merged.resize(pattern.size() + pivotPattern.size() - pivotTail);
    auto& newColumns = sparse.NewColumns;
    newColumns.resize(pivotPattern.size() - pivotTail);
    std::int32_t* out = merged.data();
    std::int32_t* added = newColumns.data();
    const std::int32_t* own = pattern.data();
    const std::int32_t* const ownEnd = own + pattern.size();
    const std::int32_t* fromPivot = pivotPattern.data() + pivotTail;
    const std::int32_t* const pivotEnd = pivotPattern.data() + pivotPattern.size();

    while (own != ownEnd && *own < k) *out++ = *own++;
    if (own != ownEnd && *own == k) ++own;
    std::int32_t* const reducedStart = out;
    while (own != ownEnd && fromPivot != pivotEnd) {
        const std::int32_t a = *own;
        const std::int32_t b = *fromPivot;
        const std::int32_t c = a < b ? a : b;
        *added = b;
        added += b < a ? 1 : 0;
        own += a <= b ? 1 : 0;
        fromPivot += b <= a ? 1 : 0;
        row[c] = pivotRow[c] - factor * row[c];
        *out++ = c;
    }
    for (; own != ownEnd; ++own) {
        row[*own] = pivotRow[*own] - factor * row[*own];
        *out++ = *own;
    }
    for (; fromPivot != pivotEnd; ++fromPivot) {
        row[*fromPivot] = pivotRow[*fromPivot] - factor * row[*fromPivot];
        *added++ = *fromPivot;
        *out++ = *fromPivot;
    }
    DKnowns[position] = DKnowns[k] - factor * DKnowns[position];

    // The dense code raises when any reduced entry of the row has no finite value.
    bool anyNotFinite = isNotFinite(DKnowns[position]);
    for (const std::int32_t* c = reducedStart; c != out; ++c) anyNotFinite |= isNotFinite(row[*c]);
    for (const std::int32_t* c = newColumns.data(); c != added; ++c) sparse.SlotsInColumn[slot(*c)].push_back(rowSlot);
    merged.resize(static_cast<std::size_t>(out - merged.data()));
    pattern.swap(merged);
    return !anyNotFinite;
}

// The written-column record of the Jacobian's rows, so that the next clearing
// empties exactly what this elimination left.
void TMatrixEquations::markReducedRowsWritten() {
    const TSparseWorkspace& sparse = Sparse;
    for (std::int32_t position = 1; position <= NumberOfEquations; ++position) {
        const auto& pattern = sparse.Pattern[slot(sparse.SlotAt[slot(position)])];
        if (!pattern.empty()) DMatrix.MarkWritten(position, pattern.front(), pattern.back());
    }
}

// ---- Back substitution ------------------------------------------------------------------------

// ΔQ[N] = K[N] / D[N][N];  ΔQ[i] = (K[i] − Σ_{c=N..i+1} D[i][c]·ΔQ[c]) / D[i][i],
// the sum over the row's pattern from the highest column down, as the dense sum runs.
void TMatrixEquations::backSubstituteFast() {
    const TSparseWorkspace& sparse = Sparse;
    const std::int32_t N = NumberOfQVariables;
    if (N < 1) return;
    const auto finite = [](long double value) { return requireFinite(value, "SolveQDeltas", "flow adjustment"); };
    QDeltas[N] = finite(DKnowns[N] / DMatrix.RowData(N)[columnOffset(N)]);
    for (std::int32_t i = N - 1; i >= 1; --i) {
        const auto& pattern = sparse.Pattern[slot(sparse.SlotAt[slot(i)])];
        const long double* row = DMatrix.RowData(i);
        long double sum = 0.0L;
        for (auto c = pattern.rbegin(); c != pattern.rend() && *c > i; ++c) sum = sum + row[columnOffset(*c)] * QDeltas[*c];
        QDeltas[i] = finite((DKnowns[i] - sum) / row[columnOffset(i)]);
    }
}
