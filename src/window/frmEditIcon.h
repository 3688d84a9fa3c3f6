#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "CommonDialog.h"
#include "FileCommands.h"
#include "IconCanvas.h"

namespace mosaikon {

class PictureBoxView;
class QtDialogHost;

// The editor's one window. It places the controls, turns Qt's events into the editor's
// handlers and shows the models; the editing itself lives in the canvas and file commands.
class frmEditIcon : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 689;
    static constexpr int kClientHeight = 433;
    static constexpr std::uint32_t kBackground = 0x00E0E0E0;

    explicit frmEditIcon(QWidget* parent = nullptr);
    ~frmEditIcon() override;

    IconCanvas& canvas() { return m_canvas; }
    CommonDialog& CommonDialog1() { return m_dialog; }
    FileCommands& fileCommands() { return m_files; }
    // Replaces the file dialog shown to the person (tests script it).
    void setDialogHost(DialogHost& host) { m_dialog.setHost(host); }

    PictureBoxView* LargePicture() const { return m_largeView; }
    PictureBoxView* SmallPicture() const { return m_smallView; }

    // Handlers, named after the control and the event they answer.
    void Form_Load();
    void Form_Activate();
    void LargePicture_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void LargePicture_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);

    // Runs one handler: a failure shows a message box and the program goes on with whatever the
    // handler had already done; afterwards every control shows the models again.
    void runHandler(const std::function<void()>& handler);
    // Brings every control up to date with the models.
    void refreshControls();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void centreOnScreen();

    IconCanvas m_canvas;
    std::unique_ptr<QtDialogHost> m_qtDialogHost;
    CommonDialog m_dialog;
    FileCommands m_files;
    PictureBoxView* m_largeView = nullptr;
    PictureBoxView* m_smallView = nullptr;
    QWidget* m_swatchPanel = nullptr;  // Picture2
    bool m_shownOnce = false;
};

}  // namespace mosaikon
