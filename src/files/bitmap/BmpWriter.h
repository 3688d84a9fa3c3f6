#pragma once

#include <string>

#include "AtomicFile.h"
#include "Picture.h"

namespace mosaikon {

// Writes `picture` as a 24-bit bitmap at its exact size, row by row, so even a huge picture
// needs only one row in memory. Opacity is not stored.
void writeBitmap(const Picture& picture, AtomicFile& out, const std::string& path);

}  // namespace mosaikon
