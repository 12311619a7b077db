#pragma once

#include <QString>
#include <functional>
#include <string>

#include "widgets/VM4_RightEditRules.h"

class IMessageBoxes;
class IPanelHost;
class QObject;
class QGridLayout;
class QFrame;
class QLabel;
class QToolButton;
class QWidget;
class TRightEdit;

// One numeric line of the panel: caption, right-aligned box and unit name.
struct TPanelValueRow {
    QLabel* Caption = nullptr;
    TRightEdit* Box = nullptr;
    QLabel* Unit = nullptr;

    void SetVisible(bool visible) const;
    // The unit the value is shown and typed in, and what the box admits.
    void SetUnit(int unit, const TRightEditRules& rules) const;
};

// Adds the row to `grid` at `row`; the box's object name is `name`, so that
// tests and the window's focus handling can find it.
TPanelValueRow AddPanelValueRow(QGridLayout& grid, int row, const QString& caption, const QString& name,
                                IMessageBoxes& boxes, QWidget* parent);

// Writes a value into the row's box, unless the user is typing into it: the
// box keeps what the user typed while the picture is regenerated.
void ShowPanelValue(const TPanelValueRow& row, const std::string& text);

// The small up/down arrows of the browse and symbol controls.
QToolButton* PanelArrowButton(Qt::ArrowType arrow, const QString& name, QWidget* parent);

// A framed area of the panel that can flash in its own colour.
QFrame* PanelFrame(const QString& name, QWidget* parent);

// The id a browse arrow moves to: the next (or previous) one, or round to the
// other end of the ids; 0 or less when there is none.
inline int BrowsedId(int stepped, int roundTheEnd) { return stepped > 0 ? stepped : roundTheEnd; }

// Connects the row's box to the document: the user's typing, once it reads as a
// value the box allows, goes through `store` (which converts it to SI) and
// marks the document modified, as long as `editable` says the panel edits an
// item; Enter or Tab regenerates the picture. A value that does not read, or
// breaks the box's zero and sign rules, never reaches the document: the item
// keeps its last valid value.
void ConnectPanelValue(QObject& owner, IPanelHost& host, const TPanelValueRow& row, std::function<bool()> editable,
                       std::function<void(double)> store);
