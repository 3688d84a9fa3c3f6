// The bitmap-to-icon conversion Save Icon and the exports use: 32 × 32, exactly the pure-white
// pixels clear.
#include <gtest/gtest.h>

#include "IconConversion.h"

namespace mosaikon {
namespace {

Picture filled(int width, int height, Pixel pixel) {
    return Picture::fromPixels(PictureKind::Bitmap, width, height,
                               std::vector<Pixel>(static_cast<std::size_t>(width * height), pixel));
}

TEST(IconConversion, ExactlyPureWhiteBecomesClearWhateverTheSourceOpacity) {
    const Colour nearWhite = Colour::fromRgb(254, 255, 255);
    const Colour red = Colour::fromRgb(255, 0, 0);
    struct Case {
        Pixel source;
        Pixel expected;
    };
    const Case cases[] = {
        {opaquePixel(colours::kWhite), makePixel(colours::kWhite, 0)},
        {makePixel(colours::kWhite, 0), makePixel(colours::kWhite, 0)},
        {opaquePixel(nearWhite), opaquePixel(nearWhite)},
        {makePixel(red, 128), opaquePixel(red)},  // the source's opacity does not count
        {0, opaquePixel(colours::kBlack)},        // clear black is black
    };
    for (const Case& c : cases) {
        const Picture icon = iconWithWhiteTransparent(filled(32, 32, c.source));
        ASSERT_EQ(icon.kind(), PictureKind::Icon);
        EXPECT_EQ(icon.pixelAt(5, 7), c.expected) << std::hex << c.source;
    }
    EXPECT_TRUE(iconWithWhiteTransparent(Picture{}).isEmpty());
}

TEST(IconConversion, OtherSizesAreBroughtTo32ByCentreSampling) {
    // Every source pixel tells where it is: red its column, green its row.
    const auto placed = [](int width, int height) {
        std::vector<Pixel> pixels;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(x),
                                                             static_cast<std::uint8_t>(y), 9)));
            }
        }
        return Picture::fromPixels(PictureKind::Bitmap, width, height, std::move(pixels));
    };
    struct Case {
        int width, height;  // of the source
        int x, y;           // in the icon
        int sourceX, sourceY;
    };
    const Case cases[] = {
        {64, 16, 0, 0, 1, 0},    {64, 16, 31, 31, 63, 15}, {64, 16, 10, 20, 21, 10},
        {3, 3, 10, 10, 0, 0},    {3, 3, 11, 11, 1, 1},     {3, 3, 20, 21, 1, 2},
        {200, 7, 31, 0, 196, 0},
    };
    for (const Case& c : cases) {
        const Picture icon = iconWithWhiteTransparent(placed(c.width, c.height));
        ASSERT_EQ(icon.width(), 32);
        ASSERT_EQ(icon.height(), 32);
        EXPECT_EQ(icon.pixelAt(c.x, c.y),
                  opaquePixel(Colour::fromRgb(static_cast<std::uint8_t>(c.sourceX),
                                              static_cast<std::uint8_t>(c.sourceY), 9)))
            << c.width << "×" << c.height << " at " << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace mosaikon
