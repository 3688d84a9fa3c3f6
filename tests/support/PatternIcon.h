// A 32 × 32 icon whose exported sizes the scaling and export tests check pixel by pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "Colour.h"
#include "Picture.h"

namespace mosaikon::test {

inline constexpr Pixel kClear = 0;
inline const Pixel kRed = opaquePixel(Colour::fromRgb(255, 0, 0));
inline const Pixel kBlue = opaquePixel(Colour::fromRgb(0, 0, 255));

// Every pixel its own colour, with clear pixels where a pure-white one would be saved clear.
inline Picture patternIcon() {
    std::vector<Pixel> pixels(32 * 32);
    for (std::size_t y = 0; y < 32; ++y) {
        for (std::size_t x = 0; x < 32; ++x) {
            pixels[y * 32 + x] = opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x * 8),
                                                             static_cast<std::uint8_t>(y * 8), 77));
        }
    }
    pixels[0] = kClear;
    pixels[32 * 32 - 1] = kClear;
    // 2 × 2 blocks of clear and coloured pixels, which the 16-pixel size mixes.
    pixels[2] = kRed;
    pixels[3] = kClear;
    pixels[32 + 2] = kBlue;
    pixels[32 + 3] = kClear;
    pixels[4] = kClear;
    pixels[5] = kClear;
    pixels[32 + 4] = kClear;
    pixels[32 + 5] = kClear;
    pixels[6] = kRed;
    pixels[7] = kRed;
    pixels[32 + 6] = kRed;
    pixels[32 + 7] = kClear;
    return Picture::fromPixels(PictureKind::Icon, 32, 32, std::move(pixels));
}

}  // namespace mosaikon::test
