// The history wired to the window: one step per command or paint stroke, undo and redo, and the
// command menu on the window's background.
#include "commands/EditCommands.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include "commands/ColourPick.h"
#include "commands/ShortcutsWindow.h"
#include "controls/PictureBoxView.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

EditCommands::EditCommands(frmEditIcon& window)
    : QObject(&window),
      m_window(window),
      m_history(window.canvas().SmallPicture, window.canvas().LargePicture) {
    // Installed before the colour pick's filter, so a press the pick takes never starts a stroke.
    m_window.LargePicture()->installEventFilter(this);
    m_window.installEventFilter(this);
    m_pick = std::make_unique<ColourPick>(window);
    createActions();
    updateUndoRedo();
}

EditCommands::~EditCommands() = default;

void EditCommands::record() {
    m_history.record(m_window.canvas().SmallPicture, m_window.canvas().LargePicture);
}

void EditCommands::handlerFinished() {
    if (!m_strokeActive) {
        record();
    }
    updateUndoRedo();
}

void EditCommands::runCommand(const std::function<void()>& command) {
    record();  // a stroke still under way ends here, as its own step
    command();
    record();
    updateUndoRedo();
}

void EditCommands::updateUndoRedo() {
    // A change not yet recorded (a stroke under way) can be taken back too.
    action(EditorCommand::Undo)->setEnabled(m_history.canUndo() || m_strokeActive);
    action(EditorCommand::Redo)->setEnabled(m_history.canRedo());
}

QMenu* EditCommands::commandMenu() {
    if (m_menu == nullptr) {
        m_menu = new QMenu(&m_window);
        m_menu->setObjectName(QStringLiteral("CommandMenu"));
        for (QAction* item : m_menuOrder) {
            if (item == nullptr) {
                m_menu->addSeparator();
            } else {
                m_menu->addAction(item);
            }
        }
    }
    return m_menu;
}

void EditCommands::showCommandMenu(const QPoint& globalPosition) {
    record();
    updateUndoRedo();
    commandMenu()->popup(globalPosition);
}

void EditCommands::showShortcuts() {
    if (m_shortcuts == nullptr) {
        m_shortcuts = new ShortcutsWindow(*this, &m_window);
    }
    m_shortcuts->show();
    m_shortcuts->raise();
    m_shortcuts->activateWindow();
}

bool EditCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.LargePicture()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_strokeActive = true;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton && m_strokeActive) {
            m_strokeActive = false;
            record();
            updateUndoRedo();
        }
        return false;
    }
    if (watched == &m_window && event->type() == QEvent::ContextMenu) {
        // Reached here only when no control below took it. A right-click opens the menu only on
        // the window's own background, never over a control.
        auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() != QContextMenuEvent::Mouse ||
            m_window.childAt(request->pos()) == nullptr) {
            showCommandMenu(request->globalPos());
            return true;
        }
    }
    return false;
}

}  // namespace mosaikon
