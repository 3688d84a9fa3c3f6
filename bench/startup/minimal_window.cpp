// The yardstick for start-up: a Qt Widgets window of the editor's size showing only its
// background colour.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(689, 433);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.show();
    return QApplication::exec();
}
