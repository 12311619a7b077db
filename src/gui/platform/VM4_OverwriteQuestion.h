#pragma once

#include <string>

class IMessageBoxes;

// Asked before a file the user chose replaces one that is there already: true
// when there is none, or the user agrees.
bool ConfirmOverwrite(IMessageBoxes& boxes, const std::string& path);
