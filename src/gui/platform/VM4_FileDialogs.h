#pragma once

#include <optional>
#include <string>

// What an open or save dialog starts with. Paths are UTF-8.
struct TFileDialogRequest {
    std::string Folder;         // initial folder; empty: the dialog's own choice
    std::string FileName;       // proposed name (save dialogs), without folder
    std::string Filter;         // e.g. "Velmora Network (*.vme)"
    std::string DefaultSuffix;  // appended when the user types a name without one, e.g. "vme"
};

// The common file dialogs, behind an interface so that tests can pick files.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;

    // The chosen existing file, or nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFileName(const TFileDialogRequest& request) = 0;
    // The chosen target file, or nothing when the user cancels. The dialog does not
    // ask about overwriting: the caller asks its own question.
    virtual std::optional<std::string> AskSaveFileName(const TFileDialogRequest& request) = 0;
};
