#include "platform/DisplayScale.h"

#include <QGuiApplication>
#include <QList>
#include <algorithm>
#include <cmath>

namespace mosaikon {

namespace {

constexpr char kScaleFactor[] = "QT_SCALE_FACTOR";
constexpr char kScreenScaleFactors[] = "QT_SCREEN_SCALE_FACTORS";
constexpr char kRoundingPolicy[] = "QT_SCALE_FACTOR_ROUNDING_POLICY";

}  // namespace

QByteArray wholeScaleFactor(const QByteArray& requested) {
    bool ok = false;
    const double factor = requested.trimmed().toDouble(&ok);
    if (!ok || !(factor > 0.0) || !std::isfinite(factor)) {
        return requested;
    }
    const double whole = std::max(1.0, std::round(factor));
    return whole == factor ? requested : QByteArray::number(static_cast<int>(whole));
}

QByteArray wholeScreenScaleFactors(const QByteArray& requested) {
    QList<QByteArray> entries = requested.split(';');
    for (QByteArray& entry : entries) {
        const qsizetype equals = entry.indexOf('=');
        if (equals < 0) {
            entry = wholeScaleFactor(entry);
        } else {
            entry = entry.left(equals + 1) + wholeScaleFactor(entry.mid(equals + 1));
        }
    }
    return entries.join(';');
}

void useWholeDisplayScales() {
    // Qt lets a policy named in the environment override the program's own.
    qunsetenv(kRoundingPolicy);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (qEnvironmentVariableIsSet(kScaleFactor)) {
        qputenv(kScaleFactor, wholeScaleFactor(qgetenv(kScaleFactor)));
    }
    if (qEnvironmentVariableIsSet(kScreenScaleFactors)) {
        qputenv(kScreenScaleFactors, wholeScreenScaleFactors(qgetenv(kScreenScaleFactors)));
    }
}

}  // namespace mosaikon
