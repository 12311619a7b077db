#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GuiEvents.h"
#include "ScriptedMessageBoxes.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

namespace {

// Texts are written with '#' standing for the decimal mark, so that every case
// runs once with each mark.
std::string WithMark(std::string text, char mark) {
    for (char& c : text)
        if (c == '#') c = mark;
    return text;
}

struct TKeyCase {
    const char* Name;
    TRightEditRules Rules;
    const char* Text;
    int SelectionStart;  // -1: no selection, the caret at CaretPosition
    int SelectionLength;
    int CaretPosition;
    char Key;            // '#': the decimal mark; '\b': Backspace
    const char* Expected;
    const char* Message;  // "" when the key goes without a message
};

const TRightEditRules Length = DecimalRulesForUnit(UNIT_FT, true, false);       // 3 places, 6 digits
const TRightEditRules Pressure = DecimalRulesForUnit(UNIT_PSI_G, true, true);   // 4 places, 5 digits
const TRightEditRules Count = IntegerRules(3, true, true);
const TRightEditRules Calculator = CalculatorRules(false, false);

const std::vector<TKeyCase> KeyCases = {
    {"seventh digit before the mark", Length, "123456", -1, 0, 6, '7', "123456", PreDecimalDigitsLimitMessage},
    {"digit after a mark past the digit limit", Length, "123456#", -1, 0, 7, '7', "123456#7", ""},
    {"digit limit counts the sign", Pressure, "-1234", -1, 0, 5, '5', "-1234", PreDecimalDigitsLimitMessage},
    {"fourth decimal of three", Length, "1#234", -1, 0, 5, '5', "1#234", PostDecimalDigitsLimitMessage},
    {"digit before the mark with full decimals", Length, "1#234", -1, 0, 0, '5', "51#234", ""},
    {"selection does not lift the digit limit", Length, "123456", 0, 2, 0, '9', "123456",
     PreDecimalDigitsLimitMessage},
    {"second mark", Length, "1#5", -1, 0, 3, '#', "1#5", ""},
    {"mark typed over a selection holding it", Length, "1#5", 1, 2, 1, '#', "1#", ""},
    {"minus where negatives are refused", Length, "12", -1, 0, 0, '-', "12", ""},
    {"minus where negatives are allowed", Pressure, "12", -1, 0, 0, '-', "-12", ""},
    {"second minus", Pressure, "-12", -1, 0, 3, '-', "-12", ""},
    {"letter", Pressure, "12", -1, 0, 2, 'e', "12", ""},
    {"backspace", Length, "12#5", -1, 0, 4, '\b', "12#", ""},
    {"integer box at its length", Count, "123", -1, 0, 3, '4', "123", ""},
    {"integer box refuses the mark", Count, "12", -1, 0, 2, '#', "12", ""},
    {"integer box takes one minus", Count, "12", -1, 0, 0, '-', "-12", ""},
    {"calculator has no digit limits", Calculator, "1234567#12345", -1, 0, 13, '6', "1234567#123456", ""},
    {"calculator refuses a second mark", Calculator, "1#5", -1, 0, 0, '#', "1#5", ""},
    {"calculator refuses minus unless allowed", Calculator, "15", -1, 0, 0, '-', "15", ""},
};

class RightEditKeys : public ::testing::TestWithParam<char> {};

void Prepare(TRightEdit& box, const TKeyCase& c, char mark) {
    box.SetRules(c.Rules);
    box.SetValueText(WithMark(c.Text, mark));
    if (c.SelectionStart >= 0)
        box.setSelection(c.SelectionStart, c.SelectionLength);
    else
        box.setCursorPosition(c.CaretPosition);
}

void Type(TRightEdit& box, char key, char mark) {
    if (key == '\b') {
        PressKey(box, Qt::Key_Backspace);
        return;
    }
    const char typed = key == '#' ? mark : key;
    PressKey(box, Qt::Key_unknown, Qt::NoModifier, QString(QChar(typed)));
}

}  // namespace

TEST_P(RightEditKeys, FilterTableThroughTheWidget) {
    const char mark = GetParam();
    TScopedDecimalMark scoped(mark);
    for (const TKeyCase& c : KeyCases) {
        SCOPED_TRACE(c.Name);
        TScriptedMessageBoxes boxes;
        TRightEdit box(boxes);
        Prepare(box, c, mark);
        Type(box, c.Key, mark);
        EXPECT_EQ(box.Text(), WithMark(c.Expected, mark));
        const std::vector<std::string> expected =
            std::string(c.Message).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Message};
        EXPECT_EQ(boxes.Texts(), expected);
    }
}

TEST_P(RightEditKeys, OtherMarkIsNotTypedButIsRead) {
    const char mark = GetParam();
    const char other = mark == '.' ? ',' : '.';
    TScopedDecimalMark scoped(mark);
    TScriptedMessageBoxes boxes;
    TRightEdit box(boxes);
    box.SetRules(Length);
    box.SetValueText("12");
    box.setCursorPosition(2);
    PressKey(box, Qt::Key_unknown, Qt::NoModifier, QString(QChar(other)));
    EXPECT_EQ(box.Text(), "12");
    box.SetValueText(std::string("12") + other + "5");
    const TDecimalEntry entry = box.ReadDecimal();
    EXPECT_EQ(entry.Outcome, TEntryOutcome::Valid);
    EXPECT_NEAR(entry.Value, 12.5, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(BothMarks, RightEditKeys, ::testing::Values('.', ','));

namespace {

struct TPasteCase {
    const char* Name;
    TRightEditRules Rules;
    const char* Text;
    const char* Clipboard;
    const char* Expected;
    const char* Message;
};

}  // namespace

TEST(RightEditPaste, RefusedTheWayTypingIs) {
    TScopedDecimalMark scoped('.');
    const std::vector<TPasteCase> cases = {
        {"number", Length, "", "12.5", "12.5", ""},
        {"negative where refused", Length, "", "-5", "", ""},
        {"letters", Pressure, "1", "2e3", "1", ""},
        {"too many digits", Length, "", "1234567", "", PreDecimalDigitsLimitMessage},
        {"too many decimals", Length, "1.", "2345", "1.", PostDecimalDigitsLimitMessage},
        {"second mark", Length, "1.5", ".5", "1.5", ""},
    };
    for (const TPasteCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedMessageBoxes boxes;
        TRightEdit box(boxes);
        box.SetRules(c.Rules);
        box.SetValueText(c.Text);
        box.end(false);
        int edits = 0;
        QObject::connect(&box, &TRightEdit::ValueEdited, [&edits] { ++edits; });
        QApplication::clipboard()->setText(QString::fromUtf8(c.Clipboard));
        PressKey(box, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
        EXPECT_EQ(box.Text(), c.Expected);
        EXPECT_EQ(edits, box.Text() == c.Text ? 0 : 1);
        const std::vector<std::string> expected =
            std::string(c.Message).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.Message};
        EXPECT_EQ(boxes.Texts(), expected);
    }
}

TEST(RightEdit, OnlyTheUsersTypingIsAnEdit) {
    TScriptedMessageBoxes boxes;
    TRightEdit box(boxes);
    box.SetRules(Length);
    int edits = 0;
    QObject::connect(&box, &TRightEdit::ValueEdited, [&edits] { ++edits; });
    box.SetValueText("3.5");
    EXPECT_EQ(edits, 0);
    box.end(false);
    PressKey(box, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    EXPECT_EQ(edits, 1);
}

TEST(RightEdit, SelectsItsWholeTextOnEntry) {
    TScriptedMessageBoxes boxes;
    TRightEdit box(boxes);
    box.SetValueText("123.5");
    box.setCursorPosition(2);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&box, &focusIn);
    QApplication::processEvents();
    EXPECT_EQ(box.selectedText(), QStringLiteral("123.5"));
}

TEST(RightEdit, ReadsWithTheRulesAllowances) {
    TScopedDecimalMark scoped('.');
    struct TReadCase {
        TRightEditRules Rules;
        const char* Text;
        TEntryOutcome Outcome;
    };
    const std::vector<TReadCase> cases = {
        {Length, "0", TEntryOutcome::Valid},
        {DecimalRulesForUnit(UNIT_INCH, false, false), "0", TEntryOutcome::Invalid},
        {Length, "-3", TEntryOutcome::Invalid},
        {Pressure, "-3", TEntryOutcome::Valid},
        {Pressure, "-", TEntryOutcome::Incomplete},
        {Length, "", TEntryOutcome::Invalid},
        {Length, "1.2.3", TEntryOutcome::Invalid},
    };
    TScriptedMessageBoxes boxes;
    TRightEdit box(boxes);
    for (const TReadCase& c : cases) {
        SCOPED_TRACE(c.Text);
        box.SetRules(c.Rules);
        box.SetValueText(c.Text);
        EXPECT_EQ(box.ReadDecimal().Outcome, c.Outcome);
    }
}

TEST(RightEdit, InvalidEntryWarnsAndResets) {
    TScriptedMessageBoxes boxes;
    TRightEdit box(boxes);
    box.SetRules(DecimalRules(3, 6, false, false));
    box.SetValueText("0");
    EXPECT_FALSE(box.ResetIfInvalid("1.000"));
    EXPECT_EQ(box.Text(), "1.000");
    EXPECT_TRUE(box.ResetIfInvalid("2.000"));
    EXPECT_EQ(box.Text(), "1.000");
    box.ShowInvalidNumericEntry(Qt::yellow);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{InvalidNumericEntryMessage});
    EXPECT_NE(box.palette().color(QPalette::Base), QColor(Qt::yellow));
}
