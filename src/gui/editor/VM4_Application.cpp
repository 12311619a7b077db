#include "editor/VM4_Application.h"

#include <QApplication>
#include <QStringList>

#include "editor/VM4_NetworkForm.h"
#include "platform/VM4_QtFileDialogs.h"
#include "platform/VM4_QtMessageBoxes.h"

namespace {

// The first argument that is not an option: a network file, as the desktop
// passes it when a ".vme" file is opened with the program.
QString NetworkFileArgument() {
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QLatin1Char('-'))) return arguments[i];
    return {};
}

}  // namespace

int RunVelmoraStudio(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("Velmora Studio"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));

    TQtMessageBoxes messageBoxes;
    TQtFileDialogs fileDialogs;
    TNetworkFormServices services;
    services.MessageBoxes = &messageBoxes;
    services.FileDialogs = &fileDialogs;
    services.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    TNetworkForm form(services);
    messageBoxes.SetOwner(&form);
    fileDialogs.SetOwner(&form);
    form.show();
    const QString file = NetworkFileArgument();
    if (!file.isEmpty()) form.OpenFileFromCommandLine(file.toStdString());
    return application.exec();
}
