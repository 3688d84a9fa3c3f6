#pragma once

#include <QObject>
#include <QPointF>
#include <cstdint>

#include "GridGeometry.h"

class QAction;

namespace mosaikon {

class frmEditIcon;

// Two more ways of choosing the painting colour: from a cell of the grid, and from the
// platform's colour dialog. Either colour shows in the picked-colour display, as a pick from
// the colour strip does.
class ColourPick : public QObject {
    Q_OBJECT
public:
    explicit ColourPick(frmEditIcon& window);

    // The next press on the grid (or Space on its cell cursor) takes that cell's colour; that
    // press and the moves until its release paint nothing. Escape cancels.
    void arm();
    void cancel();
    bool armed() const { return m_armed; }

    // Opens the colour dialog; the colour chosen becomes the painting colour.
    void chooseMoreColours();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeColour(std::uint32_t plain);
    void pickAt(const QPointF& position);
    void pickCell(grid::Cell cell);

    frmEditIcon& m_window;
    QAction* m_cancel;
    bool m_armed = false;
    bool m_swallowUntilRelease = false;
};

}  // namespace mosaikon
