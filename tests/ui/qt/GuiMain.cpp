// gui_tests' own main: the widgets need a QApplication for the whole run.

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    // Test discovery at build time runs without the tests' environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
