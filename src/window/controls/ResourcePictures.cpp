#include "controls/ResourcePictures.h"

#include <QFile>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "PictureFiles.h"
#include "controls/PictureImage.h"

namespace mosaikon {

namespace {

QString resourcePath(const QString& name) { return QStringLiteral(":/%1.png").arg(name); }

// Decoded with the editor's own PNG reader: Qt's image reader loads and asks every image
// plug-in even when told the format.
QImage decodeResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const std::span<const std::uint8_t> png(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()),
        static_cast<std::size_t>(bytes.size()));
    const Picture picture = pictureFromPng(png, path.toStdString());
    return pictureImage(picture);
}

QString scaledName(const QString& name, int scale) {
    return scale == 1 ? name : name + QStringLiteral("@%1x").arg(scale);
}

// The scale of the drawing of `name` to show at `devicePixelRatio`: the one it calls for, or
// the largest below that the name has.
int drawnScale(const QString& name, qreal devicePixelRatio) {
    int scale = pictureScale(devicePixelRatio);
    while (scale > 1 && !QFile::exists(resourcePath(scaledName(name, scale)))) {
        --scale;
    }
    return scale;
}

}  // namespace

int pictureScale(qreal devicePixelRatio) {
    return std::clamp(static_cast<int>(std::ceil(devicePixelRatio - 1e-6)), 1,
                      kLargestPictureScale);
}

QPixmap resourcePixmap(const QString& name) {
    return QPixmap::fromImage(decodeResource(resourcePath(name)));
}

QPixmap resourcePixmap(const QString& name, qreal devicePixelRatio) {
    const int scale = drawnScale(name, devicePixelRatio);
    QPixmap pixmap = resourcePixmap(scaledName(name, scale));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon resourceIcon(const QString& name, qreal devicePixelRatio) {
    QIcon icon;
    icon.addPixmap(resourcePixmap(name));
    // QIcon tells its pictures apart by their size in device pixels.
    if (const int scale = drawnScale(name, devicePixelRatio); scale > 1) {
        icon.addPixmap(resourcePixmap(scaledName(name, scale)));
    }
    return icon;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addPixmap(resourcePixmap(QStringLiteral("icons/mosaikon-%1").arg(size)));
    }
    return icon;
}

}  // namespace mosaikon
