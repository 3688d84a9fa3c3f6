// The display-scale tests run the window on an offscreen desktop of two screens, one at scale 1
// and one at scale 2, with the program's own scale settings. Started with --print-scale, the
// executable instead reports the scale the program's settings give the first screen under the
// environment it was started with, so tests can try environments one process at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ProgramName.h"
#include "platform/DisplayScale.h"

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--print-scale") == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        mosaikon::useWholeDisplayScales();
        const QGuiApplication app(argc, argv);
        std::printf("%g\n", QGuiApplication::primaryScreen()->devicePixelRatio());
        return 0;
    }
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" MOSAIKON_TWO_SCREENS, 1);
    mosaikon::useWholeDisplayScales();
    QApplication app(argc, argv);
    mosaikon::nameProgram();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
