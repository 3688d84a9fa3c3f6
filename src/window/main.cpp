#include <QApplication>

#include "frmEditIcon.h"

int main(int argc, char* argv[]) {
    // Whole device pixels per surface pixel at every display scale, so the grid stays crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mosaikon"));
    mosaikon::frmEditIcon window;
    window.show();
    return QApplication::exec();
}
