#include <QApplication>

#include "DisplayScale.h"
#include "FontWarmUp.h"
#include "ProgramName.h"
#include "frmEditIcon.h"

int main(int argc, char* argv[]) {
    const mosaikon::FontWarmUp fonts;
    mosaikon::useWholeDisplayScales();
    QApplication app(argc, argv);
    mosaikon::nameProgram();
    mosaikon::frmEditIcon window;
    window.show();
    return QApplication::exec();
}
