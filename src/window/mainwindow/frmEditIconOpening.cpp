// Files opened from outside the editor's own dialogs: named on the command line or dropped on
// the window. Each is given to the step of the command that opens its kind which follows that
// command's dialog, and the dialog's properties are left as choosing the file there leaves
// them, so the status line, any message box and the undo step are exactly the command's own.
#include <QDragEnterEvent>
#include <QDropEvent>
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

// What a failure names the open as.
Command failureCommandFor(OpenCommand command) {
    switch (command) {
        case OpenCommand::OpenBitmap:
            return Command::OpenBitmap;
        case OpenCommand::ExtractIcon:
            return Command::ExtractIcon;
        case OpenCommand::OpenIcon:
            break;
    }
    return Command::OpenIcon;
}

// The local files a drop names, in its order, as the system's bytes.
std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) {
            files.push_back(fileNameOfUrl(url));
        }
    }
    return files;
}

}  // namespace

void frmEditIcon::openFile(const std::string& path) {
    if (path.empty() || !m_editCommands) {
        return;
    }
    m_editCommands->runStep([this, &path] {
        const OpenCommand command = openCommandFor(path);
        m_command = failureCommandFor(command);
        m_files.openAsChosen(command, path);
    });
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
    if (droppedFiles(event->mimeData()).empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void frmEditIcon::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = droppedFiles(event->mimeData());
    if (paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drag has finished, so a message box does not hold up the drag source; the
    // first is opened and the others named, as on the command line.
    QTimer::singleShot(0, this, [this, paths = std::move(paths)] { openFiles(paths); });
}

}  // namespace mosaikon
