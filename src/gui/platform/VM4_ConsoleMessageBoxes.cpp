#include "platform/VM4_ConsoleMessageBoxes.h"

#include <algorithm>
#include <ostream>

void TConsoleMessageBoxes::write(const std::string& text) {
    std::string lines = text;
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    out_ << lines << "\n";
    ++shown_;
}

void TConsoleMessageBoxes::ShowInformation(const std::string& text) { write(text); }

bool TConsoleMessageBoxes::Confirm(const std::string& text) {
    write(text);
    return false;
}

TYesNoCancel TConsoleMessageBoxes::AskYesNoCancel(const std::string& text) {
    write(text);
    return TYesNoCancel::Cancel;
}
