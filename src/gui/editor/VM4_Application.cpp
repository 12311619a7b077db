#include "editor/VM4_Application.h"

#include <QApplication>

#include "editor/VM4_NetworkForm.h"
#include "platform/VM4_QtFileDialogs.h"
#include "platform/VM4_QtMessageBoxes.h"

int RunVelmoraStudio(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("Velmora Studio"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));

    TQtMessageBoxes messageBoxes;
    TQtFileDialogs fileDialogs;
    TNetworkForm form(TNetworkFormServices{&messageBoxes, &fileDialogs,
                                           QCoreApplication::applicationDirPath().toStdString()});
    messageBoxes.SetOwner(&form);
    fileDialogs.SetOwner(&form);
    form.show();
    return application.exec();
}
