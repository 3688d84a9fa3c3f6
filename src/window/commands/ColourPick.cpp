#include "commands/ColourPick.h"

#include <QAction>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>

#include "access/GridKeyboard.h"
#include "controls/PictureBoxView.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

ColourPick::ColourPick(frmEditIcon& window)
    : QObject(&window), m_window(window), m_cancel(new QAction(tr("Cancel colour pick"), &window)) {
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancel->setShortcutContext(Qt::WindowShortcut);
    m_cancel->setEnabled(false);  // Escape belongs to the pick only while one waits
    connect(m_cancel, &QAction::triggered, this, &ColourPick::cancel);
    m_window.addAction(m_cancel);
    m_window.LargePicture()->installEventFilter(this);
}

void ColourPick::arm() {
    m_armed = true;
    m_cancel->setEnabled(true);
}

void ColourPick::cancel() {
    m_armed = false;
    m_cancel->setEnabled(false);
}

// The colour becomes the painting colour and shows in the picked-colour display.
void ColourPick::takeColour(std::uint32_t plain) {
    m_window.runHandler([this, plain] {
        m_window.colourChoice().Pallet2 = Colour(plain);
        m_window.canvas().state.CurrentColor = Colour(plain);
    });
}

// The colour a cell shows is read from the middle of the cell on the view, so a press on a
// grid line takes the cell it borders on the lower right, and a view that a move left
// different from the icon gives what the person sees.
void ColourPick::pickAt(const QPointF& position) {
    const int border = m_window.LargePicture()->borderWidth();
    pickCell(grid::cellUnder(position.x() - border, position.y() - border));
}

void ColourPick::pickCell(grid::Cell cell) {
    const grid::ViewPoint centre = grid::cellCentre(cell);
    takeColour(m_window.canvas().LargePicture.Point(centre.x, centre.y).value());
}

bool ColourPick::eventFilter(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            // Space on the grid's cell cursor is a press there, so it picks too.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!m_armed || key->key() != Qt::Key_Space || m_window.gridKeyboard() == nullptr) {
                return false;
            }
            cancel();
            const QPoint cell = m_window.gridKeyboard()->cell();
            pickCell({cell.x(), cell.y()});
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_armed) {
                cancel();
                m_swallowUntilRelease = true;
                pickAt(static_cast<QMouseEvent*>(event)->position());
                return true;
            }
            return m_swallowUntilRelease;
        case QEvent::MouseMove:
            return m_swallowUntilRelease;
        case QEvent::MouseButtonRelease:
            if (m_swallowUntilRelease &&
                static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
                m_swallowUntilRelease = false;
                return true;
            }
            return m_swallowUntilRelease;
        default:
            return false;
    }
}

void ColourPick::chooseMoreColours() {
    const Colour current = m_window.canvas().state.CurrentColor.resolved();
    const QColor chosen = QColorDialog::getColor(
        QColor(current.red(), current.green(), current.blue()), &m_window, tr("More colours"));
    if (chosen.isValid()) {
        takeColour(Colour::fromRgb(static_cast<std::uint8_t>(chosen.red()),
                                   static_cast<std::uint8_t>(chosen.green()),
                                   static_cast<std::uint8_t>(chosen.blue()))
                       .value());
    }
}

}  // namespace mosaikon
