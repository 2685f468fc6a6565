// GoogleTest entry for the window tests: one QApplication on the main thread, skins and data
// from the build's output folder, the application name the shipped catalogue gives.
#include <QApplication>

#include <gtest/gtest.h>

#include "common/dui/Manager.h"

int main(int argc, char** argv) {
    // Death tests run their child from the start of the binary, which builds its own
    // application; the default "fast" style would fork a process that already has one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    DUI::Manager::SetInstance(CURSORIAL_OUTPUT_DIR);
    DUI::Manager::SetDeviceName(u"Cursorial");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
