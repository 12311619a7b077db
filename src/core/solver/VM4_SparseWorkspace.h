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
// slot lists, ascending, the columns where its row may be non-zero; every other
// entry of the row is exactly +0. Each column lists the slots that may be
// non-zero in it.
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
    std::vector<std::int32_t> SlotAt;      // by position
    std::vector<std::int32_t> PositionOf;  // by slot
    std::vector<std::vector<std::int32_t>> Pattern;         // by slot, columns ascending
    std::vector<std::vector<std::int32_t>> SlotsInColumn;   // by column
    std::vector<std::int32_t> Candidates;
    std::vector<std::int32_t> Merged;
    std::vector<std::int32_t> NewColumns;
    std::vector<std::uint32_t> ColumnMarks;  // by column; equal to MarkStamp when marked
    std::uint32_t MarkStamp = 0;
    // The last elimination ran here, so its patterns describe the reduced rows.
    bool EliminationCurrent = false;

    // A fresh stamp for ColumnMarks.
    std::uint32_t NextMarkStamp();
};
