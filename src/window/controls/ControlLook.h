#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "Colour.h"

class QWidget;

namespace mosaikon {

// The colour a label or surface shows for `colour`: system colour references resolved now.
QColor toQColor(Colour colour);

// Fills the widget's background with `colour`, resolved.
void setBackColor(QWidget* widget, Colour colour);
void setForeColor(QWidget* widget, Colour colour);
// The background colour the widget shows.
QColor backColor(const QWidget* widget);

enum class Weight { Regular, Bold, Black };
enum class Underline { No, Yes };

// A font asked for by family name, sized in points at 96 dots per inch and set in whole pixels,
// so that text takes the same room in the fixed-size window on every display.
QFont layoutFont(const QString& family, double points, Weight weight = Weight::Regular,
                 Underline underline = Underline::No);

}  // namespace mosaikon
