#pragma once

#include <vector>

#include "CellShapes.h"
#include "Colour.h"
#include "Tools.h"

// What the tools after Paint and Change need beside the canvas: the events the window hands
// them, the preview it draws, and the record of a press-to-release while it lasts.
//
// How the window drives them (IconCanvas):
// - While isSessionTool(activeTool()), a press on the view's drawing area goes to toolPress,
//   every move while a button is held to toolMove and the primary button's release to
//   toolRelease, each with grid::cellUnder(X, Y), and nothing goes to LargePicture_MouseDown or
//   LargePicture_MouseMove. Otherwise those two run as they always have; mirrored drawing is
//   the only thing that changes what they paint. A press on the border reaches no tool.
// - Shift with a move or the release: Modifiers::Shift. Escape: toolCancel() when
//   isToolDragging(), else putDownSelection() while a selection is held.
// - The keyboard: Space on the cell cursor is toolPress(cell, Primary), cursor moves are
//   toolMove, the second Space is toolRelease.
// - After each handler the window draws preview() over the view and outlines selectionRect()
//   over the grid lines around it; pointerShapeAt(cell) gives the cursor.
// - Undo steps: every press-to-release, and every selection command that changes the surfaces
//   (deleteSelection, flipSelection, cutSelection, pasteFloating), is one step; choosing a
//   tool, setMirroring, selectAll, putDownSelection and drawing a selection change no surface
//   and make none. Record with EditHistory::record(icon, view, selectionRecord()) after every
//   handler, and after undo() or redo() call restoreSelection(history.selection()).
// - Undo or redo while a drag is under way ends it first with toolCancel().
// - Any other command puts the selection down first (putDownSelection); selectTool does it
//   itself. A selection whose icon something else has changed is put down anyway.
namespace mosaikon {

// The button a press came with; only the primary one draws.
enum class MouseButton { Primary, Secondary, Middle };
// Shift held while dragging keeps a line to 0, 45 or 90 degrees and a rectangle or ellipse
// square.
enum class Modifiers { None, Shift };
// Mirrored drawing: every cell Paint, Eraser, Line, Rectangle or Ellipse draws at (c, r) is
// also drawn at (31 − c, r).
enum class Mirroring { Off, On };

// A line, rectangle or ellipse being dragged: the cells the window draws over the view, in
// `colour`, until the release paints them. Neither surface holds a preview. The colour is the
// painting colour as held, so a system colour reference is drawn as the colour it resolves to.
struct ShapePreview {
    std::vector<grid::Cell> cells;
    Colour colour;
    friend bool operator==(const ShapePreview&, const ShapePreview&) = default;
};

// One press-to-release of a session tool.
struct ToolDrag {
    enum class Kind { Shape, Eraser, Fill, SelectArea, MoveSelection };
    Kind kind = Kind::Shape;
    Tool tool = Tool::None;
    grid::Cell pressed;
    grid::Cell latest;
    // Whether the pointer has been on another cell than the pressed one: a selection is made
    // by a drag, and a click only puts the held one down.
    bool leftPressedCell = false;
    // Where a selection being moved lay at the press.
    shapes::CellRect selectionAtPress;
};

}  // namespace mosaikon
