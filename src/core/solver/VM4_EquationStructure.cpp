#include "solver/VM4_EquationStructure.h"

#include <cstddef>

namespace {

constexpr std::uint8_t kLastKnownCode = 4;
constexpr std::uint8_t kFirstHeadCode = 3;

std::size_t at(std::int32_t index) { return static_cast<std::size_t>(index); }

}  // namespace

bool TEquationStructure::Describes(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns,
                                   std::int32_t equations) const {
    return valid_ && codesStamp_ == codes.ModificationCount() && unknowns_ == unknowns && equations_ == equations;
}

// Column by column, so that the Jacobian's entries come out by columns with the
// equations ascending.
void TEquationStructure::Read(const TOneBasedMatrix<std::uint8_t>& codes, std::int32_t unknowns,
                              std::int32_t equations) {
    unknowns_ = unknowns;
    equations_ = equations;
    firstUnknownCode_ = 0;
    jacobian_.Rows = equations;
    jacobian_.Columns = unknowns;
    jacobian_.ColumnStart.assign(1, 0);
    jacobian_.RowIndex.clear();
    entryCodes_.clear();
    entryUnknowns_.clear();
    headUnknowns_.clear();
    for (std::int32_t j = 1; j <= unknowns; ++j) {
        bool walked = false;
        for (std::int32_t i = 1; i <= equations; ++i) {
            const std::uint8_t code = codes[i][j];
            if (code == 0) continue;
            if (code > kLastKnownCode) {
                if (firstUnknownCode_ == 0) firstUnknownCode_ = code;
                continue;
            }
            walked = walked || code >= kFirstHeadCode;
            jacobian_.RowIndex.push_back(i - 1);
            entryCodes_.push_back(code);
            entryUnknowns_.push_back(j);
        }
        jacobian_.ColumnStart.push_back(static_cast<std::int32_t>(jacobian_.RowIndex.size()));
        if (walked) headUnknowns_.push_back(j);
    }
    jacobian_.Value.assign(jacobian_.RowIndex.size(), 0.0L);
    buildRows();
    codesStamp_ = codes.ModificationCount();
    valid_ = true;
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
