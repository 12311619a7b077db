#include "editor/panel/VM4_PanelNotes.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringList>
#include <QTextCursor>

QString NotesText(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list.join(QLatin1Char('\n'));
}

std::vector<std::string> TakeNotes(QPlainTextEdit& memo) {
    QString text = memo.toPlainText();
    if (text.size() > PanelNotesCapacity) {
        text.truncate(PanelNotesCapacity);
        const QSignalBlocker quiet(&memo);
        memo.setPlainText(text);
        memo.moveCursor(QTextCursor::End);
    }
    std::vector<std::string> lines;
    if (text.isEmpty()) return lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}
