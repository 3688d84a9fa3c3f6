#pragma once

#include <array>
#include <cstdint>

#include "Colour.h"
#include "EditorState.h"
#include "PictureBox.h"

namespace mosaikon {

// The two ways of choosing the painting colour: sixteen swatches whose colour shows in the
// current-colour display `Pallet`, and the colour strip `Pic`, whose picked colour shows in
// `Pallet2`. The colours held here are what the window's labels show; a system colour reference
// stays a reference until a label or surface draws it.
class ColourChoice {
public:
    static constexpr int kSwatchCount = 16;
    // The strip: 79 × 271 pixels measured in twips, on the window-background system colour.
    static constexpr int kStripWidth = 79;
    static constexpr int kStripHeight = 271;

    ColourChoice();

    // Background colours of the labels as the window stores them before start-up.
    std::array<Colour, kSwatchCount> lblColor;  // swatches
    Colour Pallet;                              // current painting colour
    Colour Pallet2;                             // colour picked from the strip
    PictureBox Pic;                             // the colour strip

    // The start-up step: swatches 0 to 14 get their start colours; swatch 15 keeps its silver.
    void setStartColours();
    // A swatch click: its colour becomes the painting colour and shows in `Pallet`. An index
    // outside 0 to 15 is refused with std::out_of_range and changes nothing.
    void lblColor_Click(std::int16_t Index, EditorState& state);
    // Draws the whole colour sweep over the strip (3042 box outlines), then asks for a refresh.
    void drawColourSweep();
    // A press on the strip: the colour under the pointer shows in `Pallet2` and becomes the
    // painting colour. Button and Shift do not matter; X and Y are in twips.
    void Pic_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y,
                       EditorState& state);

    // The start colour of swatch `index` (0 to 14).
    static Colour startColour(int index);
};

}  // namespace mosaikon
