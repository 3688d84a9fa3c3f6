#pragma once

#include <cstdint>

namespace mosaikon {

// The drawing tools of the magnified view. The view's MousePointer is the record of which one
// is active: 99 (the pencil) for Paint and 10 (the up arrow) for Change; any other pointer
// value selects no tool, and a press then does nothing.
enum class Tool { None, Paint, Change };

Tool toolOfPointer(std::int16_t mousePointer);
// The MousePointer value that records `tool` (None: the default pointer).
std::int16_t pointerOfTool(Tool tool);

// The shape a surface's MousePointer value asks for; the window shows it as a cursor.
enum class PointerShape { Arrow, Cross, UpArrow, Pencil };
PointerShape pointerShapeOf(std::int16_t mousePointer);

}  // namespace mosaikon
