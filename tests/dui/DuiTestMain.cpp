// GoogleTest entry for the widget kit's tests: the widgets need a QApplication on this thread.
#include "common/dui/Manager.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Skins come from the build's output folder; the tests also pass without them.
    DUI::Manager::SetInstance(CURSORIAL_OUTPUT_DIR);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
