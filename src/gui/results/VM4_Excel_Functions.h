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

// A desktop without a spreadsheet program: the workbook is kept and the user
// told where it lies, rather than sent to look for a program by one name.
std::string ExportNotOpenedMessage(const std::string& workbookPath);

// The desktop's way of opening a file (QDesktopServices).
bool OpenWithDesktopProgram(const std::string& path);

// Hands the whole grid, headings included, to the user's spreadsheet program:
// writes it as a workbook of one sheet named `sheetName`, every column
// `columnWidth_chars` wide, into a folder of its own in the temporary folder,
// and opens it with `openWithDesktop`. The workbook stays there for the
// spreadsheet program, which reads it after this returns.
//
// A workbook that cannot be written is reported through `boxes` and answers
// false, leaving nothing behind. A desktop that cannot open it answers false
// too, but the workbook stays where it was written and the message says where.
bool ExportGridToSpreadsheet(const ITableGrid& grid, const std::string& sheetName, double columnWidth_chars,
                             IMessageBoxes& boxes, const TOpenWithDesktop& openWithDesktop);
