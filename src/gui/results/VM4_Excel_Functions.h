#pragma once

#include <functional>
#include <string>

class IMessageBoxes;
class ITableGrid;

// Opens a file with the program the desktop associates with it; false when
// none could be started.
using TOpenWithDesktop = std::function<bool(const std::string& path)>;

constexpr const char* kExportWriteFailedMessage =
    "Could not create sheet and copy data to Excel.\r\rThere may be an issue with Excel on this machine?";
constexpr const char* kExportOpenFailedMessage = "Cannot start Excel. Excel may not be installed?";

// The desktop's way of opening a file (QDesktopServices).
bool OpenWithDesktopProgram(const std::string& path);

// Hands the whole grid, headings included, to the user's spreadsheet program:
// writes it as a workbook of one sheet named `sheetName`, every column
// `columnWidth_chars` wide, into a folder of its own in the temporary folder,
// and opens it with `openWithDesktop`. The workbook stays there for the
// spreadsheet program, which reads it after this returns.
//
// A workbook that cannot be written, or a desktop that cannot open it, is
// reported through `boxes` and answers false; the workbook is then removed.
bool ExportGridToSpreadsheet(const ITableGrid& grid, const std::string& sheetName, double columnWidth_chars,
                             IMessageBoxes& boxes, const TOpenWithDesktop& openWithDesktop);
