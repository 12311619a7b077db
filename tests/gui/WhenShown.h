#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

// Acts on a modal window from inside its own event loop: every time the window
// is shown, `act` runs as soon as the loop turns (so a test can read the window
// as the user sees it and press one of its buttons).
class TWhenShown : public QObject {
public:
    TWhenShown(QWidget& window, std::function<void()> act) : window_(window), act_(std::move(act)) {
        window_.installEventFilter(this);
    }
    ~TWhenShown() override { window_.removeEventFilter(this); }
    TWhenShown(const TWhenShown&) = delete;
    TWhenShown& operator=(const TWhenShown&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show) QTimer::singleShot(0, this, act_);
        return false;
    }

private:
    QWidget& window_;
    std::function<void()> act_;
};
