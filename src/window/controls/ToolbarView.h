#pragma once

#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "controls/ImageList.h"
#include "controls/Toolbar.h"

namespace mosaikon {

// Shows a Toolbar: buttons 23 × 22 from the left edge with no gaps, separators 8 wide, and on
// drop-down buttons a 13-wide arrow part right of the face that opens the menu. A click on a
// face (press and release on the same face) is a button click; pressed buttons look sunken.
// Within the window's Tab order every button is a stop of its own; Space or Enter presses the
// button that holds the focus.
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

    const Toolbar& toolbar() const { return *m_toolbar; }
    // The button that has the keyboard focus whenever the toolbar has it.
    int focusButton() const;
    // Presses button `index` from the keyboard: a drop-down button opens its menu (its face
    // alone does nothing), any other button is clicked.
    void pressButton(int index);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Keyboard use, in ToolbarViewKeyboard.cpp.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showMenu(int index);
    void paintButton(QPainter& painter, const ToolbarButton& button) const;
    // The next button (not a separator) from `from` in the direction of `step`, or 0.
    int neighbourButton(int from, int step) const;
    void setFocusButton(int index);

    Toolbar* m_toolbar;
    const ImageList* m_images;
    int m_pressed = 0;  // button whose face the mouse went down on
    int m_hovered = 0;
    int m_menuButton = 0;  // button whose menu is open
    QPointer<QMenu> m_menu;
    int m_focusButton = 0;  // 0 until the focus first reaches the toolbar: the first button
};

}  // namespace mosaikon
