#pragma once

#include <cstdint>

#include "Colour.h"
#include "Picture.h"

namespace mosaikon {

// The editor's working record, one for the life of the window. Everything is zero (and
// Snapshot empty) until start-up sets the first values.
struct EditorState {
    Colour CurrentColor;        // what painting and colour replacement put down
    Colour TargetColor;         // the colour under the pointer when the Change tool was pressed
    Colour PixelColor;          // the icon pixel the Change tool is examining
    std::int16_t IconSize = 0;  // icon edge in pixels; kept for callers, nothing computes with it
    std::int16_t CellSize = 0;  // cell pitch of the magnified view, in view pixels
    std::int16_t CellFill = 0;  // edge of the square painted inside a cell
    Picture Snapshot;           // the picture most recently taken from a surface by a command
};

}  // namespace mosaikon
