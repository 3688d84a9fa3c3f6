// A started canvas whose icon has a different colour in almost every pixel, so that the
// operations measured on it change most cells.
#pragma once

#include <cstdint>

#include "IconCanvas.h"

namespace mosaikon::bench {

inline IconCanvas busyCanvas() {
    IconCanvas canvas;
    canvas.Form_Load();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            canvas.SmallPicture.PSet(x, y,
                                     Colour(static_cast<std::uint32_t>(x * 0x0701 + y * 0x030500)));
        }
    }
    canvas.rebuildView();
    return canvas;
}

}  // namespace mosaikon::bench
