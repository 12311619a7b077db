#include <QApplication>

#include "editor/VM4_Application.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return RunVelmoraStudio(application);
}
