#include "IconScaling.h"

#include <stdexcept>
#include <vector>

namespace mosaikon {

namespace {

constexpr int kSourceSide = 32;

// The place of pixel (x, y) in the rows of a picture `side` pixels wide.
std::size_t indexOf(int x, int y, int side) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(side) +
           static_cast<std::size_t>(x);
}

// Nearest neighbour: the destination pixel (x, y) takes the source pixel sourceOf(x), sourceOf(y).
template <typename SourceOf>
std::vector<Pixel> resample(const std::vector<Pixel>& source, int side, SourceOf sourceOf) {
    std::vector<Pixel> out(indexOf(0, side, side));
    for (int y = 0; y < side; ++y) {
        const int sy = sourceOf(y);
        for (int x = 0; x < side; ++x) {
            out[indexOf(x, y, side)] = source[indexOf(sourceOf(x), sy, kSourceSide)];
        }
    }
    return out;
}

// Each 2 × 2 block becomes one pixel; see the header for the weighting.
std::vector<Pixel> halve(const std::vector<Pixel>& source) {
    constexpr int side = kSourceSide / 2;
    std::vector<Pixel> out(indexOf(0, side, side));
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            unsigned alphaSum = 0;
            unsigned red = 0;
            unsigned green = 0;
            unsigned blue = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const Pixel p = source[indexOf(2 * x + dx, 2 * y + dy, kSourceSide)];
                    const unsigned a = pixelAlpha(p);
                    const Colour c = pixelColour(p);
                    alphaSum += a;
                    red += c.red() * a;
                    green += c.green() * a;
                    blue += c.blue() * a;
                }
            }
            Pixel result = 0;  // four clear pixels: clear, colour 0
            if (alphaSum > 0) {
                // Rounded to nearest, halves up.
                const auto mean = [alphaSum](unsigned weighted) {
                    return static_cast<std::uint8_t>((weighted + alphaSum / 2) / alphaSum);
                };
                result = makePixel(Colour::fromRgb(mean(red), mean(green), mean(blue)),
                                   static_cast<std::uint8_t>((alphaSum + 2) / 4));
            }
            out[indexOf(x, y, side)] = result;
        }
    }
    return out;
}

}  // namespace

Picture iconAtSide(const Picture& icon, int side) {
    if (icon.isEmpty() || icon.width() != kSourceSide || icon.height() != kSourceSide) {
        throw std::invalid_argument("iconAtSide needs a 32 × 32 icon");
    }
    const std::vector<Pixel> source = icon.allPixels();
    std::vector<Pixel> pixels;
    switch (side) {
        case 16:
            pixels = halve(source);
            break;
        case 32:
            pixels = source;
            break;
        case 48:
            // Destination columns 3k and 3k + 1 show source column 2k; 3k + 2 shows 2k + 1.
            pixels = resample(source, side, [](int d) { return d / 3 * 2 + (d % 3 == 2 ? 1 : 0); });
            break;
        case 64:
        case 128:
        case 256: {
            const int factor = side / kSourceSide;
            pixels = resample(source, side, [factor](int d) { return d / factor; });
            break;
        }
        default:
            throw std::invalid_argument("iconAtSide: no such exported size");
    }
    return Picture::fromPixels(PictureKind::Icon, side, side, std::move(pixels));
}

}  // namespace mosaikon
