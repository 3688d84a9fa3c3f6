#pragma once

#include <memory>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// Reads a PNG file of any colour type and any size. A 32 × 32 one is an icon picture, as an icon
// file holding that image would give; any other size is an opaque bitmap picture with its
// transparent parts laid over white, to be scaled like any bitmap. A large one keeps `file`
// (closed until it is drawn) and decodes it as it is drawn, with memory bounded whatever its
// size. Images wider than the decoder's row limit and streams that claim more pixels than their
// data can hold are refused. Throws FileError.
Picture readPngFile(std::unique_ptr<ByteSource> file);

}  // namespace mosaikon
