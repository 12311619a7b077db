#pragma once

#include <functional>
#include <string>

#include "foundations/VM4_UserMessages.h"

class IMessageBoxes;

// What the engine tells or asks the user while the desktop program runs it. The
// boxes go through the window's IMessageBoxes (so that tests script them); the
// status line goes wherever the window shows it; processing messages runs one
// round of the Qt event loop, which is when timers fire and the Stop button is
// seen during a solve.
class TQtUserMessages : public IUserMessages {
public:
    explicit TQtUserMessages(IMessageBoxes& boxes) : boxes_(boxes) {}

    void ShowInformation(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void ProcessMessages() override;

    // Where ShowStatus writes; nothing is shown while it is empty.
    std::function<void(const std::string&)> StatusShown;
    // Called after each round of event processing, for what the window must
    // re-assert once the events have run.
    std::function<void()> MessagesProcessed;

private:
    IMessageBoxes& boxes_;
};
