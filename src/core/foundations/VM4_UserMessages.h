#pragma once

#include <string>

// What the engine must tell or ask the user. The engine never opens a window:
// the application shows boxes, the command-line tool prints, tests script the answers.
// In message texts '\r' is the line break.
class IUserMessages {
public:
    virtual ~IUserMessages() = default;

    // An information box with an OK button.
    virtual void ShowInformation(const std::string& text) = 0;
    // A Yes/No confirmation box; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The status line while a long operation runs.
    virtual void ShowStatus(const std::string& text) = 0;
    // Lets the user interface service pending events (timers, the Stop button).
    virtual void ProcessMessages() = 0;
};
