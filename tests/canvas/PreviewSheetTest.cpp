// The preview sheet: every view of the icon, on every background, blended as the icon's
// opacity says.
#include <gtest/gtest.h>

#include "IconScaling.h"
#include "OpacityPlane.h"
#include "PreviewSheet.h"

namespace mosaikon {
namespace {

// A half-transparent red top-left pixel, an opaque blue one beside it, the rest clear.
Picture softCorner() {
    std::vector<Pixel> pixels(32 * 32, kTransparentPixel);
    pixels[0] = makePixel(Colour(0x0000FF), 128);
    pixels[1] = opaquePixel(Colour(0xFF0000));
    return Picture::fromPixels(PictureKind::Icon, 32, 32, std::move(pixels));
}

std::uint32_t sheetAt(const PreviewSheet& sheet, PreviewBackground background, PreviewColumn column,
                      int x, int y) {
    const PixelArea area = PreviewSheet::areaOf(background, column);
    return sheet.sheet().pixel(area.left + x, area.top + y).value();
}

TEST(PreviewSheet, EveryViewOnEveryBackgroundBlendsTheIconOverThatBackground) {
    PreviewSheet sheet;
    const Picture icon = softCorner();
    sheet.draw(icon);
    const Picture side16 = iconAtSide(icon, 16);
    for (const PreviewBackground background : kPreviewBackgrounds) {
        SCOPED_TRACE(static_cast<int>(background));
        const std::uint32_t below = PreviewSheet::colourOf(background).value();
        const std::uint32_t red = blendPlain(below, 0x0000FF, 128);
        // Each pixel of the icon is a block as large as the view's scale.
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Actual, 0, 0), red);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Actual, 1, 0), 0xFF0000u);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Double, 1, 1), red);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Double, 2, 0), 0xFF0000u);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Quadruple, 3, 3), red);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Quadruple, 4, 3), 0xFF0000u);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Quadruple, 4, 4), below);
        // The tiles repeat the icon three times each way.
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Tiled, 64, 32), red);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Tiled, 65, 64), 0xFF0000u);
        // The small size is the exported one, its top-left pixel averaging the 2 × 2 block.
        const Pixel small = side16.pixelAt(0, 0);
        EXPECT_EQ(sheetAt(sheet, background, PreviewColumn::Side16, 0, 0),
                  blendPlain(below, small & 0xFFFFFFu, pixelAlpha(small)));
    }
}

TEST(PreviewSheet, TheCheckerboardShowsThroughClearPixelsAndTheGapsStayGrey) {
    PreviewSheet sheet;
    sheet.draw(softCorner());
    const auto at = [&](int x, int y) {
        return sheetAt(sheet, PreviewBackground::Checkerboard, PreviewColumn::Quadruple, x, y);
    };
    // Squares of 8 pixels, light at the top-left corner.
    EXPECT_EQ(at(16, 0), 0xFFFFFFu);
    EXPECT_EQ(at(8, 0), 0xCCCCCCu);
    EXPECT_EQ(at(0, 8), 0xCCCCCCu);
    EXPECT_EQ(at(8, 8), 0xFFFFFFu);
    EXPECT_EQ(at(127, 127), 0xFFFFFFu);
    EXPECT_EQ(at(112, 127), 0xCCCCCCu);
    EXPECT_EQ(sheet.sheet().pixel(0, 0), PreviewSheet::kGapColour);
    const PixelArea actual = PreviewSheet::areaOf(PreviewBackground::White, PreviewColumn::Actual);
    EXPECT_EQ(sheet.sheet().pixel(actual.right, actual.top), PreviewSheet::kGapColour);
}

TEST(PreviewSheet, DrawingAgainShowsOnlyTheNewIcon) {
    PreviewSheet sheet;
    sheet.draw(softCorner());
    OpacityPlane clear;
    sheet.draw(clear.picture());
    EXPECT_EQ(sheetAt(sheet, PreviewBackground::Black, PreviewColumn::Actual, 0, 0), 0u);
    EXPECT_EQ(sheetAt(sheet, PreviewBackground::Black, PreviewColumn::Tiled, 65, 64), 0u);
}

}  // namespace
}  // namespace mosaikon
