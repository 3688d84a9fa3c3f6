#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ColourChoice.h"
#include "CommonDialog.h"
#include "FileCommands.h"
#include "IconCanvas.h"
#include "RecentFiles.h"
#include "commands/EditorCommand.h"
#include "controls/ImageList.h"
#include "controls/Toolbar.h"
#include "mainwindow/FailureMessage.h"

class QLabel;
class QScreen;

namespace mosaikon {

class AccessibleColourNames;
class ClickableLabel;
class DesktopShell;
class GridKeyboard;
class KeptCopyKeeper;
class EditCommands;
class PictureBoxView;
class QtDialogHost;
class Shell;
class ToolbarView;
class ToolOverlay;

// The editor's one window. It places the controls, turns Qt's events into the editor's
// handlers and shows the models; the editing itself lives in the canvas, the colour choice and
// the file commands.
class frmEditIcon : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 689;
    static constexpr int kClientHeight = 433;
    static constexpr std::uint32_t kBackground = 0x00E0E0E0;

    explicit frmEditIcon(QWidget* parent = nullptr);
    ~frmEditIcon() override;

    IconCanvas& canvas() { return m_canvas; }
    ColourChoice& colourChoice() { return m_colours; }
    CommonDialog& CommonDialog1() { return m_dialog; }
    FileCommands& fileCommands() { return m_files; }
    Toolbar& toolbar() { return m_toolbar; }
    const ImageList& ImageList2() const { return m_imageList2; }
    // Replaces the file dialog shown to the person (tests script it).
    void setDialogHost(DialogHost& host) { m_dialog.setHost(host); }
    // Replaces the system services the web link uses (tests record and fail them).
    void setShell(Shell& shell) { m_shell = &shell; }

    PictureBoxView* LargePicture() const { return m_largeView; }
    PictureBoxView* SmallPicture() const { return m_smallView; }
    PictureBoxView* Pic() const { return m_picView; }
    ToolbarView* Toolbar1() const { return m_toolbarView; }
    QWidget* swatchPanel() const { return m_swatchPanel; }  // Picture2
    ClickableLabel* lblColor(int index) const;
    QLabel* Pallet() const { return m_pallet; }
    QLabel* Pallet2() const { return m_pallet2; }
    QLabel* lblStatusBar() const { return m_statusBar; }
    ClickableLabel* Image2() const { return m_image2; }
    ClickableLabel* Label3() const { return m_label3; }
    // The cell cursor that draws on the grid from the keyboard.
    GridKeyboard* gridKeyboard() const { return m_gridKeyboard; }
    // What the tools draw over the grid: a shape's preview and the selection's outline.
    ToolOverlay* toolOverlay() const { return m_toolOverlay; }
    // The undo history, the keys and the command menu.
    EditCommands& editCommands() { return *m_editCommands; }

    // Handlers, named after the control and the event they answer.
    void Form_Load();
    // Virtual so that a test can make it fail.
    virtual void Form_Activate();
    void LargePicture_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void LargePicture_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblColor_Click(std::int16_t Index);
    void Pic_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void Toolbar1_ButtonClick(const ToolbarButton& Button);
    void Toolbar1_ButtonMenuClick(const ToolbarMenuItem& ButtonMenu);
    void Image2_Click();
    void Label3_Click();

    // The commands of the toolbar's buttons and menus, run as the toolbar's events run them;
    // the keys and the command menu run them here too, without a click on the toolbar.
    void runToolbarCommand(EditorCommand command);

    // Opens `path` (the system's bytes) with the command for its kind, as if it had been chosen
    // in that command's dialog: Open Icon, Open Bitmap or the extraction, given the path
    // without a dialog. One undoable step.
    void openFile(const std::string& path);
    // Opens the first of `paths` as openFile() does; the editor holds one icon, so the others
    // are named in a message instead.
    void openFiles(const std::vector<std::string>& paths);

    // The icon kept on disk (recovery/RestoreCommands.cpp): the newest copy left by an editor
    // that no longer runs, or the copy at `path`, taken in as Open Icon takes an icon, without
    // the status line, as one undoable step. With no copy left a plain message says so.
    void restorePrevious();
    void restoreCopy(const std::string& path);
    KeptCopyKeeper& keptCopy() { return *m_keeper; }
    // The files opened or saved last (recovery/RecentFilesCommands.cpp). Each file a command
    // opens or saves joins them; a list that cannot be kept is said once on standard error.
    RecentFiles& recentFiles() { return m_recent; }
    void rememberFile(const std::string& path);

    // Opens the page at `sURL` in the person's web browser; nothing is reported, ever.
    void OpenWebsite(const std::string& sURL);

    // Runs one handler: a failure shows a message box and the program goes on with whatever the
    // handler had already done; the controls whose models changed are brought up to date once.
    void runHandler(const std::function<void()>& handler);
    // Brings up to date the controls whose models changed since they were last shown; the
    // others are not touched.
    void refreshControls();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A dropped local file opens as openFile() opens it; anything else is refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Control creation, in frmEditIconLayout.cpp.
    void createControls();
    void createLeftColumn();
    void createToolbar();
    void createSwatchPanel();
    void createWorkingArea();
    void createHiddenHolder();
    void centreOnScreen();
    // Names, keyboard focus order and the grid's keyboard, in frmEditIconAccess.cpp.
    void makeAccessible();
    // The pictures and pointers follow the scale of the screen the window is on (in
    // frmEditIconScale.cpp).
    void followDisplayScale();
    void watchScreen(QScreen* screen);
    void showPicturesForScale(qreal scale);
    void showFailure(const QString& message);
    // Greys the restore commands and says why in their text; never a message box.
    void showKeptCopyFailure(const QString& reason);
    // The grid's events, to the view's own handlers or to the tool session (frmEditIconGrid.cpp).
    bool gridGoesToToolSession() const;
    void gridPressed(std::int16_t button, std::int16_t shift, float x, float y);
    void gridMoved(std::int16_t button, std::int16_t shift, float x, float y);
    void gridReleased(std::int16_t button, std::int16_t shift, float x, float y);
    void gridSpacePressed(std::int16_t button, std::int16_t shift, float x, float y);
    void gridCursorMoved(int column, int row);

    IconCanvas m_canvas;
    ColourChoice m_colours;
    std::unique_ptr<QtDialogHost> m_qtDialogHost;
    CommonDialog m_dialog;
    FileCommands m_files;
    RecentFiles m_recent;
    bool m_recentFailureSaid = false;
    std::unique_ptr<DesktopShell> m_desktopShell;
    Shell* m_shell;
    Toolbar m_toolbar;
    ImageList m_imageList2;

    PictureBoxView* m_largeView = nullptr;
    PictureBoxView* m_smallView = nullptr;
    PictureBoxView* m_picView = nullptr;
    ToolbarView* m_toolbarView = nullptr;
    QWidget* m_swatchPanel = nullptr;  // Picture2
    std::array<ClickableLabel*, ColourChoice::kSwatchCount> m_swatches{};
    QLabel* m_pallet = nullptr;
    QLabel* m_pallet2 = nullptr;
    QLabel* m_statusBar = nullptr;
    ClickableLabel* m_image2 = nullptr;
    ClickableLabel* m_label3 = nullptr;
    GridKeyboard* m_gridKeyboard = nullptr;
    ToolOverlay* m_toolOverlay = nullptr;
    std::unique_ptr<AccessibleColourNames> m_colourNames;
    QLabel* m_image3 = nullptr;
    qreal m_pictureScale = 0;  // the device-pixel ratio the pictures were loaded for
    QMetaObject::Connection m_screenWatch;
    bool m_shownOnce = false;
    bool m_firstActivationPending = false;
    std::unique_ptr<EditCommands> m_editCommands;  // made once start-up has drawn the surfaces
    std::unique_ptr<KeptCopyKeeper> m_keeper;      // likewise, so start-up is no change

    // What the labels and the toolbar show, as last taken from the models.
    struct Shown {
        std::array<Colour, ColourChoice::kSwatchCount> swatches;
        Colour pallet;
        Colour pallet2;
        std::string statusLine;
        std::vector<std::int16_t> toolbarValues;
        Tool tool = Tool::None;
        Mirroring mirroring = Mirroring::Off;
    };
    std::optional<Shown> m_shown;
    // Set by the dispatch before a file command, for the failure message.
    Command m_command = Command::Unnamed;
    bool m_failureBoxOpen = false;
    // The activation a failure box took from the window comes back when the box closes; it is
    // not a new activation, and taking it for one could fail and show the box again, for ever.
    bool m_activationReturnsFromBox = false;
};

}  // namespace mosaikon
