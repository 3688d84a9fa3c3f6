// Restoring the icon kept on disk: the restore command, its submenu of older copies, and what
// the window shows when the copy cannot be kept.
#include <QAction>
#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>

#include "KeptCopies.h"
#include "commands/EditCommands.h"
#include "controls/PictureImage.h"
#include "mainwindow/frmEditIcon.h"
#include "recovery/KeptCopyKeeper.h"
#include "recovery/RestoreMenu.h"

namespace mosaikon {

namespace {

constexpr std::size_t kOlderCopiesShown = 5;

QString timeText(std::chrono::system_clock::time_point written) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch()).count();
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

}  // namespace

void frmEditIcon::restorePrevious() {
    std::vector<KeptCopy> left;
    runHandler([this, &left] { left = KeptCopyFolder(m_keeper->folder()).leftBehind(1); });
    if (left.empty()) {
        QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                        tr("There is no previous icon to restore."), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    restoreCopy(left.front().path);
}

void frmEditIcon::restoreCopy(const std::string& path) {
    m_editCommands->runStep([this, &path] {
        m_canvas.putDownSelection();
        restoreKeptCopy(m_canvas, path);
    });
}

void frmEditIcon::showKeptCopyFailure(const QString& reason) {
    QAction* restore = m_editCommands->action(EditorCommand::RestorePrevious);
    restore->setEnabled(false);
    restore->setText(tr("Restore previous icon (the icon is not being kept: %1)").arg(reason));
    QAction* older = m_editCommands->action(EditorCommand::RestoreOlder);
    older->setEnabled(false);
    older->setText(tr("Restore an older icon (the icon is not being kept: %1)").arg(reason));
}

QMenu* makeOlderCopiesMenu(frmEditIcon& window, QWidget* parent) {
    auto* menu = new QMenu(QObject::tr("Restore an older icon"), parent);
    menu->setObjectName(QStringLiteral("OlderCopiesMenu"));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&window, menu] {
        menu->clear();
        std::vector<KeptCopy> copies;
        try {
            copies = KeptCopyFolder(window.keptCopy().folder()).leftBehind(kOlderCopiesShown);
        } catch (const std::exception&) {
            // An unreadable folder holds nothing to choose.
        }
        for (const KeptCopy& copy : copies) {
            QAction* item = menu->addAction(timeText(copy.written));
            try {
                item->setIcon(QIcon(QPixmap::fromImage(pictureImage(readKeptCopy(copy.path)))));
            } catch (const std::exception&) {
                item->setText(QObject::tr("%1 (damaged)").arg(item->text()));
                item->setEnabled(false);
                continue;
            }
            const std::string path = copy.path;
            QObject::connect(item, &QAction::triggered, &window,
                             [&window, path] { window.restoreCopy(path); });
        }
        if (copies.empty()) {
            menu->addAction(QObject::tr("Nothing to restore"))->setEnabled(false);
        }
    });
    return menu;
}

}  // namespace mosaikon
