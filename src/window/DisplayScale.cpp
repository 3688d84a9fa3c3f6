#include "DisplayScale.h"

#include <algorithm>
#include <cmath>

namespace mosaikon {

QByteArray wholeScaleFactor(const QByteArray& requested) {
    bool ok = false;
    const double factor = requested.trimmed().toDouble(&ok);
    if (!ok || !(factor > 0.0) || !std::isfinite(factor)) {
        return requested;
    }
    const double whole = std::max(1.0, std::round(factor));
    return whole == factor ? requested : QByteArray::number(static_cast<int>(whole));
}

}  // namespace mosaikon
