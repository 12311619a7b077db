#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "common/TempFolder.h"
#include "dialogs/VM4_ItemDialogForms.h"
#include "model/VM4_Network_Class.h"

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

// A metric network and the item dialogs on library folders of the test's own;
// `changes_` counts the changes of the network the dialogs reported.
class TLibraryDialogTest : public ::testing::Test {
protected:
    TLibraryDialogTest() {
        network_.SetMetricUnits();
        dialogs_.SetLibraryFolders(folders_.Program.Path(), folders_.User.Path());
        dialogs_.Changed = [this] { ++changes_; };
        installed_ = FolderSnapshot(folders_.Program.Path());
    }

    static std::string BoxText(QDialog& form, const char* box) {
        return form.findChild<QLineEdit*>(QString::fromLatin1(box))->text().toStdString();
    }
    // The row whose first cell reads `text`, or -1.
    static int RowWithText(QDialog& form, const char* gridName, const std::string& text) {
        auto* grid = form.findChild<QTableWidget*>(QString::fromLatin1(gridName));
        for (int row = 0; row < grid->rowCount(); ++row)
            if (grid->item(row, 0) && grid->item(row, 0)->text().toStdString() == text) return row;
        return -1;
    }

    TLibraryFolders folders_;
    std::map<std::string, std::string> installed_;
    TNetwork network_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs files_;
    TItemDialogForms dialogs_{boxes_, files_, nullptr};
    int changes_ = 0;
};
