#pragma once

#include <QColor>
#include <QLineEdit>
#include <cstdint>
#include <string>

#include "foundations/VM4_Input_Validation.h"
#include "widgets/VM4_RightEditRules.h"

class IMessageBoxes;
class QAction;

// The numeric entry box of every dialog and of the editor's panel: one line,
// right-aligned, that lets through only the keys its rules admit (with the digit
// limit messages), refuses a paste or drop that typing could not have produced,
// selects its whole text on entry and reads its text back with the core's
// parsers. Text set by the program is not an edit: only the user's typing emits
// ValueEdited, so that filling a box never writes a rounded value back.
class TRightEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRightEdit(IMessageBoxes& messages, QWidget* parent = nullptr);

    void SetRules(const TRightEditRules& rules) { rules_ = rules; }
    const TRightEditRules& Rules() const { return rules_; }

    // The text as UTF-8 and set without counting as an edit.
    std::string Text() const;
    void SetValueText(const std::string& text);

    // The box's text read with the rules' zero and sign allowances. A lone "-"
    // is Incomplete: the caller keeps the value it had.
    TDecimalEntry ReadDecimal() const;
    TParsedNumber<std::int32_t> ReadInteger() const;
    // A number above zero (at least zero with the rules' AllowZero); exponents allowed.
    TParsedNumber<double> ReadPositive() const;
    // Replaces the text by DefaultText unless it holds a valid ReadPositive
    // number; returns whether it did hold one.
    bool ResetIfInvalid(const std::string& DefaultText);
    // The other decimal mark in the text becomes the system's.
    void NormaliseDecimalMark();

    // "Numeric entry is not valid": the box painted in `highlight` (unless that
    // is the window colour) while the warning is up, then the focus back in it.
    void ShowInvalidNumericEntry(const QColor& highlight);

    // The largest height the box takes: twice its font's height.
    int MaximumBoxHeight() const;

Q_SIGNALS:
    // The user changed the text (typing, deleting, pasting).
    void ValueEdited();
    // Enter or Tab was pressed in the box.
    void EnterOrTabPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TEntryBoxState State() const;
    TKeyFilterResult Filter(const TEntryBoxState& state, char32_t key) const;
    // True when the key went through the filter (or needs none).
    bool AdmitTypedKey(const QKeyEvent& event);
    // The clipboard's text typed in character by character; refused whole,
    // with the message of the first refused character, if any is refused.
    void PasteFiltered();
    void ReplacePasteAction(QAction* paste);

    IMessageBoxes& messages_;
    TRightEditRules rules_;
};
