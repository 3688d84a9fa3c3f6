#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "EditorState.h"
#include "PictureBox.h"
#include "Tools.h"

namespace mosaikon {

// The icon in its two places, the 32 × 32 icon surface and the magnified view with its grid,
// together with the editor's record; the drawing tools and the whole-icon transforms work on
// them.
class IconCanvas {
public:
    // View geometry: 32 cells of 10 pixels, a 319 × 319 drawing area inside a 1-pixel border.
    static constexpr int kIconEdge = 32;
    static constexpr int kViewEdge = 319;
    static constexpr int kViewOuterEdge = 321;

    IconCanvas();

    PictureBox SmallPicture;  // the icon at real size
    PictureBox LargePicture;  // the magnified view
    EditorState state;

    // Start-up: the record's first values, then `setSwatchColours` (the window's step), then the
    // empty grid and the Paint tool.
    void Form_Load(const std::function<void()>& setSwatchColours = {});

    // Draws the black grid lines over the view and resets the cell geometry; `iconSize` is set
    // to 32.
    void DrawGrid(std::int16_t& iconSize, const Colour& gridColor);
    void DrawGrid();  // DrawGrid(32, black), what every caller asks for

    // The view drawn afresh from the icon surface (321 × 321 paint, then the grid). Returns the
    // picture it took from the icon surface.
    Picture rebuildView();
    // The icon surface drawn from the view: the view's whole image shrunk to 32 × 32.
    void readBackIcon();

    // The active drawing tool, as the view's MousePointer records it, and the choice of one,
    // which writes that record (the toolbar's pressed states are the window's).
    Tool activeTool() const { return toolOfPointer(LargePicture.MousePointer()); }
    void selectTool(Tool tool) { LargePicture.setMousePointer(pointerOfTool(tool)); }

    // Mouse events of the view: Button as the view reports it, X and Y in view pixels. A press
    // goes to the active tool.
    void LargePicture_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void LargePicture_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

    // Whole-icon transforms.
    void MoveIcon(const std::string& direction);
    void ShiftImage(std::int32_t dx, std::int32_t dy);
    void FlipHorizontal();
    void FlipVertical();
    void Rotat_Icon();
    void ClearIcon();
    void New_Icon();

private:
    void paintScan(float X, float Y);
    void replaceColour(float X, float Y);
};

}  // namespace mosaikon
