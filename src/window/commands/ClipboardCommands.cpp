#include "commands/ClipboardCommands.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include "IconConversion.h"
#include "controls/PictureImage.h"
#include "mainwindow/FailureMessage.h"

namespace mosaikon {

QImage iconImage(const IconCanvas& canvas) { return imageOf(canvas.opacity.picture()); }

QImage imageOf(const Picture& picture) {
    return pictureImage(picture.kind() == PictureKind::Icon ? picture
                                                            : iconWithWhiteTransparent(picture));
}

namespace {

// The top-left `width` × `height` of `image` as a picture, with its opacity when it has any.
Picture pictureOf(const QImage& image, int width, int height) {
    const QImage part = image.copy(0, 0, width, height).convertToFormat(QImage::Format_ARGB32);
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            pixels.push_back(swapRedBlue(line[x]));
        }
    }
    const PictureKind kind = image.hasAlphaChannel() ? PictureKind::Icon : PictureKind::Bitmap;
    return Picture::fromPixels(kind, width, height, std::move(pixels));
}

QImage clipboardImage() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage()) {
        return {};
    }
    return qvariant_cast<QImage>(data->imageData());
}

}  // namespace

void copyIconToClipboard(const IconCanvas& canvas) {
    QGuiApplication::clipboard()->setImage(iconImage(canvas));
}

void copyPictureToClipboard(const Picture& picture) {
    if (!picture.isEmpty()) {
        QGuiApplication::clipboard()->setImage(imageOf(picture));
    }
}

Picture floatingPictureFromClipboard() {
    QImage image = clipboardImage();
    if (image.isNull()) {
        throw RefusedCommand(QCoreApplication::translate("ClipboardCommands",
                                                         "The clipboard holds no image to paste."));
    }
    constexpr int edge = IconCanvas::kIconEdge;
    if (image.width() > edge || image.height() > edge) {
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pictureOf(image, image.width(), image.height());
}

}  // namespace mosaikon
