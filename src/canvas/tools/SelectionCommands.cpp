// The selection's commands, over the canvas's two surfaces.
#include "IconCanvas.h"

namespace mosaikon {

std::optional<shapes::CellRect> IconCanvas::selectionRect() const {
    if (const SelectionState* held = m_selection.current(SmallPicture)) {
        return held->rect;
    }
    return std::nullopt;
}

bool IconCanvas::isSelectionFloating() const {
    const SelectionState* held = m_selection.current(SmallPicture);
    return held != nullptr && held->isFloating();
}

void IconCanvas::putDownSelection() { m_selection.putDown(); }

void IconCanvas::deleteSelection() { m_selection.erase(surfaces()); }

void IconCanvas::flipSelection(FlipAxis axis) { m_selection.flip(surfaces(), axis); }

void IconCanvas::selectAll() {
    m_selection.putDown();
    m_selection.select(SmallPicture, {0, 0, kIconEdge, kIconEdge});
}

Picture IconCanvas::selectionPicture() const { return m_selection.picture(SmallPicture, &opacity); }

Picture IconCanvas::cutSelection() {
    Picture cut = m_selection.picture(SmallPicture, &opacity);
    m_selection.erase(surfaces());
    return cut;
}

void IconCanvas::pasteFloating(const Picture& picture) { m_selection.paste(surfaces(), picture); }

SelectionRecord IconCanvas::selectionRecord() const { return m_selection.record(SmallPicture); }

void IconCanvas::restoreSelection(SelectionRecord record) {
    m_selection.restore(SmallPicture, std::move(record));
}

}  // namespace mosaikon
