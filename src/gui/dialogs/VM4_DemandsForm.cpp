#include "dialogs/VM4_DemandsForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/VM4_NumberBoxFactory.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

const char* const kBadOutFlow =
    "Joint Out Flow value entered was not valid (may have been empty). \r\rThe value will be set to zero. \r\rPlease "
    "reset the Out Flow to a valid value.";
const char* const kBadInFlow =
    "Joint In Flow value entered was not valid (may have been empty). \r\rThe value will be set to zero. \r\rPlease "
    "reset the In Flow to a valid value.";

}  // namespace

TDemandsForm::TDemandsForm(IMessageBoxes& boxes, QWidget* parent) : QDialog(parent), boxes_(boxes) {
    setWindowTitle(QStringLiteral("Set Flow Demands"));
    setFixedSize(340, 170);
    nodeLabel_ = Placed(new QLabel(this), "LabelNode", 10, 8, 90, 24);
    nodeName_ = Placed(new QLabel(this), "LabelNodeName", 100, 8, 220, 24);
    Placed(new QLabel(QStringLiteral("In Flow"), this), "LabelInFlow", 10, 40, 80, 24);
    inFlow_ = Placed(NewNumberBox(this, boxes_, {}), "RightEditInFlow", 100, 40, 100, 24);
    inUnit_ = Placed(new QLabel(this), "LabelInFlowUnit", 206, 40, 100, 24);
    Placed(new QLabel(QStringLiteral("Out Flow"), this), "LabelOutFlow", 10, 72, 80, 24);
    outFlow_ = Placed(NewNumberBox(this, boxes_, {}), "RightEditOutFlow", 100, 72, 100, 24);
    outUnit_ = Placed(new QLabel(this), "LabelOutFlowUnit", 206, 72, 100, 24);
    auto* ok = Placed(new QPushButton(QStringLiteral("OK"), this), "OK", 20, 126, 90, 24);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), this), "Cancel", 120, 126, 90, 24);
    auto* clear = Placed(new QPushButton(QStringLiteral("Clear"), this), "Clear", 220, 126, 90, 24);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, [this] {
        inFlow_->setText(QStringLiteral("0.0"));
        outFlow_->setText(QStringLiteral("0.0"));
    });
}

void TDemandsForm::EditNodeDemands(TNetwork& network, std::int32_t nodeId) {
    TNode& node = network.GetNode(nodeId);
    const int unit = network.Settings.FlowRateUnit;
    nodeLabel_->setText(qs("Node:" + std::to_string(nodeId)));
    nodeName_->setText(qs(node.Name));
    for (QLineEdit* box : {inFlow_, outFlow_}) SetNumberBoxRules(box, UnitNumberBoxRules(unit, false));
    inFlow_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, unit, node.JointSupply_m3s)));
    outFlow_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, unit, node.JointDischarge_m3s)));
    inUnit_->setText(qs(unitName(unit)));
    outUnit_->setText(qs(unitName(unit)));
    if (exec() != QDialog::Accepted) return;
    node.JointDischarge_m3s = readFlow(outFlow_, unit, kBadOutFlow);
    node.JointSupply_m3s = readFlow(inFlow_, unit, kBadInFlow);
}

double TDemandsForm::readFlow(QLineEdit* box, int unit, const char* message) {
    const TParsedNumber<double> typed = ParseDecimalText(box->text().trimmed().toStdString(), true, false);
    if (typed.Valid) return convertUnits(unit, UNIT_M3_SEC, typed.Value);
    boxes_.ShowInformation(message);
    return 0.0;
}
