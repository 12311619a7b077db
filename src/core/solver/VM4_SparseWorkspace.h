#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// Working storage of the matrix engine's fast path, sized once for the engine's
// capacities. The fast path performs the same arithmetic as the plain dense one,
// on the entries that can be non-zero only; this is what it keeps to know them.
//
// Equation structure, by equation position (kept in step with the code table
// through the row exchanges): the coded entries of each equation, columns
// ascending, and the unknowns that some head equation walks.
//
// Elimination, for one elimination only: a row's slot is its position when the
// elimination started, so that it keeps its identity through the exchanges. Each
// slot holds the set of columns where its row may be non-zero; every other entry
// of the row is exactly +0. Each column lists the slots that may be non-zero in it.
struct TSparseWorkspace {
    struct TCodedEntry {
        std::int32_t Column;
        std::uint8_t Code;
    };

    // What the friction factor of an unknown was computed from, so that the
    // Jacobian can reuse the factor of the residual evaluation at the same flow.
    struct TFrictionRecord {
        bool Known = false;
        long double Flow_m3s = 0.0L;
        double Diameter_m = 0.0;
        double Roughness_m = 0.0;
        double Density_kgm3 = 0.0;
        double Viscosity_cP = 0.0;
        double FrictionFactor = 0.0;
    };

    TSparseWorkspace(std::int32_t maxUnknowns, std::int32_t maxEquations);

    // ---- Equation structure ----
    std::vector<std::vector<TCodedEntry>> Codes;  // by position 1..M
    std::vector<std::int32_t> HeadUnknowns;       // ascending
    bool CodesCurrent = false;
    bool CodesSupported = false;                  // no code outside 0..4
    std::uint64_t CodesStamp = 0;                 // code table's modification count when read
    std::int32_t CodesUnknowns = 0;
    std::int32_t CodesEquations = 0;

    // ---- Per unknown ----
    std::vector<long double> HeadLoss_mHd;
    std::vector<long double> HeadLossSlope;
    std::vector<TFrictionRecord> Friction;
    std::vector<std::uint8_t> IsHeadUnknown;

    // ---- Elimination ----
    // A reduction applied to a row: row = pivot row − Factor·row, on the columns
    // above the pivot's. PivotRow is indexed by column (element c is column c).
    struct TRowOperation {
        const long double* PivotRow;
        long double Factor;
    };
    // One entry's pending reductions, from Next up to End.
    struct TChain {
        const TRowOperation* Next;
        const TRowOperation* End;
        long double* Entry;
    };

    std::vector<std::int32_t> SlotAt;      // by position
    std::vector<std::int32_t> PositionOf;  // by slot
    // The columns where the slot's row may be non-zero, one bit per column
    // (bit c % 64 of word c / 64), ColumnWords words per slot: the union with a
    // pivot row's columns is a few word operations, not one test per column.
    std::vector<std::uint64_t> PatternBits;
    std::size_t ColumnWords = 0;
    // For slot s and column c, at EntryOpStride·s + c: the first of the slot's
    // reductions that applies to the entry (those before found it +0 and left it
    // so), or -1 when the column is not in the pattern.
    std::vector<std::int16_t> EntryOp;
    std::int32_t EntryOpStride = 0;
    std::vector<std::vector<TRowOperation>> Operations;  // by slot, in order
    // By slot, once its row is a pivot row: its columns above the pivot, ascending.
    std::vector<std::vector<std::int32_t>> Tail;
    std::vector<std::uint64_t> TailBits;  // the current pivot row's tail, as a pattern
    std::vector<std::vector<std::int32_t>> SlotsInColumn;  // by column
    std::vector<std::pair<std::int32_t, std::int32_t>> Exchanges;  // positions, in order
    std::vector<std::int32_t> Candidates;  // positions, in no particular order
    std::vector<TChain> Chains;
    std::vector<std::size_t> ChainColumns;  // the column of each chain
    std::int32_t ActiveSlots = 0;            // slots used by the last elimination
    std::size_t ActiveWords = 0;             // pattern words its columns need
    // The Jacobian holds entries of the last elimination at the positions of its
    // slots' patterns, which its written-column record does not cover.
    bool ReducedEntriesHeld = false;
    // The last elimination ran here, so its tails describe the reduced rows.
    bool EliminationCurrent = false;

    std::int16_t& EntryOpOf(std::int32_t rowSlot, std::int32_t column) {
        return EntryOp[static_cast<std::size_t>(EntryOpStride) * static_cast<std::size_t>(rowSlot) +
                       static_cast<std::size_t>(column)];
    }

    std::uint64_t* PatternOf(std::int32_t rowSlot) {
        return PatternBits.data() + ColumnWords * static_cast<std::size_t>(rowSlot);
    }
};
