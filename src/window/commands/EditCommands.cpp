// The history wired to the window: one step per command or paint stroke, undo and redo, and the
// command menu on the window's background.
#include "commands/EditCommands.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>

#include "commands/ColourPick.h"
#include "commands/CommandTable.h"
#include "commands/ShortcutsWindow.h"
#include "controls/PictureBoxView.h"
#include "controls/ToolbarView.h"
#include "controls/WindowPlacement.h"
#include "mainwindow/frmEditIcon.h"
#include "platform/FileNames.h"
#include "preview/PreviewWindow.h"
#include "recovery/RecentMenu.h"
#include "recovery/RestoreMenu.h"
#include "tools/ToolsWindow.h"

namespace mosaikon {

EditCommands::EditCommands(frmEditIcon& window)
    : QObject(&window),
      m_window(window),
      m_history(window.canvas().SmallPicture, window.canvas().LargePicture,
                window.canvas().opacity) {
    // Installed before the colour pick's filter, so a press the pick takes never starts a stroke.
    m_window.LargePicture()->installEventFilter(this);
    m_window.installEventFilter(this);
    m_pick = std::make_unique<ColourPick>(window);
    createActions();
    createSelectionKeys();
    updateUndoRedo();
    updateSelectionKeys();
}

EditCommands::~EditCommands() = default;

void EditCommands::record() {
    IconCanvas& canvas = m_window.canvas();
    // Whatever drew the icon surface without the plane (a restored copy) is opaque there.
    canvas.opacity.follow(canvas.SmallPicture);
    m_history.record(canvas.SmallPicture, canvas.LargePicture, canvas.opacity,
                     canvas.selectionRecord());
}

void EditCommands::handlerFinished() {
    if (!m_strokeActive) {
        record();
    }
    updateUndoRedo();
    updateSelectionKeys();
    updateSaveAgain();
}

// The menu names the file Save again writes, once there is one.
void EditCommands::updateSaveAgain() {
    const std::string& path = m_window.fileCommands().lastSavedIcon();
    if (path == m_saveAgainShown) {
        return;
    }
    m_saveAgainShown = path;
    action(EditorCommand::SaveAgain)
        ->setText(path.empty()
                      ? tr("Save again")
                      : tr("Save again to %1").arg(QFileInfo(fromFileName(path)).fileName()));
}

void EditCommands::updateSelectionKeys() {
    const IconCanvas& canvas = m_window.canvas();
    const bool held = canvas.selectionRect().has_value();
    m_putDown->setEnabled(held);
    // Escape stays the colour pick's while one waits.
    m_cancelTool->setEnabled((held || canvas.isToolDragging()) && !m_pick->armed());
}

void EditCommands::createSelectionKeys() {
    // Return puts a held selection down; otherwise it keeps its meaning for the focused control.
    m_putDown = new QAction(tr("Put the selection down"), &m_window);
    m_putDown->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    m_putDown->setShortcutContext(Qt::WindowShortcut);
    connect(m_putDown, &QAction::triggered, this,
            [this] { m_window.runHandler([this] { m_window.canvas().putDownSelection(); }); });
    m_window.addAction(m_putDown);
    // Escape ends a drag unfinished, or puts a held selection down.
    m_cancelTool = new QAction(tr("Cancel the drag or put the selection down"), &m_window);
    m_cancelTool->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancelTool->setShortcutContext(Qt::WindowShortcut);
    connect(m_cancelTool, &QAction::triggered, this, [this] {
        m_window.runHandler([this] {
            IconCanvas& canvas = m_window.canvas();
            if (!canvas.toolCancel()) {
                canvas.putDownSelection();
            }
        });
    });
    m_window.addAction(m_cancelTool);
}

void EditCommands::showToolsWindow() {
    if (m_tools == nullptr) {
        m_tools = new ToolsWindow(*this, m_window.canvas(), &m_window);
        placeBeside(*m_tools, m_window, Beside::Left);
    }
    m_tools->showState(m_window.canvas().activeTool(), m_window.canvas().mirroring());
    m_tools->show();
    m_tools->raise();
    m_tools->activateWindow();
}

void EditCommands::showPreviewWindow() {
    if (m_preview == nullptr) {
        m_preview = new PreviewWindow(&m_window);
        placeBeside(*m_preview, m_window, Beside::Right);
    }
    m_preview->showIcon(m_window.canvas().opacity);
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
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
        if (entry.sectionBefore != nullptr) {
            m_sections[item] = tr(entry.sectionBefore);
        }
        m_menuOrder.push_back(item);
    }
    // The menu key and Shift+F10 open the command menu where the focus is.
    auto* openMenu = new QAction(tr("Command menu"), &m_window);
    openMenu->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    openMenu->setShortcutContext(Qt::WindowShortcut);
    connect(openMenu, &QAction::triggered, this, [this] { showCommandMenu(focusCentre()); });
    m_window.addAction(openMenu);
    m_menuKeyAction = openMenu;
}

void EditCommands::trigger(EditorCommand command) {
    const CommandEntry& entry = commandEntry(command);
    if (!keepsSelection(command)) {
        m_window.canvas().putDownSelection();
    }
    switch (entry.guard) {
        case CommandGuard::Step:
            runStep([this, &entry] { entry.run(*this, entry.id); });
            break;
        case CommandGuard::Handler:
            m_window.runHandler([this, &entry] { entry.run(*this, entry.id); });
            break;
        case CommandGuard::Direct:
            entry.run(*this, entry.id);
            updateSelectionKeys();
            break;
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
        // A titled section is a submenu of its own, so that the menu fits on a screen in one
        // column.
        QMenu* target = m_menu;
        for (std::size_t i = 0; i < m_menuOrder.size(); ++i) {
            QAction* item = m_menuOrder[i];
            const bool sectionNext =
                i + 1 < m_menuOrder.size() && m_sections.contains(m_menuOrder[i + 1]);
            if (item == nullptr) {
                if (!sectionNext) {
                    target->addSeparator();
                }
                continue;
            }
            if (m_sections.contains(item)) {
                target = m_menu->addMenu(m_sections.at(item));
                target->setObjectName(m_sections.at(item) + QStringLiteral("Menu"));
            }
            if (item == action(EditorCommand::RestoreOlder)) {
                m_olderCopies = makeOlderCopiesMenu(m_window, m_menu);
                item->setMenu(m_olderCopies);  // the item opens the list of copies
            } else if (item == action(EditorCommand::OpenRecent)) {
                m_recentFiles = makeRecentFilesMenu(m_window, m_menu);
                item->setMenu(m_recentFiles);
            }
            target->addAction(item);
        }
    }
    return m_menu;
}

QPoint EditCommands::focusCentre() const {
    const QWidget* focus = m_window.focusWidget() ? m_window.focusWidget() : &m_window;
    return focus->mapToGlobal(focus->rect().center());
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

namespace {

// Whether a control lies at `position` in the window. The swatch panel's own grey between its
// swatches, and the toolbar beside its buttons and on its separators, are background like the
// window's; the decorations and the controls whose clicks do nothing are controls all the same.
bool controlAt(frmEditIcon& window, const QPoint& position) {
    QWidget* child = window.childAt(position);
    if (child == nullptr || child == window.swatchPanel()) {
        return false;
    }
    if (child == window.Toolbar1()) {
        const int index =
            window.Toolbar1()->buttonAt(window.Toolbar1()->mapFrom(&window, position));
        return index != 0 && window.toolbar().Buttons(index).Style != ButtonStyle::Separator;
    }
    return true;
}

}  // namespace

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
        if (request->reason() != QContextMenuEvent::Mouse || !controlAt(m_window, request->pos())) {
            showCommandMenu(request->globalPos());
            return true;
        }
    }
    return false;
}

}  // namespace mosaikon
