// The keys and menu texts of every command, and what each runs. Toolbar commands run the way a
// click on their button or menu item does, through the toolbar's own events and the window's guard.
#include <QAction>
#include <QGuiApplication>

#include "commands/ClipboardCommands.h"
#include "commands/ColourPick.h"
#include "commands/EditCommands.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

namespace {

struct Binding {
    EditorCommand command;
    const char* text;
    std::vector<QKeySequence> keys;
    bool separatorBefore = false;
};

// Keys for the editor's own commands. Plain arrows, Space, Enter and Tab are left to moving
// through the window's controls and over the grid.
std::vector<Binding> bindings() {
    return {
        {EditorCommand::Undo,
         QT_TR_NOOP("Undo"),
         {QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {EditorCommand::Redo,
         QT_TR_NOOP("Redo"),
         {QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
          QKeySequence(Qt::CTRL | Qt::Key_Y)}},
        {EditorCommand::OpenIcon,
         QT_TR_NOOP("Open icon…"),
         {QKeySequence(Qt::CTRL | Qt::Key_O)},
         true},
        {EditorCommand::OpenBitmap,
         QT_TR_NOOP("Open bitmap…"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)}},
        {EditorCommand::SaveIcon, QT_TR_NOOP("Save icon…"), {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {EditorCommand::SaveViewAsBitmap,
         QT_TR_NOOP("Save view as bitmap…"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {EditorCommand::ExportPng,
         QT_TR_NOOP("Export PNG…"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}},
        {EditorCommand::ExportIconSizes,
         QT_TR_NOOP("Export icon sizes…"),
         {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S)}},
        {EditorCommand::ExtractIcon,
         QT_TR_NOOP("Extract icon from program…"),
         {QKeySequence(Qt::CTRL | Qt::Key_E)}},
        {EditorCommand::PaintTool, QT_TR_NOOP("Paint tool"), {QKeySequence(Qt::Key_P)}, true},
        {EditorCommand::ChangeTool, QT_TR_NOOP("Change tool"), {QKeySequence(Qt::Key_C)}},
        {EditorCommand::MoveLeft,
         QT_TR_NOOP("Move left"),
         {QKeySequence(Qt::CTRL | Qt::Key_Left)},
         true},
        {EditorCommand::MoveRight,
         QT_TR_NOOP("Move right"),
         {QKeySequence(Qt::CTRL | Qt::Key_Right)}},
        {EditorCommand::MoveUp, QT_TR_NOOP("Move up"), {QKeySequence(Qt::CTRL | Qt::Key_Up)}},
        {EditorCommand::MoveDown, QT_TR_NOOP("Move down"), {QKeySequence(Qt::CTRL | Qt::Key_Down)}},
        {EditorCommand::FlipLeftRight, QT_TR_NOOP("Flip left–right"), {QKeySequence(Qt::Key_H)}},
        {EditorCommand::FlipTopBottom, QT_TR_NOOP("Flip top–bottom"), {QKeySequence(Qt::Key_V)}},
        {EditorCommand::Rotate,
         QT_TR_NOOP("Rotate a quarter turn clockwise"),
         {QKeySequence(Qt::Key_R)}},
        {EditorCommand::Clear, QT_TR_NOOP("Clear"), {QKeySequence(Qt::Key_Delete)}},
        {EditorCommand::New, QT_TR_NOOP("New"), {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {EditorCommand::PickColour,
         QT_TR_NOOP("Pick colour from grid"),
         {QKeySequence(Qt::Key_I)},
         true},
        {EditorCommand::MoreColours, QT_TR_NOOP("More colours…"), {}},
        {EditorCommand::Copy, QT_TR_NOOP("Copy icon"), {QKeySequence(Qt::CTRL | Qt::Key_C)}, true},
        {EditorCommand::Paste, QT_TR_NOOP("Paste image"), {QKeySequence(Qt::CTRL | Qt::Key_V)}},
        {EditorCommand::KeyboardShortcuts,
         QT_TR_NOOP("Keyboard shortcuts"),
         {QKeySequence(Qt::Key_F1)},
         true},
        {EditorCommand::Exit, QT_TR_NOOP("Exit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
    };
}

// The keys of `binding`, the platform's own first, each once.
QList<QKeySequence> keysOf(const Binding& binding) {
    QList<QKeySequence> keys;
    for (const QKeySequence& key : binding.keys) {
        if (!key.isEmpty() && !keys.contains(key)) {
            keys.append(key);
        }
    }
    return keys;
}

}  // namespace

void EditCommands::createActions() {
    for (const Binding& binding : bindings()) {
        auto* item = new QAction(tr(binding.text), &m_window);
        item->setShortcuts(keysOf(binding));
        // Keys work wherever the focus is in the window.
        item->setShortcutContext(Qt::WindowShortcut);
        item->setObjectName(QString::fromLatin1(binding.text));
        const EditorCommand command = binding.command;
        connect(item, &QAction::triggered, this, [this, command] { trigger(command); });
        m_window.addAction(item);
        m_actions[command] = item;
        if (binding.separatorBefore) {
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

void EditCommands::clickToolbarButton(const char* key) {
    Toolbar& bar = m_window.toolbar();
    bar.clickButton(bar.Buttons(QString::fromLatin1(key)).Index);
}

// The item at `item` of the drop-down menu of the button `buttonKey`, by position as the
// toolbar's menu event carries it. Items the toolbar's menu does not show (Open Bitmap) or shows
// greyed (Save View as Bitmap) are reached through the same event, sent by the guard.
void EditCommands::chooseToolbarMenuItem(const char* buttonKey, std::int16_t item) {
    ToolbarMenuItem choice;
    choice.ParentIndex = m_window.toolbar().Buttons(QString::fromLatin1(buttonKey)).Index;
    choice.Index = item;
    m_window.runHandler([this, &choice] { m_window.Toolbar1_ButtonMenuClick(choice); });
}

void EditCommands::trigger(EditorCommand command) {
    IconCanvas& canvas = m_window.canvas();
    FileCommands& files = m_window.fileCommands();
    switch (command) {
        case EditorCommand::Undo:
            return runCommand([&] {
                m_window.runHandler(
                    [&] { m_history.undo(canvas.SmallPicture, canvas.LargePicture); });
            });
        case EditorCommand::Redo:
            return runCommand([&] {
                m_window.runHandler(
                    [&] { m_history.redo(canvas.SmallPicture, canvas.LargePicture); });
            });
        case EditorCommand::OpenIcon:
            return runCommand([this] { chooseToolbarMenuItem("Open", 1); });
        case EditorCommand::OpenBitmap:
            return runCommand([this] { chooseToolbarMenuItem("Open", 2); });
        case EditorCommand::SaveIcon:
            return runCommand([this] { chooseToolbarMenuItem("Save", 1); });
        case EditorCommand::SaveViewAsBitmap:
            return runCommand([this] { chooseToolbarMenuItem("Save", 2); });
        case EditorCommand::ExportPng:
            return runCommand([&] { m_window.runHandler([&] { files.ExportPng(); }); });
        case EditorCommand::ExportIconSizes:
            return runCommand([&] { m_window.runHandler([&] { files.ExportIconSizes(); }); });
        case EditorCommand::ExtractIcon:
            return runCommand([this] { clickToolbarButton("Extract"); });
        case EditorCommand::PaintTool:
            return runCommand([this] { clickToolbarButton("Paint"); });
        case EditorCommand::ChangeTool:
            return runCommand([this] { clickToolbarButton("Change"); });
        case EditorCommand::MoveLeft:
            return runCommand([this] { clickToolbarButton("Left"); });
        case EditorCommand::MoveRight:
            return runCommand([this] { clickToolbarButton("Right"); });
        case EditorCommand::MoveUp:
            return runCommand([this] { clickToolbarButton("Up"); });
        case EditorCommand::MoveDown:
            return runCommand([this] { clickToolbarButton("Down"); });
        case EditorCommand::FlipLeftRight:
            return runCommand([this] { clickToolbarButton("flipHorizontal"); });
        case EditorCommand::FlipTopBottom:
            return runCommand([this] { clickToolbarButton("FlipVert"); });
        case EditorCommand::Rotate:
            return runCommand([this] { clickToolbarButton("Rotate"); });
        case EditorCommand::Clear:
            return runCommand([this] { clickToolbarButton("Clear"); });
        case EditorCommand::New:
            return runCommand([this] { clickToolbarButton("New"); });
        case EditorCommand::Exit:
            return runCommand([this] { clickToolbarButton("Exit"); });
        case EditorCommand::PickColour:
            return m_pick->arm();
        case EditorCommand::MoreColours:
            return m_pick->chooseMoreColours();
        case EditorCommand::Copy:
            return m_window.runHandler([&] { copyIconToClipboard(canvas); });
        case EditorCommand::Paste:
            return runCommand(
                [&] { m_window.runHandler([&] { pasteImageFromClipboard(canvas); }); });
        case EditorCommand::KeyboardShortcuts:
            return showShortcuts();
    }
}

}  // namespace mosaikon
