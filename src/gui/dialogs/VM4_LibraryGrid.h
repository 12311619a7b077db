#pragma once

#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class IMessageBoxes;
class QTableWidget;
class QWidget;

// Pieces the library managers (pipe diameters, fluids) share.

// A read-only grid of whole rows, one selectable at a time, with the given
// headings and column widths; rows 18 pixels high.
QTableWidget* NewLibraryGrid(QWidget* parent, const QStringList& headings, const std::vector<int>& widths);
// Headings over a second line naming each column's unit, so that the units
// stand exactly over their columns.
void SetHeadingsWithUnits(QTableWidget* grid, const QStringList& headings, const QStringList& units);
void SetGridRow(QTableWidget* grid, int row, const std::vector<std::string>& cells);

// Runs a library operation; a failure (a malformed or unwritable file) is shown
// with its message. False when it failed.
bool RunReportingErrors(IMessageBoxes& boxes, const std::function<void()>& action);
