#pragma once

#include <cstdint>
#include <span>

#include "ByteSource.h"
#include "Picture.h"

namespace mosaikon {

// True when `head` (the first bytes of a file) starts an icon or cursor directory.
bool looksLikeIconFile(std::span<const std::uint8_t> head);

// Reads an icon (.ico) or cursor (.cur) file: of its images, the one a 32 × 32 request gets, as
// an icon picture at that image's own size. Throws FileError.
Picture readIconFile(ByteSource& file);

}  // namespace mosaikon
