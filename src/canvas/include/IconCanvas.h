#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "CellPainting.h"
#include "CellShapes.h"
#include "EditorState.h"
#include "OpacityPlane.h"
#include "PictureBox.h"
#include "Selection.h"
#include "ToolSession.h"
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
    // The icon's own colours and opacity, which the icon surface shows over white; every
    // operation below keeps it.
    OpacityPlane opacity;

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
    // The icon surface's picture assignment with the plane taking the picture's opacity, then
    // the view rebuilt: opening an icon, pasting an image.
    void takePicture(const Picture& picture);

    // The active drawing tool, as the view's MousePointer records it, and the choice of one,
    // which writes that record (the toolbar's pressed states are the window's). Choosing a
    // tool also cancels a drag under way and puts the selection down.
    Tool activeTool() const { return toolOfPointer(LargePicture.MousePointer()); }
    void selectTool(Tool tool);

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

    // The tools after Paint and Change (isSessionTool), driven in cells: the window turns a
    // position into grid::cellUnder(X, Y). A press with the primary button starts a drag of
    // the active tool, the moves while it is held follow it, and the release ends it; nothing
    // happens for other buttons, for moves without a press, or while a drag is under way.
    // Line, rectangle and ellipse show in preview() until the release paints them.
    void toolPress(grid::Cell cell, MouseButton button);
    void toolMove(grid::Cell cell, Modifiers modifiers = Modifiers::None);
    void toolRelease(grid::Cell cell, Modifiers modifiers = Modifiers::None);
    // Escape during a drag: a shape is dropped unpainted, a selection being moved goes back to
    // where it lay at the press, one being drawn is dropped; what the eraser has already
    // painted stays. False when no drag was under way.
    bool toolCancel();
    bool isToolDragging() const { return m_drag.has_value(); }
    const ShapePreview& preview() const { return m_preview; }
    // The pointer's shape over `cell`: a move over the selection the Select tool can drag,
    // otherwise what the view's MousePointer asks for.
    PointerShape pointerShapeAt(grid::Cell cell) const;

    // Mirrored drawing, off at start. It applies to Paint (presses and drags through the
    // view's own handlers), Eraser, Line, Rectangle and Ellipse.
    void setMirroring(Mirroring mirroring) { m_mirroring = mirroring; }
    Mirroring mirroring() const { return m_mirroring; }

    // The region of the icon that shows the colour of `cell`'s pixel, joined side by side,
    // takes the painting colour on both surfaces; nothing happens when that pixel already
    // shows the painting colour. What a Fill press does.
    void fillAt(grid::Cell cell);

    // The selection (SelectionCommands.cpp). Each call that changes the surfaces is meant to
    // be one step of the edit history; the selection's state goes with each step through
    // selectionRecord() and restoreSelection().
    std::optional<shapes::CellRect> selectionRect() const;
    bool isSelectionFloating() const;
    void putDownSelection();
    void deleteSelection();  // its cells turn white; it stays selected
    void flipSelection(FlipAxis axis);
    void selectAll();
    // The selection's pixels, past the icon's edges included; empty when there is none.
    Picture selectionPicture() const;
    Picture cutSelection();
    // Floats `picture`, at most 32 × 32, at the top-left over the icon, ready to be moved.
    void pasteFloating(const Picture& picture);
    SelectionRecord selectionRecord() const;
    void restoreSelection(SelectionRecord record);

private:
    void paintScan(float X, float Y);
    void replaceColour(float X, float Y);

    IconSurfaces surfaces() { return {SmallPicture, LargePicture, &opacity}; }
    // `cells` with their mirror images while mirroring is on, each cell of the icon once.
    std::vector<grid::Cell> withMirror(const std::vector<grid::Cell>& cells) const;
    void paintCells(const std::vector<grid::Cell>& cells, Colour colour);
    void startSelectDrag(ToolDrag& drag);
    void followDrag(ToolDrag& drag, grid::Cell cell, Modifiers modifiers);

    Mirroring m_mirroring = Mirroring::Off;
    std::optional<ToolDrag> m_drag;
    ShapePreview m_preview;
    Selection m_selection;
};

}  // namespace mosaikon
