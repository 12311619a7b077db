#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/VM4_FileDialogs.h"

// File dialogs for tests: each dialog takes the next scripted choice (a path,
// or nothing for Cancel) and records what it was asked with. A dialog opened
// without a scripted choice fails the running test and is cancelled.
class TScriptedFileDialogs : public IFileDialogs {
public:
    ~TScriptedFileDialogs() override;

    void Choose(const std::string& path) { choices_.emplace_back(path); }
    void Cancel() { choices_.emplace_back(std::nullopt); }

    std::optional<std::string> AskOpenFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> AskSaveFileName(const TFileDialogRequest& request) override;

    const std::vector<TFileDialogRequest>& OpenRequests() const { return openRequests_; }
    const std::vector<TFileDialogRequest>& SaveRequests() const { return saveRequests_; }

private:
    std::optional<std::string> next(const char* dialog);

    std::deque<std::optional<std::string>> choices_;
    std::vector<TFileDialogRequest> openRequests_;
    std::vector<TFileDialogRequest> saveRequests_;
};
