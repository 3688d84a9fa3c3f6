#pragma once

#include <QDialog>

class QTableWidget;

namespace mosaikon {

class EditCommands;

// Every key of the editor beside what it does, read from the commands themselves so the list
// and the keys cannot drift apart.
class ShortcutsWindow : public QDialog {
    Q_OBJECT
public:
    ShortcutsWindow(const EditCommands& commands, QWidget* parent);

    QTableWidget* table() const { return m_table; }

private:
    QTableWidget* m_table;
};

}  // namespace mosaikon
