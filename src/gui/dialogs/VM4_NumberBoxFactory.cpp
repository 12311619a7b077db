#include "dialogs/VM4_NumberBoxFactory.h"

#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

namespace {

// Zero is a value every box of these dialogs takes; the dialogs decide what it means.
TRightEditRules entryRules(const TNumberBoxRules& rules) {
    if (rules.Integer) return IntegerRules(rules.MaxIntegerDigits, true, rules.AllowNegative);
    return DecimalRules(rules.MaxDecimals, rules.MaxIntegerDigits, true, rules.AllowNegative);
}

}  // namespace

QLineEdit* NewNumberBox(QWidget* parent, IMessageBoxes& boxes, const TNumberBoxRules& rules) {
    auto* box = new TRightEdit(boxes, parent);
    box->SetRules(entryRules(rules));
    return box;
}

void SetNumberBoxRules(QLineEdit* box, const TNumberBoxRules& rules) {
    if (auto* entry = qobject_cast<TRightEdit*>(box)) entry->SetRules(entryRules(rules));
}

TNumberBoxRules UnitNumberBoxRules(int unit, bool allowNegative) {
    return {false, allowNegative, unitMaxIntegerDigits(unit), unitDecimals(unit)};
}
