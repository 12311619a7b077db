#pragma once

#include <QMainWindow>
#include <string>

class IMessageBoxes;
class IFileDialogs;

// What the main window needs from its surroundings: the desktop's boxes and
// dialogs (or scripted ones in tests) and the folder that holds the program,
// beside which the recent-files list, the examples and the help pages lie.
struct TNetworkFormServices {
    IMessageBoxes* MessageBoxes = nullptr;
    IFileDialogs* FileDialogs = nullptr;
    std::string ProgramFolder;
};

// The main window: the drawing of the one network document and every command on it.
class TNetworkForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TNetworkForm(const TNetworkFormServices& services, QWidget* parent = nullptr);
    ~TNetworkForm() override;

private:
    TNetworkFormServices services_;
};
