#include "controls/PictureImage.h"

namespace mosaikon {

QImage pictureImage(const Picture& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const Pixel pixel = picture.pixelAt(x, y);
            const std::uint32_t bgr = pixelColour(pixel).value();
            line[x] = qRgba(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                            static_cast<int>((bgr >> 16) & 0xFF), pixelAlpha(pixel));
        }
    }
    return image;
}

}  // namespace mosaikon
