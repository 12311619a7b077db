#include "VM4_CommandLineUser.h"

#include <algorithm>
#include <ostream>

namespace {

// Message texts break lines with '\r'.
std::string withNewLines(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

}  // namespace

void TCommandLineUser::ShowInformation(const std::string& text) { err_ << withNewLines(text) << "\n\n"; }

bool TCommandLineUser::Confirm(const std::string& text) {
    err_ << withNewLines(text) << "\n"
         << (answerYes_ ? "Answered Yes (--reverse=yes)." : "Answered No (--reverse=no).") << "\n\n";
    return answerYes_;
}
