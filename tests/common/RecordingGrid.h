#pragma once

#include <map>
#include <string>
#include <utility>

#include "foundations/VM4_StringGrid.h"

// A string grid that keeps what was written, for checking cells by position.
class TRecordingGrid : public IStringGrid {
public:
    void SetCell(int column, int row, const std::string& text) override { cells_[{column, row}] = text; }

    bool HasCell(int column, int row) const { return cells_.count({column, row}) != 0; }
    // The cell's text; "<unset>" for a cell never written, so that a missing
    // cell never passes for an empty one.
    std::string Cell(int column, int row) const {
        const auto found = cells_.find({column, row});
        return found == cells_.end() ? "<unset>" : found->second;
    }
    std::size_t CellCount() const { return cells_.size(); }

private:
    std::map<std::pair<int, int>, std::string> cells_;
};
