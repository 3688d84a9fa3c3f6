#pragma once

#include <memory>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// Bitmaps of more pixels than this stay in their file and are read as they are drawn.
inline constexpr std::uint64_t kFileBackedPixels = 4u * 1024u * 1024u;
// The most pixels a run-length compressed bitmap may expand to in memory (128 MiB of pixels).
inline constexpr std::uint64_t kMaxCompressedPixels = 32u * 1024u * 1024u;

// Reads a .bmp file (a file header, then a DIB) into an opaque bitmap picture. A large
// uncompressed bitmap keeps `file` and reads its rows on demand. Throws FileError.
Picture readBitmapFile(std::unique_ptr<ByteSource> file);

}  // namespace mosaikon
