// The history wired to the window: one step per command or paint stroke, undo and redo, and the
// command menu on the window's background.
#include "commands/EditCommands.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include "commands/ColourPick.h"
#include "commands/CommandTable.h"
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

namespace {

// The keys of `entry`, the platform's own first, each once.
QList<QKeySequence> keysOf(const CommandEntry& entry) {
    QList<QKeySequence> keys;
    for (const QKeySequence& key : entry.keys) {
        if (!key.isEmpty() && !keys.contains(key)) {
            keys.append(key);
        }
    }
    return keys;
}

}  // namespace

void EditCommands::createActions() {
    for (const CommandEntry& entry : commandTable()) {
        auto* item = new QAction(tr(entry.text), &m_window);
        item->setShortcuts(keysOf(entry));
        // Keys work wherever the focus is in the window.
        item->setShortcutContext(Qt::WindowShortcut);
        item->setObjectName(QString::fromLatin1(entry.text));
        const EditorCommand command = entry.id;
        connect(item, &QAction::triggered, this, [this, command] { trigger(command); });
        m_window.addAction(item);
        m_actions[command] = item;
        if (entry.separatorBefore) {
            m_menuOrder.push_back(nullptr);
        }
        m_menuOrder.push_back(item);
    }
    // The menu key and Shift+F10 open the command menu where the focus is.
    auto* openMenu = new QAction(tr("Command menu"), &m_window);
    openMenu->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    openMenu->setShortcutContext(Qt::WindowShortcut);
    connect(openMenu, &QAction::triggered, this, [this] {
        const QWidget* focus = m_window.focusWidget() ? m_window.focusWidget() : &m_window;
        showCommandMenu(focus->mapToGlobal(focus->rect().center()));
    });
    m_window.addAction(openMenu);
    m_menuKeyAction = openMenu;
}

void EditCommands::trigger(EditorCommand command) {
    const CommandEntry& entry = commandEntry(command);
    switch (entry.guard) {
        case CommandGuard::Step:
            return runStep([this, &entry] { entry.run(*this, entry.id); });
        case CommandGuard::Handler:
            return m_window.runHandler([this, &entry] { entry.run(*this, entry.id); });
        case CommandGuard::Direct:
            return entry.run(*this, entry.id);
    }
}

void EditCommands::runStep(const std::function<void()>& handler) {
    runCommand([this, &handler] { m_window.runHandler(handler); });
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
