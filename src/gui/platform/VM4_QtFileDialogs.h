#pragma once

#include "platform/VM4_FileDialogs.h"

class QWidget;

// The desktop's file dialogs (QFileDialog), owned by the given window.
class TQtFileDialogs : public IFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}

    void SetOwner(QWidget* owner) { owner_ = owner; }

    std::optional<std::string> AskOpenFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> AskSaveFileName(const TFileDialogRequest& request) override;

private:
    QWidget* owner_;
};
