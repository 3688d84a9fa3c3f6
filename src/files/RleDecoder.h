#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "DibFormat.h"

namespace mosaikon {

// Expands an RLE8 or RLE4 pixel stream into `header.width` × `header.height` pixels, rows from
// the top. Runs that reach past a row's end are cut there; pixels the stream skips with a delta
// or an early end of bitmap stay black; nothing is ever written outside the picture. Throws
// FileError when the stream ends before its end-of-bitmap mark with rows still missing.
std::vector<Pixel> decodeRle(std::span<const std::uint8_t> stream, const DibHeader& header,
                             const std::vector<Pixel>& palette, const std::string& path);

}  // namespace mosaikon
