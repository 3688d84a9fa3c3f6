// The tools after Paint and Change, driven in cells as the window drives them: the tool
// record, shapes with their preview, Shift and Escape, the eraser, fill, mirrored drawing and
// one undo step per press-to-release.
#include <gtest/gtest.h>

#include <set>

#include "CellShapes.h"
#include "EditHistory.h"
#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;
using grid::Cell;

std::size_t at(Cell c) { return static_cast<std::size_t>(c.row * 32 + c.column); }

// Both surfaces must show exactly `icon`: every cell interior in its pixel's colour.
void expectShows(const IconCanvas& canvas, const IconPixels& icon) {
    EXPECT_TRUE(iconIs(canvas, icon));
    EXPECT_TRUE(viewIs(canvas, gridViewOf(icon)));
}

IconPixels with(IconPixels icon, const std::vector<Cell>& cells, std::uint32_t colour) {
    for (const Cell c : cells) icon[at(c)] = colour;
    return icon;
}

IconCanvas canvasWith(const IconPixels& icon, Tool tool) {
    IconCanvas canvas = startedCanvas();
    loadIcon(canvas, icon);
    canvas.selectTool(tool);
    canvas.state.CurrentColor = Colour(kRed);
    return canvas;
}

void drag(IconCanvas& canvas, std::vector<Cell> path, Modifiers modifiers = Modifiers::None) {
    canvas.toolPress(path.front(), MouseButton::Primary);
    for (std::size_t i = 1; i + 1 < path.size(); ++i) canvas.toolMove(path[i], modifiers);
    canvas.toolRelease(path.back(), modifiers);
}

TEST(ToolSessionTest, EachNewToolHasAPointerValueOfItsOwnAndAShape) {
    const std::pair<Tool, PointerShape> tools[] = {{Tool::Line, PointerShape::Cross},
                                                   {Tool::Rectangle, PointerShape::Cross},
                                                   {Tool::FilledRectangle, PointerShape::Cross},
                                                   {Tool::Ellipse, PointerShape::Cross},
                                                   {Tool::FilledEllipse, PointerShape::Cross},
                                                   {Tool::Fill, PointerShape::Fill},
                                                   {Tool::Eraser, PointerShape::Eraser},
                                                   {Tool::Select, PointerShape::Cross}};
    std::set<std::int16_t> values;
    for (const auto& [tool, shape] : tools) {
        const std::int16_t pointer = pointerOfTool(tool);
        EXPECT_TRUE(values.insert(pointer).second);
        EXPECT_TRUE(pointer > 2 && pointer != 10 && pointer != 99) << pointer;
        EXPECT_EQ(toolOfPointer(pointer), tool);
        EXPECT_EQ(pointerShapeOf(pointer), shape);
        EXPECT_TRUE(isSessionTool(tool));
        IconCanvas canvas = startedCanvas();
        canvas.selectTool(tool);
        EXPECT_EQ(canvas.activeTool(), tool);
    }
    EXPECT_FALSE(isSessionTool(Tool::Paint) || isSessionTool(Tool::Change));
}

const std::pair<Tool, std::vector<Cell> (*)(Cell, Cell)> kShapeTools[] = {
    {Tool::Line, [](Cell a, Cell b) { return shapes::lineCells(a, b); }},
    {Tool::Rectangle,
     [](Cell a, Cell b) { return shapes::rectangleCells(a, b, shapes::Fill::Outline); }},
    {Tool::FilledRectangle,
     [](Cell a, Cell b) { return shapes::rectangleCells(a, b, shapes::Fill::Solid); }},
    {Tool::Ellipse,
     [](Cell a, Cell b) { return shapes::ellipseCells(a, b, shapes::Fill::Outline); }},
    {Tool::FilledEllipse,
     [](Cell a, Cell b) { return shapes::ellipseCells(a, b, shapes::Fill::Solid); }},
};

TEST(ToolSessionTest, AShapeIsOnlyPreviewedWhileDraggedAndPaintedOnRelease) {
    const IconPixels icon = distinctIcon();
    for (const auto& [tool, cellsOf] : kShapeTools) {
        IconCanvas canvas = canvasWith(icon, tool);
        canvas.toolPress({3, 4}, MouseButton::Primary);
        canvas.toolMove({20, 9});
        canvas.toolMove({12, 25});
        EXPECT_EQ(canvas.preview(), (ShapePreview{cellsOf({3, 4}, {12, 25}), Colour(kRed)}));
        expectShows(canvas, icon);
        canvas.toolPress({0, 0}, MouseButton::Primary);  // a second press changes nothing
        canvas.toolRelease({14, 27});
        EXPECT_TRUE(canvas.preview().cells.empty());
        expectShows(canvas, with(icon, cellsOf({3, 4}, {14, 27}), kRed));
    }
}

TEST(ToolSessionTest, ShiftConstrainsTheEndAndEscapeDropsTheShape) {
    for (const auto& [tool, cellsOf] : kShapeTools) {
        IconCanvas canvas = canvasWith(distinctIcon(), tool);
        drag(canvas, {{10, 10}, {25, 14}, {16, 28}}, Modifiers::Shift);
        const auto shape = tool == Tool::Line ? shapes::Shape::Line : shapes::Shape::Ellipse;
        const Cell end = shapes::constrained({10, 10}, {16, 28}, shape);
        expectShows(canvas, with(distinctIcon(), cellsOf({10, 10}, end), kRed));

        canvas.toolPress({1, 1}, MouseButton::Primary);
        canvas.toolMove({8, 8});
        const IconCanvas beforeEscape = canvas;
        EXPECT_TRUE(canvas.toolCancel());
        canvas.toolRelease({9, 9});
        EXPECT_TRUE(canvas.preview().cells.empty());
        EXPECT_EQ(canvas.SmallPicture.pixels(), beforeEscape.SmallPicture.pixels());
        EXPECT_EQ(canvas.LargePicture.pixels(), beforeEscape.LargePicture.pixels());
        EXPECT_FALSE(canvas.toolCancel());
    }
}

TEST(ToolSessionTest, OnlyThePrimaryButtonDrawsAndMovesWithoutAPressDoNothing) {
    for (const Tool tool : {Tool::Line, Tool::Fill, Tool::Eraser, Tool::Select}) {
        IconCanvas canvas = canvasWith(distinctIcon(), tool);
        for (const MouseButton button : {MouseButton::Secondary, MouseButton::Middle}) {
            canvas.toolPress({5, 5}, button);
            canvas.toolMove({9, 7});
            canvas.toolRelease({9, 7});
        }
        expectShows(canvas, distinctIcon());
        EXPECT_FALSE(canvas.selectionRect().has_value());
    }
}

TEST(ToolSessionTest, TheEraserPaintsWhiteAndJoinsSuccessivePositionsWithLines) {
    IconCanvas canvas = canvasWith(distinctIcon(), Tool::Eraser);
    drag(canvas, {{2, 2}, {9, 5}, {9, 5}, {4, 20}});
    std::vector<Cell> erased = shapes::lineCells({2, 2}, {9, 5});
    for (const Cell c : shapes::lineCells({9, 5}, {4, 20})) erased.push_back(c);
    expectShows(canvas, with(distinctIcon(), erased, kWhite));
}

TEST(ToolSessionTest, FillTakesTheSideBySideRegionOfThePressedColourOnly) {
    // A black diagonal: cells touching only at corners keep the two sides apart.
    const IconPixels icon = iconFrom([](int x, int y) { return x == y ? kBlack : kWhite; });
    IconCanvas canvas = canvasWith(icon, Tool::Fill);
    drag(canvas, {{5, 0}});
    expectShows(canvas,
                iconFrom([](int x, int y) { return x == y ? kBlack : (x > y ? kRed : kWhite); }));
    // A whole blank icon, with a system colour: it paints the colour it stands for.
    canvas = canvasWith(IconPixels(32 * 32, kWhite), Tool::Fill);
    canvas.state.CurrentColor = Colour::system(1);
    drag(canvas, {{31, 31}});
    expectShows(canvas, IconPixels(32 * 32, systemColour(1).value()));
}

TEST(ToolSessionTest, FillOnAPixelThatAlreadyShowsThePaintingColourChangesNothing) {
    IconCanvas canvas = canvasWith(IconPixels(32 * 32, kWhite), Tool::Fill);
    canvas.state.CurrentColor = Colour::system(5);  // the window background: white
    const auto revisions =
        std::pair(canvas.SmallPicture.revision(), canvas.LargePicture.revision());
    drag(canvas, {{7, 7}});
    EXPECT_EQ(std::pair(canvas.SmallPicture.revision(), canvas.LargePicture.revision()), revisions);
}

bool mirrorSymmetric(const IconCanvas& canvas) {
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 16; ++c) {
            if (canvas.SmallPicture.pixel(c, r) != canvas.SmallPicture.pixel(31 - c, r)) {
                return false;
            }
        }
    }
    return true;
}

TEST(ToolSessionTest, MirroredDrawingOfEveryDrawingToolLeavesASymmetricIcon) {
    for (const Tool tool : {Tool::Paint, Tool::Eraser, Tool::Line, Tool::Rectangle,
                            Tool::FilledRectangle, Tool::Ellipse, Tool::FilledEllipse}) {
        IconCanvas canvas = canvasWith(IconPixels(32 * 32, kBlack), tool);
        EXPECT_EQ(canvas.mirroring(), Mirroring::Off);
        canvas.setMirroring(Mirroring::On);
        if (tool == Tool::Paint) {
            canvas.LargePicture_MouseDown(1, 0, 35, 45);
            canvas.LargePicture_MouseMove(1, 0, 205, 95);
        } else {
            drag(canvas, {{3, 4}, {12, 9}, {20, 17}});
        }
        EXPECT_TRUE(mirrorSymmetric(canvas)) << static_cast<int>(tool);
        EXPECT_TRUE(viewIs(canvas, gridViewOf(canvas.SmallPicture.pixels())));
        EXPECT_NE(canvas.SmallPicture.pixels(), IconPixels(32 * 32, kBlack));
    }
}

TEST(ToolSessionTest, EachPressToReleaseIsOneUndoStep) {
    for (const Tool tool : {Tool::Line, Tool::Rectangle, Tool::FilledRectangle, Tool::Ellipse,
                            Tool::FilledEllipse, Tool::Fill, Tool::Eraser}) {
        IconCanvas canvas = canvasWith(distinctIcon(), tool);
        EditHistory history(canvas.SmallPicture, canvas.LargePicture);
        drag(canvas, {{6, 6}, {15, 3}, {20, 11}});
        EXPECT_TRUE(history.record(canvas.SmallPicture, canvas.LargePicture));
        const IconCanvas drawn = canvas;
        EXPECT_TRUE(history.undo(canvas.SmallPicture, canvas.LargePicture));
        expectShows(canvas, distinctIcon());
        EXPECT_FALSE(history.undo(canvas.SmallPicture, canvas.LargePicture));
        EXPECT_TRUE(history.redo(canvas.SmallPicture, canvas.LargePicture));
        EXPECT_EQ(canvas.SmallPicture.pixels(), drawn.SmallPicture.pixels());
        EXPECT_EQ(canvas.LargePicture.pixels(), drawn.LargePicture.pixels());
    }
}

}  // namespace
}  // namespace mosaikon
