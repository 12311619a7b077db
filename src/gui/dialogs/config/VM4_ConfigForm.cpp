#include "dialogs/config/VM4_ConfigForm.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/config/VM4_ConfigCalculationsPage.h"
#include "dialogs/config/VM4_ConfigLabellingPage.h"
#include "dialogs/config/VM4_ConfigPipeDefaultsPage.h"
#include "dialogs/config/VM4_ConfigUnitsPage.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

const char* const TConfigForm::DefaultsInResultsModeMessage =
    "The Default Pipe values cannot be amended in Results mode.\r\rSwitch back to Design mode to adjust and reset "
    "default pipe values.";
const char* const TConfigForm::InvalidCalculationValuesMessage =
    "These calculation values are not valid numbers for the solver and were not changed:\r\r";

TConfigForm::TConfigForm(IMessageBoxes& boxes, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      tabs_(new QTabWidget(this)),
      labelling_(new TConfigLabellingPage(working_, this)),
      units_(new TConfigUnitsPage(working_, boxes, this)),
      pipeDefaults_(new TConfigPipeDefaultsPage(working_, boxes, this)),
      calculations_(new TConfigCalculationsPage(working_, boxes, this)) {
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(QStringLiteral("Configuration Options"));
    tabs_->setObjectName(QStringLiteral("PageControlConfig"));
    tabs_->addTab(labelling_, QStringLiteral("Labelling"));
    tabs_->addTab(units_, QStringLiteral("Units"));
    tabs_->addTab(pipeDefaults_, QStringLiteral("Pipe Defaults"));
    tabs_->addTab(calculations_, QStringLiteral("Calculations"));
    connect(tabs_, &QTabWidget::currentChanged, this, &TConfigForm::tabChange);
    units_->PresetApplied = [this] { loadAll(); };

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TConfigForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

bool TConfigForm::EditNetworkSettings(int startTab, TNetwork& network, bool resultsMode) {
    Open(startTab, network, resultsMode);
    exec();
    return accepted_;
}

void TConfigForm::Open(int startTab, TNetwork& network, bool resultsMode) {
    network_ = &network;
    resultsMode_ = resultsMode;
    working_.Settings = network.Settings;
    working_.DefaultPipe.Copy(network.DefaultPipe);
    working_.Fluid = network.Fluid;
    accepted_ = false;
    SelectTab(startTab);
    loadAll();
}

int TConfigForm::CurrentTab() const { return tabs_->currentIndex(); }

void TConfigForm::SelectTab(int tab) {
    if (resultsMode_ && tab == PipeDefaultsTab) tab = UnitsTab;
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(tab);
}

void TConfigForm::loadAll() {
    if (network_ == nullptr) return;
    labelling_->Load();
    units_->Load();
    pipeDefaults_->Load(*network_);
    calculations_->Load();
}

// The labelling marks are kept in the working copy before the pages are filled
// again, so that moving between tabs loses none of them.
void TConfigForm::tabChange(int tab) {
    if (resultsMode_ && tab == PipeDefaultsTab) {
        boxes_.ShowInformation(DefaultsInResultsModeMessage);
        SelectTab(UnitsTab);
    }
    labelling_->Store();
    loadAll();
}

// An invalid atmosphere or calculation value is reported and the previous value
// kept; everything else is still written back.
void TConfigForm::accept() {
    labelling_->Store();
    if (!units_->StoreAtmosphere()) boxes_.ShowInformation(TConfigUnitsPage::InvalidAtmosphereMessage);
    const std::vector<std::string> invalid = calculations_->InvalidEntries();
    if (!invalid.empty()) {
        std::string names;
        for (const std::string& name : invalid) names += name + "\r";
        boxes_.ShowInformation(InvalidCalculationValuesMessage + names);
    }
    network_->Settings = working_.Settings;
    network_->DefaultPipe.Copy(working_.DefaultPipe);
    accepted_ = true;
    QDialog::accept();
}
