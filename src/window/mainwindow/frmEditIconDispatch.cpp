// The toolbar's two events and the commands they run. Button clicks are told apart by the
// button's Key, compared whole and case-sensitively; menu choices by position only (the owning
// button's Index and the item's), so the toolbar's layout is part of this contract. Both run
// the commands through runToolbarCommand, which the keys and the command menu reach directly.
#include <stdexcept>

#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

namespace {
constexpr std::int16_t kOpenButton = 2;
constexpr std::int16_t kSaveButton = 4;

// The button keys in the order they are compared, and the command each selects.
struct KeyedCommand {
    const char* key;
    EditorCommand command;
};
constexpr KeyedCommand kButtonCommands[] = {
    {"New", EditorCommand::New},
    {"Paint", EditorCommand::PaintTool},
    {"Change", EditorCommand::ChangeTool},
    {"Up", EditorCommand::MoveUp},
    {"Down", EditorCommand::MoveDown},
    {"Left", EditorCommand::MoveLeft},
    {"Right", EditorCommand::MoveRight},
    {"flipHorizontal", EditorCommand::FlipLeftRight},
    {"FlipVert", EditorCommand::FlipTopBottom},
    {"Rotate", EditorCommand::Rotate},
    {"Clear", EditorCommand::Clear},
    {"Exit", EditorCommand::Exit},
    {"Extract", EditorCommand::ExtractIcon},
};
}  // namespace

void frmEditIcon::Toolbar1_ButtonClick(const ToolbarButton& Button) {
    const QString key = Button.Key;
    for (const KeyedCommand& candidate : kButtonCommands) {
        if (key == QLatin1String(candidate.key)) {
            runToolbarCommand(candidate.command);
            return;
        }
    }
}

void frmEditIcon::Toolbar1_ButtonMenuClick(const ToolbarMenuItem& ButtonMenu) {
    if (ButtonMenu.ParentIndex == kSaveButton) {
        if (ButtonMenu.Index == 1) {
            runToolbarCommand(EditorCommand::SaveIcon);
        }
        if (ButtonMenu.Index == 2) {
            runToolbarCommand(EditorCommand::SaveViewAsBitmap);
        }
    }
    if (ButtonMenu.ParentIndex == kOpenButton) {
        if (ButtonMenu.Index == 1) {
            runToolbarCommand(EditorCommand::OpenIcon);
        }
        if (ButtonMenu.Index == 2) {
            runToolbarCommand(EditorCommand::OpenBitmap);
        }
    }
}

// Before a file command the dispatch notes which one it is, so that a failure can name it.
void frmEditIcon::runToolbarCommand(EditorCommand command) {
    // A floating selection stays where it lies; the command then works on the whole icon.
    m_canvas.putDownSelection();
    switch (command) {
        case EditorCommand::New:
            return m_canvas.New_Icon();
        case EditorCommand::PaintTool:
            m_toolbar.Buttons(QStringLiteral("Change")).Value = 0;
            m_toolbar.Buttons(QStringLiteral("Paint")).Value = 1;
            return m_canvas.selectTool(Tool::Paint);
        case EditorCommand::ChangeTool:
            m_toolbar.Buttons(QStringLiteral("Paint")).Value = 0;
            m_toolbar.Buttons(QStringLiteral("Change")).Value = 1;
            return m_canvas.selectTool(Tool::Change);
        case EditorCommand::MoveUp:
            return m_canvas.MoveIcon("up");
        case EditorCommand::MoveDown:
            return m_canvas.MoveIcon("down");
        case EditorCommand::MoveLeft:
            return m_canvas.MoveIcon("left");
        case EditorCommand::MoveRight:
            return m_canvas.MoveIcon("right");
        case EditorCommand::FlipLeftRight:
            return m_canvas.FlipHorizontal();
        case EditorCommand::FlipTopBottom:
            return m_canvas.FlipVertical();
        case EditorCommand::Rotate:
            return m_canvas.Rotat_Icon();
        case EditorCommand::Clear:
            return m_canvas.ClearIcon();
        case EditorCommand::Exit:
            // The only window: closing it ends the program once this handler has returned,
            // without a question.
            close();
            return;
        case EditorCommand::ExtractIcon:
            m_command = Command::ExtractIcon;
            return m_files.ExtractIcon();
        case EditorCommand::SaveIcon:
            m_command = Command::SaveIcon;
            return m_files.SaveIcon();
        case EditorCommand::SaveAgain:  // beside Save As Icon, which it is until a first save
            m_command = Command::SaveIcon;
            return m_files.SaveAgain();
        case EditorCommand::SaveViewAsBitmap:
            m_command = Command::SaveBitmap;
            return m_files.save_BMP();
        case EditorCommand::OpenIcon:
            m_command = Command::OpenIcon;
            return m_files.OpenIcon();
        case EditorCommand::OpenBitmap:
            m_command = Command::OpenBitmap;
            return m_files.Open_BMP();
        default:
            throw std::logic_error("Not a command of the toolbar.");
    }
}

}  // namespace mosaikon
