// Window tests need a QApplication; they run on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/ProgramName.h"

int main(int argc, char* argv[]) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // The icons the tests paint are kept in a state folder of their own, never the user's.
    const QTemporaryDir state;
    setenv("XDG_STATE_HOME", state.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    mosaikon::nameProgram();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
