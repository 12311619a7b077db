#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedMessageBoxes.h"
#include "platform/VM4_QtUserMessages.h"

namespace {

// The engine's boxes reach the window's message boxes, so the answers a test
// scripts there are the ones the engine gets.
TEST(QtUserMessages, BoxesGoThroughTheWindowsMessageBoxes) {
    TScriptedMessageBoxes boxes;
    TQtUserMessages user(boxes);
    boxes.AnswerConfirm(true);
    boxes.AnswerConfirm(false);
    user.ShowInformation("told");
    EXPECT_TRUE(user.Confirm("first?"));
    EXPECT_FALSE(user.Confirm("second?"));
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[0].Kind, TScriptedMessageBoxes::TKind::Information);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"told", "first?", "second?"}));
}

TEST(QtUserMessages, StatusGoesWhereTheWindowShowsItAndNowhereWithoutIt) {
    TScriptedMessageBoxes boxes;
    TQtUserMessages user(boxes);
    user.ShowStatus("unseen");
    std::vector<std::string> shown;
    user.StatusShown = [&shown](const std::string& text) { shown.push_back(text); };
    user.ShowStatus("Solving");
    EXPECT_EQ(shown, std::vector<std::string>{"Solving"});
}

// Processing messages runs pending timers (the calculating panel's, Stop), and
// only then the window's own follow-up.
TEST(QtUserMessages, ProcessingMessagesRunsPendingEventsThenTheFollowUp) {
    TScriptedMessageBoxes boxes;
    TQtUserMessages user(boxes);
    std::vector<std::string> order;
    QTimer::singleShot(0, [&order] { order.push_back("timer"); });
    user.MessagesProcessed = [&order] { order.push_back("follow-up"); };
    user.ProcessMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"timer", "follow-up"}));
}

}  // namespace
