#pragma once

#include <QByteArray>

namespace mosaikon {

// The value to use for a requested global scale factor (Qt's QT_SCALE_FACTOR): the nearest
// whole factor, at least 1, so that every surface pixel covers the same whole number of device
// pixels and grid lines keep one width. The screens' own factors are rounded by Qt's rounding
// policy; this does the same for the global one. Anything that is not a positive number comes
// back unchanged, for Qt to judge.
QByteArray wholeScaleFactor(const QByteArray& requested);

}  // namespace mosaikon
