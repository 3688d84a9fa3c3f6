// The grid's mouse and keyboard events, sent to the view's own handlers while Paint or Change is
// the tool and to the canvas's tool session for the tools after them.
#include "GridGeometry.h"
#include "ToolSession.h"
#include "access/GridKeyboard.h"
#include "mainwindow/frmEditIcon.h"
#include "tools/ToolOverlay.h"

namespace mosaikon {

namespace {

constexpr std::int16_t kPrimary = 1;
constexpr std::int16_t kSecondary = 2;
constexpr std::int16_t kShiftHeld = 1;

MouseButton mouseButtonOf(std::int16_t button) {
    switch (button) {
        case kPrimary:
            return MouseButton::Primary;
        case kSecondary:
            return MouseButton::Secondary;
        default:
            return MouseButton::Middle;
    }
}

Modifiers modifiersOf(std::int16_t shift) {
    return (shift & kShiftHeld) != 0 ? Modifiers::Shift : Modifiers::None;
}

}  // namespace

bool frmEditIcon::gridGoesToToolSession() const { return isSessionTool(m_canvas.activeTool()); }

void frmEditIcon::gridPressed(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!gridGoesToToolSession()) {
        return LargePicture_MouseDown(button, shift, x, y);
    }
    m_canvas.toolPress(grid::cellUnder(x, y), mouseButtonOf(button));
}

void frmEditIcon::gridMoved(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!gridGoesToToolSession()) {
        return LargePicture_MouseMove(button, shift, x, y);
    }
    if (m_canvas.isToolDragging()) {
        m_canvas.toolMove(grid::cellUnder(x, y), modifiersOf(shift));
    }
}

void frmEditIcon::gridReleased(std::int16_t button, std::int16_t shift, float x, float y) {
    if (gridGoesToToolSession() && button == kPrimary && m_canvas.isToolDragging()) {
        m_canvas.toolRelease(grid::cellUnder(x, y), modifiersOf(shift));
    }
}

// Space on the cell cursor: a press there for the view's own handlers; for the session tools
// the first Space starts a drag at the cell and the second ends it where the cursor has moved,
// while Fill and Eraser, which need no second point, finish at once.
void frmEditIcon::gridSpacePressed(std::int16_t button, std::int16_t shift, float x, float y) {
    if (!gridGoesToToolSession()) {
        return LargePicture_MouseDown(button, shift, x, y);
    }
    const grid::Cell cell = grid::cellUnder(x, y);
    if (m_canvas.isToolDragging()) {
        return m_canvas.toolRelease(cell, modifiersOf(shift));
    }
    m_canvas.toolPress(cell, MouseButton::Primary);
    const Tool tool = m_canvas.activeTool();
    if (tool == Tool::Fill || tool == Tool::Eraser) {
        m_canvas.toolRelease(cell, modifiersOf(shift));
    }
}

void frmEditIcon::gridCursorMoved(int column, int row) {
    if (gridGoesToToolSession() && m_canvas.isToolDragging()) {
        m_canvas.toolMove({column, row});
    }
}

}  // namespace mosaikon
