#include "controls/PictureImage.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace mosaikon {

QImage pictureImage(const Picture& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_ARGB32);
    if (picture.isEmpty()) {
        return image;
    }
    std::vector<int> columns(static_cast<std::size_t>(picture.width()));
    std::iota(columns.begin(), columns.end(), 0);
    std::vector<Pixel> row(columns.size());
    for (int y = 0; y < picture.height(); ++y) {
        picture.source()->sampleRow(y, columns, row);  // a row at a time, not a pixel
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::transform(row.begin(), row.end(), line, swapRedBlue);
    }
    return image;
}

}  // namespace mosaikon
