#include "tools/ToolOverlay.h"

#include <QPainter>
#include <QPen>
#include <bitset>

#include "GridGeometry.h"
#include "controls/PictureBoxView.h"

namespace mosaikon {

namespace {

// The outline shows on cells of any colour and on the black grid lines: white under a dashed
// strong blue.
const QColor kOutlineLight(255, 255, 255);
const QColor kOutlineStrong(0, 96, 255);

QColor shownColour(Colour colour) {
    const Colour plain = colour.resolved();
    return {plain.red(), plain.green(), plain.blue()};
}

}  // namespace

ToolOverlay::ToolOverlay(PictureBoxView* grid) : QWidget(grid), m_border(grid->borderWidth()) {
    setObjectName(QStringLiteral("ToolOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(grid->rect());
    // Hidden while it has nothing to show, so that painting the view never repaints it too.
    setVisible(false);
}

void ToolOverlay::show(const ShapePreview& preview,
                       const std::optional<shapes::CellRect>& selection) {
    // Only what differs is repainted, the view beneath included: a shape that grows by a row
    // redraws that row's cells, not the whole rectangle they span.
    if (preview != m_preview) {
        const QRegion dirty = preview.colour == m_preview.colour
                                  ? previewChange(m_preview, preview)
                                  : previewCells(m_preview).united(previewCells(preview));
        m_preview = preview;
        update(dirty);
    }
    if (selection != m_selection) {
        const QRegion dirty = outlineRing(m_selection).united(outlineRing(selection));
        m_selection = selection;
        update(dirty);
    }
    const bool anything = !m_preview.cells.empty() || m_selection.has_value();
    if (anything != isVisible()) {
        setVisible(anything);
    }
}

QRect ToolOverlay::interiorOf(grid::Cell cell) const {
    const grid::ViewRect interior = grid::cellInterior(cell);
    return {QPoint(m_border + interior.left, m_border + interior.top),
            QPoint(m_border + interior.right, m_border + interior.bottom)};
}

QRect ToolOverlay::squareOf(grid::Cell cell) const {
    const grid::ViewRect square = grid::cellSquare(cell);
    return {QPoint(m_border + square.left, m_border + square.top),
            QPoint(m_border + square.right, m_border + square.bottom)};
}

QRegion ToolOverlay::previewCells(const ShapePreview& preview) const {
    QRegion cells;
    for (const grid::Cell& cell : preview.cells) {
        cells += squareOf(cell);
    }
    return cells;
}

// The cells in one preview and not in the other, each with its grid lines so that neighbours
// join into a few bands rather than one rectangle per cell.
QRegion ToolOverlay::previewChange(const ShapePreview& before, const ShapePreview& after) const {
    std::bitset<grid::kCells * grid::kCells> shownBefore;
    std::bitset<grid::kCells * grid::kCells> shownAfter;
    const auto mark = [](auto& shown, const ShapePreview& preview) {
        for (const grid::Cell& cell : preview.cells) {
            if (cell.column >= 0 && cell.column < grid::kCells && cell.row >= 0 &&
                cell.row < grid::kCells) {
                shown.set(static_cast<std::size_t>(cell.row * grid::kCells + cell.column));
            }
        }
    };
    mark(shownBefore, before);
    mark(shownAfter, after);
    const auto changed = shownBefore ^ shownAfter;
    QRegion cells;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if (changed.test(i)) {
            cells +=
                squareOf({static_cast<int>(i) % grid::kCells, static_cast<int>(i) / grid::kCells});
        }
    }
    return cells;
}

// The outline's two lines on each side of the selection.
QRegion ToolOverlay::outlineRing(const std::optional<shapes::CellRect>& selection) const {
    const QRect outer = selectionArea(selection);
    if (outer.isEmpty()) {
        return {};
    }
    return QRegion(outer).subtracted(QRegion(outer.adjusted(2, 2, -2, -2)));
}

// The square of grid lines around the selection's cells, one pixel wider on each side for the
// white line under the blue one.
QRect ToolOverlay::selectionArea(const std::optional<shapes::CellRect>& selection) const {
    if (!selection) {
        return {};
    }
    const int left = m_border + selection->left * grid::kCellSize;
    const int top = m_border + selection->top * grid::kCellSize;
    const QRect lines(QPoint(left, top), QPoint(left + selection->width * grid::kCellSize,
                                                top + selection->height * grid::kCellSize));
    return lines.adjusted(-1, -1, 1, 1);
}

void ToolOverlay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!m_preview.cells.empty()) {
        const QColor colour = shownColour(m_preview.colour);
        for (const grid::Cell& cell : m_preview.cells) {
            painter.fillRect(interiorOf(cell), colour);
        }
    }
    if (m_selection) {
        const QRect outline = selectionArea(m_selection).adjusted(1, 1, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kOutlineLight, 1));
        painter.drawRect(outline.adjusted(0, 0, -1, -1));
        QPen dashes(kOutlineStrong, 1, Qt::DashLine);
        painter.setPen(dashes);
        painter.drawRect(outline.adjusted(0, 0, -1, -1));
    }
}

}  // namespace mosaikon
