#include "editor/VM4_NetworkCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

TNetworkCanvas::TNetworkCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setMouseTracking(true);
}

void TNetworkCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, image_);
}

void TNetworkCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT Resized();
}

void TNetworkCanvas::wheelEvent(QWheelEvent* event) {
    Q_EMIT WheelTurned(event->angleDelta().y());
    event->accept();  // the wheel zooms; it never scrolls anything else
}

void TNetworkCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    Q_EMIT MouseMoved(point.x(), point.y(), (event->buttons() & Qt::LeftButton) != 0);
}

void TNetworkCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    Q_EMIT MousePressed(event->button(), point.x(), point.y());
}

void TNetworkCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    Q_EMIT MouseReleased(event->button(), point.x(), point.y());
}

void TNetworkCanvas::keyPressEvent(QKeyEvent* event) {
    Q_EMIT KeyPressed(event->key(), event->modifiers(), event->text());
    event->accept();
}
