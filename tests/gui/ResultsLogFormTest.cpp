#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>

#include "WhenShown.h"
#include "results/VM4_ResultsLog_Form.h"

namespace {

const std::string kQuestion =
    "\r\rThe solution values are displayed on the drawing.\r\rDo you wish to view the detailed Results Table now?";

TEST(SolveVerdict, TextStyleAndButtonsFollowTheOutcome) {
    const struct {
        bool solved;
        int warnings;
        bool refinementFailed;
        std::string text;
        bool bold;
        bool offersTable;
    } cases[] = {
        {true, 0, false, "The network was solved successfully." + kQuestion, false, true},
        {true, 3, false, "The network was solved with 3 WARNINGS ***." + kQuestion, false, true},
        // A refinement that failed on the way does not matter once solved.
        {true, 0, true, "The network was solved successfully." + kQuestion, false, true},
        {false, 0, true,
         "The network was not solved.\r\rThe Final Pressure balance tolerance may be set too low.\r\rPlease review "
         "the details above and scroll to the end of the log.",
         true, false},
        {false, 2, false,
         "The network was not solved.\r\rPlease review the log details above (scroll through for details).\r\rAnd "
         "then review the design of your system.",
         true, false},
    };
    for (const auto& c : cases) {
        const TSolveVerdict verdict = SolveVerdictFor(c.solved, c.warnings, c.refinementFailed);
        EXPECT_EQ(verdict.Text, c.text);
        EXPECT_EQ(verdict.Bold, c.bold) << c.text;
        EXPECT_EQ(verdict.OffersResultsTable, c.offersTable) << c.text;
    }
}

// What the window showed when it opened, and the button pressed then.
struct TSeen {
    QString Message;
    bool Bold = false;
    bool Yes = false;
    bool No = false;
    bool Ok = false;
    QString Memo;
};

class ResultsLogForm : public ::testing::Test {
protected:
    // Shows the window through `show`, presses `button` (or Escape when null)
    // once it is up, and returns what it showed.
    template <typename Show>
    TSeen ShowAndPress(const char* button, Show show, int& flag) {
        TSeen seen;
        TWhenShown press(form, [&] {
            auto* label = form.findChild<QLabel*>("LabelMessage");
            seen.Message = label->text();
            seen.Bold = label->font().bold();
            seen.Yes = !form.findChild<QPushButton*>("ButtonYes")->isHidden();
            seen.No = !form.findChild<QPushButton*>("ButtonNo")->isHidden();
            seen.Ok = !form.findChild<QPushButton*>("ButtonOk")->isHidden();
            seen.Memo = form.findChild<QPlainTextEdit*>("MemoLog")->toPlainText();
            if (button != nullptr) {
                form.findChild<QPushButton*>(button)->click();
            } else {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&form, &escape);
            }
        });
        flag = show();
        EXPECT_FALSE(form.isVisible());
        return seen;
    }

    TResultsLogForm form;
};

TEST_F(ResultsLogForm, SolvedVerdictAsksAboutTheTableAndYesIsTheOnlyAnswerThatOpensIt) {
    form.Lines() = {"first line", "m³ second"};
    int flag = -1;
    const TSeen seen = ShowAndPress("ButtonYes", [&] { return form.ShowSolveVerdict(true, 0, false); }, flag);
    EXPECT_EQ(flag, TResultsLogForm::ViewResultsTable);
    EXPECT_EQ(seen.Message, QString::fromStdString("The network was solved successfully." + kQuestion)
                                .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    EXPECT_FALSE(seen.Bold);
    EXPECT_TRUE(seen.Yes);
    EXPECT_TRUE(seen.No);
    EXPECT_FALSE(seen.Ok);
    EXPECT_EQ(seen.Memo, QString::fromUtf8("first line\nm³ second"));
    EXPECT_EQ(form.windowTitle(), "Results Log");

    ShowAndPress("ButtonNo", [&] { return form.ShowSolveVerdict(true, 3, false); }, flag);
    EXPECT_EQ(flag, TResultsLogForm::ViewNothing);
    ShowAndPress(nullptr, [&] { return form.ShowSolveVerdict(true, 3, false); }, flag);
    EXPECT_EQ(flag, TResultsLogForm::ViewNothing);
}

TEST_F(ResultsLogForm, NotSolvedVerdictIsBoldWithOnlyOk) {
    int flag = -1;
    const TSeen seen = ShowAndPress("ButtonOk", [&] { return form.ShowSolveVerdict(false, 0, true); }, flag);
    EXPECT_EQ(flag, TResultsLogForm::ViewNothing);
    EXPECT_TRUE(seen.Message.startsWith("The network was not solved.\n\nThe Final Pressure balance tolerance"));
    EXPECT_TRUE(seen.Bold);
    EXPECT_FALSE(seen.Yes);
    EXPECT_FALSE(seen.No);
    EXPECT_TRUE(seen.Ok);
}

// "Show Log" shows the last verdict again, with the log as it stands.
TEST_F(ResultsLogForm, ShowingAgainKeepsTheLastVerdict) {
    int flag = -1;
    ShowAndPress("ButtonNo", [&] { return form.ShowSolveVerdict(true, 1, false); }, flag);
    form.Lines().push_back("added later");
    const TSeen again = ShowAndPress("ButtonYes", [&] { return form.ShowAgain(); }, flag);
    EXPECT_EQ(flag, TResultsLogForm::ViewResultsTable);
    EXPECT_TRUE(again.Message.startsWith("The network was solved with 1 WARNINGS ***."));
    EXPECT_TRUE(again.Yes);
    EXPECT_EQ(again.Memo, "added later");
    EXPECT_EQ(form.MessageText().substr(0, 43), "The network was solved with 1 WARNINGS ***.");
}

}  // namespace
