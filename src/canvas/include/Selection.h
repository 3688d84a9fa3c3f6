#pragma once

#include <cstdint>
#include <vector>

#include "CellPainting.h"
#include "CellShapes.h"
#include "Picture.h"
#include "SelectionRecord.h"

namespace mosaikon {

// What a selection is at one moment.
//
// A selection starts as a rectangle of the icon's cells. Moving, flipping, erasing or pasting
// lifts it: it then floats, holding its own pixels and the icon as it lies beneath them, so
// that what it covers comes back when it moves on, and its pixels that went past the icon's
// edges come back when it moves back. The surfaces always show it where it floats.
struct SelectionState {
    shapes::CellRect rect;               // where it lies; may reach past the edges while floating
    std::vector<std::uint32_t> pixels;   // its own, rect.width × rect.height; empty until lifted
    std::vector<std::uint32_t> beneath;  // the icon without them, 32 × 32; empty until lifted
    // The same two in the opacity plane, when the icon has one: its own colours and opacity go
    // with it as it moves, and what it covers comes back as it was.
    std::vector<Pixel> opacity;
    std::vector<Pixel> opacityBeneath;

    bool isFloating() const { return !pixels.empty(); }
};

enum class FlipAxis { LeftRight, TopBottom };

// The selection of the Select tool, over the icon's two surfaces.
//
// Every change that shows on the surfaces paints the cells that change as the Paint tool
// paints them. A selection holds only while nothing else changes the icon: once another
// operation has drawn on the icon surface (a tool, a transform, an open, an undo) the
// selection counts as put down, unless it is restored from a record that goes with the icon as
// it now is.
class Selection {
public:
    // The selection over `icon`, or null when there is none.
    const SelectionState* current(const PictureBox& icon) const;

    // Selects `rect`, which lies on the icon, putting down any selection held before.
    void select(const PictureBox& icon, const shapes::CellRect& rect);
    // Fixes the selection where it lies; its pixels past the icon's edges are gone. The
    // surfaces already show it, so they do not change.
    void putDown() { m_state.reset(); }

    // Moves the selection so that its top-left cell is (left, top), lifting it first.
    void moveTo(IconSurfaces surfaces, int left, int top);
    // Turns the selection's cells white; it stays selected.
    void erase(IconSurfaces surfaces);
    void flip(IconSurfaces surfaces, FlipAxis axis);
    // The selection's pixels as a picture of its size, with those past the edges: opaque, or
    // with their opacity when `opacity` is the icon's plane.
    Picture picture(const PictureBox& icon, const OpacityPlane* opacity = nullptr) const;
    // Puts down what is held and floats `picture` at the top-left, over the icon, as the icon
    // would show it (transparency over white). The picture must fit on the icon.
    void paste(IconSurfaces surfaces, const Picture& picture);

    // The selection as it stands, for the edit history, and the return to such a record, which
    // must go with the icon as it is now.
    SelectionRecord record(const PictureBox& icon) const;
    void restore(const PictureBox& icon, SelectionRecord record);

private:
    // The state lifted off the icon: its pixels taken up, white left beneath them.
    SelectionState lifted(IconSurfaces surfaces) const;
    // Shows `next` on the surfaces in place of the current state and makes it current.
    void show(IconSurfaces surfaces, SelectionState next);

    SelectionRecord m_state;
    // The icon's revision when the selection last matched it.
    std::uint64_t m_iconRevision = 0;
};

}  // namespace mosaikon
