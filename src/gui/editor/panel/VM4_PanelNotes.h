#pragma once

#include <QString>
#include <string>
#include <vector>

class QPlainTextEdit;

// Notes of nodes and pipes are kept as lines; the panel's memo holds at most
// this many characters of them.
inline constexpr int PanelNotesCapacity = 200;

QString NotesText(const std::vector<std::string>& lines);
// The memo's lines, cut to PanelNotesCapacity characters (the memo is cut too,
// keeping the caret where it was).
std::vector<std::string> TakeNotes(QPlainTextEdit& memo);
