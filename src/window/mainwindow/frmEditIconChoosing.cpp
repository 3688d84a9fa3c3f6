// Opening an icon or taking a program's icon when the file holds several: the file is chosen
// in the command's own dialog, then the icon in a list of them.
#include <QGuiApplication>
#include <QMessageBox>

#include "FileBytes.h"
#include "ImageChoices.h"
#include "commands/IconChooser.h"
#include "mainwindow/frmEditIcon.h"
#include "platform/FileNames.h"

namespace mosaikon {

void frmEditIcon::openIconChoosingImage() {
    m_command = Command::OpenIcon;
    const std::string path = m_files.chooseIconFile();
    if (path.empty()) {
        return;
    }
    IconFileImages images;
    try {
        FileBytes file(path);
        images = readIconFileImages(file);
    } catch (const FileError&) {
        // Not a file of icon images (a bitmap, a PNG, a damaged file): Open Icon's own answer.
        return m_files.openIconFile(path);
    }
    std::size_t index = images.opened;
    if (images.images.size() > 1) {
        IconChooser chooser(images, fromFileName(path), this);
        const std::optional<std::size_t> chosen = chooser.choose();
        if (!chosen) {
            return;
        }
        index = *chosen;
    }
    m_files.openIconImage(path, index);
}

void frmEditIcon::extractChoosingIcon() {
    m_command = Command::ExtractIcon;
    const std::string path = m_files.chooseProgramFile();
    if (path.empty()) {
        return;
    }
    std::vector<ChoosableGroup> groups;
    {
        FileBytes file(path);
        groups = readProgramIconGroups(file);
    }
    if (groups.empty()) {
        QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                        tr("%1 holds no icons.").arg(fromFileName(path)), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
    }
    IconChooser chooser(groups, fromFileName(path), this);
    const std::optional<std::size_t> chosen = chooser.choose();
    if (chosen) {
        m_files.extractIconGroupFrom(path, static_cast<std::int32_t>(*chosen));
    }
}

}  // namespace mosaikon
