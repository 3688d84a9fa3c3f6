#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace mosaikon {

// The bytes of an icon file holding `picture` as one 32-bit image with an AND mask: pixels of
// opacity 0 are stored as colour 0 with mask bit 1, every other pixel with its colour, its
// opacity and mask bit 0. Throws FileError naming `path` for a picture larger than 256 × 256.
std::vector<std::uint8_t> encodeIcon(const Picture& picture, const std::string& path);

// The bytes of an icon file holding `pictures` in the order given. A 256 × 256 picture is stored
// as a PNG stream, as the large images of today's icons are; every other one as encodeIcon stores
// its image. Throws FileError naming `path` for a picture larger than 256 × 256.
std::vector<std::uint8_t> encodeIconImages(const std::vector<Picture>& pictures,
                                           const std::string& path);

}  // namespace mosaikon
