// The tools after Paint and Change: each press-to-release of the primary button, handed over
// in cells, and mirrored drawing.
#include <bitset>

#include "FloodFill.h"
#include "IconCanvas.h"

namespace mosaikon {

namespace {

using grid::Cell;

ToolDrag::Kind dragKindOf(Tool tool) {
    switch (tool) {
        case Tool::Eraser:
            return ToolDrag::Kind::Eraser;
        case Tool::Fill:
            return ToolDrag::Kind::Fill;
        case Tool::Select:
            return ToolDrag::Kind::SelectArea;
        default:
            return ToolDrag::Kind::Shape;
    }
}

shapes::Shape shapeOf(Tool tool) {
    switch (tool) {
        case Tool::Line:
            return shapes::Shape::Line;
        case Tool::Rectangle:
        case Tool::FilledRectangle:
            return shapes::Shape::Rectangle;
        default:
            return shapes::Shape::Ellipse;
    }
}

std::vector<Cell> shapeCells(Tool tool, Cell from, Cell to) {
    switch (tool) {
        case Tool::Line:
            return shapes::lineCells(from, to);
        case Tool::Rectangle:
            return shapes::rectangleCells(from, to, shapes::Fill::Outline);
        case Tool::FilledRectangle:
            return shapes::rectangleCells(from, to, shapes::Fill::Solid);
        case Tool::Ellipse:
            return shapes::ellipseCells(from, to, shapes::Fill::Outline);
        case Tool::FilledEllipse:
            return shapes::ellipseCells(from, to, shapes::Fill::Solid);
        default:
            return {};
    }
}

bool onIcon(Cell cell) {
    return cell.column >= 0 && cell.row >= 0 && cell.column < grid::kCells &&
           cell.row < grid::kCells;
}

}  // namespace

void IconCanvas::selectTool(Tool tool) {
    toolCancel();
    m_selection.putDown();
    LargePicture.setMousePointer(pointerOfTool(tool));
}

std::vector<Cell> IconCanvas::withMirror(const std::vector<Cell>& cells) const {
    std::bitset<grid::kCells * grid::kCells> taken;
    std::vector<Cell> result;
    result.reserve(cells.size() * 2);
    const auto add = [&](Cell cell) {
        const auto index = static_cast<std::size_t>(cell.row * grid::kCells + cell.column);
        if (onIcon(cell) && !taken[index]) {
            taken.set(index);
            result.push_back(cell);
        }
    };
    for (const Cell cell : cells) {
        add(cell);
        if (m_mirroring == Mirroring::On) {
            add(shapes::mirroredCell(cell));
        }
    }
    return result;
}

void IconCanvas::paintCells(const std::vector<Cell>& cells, Colour colour) {
    CellBatch batch(surfaces());
    batch.paint(withMirror(cells), colour);
    batch.finish();
}

void IconCanvas::fillAt(Cell cell) {
    // Compared as they show: a system colour by the colour it stands for now.
    if (!onIcon(cell) ||
        SmallPicture.pixel(cell.column, cell.row) == state.CurrentColor.resolved()) {
        return;
    }
    CellBatch batch(surfaces());
    batch.paint(fillRegion(SmallPicture, cell), state.CurrentColor);
    batch.finish();
}

void IconCanvas::toolPress(Cell cell, MouseButton button) {
    const Tool tool = activeTool();
    if (button != MouseButton::Primary || m_drag || !isSessionTool(tool)) {
        return;
    }
    ToolDrag drag;
    drag.kind = dragKindOf(tool);
    drag.tool = tool;
    drag.pressed = cell;
    drag.latest = cell;
    switch (drag.kind) {
        case ToolDrag::Kind::Shape:
            m_preview = {withMirror(shapeCells(tool, cell, cell)), state.CurrentColor};
            break;
        case ToolDrag::Kind::Eraser:
            paintCells({cell}, colours::kWhite);
            break;
        case ToolDrag::Kind::Fill:
            fillAt(cell);
            break;
        case ToolDrag::Kind::SelectArea:
        case ToolDrag::Kind::MoveSelection:
            startSelectDrag(drag);
            break;
    }
    m_drag = drag;
}

// A press inside the selection starts moving it; anywhere else it puts the selection down and
// starts drawing a new one.
void IconCanvas::startSelectDrag(ToolDrag& drag) {
    const SelectionState* held = m_selection.current(SmallPicture);
    if (held != nullptr && held->rect.contains(drag.pressed)) {
        drag.kind = ToolDrag::Kind::MoveSelection;
        drag.selectionAtPress = held->rect;
    } else {
        drag.kind = ToolDrag::Kind::SelectArea;
        m_selection.putDown();
    }
}

void IconCanvas::followDrag(ToolDrag& drag, Cell cell, Modifiers modifiers) {
    if (cell != drag.pressed) {
        drag.leftPressedCell = true;
    }
    switch (drag.kind) {
        case ToolDrag::Kind::Shape: {
            const Cell end = modifiers == Modifiers::Shift
                                 ? shapes::constrained(drag.pressed, cell, shapeOf(drag.tool))
                                 : cell;
            m_preview.cells = withMirror(shapeCells(drag.tool, drag.pressed, end));
            break;
        }
        case ToolDrag::Kind::Eraser:
            if (cell != drag.latest) {
                std::vector<Cell> joined = shapes::lineCells(drag.latest, cell);
                joined.erase(joined.begin());  // painted by the position before
                paintCells(joined, colours::kWhite);
            }
            break;
        case ToolDrag::Kind::Fill:
            break;
        case ToolDrag::Kind::SelectArea:
            if (drag.leftPressedCell) {
                m_selection.select(SmallPicture, shapes::spanOf(drag.pressed, cell));
            }
            break;
        case ToolDrag::Kind::MoveSelection:
            // Whole cells: the offset of the pointer's cell from the pressed one.
            m_selection.moveTo(surfaces(),
                               drag.selectionAtPress.left + cell.column - drag.pressed.column,
                               drag.selectionAtPress.top + cell.row - drag.pressed.row);
            break;
    }
    drag.latest = cell;
}

void IconCanvas::toolMove(Cell cell, Modifiers modifiers) {
    if (m_drag) {
        followDrag(*m_drag, cell, modifiers);
    }
}

void IconCanvas::toolRelease(Cell cell, Modifiers modifiers) {
    if (!m_drag) {
        return;
    }
    followDrag(*m_drag, cell, modifiers);
    if (m_drag->kind == ToolDrag::Kind::Shape) {
        // The preview already holds the mirror images, each cell once.
        CellBatch batch(surfaces());
        batch.paint(m_preview.cells, m_preview.colour);
        batch.finish();
    }
    m_preview = {};
    m_drag.reset();
}

bool IconCanvas::toolCancel() {
    if (!m_drag) {
        return false;
    }
    if (m_drag->kind == ToolDrag::Kind::MoveSelection) {
        m_selection.moveTo(surfaces(), m_drag->selectionAtPress.left, m_drag->selectionAtPress.top);
    } else if (m_drag->kind == ToolDrag::Kind::SelectArea) {
        m_selection.putDown();
    }
    m_preview = {};
    m_drag.reset();
    return true;
}

PointerShape IconCanvas::pointerShapeAt(Cell cell) const {
    const SelectionState* held = m_selection.current(SmallPicture);
    if (activeTool() == Tool::Select && held != nullptr && held->rect.contains(cell)) {
        return PointerShape::Move;
    }
    return pointerShapeOf(LargePicture.MousePointer());
}

}  // namespace mosaikon
