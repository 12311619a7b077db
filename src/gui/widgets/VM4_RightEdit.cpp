#include "widgets/VM4_RightEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>
#include <QTimer>

#include "foundations/VM4_EntryValidation.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

// What typing `key` over the selection leaves in the box: the selection (or
// nothing) replaced by the key, the caret after it.
TEntryBoxState AfterTyping(const TEntryBoxState& state, const std::string& key) {
    const std::size_t start = static_cast<std::size_t>(state.CaretPosition);
    TEntryBoxState next;
    next.Text = state.Text.substr(0, start) + key + state.Text.substr(start + state.SelectedText.size());
    next.CaretPosition = state.CaretPosition + static_cast<int>(key.size());
    return next;
}

bool IsControlKey(char32_t key) { return key < 32 || key == 127; }

}  // namespace

TRightEdit::TRightEdit(IMessageBoxes& messages, QWidget* parent) : QLineEdit(parent), messages_(messages) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);  // a drop would bypass the key filter
    setMaximumHeight(MaximumBoxHeight());
    connect(this, &QLineEdit::textEdited, this, [this] { Q_EMIT ValueEdited(); });
}

std::string TRightEdit::Text() const { return text().toStdString(); }

void TRightEdit::SetValueText(const std::string& text) { setText(QString::fromStdString(text)); }

TDecimalEntry TRightEdit::ReadDecimal() const {
    return ReadDecimalEntry(Text(), rules_.AllowZero, rules_.AllowNegative);
}

TParsedNumber<std::int32_t> TRightEdit::ReadInteger() const {
    return ParseIntegerText(Text(), rules_.AllowZero, rules_.AllowNegative);
}

TParsedNumber<double> TRightEdit::ReadPositive() const { return ReadPositiveText(Text(), rules_.AllowZero); }

bool TRightEdit::ResetIfInvalid(const std::string& DefaultText) {
    const TResetEntry reset = ResetTextIfInvalid(Text(), DefaultText, rules_.AllowZero);
    if (!reset.Valid) SetValueText(reset.Text);
    return reset.Valid;
}

void TRightEdit::NormaliseDecimalMark() { SetValueText(ToSystemDecimalMark(Text())); }

void TRightEdit::ShowInvalidNumericEntry(const QColor& highlight) {
    const QPalette original = palette();
    const bool paint = highlight != original.color(QPalette::Base);
    if (paint) {
        QPalette marked = original;
        marked.setColor(QPalette::Base, highlight);
        setPalette(marked);
    }
    messages_.ShowInformation(InvalidNumericEntryMessage);
    if (paint) setPalette(original);
    setFocus();
}

int TRightEdit::MaximumBoxHeight() const { return 2 * fontMetrics().height(); }

bool TRightEdit::event(QEvent* event) {
    // Tab never reaches keyPressEvent: the focus chain takes it first.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) Q_EMIT EnterOrTabPressed();
    }
    return QLineEdit::event(event);
}

void TRightEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteFiltered();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) Q_EMIT EnterOrTabPressed();
    if (!AdmitTypedKey(*event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TRightEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // After the click that brought the focus has placed the caret.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void TRightEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions())
        if (action->objectName() == QStringLiteral("edit-paste")) ReplacePasteAction(action);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TRightEdit::ReplacePasteAction(QAction* paste) {
    disconnect(paste, &QAction::triggered, nullptr, nullptr);
    connect(paste, &QAction::triggered, this, &TRightEdit::PasteFiltered);
}

TEntryBoxState TRightEdit::State() const {
    TEntryBoxState state;
    state.Text = Text();
    state.SelectedText = selectedText().toStdString();
    state.CaretPosition = hasSelectedText() ? selectionStart() : cursorPosition();
    return state;
}

TKeyFilterResult TRightEdit::Filter(const TEntryBoxState& state, char32_t key) const {
    switch (rules_.Filter) {
        case TRightEditFilter::Integer: return FilterIntegerKey(state, key, rules_.AllowNegative, rules_.MaxLength);
        case TRightEditFilter::Calculator: return FilterCalculatorKey(state, key, rules_.AllowNegative);
        case TRightEditFilter::Decimal: break;
    }
    return FilterDecimalKey(state, key, rules_.AllowNegative, rules_.MaxDecimals, rules_.MaxIntegerDigits);
}

bool TRightEdit::AdmitTypedKey(const QKeyEvent& event) {
    const QString typed = event.text();
    if (event.key() == Qt::Key_Backspace) return Filter(State(), KeyBackspace).Accepted;
    // Keys that type nothing (arrows, Delete, shortcuts) cannot break the number.
    if (typed.isEmpty() || IsControlKey(typed.at(0).unicode())) return true;
    for (const char32_t key : typed.toUcs4()) {
        const TKeyFilterResult result = Filter(State(), key);
        if (!result.Message.empty()) messages_.ShowInformation(result.Message);
        if (!result.Accepted) return false;
    }
    return true;
}

void TRightEdit::PasteFiltered() {
    const QString pasted = QApplication::clipboard()->text();
    TEntryBoxState state = State();
    for (const char32_t key : pasted.toUcs4()) {
        const TKeyFilterResult result = Filter(state, key);
        if (!result.Accepted) {
            if (!result.Message.empty()) messages_.ShowInformation(result.Message);
            return;
        }
        state = AfterTyping(state, QString::fromUcs4(&key, 1).toStdString());
    }
    if (!pasted.isEmpty()) paste();
}
