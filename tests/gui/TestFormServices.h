#pragma once

#include <QString>
#include <string>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "editor/VM4_NetworkForm.h"

// What a main window under test runs on: scripted boxes and file dialogs, a
// program folder of the test's own, no splash, no browser and no waiting.
inline TNetworkFormServices TestFormServices(TScriptedMessageBoxes& boxes, TScriptedFileDialogs& dialogs,
                                             const QString& programFolder) {
    TNetworkFormServices services;
    services.MessageBoxes = &boxes;
    services.FileDialogs = &dialogs;
    services.ProgramFolder = programFolder.toStdString();
    services.ShowSplash = false;
    services.OpenUrl = [](const std::string&) { return true; };
    services.Wait = [](int) {};
    return services;
}
