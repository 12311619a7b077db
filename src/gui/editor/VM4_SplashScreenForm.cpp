#include "editor/VM4_SplashScreenForm.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "editor/VM4_Canvas_Drawings.h"

namespace {

constexpr int kSide = 400;

// A small three-reservoir system, drawn with the drawing's own symbols.
void DrawEmblem(QPainter& painter) {
    const QPoint tanks[3] = {{110, 190}, {290, 170}, {200, 320}};
    const QPoint joint(200, 235);
    for (const QPoint& tank : tanks) {
        DrawLine(painter, tank.x(), tank.y(), joint.x(), joint.y(), DrawingColours::Line, 2);
    }
    for (const QPoint& tank : tanks) {
        painter.save();
        painter.translate(tank);
        painter.scale(2.2, 2.2);
        DrawTankSymbol(painter, 0, 0, 0);
        painter.restore();
    }
    painter.save();
    painter.translate(joint);
    painter.scale(2.0, 2.0);
    DrawJoinPoint(painter, 0, 0);
    painter.restore();
}

}  // namespace

TSplashScreenForm::TSplashScreenForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), timer_(new QTimer(this)) {
    setFixedSize(kSide, kSide);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &TSplashScreenForm::TimerSplashOffTimer);
}

void TSplashScreenForm::ShowFor(int milliseconds) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
    timer_->start(milliseconds);
    show();
    raise();
    repaint();
}

bool TSplashScreenForm::IsTimerRunning() const { return timer_->isActive(); }

void TSplashScreenForm::TimerSplashOffTimer() {
    timer_->stop();
    close();
}

void TSplashScreenForm::mousePressEvent(QMouseEvent*) { TimerSplashOffTimer(); }

void TSplashScreenForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kSide);
    sky.setColorAt(0, QColor(235, 244, 255));
    sky.setColorAt(1, QColor(190, 215, 245));
    painter.fillRect(rect(), sky);
    painter.setPen(QColor(60, 90, 140));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(38);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(20, 50, 110));
    painter.drawText(QRect(0, 30, kSide, 50), Qt::AlignCenter, QStringLiteral("Velmora Studio"));
    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(14);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 82, kSide, 40), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Steady-state hydraulic analysis of pipe networks"));
    DrawEmblem(painter);
    painter.setFont(subtitle);
    painter.setPen(QColor(20, 50, 110));
    painter.drawText(QRect(0, 360, kSide, 24), Qt::AlignCenter, QString::fromLatin1(VersionText));
}
