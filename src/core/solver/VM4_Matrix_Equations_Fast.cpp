// The matrix engine's fast path: residuals, Jacobian, elimination and back
// substitution on the entries that can be non-zero only, with results identical
// bit for bit to the dense algorithms of VM4_Matrix_Equations.cpp.
//
// Why skipping is exact. The dense elimination computes, for every column c > k
// of a row r it eliminates at step k,
//     D[r][c] = D[r][c] - factor·D[k][c].
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
#include <bit>
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

// Calls visit(column, code) for the non-zero codes of columns 1..columnCount of
// one row of the code table, ascending. Most codes are 0: eight at a time are
// skipped with one test.
template <typename Visit>
void forEachCodedColumn(const std::uint8_t* row, std::int32_t columnCount, Visit&& visit) {
    const auto count = static_cast<std::size_t>(columnCount);
    std::size_t offset = 0;
    for (; offset + 8 <= count; offset += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, row + offset, sizeof eight);
        if (eight == 0) continue;
        for (std::size_t n = offset; n < offset + 8; ++n) {
            if (row[n] != 0) visit(static_cast<std::int32_t>(n + 1), row[n]);
        }
    }
    for (; offset < count; ++offset) {
        if (row[offset] != 0) visit(static_cast<std::int32_t>(offset + 1), row[offset]);
    }
}

// Exchanges two stored values byte for byte, without loading them as numbers.
void swapStoredValues(long double& a, long double& b) {
    unsigned char buffer[sizeof(long double)];
    std::memcpy(buffer, &a, sizeof buffer);
    std::memcpy(&a, &b, sizeof buffer);
    std::memcpy(&b, buffer, sizeof buffer);
}

// Column patterns: bit c % 64 of word c / 64 stands for column c.
void addColumn(std::uint64_t* pattern, std::int32_t column) {
    pattern[static_cast<std::size_t>(column) / 64] |= std::uint64_t{1} << (static_cast<unsigned>(column) % 64);
}

// Calls visit(column) for each set bit of one word, lowest first.
template <typename Visit>
void forEachColumnOfWord(std::uint64_t bits, std::size_t word, Visit&& visit) {
    while (bits != 0) {
        visit(static_cast<std::int32_t>(word * 64) + std::countr_zero(bits));
        bits &= bits - 1;
    }
}

// The same over words first..end-1, ascending.
template <typename Visit>
void forEachColumn(const std::uint64_t* pattern, std::size_t first, std::size_t end, Visit&& visit) {
    for (std::size_t word = first; word < end; ++word) forEachColumnOfWord(pattern[word], word, visit);
}

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
    const std::int32_t N = NumberOfQVariables;
    std::fill(sparse.IsHeadUnknown.begin(), sparse.IsHeadUnknown.end(), std::uint8_t{0});
    sparse.CodesSupported = true;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
        auto& entries = sparse.Codes[slot(i)];
        entries.clear();
        forEachCodedColumn(QMatrix.RowData(i), N, [&](std::int32_t j, std::uint8_t code) {
            if (code > CodeWalkedBackward) sparse.CodesSupported = false;  // the dense code raises on it
            entries.push_back({j, code});
            if (code == CodeWalkedForward || code == CodeWalkedBackward) sparse.IsHeadUnknown[slot(j)] = 1;
        });
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
//
// The reductions of a row are applied lazily. When row r is reduced at step k, the
// dense code updates every column c > k at once; here the step only records
// (pivot row k, factor) in the row's list. An entry is brought up to date when its
// value is needed: its column's turn comes (pivot search, factor), or the row
// becomes a pivot row. The entry then runs through the recorded reductions in
// order, v = v − factor·D[k][c], exactly the operations the dense code performs on
// it, but with v held in a register instead of being stored and read back at
// every step. A column joins a row's pattern with the reduction that brings it in
// (the entry was +0 and every earlier reduction left it so), and every entry is
// brought up to date exactly once.
//
// A value beyond the range shows only when its entry is brought up to date, after
// exchanges the dense code, which raises at once, would not have made. So a
// failure puts the equations back in their starting order for the dense path.

namespace {

using TChain = TSparseWorkspace::TChain;

// Runs `steps` reductions on up to four independent entries at once, so that the
// processor overlaps their multiply and subtract chains.
void runChains(TChain* chains, std::size_t count, std::size_t steps, std::size_t column[4]) {
    switch (count) {
        case 4: {
            long double a = *chains[0].Entry, b = *chains[1].Entry, c = *chains[2].Entry, d = *chains[3].Entry;
            const TSparseWorkspace::TRowOperation *pa = chains[0].Next, *pb = chains[1].Next, *pc = chains[2].Next,
                                                  *pd = chains[3].Next;
            for (std::size_t t = 0; t < steps; ++t) {
                a = a - pa[t].Factor * pa[t].PivotRow[column[0]];
                b = b - pb[t].Factor * pb[t].PivotRow[column[1]];
                c = c - pc[t].Factor * pc[t].PivotRow[column[2]];
                d = d - pd[t].Factor * pd[t].PivotRow[column[3]];
            }
            *chains[0].Entry = a;
            *chains[1].Entry = b;
            *chains[2].Entry = c;
            *chains[3].Entry = d;
            break;
        }
        case 3: {
            long double a = *chains[0].Entry, b = *chains[1].Entry, c = *chains[2].Entry;
            const TSparseWorkspace::TRowOperation *pa = chains[0].Next, *pb = chains[1].Next, *pc = chains[2].Next;
            for (std::size_t t = 0; t < steps; ++t) {
                a = a - pa[t].Factor * pa[t].PivotRow[column[0]];
                b = b - pb[t].Factor * pb[t].PivotRow[column[1]];
                c = c - pc[t].Factor * pc[t].PivotRow[column[2]];
            }
            *chains[0].Entry = a;
            *chains[1].Entry = b;
            *chains[2].Entry = c;
            break;
        }
        case 2: {
            long double a = *chains[0].Entry, b = *chains[1].Entry;
            const TSparseWorkspace::TRowOperation *pa = chains[0].Next, *pb = chains[1].Next;
            for (std::size_t t = 0; t < steps; ++t) {
                a = a - pa[t].Factor * pa[t].PivotRow[column[0]];
                b = b - pb[t].Factor * pb[t].PivotRow[column[1]];
            }
            *chains[0].Entry = a;
            *chains[1].Entry = b;
            break;
        }
        default: {
            long double a = *chains[0].Entry;
            const TSparseWorkspace::TRowOperation* pa = chains[0].Next;
            for (std::size_t t = 0; t < steps; ++t) a = a - pa[t].Factor * pa[t].PivotRow[column[0]];
            *chains[0].Entry = a;
            break;
        }
    }
    for (std::size_t n = 0; n < count; ++n) chains[n].Next += steps;
}

std::size_t remaining(const TChain& chain) { return static_cast<std::size_t>(chain.End - chain.Next); }

// Brings a few chained entries up to date, four at a time, shortest first: the
// shortest runs out, the others go on. True when some entry has no finite value.
bool drainChains(TChain* group, std::size_t count, std::size_t* column) {
    bool anyNotFinite = false;
    for (std::size_t n = 1; n < count; ++n) {
        for (std::size_t m = n; m > 0 && remaining(group[m]) < remaining(group[m - 1]); --m) {
            std::swap(group[m], group[m - 1]);
            std::swap(column[m], column[m - 1]);
        }
    }
    TChain* live = group;
    std::size_t* liveColumn = column;
    while (count > 0) {
        runChains(live, count, remaining(live[0]), liveColumn);
        anyNotFinite |= isNotFinite(*live[0].Entry);
        ++live;
        ++liveColumn;
        --count;
    }
    return anyNotFinite;
}

// Brings every chained entry up to date. Each reduction depends on the one
// before it in its chain, so the chains are interleaved, four in flight: when
// one runs out its entry is stored and the next chain takes its place, so that
// the processor always has four independent chains to overlap. False when some
// entry has no finite value (a value, once beyond the range, stays so through
// later reductions).
bool runAllChains(std::vector<TChain>& chains, const std::vector<std::size_t>& columns) {
    const std::size_t count = chains.size();
    if (count < 4) {
        std::size_t column[4] = {0, 0, 0, 0};
        for (std::size_t n = 0; n < count; ++n) column[n] = columns[n];
        return !drainChains(chains.data(), count, column);
    }
    bool anyNotFinite = false;
    TChain lane[4] = {chains[0], chains[1], chains[2], chains[3]};
    std::size_t column[4] = {columns[0], columns[1], columns[2], columns[3]};
    long double a = *lane[0].Entry, b = *lane[1].Entry, c = *lane[2].Entry, d = *lane[3].Entry;
    long double* const values[4] = {&a, &b, &c, &d};
    std::size_t next = 4;
    bool chainsLeft = true;
    while (chainsLeft) {
        const std::size_t steps =
            std::min(std::min(remaining(lane[0]), remaining(lane[1])), std::min(remaining(lane[2]), remaining(lane[3])));
        const TSparseWorkspace::TRowOperation *pa = lane[0].Next, *pb = lane[1].Next, *pc = lane[2].Next,
                                              *pd = lane[3].Next;
        const std::size_t ca = column[0], cb = column[1], cc = column[2], cd = column[3];
        for (std::size_t t = 0; t < steps; ++t) {
            a = a - pa[t].Factor * pa[t].PivotRow[ca];
            b = b - pb[t].Factor * pb[t].PivotRow[cb];
            c = c - pc[t].Factor * pc[t].PivotRow[cc];
            d = d - pd[t].Factor * pd[t].PivotRow[cd];
        }
        // Finished lanes store their entries and take the next chains; a lane
        // left without one stays finished.
        for (std::size_t n = 0; n < 4; ++n) {
            lane[n].Next += steps;
            if (remaining(lane[n]) > 0) continue;
            *lane[n].Entry = *values[n];
            anyNotFinite |= isNotFinite(*lane[n].Entry);
            if (next == count) {
                chainsLeft = false;
                continue;
            }
            lane[n] = chains[next];
            column[n] = columns[next];
            *values[n] = *lane[n].Entry;
            ++next;
        }
    }
    // No chain left to start: the lanes still running finish as a group.
    TChain left[4];
    std::size_t leftColumn[4] = {0, 0, 0, 0};
    std::size_t leftCount = 0;
    for (std::size_t n = 0; n < 4; ++n) {
        if (remaining(lane[n]) == 0) continue;
        *lane[n].Entry = *values[n];
        left[leftCount] = lane[n];
        leftColumn[leftCount] = column[n];
        ++leftCount;
    }
    anyNotFinite |= drainChains(left, leftCount, leftColumn);
    return !anyNotFinite;
}

}  // namespace

bool TMatrixEquations::gaussElimFast(bool& Ok) {
    if (!equationCodesCurrent() || !evaluateHeadLossSlopes()) return false;
    const std::int32_t N = NumberOfQVariables;
    Sparse.EliminationCurrent = false;
    clearReducedEntries();
    resetSparseRows();
    DMatrix.ClearBlock(NumberOfEquations, N);
    loadSparseJacobian();
    Sparse.ReducedEntriesHeld = true;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) DKnowns[i] = FResults[i];
    for (std::int32_t k = 1; k <= N; ++k) {
        if (!eliminationStepFast(k)) {
            undoExchangesFast();
            return false;
        }
    }
    Ok = !hasZeroPivot();
    Sparse.EliminationCurrent = true;
    return true;
}

// Pivot on column k and, before the last column, reduce the rows below. False when
// a value has no finite result.
bool TMatrixEquations::eliminationStepFast(std::int32_t k) {
    if (!evaluateColumnOfCandidates(k)) return false;
    pivotOnColumnFast(k);
    if (!finishPivotRow(k)) return false;
    return k == NumberOfQVariables || eliminateBelowColumnFast(k);
}

// Forgets the rows of the last elimination, which may have stopped part way.
void TMatrixEquations::resetSparseRows() {
    TSparseWorkspace& sparse = Sparse;
    for (std::int32_t rowSlot = 1; rowSlot <= sparse.ActiveSlots; ++rowSlot) {
        forEachColumn(sparse.PatternOf(rowSlot), 0, sparse.ActiveWords,
                      [&](std::int32_t c) { sparse.EntryOpOf(rowSlot, c) = -1; });
        std::fill_n(sparse.PatternOf(rowSlot), sparse.ActiveWords, std::uint64_t{0});
        sparse.Operations[slot(rowSlot)].clear();
        sparse.Tail[slot(rowSlot)].clear();
    }
    for (std::int32_t c = 1; c <= NumberOfQVariables; ++c) sparse.SlotsInColumn[slot(c)].clear();
    sparse.Exchanges.clear();
    sparse.ActiveSlots = NumberOfEquations;
    sparse.ActiveWords = static_cast<std::size_t>(NumberOfQVariables) / 64 + 1;
}

// The Jacobian entries of the coded columns; every other entry is the +0 the
// cleared block holds.
void TMatrixEquations::loadSparseJacobian() {
    TSparseWorkspace& sparse = Sparse;
    for (std::int32_t i = 1; i <= NumberOfEquations; ++i) {
        sparse.SlotAt[slot(i)] = i;
        sparse.PositionOf[slot(i)] = i;
        long double* row = DMatrix.RowData(i);
        std::uint64_t* pattern = sparse.PatternOf(i);
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
            addColumn(pattern, j);
            sparse.EntryOpOf(i, j) = 0;
            sparse.SlotsInColumn[slot(j)].push_back(i);
        }
    }
}

// Column k of every row from position k on that may be non-zero there, brought up
// to date; their positions are the candidates of the pivot search.
bool TMatrixEquations::evaluateColumnOfCandidates(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    sparse.Candidates.clear();
    sparse.Chains.clear();
    std::vector<std::size_t>& columns = sparse.ChainColumns;
    columns.clear();
    for (const std::int32_t rowSlot : sparse.SlotsInColumn[slot(k)]) {
        const std::int32_t position = sparse.PositionOf[slot(rowSlot)];
        if (position < k) continue;
        sparse.Candidates.push_back(position);
        const auto& operations = sparse.Operations[slot(rowSlot)];
        const auto first = static_cast<std::size_t>(sparse.EntryOpOf(rowSlot, k));
        if (first == operations.size()) continue;  // nothing pending
        sparse.Chains.push_back({operations.data() + first, operations.data() + operations.size(),
                                 DMatrix.RowData(position) + columnOffset(k)});
        columns.push_back(static_cast<std::size_t>(k));
    }
    return runAllChains(sparse.Chains, columns);
}

// As pivotOnColumn: rows k..M in order, a later row winning only when strictly
// larger, which is the largest magnitude with the lowest position among equals.
// Rows without column k in their pattern hold +0 there and never win.
void TMatrixEquations::pivotOnColumnFast(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    std::int32_t bestRow = k;
    long double best = std::fabs(DMatrix.RowData(k)[columnOffset(k)]);
    for (const std::int32_t position : sparse.Candidates) {
        const long double magnitude = std::fabs(DMatrix.RowData(position)[columnOffset(k)]);
        if (magnitude > best || (magnitude == best && position < bestRow)) {
            best = magnitude;
            bestRow = position;
        }
    }
    if (bestRow > k) exchangeEquationsFast(k, bestRow);
}

// As exchangeEquations; of the two rows only the columns in their patterns can
// differ from +0, so only those move (entries not yet up to date move with the
// reductions they are waiting for, which belong to the slot).
void TMatrixEquations::exchangeEquationsFast(std::int32_t positionA, std::int32_t positionB) {
    TSparseWorkspace& sparse = Sparse;
    const std::int32_t slotA = sparse.SlotAt[slot(positionA)];
    const std::int32_t slotB = sparse.SlotAt[slot(positionB)];
    long double* rowA = DMatrix.RowData(positionA);
    long double* rowB = DMatrix.RowData(positionB);
    const std::uint64_t* patternA = sparse.PatternOf(slotA);
    const std::uint64_t* patternB = sparse.PatternOf(slotB);
    for (std::size_t word = 0; word < sparse.ActiveWords; ++word) {
        forEachColumnOfWord(patternA[word] | patternB[word], word, [&](std::int32_t c) {
            swapStoredValues(rowA[columnOffset(c)], rowB[columnOffset(c)]);
        });
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
    sparse.Exchanges.emplace_back(positionA, positionB);
}

// Puts the equations back in the order the elimination started from.
void TMatrixEquations::undoExchangesFast() {
    TSparseWorkspace& sparse = Sparse;
    for (auto exchange = sparse.Exchanges.rbegin(); exchange != sparse.Exchanges.rend(); ++exchange) {
        const auto [positionA, positionB] = *exchange;
        QMatrix.SwapRowPrefixes(positionA, positionB, NumberOfQVariables);
        std::swap(sparse.Codes[slot(positionA)], sparse.Codes[slot(positionB)]);
        std::swap(QKnowns[positionA], QKnowns[positionB]);
        std::swap(FResults[positionA], FResults[positionB]);
    }
    sparse.CodesStamp = QMatrix.ModificationCount();
    sparse.Exchanges.clear();
}

// The row now at position k is final: its entries above column k are brought up
// to date, and its tail (those columns, ascending) is what the rows it reduces
// take in and what the back substitution walks.
bool TMatrixEquations::finishPivotRow(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    const std::int32_t pivotSlot = sparse.SlotAt[slot(k)];
    const auto& operations = sparse.Operations[slot(pivotSlot)];
    long double* row = DMatrix.RowData(k) - 1;
    auto& tail = sparse.Tail[slot(pivotSlot)];
    tail.clear();
    sparse.Chains.clear();
    std::vector<std::size_t>& columns = sparse.ChainColumns;
    columns.clear();
    // The pattern above column k.
    const std::uint64_t* pattern = sparse.PatternOf(pivotSlot);
    std::uint64_t* tailBits = sparse.TailBits.data();
    const std::size_t firstWord = static_cast<std::size_t>(k) / 64;
    std::fill_n(tailBits, firstWord, std::uint64_t{0});
    const unsigned firstBit = static_cast<unsigned>(k) % 64 + 1;
    const std::uint64_t aboveK = firstBit == 64 ? 0 : ~std::uint64_t{0} << firstBit;
    tailBits[firstWord] = pattern[firstWord] & aboveK;
    std::copy(pattern + firstWord + 1, pattern + sparse.ActiveWords, tailBits + firstWord + 1);
    forEachColumn(tailBits, firstWord, sparse.ActiveWords, [&](std::int32_t c) {
        tail.push_back(c);
        const auto first = static_cast<std::size_t>(sparse.EntryOpOf(pivotSlot, c));
        if (first == operations.size()) return;
        sparse.Chains.push_back({operations.data() + first, operations.data() + operations.size(), row + c});
        columns.push_back(static_cast<std::size_t>(c));
    });
    return runAllChains(sparse.Chains, columns);
}

// Row r = row r − factor·row k for every row below k with D[r][k] ≠ 0, recorded
// for later; factor = D[r][k] / D[k][k]. D[r][k] becomes 0 now, and the pivot's
// tail joins the row's pattern.
bool TMatrixEquations::eliminateBelowColumnFast(std::int32_t k) {
    TSparseWorkspace& sparse = Sparse;
    const long double* pivotRow = DMatrix.RowData(k) - 1;
    const std::uint64_t* tailBits = sparse.TailBits.data();
    const std::size_t firstWord = static_cast<std::size_t>(k) / 64;
    // Only columns above k join patterns, so this column's list stays as it is.
    const auto& slotsInColumn = sparse.SlotsInColumn[slot(k)];
    for (std::size_t n = 0; n < slotsInColumn.size(); ++n) {
        const std::int32_t rowSlot = slotsInColumn[n];
        const std::int32_t position = sparse.PositionOf[slot(rowSlot)];
        if (position <= k) continue;
        long double* row = DMatrix.RowData(position) - 1;
        if (row[k] == 0.0L) continue;
        const long double factor = row[k] / pivotRow[k];
        row[k] = 0.0L;
        DKnowns[position] = DKnowns[position] - factor * DKnowns[k];
        if (!std::isfinite(factor) || isNotFinite(DKnowns[position])) return false;
        auto& operations = sparse.Operations[slot(rowSlot)];
        const auto joining = static_cast<std::int16_t>(operations.size());
        operations.push_back({pivotRow, factor});
        std::uint64_t* pattern = sparse.PatternOf(rowSlot);
        for (std::size_t word = firstWord; word < sparse.ActiveWords; ++word) {
            const std::uint64_t joiningColumns = tailBits[word] & ~pattern[word];
            pattern[word] |= joiningColumns;
            forEachColumnOfWord(joiningColumns, word, [&](std::int32_t c) {
                sparse.EntryOpOf(rowSlot, c) = joining;
                sparse.SlotsInColumn[slot(c)].push_back(rowSlot);
            });
        }
    }
    return true;
}

// Zeroes the entries the last elimination may have left in the Jacobian: the
// columns of each row's pattern, at the row's position. They are not in the
// table's written-column record (a row's written span would reach across most of
// it), so every clearing of the table comes here first.
void TMatrixEquations::clearReducedEntries() {
    TSparseWorkspace& sparse = Sparse;
    if (!sparse.ReducedEntriesHeld) return;
    for (std::int32_t position = 1; position <= sparse.ActiveSlots; ++position) {
        long double* row = DMatrix.RowData(position) - 1;
        forEachColumn(sparse.PatternOf(sparse.SlotAt[slot(position)]), 0, sparse.ActiveWords,
                      [row](std::int32_t c) { std::memset(static_cast<void*>(row + c), 0, sizeof(long double)); });
    }
    sparse.ReducedEntriesHeld = false;
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
        const auto& tail = sparse.Tail[slot(sparse.SlotAt[slot(i)])];
        const long double* row = DMatrix.RowData(i) - 1;
        long double sum = 0.0L;
        for (auto c = tail.rbegin(); c != tail.rend(); ++c) sum = sum + row[*c] * QDeltas[*c];
        QDeltas[i] = finite((DKnowns[i] - sum) / row[i]);
    }
}
