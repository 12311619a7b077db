#pragma once

#include <string>

// Answer to a question that may also be withdrawn.
enum class TYesNoCancel { Yes, No, Cancel };

// Every modal message the application shows goes through this interface, so that
// tests can script the answers and check the exact texts. In texts '\r' is the
// line break ("\r\r" leaves an empty line).
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;

    // An information box with an OK button.
    virtual void ShowInformation(const std::string& text) = 0;
    // A Yes/No confirmation; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // A Yes/No/Cancel question; closing the box counts as Cancel.
    virtual TYesNoCancel AskYesNoCancel(const std::string& text) = 0;
};
