#include "editor/panel/VM4_PanelValueRow.h"

#include <QGridLayout>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "editor/panel/VM4_PanelHost.h"
#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

void TPanelValueRow::SetVisible(bool visible) const {
    Caption->setVisible(visible);
    Box->setVisible(visible);
    Unit->setVisible(visible);
}

void TPanelValueRow::SetUnit(int unit, const TRightEditRules& rules) const {
    Unit->setText(QString::fromStdString(unitName(unit)));
    Box->SetRules(rules);
}

TPanelValueRow AddPanelValueRow(QGridLayout& grid, int row, const QString& caption, const QString& name,
                                IMessageBoxes& boxes, QWidget* parent) {
    TPanelValueRow line;
    line.Caption = new QLabel(caption, parent);
    line.Caption->setWordWrap(true);
    line.Box = new TRightEdit(boxes, parent);
    line.Box->setObjectName(name);
    line.Box->setFixedWidth(62);
    line.Unit = new QLabel(parent);
    line.Unit->setFixedWidth(40);
    grid.addWidget(line.Caption, row, 0);
    grid.addWidget(line.Box, row, 1);
    grid.addWidget(line.Unit, row, 2);
    return line;
}

void ShowPanelValue(const TPanelValueRow& row, const std::string& text) {
    if (!row.Box->hasFocus()) row.Box->SetValueText(text);
}

QToolButton* PanelArrowButton(Qt::ArrowType arrow, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setObjectName(name);
    button->setFixedSize(16, 14);
    return button;
}

QFrame* PanelFrame(const QString& name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    return frame;
}

void ConnectPanelValue(QObject& owner, IPanelHost& host, const TPanelValueRow& row, std::function<bool()> editable,
                       std::function<void(double)> store) {
    TRightEdit* box = row.Box;
    QObject::connect(box, &TRightEdit::ValueEdited, &owner, [&host, box, editable, store] {
        if (host.ResultsMode() || !editable()) return;
        const TDecimalEntry entry = box->ReadDecimal();
        if (entry.Outcome != TEntryOutcome::Valid) return;
        store(entry.Value);
        host.MarkModified();
    });
    QObject::connect(box, &TRightEdit::EnterOrTabPressed, &owner, [&host] { host.Regenerate(); });
}
