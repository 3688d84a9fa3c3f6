#pragma once

#include <QByteArray>

namespace mosaikon {

// Every screen gets a whole number of device pixels per surface pixel, so that grid lines keep
// one width and cells one size at every display scale, whatever the environment asks for. Qt
// rounds the screens' own factors by the program's rounding policy unless the environment
// names another policy, and takes the global factor and any per-screen factors from the
// environment as they are: this settles all of them. Call it before the application object is
// made.
void useWholeDisplayScales();

// The value to use for a requested scale factor (Qt's QT_SCALE_FACTOR): the nearest whole
// factor, at least 1. Anything that is not a positive number comes back unchanged, for Qt to
// judge.
QByteArray wholeScaleFactor(const QByteArray& requested);

// The same for each factor of a per-screen list (Qt's QT_SCREEN_SCALE_FACTORS: factors, or
// screen=factor pairs, separated by semicolons).
QByteArray wholeScreenScaleFactors(const QByteArray& requested);

}  // namespace mosaikon
