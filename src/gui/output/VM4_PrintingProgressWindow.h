#pragma once

#include <QDialog>

#include "output/VM4_PrintProgress.h"

class QLabel;

// The small "Printing" window: on top of the program, centred on the screen,
// with the page being printed and a Cancel button that printing polls.
class TPrintingProgressWindow : public QDialog, public IPrintProgress {
    Q_OBJECT

public:
    explicit TPrintingProgressWindow(QWidget* parent);

    bool Open() override;
    void ShowMessage(const std::string& text) override;
    bool CancelPressed() const override { return cancelPressed_; }
    void Close() override;

private:
    QLabel* message_;
    bool cancelPressed_ = false;
};
