#include "preview/PreviewWindow.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace mosaikon {

PreviewWindow::PreviewWindow(QWidget* parent) : QDialog(parent), m_picture(new QLabel(this)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(tr("Preview"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(
        tr("Actual size, 2 ×, 4 ×, 16 and 48 pixels as exported, and tiled; on white, light "
           "grey, dark grey, black and a checkerboard."),
        this);
    caption->setWordWrap(true);
    layout->addWidget(caption);
    m_picture->setObjectName(QStringLiteral("PreviewSheet"));
    m_picture->setAccessibleName(tr("The icon with its opacity on five backgrounds"));
    layout->addWidget(m_picture);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The editor's keys work here as in the main window.
    addActions(parent->actions());
}

void PreviewWindow::showIcon(const OpacityPlane& opacity) {
    if (m_shownPlane == &opacity && m_shownRevision == opacity.revision()) {
        return;
    }
    m_shownPlane = &opacity;
    m_shownRevision = opacity.revision();
    m_sheet.draw(opacity.picture());
    ++m_drawCount;
    // Plain colours 0x00BBGGRR lie in memory as red, green, blue and an unused byte.
    const PictureBox& sheet = m_sheet.sheet();
    const QImage image(reinterpret_cast<const uchar*>(sheet.pixels().data()), sheet.widthPixels(),
                       sheet.heightPixels(), sheet.widthPixels() * 4, QImage::Format_RGBX8888);
    m_picture->setPixmap(QPixmap::fromImage(image));
}

}  // namespace mosaikon
