#pragma once

#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "ImageList.h"
#include "Toolbar.h"

namespace mosaikon {

// Shows a Toolbar: buttons 23 × 22 from the left edge with no gaps, separators 8 wide, and on
// drop-down buttons a 13-wide arrow part right of the face that opens the menu. A click on a
// face (press and release on the same face) is a button click; pressed buttons look sunken.
class ToolbarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 23;
    static constexpr int kButtonHeight = 22;
    static constexpr int kSeparatorWidth = 8;
    static constexpr int kArrowWidth = 13;

    ToolbarView(Toolbar& toolbar, const ImageList& images, QWidget* parent = nullptr);

    // Where the face of button `index` lies (a separator's gap for separators), and the arrow
    // part of a drop-down button (an empty rectangle for any other button).
    QRect faceRect(int index) const;
    QRect arrowRect(int index) const;
    // The 1-based index of the button whose face or arrow lies under `point`, or 0.
    int buttonAt(const QPoint& point) const;
    // The drop-down menu now open, if any.
    QMenu* openMenu() const { return m_menu; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showMenu(int index);
    void paintButton(QPainter& painter, const ToolbarButton& button) const;

    Toolbar* m_toolbar;
    const ImageList* m_images;
    int m_pressed = 0;  // button whose face the mouse went down on
    int m_hovered = 0;
    int m_menuButton = 0;  // button whose menu is open
    QPointer<QMenu> m_menu;
};

}  // namespace mosaikon
