#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mosaikon {

// What the choice of one image among several needs to know of each.
struct IconCandidate {
    int width = 0;  // in pixels; 256 where a directory says 0
    int height = 0;
    // Bits per pixel; 0 when neither the directory nor the image itself can say. Such an image
    // ranks as if its depth were the best, so that it is chosen whenever it might be the right
    // one: a reader then refuses the file rather than quietly take another image.
    int bitCount = 0;
};

// The depth an icon directory entry (of an icon file or an icon group) gives: its bit count, or
// else the bits its colour count needs. 0 when it gives neither, which means "256 colours or
// more": the image's own header has to say.
int directoryBitCount(std::uint16_t bitCount, std::uint8_t colourCount);

// The image a `side` × `side` request gets on the desktop: the smallest |w − side| +
// |h − side|, then the bit depth closest to 32, then the first. Throws std::invalid_argument when
// `candidates` is empty.
std::size_t chooseIconForSide(std::span<const IconCandidate> candidates, int side);
// The image a 32 × 32 request gets, which the editor opens.
inline std::size_t chooseIconFor32(std::span<const IconCandidate> candidates) {
    return chooseIconForSide(candidates, 32);
}

}  // namespace mosaikon
