#pragma once

#include <QImage>
#include <cstdint>

#include "Picture.h"

namespace mosaikon {

// A picture's pixels (0xAABBGGRR) and Qt's (0xAARRGGBB) differ by the red and blue bytes; the
// same swap turns either into the other.
constexpr std::uint32_t swapRedBlue(std::uint32_t pixel) {
    return (pixel & 0xFF00FF00u) | ((pixel & 0xFFu) << 16) | ((pixel >> 16) & 0xFFu);
}

// `picture` as an image with each pixel's own colour and opacity, read a row at a time; meant
// for pictures of a few hundred pixels a side (fit larger ones first).
QImage pictureImage(const Picture& picture);

}  // namespace mosaikon
