#pragma once

#include <QString>
#include <optional>
#include <string>

class IFileDialogs;
class IMessageBoxes;

// Small pieces every item dialog uses alike.

inline QString qs(const std::string& text) { return QString::fromStdString(text); }

// A control named for tests and placed at fixed pixels, as the dialogs are laid out.
template <typename TWidget>
TWidget* Placed(TWidget* widget, const char* name, int x, int y, int width, int height = 22) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

// The file to save a pump or component into: nothing when the user cancels
// or will not overwrite an existing file.
std::optional<std::string> AskTargetFile(IFileDialogs& files, IMessageBoxes& boxes, const char* filter,
                                         const char* suffix);
// The file to load one from; nothing when the user cancels.
std::optional<std::string> AskSourceFile(IFileDialogs& files, const char* filter, const char* suffix);
