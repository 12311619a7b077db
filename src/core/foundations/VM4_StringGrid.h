#pragma once

#include <string>

// A text grid of cells addressed by column and row, both 0-based, as the
// result tables and library lists show them. The engine fills cells through
// this interface; the user interface (or a test) decides how they are shown.
class IStringGrid {
public:
    virtual ~IStringGrid() = default;

    virtual void SetCell(int column, int row, const std::string& text) = 0;
};
