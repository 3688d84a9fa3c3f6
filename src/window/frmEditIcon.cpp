#include "frmEditIcon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <exception>

#include "Accessibility.h"
#include "ClickableLabel.h"
#include "ControlLook.h"
#include "DesktopShell.h"
#include "EditCommands.h"
#include "FileNames.h"
#include "PictureBoxView.h"
#include "QtDialogHost.h"
#include "ResourcePictures.h"
#include "ToolbarView.h"
#include "WebLink.h"

namespace mosaikon {

frmEditIcon::frmEditIcon(QWidget* parent)
    : QWidget(parent),
      m_qtDialogHost(std::make_unique<QtDialogHost>(this)),
      m_dialog(*m_qtDialogHost),
      m_files(m_canvas, m_dialog),
      m_desktopShell(std::make_unique<DesktopShell>()),
      m_shell(m_desktopShell.get()) {
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setFixedSize(kClientWidth, kClientHeight);
    setBackColor(this, Colour(kBackground));
    createControls();
    makeAccessible();
    runHandler([this] { Form_Load(); });
    m_editCommands = std::make_unique<EditCommands>(*this);
}

frmEditIcon::~frmEditIcon() = default;

ClickableLabel* frmEditIcon::lblColor(int index) const {
    return m_swatches.at(static_cast<std::size_t>(index));
}

void frmEditIcon::Form_Load() {
    m_canvas.Form_Load([this] { m_colours.setStartColours(); });
}

void frmEditIcon::Form_Activate() { m_colours.drawColourSweep(); }

void frmEditIcon::LargePicture_MouseDown(std::int16_t Button, std::int16_t Shift, float X,
                                         float Y) {
    m_canvas.LargePicture_MouseDown(Button, Shift, X, Y);
}

void frmEditIcon::LargePicture_MouseMove(std::int16_t Button, std::int16_t Shift, float X,
                                         float Y) {
    m_canvas.LargePicture_MouseMove(Button, Shift, X, Y);
}

void frmEditIcon::lblColor_Click(std::int16_t Index) {
    m_colours.lblColor_Click(Index, m_canvas.state);
}

void frmEditIcon::Pic_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    m_colours.Pic_MouseDown(Button, Shift, X, Y, m_canvas.state);
}

void frmEditIcon::Image2_Click() {
    const std::string address = kMakerAddress;
    OpenWebsite(address);
}

void frmEditIcon::Label3_Click() {
    const std::string address = kMakerAddress;
    OpenWebsite(address);
}

void frmEditIcon::OpenWebsite(const std::string& sURL) { mosaikon::OpenWebsite(*m_shell, sURL); }

void frmEditIcon::runHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        refreshControls();
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                             fromFileName(error.what()));  // it names the file
    } catch (...) {
        refreshControls();
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(),
                             tr("The command could not be completed because of an unexpected "
                                "error. Your icon is unchanged since the last step that worked."));
    }
    if (m_editCommands) {
        m_editCommands->handlerFinished();  // the history records what the handler changed
    }
    refreshControls();
}

void frmEditIcon::refreshControls() {
    m_largeView->syncFromSurface();
    m_smallView->syncFromSurface();
    m_picView->syncFromSurface();
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        setBackColor(m_swatches[i], m_colours.lblColor[i]);
    }
    setBackColor(m_pallet, m_colours.Pallet);
    setBackColor(m_pallet2, m_colours.Pallet2);
    m_statusBar->setText(fromFileName(m_files.statusLine()));
    m_toolbarView->update();
    m_colourNames->update();
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
        followDisplayScale();
        // Under a bare X server no window manager ever activates the window, so the first
        // showing counts as its first activation; where the platform does activate it, that
        // activation is this same one and draws nothing more.
        m_firstActivationPending = true;
        runHandler([this] { Form_Activate(); });
        // The icon shows only in the desktop's title bar and task list, so it is set once the
        // window's own first frame is on its way rather than holding that frame up.
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
    }
}

void frmEditIcon::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shownOnce) {
        if (m_firstActivationPending) {
            m_firstActivationPending = false;
            return;
        }
        runHandler([this] { Form_Activate(); });
    }
}

}  // namespace mosaikon
