#include "solver/VM4_EquationStructure.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint8_t kLastKnownCode = 4;
constexpr std::uint8_t kFirstHeadCode = 3;

std::size_t at(std::int32_t index) { return static_cast<std::size_t>(index); }

constexpr std::int32_t kWordCodes = sizeof(std::uint64_t);

bool wordIsZero(const std::uint8_t* codes) {
    std::uint64_t word = 0;
    std::memcpy(&word, codes, sizeof word);
    return word == 0;
}

}  // namespace

bool TEquationStructure::Describes(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns,
                                   std::int32_t equations) const {
    return valid_ && codesStamp_ == codes.ModificationCount() && unknowns_ == unknowns && equations_ == equations;
}

// The code table is stored by equations, so it is read row by row (a walk down
// its columns would touch a cache line per code) and the entries are then
// sorted into columns, each with its equations ascending. A code the engine
// does not know is reported as the first one in column order.
void TEquationStructure::Read(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns,
                              std::int32_t equations) {
    unknowns_ = unknowns;
    equations_ = equations;
    firstUnknownCode_ = 0;
    std::int32_t firstUnknownCodeColumn = unknowns + 1;
    rowStart_.assign(at(equations) + 1, 0);
    rowEntries_.clear();
    std::vector<std::int32_t> columnCount(at(unknowns) + 1, 0);
    for (std::int32_t i = 1; i <= equations; ++i) {
        const auto row = codes[i];
        for (std::int32_t j = 1; j <= unknowns; ++j) {
            // A row holds a handful of codes among up to a thousand zeros.
            if (j + kWordCodes - 1 <= unknowns && wordIsZero(&row[j])) {
                j += kWordCodes - 1;
                continue;
            }
            const std::uint8_t code = row[j];
            if (code == 0) continue;
            if (code > kLastKnownCode) {
                if (j < firstUnknownCodeColumn) {
                    firstUnknownCodeColumn = j;
                    firstUnknownCode_ = code;
                }
                continue;
            }
            rowEntries_.push_back(TRowEntry{j, 0, code});
            ++columnCount[at(j)];
        }
        rowStart_[at(i)] = static_cast<std::int32_t>(rowEntries_.size());
    }
    placeEntriesInColumns(columnCount);
    codesStamp_ = codes.ModificationCount();
    valid_ = true;
}

// Counting sort of the row entries into the column-wise pattern; every row
// entry learns its place there.
void TEquationStructure::placeEntriesInColumns(const std::vector<std::int32_t>& columnCount) {
    jacobian_.Rows = equations_;
    jacobian_.Columns = unknowns_;
    jacobian_.ColumnStart.assign(at(unknowns_) + 1, 0);
    for (std::int32_t j = 1; j <= unknowns_; ++j)
        jacobian_.ColumnStart[at(j)] = jacobian_.ColumnStart[at(j) - 1] + columnCount[at(j)];
    const auto entries = rowEntries_.size();
    jacobian_.RowIndex.assign(entries, 0);
    entryCodes_.assign(entries, 0);
    entryUnknowns_.assign(entries, 0);
    std::vector<std::int32_t> next(jacobian_.ColumnStart.begin(), jacobian_.ColumnStart.end() - 1);
    std::vector<bool> walked(at(unknowns_) + 1, false);
    std::int32_t begin = 0;
    for (std::int32_t i = 0; i < equations_; ++i) {
        const std::int32_t end = rowStart_[at(i) + 1];
        for (std::int32_t p = begin; p < end; ++p) {
            TRowEntry& entry = rowEntries_[at(p)];
            const std::int32_t k = next[at(entry.Unknown) - 1]++;
            entry.Entry = k;
            jacobian_.RowIndex[at(k)] = i;
            entryCodes_[at(k)] = entry.Code;
            entryUnknowns_[at(k)] = entry.Unknown;
            walked[at(entry.Unknown)] = walked[at(entry.Unknown)] || entry.Code >= kFirstHeadCode;
        }
        begin = end;
    }
    headUnknowns_.clear();
    for (std::int32_t j = 1; j <= unknowns_; ++j)
        if (walked[at(j)]) headUnknowns_.push_back(j);
    jacobian_.Value.assign(entries, 0.0L);
}

void TEquationStructure::RenumberEquations(const std::vector<std::int32_t>& newOrder) {
    std::vector<std::int32_t> newIndex(newOrder.size());
    for (std::size_t k = 0; k < newOrder.size(); ++k) newIndex[at(newOrder[k])] = static_cast<std::int32_t>(k);
    for (std::int32_t& row : jacobian_.RowIndex) row = newIndex[at(row)];
    buildRows();
}

// The transpose of the column-wise pattern: reading the columns in order leaves
// each equation's unknowns ascending.
void TEquationStructure::buildRows() {
    rowStart_.assign(at(equations_) + 1, 0);
    for (const std::int32_t row : jacobian_.RowIndex) ++rowStart_[at(row) + 1];
    for (std::int32_t i = 0; i < equations_; ++i) rowStart_[at(i) + 1] += rowStart_[at(i)];
    rowEntries_.resize(jacobian_.RowIndex.size());
    std::vector<std::int32_t> next(rowStart_.begin(), rowStart_.end() - 1);
    for (std::int32_t k = 0; k < jacobian_.EntryCount(); ++k) {
        const std::int32_t row = jacobian_.RowIndex[at(k)];
        rowEntries_[at(next[at(row)]++)] = TRowEntry{entryUnknowns_[at(k)], k, entryCodes_[at(k)]};
    }
}
