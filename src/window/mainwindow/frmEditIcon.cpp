#include "mainwindow/frmEditIcon.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "KeptCopies.h"
#include "access/Accessibility.h"
#include "commands/EditCommands.h"
#include "controls/ClickableLabel.h"
#include "controls/ControlLook.h"
#include "controls/PictureBoxView.h"
#include "controls/ResourcePictures.h"
#include "controls/ToolbarView.h"
#include "controls/WebLink.h"
#include "platform/DesktopShell.h"
#include "platform/FileNames.h"
#include "platform/QtDialogHost.h"
#include "preview/PreviewWindow.h"
#include "recovery/KeptCopyKeeper.h"
#include "tools/ToolOverlay.h"
#include "tools/ToolsWindow.h"

namespace mosaikon {

frmEditIcon::frmEditIcon(QWidget* parent)
    : QWidget(parent),
      m_qtDialogHost(std::make_unique<QtDialogHost>(this)),
      m_dialog(*m_qtDialogHost),
      m_files(m_canvas, m_dialog),
      m_recent(defaultRecentFilesPath()),
      m_desktopShell(std::make_unique<DesktopShell>()),
      m_shell(m_desktopShell.get()) {
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setFixedSize(kClientWidth, kClientHeight);
    setAcceptDrops(true);
    setBackColor(this, Colour(kBackground));
    createControls();
    makeAccessible();
    runHandler([this] { Form_Load(); });
    m_editCommands = std::make_unique<EditCommands>(*this);
    m_files.setFileUsedHandler([this](const std::string& path) { rememberFile(path); });
    m_keeper = std::make_unique<KeptCopyKeeper>(m_canvas, defaultKeptCopyFolder());
    m_keeper->setFailureHandler([this](const QString& reason) { showKeptCopyFailure(reason); });
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
    // A handler can run inside another one's modal dialog; the outer one keeps its command.
    const Command outerCommand = m_command;
    m_command = Command::Unnamed;
    std::exception_ptr failure;
    try {
        handler();
    } catch (...) {
        failure = std::current_exception();
    }
    const Command command = m_command;
    m_command = outerCommand;
    if (m_editCommands) {
        m_editCommands->handlerFinished();  // the history records what the handler changed
    }
    if (m_keeper) {
        m_keeper->noticeChanges();
    }
    // Once, before any message: the person sees what a failing handler had already changed
    // while reading it.
    refreshControls();
    if (failure) {
        showFailure(failureMessage(failure, command, m_dialog.FileName,
                                   QGuiApplication::applicationDisplayName()));
    }
}

void frmEditIcon::showFailure(const QString& message) {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, this);
    // File names and messages are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    m_failureBoxOpen = true;
    box.exec();
    m_failureBoxOpen = false;
}

void frmEditIcon::refreshControls() {
    // The views compare the surfaces' revisions and pointers themselves.
    m_largeView->syncFromSurface();
    m_smallView->syncFromSurface();
    m_picView->syncFromSurface();
    const bool firstTime = !m_shown;
    if (firstTime) {
        m_shown.emplace();
    }
    bool coloursChanged = false;
    const auto showColour = [&](Colour& shown, Colour model, QWidget* label) {
        if (firstTime || shown != model) {
            shown = model;
            setBackColor(label, model);
            coloursChanged = true;
        }
    };
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        showColour(m_shown->swatches[i], m_colours.lblColor[i], m_swatches[i]);
    }
    showColour(m_shown->pallet, m_colours.Pallet, m_pallet);
    showColour(m_shown->pallet2, m_colours.Pallet2, m_pallet2);
    if (coloursChanged) {
        m_colourNames->update();  // the displays' accessible names say their colours
    }
    if (firstTime || m_shown->statusLine != m_files.statusLine()) {
        m_shown->statusLine = m_files.statusLine();
        m_statusBar->setText(fromFileName(m_shown->statusLine));
    }
    // The buttons' pressed states; the toolbar repaints itself for hovering and pressing.
    bool toolbarChanged = firstTime;
    m_shown->toolbarValues.resize(static_cast<std::size_t>(m_toolbar.count()));
    for (int i = 1; i <= m_toolbar.count(); ++i) {
        std::int16_t& shown = m_shown->toolbarValues[static_cast<std::size_t>(i - 1)];
        if (shown != m_toolbar.Buttons(i).Value) {
            shown = m_toolbar.Buttons(i).Value;
            toolbarChanged = true;
        }
    }
    if (toolbarChanged) {
        m_toolbarView->update();
    }
    m_toolOverlay->show(m_canvas.preview(), m_canvas.selectionRect());
    if (firstTime || m_shown->tool != m_canvas.activeTool() ||
        m_shown->mirroring != m_canvas.mirroring()) {
        m_shown->tool = m_canvas.activeTool();
        m_shown->mirroring = m_canvas.mirroring();
        if (m_editCommands && m_editCommands->toolsWindow() != nullptr) {
            m_editCommands->toolsWindow()->showState(m_shown->tool, m_shown->mirroring);
        }
    }
    if (m_editCommands && m_editCommands->previewWindow() != nullptr) {
        m_editCommands->previewWindow()->showIcon(m_canvas.opacity);
    }
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
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && m_failureBoxOpen) {
        m_activationReturnsFromBox = true;  // the box took it
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_shownOnce) {
        if (m_firstActivationPending) {
            m_firstActivationPending = false;
            return;
        }
        if (m_activationReturnsFromBox) {
            m_activationReturnsFromBox = false;
            return;
        }
        runHandler([this] { Form_Activate(); });
    }
}

}  // namespace mosaikon
