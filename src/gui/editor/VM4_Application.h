#pragma once

class QApplication;

// Starts the desktop program on an existing QApplication: names the application,
// builds the main window with the desktop's message boxes and file dialogs, opens
// a network file given on the command line and runs the event loop. Returns the
// program's exit code.
int RunVelmoraStudio(QApplication& application);
