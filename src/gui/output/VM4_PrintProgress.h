#pragma once

#include <string>

// What printing asks of the small "Printing" window that shows its progress and
// offers Cancel.
class IPrintProgress {
public:
    virtual ~IPrintProgress() = default;
    // Shows the window; false when it could not be created.
    virtual bool Open() = 0;
    // Shows the line and lets the desktop's events through, so Cancel can be pressed.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool CancelPressed() const = 0;
    virtual void Close() = 0;
};
