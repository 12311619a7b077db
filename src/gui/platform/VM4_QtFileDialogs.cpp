#include "platform/VM4_QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {

void Prepare(QFileDialog& dialog, const TFileDialogRequest& request) {
    if (!request.Folder.empty()) dialog.setDirectory(QString::fromStdString(request.Folder));
    if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));
    dialog.setNameFilter(QString::fromStdString(request.Filter));
    dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
}

std::optional<std::string> ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

}  // namespace

std::optional<std::string> TQtFileDialogs::AskOpenFileName(const TFileDialogRequest& request) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, request);
    return ChosenFile(dialog);
}

std::optional<std::string> TQtFileDialogs::AskSaveFileName(const TFileDialogRequest& request) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The editor asks its own overwrite question, worded as the user knows it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    Prepare(dialog, request);
    return ChosenFile(dialog);
}
