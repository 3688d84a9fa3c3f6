// The Change tool: replace one colour throughout the icon.
#include <gtest/gtest.h>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

// Red in a diagonal band, black in the corner, white elsewhere.
IconPixels mixedIcon() {
    return iconFrom([](int x, int y) {
        if (x == 0 && y == 0) return kBlack;
        return (x + y) % 5 == 0 ? kRed : kWhite;
    });
}

IconPixels replaced(IconPixels icon, std::uint32_t from, std::uint32_t to) {
    for (auto& pixel : icon) {
        if (pixel == from) pixel = to;
    }
    return icon;
}

IconCanvas changeToolOn(const IconPixels& icon, Colour current) {
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, icon);
    canvas.state.CurrentColor = current;
    canvas.LargePicture.setMousePointer(pointers::kUpArrow);
    return canvas;
}

TEST(ChangeToolTest, SecondaryPressReplacesTheColourRebuildsAndReturnsToPaint) {
    const IconPixels icon = mixedIcon();
    IconCanvas canvas = changeToolOn(icon, Colour(kBlue));
    canvas.LargePicture_MouseDown(2, 0, 55, 5);  // cell (5, 0) is red
    const IconPixels expected = replaced(icon, kRed, kBlue);
    EXPECT_TRUE(iconIs(canvas, expected));
    EXPECT_TRUE(viewIs(canvas, gridViewOf(expected)));
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 99);
    EXPECT_EQ(canvas.state.TargetColor.value(), kRed);
    ASSERT_FALSE(canvas.state.Snapshot.isEmpty());
    EXPECT_EQ(canvas.state.Snapshot.pixelAt(5, 0) & 0xFFFFFFu, kBlue)
        << "the snapshot is the new icon";
}

TEST(ChangeToolTest, PressOnTheCurrentColourChangesNothingAndKeepsTheTool) {
    const IconPixels icon = mixedIcon();
    IconCanvas canvas = changeToolOn(icon, Colour(kRed));
    const auto viewBefore = canvas.LargePicture.pixels();
    canvas.LargePicture_MouseDown(1, 0, 55, 5);
    EXPECT_TRUE(iconIs(canvas, icon));
    EXPECT_EQ(canvas.LargePicture.pixels(), viewBefore);
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 10);
    EXPECT_TRUE(canvas.state.Snapshot.isEmpty());
    // A drag with the primary button paints even while the Change tool is active.
    canvas.LargePicture_MouseMove(1, 0, 15, 15);
    EXPECT_EQ(canvas.SmallPicture.pixel(1, 1).value(), kRed);
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 10);
}

TEST(ChangeToolTest, PressOnAGridLineReplacesBlack) {
    const IconPixels icon = mixedIcon();
    IconCanvas canvas = changeToolOn(icon, Colour(kBlue));
    canvas.LargePicture_MouseDown(1, 0, 40, 47);
    EXPECT_EQ(canvas.state.TargetColor, colours::kBlack);
    EXPECT_TRUE(iconIs(canvas, replaced(icon, kBlack, kBlue)));
}

TEST(ChangeToolTest, SystemColourReferenceAlwaysReplaces) {
    const IconPixels icon = mixedIcon();
    // White resolves to the same value as the reference, yet the replacement still runs and
    // the view is rebuilt, handing back to the Paint tool.
    IconCanvas canvas = changeToolOn(icon, Colour(0x80000005u));
    canvas.LargePicture_MouseDown(1, 0, 15, 5);
    EXPECT_TRUE(iconIs(canvas, icon));
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 99);

    IconCanvas other = changeToolOn(icon, Colour(0x80000001u));
    other.LargePicture_MouseDown(1, 0, 55, 5);
    EXPECT_TRUE(iconIs(other, replaced(icon, kRed, 0x00808000)));
}

}  // namespace
}  // namespace mosaikon
