// The Select tool's selection: drawn by a drag, moved by whole cells while it floats over the
// icon and past its edges, put down, erased, flipped, copied, cut and pasted.
#include <gtest/gtest.h>

#include "EditHistory.h"
#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;
using grid::Cell;
using shapes::CellRect;

std::size_t at(int column, int row) { return static_cast<std::size_t>(row * 32 + column); }

void expectShows(const IconCanvas& canvas, const IconPixels& icon) {
    EXPECT_TRUE(iconIs(canvas, icon));
    EXPECT_TRUE(viewIs(canvas, gridViewOf(icon)));
}

void drag(IconCanvas& canvas, Cell from, Cell to) {
    canvas.toolPress(from, MouseButton::Primary);
    canvas.toolMove(to);
    canvas.toolRelease(to);
}

// A canvas showing the distinct icon with the Select tool holding `rect`.
IconCanvas selecting(const CellRect& rect) {
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, distinctIcon());
    canvas.selectTool(Tool::Select);
    drag(canvas, {rect.left, rect.top}, {rect.right(), rect.bottom()});
    return canvas;
}

// The distinct icon with the rectangle `from` moved to (left, top) and white left behind:
// what a floating selection shows.
IconPixels movedIcon(const CellRect& from, int left, int top, IconPixels icon = distinctIcon()) {
    const IconPixels original = icon;
    for (int r = from.top; r <= from.bottom(); ++r) {
        for (int c = from.left; c <= from.right(); ++c) icon[at(c, r)] = kWhite;
    }
    for (int r = from.top; r <= from.bottom(); ++r) {
        for (int c = from.left; c <= from.right(); ++c) {
            const int x = c - from.left + left;
            const int y = r - from.top + top;
            if (x >= 0 && x < 32 && y >= 0 && y < 32) icon[at(x, y)] = original[at(c, r)];
        }
    }
    return icon;
}

TEST(SelectionTest, ADragSelectsTheCellsItSpansAndAClickSelectsNothing) {
    IconCanvas canvas = selecting({3, 4, 5, 2});
    EXPECT_EQ(canvas.selectionRect(), (CellRect{3, 4, 5, 2}));
    EXPECT_FALSE(canvas.isSelectionFloating());
    expectShows(canvas, distinctIcon());
    drag(canvas, {20, 20}, {20, 20});  // outside: puts it down, selects nothing
    EXPECT_FALSE(canvas.selectionRect().has_value());
    drag(canvas, {9, 30}, {2, 1});  // towards the top-left
    EXPECT_EQ(canvas.selectionRect(), (CellRect{2, 1, 8, 30}));
    EXPECT_EQ(canvas.pointerShapeAt({5, 5}), PointerShape::Move);
    EXPECT_EQ(canvas.pointerShapeAt({0, 0}), PointerShape::Cross);
}

TEST(SelectionTest, AMoveFloatsOverOtherPixelsWhichComeBackWhenItMovesOn) {
    const CellRect rect{2, 2, 4, 3};
    IconCanvas canvas = selecting(rect);
    drag(canvas, {3, 3}, {10, 13});  // by (7, 10)
    EXPECT_EQ(canvas.selectionRect(), (CellRect{9, 12, 4, 3}));
    EXPECT_TRUE(canvas.isSelectionFloating());
    expectShows(canvas, movedIcon(rect, 9, 12));
    drag(canvas, {12, 14}, {4, 3});  // by (−8, −11), overlapping its old place
    expectShows(canvas, movedIcon(rect, 1, 1));
    EXPECT_EQ(canvas.pointerShapeAt({1, 1}), PointerShape::Move);
}

TEST(SelectionTest, PixelsMovedPastTheEdgesComeBackUntilItIsPutDown) {
    const CellRect rect{24, 26, 6, 5};
    IconCanvas canvas = selecting(rect);
    canvas.toolPress({29, 30}, MouseButton::Primary);
    canvas.toolMove({31, 31});  // two columns and a row past the edges
    canvas.toolMove({0, 31});   // 29 columns back, then past the left edge
    EXPECT_EQ(canvas.selectionRect(), (CellRect{-5, 27, 6, 5}));
    expectShows(canvas, movedIcon(rect, -5, 27));
    canvas.toolRelease({29, 30});
    expectShows(canvas, distinctIcon());

    drag(canvas, {24, 26}, {30, 26});  // six columns right: four past the edge
    canvas.putDownSelection();
    EXPECT_FALSE(canvas.selectionRect().has_value());
    expectShows(canvas, movedIcon(rect, 30, 26));
    // What lay past the edge is gone: selecting what is left and moving it back brings no more.
    drag(canvas, {30, 26}, {31, 30});
    drag(canvas, {30, 26}, {24, 26});
    expectShows(canvas, movedIcon({30, 26, 2, 5}, 24, 26, movedIcon(rect, 30, 26)));
}

TEST(SelectionTest, EscapePutsAMoveBackAndAnyOtherChangeOfTheIconPutsItDown) {
    const CellRect rect{5, 5, 3, 3};
    IconCanvas canvas = selecting(rect);
    canvas.toolPress({6, 6}, MouseButton::Primary);
    canvas.toolMove({16, 2});
    EXPECT_TRUE(canvas.toolCancel());
    EXPECT_EQ(canvas.selectionRect(), rect);
    expectShows(canvas, distinctIcon());

    canvas.FlipHorizontal();
    EXPECT_FALSE(canvas.selectionRect().has_value());
    canvas = selecting(rect);
    canvas.selectTool(Tool::Line);
    EXPECT_FALSE(canvas.selectionRect().has_value());
}

TEST(SelectionTest, DeleteFlipCopyCutAndSelectAllActOnTheSelectionOnly) {
    const CellRect rect{4, 6, 5, 3};
    IconCanvas canvas = selecting(rect);
    const Picture copied = canvas.selectionPicture();
    ASSERT_EQ(std::pair(copied.width(), copied.height()), std::pair(5, 3));
    EXPECT_EQ(pixelColour(copied.pixelAt(4, 2)).value(), distinctIcon()[at(8, 8)]);

    canvas.flipSelection(FlipAxis::LeftRight);
    EXPECT_EQ(canvas.SmallPicture.pixel(4, 6).value(), distinctIcon()[at(8, 6)]);
    canvas.flipSelection(FlipAxis::TopBottom);
    EXPECT_EQ(canvas.SmallPicture.pixel(4, 6).value(), distinctIcon()[at(8, 8)]);
    canvas.flipSelection(FlipAxis::TopBottom);
    canvas.flipSelection(FlipAxis::LeftRight);
    expectShows(canvas, distinctIcon());

    EXPECT_EQ(canvas.cutSelection().allPixels(), copied.allPixels());
    const IconPixels erased = movedIcon(rect, 100, 100);  // white where it was
    expectShows(canvas, erased);
    EXPECT_EQ(canvas.selectionRect(), rect);
    canvas.selectAll();
    EXPECT_EQ(canvas.selectionRect(), (CellRect{0, 0, 32, 32}));
    canvas.deleteSelection();
    expectShows(canvas, IconPixels(32 * 32, kWhite));
}

TEST(SelectionTest, APasteFloatsAtTheTopLeftOverTheIconUntilMoved) {
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, distinctIcon());
    canvas.selectTool(Tool::Select);
    // Blue, and fully transparent, which shows white as on the icon.
    const std::vector<Pixel> pixels = {opaquePixel(Colour(kBlue)), 0, 0,
                                       opaquePixel(Colour(kBlue))};
    canvas.pasteFloating(Picture::fromPixels(PictureKind::Icon, 2, 2, pixels));
    IconPixels pasted = distinctIcon();
    pasted[0] = pasted[33] = kBlue;
    pasted[1] = pasted[32] = kWhite;
    expectShows(canvas, pasted);
    drag(canvas, {0, 0}, {30, 30});
    IconPixels moved = distinctIcon();
    moved[at(30, 30)] = moved[at(31, 31)] = kBlue;
    moved[at(31, 30)] = moved[at(30, 31)] = kWhite;
    expectShows(canvas, moved);
    EXPECT_THROW(canvas.pasteFloating(
                     Picture::fromPixels(PictureKind::Bitmap, 33, 1, std::vector<Pixel>(33))),
                 std::invalid_argument);
}

// The window's part: a step after each command or press-to-release, with the selection.
struct Session {
    IconCanvas canvas;
    EditHistory history{canvas.SmallPicture, canvas.LargePicture};

    bool step() {
        return history.record(canvas.SmallPicture, canvas.LargePicture, canvas.selectionRecord());
    }
    void undo() {
        ASSERT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
        canvas.restoreSelection(history.selection());
    }
    void redo() {
        ASSERT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture));
        canvas.restoreSelection(history.selection());
    }
};

TEST(SelectionTest, UndoingAMovePutsTheSelectionBackWhereItWasBeforeThatMove) {
    const CellRect rect{6, 6, 4, 4};
    Session s{selecting(rect)};
    EXPECT_FALSE(s.step());
    drag(s.canvas, {7, 7}, {17, 9});  // by (10, 2)
    EXPECT_TRUE(s.step());
    drag(s.canvas, {16, 8}, {30, 28});  // by (14, 20), partly past the edges
    EXPECT_TRUE(s.step());
    s.canvas.putDownSelection();
    EXPECT_FALSE(s.step());

    s.undo();
    EXPECT_EQ(s.canvas.selectionRect(), (CellRect{16, 8, 4, 4}));
    expectShows(s.canvas, movedIcon(rect, 16, 8));
    s.undo();
    EXPECT_EQ(s.canvas.selectionRect(), rect);
    EXPECT_FALSE(s.canvas.isSelectionFloating());
    expectShows(s.canvas, distinctIcon());
    s.redo();
    EXPECT_EQ(s.canvas.selectionRect(), (CellRect{16, 8, 4, 4}));
    expectShows(s.canvas, movedIcon(rect, 16, 8));
    drag(s.canvas, {16, 8}, {16, 9});  // it floats on from there
    expectShows(s.canvas, movedIcon(rect, 16, 9));
}

TEST(SelectionTest, EachSelectionCommandIsOneStepThatUndoAndRedoTakeWithTheSelection) {
    const std::pair<const char*, void (*)(IconCanvas&)> commands[] = {
        {"delete", [](IconCanvas& c) { c.deleteSelection(); }},
        {"flip", [](IconCanvas& c) { c.flipSelection(FlipAxis::TopBottom); }},
        {"cut", [](IconCanvas& c) { c.cutSelection(); }},
        {"paste",
         [](IconCanvas& c) {
             c.pasteFloating(Picture::fromPixels(PictureKind::Bitmap, 3, 1,
                                                 std::vector<Pixel>(3, opaquePixel(Colour(kRed)))));
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Session s{selecting({3, 0, 3, 3})};
        s.step();
        command(s.canvas);
        ASSERT_TRUE(s.step());
        const IconCanvas after = s.canvas;
        s.undo();
        EXPECT_EQ(s.canvas.selectionRect(), (CellRect{3, 0, 3, 3}));
        expectShows(s.canvas, distinctIcon());
        s.redo();
        EXPECT_EQ(s.canvas.selectionRect(), after.selectionRect());
        EXPECT_TRUE(iconIs(s.canvas, after.SmallPicture.pixels()));
        EXPECT_EQ(s.canvas.selectionPicture().allPixels(), after.selectionPicture().allPixels());
    }
}

}  // namespace
}  // namespace mosaikon
