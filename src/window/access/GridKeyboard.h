#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>

#include "GridGeometry.h"

class QKeyEvent;

namespace mosaikon {

class PictureBoxView;
class CellCursor;

// Drawing on the magnified grid without a mouse. While the grid holds the keyboard focus the
// arrow keys move a cell cursor over its 32 × 32 cells, and Space presses the primary button
// at the centre of the cell under it, just as the mouse would. The cursor is drawn over the
// view, never into the surface, so saves and the read-back never see it; it shows only once
// the keyboard is in use.
class GridKeyboard : public QObject {
    Q_OBJECT
public:
    explicit GridKeyboard(PictureBoxView* grid);

    // The cell under the cursor, column and row from 0.
    QPoint cell() const { return m_cell; }
    bool cursorShown() const;

signals:
    // A press on the grid as the view reports a mouse press: Button, Shift, X, Y.
    void cellPressed(std::int16_t button, std::int16_t shift, float x, float y);
    // The cursor moved to another cell, column and row from 0.
    void cursorMoved(int column, int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(const QKeyEvent& event);
    void moveTo(QPoint cell);
    void showCursorIfKeyboardUsed();
    void describeCell();
    // The view pixel in the middle of the cursor's cell.
    grid::ViewPoint centre() const;

    PictureBoxView* m_grid;
    CellCursor* m_cursor;
    QPoint m_cell{0, 0};
};

}  // namespace mosaikon
