#include "editor/panel/VM4_PipePanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <initializer_list>

#include "editing/VM4_Action_Log_Class.h"
#include "editor/VM4_DrawingState.h"
#include "editor/panel/VM4_PanelHost.h"
#include "editor/panel/VM4_PanelNotes.h"
#include "editor/tools/VM4_ItemDialogs.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"

namespace {

constexpr int RoughnessDecimals = 6;

// The Include column comes and goes with the pipe's items; its row and column
// keep their place, so that the count buttons never move under the pointer.
void keepPlaceWhenHidden(QWidget& widget) {
    QSizePolicy policy = widget.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget.setSizePolicy(policy);
}

QPushButton* PanelButton(const QString& text, const QString& name, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    // The panel is narrow: buttons give up their text's width before the panel grows.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return button;
}

QLabel* GreyLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: grey; font-size: 7pt;"));
    return label;
}

}  // namespace

TPipePanel::TPipePanel(IPanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    setObjectName(QStringLiteral("PanelPipe"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    createHeader(*grid);
    createItems(*grid);
    createValues(*grid);
    createFooter(*grid);
    connectEdits();
    showNone();
}

void TPipePanel::createHeader(QGridLayout& grid) {
    idLabel_ = new QLabel(this);
    idLabel_->setObjectName(QStringLiteral("LabelPipeId"));
    idLabel_->setMinimumWidth(64);
    browseUp_ = PanelArrowButton(Qt::UpArrow, QStringLiteral("PipeBrowseUp"), this);
    browseDown_ = PanelArrowButton(Qt::DownArrow, QStringLiteral("PipeBrowseDown"), this);
    close_ = PanelButton(QStringLiteral("Close"), QStringLiteral("ButtonClosePipe"), QStringLiteral("Close Pipe"), this);
    reopen_ =
        PanelButton(QStringLiteral("Open"), QStringLiteral("ButtonReopenPipe"), QStringLiteral("Reopen Pipe"), this);
    reverse_ = PanelButton(QStringLiteral("\u21C4"), QStringLiteral("ButtonReversePipe"),
                           QStringLiteral("Reverse Direction of Pipe"), this);
    for (QPushButton* button : {close_, reopen_}) button->setFixedWidth(44);
    reverse_->setFixedWidth(28);
    auto* browse = new QVBoxLayout;
    browse->addWidget(browseUp_);
    browse->addWidget(browseDown_);
    auto* row = new QHBoxLayout;
    row->addWidget(idLabel_);
    row->addLayout(browse);
    row->addWidget(close_);
    row->addWidget(reopen_);
    row->addWidget(reverse_);
    grid.addLayout(row, 0, 0, 1, 3);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EditPipeName"));
    name_->setMaxLength(static_cast<int>(TPipe::kNameCapacity));
    name_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    grid.addWidget(new QLabel(QStringLiteral("Name"), this), 1, 0);
    grid.addWidget(name_, 1, 1, 1, 2);
}

void TPipePanel::createItems(QGridLayout& grid) {
    static const char* const hints[ItemCount] = {"Add/Change Fittings", "Add/Change Fixed Pressure Loss",
                                                 "Add/Change Flow Control", "Add/Change Pump "};
    static const char* const captions[ItemCount] = {"Fittings", "Fixed Loss", "Flow Control", "Pump"};
    static const char* const names[ItemCount] = {"Fittings", "FixedPressureLoss", "FlowControl", "Pump"};
    includeLabel_ = new QLabel(QStringLiteral("Include"), this);
    includeLabel_->setObjectName(QStringLiteral("LabelInclude"));
    keepPlaceWhenHidden(*includeLabel_);
    grid.addWidget(includeLabel_, 2, 2);
    for (int item = 0; item < ItemCount; ++item) {
        const QString name = QString::fromLatin1(names[item]);
        itemButtons_[item] =
            PanelButton(QStringLiteral("0"), QStringLiteral("ButtonCount") + name, QString::fromLatin1(hints[item]), this);
        itemButtons_[item]->setFixedWidth(48);
        include_[item] = new QCheckBox(this);
        include_[item]->setObjectName(QStringLiteral("Include") + name);
        keepPlaceWhenHidden(*include_[item]);
        grid.addWidget(new QLabel(QString::fromLatin1(captions[item]), this), 3 + item, 0);
        grid.addWidget(itemButtons_[item], 3 + item, 1);
        grid.addWidget(include_[item], 3 + item, 2, Qt::AlignCenter);
    }
}

void TPipePanel::createValues(QGridLayout& grid) {
    auto* values = new QGridLayout;
    IMessageBoxes& boxes = host_.Boxes();
    length_ = AddPanelValueRow(*values, 0, QStringLiteral("Length"), QStringLiteral("EditLength"), boxes, this);
    diameter_ = AddPanelValueRow(*values, 1, QStringLiteral("Internal Diameter"), QStringLiteral("EditDiameter"),
                                 boxes, this);
    roughness_ =
        AddPanelValueRow(*values, 2, QStringLiteral("Roughness"), QStringLiteral("EditRoughness"), boxes, this);
    diameterButton_ =
        PanelButton(QStringLiteral("Diam?"), QStringLiteral("ButtonDiameter"), QStringLiteral("Change Diameter"), this);
    materialButton_ = PanelButton(QStringLiteral("Material"), QStringLiteral("ButtonMaterial"),
                                  QStringLiteral("Change Material"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(diameterButton_);
    buttons->addWidget(materialButton_);
    values->addLayout(buttons, 3, 0, 1, 3);
    grid.addLayout(values, 7, 0, 1, 3);
    nominal_ = GreyLabel(QStringLiteral("LabelNominalSize"), this);
    material_ = GreyLabel(QStringLiteral("LabelMaterial"), this);
    schedule_ = GreyLabel(QStringLiteral("LabelSchedule"), this);
    auto* labels = new QHBoxLayout;
    labels->addWidget(nominal_);
    labels->addWidget(schedule_);
    grid.addLayout(labels, 8, 0, 1, 3);
    grid.addWidget(material_, 9, 0, 1, 3);
}

void TPipePanel::createFooter(QGridLayout& grid) {
    useAsDefault_ = PanelButton(QStringLiteral("Use as Default"), QStringLiteral("ButtonUseAsDefault"),
                                QStringLiteral("Default to these values when adding pipes"), this);
    alterDefaults_ = PanelButton(QStringLiteral("Alter..."), QStringLiteral("ButtonAlterDefaults"),
                                 QStringLiteral("Alter Default Pipe Values"), this);
    grid.addWidget(useAsDefault_, 10, 0, 1, 2);
    grid.addWidget(alterDefaults_, 10, 2);
    grid.addWidget(new QLabel(QStringLiteral("Notes"), this), 11, 0);
    notesEdit_ = new QPlainTextEdit(this);
    notesEdit_->setObjectName(QStringLiteral("MemoPipeNotes"));
    notesEdit_->setFixedHeight(48);
    grid.addWidget(notesEdit_, 12, 0, 1, 3);
}

void TPipePanel::connectEdits() {
    connect(name_, &QLineEdit::textEdited, this, &TPipePanel::NameEdited);
    connect(notesEdit_, &QPlainTextEdit::textChanged, this, &TPipePanel::NotesEdited);
    connectValue(length_, &TPipePanel::StoreLength);
    connectValue(diameter_, &TPipePanel::StoreDiameter);
    connectValue(roughness_, &TPipePanel::StoreRoughness);
    connect(roughness_.Box, &QLineEdit::editingFinished, this, [this] { host_.Regenerate(); });
    for (int item = 0; item < ItemCount; ++item) {
        const auto which = static_cast<TItem>(item);
        connect(itemButtons_[item], &QPushButton::clicked, this, [this, which] { OpenItem(which); });
        connect(include_[item], &QCheckBox::clicked, this, [this, which](bool on) { IncludeClicked(which, on); });
    }
    connect(browseUp_, &QToolButton::clicked, this, [this] { Browse(true); });
    connect(browseDown_, &QToolButton::clicked, this, [this] { Browse(false); });
    connect(reverse_, &QPushButton::clicked, this, &TPipePanel::Reverse);
    connect(close_, &QPushButton::clicked, this, &TPipePanel::Close);
    connect(reopen_, &QPushButton::clicked, this, &TPipePanel::Reopen);
    connect(diameterButton_, &QPushButton::clicked, this, [this] { ChangeDiameter(0); });
    connect(materialButton_, &QPushButton::clicked, this, [this] { ChangeDiameter(1); });
    connect(useAsDefault_, &QPushButton::clicked, this, &TPipePanel::UseAsDefault);
    connect(alterDefaults_, &QPushButton::clicked, this, &TPipePanel::AlterDefaults);
}

void TPipePanel::connectValue(const TPanelValueRow& row, void (TPipePanel::*store)(double)) {
    ConnectPanelValue(*this, host_, row, [this] { return !filling_ && selectedPipe() != nullptr; },
                      [this, store](double value) { (this->*store)(value); });
}

TPipe* TPipePanel::selectedPipe() {
    const std::int32_t id = host_.State().SelectedPipeId;
    return id > 0 ? &host_.Network().GetPipe(id) : nullptr;
}

void TPipePanel::setUnitLabels() {
    const TNetworkSettings& settings = host_.Network().Settings;
    length_.SetUnit(settings.LengthUnit, DecimalRulesForUnit(settings.LengthUnit, true, false));
    diameter_.SetUnit(settings.DiameterUnit, DecimalRulesForUnit(settings.DiameterUnit, false, false));
    roughness_.SetUnit(settings.RoughnessUnit, DecimalRules(RoughnessDecimals,
                                                            unitMaxIntegerDigits(settings.RoughnessUnit), false, false));
    for (QLabel* label : {nominal_, material_, schedule_}) label->clear();
}

void TPipePanel::setEditable(bool editable) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{name_, length_.Box, diameter_.Box, roughness_.Box, notesEdit_, reverse_,
                                         close_, reopen_, diameterButton_, materialButton_, useAsDefault_,
                                         alterDefaults_})
        control->setEnabled(editable);
    for (int item = 0; item < ItemCount; ++item) {
        itemButtons_[item]->setEnabled(editable);
        include_[item]->setEnabled(editable);
    }
}

void TPipePanel::showNone() {
    idLabel_->setText(QStringLiteral("Pipe: None  "));
    idLabel_->setStyleSheet(QString());
    name_->clear();
    for (const TPanelValueRow* row : {&length_, &diameter_, &roughness_}) row->Box->SetValueText("0");
    notesEdit_->clear();
    reopen_->setVisible(false);
    showItemCounts({}, {});
    setEditable(false);
    update();
}

void TPipePanel::UpdatePanelsPipe(std::int32_t pipeId) {
    filling_ = true;
    setUnitLabels();
    if (pipeId <= 0) {
        showNone();
    } else {
        setEditable(!host_.ResultsMode());
        const TPipe& pipe = host_.Network().GetPipe(pipeId);
        const bool closed = host_.Network().IsPipeClosed(pipeId);
        close_->setVisible(!closed);
        reopen_->setVisible(closed);
        idLabel_->setText(QStringLiteral("Pipe: %1").arg(pipeId));
        idLabel_->setStyleSheet(QStringLiteral("background-color: yellow;"));
        if (!name_->hasFocus()) name_->setText(QString::fromStdString(pipe.Name));
        if (!notesEdit_->hasFocus()) notesEdit_->setPlainText(NotesText(pipe.Notes));
        showValues(pipe);
        showItems(pipe);
    }
    filling_ = false;
}

void TPipePanel::showValues(const TPipe& pipe) {
    const TNetworkSettings& settings = host_.Network().Settings;
    ShowPanelValue(length_, convertUnitsToDisplayText(UNIT_M, settings.LengthUnit, pipe.Length_m));
    ShowPanelValue(diameter_, convertUnitsToDisplayText(UNIT_M, settings.DiameterUnit, pipe.InnerDiameter_m));
    ShowPanelValue(roughness_, formatFixed(RoughnessDecimals,
                                           convertUnits(UNIT_M, settings.RoughnessUnit, pipe.InnerRoughness_m)));
    if (!pipe.NominalSize.empty()) nominal_->setText(QString::fromStdString("Nom: " + pipe.NominalSize));
    material_->setText(QString::fromStdString(pipe.Material));
    schedule_->setText(QString::fromStdString(pipe.Schedule));
}

// A count button shows how many of its item the calculation takes: an item
// left out shows 0 although it stays on the pipe.
void TPipePanel::showItems(const TPipe& pipe) {
    const std::array<int, ItemCount> counts = {pipe.GetFittingCountIncludingQuantities(),
                                               pipe.HasComponentPressure ? 1 : 0, pipe.HasFlowControl ? 1 : 0,
                                               pipe.HasPump ? 1 : 0};
    const std::array<bool, ItemCount> included = {pipe.CalcFittings, pipe.CalcComponentPressure, pipe.CalcFlowControl,
                                                  pipe.CalcPump};
    showItemCounts(counts, included);
}

void TPipePanel::showItemCounts(const std::array<int, ItemCount>& counts, const std::array<bool, ItemCount>& included) {
    int total = 0;
    for (int item = 0; item < ItemCount; ++item) {
        total += counts[item];
        include_[item]->setVisible(counts[item] > 0);
        include_[item]->setChecked(included[item]);
        itemButtons_[item]->setText(QString::number(included[item] ? counts[item] : 0));
    }
    includeLabel_->setVisible(total > 0);
}

void TPipePanel::SetColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

// ---- Edits -----------------------------------------------------------------------------------------

void TPipePanel::NameEdited() {
    TPipe* pipe = selectedPipe();
    if (pipe == nullptr || host_.ResultsMode()) return;
    pipe->Name = name_->text().toStdString().substr(0, TPipe::kNameCapacity);
    host_.MarkModified();
}

void TPipePanel::NotesEdited() {
    TPipe* pipe = selectedPipe();
    if (filling_ || pipe == nullptr || host_.ResultsMode()) return;
    pipe->Notes = TakeNotes(*notesEdit_);
    host_.MarkModified();
}

void TPipePanel::StoreLength(double value) {
    selectedPipe()->Length_m = convertUnits(host_.Network().Settings.LengthUnit, UNIT_M, value);
}

void TPipePanel::StoreDiameter(double value) {
    selectedPipe()->InnerDiameter_m = convertUnits(host_.Network().Settings.DiameterUnit, UNIT_M, value);
}

void TPipePanel::StoreRoughness(double value) {
    selectedPipe()->InnerRoughness_m = convertUnits(host_.Network().Settings.RoughnessUnit, UNIT_M, value);
}

// The dialogs write into the document only when the user accepts them, so a
// pipe gets a pump only through the pump dialog's own accepting button.
void TPipePanel::OpenItem(TItem item) {
    const std::int32_t id = host_.State().SelectedPipeId;
    if (id <= 0 || host_.ResultsMode()) return;
    TNetwork& network = host_.Network();
    IItemDialogs& dialogs = host_.Dialogs();
    switch (item) {
        case Fittings: dialogs.EditPipeFittings(network, id, false); break;
        case FixedPressureLoss: dialogs.EditComponentPressure(network, id, false); break;
        case FlowControl: dialogs.EditFlowControl(network, id, false); break;
        case Pump:
            if (dialogs.EditPumpData(network, id, false)) {
                // The undo steps may refer to the pump that goes.
                host_.ActionLog().Clear();
                network.GetPipe(id).RemovePump();
                host_.MarkModified();
            }
            break;
        case ItemCount: break;
    }
    afterPipeCommand();
}

void TPipePanel::IncludeClicked(TItem item, bool checked) {
    TPipe* pipe = selectedPipe();
    if (pipe == nullptr || host_.ResultsMode()) return;
    bool* include[ItemCount] = {&pipe->CalcFittings, &pipe->CalcComponentPressure, &pipe->CalcFlowControl,
                                &pipe->CalcPump};
    *include[item] = checked;
    host_.MarkModified();
    afterPipeCommand();
}

void TPipePanel::Browse(bool up) {
    const TNetwork& network = host_.Network();
    const std::int32_t current = host_.State().SelectedPipeId;
    const std::int32_t id = up ? BrowsedId(network.GetNextPipeId(current), network.GetNextPipeId(0))
                               : BrowsedId(network.GetPreviousPipeId(current), network.GetHighestPipeId());
    if (id <= 0) return;
    host_.State().SelectedPipeId = id;
    host_.RefreshScreen();
}

void TPipePanel::Reverse() {
    const std::int32_t id = host_.State().SelectedPipeId;
    if (id <= 0 || host_.ResultsMode()) return;
    host_.Network().ReversePipeLink(id);
    host_.MarkModified();
    afterPipeCommand();
}

void TPipePanel::Close() {
    const std::int32_t id = host_.State().SelectedPipeId;
    if (id <= 0 || host_.ResultsMode() || host_.Network().IsPipeClosed(id)) return;
    host_.Network().RemoveNodeLinkAddClosedPipeLink(id);
    host_.MarkModified();
    afterPipeCommand();
}

void TPipePanel::Reopen() {
    const std::int32_t id = host_.State().SelectedPipeId;
    if (id <= 0 || host_.ResultsMode() || !host_.Network().IsPipeClosed(id)) return;
    host_.Network().RestoreNodeLinkForClosedPipe(id);
    host_.MarkModified();
    afterPipeCommand();
}

void TPipePanel::ChangeDiameter(int startMode) {
    const std::int32_t id = host_.State().SelectedPipeId;
    if (id <= 0 || host_.ResultsMode()) return;
    const int unit = host_.Network().Settings.DiameterUnit;
    host_.Dialogs().EditPipeDiameter(host_.Network(), id, startMode, unit == UNIT_M || unit == UNIT_MM);
    afterPipeCommand();
}

void TPipePanel::UseAsDefault() {
    TPipe* pipe = selectedPipe();
    if (pipe == nullptr || host_.ResultsMode()) return;
    if (!host_.Boxes().Confirm(UseAsDefaultQuestion)) return;
    host_.Network().DefaultPipe.Copy(*pipe);
    host_.MarkModified();
}

void TPipePanel::AlterDefaults() {
    if (host_.ResultsMode()) return;
    host_.Dialogs().EditDefaultPipe(host_.Network());
}

void TPipePanel::afterPipeCommand() {
    UpdatePanelsPipe(host_.State().SelectedPipeId);
    host_.RefreshScreen();
}
