// Moves, flips, the quarter turn, clear and new, checked over both whole surfaces.
#include <gtest/gtest.h>

#include <algorithm>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

std::uint32_t at(const IconPixels& icon, int x, int y) {
    return icon[static_cast<std::size_t>(y * 32 + x)];
}

// Centre sampling: offset o of an |extent|-pixel paint takes source index ((2o +
// 1)·n)/(2·|extent|).
int sample(int offset, int size, int extent) { return ((2 * offset + 1) * size) / (2 * extent); }

// The view after the icon was painted at 319 × 319 with its corner at (dx, dy) over `before`,
// then the grid drawn: pixels outside the paint keep their old colour.
std::vector<std::uint32_t> shiftedView(const IconPixels& icon,
                                       const std::vector<std::uint32_t>& before, int dx, int dy) {
    std::vector<std::uint32_t> view = before;
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            const int ox = x - dx;
            const int oy = y - dy;
            if (ox >= 0 && ox < 319 && oy >= 0 && oy < 319) {
                view[static_cast<std::size_t>(y * 319 + x)] =
                    at(icon, sample(ox, 32, 319), sample(oy, 32, 319));
            }
            if (x % 10 == 0 || y % 10 == 0) {
                view[static_cast<std::size_t>(y * 319 + x)] = kBlack;
            }
        }
    }
    return view;
}

// The view after a mirrored paint over the whole drawing area, then the grid.
std::vector<std::uint32_t> mirroredView(const IconPixels& icon, bool leftRight) {
    std::vector<std::uint32_t> view(319 * 319);
    for (int y = 0; y < 319; ++y) {
        for (int x = 0; x < 319; ++x) {
            const int ox = leftRight ? 318 - x : x;
            const int oy = leftRight ? y : 318 - y;
            const bool grid = x % 10 == 0 || y % 10 == 0;
            view[static_cast<std::size_t>(y * 319 + x)] =
                grid ? kBlack : at(icon, sample(ox, 32, 319), sample(oy, 32, 319));
        }
    }
    return view;
}

IconCanvas canvasWith(const IconPixels& icon) {
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, icon);
    return canvas;
}

IconPixels snapshotPixels(const IconCanvas& canvas) {
    IconPixels pixels;
    for (Pixel p : canvas.state.Snapshot.allPixels()) pixels.push_back(p & 0xFFFFFFu);
    return pixels;
}

TEST(MoveTest, LeftTwiceDropsColumnsAndRepeatsTheLastOne) {
    const IconPixels icon = distinctIcon();
    IconCanvas canvas = canvasWith(icon);
    const auto viewBefore = canvas.LargePicture.pixels();
    canvas.MoveIcon("left");
    const IconPixels once =
        iconFrom([&](int x, int y) { return at(icon, std::min(x + 1, 31), y); });
    EXPECT_TRUE(iconIs(canvas, once));
    EXPECT_TRUE(viewIs(canvas, shiftedView(icon, viewBefore, -10, 0)));
    EXPECT_EQ(snapshotPixels(canvas), icon) << "the snapshot is the icon before the move";

    const auto viewBetween = canvas.LargePicture.pixels();
    canvas.MoveIcon("left");
    const IconPixels twice =
        iconFrom([&](int x, int y) { return at(icon, std::min(x + 2, 31), y); });
    EXPECT_TRUE(iconIs(canvas, twice));
    EXPECT_TRUE(viewIs(canvas, shiftedView(once, viewBetween, -10, 0)));
    EXPECT_EQ(snapshotPixels(canvas), once);
}

TEST(MoveTest, EachDirectionKeepsTheStripItMovesAwayFrom) {
    struct Case {
        const char* direction;
        int dx, dy;
        int keptFirst, keptLast;  // columns (dx ≠ 0) or rows kept from the old view
    };
    const Case cases[] = {{"left", -10, 0, 309, 318},
                          {"right", 10, 0, 0, 9},
                          {"up", 0, -10, 309, 318},
                          {"down", 0, 10, 0, 9}};
    const IconPixels icon = distinctIcon();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        IconCanvas canvas = canvasWith(icon);
        const auto before = canvas.LargePicture.pixels();
        canvas.MoveIcon(c.direction);
        EXPECT_TRUE(viewIs(canvas, shiftedView(icon, before, c.dx, c.dy)));
        for (int k = c.keptFirst; k <= c.keptLast; ++k) {
            for (int j = 0; j < 319; ++j) {
                const int x = c.dx != 0 ? k : j;
                const int y = c.dx != 0 ? j : k;
                ASSERT_EQ(canvas.LargePicture.pixel(x, y).value(),
                          before[static_cast<std::size_t>(y * 319 + x)])
                    << x << "," << y;
            }
        }
        const IconPixels expected = iconFrom([&](int x, int y) {
            return at(icon, std::clamp(x - c.dx / 10, 0, 31), std::clamp(y - c.dy / 10, 0, 31));
        });
        EXPECT_TRUE(iconIs(canvas, expected));
    }
}

TEST(MoveTest, UpThenDownLosesTheTopRow) {
    const IconPixels icon = distinctIcon();
    IconCanvas canvas = canvasWith(icon);
    canvas.MoveIcon("up");
    canvas.MoveIcon("down");
    const IconPixels expected = iconFrom([&](int x, int y) { return at(icon, x, std::max(y, 1)); });
    EXPECT_TRUE(iconIs(canvas, expected));
}

TEST(MoveTest, UnknownDirectionOnlyRedrawsTheGrid) {
    const IconPixels icon = distinctIcon();
    IconCanvas canvas = canvasWith(icon);
    canvas.LargePicture.Line(0, 100, 318, 100, Colour(kRed));  // over a grid row
    for (const char* word : {"Up", "LEFT", "", "left "}) {
        canvas.MoveIcon(word);
        EXPECT_TRUE(iconIs(canvas, icon)) << word;
        EXPECT_TRUE(viewIs(canvas, gridViewOf(icon))) << word;
    }
    EXPECT_TRUE(canvas.state.Snapshot.isEmpty());
}

TEST(FlipTest, OneFlipMirrorsAndTwoGiveTheIconBack) {
    const IconPixels icon = distinctIcon();
    for (bool leftRight : {true, false}) {
        SCOPED_TRACE(leftRight ? "horizontal" : "vertical");
        IconCanvas canvas = canvasWith(icon);
        const auto flip = [&] { leftRight ? canvas.FlipHorizontal() : canvas.FlipVertical(); };
        flip();
        const IconPixels mirrored = iconFrom(
            [&](int x, int y) { return leftRight ? at(icon, 31 - x, y) : at(icon, x, 31 - y); });
        EXPECT_TRUE(iconIs(canvas, mirrored));
        EXPECT_TRUE(viewIs(canvas, mirroredView(icon, leftRight)));
        EXPECT_EQ(snapshotPixels(canvas), icon);
        flip();
        EXPECT_TRUE(iconIs(canvas, icon));
        EXPECT_EQ(snapshotPixels(canvas), mirrored);
    }
}

TEST(RotateTest, QuarterTurnMovesEveryPixelAndFourTurnsGiveTheIconBack) {
    const IconPixels icon = distinctIcon();
    IconCanvas canvas = canvasWith(icon);
    canvas.Rotat_Icon();
    const IconPixels turned = iconFrom([&](int x, int y) { return at(icon, y, 31 - x); });
    EXPECT_TRUE(iconIs(canvas, turned)) << "pixel (x, y) goes to (31 − y, x)";
    EXPECT_TRUE(viewIs(canvas, gridViewOf(turned)));
    EXPECT_EQ(snapshotPixels(canvas), turned);
    std::vector<std::uint32_t> sorted = canvas.SmallPicture.pixels();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "all 1,024 colours kept";
    for (int turn = 2; turn <= 4; ++turn) canvas.Rotat_Icon();
    EXPECT_TRUE(iconIs(canvas, icon));
    EXPECT_TRUE(viewIs(canvas, gridViewOf(icon)));
}

TEST(RotateTest, CornerTravelsClockwise) {
    IconCanvas canvas = startedCanvas();
    canvas.LargePicture_MouseDown(1, 0, 5, 5);
    const std::pair<int, int> path[] = {{31, 0}, {31, 31}, {0, 31}, {0, 0}};
    for (const auto& [x, y] : path) {
        canvas.Rotat_Icon();
        for (int j = 0; j < 32; ++j) {
            for (int i = 0; i < 32; ++i) {
                ASSERT_EQ(canvas.SmallPicture.pixel(i, j).value(),
                          (i == x && j == y) ? kBlack : kWhite)
                    << "after the turn to (" << x << ", " << y << ") at " << i << "," << j;
            }
        }
    }
}

TEST(ClearTest, ClearAndNewLeaveOnlyTheGridAndKeepToolColourAndSnapshot) {
    for (bool useNew : {false, true}) {
        IconCanvas canvas = canvasWith(distinctIcon());
        canvas.FlipHorizontal();
        const Picture snapshot = canvas.state.Snapshot;
        canvas.state.CurrentColor = Colour(kRed);
        canvas.LargePicture.setMousePointer(pointers::kUpArrow);
        useNew ? canvas.New_Icon() : canvas.ClearIcon();
        const IconPixels white(32 * 32, kWhite);
        EXPECT_TRUE(iconIs(canvas, white));
        EXPECT_TRUE(viewIs(canvas, gridViewOf(white)));
        EXPECT_TRUE(canvas.state.Snapshot.sharesWith(snapshot));
        EXPECT_EQ(canvas.state.CurrentColor.value(), kRed);
        EXPECT_EQ(canvas.LargePicture.MousePointer(), 10);
    }
}

TEST(TransformTest, AllWhiteIconStaysWhiteThroughEveryTransform) {
    const IconPixels white(32 * 32, kWhite);
    IconCanvas canvas = startedCanvas();
    const std::function<void()> transforms[] = {
        [&] { canvas.MoveIcon("left"); }, [&] { canvas.MoveIcon("right"); },
        [&] { canvas.MoveIcon("up"); },   [&] { canvas.MoveIcon("down"); },
        [&] { canvas.FlipHorizontal(); }, [&] { canvas.FlipVertical(); },
        [&] { canvas.Rotat_Icon(); },     [&] { canvas.ClearIcon(); },
        [&] { canvas.New_Icon(); }};
    for (const auto& transform : transforms) {
        transform();
        ASSERT_TRUE(iconIs(canvas, white));
        ASSERT_TRUE(viewIs(canvas, gridViewOf(white)));
    }
}

}  // namespace
}  // namespace mosaikon
