#pragma once

class IMessageBoxes;
class QLineEdit;
class QWidget;

// What a numeric box of the item dialogs admits.
struct TNumberBoxRules {
    bool Integer = false;
    bool AllowNegative = false;
    int MaxIntegerDigits = 6;  // whole-number boxes: the most characters
    int MaxDecimals = 3;
};

// The one place the item dialogs create their numeric boxes (the shared
// numeric entry box), so that every box filters keys alike.
QLineEdit* NewNumberBox(QWidget* parent, IMessageBoxes& boxes, const TNumberBoxRules& rules);

// New rules for a box made by NewNumberBox (a unit shown beside it changed).
void SetNumberBoxRules(QLineEdit* box, const TNumberBoxRules& rules);
// The rules of a unit: its digit limits before and after the decimal mark.
TNumberBoxRules UnitNumberBoxRules(int unit, bool allowNegative);
