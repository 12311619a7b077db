#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"
#include "ScriptedMessageBoxes.h"
#include "common/NetworkBuilder.h"
#include "dialogs/VM4_DemandsForm.h"
#include "dialogs/VM4_FlowControlForm.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"

namespace {

class SmallItemDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        network_.SetMetricUnits();
        network_.Settings.FlowRateUnit = UNIT_L_SEC;
        TNetworkBuilder build(network_);
        nodeId_ = build.AddJoint(0, 0);
        pipeId_ = build.AddPipe(nodeId_, build.AddJoint(200, 0), "Branch", 50.0);
    }

    void FlowControl(const std::function<void()>& act, bool results = false) {
        WhileOpen(flowControl_, act, "Cancel", [&] { flowControl_.EditFlowControl(network_, pipeId_, results); });
    }
    void Demands(const std::function<void()>& act) {
        WhileOpen(demands_, act, "Cancel", [&] { demands_.EditNodeDemands(network_, nodeId_); });
    }

    TNetwork network_;
    std::int32_t nodeId_ = 0;
    std::int32_t pipeId_ = 0;
    TScriptedMessageBoxes boxes_;
    TFlowControlForm flowControl_{boxes_};
    TDemandsForm demands_{boxes_};
};

TEST_F(SmallItemDialogs, AFlowControlIsStoredInSIAndSitsAt70Percent) {
    FlowControl([&] {
        EXPECT_EQ(Child<QLineEdit>(flowControl_, "EditFlowControlName")->text(), QStringLiteral("Flow Control"));
        Type(flowControl_, "RightEditSetFlow", "2.5");
        Click(flowControl_, "OK");
    });
    const TPipe& pipe = network_.GetPipe(pipeId_);
    EXPECT_TRUE(pipe.HasFlowControl);
    EXPECT_NEAR(pipe.FlowControlSetFlow_m3s, 0.0025, 1e-15);
    EXPECT_DOUBLE_EQ(pipe.FlowControlPositionPercent, 70.0);
    EXPECT_EQ(pipe.FlowControlName, "Flow Control");
}

TEST_F(SmallItemDialogs, AnEmptyOrLoneSignFlowControlBecomesZeroWithItsMessage) {
    for (const char* typed : {"", "-"}) {
        boxes_.Forget();
        FlowControl([&] {
            Type(flowControl_, "RightEditSetFlow", typed);
            Click(flowControl_, "OK");
        });
        EXPECT_EQ(network_.GetPipe(pipeId_).FlowControlSetFlow_m3s, 0.0) << typed;
        EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Flow Control value entered was empty. \r\rFlow Control "
                                                           "value will be set to zero. \r\rPlease reset the Flow "
                                                           "Control to a valid value."});
    }
}

TEST_F(SmallItemDialogs, DeleteRemovesTheFlowControl) {
    TPipe& pipe = network_.GetPipe(pipeId_);
    pipe.HasFlowControl = true;
    pipe.FlowControlName = "FC";
    pipe.FlowControlPositionPercent = 30.0;
    FlowControl([&] { Click(flowControl_, "Delete"); });
    EXPECT_FALSE(pipe.HasFlowControl);
    EXPECT_EQ(pipe.FlowControlPositionPercent, 0.0);
}

TEST_F(SmallItemDialogs, DemandsAreStoredAndAnEmptiedBoxBecomesZeroWithItsMessage) {
    Demands([&] {
        Type(demands_, "RightEditOutFlow", "1.5");
        Type(demands_, "RightEditInFlow", "");
        Click(demands_, "OK");
    });
    const TNode& node = network_.GetNode(nodeId_);
    EXPECT_NEAR(node.JointDischarge_m3s, 0.0015, 1e-15);
    EXPECT_EQ(node.JointSupply_m3s, 0.0);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Joint In Flow value entered was not valid (may have been "
                                                       "empty). \r\rThe value will be set to zero. \r\rPlease reset "
                                                       "the In Flow to a valid value."});
}

TEST_F(SmallItemDialogs, LettersAndSignsCannotBeTypedIntoADemand) {
    std::string typed;
    Demands([&] {
        auto* box = Child<QLineEdit>(demands_, "RightEditInFlow");
        box->clear();
        for (char key : std::string("a-b1c")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(key)));
            QApplication::sendEvent(box, &press);
        }
        typed = box->text().toStdString();
    });
    EXPECT_EQ(typed, "1");
}

TEST_F(SmallItemDialogs, CancelLeavesTheNetworkAsItWas) {
    const std::string before = network_.SaveToBytes();
    FlowControl([&] { Type(flowControl_, "RightEditSetFlow", "9"); });
    Demands([&] {
        Type(demands_, "RightEditOutFlow", "3");
        Click(demands_, "Clear");
    });
    FlowControl([&] {}, true);
    EXPECT_EQ(network_.SaveToBytes(), before);
}

}  // namespace
