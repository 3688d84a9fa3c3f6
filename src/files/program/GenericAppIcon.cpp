#include "program/GenericAppIcon.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace mosaikon {

namespace {

// A window seen from the front: dark frame, blue title bar with three buttons, white client
// area with a few lines of grey "text", and a soft shadow below and to the right. Each
// character is one pixel; the legend below gives its colour. '.' is fully transparent.
// clang-format off
constexpr std::array<std::string_view, 32> kRows = {
    "................................",
    "................................",
    "................................",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KBBBBBBBBBBBBBBBBBBBBBBBBBBKs.",
    "..KBbbbbbbbbbbbbbbbbbbbbbbbbBKs.",
    "..KBbWWbbbbbbbbbbbbbbWbWbWWbBKs.",
    "..KBbbbbbbbbbbbbbbbbbbbbbbbbBKs.",
    "..KBBBBBBBBBBBBBBBBBBBBBBBBBBKs.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggggggggWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggggggggggggWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggggWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggggggggggggggWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggggggggggWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWggggggggggWWWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KWWWWWWWWWWWWWWWWWWWWWWWWWWKs.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKKs.",
    "...ssssssssssssssssssssssssssss.",
    "................................",
    "................................",
    "................................",
};
// clang-format on

static_assert(std::all_of(kRows.begin(), kRows.end(),
                          [](std::string_view row) { return row.size() == 32; }),
              "every row of the picture is 32 pixels wide");

// Pixels are 0xAABBGGRR: opacity in the high byte, then blue, green, red.
constexpr Pixel colourOf(char code) {
    switch (code) {
        case 'K':
            return 0xFF303030u;  // frame
        case 'B':
            return 0xFF8C4A1Eu;  // title bar edge, dark blue
        case 'b':
            return 0xFFD78C3Cu;  // title bar, light blue
        case 'W':
            return 0xFFFFFFFFu;  // client area and title-bar buttons
        case 'g':
            return 0xFFB4B4B4u;  // lines of text
        case 's':
            return 0x60000000u;  // shadow, partly transparent black
        default:
            return 0x00000000u;  // transparent
    }
}

Picture buildIcon() {
    std::vector<Pixel> pixels;
    pixels.reserve(std::size_t{32} * 32);
    for (std::string_view row : kRows) {
        for (char code : row) {
            pixels.push_back(colourOf(code));
        }
    }
    return Picture::fromPixels(PictureKind::Icon, 32, 32, std::move(pixels));
}

}  // namespace

const Picture& genericApplicationIcon() {
    static const Picture icon = buildIcon();
    return icon;
}

}  // namespace mosaikon
