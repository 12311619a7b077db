#pragma once

#include <QCursor>
#include <cstdint>

// The drawing's cursors: a pointer with the chosen tool's picture beside it,
// so that the user sees which tool a click will use.
namespace ToolCursors {

// The cursor of a drawing tool; the plain arrow for a code no tool has.
QCursor ForTool(std::uint8_t toolCode);

}  // namespace ToolCursors
