// Files opened from outside the editor's own dialogs: named on the command line or dropped on
// the window. Each runs the command that opens its kind, as if the person had chosen the file in
// that command's dialog, so the status line, the dialog's properties, any message box and the
// undo step are exactly the command's own.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "OpenKinds.h"
#include "commands/EditCommands.h"
#include "mainwindow/frmEditIcon.h"
#include "platform/FileNames.h"

namespace mosaikon {

namespace {

// Answers the next dialog with one file instead of showing it; any later dialog goes to the
// host it stands in for. The window's own host is put back when it goes.
class OneShotDialogHost final : public DialogHost {
public:
    OneShotDialogHost(CommonDialog& dialog, std::string path)
        : m_dialog(dialog), m_previous(dialog.host()), m_path(std::move(path)) {
        m_dialog.setHost(*this);
    }
    ~OneShotDialogHost() override { m_dialog.setHost(m_previous); }
    OneShotDialogHost(const OneShotDialogHost&) = delete;
    OneShotDialogHost& operator=(const OneShotDialogHost&) = delete;

    std::string run(const DialogRequest& request) override {
        if (m_answered) {
            return m_previous.run(request);
        }
        m_answered = true;
        return m_path;
    }

private:
    CommonDialog& m_dialog;
    DialogHost& m_previous;
    std::string m_path;
    bool m_answered = false;
};

EditorCommand editorCommandFor(OpenCommand command) {
    switch (command) {
        case OpenCommand::OpenBitmap:
            return EditorCommand::OpenBitmap;
        case OpenCommand::ExtractIcon:
            return EditorCommand::ExtractIcon;
        case OpenCommand::OpenIcon:
            break;
    }
    return EditorCommand::OpenIcon;
}

// The local file a drop names: the first of its URLs that is one, as the system's bytes.
std::string droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) {
            return QFile::encodeName(url.toLocalFile()).toStdString();
        }
    }
    return {};
}

}  // namespace

void frmEditIcon::openFile(const std::string& path) {
    if (path.empty() || !m_editCommands) {
        return;
    }
    const EditorCommand command = editorCommandFor(openCommandFor(path));
    const OneShotDialogHost answer(m_dialog, path);
    m_editCommands->trigger(command);
}

void frmEditIcon::openFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    openFile(paths.front());
    if (paths.size() == 1) {
        return;
    }
    QString names;
    for (std::size_t i = 1; i < paths.size(); ++i) {
        names += QLatin1Char('\n') + fromFileName(paths[i]);
    }
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                    tr("Only the first file was opened. Not opened:%1").arg(names), QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);  // names are shown as they are, never read as markup
    box.exec();
}

void frmEditIcon::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void frmEditIcon::dropEvent(QDropEvent* event) {
    const std::string path = droppedFile(event->mimeData());
    if (path.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drag has finished, so a message box does not hold up the drag source.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
}

}  // namespace mosaikon
