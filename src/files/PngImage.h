#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

struct PngSize {
    int width = 0;
    int height = 0;
    int bitCount = 0;  // bits per pixel as stored: channels × bit depth
};

// The size a PNG stream's header declares. Throws FileError naming `path`.
PngSize readPngSize(std::span<const std::uint8_t> png, const std::string& path);

// Decodes a PNG stream (as stored in an icon) into pixels with their opacity, rows from the top.
// A stream whose declared size its compressed data could not fill is refused before anything is
// allocated. Throws FileError naming `path`.
std::vector<Pixel> decodePng(std::span<const std::uint8_t> png, const std::string& path);

}  // namespace mosaikon
