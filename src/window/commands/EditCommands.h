#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "EditHistory.h"
#include "commands/EditorCommand.h"

class QAction;
class QMenu;

namespace mosaikon {

class ColourPick;
class ShortcutsWindow;
class ToolsWindow;
class PreviewWindow;
class frmEditIcon;

// The window's undo history, its keys and its command menu.
//
// The history records after every handler the window's guard runs, so each command that changed
// the icon or the view is one step. A paint stroke is one step from press to release: while a
// mouse button is held on the grid nothing is recorded, and the release records. A command reached
// by a key or the menu records whatever came before it first, so it never merges with a stroke.
class EditCommands : public QObject {
    Q_OBJECT
public:
    // Starts the history at the surfaces as they are now and puts the commands on `window`.
    explicit EditCommands(frmEditIcon& window);
    ~EditCommands() override;

    // The guard's hook, after every handler.
    void handlerFinished();

    // Runs `command` as its entry in the command table says: a key, a menu choice and the
    // tools window all come here.
    void trigger(EditorCommand command);
    // Runs `handler` through the window's guard as a step of its own, as a command reached by a
    // key or the menu runs.
    void runStep(const std::function<void()>& handler);
    QAction* action(EditorCommand command) const { return m_actions.at(command); }
    // The commands in menu order; a null entry stands for a separator.
    const std::vector<QAction*>& menuOrder() const { return m_menuOrder; }

    const EditHistory& history() const { return m_history; }
    ColourPick& colourPick() { return *m_pick; }
    // The command menu, built on first use and kept.
    QMenu* commandMenu();
    // Opens the command menu at `globalPosition`.
    void showCommandMenu(const QPoint& globalPosition);
    ShortcutsWindow* shortcutsWindow() const { return m_shortcuts; }
    // The action behind the menu key and Shift+F10, which is not itself in the menu.
    QAction* commandMenuAction() const { return m_menuKeyAction; }
    // The tools window, made when it is first opened.
    ToolsWindow* toolsWindow() const { return m_tools; }
    void showToolsWindow();
    // The preview window, made when it is first opened.
    PreviewWindow* previewWindow() const { return m_preview; }
    void showPreviewWindow();
    // The submenus of copies left behind and of recent files; null until the command menu is
    // first built.
    QMenu* olderCopiesMenu() const { return m_olderCopies; }
    QMenu* recentFilesMenu() const { return m_recentFiles; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct CommandRunners;
    // Where the menus opened by keys appear: the centre of the focused control, on the screen.
    QPoint focusCentre() const;
    // The actions of the command table, with their texts and keys.
    void createActions();
    // Runs a command reached by a key or the menu, as its own step.
    void runCommand(const std::function<void()>& command);
    void record();
    void updateUndoRedo();
    // Return and Escape belong to a held selection or a drag only while there is one.
    void createSelectionKeys();
    void updateSelectionKeys();
    void updateSaveAgain();
    void showShortcuts();

    frmEditIcon& m_window;
    EditHistory m_history;
    bool m_strokeActive = false;
    std::map<EditorCommand, QAction*> m_actions;
    std::vector<QAction*> m_menuOrder;
    std::unique_ptr<ColourPick> m_pick;
    QMenu* m_menu = nullptr;
    ShortcutsWindow* m_shortcuts = nullptr;
    QAction* m_menuKeyAction = nullptr;
    std::map<QAction*, QString> m_sections;  // the titles of the menu's sections, by first item
    ToolsWindow* m_tools = nullptr;
    PreviewWindow* m_preview = nullptr;
    QMenu* m_olderCopies = nullptr;  // the copies left behind, in the command menu
    QMenu* m_recentFiles = nullptr;  // the files opened or saved last, in the command menu
    QAction* m_putDown = nullptr;
    QAction* m_cancelTool = nullptr;
    std::string m_saveAgainShown;  // the file the menu names for Save again
};

}  // namespace mosaikon
