#include "controls/ControlLook.h"

#include <QPalette>
#include <QWidget>
#include <cmath>

namespace mosaikon {

QColor toQColor(Colour colour) {
    const Colour plain = colour.resolved();
    return {plain.red(), plain.green(), plain.blue()};
}

void setBackColor(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeColor(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    widget->setPalette(palette);
}

QColor backColor(const QWidget* widget) { return widget->palette().color(QPalette::Window); }

QFont layoutFont(const QString& family, double points, Weight weight, Underline underline) {
    constexpr double kPixelsPerPoint = 96.0 / 72.0;
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * kPixelsPerPoint)));
    switch (weight) {
        case Weight::Regular:
            font.setWeight(QFont::Normal);
            break;
        case Weight::Bold:
            font.setWeight(QFont::Bold);
            break;
        case Weight::Black:
            font.setWeight(QFont::Black);
            break;
    }
    font.setUnderline(underline == Underline::Yes);
    return font;
}

}  // namespace mosaikon
