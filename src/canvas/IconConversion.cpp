#include "IconConversion.h"

#include <vector>

namespace mosaikon {

namespace {
constexpr int kIconEdge = 32;
}

Picture iconWithWhiteTransparent(const Picture& bitmap) {
    if (bitmap.isEmpty()) {
        return {};
    }
    std::vector<int> columns(kIconEdge);
    for (int o = 0; o < kIconEdge; ++o) {
        // The centre of destination pixel o, mapped into the source: the same rule as drawing.
        columns[static_cast<std::size_t>(o)] =
            static_cast<int>((2LL * o + 1) * bitmap.width() / (2LL * kIconEdge));
    }
    std::vector<Pixel> pixels(kIconEdge * kIconEdge);
    for (int y = 0; y < kIconEdge; ++y) {
        const int row = static_cast<int>((2LL * y + 1) * bitmap.height() / (2LL * kIconEdge));
        const std::span<Pixel> out(pixels.data() + y * kIconEdge, kIconEdge);
        bitmap.source()->sampleRow(row, columns, out);
        for (Pixel& p : out) {
            const Colour colour = pixelColour(p);
            p = colour == colours::kWhite ? makePixel(colour, 0) : opaquePixel(colour);
        }
    }
    return Picture::fromPixels(PictureKind::Icon, kIconEdge, kIconEdge, std::move(pixels));
}

}  // namespace mosaikon
