#pragma once

#include <iosfwd>

#include "platform/VM4_MessageBoxes.h"

// Message boxes for a run without anybody at the screen (velmora-studio
// --check): every text goes to a stream, every question is answered No
// (Cancel where it may be withdrawn), so that nothing waits for a click and
// nothing is changed on the user's behalf. Counts what it was asked to show.
class TConsoleMessageBoxes : public IMessageBoxes {
public:
    explicit TConsoleMessageBoxes(std::ostream& out) : out_(out) {}

    void ShowInformation(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    TYesNoCancel AskYesNoCancel(const std::string& text) override;

    int MessagesShown() const { return shown_; }

private:
    void write(const std::string& text);

    std::ostream& out_;
    int shown_ = 0;
};
