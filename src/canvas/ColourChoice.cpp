#include "ColourChoice.h"

#include <stdexcept>
#include <string>

namespace mosaikon {

namespace {

constexpr Colour kPanelGrey{0x00E0E0E0u};
constexpr Colour kSilver{0x00C0C0C0u};
constexpr int kStartColourCount = 15;

// Swatches 0 to 14 at start-up, row by row in threes across the panel: plain colours as
// 0x00BBGGRR, system colours as references, so they follow the desktop's scheme when drawn.
constexpr std::array<Colour, kStartColourCount> kStartColours = {
    Colour::system(5),    // window background
    Colour(0x0000FF00u),  // green
    Colour::system(1),    // desktop background
    Colour(0x00FFFF00u),  // cyan
    Colour(0x00FF0000u),  // blue
    Colour::system(24),   // tooltip background
    Colour(0x0000FFFFu),  // yellow
    Colour::system(20),   // 3-D highlight
    Colour::system(11),   // inactive window border
    Colour::system(3),    // inactive title bar
    Colour::system(13),   // selected-item background
    Colour::system(22),   // 3-D light
    Colour(0x00000000u),  // black
    Colour(0x000000FFu),  // red
    Colour(0x00FF00FFu),  // magenta
};

}  // namespace

ColourChoice::ColourChoice()
    : Pallet(colours::kBlack),
      Pallet2(kPanelGrey),
      Pic(kStripWidth, kStripHeight, Colour::system(5), ScaleUnit::Twips) {
    lblColor.fill(kPanelGrey);
    lblColor[kSwatchCount - 1] = kSilver;
}

Colour ColourChoice::startColour(int index) {
    return kStartColours.at(static_cast<std::size_t>(index));
}

void ColourChoice::setStartColours() {
    for (std::size_t i = 0; i < kStartColours.size(); ++i) {
        lblColor[i] = kStartColours[i];
    }
}

void ColourChoice::lblColor_Click(std::int16_t Index, EditorState& state) {
    if (Index < 0 || Index >= kSwatchCount) {
        throw std::out_of_range("There is no colour swatch number " + std::to_string(Index) + ".");
    }
    const auto i = static_cast<std::size_t>(Index);
    state.CurrentColor = lblColor[i];
    Pallet = lblColor[i];
}

void ColourChoice::drawColourSweep() {
    // The row counter runs in twips; every box's bottom edge lies twice as far down as its top,
    // so the lower half of the strip repeats the middle of the sweep at half the spacing.
    std::int32_t y = 0;
    for (std::int32_t red = 0; red <= 255; red += 15) {
        for (std::int32_t green = 0; green <= 255; green += 20) {
            for (std::int32_t blue = 0; blue <= 255; blue += 20) {
                const double w = Pic.ScaleWidth();
                const Colour colour(static_cast<std::uint32_t>(red + 256 * green + 65536 * blue));
                Pic.Line(0, y, w, y + y, colour, LineShape::Box);
                ++y;
            }
            ++y;
        }
        ++y;
    }
    Pic.Refresh();
}

void ColourChoice::Pic_MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float Y,
                                 EditorState& state) {
    Pallet2 = Pic.Point(X, Y);
    state.CurrentColor = Pallet2;
}

}  // namespace mosaikon
