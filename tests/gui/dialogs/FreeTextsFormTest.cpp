#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GuiEvents.h"
#include "WhenShown.h"
#include "dialogs/VM4_FreeTextsForm.h"
#include "model/VM4_Network_Class.h"

// The free-text dialog: what it shows of a label, what OK, Delete, Cancel and
// the close box do with it, and the values it will not store.

namespace {

constexpr std::int32_t kRed = 255;
constexpr std::int32_t kBlue = 16711680;

class FreeTextsForm : public ::testing::Test {
protected:
    void SetUp() override {
        index_ = network_.AddFreeText({"Pump house", "level 2"}, 400, 300, kBlue, 12, TFreeText::StyleBold);
        ASSERT_EQ(index_, 1);
        network_.GetFreeText(index_).Angle = 90;
    }

    template <typename T>
    T* Widget(const char* name) {
        T* widget = form_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Opens the dialog on the label and runs `act` while it is shown.
    bool Edit(const std::function<void()>& act) {
        const TWhenShown whenShown(form_, act);
        return form_.EditFreeText(network_, index_);
    }

    void Press(const char* button) { Widget<QPushButton>(button)->click(); }

    void TypeInto(QWidget& box, const QString& text) {
        for (const QChar character : text) PressKey(box, 0, Qt::NoModifier, QString(character));
    }

    void SetAngleText(const QString& text) {
        QLineEdit* angle = Widget<QLineEdit>("EditAngle");
        angle->clear();
        TypeInto(*angle, text);
    }

    TFreeText& Label() { return network_.GetFreeText(index_); }

    TNetwork network_;
    std::int32_t index_ = 0;
    TFreeTextsForm form_;
};

TEST_F(FreeTextsForm, ShowsTheLabelAndItsSampleStyle) {
    Edit([this] {
        EXPECT_EQ(form_.windowTitle(), QStringLiteral("Add Free Text Label"));
        EXPECT_EQ(Widget<QPlainTextEdit>("MemoFreeText")->toPlainText(), QStringLiteral("Pump house\nlevel 2"));
        EXPECT_EQ(Widget<QComboBox>("ComboBoxColour")->currentText(), QStringLiteral("Blue"));
        EXPECT_EQ(Widget<QComboBox>("ComboBoxSize")->currentText(), QStringLiteral("12"));
        EXPECT_EQ(Widget<QComboBox>("ComboBoxStyle")->currentText(), QStringLiteral("Bold"));
        EXPECT_EQ(Widget<QLineEdit>("EditAngle")->text(), QStringLiteral("90"));
        QLabel* sample = Widget<QLabel>("LabelSample");
        EXPECT_TRUE(sample->font().bold());
        EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        Widget<QComboBox>("ComboBoxStyle")->setCurrentIndex(1);  // "Italic"
        EXPECT_TRUE(sample->font().italic());
        EXPECT_FALSE(sample->font().bold());
        Press("ButtonCancel");
    });
}

TEST_F(FreeTextsForm, OkStoresTextColourSizeStyleAndAngle) {
    const bool changed = Edit([this] {
        QPlainTextEdit* memo = Widget<QPlainTextEdit>("MemoFreeText");
        memo->setPlainText(QStringLiteral("Cooling tower\nfeed"));
        Widget<QComboBox>("ComboBoxColour")->setCurrentText(QStringLiteral("Red"));
        Widget<QComboBox>("ComboBoxSize")->setCurrentText(QStringLiteral("14"));
        Widget<QComboBox>("ComboBoxStyle")->setCurrentText(QStringLiteral("Bold Italic"));
        SetAngleText(QStringLiteral("725"));
        Press("ButtonOK");
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(Label().Text, (std::vector<std::string>{"Cooling tower", "feed"}));
    EXPECT_EQ(Label().Colour, kRed);
    EXPECT_EQ(Label().FontSize, 14);
    EXPECT_EQ(Label().Style, TFreeText::StyleBold | TFreeText::StyleItalic);
    EXPECT_EQ(Label().Angle, 5);
}

struct TAngleCase {
    const char* Typed;
    const char* Shown;
    std::int32_t Stored;
};

class FreeTextAngles : public FreeTextsForm, public ::testing::WithParamInterface<TAngleCase> {};

TEST_P(FreeTextAngles, AreWholeDegreesBelowAFullTurn) {
    Edit([this] {
        SetAngleText(QString::fromLatin1(GetParam().Typed));
        EXPECT_EQ(Widget<QLineEdit>("EditAngle")->text(), QString::fromLatin1(GetParam().Shown));
        Press("ButtonOK");
    });
    EXPECT_EQ(Label().Angle, GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, FreeTextAngles,
                         ::testing::Values(TAngleCase{"", "", 0}, TAngleCase{"360", "360", 0},
                                           TAngleCase{"45", "45", 45}, TAngleCase{"-1", "1", 1},
                                           TAngleCase{"1234", "123", 123}, TAngleCase{"4x5", "45", 45}));

struct TClosingCase {
    const char* Name;
    const char* Button;  // nullptr: the close box
    const char* Text;    // typed over the label's text
    bool Kept;
    bool Changed;
};

class FreeTextClosing : public FreeTextsForm, public ::testing::WithParamInterface<TClosingCase> {};

TEST_P(FreeTextClosing, KeepsChangesOrRemovesTheLabel) {
    const TClosingCase& c = GetParam();
    const std::string before = network_.SaveToBytes();
    const bool changed = Edit([this, &c] {
        Widget<QPlainTextEdit>("MemoFreeText")->setPlainText(QString::fromLatin1(c.Text));
        if (c.Button != nullptr)
            Press(c.Button);
        else
            form_.close();
    });
    EXPECT_EQ(changed, c.Changed);
    EXPECT_EQ(network_.GetFreeTextCount(), c.Kept ? 1 : 0);
    if (!c.Changed) EXPECT_EQ(network_.SaveToBytes(), before);
    if (c.Kept && c.Changed) EXPECT_EQ(Label().Text, std::vector<std::string>{c.Text});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeTextClosing,
    ::testing::Values(TClosingCase{"OkKeeps", "ButtonOK", "Valve pit", true, true},
                      TClosingCase{"CloseBoxKeeps", nullptr, "Valve pit", true, true},
                      TClosingCase{"DeleteRemoves", "ButtonDelete", "Valve pit", false, true},
                      TClosingCase{"OkOnBlanksRemoves", "ButtonOK", "  \n ", false, true},
                      TClosingCase{"CancelLeavesAlone", "ButtonCancel", "Valve pit", true, false},
                      TClosingCase{"CancelOnBlanksLeavesAlone", "ButtonCancel", " ", true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FreeTextsForm, ClearEmptiesTheTextAndEscapeCancels) {
    const bool changed = Edit([this] {
        Press("ButtonClear");
        EXPECT_TRUE(Widget<QPlainTextEdit>("MemoFreeText")->toPlainText().isEmpty());
        PressKey(form_, Qt::Key_Escape);
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(Label().Text, (std::vector<std::string>{"Pump house", "level 2"}));
}

TEST_F(FreeTextsForm, TextStopsAtTwoHundredFiftyCharacters) {
    Edit([this] {
        QPlainTextEdit* memo = Widget<QPlainTextEdit>("MemoFreeText");
        memo->setPlainText(QString(260, QLatin1Char('x')));
        EXPECT_EQ(memo->toPlainText().size(), 250);
        Press("ButtonOK");
    });
    EXPECT_EQ(Label().Text, std::vector<std::string>{std::string(250, 'x')});
}

// A label made elsewhere may have a size, colour or style the lists do not
// offer; pressing OK must not change them.
TEST_F(FreeTextsForm, ValuesTheListsDoNotOfferAreKept) {
    Label().FontSize = 48;
    Label().Colour = 0x123456;
    Label().Style = 6;
    Edit([this] {
        EXPECT_EQ(Widget<QComboBox>("ComboBoxSize")->currentIndex(), -1);
        Press("ButtonOK");
    });
    EXPECT_EQ(Label().FontSize, 48);
    EXPECT_EQ(Label().Colour, 0x123456);
    EXPECT_EQ(Label().Style, 6);
}

}  // namespace
