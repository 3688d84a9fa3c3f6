// The toolbar's two events and the commands they run. Button clicks are told apart by the
// button's Key, compared whole and case-sensitively; menu choices by position only (the owning
// button's Index and the item's), so the toolbar's layout is part of this contract. Before a
// file command the dispatch notes which one it is, so that a failure can name it.
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

namespace {
constexpr std::int16_t kOpenButton = 2;
constexpr std::int16_t kSaveButton = 4;
}  // namespace

void frmEditIcon::Toolbar1_ButtonClick(const ToolbarButton& Button) {
    const QString key = Button.Key;
    if (key == QLatin1String("New")) {
        m_canvas.New_Icon();
    } else if (key == QLatin1String("Paint")) {
        m_toolbar.Buttons(QStringLiteral("Change")).Value = 0;
        m_toolbar.Buttons(QStringLiteral("Paint")).Value = 1;
        m_canvas.LargePicture.setMousePointer(pointers::kPencil);
    } else if (key == QLatin1String("Change")) {
        m_toolbar.Buttons(QStringLiteral("Paint")).Value = 0;
        m_toolbar.Buttons(QStringLiteral("Change")).Value = 1;
        m_canvas.LargePicture.setMousePointer(pointers::kUpArrow);
    } else if (key == QLatin1String("Up")) {
        m_canvas.MoveIcon("up");
    } else if (key == QLatin1String("Down")) {
        m_canvas.MoveIcon("down");
    } else if (key == QLatin1String("Left")) {
        m_canvas.MoveIcon("left");
    } else if (key == QLatin1String("Right")) {
        m_canvas.MoveIcon("right");
    } else if (key == QLatin1String("flipHorizontal")) {
        m_canvas.FlipHorizontal();
    } else if (key == QLatin1String("FlipVert")) {
        m_canvas.FlipVertical();
    } else if (key == QLatin1String("Rotate")) {
        m_canvas.Rotat_Icon();
    } else if (key == QLatin1String("Clear")) {
        m_canvas.ClearIcon();
    } else if (key == QLatin1String("Exit")) {
        // The only window: closing it ends the program once this handler has returned, without
        // a question.
        close();
    } else if (key == QLatin1String("Extract")) {
        m_command = Command::ExtractIcon;
        m_files.ExtractIcon();
    }
}

void frmEditIcon::Toolbar1_ButtonMenuClick(const ToolbarMenuItem& ButtonMenu) {
    if (ButtonMenu.ParentIndex == kSaveButton) {
        if (ButtonMenu.Index == 1) {
            m_command = Command::SaveIcon;
            m_files.SaveIcon();
        }
        if (ButtonMenu.Index == 2) {
            m_command = Command::SaveBitmap;
            m_files.save_BMP();
        }
    }
    if (ButtonMenu.ParentIndex == kOpenButton) {
        if (ButtonMenu.Index == 1) {
            m_command = Command::OpenIcon;
            m_files.OpenIcon();
        }
        if (ButtonMenu.Index == 2) {
            m_command = Command::OpenBitmap;
            m_files.Open_BMP();
        }
    }
}

}  // namespace mosaikon
