// The exported sizes of a 32 × 32 icon, pixel by pixel.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "IconScaling.h"
#include "PatternIcon.h"

namespace mosaikon {
namespace {

using test::kBlue;
using test::kClear;
using test::kRed;
using test::patternIcon;

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
