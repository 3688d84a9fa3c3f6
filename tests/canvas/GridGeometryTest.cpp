// The grid's geometry and the tool record: what every caller that turns positions into cells
// relies on.
#include <gtest/gtest.h>

#include <cmath>

#include "GridGeometry.h"
#include "SurfaceExpectations.h"
#include "Tools.h"

namespace mosaikon {
namespace {

using grid::Cell;

// The paint scan and the plain cell agree strictly inside a cell; on a grid line, past 319 and
// below 0 the scan hits nothing while the plain cell is the one right of or below the line, or
// the nearest edge cell.
TEST(GridGeometryTest, ThePaintScanHitsOnlyStrictlyInsideACellAndThenTheCellUnderThePosition) {
    for (float y = -5; y <= 325; y += 0.5F) {
        for (float x = -5; x <= 325; x += 2.5F) {
            const std::optional<Cell> hit = grid::paintScanHit(x, y);
            const bool onLineOrOutside = std::fmod(x, 10.0F) == 0 || std::fmod(y, 10.0F) == 0 ||
                                         x < 0 || y < 0 || x >= 320 || y >= 320;
            ASSERT_EQ(hit.has_value(), !onLineOrOutside) << x << ", " << y;
            if (hit) {
                ASSERT_EQ(*hit, grid::cellUnder(x, y)) << x << ", " << y;
            }
        }
    }
    const std::pair<std::pair<double, double>, Cell> plain[] = {
        {{10, 30}, {1, 3}},           {{0, 0}, {0, 0}},       {{-0.5, -20}, {0, 0}},
        {{319.5, 5}, {31, 0}},        {{400, 400}, {31, 31}}, {{9.99, 10.01}, {0, 1}},
        {{std::nan(""), 15}, {0, 1}},
    };
    for (const auto& [position, cell] : plain) {
        EXPECT_EQ(grid::cellUnder(position.first, position.second), cell)
            << position.first << ", " << position.second;
    }
}

TEST(GridGeometryTest, EachCellsCentreLiesInItsInteriorInsideItsSquareAndThePaintScanHitsIt) {
    for (int row = 0; row < grid::kCells; ++row) {
        for (int column = 0; column < grid::kCells; ++column) {
            const Cell cell{column, row};
            const grid::ViewRect square = grid::cellSquare(cell);
            const grid::ViewRect interior = grid::cellInterior(cell);
            const grid::ViewPoint centre = grid::cellCentre(cell);
            ASSERT_EQ(square,
                      (grid::ViewRect{10 * column, 10 * row, 10 * column + 10, 10 * row + 10}));
            ASSERT_EQ(interior.right - interior.left + 1, 9);
            ASSERT_EQ(interior.left, square.left + 1);
            ASSERT_EQ(interior.bottom, square.bottom - 1);
            ASSERT_TRUE(centre.x >= interior.left && centre.x <= interior.right &&
                        centre.y >= interior.top && centre.y <= interior.bottom);
            ASSERT_EQ(
                grid::paintScanHit(static_cast<float>(centre.x), static_cast<float>(centre.y)),
                cell);
        }
    }
}

// The view's MousePointer is the record of the tool: its two values select the two tools, any
// other selects none, and a press then changes neither surface.
TEST(ToolRecordTest, PointerValuesSelectTheToolsAndAnyOtherValueSelectsNone) {
    for (const Tool tool : {Tool::Paint, Tool::Change}) {
        EXPECT_EQ(toolOfPointer(pointerOfTool(tool)), tool);
    }
    EXPECT_EQ(pointerOfTool(Tool::Paint), 99);
    EXPECT_EQ(pointerOfTool(Tool::Change), 10);
    EXPECT_EQ(pointerShapeOf(99), PointerShape::Pencil);
    EXPECT_EQ(pointerShapeOf(10), PointerShape::UpArrow);
    EXPECT_EQ(pointerShapeOf(2), PointerShape::Cross);

    IconCanvas canvas = test::startedCanvas();
    EXPECT_EQ(canvas.activeTool(), Tool::Paint);
    canvas.selectTool(Tool::Change);
    EXPECT_EQ(canvas.LargePicture.MousePointer(), 10);
    for (const std::int16_t other :
         {std::int16_t{0}, std::int16_t{1}, std::int16_t{2}, std::int16_t{98}, std::int16_t{100}}) {
        canvas.LargePicture.setMousePointer(other);
        EXPECT_EQ(canvas.activeTool(), Tool::None);
        const IconCanvas before = canvas;
        for (const std::int16_t button : {std::int16_t{1}, std::int16_t{2}}) {
            canvas.LargePicture_MouseDown(button, 0, 15, 15);
        }
        EXPECT_EQ(canvas.SmallPicture.pixels(), before.SmallPicture.pixels()) << other;
        EXPECT_EQ(canvas.LargePicture.pixels(), before.LargePicture.pixels()) << other;
    }
}

}  // namespace
}  // namespace mosaikon
