// The tools after Paint and Change: their record in the view's MousePointer.
#include <gtest/gtest.h>

#include <set>

#include "SurfaceExpectations.h"

namespace mosaikon {
namespace {

using namespace test;

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

}  // namespace
}  // namespace mosaikon
