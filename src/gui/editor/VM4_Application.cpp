#include "editor/VM4_Application.h"

#include <QApplication>
#include <QStringList>

#include <filesystem>
#include <iostream>

#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_ProgramFolders.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_ConsoleMessageBoxes.h"
#include "platform/VM4_QtFileDialogs.h"
#include "platform/VM4_QtMessageBoxes.h"

namespace {

constexpr const char* kCheckOption = "--check";
constexpr int kExitOpened = 0;
constexpr int kExitNotOpened = 2;

// The first argument that is not an option: a network file, as the desktop
// passes it when a ".vme" file is opened with the program.
QString NetworkFileArgument() {
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
    return {};
}

bool HasCheckOption() { return QCoreApplication::arguments().contains(QLatin1String(kCheckOption)); }

TNetworkFormServices DesktopServices() {
    TNetworkFormServices services;
    const TProgramFolders folders = FindProgramFolders(QCoreApplication::applicationDirPath().toStdString());
    services.ProgramFolder = folders.Data.string();
    services.UserFolder = folders.User.string();
    return services;
}

// --check FILE: the window opens the file as it would for the desktop, reports
// what it holds and quits; messages go to standard error and nothing is asked.
// Lets an installation be checked without anybody at the screen.
int CheckOpening(const QString& file) {
    TConsoleMessageBoxes messageBoxes(std::cerr);
    TQtFileDialogs fileDialogs;
    TNetworkFormServices services = DesktopServices();
    services.MessageBoxes = &messageBoxes;
    services.FileDialogs = &fileDialogs;
    services.ShowSplash = false;
    services.Wait = [](int) {};
    TNetworkForm form(services);
    form.show();
    QCoreApplication::processEvents();
    form.OpenFileFromCommandLine(file.toStdString());
    QCoreApplication::processEvents();
    std::cout << "Data folder: " << services.ProgramFolder << "\nUser folder: " << services.UserFolder << "\n";
    const bool opened = !file.isEmpty() && form.CurrentFileName() == file.toStdString();
    if (!opened) {
        std::cout << "Not opened: " << file.toStdString() << "\n";
        return kExitNotOpened;
    }
    std::cout << "Opened " << form.CurrentFileName() << ": " << form.Network().GetNodeCount() << " nodes, "
              << form.Network().GetPipeCount() << " pipes; window title \"" << form.windowTitle().toStdString()
              << "\"\n";
    return kExitOpened;
}

}  // namespace

int RunVelmoraStudio(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("Velmora Studio"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    // Wayland compositors find the window's icon and name through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora-studio"));
    if (HasCheckOption()) return CheckOpening(NetworkFileArgument());

    TQtMessageBoxes messageBoxes;
    TQtFileDialogs fileDialogs;
    TNetworkFormServices services = DesktopServices();
    services.MessageBoxes = &messageBoxes;
    services.FileDialogs = &fileDialogs;
    TNetworkForm form(services);
    messageBoxes.SetOwner(&form);
    fileDialogs.SetOwner(&form);
    form.show();
    const QString file = NetworkFileArgument();
    if (!file.isEmpty()) form.OpenFileFromCommandLine(file.toStdString());
    return application.exec();
}
