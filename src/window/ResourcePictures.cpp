#include "ResourcePictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <span>

#include "PngImage.h"

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
    const PngSize size = readPngSize(png, path.toStdString());
    const std::vector<Pixel> pixels = decodePng(png, path.toStdString());
    QImage image(size.width, size.height, QImage::Format_ARGB32);
    for (int y = 0; y < size.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width; ++x) {
            const Pixel p =
                pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                       static_cast<std::size_t>(x)];
            const Colour colour = pixelColour(p);
            line[x] = qRgba(colour.red(), colour.green(), colour.blue(), pixelAlpha(p));
        }
    }
    return image;
}

}  // namespace

QPixmap resourcePixmap(const QString& name) {
    return QPixmap::fromImage(decodeResource(resourcePath(name)));
}

QIcon resourceIcon(const QString& name) {
    QIcon icon;
    icon.addPixmap(resourcePixmap(name));
    // The twice-size picture is only decoded for a display that will show it.
    const QString twice = name + QStringLiteral("@2x");
    if (qApp->devicePixelRatio() > 1.0 && QFile::exists(resourcePath(twice))) {
        icon.addPixmap(resourcePixmap(twice));
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
