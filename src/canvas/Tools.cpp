#include "Tools.h"

#include <array>
#include <utility>

#include "PictureBox.h"

namespace mosaikon {

namespace {

// Every tool with the pointer value that records it.
constexpr std::array<std::pair<Tool, std::int16_t>, 10> kToolPointers = {{
    {Tool::Paint, pointers::kPencil},
    {Tool::Change, pointers::kUpArrow},
    {Tool::Line, toolPointers::kLine},
    {Tool::Rectangle, toolPointers::kRectangle},
    {Tool::FilledRectangle, toolPointers::kFilledRectangle},
    {Tool::Ellipse, toolPointers::kEllipse},
    {Tool::FilledEllipse, toolPointers::kFilledEllipse},
    {Tool::Fill, toolPointers::kFill},
    {Tool::Eraser, toolPointers::kEraser},
    {Tool::Select, toolPointers::kSelect},
}};

}  // namespace

Tool toolOfPointer(std::int16_t mousePointer) {
    for (const auto& [tool, pointer] : kToolPointers) {
        if (pointer == mousePointer) {
            return tool;
        }
    }
    return Tool::None;
}

std::int16_t pointerOfTool(Tool tool) {
    for (const auto& [known, pointer] : kToolPointers) {
        if (known == tool) {
            return pointer;
        }
    }
    return pointers::kDefault;
}

bool isSessionTool(Tool tool) {
    return tool != Tool::None && tool != Tool::Paint && tool != Tool::Change;
}

PointerShape pointerShapeOf(std::int16_t mousePointer) {
    switch (mousePointer) {
        case pointers::kPencil:
            return PointerShape::Pencil;
        case pointers::kUpArrow:
            return PointerShape::UpArrow;
        case pointers::kCross:
            return PointerShape::Cross;
        case toolPointers::kEraser:
            return PointerShape::Eraser;
        case toolPointers::kFill:
            return PointerShape::Fill;
        default:
            break;
    }
    // The shapes and the selection aim at one cell: a cross.
    return isSessionTool(toolOfPointer(mousePointer)) ? PointerShape::Cross : PointerShape::Arrow;
}

}  // namespace mosaikon
