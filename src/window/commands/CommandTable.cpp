// The editor's commands: their texts, their keys and what each runs. The toolbar's commands run
// the code the toolbar's own events run, through the window's guard, without a click on the
// toolbar.
#include "commands/CommandTable.h"

#include <QMenu>
#include <QtGlobal>
#include <algorithm>
#include <stdexcept>

#include "commands/ClipboardCommands.h"
#include "commands/ColourPick.h"
#include "commands/EditCommands.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

// What the table's entries run; a friend of EditCommands, which it works through.
struct CommandRunners {
    static void toolbar(EditCommands& commands, EditorCommand id) {
        commands.m_window.runToolbarCommand(id);
    }
    // A drag under way ends first; the selection comes back with the surfaces.
    static void undo(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        canvas.toolCancel();
        commands.m_history.undo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
        canvas.restoreSelection(commands.m_history.selection());
    }
    static void redo(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        canvas.toolCancel();
        commands.m_history.redo(canvas.SmallPicture, canvas.LargePicture, canvas.opacity);
        canvas.restoreSelection(commands.m_history.selection());
    }
    static void exportPng(EditCommands& commands, EditorCommand) {
        commands.m_window.fileCommands().ExportPng();
    }
    static void exportIconSizes(EditCommands& commands, EditorCommand) {
        commands.m_window.fileCommands().ExportIconSizes();
    }
    static void pickColour(EditCommands& commands, EditorCommand) { commands.m_pick->arm(); }
    static void moreColours(EditCommands& commands, EditorCommand) {
        commands.m_pick->chooseMoreColours();
    }
    // With a selection held, Delete, H, V and Ctrl+C work on it alone; otherwise they run
    // their toolbar command (or copy the icon).
    static void toolbarOrSelection(EditCommands& commands, EditorCommand id) {
        IconCanvas& canvas = commands.m_window.canvas();
        if (!canvas.selectionRect()) {
            return toolbar(commands, id);
        }
        switch (id) {
            case EditorCommand::Clear:
                return canvas.deleteSelection();
            case EditorCommand::FlipLeftRight:
                return canvas.flipSelection(FlipAxis::LeftRight);
            case EditorCommand::FlipTopBottom:
                return canvas.flipSelection(FlipAxis::TopBottom);
            default:
                return toolbar(commands, id);
        }
    }
    static void copy(EditCommands& commands, EditorCommand) {
        const IconCanvas& canvas = commands.m_window.canvas();
        if (canvas.selectionRect()) {
            copyPictureToClipboard(canvas.selectionPicture());
        } else {
            copyIconToClipboard(canvas);
        }
    }
    static void cut(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        if (canvas.selectionRect()) {
            copyPictureToClipboard(canvas.cutSelection());
        }
    }
    static void paste(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        // Taken first, so a clipboard without an image changes nothing; then floated over the
        // icon with the Select tool, ready to be moved.
        const Picture picture = floatingPictureFromClipboard();
        canvas.selectTool(Tool::Select);
        canvas.pasteFloating(picture);
    }
    static void selectAll(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        if (canvas.activeTool() != Tool::Select) {
            canvas.selectTool(Tool::Select);
        }
        canvas.selectAll();
    }
    static void drawingTool(EditCommands& commands, EditorCommand id) {
        commands.m_window.canvas().selectTool(toolOfCommand(id));
    }
    static void mirrorDrawing(EditCommands& commands, EditorCommand) {
        IconCanvas& canvas = commands.m_window.canvas();
        canvas.setMirroring(canvas.mirroring() == Mirroring::On ? Mirroring::Off : Mirroring::On);
    }
    static void restorePrevious(EditCommands& commands, EditorCommand) {
        commands.m_window.restorePrevious();
    }
    // The command menu's submenus open on their own where the focus is.
    static void popUpAtFocus(EditCommands& commands, QMenu* EditCommands::*submenu) {
        commands.commandMenu();  // builds the submenus with the menu
        (commands.*submenu)->popup(commands.focusCentre());
    }
    static void restoreOlder(EditCommands& commands, EditorCommand) {
        popUpAtFocus(commands, &EditCommands::m_olderCopies);
    }
    static void openIconChoosing(EditCommands& commands, EditorCommand) {
        commands.m_window.openIconChoosingImage();
    }
    static void extractChoosing(EditCommands& commands, EditorCommand) {
        commands.m_window.extractChoosingIcon();
    }
    static void openRecent(EditCommands& commands, EditorCommand) {
        popUpAtFocus(commands, &EditCommands::m_recentFiles);
    }
    static void toolsWindow(EditCommands& commands, EditorCommand) { commands.showToolsWindow(); }
    static void previewWindow(EditCommands& commands, EditorCommand) {
        commands.showPreviewWindow();
    }
    static void keyboardShortcuts(EditCommands& commands, EditorCommand) {
        commands.showShortcuts();
    }
};

namespace {

using Guard = CommandGuard;
using Id = EditorCommand;
using R = CommandRunners;

QKeySequence keys(QKeyCombination combination) { return QKeySequence(combination); }

// Plain arrows, Space, Enter and Tab are left to moving through the window's controls and over
// the grid.
std::vector<CommandEntry> buildTable() {
    return {
        {Id::Undo,
         QT_TR_NOOP("Undo"),
         {QKeySequence::Undo, keys(Qt::CTRL | Qt::Key_Z)},
         Guard::Step,
         R::undo},
        {Id::Redo,
         QT_TR_NOOP("Redo"),
         {QKeySequence::Redo, keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), keys(Qt::CTRL | Qt::Key_Y)},
         Guard::Step,
         R::redo},
        {Id::OpenIcon,
         QT_TR_NOOP("Open Icon…"),
         {keys(Qt::CTRL | Qt::Key_O)},
         Guard::Step,
         R::toolbar,
         true},
        {Id::OpenIconChoosing,
         QT_TR_NOOP("Open Icon, choosing the image…"),
         {keys(Qt::CTRL | Qt::ALT | Qt::Key_O)},
         Guard::Step,
         R::openIconChoosing},
        {Id::OpenBitmap,
         QT_TR_NOOP("Open Bitmap…"),
         {keys(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
         Guard::Step,
         R::toolbar},
        {Id::SaveIcon,
         QT_TR_NOOP("Save As Icon…"),
         {keys(Qt::CTRL | Qt::Key_S)},
         Guard::Step,
         R::toolbar},
        {Id::SaveViewAsBitmap,
         QT_TR_NOOP("Save As BMP…"),
         {keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         Guard::Step,
         R::toolbar},
        {Id::ExportPng,
         QT_TR_NOOP("Export PNG…"),
         {keys(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
         Guard::Step,
         R::exportPng},
        {Id::ExportIconSizes,
         QT_TR_NOOP("Export Icon Sizes…"),
         {keys(Qt::CTRL | Qt::ALT | Qt::Key_S)},
         Guard::Step,
         R::exportIconSizes},
        {Id::ExtractIcon,
         QT_TR_NOOP("Extract Icon…"),
         {keys(Qt::CTRL | Qt::Key_E)},
         Guard::Step,
         R::toolbar},
        {Id::ExtractChoosing,
         QT_TR_NOOP("Extract Icon, choosing the icon…"),
         {keys(Qt::CTRL | Qt::ALT | Qt::Key_E)},
         Guard::Step,
         R::extractChoosing},
        {Id::OpenRecent,
         QT_TR_NOOP("Open recent"),
         {keys(Qt::CTRL | Qt::Key_R)},
         Guard::Direct,
         R::openRecent},
        {Id::SaveAgain, QT_TR_NOOP("Save again"), {keys(Qt::Key_F2)}, Guard::Step, R::toolbar},
        {Id::RestorePrevious,
         QT_TR_NOOP("Restore previous icon"),
         {keys(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
         Guard::Direct,
         R::restorePrevious},
        {Id::RestoreOlder,
         QT_TR_NOOP("Restore an older icon"),
         {keys(Qt::CTRL | Qt::ALT | Qt::Key_R)},
         Guard::Direct,
         R::restoreOlder},
        {Id::PaintTool, QT_TR_NOOP("Paint"), {keys(Qt::Key_P)}, Guard::Step, R::toolbar, true},
        {Id::ChangeTool, QT_TR_NOOP("Change"), {keys(Qt::Key_C)}, Guard::Step, R::toolbar},
        {Id::MoveLeft,
         QT_TR_NOOP("Move Left"),
         {keys(Qt::CTRL | Qt::Key_Left)},
         Guard::Step,
         R::toolbar,
         true},
        {Id::MoveRight,
         QT_TR_NOOP("Move Right"),
         {keys(Qt::CTRL | Qt::Key_Right)},
         Guard::Step,
         R::toolbar},
        {Id::MoveUp, QT_TR_NOOP("Move Up"), {keys(Qt::CTRL | Qt::Key_Up)}, Guard::Step, R::toolbar},
        {Id::MoveDown,
         QT_TR_NOOP("Move Down"),
         {keys(Qt::CTRL | Qt::Key_Down)},
         Guard::Step,
         R::toolbar},
        {Id::FlipLeftRight,
         QT_TR_NOOP("Flip Horizontal"),
         {keys(Qt::Key_H)},
         Guard::Step,
         R::toolbarOrSelection},
        {Id::FlipTopBottom,
         QT_TR_NOOP("Flip Vertically"),
         {keys(Qt::Key_V)},
         Guard::Step,
         R::toolbarOrSelection},
        {Id::Rotate, QT_TR_NOOP("Rotate"), {keys(Qt::Key_R)}, Guard::Step, R::toolbar},
        {Id::Clear,
         QT_TR_NOOP("Clear All"),
         {keys(Qt::Key_Delete)},
         Guard::Step,
         R::toolbarOrSelection},
        {Id::New, QT_TR_NOOP("New"), {keys(Qt::CTRL | Qt::Key_N)}, Guard::Step, R::toolbar},
        {Id::PickColour,
         QT_TR_NOOP("Pick colour from grid"),
         {keys(Qt::Key_I)},
         Guard::Direct,
         R::pickColour,
         true},
        {Id::MoreColours, QT_TR_NOOP("More colours…"), {}, Guard::Direct, R::moreColours},
        {Id::Copy,
         QT_TR_NOOP("Copy icon"),
         {keys(Qt::CTRL | Qt::Key_C)},
         Guard::Handler,
         R::copy,
         true},
        {Id::Paste, QT_TR_NOOP("Paste image"), {keys(Qt::CTRL | Qt::Key_V)}, Guard::Step, R::paste},
        {Id::CutSelection,
         QT_TR_NOOP("Cut selection"),
         {keys(Qt::CTRL | Qt::Key_X)},
         Guard::Step,
         R::cut},
        {Id::SelectAll,
         QT_TR_NOOP("Select all"),
         {keys(Qt::CTRL | Qt::Key_A)},
         Guard::Handler,
         R::selectAll},
        {Id::KeyboardShortcuts,
         QT_TR_NOOP("Keyboard shortcuts"),
         {keys(Qt::Key_F1)},
         Guard::Direct,
         R::keyboardShortcuts,
         true},
        {Id::Exit, QT_TR_NOOP("Exit"), {keys(Qt::CTRL | Qt::Key_Q)}, Guard::Step, R::toolbar},
        {Id::LineTool,
         QT_TR_NOOP("Line"),
         {keys(Qt::Key_L)},
         Guard::Handler,
         R::drawingTool,
         true,
         QT_TR_NOOP("Tools")},
        {Id::RectangleTool,
         QT_TR_NOOP("Rectangle"),
         {keys(Qt::Key_U)},
         Guard::Handler,
         R::drawingTool},
        {Id::FilledRectangleTool,
         QT_TR_NOOP("Filled rectangle"),
         {keys(Qt::SHIFT | Qt::Key_U)},
         Guard::Handler,
         R::drawingTool},
        {Id::EllipseTool, QT_TR_NOOP("Ellipse"), {keys(Qt::Key_O)}, Guard::Handler, R::drawingTool},
        {Id::FilledEllipseTool,
         QT_TR_NOOP("Filled ellipse"),
         {keys(Qt::SHIFT | Qt::Key_O)},
         Guard::Handler,
         R::drawingTool},
        {Id::FillTool, QT_TR_NOOP("Fill"), {keys(Qt::Key_G)}, Guard::Handler, R::drawingTool},
        {Id::EraserTool, QT_TR_NOOP("Eraser"), {keys(Qt::Key_E)}, Guard::Handler, R::drawingTool},
        {Id::SelectTool, QT_TR_NOOP("Select"), {keys(Qt::Key_M)}, Guard::Handler, R::drawingTool},
        {Id::MirrorDrawing,
         QT_TR_NOOP("Mirrored drawing"),
         {keys(Qt::SHIFT | Qt::Key_H)},
         Guard::Handler,
         R::mirrorDrawing},
        {Id::ToolsWindow,
         QT_TR_NOOP("Tools window"),
         {keys(Qt::Key_T)},
         Guard::Direct,
         R::toolsWindow},
        {Id::PreviewWindow,
         QT_TR_NOOP("Preview"),
         {keys(Qt::Key_F3)},
         Guard::Direct,
         R::previewWindow},
    };
}

}  // namespace

Tool toolOfCommand(EditorCommand id) {
    switch (id) {
        case EditorCommand::PaintTool:
            return Tool::Paint;
        case EditorCommand::ChangeTool:
            return Tool::Change;
        case EditorCommand::LineTool:
            return Tool::Line;
        case EditorCommand::RectangleTool:
            return Tool::Rectangle;
        case EditorCommand::FilledRectangleTool:
            return Tool::FilledRectangle;
        case EditorCommand::EllipseTool:
            return Tool::Ellipse;
        case EditorCommand::FilledEllipseTool:
            return Tool::FilledEllipse;
        case EditorCommand::FillTool:
            return Tool::Fill;
        case EditorCommand::EraserTool:
            return Tool::Eraser;
        case EditorCommand::SelectTool:
            return Tool::Select;
        default:
            return Tool::None;
    }
}

bool keepsSelection(EditorCommand id) {
    switch (id) {
        case EditorCommand::Undo:
        case EditorCommand::Redo:
        case EditorCommand::Clear:
        case EditorCommand::FlipLeftRight:
        case EditorCommand::FlipTopBottom:
        case EditorCommand::Copy:
        case EditorCommand::CutSelection:
        case EditorCommand::SelectAll:
        case EditorCommand::PickColour:
        case EditorCommand::MoreColours:
        case EditorCommand::KeyboardShortcuts:
        case EditorCommand::MirrorDrawing:
        case EditorCommand::ToolsWindow:
        case EditorCommand::PreviewWindow:
            return true;
        default:
            return false;
    }
}

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = buildTable();
    return table;
}

const CommandEntry& commandEntry(EditorCommand id) {
    const auto& table = commandTable();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const CommandEntry& entry) { return entry.id == id; });
    if (found == table.end()) {
        throw std::logic_error("A command without an entry in the command table.");
    }
    return *found;
}

}  // namespace mosaikon
