#include <QApplication>
#include <gtest/gtest.h>

// Widgets need one QApplication for the whole run. The tests run on Qt's
// offscreen platform (CTest sets it; so does this, for test discovery and for
// running the program by hand), so no display is needed.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
