#pragma once

#include <QString>
#include <QStringList>

#include "CommonDialog.h"

class QWidget;

namespace mosaikon {

// The file dialog model shown with Qt's own file dialog.
class QtDialogHost final : public DialogHost {
public:
    explicit QtDialogHost(QWidget* parent) : m_parent(parent) {}
    std::string run(const DialogRequest& request) override;

private:
    QWidget* m_parent;
};

// "description|pattern|description|pattern" as Qt name filters ("description (pattern)").
QStringList toQtNameFilters(const std::string& filter);

// Whether a file may be written at `path`: an existing file must be writable, a new one needs a
// writable folder.
bool isWritableTarget(const QString& path);

}  // namespace mosaikon
