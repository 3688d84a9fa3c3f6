// Start-up, the grid, and the two copies between the icon surface and the view.
#include <gtest/gtest.h>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

const IconPixels kAllWhite(32 * 32, kWhite);

TEST(StartUpTest, LeavesAnEmptyGridBlackPaintAndThePaintTool) {
    std::vector<std::string> order;
    IconCanvas canvas;
    canvas.Form_Load([&] {
        EXPECT_EQ(canvas.state.CellSize, 10) << "the record is set before the swatches";
        EXPECT_EQ(canvas.LargePicture.pixel(0, 0), colours::kWhite) << "the grid comes after";
        order.push_back("swatches");
    });
    EXPECT_EQ(order.size(), 1u);
    EXPECT_TRUE(viewIs(canvas, gridViewOf(kAllWhite)));
    EXPECT_TRUE(iconIs(canvas, kAllWhite));
    EXPECT_EQ(canvas.state.CurrentColor, colours::kBlack);
    EXPECT_EQ(canvas.state.IconSize, 32);
    EXPECT_EQ(canvas.state.CellSize, 10);
    EXPECT_EQ(canvas.state.CellFill, 9);
    EXPECT_TRUE(canvas.state.Snapshot.isEmpty());
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 99);
    EXPECT_EQ(canvas.LargePicture.ScaleWidth(), 319.0);
    EXPECT_EQ(canvas.SmallPicture.ScaleHeight(), 32.0);

    int blackRows = 0;
    for (int y = 0; y < 319; ++y) {
        blackRows += canvas.LargePicture.pixel(5, y) == colours::kBlack ? 1 : 0;
    }
    EXPECT_EQ(blackRows, 32);
}

TEST(DrawGridTest, RestoresEveryLineAndKeepsEveryInterior) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture.Line(0, 0, 318, 318, Colour(kRed), LineShape::FilledBox);
    canvas.state.CellSize = 3;
    std::int16_t size = 7;
    canvas.DrawGrid(size, colours::kBlack);
    EXPECT_EQ(size, 32);
    EXPECT_EQ(canvas.state.CellSize, 10);
    EXPECT_EQ(canvas.state.CellFill, 9);
    const std::vector<std::uint32_t> once = canvas.LargePicture.pixels();
    EXPECT_EQ(once, gridViewOf(IconPixels(32 * 32, kRed)));
    canvas.DrawGrid();
    EXPECT_EQ(canvas.LargePicture.pixels(), once) << "drawing the grid twice changes nothing";
}

TEST(DrawGridTest, ABlackCellLooksLikeTheGridAroundIt) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture_MouseDown(1, 0, 15, 15);
    for (int x = 10; x <= 20; ++x) {
        for (int y = 10; y <= 20; ++y) {
            EXPECT_EQ(canvas.LargePicture.pixel(x, y), colours::kBlack) << x << "," << y;
        }
    }
}

TEST(CopyTest, RebuildOfAOneColourIconFramesEveryCell) {
    IconCanvas canvas = startedCanvas();
    const IconPixels red(32 * 32, kRed);
    loadIcon(canvas, red);
    EXPECT_TRUE(viewIs(canvas, gridViewOf(red)));
}

TEST(CopyTest, RebuildReplacesEverythingAndReadBackGivesTheIconBack) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture.Line(0, 0, 318, 318, Colour(kBlue), LineShape::FilledBox);
    const IconPixels icon = distinctIcon();
    loadIcon(canvas, icon);
    EXPECT_TRUE(viewIs(canvas, gridViewOf(icon)));
    canvas.SmallPicture.setPicture(Picture{});
    canvas.readBackIcon();
    EXPECT_TRUE(iconIs(canvas, icon)) << "the read-back never lands on a grid line";
    EXPECT_TRUE(viewIs(canvas, gridViewOf(icon))) << "the read-back leaves the view alone";
}

}  // namespace
}  // namespace mosaikon
