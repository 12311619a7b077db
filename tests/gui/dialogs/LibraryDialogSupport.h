#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "common/TempFolder.h"

// The shipped library files and the library test fixtures.
inline std::filesystem::path ShippedData() { return std::filesystem::path(VELMORA_DATA_DIR); }
inline std::filesystem::path LibraryFixtureFolder(const std::string& name) {
    return std::filesystem::path(VELMORA_TEST_DATA_DIR) / "libraries" / name;
}

// A program's data folder and a user folder apart from it, as an installation has them.
struct TLibraryFolders {
    TTempFolder Program;
    TTempFolder User;

    TLibraryFolders() {
        std::filesystem::copy(ShippedData() / "PipeTables", Program / "PipeTables");
        std::filesystem::create_directories(Program / "FluidTables");
        std::filesystem::copy(LibraryFixtureFolder("fluids") / "vmn_Fluids.vmfl", Program / "FluidTables");
        std::filesystem::copy(LibraryFixtureFolder("fluids") / "vmn_GasConstants.vmgc", Program / "FluidTables");
    }
};

// Every file below a folder with its bytes.
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = FileContents(entry.path());
    return files;
}

// Acts on the first modal dialog with the given title as soon as it is shown,
// for dialogs that the code under test creates itself.
class TWhenDialogShown : public QObject {
public:
    TWhenDialogShown(QString title, std::function<void(QDialog&)> act) : title_(std::move(title)), act_(std::move(act)) {
        qApp->installEventFilter(this);
    }
    ~TWhenDialogShown() override { qApp->removeEventFilter(this); }
    bool Ran() const { return ran_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show && dialog->windowTitle() == title_) {
            QTimer::singleShot(0, this, [this, dialog] {
                ran_ = true;
                act_(*dialog);
                if (dialog->isVisible()) dialog->reject();
            });
        }
        return false;
    }

private:
    QString title_;
    std::function<void(QDialog&)> act_;
    bool ran_ = false;
};
