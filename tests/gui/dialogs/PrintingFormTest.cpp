#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>

#include "GuiEvents.h"
#include "ScriptedMessageBoxes.h"
#include "dialogs/VM4_PrintingForm.h"

// The print dialog: what it says, what it hands to printing, and the page counts
// it refuses before anything is printed.

namespace {

class PrintingForm : public ::testing::Test {
protected:
    template <typename T = QLineEdit>
    T* Widget(const char* name) {
        T* widget = form_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Type(const char* box, const QString& text) {
        QLineEdit* edit = Widget(box);
        edit->selectAll();
        PressKey(*edit, Qt::Key_Backspace);
        for (const QChar character : text) PressKey(*edit, 0, Qt::NoModifier, QString(character));
    }

    void PressPrint() { Widget<QPushButton>("ButtonPrint")->click(); }

    TScriptedMessageBoxes boxes_;
    int pageSetups_ = 0;
    TPrintingForm form_{boxes_, [this] { ++pageSetups_; }};
};

TEST_F(PrintingForm, StartsWithOnePageAndTellsWhatIsPrinted) {
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Print Drawing"));
    EXPECT_EQ(Widget("EditPagesWide")->text(), QStringLiteral("1"));
    EXPECT_EQ(Widget("EditPagesHigh")->text(), QStringLiteral("1"));
    EXPECT_EQ(Widget("EditPageTitle")->maxLength(), 100);
    const QString note = Widget<QPlainTextEdit>("MemoPrintInfo")->toPlainText();
    EXPECT_EQ(note.split(QLatin1Char('\n')).size(), 15);
    EXPECT_TRUE(note.contains(QStringLiteral("The visible part of image will be printed. ")));
}

TEST_F(PrintingForm, PrintHandsOverTitleAndPageCounts) {
    Type("EditPagesWide", QStringLiteral("3"));
    Type("EditPagesHigh", QStringLiteral("2"));
    Type("EditPageTitle", QStringLiteral("Cooling water loop"));
    PressPrint();
    ASSERT_TRUE(form_.Request().has_value());
    EXPECT_EQ(form_.Request()->Title, "Cooling water loop");
    EXPECT_EQ(form_.Request()->PagesWide, 3);
    EXPECT_EQ(form_.Request()->PagesHigh, 2);
    EXPECT_EQ(form_.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(PrintingForm, PageSetupButtonOpensThePrinterSetUp) {
    Widget<QPushButton>("ButtonPageSetup")->click();
    EXPECT_EQ(pageSetups_, 1);
    EXPECT_FALSE(form_.Request().has_value());
}

class PrintingFormPageCounts : public PrintingForm, public ::testing::WithParamInterface<const char*> {};

TEST_P(PrintingFormPageCounts, AreRefusedAndNothingIsPrinted) {
    Type("EditPagesHigh", QString::fromLatin1(GetParam()));
    PressPrint();
    EXPECT_FALSE(form_.Request().has_value());
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TPrintingForm::PageCountMessage});
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintingFormPageCounts, ::testing::Values("0", "", "-1", "1.5", "21", "x"));

}  // namespace
