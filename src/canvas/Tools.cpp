#include "Tools.h"

#include "PictureBox.h"

namespace mosaikon {

Tool toolOfPointer(std::int16_t mousePointer) {
    switch (mousePointer) {
        case pointers::kPencil:
            return Tool::Paint;
        case pointers::kUpArrow:
            return Tool::Change;
        default:
            return Tool::None;
    }
}

std::int16_t pointerOfTool(Tool tool) {
    switch (tool) {
        case Tool::Paint:
            return pointers::kPencil;
        case Tool::Change:
            return pointers::kUpArrow;
        case Tool::None:
            break;
    }
    return pointers::kDefault;
}

PointerShape pointerShapeOf(std::int16_t mousePointer) {
    switch (mousePointer) {
        case pointers::kPencil:
            return PointerShape::Pencil;
        case pointers::kUpArrow:
            return PointerShape::UpArrow;
        case pointers::kCross:
            return PointerShape::Cross;
        default:
            return PointerShape::Arrow;
    }
}

}  // namespace mosaikon
