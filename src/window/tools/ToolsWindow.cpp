#include "tools/ToolsWindow.h"

#include <QAction>
#include <QGridLayout>
#include <QToolButton>

#include "commands/EditCommands.h"

namespace mosaikon {

namespace {

struct ToolButton {
    EditorCommand command;
    Tool tool;
};

constexpr ToolButton kToolButtons[] = {
    {EditorCommand::PaintTool, Tool::Paint},
    {EditorCommand::ChangeTool, Tool::Change},
    {EditorCommand::LineTool, Tool::Line},
    {EditorCommand::RectangleTool, Tool::Rectangle},
    {EditorCommand::FilledRectangleTool, Tool::FilledRectangle},
    {EditorCommand::EllipseTool, Tool::Ellipse},
    {EditorCommand::FilledEllipseTool, Tool::FilledEllipse},
    {EditorCommand::FillTool, Tool::Fill},
    {EditorCommand::EraserTool, Tool::Eraser},
    {EditorCommand::SelectTool, Tool::Select},
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
    for (const ToolButton& tool : kToolButtons) {
        addButton(tool.command, index++);
    }
    addButton(EditorCommand::MirrorDrawing, index + (index % kColumns));
    // The editor's keys work here as in the main window.
    addActions(parent->actions());
}

void ToolsWindow::showState(Tool active, Mirroring mirroring) {
    for (const ToolButton& tool : kToolButtons) {
        m_buttons.at(tool.command)->setChecked(tool.tool == active);
    }
    m_buttons.at(EditorCommand::MirrorDrawing)->setChecked(mirroring == Mirroring::On);
}

}  // namespace mosaikon
