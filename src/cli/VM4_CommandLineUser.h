#pragma once

#include <iosfwd>
#include <string>

#include "foundations/VM4_UserMessages.h"

// The user of a calculation run from the command line: nobody is there to
// answer, so boxes are printed to the error stream (line breaks as new lines)
// and every Yes/No question gets the answer chosen on the command line, which
// is printed with it.
class TCommandLineUser : public IUserMessages {
public:
    TCommandLineUser(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}

    void ShowInformation(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    // Nothing is shown while the solve runs, and there is no event to service.
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}

private:
    std::ostream& err_;
    bool answerYes_;
};
