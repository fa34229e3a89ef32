#include <gtest/gtest.h>

#include <QApplication>

#include "skin/images.h"

// The ctest entry sets QT_QPA_PLATFORM=offscreen; the default here lets the
// test discovery at build time and a plain run work without a display too.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    q30x::installFontSubstitutes();
    return RUN_ALL_TESTS();
}
