#include "platform/VM4_OverwriteQuestion.h"

#include <filesystem>
#include <system_error>

#include "platform/VM4_MessageBoxes.h"

bool ConfirmOverwrite(IMessageBoxes& boxes, const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::path(path), ignored)) return true;
    return boxes.Confirm("File already exists. Do wish to overwrite? \r");
}
