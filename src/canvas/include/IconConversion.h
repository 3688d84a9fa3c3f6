#pragma once

#include "Picture.h"

namespace mosaikon {

// The editor's bitmap-to-icon conversion: a 32 × 32 icon picture in which exactly the pure-white
// (0x00FFFFFF) pixels are transparent and every other pixel is opaque with its colour unchanged.
// A picture of another size is first brought to 32 × 32 by centre sampling.
Picture iconWithWhiteTransparent(const Picture& bitmap);

}  // namespace mosaikon
