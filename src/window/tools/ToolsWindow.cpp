#include "tools/ToolsWindow.h"

#include <QAction>
#include <QGridLayout>
#include <QToolButton>

#include "commands/CommandTable.h"
#include "commands/EditCommands.h"

namespace mosaikon {

namespace {

// The tool commands, one button each; the command table tells the tool each selects.
constexpr EditorCommand kToolCommands[] = {
    EditorCommand::PaintTool,
    EditorCommand::ChangeTool,
    EditorCommand::LineTool,
    EditorCommand::RectangleTool,
    EditorCommand::FilledRectangleTool,
    EditorCommand::EllipseTool,
    EditorCommand::FilledEllipseTool,
    EditorCommand::FillTool,
    EditorCommand::EraserTool,
    EditorCommand::SelectTool,
};

constexpr int kColumns = 2;

}  // namespace

ToolsWindow::ToolsWindow(EditCommands& commands, const IconCanvas& canvas, QWidget* parent)
    : QDialog(parent), m_canvas(canvas) {
    setObjectName(QStringLiteral("ToolsWindow"));
    setWindowTitle(tr("Tools"));
    setModal(false);
    auto* layout = new QGridLayout(this);
    const auto addButton = [&](EditorCommand command, int index) {
        const QAction* action = commands.action(command);
        auto* button = new QToolButton(this);
        button->setText(action->text());
        button->setToolTip(tr("%1 (%2)").arg(
            action->text(), action->shortcut().toString(QKeySequence::NativeText)));
        button->setAccessibleName(action->text());
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // The button shows the state the editor reports, not the one a click would give it.
        connect(button, &QToolButton::clicked, this, [this, &commands, command] {
            commands.trigger(command);
            showState(m_canvas.activeTool(), m_canvas.mirroring());
        });
        layout->addWidget(button, index / kColumns, index % kColumns);
        m_buttons[command] = button;
    };
    int index = 0;
    for (const EditorCommand command : kToolCommands) {
        addButton(command, index++);
    }
    addButton(EditorCommand::MirrorDrawing, index + (index % kColumns));
    // The editor's keys work here as in the main window.
    addActions(parent->actions());
}

void ToolsWindow::showState(Tool active, Mirroring mirroring) {
    for (const EditorCommand command : kToolCommands) {
        m_buttons.at(command)->setChecked(toolOfCommand(command) == active);
    }
    m_buttons.at(EditorCommand::MirrorDrawing)->setChecked(mirroring == Mirroring::On);
}

}  // namespace mosaikon
