#pragma once

#include "Picture.h"

namespace mosaikon {

// Our own 32 × 32 icon of a program window, given in place of a program file's icon when the
// file has none or cannot be read. Built once and shared.
const Picture& genericApplicationIcon();

}  // namespace mosaikon
