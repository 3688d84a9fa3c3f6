// The exported sizes of a 32 × 32 icon, pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "IconScaling.h"

namespace mosaikon {
namespace {

constexpr Pixel kClear = 0;
const Pixel kRed = opaquePixel(Colour::fromRgb(255, 0, 0));
const Pixel kBlue = opaquePixel(Colour::fromRgb(0, 0, 255));

// Every pixel its own colour, with clear pixels where a pure-white one would be saved clear.
Picture patternIcon() {
    std::vector<Pixel> pixels(32 * 32);
    for (std::size_t y = 0; y < 32; ++y) {
        for (std::size_t x = 0; x < 32; ++x) {
            pixels[y * 32 + x] = opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x * 8),
                                                             static_cast<std::uint8_t>(y * 8), 77));
        }
    }
    pixels[0] = kClear;
    pixels[32 * 32 - 1] = kClear;
    // The 2 × 2 blocks whose halving the table below checks.
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

TEST(IconScaling, EachSideHasTheExpectedPixelsAtNamedPlaces) {
    const Picture icon = patternIcon();
    const auto at = [&icon](int x, int y) { return icon.pixelAt(x, y); };
    struct Case {
        int side;
        int x, y;
        Pixel expected;
    };
    const Case cases[] = {
        // Halving: clear pixels lend no colour, opacity is the mean (halves round up).
        {16, 1, 0, makePixel(Colour::fromRgb(128, 0, 128), 128)},  // red, blue and two clear
        {16, 2, 0, kClear},                                        // four clear
        {16, 3, 0, makePixel(Colour::fromRgb(255, 0, 0), 191)},    // three red, one clear
        {16, 0, 0, makePixel(Colour::fromRgb(5, 5, 77), 191)},     // (0,8),(8,0),(8,8) opaque
        {16, 15, 15, makePixel(Colour::fromRgb(243, 243, 77), 191)},
        {16, 7, 9, makePixel(Colour::fromRgb(116, 148, 77), 255)},  // four opaque: the mean
        // The icon itself.
        {32, 9, 17, at(9, 17)},
        // Pixel doubling and its larger kin.
        {64, 0, 0, kClear},
        {64, 19, 34, at(9, 17)},
        {64, 63, 62, kClear},
        {128, 39, 71, at(9, 17)},
        {256, 79, 143, at(9, 17)},
        {256, 72, 136, at(9, 17)},
        // 1.5 times: of every two source pixels the first fills two places, the second one.
        {48, 0, 0, kClear},
        {48, 1, 1, kClear},
        {48, 2, 0, at(1, 0)},
        {48, 3, 4, at(2, 2)},
        {48, 5, 5, at(3, 3)},
        {48, 47, 47, kClear},
        {48, 46, 45, at(30, 30)},
        {48, 47, 45, at(31, 30)},
    };
    for (const Case& c : cases) {
        const Picture sized = iconAtSide(icon, c.side);
        ASSERT_EQ(sized.width(), c.side);
        ASSERT_EQ(sized.height(), c.side);
        EXPECT_EQ(sized.pixelAt(c.x, c.y), c.expected)
            << c.side << " at " << c.x << "," << c.y << ": " << std::hex << sized.pixelAt(c.x, c.y);
    }
}

TEST(IconScaling, FortyEightKeepsEverySourcePixelAsOneHardBlockWithNoNewColours) {
    const Picture icon = patternIcon();
    const Picture sized = iconAtSide(icon, 48);
    const std::vector<Pixel> source = icon.allPixels();
    const std::set<Pixel> colours(source.begin(), source.end());
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            EXPECT_TRUE(colours.count(sized.pixelAt(x, y))) << x << "," << y;
        }
    }
    // Each source column fills 2, 1, 2, 1, … destination columns, in order.
    int column = 0;
    for (int sx = 0; sx < 32; ++sx) {
        const int width = sx % 2 == 0 ? 2 : 1;
        for (int k = 0; k < width; ++k, ++column) {
            EXPECT_EQ(sized.pixelAt(column, 10), icon.pixelAt(sx, 6)) << sx;
        }
    }
    EXPECT_EQ(column, 48);
}

TEST(IconScaling, OnlyA32By32IconAndTheListedSidesAreDrawn) {
    const Picture icon = patternIcon();
    EXPECT_THROW(iconAtSide(icon, 24), std::invalid_argument);
    EXPECT_THROW(iconAtSide(Picture{}, 16), std::invalid_argument);
    const Picture wide =
        Picture::fromPixels(PictureKind::Icon, 64, 32, std::vector<Pixel>(64 * 32));
    EXPECT_THROW(iconAtSide(wide, 16), std::invalid_argument);
    for (const int side : kIconScalingSides) {
        EXPECT_EQ(iconAtSide(icon, side).kind(), PictureKind::Icon) << side;
    }
}

}  // namespace
}  // namespace mosaikon
