#include "Colour.h"

#include <array>

namespace mosaikon {

namespace {

// The classic desktop colour scheme, indexed by system colour number, as 0x00BBGGRR. These are
// the values a fresh classic desktop reports, so icons painted with a system colour look the
// way their author saw them.
constexpr std::array<std::uint32_t, 31> kClassicScheme = {
    0x00C0C0C0,  //  0 scroll bar
    0x00808000,  //  1 desktop background (teal)
    0x00800000,  //  2 active title bar (navy)
    0x00808080,  //  3 inactive title bar
    0x00C0C0C0,  //  4 menu
    0x00FFFFFF,  //  5 window background
    0x00000000,  //  6 window frame
    0x00000000,  //  7 menu text
    0x00000000,  //  8 window text
    0x00FFFFFF,  //  9 title bar text
    0x00C0C0C0,  // 10 active border
    0x00C0C0C0,  // 11 inactive border
    0x00808080,  // 12 application workspace
    0x00800000,  // 13 selected-item background (navy)
    0x00FFFFFF,  // 14 selected-item text
    0x00C0C0C0,  // 15 button face
    0x00808080,  // 16 button shadow
    0x00808080,  // 17 disabled text
    0x00000000,  // 18 button text
    0x00C0C0C0,  // 19 inactive title bar text
    0x00FFFFFF,  // 20 3-D highlight
    0x00000000,  // 21 3-D dark shadow
    0x00DFDFDF,  // 22 3-D light
    0x00000000,  // 23 tooltip text
    0x00E1FFFF,  // 24 tooltip background
    0x00B5B5B5,  // 25 (unnamed; the scheme's alternate button face)
    0x00800000,  // 26 hot-tracked item
    0x00D08410,  // 27 active title gradient end
    0x00B5B5B5,  // 28 inactive title gradient end
    0x00800000,  // 29 highlighted menu item
    0x00C0C0C0,  // 30 menu bar
};

}  // namespace

Colour systemColour(std::uint32_t index) {
    return index < kClassicScheme.size() ? Colour(kClassicScheme[index]) : colours::kBlack;
}

Colour Colour::resolved() const {
    if (isSystemReference()) {
        return systemColour(m_value - kSystemFlag);
    }
    return Colour(m_value & 0x00FFFFFFu);
}

}  // namespace mosaikon
