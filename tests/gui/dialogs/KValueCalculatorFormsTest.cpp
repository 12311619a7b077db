#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "ScriptedMessageBoxes.h"
#include "dialogs/fittings/VM4_GradualContractionCalculationForm.h"
#include "dialogs/fittings/VM4_GradualEnlargementCalculationForm.h"
#include "dialogs/fittings/VM4_LongPipeBendCalculationForm.h"
#include "dialogs/fittings/VM4_PipeEntranceCalculationForm.h"
#include "dialogs/fittings/VM4_SuddenContractionCalculationForm.h"
#include "dialogs/fittings/VM4_SuddenEnlargementCalculationForm.h"
#include "foundations/VM4_DecimalMark.h"
#include "widgets/VM4_RightEdit.h"

// The six K-value calculators through their boxes and buttons. The numbers
// themselves are checked against handbook values in the core's tests; here the
// forms must read their inputs, show what the calculation gives and refuse what
// it refuses.

namespace {

std::string label(QWidget& form, const char* name) { return Child<QLabel>(form, name)->text().toStdString(); }

TEST(KValueCalculatorForms, TheDefaultInputsGiveTheirResults) {
    TScriptedMessageBoxes boxes;
    struct TCase {
        std::unique_ptr<TKValueCalculatorForm> Form;
        const char* K;
    };
    TCase cases[] = {
        {std::make_unique<TLongPipeBendCalculationForm>(boxes), "0.27"},
        // 0.5 (1 - 1/16) on the small pipe, times (D/d)^4 = 256 on the large one.
        {std::make_unique<TSuddenContractionCalculationForm>(boxes), "120.00"},
        {std::make_unique<TSuddenEnlargementCalculationForm>(boxes), "0.88"},
        // 0.8 sin 15 deg x 0.75 = 0.155 on the small pipe, x 16 on the large one.
        {std::make_unique<TGradualContractionCalculationForm>(boxes), "2.48"},
        {std::make_unique<TGradualEnlargementCalculationForm>(boxes), "0.38"},
        {std::make_unique<TPipeEntranceCalculationForm>(boxes), "0.15"},
    };
    for (TCase& c : cases) {
        EXPECT_EQ(label(*c.Form, "LabelK"), "xxxx");
        c.Form->Calculate();
        EXPECT_EQ(label(*c.Form, "LabelK"), c.K) << c.Form->windowTitle().toStdString();
        EXPECT_TRUE(c.Form->HasResult());
    }
    EXPECT_EQ(label(*cases[0].Form, "LabelRatio"), "3.33");
    EXPECT_EQ(label(*cases[3].Form, "LabelAngle"), "30.0°");
    EXPECT_EQ(label(*cases[5].Form, "LabelRatio"), "0.06");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST(KValueCalculatorForms, ImpossibleInputsAreRefusedWithTheirMessages) {
    TScriptedMessageBoxes boxes;
    TSuddenContractionCalculationForm contraction(boxes);
    Type(contraction, "EditSmallDiameter", "5");
    contraction.Calculate();
    TSuddenEnlargementCalculationForm enlargement(boxes);
    Type(enlargement, "EditSmallDiameter", "5");
    enlargement.Calculate();
    TLongPipeBendCalculationForm bend(boxes);
    Type(bend, "EditBendRadius", "20");
    bend.Calculate();
    Type(bend, "EditBendRadius", "0");
    bend.Calculate();
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                                 "The large diameter value cannot\rbe less than the small diameter",
                                 "The small diameter value cannot\rbe greater than the large diameter",
                                 "The radius is too small to be classed as a long bend\rConsider use of a Standard Bend.",
                                 "Numeric entry is not valid",
                                 "The radius is too small to be classed as a long bend\rConsider use of a Standard Bend."}));
    for (TKValueCalculatorForm* form : std::initializer_list<TKValueCalculatorForm*>{&contraction, &enlargement, &bend}) {
        EXPECT_FALSE(form->HasResult());
        EXPECT_EQ(form->KLabel().text(), QString());
    }
}

TEST(KValueCalculatorForms, AnInputChangeEmptiesTheResults) {
    TScriptedMessageBoxes boxes;
    TPipeEntranceCalculationForm entrance(boxes);
    entrance.Calculate();
    Type(entrance, "EditEntranceRadius", "0,8");
    EXPECT_EQ(label(entrance, "LabelK"), "");
    EXPECT_EQ(label(entrance, "LabelRatio"), "");
    entrance.Calculate();
    // Either decimal mark is read: r/d 0.2 is a well rounded entrance.
    EXPECT_EQ(label(entrance, "LabelK"), "0.04");
}

TEST(KValueCalculatorForms, InchesChooseTheTableRowOfTheBend) {
    TScriptedMessageBoxes boxes;
    TLongPipeBendCalculationForm bend(boxes);
    Type(bend, "EditBendRadius", "12");
    Type(bend, "EditPipeDiameter", "4");
    bend.InchButton().click();
    // r/d 3 on the 100 mm row.
    EXPECT_EQ(label(bend, "LabelK"), "0.20");
}

TEST(KValueCalculatorForms, TheAngleSpinnerSetsTheLengthForWholeDegrees) {
    TScriptedMessageBoxes boxes;
    TGradualEnlargementCalculationForm cone(boxes);
    cone.StepAngle(true);
    EXPECT_EQ(label(cone, "LabelAngle"), "31.0°");
    EXPECT_EQ(cone.Input(1).Text(), "1.803");
    cone.StepAngle(false);
    cone.StepAngle(false);
    EXPECT_EQ(label(cone, "LabelAngle"), "29.0°");
}

TEST(KValueCalculatorForms, ALargeContractionIsUsedOnlyWhenConfirmed) {
    TScriptedMessageBoxes boxes;
    TSuddenContractionCalculationForm contraction(boxes);
    const std::string question =
        "The sudden contraction ratio is greater than normally experienced, \rthis may produce a large head "
        "loss.\r\rDo you wish to continue?";
    bool stayedOpen = false;
    boxes.AnswerConfirm(false);
    boxes.AnswerConfirm(true);
    TWhenShown act(contraction, [&] {
        Click(contraction, "ButtonCreateNewFitting");
        stayedOpen = contraction.isVisible();
        Click(contraction, "ButtonCreateNewFitting");
    });
    EXPECT_TRUE(contraction.Execute());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{question, question}));
    EXPECT_NEAR(contraction.ResultK(), 120.0, 1e-9);
}

TEST(KValueCalculatorForms, LeavingABoxWithoutAPositiveNumberPutsZeroInIt) {
    TScopedDecimalMark point('.');
    TScriptedMessageBoxes boxes;
    TPipeEntranceCalculationForm entrance(boxes);
    entrance.show();
    entrance.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(entrance.Input(0).hasFocus());
    Type(entrance, "EditEntranceRadius", "");
    entrance.Input(1).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(entrance.Input(0).Text(), "0.00");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Numeric entry is not valid"});
    // On the way to "Cancel" nothing is said.
    boxes.Forget();
    Type(entrance, "EditPipeDiameter", "");
    entrance.Input(1).setFocus(Qt::OtherFocusReason);
    Child<QPushButton>(entrance, "ButtonCancel")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(entrance.Input(1).Text(), "");
    EXPECT_TRUE(boxes.Texts().empty());
    entrance.close();
}

}  // namespace
