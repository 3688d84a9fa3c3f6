// The window's pictures and the grid's pointer are drawn for whole display scales. They are
// loaded for the scale of the screen the window is on, and loaded again when the window moves
// to a screen of another scale or its screen's scale changes, so they never show stretched.
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include "controls/ClickableLabel.h"
#include "controls/PictureBoxView.h"
#include "controls/ResourcePictures.h"
#include "controls/ToolbarView.h"
#include "mainwindow/frmEditIcon.h"

namespace mosaikon {

void frmEditIcon::followDisplayScale() {
    QWindow* window = windowHandle();
    if (window == nullptr) {
        return;
    }
    connect(window, &QWindow::screenChanged, this, &frmEditIcon::watchScreen);
    watchScreen(window->screen());
}

// While the screen changes, the window may still report the old screen's ratio: the new
// screen's own is the one to draw for.
void frmEditIcon::watchScreen(QScreen* screen) {
    disconnect(m_screenWatch);
    if (screen == nullptr) {
        return;
    }
    m_screenWatch = connect(screen, &QScreen::logicalDotsPerInchChanged, this,
                            [this, screen] { showPicturesForScale(screen->devicePixelRatio()); });
    showPicturesForScale(screen->devicePixelRatio());
}

void frmEditIcon::showPicturesForScale(qreal scale) {
    if (scale == m_pictureScale) {
        return;
    }
    m_pictureScale = scale;
    for (ImageList::ListImage& image : m_imageList2.ListImages) {
        image.Picture = resourceIcon(image.Resource, scale);
    }
    const auto showPicture = [scale](QLabel* label, const QString& name) {
        label->setPixmap(resourceIcon(name, scale).pixmap(label->size(), scale));
    };
    showPicture(m_image2, QStringLiteral("logo"));
    showPicture(m_image3, QStringLiteral("arrow"));
    for (PictureBoxView* view : {m_largeView, m_smallView, m_picView}) {
        view->showAtScale(scale);
    }
    m_toolbarView->update();
}

}  // namespace mosaikon
