#include "dialogs/VM4_FlowControlForm.h"

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

const char* const kEmptyFlow =
    "Flow Control value entered was empty. \r\rFlow Control value will be set to zero. \r\rPlease reset the Flow "
    "Control to a valid value.";
constexpr double kFirstPositionPercent = 70.0;

}  // namespace

TFlowControlForm::TFlowControlForm(IMessageBoxes& boxes, QWidget* parent) : QDialog(parent), boxes_(boxes) {
    setWindowTitle(QStringLiteral("Set Flow Control"));
    setFixedSize(340, 160);
    pipeLabel_ = Placed(new QLabel(this), "LabelPipe", 10, 8, 90, 24);
    pipeName_ = Placed(new QLabel(this), "LabelPipeName", 100, 8, 220, 24);
    Placed(new QLabel(QStringLiteral("Name"), this), "LabelName", 10, 40, 80, 24);
    name_ = Placed(new QLineEdit(this), "EditFlowControlName", 100, 40, 160, 24);
    name_->setMaxLength(20);
    Placed(new QLabel(QStringLiteral("Set Flow To"), this), "LabelSetFlow", 10, 72, 80, 24);
    flow_ = Placed(NewNumberBox(this, boxes_, {false, true, 6, 3}), "RightEditSetFlow", 100, 72, 100, 24);
    flowUnit_ = Placed(new QLabel(this), "LabelFlowUnit", 206, 72, 100, 24);
    ok_ = Placed(new QPushButton(QStringLiteral("OK"), this), "OK", 20, 118, 90, 24);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), this), "Cancel", 120, 118, 90, 24);
    delete_ = Placed(new QPushButton(QStringLiteral("Delete"), this), "Delete", 220, 118, 90, 24);
    connect(ok_, &QPushButton::clicked, this, [this] { closeWith(TOutcome::Accepted); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeWith(TOutcome::Cancelled); });
    connect(delete_, &QPushButton::clicked, this, [this] { closeWith(TOutcome::Deleted); });
}

void TFlowControlForm::closeWith(TOutcome outcome) {
    outcome_ = outcome;
    if (outcome == TOutcome::Accepted) accept(); else reject();
}

void TFlowControlForm::EditFlowControl(TNetwork& network, std::int32_t pipeId, bool resultsMode) {
    TPipe& pipe = network.GetPipe(pipeId);
    const int unit = network.Settings.FlowRateUnit;
    for (QWidget* w : {static_cast<QWidget*>(name_), static_cast<QWidget*>(flow_), static_cast<QWidget*>(ok_),
                       static_cast<QWidget*>(delete_)})
        w->setEnabled(!resultsMode);
    pipeLabel_->setText(qs("Pipe:" + std::to_string(pipeId)));
    pipeName_->setText(qs(pipe.Name));
    name_->setText(qs(pipe.HasFlowControl ? pipe.FlowControlName : std::string("Flow Control")));
    SetNumberBoxRules(flow_, UnitNumberBoxRules(unit, true));
    flowUnit_->setText(qs(unitName(unit)));
    flow_->setText(qs(convertUnitsToDisplayText(UNIT_M3_SEC, unit, pipe.FlowControlSetFlow_m3s)));
    outcome_ = TOutcome::Cancelled;
    exec();
    if (outcome_ == TOutcome::Deleted) {
        pipe.RemoveFlowControl();
        return;
    }
    if (outcome_ != TOutcome::Accepted) return;
    pipe.FlowControlName = name_->text().left(20).toStdString();
    // A lone "-" or an emptied box holds no flow: it becomes 0 with the same warning.
    const TParsedNumber<double> typed = ParseDecimalText(flow_->text().trimmed().toStdString(), true, true);
    if (!typed.Valid) {
        boxes_.ShowInformation(kEmptyFlow);
        flow_->setText(QStringLiteral("0"));
    }
    pipe.FlowControlSetFlow_m3s = typed.Valid ? convertUnits(unit, UNIT_M3_SEC, typed.Value) : 0.0;
    if (pipe.FlowControlPositionPercent == 0.0) pipe.FlowControlPositionPercent = kFirstPositionPercent;
    pipe.HasFlowControl = true;
}
