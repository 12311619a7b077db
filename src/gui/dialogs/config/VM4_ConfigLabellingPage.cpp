#include "dialogs/config/VM4_ConfigLabellingPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/config/VM4_ConfigWorkingCopy.h"

namespace {

struct TFlagControl {
    const char* Caption;
    bool TNetworkSettings::*Flag;
};

struct TFlagGroup {
    const char* Caption;
    bool Radio;  // the group's buttons exclude each other
    std::vector<TFlagControl> Controls;
};

const std::vector<TFlagGroup>& FlagGroups() {
    using S = TNetworkSettings;
    static const std::vector<TFlagGroup> groups = {
        {" Pipes",
         false,
         {{"Show Pipe#", &S::ShowPipeId},
          {"Show Name", &S::ShowPipeName},
          {"Show Diameter", &S::ShowPipeDiam},
          {"Show Length", &S::ShowPipeLength},
          {"Component Name", &S::ShowComponentName},
          {"Flow Control Name", &S::ShowFlowControlName}}},
        {" Pipe Results ",
         true,
         {{"Show Flow Rate", &S::ShowFlowRate},
          {"Show Velocity", &S::ShowVelocity},
          {"Show Total Pressure Drop", &S::ShowPipePressureLoss}}},
        {" Nodes ",
         false,
         {{"Show Node#", &S::ShowNodeId},
          {"Show Name", &S::ShowNodeName},
          {"Show Elevation", &S::ShowNodeElevation},
          {"Show Tank Info", &S::ShowNodeTankInfo}}},
        {" Node Results ",
         true,
         {{"Show Pressure at Node", &S::ShowNodePressure}, {"Do Not Show on drawing", &S::ShowNodeNothing}}},
        {" Fittings ",
         false,
         {{"Show Valves", &S::ShowFittingsValves},
          {"Show Bends", &S::ShowFittingsBends},
          {"Show Total K Value", &S::ShowFittingsKValue}}},
        {" Pumps (when moving position on pipe)",
         false,
         {{"Show Distance on Pipe ", &S::ShowPumpDistance},
          {"Show Elevation", &S::ShowPumpElevation},
          {"Show Pump Name", &S::ShowPumpName}}},
        {" Fitting Results ",
         true,
         {{"Do Not Show on drawing", &S::ShowFittingsNothing},
          {"Show Pressure Loss through fittings ", &S::ShowFittingsPressureLoss}}},
        {" Pump Results ",
         true,
         {{"Show Pump Head", &S::ShowPumpHead},
          {"Show NPSH available", &S::ShowPumpNPSHa},
          {"Do Not Show on drawing", &S::ShowPumpNothing}}},
    };
    return groups;
}

constexpr int kGroupColumns = 2;

}  // namespace

TConfigLabellingPage::TConfigLabellingPage(TConfigWorkingCopy& working, QWidget* parent)
    : QWidget(parent), working_(working) {
    setObjectName(QStringLiteral("PanelLabelling"));
    auto* layout = new QGridLayout(this);
    int place = 0;
    for (const TFlagGroup& group : FlagGroups()) {
        auto* box = new QGroupBox(QString::fromLatin1(group.Caption), this);
        auto* column = new QVBoxLayout(box);
        QButtonGroup* exclusive = group.Radio ? new QButtonGroup(box) : nullptr;
        for (const TFlagControl& control : group.Controls) {
            QAbstractButton* button = group.Radio ? static_cast<QAbstractButton*>(new QRadioButton(box))
                                                  : static_cast<QAbstractButton*>(new QCheckBox(box));
            button->setText(QString::fromLatin1(control.Caption));
            if (exclusive != nullptr) exclusive->addButton(button);
            column->addWidget(button);
            controls_.push_back(button);
        }
        layout->addWidget(box, place / kGroupColumns, place % kGroupColumns);
        ++place;
    }
}

// Radio groups are cleared whole first, so that a group with no flag set
// shows no button marked.
void TConfigLabellingPage::Load() {
    std::size_t k = 0;
    for (const TFlagGroup& group : FlagGroups()) {
        QButtonGroup* exclusive = controls_[k]->group();
        if (exclusive != nullptr) exclusive->setExclusive(false);
        for (const TFlagControl& control : group.Controls) controls_[k++]->setChecked(working_.Settings.*control.Flag);
        if (exclusive != nullptr) exclusive->setExclusive(true);
    }
}

void TConfigLabellingPage::Store() {
    std::size_t k = 0;
    for (const TFlagGroup& group : FlagGroups())
        for (const TFlagControl& control : group.Controls) working_.Settings.*control.Flag = controls_[k++]->isChecked();
}
