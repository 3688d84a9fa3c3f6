#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "OpacityPlane.h"
#include "PreviewSheet.h"

class QLabel;

namespace mosaikon {

// A small window that shows the icon with its own opacity as people will meet it (on light,
// dark and patterned backgrounds, at several sizes, tiled), drawn by the canvas's preview
// sheet. A child of the main window that does not block it; the editor's keys work while it has
// the focus. The main window hands it the opacity plane after every handler, and it draws again
// only when the plane has changed.
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent);

    // Shows `opacity`; nothing is drawn when it has not changed since the last call.
    void showIcon(const OpacityPlane& opacity);
    // The sheet as shown, for tests.
    const PreviewSheet& sheet() const { return m_sheet; }
    int drawCount() const { return m_drawCount; }

private:
    PreviewSheet m_sheet;
    QLabel* m_picture;
    std::optional<std::uint64_t> m_shownRevision;
    const OpacityPlane* m_shownPlane = nullptr;
    int m_drawCount = 0;
};

}  // namespace mosaikon
