#include "dialogs/VM4_NumberBoxFactory.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>

#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

const QString kFilterName = QStringLiteral("NumberKeyFilter");

// Passes each typed key through the entry rules; refused keys never reach the box.
class TNumberKeyFilter : public QObject {
public:
    TNumberKeyFilter(QLineEdit* box, IMessageBoxes& boxes, const TNumberBoxRules& rules)
        : QObject(box), box_(box), boxes_(boxes), rules_(rules) {
        setObjectName(kFilterName);
    }

    void SetRules(const TNumberBoxRules& rules) { rules_ = rules; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || !text[0].isPrint()) return false;  // navigation, deletion, shortcuts
        const TKeyFilterResult result = filter(text[0].unicode());
        if (!result.Message.empty()) boxes_.ShowInformation(result.Message);
        return !result.Accepted;
    }

private:
    TKeyFilterResult filter(char32_t key) const {
        TEntryBoxState state;
        state.Text = box_->text().toStdString();
        state.SelectedText = box_->selectedText().toStdString();
        state.CaretPosition = box_->cursorPosition();
        if (rules_.Integer) return FilterIntegerKey(state, key, rules_.AllowNegative, rules_.MaxIntegerDigits);
        return FilterDecimalKey(state, key, rules_.AllowNegative, rules_.MaxDecimals, rules_.MaxIntegerDigits);
    }

    QLineEdit* box_;
    IMessageBoxes& boxes_;
    TNumberBoxRules rules_;
};

}  // namespace

QLineEdit* NewNumberBox(QWidget* parent, IMessageBoxes& boxes, const TNumberBoxRules& rules) {
    auto* box = new QLineEdit(parent);
    box->setAlignment(Qt::AlignRight);
    box->installEventFilter(new TNumberKeyFilter(box, boxes, rules));
    return box;
}

void SetNumberBoxRules(QLineEdit* box, const TNumberBoxRules& rules) {
    if (auto* filter = box->findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly))
        static_cast<TNumberKeyFilter*>(filter)->SetRules(rules);
}

TNumberBoxRules UnitNumberBoxRules(int unit, bool allowNegative) {
    return {false, allowNegative, unitMaxIntegerDigits(unit), unitDecimals(unit)};
}
