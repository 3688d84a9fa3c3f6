#include <QApplication>

#include "DisplayScale.h"
#include "FontWarmUp.h"
#include "frmEditIcon.h"

int main(int argc, char* argv[]) {
    const mosaikon::FontWarmUp fonts;
    // Whole device pixels per surface pixel at every display scale, so the grid stays crisp and
    // even: the screens' factors are rounded by Qt, a global factor by us.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        qputenv("QT_SCALE_FACTOR", mosaikon::wholeScaleFactor(qgetenv("QT_SCALE_FACTOR")));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mosaikon"));
    mosaikon::frmEditIcon window;
    window.show();
    return QApplication::exec();
}
