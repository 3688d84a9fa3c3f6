#include "commands/ShortcutsWindow.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "commands/EditCommands.h"

namespace mosaikon {

namespace {

QString keysText(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts()) {
        keys.append(key.toString(QKeySequence::NativeText));
    }
    return keys.join(QStringLiteral(", "));
}

}  // namespace

ShortcutsWindow::ShortcutsWindow(const EditCommands& commands, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("ShortcutsWindow"));
    setWindowTitle(tr("Keyboard shortcuts"));
    std::vector<std::pair<QString, QString>> rows;
    for (const QAction* action : commands.menuOrder()) {
        if (action != nullptr && !action->shortcuts().isEmpty()) {
            rows.emplace_back(keysText(*action), action->text());
        }
    }
    rows.emplace_back(keysText(*commands.commandMenuAction()), tr("Open the command menu"));
    rows.emplace_back(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText),
                      tr("Cancel a colour pick or a drag; put the selection down"));
    rows.emplace_back(QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText),
                      tr("Put the selection down"));
    // The keys the window's controls and the grid take for themselves.
    const auto keyName = [](QKeyCombination key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    rows.emplace_back(
        keyName(Qt::Key_Tab) + QStringLiteral(", ") + keyName(Qt::SHIFT | Qt::Key_Tab),
        tr("Move the keyboard focus through the toolbar, the swatches, the grid and "
           "the web link"));
    rows.emplace_back(tr("Arrow keys"), tr("On the grid: move the cell cursor"));
    rows.emplace_back(keyName(Qt::Key_Space),
                      tr("On the grid: paint the cell under the cursor, or start and end a shape "
                         "or selection; elsewhere: press the focused button or swatch"));

    m_table->setColumnCount(2);
    m_table->setRowCount(static_cast<int>(rows.size()));
    m_table->setHorizontalHeaderLabels({tr("Key"), tr("Command")});
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto& [keys, text] = rows[static_cast<std::size_t>(row)];
        m_table->setItem(row, 0, new QTableWidgetItem(keys));
        m_table->setItem(row, 1, new QTableWidgetItem(text));
    }
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(460, 560);
}

}  // namespace mosaikon
