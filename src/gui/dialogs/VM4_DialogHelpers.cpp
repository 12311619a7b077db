#include "dialogs/VM4_DialogHelpers.h"

#include <filesystem>

#include "platform/VM4_FileDialogs.h"
#include "platform/VM4_MessageBoxes.h"
#include "platform/VM4_OverwriteQuestion.h"

std::optional<std::string> AskTargetFile(IFileDialogs& files, IMessageBoxes& boxes, const char* filter,
                                         const char* suffix) {
    const auto path = files.AskSaveFileName({"", "", filter, suffix});
    if (!path) return std::nullopt;
    if (!ConfirmOverwrite(boxes, *path)) return std::nullopt;
    return path;
}

std::optional<std::string> AskSourceFile(IFileDialogs& files, const char* filter, const char* suffix) {
    return files.AskOpenFileName({"", "", filter, suffix});
}
