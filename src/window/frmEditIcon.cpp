#include "frmEditIcon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "PictureBoxView.h"
#include "QtDialogHost.h"

namespace mosaikon {

namespace {

QColor toQColor(Colour colour) {
    const Colour plain = colour.resolved();
    return {plain.red(), plain.green(), plain.blue()};
}

void fillBackground(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

frmEditIcon::frmEditIcon(QWidget* parent)
    : QWidget(parent),
      m_qtDialogHost(std::make_unique<QtDialogHost>(this)),
      m_dialog(*m_qtDialogHost),
      m_files(m_canvas, m_dialog) {
    setWindowTitle(QStringLiteral("Mosaikon"));
    setFixedSize(kClientWidth, kClientHeight);
    fillBackground(this, Colour(kBackground));
    createControls();
    runHandler([this] { Form_Load(); });
}

frmEditIcon::~frmEditIcon() = default;

void frmEditIcon::createControls() {
    m_swatchPanel = new QWidget(this);
    m_swatchPanel->setObjectName(QStringLiteral("Picture2"));
    m_swatchPanel->setGeometry(192, 48, 73, 321);
    fillBackground(m_swatchPanel, Colour(kBackground));

    m_smallView = new PictureBoxView(m_canvas.SmallPicture, PictureBoxView::Border::None, m_swatchPanel);
    m_smallView->setObjectName(QStringLiteral("SmallPicture"));
    m_smallView->move(16, 8);

    m_largeView = new PictureBoxView(m_canvas.LargePicture, PictureBoxView::Border::FlatLine, this);
    m_largeView->setObjectName(QStringLiteral("LargePicture"));
    m_largeView->move(272, 48);
    connect(m_largeView, &PictureBoxView::mouseDown, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { LargePicture_MouseDown(button, shift, x, y); });
            });
    connect(m_largeView, &PictureBoxView::mouseMove, this,
            [this](std::int16_t button, std::int16_t shift, float x, float y) {
                runHandler([=, this] { LargePicture_MouseMove(button, shift, x, y); });
            });
}

void frmEditIcon::Form_Load() { m_canvas.Form_Load(); }

void frmEditIcon::Form_Activate() {}

void frmEditIcon::LargePicture_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    m_canvas.LargePicture_MouseDown(Button, Shift, X, Y);
}

void frmEditIcon::LargePicture_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    m_canvas.LargePicture_MouseMove(Button, Shift, X, Y);
}

void frmEditIcon::runHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        refreshControls();
        QMessageBox::warning(this, QStringLiteral("Mosaikon"), QString::fromStdString(error.what()));
    } catch (...) {
        refreshControls();
        QMessageBox::warning(this, QStringLiteral("Mosaikon"),
                             tr("The command could not be completed because of an unexpected "
                                "error. Your icon is unchanged since the last step that worked."));
    }
    refreshControls();
}

void frmEditIcon::refreshControls() {
    m_largeView->syncFromSurface();
    m_smallView->syncFromSurface();
}

void frmEditIcon::centreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void frmEditIcon::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        centreOnScreen();
        // Under a bare X server no window manager ever activates the window, so the first
        // showing counts as its first activation.
        runHandler([this] { Form_Activate(); });
    }
}

void frmEditIcon::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shownOnce) {
        runHandler([this] { Form_Activate(); });
    }
}

}  // namespace mosaikon
