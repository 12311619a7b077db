#include "ScriptedFileDialogs.h"

#include <gtest/gtest.h>

TScriptedFileDialogs::~TScriptedFileDialogs() {
    if (!choices_.empty()) ADD_FAILURE() << choices_.size() << " scripted file choice(s) were never asked for";
}

std::optional<std::string> TScriptedFileDialogs::AskOpenFileName(const TFileDialogRequest& request) {
    openRequests_.push_back(request);
    return next("open");
}

std::optional<std::string> TScriptedFileDialogs::AskSaveFileName(const TFileDialogRequest& request) {
    saveRequests_.push_back(request);
    return next("save");
}

std::optional<std::string> TScriptedFileDialogs::next(const char* dialog) {
    if (choices_.empty()) {
        ADD_FAILURE() << "unscripted " << dialog << " dialog";
        return std::nullopt;
    }
    std::optional<std::string> choice = choices_.front();
    choices_.pop_front();
    return choice;
}
