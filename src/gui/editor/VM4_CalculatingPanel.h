#pragma once

#include <QColor>
#include <QFrame>

class QLabel;
class QPushButton;

// Milliseconds each frame of the calculation's opening animation is held, from
// the number of open links: 800 div links, at most 50, and 20 when that comes
// out below 10. A network without links gets the longest frame.
int CalculationFrameTime_ms(int activeLinkCount);

// The small panel shown in the middle of the drawing while a calculation runs:
// a black frame round a face with the title, the attempt counter, the solve's
// status line (whose background flashes) and the Stop button. The main window
// fills it; the panel only lays it out.
class TCalculatingPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int PanelWidth = 263;
    static constexpr int PanelHeight = 106;

    explicit TCalculatingPanel(QWidget* parent = nullptr);

    QFrame* Face() const { return PanelCalculating2; }
    QLabel* IterationLabel() const { return LabelIterationCount; }
    QLabel* StatusLabel() const { return LabelCalculatingUpdate; }
    QPushButton* StopButton() const { return ButtonStopCalculating; }

    // The background of the status line, which flashes while the solve runs.
    QColor StatusColour() const { return statusColour_; }
    void SetStatusColour(const QColor& colour);

private:
    QFrame* PanelCalculating2 = nullptr;
    QLabel* LabelCalculating = nullptr;
    QLabel* LabelIterationCount = nullptr;
    QLabel* LabelCalculatingUpdate = nullptr;
    QPushButton* ButtonStopCalculating = nullptr;
    QColor statusColour_;
};
