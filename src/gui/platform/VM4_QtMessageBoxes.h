#pragma once

#include <QString>

#include "platform/VM4_MessageBoxes.h"

class QWidget;

// The message boxes of the desktop: QMessageBox, owned by the given window.
class TQtMessageBoxes : public IMessageBoxes {
public:
    explicit TQtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}

    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowInformation(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    TYesNoCancel AskYesNoCancel(const std::string& text) override;

    // The text with every '\r' turned into the line break Qt expects.
    static QString ToDisplayText(const std::string& text);

private:
    QWidget* owner_;
};
