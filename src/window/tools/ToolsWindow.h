#pragma once

#include <QDialog>
#include <map>

#include "IconCanvas.h"
#include "ToolSession.h"
#include "Tools.h"
#include "commands/EditorCommand.h"

class QToolButton;

namespace mosaikon {

class EditCommands;

// A small window with a button for every drawing tool and one for mirrored drawing. Each
// button runs its command from the command table, as its key does; the buttons show which tool
// is active and whether mirroring is on. It is a child of the main window that does not block
// it, and the editor's keys work while it has the focus.
class ToolsWindow : public QDialog {
    Q_OBJECT
public:
    ToolsWindow(EditCommands& commands, const IconCanvas& canvas, QWidget* parent);

    // Shows `active` pressed and the mirror button as `mirroring` says.
    void showState(Tool active, Mirroring mirroring);
    QToolButton* button(EditorCommand command) const { return m_buttons.at(command); }

private:
    const IconCanvas& m_canvas;
    std::map<EditorCommand, QToolButton*> m_buttons;
};

}  // namespace mosaikon
