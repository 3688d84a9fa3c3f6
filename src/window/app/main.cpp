#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/FontWarmUp.h"
#include "app/ProgramName.h"
#include "mainwindow/frmEditIcon.h"
#include "platform/DisplayScale.h"

int main(int argc, char* argv[]) {
    // Read before the application object exists, so --help and --version need no display.
    const mosaikon::CommandLine commandLine = mosaikon::parseCommandLine(argc, argv);
    switch (commandLine.action) {
        case mosaikon::CommandLine::Action::Help:
            std::fputs(mosaikon::helpText().c_str(), stdout);
            return 0;
        case mosaikon::CommandLine::Action::Version:
            std::fputs(mosaikon::versionText().c_str(), stdout);
            return 0;
        case mosaikon::CommandLine::Action::Usage:
            if (commandLine.restore && !commandLine.files.empty()) {
                std::fprintf(stderr, "mosaikon: --restore cannot be given with a file\n%s",
                             mosaikon::usageLine().c_str());
            } else {
                std::fprintf(stderr, "mosaikon: unknown option '%s'\n%s",
                             commandLine.unknownOption.c_str(), mosaikon::usageLine().c_str());
            }
            return 2;
        case mosaikon::CommandLine::Action::Run:
            break;
    }
    const mosaikon::FontWarmUp fonts;
    mosaikon::useWholeDisplayScales();
    QApplication app(argc, argv);
    mosaikon::nameProgram();
    mosaikon::frmEditIcon window;
    window.show();
    if (commandLine.restore) {
        QTimer::singleShot(0, &window, [&window] { window.restorePrevious(); });
    } else if (!commandLine.files.empty()) {
        // Once the window is up and has drawn its start-up screen.
        QTimer::singleShot(0, &window,
                           [&window, &commandLine] { window.openFiles(commandLine.files); });
    }
    return QApplication::exec();
}
