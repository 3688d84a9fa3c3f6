#include "platform/QtDialogHost.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include "platform/FileNames.h"

namespace mosaikon {

QStringList toQtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses; most descriptions already end in
        // them, so they are shown as written.
        if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
            result << description;
        } else {
            result << description + QStringLiteral(" (") + pattern + QLatin1Char(')');
        }
    }
    return result;
}

QString whyNotWritable(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir()) {
            return QObject::tr("This is a folder. Choose a file name in it.");
        }
        return info.isWritable() ? QString()
                                 : QObject::tr("This file is read-only. Choose another name.");
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists()) {
        return QObject::tr("The folder %1 does not exist. Choose a folder that does.")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    if (!folder.isDir()) {
        return QObject::tr("%1 is not a folder. Choose a folder.")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    }
    return folder.isWritable()
               ? QString()
               : QObject::tr("Its folder cannot be written to. Choose another folder.");
}

std::string QtDialogHost::run(const DialogRequest& request) {
    const bool saving = request.mode == DialogRequest::Mode::Save;
    QFileDialog dialog(m_parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(saving ? QObject::tr("Save As") : QObject::tr("Open"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const bool mustExist = !saving && (request.flags & dialogflags::kFileMustExist) != 0;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (saving && (request.flags & dialogflags::kOverwritePrompt) == 0) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    const QStringList filters = toQtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex - 1;
        if (index >= 0 && index < filters.size()) {
            dialog.selectNameFilter(filters[index]);
        }
    }
    if (!request.fileName.empty()) {
        dialog.selectFile(fromFileName(request.fileName));
    }
    const bool refuseReadOnly = saving && (request.flags & dialogflags::kNoReadOnlyReturn) != 0;
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) {
            break;
        }
        const QString path = QDir::toNativeSeparators(chosen.first());
        const QString refused = refuseReadOnly ? whyNotWritable(chosen.first()) : QString();
        if (!refused.isEmpty()) {
            QMessageBox refusal(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                path + QLatin1Char('\n') + refused, QMessageBox::Ok, &dialog);
            refusal.setTextFormat(Qt::PlainText);  // a file name is never read as markup
            refusal.exec();
            continue;
        }
        return toFileName(path);
    }
    return {};
}

}  // namespace mosaikon
