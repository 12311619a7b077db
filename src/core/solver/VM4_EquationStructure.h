#pragma once

#include <cstdint>
#include <vector>

#include "solver/VM4_OneBasedMatrix.h"
#include "solver/VM4_SparseColumns.h"

// Where the coefficient codes of the matrix engine are non-zero, read once from
// its dense code table and kept until the table changes: the Jacobian's pattern
// (with room for its values) by columns, the same entries by equations, and the
// unknowns whose head loss some equation needs.
//
// Jacobian indices are 0-based (equation i, unknown j are row i − 1, column j − 1);
// equations and unknowns themselves are 1-based, as in the engine.
class TEquationStructure {
public:
    struct TRowEntry {
        std::int32_t Unknown;  // 1-based
        std::int32_t Entry;    // index into the Jacobian's entries
        std::uint8_t Code;
    };

    // Reads codes of equations 1..equations and unknowns 1..unknowns. Codes
    // beyond 4 are left out of the pattern; FirstUnknownCode() names the first.
    void Read(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns, std::int32_t equations);
    // Renames the equations: equation newOrder[k] + 1 becomes equation k + 1.
    void RenumberEquations(const std::vector<std::int32_t>& newOrder);

    // The code table as last read (or renumbered) still describes `codes`.
    bool Describes(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns, std::int32_t equations) const;
    // Marks the code table's present state as the one described.
    void Adopt(const TOneBasedMatrix<std::uint8_t>& codes) { codesStamp_ = codes.ModificationCount(); }
    void Invalidate() { valid_ = false; }

    std::int32_t Unknowns() const { return unknowns_; }
    std::int32_t Equations() const { return equations_; }
    std::uint8_t FirstUnknownCode() const { return firstUnknownCode_; }
    const std::vector<std::int32_t>& HeadUnknowns() const { return headUnknowns_; }

    // Entries of equation i (1-based), unknowns ascending.
    const TRowEntry* RowBegin(std::int32_t i) const { return rowEntries_.data() + rowStart_[static_cast<std::size_t>(i - 1)]; }
    const TRowEntry* RowEnd(std::int32_t i) const { return rowEntries_.data() + rowStart_[static_cast<std::size_t>(i)]; }

    TSparseColumns& Jacobian() { return jacobian_; }
    const TSparseColumns& Jacobian() const { return jacobian_; }
    // Code of each Jacobian entry.
    const std::vector<std::uint8_t>& EntryCodes() const { return entryCodes_; }
    // Unknown (1-based) of each Jacobian entry.
    const std::vector<std::int32_t>& EntryUnknowns() const { return entryUnknowns_; }

private:
    void buildRows();
    void placeEntriesInColumns(const std::vector<std::int32_t>& columnCount);

    bool valid_ = false;
    std::uint64_t codesStamp_ = 0;
    std::int32_t unknowns_ = 0;
    std::int32_t equations_ = 0;
    std::uint8_t firstUnknownCode_ = 0;
    TSparseColumns jacobian_;
    std::vector<std::uint8_t> entryCodes_;
    std::vector<std::int32_t> entryUnknowns_;
    std::vector<std::int32_t> rowStart_;
    std::vector<TRowEntry> rowEntries_;
    std::vector<std::int32_t> headUnknowns_;
};
