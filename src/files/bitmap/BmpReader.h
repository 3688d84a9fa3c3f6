#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "ByteSource.h"
#include "Picture.h"
#include "bitmap/DibFormat.h"

namespace mosaikon {

// Bitmaps of more pixels than this stay in their file and are read as they are drawn; smaller
// ones are decoded whole, which takes at most 4 MiB of pixels and as much of stored rows.
inline constexpr std::uint64_t kFileBackedPixels = 1024u * 1024u;
// The most pixels a run-length compressed bitmap may have: 16384 × 16384. Its memory does not
// depend on it (the stream is decoded in order, keeping only the sampled pixels); the time
// of a drawing does, through the length of the stream the size allows.
inline constexpr std::uint64_t kMaxCompressedPixels = 16384u * 16384u;

// True when `head`, the first bytes of a file, start as a .bmp file does ("BM"): the bitmap
// format's test of a file's first bytes.
bool looksLikeBitmapFile(std::span<const std::uint8_t> head);

// The checked headers of a .bmp file: its DIB header and where its pixels start. Throws
// FileError when they are not those of a bitmap this reader can read.
struct BitmapHeaders {
    DibHeader dib;
    std::uint64_t pixelsOffset = 0;
};
BitmapHeaders readBitmapHeaders(ByteSource& file);

// Reads a .bmp file (a file header, then a DIB) into an opaque bitmap picture. A large bitmap
// keeps `file` (closed until it is drawn) and reads its pixels as they are drawn. Throws
// FileError.
Picture readBitmapFile(std::unique_ptr<ByteSource> file);

}  // namespace mosaikon
