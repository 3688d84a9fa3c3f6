#pragma once

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// Reads a PNG file of any colour type. A 32 × 32 one is an icon picture, as an icon file holding
// that image would give; any other size is an opaque bitmap picture with its transparent parts
// laid over white, to be scaled like any bitmap. Sizes past the PNG reader's limit and streams
// that claim more pixels than their data can hold are refused. Throws FileError.
Picture readPngFile(ByteSource& source);

}  // namespace mosaikon
