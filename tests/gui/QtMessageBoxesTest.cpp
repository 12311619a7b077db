#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/VM4_QtMessageBoxes.h"

namespace {

// What a real box looked like when it came up, and which of its buttons was pressed.
struct TSeenBox {
    QString Text;
    QMessageBox::StandardButtons Buttons;
    bool Seen = false;
};

// Presses `button` on the next modal message box, once it is up.
void PressWhenShown(QMessageBox::StandardButton button, TSeenBox& seen) {
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen = {box->text(), box->standardButtons(), true};
        box->button(button)->click();
    });
}

TEST(QtMessageBoxes, TurnsEveryCarriageReturnIntoALineBreak) {
    struct TCase {
        std::string text;
        QString display;
    };
    const TCase cases[] = {
        {"one line", "one line"},
        {"Cannot open a.vme\r\rFile may no longer exist", "Cannot open a.vme\n\nFile may no longer exist"},
        {"File already exists. Do wish to overwrite? \r", "File already exists. Do wish to overwrite? \n"},
        {"", ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(TQtMessageBoxes::ToDisplayText(c.text), c.display) << c.text;
}

TEST(QtMessageBoxes, KeepsNonAsciiTexts) {
    EXPECT_EQ(TQtMessageBoxes::ToDisplayText("Flow in m\xC2\xB3/sec"), QString::fromUtf8("Flow in m\xC2\xB3/sec"));
}

TEST(QtMessageBoxes, ConfirmationOffersYesAndNoAndReportsThePressedOne) {
    const struct {
        QMessageBox::StandardButton pressed;
        bool answer;
    } cases[] = {{QMessageBox::Yes, true}, {QMessageBox::No, false}};
    for (const auto& c : cases) {
        TQtMessageBoxes boxes;
        TSeenBox seen;
        PressWhenShown(c.pressed, seen);
        EXPECT_EQ(boxes.Confirm("Delete?\rReally"), c.answer);
        ASSERT_TRUE(seen.Seen);
        EXPECT_EQ(seen.Text, "Delete?\nReally");
        EXPECT_EQ(seen.Buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

TEST(QtMessageBoxes, YesNoCancelQuestionReportsEachOfItsThreeButtons) {
    const struct {
        QMessageBox::StandardButton pressed;
        TYesNoCancel answer;
    } cases[] = {{QMessageBox::Yes, TYesNoCancel::Yes},
                 {QMessageBox::No, TYesNoCancel::No},
                 {QMessageBox::Cancel, TYesNoCancel::Cancel}};
    for (const auto& c : cases) {
        TQtMessageBoxes boxes;
        TSeenBox seen;
        PressWhenShown(c.pressed, seen);
        EXPECT_EQ(boxes.AskYesNoCancel("Save changes to a.vme?"), c.answer);
        ASSERT_TRUE(seen.Seen);
        EXPECT_EQ(seen.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
}

TEST(QtMessageBoxes, InformationHasOnlyAnOkButton) {
    TQtMessageBoxes boxes;
    TSeenBox seen;
    PressWhenShown(QMessageBox::Ok, seen);
    boxes.ShowInformation("Done.\r\rAll saved.");
    ASSERT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Text, "Done.\n\nAll saved.");
    EXPECT_EQ(seen.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
