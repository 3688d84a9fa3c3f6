#pragma once

#include <QWidget>
#include <optional>

#include "CellShapes.h"
#include "ToolSession.h"

namespace mosaikon {

class PictureBoxView;

// What the tools show over the magnified grid without drawing into it: the cells of a line,
// rectangle or ellipse being dragged, and the outline of the selection on the grid lines around
// it. It covers the view and lets the mouse through to it; saves, the read-back and the history
// never see it.
class ToolOverlay : public QWidget {
    Q_OBJECT
public:
    explicit ToolOverlay(PictureBoxView* grid);

    // Repaints what changed since the last call, and nothing when nothing did.
    void show(const ShapePreview& preview, const std::optional<shapes::CellRect>& selection);
    const ShapePreview& shownPreview() const { return m_preview; }
    const std::optional<shapes::CellRect>& shownSelection() const { return m_selection; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect interiorOf(grid::Cell cell) const;
    QRect squareOf(grid::Cell cell) const;
    QRegion previewCells(const ShapePreview& preview) const;
    QRegion previewChange(const ShapePreview& before, const ShapePreview& after) const;
    QRect selectionArea(const std::optional<shapes::CellRect>& selection) const;
    QRegion outlineRing(const std::optional<shapes::CellRect>& selection) const;

    int m_border;
    ShapePreview m_preview;
    std::optional<shapes::CellRect> m_selection;
};

}  // namespace mosaikon
