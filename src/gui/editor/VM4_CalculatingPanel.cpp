#include "editor/VM4_CalculatingPanel.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kFrameBudget_ms = 800;
constexpr int kLongestFrame_ms = 50;
constexpr int kShortestFrame_ms = 10;
constexpr int kShortFrameReplacement_ms = 20;

void FillBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace

int CalculationFrameTime_ms(int activeLinkCount) {
    if (activeLinkCount <= 0) return kLongestFrame_ms;
    int frame_ms = kFrameBudget_ms / activeLinkCount;
    if (frame_ms > kLongestFrame_ms) frame_ms = kLongestFrame_ms;
    if (frame_ms < kShortestFrame_ms) frame_ms = kShortFrameReplacement_ms;
    return frame_ms;
}

TCalculatingPanel::TCalculatingPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanelCalculating"));
    setFixedSize(PanelWidth, PanelHeight);
    setFrameShape(QFrame::NoFrame);
    FillBackground(*this, Qt::black);

    PanelCalculating2 = new QFrame(this);
    PanelCalculating2->setObjectName(QStringLiteral("PanelCalculating2"));
    PanelCalculating2->setGeometry(1, 1, PanelWidth - 2, PanelHeight - 2);
    PanelCalculating2->setFrameShape(QFrame::NoFrame);
    FillBackground(*PanelCalculating2, palette().color(QPalette::Button));

    LabelCalculating = new QLabel(QStringLiteral("Calculating Results..."), PanelCalculating2);
    LabelCalculating->setObjectName(QStringLiteral("LabelCalculating"));
    QFont bold = LabelCalculating->font();
    bold.setBold(true);
    LabelCalculating->setFont(bold);
    LabelCalculating->move(18, 12);
    LabelCalculating->adjustSize();

    LabelIterationCount = new QLabel(QStringLiteral("Iteration 0"), PanelCalculating2);
    LabelIterationCount->setObjectName(QStringLiteral("LabelIterationCount"));
    LabelIterationCount->setGeometry(176, 12, 80, LabelCalculating->height());

    auto* group = new QGroupBox(PanelCalculating2);
    group->setGeometry(18, 32, 227, 39);
    LabelCalculatingUpdate = new QLabel(group);
    LabelCalculatingUpdate->setObjectName(QStringLiteral("LabelCalculatingUpdate"));
    LabelCalculatingUpdate->setGeometry(12, 14, 201, 18);
    SetStatusColour(palette().color(QPalette::Button));

    ButtonStopCalculating = new QPushButton(QStringLiteral("Stop"), PanelCalculating2);
    ButtonStopCalculating->setObjectName(QStringLiteral("ButtonStopCalculating"));
    ButtonStopCalculating->setGeometry(184, 76, 60, 20);
    ButtonStopCalculating->setAutoDefault(false);

    hide();
}

void TCalculatingPanel::SetStatusColour(const QColor& colour) {
    statusColour_ = colour;
    FillBackground(*LabelCalculatingUpdate, colour);
}
