#include "png/PngFileReader.h"

#include <cstdint>
#include <vector>

#include "png/PngImage.h"

namespace mosaikon {

namespace {

// The largest PNG file read whole: a 4096 × 4096 image of 16-bit RGBA stored without any
// compression takes 128 MiB, so no PNG the decoder accepts is larger than this.
constexpr std::uint64_t kMaxPngFileBytes = 160u * 1024u * 1024u;
constexpr int kIconEdge = 32;

// The pixel as it shows over white, fully opaque.
Pixel overWhite(Pixel pixel) {
    const std::uint32_t alpha = pixelAlpha(pixel);
    const std::uint32_t colour = pixelColour(pixel).value();
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t channel = (colour >> shift) & 0xFFu;
        const std::uint32_t mixed = (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
        result |= mixed << shift;
    }
    return 0xFF000000u | result;
}

}  // namespace

Picture readPngFile(ByteSource& source) {
    const std::vector<std::uint8_t> bytes =
        readRange(source, 0, source.size(), kMaxPngFileBytes, "the PNG image");
    DecodedPng png = decodePng(bytes, source.name());
    const PictureKind kind =
        png.width == kIconEdge && png.height == kIconEdge ? PictureKind::Icon : PictureKind::Bitmap;
    if (kind == PictureKind::Bitmap) {
        for (Pixel& pixel : png.pixels) {
            pixel = overWhite(pixel);
        }
    }
    return Picture::fromPixels(kind, png.width, png.height, std::move(png.pixels));
}

}  // namespace mosaikon
