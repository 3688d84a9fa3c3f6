// The Paint tool: presses and drags on the magnified view.
#include <gtest/gtest.h>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

const IconPixels kAllWhite(32 * 32, kWhite);

// The view and icon expected after painting the listed cells black on a fresh canvas.
struct Painted {
    IconPixels icon = IconPixels(32 * 32, kWhite);
    std::vector<std::uint32_t> view = gridViewOf(IconPixels(32 * 32, kWhite));

    void cell(int column, int row, std::uint32_t colour = kBlack) {
        icon[static_cast<std::size_t>(row * 32 + column)] = colour;
        for (int y = 10 * row + 1; y <= std::min(10 * row + 9, 318); ++y) {
            for (int x = 10 * column + 1; x <= std::min(10 * column + 9, 318); ++x) {
                view[static_cast<std::size_t>(y * 319 + x)] = colour;
            }
        }
    }
};

void expectCanvas(const IconCanvas& canvas, const Painted& expected) {
    EXPECT_TRUE(iconIs(canvas, expected.icon));
    EXPECT_TRUE(viewIs(canvas, expected.view));
}

TEST(PaintToolTest, PressPaintsTheCellInteriorAndTheIconPixel) {
    IconCanvas canvas = startedCanvas();
    canvas.state.CurrentColor = Colour(kRed);
    canvas.LargePicture_MouseDown(1, 0, 15, 25);
    Painted expected;
    expected.cell(1, 2, kRed);
    expectCanvas(canvas, expected);
    EXPECT_EQ(canvas.LargePicture.pixel(11, 21).value(), kRed);
    EXPECT_EQ(canvas.LargePicture.pixel(19, 29).value(), kRed);
    EXPECT_EQ(canvas.LargePicture.pixel(20, 29), colours::kBlack);
}

TEST(PaintToolTest, LastCellIsCutByTheDrawingArea) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture_MouseDown(1, 0, 318, 318);
    Painted expected;
    expected.cell(31, 31);
    expectCanvas(canvas, expected);
}

TEST(PaintToolTest, PositionsOnGridLinesOrOutsidePaintNothing) {
    const std::pair<float, float> positions[] = {{10, 15},  {15, 30},  {0, 15},  {15, 310},
                                                 {320, 15}, {15, 320}, {-3, 15}, {15, -0.5f}};
    for (const auto& [x, y] : positions) {
        IconCanvas canvas = startedCanvas();
        canvas.LargePicture_MouseDown(1, 0, x, y);
        canvas.LargePicture_MouseMove(1, 0, x, y);
        expectCanvas(canvas, Painted{});
    }
}

TEST(PaintToolTest, SecondaryAndMiddlePressesPaintNothing) {
    for (int button : {2, 4}) {
        IconCanvas canvas = startedCanvas();
        canvas.LargePicture_MouseDown(static_cast<std::int16_t>(button), 0, 15, 15);
        expectCanvas(canvas, Painted{});
    }
}

TEST(PaintToolTest, DragPaintsTheCellUnderEachMoveOnly) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture_MouseDown(1, 0, 15, 15);
    canvas.LargePicture_MouseMove(1, 0, 35, 15);  // the cell at column 2; column 1 skipped
    canvas.LargePicture_MouseMove(1, 0, 55, 57);
    canvas.LargePicture_MouseMove(3, 0, 75, 75);  // both buttons held: nothing
    canvas.LargePicture_MouseMove(0, 0, 95, 95);  // no button: nothing
    Painted expected;
    expected.cell(1, 1);
    expected.cell(3, 1);
    expected.cell(5, 5);
    expectCanvas(canvas, expected);
}

TEST(PaintToolTest, MoveJustPastTheRightEdgeStillHitsTheLastCell) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture_MouseMove(1, 0, 319, 45);
    Painted expected;
    expected.cell(31, 4);
    expectCanvas(canvas, expected);
}

TEST(PaintToolTest, SystemColourPaintsItsResolvedValue) {
    IconCanvas canvas = startedCanvas();
    canvas.state.CurrentColor = Colour(0x80000018u);
    canvas.LargePicture_MouseDown(1, 0, 5, 5);
    Painted expected;
    expected.cell(0, 0, 0x00E1FFFF);
    expectCanvas(canvas, expected);
}

}  // namespace
}  // namespace mosaikon
