#pragma once

#include <cstdint>

namespace mosaikon {

// The drawing tools of the magnified view. The view's MousePointer is the record of which one
// is active: 99 (the pencil) for Paint and 10 (the up arrow) for Change, and values of our own
// from 101 for the tools after them; any other pointer value selects no tool, and a press then
// does nothing.
enum class Tool {
    None,
    Paint,
    Change,
    Line,
    Rectangle,
    FilledRectangle,
    Ellipse,
    FilledEllipse,
    Fill,
    Eraser,
    Select,
};

// The MousePointer values that record the tools after Paint and Change.
namespace toolPointers {
inline constexpr std::int16_t kLine = 101;
inline constexpr std::int16_t kRectangle = 102;
inline constexpr std::int16_t kFilledRectangle = 103;
inline constexpr std::int16_t kEllipse = 104;
inline constexpr std::int16_t kFilledEllipse = 105;
inline constexpr std::int16_t kFill = 106;
inline constexpr std::int16_t kEraser = 107;
inline constexpr std::int16_t kSelect = 108;
}  // namespace toolPointers

Tool toolOfPointer(std::int16_t mousePointer);
// The MousePointer value that records `tool` (None: the default pointer).
std::int16_t pointerOfTool(Tool tool);

// Whether the view's press, move and release go to the canvas's tool session (toolPress,
// toolMove, toolRelease) and to nothing else. Paint, Change and no tool keep the view's own
// handlers, LargePicture_MouseDown and LargePicture_MouseMove.
bool isSessionTool(Tool tool);

// The shape a surface's MousePointer value asks for; the window shows it as a cursor. Move is
// never a pointer value's shape: the canvas asks for it over a selection that can be dragged.
enum class PointerShape { Arrow, Cross, UpArrow, Pencil, Eraser, Fill, Move };
PointerShape pointerShapeOf(std::int16_t mousePointer);

}  // namespace mosaikon
