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

// Why a file may not be written at `path`, in a sentence for the save dialog's refusal; empty
// when it may. An existing file must be writable, a new one needs a folder that exists and may be
// written in.
QString whyNotWritable(const QString& path);

}  // namespace mosaikon
