// The recent files through the window: each file a command opened or saved joins the list, and
// the command menu's submenu opens, drops or clears them.
#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <iostream>

#include "FileError.h"
#include "RecentFiles.h"
#include "mainwindow/frmEditIcon.h"
#include "platform/FileNames.h"
#include "recovery/RecentMenu.h"

namespace mosaikon {

namespace {

// Long folders are cut in the middle, so that the name and the folder's end stay readable.
constexpr int kLongestFolderShown = 60;

QString menuText(std::size_t index, const std::string& name, bool gone) {
    const QFileInfo file(fromFileName(name));
    QString folder = file.path();
    if (folder.size() > kLongestFolderShown) {
        folder = folder.left(kLongestFolderShown / 2 - 1) + QChar(0x2026) +
                 folder.right(kLongestFolderShown / 2);
    }
    QString text = QObject::tr("%1 — %2").arg(file.fileName(), folder);
    if (gone) {
        text = QObject::tr("%1 (gone)").arg(text);
    }
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a name's '&' marks no key
    return index < 9 ? QStringLiteral("&%1 %2").arg(index + 1).arg(text) : text;
}

void showListFailure(frmEditIcon& window, const FileError& error) {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    QObject::tr("The recent files could not be changed: %1")
                        .arg(fromFileName(error.path() + " " + error.problem())),
                    QMessageBox::Ok, &window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void offerRemoval(frmEditIcon& window, const std::string& name) {
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                    QObject::tr("%1 is no longer there. Remove it from the recent files?")
                        .arg(fromFileName(name)),
                    QMessageBox::NoButton, &window);
    box.setTextFormat(Qt::PlainText);
    QPushButton* remove = box.addButton(QObject::tr("Remove"), QMessageBox::AcceptRole);
    box.addButton(QObject::tr("Keep"), QMessageBox::RejectRole);
    box.setDefaultButton(remove);
    box.exec();
    if (box.clickedButton() != remove) {
        return;
    }
    try {
        window.recentFiles().remove(name);
    } catch (const FileError& error) {
        showListFailure(window, error);
    }
}

}  // namespace

void frmEditIcon::rememberFile(const std::string& path) {
    try {
        m_recent.add(path);
    } catch (const FileError& error) {
        // Said once, never in a box while a person works; the menu shows the list as it is.
        if (!m_recentFailureSaid) {
            m_recentFailureSaid = true;
            std::cerr << QGuiApplication::applicationName().toStdString()
                      << ": the recent files cannot be kept: " << error.what() << '\n';
        }
    }
}

QMenu* makeRecentFilesMenu(frmEditIcon& window, QWidget* parent) {
    auto* menu = new QMenu(QObject::tr("Open recent"), parent);
    menu->setObjectName(QStringLiteral("RecentFilesMenu"));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&window, menu] {
        menu->clear();
        std::vector<std::string> names;
        try {
            names = window.recentFiles().names();
        } catch (const FileError&) {
            // An unreadable list holds nothing to open.
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string name = names[i];
            const bool gone = recentFileIsGone(name);
            QAction* item = menu->addAction(menuText(i, name, gone));
            QObject::connect(item, &QAction::triggered, &window, [&window, name] {
                if (recentFileIsGone(name)) {
                    offerRemoval(window, name);
                } else {
                    window.openFile(name);
                }
            });
        }
        if (names.empty()) {
            menu->addAction(QObject::tr("No recent files"))->setEnabled(false);
        }
        menu->addSeparator();
        QAction* clear = menu->addAction(QObject::tr("Clear recent files"));
        clear->setObjectName(QStringLiteral("ClearRecentFiles"));
        clear->setEnabled(!names.empty());
        QObject::connect(clear, &QAction::triggered, &window, [&window] {
            try {
                window.recentFiles().clear();
            } catch (const FileError& error) {
                showListFailure(window, error);
            }
        });
    });
    return menu;
}

}  // namespace mosaikon
