#include "access/GridKeyboard.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "access/ColourNames.h"
#include "access/KeyboardFocus.h"
#include "controls/PictureBoxView.h"

namespace mosaikon {

// The cursor as a layer over the grid view: a ring on the cell's grid lines in a strong blue,
// and a white ring just inside it, so it shows on cells of any colour. It lets the mouse
// through to the view beneath.
class CellCursor : public QWidget {
public:
    CellCursor(PictureBoxView* grid) : QWidget(grid), m_border(grid->borderWidth()) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(grid->rect());
        hide();
    }

    void setCell(QPoint cell) {
        update(ring(m_cell));
        m_cell = cell;
        update(ring(m_cell));
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QRect outer = ring(m_cell);
        painter.setPen(QPen(QColor(0x00, 0x5F, 0xD7), 0));
        painter.drawRect(outer.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::white, 0));
        painter.drawRect(outer.adjusted(1, 1, -2, -2));
    }

private:
    // The cell's square of grid lines, 11 × 11 pixels, within the view.
    QRect ring(QPoint cell) const {
        const grid::ViewRect lines = grid::cellSquare({cell.x(), cell.y()});
        const QRect square(QPoint(m_border + lines.left, m_border + lines.top),
                           QPoint(m_border + lines.right, m_border + lines.bottom));
        return square.intersected(rect());
    }

    int m_border;
    QPoint m_cell{0, 0};
};

GridKeyboard::GridKeyboard(PictureBoxView* grid)
    : QObject(grid), m_grid(grid), m_cursor(new CellCursor(grid)) {
    grid->setFocusPolicy(Qt::TabFocus);
    grid->installEventFilter(this);
    describeCell();
}

bool GridKeyboard::cursorShown() const { return m_cursor->isVisible(); }

bool GridKeyboard::eventFilter(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
            describeCell();  // the icon may have changed since the cursor last moved
            showCursorIfKeyboardUsed();
            return false;
        case QEvent::FocusOut:
            showCursorIfKeyboardUsed();
            return false;
        case QEvent::KeyPress:
            return handleKey(static_cast<const QKeyEvent&>(*event));
        default:
            return false;
    }
}

bool GridKeyboard::handleKey(const QKeyEvent& event) {
    QPoint step;
    switch (event.key()) {
        case Qt::Key_Left:
            step = {-1, 0};
            break;
        case Qt::Key_Right:
            step = {1, 0};
            break;
        case Qt::Key_Up:
            step = {0, -1};
            break;
        case Qt::Key_Down:
            step = {0, 1};
            break;
        case Qt::Key_Space:
            if (event.isAutoRepeat()) {
                return true;
            }
            noteKeyboardUse(m_grid);
            showCursorIfKeyboardUsed();
            // The centre of the cell's interior, where a press paints that cell and, with the
            // Change tool, reads its colour.
            emit cellPressed(1, shiftValue(event.modifiers()), static_cast<float>(centre().x),
                             static_cast<float>(centre().y));
            describeCell();
            return true;
        default:
            return false;
    }
    noteKeyboardUse(m_grid);
    moveTo(m_cell + step);
    showCursorIfKeyboardUsed();
    return true;
}

void GridKeyboard::moveTo(QPoint cell) {
    cell = {std::clamp(cell.x(), 0, grid::kCells - 1), std::clamp(cell.y(), 0, grid::kCells - 1)};
    if (cell == m_cell) {
        return;
    }
    m_cell = cell;
    m_cursor->setCell(cell);
    describeCell();
    emit cursorMoved(cell.x(), cell.y());
}

grid::ViewPoint GridKeyboard::centre() const { return grid::cellCentre({m_cell.x(), m_cell.y()}); }

void GridKeyboard::showCursorIfKeyboardUsed() { m_cursor->setVisible(showsFocusMark(m_grid)); }

void GridKeyboard::describeCell() {
    const Colour colour = m_grid->surface().pixel(centre().x, centre().y);
    m_grid->setAccessibleDescription(
        tr("Cell cursor at column %1, row %2: %3. Arrow keys move the cursor; Space paints "
           "the cell.")
            .arg(m_cell.x() + 1)
            .arg(m_cell.y() + 1)
            .arg(ColourNames::name(colour)));
    QAccessibleEvent changed(m_grid, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace mosaikon
