#pragma once

#include <cstddef>
#include <span>

namespace mosaikon {

// What the choice of one image among several needs to know of each.
struct IconCandidate {
    int width = 0;  // in pixels; 256 where a directory says 0
    int height = 0;
    int bitCount = 0;  // bits per pixel
};

// The image a 32 × 32 request gets on the desktop: the smallest |w − 32| + |h − 32|, then the
// bit depth closest to 32, then the first. `candidates` must not be empty.
std::size_t chooseIconFor32(std::span<const IconCandidate> candidates);

}  // namespace mosaikon
