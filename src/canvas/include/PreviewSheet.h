#pragma once

#include <array>

#include "Colour.h"
#include "Picture.h"
#include "PictureBox.h"

namespace mosaikon {

// The backgrounds the preview shows the icon on, top to bottom.
enum class PreviewBackground { White, LightGrey, DarkGrey, Black, Checkerboard };
inline constexpr std::array<PreviewBackground, 5> kPreviewBackgrounds{
    PreviewBackground::White, PreviewBackground::LightGrey, PreviewBackground::DarkGrey,
    PreviewBackground::Black, PreviewBackground::Checkerboard};

// What each column of the preview shows, left to right.
enum class PreviewColumn { Actual, Double, Quadruple, Side16, Side48, Tiled };
inline constexpr std::array<PreviewColumn, 6> kPreviewColumns{
    PreviewColumn::Actual, PreviewColumn::Double, PreviewColumn::Quadruple,
    PreviewColumn::Side16, PreviewColumn::Side48, PreviewColumn::Tiled};

// One picture that shows a 32 × 32 icon with its opacity as people will meet it: at 1, 2 and 4
// times its size, at 16 and 48 pixels as Export Icon Sizes draws them, and as a 3 × 3 tiling,
// each on white, light grey, dark grey, black and a checkerboard. A row per background, a column
// per view, kGap pixels of the window's grey around each.
class PreviewSheet {
public:
    static constexpr int kGap = 8;
    static constexpr int kRowHeight = 128;  // the largest view, 4 times 32
    static constexpr int kCheckerSquare = 8;
    static constexpr Colour kGapColour{0x00E8E8E8u};

    PreviewSheet();

    // Draws every view of `icon`, a 32 × 32 icon picture (the opacity plane's).
    void draw(const Picture& icon);
    // The sheet as drawn, plain colours 0x00BBGGRR row by row.
    const PictureBox& sheet() const { return m_sheet; }

    // Where a view lies on the sheet, in pixels.
    static PixelArea areaOf(PreviewBackground background, PreviewColumn column);
    static Colour colourOf(PreviewBackground background);  // the checkerboard's light squares
    static int widthOf(PreviewColumn column);

private:
    void drawBackground(const PixelArea& area, PreviewBackground background);

    PictureBox m_sheet;
};

}  // namespace mosaikon
