#pragma once

#include <QWidget>

class QTimer;

// The splash and About window: 400 by 400, borderless, on top, centred on the
// screen, with the program's picture and its version. It closes itself when its
// time is up, or when the picture is clicked.
class TSplashScreenForm : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* VersionText = "Version 1.11";

    explicit TSplashScreenForm(QWidget* parent = nullptr);

    // Shows the window and closes it after the given time.
    void ShowFor(int milliseconds);
    bool IsTimerRunning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void TimerSplashOffTimer();

    QTimer* timer_;
};
